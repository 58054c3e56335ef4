// Export labels in both languages (UTF-8 sources, held as GBK).
#include "report/export_texts.h"

#include "common/language.h"
#include "common/text_codec.h"

namespace velorin {

namespace {

ExportTexts MakeEnglish() {
    auto g = Utf8ToGbk;
    ExportTexts t;
    // The CSV keeps its Chinese user-name label in both languages.
    t.csv.userName = g("用户名:");
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
    auto g = Utf8ToGbk;
    ExportTexts t;
    t.csv.userName = g("用户名:");
    t.csv.title = g("\r\n标题:");
    t.csv.recordCount = g("\r\n记录次数:");
    t.csv.interval = g("\r\n记录间隔:");
    t.csv.recordMode = g("\r\n记录模式:");
    t.csv.startChannels = g("\r\n启动通道:");
    t.csv.startTime = g("\r\n开始时间:");
    t.csv.stopTime = g("\r\n结束时间:");
    t.csv.max = g(",  最大值:");
    t.csv.min = g(",  最小值:");
    t.csv.avg = g(",  平均值:");
    t.csv.channelType = g(",  通道类型:");
    t.csv.columns = g("序号, 记录时间,");

    t.txt.userName = g("用户名:");
    t.txt.title = g("  标题:");
    t.txt.recordCount = g("\r\n记录次数:");
    t.txt.interval = g("\r\n记录间隔:");
    t.txt.recordMode = g("\r\n记录模式:");
    t.txt.startChannels = g("\r\n启动通道:");
    t.txt.startTime = g("\r\n开始时间:");
    t.txt.stopTime = g("\r\n结束时间:");
    t.txt.max = g("  最大值:");
    t.txt.min = g("  最小值:");
    t.txt.avg = g("  平均值:");
    t.txt.channelType = g("  通道类型:");
    t.txt.columns = g("序号    记录时间             ");
    return t;
}

}  // namespace

const ExportTexts& ExportTextsFor(Language language) {
    static const ExportTexts englishTexts = MakeEnglish();
    static const ExportTexts chineseTexts = MakeChinese();
    return language == Language::English ? englishTexts : chineseTexts;
}

}  // namespace velorin
