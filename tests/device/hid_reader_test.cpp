// Reading DeviceInfo over the USB link through stand-in library functions: the information
// block from two reports, identity, channels, the secondary report and when nothing is called.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_reader.h"
#include "support/fake_kvusb.h"
#include "device/frame.h"
#include "device/link.h"
#include "support/logger_data.h"

namespace velorin {
namespace {

using test::FakeUsb;
using test::FakeUsbCall;
using test::Report;
using test::SameBytes;
using test::Sentinel;

constexpr uint32_t kPart0 = HidCallCode(cmd::InfoQuery, 0);
constexpr uint32_t kPart1 = HidCallCode(cmd::InfoQuery, 1);

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t from, size_t count) {
    return {v.begin() + static_cast<long>(from), v.begin() + static_cast<long>(from + count)};
}

class HidReader : public ::testing::Test {
protected:
    void SetUp() override {
        link.currentPort = HID_LINK_PORT;
        link.hidHandle = FakeUsb::Handle();
    }
    void TearDown() override { link.hidHandle = nullptr; }  // nothing to close

    // Splits the information block: the first `p0` bytes in part 0, the next `p1` in part 1.
    void InfoReports(size_t p0, size_t p1, test::InfoData block = {}) {
        block.totalBytes = p0 + p1 > 103 ? p0 + p1 : 103;
        const std::vector<uint8_t> data = block.Bytes();
        usb.Answer(KVUSB_SELECTOR_READ, kPart0, Report(Slice(data, 0, p0)));
        usb.Answer(KVUSB_SELECTOR_READ, kPart1, Report(Slice(data, p0, p1)));
    }

    Link link;
    FakeUsb usb{link.usb};
    const Texts& english = TextsFor(Language::English);
};

TEST_F(HidReader, PartOneIsPlacedDirectlyBehindPartZero) {
    InfoReports(40, 63);  // the title straddles the two reports
    DeviceInfo info;
    ASSERT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Decoded);
    EXPECT_STREQ(info.userName, "Alice");
    EXPECT_STREQ(info.title, "Cold room 3");
    EXPECT_EQ(info.recordIntervalSeconds, 3725);
    EXPECT_EQ(info.storedRecordCount, 5000);
    EXPECT_STREQ(info.timedStopTime, "2025-12-31 23:59:59");
    EXPECT_EQ(ReadField(info.startMode), "TimedSta");
    EXPECT_EQ(info.channel[2].channelEnabled, 1);

    const auto& calls = usb.Calls();
    ASSERT_EQ(calls.size(), 2u);
    for (const FakeUsbCall& c : calls) {
        EXPECT_EQ(c.kind, FakeUsbCall::Read);
        EXPECT_EQ(c.selector, KVUSB_SELECTOR_READ);
        EXPECT_EQ(c.length, KVUSB_REPORT_BYTES);
        EXPECT_TRUE(c.reportWasClear);
    }
    EXPECT_EQ(calls[0].callCode, kPart0);
    EXPECT_EQ(calls[1].callCode, kPart1);
}

