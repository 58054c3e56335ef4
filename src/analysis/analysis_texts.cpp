// The analysis texts in both languages (UTF-8 sources, held as GBK).
#include "analysis/analysis_texts.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

AnalysisTexts MakeEnglish() {
    AnalysisTexts t;
    t.file = "File";
    t.serial = "SN";
    t.from = "From";
    t.to = "To";
    t.records = "Records";
    t.interval = "Record interval";
    t.seconds = "s";
    t.channel = "CH%d";
    t.count = "Samples";
    t.missing = "Missing";
    t.min = "MIN";
    t.max = "MAX";
    t.avg = "AVG";
    t.mkt = "MKT";
    t.upper = "Upper limit";
    t.lower = "Lower limit";
    t.aboveUpper = "Time above upper";
    t.belowLower = "Time below lower";
    t.firstAbove = "First above upper";
    t.firstBelow = "First below lower";
    t.none = "-";
    t.noRecord = "No record in the range";
    t.wholeSet = "Whole set";
    t.shownRange = "Shown range";
    t.copyRange = "Copy range statistics";
    t.rangeMax = "Range MAX";
    t.rangeMin = "Range MIN";
    t.rangeAvg = "Range AVG";
    t.rangeMkt = "Range MKT";
    t.compareTitle = "Comparison Report";
    t.compareFiles = "Files";
    t.compareStatistics = "Statistics of the range";
    t.compareCurves = "Curves";
    t.userName = "User Name";
    t.title = "Title";
    t.period = "Range";
    t.warmest = "warmest";
    t.coldest = "coldest";
    t.pageFormat = "%d/%d";
    return t;
}

AnalysisTexts MakeChinese() {
    auto g = Utf8ToGbk;
    AnalysisTexts t;
    t.file = g("文件");
    t.serial = g("序列号");
    t.from = g("起始");
    t.to = g("结束");
    t.records = g("记录数");
    t.interval = g("记录间隔");
    t.seconds = g("秒");
    t.channel = g("通道%d");
    t.count = g("有效数");
    t.missing = g("缺失数");
    t.min = g("最小值");
    t.max = g("最大值");
    t.avg = g("平均值");
    t.mkt = "MKT";  // as the data report names it in both languages
    t.upper = g("上限");
    t.lower = g("下限");
    t.aboveUpper = g("超上限时间");
    t.belowLower = g("低于下限时间");
    t.firstAbove = g("首次超上限");
    t.firstBelow = g("首次低于下限");
    t.none = "-";
    t.noRecord = g("范围内没有记录");
    t.wholeSet = g("全部数据");
    t.shownRange = g("显示范围");
    t.copyRange = g("复制范围统计");
    t.rangeMax = g("范围最大值");
    t.rangeMin = g("范围最小值");
    t.rangeAvg = g("范围平均值");
    t.rangeMkt = g("范围MKT");
    t.compareTitle = g("对比报告");
    t.compareFiles = g("文件");
    t.compareStatistics = g("范围统计");
    t.compareCurves = g("曲线");
    t.userName = g("用户名");
    t.title = g("标题");
    t.period = g("范围");
    t.warmest = g("最高");
    t.coldest = g("最低");
    t.pageFormat = "%d/%d";
    return t;
}

}  // namespace

const AnalysisTexts& AnalysisTextsFor(Language language) {
    static const AnalysisTexts en = MakeEnglish();
    static const AnalysisTexts zh = MakeChinese();
    return language == Language::English ? en : zh;
}

}  // namespace velorin
