// The live view's texts, one instance per interface language (UTF-8). Most of them are the
// same in both languages: the statics, the list and the readout were never translated.
#pragma once

#include <string>

namespace velorin {

enum class Language;
struct LiveTexts {
    std::string windowTitle;
    std::string channelLabelFormat;    // value static's label; %d channel number
    std::string initialValue;          // what a value static shows before the first poll
    std::string listChannelFormat;     // first column of a list row; %d channel number
    std::string listColumns[5];        // channel, quantity, unit, selected value, record time
    std::string missingValue;          // a missing sample, wherever a value is shown
    std::string curveBox, scaleBox;    // the two check boxes of a channel
    std::string backgroundCaption;     // beside the background swatch in the legend
    std::string backgroundFont;        // font family of that caption
    std::string readoutTimeFormat;     // %d year, month, day, %.2d hour, minute, second
    std::string noReadingSinceFormat;  // polls bring no reading; %s the last reading's hh:mm:ss
    // `velorin-cli live` ending without readings; %d the polls in a row, %s as above.
    std::string gaveUpFormat;
};

const LiveTexts& LiveTextsFor(Language language);

}  // namespace velorin