TEST_F(HidReader, AFailedFirstReportStopsAtOnce) {
    DeviceInfo info = Sentinel();
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Part0Failed);
    EXPECT_EQ(usb.Calls().size(), 1u);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, AnEmptyFirstReportStopsAtOnce) {
    usb.Answer(KVUSB_SELECTOR_READ, kPart0, Report({}));
    DeviceInfo info = Sentinel();
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Part0Empty);
    EXPECT_EQ(usb.Calls().size(), 1u);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, AFailedSecondReportDecodesNothing) {
    usb.Answer(KVUSB_SELECTOR_READ, kPart0, Report(Slice(test::InfoData{}.Bytes(), 0, 63)));
    DeviceInfo info = Sentinel();
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Part1Failed);
    EXPECT_EQ(usb.Calls().size(), 2u);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, TwoReportsCarryingLessThanTheWholeBlockDecodeNothing) {
    InfoReports(40, 62);  // 102 of the 103 bytes
    DeviceInfo info = Sentinel();
    EXPECT_NE(ReadInfoHid(link, info, english), HidInfoStatus::Decoded);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, PayloadLengthsAbove63FitNoLayoutAndAreNamedSo) {
    // A payload is at most 63 bytes and 0xFF is no frame's start: the report fits no known
    // layout, which is said, and nothing is decoded from it (never past the report either).
    test::InfoData block;
    block.totalBytes = 126;
    const std::vector<uint8_t> data = block.Bytes();
    std::vector<uint8_t> part0 = Report(Slice(data, 0, 63));
    std::vector<uint8_t> part1 = Report(Slice(data, 63, 63));
    part0[0] = 0xFF;
    usb.Answer(KVUSB_SELECTOR_READ, kPart0, part0);
    usb.Answer(KVUSB_SELECTOR_READ, kPart1, part1);
    DeviceInfo info = Sentinel();
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Unrecognised);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
    part0[0] = 63;
    part1[0] = 0xFF;
    usb.Answer(KVUSB_SELECTOR_READ, kPart0, part0);
    usb.Answer(KVUSB_SELECTOR_READ, kPart1, part1);
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Unrecognised);
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, IdentityIsTakenFromReportByteOneOn) {
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery), Report(test::IdentityData{}.Bytes()));
    DeviceInfo info;
    info.storedRecordCount = 4500;
    ASSERT_TRUE(ReadIdentityHid(link, info));
    EXPECT_EQ(std::memcmp(info.model, "KV-T8CH1", 8), 0);
    EXPECT_STREQ(info.serialNumber, "SN123456");
    EXPECT_EQ(info.firmwareVersion, 11);
    EXPECT_EQ(info.storageCapacity, 4000);
    EXPECT_EQ(info.overflowCount, 500);
    ASSERT_EQ(usb.Calls().size(), 1u);
    EXPECT_EQ(usb.Calls()[0].callCode, 6u << 16);
}

TEST_F(HidReader, AFailedIdentityReadChangesNothing) {
    DeviceInfo info = Sentinel();
    EXPECT_FALSE(ReadIdentityHid(link, info));
    EXPECT_TRUE(SameBytes(info, Sentinel()));
}

TEST_F(HidReader, ChannelsUseAZeroBasedIndexAndWholeUnitRanges) {
    test::ChannelData first;
    first.rangeLow = -40;
    first.rangeHigh = 85;
    test::ChannelData third;
    third.channelNumber = 3;
    third.quantity = 2;
    third.unit = 4;
    third.rangeLow = 0;
    third.rangeHigh = 100;
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, 0), Report(first.Bytes()));
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, 2), Report(third.Bytes()));
    DeviceInfo info;
    info.channel[0].channelEnabled = 1;
    info.channel[2].channelEnabled = 1;
    ReadChannelsHid(link, info);

    ASSERT_EQ(usb.Calls().size(), 2u);
    EXPECT_EQ(usb.Calls()[0].callCode, 2u << 16);
    EXPECT_EQ(usb.Calls()[1].callCode, (2u << 16) | 2u);
    EXPECT_EQ(info.channel[0].rangeLowX10, -400);
    EXPECT_EQ(info.channel[0].rangeHighX10, 850);
    EXPECT_EQ(info.channel[0].lowerAlarmX10, -125);
    EXPECT_EQ(info.channel[0].upperAlarmX10, 300);
    EXPECT_EQ(info.channel[0].channelType, 0x12);
    EXPECT_EQ(info.channel[2].quantityCode, 2);
    EXPECT_EQ(info.channel[2].unitCode, 4);
    EXPECT_EQ(info.channel[2].rangeHighX10, 1000);
}

TEST_F(HidReader, AChannelWhoseReadFailsKeepsItsValues) {
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, 0), Report(test::ChannelData{}.Bytes()));
    DeviceInfo info = Sentinel();
    for (ChannelInfo& c : info.channel) c.channelEnabled = 0;
    info.channel[0].channelEnabled = 1;
    info.channel[5].channelEnabled = 1;
    const ChannelInfo before = info.channel[5];
    ReadChannelsHid(link, info);
    EXPECT_EQ(usb.Calls().size(), 2u);
    EXPECT_EQ(info.channel[0].rangeLowX10, -4000);
    EXPECT_EQ(std::memcmp(&info.channel[5], &before, sizeof before), 0);
}

