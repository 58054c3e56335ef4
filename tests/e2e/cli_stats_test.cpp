// velorin-cli stats and compare as a user runs them: the JSON object and the text, the exit
// codes of wrong times, empty ranges and unreadable files, --help, and a comparison written as
// CSV and PDF.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/analysis_test_data.h"
#include "e2e/process.h"
#include "history/kv_file.h"
#include "support/temp_dir.h"

namespace velorin::e2e {
namespace {

using test::AnalysisSet;

class CliStats : public ::testing::Test {
protected:
    void SetUp() override {
        a_ = dir_.Path() + "/a.kv";
        b_ = dir_.Path() + "/b.kv";
        RecordSet a = AnalysisSet("A7", "2026-07-01 08:00:00", 3725, {1, 3},
                                  {{12.5f, 31.0f, -3276.7f, 8.0f}, {50.0f, 55.0f, 60.0f, 65.0f}});
        SetQuantityText(a, 2, "HUM");
        SetUnitText(a, 2, "%RH");
        a.upperAlarmX10[2] = 900;
        ASSERT_TRUE(WriteKvFile(a_, a).ok);
        ASSERT_TRUE(WriteKvFile(b_, AnalysisSet("B8", "2026-07-01 09:02:05", 60, {1}, {{20.0f, 21.0f}})).ok);
    }
    RunResult Cli(const std::vector<std::string>& args) { return RunProgram("velorin-cli", args, {}, dir_.Path()); }

    test::TempDir dir_;
    std::string a_, b_;
};

TEST_F(CliStats, JsonOfARangePrintsOneObject) {
    const RunResult r = Cli({"stats", a_, "--from", "2026-07-01 09:02:05", "--to", "2026-07-01 11:00:00", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "{\"file\": \"" + a_ +
            "\", \"serial\": \"A7\", \"from\": \"2026-07-01 09:02:05\", \"to\": \"2026-07-01 10:04:10\", "
            "\"records\": 2, \"interval_s\": 3725, \"channels\": ["
            "{\"channel\": 1, \"quantity\": \"TEMP\", \"unit\": \"C\", \"count\": 1, \"missing\": 1, "
            "\"min\": 31, \"min_time\": \"2026-07-01 09:02:05\", \"max\": 31, \"max_time\": \"2026-07-01 09:02:05\", "
            "\"avg\": 31, \"mkt\": 31, \"upper\": 30, \"lower\": 10, \"above_upper_s\": 3725, \"below_lower_s\": 0, "
            "\"first_above\": \"2026-07-01 09:02:05\", \"first_below\": null}, "
            "{\"channel\": 3, \"quantity\": \"HUM\", \"unit\": \"%RH\", \"count\": 2, \"missing\": 0, "
            "\"min\": 55, \"min_time\": \"2026-07-01 09:02:05\", \"max\": 60, \"max_time\": \"2026-07-01 10:04:10\", "
            "\"avg\": 57.5, \"mkt\": null, \"upper\": 90, \"lower\": 10, \"above_upper_s\": 0, \"below_lower_s\": 0, "
            "\"first_above\": null, \"first_below\": null}]}\n");
}

TEST_F(CliStats, TextInBothLanguages) {
    const RunResult en = Cli({"stats", a_, "--lang", "en"});
    ASSERT_EQ(en.exitCode, 0) << en.err;
    EXPECT_NE(en.out.find("Records: 4\n"), std::string::npos) << en.out;
    EXPECT_NE(en.out.find("  MIN: 8  2026-07-01 11:06:15\n"), std::string::npos) << en.out;
    EXPECT_NE(en.out.find("  Time below lower: 3725 s (1:02:05)\n"), std::string::npos) << en.out;
    const RunResult zh = Cli({"stats", a_, "--lang", "zh"});
    ASSERT_EQ(zh.exitCode, 0) << zh.err;
    EXPECT_NE(zh.out.find("记录数: 4\n"), std::string::npos) << zh.out;
    EXPECT_NE(zh.out.find("通道3 HUM (%RH)\n"), std::string::npos) << zh.out;
}

TEST_F(CliStats, ExitCodesOfWrongTimesEmptyRangesAndUnreadableFiles) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"stats", a_, "--from", "2026-02-30 00:00:00"},
          std::vector<std::string>{"stats", a_, "--to", "2026-07-01"},
          std::vector<std::string>{"stats", a_, "--from", "2026-07-02 00:00:00", "--to", "2026-07-01 00:00:00"},
          std::vector<std::string>{"stats"}, std::vector<std::string>{"stats", a_, b_},
          std::vector<std::string>{"stats", a_, "--lang", "fr"}}) {
        const RunResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.back() << r.err;
        EXPECT_NE(r.err.find("usage: velorin-cli stats"), std::string::npos) << r.err;
    }
    const RunResult empty =
        Cli({"stats", a_, "--from", "2026-07-01 08:00:01", "--to", "2026-07-01 09:02:04", "--json"});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("no record"), std::string::npos) << empty.err;
    const RunResult missing = Cli({"stats", dir_.Path() + "/none.kv"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
}

TEST_F(CliStats, StatsAndCompareAnswerHelp) {
    for (const char* command : {"stats", "compare"}) {
        const RunResult r = Cli({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_NE(r.out.find(std::string("usage: velorin-cli ") + command), std::string::npos) << r.out;
    }
    const RunResult top = Cli({"--help"});
    EXPECT_NE(top.out.find("  stats "), std::string::npos) << top.out;
    EXPECT_NE(top.out.find("  compare "), std::string::npos) << top.out;
}

TEST_F(CliStats, CompareWritesTheTableAndTheReport) {
    const std::string csv = dir_.Path() + "/cmp.csv";
    const RunResult r = Cli({"compare", a_, b_, "--from", "2026-07-01 09:00:00", "--csv", csv});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, csv + "\n");
    EXPECT_EQ(ReadLines(csv), (std::vector<std::string>{"Time,A7 CH1 TEMP (C),A7 CH3 HUM (%RH),B8 CH1 TEMP (C)\r",
                                                        "2026-07-01 09:02:05,31,55,20\r", "2026-07-01 09:03:05,,,21\r",
                                                        "2026-07-01 10:04:10,,60,\r", "2026-07-01 11:06:15,8,65,\r"}));
    const std::string pdf = dir_.Path() + "/cmp.pdf";
    const RunResult p = Cli({"compare", a_, b_, "--pdf", pdf, "--lang", "en"});
    ASSERT_EQ(p.exitCode, 0) << p.err;
    EXPECT_TRUE(test::FileExists(pdf));

    EXPECT_EQ(Cli({"compare", a_, "--csv", csv}).exitCode, 1);
    EXPECT_EQ(Cli({"compare", a_, b_}).exitCode, 1);
    EXPECT_EQ(Cli({"compare", a_, b_, "--csv", csv, "--pdf", pdf}).exitCode, 1);
    EXPECT_EQ(Cli({"compare", a_, b_, "--csv", csv, "--from", "yesterday"}).exitCode, 1);
    EXPECT_EQ(Cli({"compare", a_, b_, "--csv", csv, "--from", "2030-01-01 00:00:00"}).exitCode, 2);
    const RunResult bad = Cli({"compare", a_, dir_.Path() + "/none.kv", "--csv", csv});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("none.kv"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace velorin::e2e
