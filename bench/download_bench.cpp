// A full history download at 115200 baud: 270,336 records of six 2-byte channels from the
// simulated logger over a pseudo-terminal with paced output, with the protocol's real pauses.
// Prints the total time, the blocks, the bytes on the wire (requests and replies, from the
// simulator's request log) with their wire time at 10 bits per byte, and the ratio of the two.
//
//   download_bench [--block-records N]   (N records per serial block; 0 = the simulator's choice)
//
// Takes several minutes: the wire time alone is about seven.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "civil_time.h"
#include "device/device_info.h"
#include "device/link.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "server.h"

namespace {

constexpr int kChannels = 6;
constexpr double kBaud = 115200.0;
constexpr double kBitsPerByte = 10.0;

struct WireBytes {
    long long requests = 0;
    long long replies = 0;
    long long blockRequests = 0;
};

// Lines such as "0x1a serial reply 5993": every request the simulator saw and what it sent.
WireBytes FromLog(const std::string& path) {
    WireBytes w;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const bool block = line.rfind("0x1a ", 0) == 0;
        const bool count = line.rfind("0x19 ", 0) == 0;
        if (!block && !count) continue;
        w.requests += block ? 9 : 7;
        w.blockRequests += block ? 1 : 0;
        const size_t at = line.find(" reply ");
        if (at != std::string::npos) w.replies += std::atoll(line.c_str() + at + 7);
    }
    return w;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velorin;
    unsigned blockRecords = 0;
    int32_t records = kRecordCapacity;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--block-records") == 0 && i + 1 < argc) {
            blockRecords = static_cast<unsigned>(std::atoi(argv[++i]));
        } else {
            records = std::atoi(argv[i]);
        }
    }
    if (records < 1 || records > kRecordCapacity) {
        std::fprintf(stderr, "usage: download_bench [records 1..%d] [--block-records N]\n", kRecordCapacity);
        return 1;
    }

    char folder[] = "/tmp/velorin-download-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    sim::LoggerState state = sim::DefaultLoggerState(sim::HostNowCivil());
    for (int c = 0; c < sim::kChannelCount; ++c) state.channels[c].enabled = c < kChannels;
    for (int c = 0; c < kChannels; ++c) {
        state.channels[c].type = sim::channel_type::Tenths;
        state.channels[c].quantity = 1;
    }
    state.capacity = kRecordCapacity;
    state.recordCount = records;
    state.startTime = sim::HostNowCivil() - static_cast<int64_t>(state.recordCount) * state.intervalSeconds;
    state.serialBlockRecords = blockRecords;

    sim::ServerOptions options;
    options.portFolder = folder;
    options.usb = false;
    options.pacing = true;
    options.logPath = std::string(folder) + "/requests.log";
    sim::LoggerServer server(state, options);
    std::string error;
    if (!server.Start(&error)) {
        std::fprintf(stderr, "simulator: %s\n", error.c_str());
        return 1;
    }

    Link link;
    link.currentPort = 1;
    link.currentPortPath = server.DevicePath();
    DeviceInfo info;
    for (int c = 0; c < kChannels; ++c) {
        info.channel[c].channelEnabled = 1;
        info.channel[c].channelType = sim::channel_type::Tenths;
    }
    auto buffer = std::make_unique<DownloadBuffer>();
    DownloadHooks hooks;  // the real pauses
    int blocks = 0;
    hooks.setRange = [&blocks](int n) { blocks = n; };
    hooks.setPosition = [&blocks](int i) {
        if (i % 50 == 0 || i == blocks) std::fprintf(stderr, "\rblock %d/%d", i, blocks);
    };

    const auto start = std::chrono::steady_clock::now();
    const DownloadResult result = RunDownload(link, info, *buffer, hooks);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fputc('\n', stderr);
    server.Stop();

    const WireBytes wire = FromLog(options.logPath);
    const long long bytes = wire.requests + wire.replies;
    const double wireSeconds = static_cast<double>(bytes) * kBitsPerByte / kBaud;
    std::printf("records:          %d (finished: %s, warnings: %zu)\n", result.records, result.finished ? "yes" : "no",
                result.warnings.size());
    std::printf("blocks:           %d (%lld block requests, %u records per block)\n", result.blockCount,
                wire.blockRequests, blockRecords);
    std::printf("bytes on wire:    %lld (requests %lld, replies %lld)\n", bytes, wire.requests, wire.replies);
    std::printf("wire time:        %.1f s at 115200 baud, 10 bits per byte\n", wireSeconds);
    std::printf("total time:       %.1f s\n", seconds);
    std::printf("ratio:            %.3f (target <= 1.25)\n", seconds / wireSeconds);
    std::printf("summary\tdownload\t%d records: total time\t%.2f s\t\n", records, seconds);
    std::printf("summary\tdownload\t%d records: total / wire time\t%.3f\t\n", records, seconds / wireSeconds);
    std::remove(options.logPath.c_str());
    rmdir(folder);
    return result.finished ? 0 : 1;
}
