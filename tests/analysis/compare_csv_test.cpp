#include "analysis/compare_csv.h"

#include <gtest/gtest.h>

#include "analysis/analysis_test_data.h"
#include "analysis/compare_files.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using test::AnalysisSet;
using test::Clock;

// File A: every 60 s from 10:00:00, channels 1 and 2, a missing sample at 10:02 on channel 2.
// File B: every 90 s from 10:01:30, channels 1, 2 and 5 (humidity on 5); overlaps A at 10:03.
// File C: every 60 s on another day, disjoint from both.
std::vector<CompareFile> ThreeFiles() {
    std::vector<CompareFile> files(3);
    files[0].path = "/data/a.kv";
    files[0].set = AnalysisSet("A-1", "2026-04-01 10:00:00", 60, {1, 2},
                               {{1.5f, 2.5f, 3.5f, 4.5f}, {11.0f, 12.0f, -3276.7f, 14.0f}});
    files[1].path = "/data/b.kv";
    files[1].set = AnalysisSet("B-2", "2026-04-01 10:01:30", 90, {1, 2, 5},
                               {{21.0f, 22.0f, 23.25f}, {31.0f, 0.0001f, 33.0f}, {51.0f, 52.0f, 53.0f}});
    SetQuantityText(files[1].set, 4, "HUM");
    SetUnitText(files[1].set, 4, "%RH");
    files[2].path = "/data/c.kv";
    files[2].set = AnalysisSet("C-3", "2026-04-02 08:00:00", 60, {1}, {{-7.0f, -8.0f}});
    PrepareCompareFiles(files);
    return files;
}

TEST(CompareCsv, OneRowPerDistinctTimeAndOneColumnPerFileAndChannel) {
    const std::vector<CompareFile> files = ThreeFiles();
    test::TempDir dir;
    const ExportResult r =
        ExportCompareCsv(files, Clock("2026-04-01 00:00:00"), Clock("2026-04-03 00:00:00"), dir.Path() + "/out.csv");
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.path, dir.Path() + "/out.csv");
    EXPECT_EQ(test::ReadFileBytes(r.path),
              "Time,A-1 CH1 TEMP (C),A-1 CH2 TEMP (C),B-2 CH1 TEMP (C),B-2 CH2 TEMP (C),B-2 CH5 HUM (%RH),"
              "C-3 CH1 TEMP (C)\r\n"
              "2026-04-01 10:00:00,1.5,11,,,,\r\n"
              "2026-04-01 10:01:00,2.5,12,,,,\r\n"
              "2026-04-01 10:01:30,,,21,31,51,\r\n"
              "2026-04-01 10:02:00,3.5,,,,,\r\n"
              "2026-04-01 10:03:00,4.5,14,22,,52,\r\n"
              "2026-04-01 10:04:30,,,23.25,33,53,\r\n"
              "2026-04-02 08:00:00,,,,,,-7\r\n"
              "2026-04-02 08:01:00,,,,,,-8\r\n");
}

TEST(CompareCsv, TheRangeLimitsTheRowsAndRepeatedSerialsAreNamedByFile) {
    std::vector<CompareFile> files = ThreeFiles();
    files[2].set = files[0].set;  // same serial "A-1" as the first file
    files[2].path = "/data/copy, 2.kv";
    PrepareCompareFiles(files);
    test::TempDir dir;
    const ExportResult r =
        ExportCompareCsv(files, Clock("2026-04-01 10:01:30"), Clock("2026-04-01 10:03:00"), dir.Path() + "/out");
    ASSERT_TRUE(r.ok) << r.detail;
    EXPECT_EQ(r.path, dir.Path() + "/out.csv");
    EXPECT_EQ(test::ReadFileBytes(r.path),
              "Time,A-1 (a.kv) CH1 TEMP (C),A-1 (a.kv) CH2 TEMP (C),B-2 CH1 TEMP (C),B-2 CH2 TEMP (C),"
              "B-2 CH5 HUM (%RH),\"A-1 (copy, 2.kv) CH1 TEMP (C)\",\"A-1 (copy, 2.kv) CH2 TEMP (C)\"\r\n"
              "2026-04-01 10:01:30,,,21,31,51,,\r\n"
              "2026-04-01 10:02:00,3.5,,,,,3.5,\r\n"
              "2026-04-01 10:03:00,4.5,14,22,,52,4.5,14\r\n");
}

TEST(CompareCsv, AnUnwritableTargetFailsAndLeavesNothing) {
    const std::vector<CompareFile> files = ThreeFiles();
    test::TempDir dir;
    const ExportResult r = ExportCompareCsv(files, 0, Clock("2030-01-01 00:00:00"), dir.Path() + "/no/such/out.csv");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.empty());
}

}  // namespace
}  // namespace velorin
