#include "analysis/range_statistics_output.h"

#include <cmath>
#include <cstring>

#include "analysis/analysis_texts.h"
#include "analysis/clock_time.h"
#include "analysis/number_text.h"
#include "analysis/range_statistics.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "history/record_set.h"

namespace velorin {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t Utf8SequenceAt(const std::string& s, size_t i) {
    const auto b = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n = 0;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        n = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else
        return 0;
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    }
    // Overlong three- and four-byte forms, surrogates and code points past U+10FFFF.
    if (c == 0xE0 && b(i + 1) < 0xA0) return 0;
    if (c == 0xED && b(i + 1) > 0x9F) return 0;
    if (c == 0xF0 && b(i + 1) < 0x90) return 0;
    if (c == 0xF4 && b(i + 1) > 0x8F) return 0;
    return n;
}

// A JSON string of UTF-8 text; bytes that are not UTF-8 (a file name from another system)
// become U+FFFD so that the output stays valid UTF-8.
std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            if (c == '"')
                out += "\\\"";
            else if (c == '\\')
                out += "\\\\";
            else if (c == '\n')
                out += "\\n";
            else if (c == '\t')
                out += "\\t";
            else if (c == '\r')
                out += "\\r";
            else if (c < 0x20 || c == 0x7F)
                out += FormatC("\\u%04x", c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        const size_t n = Utf8SequenceAt(utf8, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(utf8, i, n);
            i += n;
        }
    }
    return out + "\"";
}

// Computed figures to six decimals; a non-finite one (a damaged 4-byte value near −273.1 °C can
// make the mean kinetic temperature infinite) does not exist.
std::string JsonFigure(double v) { return std::isfinite(v) ? velorin::FigureText(v) : "null"; }
std::string JsonNumber(float v) { return std::isfinite(v) ? ShortestText(v) : "null"; }

std::string JsonTime(const RecordTime& t) { return JsonString(ClockTimeText(t)); }

std::string SerialText(const RecordSet& set) {
    return std::string(set.serialNumber, strnlen(set.serialNumber, sizeof(set.serialNumber)));
}

std::string ChannelJson(const ChannelRangeStatistics& c) {
    const bool v = c.HasValues();
    std::string j = "{";
    j += "\"channel\": " + std::to_string(c.channel + 1);
    j += ", \"quantity\": " + JsonString(GbkToUtf8(c.quantity));
    j += ", \"unit\": " + JsonString(GbkToUtf8(c.unit));
    j += ", \"count\": " + std::to_string(c.count);
    j += ", \"missing\": " + std::to_string(c.missing);
    j += ", \"min\": " + (v ? JsonNumber(c.min) : "null");
    j += ", \"min_time\": " + (v ? JsonTime(c.minTime) : "null");
    j += ", \"max\": " + (v ? JsonNumber(c.max) : "null");
    j += ", \"max_time\": " + (v ? JsonTime(c.maxTime) : "null");
    j += ", \"avg\": " + (v ? JsonFigure(c.avg) : "null");
    j += ", \"mkt\": " + (c.hasMkt ? JsonFigure(c.mkt) : "null");
    j += ", \"upper\": " + JsonFigure(c.upperX10 / 10.0);
    j += ", \"lower\": " + JsonFigure(c.lowerX10 / 10.0);
    j += ", \"above_upper_s\": " + std::to_string(c.aboveUpperSeconds);
    j += ", \"below_lower_s\": " + std::to_string(c.belowLowerSeconds);
    j += ", \"first_above\": " + (c.crossedUpper ? JsonTime(c.firstAbove) : "null");
    j += ", \"first_below\": " + (c.crossedLower ? JsonTime(c.firstBelow) : "null");
    return j + "}";
}

std::string ValueText(const ChannelRangeStatistics& c, float v, const AnalysisTexts& t) {
    return c.HasValues() && std::isfinite(v) ? ShortestText(v) : t.none;
}

std::string FigureOrNone(bool exists, double v, const AnalysisTexts& t) {
    return exists && std::isfinite(v) ? velorin::FigureText(v) : t.none;
}

std::string TimeText(bool exists, const RecordTime& time, const AnalysisTexts& t) {
    return exists ? ClockTimeText(time) : t.none;
}

std::string DurationFigure(int64_t seconds, const AnalysisTexts& t) {
    return std::to_string(seconds) + " " + t.seconds + " (" + DurationText(seconds) + ")";
}

std::string ChannelName(const ChannelRangeStatistics& c, const AnalysisTexts& t) {
    return FormatC(t.channel.c_str(), c.channel + 1);
}

}  // namespace

