// Where a table export takes its records from: the records of a data set in memory, or a data
// file read piece by piece (KvRecordStream), so that an export need not hold every record.
// One source serves one thread.
#pragma once

#include <cstdint>
#include <string>

#include "history/record_set.h"

namespace velorin {

class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The records there are: 0 … Count() − 1.
    virtual int32_t Count() const = 0;
    // Record `index` (0 ≤ index < Count()); nullptr when it cannot be read (Error() says why).
    // The record stays valid until the next call.
    virtual const SampleRecord* Record(int32_t index) = 0;
    virtual std::string Error() const { return std::string(); }
};

// The records of a set in memory (UsableRecordCount of them).
class SetRecords final : public RecordSource {
public:
    explicit SetRecords(const RecordSet& set) : set_(set), count_(UsableRecordCount(set)) {}
    int32_t Count() const override { return count_; }
    const SampleRecord* Record(int32_t index) override { return &set_.records[static_cast<size_t>(index)]; }

private:
    const RecordSet& set_;
    int32_t count_;
};

}  // namespace velorin
