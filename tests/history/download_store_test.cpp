// Storing a finished download: the data set's fields and their sources, safe file names from the
// serial number, the data folder and its fallback, the two routes with and without CSV copy.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "device/device_info.h"
#include "history/block_codec.h"
#include "history/download_engine.h"
#include "history/download_store.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::ScopedEnv;
using test::TempDir;

using velorin::test::FileExists;
using velorin::test::ReadFileBytes;

// Two channels: 1 in tenths (temperature, ℃), 3 as 4-byte floats (pressure, KPa); 2 is off.
DeviceInfo SampleInfo(const char* serial = "20261209") {
    DeviceInfo info;
    StoreInField(info.serialNumber, serial);
    std::memcpy(info.model, "VLR-T810", 8);
    StoreInField(info.userName, "Alice");
    StoreInField(info.title, "Cold room 3");
    StoreInField(info.startMode, "TimedSta");
    StoreInField(info.stopMode, "Memory full");
    StoreInField(info.startTime, "2026-03-07 08:00:00");
    StoreInField(info.timedStartTime, "2026-03-07 07:00:00");
    StoreInField(info.timedStopTime, "2026-12-31 23:59:59");
    StoreInField(info.recordMode, "AutoMode");
    StoreInField(info.workState, "STOP");
    info.storedRecordCount = 40000;
    info.overflowCount = 8000;
    info.storageCapacity = 32000;
    info.recordIntervalSeconds = 3725;
    info.intervalHours = 1;
    info.intervalMinutes = 2;
    info.intervalSeconds = 5;
    info.firmwareVersion = 11;
    info.powerMode = 0x80;
    ChannelInfo& c1 = info.channel[0];
    c1.channelEnabled = 1;
    c1.channelType = 0x02;
    c1.quantityCode = 1;
    c1.unitCode = 1;
    c1.alarmEnabled = 1;
    c1.lowerAlarmX10 = 150;
    c1.upperAlarmX10 = 300;
    c1.rangeLowX10 = -400;
    c1.rangeHighX10 = 850;
    ChannelInfo& c3 = info.channel[2];
    c3.channelEnabled = 1;
    c3.channelType = 0x04;
    c3.quantityCode = 5;
    c3.unitCode = 8;
    info.channel[5].quantityCode = 27;  // beyond both tables
    info.channel[5].unitCode = 33;
    return info;
}

// A buffer with three records as the decoder leaves it for SampleInfo's channels: channel 1
// 21.5, missing, 22.5; channel 3 100.0, 102.0, missing.
std::unique_ptr<DownloadBuffer> SampleBuffer(const DeviceInfo& info) {
    auto b = std::make_unique<DownloadBuffer>();
    b->Begin(ChannelLayoutOf(info));
    const uint8_t reply[] = {0x28, 0x00, 0x1A, 0x00, 0x22, 0x00, 0x01, 26,   3,   7, 8, 0,
                             0,    0x00, 0xD7, 0x00, 0x00, 0xC8, 0x42, 26,   3,   7, 8, 1,
                             0,    0x80, 0x01, 0x00, 0x00, 0xCC, 0x42, 26,   3,   7, 8, 2,
                             0,    0x00, 0xE1, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x29};  // the checksum is not looked at by the decoder
    DecodeBlockRecords(reply, sizeof reply, *b);
    b->finished = true;
    return b;
}

