// The data window's print commands and Save As through the main frame, with the history view
// as its data view: the serial-range chooser, the curve page and the report of the shown range.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <string>

#include "app/data_windows.h"
#include "gui/frame_fixture.h"
#include "history/dastrel_doc.h"
#include "history/kv_file.h"
#include "support/command_output.h"
#include "support/curve_data.h"
#include "ui/command_ids.h"
#include "view/dastrel_view.h"
#include "view/range_chooser.h"
#include "view/view_printing.h"

namespace velorin {
namespace {

using test::FileExists;

class ViewPrintTest : public test::MainFrameTest {
protected:
    // A frame whose data windows show the history view, with one window of 100 records.
    CMainFrame& FrameWithView() {
        WriteLanguageFile("Chinese");
        CMainFrame& frame = Frame();
        UseHistoryViews(frame);
        const std::string path = work_.Path() + "/run.kv";
        EXPECT_TRUE(WriteKvFile(path, test::MakeCurveSet(100, 2)).ok);
        EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
        return frame;
    }
    CDastrelView* View(CMainFrame& frame) { return ViewOf(frame.MdiArea()->activeSubWindow()); }

    // The range chooser answers with these serial numbers (Cancel when `ok` is false).
    void ChooseSerials(const QString& first, const QString& last, bool ok = true) {
        presenter_.onExec = [=](QDialog& dialog) {
            auto* chooser = qobject_cast<CTimeCho*>(&dialog);
            if (chooser == nullptr) return static_cast<int>(QDialog::Rejected);
            ++choosers_;
            EXPECT_EQ(chooser->FirstSerialEdit()->text(), QStringLiteral("1"));
            EXPECT_EQ(chooser->LastSerialEdit()->text(), QStringLiteral("1"));
            if (!ok) return static_cast<int>(QDialog::Rejected);
            chooser->FirstSerialEdit()->setText(first);
            chooser->LastSerialEdit()->setText(last);
            chooser->accept();
            return static_cast<int>(QDialog::Accepted);
        };
    }
    std::string PdfText(const std::string& path) const { return test::CommandOutput("pdftotext '" + path + "' -"); }

    int choosers_ = 0;
};

TEST_F(ViewPrintTest, PrintListAsksForTheSerialRangeAndPrintsIt) {
    CMainFrame& frame = FrameWithView();
    ASSERT_NE(View(frame), nullptr);
    const std::string pdf = work_.Path() + "/list.pdf";
    presenter_.printTo = QString::fromStdString(pdf);

    ChooseSerials(QStringLiteral("95"), QStringLiteral("200"));
    frame.RunCommand(ID_PRINT_LIST);
    EXPECT_EQ(choosers_, 1);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages.back().text, QStringLiteral("打印完毕"));
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("100"), std::string::npos);
    EXPECT_EQ(text.find("\n94\n"), std::string::npos) << "serial 94 lies before the range";

    ChooseSerials(QStringLiteral("5"), QStringLiteral("5"));
    frame.RunCommand(ID_PRINT_LIST);
    EXPECT_EQ(presenter_.messages.back().text, QStringLiteral("您要打印的数据范围不正确!"));
    EXPECT_EQ(presenter_.printDialogs, 1) << "a refused range opens no print dialog";

    ChooseSerials(QStringLiteral("1"), QStringLiteral("10"), false);
    frame.RunCommand(ID_PRINT_LIST);
    EXPECT_EQ(presenter_.messages.size(), 2u) << "Cancel in the chooser does nothing";
    EXPECT_EQ(presenter_.printDialogs, 1);

    // The view's own button runs the same command.
    ChooseSerials(QStringLiteral("1"), QStringLiteral("10"));
    QPushButton* button = nullptr;
    for (QPushButton* b : View(frame)->findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("打印列表")) button = b;
    }
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(choosers_, 4);
    EXPECT_EQ(presenter_.printDialogs, 2);
    EXPECT_EQ(presenter_.messages.back().text, QStringLiteral("打印完毕"));
}

TEST_F(ViewPrintTest, PrintCurveDrawsTheShownRangeOnOneLandscapePage) {
    CMainFrame& frame = FrameWithView();
    CDastrelView* view = View(frame);
    ASSERT_NE(view, nullptr);
    view->State().firstIndex = 10;
    view->State().endIndex = 40;
    view->Redraw();
    const std::string pdf = work_.Path() + "/curve.pdf";
    presenter_.printTo = QString::fromStdString(pdf);
    frame.RunCommand(ID_PRINT_CURVE);
    EXPECT_EQ(presenter_.printOrientation, QPageLayout::Landscape);
    ASSERT_EQ(presenter_.messages.size(), 1u);
    EXPECT_EQ(presenter_.messages[0].text, QStringLiteral("打印完毕"));
    const RecordSet& set = view->Document()->Set();
    char first[16], last[16];
    std::snprintf(first, sizeof first, "%.2d:%.2d:%.2d", set.records[10].hour, set.records[10].minute,
                  set.records[10].second);
    std::snprintf(last, sizeof last, "%.2d:%.2d:%.2d", set.records[39].hour, set.records[39].minute,
                  set.records[39].second);
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find(first), std::string::npos) << text;
    EXPECT_NE(text.find(last), std::string::npos) << text;
}

TEST_F(ViewPrintTest, SaveAsReportCoversTheShownRange) {
    CMainFrame& frame = FrameWithView();
    CDastrelView* view = View(frame);
    ASSERT_NE(view, nullptr);
    RecordSet& set = view->Document()->Set();
    for (int i = 0; i < 100; ++i) set.records[static_cast<size_t>(i)].value[0] = static_cast<float>(i);
    view->State().firstIndex = 10;
    view->State().endIndex = 20;
    presenter_.saveAnswer = QString::fromStdString(work_.Path() + "/range.pdf");
    presenter_.saveAsFilterAnswer = 1;
    frame.RunCommand(ID_FILE_SAVE_AS);
    ASSERT_TRUE(FileExists(work_.Path() + "/range.pdf"));
    // The report's statistics are those of records 10 … 19; the data set keeps its own.
    const std::string text = test::CommandOutput("pdftotext -layout '" + work_.Path() + "/range.pdf' -");
    EXPECT_NE(text.find("19.0@"), std::string::npos) << text;
    EXPECT_NE(text.find("10.0@"), std::string::npos) << text;
    EXPECT_NE(set.maxValue[0], 19.0f);
    EXPECT_NE(set.minValue[0], 10.0f);
}

}  // namespace
}  // namespace velorin
