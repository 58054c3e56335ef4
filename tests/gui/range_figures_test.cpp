// The statistics list's figures of the shown range: beside the whole set's, following zoom,
// pan and "Return" at once, and copied as text from the table.
#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QToolButton>
#include <memory>

#include "device/display_options.h"
#include "history/dastrel_doc.h"
#include "view/curve_geometry.h"
#include "view/dastrel_view.h"
#include "view/history_lists.h"
#include "view/lists_test_set.h"
#include "view/statistics_model.h"

namespace velorin {
namespace {

DisplayOptions Display(Language language) { return test::ChannelOneInHundredths(language); }

void Mouse(QWidget& w, QEvent::Type type, int x, int y) {
    const QPointF at(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, w.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

class RangeFigures : public ::testing::Test {
protected:
    void Open(Language language) {
        doc_ = std::make_shared<CDastrelDoc>();
        doc_->Set() = test::ChannelsOneTwoFive(10);  // channel 1: 20 + 0.25 i; channel 5 misses record 3
        doc_->Set().upperAlarmX10[0] = 210;          // 21.0
        view_ = std::make_unique<CDastrelView>(doc_, Display(language));
        view_->SetDpiScale(1.0);
        view_->resize(1068, 655);
        view_->show();
        QCoreApplication::processEvents();
    }
    QString Cell(int row, int rangeColumn) const {
        const QAbstractItemModel* m = view_->StatisticsList()->model();
        return m->index(row, StatisticsModel::FirstRangeColumn() + rangeColumn).data().toString();
    }
    QString Header(int rangeColumn) const {
        return view_->StatisticsList()
            ->model()
            ->headerData(StatisticsModel::FirstRangeColumn() + rangeColumn, Qt::Horizontal, Qt::DisplayRole)
            .toString();
    }
    int ViewX(int32_t i) const {
        const CurveState& s = view_->State();
        return RecordX(i, s.firstIndex, s.endIndex, s.plotWidth) + kCanvasViewX;
    }

    std::shared_ptr<CDastrelDoc> doc_;
    std::unique_ptr<CDastrelView> view_;
};

TEST_F(RangeFigures, FollowZoomPanAndReturnBesideTheWholeSetsFigures) {
    Open(Language::English);
    QAbstractItemModel* m = view_->StatisticsList()->model();
    ASSERT_EQ(m->columnCount(), StatisticsModel::FirstRangeColumn() + 7);
    EXPECT_EQ(Header(0), "Range MAX");
    EXPECT_EQ(Header(4), "Missing");
    // The whole set: channel 1 from 20 to 22.25, above 21.0 from record 5 on (5 × 60 s).
    EXPECT_EQ(Cell(0, 0), "22.25");
    EXPECT_EQ(Cell(0, 1), "20");
    EXPECT_EQ(Cell(0, 2), "21.13");
    EXPECT_EQ(Cell(0, 5), "0:05:00");
    EXPECT_EQ(Cell(1, 3), "-");  // humidity: no mean kinetic temperature
    EXPECT_EQ(Cell(2, 4), "1");  // channel 5's missing sample
    const QString wholeMax = m->index(0, 4).data().toString();

    view_->AmplificationButton()->click();
    Mouse(*view_, QEvent::MouseButtonPress, ViewX(2), 100);
    Mouse(*view_, QEvent::MouseButtonRelease, ViewX(5), 300);
    ASSERT_EQ(view_->State().firstIndex, 2);
    ASSERT_EQ(view_->State().endIndex, 6);
    EXPECT_EQ(Cell(0, 0), "21.25");
    EXPECT_EQ(Cell(0, 1), "20.5");
    EXPECT_EQ(Cell(0, 5), "0:01:00");
    EXPECT_EQ(Cell(2, 4), "1");
    EXPECT_EQ(m->index(0, 4).data().toString(), wholeMax);  // the whole set's MAX stays

    view_->PanButton()->click();
    // 4 records on 1000 pixels: a 10-pixel step moves by one record; left shows later ones.
    Mouse(*view_, QEvent::MouseButtonPress, 500, 200);
    Mouse(*view_, QEvent::MouseMove, 490, 200);
    Mouse(*view_, QEvent::MouseButtonRelease, 490, 200);
    ASSERT_EQ(view_->State().firstIndex, 3);
    EXPECT_EQ(Cell(0, 0), "21.5");
    EXPECT_EQ(Cell(2, 4), "1");

    view_->ReturnButton()->click();
    EXPECT_EQ(Cell(0, 0), "22.25");
}

TEST_F(RangeFigures, APanTellsTheTableOfEveryCellWhoseTextChangesAndOfNoOther) {
    // The table repaints the cells it is told of: one left out would keep the old figure on
    // screen, and every one told costs a repaint.
    Open(Language::English);
    QAbstractItemModel* m = view_->StatisticsList()->model();
    view_->AmplificationButton()->click();
    Mouse(*view_, QEvent::MouseButtonPress, ViewX(2), 100);
    Mouse(*view_, QEvent::MouseButtonRelease, ViewX(5), 300);
    QCoreApplication::processEvents();  // the figures are shown
    const auto texts = [m] {
        QStringList all;
        for (int row = 0; row < m->rowCount(); ++row) {
            for (int column = StatisticsModel::FirstRangeColumn(); column < m->columnCount(); ++column)
                all << m->index(row, column).data().toString();
        }
        return all;
    };
    QSet<QPair<int, int>> told;
    QObject::connect(m, &QAbstractItemModel::dataChanged, [&told](const QModelIndex& from, const QModelIndex& to) {
        for (int row = from.row(); row <= to.row(); ++row) {
            for (int column = from.column(); column <= to.column(); ++column) told.insert({row, column});
        }
    });
    // Each change is compared with the figures shown before it: pan, pan on, then "Return".
    const auto expectToldOfTheChanged = [&](const std::function<void()>& change, const char* what) {
        const QStringList before = texts();
        told.clear();
        change();
        const QStringList after = texts();
        int changed = 0, k = 0;
        for (int row = 0; row < m->rowCount(); ++row) {
            for (int column = StatisticsModel::FirstRangeColumn(); column < m->columnCount(); ++column, ++k) {
                const bool differs = after[k] != before[k];
                changed += differs ? 1 : 0;
                EXPECT_EQ(told.contains({row, column}), differs)
                    << what << ", row " << row << ", column " << column << ": " << before[k].toStdString() << " -> "
                    << after[k].toStdString();
            }
        }
        EXPECT_GT(changed, 0) << what;
        return changed < after.size();
    };
    view_->PanButton()->click();
    const auto pan = [this] {
        Mouse(*view_, QEvent::MouseButtonPress, 500, 200);
        Mouse(*view_, QEvent::MouseMove, 490, 200);
        Mouse(*view_, QEvent::MouseButtonRelease, 490, 200);
    };
    EXPECT_TRUE(expectToldOfTheChanged(pan, "first pan"));  // the pan leaves some figures as they were
    ASSERT_EQ(view_->State().firstIndex, 3);
    expectToldOfTheChanged(pan, "second pan");
    ASSERT_EQ(view_->State().firstIndex, 4);
    expectToldOfTheChanged([this] { view_->ReturnButton()->click(); }, "Return");
}

TEST_F(RangeFigures, CopiedAsTextFromTheTablesMenu) {
    Open(Language::Chinese);
    QTableView* table = view_->StatisticsList();
    ASSERT_EQ(table->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_EQ(table->actions().size(), 1);
    EXPECT_EQ(table->actions()[0]->text(), QStringLiteral("复制范围统计"));
    EXPECT_EQ(Header(0), QStringLiteral("范围最大值"));
    table->actions()[0]->trigger();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("起始\t2026-03-04 05:06:00\t结束\t2026-03-04 05:15:00\t记录数\t10\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\n通道1\t10\t0\t20\t22.25\t21.125\t"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\n通道5\t9\t1\t")));
}

}  // namespace
}  // namespace velorin
