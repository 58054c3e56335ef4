// The .kv data file: byte layout, round trips, refusal of damaged files without touching the
// caller's data set, atomic writing and the extension check.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/text_codec.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

const std::string kCelsius = "\xA1\xE6";              // "℃" in GBK
const std::string kTemperature = "\xCE\xC2\xB6\xC8";  // "温度" in GBK
const std::string kHumidity = "\xCA\xAA\xB6\xC8";     // "湿度" in GBK

// A small set in which every field holds something recognisable.
RecordSet SampleSet(int records) {
    RecordSet set;
    set.records.resize(static_cast<size_t>(records));
    set.recordCount = records;
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = 24;
        r.month = 1 + i % 12;
        r.day = 7;
        r.hour = 23;
        r.minute = i % 60;
        r.second = 59;
        for (int c = 0; c < kRecordSetChannels; ++c) r.value[c] = 10.0f * c + 0.5f + i;
    }
    for (int c = 0; c < kRecordSetChannels; ++c) {
        set.maxValue[c] = 100.0f + c;
        set.minValue[c] = -5.0f - c;
        set.avgValue[c] = 20.25f + c;
        set.channelEnabled[c] = c < 2 ? 1 : 0;
        set.alarmEnabled[c] = static_cast<uint8_t>(c % 2);
        set.rangeLowX10[c] = static_cast<int16_t>(-400 - c);
        set.rangeHighX10[c] = static_cast<int16_t>(1250 + c);
        set.lowerAlarmX10[c] = static_cast<int16_t>(-100 * c);
        set.upperAlarmX10[c] = static_cast<int16_t>(300 + c);
    }
    StoreInField(set.startModeText, "TimedStart");
    StoreInField(set.stopModeText, "StopWhenFull");
    StoreInField(set.timedStartText, "2024-01-07 08:00:00");
    StoreInField(set.timedStopText, "2024-01-08 08:00:00");
    StoreInField(set.startTimeText, "2024-01-07 08:00:05");
    StoreInField(set.userName, "Lab 3");
    StoreInField(set.title, "Autoclave run");
    set.deviceRecordCount = records;
    set.overflowCount = 3;
    set.storageCapacity = 270336;
    set.intervalSeconds = 3725;
    set.intervalHours = 1;
    set.intervalMinutes = 2;
    set.intervalSecondsPart = 5;
    StoreInField(set.recordModeText, "AutoMode");
    StoreInField(set.workStatusText, "STOP");
    StoreInField(set.serialNumber, "12345678");
    std::memcpy(set.model, "KV-2008", 7);
    set.firmwareVersion = 23;
    set.powerMode = 0x80;
    SetUnitText(set, 0, kCelsius);
    SetQuantityText(set, 0, kTemperature);
    SetUnitText(set, 1, "%RH");
    SetQuantityText(set, 1, kHumidity);
    return set;
}

KvReadResult Read(const std::string& bytes, RecordSet& set) {
    return ReadKvBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), set);
}

// Everything a read could change, including what the file does not hold (channels 7 and 8,
// the in-memory report times, the vector's size).
std::string Fingerprint(const RecordSet& set) {
    std::string f = SerializeKv(set);
    f += std::to_string(set.records.size()) + "/" + std::to_string(set.recordCount) + "/";
    for (const SampleRecord& r : set.records) {
        f.append(reinterpret_cast<const char*>(&r.value[6]), 2 * sizeof(float));
    }
    f.append(reinterpret_cast<const char*>(set.maxTime), sizeof set.maxTime);
    f.append(reinterpret_cast<const char*>(set.minTime), sizeof set.minTime);
    return f;
}

// A target that already holds a different data set, with in-memory-only fields set.
RecordSet OccupiedTarget() {
    RecordSet set = SampleSet(3);
    StoreInField(set.title, "already open");
    set.records[1].value[6] = 77.0f;
    set.maxTime[2].hour = 9;
    return set;
}

uint32_t U32At(const std::string& b, size_t offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b.at(offset + i));
    return v;
}

std::string At(const std::string& b, size_t offset, size_t count) { return b.substr(offset, count); }

