// Feeds arbitrary bytes to everything that decodes what a logger sends: frame validation and
// scanning, the information/identity/channel decoders, the USB report assembly, and the panel
// text built from the result (its fixed fields come straight from the logger).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/device_reader.h"
#include "device/frame.h"
#include "device/link.h"
#include "device/panel_lines.h"

namespace {

const uint8_t* g_data = nullptr;
size_t g_size = 0;
size_t g_pos = 0;

// The fake USB library hands out the fuzz input 64 bytes per report.
KvusbHandle Find(const wchar_t*, const wchar_t*, int) { return reinterpret_cast<KvusbHandle>(1); }
int Write(KvusbHandle, int, unsigned char*, int, unsigned int) { return 1; }
int Read(KvusbHandle, int, unsigned char* report, int length, unsigned int) {
    if (g_pos >= g_size) return 0;
    const size_t n = std::min<size_t>(static_cast<size_t>(length), g_size - g_pos);
    std::memcpy(report, g_data + g_pos, n);
    g_pos += n;
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velorin;
    ReplyPassesFull(data, size);
    ReplyPassesStart(data, size);
    for (size_t off = 0; off < size;) {
        const FrameScanResult r = ScanFrame(data + off, size - off, kReplyStart, kReplyEnd, 6539);
        if (r.kind == FrameScan::NeedMore) break;
        off += r.offset + (r.length > 0 ? r.length : 1);
    }

    DeviceInfo info;
    const Texts& texts = TextsFor(size % 2 ? Language::English : Language::Chinese);
    if (size >= kInfoDataBytes) DecodeInfoBlock(info, data, texts);
    if (size >= kIdentityDataBytes) ApplyIdentity(info, data + size - kIdentityDataBytes);
    if (size >= kChannelDataBytes) {
        uint8_t channel[kChannelDataBytes];
        std::memcpy(channel, data, kChannelDataBytes);
        ApplyChannel(info, static_cast<int>(data[0] % 10) - 1, channel, data[1] & 1 ? LinkKind::Hid : LinkKind::Serial);
    }

    Link link;
    link.usb.findDevice = Find;
    link.usb.sendHWriteData = Write;
    link.usb.sendHReadData = Read;
    link.hidHandle = Find(nullptr, nullptr, 0);
    g_data = data;
    g_size = size;
    g_pos = 0;
    if (ReadInfoHid(link, info, texts) == HidInfoStatus::Decoded) {
        ReadIdentityHid(link, info);
        ReadChannelsHid(link, info);
        ReadSecondaryInfoHid(link, info);
    }
    link.hidHandle = nullptr;  // not a real handle: nothing to close

    for (const PanelLine& line : BuildPanelLines(info, size % 3 ? Language::English : Language::Chinese)) {
        GbkToUtf8(line.text);
    }
    return 0;
}