TEST_F(HidReader, ReportsTooShortForWhatTheyCarryChangeNothing) {
    // A report whose payload stops before the decoded bytes would write zeros as settings.
    const std::vector<uint8_t> identity = test::IdentityData{}.Bytes();
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::IdentityQuery), Report(Slice(identity, 0, 23)));
    const std::vector<uint8_t> channel = test::ChannelData{}.Bytes();
    usb.Answer(KVUSB_SELECTOR_READ, HidCallCode(cmd::ChannelQuery, 0, 0), Report(Slice(channel, 0, 20)));
    DeviceInfo info = Sentinel();
    for (ChannelInfo& c : info.channel) c.channelEnabled = 0;
    info.channel[0].channelEnabled = 1;
    const DeviceInfo before = info;
    EXPECT_FALSE(ReadIdentityHid(link, info));
    ReadChannelsHid(link, info);
    EXPECT_TRUE(SameBytes(info, before));
}

TEST_F(HidReader, SecondaryReportByte13IsTheOverLimitIntervalIndex) {
    std::vector<uint8_t> report(KVUSB_REPORT_BYTES, 0);
    report[0] = 20;
    report[13] = 4;
    usb.Answer(KVUSB_SELECTOR_SECONDARY, HidCallCode(cmd::InfoQuery), report);
    DeviceInfo info;
    ASSERT_TRUE(ReadSecondaryInfoHid(link, info));
    EXPECT_EQ(info.overLimitIntervalIndex, 4);
    ASSERT_EQ(usb.Calls().size(), 1u);
    EXPECT_EQ(usb.Calls()[0].selector, KVUSB_SELECTOR_SECONDARY);
    EXPECT_EQ(usb.Calls()[0].callCode, 1u << 16);

    DeviceInfo untouched;
    untouched.overLimitIntervalIndex = 9;
    Link other;  // no handle
    EXPECT_FALSE(ReadSecondaryInfoHid(other, untouched));
    EXPECT_EQ(untouched.overLimitIntervalIndex, 9);
}

TEST_F(HidReader, NothingIsCalledWithoutAHandle) {
    InfoReports(63, 63);
    link.hidHandle = nullptr;
    DeviceInfo info = Sentinel();
    info.channel[0].channelEnabled = 1;
    const DeviceInfo before = info;
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Part0Failed);
    EXPECT_FALSE(ReadIdentityHid(link, info));
    ReadChannelsHid(link, info);
    EXPECT_FALSE(ReadSecondaryInfoHid(link, info));
    uint8_t report[KVUSB_REPORT_BYTES] = {};
    EXPECT_FALSE(link.HidWrite(HidCallCode(cmd::StopRecording), report));
    EXPECT_TRUE(usb.Calls().empty());
    EXPECT_TRUE(SameBytes(info, before));
}

TEST_F(HidReader, NothingIsCalledWhenTheLibraryIsIncomplete) {
    InfoReports(63, 63);
    link.usb.sendHWriteData = nullptr;  // as after a library without all entry points
    DeviceInfo info;
    EXPECT_EQ(ReadInfoHid(link, info, english), HidInfoStatus::Part0Failed);
    EXPECT_FALSE(ReadIdentityHid(link, info));
    EXPECT_EQ(link.FindLogger(), nullptr);
    EXPECT_TRUE(usb.Calls().empty());
}

TEST_F(HidReader, FindAndWriteCarryTheLoggerStringsAndTheWriteSelector) {
    EXPECT_EQ(link.FindLogger(), FakeUsb::Handle());
    uint8_t report[KVUSB_REPORT_BYTES] = {};
    const AngleFrame stop = BuildRequest(0, cmd::StopRecording);
    std::memcpy(report, stop.bytes, stop.length);
    EXPECT_TRUE(link.HidWrite(HidCallCode(cmd::StopRecording), report));

    const auto& calls = usb.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, FakeUsbCall::Find);
    EXPECT_EQ(calls[0].manufacturer, L"tavmok");
    EXPECT_EQ(calls[0].product, L"4826vomu-pWren");
    EXPECT_EQ(calls[0].flags, 0);
    EXPECT_EQ(calls[1].kind, FakeUsbCall::Write);
    EXPECT_EQ(calls[1].selector, KVUSB_SELECTOR_WRITE);
    EXPECT_EQ(calls[1].callCode, 0x1Du << 16);
    EXPECT_EQ(calls[1].length, KVUSB_REPORT_BYTES);
    EXPECT_EQ(std::vector<uint8_t>(calls[1].report.begin(), calls[1].report.begin() + 7),
              (std::vector<uint8_t>{0x3C, 0x00, 0x1D, 0x00, 0x02, 0x5B, 0x3E}));
}

}  // namespace
}  // namespace velorin
