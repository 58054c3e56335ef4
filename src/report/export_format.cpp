#include "report/export_format.h"

#include <cerrno>
#include <cmath>
#include <system_error>

#include "common/atomic_file.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "history/record_source.h"
#include "report/export_texts.h"
#include "report/text_export.h"

namespace velorin {

namespace {

void AppendUnsigned(std::string& out, uint64_t value, int minDigits) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n < minDigits && n < static_cast<int>(sizeof digits)) digits[n++] = '0';
    while (n > 0) out.push_back(digits[--n]);
}

// Scaling a float by 10 or 100 in double precision is exact: at most 24 significant bits
// times a factor of 5 or 25 (the powers of two only move the exponent) stays far below 53 bits.
// Below this bound the scaled value also converts to an integer exactly.
constexpr double kFastPathLimit = 1e15;

bool HasErasedByte(const std::string& text) { return text.find(static_cast<char>(0xFF)) != std::string::npos; }

}  // namespace

std::vector<int> EnabledChannels(const RecordSet& set) {
    std::vector<int> channels;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        if (set.channelEnabled[c] == 1) channels.push_back(c);
    }
    return channels;
}

int FirstBlockDecimals(const ExportOptions& options, int channel) {
    return (options.display.channelType[channel] >> 4) == 2 ? 2 : 1;
}

ExportLayout LayoutOf(const RecordSet& set, const ExportOptions& options, int32_t recordCount) {
    ExportLayout layout;
    layout.recordCount = recordCount;
    layout.channels = EnabledChannels(set);
    for (int c : layout.channels) layout.decimals.push_back(FirstBlockDecimals(options, c));
    return layout;
}

std::string WithExtension(const std::string& path, const std::string& extension) {
    return path.find(extension) == std::string::npos ? path + extension : path;
}

void AppendInt(std::string& out, int64_t value, int minDigits) {
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        out.push_back('-');
        magnitude = 0 - magnitude;
    }
    AppendUnsigned(out, magnitude, minDigits);
}

void AppendRecordTime(std::string& out, const SampleRecord& record) {
    AppendInt(out, static_cast<int64_t>(record.year) + 2000);
    out.push_back('-');
    AppendInt(out, record.month, 2);
    out.push_back('-');
    AppendInt(out, record.day, 2);
    out.push_back(' ');
    AppendInt(out, record.hour, 2);
    out.push_back(':');
    AppendInt(out, record.minute, 2);
    out.push_back(':');
    AppendInt(out, record.second, 2);
}

void AppendFixed(std::string& out, float value, int decimals) {
    const double v = value;
    if (decimals == 1 || decimals == 2) {
        const uint64_t scale = decimals == 1 ? 10 : 100;
        const double scaled = v * static_cast<double>(scale);
        if (std::isfinite(scaled) && std::fabs(scaled) < kFastPathLimit) {
            // nearbyint rounds half to even in the default rounding mode, as printf does
            // with the exact binary value.
            const uint64_t units = static_cast<uint64_t>(std::fabs(std::nearbyint(scaled)));
            if (std::signbit(v)) out.push_back('-');
            AppendUnsigned(out, units / scale, 1);
            out.push_back('.');
            AppendUnsigned(out, units % scale, decimals);
            return;
        }
    }
    out += FormatC("%.*f", decimals, v);
}

void AppendHead(std::string& out, const RecordSet& set, const ExportLayout& layout, const ExportHeadLabels& labels,
                bool blankErasedTexts, const SampleRecord* first, const SampleRecord* last) {
    const int32_t recordCount = layout.recordCount;
    const std::vector<int>& channels = layout.channels;
    std::string userName = ReadField(set.userName);
    std::string title = ReadField(set.title);
    if (blankErasedTexts && HasErasedByte(userName)) userName.clear();
    if (blankErasedTexts && HasErasedByte(title)) title.clear();

    out += labels.userName;
    out += userName;
    out += labels.title;
    out += title;
    out += labels.recordCount;
    AppendInt(out, recordCount);
    out += labels.interval;
    out += FormatC("%02d:%02d:%02d", set.intervalHours, set.intervalMinutes, set.intervalSecondsPart);
    out += labels.recordMode;
    out += ReadField(set.recordModeText);
    out += labels.startChannels;
    for (int c : channels) {
        out += "CH";
        AppendInt(out, c + 1);
        out += ' ';
    }
    out += labels.startTime;
    if (recordCount > 0 && first != nullptr) AppendRecordTime(out, *first);
    out += labels.stopTime;
    if (recordCount > 0 && last != nullptr) AppendRecordTime(out, *last);
    out += "\r\n";
    for (int c : channels) {
        out += "CH";
        AppendInt(out, c + 1);
        out += labels.max;
        AppendFixed(out, set.maxValue[c], 1);
        out += labels.min;
        AppendFixed(out, set.minValue[c], 1);
        out += labels.avg;
        AppendFixed(out, set.avgValue[c], 2);
        out += labels.channelType;
        out += QuantityTextOf(set, c);
        out += "\r\n";
    }
    out += "\r\n";
}

bool AppendHeadFrom(std::string& out, const RecordSet& set, const ExportLayout& layout, const ExportHeadLabels& labels,
                    bool blankErasedTexts, RecordSource& records) {
    SampleRecord first, last;
    if (layout.recordCount > 0) {
        // Copies: a streamed source keeps only the record read last.
        const SampleRecord* r = records.Record(0);
        if (r == nullptr) return false;
        first = *r;
        r = records.Record(layout.recordCount - 1);
        if (r == nullptr) return false;
        last = *r;
    }
    AppendHead(out, set, layout, labels, blankErasedTexts, &first, &last);
    return true;
}

void AppendChannelHeaders(std::string& out, const RecordSet& set, const std::vector<int>& channels, const char* after) {
    for (int c : channels) {
        out += "CH";
        AppendInt(out, c + 1);
        out += '(';
        out += UnitTextOf(set, c);
        out += ')';
        out += after;
    }
}

ExportFile::ExportFile(const std::string& path, ExportEncoding encoding, bool byteOrderMark)
    : path_(path), encoding_(encoding) {
    buffer_.reserve(kBatchBytes + 4096);
    errno = 0;
    file_ = std::make_unique<AtomicFile>(path_);
    if (!file_->IsOpen()) {
        Fail("the file cannot be created");
    } else if (encoding_ == ExportEncoding::Utf8 && byteOrderMark && !file_->Write("\xEF\xBB\xBF", 3)) {
        Fail("the file cannot be written");
    }
}

ExportFile::~ExportFile() = default;

void ExportFile::Fail(const char* what) {
    if (!error_.empty()) return;
    const int code = errno;
    error_ = code != 0 ? std::error_code(code, std::generic_category()).message() : what;
}

void ExportFile::WriteBuffer() {
    if (Ok()) {
        errno = 0;
        const std::string& bytes = encoding_ == ExportEncoding::Utf8 ? GbkToUtf8(buffer_) : buffer_;
        if (!file_->Write(bytes.data(), bytes.size())) Fail("the file cannot be written");
    }
    buffer_.clear();
}

ExportResult ExportFile::Finish() {
    WriteBuffer();
    if (Ok()) {
        errno = 0;
        if (!file_->Commit()) Fail("the file cannot be written");
    }
    ExportResult result;
    result.ok = Ok();
    result.path = path_;
    result.detail = error_;
    return result;
}

}  // namespace velorin
