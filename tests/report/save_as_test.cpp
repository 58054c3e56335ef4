// Save As without the dialog: the form of each filter index, the extension rule, and each
// writer reached through the dispatcher with its failure message.
#include <gtest/gtest.h>

#include "history/dastrel_doc.h"
#include "report/report_test_data.h"
#include "report/save_as.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

TEST(SaveAs, FilterIndexChoosesTheFormAndOthersAreRefused) {
    SaveForm form = SaveForm::Kv;
    for (int bad : {0, 5, -1}) EXPECT_FALSE(SaveFormOfFilter(bad, form)) << bad;
    EXPECT_EQ(form, SaveForm::Kv);  // untouched by a refused index
    const SaveForm expected[4] = {SaveForm::Pdf, SaveForm::Csv, SaveForm::Txt, SaveForm::Kv};
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(SaveFormOfFilter(i, form));
        EXPECT_EQ(form, expected[i - 1]);
    }
}

TEST(SaveAs, ExtensionIsAppendedUnlessItOccursAnywhereWithTheSameCase) {
    EXPECT_EQ(SaveAsTarget("report.csv", SaveForm::Pdf), "report.csv.pdf");
    EXPECT_EQ(SaveAsTarget("data", SaveForm::Kv), "data.kv");
    EXPECT_EQ(SaveAsTarget("a.PDF", SaveForm::Pdf), "a.PDF.pdf");
    EXPECT_EQ(SaveAsTarget("x.pdf.bak", SaveForm::Pdf), "x.pdf.bak");
    EXPECT_EQ(SaveAsTarget("dir.kv/list", SaveForm::Kv), "dir.kv/list");
    EXPECT_EQ(SaveAsTarget("t.txt", SaveForm::Txt), "t.txt");
}

TEST(SaveAs, EachFormReachesItsWriterAndFailuresCarryTheirMessage) {
    TempDir dir;
    CDastrelDoc doc;
    doc.Set() = ReportSet(4, {1});
    SaveAsOptions options;
    options.english = true;
    const SaveAsResult pdf = SaveDocumentAs(doc, SaveForm::Pdf, dir.Path() + "/r", options);
    ASSERT_TRUE(pdf.ok) << GbkToUtf8(pdf.failure);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/r.pdf").substr(0, 5), "%PDF-");
    ASSERT_TRUE(SaveDocumentAs(doc, SaveForm::Txt, dir.Path() + "/r", options).ok);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/r.txt").rfind("User name:Lab 3", 0), 0u);
    ASSERT_TRUE(SaveDocumentAs(doc, SaveForm::Kv, dir.Path() + "/r", options).ok);
    CDastrelDoc again;
    ASSERT_EQ(again.OnOpenDocument(dir.Path() + "/r.kv").outcome, DocOpenOutcome::Opened);
    EXPECT_EQ(again.Set().recordCount, 4);

    const std::string missing = dir.Path() + "/none/r";
    const SaveAsResult csv = SaveDocumentAs(doc, SaveForm::Csv, missing, options);
    EXPECT_FALSE(csv.ok);
    EXPECT_EQ(csv.failure.rfind("Cannot store the data file " + missing + ".csv: ", 0), 0u) << csv.failure;
    options.english = false;
    const SaveAsResult report = SaveDocumentAs(doc, SaveForm::Pdf, missing, options);
    EXPECT_EQ(report.failure.rfind(G("创建PDF文件失败！\n路径: ") + missing + ".pdf", 0), 0u) << GbkToUtf8(report.failure);
    const SaveAsResult kv = SaveDocumentAs(doc, SaveForm::Kv, missing, options);
    EXPECT_EQ(kv.failure.rfind(G("无法保存数据文件 ") + missing + ".kv", 0), 0u) << GbkToUtf8(kv.failure);
}

}  // namespace
}  // namespace velorin::test
