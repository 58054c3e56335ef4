#include "history/kv_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <utility>

#include "common/atomic_file.h"
#include "history/record_set.h"

namespace velorin {
namespace {

// One record in the file: six int32 time fields and the float32 values of channels 1..6.
constexpr size_t kRecordBytes = 6 * 4 + kStoredValueChannels * 4;
static_assert(kRecordBytes == 48, "a stored record is 48 bytes");
static_assert(offsetof(SampleRecord, value) == 24 && sizeof(float) == 4,
              "the time fields and the first six values of a SampleRecord are laid out as stored");
// Everything but the records and the unit/quantity text bytes.
constexpr size_t kFixedBytes = 492;
// Little-endian stores and loads written byte by byte, so the layout does not depend on the host;
// compilers merge them into single moves on little-endian machines.
inline void StoreU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

inline uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Floats travel as their bit patterns (NaN payloads included), never through arithmetic.
inline uint32_t FloatBits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

inline float BitsToFloat(uint32_t u) {
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// How many records and text bytes a set writes: the lengths are bounded the way the reader
// bounds them, so whatever is in memory the file written reads back.
class ByteWriter {
public:
    explicit ByteWriter(uint8_t* out) : p_(out) {}

    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) { U32(FloatBits(v)); }
    void U8(uint8_t v) { *p_++ = v; }
    void I16(int16_t v) {
        const uint16_t u = static_cast<uint16_t>(v);
        p_[0] = static_cast<uint8_t>(u);
        p_[1] = static_cast<uint8_t>(u >> 8);
        p_ += 2;
    }
    void Bytes(const void* bytes, size_t count) {
        if (count > 0) std::memcpy(p_, bytes, count);
        p_ += count;
    }
    template <size_t N>
    void Text(const char (&field)[N]) {
        Bytes(field, N);
    }
    template <size_t N>
    void I16s(const int16_t (&values)[N]) {
        for (int16_t v : values) I16(v);
    }

    const uint8_t* Position() const { return p_; }

private:
    void U32(uint32_t v) {
        StoreU32(p_, v);
        p_ += 4;
    }

    uint8_t* p_;
};

// Bounds-checked reads over the file's bytes. The first read past the end sets `truncated` and
// names the field; later reads do nothing.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool I32(int32_t& v, const char* field) {
        const uint8_t* p = Take(4, field);
        if (p != nullptr) v = static_cast<int32_t>(LoadU32(p));
        return p != nullptr;
    }
    bool F32(float& v, const char* field) {
        const uint8_t* p = Take(4, field);
        if (p != nullptr) v = BitsToFloat(LoadU32(p));
        return p != nullptr;
    }
    bool U8(uint8_t& v, const char* field) {
        const uint8_t* p = Take(1, field);
        if (p != nullptr) v = *p;
        return p != nullptr;
    }
    bool Bytes(void* out, size_t count, const char* field) {
        const uint8_t* p = Take(count, field);
        if (p != nullptr && count > 0) std::memcpy(out, p, count);
        return p != nullptr;
    }
    template <size_t N>
    bool Text(char (&field)[N], const char* name) {
        return Bytes(field, N, name);
    }
    template <size_t N>
    bool I16s(int16_t (&values)[N], const char* field) {
        const uint8_t* p = Take(2 * N, field);
        if (p == nullptr) return false;
        for (size_t i = 0; i < N; ++i) {
            values[i] = static_cast<int16_t>(static_cast<uint16_t>(p[2 * i] | p[2 * i + 1] << 8));
        }
        return true;
    }
    // Hands out `count` bytes and moves past them; nullptr when fewer remain.
    const uint8_t* Take(size_t count, const char* field) {
        if (truncatedIn_ != nullptr) return nullptr;
        if (count > size_ - pos_) {
            truncatedIn_ = field;
            return nullptr;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }

    size_t Position() const { return pos_; }
    size_t Remaining() const { return size_ - pos_; }
    const char* TruncatedIn() const { return truncatedIn_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    const char* truncatedIn_ = nullptr;
};

KvReadResult Failure(KvReadError error, std::string detail) {
    KvReadResult r;
    r.error = error;
    r.detail = std::move(detail);
    return r;
}

KvReadResult Truncated(const ByteReader& in, size_t size) {
    return Failure(KvReadError::Truncated,
                   "the file ends after " + std::to_string(size) + " bytes, in " + in.TruncatedIn());
}

// The stored records of a piece as SampleRecords, one at a time, so that the vector constructs
// each element once from the file's bytes instead of zero-filling it first and copying over it.
class StoredRecords {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = SampleRecord;
    using difference_type = std::ptrdiff_t;
    using pointer = const SampleRecord*;
    using reference = SampleRecord;

    explicit StoredRecords(const uint8_t* p) : p_(p) {}
    SampleRecord operator*() const {
        SampleRecord r;  // channels 7 and 8 stay zero
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        // A stored record is the first 48 bytes of a SampleRecord on a little-endian host.
        std::memcpy(static_cast<void*>(&r), p_, kRecordBytes);
#else
        DecodeKvRecords(p_, 1, &r);
#endif
        return r;
    }
    StoredRecords& operator++() {
        p_ += kRecordBytes;
        return *this;
    }
    StoredRecords operator++(int) {
        StoredRecords before = *this;
        p_ += kRecordBytes;
        return before;
    }
    bool operator==(const StoredRecords& o) const { return p_ == o.p_; }
    bool operator!=(const StoredRecords& o) const { return p_ != o.p_; }

private:
    const uint8_t* p_;
};

void DecodeRecords(const uint8_t* p, size_t count, std::vector<SampleRecord>& records) {
    // Within the reserved capacity: no reallocation.
    records.insert(records.end(), StoredRecords(p), StoredRecords(p + count * kRecordBytes));
}

// Where the file's bytes come from: a file descriptor or bytes in memory. The reader pulls them
// in pieces, so the records go from the source into the data set through one small buffer that
// stays in the cache instead of through a copy of the whole file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `count` bytes into `out`; fewer only at the end of the source. False on a read error.
    virtual bool Read(uint8_t* out, size_t count, size_t& got) = 0;
    // The bytes the source says it holds in all (a file's size when it was opened).
    virtual uint64_t Size() const = 0;
    // Moves past `count` bytes (within Size()); false on a read error.
    virtual bool Skip(uint64_t count) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Read(uint8_t* out, size_t count, size_t& got) override {
        got = std::min(count, size_ - pos_);
        if (got > 0) std::memcpy(out, data_ + pos_, got);
        pos_ += got;
        return true;
    }
    uint64_t Size() const override { return size_; }
    bool Skip(uint64_t count) override {
        pos_ += static_cast<size_t>(std::min<uint64_t>(count, size_ - pos_));
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class FileSource : public ByteSource {
public:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    bool Read(uint8_t* out, size_t count, size_t& got) override {
        got = 0;
        while (got < count) {
            const ssize_t n = ::read(fd_, out + got, count - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error_ = errno;
                return false;
            }
            if (n == 0) break;  // the file shrank meanwhile: the caller sees a short read
            got += static_cast<size_t>(n);
        }
        return true;
    }
    uint64_t Size() const override { return size_; }
    bool Skip(uint64_t count) override {
        if (::lseek(fd_, static_cast<off_t>(count), SEEK_CUR) >= 0) return true;
        error_ = errno;
        return false;
    }
    int Error() const { return error_; }

private:
    int fd_;
    uint64_t size_;
    int error_ = 0;
};

// Records per piece: 64 KiB of file bytes, small enough to stay in the cache between the read
// and the decoding.
constexpr size_t kRecordsPerPiece = 65536 / kRecordBytes;
// Everything after the records, at its largest: the fixed fields after the count and the
// longest unit and quantity texts.
constexpr size_t kLargestTailBytes = kFixedBytes - 4 + 2 * kRecordSetChannels * kChannelTextBytes;

KvReadResult ReadFailed() { return Failure(KvReadError::CannotOpen, "the file could not be read"); }

// Reads a unit or quantity text: its length (0..20) and that many bytes; the rest of the
// 20-byte field stays zero.
KvReadResult DecodeChannelText(ByteReader& in, size_t size, int channel, const char* what, int32_t& length,
                               char (&field)[kChannelTextBytes]) {
    if (!in.I32(length, "a text length")) return Truncated(in, size);
    if (length < 0 || length > kChannelTextBytes) {
        return Failure(KvReadError::TextTooLong, std::string("the ") + what + " of channel " +
                                                     std::to_string(channel + 1) + " is " + std::to_string(length) +
                                                     " bytes long (0..20 allowed)");
    }
    if (!in.Bytes(field, static_cast<size_t>(length), "a unit or quantity text")) {
        return Truncated(in, size);
    }
    return {};
}

KvReadResult DecodeTail(ByteReader& in, size_t size, RecordSet& set) {
    bool whole = true;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        whole = whole && in.F32(set.maxValue[c], "the channel statistics") &&
                in.F32(set.minValue[c], "the channel statistics") &&
                in.I32(set.channelEnabled[c], "the channel statistics") &&
                in.F32(set.avgValue[c], "the channel statistics");
    }
    whole = whole && in.Text(set.startModeText, "the start mode") && in.Text(set.stopModeText, "the stop mode") &&
            in.Text(set.timedStartText, "the timed start") && in.Text(set.timedStopText, "the timed stop") &&
            in.Text(set.startTimeText, "the start time") && in.Text(set.userName, "the user name") &&
            in.Text(set.title, "the title") && in.I32(set.deviceRecordCount, "the device record count") &&
            in.I32(set.overflowCount, "the overflow count") && in.I32(set.intervalSeconds, "the interval") &&
            in.I32(set.intervalHours, "the interval") && in.I32(set.intervalMinutes, "the interval") &&
            in.I32(set.intervalSecondsPart, "the interval") && in.Text(set.recordModeText, "the record mode") &&
            in.Text(set.workStatusText, "the work status") && in.I32(set.storageCapacity, "the storage capacity") &&
            in.U8(set.powerMode, "the power mode") && in.U8(set.firmwareVersion, "the firmware version") &&
            in.Text(set.model, "the model") && in.Text(set.serialNumber, "the serial number");
    if (!whole) return Truncated(in, size);

    for (int c = 0; c < kRecordSetChannels; ++c) {
        KvReadResult r = DecodeChannelText(in, size, c, "unit", set.unitLength[c], set.unitText[c]);
        if (!r.ok()) return r;
        r = DecodeChannelText(in, size, c, "quantity", set.quantityLength[c], set.quantityText[c]);
        if (!r.ok()) return r;
    }

    whole = in.Bytes(set.alarmEnabled, sizeof set.alarmEnabled, "the alarm switches") &&
            in.I16s(set.rangeLowX10, "the range limits") && in.I16s(set.rangeHighX10, "the range limits") &&
            in.I16s(set.lowerAlarmX10, "the alarm limits") && in.I16s(set.upperAlarmX10, "the alarm limits");
    if (!whole) return Truncated(in, size);
    return {};
}

// Decodes a whole data set from `source` into `set`, which the caller throws away on failure.
// Without `withRecords` the records are skipped: `set` gets every other field and the count.
KvReadResult Decode(ByteSource& source, RecordSet& set, bool withRecords = true) {
    uint8_t head[4];
    size_t got = 0;
    if (!source.Read(head, sizeof head, got)) return ReadFailed();
    if (got < sizeof head) {
        return Failure(KvReadError::Truncated,
                       "the file ends after " + std::to_string(got) + " bytes, in the record count");
    }
    const int32_t count = static_cast<int32_t>(LoadU32(head));
    if (count < 0 || count > kRecordCapacity) {
        return Failure(KvReadError::TooManyRecords, "the record count " + std::to_string(count) + " is outside 0.." +
                                                        std::to_string(kRecordCapacity));
    }
    // Refuse a short file before allocating its records.
    const uint64_t least = kRecordBytes * static_cast<uint64_t>(count) + kFixedBytes;
    if (source.Size() < least) {
        return Failure(KvReadError::Truncated, "the file ends after " + std::to_string(source.Size()) + " bytes; " +
                                                   std::to_string(count) + " records need at least " +
                                                   std::to_string(least));
    }

    uint64_t consumed = sizeof head;
    if (!withRecords) {
        if (!source.Skip(kRecordBytes * static_cast<uint64_t>(count))) return ReadFailed();
        consumed += kRecordBytes * static_cast<uint64_t>(count);
    } else {
        set.records.reserve(static_cast<size_t>(count));  // the one allocation of the records
    }
    std::unique_ptr<uint8_t[]> piece(withRecords ? new uint8_t[kRecordsPerPiece * kRecordBytes] : nullptr);
    for (size_t left = withRecords ? static_cast<size_t>(count) : 0; left > 0;) {
        const size_t want = std::min(left, kRecordsPerPiece);
        if (!source.Read(piece.get(), want * kRecordBytes, got)) return ReadFailed();
        consumed += got;
        if (got < want * kRecordBytes) {  // the file shrank after its size was taken
            return Failure(KvReadError::Truncated,
                           "the file ends after " + std::to_string(consumed) + " bytes, in the records");
        }
        DecodeRecords(piece.get(), want, set.records);
        left -= want;
    }
    set.recordCount = count;

    uint8_t tail[kLargestTailBytes];
    if (!source.Read(tail, sizeof tail, got)) return ReadFailed();
    consumed += got;
    ByteReader in(tail, got);
    KvReadResult result = DecodeTail(in, static_cast<size_t>(consumed), set);
    if (!result.ok()) return result;
    // Whatever follows the last field is accepted and counted.
    result.trailingBytes = in.Remaining();
    if (source.Size() > consumed) result.trailingBytes += source.Size() - consumed;
    return result;
}

std::string SystemError(int err, const char* fallback) {
    return err != 0 ? std::string(std::strerror(err)) : std::string(fallback);
}

}  // namespace

KvReadResult ReadKvBytes(const uint8_t* data, size_t size, RecordSet& set) {
    if (data == nullptr) size = 0;
    MemorySource source(data, size);
    RecordSet loaded;  // the caller's set changes only when everything was read
    KvReadResult result = Decode(source, loaded);
    if (result.ok()) set = std::move(loaded);
    return result;
}

KvReadResult ReadKvFile(const std::string& path, RecordSet& set) {
    // O_NONBLOCK: opening a FIFO without a writer (or a device) would otherwise wait for ever.
    // Only a regular file is read, and for one the flag changes nothing.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failure(KvReadError::CannotOpen, std::strerror(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) return Failure(KvReadError::CannotOpen, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return Failure(KvReadError::CannotOpen, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return Failure(KvReadError::CannotOpen, "not a regular file");

    FileSource source(fd, static_cast<uint64_t>(st.st_size));
    RecordSet loaded;
    KvReadResult result = Decode(source, loaded);
    if (result.error == KvReadError::CannotOpen && source.Error() != 0) {
        result.detail = std::strerror(source.Error());
    }
    if (result.ok()) set = std::move(loaded);
    return result;
}

KvReadResult ReadKvHead(int fd, RecordSet& set) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Failure(KvReadError::CannotOpen, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return Failure(KvReadError::CannotOpen, "not a regular file");
    if (::lseek(fd, 0, SEEK_SET) != 0) return Failure(KvReadError::CannotOpen, std::strerror(errno));
    FileSource source(fd, static_cast<uint64_t>(st.st_size));
    RecordSet loaded;
    KvReadResult result = Decode(source, loaded, /*withRecords=*/false);
    if (result.error == KvReadError::CannotOpen && source.Error() != 0) {
        result.detail = std::strerror(source.Error());
    }
    if (result.ok()) set = std::move(loaded);
    return result;
}

void DecodeKvRecords(const uint8_t* bytes, size_t count, SampleRecord* out) {
    for (size_t i = 0; i < count; ++i, bytes += kRecordBytes) {
        SampleRecord& r = out[i];
        r.year = static_cast<int32_t>(LoadU32(bytes));
        r.month = static_cast<int32_t>(LoadU32(bytes + 4));
        r.day = static_cast<int32_t>(LoadU32(bytes + 8));
        r.hour = static_cast<int32_t>(LoadU32(bytes + 12));
        r.minute = static_cast<int32_t>(LoadU32(bytes + 16));
        r.second = static_cast<int32_t>(LoadU32(bytes + 20));
        for (int c = 0; c < kStoredValueChannels; ++c) r.value[c] = BitsToFloat(LoadU32(bytes + 24 + 4 * c));
        for (int c = kStoredValueChannels; c < kRecordSetChannels; ++c) r.value[c] = 0.0f;
    }
}

uint64_t KvFileSize(const RecordSet& set) {
    uint64_t texts = 0;
    for (int c = 0; c < kRecordSetChannels; ++c) {
        texts += static_cast<uint64_t>(UsableTextLength(set.unitLength[c]));
        texts += static_cast<uint64_t>(UsableTextLength(set.quantityLength[c]));
    }
    return kRecordBytes * static_cast<uint64_t>(UsableRecordCount(set)) + kFixedBytes + texts;
}

std::string SerializeKv(const RecordSet& set) {
    std::string out(static_cast<size_t>(KvFileSize(set)), '\0');
    ByteWriter w(reinterpret_cast<uint8_t*>(&out[0]));

    const int32_t count = UsableRecordCount(set);
    w.I32(count);
    for (int32_t i = 0; i < count; ++i) {
        const SampleRecord& r = set.records[static_cast<size_t>(i)];
        w.I32(r.year);
        w.I32(r.month);
        w.I32(r.day);
        w.I32(r.hour);
        w.I32(r.minute);
        w.I32(r.second);
        for (int c = 0; c < kStoredValueChannels; ++c) w.F32(r.value[c]);
    }
    for (int c = 0; c < kRecordSetChannels; ++c) {
        w.F32(set.maxValue[c]);
        w.F32(set.minValue[c]);
        w.I32(set.channelEnabled[c]);
        w.F32(set.avgValue[c]);
    }
    w.Text(set.startModeText);
    w.Text(set.stopModeText);
    w.Text(set.timedStartText);
    w.Text(set.timedStopText);
    w.Text(set.startTimeText);
    w.Text(set.userName);
    w.Text(set.title);
    w.I32(set.deviceRecordCount);
    w.I32(set.overflowCount);
    w.I32(set.intervalSeconds);
    w.I32(set.intervalHours);
    w.I32(set.intervalMinutes);
    w.I32(set.intervalSecondsPart);
    w.Text(set.recordModeText);
    w.Text(set.workStatusText);
    w.I32(set.storageCapacity);
    w.U8(set.powerMode);
    w.U8(set.firmwareVersion);
    w.Text(set.model);
    w.Text(set.serialNumber);
    for (int c = 0; c < kRecordSetChannels; ++c) {
        const int32_t units = UsableTextLength(set.unitLength[c]);
        w.I32(units);
        w.Bytes(set.unitText[c], static_cast<size_t>(units));
        const int32_t quantities = UsableTextLength(set.quantityLength[c]);
        w.I32(quantities);
        w.Bytes(set.quantityText[c], static_cast<size_t>(quantities));
    }
    w.Bytes(set.alarmEnabled, sizeof set.alarmEnabled);
    w.I16s(set.rangeLowX10);
    w.I16s(set.rangeHighX10);
    w.I16s(set.lowerAlarmX10);
    w.I16s(set.upperAlarmX10);
    assert(w.Position() == reinterpret_cast<const uint8_t*>(out.data()) + out.size());
    return out;
}

KvWriteResult WriteKvFile(const std::string& path, const RecordSet& set) {
    KvWriteResult result;
    const std::string bytes = SerializeKv(set);
    errno = 0;
    AtomicFile file(path);
    if (!file.IsOpen()) {
        result.detail = SystemError(errno, "the file could not be created");
        return result;
    }
    errno = 0;
    if (!file.Write(bytes)) {
        result.detail = SystemError(errno, "the file could not be written");
        return result;
    }
    errno = 0;
    if (!file.Commit()) {
        result.detail = SystemError(errno, "the file could not be written");
        return result;
    }
    result.ok = true;
    return result;
}

bool HasKvExtension(const std::string& path) { return path.find(".kv", 1) != std::string::npos; }

}  // namespace velorin
