// Reading and writing a full-capacity .kv file (270,336 records, six enabled channels).
//
//   (a) the file's bytes into memory: open, fstat, allocate a buffer of the file's size, one
//       read(), close;
//   (b) ReadKvFile into a fresh RecordSet: the same read plus decoding, the one allocation of the
//       records and the checks;
//   the decoding alone (ReadKvBytes over the file's bytes already in memory), which is what (b)
//   adds to (a);
//   SerializeKv alone, and WriteKvFile (serialise, temporary file, fsync, rename).
// Both reads come from the page cache (it cannot be dropped here); the file is read once before
// timing so that both find it there. Each figure is the best and the median of several runs.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "history/kv_file.h"
#include "history/record_set.h"

namespace {

using velorin::bench::Measure;
using velorin::bench::Timing;

velorin::RecordSet FullSet() {
    velorin::RecordSet set;
    set.records.resize(velorin::kRecordCapacity);
    set.recordCount = velorin::kRecordCapacity;
    for (size_t i = 0; i < set.records.size(); ++i) {
        velorin::SampleRecord& r = set.records[i];
        r.year = 24;
        r.month = 1 + static_cast<int32_t>(i / 40000);
        r.day = 1 + static_cast<int32_t>(i / 1440 % 28);
        r.hour = static_cast<int32_t>(i / 60 % 24);
        r.minute = static_cast<int32_t>(i % 60);
        r.second = 0;
        for (int c = 0; c < 6; ++c) r.value[c] = 20.0f + static_cast<float>(i % 1000) / 10.0f + c;
    }
    for (int c = 0; c < 6; ++c) {
        set.channelEnabled[c] = 1;
        velorin::SetUnitText(set, c, "\xA1\xE6");
        velorin::SetQuantityText(set, c, "\xCE\xC2\xB6\xC8");
    }
    return set;
}

size_t ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::exit(1);
    struct stat st {};
    ::fstat(fd, &st);
    const size_t size = static_cast<size_t>(st.st_size);
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[size]);
    const ssize_t n = ::read(fd, bytes.get(), size);
    ::close(fd);
    if (n != static_cast<ssize_t>(size)) std::exit(1);
    return static_cast<size_t>(bytes[size / 2]) + size;  // keeps the read from being dropped
}

}  // namespace

int main() {
    char folder[] = "/tmp/kv-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 1;
    const std::string path = std::string(folder) + "/full.kv";
    const velorin::RecordSet set = FullSet();
    const int runs = 7;

    size_t sink = 0;
    const Timing serialise = Measure(runs, [&] { sink += velorin::SerializeKv(set).size(); });
    const Timing write = Measure(runs, [&] {
        if (!velorin::WriteKvFile(path, set).ok) std::exit(1);
    });
    const auto fileSize = std::filesystem::file_size(path);
    sink += ReadWholeFile(path);  // into the page cache

    const Timing raw = Measure(runs, [&] { sink += ReadWholeFile(path); });
    const Timing decoded = Measure(runs, [&] {
        velorin::RecordSet loaded;
        if (!velorin::ReadKvFile(path, loaded).ok()) std::exit(1);
        sink += loaded.records.size();
    });

    const std::string bytes = velorin::SerializeKv(set);
    const Timing decodeOnly = Measure(runs, [&] {
        velorin::RecordSet loaded;
        if (!velorin::ReadKvBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), loaded).ok()) {
            std::exit(1);
        }
        sink += loaded.records.size();
    });

    std::printf("file: %llu bytes, %d records, 6 channels; %d runs each (best / median)\n",
                static_cast<unsigned long long>(fileSize), velorin::kRecordCapacity, runs);
    std::printf("SerializeKv              %8.2f ms / %8.2f ms\n", serialise.best, serialise.median);
    std::printf("WriteKvFile (with fsync) %8.2f ms / %8.2f ms\n", write.best, write.median);
    std::printf("(a) read() of the bytes  %8.2f ms / %8.2f ms\n", raw.best, raw.median);
    std::printf("(b) ReadKvFile           %8.2f ms / %8.2f ms\n", decoded.best, decoded.median);
    std::printf("ReadKvBytes (decode only)%8.2f ms / %8.2f ms\n", decodeOnly.best, decodeOnly.median);
    std::printf("ratio b/a                %8.2f      / %8.2f       (target <= 2)\n",
                decoded.best / raw.best, decoded.median / raw.median);
    std::filesystem::remove_all(folder);
    return sink == 0 ? 1 : 0;
}
