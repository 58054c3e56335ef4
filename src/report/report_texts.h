// The texts of the PDF report, one instance per interface language (UTF-8). Texts that are
// the same in both languages (value formats, "MKT:", the data page header) live with the code
// that draws them.
#pragma once

#include <string>

namespace velorin {

enum class Language;

struct ReportTexts {
    std::string heading;     // size 24 at the top of the first page
    std::string noteBefore;  // the red note up to the UTC offset ...
    std::string noteAfter;   // ... and after it
    std::string configInform, deviceInform, logInform, alarmInform;
    std::string alarmColumns[7];  // the alarm table's column heads, left to right
    std::string serialNumber, reportCreation, userName, title, startMode, stopMode, interval, startChannel, model,
        hardVersion, capacity, max, min, avg, startTime, dataCurve;
    std::string upperAlarm, lowerAlarm, continuousAlarm;  // alarm status / type cells
    std::string companyName;                              // footer, left
    std::string cjkFontMissing;                           // warning: the Song-style font was not found (%s font used)
    std::string logoMissing;                              // warning: the logo could not be read (%s path)
    // The progress dialog while a report is written: its label (%d page done, %d pages) and its
    // button.
    std::string progress, cancel;
};

// The same in both languages.
struct ReportFixedTexts {
    std::string webAddress;                                 // footer, middle
    std::string creator, author, title, subject, keywords;  // document information (UTF-8)
    std::string createFailed;                               // the file could not be written (%s path, %s reason)
    // The Save As dialog's filters, "|"-separated pairs of name and pattern.
    std::string saveAsFilter;
};

const ReportTexts& ReportTextsFor(Language language);
const ReportFixedTexts& ReportFixed();

}  // namespace velorin
