// Configuration texts in both languages (UTF-8).
#include "config/config_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

// What both languages share: the messages, questions and stored labels.
void FillChineseOnly(ConfigTexts& t) {
    t.userTitleFailed = "用户名和标题设置失败";
    t.intervalFailed = "记录间隔设置失败";
    t.powerModeFailed = "功耗模式设置失败";
    t.recordModeFailed = "记录模式设置失败";
    t.startModeFailed = "启动方式设置不成功";
    t.stopModeFailed = "停止方式设置不成功";
    t.alarmFailed = "报警信息设置失败";
    t.clockFailed = "时钟没有正确设置!";
    t.restartFailed = "记录仪重启失败";
    t.clearFailed = "无法清除数据";
    t.restartSucceeded = "记录仪重启成功";
    t.userTitleEmpty = "用户名和标题不能为空";
    t.powerSavingInterval = "省电模式下记录间隔不能小于10秒";
    t.upperBelowLowerFormat = "通道%d上限不能小于下限";
    t.restartQuestion = "您确定要重启记录仪并清除记录吗？";
    t.questionCaption = "提示";
    t.timedStartPast = "定时启动时间小于当前时间，是否默认为当前时间？";
    t.timedStopPast = "定时停止时间小于当前时间，是否默认为当前时间？";
    t.clockQuestion = "原有记录将被清除，请确保历史数据已下载已保存";
    t.clockQuestionCaption = "修改参数";
    t.recordManual = "手动模式";
    t.recordAutomatic = "自动模式";
    t.startImmediate = "立即启动";
    t.startTimed = "定时启动";
    t.startManual = "手动启动";
    t.stopMemoryFull = "存储器满停止";
    t.stopTimed = "定时停止";
    t.stopFifo = "先进先出";
    t.stopManual = "手动停止";
    t.startItem[0] = t.startImmediate;
    t.startItem[1] = t.startTimed;
    t.startItem[2] = t.startManual;
    t.stopItem[0] = t.stopFifo;
    t.stopItem[1] = t.stopTimed;
    t.stopItem[2] = t.stopMemoryFull;
    // The Next button's captions are Chinese in both languages.
    t.next = "下一步";
    t.finish = "完  成";
    // The timed rows have Chinese labels only.
    t.timedStartLabel = "定时启动时间：";
    t.timedStopLabel = "定时停止时间：";
    const char* overLimit[14] = {"10秒",   "30秒",  "1分钟", "2分钟", "5分钟",  "10分钟", "20分钟",
                                 "30分钟", "1小时", "2小时", "5小时", "10小时", "20小时", "24小时"};
    for (int i = 0; i < 14; ++i) t.overLimitItem[i] = overLimit[i];
    t.waitText = "正在重启记录仪，请稍候";
    // A configuration message: these read the same in both interface languages.
    t.limitOutOfRangeFormat = "通道%d报警限超出范围（-3276.8 ~ 3276.7）";
    t.clockShownFormat = "%d年%d月%d日 %.2d:%.2d:%.2d";
}

ConfigTexts MakeChinese() {
    ConfigTexts t;
    FillChineseOnly(t);
    t.userNameShortenedFormat = "用户名超过30字节，记录仪将保存：“%s”";
    t.titleShortenedFormat = "标题超过30字节，记录仪将保存：“%s”";
    t.wizardCaption = "参数设置向导";
    t.previous = "上一步";
    t.nextFirst = "下一步";
    t.cancel = "取  消";
    t.basicGroup = "基本信息";
    t.userName = "用户名：";
    t.title = "标  题：";
    t.intervalGroup = "记录间隔";
    t.intervalNote = "当功耗模式为“省电模式”时，记录间隔不得小于10秒";
    t.intervalLabel = "正常记录间隔";
    t.intervalHeading = "时 分 秒";
    t.overLimitLabel = "超标记录间隔";
    t.powerGroup = "功耗模式";
    t.powerNote = t.intervalNote;
    t.powerNormal = "正常模式";
    t.powerSaving = "省电模式";
    t.recordGroup = "记录模式";
    t.recordNote = "当记录模式为“手动模式”时，启动方式默认为“手动启动”，停止方式默认为“手动停止”";
    t.recordManualButton = "手动模式";
    t.recordAutoButton = "自动模式";
    t.startLabel = "启动方式：";
    t.stopLabel = "停止方式：";
    t.alarmGroup = "报警信息";
    t.channelFormat = "通道%d";
    t.upperLabel = "上限：";
    t.lowerLabel = "下限：";
    t.alarmOn = "开启";
    t.clockCaption = "时间校准";
    t.alignSystemTime = "（对齐系统时间）";
    t.manualTime = "（手动设置时间）";
    t.clockOk = "OK";
    return t;
}

ConfigTexts MakeEnglish() {
    ConfigTexts t;
    FillChineseOnly(t);
    t.userNameShortenedFormat = "The user name is longer than 30 bytes; the logger will hold \"%s\"";
    t.titleShortenedFormat = "The title is longer than 30 bytes; the logger will hold \"%s\"";
    t.wizardCaption = "Parameter Setting Wizard";
    t.previous = "Previous step";
    t.nextFirst = "Next step";
    t.cancel = "Cancel";
    t.basicGroup = "Basic information";
    t.userName = "User name:";
    t.title = "Title:";
    t.intervalGroup = "Record Interval";
    t.intervalNote =
        "When the power consumption mode is set to 'power-saving mode', the recording "
        "interval shall not be less than 10 seconds";
    t.intervalLabel = "Normal recording interval";
    t.intervalHeading = "Hour, minute, second";
    t.overLimitLabel = "Exceeding the standard record interval";
    t.powerGroup = "power mode";
    t.powerNote =
        "When the power consumption mode is set to 'power - saving mode', the recording "
        "interval shall not be less than 10 seconds";
    t.powerNormal = "Normal mode";
    t.powerSaving = "Power saving";
    t.recordGroup = "Recording mode";
    t.recordNote =
        "When the recording mode is 'manual mode', the default start mode is 'manual "
        "start', and the default stop mode is 'manual stop'";
    t.recordManualButton = "Manual mode";
    t.recordAutoButton = "Auto mode";
    t.startLabel = "Startup method:";
    t.stopLabel = "Stop method:";
    t.alarmGroup = "Alarm Message";
    t.channelFormat = "CH%d";
    t.upperLabel = "upper limit:";
    t.lowerLabel = "lower limit:";
    t.alarmOn = "open";
    t.clockCaption = "Time-Aligned";
    t.alignSystemTime = "Align system time";
    t.manualTime = "Manually set the time";
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
