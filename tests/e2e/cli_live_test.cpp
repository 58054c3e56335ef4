// velorin-cli live against the simulated logger: readings every 2 s over the serial port and
// over the USB link, a silent period in between that costs readings but never hangs, the
// decimals of each channel, and Ctrl-C.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "e2e/e2e_fixture.h"

namespace velorin::e2e {
namespace {

using CliLive = CliAgainstSimulator;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    return out;
}

size_t Decimals(const std::string& value) {
    const size_t dot = value.find('.');
    return dot == std::string::npos ? 0 : value.size() - dot - 1;
}

// Seconds of a "YYYY-MM-DD hh:mm:ss" time within its day.
int SecondOfDay(const std::string& time) {
    return std::stoi(time.substr(11, 2)) * 3600 + std::stoi(time.substr(14, 2)) * 60 + std::stoi(time.substr(17, 2));
}

// The simulator's default logger has four channels: tenths, tenths, hundredths, a 4-byte channel
// whose live value comes in tenths.
void ExpectReadingLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::vector<std::string> f = Fields(line);
        ASSERT_EQ(f.size(), 5u) << line;
        EXPECT_EQ(f[0].size(), 19u) << line;
        EXPECT_EQ(Decimals(f[1]), 1u) << line;
        EXPECT_EQ(Decimals(f[2]), 1u) << line;
        EXPECT_EQ(Decimals(f[3]), 2u) << line;
        EXPECT_EQ(Decimals(f[4]), 1u) << line;
        const double temperature = std::stod(f[1]);
        EXPECT_GT(temperature, -40.0);
        EXPECT_LT(temperature, 85.0);
    }
}

TEST_F(CliLive, SerialReadingsEveryTwoSecondsAcrossASilentPeriod) {
    // Two readings, then five unanswered requests (one whole poll), then readings again.
    StartSimulator(
        {"--no-pacing", "--fault", "silence", "--fault-cmd", "0x05", "--fault-skip", "2", "--fault-count", "5"});
    const RunResult r = Cli({"live", "--port", "3", "--count", "4"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    ExpectReadingLines(lines);
    EXPECT_EQ(Logged("0x05"), 2u + 5u + 2u);
    EXPECT_NE(r.err.find("no reading"), std::string::npos) << r.err;
    // Five polls 2 s apart: the silent one left a gap of 4 s between the 2nd and 3rd reading.
    EXPECT_GE(r.seconds, 8.0);
    EXPECT_LT(r.seconds, 12.0);
    const int gap = (SecondOfDay(Fields(lines[2])[0]) - SecondOfDay(Fields(lines[1])[0]) + 86400) % 86400;
    EXPECT_GE(gap, 3);
    EXPECT_LE(gap, 5);
}

TEST_F(CliLive, UsbReadingsSkipFailedReadsAndKeepGoing) {
    StartSimulator(
        {"--no-pacing", "--fault", "silence", "--fault-cmd", "0x05", "--fault-skip", "1", "--fault-count", "2"});
    const RunResult r = Cli({"live", "--hid", "--count", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 3u) << r.out;
    ExpectReadingLines(lines);
    EXPECT_EQ(Logged("0x05"), 5u);
    size_t notes = 0;
    for (const std::string& l : Lines(r.err)) notes += l.find("no reading") != std::string::npos;
    EXPECT_EQ(notes, 2u);
    EXPECT_LT(r.seconds, 12.0);
}

TEST_F(CliLive, CtrlCEndsTheReadingsAndClosesThePort) {
    StartSimulator({"--no-pacing"});
    const RunResult r = Cli({"live", "--port", "3"}, {}, 4.0);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(Lines(r.out).size(), 1u) << r.out;
    EXPECT_LE(Lines(r.out).size(), 2u) << r.out;
    EXPECT_LT(r.seconds, 5.0) << "the wait for the next poll ends at once";
    // The port is free again: another command can open it.
    EXPECT_EQ(Cli({"live", "--port", "3", "--count", "1"}).exitCode, 0);
}

TEST_F(CliLive, ALoggerThatStopsAnsweringEndsWithExitTwo) {
    // One reading, then silence: the command gives up after its bounded number of polls.
    StartSimulator({"--no-pacing", "--fault", "silence", "--fault-cmd", "0x05", "--fault-skip", "1"});
    RunResult r = Cli({"live", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u) << r.out;
    EXPECT_NE(r.err.find("The logger gave no reading in 5 polls (none since "), std::string::npos) << r.err;
    EXPECT_LT(r.seconds, 30.0);

    // Over USB, in Chinese, and Ctrl-C while the polls fail is not a success either.
    r = Cli({"live", "--hid", "--lang", "zh"}, {}, 5.0);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(Lines(r.out).empty()) << r.out;
    EXPECT_NE(r.err.find("记录仪连续"), std::string::npos) << r.err;
}

TEST_F(CliLive, WrongArgumentsAndNoLogger) {
    EXPECT_EQ(Cli({"live", "--count", "0"}).exitCode, 1);
    EXPECT_EQ(Cli({"live", "--count", "two"}).exitCode, 1);
    EXPECT_EQ(Cli({"live", "extra"}).exitCode, 1);
    EXPECT_EQ(Cli({"live", "--port", "9", "--count", "1"}).exitCode, 2) << "nothing answers on COM9";
}

}  // namespace
}  // namespace velorin::e2e
