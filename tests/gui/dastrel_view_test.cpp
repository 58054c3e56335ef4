// CDastrelView as a user works it: opening, the pointer readout over the kept canvas, rectangle
// zoom and "Return", "Range", the tabs, the colour chooser, tiny data sets; and CTimeCho.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QCheckBox>
#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QTimeEdit>
#include <QToolButton>
#include <memory>

#include "common/date_time.h"
#include "device/display_options.h"
#include "gui/scripted_presenter.h"
#include "history/dastrel_doc.h"
#include "support/curve_data.h"
#include "view/curve_geometry.h"
#include "view/curve_renderer.h"
#include "view/curve_summary.h"
#include "view/dastrel_view.h"
#include "view/history_lists.h"
#include "view/lists_test_set.h"
#include "view/range_chooser.h"

namespace velorin {
namespace {

DisplayOptions Display(Language language) { return test::ChannelOneInHundredths(language); }

void Mouse(QWidget& w, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton) {
    const QPointF at(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, w.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

class ViewTest : public ::testing::Test {
protected:
    void Open(RecordSet set, Language language = Language::English) {
        doc_ = std::make_shared<CDastrelDoc>();
        doc_->Set() = std::move(set);
        view_ = std::make_unique<CDastrelView>(doc_, Display(language));
        view_->SetDpiScale(1.0);
        view_->resize(1068, 655);
        view_->show();
        QCoreApplication::processEvents();
        // The column right of the plot and the header row take what their texts need: the view
        // is sized so that the canvas is 1000 × 500.
        const CurveState& s = view_->State();
        view_->resize(view_->width() + 1000 - s.plotWidth, view_->height() + 500 - s.plotHeight);
        QCoreApplication::processEvents();
    }
    // View x of record i of the shown range.
    int ViewX(int32_t i) const {
        const CurveState& s = view_->State();
        return RecordX(i, s.firstIndex, s.endIndex, s.plotWidth) + kCanvasViewX;
    }

    // The canvas of the view's state, colours and font as they are now, every segment drawn.
    QImage EverySegmentOfTheState() const {
        CurveScene scene;
        scene.set = &doc_->Set();
        scene.times = &view_->Times();
        scene.state = &view_->State();
        for (int c = 0; c < 8; ++c) scene.colour[c] = view_->ChannelColour(c);
        scene.font = view_->font();
        QImage every;
        RenderCurveCanvas(every, scene, CurveDrawing::EverySegment);
        return every;
    }

    // The window's own pixels once the pending paints are done (what it last painted, not a
    // fresh rendering).
    QImage WindowPixels() const {
        QCoreApplication::processEvents();
        return view_->screen()->grabWindow(view_->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }

    // Counts the readouts and keeps the last "Selected" texts.
    void WatchSelected() {
        QObject::connect(view_.get(), &CDastrelView::SelectedValuesChanged, view_.get(), [this](const QStringList& v) {
            ++readouts_;
            lastSelected_ = v;
        });
    }

    std::shared_ptr<CDastrelDoc> doc_;
    std::unique_ptr<CDastrelView> view_;
    int readouts_ = 0;
    QStringList lastSelected_;
};

TEST_F(ViewTest, OpensWithTheWholeSetAndTheControlsOfItsChannels) {
    RecordSet set = test::MakeCurveSet(100, 3);
    set.channelEnabled[1] = 0;  // channels 1 and 3
    Open(std::move(set));
    const CurveState& s = view_->State();
    EXPECT_EQ(s.plotWidth, 1000);
    EXPECT_EQ(s.plotHeight, 500);
    // Room to spare: the column keeps its usual 40-pixel rows.
    EXPECT_FALSE(view_->Placement().packed);
    EXPECT_EQ(view_->ChannelBox(1)->y() - view_->ChannelBox(0)->y(), 40);
    EXPECT_EQ(s.endIndex, 100);
    EXPECT_FALSE(s.firstDrawPending);
    EXPECT_TRUE(view_->CanvasKept());
    EXPECT_EQ(view_->Canvas().size(), QSize(1000, 500));
    EXPECT_TRUE(view_->ChannelBox(0)->isChecked());
    EXPECT_FALSE(view_->ChannelBox(1)->isEnabled());
    EXPECT_FALSE(view_->ChannelBox(1)->isChecked());
    EXPECT_EQ(view_->ChannelColour(1), QColor(192, 192, 192));
    EXPECT_EQ(view_->ChannelColour(2), QColor(255, 255, 0));
    EXPECT_FALSE(view_->ReturnButton()->isEnabled());
    EXPECT_TRUE(view_->AmplificationButton()->isEnabled());
    EXPECT_FALSE(view_->PanButton()->isEnabled());
    EXPECT_EQ(view_->FirstTimeLabel()->text(), QStringLiteral("2025-03-01 08:00:00"));
    EXPECT_EQ(view_->LastTimeLabel()->text(), QStringLiteral("2025-03-01 09:39:00"));
    EXPECT_EQ(view_->Tabs()->tabText(0), QStringLiteral("Graph"));
    EXPECT_EQ(view_->AmplificationButton()->text(), QStringLiteral("Amplification"));
}

TEST_F(ViewTest, ChineseControls) {
    Open(test::MakeCurveSet(10, 1), Language::Chinese);
    EXPECT_EQ(view_->Tabs()->tabText(1), QStringLiteral("数据"));
    EXPECT_EQ(view_->ChannelBox(4)->text(), QStringLiteral("通道5"));
    EXPECT_EQ(view_->ReturnButton()->text(), QStringLiteral("返回曲线"));
    EXPECT_EQ(view_->RangeButton()->text(), QStringLiteral("曲线范围"));
}

TEST_F(ViewTest, ReadoutNamesTheRecordUnderTheDrawnCursorLine) {
    RecordSet set = test::MakeCurveSet(11, 2);
    set.records[4].value[1] = kMissingValue2Byte;
    set.records[4].value[0] = 21.25f;
    Open(std::move(set));
    WatchSelected();
    const QImage before = view_->Canvas();
    // On record 4's line and just left of record 5's: both name record 4, the line on record 4.
    for (int x : {ViewX(4), ViewX(5) - 1}) {
        Mouse(*view_, QEvent::MouseMove, x, 200);
        EXPECT_EQ(view_->PointedRecord(), 4) << x;
        EXPECT_EQ(view_->CursorLineX(), x);
    }
    EXPECT_TRUE(view_->ReadoutText().startsWith(QStringLiteral("时间: 2025-03-01 08:04:00\r\n")));
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道1(温度): 21.25 ℃\r\n")));
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道2(湿度): Error\r\n")));
    ASSERT_EQ(readouts_, 2);
    EXPECT_EQ(lastSelected_, (QStringList{QStringLiteral("21.25"), QStringLiteral("Error")}));
    // The box stays inside the canvas, also at the right and bottom edges.
    Mouse(*view_, QEvent::MouseMove, 1005, 515);
    const QRect box = view_->ReadoutBox();
    EXPECT_LE(box.right(), 1010);
    EXPECT_LE(box.bottom(), 520);
    EXPECT_GE(box.left(), 10);
    EXPECT_GE(box.top(), 20);
    // Pointer moves never redraw the curves.
    EXPECT_EQ(view_->Canvas(), before);
    // Hidden channels leave the box but keep their "Selected" value.
    view_->ChannelBox(1)->click();
    Mouse(*view_, QEvent::MouseMove, ViewX(4), 200);
    EXPECT_FALSE(view_->ReadoutText().contains(QStringLiteral("通道2")));
    EXPECT_EQ(lastSelected_.size(), 2);
}

TEST_F(ViewTest, ReadoutShowsTheFourByteMarkerAsMissingAndARealZeroAsAValue) {
    RecordSet set = test::MakeCurveSet(11, 3);
    set.records[6].value[0] = 0.0f;
    set.records[6].value[2] = kMissingValue4Byte;
    Open(std::move(set));
    WatchSelected();
    Mouse(*view_, QEvent::MouseMove, ViewX(6), 200);
    ASSERT_EQ(view_->PointedRecord(), 6);
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道1(温度): 0.00 ℃\r\n")))
        << view_->ReadoutText().toStdString();
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道3(")));
    EXPECT_EQ(view_->ReadoutText().count(QStringLiteral(": Error\r\n")), 1) << view_->ReadoutText().toStdString();
    ASSERT_EQ(lastSelected_.size(), 3);
    EXPECT_EQ(lastSelected_[0], QStringLiteral("0.00"));
    EXPECT_EQ(lastSelected_[2], QStringLiteral("Error"));
    if (const char* folder = std::getenv("VELORIN_SCREENSHOTS")) {
        view_->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/readout-4-byte-missing.png"));
    }
}

TEST_F(ViewTest, RectangleZoomThenReturnShowsTheWholeSetAgain) {
    Open(test::MakeCurveSet(10, 1));
    int returned = 0;
    QObject::connect(view_.get(), &CDastrelView::Returned, view_.get(), [&returned] { ++returned; });
    // Not armed: dragging does nothing.
    Mouse(*view_, QEvent::MouseButtonPress, ViewX(2), 100, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseButtonRelease, ViewX(6), 300, Qt::LeftButton);
    EXPECT_EQ(view_->State().endIndex - view_->State().firstIndex, 10);

    view_->AmplificationButton()->click();
    EXPECT_FALSE(view_->AmplificationButton()->isEnabled());
    EXPECT_TRUE(view_->ReturnButton()->isEnabled());
    const int from = ViewX(2), to = ViewX(6);
    Mouse(*view_, QEvent::MouseButtonPress, from, 100, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseMove, to, 300, Qt::LeftButton);
    // The rectangle starts where the button went down.
    EXPECT_EQ(view_->State().dragging, true);
    Mouse(*view_, QEvent::MouseButtonRelease, to, 300, Qt::LeftButton);
    EXPECT_EQ(view_->State().firstIndex, 2);
    EXPECT_EQ(view_->State().endIndex, 7);
    EXPECT_TRUE(view_->PanButton()->isEnabled());
    EXPECT_EQ(view_->FirstTimeLabel()->text(), QStringLiteral("2025-03-01 08:02:00"));

    view_->PanButton()->click();
    EXPECT_TRUE(view_->State().panMode);
    view_->ReturnButton()->click();
    EXPECT_EQ(returned, 1);
    const CurveState& s = view_->State();
    EXPECT_EQ(s.firstIndex, 0);
    EXPECT_EQ(s.endIndex, 10);
    EXPECT_FALSE(s.zoomArmed);
    EXPECT_FALSE(s.panMode);
    EXPECT_FALSE(view_->ReturnButton()->isEnabled());
    EXPECT_TRUE(view_->AmplificationButton()->isEnabled());
    EXPECT_FALSE(view_->PanButton()->isEnabled());
    EXPECT_FALSE(view_->PanButton()->isChecked());
}

TEST_F(ViewTest, PanningMovesAZoomedRangeWithThePointer) {
    Open(test::MakeCurveSet(1000, 1));
    view_->AmplificationButton()->click();
    Mouse(*view_, QEvent::MouseButtonPress, ViewX(100), 100, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseButtonRelease, ViewX(199), 300, Qt::LeftButton);
    ASSERT_EQ(view_->State().firstIndex, 100);
    ASSERT_EQ(view_->State().endIndex, 200);
    view_->PanButton()->click();
    ASSERT_TRUE(view_->State().panMode);
    const QImage before = view_->Canvas();
    // 100 records on 1000 pixels: each 10-pixel step is one record; left shows later records.
    Mouse(*view_, QEvent::MouseButtonPress, 500, 200, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseMove, 490, 200, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseMove, 480, 200, Qt::LeftButton);
    EXPECT_EQ(view_->State().firstIndex, 102);
    EXPECT_EQ(view_->State().endIndex, 202);
    EXPECT_NE(view_->Canvas(), before);
    Mouse(*view_, QEvent::MouseMove, 520, 200, Qt::LeftButton);
    EXPECT_EQ(view_->State().firstIndex, 101);
    Mouse(*view_, QEvent::MouseButtonRelease, 520, 200, Qt::LeftButton);
    // Releasing ends the drag and keeps the range.
    EXPECT_EQ(view_->State().firstIndex, 101);
    EXPECT_FALSE(view_->State().dragging);
}

TEST_F(ViewTest, RangeWithAStartAfterTheLastRecordOnlyRecomputesTheValueRange) {
    Open(test::MakeCurveSet(100, 1));
    view_->State().axisMax[0] = 1000.0f;
    bool asked = false;
    view_->SetRangeChooser([&](CTimeCho& chooser) {
        asked = true;
        // Preset with the first and the last record.
        EXPECT_EQ(chooser.StartTime()->time(), QTime(8, 0, 0));
        EXPECT_EQ(chooser.EndTime()->time(), QTime(9, 39, 0));
        chooser.StartDate()->setDate(chooser.EndDate()->date().addDays(1));
        chooser.accept();
        return true;
    });
    view_->RangeButton()->click();
    ASSERT_TRUE(asked);
    EXPECT_EQ(view_->State().firstIndex, 0);
    EXPECT_EQ(view_->State().endIndex, 100);
    EXPECT_LT(view_->State().axisMax[0], 1000.0f);
    EXPECT_TRUE(view_->ReturnButton()->isEnabled());
    EXPECT_FALSE(view_->State().zoomArmed);
    // Cancel changes nothing.
    view_->SetRangeChooser([](CTimeCho&) { return false; });
    view_->State().axisMax[0] = 1000.0f;
    view_->RangeButton()->click();
    EXPECT_FLOAT_EQ(view_->State().axisMax[0], 1000.0f);
}

TEST_F(ViewTest, DataTabCoversThePlotAndHidesTheCurveControls) {
    Open(test::MakeCurveSet(100, 2));
    view_->Tabs()->setCurrentIndex(1);
    EXPECT_FALSE(view_->State().graphShown);
    EXPECT_TRUE(view_->DataList()->isVisible());
    EXPECT_FALSE(view_->ChannelBox(0)->isVisible());
    EXPECT_FALSE(view_->CoordinateBox()->isVisible());
    EXPECT_FALSE(view_->CompressionButton()->isVisible());
    EXPECT_FALSE(view_->FirstTimeLabel()->isVisible());
    EXPECT_TRUE(view_->StatisticsList()->isVisible());
    // B = top + 500 + 26 + 5; the list ends 8 pixels above it.
    EXPECT_EQ(view_->DataList()->geometry(), QRect(10, view_->State().plotTop, view_->width() - 10, 500 + 26 + 5 - 8));
    // No readout over the data list.
    WatchSelected();
    Mouse(*view_, QEvent::MouseMove, 300, 200);
    EXPECT_EQ(readouts_, 0);
    view_->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(view_->ChannelBox(0)->isVisible());
    EXPECT_FALSE(view_->DataList()->isVisible());
}

TEST_F(ViewTest, MarginsAroundTheCanvasShowTheWindowBackground) {
    // The view paints its own background (nothing is filled under it): left of the canvas,
    // between it and the channel boxes, above it beside the tabs, and below the time texts.
    Open(test::MakeCurveSet(3000, 2));
    const QImage image = view_->grab().toImage();
    const QRgb window = view_->palette().color(QPalette::Window).rgb();
    const int top = view_->State().plotTop;
    for (const QPoint at : {QPoint(4, top + 100), QPoint(10 + 1000 + 4, top + 250), QPoint(9, top - 3),
                            QPoint(10 + 1000 + 4, top + 500 - 2)}) {
        EXPECT_EQ(image.pixel(at), window) << at.x() << ", " << at.y();
    }
    EXPECT_EQ(image.pixel(10 + 500, top + 5), qRgb(255, 255, 255));  // inside the canvas, above the curves
}

TEST_F(ViewTest, WhatTheWindowShowsKeepsItsSwatchesThroughDrawingsTabsAndNewColours) {
    // The window's own pixels (what it last painted, not a fresh rendering): drawings repaint
    // only what changed, so a swatch left out where it should not be stays wrong there.
    Open(test::MakeCurveSet(3000, 3));
    const auto shown = [this](int channel) {
        const QImage window = WindowPixels();
        const QPoint at = view_->Placement().swatch[channel].center();
        return window.pixelColor(view_->mapTo(view_->window(), at));
    };
    ASSERT_EQ(shown(0), view_->ChannelColour(0));
    view_->AmplificationButton()->click();
    EXPECT_EQ(shown(0), view_->ChannelColour(0)) << "after a zoom";
    view_->Tabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    view_->Tabs()->setCurrentIndex(0);
    EXPECT_EQ(shown(0), view_->ChannelColour(0)) << "back from the data list";
    EXPECT_EQ(shown(2), view_->ChannelColour(2)) << "back from the data list";
    view_->SetChannelColour(2, QColor(0, 160, 0));
    EXPECT_EQ(shown(2), QColor(0, 160, 0)) << "a new colour";
}

TEST_F(ViewTest, WhatTheWindowShowsIsTheLastDrawing) {
    // A full repaint draws the curves straight into the window's pixels, a partial one paints
    // the kept copy (drawn from the same scene when first needed): both must show the last
    // drawing, as drawing every segment of the state it was made from gives it.
    Open(test::MakeCurveSet(3000, 3, 60, 5000, true));
    // Whether the window shows `expected` as its plot, where no control lies over it (the image
    // buttons reach into its top margin).
    const auto shows = [this](const QImage& expected) {
        const QImage window = WindowPixels();
        const CurveState& s = view_->State();
        const QRect plot(kCanvasViewX, s.plotTop, s.plotWidth, s.plotHeight);
        QImage shown = window.copy(QRect(view_->mapTo(view_->window(), plot.topLeft()), plot.size()));
        for (const QWidget* child : view_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible()) continue;
            const QRect over = child->geometry().intersected(plot).translated(-plot.topLeft());
            for (int y = over.top(); y <= over.bottom(); ++y) {
                for (int x = over.left(); x <= over.right(); ++x) shown.setPixel(x, y, expected.pixel(x, y));
            }
        }
        return shown == expected;
    };
    const auto everySegment = [this] { return EverySegmentOfTheState(); };
    const QImage whole = everySegment();
    EXPECT_TRUE(shows(whole)) << "opened";

    CurveState& s = view_->State();
    s.firstIndex = 700;
    s.endIndex = 1900;
    s.recomputeRange = true;
    view_->Redraw();
    const QImage zoomed = everySegment();
    ASSERT_FALSE(zoomed == whole);
    EXPECT_TRUE(shows(zoomed)) << "zoomed";

    // A state changed but not drawn yet: the window and the kept copy still show the last
    // drawing, whatever repaints them.
    s.firstIndex = 0;
    s.endIndex = 3000;
    view_->update();
    EXPECT_TRUE(shows(zoomed)) << "repainted before the drawing";
    // The readout repaints only around itself, over the kept copy; once it is gone again the
    // window shows the drawing as it was.
    Mouse(*view_, QEvent::MouseMove, ViewX(1000), 200);
    ASSERT_GE(view_->PointedRecord(), 0);
    EXPECT_FALSE(shows(zoomed)) << "readout shown";
    // Another part of the plot repainted leaves the readout where it is.
    const QImage withReadout = WindowPixels();
    view_->update(QRect(kCanvasViewX + 10, s.plotTop + 10, 20, 20));
    EXPECT_TRUE(WindowPixels() == withReadout) << "a part of the plot repainted";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view_.get(), &leave);
    EXPECT_TRUE(shows(zoomed)) << "readout gone";
    EXPECT_TRUE(view_->Canvas() == zoomed);
    view_->Redraw();
    EXPECT_TRUE(shows(everySegment())) << "drawn again";
    EXPECT_TRUE(view_->Canvas() == everySegment());
}

TEST_F(ViewTest, ADrawingLeavesTheImageButtonsOverThePlotAsTheyAre) {
    // The image buttons reach into the plot's top margin. A drawing repaints the plot around
    // them: they get no paint, still show themselves whole, and the plot shows the drawing
    // everywhere else.
    Open(test::MakeCurveSet(3000, 3, 60, 5000, true));
    // Zoomed once first: the next zoom changes no button's state (which would repaint it).
    view_->State().firstIndex = 100;
    view_->State().endIndex = 2500;
    view_->State().recomputeRange = true;
    view_->Redraw();
    QCoreApplication::processEvents();
    const std::vector<QToolButton*> buttons = {view_->CompressionButton(), view_->ExpansionButton(),
                                               view_->PanButton()};
    const CurveState& s = view_->State();
    const QRect plot(kCanvasViewX, s.plotTop, s.plotWidth, s.plotHeight);
    int over = 0;
    for (QToolButton* button : buttons) {
        if (button->geometry().intersects(plot)) ++over;
    }
    ASSERT_GT(over, 0) << "no image button reaches into the plot";
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    for (QToolButton* button : buttons) button->installEventFilter(&counter);

    view_->State().firstIndex = 700;
    view_->State().endIndex = 1900;
    view_->State().recomputeRange = true;
    view_->Redraw();
    const QImage window = WindowPixels();
    for (QToolButton* button : buttons) button->removeEventFilter(&counter);
    EXPECT_EQ(counter.paints, 0);
    const QPoint origin = view_->mapTo(view_->window(), QPoint(0, 0));
    for (QToolButton* button : buttons) {
        const QImage own = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(own.size(), button->size());
        for (int y = 0; y < own.height(); ++y) {
            for (int x = 0; x < own.width(); ++x) {
                ASSERT_EQ(window.pixel(origin + button->geometry().topLeft() + QPoint(x, y)), own.pixel(x, y))
                    << "button at " << button->x() << ": pixel " << x << ", " << y;
            }
        }
    }
    const QImage drawn = EverySegmentOfTheState();
    for (int y = 0; y < plot.height(); ++y) {
        for (int x = 0; x < plot.width(); ++x) {
            const QPoint at = plot.topLeft() + QPoint(x, y);
            bool underButton = false;
            for (const QToolButton* button : buttons) underButton = underButton || button->geometry().contains(at);
            if (!underButton) {
                ASSERT_EQ(window.pixel(at + origin), drawn.pixel(x, y)) << "plot pixel " << x << ", " << y;
            }
        }
    }
}

TEST_F(ViewTest, RightClickOnASwatchChoosesTheColourOfChannelsOneToSix) {
    Open(test::MakeCurveSet(100, 8));
    int asked = 0;
    view_->SetColourChooser([&](const QColor& initial) {
        ++asked;
        EXPECT_EQ(initial, QColor(Qt::black));
        return QColor(10, 20, 30);
    });
    // Channel 3's hit area: W + 12 < x < W + 57, 120 < y < 135.
    Mouse(*view_, QEvent::MouseButtonPress, 1030, 128, Qt::RightButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(view_->ChannelColour(2), QColor(10, 20, 30));
    // Channel 7 keeps its colour.
    Mouse(*view_, QEvent::MouseButtonPress, 1030, 288, Qt::RightButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(view_->ChannelColour(6), QColor(0, 0, 255));
    // Cancel keeps the colour.
    view_->SetColourChooser([](const QColor&) { return QColor(); });
    Mouse(*view_, QEvent::MouseButtonPress, 1030, 48, Qt::RightButton);
    EXPECT_EQ(view_->ChannelColour(0), QColor(0, 0, 255));
}

TEST_F(ViewTest, OneRecordAndNoRecordsAreShownWithoutFault) {
    RecordSet one = test::MakeCurveSet(1, 1);
    one.records[0].value[0] = 20.0f;
    one.maxValue[0] = 30.0f;
    one.minValue[0] = 10.0f;
    Open(std::move(one));
    view_->State().showScale = false;
    view_->Redraw();
    EXPECT_EQ(view_->Canvas().pixel(50, 20 + 227), qRgb(0, 0, 255));  // y(20) = 475 − 10 × 22.75
    Mouse(*view_, QEvent::MouseMove, 600, 200);
    EXPECT_EQ(view_->PointedRecord(), 0);
    view_->AmplificationButton()->click();
    Mouse(*view_, QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    Mouse(*view_, QEvent::MouseButtonRelease, 900, 300, Qt::LeftButton);
    EXPECT_EQ(view_->State().endIndex - view_->State().firstIndex, 1);

    Open(RecordSet());
    Mouse(*view_, QEvent::MouseMove, 600, 200);
    EXPECT_EQ(view_->PointedRecord(), -1);
    view_->RangeButton()->click();  // nothing to choose from: no dialog
    view_->ReturnButton()->click();
    EXPECT_EQ(view_->State().endIndex, 0);
}

TEST_F(ViewTest, F0ModeShowsChannelTwoAndReturnHidesItAgain) {
    RecordSet set = test::MakeCurveSet(100, 1);  // channel 2 not recorded
    for (auto& r : set.records) r.value[0] = 121.0f;
    Open(std::move(set));
    ASSERT_NE(view_->Lists(), nullptr);
    EXPECT_FALSE(view_->ChannelBox(1)->isEnabled());
    ASSERT_TRUE(view_->Lists()->SwitchF0On(121.0f, 10.0f));
    EXPECT_TRUE(view_->ChannelBox(1)->isEnabled());
    EXPECT_TRUE(view_->ChannelBox(1)->isChecked());
    EXPECT_EQ(view_->ChannelColour(1), QColor(255, 0, 0));
    EXPECT_FLOAT_EQ(view_->State().axisMin[1], 1.0f);  // F grows by 1.0 per record
    EXPECT_FLOAT_EQ(view_->State().axisMax[1], 100.0f);
    // The readout now names channel 2 too.
    Mouse(*view_, QEvent::MouseMove, ViewX(9), 200);
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道2(F0): 10.0")));
    view_->ReturnButton()->setEnabled(true);
    view_->ReturnButton()->click();
    EXPECT_FALSE(view_->ChannelBox(1)->isEnabled());
    EXPECT_FALSE(view_->ChannelBox(1)->isChecked());
    EXPECT_EQ(view_->ChannelColour(1), QColor(192, 192, 192));
    EXPECT_EQ(view_->State().channelEnabled[1], 0);
}

TEST_F(ViewTest, CanvasFollowsChannelTwoThroughF0OnAndOff) {
    // A recorded channel 2 far from the F values, many records per column: the canvas drawn from
    // the block summaries must show F after F0 is switched on and the recording after Return.
    RecordSet set = test::MakeCurveSet(40000, 2, 60, 0);
    for (size_t i = 0; i < set.records.size(); ++i) set.records[i].value[0] = 100.0f + static_cast<float>(i % 50);
    Open(std::move(set));
    const auto expectEverySegment = [this](const char* what) {
        EXPECT_TRUE(EverySegmentOfTheState() == view_->Canvas()) << what;
        // And the summary of channel 2 agrees with the records the view now shows.
        float hi[8], lo[8], hiAll[8], loAll[8];
        RecomputeAxisRange(doc_->Set(), view_->Summary(), 0, 40000, hi, lo);
        RecomputeAxisRange(doc_->Set(), 0, 40000, hiAll, loAll);
        EXPECT_EQ(hi[1], hiAll[1]) << what;
        EXPECT_EQ(lo[1], loAll[1]) << what;
    };
    expectEverySegment("recorded");
    ASSERT_TRUE(view_->Lists()->SwitchF0On(121.0f, 10.0f));
    expectEverySegment("F0 on");
    view_->ReturnButton()->setEnabled(true);
    view_->ReturnButton()->click();
    expectEverySegment("F0 off");
}

TEST_F(ViewTest, F0ModeAlwaysLeadsBackToTheRecordedChannelTwo) {
    RecordSet set = test::MakeCurveSet(100, 2);  // channel 2 recorded: humidity in %RH
    for (auto& r : set.records) r.value[0] = 121.0f;
    const float recorded = set.records[9].value[1];
    Open(std::move(set));
    ASSERT_FALSE(view_->ReturnButton()->isEnabled());
    ASSERT_TRUE(view_->Lists()->SwitchF0On(121.0f, 10.0f));
    // Without zooming first, "Return" is the way back.
    EXPECT_TRUE(view_->ReturnButton()->isEnabled());
    // F is minutes, not humidity: its own unit in the readout and the statistics list.
    Mouse(*view_, QEvent::MouseMove, ViewX(9), 200);
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("通道2(F0): 10.0 min")))
        << view_->ReadoutText().toStdString();
    EXPECT_FALSE(view_->ReadoutText().contains(QStringLiteral("%RH")));
    const QAbstractItemModel* statistics = view_->StatisticsList()->model();
    EXPECT_EQ(statistics->index(1, 2).data().toString(), QStringLiteral("min"));

    view_->ReturnButton()->click();
    EXPECT_TRUE(view_->ChannelBox(1)->isEnabled());
    EXPECT_TRUE(view_->ChannelBox(1)->isChecked());
    EXPECT_EQ(view_->State().channelEnabled[1], 1);
    EXPECT_EQ(view_->ChannelColour(1), QColor(255, 0, 0));
    EXPECT_FLOAT_EQ(view_->Document()->Set().records[9].value[1], recorded);
    EXPECT_EQ(statistics->index(1, 2).data().toString(), QStringLiteral("%RH"));
    Mouse(*view_, QEvent::MouseMove, ViewX(9), 200);
    EXPECT_TRUE(view_->ReadoutText().contains(QStringLiteral("%RH"))) << view_->ReadoutText().toStdString();
    EXPECT_FALSE(view_->ReturnButton()->isEnabled());
}

TEST_F(ViewTest, ReturnKeepsAHiddenRecolouredChannelTwo) {
    Open(test::MakeCurveSet(100, 2));
    view_->SetColourChooser([](const QColor&) { return QColor(0, 160, 0); });
    const QRect swatch = view_->Placement().swatch[1];
    Mouse(*view_, QEvent::MouseButtonPress, swatch.center().x(), swatch.center().y(), Qt::RightButton);
    ASSERT_EQ(view_->ChannelColour(1), QColor(0, 160, 0));
    view_->ChannelBox(1)->click();
    ASSERT_EQ(view_->State().channelVisible[1], 0);

    // "Return" after a zoom, F0 mode never on: channel 2 stays hidden and green.
    view_->AmplificationButton()->click();
    view_->ReturnButton()->click();
    EXPECT_EQ(view_->State().channelVisible[1], 0);
    EXPECT_FALSE(view_->ChannelBox(1)->isChecked());
    EXPECT_TRUE(view_->ChannelBox(1)->isEnabled());
    EXPECT_EQ(view_->ChannelColour(1), QColor(0, 160, 0));

    // F0 mode shows F in red; "Return" gives the user's channel 2 back as it was.
    ASSERT_TRUE(view_->Lists()->SwitchF0On(121.0f, 10.0f));
    EXPECT_EQ(view_->State().channelVisible[1], 1);
    EXPECT_EQ(view_->ChannelColour(1), QColor(255, 0, 0));
    view_->ReturnButton()->click();
    EXPECT_EQ(view_->State().channelVisible[1], 0);
    EXPECT_EQ(view_->ChannelColour(1), QColor(0, 160, 0));
    EXPECT_EQ(view_->State().channelEnabled[1], 1);
}

TEST_F(ViewTest, SelectedColumnFollowsThePointerWhileDraggingAZoomRectangle) {
    Open(test::MakeCurveSet(100, 2));
    WatchSelected();
    view_->AmplificationButton()->click();
    Mouse(*view_, QEvent::MouseButtonPress, ViewX(10), 200, Qt::LeftButton);
    ASSERT_TRUE(view_->State().dragging);
    const int before = readouts_;
    Mouse(*view_, QEvent::MouseMove, ViewX(40), 250);
    EXPECT_EQ(readouts_, before + 1);
    const RecordSet& set = view_->Document()->Set();
    ASSERT_EQ(lastSelected_.size(), 2);
    EXPECT_EQ(lastSelected_[0], QString::asprintf("%.2f", static_cast<double>(set.records[40].value[0])));
    EXPECT_EQ(lastSelected_[1], QString::asprintf("%.1f", static_cast<double>(set.records[40].value[1])));
    EXPECT_EQ(view_->StatisticsList()->model()->index(0, 3).data().toString(), lastSelected_[0]);
    Mouse(*view_, QEvent::MouseMove, ViewX(60), 250);
    EXPECT_EQ(lastSelected_[0], QString::asprintf("%.2f", static_cast<double>(set.records[60].value[0])));
}

TEST_F(ViewTest, PrintButtonsPrintWithoutGoingThroughTheMainWindow) {
    Open(test::MakeCurveSet(100, 2));
    test::ScriptedPresenter presenter;
    int choosers = 0;
    presenter.onExec = [&](QDialog& dialog) {
        if (qobject_cast<CTimeCho*>(&dialog) != nullptr) ++choosers;
        return static_cast<int>(QDialog::Rejected);
    };
    // Not yet told where to print: nothing happens.
    view_->PrintListButton()->click();
    EXPECT_EQ(choosers, 0);
    int typesAsked = 0;
    view_->SetPrinting(&presenter, [&](uint8_t(&)[8]) { ++typesAsked; });
    view_->PrintListButton()->click();
    EXPECT_EQ(choosers, 1);
    EXPECT_EQ(typesAsked, 1);
    // The curve page goes to the print dialog (cancelled here: nothing printed, no message).
    view_->PrintCurveButton()->click();
    EXPECT_EQ(presenter.printDialogs, 1);
    EXPECT_TRUE(presenter.messages.empty());
}

TEST_F(ViewTest, LayoutFollowsTheScreenScale) {
    Open(test::MakeCurveSet(10, 1));
    view_->resize(view_->width(), 1000);  // high enough for the column at this scale
    const int width = view_->width(), height = view_->height();
    view_->SetDpiScale(1.5);
    EXPECT_FALSE(view_->Placement().packed);
    const CurveState& s = view_->State();
    // The column right of the plot is at least 68 × 1.5 wide; the plot starts at 20 × 1.5 unless
    // the tab headers are taller.
    EXPECT_LE(s.plotWidth, width - 102);
    EXPECT_GE(s.plotWidth, width - 200);
    EXPECT_EQ(s.plotTop, std::max(30, view_->Tabs()->height()));
    EXPECT_EQ(s.plotHeight, static_cast<int>(height - 232.5) - (s.plotTop - 30));
    // Channel boxes at W + 19.5, 60 pixels apart.
    EXPECT_EQ(view_->ChannelBox(1)->x(), s.plotWidth + 19);
    EXPECT_EQ(view_->ChannelBox(2)->y() - view_->ChannelBox(1)->y(), 60);
    EXPECT_EQ(view_->Canvas().size(), QSize(s.plotWidth, s.plotHeight));
}

TEST(TimeChooser, TimesRoundTripAndSerialNumbersReadTheirLeadingDigits) {
    CTimeCho chooser(Language::English);
    const int64_t start = CDealTime(2025, 3, 1, 8, 0, 5).GetTime();
    const int64_t end = CDealTime(2025, 4, 2, 23, 59, 59).GetTime();
    chooser.SetTimes(start, end);
    EXPECT_EQ(chooser.StartDate()->date(), QDate(2025, 3, 1));
    EXPECT_EQ(chooser.EndTime()->time(), QTime(23, 59, 59));
    chooser.accept();
    EXPECT_EQ(chooser.Start(), start);
    EXPECT_EQ(chooser.End(), end);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Dialog"));

    chooser.SetMode(CTimeCho::Mode::Serial);
    EXPECT_TRUE(chooser.StartDate()->isHidden());
    EXPECT_FALSE(chooser.FirstSerialEdit()->isHidden());
    EXPECT_EQ(chooser.FirstSerialEdit()->text(), QStringLiteral("1"));
    chooser.FirstSerialEdit()->setText(QStringLiteral("12ab"));
    chooser.LastSerialEdit()->setText(QStringLiteral("x9"));
    chooser.accept();
    EXPECT_EQ(chooser.FirstSerial(), 12);
    EXPECT_EQ(chooser.LastSerial(), 0);
    EXPECT_EQ(LeadingDigits(QStringLiteral("99999999999")), 2147483647);
}

TEST(TimeChooser, BackgroundShadesTowardsTheTopLeftCorner) {
    CTimeCho chooser(Language::Chinese);
    chooser.resize(466, 300);
    const QImage image = chooser.grab().toImage();
    EXPECT_EQ(image.pixel(0, 0), qRgb(239, 249, 244));  // the smallest rectangle, n = 1
    EXPECT_EQ(image.pixel(465, 299), qRgb(240 - 233, 250 - 233, 245 - 233));
}

}  // namespace
}  // namespace velorin
