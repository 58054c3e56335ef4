// The Chinese interface texts (UTF-8 sources, held as GBK).
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {
Texts MakeChinese() {
    auto g = Utf8ToGbk;
    Texts t;
    t.recordModeManual = g("手动模式");
    t.recordModeAuto = g("自动模式");
    t.workStateStopped = g("停止状态");
    t.workStateRecording = g("正在记录");
    t.startModeLabel[0] = g("立即启动");
    t.startModeLabel[1] = g("定时启动");
    t.startModeLabel[2] = g("手动启动");
    t.startModeLabel[3] = g("PC启动");
    t.stopModeLabel[0] = g("存储器满停止");
    t.stopModeLabel[1] = g("定时停止");
    t.stopModeLabel[2] = g("先进先出");
    t.stopModeLabel[3] = g("记录次数停止");

    t.basicAttributes = g("基本属性");
    t.channelAttributes = g("通道属性");
    t.startTime = g("启动时间：");
    t.userName = g("用 户 名：");
    t.title = g("标    题：");
    t.workState = g("工作状态：");
    t.recordCount = g("记录次数：");
    t.overflowCount = g("溢出次数：");
    t.startMode = g("启动方式：");
    t.stopMode = g("停止方式：");
    t.recordIntervalFormat = g("记录间隔：%02d:%02d:%02d");
    t.startChannels = g("启动通道：");
    t.recordMode = g("记录模式：");
    t.storageCapacity = g("存储容量：");
    t.powerMode = g("功耗模式：");
    t.serialNumber = g("序 列 号：");
    t.model = g("型    号：");
    t.firmwareVersion = g("固件版本：");
    t.powerSave = g("省电模式");
    t.powerNormal = g("正常模式");
    t.channelTypeFormat = g("通道%d类型:%s");
    t.channelUnitFormat = g("通道%d单位:%s");
    t.channelAlarmOnFormat = g("通道%d报警使能:开启");
    t.channelAlarmOffFormat = g("通道%d报警使能:关闭");
    t.channelAlarmUpperFormat = g("通道%d报警上限:%0.1f");
    t.channelAlarmLowerFormat = g("通道%d报警下限:%0.1f");
    t.channelRangeUpperFormat = g("通道%d量程上限:%0.1f");
    t.channelRangeLowerFormat = g("通道%d量程下限:%0.1f");
    const char* basic[16] = {"启动时间：", "用 户 名：", "标    题：", "工作状态：",
                             "记录次数：", "溢出次数：", "启动方式：", "停止方式：",
                             "记录间隔：", "启动通道：", "记录模式：", "存储容量：",
                             "功耗模式：", "序 列 号：", "型    号：", "固件版本："};
    for (int i = 0; i < 16; ++i) t.initialBasic[i] = g(basic[i]);
    const char* channel[7] = {"通道类型：",     "通道单位：",     "通道报警使能：",
                              "通道报警上限：", "通道报警下限：", "通道量程上限：",
                              "通道量程下限："};
    for (int i = 0; i < 7; ++i) t.initialChannel[i] = g(channel[i]);

    t.connecting = g("正在连接......");
    t.hidLinkFound = g("查找到U盘设备，连接U盘设备");
    t.hidLinkConnected = g("已连接U盘设备");
    t.communicationTimeout = g("通讯超时，请检查设备连接");
    t.hardwareNotFound = g("未找到硬件设备!");
    t.checkingUsb = g("正在检查USB设备...");
    t.usbFoundConnecting = g("找到USB设备，正在连接...");
    t.usbConnected = g("USB设备连接成功！");
    t.usbReadFailed = g("读取设备信息失败");
    t.usbNotFound = g("未找到USB设备，准备连接");
    t.storageArrived = g("检测到USB存储设备，正在尝试连接...");
    t.usbRemoved = g("USB设备已断开");
    t.autoDownloadAfterArrival = g("设备已连接，开始自动下载...");
    t.autoDownloadStarts = g("开始自动下载历史数据...");
    t.downloadThreadFailed = g("启动下载线程失败");
    t.noHistoryOnDevice = g("设备上没有历史数据");
    return t;
}
}  // namespace

const Texts& ChineseTexts() {
    static const Texts texts = MakeChinese();
    return texts;
}

}  // namespace velorin
