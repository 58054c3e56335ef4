// Fault decisions and reply shaping, and the timing of paced serial output.
#include <gtest/gtest.h>

#include "fault_plan.h"
#include "paced_output.h"
#include "sim_test_support.h"

namespace {

using simtest::Bytes;
using namespace velorin::sim;

FaultInjector Injector(FaultKind kind, int command = -1, int64_t count = -1, int64_t parameter = -1) {
    FaultPlan plan;
    plan.kind = kind;
    plan.command = command;
    plan.count = count;
    plan.parameter = parameter;
    return FaultInjector(plan, 7);
}

Bytes SampleReply() { return {0x28, 0, 0x1D, 0, 2, 0x47, 0x29}; }

TEST(sim_FaultInjection, CommandFilterAndCountLimitSelectTheAffectedRequests) {
    FaultInjector f = Injector(FaultKind::Silence, 0x01, 2);
    EXPECT_EQ(f.Decide(0x06, 0).kind, FaultKind::None);
    EXPECT_EQ(f.Decide(0x01, 0).kind, FaultKind::Silence);
    EXPECT_EQ(f.Decide(0x01, 0).kind, FaultKind::Silence);
    EXPECT_EQ(f.Decide(0x01, 0).kind, FaultKind::None);
}

TEST(sim_FaultInjection, SkippedRequestsAreAnsweredBeforeTheFaultStarts) {
    FaultPlan plan;
    plan.kind = FaultKind::Silence;
    plan.command = 0x05;
    plan.skip = 2;
    plan.count = 1;
    FaultInjector f(plan, 7);
    EXPECT_EQ(f.Decide(0x01, 0).kind, FaultKind::None) << "other commands do not count as skipped";
    EXPECT_EQ(f.Decide(0x05, 0).kind, FaultKind::None);
    EXPECT_EQ(f.Decide(0x05, 0).kind, FaultKind::None);
    EXPECT_EQ(f.Decide(0x05, 0).kind, FaultKind::Silence);
    EXPECT_EQ(f.Decide(0x05, 0).kind, FaultKind::None);
}

TEST(sim_FaultInjection, BlockFailFailsEachBlockTheGivenNumberOfTimes) {
    FaultInjector f = Injector(FaultKind::BlockFail, -1, -1, 2);
    EXPECT_EQ(f.Decide(0x19, 0).kind, FaultKind::None);
    for (uint32_t block : {1u, 2u}) {
        EXPECT_EQ(f.Decide(0x1A, block).kind, FaultKind::Silence);
        EXPECT_EQ(f.Decide(0x1A, block).kind, FaultKind::Silence);
        EXPECT_EQ(f.Decide(0x1A, block).kind, FaultKind::None);
        EXPECT_EQ(f.Decide(0x1A, block).kind, FaultKind::None);
    }
}

TEST(sim_FaultInjection, DropAfterSilencesEverythingAfterTheNthBlock) {
    FaultInjector f = Injector(FaultKind::DropAfter, -1, -1, 2);
    EXPECT_EQ(f.Decide(0x1A, 1).kind, FaultKind::None);
    EXPECT_FALSE(f.Dropped());
    EXPECT_EQ(f.Decide(0x1A, 2).kind, FaultKind::None);
    EXPECT_TRUE(f.Dropped());
    EXPECT_EQ(f.Decide(0x1A, 3).kind, FaultKind::Silence);
    EXPECT_EQ(f.Decide(0x01, 0).kind, FaultKind::Silence);
}

TEST(sim_FaultInjection, ShapesOfTheSerialReply) {
    FaultInjector f = Injector(FaultKind::None);
    const Bytes reply = SampleReply();

    auto one = [&](FaultKind kind, int64_t parameter) {
        FaultAction a;
        a.kind = kind;
        a.parameter = parameter;
        return f.ShapeSerial(a, reply);
    };
    EXPECT_TRUE(one(FaultKind::Silence, 0).empty());

    auto garbage = one(FaultKind::Garbage, 0);
    ASSERT_EQ(garbage.size(), 1u);
    EXPECT_EQ(garbage[0].bytes.size(), reply.size());
    EXPECT_NE(garbage[0].bytes[0], 0x28);

    auto badSum = one(FaultKind::BadChecksum, 0);
    ASSERT_EQ(badSum.size(), 1u);
    EXPECT_FALSE(simtest::IsFullReply(badSum[0].bytes));
    EXPECT_EQ(badSum[0].bytes.size(), reply.size());

    auto shortened = one(FaultKind::Short, 3);
    ASSERT_EQ(shortened.size(), 1u);
    EXPECT_EQ(shortened[0].bytes, Bytes(reply.begin(), reply.end() - 3));

    auto lengthened = one(FaultKind::Long, 300);
    ASSERT_EQ(lengthened.size(), 1u);
    EXPECT_EQ(lengthened[0].bytes.size(), reply.size() + 300);

    auto split = one(FaultKind::Split, 250);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].delayMs, 0);
    EXPECT_EQ(split[1].delayMs, 250);
    Bytes joined = split[0].bytes;
    joined.insert(joined.end(), split[1].bytes.begin(), split[1].bytes.end());
    EXPECT_EQ(joined, reply);

    auto late = one(FaultKind::Late, 300);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].delayMs, 300);
    EXPECT_EQ(late[0].bytes, reply);
}