TEST(FillRecordSet, EveryFieldFromItsSource) {
    const DeviceInfo info = SampleInfo();
    const auto buffer = SampleBuffer(info);
    ASSERT_EQ(buffer->recordCount, 3);
    RecordSet set;
    FillRecordSet(*buffer, info, Language::English, set);

    ASSERT_EQ(set.recordCount, 3);
    ASSERT_EQ(set.records.size(), 3u);
    EXPECT_EQ(set.records[1].minute, 1);
    EXPECT_EQ(set.records[0].value[0], 21.5f);
    EXPECT_FLOAT_EQ(set.records[1].value[0], -3276.7f);
    EXPECT_EQ(set.records[1].value[2], 102.0f);
    EXPECT_EQ(set.maxValue[0], 22.5f);
    EXPECT_EQ(set.minValue[0], 21.5f);
    EXPECT_FLOAT_EQ(set.avgValue[0], 22.0f) << "the marker is not averaged in";
    EXPECT_FLOAT_EQ(set.avgValue[2], 101.0f) << "4-byte channels are averaged too";
    EXPECT_EQ(set.avgValue[1], 0.0f);
    EXPECT_EQ(set.channelEnabled[0], 1);
    EXPECT_EQ(set.channelEnabled[1], 0);
    EXPECT_EQ(set.channelEnabled[2], 1);

    EXPECT_EQ(ReadField(set.serialNumber), "20261209");
    EXPECT_EQ(std::memcmp(set.model, "VLR-T810", 8), 0);
    EXPECT_EQ(ReadField(set.userName), "Alice");
    EXPECT_EQ(ReadField(set.title), "Cold room 3");
    EXPECT_EQ(ReadField(set.startModeText), "TimedSta");
    EXPECT_EQ(ReadField(set.stopModeText), "Memory full");
    EXPECT_EQ(ReadField(set.startTimeText), "2026-03-07 08:00:00");
    EXPECT_EQ(ReadField(set.timedStartText), "2026-03-07 07:00:00");
    EXPECT_EQ(ReadField(set.timedStopText), "2026-12-31 23:59:59");
    EXPECT_EQ(ReadField(set.recordModeText), "AutoMode");
    EXPECT_EQ(ReadField(set.workStatusText), "STOP");
    EXPECT_EQ(set.deviceRecordCount, 40000);
    EXPECT_EQ(set.overflowCount, 8000);
    EXPECT_EQ(set.storageCapacity, 32000);
    EXPECT_EQ(set.intervalSeconds, 3725);
    EXPECT_EQ(set.intervalHours, 1);
    EXPECT_EQ(set.intervalMinutes, 2);
    EXPECT_EQ(set.intervalSecondsPart, 5);
    EXPECT_EQ(set.firmwareVersion, 11);
    EXPECT_EQ(set.powerMode, 0x80);
    EXPECT_EQ(set.alarmEnabled[0], 1);
    EXPECT_EQ(set.lowerAlarmX10[0], 150);
    EXPECT_EQ(set.upperAlarmX10[0], 300);
    EXPECT_EQ(set.rangeLowX10[0], -400);
    EXPECT_EQ(set.rangeHighX10[0], 850);

    EXPECT_EQ(GbkToUtf8(UnitTextOf(set, 0)), "℃");
    EXPECT_EQ(QuantityTextOf(set, 0), "TEMP");
    EXPECT_EQ(QuantityTextOf(set, 2), "Pressuue");
    EXPECT_EQ(UnitTextOf(set, 2), "KPa");
    EXPECT_EQ(UnitTextOf(set, 5), "") << "no unit 33";
    EXPECT_EQ(QuantityTextOf(set, 5), "") << "no quantity 27";

    RecordSet chinese;
    FillRecordSet(*buffer, info, Language::Chinese, chinese);
    EXPECT_EQ(GbkToUtf8(QuantityTextOf(chinese, 0)), "温度");
    EXPECT_EQ(GbkToUtf8(QuantityTextOf(chinese, 2)), "压力");
}

TEST(SafeDataFileName, OrdinarySerialNumbersStayAsTheyAre) {
    EXPECT_EQ(SafeDataFileName("20261209"), "20261209");
    EXPECT_EQ(SafeDataFileName("KV-01.A_b"), "KV-01.A_b");
    // A GBK character whose second byte is 0x5C ('\') is one character, not a separator.
    EXPECT_EQ(SafeDataFileName("\xD5\x5C"
                               "01"),
              "\xD5\x5C"
              "01");
}

TEST(SafeDataFileName, NothingCanLeaveTheDataFolder) {
    EXPECT_EQ(SafeDataFileName("../x"), "___x");
    EXPECT_EQ(SafeDataFileName("a/b"), "a_b");
    EXPECT_EQ(SafeDataFileName("a\\b"), "a_b");
    EXPECT_EQ(SafeDataFileName(".."), "__");
    EXPECT_EQ(SafeDataFileName("..."), "__.");
    EXPECT_EQ(SafeDataFileName("/etc/passwd"), "_etc_passwd");
    EXPECT_EQ(SafeDataFileName(std::string("a\x01\x1F\x7F"
                                           "b",
                                           5)),
              "a___b");
    EXPECT_EQ(SafeDataFileName("a\nb"), "a_b");
    EXPECT_EQ(SafeDataFileName(std::string("ab\0/../c", 8)), "ab") << "the text ends at NUL";
    EXPECT_EQ(SafeDataFileName(""), kUnnamedDataFile);
    EXPECT_EQ(SafeDataFileName(std::string("\0x", 2)), kUnnamedDataFile);
}

