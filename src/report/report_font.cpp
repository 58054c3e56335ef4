#include "report/report_font.h"

#include <fontconfig/fontconfig.h>

namespace velorin {

ReportFontMatch MatchReportFont() {
    ReportFontMatch result;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kReportFontFamily));
    if (!pattern) return result;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &status);
    FcChar8* text = nullptr;
    int face = 0;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &text) == FcResultMatch && text) {
        result.family = reinterpret_cast<const char*>(text);
    }
    if (match && FcPatternGetString(match, FC_FILE, 0, &text) == FcResultMatch && text) {
        result.file = reinterpret_cast<const char*>(text);
    }
    if (match && FcPatternGetInteger(match, FC_INDEX, 0, &face) == FcResultMatch) result.face = face;
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return result;
}

}  // namespace velorin