// Writes the file field by field in the documented order, independently of the writer.
class FileBuilder {
public:
    FileBuilder& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
        return *this;
    }
    FileBuilder& F32(float f) {
        int32_t v;
        std::memcpy(&v, &f, 4);
        return I32(v);
    }
    FileBuilder& I16(int16_t v) {
        bytes_.push_back(static_cast<char>(v & 0xFF));
        bytes_.push_back(static_cast<char>((static_cast<uint16_t>(v) >> 8) & 0xFF));
        return *this;
    }
    FileBuilder& Byte(uint8_t v) {
        bytes_.push_back(static_cast<char>(v));
        return *this;
    }
    FileBuilder& Field(const std::string& text, size_t width) {
        std::string f = text.substr(0, width);
        f.resize(width, '\0');
        bytes_ += f;
        return *this;
    }
    FileBuilder& Raw(const std::string& text) {
        bytes_ += text;
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// ---- layout -------------------------------------------------------------------------------

TEST(KvLayout, FieldOffsetsOfATwoRecordSet) {
    RecordSet set = SampleSet(2);
    set.records[0].value[0] = 25.5f;  // 0x41CC0000
    set.records[1].value[5] = -1.0f;  // 0xBF800000
    set.maxValue[0] = 2.0f;           // 0x40000000
    set.avgValue[7] = 0.5f;           // 0x3F000000
    const std::string b = SerializeKv(set);
    ASSERT_EQ(b.size(), 48u * 2 + 492 + 2 + 4 + 3 + 4);

    EXPECT_EQ(U32At(b, 0), 2u);                                   // record count
    EXPECT_EQ(U32At(b, 4), 24u);                                  // first record: year
    EXPECT_EQ(U32At(b, 8), 1u);                                   // month
    EXPECT_EQ(U32At(b, 24), 59u);                                 // second
    EXPECT_EQ(At(b, 28, 4), std::string("\x00\x00\xCC\x41", 4));  // value of channel 1
    EXPECT_EQ(U32At(b, 52), 24u);                                 // second record starts after 48 bytes
    EXPECT_EQ(U32At(b, 52 + 24 + 20), 0xBF800000u);               // its channel 6 value, the last stored
    // Per-channel statistics right after the records: max, min, enabled, average.
    EXPECT_EQ(U32At(b, 100), 0x40000000u);
    EXPECT_EQ(U32At(b, 100 + 8), 1u);       // channel 1 enabled
    EXPECT_EQ(U32At(b, 100 + 16 + 8), 1u);  // channel 2 enabled
    EXPECT_EQ(U32At(b, 100 + 32 + 8), 0u);  // channel 3 not
    EXPECT_EQ(U32At(b, 100 + 7 * 16 + 12), 0x3F000000u);
    EXPECT_EQ(At(b, 228, 9), std::string("TimedSta\0", 9));  // start mode, cut to its field
    EXPECT_EQ(At(b, 237, 13), std::string("StopWhenFull\0", 13));
    EXPECT_EQ(At(b, 250, 25), std::string("2024-01-07 08:00:00\0\0\0\0\0\0", 25));
    EXPECT_EQ(At(b, 275, 19), "2024-01-08 08:00:00");
    EXPECT_EQ(At(b, 300, 19), "2024-01-07 08:00:05");
    EXPECT_EQ(At(b, 325, 31), std::string("Lab 3") + std::string(26, '\0'));  // user name
    EXPECT_EQ(At(b, 356, 13), "Autoclave run");                               // title
    EXPECT_EQ(U32At(b, 387), 2u);                                             // device record count
    EXPECT_EQ(U32At(b, 391), 3u);                                             // overflow count
    EXPECT_EQ(U32At(b, 395), 3725u);                                          // interval in seconds
    EXPECT_EQ(U32At(b, 399), 1u);                                             // hours
    EXPECT_EQ(U32At(b, 403), 2u);                                             // minutes
    EXPECT_EQ(U32At(b, 407), 5u);                                             // seconds part
    EXPECT_EQ(At(b, 411, 9), std::string("AutoMode\0", 9));
    EXPECT_EQ(At(b, 420, 5), std::string("STOP\0", 5));
    EXPECT_EQ(U32At(b, 429), 270336u);              // storage capacity
    EXPECT_EQ(static_cast<uint8_t>(b[433]), 0x80);  // power mode
    EXPECT_EQ(static_cast<uint8_t>(b[434]), 23);    // firmware version
    EXPECT_EQ(At(b, 435, 8), std::string("KV-2008\0", 8));
    EXPECT_EQ(At(b, 443, 9), std::string("12345678\0", 9));  // serial number
    // Channel texts: length, bytes without terminator, for unit then quantity, channel by channel.
    EXPECT_EQ(U32At(b, 452), 2u);
    EXPECT_EQ(At(b, 456, 2), kCelsius);
    EXPECT_EQ(U32At(b, 458), 4u);
    EXPECT_EQ(At(b, 462, 4), kTemperature);
    EXPECT_EQ(U32At(b, 466), 3u);
    EXPECT_EQ(At(b, 470, 3), "%RH");
    EXPECT_EQ(U32At(b, 473), 4u);
    EXPECT_EQ(At(b, 477, 4), kHumidity);
    for (size_t channel = 2; channel < 8; ++channel) {
        EXPECT_EQ(U32At(b, 481 + (channel - 2) * 8), 0u);
        EXPECT_EQ(U32At(b, 485 + (channel - 2) * 8), 0u);
    }
    const size_t alarms = 481 + 6 * 8;
    EXPECT_EQ(At(b, alarms, 8), std::string("\0\1\0\1\0\1\0\1", 8));
    EXPECT_EQ(At(b, alarms + 8, 4), std::string("\x70\xFE\x6F\xFE", 4));  // -400, -401
    EXPECT_EQ(At(b, alarms + 24, 2), std::string("\xE2\x04", 2));         // 1250
    EXPECT_EQ(At(b, alarms + 40 + 2, 2), std::string("\x9C\xFF", 2));     // -100
    EXPECT_EQ(At(b, alarms + 56 + 14, 2), std::string("\x33\x01", 2));    // 307
    EXPECT_EQ(alarms + 72, b.size());
}

TEST(KvLayout, HandAssembledFileDecodesIntoEveryField) {
    FileBuilder f;
    f.I32(1);
    f.I32(25).I32(12).I32(31).I32(22).I32(58).I32(7);
    for (int c = 0; c < 6; ++c) f.F32(1.5f + c);
    for (int c = 0; c < 8; ++c) f.F32(90.0f + c).F32(-9.0f - c).I32(c == 3).F32(40.0f + c);
    f.Field("Manual", 9).Field("FullStop", 13).Field("2025-12-01 00:00:00", 25);
    f.Field("", 25).Field("2025-12-31 22:00:00", 25);
    f.Field(std::string(30, 'u'), 31).Field("Title", 31);
    f.I32(1).I32(0).I32(60).I32(0).I32(1).I32(0);
    f.Field("HandMode", 9).Field("Recording", 9);
    f.I32(32768).Byte(0x01).Byte(15).Raw("ABCDEFGH").Field("SN0000001", 9);
    for (int c = 0; c < 8; ++c) {
        if (c == 3) {
            f.I32(20).Raw(std::string(20, 'x')).I32(0);
        } else {
            f.I32(0).I32(0);
        }
    }
    for (int c = 0; c < 8; ++c) f.Byte(c == 3);
    for (int c = 0; c < 8; ++c) f.I16(static_cast<int16_t>(-10 * c));
    for (int c = 0; c < 8; ++c) f.I16(static_cast<int16_t>(10 * c));
    for (int c = 0; c < 8; ++c) f.I16(static_cast<int16_t>(-32768 + c));
    for (int c = 0; c < 8; ++c) f.I16(static_cast<int16_t>(32767 - c));

    RecordSet set;
    const KvReadResult r = Read(f.Bytes(), set);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_TRUE(r.detail.empty());
    EXPECT_EQ(r.trailingBytes, 0u);
    ASSERT_EQ(set.recordCount, 1);
    ASSERT_EQ(set.records.size(), 1u);
    const SampleRecord& rec = set.records[0];
    EXPECT_EQ(rec.year, 25);
    EXPECT_EQ(rec.month, 12);
    EXPECT_EQ(rec.day, 31);
    EXPECT_EQ(rec.hour, 22);
    EXPECT_EQ(rec.minute, 58);
    EXPECT_EQ(rec.second, 7);
    EXPECT_FLOAT_EQ(rec.value[0], 1.5f);
    EXPECT_FLOAT_EQ(rec.value[5], 6.5f);
    EXPECT_EQ(rec.value[6], 0.0f);
    EXPECT_EQ(rec.value[7], 0.0f);
    EXPECT_FLOAT_EQ(set.maxValue[7], 97.0f);
    EXPECT_FLOAT_EQ(set.minValue[2], -11.0f);
    EXPECT_FLOAT_EQ(set.avgValue[0], 40.0f);
    EXPECT_EQ(set.channelEnabled[3], 1);
    EXPECT_EQ(set.channelEnabled[4], 0);
    EXPECT_EQ(ReadField(set.startModeText), "Manual");
    EXPECT_EQ(ReadField(set.stopModeText), "FullStop");
    EXPECT_EQ(ReadField(set.timedStartText), "2025-12-01 00:00:00");
    EXPECT_EQ(ReadField(set.timedStopText), "");
    EXPECT_EQ(ReadField(set.startTimeText), "2025-12-31 22:00:00");
    EXPECT_EQ(ReadField(set.userName), std::string(30, 'u'));
    EXPECT_EQ(ReadField(set.title), "Title");
    EXPECT_EQ(set.deviceRecordCount, 1);
    EXPECT_EQ(set.overflowCount, 0);
    EXPECT_EQ(set.intervalSeconds, 60);
    EXPECT_EQ(set.intervalHours, 0);
    EXPECT_EQ(set.intervalMinutes, 1);
    EXPECT_EQ(set.intervalSecondsPart, 0);
    EXPECT_EQ(ReadField(set.recordModeText), "HandMode");
    EXPECT_EQ(ReadField(set.workStatusText), "Recording");  // fills its 9 bytes
    EXPECT_EQ(set.storageCapacity, 32768);
    EXPECT_EQ(set.powerMode, 0x01);
    EXPECT_EQ(set.firmwareVersion, 15);
    EXPECT_EQ(ReadField(set.model), "ABCDEFGH");
    EXPECT_EQ(ReadField(set.serialNumber), "SN0000001");
    EXPECT_EQ(set.unitLength[3], 20);
    EXPECT_EQ(UnitTextOf(set, 3), std::string(20, 'x'));
    EXPECT_EQ(set.quantityLength[3], 0);
    EXPECT_EQ(UnitTextOf(set, 0), "");
    EXPECT_EQ(set.alarmEnabled[3], 1);
    EXPECT_EQ(set.alarmEnabled[2], 0);
    EXPECT_EQ(set.rangeLowX10[7], -70);
    EXPECT_EQ(set.rangeHighX10[7], 70);
    EXPECT_EQ(set.lowerAlarmX10[0], -32768);
    EXPECT_EQ(set.upperAlarmX10[0], 32767);
    EXPECT_EQ(set.upperAlarmX10[7], 32760);
    // Writing it again gives the same bytes.
    EXPECT_EQ(SerializeKv(set), f.Bytes());
}

TEST(KvLayout, UnusedBytesOfAChannelTextAreZeroAfterReading) {
    RecordSet source = SampleSet(1);
    std::string bytes = SerializeKv(source);
    RecordSet set;
    std::memset(set.unitText[0], 'Z', sizeof set.unitText[0]);  // overwritten by the read
    ASSERT_TRUE(Read(bytes, set).ok());
    EXPECT_EQ(std::string(set.unitText[0], 20), kCelsius + std::string(18, '\0'));
    EXPECT_EQ(std::string(set.quantityText[1], 20), kHumidity + std::string(16, '\0'));
}

// ---- round trips ---------------------------------------------------------------------------

TEST(KvRoundTrip, WriteReadWriteGivesTheSameBytes) {
    test::TempDir dir;
    const std::string first = dir.Path() + "/first.kv";
    const std::string second = dir.Path() + "/second.kv";
    RecordSet set = SampleSet(50);
    set.records[7].value[3] = kMissingValue2Byte;
    set.records[8].value[4] = kMissingValue4Byte;
    uint32_t nanBits = 0x7FA00001;  // a signalling NaN must keep its payload
    std::memcpy(&set.records[9].value[2], &nanBits, 4);
    ASSERT_TRUE(WriteKvFile(first, set).ok);

    RecordSet loaded;
    const KvReadResult r = ReadKvFile(first, loaded);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(r.trailingBytes, 0u);
    EXPECT_EQ(loaded.recordCount, 50);
    EXPECT_EQ(loaded.records.size(), 50u);
    EXPECT_EQ(loaded.records[7].value[3], kMissingValue2Byte);
    EXPECT_EQ(loaded.records[8].value[4], kMissingValue4Byte);
    EXPECT_EQ(loaded.records[49].minute, 49);
    ASSERT_TRUE(WriteKvFile(second, loaded).ok);
    const std::string a = test::ReadFileBytes(first);
    EXPECT_EQ(a, test::ReadFileBytes(second));
    EXPECT_EQ(a, SerializeKv(set));
}

// The reader moves records through a 64 KiB buffer (1365 records at a time): a set of several
// such pieces reads back whole and in order, and a cut at or near a piece boundary is refused.
TEST(KvRoundTrip, RecordsSpanningSeveralReadPiecesKeepTheirOrder) {
    test::TempDir dir;
    RecordSet set = SampleSet(4000);
    for (int i = 0; i < 4000; ++i) set.records[static_cast<size_t>(i)].value[5] = static_cast<float>(i);
    const std::string path = dir.Path() + "/long.kv";
    ASSERT_TRUE(WriteKvFile(path, set).ok);
    RecordSet loaded;
    ASSERT_TRUE(ReadKvFile(path, loaded).ok());
    ASSERT_EQ(loaded.records.size(), 4000u);
    for (int i : {0, 1364, 1365, 1366, 2729, 2730, 3999}) {
        EXPECT_EQ(loaded.records[static_cast<size_t>(i)].value[5], static_cast<float>(i)) << i;
        EXPECT_EQ(loaded.records[static_cast<size_t>(i)].minute, i % 60) << i;
        EXPECT_EQ(loaded.records[static_cast<size_t>(i)].value[6], 0.0f) << i;
    }

    const std::string bytes = SerializeKv(set);
    for (size_t records : {1365u, 2730u}) {
        for (size_t cut : {4 + 48 * records - 1, 4 + 48 * records, 4 + 48 * records + 1}) {
            RecordSet target;
            const std::string shorter = dir.MakeFile("cut.kv", bytes.substr(0, cut));
            EXPECT_EQ(ReadKvFile(shorter, target).error, KvReadError::Truncated) << cut;
            EXPECT_TRUE(target.records.empty()) << cut;
        }
    }
}

TEST(KvRoundTrip, FileSizeIsRecordsPlusFixedPartPlusTexts) {
    test::TempDir dir;
    struct Case {
        int records;
        std::vector<std::string> units, quantities;
    };
    const std::vector<Case> cases = {
        {0, {}, {}},
        {1, {"C"}, {}},
        {17, {kCelsius, "%RH", std::string(20, 'u')}, {kTemperature, "", std::string(20, 'q')}},
        {300, {"a", "b", "c", "d", "e", "f", "g", "h"}, {"1", "22", "333", "4444", "5", "6", "7", "8"}},
    };
    for (const Case& c : cases) {
        RecordSet set;
        set.records.resize(static_cast<size_t>(c.records));
        set.recordCount = c.records;
        uint64_t texts = 0;
        for (size_t i = 0; i < c.units.size(); ++i) {
            SetUnitText(set, static_cast<int>(i), c.units[i]);
            texts += c.units[i].size();
        }
        for (size_t i = 0; i < c.quantities.size(); ++i) {
            SetQuantityText(set, static_cast<int>(i), c.quantities[i]);
            texts += c.quantities[i].size();
        }
        const uint64_t expected = 48u * static_cast<uint64_t>(c.records) + 492 + texts;
        EXPECT_EQ(KvFileSize(set), expected) << c.records;
        EXPECT_EQ(SerializeKv(set).size(), expected) << c.records;
        const std::string path = dir.Path() + "/size.kv";
        ASSERT_TRUE(WriteKvFile(path, set).ok);
        EXPECT_EQ(std::filesystem::file_size(path), expected) << c.records;
    }
}

TEST(KvRoundTrip, EmptySetIsTheFixedPartAndItsTextsAndOpensEmpty) {
    test::TempDir dir;
    RecordSet set = SampleSet(0);
    const std::string path = dir.Path() + "/empty.kv";
    ASSERT_TRUE(WriteKvFile(path, set).ok);
    EXPECT_EQ(std::filesystem::file_size(path), 492u + 2 + 4 + 3 + 4);

    RecordSet loaded = OccupiedTarget();
    const KvReadResult r = ReadKvFile(path, loaded);
    ASSERT_TRUE(r.ok()) << r.detail;
    EXPECT_EQ(loaded.recordCount, 0);
    EXPECT_TRUE(loaded.records.empty());
    EXPECT_EQ(ReadField(loaded.title), "Autoclave run");
    EXPECT_EQ(QuantityTextOf(loaded, 1), kHumidity);

    RecordSet blank;
    EXPECT_EQ(SerializeKv(blank), std::string(492, '\0'));
}

TEST(KvRoundTrip, TextsThatFillTheirFieldReadBackBounded) {
    RecordSet set = SampleSet(2);                      // the offsets below are those of two records
    StoreInField(set.userName, std::string(30, 'N'));  // 30 bytes + terminator
    std::memcpy(set.serialNumber, "ABCDEFGHI", 9);     // whole field, no terminator
    std::memcpy(set.model, "MODEL-08", 8);             // whole field, no terminator
    const std::string bytes = SerializeKv(set);
    EXPECT_EQ(bytes[325 + 30], '\0');
    EXPECT_EQ(At(bytes, 435, 17), "MODEL-08ABCDEFGHI");

    RecordSet loaded;
    ASSERT_TRUE(Read(bytes, loaded).ok());
    EXPECT_EQ(ReadField(loaded.userName), std::string(30, 'N'));
    EXPECT_EQ(loaded.userName[30], '\0');
    EXPECT_EQ(ReadField(loaded.model), "MODEL-08");          // stops at the model's 8 bytes
    EXPECT_EQ(ReadField(loaded.serialNumber), "ABCDEFGHI");  // and not in the next field
}

TEST(KvRoundTrip, ChannelsSevenAndEightDoNotSurvive) {
    RecordSet set = SampleSet(4);
    ASSERT_NE(set.records[2].value[6], 0.0f);
    RecordSet loaded = OccupiedTarget();  // its channel 7 of record 1 holds 77
    ASSERT_TRUE(Read(SerializeKv(set), loaded).ok());
    for (const SampleRecord& r : loaded.records) {
        EXPECT_EQ(r.value[6], 0.0f);
        EXPECT_EQ(r.value[7], 0.0f);
    }
    EXPECT_FLOAT_EQ(loaded.records[2].value[5], set.records[2].value[5]);
    // Statistics of channels 7 and 8 are part of the file and do survive.
    EXPECT_FLOAT_EQ(loaded.maxValue[7], set.maxValue[7]);
}

TEST(KvRoundTrip, InconsistentCountsInMemoryStillWriteAReadableFile) {
    RecordSet set = SampleSet(3);
    set.recordCount = 10;  // more than the vector holds
    set.unitLength[2] = 25;
    set.quantityLength[3] = -4;
    const std::string bytes = SerializeKv(set);
    EXPECT_EQ(bytes.size(), KvFileSize(set));
    EXPECT_EQ(bytes.size(), 48u * 3 + 492 + 2 + 4 + 3 + 4 + 20);
    RecordSet loaded;
    ASSERT_TRUE(Read(bytes, loaded).ok());
    EXPECT_EQ(loaded.recordCount, 3);
    EXPECT_EQ(loaded.unitLength[2], 20);
    EXPECT_EQ(loaded.quantityLength[3], 0);

    set.recordCount = 1;  // fewer: only the valid entries are written
    RecordSet one;
    ASSERT_TRUE(Read(SerializeKv(set), one).ok());
    EXPECT_EQ(one.records.size(), 1u);
}

TEST(KvRoundTrip, TrailingBytesAreAcceptedAndCounted) {
    test::TempDir dir;
    const std::string bytes = SerializeKv(SampleSet(2));
    RecordSet loaded;
    KvReadResult r = Read(bytes + "padding", loaded);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.trailingBytes, 7u);
    EXPECT_EQ(SerializeKv(loaded), bytes);

    const std::string path = dir.MakeFile("padded.kv", bytes + std::string(1000, '\xFF'));
    r = ReadKvFile(path, loaded);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.trailingBytes, 1000u);
}

