// Report texts in both languages (UTF-8).
#include "report/report_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

ReportTexts MakeEnglish() {
    ReportTexts t;
    t.heading = "DataLogger PDF Report";
    t.noteBefore = "Note: All data are based on ";
    t.noteAfter = " 24-hour system [MM/dd/yy hh/mm/ss]";
    t.configInform = "Config Inform:";
    t.deviceInform = "Device Inform:";
    t.logInform = "Log Inform:";
    t.alarmInform = "Alarm Inform:";
    const char* columns[7] = {"Alarm Setting",    "Alarm Delay",  "Alarm duration", "Number of alarms",
                              "First alarm time", "Alarm status", "Alarm type"};
    for (int i = 0; i < 7; ++i) t.alarmColumns[i] = columns[i];
    t.serialNumber = "SN:";
    t.reportCreation = "Report creation:";
    t.userName = "User name:";
    t.title = "Title:";
    t.startMode = "Start mode:";
    t.stopMode = "Stop mode";
    t.interval = "Rec Interval:";
    t.startChannel = "Start channel:";
    t.model = "Model:";
    t.hardVersion = "Hard VER:";
    t.capacity = "Capacity:";
    t.max = "MAX:";
    t.min = "MIN:";
    t.avg = "AVG:";
    t.startTime = "Start Time:";
    t.dataCurve = "Data curve:";
    t.upperAlarm = "Over limit alarm";
    t.lowerAlarm = "Over lower limit alarm";
    t.continuousAlarm = "Continuous alarm";
    t.companyName = "Velorin Instruments Ltd.";
    t.cjkFontMissing =
        "PDF report: the Chinese font AR PL UMing (package fonts-arphic-uming) was not found; %s was "
        "used instead and Chinese texts may not show.";
    t.logoMissing = "PDF report: %s could not be read; the report has no logo.";
    t.progress = "Writing the PDF report: page %d of %d";
    t.cancel = "Cancel";
    return t;
}

ReportTexts MakeChinese() {
    ReportTexts t;
    t.heading = "数据记录仪PDF报告";
    t.noteBefore = "注:所有数据基于";
    t.noteAfter = " 24小时制[月/日/年 时/分/秒]";
    t.configInform = "配置信息:";
    t.deviceInform = "设备信息:";
    t.logInform = "日志信息:";
    t.alarmInform = "报警信息:";
    const char* columns[7] = {"报警设定", "报警延时", "报警时长", "报警次数", "报警首次时间", "报警状态", "报警类型"};
    for (int i = 0; i < 7; ++i) t.alarmColumns[i] = columns[i];
    t.serialNumber = "序\t  列\t  号:";
    t.reportCreation = "报告创建时间:";
    t.userName = "用   户  名:";
    t.title = "标          题:";
    t.startMode = "启动方式:";
    t.stopMode = "停止方式:";
    t.interval = "记录间隔:";
    t.startChannel = "启动通道:";
    t.model = "设备型号:";
    t.hardVersion = "固件版本:";
    t.capacity = "记录容量:";
    t.max = "最高值:";
    t.min = "最低值:";
    t.avg = "平均值:";
    t.startTime = "启动时间:";
    t.dataCurve = "数据曲线图";
    t.upperAlarm = "超上限报警";
    t.lowerAlarm = "超下限报警";
    t.continuousAlarm = "持续报警";
    t.companyName = "维洛林仪器有限公司";
    t.cjkFontMissing = "PDF报告: 未找到中文字体 AR PL UMing (软件包 fonts-arphic-uming)，已改用 %s，中文可能无法显示。";
    t.logoMissing = "PDF报告: 无法读取 %s，报告中没有标志。";
    t.progress = "正在生成PDF报告: 第 %d 页，共 %d 页";
    t.cancel = "取消";
    return t;
}

ReportFixedTexts MakeFixed() {
    ReportFixedTexts t;
    t.webAddress = "www.velorin.example";
    t.creator = "PDF Creator";
    t.author = "Brannoc";
    t.title = "Morvane Datalog PDF";
    t.subject = "rolbex";
    t.keywords = "velorin.example";
    t.createFailed = "创建PDF文件失败！\n路径: %s\n错误: %s";
    t.saveAsFilter =
        "PDF FILE (*.pdf)|*.pdf|Excel FILE (*.csv)|*.csv|TXT FILE (*.txt)|*.txt|数据记录仪文件(*.kv)|*.kv|"
        "CSV (UTF-8) (*.csv)|*.csv|TXT (UTF-8) (*.txt)|*.txt|";
    return t;
}

}  // namespace

const ReportTexts& ReportTextsFor(Language language) {
    static const ReportTexts englishTexts = MakeEnglish();
    static const ReportTexts chineseTexts = MakeChinese();
    return language == Language::English ? englishTexts : chineseTexts;
}

const ReportFixedTexts& ReportFixed() {
    static const ReportFixedTexts fixed = MakeFixed();
    return fixed;
}

}  // namespace velorin
