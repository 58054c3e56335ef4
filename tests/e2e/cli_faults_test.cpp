// A misbehaving logger: each fault of the simulator must lead to the retries and outcome the
// program promises, within the time bounds of the exchange, never to a hang or a wrong panel.
#include <gtest/gtest.h>

#include "e2e/e2e_fixture.h"

namespace velorin::e2e {
namespace {

using Faults = CliAgainstSimulator;

// Every Transact pass is 150 ms; a silent attempt costs one pass.
constexpr double kSilentAttemptSeconds = 0.15;

TEST_F(Faults, SilentInformationRequestGivesUpAfterEightAttempts) {
    StartSimulator({"--fault", "silence", "--fault-cmd", "0x01", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "Communication timeout, please check device connection!\n");
    EXPECT_EQ(Logged("0x01"), 8u);
    EXPECT_EQ(Logged("0x06"), 0u);
    EXPECT_GE(r.seconds, 8 * kSilentAttemptSeconds);
    EXPECT_LT(r.seconds, 8 * kSilentAttemptSeconds + 1.5);
}

TEST_F(Faults, GarbageSevenTimesThenTheEighthAttemptConnects) {
    StartSimulator({"--fault", "garbage", "--fault-cmd", "0x01", "--fault-count", "7", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Logged("0x01"), 8u);
    EXPECT_NE(r.out.find("  SN：20261209\n"), std::string::npos);
}

TEST_F(Faults, WrongChecksumIsRetriedButTheLastLongReplyIsTaken) {
    // The information request keeps trying for a reply with a good checksum; after the eighth
    // it accepts a reply that is long enough and starts right.
    StartSimulator({"--fault", "bad-checksum", "--fault-cmd", "0x01", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Logged("0x01"), 8u);
    EXPECT_NE(r.out.find("  Rec Num:1000\n"), std::string::npos);
}

TEST_F(Faults, ShortInformationReplyMeansNoLogger) {
    StartSimulator({"--fault", "short", "--fault-cmd", "0x01", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(Logged("0x01"), 8u);
}

TEST_F(Faults, SplitReplyIsRetriedUntilAWholeReplyArrives) {
    // The first reply pauses 400 ms in the middle: that attempt returns half a reply, and its
    // tail lands in the next attempt, which is rejected too; a clean reply follows.
    StartSimulator({"--fault", "split", "--fault-cmd", "0x01", "--fault-count", "1"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GE(Logged("0x01"), 2u);
    // Usually three; on a busy machine the tail may straddle one more attempt. Far below the
    // eight attempts a connect allows.
    EXPECT_LE(Logged("0x01"), 4u);
    EXPECT_EQ(r.out, Cli({"info", "--port", "3", "--lang", "en"}).out);
}

TEST_F(Faults, OversizeReplyIsCutAtTheBufferAndStillDecoded) {
    StartSimulator({"--fault", "long", "--fault-cmd", "0x01", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  Rec Num:1000\n"), std::string::npos);
}

TEST_F(Faults, LateLoggerNeverHoldsTheExchangeLongerThanItsBound) {
    StartSimulator({"--fault", "late", "--fault-arg", "400", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    // Whatever it makes of replies that come after their attempt ended, the whole connect is
    // bounded by its attempts: 8 + 8 + 5 per channel, each at most 40 passes.
    EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 2);
    EXPECT_LT(r.seconds, 20.0);
}

TEST_F(Faults, SilentIdentityLeavesTheConnectionWithoutChannels) {
    StartSimulator({"--fault", "silence", "--fault-cmd", "0x06", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Logged("0x06"), 8u);
    EXPECT_EQ(Logged("0x02"), 0u);
    EXPECT_NE(r.out.find("  Rec Num:1000\n"), std::string::npos);  // the information block was read
    EXPECT_NE(r.out.find("  SN：\n"), std::string::npos);          // the identity was not
}

TEST_F(Faults, ChannelThatNeverAnswersKeepsItsValuesAndOthersAreRead) {
    // The first five channel requests are lost: that is all of channel 1's attempts.
    StartSimulator({"--fault", "silence", "--fault-cmd", "0x02", "--fault-count", "5", "--no-pacing"});
    const RunResult r = Cli({"info", "--port", "3", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Logged("0x02"), 5u + 3u);
    EXPECT_NE(r.out.find("  CH1Type:无\n  CH1Unit: \n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  CH2Type:HUM\n"), std::string::npos);
}

TEST_F(Faults, UsbLoggerThatDoesNotAnswer) {
    StartSimulator({"--fault", "silence"});
    RunResult r = Cli({"info", "--hid", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_LT(r.seconds, 10.0);
    sims_.clear();
    StartSimulator({"--usb-unplugged"});
    r = Cli({"info", "--hid", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_LT(r.seconds, 3.0);
}

}  // namespace
}  // namespace velorin::e2e
