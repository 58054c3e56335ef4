// The comparison window with three data files: the legend names file and channel, the readout
// lists each file's value at the pointer's time (none for a file that has no record then), two
// cursors give Δt and each curve's Δ, zoom, "Return" and "Range" change the shown window; and
// the main frame's "Compare…" command opens it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "analysis/clock_time.h"
#include "analysis/compare_axis.h"
#include "analysis/compare_canvas.h"
#include "analysis/compare_command.h"
#include "analysis/compare_files.h"
#include "analysis/compare_statistics_table.h"
#include "analysis/compare_window.h"
#include "analysis/number_text.h"
#include "common/date_time.h"
#include "common/language.h"
#include "gui/frame_fixture.h"
#include "history/kv_file.h"
#include "support/compare_data.h"
#include "ui/command_ids.h"
#include "view/curve_geometry.h"
#include "view/range_chooser.h"

namespace velorin::test {
namespace {

// A: 08:00 every minute for 2 hours, channels 1 and 2 (value = minutes since 08:00, and 50 +
// that); B: the same serial number, 08:30 every 5 minutes until 10:00, channel 1 (100 + 5 ×
// record); C: 06:00 every 2 minutes until 08:58, channels 1, 2 and 5 (−record).
std::vector<CompareFile> ThreeFiles() {
    const int64_t t0 = Morning();
    std::vector<CompareFile> files;
    files.push_back(FileOf(MakeLoggerSet("S100", "room", t0, 60, 121, {1, 2},
                                         [](int32_t i, int c) { return static_cast<float>(c == 0 ? i : 50 + i); }),
                           "/data/a.kv"));
    files.push_back(
        FileOf(MakeLoggerSet("S100", "room", t0 + 1800, 300, 19, {1}, [](int32_t i, int) { return 100.0f + 5.0f * i; }),
               "/data/b.kv"));
    files.push_back(FileOf(
        MakeLoggerSet("S300", "", t0 - 7200, 120, 90, {1, 2, 5}, [](int32_t i, int) { return -static_cast<float>(i); }),
        "/data/c.kv"));
    PrepareCompareFiles(files);
    return files;
}

// Local calendar seconds of 2025-06-02 at the given hour, as the range chooser takes them.
int64_t LocalHour(int hour, int minute) { return CDealTime(2025, 6, 2, hour, minute, 0).GetTime(); }

void Mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, int x, int y) {
    const QPointF p(x, y);
    QMouseEvent event(type, p, w->mapToGlobal(p), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

class CompareWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<CompareWindow>(std::make_shared<const std::vector<CompareFile>>(ThreeFiles()),
                                                  Language::English);
        window_->resize(1200, 800);
        window_->show();
        QApplication::processEvents();
        canvas_ = window_->Canvas();
    }
    // The x of a time on the canvas, and the time the canvas reads back there.
    int X(int64_t t) const { return TimeX(t, canvas_->Window(), canvas_->width()); }
    int64_t At(int x) const { return TimeAtX(x, canvas_->Window(), canvas_->width()); }
    QString Cell(int row, int column) const { return window_->Legend()->topLevelItem(row)->text(column); }

    std::unique_ptr<CompareWindow> window_;
    CompareCanvas* canvas_ = nullptr;
};

TEST_F(CompareWindowTest, LegendNamesFileAndChannelOfEveryCurve) {
    QTreeWidget* legend = window_->Legend();
    ASSERT_EQ(legend->topLevelItemCount(), 6);
    // The repeated serial number is told apart by file name.
    EXPECT_EQ(Cell(0, CompareWindow::kFileColumn), QStringLiteral("S100 (a.kv), room"));
    EXPECT_EQ(Cell(1, CompareWindow::kFileColumn), QStringLiteral("S100 (a.kv), room"));
    EXPECT_EQ(Cell(2, CompareWindow::kFileColumn), QStringLiteral("S100 (b.kv), room"));
    EXPECT_EQ(Cell(3, CompareWindow::kFileColumn), QStringLiteral("S300"));
    EXPECT_EQ(Cell(1, CompareWindow::kChannelColumn), QStringLiteral("CH2 TEMP (C)"));
    EXPECT_EQ(Cell(5, CompareWindow::kChannelColumn), QStringLiteral("CH5 TEMP (C)"));
    // One colour per file, one style per channel.
    const std::vector<CompareCurve>& curves = canvas_->Curves();
    EXPECT_EQ(curves[0].colour, curves[1].colour);
    EXPECT_NE(curves[0].colour, curves[2].colour);
    EXPECT_NE(curves[2].colour, curves[3].colour);
    EXPECT_EQ(curves[0].style, curves[3].style);
    EXPECT_NE(curves[0].style, curves[1].style);
    // Unticking a row hides its curve.
    legend->topLevelItem(2)->setCheckState(CompareWindow::kFileColumn, Qt::Unchecked);
    EXPECT_FALSE(canvas_->Curves()[2].visible);
}

TEST_F(CompareWindowTest, PointerReadoutListsEachFilesValueAndNothingWhereAFileHasNoRecord) {
    // 07:00: only C records (A starts at 08:00, B at 08:30).
    const int x = X(Morning() - 3600);
    const int64_t t = At(x);
    Mouse(canvas_, QEvent::MouseMove, Qt::NoButton, x, canvas_->height() / 2);
    const int32_t c = static_cast<int32_t>((t - (Morning() - 7200)) / 120);
    EXPECT_EQ(Cell(0, CompareWindow::kPointerColumn), QStringLiteral("-"));
    EXPECT_EQ(Cell(2, CompareWindow::kPointerColumn), QStringLiteral("-"));
    EXPECT_EQ(Cell(3, CompareWindow::kPointerColumn), QString::asprintf("%.2f", -static_cast<double>(c)));
    EXPECT_TRUE(window_->InfoText().contains(QString::fromStdString(ClockTimeText(t))));
    // 08:45: every file has a value.
    const int x2 = X(Morning() + 2700);
    const int64_t t2 = At(x2);
    Mouse(canvas_, QEvent::MouseMove, Qt::NoButton, x2, canvas_->height() / 2);
    EXPECT_EQ(Cell(0, CompareWindow::kPointerColumn),
              QString::asprintf("%.2f", static_cast<double>((t2 - Morning()) / 60)));
    EXPECT_EQ(Cell(1, CompareWindow::kPointerColumn),
              QString::asprintf("%.2f", 50.0 + static_cast<double>((t2 - Morning()) / 60)));
    EXPECT_EQ(Cell(2, CompareWindow::kPointerColumn),
              QString::asprintf("%.2f", 100.0 + 5.0 * static_cast<double>((t2 - Morning() - 1800) / 300)));
    // Leaving the plot empties the column.
    Mouse(canvas_, QEvent::MouseMove, Qt::NoButton, 5, 5);
    EXPECT_TRUE(Cell(0, CompareWindow::kPointerColumn).isEmpty());
}

TEST_F(CompareWindowTest, CursorsGiveTimeDifferenceAndEachCurvesDelta) {
    const int x1 = X(Morning() + 600), x2 = X(Morning() + 4200);
    Mouse(canvas_, QEvent::MouseButtonPress, Qt::LeftButton, x1, 100);
    Mouse(canvas_, QEvent::MouseButtonRelease, Qt::LeftButton, x1, 100);
    Mouse(canvas_, QEvent::MouseButtonPress, Qt::RightButton, x2, 100);
    ASSERT_TRUE(canvas_->HasCursor(1));
    ASSERT_TRUE(canvas_->HasCursor(2));
    const int64_t t1 = canvas_->CursorTime(1), t2 = canvas_->CursorTime(2);
    EXPECT_EQ(t1, At(x1));
    EXPECT_EQ(t2, At(x2));
    EXPECT_TRUE(window_->InfoText().contains(QStringLiteral("Δt: ") + QString::fromStdString(DurationText(t2 - t1))))
        << window_->InfoText().toStdString();
    // A: minutes since 08:00 at each cursor.
    const double a1 = static_cast<double>((t1 - Morning()) / 60), a2 = static_cast<double>((t2 - Morning()) / 60);
    EXPECT_EQ(Cell(0, CompareWindow::kCursor1Column), QString::asprintf("%.2f", a1));
    EXPECT_EQ(Cell(0, CompareWindow::kDeltaColumn), QString::asprintf("%+.2f", a2 - a1));
    // B has no record at cursor 1 (08:10): no Δ; C has none at cursor 2 (09:10).
    EXPECT_EQ(Cell(2, CompareWindow::kCursor1Column), QStringLiteral("-"));
    EXPECT_EQ(Cell(2, CompareWindow::kDeltaColumn), QStringLiteral("-"));
    EXPECT_EQ(Cell(3, CompareWindow::kCursor2Column), QStringLiteral("-"));
    // Cleared: the columns empty again.
    canvas_->ClearCursors();
    EXPECT_TRUE(Cell(0, CompareWindow::kDeltaColumn).isEmpty());
    EXPECT_FALSE(window_->InfoText().contains(QStringLiteral("Δt")));
}

TEST(CompareLegend, ValueColumnsHoldEveryTextTheyShowAndKeepTheirWidths) {
    // Values from −9,999.99 to 99,999.9 and missing samples in one file, small ones in another
    // that starts later: the pointer and both cursors swept over the whole window must find the
    // value and Δ columns wide enough for what they show, and never resized (measuring every
    // cell at each move is what made pointer moves slow), in both languages.
    const int64_t t0 = Morning();
    std::vector<CompareFile> files;
    files.push_back(FileOf(MakeLoggerSet("S1", "wide", t0, 60, 400, {1, 3},
                                         [](int32_t i, int c) {
                                             if (i % 37 == 5) return kMissingValue2Byte;
                                             return c == 0 ? -9999.99f + 275.0f * static_cast<float>(i)
                                                           : 99999.9f - 3.5f * static_cast<float>(i);
                                         }),
                           "/data/wide.kv"));
    files.push_back(FileOf(MakeLoggerSet("S2", "", t0 + 9000, 120, 60, {1}, [](int32_t i, int) { return 0.5f * i; }),
                           "/data/small.kv"));
    PrepareCompareFiles(files);
    const auto shared = std::make_shared<const std::vector<CompareFile>>(files);
    for (const Language language : {Language::English, Language::Chinese}) {
        CompareWindow window(shared, language);
        window.resize(1000, 700);
        window.show();
        QApplication::processEvents();
        QTreeWidget* legend = window.Legend();
        CompareCanvas* canvas = window.Canvas();
        std::vector<int> widths;
        for (int col = CompareWindow::kPointerColumn; col <= CompareWindow::kDeltaColumn; ++col)
            widths.push_back(legend->columnWidth(col));
        const auto expectFits = [&](const std::string& what) {
            QApplication::processEvents();
            for (int col = CompareWindow::kPointerColumn; col <= CompareWindow::kDeltaColumn; ++col) {
                ASSERT_EQ(legend->columnWidth(col), widths[static_cast<size_t>(col - CompareWindow::kPointerColumn)])
                    << what << ", column " << col;
                // What sizing the column to its contents would give it.
                const int width = legend->columnWidth(col);
                legend->resizeColumnToContents(col);
                const int needed = legend->columnWidth(col);
                legend->setColumnWidth(col, width);
                ASSERT_GE(width, needed) << what << ", column " << col;
            }
        };
        const int y = canvas->height() / 2;
        for (int x = 0; x < canvas->width(); x += 9) {
            Mouse(canvas, QEvent::MouseMove, Qt::NoButton, x, y);
            expectFits("pointer at " + std::to_string(x));
        }
        for (int x = 0; x < canvas->width(); x += 41) {
            Mouse(canvas, QEvent::MouseButtonPress, Qt::LeftButton, x, y);
            Mouse(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, x, y);
            Mouse(canvas, QEvent::MouseButtonPress, Qt::RightButton, canvas->width() - 1 - x, y);
            Mouse(canvas, QEvent::MouseButtonRelease, Qt::RightButton, canvas->width() - 1 - x, y);
            expectFits("cursors at " + std::to_string(x));
        }
        ASSERT_TRUE(canvas->HasCursor(1) && canvas->HasCursor(2));
    }
}

TEST_F(CompareWindowTest, ZoomReturnAndRangeChangeTheShownWindowAndValueRange) {
    const TimeWindow whole = canvas_->Whole();
    EXPECT_EQ(whole.from, Morning() - 7200);
    EXPECT_EQ(whole.to, Morning() + 7200);
    EXPECT_FLOAT_EQ(canvas_->Range(0).high, 190.0f);  // B's last record
    EXPECT_FALSE(window_->ReturnButton()->isEnabled());
    // A rectangle from 08:10 to 08:20: channel 1 of A (10 … 20) and C (−65 … −70) is shown.
    window_->AmplificationButton()->click();
    const int x0 = X(Morning() + 600), x1 = X(Morning() + 1200);
    const int64_t from = At(x0), to = At(x1);
    Mouse(canvas_, QEvent::MouseButtonPress, Qt::LeftButton, x0, 60);
    Mouse(canvas_, QEvent::MouseMove, Qt::LeftButton, x1, 200);
    Mouse(canvas_, QEvent::MouseButtonRelease, Qt::LeftButton, x1, 200);
    EXPECT_EQ(canvas_->Window().from, from);
    EXPECT_EQ(canvas_->Window().to, to);
    EXPECT_FALSE(canvas_->HasCursor(1));  // an armed click zooms, it sets no cursor
    EXPECT_FLOAT_EQ(canvas_->Range(0).high, static_cast<float>((to - Morning()) / 60));
    EXPECT_FLOAT_EQ(canvas_->Range(0).low, -static_cast<float>((to - (Morning() - 7200)) / 120));
    EXPECT_TRUE(window_->ReturnButton()->isEnabled());
    EXPECT_TRUE(window_->PanButton()->isEnabled());
    // A rectangle of 3 pixels is no zoom.
    const TimeWindow zoomed = canvas_->Window();
    Mouse(canvas_, QEvent::MouseButtonPress, Qt::LeftButton, 300, 60);
    Mouse(canvas_, QEvent::MouseButtonRelease, Qt::LeftButton, 303, 60);
    EXPECT_EQ(canvas_->Window().from, zoomed.from);
    EXPECT_EQ(canvas_->Window().to, zoomed.to);

    window_->ReturnButton()->click();
    EXPECT_EQ(canvas_->Window().from, whole.from);
    EXPECT_EQ(canvas_->Window().to, whole.to);
    EXPECT_FLOAT_EQ(canvas_->Range(0).high, 190.0f);
    EXPECT_FALSE(window_->PanButton()->isEnabled());

    // "Range": 09:00 to 09:30, where A and B record.
    window_->SetRangeChooser([](CTimeCho& chooser) {
        chooser.SetTimes(LocalHour(9, 0), LocalHour(9, 30));
        chooser.accept();
        return true;
    });
    window_->RangeButton()->click();
    EXPECT_EQ(canvas_->Window().from, Morning() + 3600);
    EXPECT_EQ(canvas_->Window().to, Morning() + 5400);
    EXPECT_FLOAT_EQ(canvas_->Range(0).low, 60.0f);
    EXPECT_FLOAT_EQ(canvas_->Range(0).high, 160.0f);
    // A range outside every recording changes nothing.
    window_->SetRangeChooser([](CTimeCho& chooser) {
        chooser.SetTimes(LocalHour(23, 0), LocalHour(23, 50));
        chooser.accept();
        return true;
    });
    window_->RangeButton()->click();
    EXPECT_EQ(canvas_->Window().from, Morning() + 3600);
}

TEST_F(CompareWindowTest, WhatTheWindowShowsIsTheLastDrawing) {
    // The first paint after a drawing draws it straight into the window's pixels, later ones copy
    // the kept image: the window must show the curves as drawing them anew gives them, whichever
    // way it was painted, and the pointer line must go again with the pointer.
    const auto shown = [this] {
        QApplication::processEvents();
        const QImage window = canvas_->screen()->grabWindow(window_->winId()).toImage();
        return window.copy(QRect(canvas_->mapTo(window_.get(), QPoint(0, 0)), canvas_->size()))
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage whole = canvas_->Render(CurveDrawing::EverySegment);
    EXPECT_TRUE(shown() == whole) << "opened";
    ASSERT_TRUE(canvas_->ShowWindow(Morning() + 1200, Morning() + 5400));
    const QImage zoomed = canvas_->Render(CurveDrawing::EverySegment);
    ASSERT_FALSE(zoomed == whole);
    EXPECT_TRUE(shown() == zoomed) << "zoomed";
    Mouse(canvas_, QEvent::MouseMove, Qt::NoButton, canvas_->width() / 3, canvas_->height() / 2);
    EXPECT_FALSE(shown() == zoomed) << "pointer line";
    // The line moves: only its old and new places are repainted, and the old one must go.
    Mouse(canvas_, QEvent::MouseMove, Qt::NoButton, canvas_->width() / 2, canvas_->height() / 2);
    EXPECT_FALSE(shown() == zoomed) << "pointer line moved";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(canvas_, &leave);
    EXPECT_TRUE(shown() == zoomed) << "pointer gone";
    EXPECT_TRUE(canvas_->Image() == zoomed);
}

TEST_F(CompareWindowTest, PanningMovesTheZoomedWindowWithinTheRecordings) {
    ASSERT_TRUE(canvas_->ShowWindow(Morning(), Morning() + 3600));
    window_->PanButton()->setChecked(true);
    Mouse(canvas_, QEvent::MouseButtonPress, Qt::LeftButton, 400, 100);
    Mouse(canvas_, QEvent::MouseMove, Qt::LeftButton, 380, 100);  // left: later
    const TimeWindow later = canvas_->Window();
    EXPECT_GT(later.from, Morning());
    EXPECT_EQ(later.to - later.from, 3600);
    for (int i = 0; i < 200; ++i) Mouse(canvas_, QEvent::MouseMove, Qt::LeftButton, 400 + i % 2, 100);
    for (int i = 0; i < 400; ++i) Mouse(canvas_, QEvent::MouseMove, Qt::LeftButton, 500 + i, 100);  // right: earlier
    EXPECT_EQ(canvas_->Window().from, canvas_->Whole().from);  // stops at the earliest record
    EXPECT_EQ(canvas_->Window().to - canvas_->Window().from, 3600);
    Mouse(canvas_, QEvent::MouseButtonRelease, Qt::LeftButton, 900, 100);
}

TEST_F(CompareWindowTest, StatisticsOfTheShownWindowMarkTheWarmestAndColdestFile) {
    using T = CompareStatisticsTable;
    CompareStatisticsTable* table = window_->Statistics();
    window_->Tabs()->setCurrentIndex(1);  // computed when the tab is shown
    ASSERT_EQ(table->rowCount(), 6);
    const auto cell = [table](int row, int column) { return table->item(row, column)->text(); };
    // Whole window: A CH1 0 … 120 (average 60), B CH1 100 … 190 (145), C −89 … 0 (−44.5).
    EXPECT_EQ(cell(0, T::kCount), QStringLiteral("121"));
    EXPECT_EQ(cell(0, T::kAvg), QStringLiteral("60"));
    EXPECT_EQ(cell(2, T::kMax), QStringLiteral("190  (2025-06-02 10:00:00)"));
    EXPECT_EQ(cell(2, T::kMark), QStringLiteral("warmest"));
    EXPECT_EQ(cell(3, T::kMark), QStringLiteral("coldest"));
    EXPECT_EQ(cell(3, T::kMin), QStringLiteral("-89  (2025-06-02 08:58:00)"));
    EXPECT_TRUE(cell(0, T::kMark).isEmpty());
    // 09:00 … 09:30: C recorded nothing; B stays the warmest, A CH1 (60 … 90) is the coldest.
    ASSERT_TRUE(canvas_->ShowWindow(Morning() + 3600, Morning() + 5400));
    window_->RefreshStatistics();
    EXPECT_EQ(cell(0, T::kCount), QStringLiteral("31"));
    EXPECT_EQ(cell(3, T::kCount), QStringLiteral("0"));
    EXPECT_EQ(cell(3, T::kAvg), QStringLiteral("-"));
    EXPECT_EQ(cell(2, T::kAvg), QStringLiteral("145"));
    EXPECT_EQ(cell(2, T::kMark), QStringLiteral("warmest"));
    EXPECT_EQ(cell(0, T::kMark), QStringLiteral("coldest"));
    EXPECT_TRUE(cell(3, T::kMark).isEmpty());
}

TEST_F(MainFrameTest, CompareCommandOpensTheChosenFilesInOneWindow) {
    for (const char* language : {"English", "Chinese"}) {
        WriteLanguageFile(language);
        CMainFrame& frame = Frame();
        QStringList paths;
        int k = 0;
        for (const CompareFile& f : ThreeFiles()) {
            const std::string path = work_.Path() + "/f" + std::to_string(k++) + ".kv";
            ASSERT_TRUE(WriteKvFile(path, f.set).ok);
            paths << QString::fromStdString(path);
        }
        // The command sits in the View menu in both languages.
        bool listed = false;
        for (QAction* menu : frame.menuBar()->actions()) {
            for (QAction* a : menu->menu()->actions()) {
                if (a->data().toInt() == ID_COMPARE) {
                    listed = true;
                    EXPECT_EQ(a->text(),
                              QString::fromUtf8(std::string(language) == "English" ? "Compare…" : "多文件对比…"));
                }
            }
        }
        EXPECT_TRUE(listed) << language;
        // One file through an open data window, two from the chooser's file list.
        ASSERT_TRUE(frame.OpenDataFile(paths[0]));
        presenter_.onExec = [&](QDialog& dialog) {
            auto& chooser = dynamic_cast<CompareChooser&>(dialog);
            EXPECT_EQ(chooser.List()->count(), 1);
            EXPECT_FALSE(chooser.CompareButton()->isEnabled());
            chooser.AddFiles({paths[1], paths[2]});
            EXPECT_TRUE(chooser.CompareButton()->isEnabled());
            return static_cast<int>(QDialog::Accepted);
        };
        const size_t messages = presenter_.messages.size();
        frame.RunCommand(ID_COMPARE);
        QMdiSubWindow* active = frame.MdiArea()->activeSubWindow();
        ASSERT_NE(active, nullptr);
        auto* window = qobject_cast<CompareWindow*>(active->widget());
        ASSERT_NE(window, nullptr) << language;
        EXPECT_EQ(window->Legend()->topLevelItemCount(), 6);
        EXPECT_EQ(presenter_.messages.size(), messages);  // nothing refused
        frame_.reset();
    }
}

TEST_F(MainFrameTest, CompareTellsWhyNoWindowOpens) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    const std::string good = work_.Path() + "/good.kv", bad = work_.Path() + "/bad.kv";
    ASSERT_TRUE(WriteKvFile(good, ThreeFiles()[0].set).ok);
    work_.MakeFile("bad.kv", "not a data file");
    const size_t before = presenter_.messages.size();
    const QString goodPath = QString::fromStdString(good), badPath = QString::fromStdString(bad);
    EXPECT_EQ(OpenCompareWindow(*frame.MdiArea(), {}, {goodPath}, Language::English, presenter_), nullptr);
    ASSERT_EQ(presenter_.messages.size(), before + 1);
    EXPECT_EQ(presenter_.messages.back().text, QStringLiteral("Choose at least two data files to compare."));
    EXPECT_EQ(OpenCompareWindow(*frame.MdiArea(), {}, {goodPath, badPath}, Language::English, presenter_), nullptr);
    ASSERT_EQ(presenter_.messages.size(), before + 2);
    EXPECT_TRUE(presenter_.messages.back().text.startsWith(badPath + QStringLiteral(" could not be read: ")))
        << presenter_.messages.back().text.toStdString();
    QStringList many;
    for (int i = 0; i < 33; ++i) many << goodPath;
    EXPECT_EQ(OpenCompareWindow(*frame.MdiArea(), {}, many, Language::English, presenter_), nullptr);
    EXPECT_EQ(presenter_.messages.back().text, QStringLiteral("At most 32 data files can be compared at once."));
    EXPECT_TRUE(frame.MdiArea()->subWindowList().isEmpty());
}

}  // namespace
}  // namespace velorin::test