TEST(DataFolders, FallbackFollowsXdgDataHome) {
    TempDir dir;
    {
        ScopedEnv xdg("XDG_DATA_HOME", dir.Path() + "/share");
        EXPECT_EQ(FallbackDataFolder(), dir.Path() + "/share/Velorin/xData");
    }
    ScopedEnv home("HOME", dir.Path());
    {
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(FallbackDataFolder(), dir.Path() + "/.local/share/Velorin/xData");
    }
    ScopedEnv relative("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(FallbackDataFolder(), dir.Path() + "/.local/share/Velorin/xData");
    EXPECT_EQ(PrimaryDataFolder("/opt/velorin/bin"), "/opt/velorin/bin/xData");
}

class StoreDownloadTest : public ::testing::Test {
protected:
    StoreOptions Default(Language language = Language::English) const {
        StoreOptions o;
        o.language = language;
        o.executableFolder = exe.Path();
        return o;
    }
    // What the engine reports for SampleBuffer: every block read.
    static DownloadResult Complete(int32_t records = 3) {
        DownloadResult r;
        r.finished = true;
        r.records = records;
        return r;
    }
    // A block that stayed invalid after `records` records had arrived.
    static DownloadResult Partial(int32_t records = 3) {
        DownloadResult r;
        r.records = records;
        DownloadWarning w;
        w.kind = DownloadWarningKind::BlockFailed;
        r.warnings.push_back(w);
        return r;
    }
    TempDir exe;
    TempDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.Path()};
    DeviceInfo info = SampleInfo();
    std::unique_ptr<DownloadBuffer> buffer = SampleBuffer(info);
};

TEST_F(StoreDownloadTest, DefaultRouteWritesXDataAndTheCsvCopy) {
    const StoreResult r = StoreDownload(*buffer, info, Complete(), Default());
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_FALSE(r.fallbackFolder);
    EXPECT_EQ(r.folder, exe.Path() + "/xData");
    EXPECT_EQ(r.kvPath, exe.Path() + "/xData/20261209.kv");
    EXPECT_TRUE(r.csvWritten) << r.detail;
    EXPECT_EQ(r.csvPath, exe.Path() + "/xData/20261209.kv.csv");
    EXPECT_TRUE(FileExists(r.csvPath));

    RecordSet back;
    ASSERT_TRUE(ReadKvFile(r.kvPath, back).ok());
    EXPECT_EQ(back.recordCount, 3);
    EXPECT_EQ(back.records[2].value[0], 22.5f);
    EXPECT_FLOAT_EQ(back.avgValue[0], 22.0f);
    EXPECT_EQ(QuantityTextOf(back, 0), "TEMP") << "English names in an English interface";

    const std::string csv = ReadFileBytes(r.csvPath);
    EXPECT_EQ(csv.rfind(Utf8ToGbk("用户名:"), 0), 0u);
    EXPECT_NE(csv.find("Record times:3\r\n"), std::string::npos) << "English CSV head";
}

TEST_F(StoreDownloadTest, ASecondDownloadReplacesTheFile) {
    ASSERT_TRUE(StoreDownload(*buffer, info, Complete(), Default()).ok);
    auto fewer = std::make_unique<DownloadBuffer>();
    fewer->Begin(ChannelLayoutOf(info));
    const StoreResult r = StoreDownload(*fewer, info, Complete(0), Default());
    ASSERT_TRUE(r.ok);
    RecordSet back;
    ASSERT_TRUE(ReadKvFile(r.kvPath, back).ok());
    EXPECT_EQ(back.recordCount, 0);
    EXPECT_EQ(KvFileSize(back), ReadFileBytes(r.kvPath).size());
}

TEST_F(StoreDownloadTest, AHostileSerialNumberStaysInsideXData) {
    for (const char* serial : {"../x", "a/b", "..", "\x01\x02"}) {
        info = SampleInfo(serial);
        const StoreResult r = StoreDownload(*buffer, info, Complete(), Default());
        ASSERT_TRUE(r.ok) << serial << ": " << r.detail;
        EXPECT_EQ(r.kvPath.rfind(exe.Path() + "/xData/", 0), 0u) << r.kvPath;
        EXPECT_EQ(r.kvPath.find('/', exe.Path().size() + 7), std::string::npos) << r.kvPath;
        EXPECT_TRUE(FileExists(r.kvPath));
    }
    EXPECT_TRUE(FileExists(exe.Path() + "/xData/___x.kv"));
    EXPECT_TRUE(FileExists(exe.Path() + "/xData/a_b.kv"));
    EXPECT_TRUE(FileExists(exe.Path() + "/xData/__.kv"));
    EXPECT_FALSE(FileExists(exe.Path() + "/x.kv"));
    EXPECT_FALSE(FileExists(exe.Path() + "/xData/a"));
}

