// What the CSV and TXT exports share: the record count and channels they write, locale-free
// number and time formatting into a reused row buffer, the common head, and the output file
// that collects rows into 64 KiB batches and replaces its target only when complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/text_export.h"

namespace velorin {

class AtomicFile;
struct ExportHeadLabels;
struct ExportOptions;
struct ExportResult;
class RecordSource;
struct RecordSet;
struct SampleRecord;

// Channel indices (0-based) whose channelEnabled is 1, in channel order.
std::vector<int> EnabledChannels(const RecordSet& set);

// Decimals of a channel's values in the first data block: 2 when the high nibble of its
// ChannelType is 2, else 1.
int FirstBlockDecimals(const ExportOptions& options, int channel);

// What both exports take from the set and the options.
struct ExportLayout {
    int32_t recordCount = 0;    // UsableRecordCount
    std::vector<int> channels;  // EnabledChannels
    std::vector<int> decimals;  // FirstBlockDecimals of each entry of `channels`
};
// `recordCount`: the records the export's source holds (UsableRecordCount for a set in memory).
ExportLayout LayoutOf(const RecordSet& set, const ExportOptions& options, int32_t recordCount);

// `path` with `extension` (".csv", ".txt") appended when it does not occur in it anywhere.
std::string WithExtension(const std::string& path, const std::string& extension);

// printf "%d" (minDigits 1) or "%.2d" (minDigits 2) of `value`, without the locale.
void AppendInt(std::string& out, int64_t value, int minDigits = 1);

// "%d-%.2d-%.2d %.2d:%.2d:%.2d" of year + 2000, month, day, hour, minute, second.
void AppendRecordTime(std::string& out, const SampleRecord& record);

// Exactly the bytes printf("%.1f") (decimals 1) or printf("%.2f") (decimals 2) writes for
// `value` in the "C" locale: the float's exact binary value rounded half-to-even, "-0.0" for
// negative values that round to zero, "inf"/"nan" as printf spells them.
void AppendFixed(std::string& out, float value, int decimals);

// The head both formats share, up to the blank line before the column header: user name,
// title, record count, interval, record mode, enabled channels, start and stop time, one
// statistics line per enabled channel and the blank line. With `blankErasedTexts`, a user name
// or title holding a byte 255 (an erased logger field) is written empty. With no records the
// start and stop times are left empty. `first` and `last` are the first and last record (null
// without records).
void AppendHead(std::string& out, const RecordSet& set, const ExportLayout& layout, const ExportHeadLabels& labels,
                bool blankErasedTexts, const SampleRecord* first, const SampleRecord* last);

// AppendHead with the first and last record read from `records`; false when one cannot be read.
bool AppendHeadFrom(std::string& out, const RecordSet& set, const ExportLayout& layout, const ExportHeadLabels& labels,
                    bool blankErasedTexts, RecordSource& records);

// The channel columns of the column header: "CH%d(" + unit text + ")" + `after` per channel.
void AppendChannelHeaders(std::string& out, const RecordSet& set, const std::vector<int>& channels, const char* after);

// The output of one export. Rows are appended to Buffer() and handed over with RowDone(),
// which writes the buffer once it holds a batch; Finish() writes the rest and commits. Any
// failure leaves an existing target untouched.
// With ExportEncoding::Utf8 each batch is converted from GBK as it is written: batches hold whole
// rows, so no character is split; `byteOrderMark` starts the file with EF BB BF.
class ExportFile {
public:
    explicit ExportFile(const std::string& path, ExportEncoding encoding = ExportEncoding::Gbk,
                        bool byteOrderMark = false);
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    bool Ok() const { return error_.empty(); }
    std::string& Buffer() { return buffer_; }
    void RowDone() {
        if (buffer_.size() >= kBatchBytes) WriteBuffer();
    }
    ExportResult Finish();
    // Gives up with `why` as the failure: Finish() then leaves the target as it was.
    void Abandon(const std::string& why) {
        if (error_.empty()) error_ = why.empty() ? std::string("the records cannot be read") : why;
    }

private:
    static constexpr size_t kBatchBytes = 64 * 1024;
    void WriteBuffer();
    void Fail(const char* what);

    std::string path_;
    ExportEncoding encoding_;
    std::unique_ptr<AtomicFile> file_;
    std::string buffer_;
    std::string error_;
};

}  // namespace velorin
