// Save As without the dialog: the form of each filter index and the extension rule (the
// writers behind the dispatcher are tested through the data window's command).
#include <gtest/gtest.h>

#include "report/save_as.h"

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

}  // namespace
}  // namespace velorin::test
