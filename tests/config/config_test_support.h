// Shared pieces of the configuration tests: a scripted serial logger that acknowledges requests
// the way it is told, and DeviceInfo as a Connect would have left it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "config/config_texts.h"
#include "device/device_info.h"
#include "device/frame.h"
#include "device/link.h"
#include "support/pty_peer.h"
#include "support/recorded_messages.h"

namespace velorin::test {

using Bytes = std::vector<uint8_t>;

// The configuration texts (the same in both languages for every message).
inline const ConfigTexts& T() { return ConfigTextsFor(Language::Chinese); }

// The texts of the message boxes shown so far.
inline std::vector<std::string> BoxTexts(const RecordedMessages& m) {
    std::vector<std::string> out;
    for (const auto& b : m.Boxes()) out.push_back(b.text);
    return out;
}

inline Bytes Of(const AngleFrame& f) { return Bytes(f.bytes, f.bytes + f.length); }

// Bytes `from` … `to` − 1 of a request.
inline Bytes Slice(const Bytes& request, size_t from, size_t to) {
    return to <= request.size() && from <= to ? Bytes(request.begin() + from, request.begin() + to) : Bytes{};
}

// The reply a logger gives to one request; empty = silence.
using Answer = std::function<Bytes(const PtyPeer::Request& request, size_t index)>;

// The plain 7-byte acknowledgement of a request.
inline Bytes Ack(const PtyPeer::Request& request) {
    Bytes out(kFrameOverheadBytes);
    out.resize(EncodeReply(request[1], request[2], nullptr, 0, out.data(), out.size()));
    return out;
}

// A logger that acknowledges everything the way the simulator does: the start codes 1 and 2
// with 8 bytes that echo the code, everything else with 7.
inline Bytes LoggerAck(const PtyPeer::Request& request) {
    if (request.size() > 5 && request[2] == cmd::SetStartMode && request[5] != 3) {
        Bytes out(kFrameOverheadBytes + 1);
        out.resize(EncodeReply(request[1], request[2], &request[5], 1, out.data(), out.size()));
        return out;
    }
    return Ack(request);
}

// A scripted logger on a pseudo-terminal and a link pointed at it. With `open` the port is
// opened, as the wizard does when it opens.
class ScriptedLogger {
public:
    explicit ScriptedLogger(Answer answer, bool open = true) {
        peer_.Start([answer](PtyPeer& p, const PtyPeer::Request& r, size_t i) {
            const Bytes reply = answer(r, i);
            if (!reply.empty()) p.Write(reply);
        });
        link.currentPort = 3;
        link.currentPortPath = peer_.SlavePath();
        if (open && peer_.Ok()) link.OpenCurrentPort();
    }
    bool Ok() const { return peer_.Ok(); }
    Link link;
    std::vector<PtyPeer::Request> Requests() const { return peer_.Requests(); }
    // The commands of the requests that arrived, in order.
    Bytes Commands() const {
        Bytes out;
        for (const PtyPeer::Request& r : peer_.Requests()) out.push_back(r.size() > 2 ? r[2] : 0);
        return out;
    }
    PtyPeer& Peer() { return peer_; }

private:
    PtyPeer peer_;
};

// An automatic-mode logger with channels 1, 2 and 4 recorded, as Connect stores it in `language`.
inline DeviceInfo ConnectedInfo(Language language = Language::Chinese) {
    DeviceInfo info;
    const Texts& t = TextsFor(language);
    StoreInField(info.userName, std::string("old user"));
    StoreInField(info.title, std::string("old title"));
    StoreInField(info.recordMode, Utf8ToGbk(t.recordModeAuto));
    StoreInField(info.startMode, Utf8ToGbk(t.startModeLabel[0]));
    StoreInField(info.stopMode, Utf8ToGbk(t.stopModeLabel[0]));
    info.recordIntervalSeconds = 60;
    info.intervalMinutes = 1;
    info.powerMode = 0x01;
    info.storedRecordCount = 1000;
    for (int c : {0, 1, 3}) {
        info.channel[c].channelEnabled = 1;
        info.channel[c].alarmEnabled = 1;
        info.channel[c].lowerAlarmX10 = 150;
        info.channel[c].upperAlarmX10 = 300;
    }
    return info;
}

}  // namespace velorin::test