// ---- refusals ------------------------------------------------------------------------------

class KvRefusal : public ::testing::Test {
protected:
    void ExpectRefused(const std::string& bytes, KvReadError error) {
        RecordSet target = OccupiedTarget();
        const std::string before = Fingerprint(target);
        const KvReadResult r = Read(bytes, target);
        EXPECT_EQ(r.error, error) << r.detail;
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.detail.empty());
        EXPECT_EQ(Fingerprint(target), before) << "the target changed";
    }
    static void PutI32(std::string& b, size_t offset, int32_t v) {
        for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    }
    std::string valid = SerializeKv(SampleSet(2));
};

TEST_F(KvRefusal, RecordCountOutsideTheCapacity) {
    for (int32_t n : {270337, -1, INT32_MIN, INT32_MAX}) {
        std::string b = valid;
        PutI32(b, 0, n);
        ExpectRefused(b, KvReadError::TooManyRecords);
    }
    // A count at the capacity is refused only because the file is far too short for it.
    std::string b = valid;
    PutI32(b, 0, kRecordCapacity);
    ExpectRefused(b, KvReadError::Truncated);
}

TEST_F(KvRefusal, TextLengthOutsideItsField) {
    const size_t units = 4 + 2 * 48 + 128 + 224;  // first unit length
    std::string b = valid;
    PutI32(b, units, 21);
    ExpectRefused(b, KvReadError::TextTooLong);
    b = valid;
    PutI32(b, units + 4 + 2, -1);  // channel 1's quantity length
    ExpectRefused(b, KvReadError::TextTooLong);
    b = valid;
    PutI32(b, units + 14 + 4 + 3, INT32_MIN);  // channel 2's quantity length
    ExpectRefused(b, KvReadError::TextTooLong);
    b = valid;
    PutI32(b, b.size() - 72 - 4, 21);  // channel 8's quantity length, the last text
    ExpectRefused(b, KvReadError::TextTooLong);
}

