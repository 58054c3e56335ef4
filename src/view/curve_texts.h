// The texts of the curve view's controls, of its pointer readout and of the range chooser
// CTimeCho, one instance per interface language (UTF-8). The tab strip's texts are in
// ViewTexts (view/view_texts.h).
#pragma once

#include <string>

namespace velorin {

enum class Language;
struct CurveTexts {
    std::string channelBox;  // %d channel number
    std::string coordinate, amplification, returnButton, range, compression, printCurve, printList;
    // The pointer readout: the same in both languages.
    std::string readoutTime;     // followed by the record's time
    std::string readoutChannel;  // %d channel number, %s quantity text
    std::string error;
    // CTimeCho.
    std::string chooserCaption, from, to, serialHint, ok, cancel;
};

const CurveTexts& CurveTextsFor(Language language);

}  // namespace velorin
