#include "report/report_font.h"

#include <fontconfig/fontconfig.h>

// In the sanitizer build, LeakSanitizer reports at exit a few objects that fontconfig (while it
// reads its configuration) and cairo (its toy font face cache, when cairo writes a PDF) keep for
// the life of the process without a pointer it can see. They are the libraries' own, once per
// process; ours are not hidden by this.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libcairo.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

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
