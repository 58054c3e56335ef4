// The English interface texts. Sources are UTF-8; some English texts carry full-width colons,
// so these too are converted to GBK once.
#include "common/text_codec.h"
#include "common/texts.h"

namespace velorin {

namespace {
Texts MakeEnglish() {
    auto g = Utf8ToGbk;
    Texts t;
    t.recordModeManual = g("HandMode");
    t.recordModeAuto = g("AutoMode");
    t.workStateStopped = g("STOP");
    t.workStateRecording = g("Recording");
    t.startModeLabel[0] = g("RestartNow");
    t.startModeLabel[1] = g("TimedStart");
    t.startModeLabel[2] = g("HandStart");
    t.startModeLabel[3] = g("PCStart");
    t.stopModeLabel[0] = g("Memory full stop");
    t.stopModeLabel[1] = g("Timed stop");
    t.stopModeLabel[2] = g("fifo");
    t.stopModeLabel[3] = g("REC num stop");

    t.basicAttributes = g("Basic ATTR");
    t.channelAttributes = g("Channel ATTR");
    t.startTime = g("Start Time:");
    t.userName = g("User Name:");
    t.title = g("Title:");
    t.workState = g("Work Stat:");
    t.recordCount = g("Rec Num:");
    t.overflowCount = g("OverFlows:");
    t.startMode = g("Start Mode:");
    t.stopMode = g("Stop Mode:");
    t.recordIntervalFormat = g("Rec Inter ：%02d:%02d:%02d");
    t.startChannels = g("Start channel:");
    t.recordMode = g("Record mode:");
    t.storageCapacity = g("Storage capacity:");
    t.powerMode = g("Power mode:");
    t.serialNumber = g("SN：");
    t.model = g("Modle：");
    t.firmwareVersion = g("Hard Ver:");
    t.powerSave = g("Power Save");
    t.powerNormal = g("Power Normal");
    t.channelTypeFormat = g("CH%dType:%s");
    t.channelUnitFormat = g("CH%dUnit:%s");
    t.channelAlarmOnFormat = g("CH%dAlarm EN:Start");
    t.channelAlarmOffFormat = g("CH%dAlarm EN:Closed");
    t.channelAlarmUpperFormat = g("CH%dAlarm Upper:%0.1f");
    t.channelAlarmLowerFormat = g("CH%dAlarm Lower:%0.1f");
    t.channelRangeUpperFormat = g("CH%dRange Upper:%0.1f");
    t.channelRangeLowerFormat = g("CH%dRange Lower:%0.1f");
    const char* basic[16] = {
        "Start Time:", "User Name:", "Title:",           "Work Stat:",     "Rec Num:",     "OverFlows:",
        "Start Mode",  "Stop Mode",  "Record interval:", "Start channel:", "Record mode:", "Storage capacity:",
        "Power mode:", "SN:",        "Modle:",           "Hard Ver:"};
    for (int i = 0; i < 16; ++i) t.initialBasic[i] = g(basic[i]);
    const char* channel[7] = {"Channel type:",      "Channel Unit:",      "Channel alarmEN:",  "Alarm upper limit:",
                              "Alarm lower limit:", "Range upper limit:", "Range lower limit:"};
    for (int i = 0; i < 7; ++i) t.initialChannel[i] = g(channel[i]);

    t.connecting = g("connecting......");
    t.hidLinkFound = g("Find USB device, connect USB device");
    t.hidLinkConnected = g("Connected USB device!");
    t.communicationTimeout = g("Communication timeout, please check device connection!");
    t.hardwareNotFound = g("Hardware device not found!");
    t.checkingUsb = g("Checking for USB devices...");
    t.usbFoundConnecting = g("USB device found, connecting...");
    t.usbConnected = g("USB device connected successfully!");
    t.usbReadFailed = g("Failed to read device information");
    t.usbNotFound = g("No USB device found, ready for connection");
    t.storageArrived = g("USB storage device detected, trying to connect...");
    t.usbRemoved = g("USB device disconnected");
    t.autoDownloadAfterArrival = g("Device connected, starting auto download...");
    t.autoDownloadStarts = g("Starting auto download of history data...");
    t.downloadThreadFailed = g("Failed to start download thread");
    t.noHistoryOnDevice = g("No history data found on device");
    t.serialLinkConnected = g("Connected to the logger on COM%d");
    t.downloadSaved = g("Saved %s");
    t.downloadAbandoned = g("History download cancelled");
    t.menuFile = g("Files(&F)");
    t.menuFileDoc = g("File(&F)");
    t.menuView = g("Window(&V)");
    t.menuViewDoc = g("View(&V)");
    t.menuTool = g("Tool");
    t.menuWindows = g("Windows");
    t.menuHelp = g("Help(&H)");
    t.cmdConnect = g("Link Device");
    t.cmdConnectDoc = g("Link");
    t.cmdChoosePort = g("COM");
    t.cmdSetupWizard = g("Restart Device");
    t.cmdSetupWizardDoc = g("Restart");
    t.cmdUpdateTime = g("Upate Time");
    t.cmdUpdateTimeDoc = g("Update time");
    t.cmdStop = g("Stop");
    t.cmdF0Config = g("F0 Config");
    t.cmdLiveView = g("RealImageDlg");
    t.cmdHistory = g("HisImage");
    t.cmdShowPanel = g("Proper");
    t.cmdCloseLiveView = g("CloseReal");
    t.cmdHelp = g("Help");
    t.cmdHelpDoc = g("help");
    t.cmdSwitchLanguage = g("Use Chinese");
    t.cmdAbout = g("About Velorin(&A)...");
    t.cmdOpen = g("Open(&O)...\tCtrl+O");
    t.cmdOpenDoc = g("Open File(&O)...\tCtrl+O");
    t.cmdClose = g("Close File(&C)");
    t.cmdSaveAs = g("File Save as(&A)...");
    t.cmdPrintCurve = g("Wave Print");
    t.cmdPrintList = g("Data Print");
    t.cmdRecentFiles = g("Recent Files");
    t.cmdExit = g("Exit(&X)");
    t.cmdToolbar = g("Tool Bar(&T)");
    t.cmdToolbarDoc = g("View Toolbar(&T)");
    t.cmdStatusBar = g("Status Bar(&S)");
    t.cmdStatusBarDoc = g("View Statusbar(&S)");
    t.switchLanguageLabel = g("&Use English");
    const char* toolbar[14] = {"Link Device", "按钮1文字", "Restart",    "Time calibration", "Stop Record", "Download",
                               "按钮6文字",   "COM",       "Properties", "Online",           "Stop",        "按钮2文字",
                               "FileSave",    "System"};
    for (int i = 0; i < 14; ++i) t.toolbarLabel[i] = g(toolbar[i]);
    t.windowCascade = g("Cascade");
    t.windowTile = g("Tile");
    t.aboutTitle = g("About Velorin");
    t.aboutVersion = g("Velorin 2.7");
    t.aboutStatement =
        g("This software collects, downloads and records the data of Velorin data loggers.\n"
          "Copyright (C) Velorin Instruments Co., Ltd.");
    t.aboutOk = g("OK");
    t.aboutBuildFormat = g("Version %s for Linux");
    t.choosePortTitle = g("Serial port");
    t.helpFile = g("en/index.html");
    t.helpFileMissing = g("Help file not found: ");
    t.noPrinterInstalled =
        g("No printer is installed, so nothing can be printed. Add a printer in the system settings first.");
    t.portPermissionFormat =
        g("No permission to open %s: add your user to the group '%s' "
          "(sudo usermod -aG %s $USER) and log in again");
    t.portMissingFormat = g("There is no serial port COM%d (%s)");
    t.portNotSerialFormat = g("%s is not a serial device (COM%d)");
    t.portNoPermissionFormat = g("No permission to open %s");
    t.portBusyFormat = g("%s is in use by another program");
    t.portOpenFailedFormat = g("Cannot open %s: %s");
    t.usbLibraryUnavailableFormat = g("The USB link is not available: the USB library %s could not be loaded (%s)");
    t.usbReplyUnrecognisedFormat = g("The logger's USB reply (%s) fits no known layout");
    t.demoTitleSuffix = g(" (demo)");
    t.openFilter = g("KVRec files (*.kv)");
    t.openFailed = g("Cannot open the data file %s");
    t.historyCapacityReached =
        g("The logger holds more records than a data set can take: only the "
          "first 270336 records were downloaded.");
    t.openFailedReason = g("Cannot open the data file %s: %s");
    t.downloadCaption = g("Progress of historical data download");
    t.saveAsQuestion =
        g("There is already a data window displaying, do you want to save the downloaded historical data as?");
    t.saveAsCaption = g("Note");
    t.storedInFallback = g("The program folder is not writable; the data file was stored in %s");
    t.storeFailed = g("Cannot store the data file %s: %s");
    t.downloadStarting = g("Downloading data, please wait");
    t.downloadNothingStored = g("Nothing stored");
    t.partialStoredBeside = g("The download is incomplete: it was stored as %s; the earlier file %s was kept.");
    t.channelsNotStorable =
        g("Channels 7 and 8 cannot be stored in a data file; the data window shows "
          "them as not recorded.");
    t.dataListSerial = g("Serial");
    t.dataListTime = g("Time");
    t.dataListChannelFormat = g("CH%d");
    return t;
}
}  // namespace

const Texts& EnglishTexts() {
    static const Texts texts = MakeEnglish();
    return texts;
}

}  // namespace velorin