TEST_F(StoreDownloadTest, AnUnusableProgramFolderFallsBackToTheUserDataFolder) {
    exe.MakeFile("xData", "not a folder");
    const StoreResult r = StoreDownload(*buffer, info, Complete(), Default());
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_TRUE(r.fallbackFolder);
    EXPECT_EQ(r.folder, data.Path() + "/Velorin/xData");
    EXPECT_EQ(r.kvPath, data.Path() + "/Velorin/xData/20261209.kv");
    EXPECT_TRUE(FileExists(r.kvPath));
    EXPECT_TRUE(r.csvWritten);
    EXPECT_TRUE(FileExists(data.Path() + "/Velorin/xData/20261209.kv.csv"));
    EXPECT_EQ(ReadFileBytes(exe.Path() + "/xData"), "not a folder");
}

TEST_F(StoreDownloadTest, NoUsableFolderAtAllWritesNothing) {
    exe.MakeFile("xData", "x");
    const std::string blocked = data.MakeFile("blocked", "x");
    ScopedEnv xdgBlocked("XDG_DATA_HOME", blocked);  // a file where the folder would go
    const StoreResult r = StoreDownload(*buffer, info, Complete(), Default());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.csvWritten);
    EXPECT_FALSE(r.detail.empty());
}

TEST_F(StoreDownloadTest, ChosenPathTakesChineseNamesAndNoCsv) {
    StoreOptions o = Default(Language::English);
    o.targetPath = data.Path() + "/chosen.kv";
    const StoreResult r = StoreDownload(*buffer, info, Complete(), o);
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.kvPath, o.targetPath);
    EXPECT_FALSE(r.csvWritten);
    EXPECT_FALSE(FileExists(o.targetPath + ".csv"));
    EXPECT_FALSE(FileExists(exe.Path() + "/xData")) << "the default folder is not touched";
    RecordSet back;
    ASSERT_TRUE(ReadKvFile(o.targetPath, back).ok());
    EXPECT_EQ(GbkToUtf8(QuantityTextOf(back, 0)), "温度");
    EXPECT_EQ(back.recordCount, 3);
}

TEST_F(StoreDownloadTest, ChosenPathThatCannotBeCreatedWritesNothing) {
    StoreOptions o = Default();
    o.targetPath = data.Path() + "/missing/folder/chosen.kv";
    const StoreResult r = StoreDownload(*buffer, info, Complete(), o);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.empty());
    EXPECT_FALSE(r.csvWritten);
    EXPECT_FALSE(FileExists(o.targetPath));
    EXPECT_FALSE(FileExists(o.targetPath + ".csv"));
}

TEST(PlanStore, OnlyAFailedCountOrNoRecordAtAllStoresNothing) {
    DownloadResult r;
    r.finished = true;  // a logger holding 0 blocks: a complete, empty download
    EXPECT_EQ(PlanStore(r), StorePlan::Complete);
    r.cancelled = true;
    EXPECT_EQ(PlanStore(r), StorePlan::Nothing);

    DownloadResult count;
    DownloadWarning w;
    w.kind = DownloadWarningKind::CountFailed;
    count.warnings.push_back(w);
    EXPECT_EQ(PlanStore(count), StorePlan::Nothing);

    DownloadResult block;
    w.kind = DownloadWarningKind::BlockFailed;
    block.warnings.push_back(w);
    EXPECT_EQ(PlanStore(block), StorePlan::Nothing) << "the first block never came";
    block.records = 1;
    EXPECT_EQ(PlanStore(block), StorePlan::Partial);
    DownloadResult full;
    full.records = kRecordCapacity;
    w.kind = DownloadWarningKind::CapacityReached;
    full.warnings.push_back(w);
    EXPECT_EQ(PlanStore(full), StorePlan::Partial);
}

TEST_F(StoreDownloadTest, AFailedCountLeavesTheEarlierFileAsItWas) {
    const StoreResult first = StoreDownload(*buffer, info, Complete(), Default());
    ASSERT_TRUE(first.ok);
    const std::string kv = ReadFileBytes(first.kvPath), csv = ReadFileBytes(first.csvPath);
    auto empty = std::make_unique<DownloadBuffer>();
    DownloadResult failed;
    DownloadWarning w;
    w.kind = DownloadWarningKind::CountFailed;
    failed.warnings.push_back(w);
    const StoreResult r = StoreDownload(*empty, info, failed, Default());
    EXPECT_EQ(r.plan, StorePlan::Nothing);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.stored, nullptr);
    EXPECT_EQ(ReadFileBytes(first.kvPath), kv);
    EXPECT_EQ(ReadFileBytes(first.csvPath), csv);
}

