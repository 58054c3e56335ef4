#include "view/record_panel_lines.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/language.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "view/lists_test_set.h"

namespace velorin {
namespace {

RecordSet PanelSet() {
    RecordSet set = test::ChannelsOneTwoFive(2);
    StoreInField(set.startTimeText, "2026-03-04 05:06:00");
    StoreInField(set.userName, "ABCDEFGHIJKLMNOPQRST");        // 20 bytes
    StoreInField(set.title, Utf8ToGbk("灭菌柜一号锅炉测试"));  // 18 bytes
    StoreInField(set.workStatusText, "STOP");
    set.deviceRecordCount = 1234;
    set.overflowCount = 2;
    StoreInField(set.startModeText, Utf8ToGbk("定时启动"));
    StoreInField(set.stopModeText, Utf8ToGbk("定时停止"));
    StoreInField(set.timedStartText, "2026-03-04 05:00:00");
    StoreInField(set.timedStopText, "2026-03-05 05:00:00");
    set.intervalHours = 1;
    set.intervalMinutes = 2;
    set.intervalSecondsPart = 3;
    StoreInField(set.recordModeText, "AutoMode");
    set.storageCapacity = 270336;
    set.powerMode = 0x80;
    std::memcpy(set.serialNumber, "123456789", 9);  // all nine bytes, no terminator
    std::memcpy(set.model, "KV-8CH-T", 8);          // fills its field without a terminator
    set.firmwareVersion = 23;
    set.alarmEnabled[0] = 1;
    set.upperAlarmX10[0] = 1250;
    set.lowerAlarmX10[0] = -55;
    set.rangeHighX10[0] = 1500;
    set.rangeLowX10[0] = -400;
    return set;
}

std::vector<std::string> Texts(const std::vector<PanelLine>& lines) {
    std::vector<std::string> out;
    for (const PanelLine& l : lines)
        out.push_back(std::string(static_cast<size_t>(l.depth) * 2, ' ') + GbkToUtf8(l.text));
    return out;
}

TEST(RecordPanelLines, ChineseLabelsWithTheirValues) {
    RecordSet set = PanelSet();
    const std::vector<PanelLine> lines = BuildRecordPanelLines(set, Language::Chinese);
    const std::vector<std::string> expected = {
        "基本属性",
        "  启动时间：2026-03-04 05:06:00",
        "  用 户 名：ABCDEFGHIJKLMNOP",
        "  标    题：灭菌柜一号锅炉测",
        "  工作状态：STOP",
        "  记录次数：1234",
        "  溢出次数：2",
        "  启动方式：定时启动",
        "    2026-03-04 05:00:00",
        "  停止方式：定时停止",
        "    2026-03-05 05:00:00",
        "  记录间隔：01:02:03",
        "  启动通道：1,2,5",
        "  记录模式：AutoMode",
        "  存储容量：270336",
        "  功耗模式：省电模式",
        "  序 列 号：123456789",
        "  型    号：KV-8CH-T",
        "  固件版本：V2.3",
        "通道属性",
        "  通道1类型:温度",
        "  通道1单位:℃",
        "  通道1报警使能:开启",
        "  通道1报警上限:125.0",
        "  通道1报警下限:-5.5",
        "  通道1量程上限:150.0",
        "  通道1量程下限:-40.0",
        "  通道2类型:湿度",
        "  通道2单位:%RH",
        "  通道2报警使能:关闭",
    };
    const std::vector<std::string> got = Texts(lines);
    ASSERT_GE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
    EXPECT_EQ(got.size(), 20u + 3 * 7);
    EXPECT_EQ(got.back(), "  通道5量程下限:0.0");
    EXPECT_TRUE(lines[0].expanded);
    EXPECT_TRUE(lines[7].expanded);  // timed start: expanded
    EXPECT_TRUE(lines[9].expanded);  // stop mode: always expanded
    EXPECT_TRUE(lines[19].expanded);
    EXPECT_FALSE(lines[1].expanded);
}

TEST(RecordPanelLines, EnglishLabelsWithTheirValues) {
    RecordSet set = PanelSet();
    set.powerMode = 0;
    const std::vector<std::string> got = Texts(BuildRecordPanelLines(set, Language::English));
    const std::vector<std::string> expected = {"Basic ATTR",
                                               "  Start Time2026-03-04 05:06:00",
                                               "  User Name:ABCDEFGHIJKLMNOP",
                                               "  Title:灭菌柜一号锅炉测",
                                               "  Work StatSTOP",
                                               "  Rec Num:1234",
                                               "  OverFlows:2",
                                               "  Start Mode:定时启动",
                                               "    2026-03-04 05:00:00",
                                               "  Stop Mode:定时停止",
                                               "    2026-03-05 05:00:00",
                                               "  Record interval:01:02:03",
                                               "  Start channel:1,2,5",
                                               "  Record mode:AutoMode",
                                               "  Storage capacity:270336",
                                               "  Power mode:Power Normal",
                                               "  SN:123456789",
                                               "  Modle:KV-8CH-T",
                                               "  Hard Ver:V2.3",
                                               "Channel ATTR",
                                               "  CH1Type:温度",
                                               "  CH1Unit:℃",
                                               "  CH1AlarmEN:Open",
                                               "  CH1Alarm upper limit:125.0",
                                               "  CH1Alarm lower limit:-5.5",
                                               "  CH1Range upper:150.0",
                                               "  CH1Range Lower:-40.0",
                                               "  CH2Type:湿度",
                                               "  CH2Unit:%RH",
                                               "  CH2AlarmEN:Closed"};
    ASSERT_GE(got.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
}

TEST(RecordPanelLines, UntimedModesLoseTheirTimesExceptTheEnglishStopTime) {
    RecordSet set = PanelSet();
    StoreInField(set.startModeText, Utf8ToGbk("手动启动"));
    StoreInField(set.stopModeText, Utf8ToGbk("先进先出"));
    std::vector<PanelLine> lines = BuildRecordPanelLines(set, Language::English);
    // Start mode without a child; the English stop mode always shows the stop time.
    EXPECT_EQ(lines[7].depth, 1);
    EXPECT_FALSE(lines[7].expanded);
    EXPECT_EQ(lines[8].depth, 1);
    EXPECT_EQ(lines[9].depth, 2);
    EXPECT_EQ(GbkToUtf8(lines[9].text), "2026-03-05 05:00:00");
    EXPECT_EQ(ReadField(set.timedStartText), "");
    EXPECT_EQ(ReadField(set.timedStopText), "2026-03-05 05:00:00");

    lines = BuildRecordPanelLines(set, Language::Chinese);
    EXPECT_EQ(lines[9].depth, 1);  // no stop time under the stop mode
    EXPECT_EQ(ReadField(set.timedStopText), "");

    // A timed start stored by the English interface ("TimedSta" in its 9-byte field) is recognised
    // in both languages.
    set = PanelSet();
    StoreInField(set.startModeText, "TimedStart");
    lines = BuildRecordPanelLines(set, Language::Chinese);
    EXPECT_EQ(lines[8].depth, 2);
    EXPECT_EQ(ReadField(set.timedStartText), "2026-03-04 05:00:00");
}

}  // namespace
}  // namespace velorin
