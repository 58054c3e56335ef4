// Export labels in both languages (UTF-8).
#include "report/export_texts.h"

#include "common/language.h"
#include "common/text_codec.h"

namespace velorin {

namespace {

ExportTexts MakeEnglish() {
    ExportTexts t;
    // The CSV keeps its Chinese user-name label in both languages.
    t.csv.userName = "用户名:";
    t.csv.title = "\r\nTitle:";
    t.csv.recordCount = "\r\nRecord times:";
    t.csv.interval = "\r\nRecord Interval:";
    t.csv.recordMode = "\r\nRecord mode:";
    t.csv.startChannels = "\r\nStart channel:";
    t.csv.startTime = "\r\nStart time:";
    t.csv.stopTime = "\r\nStop time:";
    t.csv.max = ",  MAX:";
    t.csv.min = ",  MIN:";
    t.csv.avg = ",  AVG:";
    t.csv.channelType = ",  Channel type:";
    t.csv.columns = "SN,Record time,";

    t.txt.userName = "User name:";
    t.txt.title = "  Title:";
    t.txt.recordCount = "\r\nRecord Numbers";
    t.txt.interval = "\r\nRecord Interval:";
    t.txt.recordMode = "\r\nRecord Mode:";
    t.txt.startChannels = "\r\nStart Channel";
    t.txt.startTime = "\r\nStart time:";
    t.txt.stopTime = "\r\nStop time:";
    t.txt.max = "MAX:";
    t.txt.min = "MIN:";
    t.txt.avg = "AVG:";
    t.txt.channelType = "channel type:";
    t.txt.columns = "SN    Record time    ";
    return t;
}

ExportTexts MakeChinese() {
    ExportTexts t;
    t.csv.userName = "用户名:";
    t.csv.title = "\r\n标题:";
    t.csv.recordCount = "\r\n记录次数:";
    t.csv.interval = "\r\n记录间隔:";
    t.csv.recordMode = "\r\n记录模式:";
    t.csv.startChannels = "\r\n启动通道:";
    t.csv.startTime = "\r\n开始时间:";
    t.csv.stopTime = "\r\n结束时间:";
    t.csv.max = ",  最大值:";
    t.csv.min = ",  最小值:";
    t.csv.avg = ",  平均值:";
    t.csv.channelType = ",  通道类型:";
    t.csv.columns = "序号, 记录时间,";

    t.txt.userName = "用户名:";
    t.txt.title = "  标题:";
    t.txt.recordCount = "\r\n记录次数:";
    t.txt.interval = "\r\n记录间隔:";
    t.txt.recordMode = "\r\n记录模式:";
    t.txt.startChannels = "\r\n启动通道:";
    t.txt.startTime = "\r\n开始时间:";
    t.txt.stopTime = "\r\n结束时间:";
    t.txt.max = "  最大值:";
    t.txt.min = "  最小值:";
    t.txt.avg = "  平均值:";
    t.txt.channelType = "  通道类型:";
    t.txt.columns = "序号    记录时间             ";
    return t;
}

}  // namespace

const ExportTexts& ExportTextsFor(Language language) {
    static const ExportTexts englishTexts = MakeEnglish();
    static const ExportTexts chineseTexts = MakeChinese();
    return language == Language::English ? englishTexts : chineseTexts;
}

static_assert(sizeof(ExportHeadLabels) == 13 * sizeof(std::string), "GbkLabels converts every label");

ExportHeadLabels GbkLabels(const ExportHeadLabels& labels) {
    ExportHeadLabels gbk;
    for (auto field :
         {&ExportHeadLabels::userName, &ExportHeadLabels::title, &ExportHeadLabels::recordCount,
          &ExportHeadLabels::interval, &ExportHeadLabels::recordMode, &ExportHeadLabels::startChannels,
          &ExportHeadLabels::startTime, &ExportHeadLabels::stopTime, &ExportHeadLabels::max, &ExportHeadLabels::min,
          &ExportHeadLabels::avg, &ExportHeadLabels::channelType, &ExportHeadLabels::columns}) {
        gbk.*field = Utf8ToGbk(labels.*field);
    }
    return gbk;
}

}  // namespace velorin
