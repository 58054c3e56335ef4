// velorin-cli export --encoding: the UTF-8 tables are the GBK ones converted by iconv (both
// languages, a Chinese user name, an empty data file), GBK stays the default, and the option is
// refused where it means nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_codec.h"
#include "e2e/process.h"
#include "history/kv_file.h"
#include "history/record_set.h"
#include "support/temp_dir.h"

namespace velorin::e2e {
namespace {

// A data file of `records` one-minute records of channel 1 (℃) with a Chinese user name.
std::string WriteDataFile(const velorin::test::TempDir& dir, int records) {
    RecordSet set;
    set.recordCount = records;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = 26;
        r.month = 5;
        r.day = 4;
        r.hour = 3;
        r.minute = i;
        r.value[0] = 121.1f;
    }
    set.channelEnabled[0] = 1;
    set.storageCapacity = 1000;
    set.deviceRecordCount = records;
    SetUnitText(set, 0, Utf8ToGbk("℃"));
    SetQuantityText(set, 0, Utf8ToGbk("温度"));
    StoreInField(set.userName, Utf8ToGbk("张工"));
    StoreInField(set.title, Utf8ToGbk("灭菌"));
    const std::string path = dir.Path() + "/run" + std::to_string(records) + ".kv";
    EXPECT_TRUE(WriteKvFile(path, set).ok);
    return path;
}

TEST(CliExportEncoding, Utf8TablesAreTheGbkTablesConvertedByIconv) {
    velorin::test::TempDir dir;
    for (int records : {0, 2}) {
        const std::string input = WriteDataFile(dir, records);
        for (const char* lang : {"en", "zh"}) {
            for (const char* form : {"csv", "txt"}) {
                SCOPED_TRACE(std::string(form) + " " + lang + " " + std::to_string(records));
                const std::string base = dir.Path() + "/" + form + lang + std::to_string(records);
                const RunResult gbk = RunProgram(
                    "velorin-cli", {"export", input, std::string("--") + form, base + "-gbk", "--lang", lang});
                const RunResult utf8 = RunProgram(
                    "velorin-cli",
                    {"export", input, std::string("--") + form, base + "-utf8", "--lang", lang, "--encoding", "utf-8"});
                ASSERT_EQ(gbk.exitCode, 0) << gbk.err;
                ASSERT_EQ(utf8.exitCode, 0) << utf8.err;
                const std::string gbkPath = base + "-gbk." + form;
                const RunResult iconv = RunProgram("/usr/bin/iconv", {"-f", "GBK", "-t", "UTF-8", gbkPath});
                ASSERT_EQ(iconv.exitCode, 0) << iconv.err;
                EXPECT_NE(iconv.out.find("张工"), std::string::npos);
                const std::string bom = std::string(form) == "csv" ? "\xEF\xBB\xBF" : "";
                EXPECT_EQ(velorin::test::ReadFileBytes(base + "-utf8." + form), bom + iconv.out);
                // Naming GBK is the default spelled out.
                const RunResult named = RunProgram(
                    "velorin-cli",
                    {"export", input, std::string("--") + form, base + "-named", "--lang", lang, "--encoding", "gbk"});
                ASSERT_EQ(named.exitCode, 0) << named.err;
                EXPECT_EQ(velorin::test::ReadFileBytes(base + "-named." + form), velorin::test::ReadFileBytes(gbkPath));
            }
        }
    }
}

TEST(CliExportEncoding, UnknownEncodingAndPdfEncodingAreUsageErrors) {
    velorin::test::TempDir dir;
    const std::string input = WriteDataFile(dir, 1);
    const std::vector<std::vector<std::string>> wrong = {
        {"export", input, "--csv", dir.Path() + "/x", "--encoding", "latin1"},
        {"export", input, "--pdf", dir.Path() + "/x", "--encoding", "utf-8"},
    };
    for (const auto& args : wrong) {
        const RunResult r = RunProgram("velorin-cli", args);
        EXPECT_EQ(r.exitCode, 1) << testing::PrintToString(args);
        EXPECT_NE(r.err.find("--encoding"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(velorin::test::FileExists(dir.Path() + "/x.csv"));
    EXPECT_FALSE(velorin::test::FileExists(dir.Path() + "/x.pdf"));
}

}  // namespace
}  // namespace velorin::e2e
