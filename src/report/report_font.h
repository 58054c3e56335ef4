// The font every PDF text is set in, as fontconfig resolves it on this machine.
#pragma once

#include <string>

namespace velorin {

// The family asked for: AR PL UMing (the Song-style CJK font of fonts-arphic-uming).
constexpr const char* kReportFontFamily = "AR PL UMing CN";

// Every glyph of the report is set at two thirds of its width: AR PL UMing's Latin glyphs (half an
// em, one GBK byte) then take a third of the font size, and its Chinese glyphs (a whole em, two
// bytes) two thirds, as the report's layout leaves a third of the size for each byte.
constexpr double kLatinWidth = 2.0 / 3.0;

struct ReportFontMatch {
    std::string family;  // the family fontconfig chose ("" when it found none)
    std::string file;    // its font file
    int face = 0;        // the face within the file (a .ttc holds several)
    // Whether the family chosen is AR PL UMing, whose Chinese glyphs the report expects.
    bool IsCjk() const { return family.rfind("AR PL UMing", 0) == 0; }
};

ReportFontMatch MatchReportFont();

}  // namespace velorin
