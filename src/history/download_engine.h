// The history download: ask the logger how many blocks it holds, read them one by one and
// decode them into a DownloadBuffer. No user interface: progress, cancel and the waits go
// through DownloadHooks, failures come back as typed warnings in the result.
//
// Threading: RunDownload blocks its thread for the whole download (seconds to minutes) and is
// meant for a worker thread. The hooks' callbacks run on that thread; `cancelRequested` may be
// set from any thread and is polled before every block request. The buffer must not be read by
// anyone else until RunDownload has returned.
//
// Link: ChooseLinkForHistory. The serial path opens a port object of its own on the link's port
// (link.serial is closed first so that the two never hold the line at once); the USB path calls
// SendHReadData through link.usb with link.hidHandle. After every block was read over USB the
// handle is closed and cleared (link.hidHandle == nullptr): the next Connect finds a new one.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/language.h"

namespace velorin {

class Link;
class UserMessages;
struct DeviceInfo;
struct DownloadBuffer;

// The pauses of the exchange, in milliseconds. The defaults are the protocol's timing; tests
// shorten them.
struct DownloadTiming {
    int countReplyMs = 500;      // after writing the count query, before reading its reply
    int countSettleMs = 200;     // after a valid serial count reply
    int hidCountSettleMs = 400;  // after a successful USB count request
    int blockReplyMs = 220;      // after writing a block request
    int lastBlockExtraMs = 100;  // added for the last block
    int quietPollMs = 50;        // one pass of the "line went quiet" test
    int quietPolls = 20;         // at most this many passes
    int blockRetryMs = 1900;     // before re-requesting an invalid serial block
    int hidRetryMs = 100;        // before re-requesting a failed USB block
    int countAttempts = 5;       // serial count queries
    int blockRequests = 11;      // serial requests per block (the first and ten retries)
    int hidBlockRequests = 10;   // USB requests per block
};

struct DownloadHooks {
    // Before the first block: the progress range is 0 … blockCount.
    std::function<void(int blockCount)> setRange;
    // After block `position` (1-based) has been decoded.
    std::function<void(int position)> setPosition;
    // Every pause goes through here; empty means a real sleep of the calling thread.
    std::function<void(int milliseconds)> wait;
    // Set from any thread (the Cancel button, SIGINT). The count phase always completes; no block
    // request is sent once it is set.
    std::atomic<bool> cancelRequested{false};
    // Receives the serial driver's configuration errors; may be null.
    UserMessages* messages = nullptr;
    DownloadTiming timing;
};

enum class DownloadLink { Serial, Usb, None };

enum class DownloadWarningKind {
    CountFailed,      // no valid count reply (or no USB device to ask)
    BlockFailed,      // a block stayed invalid through all its requests; the block phase ended
    CapacityReached,  // the buffer is full; the block phase ended, the records kept
    // USB: the count or a block's last report fit no known layout (device/usb_reply_layout.h);
    // comes beside CountFailed or BlockFailed and says why.
    UsbReplyUnrecognised,
};

struct DownloadWarning {
    DownloadWarningKind kind = DownloadWarningKind::CountFailed;
    int block = 0;     // BlockFailed: the block number
    std::string text;  // what to show the user (UTF-8)
};

struct DownloadResult {
    DownloadLink link = DownloadLink::None;
    int blockCount = 0;           // what the logger reported (0 when the count failed)
    int blocksRead = 0;           // blocks decoded
    int32_t records = 0;          // records in the buffer
    bool finished = false;        // every block was read (also with zero blocks)
    bool cancelled = false;       // stopped by cancelRequested before the last block
    bool portOpenFailed = false;  // the serial port could not be opened
    std::vector<DownloadWarning> warnings;

    bool Has(DownloadWarningKind kind) const;
};

// Runs one download into `buffer` (reset at the start for the channel layout of `info`).
// `language` selects the language of the capacity warning; the other texts are the same in
// both languages.
DownloadResult RunDownload(Link& link, const DeviceInfo& info, DownloadBuffer& buffer, DownloadHooks& hooks,
                           Language language = Language::Chinese);

}  // namespace velorin
