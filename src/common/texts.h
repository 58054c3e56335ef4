// Every bilingual text of the core, one instance per interface language.
//
// TextsFor() gives the texts of one interface language. Every text table of the program holds
// UTF-8: the GUI shows the texts as they are, and they become GBK (Utf8ToGbk) only where bytes
// must be GBK — written into a file, stored in DeviceInfo, or joined with texts the logger or a
// data file gave (which stay GBK). printf-style formats are noted with their arguments.
#pragma once

#include <string>

namespace velorin {

enum class Language;

struct Texts {
    // Labels stored in DeviceInfo by the decoder (cut to their fields there).
    std::string recordModeManual, recordModeAuto;
    std::string workStateStopped, workStateRecording;
    std::string startModeLabel[4];  // codes 1, 2, 3, 4 (4 also stands for 0 and above 4)
    std::string stopModeLabel[4];   // codes 1, 2, 3, 4 (4 also stands for 0 and above 4)

    // Property panel.
    std::string basicAttributes, channelAttributes;
    std::string startTime, userName, title, workState, recordCount, overflowCount, startMode, stopMode;
    std::string recordIntervalFormat;  // %02d:%02d:%02d hours, minutes, seconds
    std::string startChannels, recordMode, storageCapacity, powerMode, serialNumber, model, firmwareVersion;
    std::string powerSave, powerNormal;
    std::string channelTypeFormat, channelUnitFormat;         // %d channel number, %s name
    std::string channelAlarmOnFormat, channelAlarmOffFormat;  // %d
    std::string channelAlarmUpperFormat, channelAlarmLowerFormat, channelRangeUpperFormat,
        channelRangeLowerFormat;  // %d, %0.1f
    // The labels-only panel shown before anything was read.
    std::string initialBasic[16];
    std::string initialChannel[7];

    // Connection and detection (status line unless noted).
    std::string connecting, hidLinkFound, hidLinkConnected;
    std::string communicationTimeout;  // message box
    std::string hardwareNotFound;
    std::string checkingUsb, usbFoundConnecting, usbConnected, usbReadFailed, usbNotFound;
    std::string storageArrived, usbRemoved, autoDownloadAfterArrival, autoDownloadStarts, downloadThreadFailed,
        noHistoryOnDevice;
    // What replaces an announcing status when its action has ended.
    std::string serialLinkConnected;  // %d: the port that answered
    std::string downloadSaved;        // %s: the data file written
    std::string downloadAbandoned;

    // Main frame: menu titles, the commands' menu texts (menu without a document / with a data
    // window where they differ), toolbar labels.
    std::string menuFile, menuFileDoc, menuView, menuViewDoc, menuTool, menuWindows, menuHelp;
    std::string cmdConnect, cmdConnectDoc, cmdChoosePort, cmdSetupWizard, cmdSetupWizardDoc, cmdUpdateTime,
        cmdUpdateTimeDoc, cmdStop, cmdF0Config, cmdLiveView, cmdHistory, cmdShowPanel, cmdCloseLiveView, cmdHelp,
        cmdHelpDoc, cmdSwitchLanguage, cmdAbout, cmdOpen, cmdOpenDoc, cmdClose, cmdSaveAs, cmdPrintCurve, cmdPrintList,
        cmdRecentFiles, cmdExit, cmdToolbar, cmdToolbarDoc, cmdStatusBar, cmdStatusBarDoc;
    std::string switchLanguageLabel;  // the switch command's text as set while running
    std::string toolbarLabel[14];     // by toolbar position; separators carry their own text
    std::string windowCascade, windowTile;

    // Dialogs of the shell.
    std::string aboutTitle, aboutVersion, aboutStatement, aboutOk;
    std::string aboutBuildFormat;  // %s: the program's version (the build's number)
    std::string choosePortTitle;
    std::string helpFile;            // the manual's page, relative to the manual's folder
    std::string helpFileMissing;     // followed by the full path
    std::string noPrinterInstalled;  // a print asked for where the system has no printer
    // Opening a serial port was refused: device path, group to join (printf %s %s %s).
    std::string portPermissionFormat;
    // Other reasons a port could not be opened: %d port number and %s device; %s device and %d
    // port number; %s device; %s device; %s device and %s system text.
    std::string portMissingFormat, portNotSerialFormat, portNoPermissionFormat, portBusyFormat, portOpenFailedFormat;
    // The USB link was asked for but its library could not be loaded: %s file tried, %s reason.
    std::string usbLibraryUnavailableFormat;
    // A USB reply fits no known layout: %s which reply (named in English).
    std::string usbReplyUnrecognisedFormat;
    std::string demoTitleSuffix;   // " (demo)"
    std::string openFilter;        // file dialog filter for data files
    std::string openFailed;        // a data file could not be opened (%s path)
    std::string openFailedReason;  // the same with the reason (%s path, %s reason)

    // History download.
    std::string downloadCaption;
    std::string saveAsQuestion, saveAsCaption;  // a data window is already open
    std::string storedInFallback;               // status: the data file went here (%s folder)
    std::string storeFailed;                    // the data file could not be written (%s path, %s reason)
    std::string historyCapacityReached;         // more records than a data set can take
    std::string downloadStarting;               // the dialog's status text before the animation
    std::string downloadNothingStored;          // no count: nothing stored, no file changed
    std::string partialStoredBeside;            // %s partial file, %s earlier file kept
    std::string channelsNotStorable;            // channels 7 and 8 are not kept by a data file

    // Data list of a data window.
    std::string dataListSerial, dataListTime;
    std::string dataListChannelFormat;  // %d channel number; followed by "(unit)"
};

// Texts that exist in Chinese only and are shown so in both interface languages.
struct FixedTexts {
    std::string stopQuestion, stopTitle, stopFailed;
    std::string closeQuestion, closeTitle;
    // History download: no valid block count; a block still invalid after its retries.
    std::string historyCountFailed, historyBlockFailed;
    // Opening a data file whose name has no ".kv".
    std::string kvExtensionRefused;
    // The download dialog's status texts and the save dialog's filter.
    std::string downloading, downloadChooseButton, downloadShowing, downloadSaveFilter;
};
const FixedTexts& Fixed();

const Texts& TextsFor(Language language);

// Texts that exist in one form only, shown the same in both languages.
namespace fixed_text {
// Serial port failure: operation name, system error text, port number.
constexpr const char* kCommErrorFormat = "WARNING:  %s Failed with the following error: \n%s\nPort: %d\n";
constexpr const char* kCommErrorCaption = "Application Error";
constexpr const char* kUsbLibraryMissing = "Failed to load ";     // followed by the file tried
constexpr const char* kUsbApiMissing = "Failed to load dll api";  // followed by " (file)"
}  // namespace fixed_text

}  // namespace velorin
