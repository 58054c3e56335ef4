// Reading and writing a .kv file (by default full capacity: 270,336 records, six channels).
//
//   kv_read_bench [records]
//
// ReadKvFile into a fresh RecordSet, each measured interleaved with a raw read() of the file's
// bytes (a) into freshly allocated memory (page faults included, as ReadKvFile has them) and
// (b) into memory touched before (no page faults: the bare copy from the page cache). Then the
// decoding alone (ReadKvBytes over bytes in memory), SerializeKv, WriteKvFile (with fsync).
// The reads come from the page cache (it cannot be dropped here); the file is read once first.
#include <fcntl.h>
#include <malloc.h>
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

#include "bench/bench_support.h"
#include "bench/bench_timing.h"
#include "history/kv_file.h"
#include "history/record_set.h"

namespace {

using velorin::bench::Measure;
using velorin::bench::Timing;

velorin::RecordSet MakeSet(int records) {
    velorin::RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
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

// The file's bytes by one read() into `into` (at least the file's size), or into fresh memory.
size_t ReadWholeFile(const std::string& path, uint8_t* into = nullptr) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) std::exit(1);
    struct stat st {};
    ::fstat(fd, &st);
    const size_t size = static_cast<size_t>(st.st_size);
    std::unique_ptr<uint8_t[]> fresh(into == nullptr ? new uint8_t[size] : nullptr);
    uint8_t* bytes = into != nullptr ? into : fresh.get();
    const ssize_t n = ::read(fd, bytes, size);
    ::close(fd);
    if (n != static_cast<ssize_t>(size)) std::exit(1);
    return static_cast<size_t>(bytes[size / 2]) + size;  // keeps the read from being dropped
}

}  // namespace

int main(int argc, char** argv) {
    using velorin::bench::kRuns;
    // Every buffer of a megabyte or more mapped anew and given back when freed, as a program's
    // first open gets it: otherwise the heap keeps the first run's freed buffer and every later
    // "fresh" one is memory touched before.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    const int records = velorin::bench::RecordsArgument(argc, argv, 1);
    const std::string folder = velorin::bench::MakeScratchFolder("kv-bench");
    if (records == 0 || folder.empty()) return 1;
    const std::string path = folder + "/full.kv";
    const velorin::RecordSet set = MakeSet(records);

    size_t sink = 0;
    if (!velorin::WriteKvFile(path, set).ok) return 1;
    const auto fileSize = std::filesystem::file_size(path);
    sink += ReadWholeFile(path);  // into the page cache
    std::vector<uint8_t> touched(fileSize, 1);

    const auto readKv = [&] {
        velorin::RecordSet loaded;
        if (!velorin::ReadKvFile(path, loaded).ok()) std::exit(1);
        sink += loaded.records.size();
    };
    std::printf("file: %llu bytes, %d records, 6 channels\n", static_cast<unsigned long long>(fileSize), records);
    const auto fresh = velorin::bench::MeasurePair(
        kRuns, [&] { sink += ReadWholeFile(path); }, readKv);
    velorin::bench::PrintPair("kv_read", "(a) read() into fresh memory", "ReadKvFile (vs a)", fresh, kRuns);
    const auto warm = velorin::bench::MeasurePair(
        kRuns, [&] { sink += ReadWholeFile(path, touched.data()); }, readKv);
    velorin::bench::PrintPair("kv_read", "(b) read() into touched memory", "ReadKvFile (vs b)", warm, kRuns);

    const std::string bytes = velorin::SerializeKv(set);
    velorin::bench::Print(
        "kv_read", "ReadKvBytes (decoding only)",
        velorin::bench::Measure(
            kRuns,
            [&] {
                velorin::RecordSet loaded;
                if (!velorin::ReadKvBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), loaded).ok()) {
                    std::exit(1);
                }
                sink += loaded.records.size();
            }),
        kRuns);
    velorin::bench::Print("kv_read", "SerializeKv",
                          velorin::bench::Measure(kRuns, [&] { sink += velorin::SerializeKv(set).size(); }), kRuns);
    velorin::bench::Print("kv_read", "WriteKvFile (with fsync)",
                          velorin::bench::Measure(kRuns,
                                                  [&] {
                                                      if (!velorin::WriteKvFile(path, set).ok) std::exit(1);
                                                  }),
                          kRuns);
    std::filesystem::remove_all(folder);
    return sink == 0 ? 1 : 0;
}
