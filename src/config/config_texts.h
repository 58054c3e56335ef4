// Texts of the configuration: the requests' results, the wizard's checks and questions, the
// wizard's pages and the clock dialog. One instance per interface language (UTF-8),
// chosen with ConfigTextsFor(language).
//
// The message-box texts, the questions and the labels stored in DeviceInfo exist in Chinese only
// and are the same in both instances; the page and dialog labels differ.
#pragma once

#include <string>

namespace velorin {

enum class Language;
struct ConfigTexts {
    // Failure texts of the requests.
    std::string userTitleFailed, intervalFailed, powerModeFailed, recordModeFailed, startModeFailed, stopModeFailed,
        alarmFailed, clockFailed, restartFailed, clearFailed;
    std::string restartSucceeded;

    // The wizard's entry checks.
    std::string userTitleEmpty, powerSavingInterval;
    std::string upperBelowLowerFormat;  // %d channel number (1 … 6)
    std::string limitOutOfRangeFormat;  // %d channel number; a limit outside the 16-bit tenths
    // A user name or title longer than the logger's 30 bytes; %s what the logger will hold.
    std::string userNameShortenedFormat, titleShortenedFormat;
    // Questions (OK / Cancel).
    std::string restartQuestion, questionCaption;
    std::string timedStartPast, timedStopPast;
    std::string clockQuestion, clockQuestionCaption;

    // Labels stored in DeviceInfo after a successful write (Chinese in both languages).
    std::string recordManual, recordAutomatic;
    std::string startImmediate, startTimed, startManual;
    std::string stopMemoryFull, stopTimed, stopFifo, stopManual;

    // The wizard's frame and pages.
    // `nextFirst` is the Next button's caption when the wizard opens; `next` and `finish` are the
    // captions navigation sets (Chinese in both languages).
    std::string wizardCaption, previous, nextFirst, next, finish, cancel;
    std::string basicGroup, userName, title;
    std::string intervalGroup, intervalNote, intervalLabel, intervalHeading, overLimitLabel;
    std::string overLimitItem[14];
    std::string powerGroup, powerNote, powerNormal, powerSaving;
    std::string recordGroup, recordNote, recordManualButton, recordAutoButton, startLabel, stopLabel, timedStartLabel,
        timedStopLabel;
    std::string startItem[3];  // box items, Chinese in both languages
    std::string stopItem[3];
    std::string alarmGroup, channelFormat, upperLabel, lowerLabel, alarmOn;  // channelFormat: %d
    std::string waitText;                                                    // the wait window's picture

    // The clock dialog.
    std::string clockCaption, alignSystemTime, manualTime, clockOk;
    std::string clockShownFormat;  // %d year, %d month, %d day, %.2d hour, minute, second
};

const ConfigTexts& ConfigTextsFor(Language language);

}  // namespace velorin
