// Every USB reply read through the one layout table: laid into a report as the table says (as
// the simulated logger does) and read back by the program's readers; a report in the other known
// layout is still read, and one that fits neither is named instead of passing for silence.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "common/user_messages.h"
#include "device/command_flags.h"
#include "device/connect.h"
#include "device/device_reader.h"
#include "support/fake_kvusb.h"
#include "device/frame.h"
#include "device/link.h"
#include "support/logger_data.h"
#include "device/usb_reply_layout.h"
#include "device/usb_reply_text.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "live/live_poll.h"

namespace velorin {
namespace {

using Bytes = std::vector<uint8_t>;

// The serial reply frame carrying `data` (address 0).
Bytes Frame(uint8_t command, const Bytes& data) {
    Bytes out(data.size() + kFrameOverheadBytes);
    out.resize(EncodeReply(0, command, data.data(), data.size(), out.data(), out.size()));
    return out;
}

// A report in the table's layout, or forced into `layout`.
Bytes Laid(UsbReply kind, const Bytes& frame) {
    Bytes report(KVUSB_REPORT_BYTES);
    LayUsbReply(kind, frame.data(), frame.size(), report.data(), report.size());
    return report;
}
Bytes AsPayload(const Bytes& frame) {
    Bytes report(KVUSB_REPORT_BYTES, 0);
    report[0] = static_cast<uint8_t>(frame.size() - kFrameOverheadBytes);
    std::copy(frame.begin() + kFrameHeaderBytes, frame.end() - 2, report.begin() + 1);
    return report;
}

Bytes Data(const UsbReplyView& v) {
    return Bytes(v.frame + kFrameHeaderBytes, v.frame + kFrameHeaderBytes + v.dataBytes);
}

TEST(UsbReplyTable, EveryReplyIsLaidAndReadBackInItsLayout) {
    const UsbReply kinds[] = {UsbReply::InfoPart0, UsbReply::InfoPart1, UsbReply::Secondary,  UsbReply::Identity,
                              UsbReply::Channel,   UsbReply::Live,      UsbReply::BlockCount, UsbReply::Block};
    for (UsbReply kind : kinds) {
        const UsbReplyEntry& e = UsbReplyInfo(kind);
        EXPECT_EQ(e.reply, kind);
        Bytes data(30);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(0x41 + i);
        const Bytes frame = Frame(e.command, data);
        const Bytes report = Laid(kind, frame);
        EXPECT_EQ(report[0], e.layout == UsbLayout::Payload ? 30 : kReplyStart) << e.name;
        const UsbReplyView v = ViewUsbReply(kind, report.data(), report.size());
        EXPECT_EQ(v.fit, UsbReplyFit::AsTable) << e.name;
        EXPECT_EQ(v.layout, e.layout) << e.name;
        EXPECT_EQ(Bytes(v.frame + 5, v.frame + 35), data) << e.name;
        UsbReply found = UsbReply::Block;
        ASSERT_TRUE(UsbReplyForCall(e.selector, HidCallCode(e.command, e.part, 3), found)) << e.name;
        EXPECT_EQ(found, kind);
    }
    EXPECT_EQ(UsbReplyInfo(UsbReply::Live).layout, UsbLayout::Frame);
    EXPECT_EQ(UsbReplyInfo(UsbReply::Identity).layout, UsbLayout::Payload);
}

TEST(UsbReplyTable, OtherLayoutEmptyShortAndUnknownReports) {
    const Bytes live = Frame(cmd::LiveReading, Bytes(17, 0x11));
    UsbReplyView v = ViewUsbReply(UsbReply::Live, AsPayload(live).data(), 64);
    EXPECT_EQ(v.fit, UsbReplyFit::OtherLayout);
    EXPECT_EQ(v.layout, UsbLayout::Payload);
    EXPECT_EQ(Data(v), Bytes(17, 0x11));
    v = ViewUsbReply(UsbReply::Identity, AsPayload(Frame(cmd::IdentityQuery, Bytes(23, 1))).data(), 64);
    EXPECT_EQ(v.fit, UsbReplyFit::TooShort);
    Bytes zero(64, 0);
    EXPECT_EQ(ViewUsbReply(UsbReply::InfoPart0, zero.data(), 64).fit, UsbReplyFit::Empty);
    EXPECT_EQ(ViewUsbReply(UsbReply::Live, zero.data(), 64).fit, UsbReplyFit::NoLayout);
    Bytes wild(64, 0xA5);
    EXPECT_EQ(ViewUsbReply(UsbReply::InfoPart0, wild.data(), 64).fit, UsbReplyFit::NoLayout);
    EXPECT_EQ(ViewUsbReply(UsbReply::Block, wild.data(), 64).fit, UsbReplyFit::NoLayout);
    EXPECT_EQ(UsbReplyUnrecognisedText(UsbReply::Live, Language::English),
              "The logger's USB reply (live reading) fits no known layout");
    EXPECT_EQ(GbkToUtf8(UsbReplyUnrecognisedText(UsbReply::BlockCount, Language::Chinese)),
              "记录仪的USB应答（history block count）不符合任何已知格式");
}

class UsbReplies : public ::testing::Test {
protected:
    void SetUp() override {
        link.currentPort = HID_LINK_PORT;
        link.hidHandle = test::FakeUsb::Handle();
    }
    void TearDown() override { link.hidHandle = nullptr; }

