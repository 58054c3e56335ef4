// The .kv data file: a RecordSet written field by field, little-endian, without padding, header
// or version (the layout other programs read too). A file of N records is
// 48·N + 492 + ΣU + ΣQ bytes (U, Q: unit and quantity text lengths).
//
// Reading never trusts the file: a record count outside 0..kRecordCapacity, a text length
// outside 0..20 or a file that ends early is refused, and the caller's RecordSet is then left
// exactly as it was (no half-filled data set). Writing goes through a temporary file that
// replaces the target only when complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace velorin {

struct RecordSet;
struct SampleRecord;

enum class KvReadError {
    None,
    CannotOpen,      // the file could not be opened or read (detail: system error text)
    TooManyRecords,  // record count below 0 or above kRecordCapacity
    TextTooLong,     // a unit or quantity length below 0 or above 20
    Truncated,       // the file ends before its last field
};

struct KvReadResult {
    KvReadError error = KvReadError::None;
    std::string detail;  // UTF-8, for logs and the CLI; empty on success
    // Bytes after the last field (accepted, ignored; other writers may pad).
    uint64_t trailingBytes = 0;
    bool ok() const { return error == KvReadError::None; }
};

struct KvWriteResult {
    bool ok = false;
    std::string detail;  // system error text when !ok
};

// Reads the whole file; on success replaces `set` (channels 7 and 8 read as zero).
KvReadResult ReadKvFile(const std::string& path, RecordSet& set);
// The same decoding over bytes in memory (the fuzz target and ReadKvFile use it).
KvReadResult ReadKvBytes(const uint8_t* data, size_t size, RecordSet& set);

// The data set of the open file `fd` without its records: every other field and recordCount
// (records stays empty), checked as ReadKvFile checks them, the records' bytes skipped. The
// records then follow the 4-byte count, KvRecordBytes each (KvRecordStream reads them).
KvReadResult ReadKvHead(int fd, RecordSet& set);
constexpr size_t kKvRecordBytes = 48;
constexpr size_t kKvRecordsOffset = 4;
// Decodes `count` stored records into `out` (channels 7 and 8 zero).
void DecodeKvRecords(const uint8_t* bytes, size_t count, SampleRecord* out);

// The file's bytes for `set` (records 0..recordCount−1, channels 1..6 of each).
std::string SerializeKv(const RecordSet& set);
// 48·N + 492 + ΣU + ΣQ.
uint64_t KvFileSize(const RecordSet& set);
KvWriteResult WriteKvFile(const std::string& path, const RecordSet& set);

// True when ".kv" occurs in `path` at a position of 1 or more (case-sensitive): "a.kv.bak"
// passes, "x.KV" and ".kv" do not.
bool HasKvExtension(const std::string& path);

}  // namespace velorin
