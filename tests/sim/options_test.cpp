// The simulator's command line.
#include <gtest/gtest.h>

#include <vector>

#include "civil_time.h"
#include "options.h"
#include "sim_test_support.h"

namespace {

using namespace velorin::sim;

bool Parse(std::vector<const char*> args, SimConfig* config, std::string* error) {
    args.insert(args.begin(), "velorin-logger-sim");
    return ParseOptions(static_cast<int>(args.size()), args.data(), simtest::FixedNow(), config, error);
}

TEST(sim_Options, DefaultsDescribeTheDemoLogger) {
    SimConfig c;
    std::string error;
    ASSERT_TRUE(Parse({}, &c, &error)) << error;
    EXPECT_EQ(std::string(c.state.model, 8), "VLR-T810");
    EXPECT_EQ(std::string(c.state.serialNumber, 8), "20261209");
    EXPECT_EQ(c.state.recordCount, 1000u);
    EXPECT_EQ(c.state.intervalSeconds, 60u);
    EXPECT_EQ(c.state.startTime, simtest::FixedNow() - 60000);
    EXPECT_EQ(c.server.comNumber, 1);
    EXPECT_TRUE(c.server.serial && c.server.usb && c.server.pacing && c.server.usbPlugged);
    const uint8_t types[4] = {0x02, 0x02, 0x22, 0x04};
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(c.state.channels[i].enabled);
        EXPECT_EQ(c.state.channels[i].type, types[i]);
    }
    EXPECT_FALSE(c.state.channels[4].enabled);
}

TEST(sim_Options, ChannelSpecEnablesAChannelWithLimitsInTenths) {
    SimConfig c;
    std::string error;
    ASSERT_TRUE(Parse(
        {"--channels-off", "--channel", "6:type=0x22,quantity=1,unit=1,alarm=1,lower=-10.5,upper=40,rlow=-40,rhigh=85"},
        &c, &error))
        << error;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c.state.channels[i].enabled, i == 5);
    const ChannelConfig& ch = c.state.channels[5];
    EXPECT_EQ(ch.type, 0x22);
    EXPECT_TRUE(ch.alarm);
    EXPECT_EQ(ch.lowerAlarmX10, -105);
    EXPECT_EQ(ch.upperAlarmX10, 400);
    EXPECT_EQ(ch.rangeLowX10, -400);
    EXPECT_EQ(ch.rangeHighX10, 850);
}

TEST(sim_Options, TimesRecordsAndFaults) {
    SimConfig c;
    std::string error;
    ASSERT_TRUE(Parse({"--records",   "10",    "--interval",      "30",   "--timed-stop",  "2030-01-02 03:04:05",
                       "--fault",     "split", "--fault-cmd",     "0x1a", "--fault-count", "2",
                       "--fault-arg", "250",   "--fault-skip",    "4",    "--no-pacing",   "--usb-unplugged",
                       "--com",       "7",     "--block-records", "50"},
                      &c, &error))
        << error;
    EXPECT_EQ(c.state.startTime, simtest::FixedNow() - 300);
    EXPECT_EQ(c.state.timedStart, c.state.startTime);
    int64_t stop = 0;
    ASSERT_TRUE(ParseCivil("2030-01-02 03:04:05", &stop));
    EXPECT_EQ(c.state.timedStop, stop);
    EXPECT_EQ(c.server.fault.kind, FaultKind::Split);
    EXPECT_EQ(c.server.fault.command, 0x1A);
    EXPECT_EQ(c.server.fault.count, 2);
    EXPECT_EQ(c.server.fault.parameter, 250);
    EXPECT_EQ(c.server.fault.skip, 4);
    EXPECT_FALSE(c.server.pacing);
    EXPECT_FALSE(c.server.usbPlugged);
    EXPECT_EQ(c.server.comNumber, 7);
    EXPECT_EQ(c.state.serialBlockRecords, 50u);
}

TEST(sim_Options, BadValuesAreRefusedWithAMessage) {
    const std::vector<std::vector<const char*>> bad = {
        {"--records"},  // missing value
        {"--records", "ten"},
        {"--interval", "0"},
        {"--firmware", "256"},
        {"--model", "TOO-LONG-1"},
        {"--user", "0123456789012345678901234567890"},  // 31 bytes
        {"--start", "2026-02-30 00:00:00"},
        {"--channel", "9:type=2"},
        {"--channel", "1:colour=red"},
        {"--channel", "1:lower=abc"},
        {"--channel", "1:upper=4000"},  // beyond 16-bit tenths
        {"--fault", "sometimes"},
        {"--frobnicate"},
    };
    for (const auto& args : bad) {
        SimConfig c;
        std::string error;
        EXPECT_FALSE(Parse(args, &c, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(sim_Options, HelpNamesEveryOption) {
    const std::string usage = UsageText();
    for (const char* option : {"--port-dir",
                               "--com",
                               "--no-serial",
                               "--no-usb",
                               "--usb-unplugged",
                               "--no-pacing",
                               "--model",
                               "--serial-number",
                               "--firmware",
                               "--capacity",
                               "--user",
                               "--title",
                               "--records",
                               "--interval",
                               "--start",
                               "--timed-start",
                               "--timed-stop",
                               "--record-mode",
                               "--work-state",
                               "--start-mode",
                               "--stop-mode",
                               "--power-mode",
                               "--over-limit-index",
                               "--overflow-byte",
                               "--channels-off",
                               "--channel",
                               "--block-records",
                               "--fault",
                               "--fault-cmd",
                               "--fault-count",
                               "--fault-skip",
                               "--fault-arg",
                               "--log",
                               "--seed"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