TEST_F(KvRefusal, EveryTruncationPoint) {
    ASSERT_TRUE([&] {
        RecordSet s;
        return Read(valid, s).ok();
    }());
    for (size_t length = 0; length < valid.size(); ++length) {
        SCOPED_TRACE("cut at " + std::to_string(length));
        ExpectRefused(valid.substr(0, length), KvReadError::Truncated);
    }
    RecordSet target = OccupiedTarget();
    EXPECT_EQ(ReadKvBytes(nullptr, 0, target).error, KvReadError::Truncated);
}

TEST_F(KvRefusal, FilesThatCannotBeReadLeaveTheTargetAlone) {
    test::TempDir dir;
    RecordSet target = OccupiedTarget();
    const std::string before = Fingerprint(target);

    KvReadResult r = ReadKvFile(dir.Path() + "/missing.kv", target);
    EXPECT_EQ(r.error, KvReadError::CannotOpen);
    EXPECT_EQ(r.detail, std::strerror(ENOENT));
    r = ReadKvFile(dir.MakeDir("folder.kv"), target);
    EXPECT_EQ(r.error, KvReadError::CannotOpen);
    r = ReadKvFile(dir.MakeFile("short.kv", valid.substr(0, 300)), target);
    EXPECT_EQ(r.error, KvReadError::Truncated);
    EXPECT_EQ(Fingerprint(target), before);
}

