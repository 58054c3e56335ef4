// The history view's texts in both languages (UTF-8 sources, held as GBK).
#include "view/view_texts.h"

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {

ViewTexts MakeEnglish() {
    auto g = Utf8ToGbk;
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
    t.f0Dialog.methodF0 = g("F0值");
    t.f0Dialog.methodFH = g("FH值");
    t.f0Quantity = "F0";
    t.f0Unit = "min";
    return t;
}

ViewTexts MakeChinese() {
    auto g = Utf8ToGbk;
    ViewTexts t;
    t.tabs.graph = g("曲线");
    t.tabs.data = g("数据");

    const char* headers[8] = {"通道", "类型", "单位", "选定值", "最大值", "最小值", "平均值", "开始记录时间"};
    for (int i = 0; i < 8; ++i) t.statistics.headers[i] = g(headers[i]);
    t.statistics.channelFormat = g("通道%d");

    RecordPanelLabels& p = t.panel;
    p.basicRoot = g("基本属性");
    p.startTime = g("启动时间：");
    p.userName = g("用 户 名：");
    p.title = g("标    题：");
    p.workStatus = g("工作状态：");
    p.recordNumber = g("记录次数：");
    p.overflows = g("溢出次数：");
    p.startMode = g("启动方式：");
    p.stopMode = g("停止方式：");
    p.recordInterval = g("记录间隔：");
    p.startChannels = g("启动通道：");
    p.recordMode = g("记录模式：");
    p.storageCapacity = g("存储容量：");
    p.powerMode = g("功耗模式：");
    p.powerSave = g("省电模式");
    p.powerNormal = g("正常模式");
    p.serialNumber = g("序 列 号：");
    p.model = g("型    号：");
    p.firmwareVersion = g("固件版本：");
    p.channelRoot = g("通道属性");
    p.channelType = g("通道%d类型:%s");
    p.channelUnit = g("通道%d单位:%s");
    p.channelAlarmOpen = g("通道%d报警使能:开启");
    p.channelAlarmClosed = g("通道%d报警使能:关闭");
    p.channelAlarmUpper = g("通道%d报警上限:%0.1f");
    p.channelAlarmLower = g("通道%d报警下限:%0.1f");
    p.channelRangeUpper = g("通道%d量程上限:%0.1f");
    p.channelRangeLower = g("通道%d量程下限:%0.1f");

    t.f0Dialog.caption = g("配置F0值参数");
    t.f0Dialog.selectMethod = g("选择温度验证方式:");
    t.f0Dialog.ok = "OK";
    t.f0Dialog.methodF0 = g("F0值");
    t.f0Dialog.methodFH = g("FH值");
    t.f0Quantity = "F0";
    t.f0Unit = g("分钟");
    return t;
}

}  // namespace

const ViewTexts& ViewTextsFor(Language language) {
    static const ViewTexts englishTexts = MakeEnglish();
    static const ViewTexts chineseTexts = MakeChinese();
    return language == Language::English ? englishTexts : chineseTexts;
}

}  // namespace velorin
