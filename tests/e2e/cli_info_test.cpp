// velorin-cli info against the simulated logger: over a pseudo-terminal through the real
// serial driver and over libkvusb-sim, in both languages.
#include <gtest/gtest.h>

#include "e2e/e2e_fixture.h"

namespace velorin::e2e {
namespace {

const char* const kEnglishPanel =
    "Basic ATTR\n"
    "  Start Time:2026-01-02 03:04:05\n"
    "  User Name:Velorin demo\n"
    "  Title:Cold room 3\n"
    "  Work Stat:Recordin\n"
    "  Rec Num:1000\n"
    "  OverFlows:0\n"
    "  Start Mode:RestartN\n"
    "  Stop Mode:Memory full \n"
    "  Rec Inter ：00:01:00\n"
    "  Start channel:1,2,3,4\n"
    "  Record mode:AutoMode\n"
    "  Storage capacity:32000\n"
    "  Power mode:Power Normal\n"
    "  SN：20261209\n"
    "  Modle：VLR-T810\n"
    "  Hard Ver:V1.1\n"
    "Channel ATTR\n"
    "  CH1Type:TEMP\n  CH1Unit:℃\n  CH1Alarm EN:Start\n  CH1Alarm Upper:30.0\n"
    "  CH1Alarm Lower:15.0\n  CH1Range Upper:85.0\n  CH1Range Lower:-40.0\n"
    "  CH2Type:HUM\n  CH2Unit:％RH\n  CH2Alarm EN:Start\n  CH2Alarm Upper:70.0\n"
    "  CH2Alarm Lower:30.0\n  CH2Range Upper:100.0\n  CH2Range Lower:0.0\n"
    "  CH3Type:TEMP\n  CH3Unit:℃\n  CH3Alarm EN:Start\n  CH3Alarm Upper:30.0\n"
    "  CH3Alarm Lower:15.0\n  CH3Range Upper:85.0\n  CH3Range Lower:-40.0\n"
    "  CH4Type:Pressuue\n  CH4Unit:KPa\n  CH4Alarm EN:Start\n  CH4Alarm Upper:105.0\n"
    "  CH4Alarm Lower:95.0\n  CH4Range Upper:110.0\n  CH4Range Lower:30.0\n";

const char* const kChinesePanelStart =
    "基本属性\n"
    "  启动时间：2026-01-02 03:04:05\n"
    "  用 户 名：Velorin demo\n"
    "  标    题：Cold room 3\n"
    "  工作状态：正在记录\n"
    "  记录次数：1000\n"
    "  溢出次数：0\n"
    "  启动方式：立即启动\n"
    "  停止方式：存储器满停止\n"
    "  记录间隔：00:01:00\n"
    "  启动通道：1,2,3,4\n"
    "  记录模式：自动模式\n"
    "  存储容量：32000\n"
    "  功耗模式：正常模式\n"
    "  序 列 号：20261209\n"
    "  型    号：VLR-T810\n"
    "  固件版本：V1.1\n"
    "通道属性\n"
    "  通道1类型:温度\n"
    "  通道1单位:℃\n"
    "  通道1报警使能:开启\n";

TEST_F(CliAgainstSimulator, SerialLinkInBothLanguages) {
    StartSimulator();
    const RunResult en = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(en.exitCode, 0) << en.err;
    EXPECT_EQ(en.out, kEnglishPanel);
    const RunResult zh = Cli({"info", "--port", "3", "--lang", "zh"});
    EXPECT_EQ(zh.exitCode, 0) << zh.err;
    EXPECT_EQ(zh.out.substr(0, std::string(kChinesePanelStart).size()), kChinesePanelStart);
    EXPECT_NE(zh.out.find("  通道4类型:压力\n  通道4单位:KPa\n"), std::string::npos);
    // One information request, one identity request and one request per enabled channel each.
    EXPECT_EQ(Logged("0x01"), 2u);
    EXPECT_EQ(Logged("0x06"), 2u);
    EXPECT_EQ(Logged("0x02"), 8u);
}

TEST_F(CliAgainstSimulator, UsbLinkShowsWhatTheSerialLinkShows) {
    // Range limits travel in whole units over USB and in tenths over serial: both must end up
    // as the same panel.
    StartSimulator({"--channel", "5:type=0x22,quantity=9,unit=47,alarm=0,lower=-0.5,upper=12.3,rlow=-40,rhigh=85"});
    for (const char* lang : {"en", "zh"}) {
        const RunResult serial = Cli({"info", "--port", "3", "--lang", lang});
        const RunResult usb = Cli({"info", "--hid", "--lang", lang});
        EXPECT_EQ(serial.exitCode, 0) << serial.err;
        EXPECT_EQ(usb.exitCode, 0) << usb.err;
        EXPECT_EQ(usb.out, serial.out);
        EXPECT_NE(serial.out.find(std::string(lang) == "en" ? "CH5Unit:mA\n" : "通道5单位:mA\n"), std::string::npos)
            << serial.out;
    }
    EXPECT_GE(Logged("0x01"), 2u);
}

TEST_F(CliAgainstSimulator, LanguageComesFromTheWorkingDirectory) {
    StartSimulator();
    velorin::test::TempDir english;
    english.MakeFile("Language.ini", "English");
    RunResult r =
        RunProgram("velorin-cli", {"info", "--port", "3"}, {"VELORIN_PORT_DIR=" + dir_.Path()}, english.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Basic ATTR\n", 0), 0u);
    velorin::test::TempDir almost;
    almost.MakeFile("Language.ini", "English\n");  // not exactly the name: Chinese
    r = RunProgram("velorin-cli", {"info", "--port", "3"}, {"VELORIN_PORT_DIR=" + dir_.Path()}, almost.Path());
    EXPECT_EQ(r.out.rfind("基本属性\n", 0), 0u);
}

TEST_F(CliAgainstSimulator, WalkSkipsAPortThatDoesNotAnswer) {
    // COM2 is a logger that never answers, COM5 a working one; the walk takes them in order.
    StartSimulator({"--fault", "silence", "--no-usb"}, 2);
    StartSimulator({"--no-usb"}, 5);
    const RunResult r = Cli({"info", "--lang", "en"}, {"VELORIN_KVUSB=" + BinDir() + "/libkvusb.so"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, kEnglishPanel);
    // Both simulators log to the same file: 8 silent attempts on COM2, then one on COM5.
    EXPECT_EQ(Logged("0x01"), 9u);
}

TEST_F(CliAgainstSimulator, NoLoggerMeansTheTimeoutText) {
    // A named port that does not exist says so instead of timing out.
    const std::string com9 = dir_.MakeLink("COM9", "/nonexistent/ttyS8");
    RunResult r = Cli({"info", "--port", "9", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "There is no serial port COM9 (" + com9 + ")\n");
    EXPECT_LT(r.seconds, 2.0);
    r = Cli({"info", "--port", "9", "--lang", "zh"});
    EXPECT_EQ(r.err, "串口COM9（" + com9 + "）不存在\n");
    r = Cli({"info", "--hid", "--lang", "en"});  // no simulator behind the socket
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Communication timeout"), std::string::npos);
}

TEST_F(CliAgainstSimulator, UsbLibraryMessagesNameTheFileTried) {
    RunResult r = Cli({"info", "--hid", "--lang", "en"}, {"VELORIN_KVUSB=/nonexistent/libkvusb.so"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Failed to load /nonexistent/libkvusb.so\n"), std::string::npos) << r.err;
    // A library that loads but lacks the three functions.
    const std::string incomplete = BinDir() + "/libkvusb-incomplete-for-tests.so";
    r = Cli({"info", "--hid", "--lang", "en"}, {"VELORIN_KVUSB=" + incomplete});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Failed to load dll api (" + incomplete + ")\n"), std::string::npos) << r.err;
}

TEST_F(CliAgainstSimulator, BadArgumentsAreRefused) {
    EXPECT_EQ(Cli({"info", "--port", "3", "--hid"}).exitCode, 1);
    EXPECT_EQ(Cli({"info", "--lang", "fr"}).exitCode, 1);
    EXPECT_EQ(Cli({"info", "--port"}).exitCode, 1);
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 1);
    const RunResult ports = Cli({"ports"});
    EXPECT_EQ(ports.exitCode, 0);
}

TEST_F(CliAgainstSimulator, PortsListsTheLinksOfThePortFolder) {
    StartSimulator({"--no-usb"}, 4);
    const RunResult r = Cli({"ports"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("4\t" + dir_.Path() + "/COM4\n", 0), 0u) << r.out;
}

}  // namespace
}  // namespace velorin::e2e
