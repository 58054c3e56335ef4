// The texts of the history view (data window), one instance per interface language (UTF-8).
//
// The view picks its instance once, when it opens, from the main window's language and keeps it
// for its lifetime. Each part of the view has its own group below; add a group rather than
// mixing texts of different windows.
#pragma once

#include <string>

namespace velorin {

enum class Language;

// The tab strip of the view.
struct ViewTabTexts {
    std::string graph, data;
};

// The statistics list under the curve.
struct StatisticsTexts {
    std::string headers[8];     // CH, Type, Unit, Selected, MAX, MIN, AVG, Start Recording time
    std::string channelFormat;  // %d channel number
};

// The device-information panel as refilled from a data set: each label is followed directly by
// its value text.
struct RecordPanelLabels {
    std::string basicRoot, startTime, userName, title, workStatus, recordNumber, overflows, startMode, stopMode,
        recordInterval, startChannels, recordMode, storageCapacity, powerMode, powerSave, powerNormal, serialNumber,
        model, firmwareVersion;
    std::string channelRoot;
    std::string channelType, channelUnit;              // %d channel, %s text
    std::string channelAlarmOpen, channelAlarmClosed;  // %d channel
    std::string channelAlarmUpper, channelAlarmLower, channelRangeUpper,
        channelRangeLower;  // %d channel, %0.1f value
};

// The F0 parameter dialog (ConfigValueDlg).
struct F0DialogTexts {
    std::string caption, selectMethod, ok;
    std::string methodF0, methodFH;  // combo box items, the same in both languages
};

struct ViewTexts {
    ViewTabTexts tabs;
    StatisticsTexts statistics;
    RecordPanelLabels panel;
    F0DialogTexts f0Dialog;
    std::string f0Quantity;  // measured-quantity name of channel 2 while F0 mode is on
    std::string f0Unit;      // unit of channel 2 while F0 mode is on: F counts minutes
};

const ViewTexts& ViewTextsFor(Language language);

}  // namespace velorin
