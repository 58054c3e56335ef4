// The texts of the comparison window and of its file chooser, one instance per interface
// language (UTF-8, like every text table of the program).
#pragma once

#include <string>

namespace velorin {

enum class Language;
struct CompareTexts {
    std::string command;  // the menu command that opens the window
    std::string windowTitle;
    // The chooser.
    std::string chooserTitle, chooserHint, openWindows, addFiles, remove, compare, cancel, fileFilter;
    // The plot's controls (zoom, "Return" and "Range" take the history view's texts).
    std::string pan, cursorHint, clearCursors;
    std::string curvesTab, statisticsTab;
    // Legend and readout: one row per curve.
    std::string columnFile, columnChannel, columnPointer, columnCursor1, columnCursor2, columnDelta;
    std::string channelLabel;  // %d channel number, %s quantity, %s unit
    std::string pointerAt;     // %s time
    std::string cursorAt;      // %d cursor number, %s time
    std::string deltaTime;     // %s duration
    std::string noRecord, missing;
    // Statistics of the shown range (figure names: AnalysisTexts).
    std::string statsRange;  // %s from, %s to
    // Files that could not be compared: unreadable (%s path, %s reason), too many, too few.
    std::string unreadable, tooMany, tooFew;
};

const CompareTexts& CompareTextsFor(Language language);

}  // namespace velorin
