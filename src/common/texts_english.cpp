// The English interface texts (UTF-8; some carry full-width colons, so they are not all ASCII).
#include "common/texts.h"

namespace velorin {

namespace {
Texts MakeEnglish() {
    Texts t;
    t.recordModeManual = "HandMode";
    t.recordModeAuto = "AutoMode";
    t.workStateStopped = "STOP";
    t.workStateRecording = "Recording";
    t.startModeLabel[0] = "RestartNow";
    t.startModeLabel[1] = "TimedStart";
    t.startModeLabel[2] = "HandStart";
    t.startModeLabel[3] = "PCStart";
    t.stopModeLabel[0] = "Memory full stop";
    t.stopModeLabel[1] = "Timed stop";
    t.stopModeLabel[2] = "fifo";
    t.stopModeLabel[3] = "REC num stop";

    t.basicAttributes = "Basic ATTR";
    t.channelAttributes = "Channel ATTR";
    t.startTime = "Start Time:";
    t.userName = "User Name:";
    t.title = "Title:";
    t.workState = "Work Stat:";
    t.recordCount = "Rec Num:";
    t.overflowCount = "OverFlows:";
    t.startMode = "Start Mode:";
    t.stopMode = "Stop Mode:";
    t.recordIntervalFormat = "Rec Inter ：%02d:%02d:%02d";
    t.startChannels = "Start channel:";
    t.recordMode = "Record mode:";
    t.storageCapacity = "Storage capacity:";
    t.powerMode = "Power mode:";
    t.serialNumber = "SN：";
    t.model = "Modle：";
    t.firmwareVersion = "Hard Ver:";
    t.powerSave = "Power Save";
    t.powerNormal = "Power Normal";
    t.channelTypeFormat = "CH%dType:%s";
    t.channelUnitFormat = "CH%dUnit:%s";
    t.channelAlarmOnFormat = "CH%dAlarm EN:Start";
    t.channelAlarmOffFormat = "CH%dAlarm EN:Closed";
    t.channelAlarmUpperFormat = "CH%dAlarm Upper:%0.1f";
    t.channelAlarmLowerFormat = "CH%dAlarm Lower:%0.1f";
    t.channelRangeUpperFormat = "CH%dRange Upper:%0.1f";
    t.channelRangeLowerFormat = "CH%dRange Lower:%0.1f";
    const char* basic[16] = {
        "Start Time:", "User Name:", "Title:",           "Work Stat:",     "Rec Num:",     "OverFlows:",
        "Start Mode",  "Stop Mode",  "Record interval:", "Start channel:", "Record mode:", "Storage capacity:",
        "Power mode:", "SN:",        "Modle:",           "Hard Ver:"};
    for (int i = 0; i < 16; ++i) t.initialBasic[i] = basic[i];
    const char* channel[7] = {"Channel type:",      "Channel Unit:",      "Channel alarmEN:",  "Alarm upper limit:",
                              "Alarm lower limit:", "Range upper limit:", "Range lower limit:"};
    for (int i = 0; i < 7; ++i) t.initialChannel[i] = channel[i];

    t.connecting = "connecting......";
    t.hidLinkFound = "Find USB device, connect USB device";
    t.hidLinkConnected = "Connected USB device!";
    t.communicationTimeout = "Communication timeout, please check device connection!";
    t.hardwareNotFound = "Hardware device not found!";
    t.checkingUsb = "Checking for USB devices...";
    t.usbFoundConnecting = "USB device found, connecting...";
    t.usbConnected = "USB device connected successfully!";
    t.usbReadFailed = "Failed to read device information";
    t.usbNotFound = "No USB device found, ready for connection";
    t.storageArrived = "USB storage device detected, trying to connect...";
    t.usbRemoved = "USB device disconnected";
    t.autoDownloadAfterArrival = "Device connected, starting auto download...";
    t.autoDownloadStarts = "Starting auto download of history data...";
    t.downloadThreadFailed = "Failed to start download thread";
    t.noHistoryOnDevice = "No history data found on device";
    t.serialLinkConnected = "Connected to the logger on COM%d";
    t.downloadSaved = "Saved %s";
    t.downloadAbandoned = "History download cancelled";
    t.menuFile = "Files(&F)";
    t.menuFileDoc = "File(&F)";
    t.menuView = "Window(&V)";
    t.menuViewDoc = "View(&V)";
    t.menuTool = "Tool";
    t.menuWindows = "Windows";
    t.menuHelp = "Help(&H)";
    t.cmdConnect = "Link Device";
    t.cmdConnectDoc = "Link";
    t.cmdChoosePort = "COM";
    t.cmdSetupWizard = "Restart Device";
    t.cmdSetupWizardDoc = "Restart";
    t.cmdUpdateTime = "Upate Time";
    t.cmdUpdateTimeDoc = "Update time";
    t.cmdStop = "Stop";
    t.cmdF0Config = "F0 Config";
    t.cmdLiveView = "RealImageDlg";
    t.cmdHistory = "HisImage";
    t.cmdShowPanel = "Proper";
    t.cmdCloseLiveView = "CloseReal";
    t.cmdHelp = "Help";
    t.cmdHelpDoc = "help";
    t.cmdSwitchLanguage = "Use Chinese";
    t.cmdAbout = "About Velorin(&A)...";
    t.cmdOpen = "Open(&O)...\tCtrl+O";
    t.cmdOpenDoc = "Open File(&O)...\tCtrl+O";
    t.cmdClose = "Close File(&C)";
    t.cmdSaveAs = "File Save as(&A)...";
    t.cmdPrintCurve = "Wave Print";
    t.cmdPrintList = "Data Print";
    t.cmdRecentFiles = "Recent Files";
    t.cmdExit = "Exit(&X)";
    t.cmdToolbar = "Tool Bar(&T)";
    t.cmdToolbarDoc = "View Toolbar(&T)";
    t.cmdStatusBar = "Status Bar(&S)";
    t.cmdStatusBarDoc = "View Statusbar(&S)";
    t.switchLanguageLabel = "&Use English";
    const char* toolbar[14] = {"Link Device", "按钮1文字", "Restart",    "Time calibration", "Stop Record", "Download",
                               "按钮6文字",   "COM",       "Properties", "Online",           "Stop",        "按钮2文字",
                               "FileSave",    "System"};
    for (int i = 0; i < 14; ++i) t.toolbarLabel[i] = toolbar[i];
    t.windowCascade = "Cascade";
    t.windowTile = "Tile";
    t.aboutTitle = "About Velorin";
    t.aboutVersion = "Velorin 2.7";
    t.aboutStatement =
        "This software collects, downloads and records the data of Velorin data loggers.\n"
        "Copyright (C) Velorin Instruments Co., Ltd.";
    t.aboutOk = "OK";
    t.aboutBuildFormat = "Version %s for Linux";
    t.choosePortTitle = "Serial port";
    t.helpFile = "en/index.html";
    t.helpFileMissing = "Help file not found: ";
    t.noPrinterInstalled =
        "No printer is installed, so nothing can be printed. Add a printer in the system settings first.";
    t.portPermissionFormat =
        "No permission to open %s: add your user to the group '%s' "
        "(sudo usermod -aG %s $USER) and log in again";
    t.portMissingFormat = "There is no serial port COM%d (%s)";
    t.portNotSerialFormat = "%s is not a serial device (COM%d)";
    t.portNoPermissionFormat = "No permission to open %s";
    t.portBusyFormat = "%s is in use by another program";
    t.portOpenFailedFormat = "Cannot open %s: %s";
    t.usbLibraryUnavailableFormat = "The USB link is not available: the USB library %s could not be loaded (%s)";
    t.usbReplyUnrecognisedFormat = "The logger's USB reply (%s) fits no known layout";
    t.demoTitleSuffix = " (demo)";
    t.openFilter = "KVRec files (*.kv)";
    t.openFailed = "Cannot open the data file %s";
    t.historyCapacityReached =
        "The logger holds more records than a data set can take: only the "
        "first 270336 records were downloaded.";
    t.openFailedReason = "Cannot open the data file %s: %s";
    t.downloadCaption = "Progress of historical data download";
    t.saveAsQuestion =
        "There is already a data window displaying, do you want to save the downloaded historical data as?";
    t.saveAsCaption = "Note";
    t.storedInFallback = "The program folder is not writable; the data file was stored in %s";
    t.storeFailed = "Cannot store the data file %s: %s";
    t.downloadStarting = "Downloading data, please wait";
    t.downloadNothingStored = "Nothing stored";
    t.partialStoredBeside = "The download is incomplete: it was stored as %s; the earlier file %s was kept.";
    t.channelsNotStorable =
        "Channels 7 and 8 cannot be stored in a data file; the data window shows "
        "them as not recorded.";
    t.dataListSerial = "Serial";
    t.dataListTime = "Time";
    t.dataListChannelFormat = "CH%d";
    return t;
}
}  // namespace

const Texts& EnglishTexts() {
    static const Texts texts = MakeEnglish();
    return texts;
}

}  // namespace velorin
