#include "analysis/number_text.h"

#include <charconv>

#include "common/format.h"

namespace velorin {

namespace {
template <typename T>
std::string Shortest(T value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return r.ec == std::errc() ? std::string(buffer, r.ptr) : std::string();
}
}  // namespace

std::string ShortestText(float value) { return Shortest(value); }
std::string ShortestText(double value) { return Shortest(value); }

std::string FigureText(double value) {
    std::string s = FormatC("%.6f", value);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

std::string DurationText(long long seconds) {
    const char* sign = seconds < 0 ? "-" : "";
    const unsigned long long s =
        seconds < 0 ? 0ULL - static_cast<unsigned long long>(seconds) : static_cast<unsigned long long>(seconds);
    return FormatC("%s%llu:%02llu:%02llu", sign, s / 3600, s / 60 % 60, s % 60);
}

}  // namespace velorin