std::string RangeStatisticsJson(const std::string& fileName, const RecordSet& set, const RangeStatistics& stats) {
    const bool any = !stats.Empty();
    std::string j = "{";
    j += "\"file\": " + JsonString(fileName);
    j += ", \"serial\": " + JsonString(GbkToUtf8(SerialText(set)));
    j += ", \"from\": " + (any ? JsonTime(stats.firstTime) : "null");
    j += ", \"to\": " + (any ? JsonTime(stats.lastTime) : "null");
    j += ", \"records\": " + std::to_string(stats.records);
    j += ", \"interval_s\": " + std::to_string(stats.intervalSeconds);
    j += ", \"channels\": [";
    for (size_t i = 0; i < stats.channels.size(); ++i) j += (i ? ", " : "") + ChannelJson(stats.channels[i]);
    return j + "]}";
}

std::string RangeStatisticsText(const std::string& fileNameGbk, const RecordSet& set, const RangeStatistics& stats,
                                const AnalysisTexts& t) {
    // GBK, like the file's texts it joins (serial number, quantities, units): the labels follow.
    auto g = [](const std::string& utf8) { return Utf8ToGbk(utf8); };
    std::string s;
    s += g(t.file) + ": " + fileNameGbk + "\n";
    s += g(t.serial) + ": " + SerialText(set) + "\n";
    if (stats.Empty()) return s + g(t.noRecord) + "\n";
    s += g(t.from) + ": " + ClockTimeText(stats.firstTime) + "\n";
    s += g(t.to) + ": " + ClockTimeText(stats.lastTime) + "\n";
    s += g(t.records) + ": " + std::to_string(stats.records) + "\n";
    s += g(t.interval) + ": " + std::to_string(stats.intervalSeconds) + " " + g(t.seconds) + "\n";
    for (const ChannelRangeStatistics& c : stats.channels) {
        const bool v = c.HasValues();
        s += "\n" + g(ChannelName(c, t)) + " " + c.quantity + " (" + c.unit + ")\n";
        s += "  " + g(t.count) + ": " + std::to_string(c.count) + "\n";
        s += "  " + g(t.missing) + ": " + std::to_string(c.missing) + "\n";
        s += "  " + g(t.min) + ": " + g(ValueText(c, c.min, t)) + (v ? "  " + ClockTimeText(c.minTime) : "") + "\n";
        s += "  " + g(t.max) + ": " + g(ValueText(c, c.max, t)) + (v ? "  " + ClockTimeText(c.maxTime) : "") + "\n";
        s += "  " + g(t.avg) + ": " + g(FigureOrNone(v, c.avg, t)) + "\n";
        s += "  " + g(t.mkt) + ": " + g(FigureOrNone(c.hasMkt, c.mkt, t)) + "\n";
        s += "  " + g(t.upper) + ": " + FormatC("%.1f", c.upperX10 / 10.0) + "\n";
        s += "  " + g(t.lower) + ": " + FormatC("%.1f", c.lowerX10 / 10.0) + "\n";
        s += "  " + g(t.aboveUpper) + ": " + g(DurationFigure(c.aboveUpperSeconds, t)) + "\n";
        s += "  " + g(t.belowLower) + ": " + g(DurationFigure(c.belowLowerSeconds, t)) + "\n";
        s += "  " + g(t.firstAbove) + ": " + g(TimeText(c.crossedUpper, c.firstAbove, t)) + "\n";
        s += "  " + g(t.firstBelow) + ": " + g(TimeText(c.crossedLower, c.firstBelow, t)) + "\n";
    }
    return s;
}

std::string RangeStatisticsTable(const RangeStatistics& stats, const AnalysisTexts& t) {
    std::string s = t.from + "\t" + (stats.Empty() ? t.none : ClockTimeText(stats.firstTime)) + "\t" + t.to + "\t" +
                    (stats.Empty() ? t.none : ClockTimeText(stats.lastTime)) + "\t" + t.records + "\t" +
                    std::to_string(stats.records) + "\n";
    const std::string header[] = {"",    t.count,      t.missing,    t.min,        t.max,       t.avg,
                                  t.mkt, t.aboveUpper, t.belowLower, t.firstAbove, t.firstBelow};
    for (size_t i = 0; i < sizeof header / sizeof header[0]; ++i) s += (i ? "\t" : "") + header[i];
    s += "\n";
    for (const ChannelRangeStatistics& c : stats.channels) {
        const bool v = c.HasValues();
        s += ChannelName(c, t) + "\t" + std::to_string(c.count) + "\t" + std::to_string(c.missing) + "\t" +
             ValueText(c, c.min, t) + "\t" + ValueText(c, c.max, t) + "\t" + FigureOrNone(v, c.avg, t) + "\t" +
             FigureOrNone(c.hasMkt, c.mkt, t) + "\t" + DurationText(c.aboveUpperSeconds) + "\t" +
             DurationText(c.belowLowerSeconds) + "\t" + TimeText(c.crossedUpper, c.firstAbove, t) + "\t" +
             TimeText(c.crossedLower, c.firstBelow, t) + "\n";
    }
    return s;
}

}  // namespace velorin