// ---- writing -------------------------------------------------------------------------------

TEST(KvWrite, MissingFolderIsReported) {
    test::TempDir dir;
    const KvWriteResult r = WriteKvFile(dir.Path() + "/no/such/folder/a.kv", SampleSet(1));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.detail, std::strerror(ENOENT));
}

TEST(KvWrite, FailedWriteKeepsTheExistingFile) {
    test::TempDir dir;
    const std::string path = dir.MakeFile("kept.kv", "old content");
    // Files may not grow past 4 KB for the moment: the new file (about 48 KB) cannot be written.
    // This works for every user, root included.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const KvWriteResult r = WriteKvFile(path, SampleSet(1000));
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.empty());
    EXPECT_EQ(test::ReadFileBytes(path), "old content");
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) entries += e.exists();
    EXPECT_EQ(entries, 1u) << "the temporary file was left behind";
}

// ---- extension -----------------------------------------------------------------------------

TEST(KvExtension, LooksForLowerCaseKvAfterTheFirstCharacter) {
    EXPECT_TRUE(HasKvExtension("x.kv"));
    EXPECT_TRUE(HasKvExtension("a.kv.bak"));
    EXPECT_TRUE(HasKvExtension("/home/user/xData/12345678.kv"));
    EXPECT_TRUE(HasKvExtension("..kv"));
    EXPECT_FALSE(HasKvExtension(".kv"));
    EXPECT_FALSE(HasKvExtension("x.KV"));
    EXPECT_FALSE(HasKvExtension("x.Kv"));
    EXPECT_FALSE(HasKvExtension("x.k"));
    EXPECT_FALSE(HasKvExtension(""));
    EXPECT_FALSE(HasKvExtension("data.csv"));
}

}  // namespace
}  // namespace velorin
