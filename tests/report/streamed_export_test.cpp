// The tables streamed from a data file: byte for byte the tables of the set read whole, over
// the CSV's side-by-side blocks; a file that loses its records while it is exported fails
// without touching the target; a FIFO is refused at once.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "common/language.h"
#include "history/kv_file.h"
#include "history/kv_record_stream.h"
#include "history/record_set.h"
#include "report/export_test_data.h"
#include "report/text_export.h"
#include "support/curve_data.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using ExportFrom = ExportResult (*)(const RecordSet&, RecordSource&, const std::string&, const ExportOptions&);
using ExportWhole = ExportResult (*)(const RecordSet&, const std::string&, const ExportOptions&);

TEST(StreamedExport, TablesAreByteIdenticalToTheSetReadWhole) {
    test::TempDir dir;
    // A small set, one just past the CSV's first block, and six channels over five blocks with
    // missing samples of both kinds.
    RecordSet blocks = test::SmallSet(kCsvBlockRows + 1);
    for (int i = 0; i < kCsvBlockRows + 1; ++i) test::SetTime(blocks.records[static_cast<size_t>(i)], i);
    const RecordSet sets[] = {test::SmallSet(3), blocks, test::MakeCurveSet(4 * kCsvBlockRows + 999, 6, 60, 500),
                              test::SmallSet(0)};
    ExportOptions options;
    options.display.channelType[0] = 0x22;  // two decimals in the first block
    for (const RecordSet& set : sets) {
        const std::string kv = dir.Path() + "/in.kv";
        ASSERT_TRUE(WriteKvFile(kv, set).ok);
        RecordSet whole;
        ASSERT_TRUE(ReadKvFile(kv, whole).ok());
        struct Form {
            ExportWhole whole;
            ExportFrom streamed;
            const char* name;
        };
        for (const Form& f : {Form{ExportCsv, ExportCsv, "csv"}, Form{ExportTxt, ExportTxt, "txt"}}) {
            for (const bool english : {true, false}) {
                options.display.language = english ? Language::English : Language::Chinese;
                const ExportResult a = f.whole(whole, dir.Path() + "/whole", options);
                ASSERT_TRUE(a.ok) << a.detail;
                KvRecordStream stream;
                RecordSet head;
                ASSERT_TRUE(stream.Open(kv, head).ok());
                EXPECT_TRUE(head.records.empty());
                EXPECT_EQ(stream.Count(), set.recordCount);
                const ExportResult b = f.streamed(head, stream, dir.Path() + "/streamed", options);
                ASSERT_TRUE(b.ok) << b.detail;
                const std::string expected = test::ReadFileBytes(a.path);
                EXPECT_TRUE(expected == test::ReadFileBytes(b.path))
                    << f.name << " of " << set.recordCount << " records differs";
                EXPECT_GT(expected.size(), 100u);
            }
        }
    }
}

TEST(StreamedExport, FileLosingItsRecordsFailsAndLeavesTheTarget) {
    test::TempDir dir;
    const std::string kv = dir.Path() + "/in.kv";
    ASSERT_TRUE(WriteKvFile(kv, test::MakeCurveSet(20000, 2, 60, 0)).ok);
    const std::string target = dir.MakeFile("table.csv", "earlier table");
    KvRecordStream stream;
    RecordSet head;
    ASSERT_TRUE(stream.Open(kv, head).ok());
    std::filesystem::resize_file(kv, 4 + 48 * 9000);  // cut while open: records 9000 … are gone
    const ExportResult r = ExportCsv(head, stream, target, ExportOptions());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.empty());
    EXPECT_EQ(test::ReadFileBytes(target), "earlier table");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);  // no temporary left
}

TEST(StreamedExport, OpeningRefusesWhatIsNoDataFileWithoutBlocking) {
    test::TempDir dir;
    const std::string fifo = dir.Path() + "/pipe.kv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    RecordSet head;
    head.recordCount = 7;
    KvRecordStream stream;
    EXPECT_EQ(stream.Open(fifo, head).error, KvReadError::CannotOpen);  // returns: nobody writes
    EXPECT_EQ(head.recordCount, 7);
    EXPECT_EQ(stream.Record(0), nullptr);
    const std::string shortFile = dir.MakeFile("short.kv", std::string("\x05\x00\x00\x00", 4) + std::string(100, '\0'));
    EXPECT_EQ(stream.Open(shortFile, head).error, KvReadError::Truncated);
    EXPECT_EQ(stream.Count(), 0);
}

}  // namespace
}  // namespace velorin
