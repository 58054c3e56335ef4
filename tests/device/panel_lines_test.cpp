// The property panel's lines in both languages, from a DeviceInfo as a logger would fill it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/language.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "device/panel_lines.h"

namespace velorin {
namespace {

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

// Renders lines the way the CLI prints them, in UTF-8, for whole-panel comparisons.
std::string Render(const std::vector<PanelLine>& lines) {
    std::string out;
    for (const PanelLine& l : lines) {
        out += std::string(static_cast<size_t>(l.depth) * 2, ' ') + GbkToUtf8(l.text) + "\n";
    }
    return out;
}

DeviceInfo SampleInfo(Language language) {
    DeviceInfo info;
    // Decode a realistic information block so the labels are what the logger read produces.
    uint8_t data[kInfoDataBytes] = {};
    const std::string user = G("冷库管理员");
    std::copy(user.begin(), user.end(), data);
    const std::string title = "Cold room 3";
    std::copy(title.begin(), title.end(), data + 30);
    data[63] = 1;     // automatic
    data[64] = 1;     // recording
    data[65] = 2;     // timed start
    data[66] = 3;     // fifo
    data[68] = 0x80;  // power saving
    data[69] = 0;
    data[70] = 0;
    data[71] = 0x0E;
    data[72] = 0x8D;  // 3725 s
    data[74] = 0x45;  // channels 1, 3 and 7
    const uint8_t start[6] = {24, 3, 7, 8, 5, 0};
    const uint8_t timedStart[6] = {24, 3, 8, 9, 0, 0};
    const uint8_t timedStop[6] = {24, 4, 1, 0, 0, 0};
    std::copy(start, start + 6, data + 75);
    std::copy(timedStart, timedStart + 6, data + 81);
    std::copy(timedStop, timedStop + 6, data + 87);
    data[102] = 100;  // 100 records
    DecodeInfoBlock(info, data, TextsFor(language));
    const char identity[] =
        "VLR-T810\0"
        "20261209\0\0\x0b\x00\x00\x7d\x00";
    uint8_t id[kIdentityDataBytes];
    std::copy(identity, identity + kIdentityDataBytes, id);
    ApplyIdentity(info, id);

    ChannelInfo& c1 = info.channel[0];
    c1.quantityCode = 1;
    c1.unitCode = 1;
    c1.alarmEnabled = 1;
    c1.upperAlarmX10 = 400;
    c1.lowerAlarmX10 = -125;
    c1.rangeHighX10 = 850;
    c1.rangeLowX10 = -400;
    ChannelInfo& c3 = info.channel[2];
    c3.quantityCode = 2;
    c3.unitCode = 4;
    c3.alarmEnabled = 0;
    c3.upperAlarmX10 = 800;
    c3.lowerAlarmX10 = 200;
    c3.rangeHighX10 = 1000;
    c3.rangeLowX10 = 0;
    ChannelInfo& c7 = info.channel[6];
    c7.quantityCode = 7;
    c7.unitCode = 44;  // AC voltage: unit entry 12 ("V")
    return info;
}

TEST(PanelLines, ChinesePanelMatchesTheLoggerSettings) {
    DeviceInfo info = SampleInfo(Language::Chinese);
    EXPECT_EQ(Render(BuildPanelLines(info, Language::Chinese)),
              "基本属性\n"
              "  启动时间：2024-03-07 08:05:00\n"
              "  用 户 名：冷库管理员\n"
              "  标    题：Cold room 3\n"
              "  工作状态：正在记录\n"
              "  记录次数：100\n"
              "  溢出次数：0\n"
              "  启动方式：定时启动\n"
              "    2024-03-08 09:00:00\n"
              "  停止方式：先进先出\n"
              "  记录间隔：01:02:05\n"
              "  启动通道：1,3\n"
              "  记录模式：自动模式\n"
              "  存储容量：32000\n"
              "  功耗模式：省电模式\n"
              "  序 列 号：20261209\n"
              "  型    号：VLR-T810\n"
              "  固件版本：V1.1\n"
              "通道属性\n"
              "  通道1类型:温度\n"
              "  通道1单位:℃\n"
              "  通道1报警使能:开启\n"
              "  通道1报警上限:40.0\n"
              "  通道1报警下限:-12.5\n"
              "  通道1量程上限:85.0\n"
              "  通道1量程下限:-40.0\n"
              "  通道3类型:湿度\n"
              "  通道3单位:％RH\n"
              "  通道3报警使能:关闭\n"
              "  通道3报警上限:80.0\n"
              "  通道3报警下限:20.0\n"
              "  通道3量程上限:100.0\n"
              "  通道3量程下限:0.0\n"
              "  通道7类型:电压AC\n"
              "  通道7单位:V\n"
              "  通道7报警使能:关闭\n"
              "  通道7报警上限:0.0\n"
              "  通道7报警下限:0.0\n"
              "  通道7量程上限:0.0\n"
              "  通道7量程下限:0.0\n");
    // The stop mode is not timed: its time text is emptied, the timed start keeps its time.
    EXPECT_EQ(ReadField(info.timedStopTime), "");
    EXPECT_EQ(ReadField(info.timedStartTime), "2024-03-08 09:00:00");
}

TEST(PanelLines, EnglishPanelUsesEnglishLabelsAndCutFields) {
    DeviceInfo info = SampleInfo(Language::English);
    const std::string text = Render(BuildPanelLines(info, Language::English));
    const char* expected[] = {
        "Basic ATTR\n",
        "  Start Time:2024-03-07 08:05:00\n",
        "  Work Stat:Recordin\n",  // the 9-byte field holds 8 characters
        "  Start Mode:TimedSta\n    2024-03-08 09:00:00\n",
        "  Stop Mode:fifo\n",
        "  Rec Inter ：01:02:05\n",
        "  Start channel:1,3\n",
        "  Record mode:AutoMode\n",
        "  Storage capacity:32000\n",
        "  Power mode:Power Save\n",
        "  SN：20261209\n",
        "  Modle：VLR-T810\n",
        "  Hard Ver:V1.1\n",
        "Channel ATTR\n",
        "  CH1Type:TEMP\n  CH1Unit:℃\n  CH1Alarm EN:Start\n  CH1Alarm Upper:40.0\n"
        "  CH1Alarm Lower:-12.5\n  CH1Range Upper:85.0\n  CH1Range Lower:-40.0\n",
        "  CH3Type:HUM\n",
        "  CH3Alarm EN:Closed\n",
        "  CH7Type:VoltageAC\n",
    };
    for (const char* e : expected) EXPECT_NE(text.find(e), std::string::npos) << e << "\nin\n" << text;
}

TEST(PanelLines, TimedModesAreRecognisedInEitherLanguage) {
    // A timed start written by the configuration code carries the Chinese label; the English
    // panel must still show its time instead of erasing it.
    DeviceInfo info = SampleInfo(Language::English);
    StoreInField(info.startMode, G("定时启动"));
    StoreInField(info.stopMode, G("定时停止"));
    const std::string text = Render(BuildPanelLines(info, Language::English));
    EXPECT_NE(text.find("定时启动\n    2024-03-08 09:00:00\n"), std::string::npos) << text;
    EXPECT_NE(text.find("定时停止\n    2024-04-01 00:00:00\n"), std::string::npos) << text;
}

TEST(PanelLines, StartChannelListCoversChannelsOneToSixOnly) {
    DeviceInfo info;
    info.channel[6].channelEnabled = 1;
    info.channel[7].channelEnabled = 1;
    const std::vector<PanelLine> lines = BuildPanelLines(info, Language::English);
    const std::string text = Render(lines);
    EXPECT_NE(text.find("  Start channel:\n"), std::string::npos);
    EXPECT_NE(text.find("CH7Type:"), std::string::npos);
    EXPECT_NE(text.find("CH8Range Lower:0.0"), std::string::npos);
    // Non-timed modes: no child lines, both time texts emptied.
    StoreInField(info.timedStartTime, "2024-01-01 00:00:00");
    BuildPanelLines(info, Language::English);
    EXPECT_EQ(ReadField(info.timedStartTime), "");
    for (const PanelLine& l : lines) EXPECT_LE(l.depth, 1);
}

TEST(PanelLines, UnitAndQuantityCodesOutsideTheTables) {
    EXPECT_EQ(GbkToUtf8(PanelUnitName(1, 32)), "m");   // the last entry is reachable
    EXPECT_EQ(GbkToUtf8(PanelUnitName(1, 200)), "%");  // beyond the table: entry 31
    EXPECT_EQ(GbkToUtf8(PanelUnitName(9, 47)), "mA");  // AC current: code − 32
    EXPECT_EQ(PanelUnitName(7, 12), "");               // AC without an offset code names no unit
    EXPECT_EQ(PanelUnitName(7, 250), "");              // offset beyond the table

    DeviceInfo info;
    info.channel[0].channelEnabled = 1;
    info.channel[0].quantityCode = 99;
    const std::string zh = Render(BuildPanelLines(info, Language::Chinese));
    const std::string en = Render(BuildPanelLines(info, Language::English));
    EXPECT_NE(zh.find("通道1类型:土壤温度\n"), std::string::npos);
    EXPECT_NE(en.find("CH1Type:soil TEMP \n"), std::string::npos);  // trailing blank kept
}

TEST(PanelLines, InitialPanelHoldsLabelsOnly) {
    const std::string zh = Render(InitialPanelLines(Language::Chinese));
    EXPECT_EQ(zh.substr(0, zh.find("  记录间隔：")),
              "基本属性\n  启动时间：\n  用 户 名：\n  标    题：\n  工作状态：\n  记录次数：\n"
              "  溢出次数：\n  启动方式：\n  停止方式：\n");
    EXPECT_NE(zh.find("通道属性\n  通道类型：\n  通道单位：\n  通道报警使能：\n"), std::string::npos);
    const std::string en = Render(InitialPanelLines(Language::English));
    EXPECT_NE(en.find("  Start Mode\n  Stop Mode\n  Record interval:\n"), std::string::npos);
    EXPECT_NE(en.find("  Range lower limit:\n"), std::string::npos);
    EXPECT_EQ(Render(InitialPanelLines(LanguageFromName("english"))), zh);  // only "English" exactly is English
}

}  // namespace
}  // namespace velorin
