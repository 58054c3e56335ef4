// Configuration texts in both languages (UTF-8 sources, held as GBK).
#include "config/config_texts.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

// What both languages share: the messages, questions and stored labels.
void FillChineseOnly(ConfigTexts& t) {
    auto g = Utf8ToGbk;
    t.userTitleFailed = g("用户名和标题设置失败");
    t.intervalFailed = g("记录间隔设置失败");
    t.powerModeFailed = g("功耗模式设置失败");
    t.recordModeFailed = g("记录模式设置失败");
    t.startModeFailed = g("启动方式设置不成功");
    t.stopModeFailed = g("停止方式设置不成功");
    t.alarmFailed = g("报警信息设置失败");
    t.clockFailed = g("时钟没有正确设置!");
    t.restartFailed = g("记录仪重启失败");
    t.clearFailed = g("无法清除数据");
    t.restartSucceeded = g("记录仪重启成功");
    t.userTitleEmpty = g("用户名和标题不能为空");
    t.powerSavingInterval = g("省电模式下记录间隔不能小于10秒");
    t.upperBelowLowerFormat = g("通道%d上限不能小于下限");
    t.restartQuestion = g("您确定要重启记录仪并清除记录吗？");
    t.questionCaption = g("提示");
    t.timedStartPast = g("定时启动时间小于当前时间，是否默认为当前时间？");
    t.timedStopPast = g("定时停止时间小于当前时间，是否默认为当前时间？");
    t.clockQuestion = g("原有记录将被清除，请确保历史数据已下载已保存");
    t.clockQuestionCaption = g("修改参数");
    t.recordManual = g("手动模式");
    t.recordAutomatic = g("自动模式");
    t.startImmediate = g("立即启动");
    t.startTimed = g("定时启动");
    t.startManual = g("手动启动");
    t.stopMemoryFull = g("存储器满停止");
    t.stopTimed = g("定时停止");
    t.stopFifo = g("先进先出");
    t.stopManual = g("手动停止");
    t.startItem[0] = t.startImmediate;
    t.startItem[1] = t.startTimed;
    t.startItem[2] = t.startManual;
    t.stopItem[0] = t.stopFifo;
    t.stopItem[1] = t.stopTimed;
    t.stopItem[2] = t.stopMemoryFull;
    // The Next button's captions are Chinese in both languages.
    t.next = g("下一步");
    t.finish = g("完  成");
    // The timed rows have Chinese labels only.
    t.timedStartLabel = g("定时启动时间：");
    t.timedStopLabel = g("定时停止时间：");
    const char* overLimit[14] = {"10秒",   "30秒",  "1分钟", "2分钟", "5分钟",  "10分钟", "20分钟",
                                 "30分钟", "1小时", "2小时", "5小时", "10小时", "20小时", "24小时"};
    for (int i = 0; i < 14; ++i) t.overLimitItem[i] = g(overLimit[i]);
    t.waitText = g("正在重启记录仪，请稍候");
    // A configuration message: these read the same in both interface languages.
    t.limitOutOfRangeFormat = g("通道%d报警限超出范围（-3276.8 ~ 3276.7）");
    t.clockShownFormat = g("%d年%d月%d日 %.2d:%.2d:%.2d");
}

ConfigTexts MakeChinese() {
    auto g = Utf8ToGbk;
    ConfigTexts t;
    FillChineseOnly(t);
    t.userNameShortenedFormat = g("用户名超过30字节，记录仪将保存：“%s”");
    t.titleShortenedFormat = g("标题超过30字节，记录仪将保存：“%s”");
    t.wizardCaption = g("参数设置向导");
    t.previous = g("上一步");
    t.nextFirst = g("下一步");
    t.cancel = g("取  消");
    t.basicGroup = g("基本信息");
    t.userName = g("用户名：");
    t.title = g("标  题：");
    t.intervalGroup = g("记录间隔");
    t.intervalNote = g("当功耗模式为“省电模式”时，记录间隔不得小于10秒");
    t.intervalLabel = g("正常记录间隔");
    t.intervalHeading = g("时 分 秒");
    t.overLimitLabel = g("超标记录间隔");
    t.powerGroup = g("功耗模式");
    t.powerNote = t.intervalNote;
    t.powerNormal = g("正常模式");
    t.powerSaving = g("省电模式");
    t.recordGroup = g("记录模式");
    t.recordNote = g("当记录模式为“手动模式”时，启动方式默认为“手动启动”，停止方式默认为“手动停止”");
    t.recordManualButton = g("手动模式");
    t.recordAutoButton = g("自动模式");
    t.startLabel = g("启动方式：");
    t.stopLabel = g("停止方式：");
    t.alarmGroup = g("报警信息");
    t.channelFormat = g("通道%d");
    t.upperLabel = g("上限：");
    t.lowerLabel = g("下限：");
    t.alarmOn = g("开启");
    t.clockCaption = g("时间校准");
    t.alignSystemTime = g("（对齐系统时间）");
    t.manualTime = g("（手动设置时间）");
    t.clockOk = "OK";
    return t;
}

ConfigTexts MakeEnglish() {
    auto g = Utf8ToGbk;
    ConfigTexts t;
    FillChineseOnly(t);
    t.userNameShortenedFormat = g("The user name is longer than 30 bytes; the logger will hold \"%s\"");
    t.titleShortenedFormat = g("The title is longer than 30 bytes; the logger will hold \"%s\"");
    t.wizardCaption = g("Parameter Setting Wizard");
    t.previous = g("Previous step");
    t.nextFirst = g("Next step");
    t.cancel = g("Cancel");
    t.basicGroup = g("Basic information");
    t.userName = g("User name:");
    t.title = g("Title:");
    t.intervalGroup = g("Record Interval");
    t.intervalNote =
        g("When the power consumption mode is set to 'power-saving mode', the recording "
          "interval shall not be less than 10 seconds");
    t.intervalLabel = g("Normal recording interval");
    t.intervalHeading = g("Hour, minute, second");
    t.overLimitLabel = g("Exceeding the standard record interval");
    t.powerGroup = g("power mode");
    t.powerNote =
        g("When the power consumption mode is set to 'power - saving mode', the recording "
          "interval shall not be less than 10 seconds");
    t.powerNormal = g("Normal mode");
    t.powerSaving = g("Power saving");
    t.recordGroup = g("Recording mode");
    t.recordNote =
        g("When the recording mode is 'manual mode', the default start mode is 'manual "
          "start', and the default stop mode is 'manual stop'");
    t.recordManualButton = g("Manual mode");
    t.recordAutoButton = g("Auto mode");
    t.startLabel = g("Startup method:");
    t.stopLabel = g("Stop method:");
    t.alarmGroup = g("Alarm Message");
    t.channelFormat = g("CH%d");
    t.upperLabel = g("upper limit:");
    t.lowerLabel = g("lower limit:");
    t.alarmOn = g("open");
    t.clockCaption = g("Time-Aligned");
    t.alignSystemTime = g("Align system time");
    t.manualTime = g("Manually set the time");
    t.clockOk = "OK";
    return t;
}

}  // namespace

const ConfigTexts& ConfigTextsFor(Language language) {
    static const ConfigTexts chinese = MakeChinese();
    static const ConfigTexts english = MakeEnglish();
    return language == Language::English ? english : chinese;
}

}  // namespace velorin
