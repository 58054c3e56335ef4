// Printing to PDF files through QPrinter: page count, the printed texts, the refused range and
// the job's closing message.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <QString>
#include <cstdio>
#include <string>

#include "common/text_codec.h"
#include "gui/scripted_presenter.h"
#include "history/record_set.h"
#include "support/command_output.h"
#include "support/temp_dir.h"
#include "view/print_job.h"

namespace velorin {
namespace {

RecordSet ListSet(int records) {
    RecordSet set;
    set.recordCount = records;
    set.records.resize(static_cast<size_t>(records));
    for (int i = 0; i < records; ++i) {
        SampleRecord& r = set.records[static_cast<size_t>(i)];
        r.year = 26, r.month = 12, r.day = 9, r.hour = 10, r.minute = i % 60, r.second = 0;
        r.value[0] = 21.5f + static_cast<float>(i % 7);
        r.value[2] = 55.25f;
    }
    set.channelEnabled[0] = set.channelEnabled[2] = 1;
    SetUnitText(set, 0, Utf8ToGbk("℃"));
    SetUnitText(set, 2, "%RH");
    SetQuantityText(set, 0, Utf8ToGbk("温度"));
    StoreInField(set.userName, "Lab 3");
    return set;
}

class PrintJobTest : public ::testing::Test {
protected:
    // The print dialog answers with a PDF file.
    void PrintTo(const std::string& name) {
        path_ = dir_.Path() + "/" + name;
        presenter_.printTo = QString::fromStdString(path_);
    }
    // A poppler tool's output for the printed file (`toStdout`: the tool takes "-" as its output).
    std::string Run(const std::string& tool, bool toStdout = true) const {
        return test::CommandOutput(tool + " '" + path_ + "'" + (toStdout ? " -" : ""));
    }
    int Pages() const {
        const std::string info = Run("pdfinfo", false);
        const size_t at = info.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
    }

    test::TempDir dir_;
    test::ScriptedPresenter presenter_;
    std::string path_;
    const uint8_t types_[8] = {0x02, 0, 0x22};
};

TEST_F(PrintJobTest, DataListRunsOverSeveralPagesAndEndsWithItsMessage) {
    PrintTo("list.pdf");
    PrintList(presenter_, ListSet(300), types_, 1, 300);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("打印完毕"));
    EXPECT_EQ(presenter_.messages[0].icon, BoxIcon::Information);
    EXPECT_GE(Pages(), 3) << "300 rows do not fit on two pages";
    const std::string text = Run("pdftotext -layout");
    EXPECT_NE(text.find("用户名:Lab 3"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("通道1(℃)"), std::string::npos);
    EXPECT_NE(text.find("2026-12-09"), std::string::npos);
    EXPECT_NE(text.find("55.25"), std::string::npos) << "two decimals for the hundredths channel";
    EXPECT_NE(text.find("300"), std::string::npos);
}

TEST_F(PrintJobTest, RefusedRangeShowsItsMessageWithoutADialog) {
    PrintTo("none.pdf");
    PrintList(presenter_, ListSet(100), types_, 5, 5);
    EXPECT_EQ(presenter_.printDialogs, 0);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("您要打印的数据范围不正确!"));
    EXPECT_FALSE(test::FileExists(path_));
}

TEST_F(PrintJobTest, NoEnabledChannelAbortsTheJob) {
    RecordSet set = ListSet(10);
    set.channelEnabled[0] = set.channelEnabled[2] = 0;
    PrintTo("aborted.pdf");
    PrintList(presenter_, set, types_, 1, 10);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("Encountered Error While Printing\nPrint Job Aborted"));
    EXPECT_EQ(presenter_.messages[0].icon, BoxIcon::Warning);
}

TEST_F(PrintJobTest, CancelledDialogPrintsNothingAndSaysNothing) {
    PrintList(presenter_, ListSet(10), types_, 1, 10);  // no print target: the dialog is cancelled
    PrintCurve(presenter_, ListSet(10), 0, 10, QImage());
    EXPECT_EQ(presenter_.printDialogs, 2);
    EXPECT_TRUE(presenter_.messages.empty());
}

TEST_F(PrintJobTest, CurvePageIsOneLandscapePageWithSummaryAndPlot) {
    QImage plot(400, 200, QImage::Format_RGB32);
    plot.fill(Qt::white);
    PrintTo("curve.pdf");
    PrintCurve(presenter_, ListSet(50), 10, 40, plot);
    EXPECT_EQ(presenter_.printOrientation, QPageLayout::Landscape) << "the dialog opens in landscape";
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("打印完毕"));
    EXPECT_EQ(Pages(), 1);
    const std::string text = Run("pdftotext");
    EXPECT_NE(text.find("记录次数:50"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("10:10:00"), std::string::npos) << "time of the first shown record";
    EXPECT_NE(text.find("10:39:00"), std::string::npos) << "time of the last shown record";
}

}  // namespace
}  // namespace velorin
