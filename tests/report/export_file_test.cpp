// Where the exports write: the extension rule, and failures that must leave an existing file
// as it was and no half-written file behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "history/record_set.h"
#include "report/export_test_data.h"
#include "report/text_export.h"
#include "support/temp_dir.h"

namespace velorin {
namespace {

using ExportFunction = ExportResult (*)(const RecordSet&, const std::string&, const ExportOptions&);

size_t FilesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

TEST(ExportFile, ExtensionIsAppendedOnlyWhenMissing) {
    test::TempDir dir;
    const RecordSet set = test::SmallSet(1);
    struct Case {
        ExportFunction exporter;
        const char* given;
        const char* written;
    } cases[] = {
        {ExportCsv, "plain", "plain.csv"},     {ExportCsv, "table.csv", "table.csv"},
        {ExportCsv, "a.csv.bak", "a.csv.bak"}, {ExportCsv, "UPPER.CSV", "UPPER.CSV.csv"},
        {ExportCsv, "run.kv", "run.kv.csv"},   {ExportCsv, "list.txt", "list.txt.csv"},
        {ExportTxt, "plain", "plain.txt"},     {ExportTxt, "list.txt", "list.txt"},
        {ExportTxt, "b.txt.old", "b.txt.old"}, {ExportTxt, "table.csv", "table.csv.txt"},
    };
    for (const Case& c : cases) {
        const ExportResult r = c.exporter(set, dir.Path() + "/" + c.given, ExportOptions());
        EXPECT_TRUE(r.ok) << c.given << ": " << r.detail;
        EXPECT_EQ(r.path, dir.Path() + "/" + c.written);
        EXPECT_TRUE(std::filesystem::is_regular_file(r.path)) << r.path;
    }
    EXPECT_EQ(FilesIn(dir.Path()), std::size(cases));
}

TEST(ExportFile, ExistingFileIsReplaced) {
    test::TempDir dir;
    const std::string path = dir.MakeFile("old.csv", std::string(100000, 'x'));
    ASSERT_TRUE(ExportCsv(test::SmallSet(1), path, ExportOptions()).ok);
    const std::string text = test::ReadFileBytes(path);
    EXPECT_EQ(text.find('x'), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(ExportFile, UncreatableFileIsReportedWithTheSystemError) {
    test::TempDir dir;
    for (ExportFunction exporter : std::initializer_list<ExportFunction>{ExportCsv, ExportTxt}) {
        const ExportResult r = exporter(test::SmallSet(1), dir.Path() + "/missing/out", ExportOptions());
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.detail, "No such file or directory");
    }
    EXPECT_EQ(FilesIn(dir.Path()), 0u);
}

TEST(ExportFile, TargetThatIsAFolderIsNotReplaced) {
    test::TempDir dir;
    const std::string folder = dir.MakeDir("out.csv");
    dir.MakeFile("out.csv/keep", "kept");
    const ExportResult r = ExportCsv(test::SmallSet(1), folder, ExportOptions());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.detail.empty());
    EXPECT_EQ(test::ReadFileBytes(folder + "/keep"), "kept");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);  // no temporary file left behind
}

// Lets writes of this process fail beyond `bytes` (EFBIG instead of a signal) for its scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }
    bool Ok() const { return ok_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool ok_ = false;
};

TEST(ExportFile, WriteFailingMidwayLeavesTheExistingFileIntact) {
    test::TempDir dir;
    const std::string csvPath = dir.MakeFile("data.csv", "previous table");
    const std::string txtPath = dir.MakeFile("data.txt", "previous list");
    const RecordSet set = test::SmallSet(20000);  // about 1 MB of rows, far beyond the limit
    ExportResult csv, txt;
    {
        FileSizeLimit limit(200000);
        ASSERT_TRUE(limit.Ok());
        csv = ExportCsv(set, csvPath, ExportOptions());
        txt = ExportTxt(set, txtPath, ExportOptions());
    }
    EXPECT_FALSE(csv.ok);
    EXPECT_FALSE(txt.ok);
    EXPECT_EQ(csv.detail, "File too large");
    EXPECT_EQ(test::ReadFileBytes(csvPath), "previous table");
    EXPECT_EQ(test::ReadFileBytes(txtPath), "previous list");
    EXPECT_EQ(FilesIn(dir.Path()), 2u);
}

}  // namespace
}  // namespace velorin
