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
    const char* basic[16] = {"启动时间：", "用 户 名：", "标    题：", "工作状态：", "记录次数：", "溢出次数：",
                             "启动方式：", "停止方式：", "记录间隔：", "启动通道：", "记录模式：", "存储容量：",
                             "功耗模式：", "序 列 号：", "型    号：", "固件版本："};
    for (int i = 0; i < 16; ++i) t.initialBasic[i] = g(basic[i]);
    const char* channel[7] = {"通道类型：",     "通道单位：",     "通道报警使能：", "通道报警上限：",
                              "通道报警下限：", "通道量程上限：", "通道量程下限："};
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
    t.serialLinkConnected = g("已连接串口设备 COM%d");
    t.downloadSaved = g("已保存 %s");
    t.downloadAbandoned = g("历史数据下载已取消");
    t.menuFile = g("文件(&F)");
    t.menuFileDoc = g("文件(&F)");
    t.menuView = g("查看(&V)");
    t.menuViewDoc = g("查看(&V)");
    t.menuTool = g("工具");
    t.menuWindows = g("视图");
    t.menuHelp = g("帮助(&H)");
    t.cmdConnect = g("连接");
    t.cmdConnectDoc = g("连接");
    t.cmdChoosePort = g("串口设置");
    t.cmdSetupWizard = g("参数设置");
    t.cmdSetupWizardDoc = g("参数设置");
    t.cmdUpdateTime = g("时间校准");
    t.cmdUpdateTimeDoc = g("时间校准");
    t.cmdStop = g("停止记录");
    t.cmdF0Config = g("F0参数配置");
    t.cmdLiveView = g("实时数据");
    t.cmdHistory = g("历史曲线");
    t.cmdShowPanel = g("属性栏");
    t.cmdCloseLiveView = g("关闭实时曲线");
    t.cmdHelp = g("帮助");
    t.cmdHelpDoc = g("帮助");
    t.cmdSwitchLanguage = g("使用英文");
    t.cmdAbout = g("关于 Velorin(&A)...");
    t.cmdOpen = g("打开(&O)...\tCtrl+O");
    t.cmdOpenDoc = g("打开(&O)...\tCtrl+O");
    t.cmdClose = g("关闭(&C)");
    t.cmdSaveAs = g("另存为(&A)...");
    t.cmdPrintCurve = g("打印曲线");
    t.cmdPrintList = g("打印列表");
    t.cmdRecentFiles = g("最近文件");
    t.cmdExit = g("退出(&X)");
    t.cmdToolbar = g("工具栏(&T)");
    t.cmdToolbarDoc = g("工具栏(&T)");
    t.cmdStatusBar = g("状态栏(&S)");
    t.cmdStatusBarDoc = g("状态栏(&S)");
    t.switchLanguageLabel = g("&使用英文");
    const char* toolbar[14] = {"连接设备", "按钮1文字", "重启仪器", "时间校准", "停止记录",  "历史下载", "按钮6文字",
                               "串口设置", "属性窗口",  "在线监测", "停止监测", "按钮2文字", "文件保存", "系统说明"};
    for (int i = 0; i < 14; ++i) t.toolbarLabel[i] = g(toolbar[i]);
    t.windowCascade = g("层叠");
    t.windowTile = g("平铺");
    t.aboutTitle = g("关于 Velorin");
    t.aboutVersion = g("Velorin 2.9");
    t.aboutStatement =
        g("本软件用于采集、下载和记录 Velorin 数据记录仪的数据。\n"
          "版权所有 (C) Velorin 仪器有限公司");
    t.aboutOk = g("确   定");
    t.aboutBuildFormat = g("Linux 版 %s");
    t.choosePortTitle = g("选择串口");
    t.helpFile = g("zh/index.html");
    t.helpFileMissing = g("未找到帮助文件: ");
    t.noPrinterInstalled = g("没有安装打印机，无法打印。请先在系统设置中添加打印机。");
    t.portPermissionFormat =
        g("无权打开 %s：请把当前用户加入组“%s”"
          "（sudo usermod -aG %s $USER）后重新登录");
    t.portMissingFormat = g("串口COM%d（%s）不存在");
    t.portNotSerialFormat = g("%s 不是串口设备（COM%d）");
    t.portNoPermissionFormat = g("无权打开 %s");
    t.portBusyFormat = g("%s 正被其他程序占用");
    t.portOpenFailedFormat = g("无法打开 %s：%s");
    t.usbLibraryUnavailableFormat = g("USB连接不可用：无法加载USB库 %s（%s）");
    t.usbReplyUnrecognisedFormat = g("记录仪的USB应答（%s）不符合任何已知格式");
    t.demoTitleSuffix = g(" (demo)");
    t.openFilter = g("KVRec文件 (*.kv)");
    t.openFailed = g("无法打开数据文件 %s");
    t.historyCapacityReached = g("设备上的记录超过数据集的容量，只下载了前270336条记录。");
    t.openFailedReason = g("无法打开数据文件 %s：%s");
    t.downloadCaption = g("历史数据下载进度。。。");
    t.saveAsQuestion = g("已有数据窗口显示，是否将下载的历史数据另存为？");
    t.saveAsCaption = g("提示");
    t.storedInFallback = g("程序目录不可写，数据文件已保存到 %s");
    t.storeFailed = g("无法保存数据文件 %s：%s");
    t.downloadStarting = g("正在下载数据，请稍候");
    t.downloadNothingStored = g("未保存任何数据");
    t.partialStoredBeside = g("下载不完整：已保存为 %s，原有文件 %s 已保留。");
    t.channelsNotStorable = g("通道7和通道8无法保存到数据文件中，数据窗口将其显示为未记录。");
    t.dataListSerial = g("序号");
    t.dataListTime = g("时间");
    t.dataListChannelFormat = g("通道%d");
    return t;
}
}  // namespace

const Texts& ChineseTexts() {
    static const Texts texts = MakeChinese();
    return texts;
}

}  // namespace velorin
