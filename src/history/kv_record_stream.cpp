#include "history/kv_record_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "history/record_set.h"

namespace velorin {

KvRecordStream::~KvRecordStream() {
    if (fd_ >= 0) ::close(fd_);
}

KvReadResult KvRecordStream::Open(const std::string& path, RecordSet& head) {
    if (fd_ >= 0) ::close(fd_);
    count_ = 0;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; ReadKvHead then refuses it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        KvReadResult failed;
        failed.error = KvReadError::CannotOpen;
        failed.detail = std::strerror(errno);
        return failed;
    }
    RecordSet loaded;
    const KvReadResult result = ReadKvHead(fd_, loaded);
    if (!result.ok()) {
        ::close(fd_);
        fd_ = -1;
        return result;
    }
    count_ = loaded.recordCount;
    head = std::move(loaded);
    for (Window& w : windows_) w = Window();
    return result;
}

bool KvRecordStream::Fill(Window& w, int32_t first) {
    const int32_t n = std::min(kWindowRecords, count_ - first);
    const size_t bytes = static_cast<size_t>(n) * kKvRecordBytes;
    bytes_.resize(bytes);
    const off_t at = static_cast<off_t>(kKvRecordsOffset + static_cast<uint64_t>(first) * kKvRecordBytes);
    size_t got = 0;
    while (got < bytes) {
        const ssize_t r = ::pread(fd_, bytes_.data() + got, bytes - got, at + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            error_ = std::strerror(errno);
            return false;
        }
        if (r == 0) {
            error_ = "the file ends before its last record (changed while it was read?)";
            return false;
        }
        got += static_cast<size_t>(r);
    }
    w.records.resize(static_cast<size_t>(kWindowRecords));
    DecodeKvRecords(bytes_.data(), static_cast<size_t>(n), w.records.data());
    w.first = first;
    w.count = n;
    return true;
}

const SampleRecord* KvRecordStream::Record(int32_t index) {
    if (fd_ < 0 || index < 0 || index >= count_) {
        if (error_.empty()) error_ = "no such record";
        return nullptr;
    }
    ++clock_;
    for (int k = 0; k < kWindows; ++k) {
        Window& w = windows_[(last_ + k) % kWindows];
        if (index >= w.first && index < w.first + w.count) {
            last_ = (last_ + k) % kWindows;
            w.used = clock_;
            return &w.records[static_cast<size_t>(index - w.first)];
        }
    }
    // A run that reached the end of its window continues in it; otherwise the oldest goes.
    int pick = 0;
    for (int k = 0; k < kWindows; ++k) {
        if (windows_[k].count > 0 && windows_[k].first + windows_[k].count == index) {
            pick = k;
            break;
        }
        if (windows_[k].used < windows_[pick].used) pick = k;
    }
    Window& w = windows_[pick];
    if (!Fill(w, index)) return nullptr;
    last_ = pick;
    w.used = clock_;
    return &w.records[0];
}

}  // namespace velorin
