// velorin-cli stop, set-clock and configure against the simulated logger: its settings change,
// its clock is set, its history emptied; refusals send nothing; a failure in the middle leaves
// earlier settings written and later ones unsent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/e2e_fixture.h"

namespace velorin::e2e {
namespace {

using Configure = CliAgainstSimulator;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The configuration commands the simulator saw, in order (e.g. "0x11").
std::vector<std::string> ConfigRequests(const std::string& log) {
    const std::vector<std::string> config = {"0x11", "0x13", "0x14", "0x15", "0x16",
                                             "0x1d", "0x1e", "0x1f", "0x20", "0x21"};
    std::vector<std::string> out;
    for (const std::string& line : ReadLines(log)) {
        const std::string command = line.substr(0, 4);
        for (const std::string& c : config) {
            if (command == c) out.push_back(command);
        }
    }
    return out;
}

TEST_F(Configure, WritesEverySettingSetsTheClockAndEmptiesTheHistory) {
    StartSimulator({"--no-pacing"});
    const RunResult r = Cli({"configure",
                             "--port",
                             "3",
                             "--lang",
                             "en",
                             "--yes",
                             "--user",
                             "冷库管理员",
                             "--title",
                             "Freezer 7",
                             "--interval",
                             "00:00:30",
                             "--power",
                             "saving",
                             "--record-mode",
                             "auto",
                             "--start",
                             "now",
                             "--stop",
                             "full",
                             "--ch1",
                             "lower=-20.5,upper=8,off",
                             "--ch2",
                             "upper=80"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "记录仪重启成功\n");
    EXPECT_EQ(ConfigRequests(LogPath()),
              (std::vector<std::string>{"0x11", "0x16", "0x20", "0x21", "0x14", "0x15", "0x1f", "0x13", "0x1e"}));

    const RunResult info = Cli({"info", "--port", "3", "--lang", "en"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_TRUE(Has(info.out, "  User Name:冷库管理员\n"));
    EXPECT_TRUE(Has(info.out, "  Title:Freezer 7\n"));
    EXPECT_TRUE(Has(info.out, "  Rec Num:0\n"));
    EXPECT_TRUE(Has(info.out, "  Rec Inter ：00:00:30\n"));
    EXPECT_TRUE(Has(info.out, "  Power mode:Power Save\n"));
    EXPECT_TRUE(Has(info.out, "  Stop Mode:Memory full \n"));
    EXPECT_TRUE(Has(info.out, "  CH1Alarm EN:Closed\n"));
    EXPECT_TRUE(Has(info.out, "  CH1Alarm Upper:8.0\n  CH1Alarm Lower:-20.5\n"));
    EXPECT_TRUE(Has(info.out, "  CH2Alarm Upper:80.0\n  CH2Alarm Lower:30.0\n"));
}

TEST_F(Configure, ManualModeSendsManualStartAndStopOverTheUsbLink) {
    StartSimulator({"--no-pacing"});
    const RunResult r = Cli({"configure", "--hid", "--yes", "--record-mode", "manual", "--title", "usb"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const RunResult info = Cli({"info", "--hid", "--lang", "zh"});
    EXPECT_TRUE(Has(info.out, "  标    题：usb\n")) << info.out;
    EXPECT_TRUE(Has(info.out, "  记录模式：手动模式\n"));
    EXPECT_TRUE(Has(info.out, "  启动方式：手动启动\n"));
    // Stop code 4 reads back as the "record count" stop.
    EXPECT_TRUE(Has(info.out, "  停止方式：记录次数停止\n"));
    EXPECT_TRUE(Has(info.out, "  记录次数：0\n"));
}

TEST_F(Configure, RefusalsSendNothing) {
    StartSimulator({"--no-pacing"});
    RunResult r = Cli({"configure", "--port", "3", "--title", "x"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(Has(r.err, "您确定要重启记录仪并清除记录吗？"));
    r = Cli({"configure", "--port", "3", "--yes", "--ch1", "lower=25.9,upper=25.1"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "通道1上限不能小于下限\n");
    r = Cli({"configure", "--port", "3", "--yes", "--ch2", "upper=3276.8"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(Has(r.err, "通道2"));
    r = Cli({"configure", "--port", "3", "--yes", "--power", "saving", "--interval", "0:0:9"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "省电模式下记录间隔不能小于10秒\n");
    r = Cli({"configure", "--port", "3", "--yes", "--ch5", "on"});  // channel 5 is not recorded
    EXPECT_EQ(r.exitCode, 2);
    r = Cli({"configure", "--port", "3", "--yes", "--interval", "24:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    r = Cli({"set-clock", "--port", "3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(Has(r.err, "原有记录将被清除"));
    EXPECT_TRUE(ConfigRequests(LogPath()).empty());
}

TEST_F(Configure, OptionsTheLoggerWouldDropAreRefusedBeforeAnythingIsSent) {
    StartSimulator({"--no-pacing", "--record-mode", "0"});  // manual record mode
    RunResult r = Cli({"configure", "--port", "3", "--yes", "--start", "timed", "--start-time", "2030-01-01 08:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r.err, "--start has no effect: the logger is in manual record mode")) << r.err;
    r = Cli({"configure", "--port", "3", "--yes", "--stop", "fifo"});
    EXPECT_EQ(r.exitCode, 1);
    r = Cli({"configure", "--port", "3", "--yes", "--record-mode", "manual", "--stop-time", "2030-01-01 08:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r.err, "is set to manual record mode")) << r.err;
    EXPECT_TRUE(ConfigRequests(LogPath()).empty());

    sims_.clear();
    StartSimulator({"--no-pacing"});  // automatic record mode
    r = Cli({"configure", "--port", "3", "--yes", "--start", "timed"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r.err, "--start timed wants --start-time")) << r.err;
    r = Cli({"configure", "--port", "3", "--yes", "--start", "now", "--start-time", "2030-01-01 08:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    r = Cli({"configure", "--port", "3", "--yes", "--stop", "fifo", "--stop-time", "2030-01-01 08:00:00"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(ConfigRequests(LogPath()).empty());
}

TEST_F(Configure, ShortenedTextsAndUnsentSettingsAreWarnedAbout) {
    StartSimulator({"--no-pacing"});
    // 29 ASCII bytes and a Chinese character: only the 29 bytes fit.
    const std::string name = std::string(29, 'u') + "温";
    const RunResult r = Cli({"configure", "--port", "3", "--lang", "en", "--yes", "--user", name, "--over-limit", "3",
                             "--record-mode", "auto", "--start", "timed", "--start-time", "2001-01-01 00:00:00"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.err, "warning: The user name is longer than 30 bytes; the logger will hold \"" +
                               std::string(29, 'u') + "\"\n"))
        << r.err;
    EXPECT_TRUE(Has(r.err, "warning: --over-limit is not sent")) << r.err;
    EXPECT_TRUE(Has(r.err, "warning: the timed start lies in the past")) << r.err;
    const RunResult info = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_TRUE(Has(info.out, "  User Name:" + std::string(29, 'u') + "\n")) << info.out;
}

TEST_F(Configure, AFailureInTheMiddleLeavesEarlierSettingsAndSendsNoMore) {
    StartSimulator({"--no-pacing", "--fault", "silence", "--fault-cmd", "0x20"});
    const RunResult r = Cli({"configure", "--port", "3", "--yes", "--user", "first", "--interval", "00:02:00"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "功耗模式设置失败\n");
    EXPECT_EQ(ConfigRequests(LogPath()),
              (std::vector<std::string>{"0x11", "0x16", "0x20", "0x20", "0x20", "0x20", "0x20"}));
    const RunResult info = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_TRUE(Has(info.out, "  User Name:first\n"));
    EXPECT_TRUE(Has(info.out, "  Rec Inter ：00:02:00\n"));
    EXPECT_TRUE(Has(info.out, "  Rec Num:1000\n"));
}

TEST_F(Configure, SetClockClearsTheRecordsAndSetsTheChosenTime) {
    StartSimulator({"--no-pacing"});
    const RunResult r = Cli({"set-clock", "--port", "3", "--time", "2031-02-03 04:05:06", "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(ConfigRequests(LogPath()), (std::vector<std::string>{"0x1e", "0x13"}));
    const RunResult info = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_TRUE(Has(info.out, "  Rec Num:0\n"));
    // The new recording starts on the newly set clock.
    EXPECT_TRUE(Has(info.out, "  Start Time:2031-02-03 04:05:"));
    EXPECT_EQ(Cli({"set-clock", "--port", "3", "--time", "1999-12-31 23:59:59", "--yes"}).exitCode, 1);
}

TEST_F(Configure, SetClockAgainstALoggerThatStopsAnsweringShowsBothTextsOnce) {
    StartSimulator({"--no-pacing", "--fault", "silence", "--fault-cmd", "0x1e"});
    RunResult r = Cli({"set-clock", "--port", "3", "--yes"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "无法清除数据\n");
    sims_.clear();
    StartSimulator({"--no-pacing", "--fault", "silence", "--fault-cmd", "0x13"});
    r = Cli({"set-clock", "--port", "3", "--yes"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "时钟没有正确设置!\n");
}

TEST_F(Configure, StopStopsTheRecording) {
    StartSimulator({"--no-pacing"});
    const RunResult r = Cli({"stop", "--port", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(Cli({"info", "--port", "3", "--lang", "en"}).out, "  Work Stat:STOP\n"));
    sims_.clear();
    StartSimulator({"--no-pacing", "--fault", "silence", "--fault-cmd", "0x1d"});
    const RunResult silent = Cli({"stop", "--port", "3"});
    EXPECT_EQ(silent.exitCode, 2);
    EXPECT_EQ(silent.err, "无法停止记录\n");
}

}  // namespace
}  // namespace velorin::e2e
