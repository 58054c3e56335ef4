#include "history/download_engine.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/serial_port.h"
#include "device/usb_reply_layout.h"
#include "device/usb_reply_text.h"
#include "history/block_codec.h"

namespace velorin {

namespace {

// Reads per drain: a logger that never stops talking must not keep the loop busy forever.
constexpr int kMaxReadsPerDrain = 64;

class Session {
public:
    Session(Link& link, DownloadBuffer& buffer, DownloadHooks& hooks, DownloadResult& result, Language language)
        : link_(link), buffer_(buffer), hooks_(hooks), result_(result), language_(language) {}

    void Run();

private:
    const DownloadTiming& timing() const { return hooks_.timing; }
    void Wait(int ms) {
        if (ms <= 0) return;
        if (hooks_.wait) {
            hooks_.wait(ms);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }
    bool Cancelled() const { return hooks_.cancelRequested.load(); }
    void Warn(DownloadWarningKind kind, int block = 0);

    bool OpenPort(CSerialPort& port);
    uint16_t SerialCount();
    uint16_t UsbCount();
    void SerialBlocks(int blockCount);
    void UsbBlocks(int blockCount);
    size_t CollectBlockReply(CSerialPort& port, uint8_t* reply, size_t capacity);
    // Decodes one block and advances the progress; false when the buffer is full.
    bool TakeBlock(const uint8_t* reply, size_t held, int block);

    Link& link_;
    DownloadBuffer& buffer_;
    DownloadHooks& hooks_;
    DownloadResult& result_;
    const Language language_;
};

void Session::Warn(DownloadWarningKind kind, int block) {
    DownloadWarning w;
    w.kind = kind;
    w.block = block;
    switch (kind) {
        case DownloadWarningKind::CountFailed: w.text = Fixed().historyCountFailed; break;
        case DownloadWarningKind::BlockFailed: w.text = Fixed().historyBlockFailed; break;
        case DownloadWarningKind::CapacityReached: w.text = TextsFor(language_).historyCapacityReached; break;
        case DownloadWarningKind::UsbReplyUnrecognised:
            // The message comes in GBK; its reply name is ASCII, so nothing is lost on the way back.
            w.text =
                GbkToUtf8(UsbReplyUnrecognisedText(block == 0 ? UsbReply::BlockCount : UsbReply::Block, language_));
            break;
    }
    result_.warnings.push_back(w);
}

bool Session::OpenPort(CSerialPort& port) {
    port.SetMessageSink(hooks_.messages);
    const bool open = OpenLoggerLine(port, link_.currentPort, link_.currentPortPath);
    if (!open) result_.portOpenFailed = true;
    return open;
}

uint16_t Session::SerialCount() {
    CSerialPort port;
    if (!OpenPort(port)) {
        Warn(DownloadWarningKind::CountFailed);
        return 0;
    }
    uint8_t query[kBlockCountQueryBytes];
    BuildBlockCountQuery(link_.deviceAddress, query);
    uint8_t reply[kCountReplyBufferBytes];
    for (int attempt = 0; attempt < timing().countAttempts; ++attempt) {
        port.PurgeInput();
        port.WriteBlock(query, static_cast<int>(sizeof query));
        Wait(timing().countReplyMs);
        const int waiting = port.BytesWaiting();
        // More than the buffer holds cannot be the 9-byte reply; the purge drops it.
        if (waiting <= 0 || static_cast<size_t>(waiting) > sizeof reply) continue;
        const int got = port.ReadAvailable(reply, waiting);
        uint16_t count = 0;
        if (got > 0 && ParseBlockCountReply(reply, static_cast<size_t>(got), link_.deviceAddress, count)) {
            Wait(timing().countSettleMs);
            port.ClosePort();
            return count;
        }
    }
    Warn(DownloadWarningKind::CountFailed);
    return 0;
}

uint16_t Session::UsbCount() {
    uint8_t report[KVUSB_REPORT_BYTES];
    if (!link_.HidRead(KVUSB_SELECTOR_READ, HidCallCodeWithParameter(cmd::BlockCountQuery, 0), report)) {
        Warn(DownloadWarningKind::CountFailed);
        return 0;
    }
    // Read in the layout the USB reply table gives; nothing else is judged.
    const UsbReplyView view = ViewUsbReply(UsbReply::BlockCount, report, sizeof report);
    if (!view.Usable()) {
        Warn(DownloadWarningKind::CountFailed);
        Warn(DownloadWarningKind::UsbReplyUnrecognised);
        return 0;
    }
    const uint16_t count = HidBlockCount(view.frame, view.held);
    Wait(timing().hidCountSettleMs);
    return count;
}

// Waits until the line stops delivering: passes of { c1 = received; wait; c2 = received } until
// c1 == c2. "Received" counts what has been read into `reply` plus what is queued. Bytes are
// taken off the line as they come because a tty's input queue holds only about 4 KB: a larger
// reply left queued would stall at that size and look complete. Returns the bytes received,
// which is more than `capacity` when the reply did not fit (those bytes are dropped).
size_t Session::CollectBlockReply(CSerialPort& port, uint8_t* reply, size_t capacity) {
    size_t stored = 0;
    size_t dropped = 0;
    auto drain = [&] {
        for (int i = 0; i < kMaxReadsPerDrain; ++i) {
            const int queued = port.BytesWaiting();
            if (queued <= 0) return;
            int got = 0;
            if (stored < capacity) {
                const size_t room = capacity - stored;
                const int want = static_cast<int>(std::min(static_cast<size_t>(queued), room));
                got = port.ReadAvailable(reply + stored, want);
                if (got > 0) stored += static_cast<size_t>(got);
            } else {
                uint8_t sink[256];
                got = port.ReadAvailable(sink, std::min(queued, static_cast<int>(sizeof sink)));
                if (got > 0) dropped += static_cast<size_t>(got);
            }
            if (got <= 0) return;
        }
    };
    auto received = [&] { return stored + dropped + static_cast<size_t>(port.BytesWaiting()); };
    for (int pass = 0; pass < timing().quietPolls; ++pass) {
        drain();
        const size_t first = received();
        Wait(timing().quietPollMs);
        drain();
        if (received() == first) break;
    }
    drain();
    return stored + dropped;
}

bool Session::TakeBlock(const uint8_t* reply, size_t held, int block) {
    const BlockDecodeResult decoded = DecodeBlockRecords(reply, held, buffer_);
    if (decoded.capacityReached) {
        Warn(DownloadWarningKind::CapacityReached, block);
        return false;
    }
    result_.blocksRead = block;
    if (hooks_.setPosition) hooks_.setPosition(block);
    return true;
}

void Session::SerialBlocks(int blockCount) {
    CSerialPort port;
    if (blockCount > 0 && !OpenPort(port)) {
        Warn(DownloadWarningKind::BlockFailed, 1);
        return;
    }
    // One reply buffer for the whole download.
    std::vector<uint8_t> reply(kBlockReplyBufferBytes);
    for (int block = 1; block <= blockCount; ++block) {
        uint8_t request[kBlockReadBytes];
        BuildBlockRead(link_.deviceAddress, static_cast<uint16_t>(block), request);
        bool valid = false;
        size_t received = 0;
        for (int attempt = 1; attempt <= timing().blockRequests && !valid; ++attempt) {
            std::fill(reply.begin(), reply.end(), 0);
            if (Cancelled()) {
                result_.cancelled = true;
                return;
            }
            port.PurgeInput();
            port.WriteBlock(request, static_cast<int>(sizeof request));
            Wait(timing().blockReplyMs + (block == blockCount ? timing().lastBlockExtraMs : 0));
            received = CollectBlockReply(port, reply.data(), reply.size());
            valid = ValidSerialBlockReply(reply.data(), received) &&
                    BlockRecordCount(reply.data(), received, buffer_.layout) > 0;
            if (!valid && attempt < timing().blockRequests) Wait(timing().blockRetryMs);
        }
        if (!valid) {
            Warn(DownloadWarningKind::BlockFailed, block);
            return;
        }
        if (!TakeBlock(reply.data(), received, block)) return;
    }
    buffer_.finished = true;
    result_.finished = true;
}

void Session::UsbBlocks(int blockCount) {
    uint8_t report[KVUSB_REPORT_BYTES];
    for (int block = 1; block <= blockCount; ++block) {
        const uint32_t callCode = HidCallCodeWithParameter(cmd::BlockRead, static_cast<uint16_t>(block));
        bool ok = false;
        bool unrecognised = false;  // the last report came but fit no known layout
        UsbReplyView view;
        for (int attempt = 1; attempt <= timing().hidBlockRequests && !ok; ++attempt) {
            if (Cancelled()) {
                result_.cancelled = true;
                return;
            }
            const bool read = link_.HidRead(KVUSB_SELECTOR_READ, callCode, report);  // clears the report first
            if (read) view = ViewUsbReply(UsbReply::Block, report, sizeof report);
            // A block that brings no record is retried like an invalid one.
            ok = read && view.Usable() && BlockRecordCount(view.frame, view.held, buffer_.layout) > 0;
            unrecognised = read && view.fit == UsbReplyFit::NoLayout;
            if (!ok && attempt < timing().hidBlockRequests) Wait(timing().hidRetryMs);
        }
        if (!ok) {
            Warn(DownloadWarningKind::BlockFailed, block);
            if (unrecognised) Warn(DownloadWarningKind::UsbReplyUnrecognised, block);
            return;
        }
        if (!TakeBlock(view.frame, view.held, block)) return;
    }
    buffer_.finished = true;
    result_.finished = true;
    link_.CloseHidHandle();
}

void Session::Run() {
    switch (ChooseLinkForHistory(link_)) {
        case LinkUse::Serial: result_.link = DownloadLink::Serial; break;
        case LinkUse::Hid: result_.link = DownloadLink::Usb; break;
        case LinkUse::None: result_.link = DownloadLink::None; break;
    }
    if (result_.link == DownloadLink::Serial) link_.serial.ClosePort();

    uint16_t count = 0;
    if (result_.link == DownloadLink::Serial) {
        count = SerialCount();
    } else if (result_.link == DownloadLink::Usb) {
        count = UsbCount();
    } else {
        Warn(DownloadWarningKind::CountFailed);
    }
    buffer_.blockCount = count;
    result_.blockCount = count;

    if (Cancelled()) {
        result_.cancelled = true;
    } else if (result_.link != DownloadLink::None && !result_.Has(DownloadWarningKind::CountFailed)) {
        if (hooks_.setRange) hooks_.setRange(count);
        if (result_.link == DownloadLink::Serial) {
            SerialBlocks(count);
        } else {
            UsbBlocks(count);
        }
    }
    result_.records = buffer_.recordCount;
}

}  // namespace

bool DownloadResult::Has(DownloadWarningKind kind) const {
    return std::any_of(warnings.begin(), warnings.end(), [kind](const DownloadWarning& w) { return w.kind == kind; });
}

DownloadResult RunDownload(Link& link, const DeviceInfo& info, DownloadBuffer& buffer, DownloadHooks& hooks,
                           Language language) {
    DownloadResult result;
    buffer.Begin(ChannelLayoutOf(info));
    Session(link, buffer, hooks, result, language).Run();
    return result;
}

}  // namespace velorin
