// Shared by the download tests: the simulated logger in-process on a pty and on the socket of
// libkvusb-sim, a Link pointed at either, DeviceInfo matching the simulator's channels, the
// records the simulator's history says a download must yield, and short protocol pauses.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "device/device_info.h"
#include "device/link.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "logger_state.h"
#include "server.h"
#include "support/temp_dir.h"

namespace velorin::test {

// Pauses cut down so that a download of a few blocks takes milliseconds. `quietPollMs` is the
// line-quiet pass, long enough for an unpaced simulator reply to be complete within it.
DownloadTiming FastTiming(int quietPollMs = 20);

// The demo logger (tenths, tenths, hundredths, 4-byte float) holding `records` records, the
// last one a minute before 2026-03-07 08:05:00.
sim::LoggerState LoggerWith(uint32_t records);

// What Connect would have read: channel flags and ChannelTypes, serial number, header texts.
DeviceInfo InfoFor(const sim::LoggerState& state);

class SimulatedLogger {
public:
    // Serial link as COM3 in a private port folder, the USB link on a socket there; unpaced
    // unless `options.pacing` is set by the caller. Request log in the folder.
    explicit SimulatedLogger(const sim::LoggerState& state, sim::ServerOptions options = Unpaced());
    static sim::ServerOptions Unpaced();

    bool Started() const { return started_; }
    const std::string& Error() const { return error_; }
    sim::LoggerServer& Server() { return *server_; }
    const std::string& Folder() const { return dir_.Path(); }

    // Lines of the request log whose command is `command` (e.g. "0x1a").
    size_t Logged(const std::string& command) const;

    // Points the link at COM3 through its device path.
    void UseSerial(Link& link) const;
    // Loads libkvusb-sim into the link and opens the device (currentPort = HID_LINK_PORT).
    bool UseUsb(Link& link) const;

private:
    TempDir dir_;
    std::unique_ptr<ScopedEnv> portDir_;
    std::unique_ptr<ScopedEnv> socket_;
    std::unique_ptr<ScopedEnv> library_;
    std::unique_ptr<sim::LoggerServer> server_;
    bool started_ = false;
    std::string error_;
};

// Checks every record of `buffer` (times and values) against the history of `state`, and the
// maxima, minima and averages against those records. Returns the number of mismatches.
size_t CompareWithHistory(const DownloadBuffer& buffer, const sim::LoggerState& state);

}  // namespace velorin::test
