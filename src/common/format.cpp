#include "common/format.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace velorin {

namespace {
// One "C" locale object for the process; uselocale() switches only the calling thread.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}
}  // namespace

std::string FormatC(const char* format, ...) {
    const locale_t previous = uselocale(CLocale());
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(&out[0], out.size(), format, copy);
        out.resize(static_cast<size_t>(n));
    }
    va_end(copy);
    uselocale(previous);
    return out;
}

}  // namespace velorin
