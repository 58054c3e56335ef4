// The data window laid out as a user sees it in the main window: at 800 × 600 and 1920 × 1080,
// in both languages, no two visible controls overlap, every text fits its control, and the
// statistics list shows every channel; the property panel keeps the width the user gave it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <string>
#include <vector>

#include "app/data_windows.h"
#include "app/panel_width.h"
#include "app/property_panel.h"
#include "gui/frame_fixture.h"
#include "history/kv_file.h"
#include "support/curve_data.h"
#include "ui/command_ids.h"
#include "view/dastrel_view.h"
#include "view/statistics_list.h"
#include "view/statistics_model.h"
#include "view/view_printing.h"

namespace velorin {
namespace {

class DataWindowLayout : public test::MainFrameTest {
protected:
    // A main window of the given size showing one maximised data window of `channels` channels.
    CDastrelView* Open(const std::string& language, int width, int height, int channels) {
        WriteLanguageFile(language);
        CMainFrame& frame = Frame();
        UseHistoryViews(frame);
        const std::string path = work_.Path() + "/layout.kv";
        RecordSet set = test::MakeCurveSet(2000, channels);
        // A quantity wider than the "Type" column's usual 60 pixels in any font.
        if (channels >= 4) SetQuantityText(set, 3, "Pressure (WWW)");
        EXPECT_TRUE(WriteKvFile(path, set).ok);
        frame.resize(width, height);
        frame.show();
        EXPECT_TRUE(frame.OpenDataFile(QString::fromStdString(path)));
        QMdiSubWindow* window = frame.MdiArea()->activeSubWindow();
        if (window == nullptr) return nullptr;
        window->showMaximized();
        test::WaitFor([&] { return window->isMaximized(); }, 2000);
        QCoreApplication::processEvents();
        return ViewOf(window);
    }

    // Text width a control needs to show its text whole, measured the way its style draws it.
    static int TextNeed(const QWidget* w) {
        const QFontMetrics fm(w->font());
        const QStyle* st = w->style();
        if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
            return st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                   st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) + fm.horizontalAdvance(box->text());
        }
        if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            return fm.horizontalAdvance(button->text()) + 2 * st->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        }
        if (const auto* label = qobject_cast<const QLabel*>(w)) return fm.horizontalAdvance(label->text());
        return 0;
    }

    // Every visible control of the view: none overlaps another, none leaves the view, each
    // text fits.
    static void ExpectClean(const CDastrelView& view, const std::string& where) {
        std::vector<QWidget*> controls;
        for (QWidget* w : view.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisible()) controls.push_back(w);
        }
        ASSERT_GE(controls.size(), 5u) << where;
        const QRect inside = view.rect();
        for (size_t i = 0; i < controls.size(); ++i) {
            const QWidget* a = controls[i];
            const QString name =
                a->metaObject()->className() + QStringLiteral(" ") +
                (qobject_cast<const QAbstractButton*>(a) ? qobject_cast<const QAbstractButton*>(a)->text() : QString());
            EXPECT_TRUE(inside.contains(a->geometry())) << where << ": " << name.toStdString() << " leaves the view";
            EXPECT_LE(TextNeed(a), a->width()) << where << ": " << name.toStdString() << " is cut";
            for (size_t j = i + 1; j < controls.size(); ++j) {
                const QWidget* b = controls[j];
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << where << ": " << name.toStdString() << " overlaps " << b->metaObject()->className() << " "
                    << (qobject_cast<const QAbstractButton*>(b)
                            ? qobject_cast<const QAbstractButton*>(b)->text().toStdString()
                            : std::string());
            }
        }
    }

    // The statistics list shows its last row whole, or can be scrolled to it.
    static bool EveryChannelReachable(const QTableView& list, bool& whole) {
        const int rows = list.model()->rowCount();
        const int bottom = list.rowViewportPosition(rows - 1) + list.rowHeight(rows - 1);
        whole = bottom <= list.viewport()->height();
        return whole || list.verticalScrollBar()->isVisible();
    }
};

