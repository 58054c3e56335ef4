// The labels of the CSV and TXT exports, one instance per interface language (UTF-8; the
// writers convert them to the file's encoding).
//
// The two heads are built the same way: each label is written in front of its value, and the
// labels carry their own line breaks and separators, so one head builder serves both formats.
#pragma once

#include <string>

namespace velorin {

enum class Language;

struct ExportHeadLabels {
    std::string userName, title, recordCount, interval, recordMode, startChannels, startTime, stopTime;
    // Per-channel statistics line: "CH%d" + max + "%.1f" + min + "%.1f" + avg + "%.2f" +
    // channelType + the channel's quantity text.
    std::string max, min, avg, channelType;
    // The start of the column header (serial number and record time columns).
    std::string columns;
};

struct ExportTexts {
    ExportHeadLabels csv;
    ExportHeadLabels txt;
};

const ExportTexts& ExportTextsFor(Language language);

// `labels` in the files' code page (GBK), in which they are joined with the data file's texts;
// the writers convert them once per file.
ExportHeadLabels GbkLabels(const ExportHeadLabels& labels);

}  // namespace velorin
