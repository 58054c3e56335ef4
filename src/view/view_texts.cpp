// The history view's texts in both languages (UTF-8).
#include "view/view_texts.h"

#include "common/language.h"

namespace velorin {

namespace {

ViewTexts MakeEnglish() {
    ViewTexts t;
    t.tabs.graph = "Graph";
    t.tabs.data = "Data";

    const char* headers[8] = {"CH", "Type", "Unit", "Selected", "MAX", "MIN", "AVG", "Start Recording time"};
    for (int i = 0; i < 8; ++i) t.statistics.headers[i] = headers[i];
    t.statistics.channelFormat = "CH%d";

    RecordPanelLabels& p = t.panel;
    p.basicRoot = "Basic ATTR";
    p.startTime = "Start Time";
    p.userName = "User Name:";
    p.title = "Title:";
    p.workStatus = "Work Stat";
    p.recordNumber = "Rec Num:";
    p.overflows = "OverFlows:";
    p.startMode = "Start Mode:";
    p.stopMode = "Stop Mode:";
    p.recordInterval = "Record interval:";
    p.startChannels = "Start channel:";
    p.recordMode = "Record mode:";
    p.storageCapacity = "Storage capacity:";
    p.powerMode = "Power mode:";
    p.powerSave = "Power Save";
    p.powerNormal = "Power Normal";
    p.serialNumber = "SN:";
    p.model = "Modle:";
    p.firmwareVersion = "Hard Ver:";
    p.channelRoot = "Channel ATTR";
    p.channelType = "CH%dType:%s";
    p.channelUnit = "CH%dUnit:%s";
    p.channelAlarmOpen = "CH%dAlarmEN:Open";
    p.channelAlarmClosed = "CH%dAlarmEN:Closed";
    p.channelAlarmUpper = "CH%dAlarm upper limit:%0.1f";
    p.channelAlarmLower = "CH%dAlarm lower limit:%0.1f";
    p.channelRangeUpper = "CH%dRange upper:%0.1f";
    p.channelRangeLower = "CH%dRange Lower:%0.1f";

    t.f0Dialog.caption = "Config F0 Parameter";
    t.f0Dialog.selectMethod = "Select method:";
    t.f0Dialog.ok = "OK";
    t.f0Dialog.methodF0 = "F0值";
    t.f0Dialog.methodFH = "FH值";
    t.f0Quantity = "F0";
    t.f0Unit = "min";
    return t;
}

ViewTexts MakeChinese() {
    ViewTexts t;
    t.tabs.graph = "曲线";
    t.tabs.data = "数据";

    const char* headers[8] = {"通道", "类型", "单位", "选定值", "最大值", "最小值", "平均值", "开始记录时间"};
    for (int i = 0; i < 8; ++i) t.statistics.headers[i] = headers[i];
    t.statistics.channelFormat = "通道%d";

    RecordPanelLabels& p = t.panel;
    p.basicRoot = "基本属性";
    p.startTime = "启动时间：";
    p.userName = "用 户 名：";
    p.title = "标    题：";
    p.workStatus = "工作状态：";
    p.recordNumber = "记录次数：";
    p.overflows = "溢出次数：";
    p.startMode = "启动方式：";
    p.stopMode = "停止方式：";
    p.recordInterval = "记录间隔：";
    p.startChannels = "启动通道：";
    p.recordMode = "记录模式：";
    p.storageCapacity = "存储容量：";
    p.powerMode = "功耗模式：";
    p.powerSave = "省电模式";
    p.powerNormal = "正常模式";
    p.serialNumber = "序 列 号：";
    p.model = "型    号：";
    p.firmwareVersion = "固件版本：";
    p.channelRoot = "通道属性";
    p.channelType = "通道%d类型:%s";
    p.channelUnit = "通道%d单位:%s";
    p.channelAlarmOpen = "通道%d报警使能:开启";
    p.channelAlarmClosed = "通道%d报警使能:关闭";
    p.channelAlarmUpper = "通道%d报警上限:%0.1f";
    p.channelAlarmLower = "通道%d报警下限:%0.1f";
    p.channelRangeUpper = "通道%d量程上限:%0.1f";
    p.channelRangeLower = "通道%d量程下限:%0.1f";

    t.f0Dialog.caption = "配置F0值参数";
    t.f0Dialog.selectMethod = "选择温度验证方式:";
    t.f0Dialog.ok = "OK";
    t.f0Dialog.methodF0 = "F0值";
    t.f0Dialog.methodFH = "FH值";
    t.f0Quantity = "F0";
    t.f0Unit = "分钟";
    return t;
}

}  // namespace

const ViewTexts& ViewTextsFor(Language language) {
    static const ViewTexts englishTexts = MakeEnglish();
    static const ViewTexts chineseTexts = MakeChinese();
    return language == Language::English ? englishTexts : chineseTexts;
}

}  // namespace velorin
