// The Chinese interface texts (UTF-8).
#include "common/texts.h"

namespace velorin {

namespace {
Texts MakeChinese() {
    Texts t;
    t.recordModeManual = "手动模式";
    t.recordModeAuto = "自动模式";
    t.workStateStopped = "停止状态";
    t.workStateRecording = "正在记录";
    t.startModeLabel[0] = "立即启动";
    t.startModeLabel[1] = "定时启动";
    t.startModeLabel[2] = "手动启动";
    t.startModeLabel[3] = "PC启动";
    t.stopModeLabel[0] = "存储器满停止";
    t.stopModeLabel[1] = "定时停止";
    t.stopModeLabel[2] = "先进先出";
    t.stopModeLabel[3] = "记录次数停止";

    t.basicAttributes = "基本属性";
    t.channelAttributes = "通道属性";
    t.startTime = "启动时间：";
    t.userName = "用 户 名：";
    t.title = "标    题：";
    t.workState = "工作状态：";
    t.recordCount = "记录次数：";
    t.overflowCount = "溢出次数：";
    t.startMode = "启动方式：";
    t.stopMode = "停止方式：";
    t.recordIntervalFormat = "记录间隔：%02d:%02d:%02d";
    t.startChannels = "启动通道：";
    t.recordMode = "记录模式：";
    t.storageCapacity = "存储容量：";
    t.powerMode = "功耗模式：";
    t.serialNumber = "序 列 号：";
    t.model = "型    号：";
    t.firmwareVersion = "固件版本：";
    t.powerSave = "省电模式";
    t.powerNormal = "正常模式";
    t.channelTypeFormat = "通道%d类型:%s";
    t.channelUnitFormat = "通道%d单位:%s";
    t.channelAlarmOnFormat = "通道%d报警使能:开启";
    t.channelAlarmOffFormat = "通道%d报警使能:关闭";
    t.channelAlarmUpperFormat = "通道%d报警上限:%0.1f";
    t.channelAlarmLowerFormat = "通道%d报警下限:%0.1f";
    t.channelRangeUpperFormat = "通道%d量程上限:%0.1f";
    t.channelRangeLowerFormat = "通道%d量程下限:%0.1f";
    const char* basic[16] = {"启动时间：", "用 户 名：", "标    题：", "工作状态：", "记录次数：", "溢出次数：",
                             "启动方式：", "停止方式：", "记录间隔：", "启动通道：", "记录模式：", "存储容量：",
                             "功耗模式：", "序 列 号：", "型    号：", "固件版本："};
    for (int i = 0; i < 16; ++i) t.initialBasic[i] = basic[i];
    const char* channel[7] = {"通道类型：",     "通道单位：",     "通道报警使能：", "通道报警上限：",
                              "通道报警下限：", "通道量程上限：", "通道量程下限："};
    for (int i = 0; i < 7; ++i) t.initialChannel[i] = channel[i];

    t.connecting = "正在连接......";
    t.hidLinkFound = "查找到U盘设备，连接U盘设备";
    t.hidLinkConnected = "已连接U盘设备";
    t.communicationTimeout = "通讯超时，请检查设备连接";
    t.hardwareNotFound = "未找到硬件设备!";
    t.checkingUsb = "正在检查USB设备...";
    t.usbFoundConnecting = "找到USB设备，正在连接...";
    t.usbConnected = "USB设备连接成功！";
    t.usbReadFailed = "读取设备信息失败";
    t.usbNotFound = "未找到USB设备，准备连接";
    t.storageArrived = "检测到USB存储设备，正在尝试连接...";
    t.usbRemoved = "USB设备已断开";
    t.autoDownloadAfterArrival = "设备已连接，开始自动下载...";
    t.autoDownloadStarts = "开始自动下载历史数据...";
    t.downloadThreadFailed = "启动下载线程失败";
    t.noHistoryOnDevice = "设备上没有历史数据";
    t.serialLinkConnected = "已连接串口设备 COM%d";
    t.downloadSaved = "已保存 %s";
    t.downloadAbandoned = "历史数据下载已取消";
    t.menuFile = "文件(&F)";
    t.menuFileDoc = "文件(&F)";
    t.menuView = "查看(&V)";
    t.menuViewDoc = "查看(&V)";
    t.menuTool = "工具";
    t.menuWindows = "视图";
    t.menuHelp = "帮助(&H)";
    t.cmdConnect = "连接";
    t.cmdConnectDoc = "连接";
    t.cmdChoosePort = "串口设置";
    t.cmdSetupWizard = "参数设置";
    t.cmdSetupWizardDoc = "参数设置";
    t.cmdUpdateTime = "时间校准";
    t.cmdUpdateTimeDoc = "时间校准";
    t.cmdStop = "停止记录";
    t.cmdF0Config = "F0参数配置";
    t.cmdLiveView = "实时数据";
    t.cmdHistory = "历史曲线";
    t.cmdShowPanel = "属性栏";
    t.cmdCloseLiveView = "关闭实时曲线";
    t.cmdHelp = "帮助";
    t.cmdHelpDoc = "帮助";
    t.cmdSwitchLanguage = "使用英文";
    t.cmdAbout = "关于 Velorin(&A)...";
    t.cmdOpen = "打开(&O)...\tCtrl+O";
    t.cmdOpenDoc = "打开(&O)...\tCtrl+O";
    t.cmdClose = "关闭(&C)";
    t.cmdSaveAs = "另存为(&A)...";
    t.cmdPrintCurve = "打印曲线";
    t.cmdPrintList = "打印列表";
    t.cmdRecentFiles = "最近文件";
    t.cmdExit = "退出(&X)";
    t.cmdToolbar = "工具栏(&T)";
    t.cmdToolbarDoc = "工具栏(&T)";
    t.cmdStatusBar = "状态栏(&S)";
    t.cmdStatusBarDoc = "状态栏(&S)";
    t.switchLanguageLabel = "&使用英文";
    const char* toolbar[14] = {"连接设备", "按钮1文字", "重启仪器", "时间校准", "停止记录",  "历史下载", "按钮6文字",
                               "串口设置", "属性窗口",  "在线监测", "停止监测", "按钮2文字", "文件保存", "系统说明"};
    for (int i = 0; i < 14; ++i) t.toolbarLabel[i] = toolbar[i];
    t.windowCascade = "层叠";
    t.windowTile = "平铺";
    t.aboutTitle = "关于 Velorin";
    t.aboutVersion = "Velorin 2.9";
    t.aboutStatement =
        "本软件用于采集、下载和记录 Velorin 数据记录仪的数据。\n"
        "版权所有 (C) Velorin 仪器有限公司";
    t.aboutOk = "确   定";
    t.aboutBuildFormat = "Linux 版 %s";
    t.choosePortTitle = "选择串口";
    t.helpFile = "zh/index.html";
    t.helpFileMissing = "未找到帮助文件: ";
    t.noPrinterInstalled = "没有安装打印机，无法打印。请先在系统设置中添加打印机。";
    t.portPermissionFormat =
        "无权打开 %s：请把当前用户加入组“%s”"
        "（sudo usermod -aG %s $USER）后重新登录";
    t.portMissingFormat = "串口COM%d（%s）不存在";
    t.portNotSerialFormat = "%s 不是串口设备（COM%d）";
    t.portNoPermissionFormat = "无权打开 %s";
    t.portBusyFormat = "%s 正被其他程序占用";
    t.portOpenFailedFormat = "无法打开 %s：%s";
    t.usbLibraryUnavailableFormat = "USB连接不可用：无法加载USB库 %s（%s）";
    t.usbReplyUnrecognisedFormat = "记录仪的USB应答（%s）不符合任何已知格式";
    t.demoTitleSuffix = " (demo)";
    t.openFilter = "KVRec文件 (*.kv)";
    t.openFailed = "无法打开数据文件 %s";
    t.historyCapacityReached = "设备上的记录超过数据集的容量，只下载了前270336条记录。";
    t.openFailedReason = "无法打开数据文件 %s：%s";
    t.downloadCaption = "历史数据下载进度。。。";
    t.saveAsQuestion = "已有数据窗口显示，是否将下载的历史数据另存为？";
    t.saveAsCaption = "提示";
    t.storedInFallback = "程序目录不可写，数据文件已保存到 %s";
    t.storeFailed = "无法保存数据文件 %s：%s";
    t.downloadStarting = "正在下载数据，请稍候";
    t.downloadNothingStored = "未保存任何数据";
    t.partialStoredBeside = "下载不完整：已保存为 %s，原有文件 %s 已保留。";
    t.channelsNotStorable = "通道7和通道8无法保存到数据文件中，数据窗口将其显示为未记录。";
    t.dataListSerial = "序号";
    t.dataListTime = "时间";
    t.dataListChannelFormat = "通道%d";
    return t;
}
}  // namespace

const Texts& ChineseTexts() {
    static const Texts texts = MakeChinese();
    return texts;
}

}  // namespace velorin
