#include "analysis/compare_files.h"

#include <gtest/gtest.h>

#include "analysis/analysis_test_data.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::AnalysisSet;
using test::Clock;

TEST(CompareFiles, RepeatedSerialsAreToldApartByFileName) {
    test::TempDir dir;
    const std::string a = dir.Path() + "/morning.kv", b = dir.Path() + "/evening.kv", c = dir.Path() + "/other.kv";
    ASSERT_TRUE(WriteKvFile(a, AnalysisSet("A1", "2026-01-01 00:00:00", 60, {1}, {{1, 2}})).ok);
    ASSERT_TRUE(WriteKvFile(b, AnalysisSet("A1", "2026-01-01 06:00:00", 60, {1}, {{3, 4}})).ok);
    ASSERT_TRUE(WriteKvFile(c, AnalysisSet("B2", "2026-01-01 06:00:00", 60, {1}, {{3, 4}})).ok);
    int progressCalls = 0;
    CompareLoadCallbacks callbacks;
    callbacks.progress = [&](int done, int total) {
        ++progressCalls;
        EXPECT_EQ(total, 3);
        EXPECT_EQ(done, progressCalls);
    };
    const CompareLoadResult r = LoadCompareFiles({a, b, c}, callbacks);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.files.size(), 3u);
    EXPECT_EQ(r.files[0].label, "A1 (morning.kv)");
    EXPECT_EQ(r.files[1].label, "A1 (evening.kv)");
    EXPECT_EQ(r.files[2].label, "B2");
    EXPECT_EQ(progressCalls, 3);
}

TEST(CompareFiles, LoadingRefusesWhatItCannotCompare) {
    test::TempDir dir;
    const std::string good = dir.Path() + "/good.kv";
    ASSERT_TRUE(WriteKvFile(good, AnalysisSet("A1", "2026-01-01 00:00:00", 60, {1}, {{1}})).ok);
    EXPECT_EQ(LoadCompareFiles({}).error, CompareLoadError::NoFiles);
    EXPECT_EQ(LoadCompareFiles(std::vector<std::string>(33, good)).error, CompareLoadError::TooManyFiles);
    EXPECT_TRUE(LoadCompareFiles(std::vector<std::string>(32, good)).ok());
    const CompareLoadResult missing = LoadCompareFiles({good, dir.Path() + "/none.kv"});
    EXPECT_EQ(missing.error, CompareLoadError::FileUnreadable);
    EXPECT_EQ(missing.fileIndex, 1);
    EXPECT_EQ(missing.readResult.error, KvReadError::CannotOpen);
    EXPECT_TRUE(missing.files.empty());
    CompareLoadCallbacks cancel;
    cancel.cancelled = [] { return true; };
    EXPECT_EQ(LoadCompareFiles({good}, cancel).error, CompareLoadError::Cancelled);
}

TEST(CompareFiles, RecordsLineUpByClockTime) {
    // One file every 60 s from 00:00, one every 90 s from 00:01:30, and one whose clock went back.
    std::vector<CompareFile> files(3);
    files[0].set = AnalysisSet("A", "2026-01-01 00:00:00", 60, {1}, {{0, 1, 2, 3, 4}});
    files[1].set = AnalysisSet("B", "2026-01-01 00:01:30", 90, {1}, {{10, 11, 12}});
    files[2].set = AnalysisSet("C", "2026-01-01 00:02:00", 60, {1}, {{20, 21, 22}});
    files[2].set.records[2].minute = 1;  // 00:02, 00:03, 00:01
    PrepareCompareFiles(files);
    const std::vector<int64_t> all = MergedTimes(files, Clock("2026-01-01 00:00:00"), Clock("2026-01-01 01:00:00"));
    std::vector<std::string> texts;
    for (int64_t t : all) texts.push_back(ClockTimeText(t));
    EXPECT_EQ(texts, (std::vector<std::string>{"2026-01-01 00:00:00", "2026-01-01 00:01:00", "2026-01-01 00:01:30",
                                               "2026-01-01 00:02:00", "2026-01-01 00:03:00", "2026-01-01 00:04:00",
                                               "2026-01-01 00:04:30"}));
    EXPECT_EQ(files[0].RecordAt(Clock("2026-01-01 00:03:00")), 3);
    EXPECT_EQ(files[1].RecordAt(Clock("2026-01-01 00:03:00")), 1);
    EXPECT_EQ(files[1].RecordAt(Clock("2026-01-01 00:02:00")), -1);
    EXPECT_EQ(files[2].RecordAt(Clock("2026-01-01 00:01:00")), 2);
    EXPECT_EQ(files[2].RecordAt(Clock("2026-01-01 00:02:00")), 0);
    // Inclusive ends; a range that misses every file is empty.
    EXPECT_EQ(MergedTimes(files, Clock("2026-01-01 00:01:30"), Clock("2026-01-01 00:02:00")).size(), 2u);
    EXPECT_TRUE(MergedTimes(files, Clock("2026-01-01 00:05:00"), Clock("2026-01-01 09:00:00")).empty());
    int64_t earliest = 0, latest = 0;
    ASSERT_TRUE(CompareSpan(files, earliest, latest));
    EXPECT_EQ(ClockTimeText(earliest), "2026-01-01 00:00:00");
    EXPECT_EQ(ClockTimeText(latest), "2026-01-01 00:04:30");
}

}  // namespace
}  // namespace velorin