TEST_F(StoreDownloadTest, APartialDownloadGoesBesideACompleteOne) {
    const StoreResult first = StoreDownload(*buffer, info, Complete(), Default());
    ASSERT_TRUE(first.ok);
    const std::string complete = ReadFileBytes(first.kvPath);

    auto part = std::make_unique<DownloadBuffer>();
    part->Begin(ChannelLayoutOf(info));
    part->records.push_back(buffer->records[0]);
    part->recordCount = 1;
    StoreOptions o = Default();
    o.now = 1780000000;  // 2026-05-28 20:26:40 UTC
    // The name carries local time: stored here in UTC.
    auto storeInUtc = [&](const DownloadResult& result) {
        StoreResult stored;
        {
            ScopedEnv tz("TZ", "UTC");
            tzset();
            stored = StoreDownload(*part, info, result, o);
        }
        tzset();  // back to the zone the other tests run in
        return stored;
    };
    const StoreResult r = storeInUtc(Partial(1));
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.plan, StorePlan::Partial);
    EXPECT_EQ(r.kvPath, exe.Path() + "/xData/20261209-partial-20260528-202640.kv");
    EXPECT_EQ(r.keptPath, first.kvPath);
    EXPECT_EQ(ReadFileBytes(first.kvPath), complete) << "the complete download is kept";
    EXPECT_TRUE(r.csvWritten);
    EXPECT_EQ(r.csvPath, r.kvPath + ".csv");
    ASSERT_NE(r.stored, nullptr);
    EXPECT_EQ(r.stored->recordCount, 1);

    // A second partial download in the same second takes the next free name.
    const StoreResult again = storeInUtc(Partial(1));
    ASSERT_TRUE(again.ok) << again.detail;
    EXPECT_EQ(again.kvPath, exe.Path() + "/xData/20261209-partial-20260528-202640-2.kv");
    // A complete download replaces the usual name only.
    const StoreResult last = StoreDownload(*part, info, Complete(1), o);
    EXPECT_EQ(last.kvPath, first.kvPath);
    EXPECT_TRUE(FileExists(r.kvPath));
}

TEST_F(StoreDownloadTest, APartialDownloadWithTheNameFreeTakesIt) {
    const StoreResult r = StoreDownload(*buffer, info, Partial(), Default());
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.kvPath, exe.Path() + "/xData/20261209.kv");
    EXPECT_TRUE(r.keptPath.empty());
    // On the chosen path the same rule holds.
    StoreOptions o = Default();
    o.targetPath = data.Path() + "/chosen.kv";
    { std::ofstream(o.targetPath) << "earlier"; }
    const StoreResult chosen = StoreDownload(*buffer, info, Partial(), o);
    ASSERT_TRUE(chosen.ok) << chosen.detail;
    EXPECT_EQ(chosen.kvPath.rfind(data.Path() + "/chosen-partial-", 0), 0u) << chosen.kvPath;
    EXPECT_EQ(ReadFileBytes(o.targetPath), "earlier");
}

TEST_F(StoreDownloadTest, TheStoredFileIsReadBackOnceForTheWindow) {
    const StoreResult r = StoreDownload(*buffer, info, Complete(), Default());
    ASSERT_TRUE(r.ok);
    ASSERT_NE(r.stored, nullptr);
    EXPECT_EQ(SerializeKv(*r.stored), ReadFileBytes(r.kvPath));
    StoreOptions o = Default();
    o.wantStoredSet = false;
    EXPECT_EQ(StoreDownload(*buffer, info, Complete(), o).stored, nullptr);
}

TEST(FillRecordSet, ChannelsSevenAndEightAreMarkedNotRecorded) {
    DeviceInfo info = SampleInfo();
    EXPECT_FALSE(HasUnstorableChannels(info));
    info.channel[6].channelEnabled = 1;
    info.channel[6].channelType = 0x02;
    EXPECT_TRUE(HasUnstorableChannels(info));
    auto buffer = std::make_unique<DownloadBuffer>();
    buffer->Begin(ChannelLayoutOf(info));
    SampleRecord record;
    record.value[0] = 21.5f;
    record.value[6] = 5.0f;  // decoded, but no data file can keep it
    buffer->records.push_back(record);
    buffer->recordCount = 1;
    RecordSet set;
    FillRecordSet(*buffer, info, Language::English, set);
    EXPECT_EQ(set.channelEnabled[0], 1);
    EXPECT_EQ(set.channelEnabled[6], 0) << "a data file cannot hold its values";
    info.channel[6].channelEnabled = 0;
    info.channel[7].channelEnabled = 1;
    EXPECT_TRUE(HasUnstorableChannels(info));
}

}  // namespace
}  // namespace velorin