TEST(sim_FaultInjection, KindNamesRoundTrip) {
    for (const char* name :
         {"silence", "garbage", "bad-checksum", "short", "long", "split", "late", "block-fail", "drop-after"}) {
        FaultKind kind = FaultKind::None;
        ASSERT_TRUE(ParseFaultKind(name, &kind)) << name;
        EXPECT_STREQ(FaultKindName(kind), name);
    }
    FaultKind kind = FaultKind::None;
    EXPECT_FALSE(ParseFaultKind("sometimes", &kind));
}

std::vector<OutputPiece> Piece(size_t bytes, int64_t delayMs = 0) {
    OutputPiece p;
    p.bytes.assign(bytes, 0x55);
    p.delayMs = delayMs;
    return {p};
}

TEST(sim_PacedOutput, PacedBytesFallDueOneByteTimeApart) {
    PacedOutput out(true);
    ASSERT_TRUE(out.Push(Piece(100), 0));
    const uint8_t* bytes = nullptr;
    EXPECT_EQ(out.Due(0, &bytes, 1000), 1u);
    EXPECT_EQ(out.Due(10 * kByteTimeNs, &bytes, 1000), 11u);
    EXPECT_EQ(out.Due(10 * kByteTimeNs, &bytes, 4), 4u);  // chunk limit
    out.Consume(11);
    EXPECT_EQ(out.NextDueNs(), 11 * kByteTimeNs);
    EXPECT_EQ(out.Due(10 * kByteTimeNs, &bytes, 1000), 0u);
    EXPECT_EQ(out.Due(99 * kByteTimeNs, &bytes, 1000), 89u);
    out.Consume(89);
    EXPECT_TRUE(out.Empty());
}

TEST(sim_PacedOutput, PausesAddToTheLineTimeAndRepliesQueueBehindEachOther) {
    PacedOutput out(true);
    ASSERT_TRUE(out.Push(Piece(10), 0));
    ASSERT_TRUE(out.Push(Piece(5, 200), 0));  // a late reply behind the first
    out.Consume(10);
    EXPECT_EQ(out.NextDueNs(), 10 * kByteTimeNs + 200 * 1000000ll);
}

TEST(sim_PacedOutput, UnpacedRepliesAreDueAtOnceAndTheQueueIsBounded) {
    PacedOutput out(false, 64);
    ASSERT_TRUE(out.Push(Piece(40), 5));
    const uint8_t* bytes = nullptr;
    EXPECT_EQ(out.Due(5, &bytes, 1000), 40u);
    EXPECT_FALSE(out.Push(Piece(40), 5));  // would exceed 64 queued bytes
    EXPECT_EQ(out.QueuedBytes(), 40u);
}

}  // namespace