    // Information block, identity and channel 1 as the table lays them.
    void AnswerDeviceInformation(const test::InfoData& block) {
        const Bytes data = block.Bytes();
        const Bytes part0(data.begin(), data.begin() + 63), part1(data.begin() + 63, data.end());
        usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 0), Laid(UsbReply::InfoPart0, Frame(1, part0)));
        usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 1), Laid(UsbReply::InfoPart1, Frame(1, part1)));
        usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery),
                   Laid(UsbReply::Identity, Frame(cmd::IdentityQuery, test::IdentityData{}.Bytes())));
        test::ChannelData channel;
        usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, 0),
                   Laid(UsbReply::Channel, Frame(cmd::ChannelQuery, channel.Bytes())));
        Bytes secondary(16, 0);
        secondary[12] = 7;
        usb.Answer(KVUSB_SELECTOR_SECONDARY, HidCallCode(cmd::InfoQuery),
                   Laid(UsbReply::Secondary, Frame(cmd::InfoQuery, secondary)));
    }

    Link link;
    test::FakeUsb usb{link.usb};
};

TEST_F(UsbReplies, InformationPartsIdentityChannelsAndSecondaryThroughTheTable) {
    test::InfoData block;
    block.totalBytes = 108;
    AnswerDeviceInformation(block);
    DeviceInfo info;
    ASSERT_EQ(ReadInfoHid(link, info, TextsFor(Language::English)), HidInfoStatus::Decoded);
    EXPECT_STREQ(info.userName, "Alice");
    EXPECT_EQ(info.storedRecordCount, 5000);
    ASSERT_TRUE(ReadIdentityHid(link, info));
    for (ChannelInfo& c : info.channel) c.channelEnabled = 0;
    info.channel[0].channelEnabled = 1;
    ReadChannelsHid(link, info);
    const test::ChannelData channel;
    EXPECT_EQ(info.channel[0].channelType, channel.Bytes()[3]);
    EXPECT_EQ(info.channel[0].upperAlarmX10, ReadS16BE(channel.Bytes().data() + 17));
    ASSERT_TRUE(ReadSecondaryInfoHid(link, info));
    EXPECT_EQ(info.overLimitIntervalIndex, 7);
}

TEST_F(UsbReplies, AnInformationReportThatFitsNoLayoutIsNamedNotTakenForSilence) {
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::InfoQuery, 0), Bytes(64, 0xC8));
    struct Recorded : UserMessages {
        std::vector<std::string> boxes, statuses;
        void MessageBox(const std::string& t, const std::string&, MessageIcon) override { boxes.push_back(t); }
        void Status(const std::string& t) override { statuses.push_back(t); }
    } messages;
    DeviceInfo info;
    ConnectState state;
    state.usbConnected = true;
    link.hidHandle = nullptr;  // Connect looks the logger up itself
    const ConnectResult r = Connect(link, info, state, {}, Language::English, messages);
    EXPECT_EQ(r.outcome, ConnectOutcome::UsbLink);
    EXPECT_FALSE(r.infoRead);
    EXPECT_TRUE(r.usbReplyUnrecognised);
    EXPECT_EQ(messages.statuses.back(), "The logger's USB reply (information block part 0) fits no known layout");
}

ChannelInfo (&Channels1To3(DeviceInfo& info))[kChannelCount] {
    for (ChannelInfo& c : info.channel) c = ChannelInfo{};
    info.channel[0] = {1, 0, 0, 0x02};  // tenths
    info.channel[1] = {1, 0, 0, 0x22};  // hundredths
    info.channel[2] = {1, 0, 0, 0x02};
    return info.channel;
}

