// A data file's records read on demand, for exports that go through them once or in a few
// interleaved runs (the CSV's side-by-side blocks): a few windows of consecutive records, each
// refilled from the file when a record lies in none of them. Memory stays at a few hundred KiB
// whatever the record count. One thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/kv_file.h"
#include "history/record_source.h"

namespace velorin {

class KvRecordStream final : public RecordSource {
public:
    KvRecordStream() = default;
    ~KvRecordStream() override;
    KvRecordStream(const KvRecordStream&) = delete;
    KvRecordStream& operator=(const KvRecordStream&) = delete;

    // Opens `path` (never blocking: anything but a regular file is refused) and reads every field
    // but the records into `head`, checked as ReadKvFile checks them. On failure `head` is
    // unchanged and no record can be read.
    KvReadResult Open(const std::string& path, RecordSet& head);

    int32_t Count() const override { return count_; }
    const SampleRecord* Record(int32_t index) override;
    std::string Error() const override { return error_; }

private:
    static constexpr int kWindows = 8;  // more than the CSV's six runs
    static constexpr int32_t kWindowRecords = 512;
    struct Window {
        int32_t first = 0, count = 0;
        uint64_t used = 0;  // when it was last read from (for replacing the oldest)
        std::vector<SampleRecord> records;
    };
    bool Fill(Window& w, int32_t first);

    int fd_ = -1;
    int32_t count_ = 0;
    Window windows_[kWindows];
    int last_ = 0;
    uint64_t clock_ = 0;
    std::vector<uint8_t> bytes_;
    std::string error_;
};

}  // namespace velorin