TEST_F(DataWindowLayout, NothingOverlapsOrIsCutAtSmallAndLargeSizesInBothLanguages) {
    struct Case {
        const char* language;
        int width, height, channels;
        bool allRowsWhole;  // the statistics list has room for every row
    };
    const Case cases[] = {
        {"English", 800, 600, 4, true},   {"Chinese", 800, 600, 4, true},  {"English", 800, 600, 8, false},
        {"Chinese", 800, 600, 8, false},  {"English", 1024, 768, 4, true}, {"English", 1920, 1080, 8, true},
        {"Chinese", 1920, 1080, 8, true},
    };
    for (const Case& c : cases) {
        const std::string where = std::string(c.language) + " " + std::to_string(c.width) + "x" +
                                  std::to_string(c.height) + ", " + std::to_string(c.channels) + " channels";
        CDastrelView* view = Open(c.language, c.width, c.height, c.channels);
        ASSERT_NE(view, nullptr) << where;
        ExpectClean(*view, where + ", graph");
        bool whole = false;
        EXPECT_TRUE(EveryChannelReachable(*view->StatisticsList(), whole)) << where;
        if (c.allRowsWhole) {
            EXPECT_TRUE(whole) << where << ": a channel row is hidden";
        }
        // The last whole-set statistics column is inside the list, not off to its right; the
        // figures of the shown range follow it and may scroll into view.
        const QTableView& list = *view->StatisticsList();
        const int last = StatisticsModel::FirstRangeColumn() - 1;
        if (c.width >= 1024) {
            EXPECT_LE(list.columnViewportPosition(last) + list.columnWidth(last), list.viewport()->width()) << where;
        }
        // Where the whole set's columns fit at the list's own widths they have them at least (a
        // longer text widens its column), and the range figures keep a readable width beside them.
        if (c.width >= 1920) {
            for (int col = 0; col <= last; ++col) {
                EXPECT_GE(list.columnWidth(col), StatisticsList::ColumnWidth(col)) << where << ", column " << col;
                // A cell's text has the item view's text margin on both sides.
                const int margins = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
                for (int row = 0; row < list.model()->rowCount(); ++row) {
                    const QString text = list.model()->index(row, col).data().toString();
                    EXPECT_LE(list.fontMetrics().horizontalAdvance(text) + margins, list.columnWidth(col))
                        << where << ", column " << col << ": " << text.toStdString();
                }
            }
            for (int col = last + 1; col < list.model()->columnCount(); ++col) {
                EXPECT_GE(list.columnWidth(col), 60) << where << ", column " << col;
            }
        }
        view->Tabs()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        ExpectClean(*view, where + ", data");
        frame_.reset();
    }
}

TEST_F(DataWindowLayout, TiledWindowsStayUsable) {
    CDastrelView* first = Open("English", 1024, 768, 4);
    ASSERT_NE(first, nullptr);
    CMainFrame& frame = *frame_;
    const QString path = QString::fromStdString(work_.Path() + "/layout.kv");
    ASSERT_TRUE(frame.OpenDataFile(path, true));
    ASSERT_TRUE(frame.OpenDataFile(path, true));
    frame.MdiArea()->tileSubWindows();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    int windows = 0;
    for (QMdiSubWindow* window : frame.MdiArea()->subWindowList()) {
        const CDastrelView* view = ViewOf(window);
        ASSERT_NE(view, nullptr);
        ++windows;
        ExpectClean(*view, "tiled " + std::to_string(view->width()) + "x" + std::to_string(view->height()));
    }
    EXPECT_EQ(windows, 3);
}

TEST_F(DataWindowLayout, TheUsualPositionsStayWhereTheWindowHasRoom) {
    CDastrelView* view = Open("Chinese", 1920, 1080, 4);
    ASSERT_NE(view, nullptr);
    const ViewLayout& l = view->Placement();
    EXPECT_FALSE(l.packed);
    const int w = view->State().plotWidth;
    // The column right of the plot: boxes 40 pixels apart, the three buttons under "Coordinate".
    for (int k = 1; k < 8; ++k) EXPECT_EQ(l.channelBox[k].top() - l.channelBox[k - 1].top(), 40);
    EXPECT_EQ(l.channelBox[0].left(), w + 13);
    EXPECT_EQ(l.returnButton.left(), w + 10);
    EXPECT_EQ(l.amplification.top() - l.returnButton.top(), 40);
    EXPECT_EQ(l.range.top() - l.amplification.top(), 40);
    // The swatch under each box.
    EXPECT_EQ(l.swatch[2], QRect(w + 13, 120, 45, 12));
    // The print buttons beside the statistics list, 40 pixels apart.
    EXPECT_EQ(l.printCurve.top(), l.statistics.top() + 10);
    EXPECT_EQ(l.printList.top(), l.statistics.top() + 50);
}

TEST_F(DataWindowLayout, ThePanelKeepsTheWidthTheUserGaveIt) {
    WriteLanguageFile("English");
    CMainFrame& frame = Frame();
    frame.resize(1024, 768);
    frame.show();
    QCoreApplication::processEvents();
    PropertyPanel* panel = frame.Panel();
    const int usual = panel->width();
    // The user drags the separator: the panel widens.
    frame.resizeDocks({panel}, {usual + 150}, Qt::Horizontal);
    test::WaitFor([&] { return panel->width() == usual + 150; }, 2000);
    ASSERT_EQ(panel->width(), usual + 150);
    EXPECT_EQ(SavedPanelWidth(), usual + 150);
    frame_.reset();

    CMainFrame& again = Frame();
    again.resize(1024, 768);
    again.show();
    test::WaitFor([&] { return again.Panel()->width() == usual + 150; }, 2000);
    EXPECT_EQ(again.Panel()->width(), usual + 150);
    // Widths a damaged settings file may hold are not used.
    SavePanelWidth(5);
    EXPECT_EQ(SavedPanelWidth(), usual + 150);
}

}  // namespace
}  // namespace velorin
