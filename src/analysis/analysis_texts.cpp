// The analysis texts in both languages (UTF-8).
#include "analysis/analysis_texts.h"

#include "common/language.h"

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
    AnalysisTexts t;
    t.file = "文件";
    t.serial = "序列号";
    t.from = "起始";
    t.to = "结束";
    t.records = "记录数";
    t.interval = "记录间隔";
    t.seconds = "秒";
    t.channel = "通道%d";
    t.count = "有效数";
    t.missing = "缺失数";
    t.min = "最小值";
    t.max = "最大值";
    t.avg = "平均值";
    t.mkt = "MKT";  // as the data report names it in both languages
    t.upper = "上限";
    t.lower = "下限";
    t.aboveUpper = "超上限时间";
    t.belowLower = "低于下限时间";
    t.firstAbove = "首次超上限";
    t.firstBelow = "首次低于下限";
    t.none = "-";
    t.noRecord = "范围内没有记录";
    t.wholeSet = "全部数据";
    t.shownRange = "显示范围";
    t.copyRange = "复制范围统计";
    t.rangeMax = "范围最大值";
    t.rangeMin = "范围最小值";
    t.rangeAvg = "范围平均值";
    t.rangeMkt = "范围MKT";
    t.compareTitle = "对比报告";
    t.compareFiles = "文件";
    t.compareStatistics = "范围统计";
    t.compareCurves = "曲线";
    t.userName = "用户名";
    t.title = "标题";
    t.period = "范围";
    t.warmest = "最高";
    t.coldest = "最低";
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
