// Save As without the dialog: the form of each filter index and the extension rule (the
// writers behind the dispatcher are tested through the data window's command), and a report
// that leaves the document as it was.
#include <gtest/gtest.h>

#include "common/language.h"
#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "report/report_test_data.h"
#include "report/save_as.h"
#include "support/temp_dir.h"

namespace velorin::test {
namespace {

TEST(SaveAs, FilterIndexChoosesTheFormAndOthersAreRefused) {
    SaveForm form = SaveForm::Kv;
    for (int bad : {0, 7, -1}) EXPECT_FALSE(SaveFormOfFilter(bad, form)) << bad;
    EXPECT_EQ(form, SaveForm::Kv);  // untouched by a refused index
    const SaveForm expected[6] = {SaveForm::Pdf, SaveForm::Csv,     SaveForm::Txt,
                                  SaveForm::Kv,  SaveForm::CsvUtf8, SaveForm::TxtUtf8};
    for (int i = 1; i <= 6; ++i) {
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
    EXPECT_EQ(SaveAsTarget("u", SaveForm::CsvUtf8), "u.csv");
    EXPECT_EQ(SaveAsTarget("u.txt", SaveForm::TxtUtf8), "u.txt");
}

TEST(SaveAs, APdfReportOfARangeLeavesTheDocumentsStatisticsAsTheyWere) {
    TempDir dir;
    CDastrelDoc doc;
    RecordSet& set = doc.Set();
    set = ReportSet(8, {1, 2});
    for (int i = 0; i < 8; ++i) set.records[static_cast<size_t>(i)].value[0] = 10.0f + 2.0f * i;
    set.maxValue[0] = 24.0f;
    set.minValue[0] = 10.0f;
    set.avgValue[0] = 17.0f;
    const std::string before = SerializeKv(set);

    SaveAsOptions options;
    options.display.language = Language::English;
    options.firstIndex = 2;  // records 2..4: 14, 16, 18
    options.endIndex = 5;
    ASSERT_TRUE(SaveDocumentAs(doc, SaveForm::Pdf, dir.Path() + "/range.pdf", options).ok);
    EXPECT_FLOAT_EQ(set.maxValue[0], 24.0f);
    EXPECT_FLOAT_EQ(set.minValue[0], 10.0f);
    EXPECT_FLOAT_EQ(set.avgValue[0], 17.0f);
    EXPECT_EQ(set.maxTime[0].minute, 0);
    // A later save of the document writes exactly what it held before the report.
    ASSERT_TRUE(SaveDocumentAs(doc, SaveForm::Kv, dir.Path() + "/again.kv", options).ok);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "/again.kv"), before);
}

}  // namespace
}  // namespace velorin::test