TEST_F(UsbReplies, LiveReadingIsDecodedWhateverPositionsOneAndTwoHold) {
    DeviceInfo info;
    auto& channels = Channels1To3(info);
    Bytes data(17, 0);
    WriteU16BE(data.data() + 1, 253);   // 25.3
    WriteU16BE(data.data() + 3, 2500);  // 25.00
    WriteU16BE(data.data() + 5, 0x8001);
    Bytes report = Laid(UsbReply::Live, Frame(cmd::LiveReading, data));
    report[1] = 0x5A;  // another address
    report[2] = 0x99;  // another command byte
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::LiveReading), report);
    LivePollResult r = PollLiveUsb(link, channels);
    ASSERT_TRUE(r.ok);
    EXPECT_FLOAT_EQ(r.sample.value[0], 25.3f);
    EXPECT_FLOAT_EQ(r.sample.value[1], 25.0f);
    EXPECT_EQ(r.sample.value[2], kLiveMissingValue);

    // The same reading as a payload: read in that layout.
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::LiveReading), AsPayload(Frame(cmd::LiveReading, data)));
    r = PollLiveUsb(link, channels);
    ASSERT_TRUE(r.ok);
    EXPECT_FLOAT_EQ(r.sample.value[0], 25.3f);

    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::LiveReading), Bytes(64, 0xF0));
    r = PollLiveUsb(link, channels);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.unrecognisedReply);
}

// Two blocks of two 10-byte records (channel 1 and 3 two bytes, channel 2 hundredths).
Bytes BlockData(uint16_t block) {
    Bytes data = {static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
    for (int r = 0; r < 2; ++r) {
        const uint8_t second = static_cast<uint8_t>(2 * (block - 1) + r);
        const Bytes record = {26, 3, 7, 8, 5, second, 0x00, 0xFD, 0x09, 0xC4, 0x00, 0x10};
        data.insert(data.end(), record.begin(), record.end());
    }
    return data;
}

// A whole download over the stand-in library, channels 1–3 recorded, without pauses.
DownloadResult DownloadOver(Link& link, DownloadBuffer& buffer) {
    link.hidHandle = test::FakeUsb::Handle();
    DeviceInfo info;
    Channels1To3(info);
    DownloadHooks hooks;
    hooks.wait = [](int) {};
    return RunDownload(link, info, buffer, hooks);
}

TEST_F(UsbReplies, HistoryCountAndBlocksThroughTheTableInEitherLayout) {
    auto Download = [this](DownloadBuffer& buffer) { return DownloadOver(link, buffer); };
    for (bool tableLayout : {true, false}) {
        const Bytes count = Frame(cmd::BlockCountQuery, {0x00, 0x02});
        usb.Answer(KVUSB_SELECTOR_READ, HidCallCodeWithParameter(cmd::BlockCountQuery, 0),
                   tableLayout ? Laid(UsbReply::BlockCount, count) : AsPayload(count));
        for (uint16_t b = 1; b <= 2; ++b) {
            const Bytes frame = Frame(cmd::BlockRead, BlockData(b));
            usb.Answer(KVUSB_SELECTOR_READ, HidCallCodeWithParameter(cmd::BlockRead, b),
                       tableLayout ? Laid(UsbReply::Block, frame) : AsPayload(frame));
        }
        DownloadBuffer buffer;
        const DownloadResult r = Download(buffer);
        EXPECT_EQ(r.blockCount, 2) << tableLayout;
        EXPECT_TRUE(r.warnings.empty()) << tableLayout;
        ASSERT_EQ(buffer.recordCount, 4) << tableLayout;
        EXPECT_EQ(buffer.records[3].second, 3);
        EXPECT_FLOAT_EQ(buffer.records[0].value[0], 25.3f);
        EXPECT_FLOAT_EQ(buffer.records[0].value[1], 25.0f);
        EXPECT_FLOAT_EQ(buffer.records[0].value[2], 1.6f);
    }

    // A count report that fits no layout is said to be one, beside the failed count.
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCodeWithParameter(cmd::BlockCountQuery, 0), Bytes(64, 0xEE));
    DownloadBuffer buffer;
    const DownloadResult r = Download(buffer);
    EXPECT_TRUE(r.Has(DownloadWarningKind::CountFailed));
    EXPECT_TRUE(r.Has(DownloadWarningKind::UsbReplyUnrecognised));
}

}  // namespace
}  // namespace velorin
