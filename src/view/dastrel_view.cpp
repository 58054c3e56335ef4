#include "view/dastrel_view.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "device/device_info.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "view/curve_renderer.h"
#include "view/curve_texts.h"
#include "view/data_list.h"
#include "view/deferred_canvas.h"
#include "view/f0.h"
#include "view/history_lists.h"
#include "view/range_chooser.h"
#include "view/statistics_list.h"
#include "view/statistics_model.h"
#include "view/view_images.h"
#include "view/view_layout.h"
#include "view/view_printing.h"
#include "view/view_texts.h"

namespace velorin {

namespace {

const QColor kDefaultColour[8] = {QColor(0, 0, 255),   QColor(255, 0, 0),   QColor(255, 255, 0), QColor(64, 128, 128),
                                  QColor(128, 0, 255), QColor(128, 128, 0), QColor(0, 0, 255),   QColor(128, 0, 0)};
const QColor kDisabledColour(192, 192, 192);
const QColor kStripColour(200, 221, 222);

// Shrinks a control's font until its text fits the width the form gives it.
void FitText(QWidget* control, const QString& text, int padding) {
    QFont font = control->font();
    while (font.pointSizeF() > 7.0 && QFontMetrics(font).horizontalAdvance(text) + padding > control->width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    control->setFont(font);
}

QFont ReadoutFont() {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(8);
    return font;
}

}  // namespace

CDastrelView::CDastrelView(std::shared_ptr<CDastrelDoc> doc, const DisplayOptions& display, QWidget* parent)
    : QWidget(parent),
      doc_(std::move(doc)),
      display_(display),
      texts_(CurveTextsFor(display.language)),
      canvas_([this](QImage& image) { RenderCurveCanvas(image, drawnScene_); }) {
    const QScreen* screen =
        parent != nullptr && parent->screen() != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) dpiScale_ = screen->logicalDotsPerInchX() / 96.0;
    if (!(dpiScale_ > 0.25 && dpiScale_ < 8.0)) dpiScale_ = 1.0;

    const RecordSet& set = doc_->Set();
    state_ = OpenedCurveState(set);
    times_ = RecordTimes(set);
    summary_ = CurveSummary(set, times_);
    for (int c = 0; c < 8; ++c) colour_[c] = state_.channelEnabled[c] ? kDefaultColour[c] : kDisabledColour;

    setMouseTracking(true);
    // paintEvent paints every pixel it is asked for: Qt's own background fill under the canvas
    // (a screen's worth of pixels, all drawn over at once) is left out.
    setAttribute(Qt::WA_OpaquePaintEvent);
    BuildControls();

    HistoryLists::Setup setup;
    setup.doc = doc_;
    setup.display = display_;
    setup.statistics = statistics_;
    setup.data = dataList_;
    setup.shownRange = [this] { return std::make_pair(state_.firstIndex, state_.endIndex); };
    lists_ = new HistoryLists(std::move(setup), this);
    connect(this, &CDastrelView::SelectedValuesChanged, lists_, &HistoryLists::ShowSelected);
    connect(this, &CDastrelView::Returned, lists_, &HistoryLists::SwitchF0Off);
    connect(lists_, &HistoryLists::F0Switched, this, &CDastrelView::ApplyF0Switch);
    UpdateCursor();
    resize(900, 640);
}

CDastrelView::~CDastrelView() = default;

int CDastrelView::Scaled(double value) const { return static_cast<int>(value * dpiScale_); }

void CDastrelView::BuildControls() {
    const ViewTexts& vt = ViewTextsFor(display_.language);
    tabs_ = new QTabBar(this);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 8px; }"));
    tabs_->addTab(FromUtf8(vt.tabs.graph));
    tabs_->addTab(FromUtf8(vt.tabs.data));
    connect(tabs_, &QTabBar::currentChanged, this, &CDastrelView::ShowTab);

    statistics_ = new QTableView(this);
    statistics_->setSelectionBehavior(QAbstractItemView::SelectRows);
    statistics_->verticalHeader()->hide();
    // Rows as high as the text needs, so that the list under the plot shows every channel.
    statistics_->verticalHeader()->setMinimumSectionSize(1);
    statistics_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    dataList_ = new QTableView(this);
    dataList_->hide();

    for (int c = 0; c < 8; ++c) {
        auto* box = new QCheckBox(FromUtf8(FormatC(texts_.channelBox.c_str(), c + 1)), this);
        box->setChecked(state_.channelEnabled[c] != 0);
        box->setEnabled(state_.channelEnabled[c] != 0);
        connect(box, &QCheckBox::clicked, this, [this, c] {
            state_.channelVisible[c] = state_.channelVisible[c] ? 0 : 1;
            channelBox_[c]->setChecked(state_.channelVisible[c] != 0);
            Redraw();
        });
        channelBox_[c] = box;
    }
    coordinate_ = new QCheckBox(FromUtf8(texts_.coordinate), this);
    coordinate_->setChecked(state_.showScale);
    connect(coordinate_, &QCheckBox::clicked, this, [this] {
        state_.showScale = !state_.showScale;
        coordinate_->setChecked(state_.showScale);
        Redraw();
    });

    return_ = new QPushButton(FromUtf8(texts_.returnButton), this);
    amplification_ = new QPushButton(FromUtf8(texts_.amplification), this);
    range_ = new QPushButton(FromUtf8(texts_.range), this);
    connect(return_, &QPushButton::clicked, this, &CDastrelView::Return);
    connect(amplification_, &QPushButton::clicked, this, &CDastrelView::Amplify);
    connect(range_, &QPushButton::clicked, this, &CDastrelView::ChooseRange);

    // The bitmap buttons show their images only; the text is the tip.
    compress_ = new QToolButton(this);
    compress_->setToolTip(FromUtf8(texts_.compression));
    expand_ = new QToolButton(this);
    pan_ = new QToolButton(this);
    pan_->setCheckable(true);
    // They reach into the plot's top margin. Opaque to the last pixel (their rounded corners
    // filled too), nothing of the plot shows through them, so a drawing repaints the plot around
    // them and leaves them alone.
    for (QToolButton* button : {compress_, expand_, pan_}) button->setAutoFillBackground(true);
    connect(compress_, &QToolButton::clicked, this, [this] {
        ChangeCompression(state_, +1);
        Redraw();
    });
    connect(expand_, &QToolButton::clicked, this, [this] {
        ChangeCompression(state_, -1);
        Redraw();
    });
    connect(pan_, &QToolButton::toggled, this, [this](bool on) {
        state_.panMode = on;
        if (on) ClearOverlay();
        UpdateCursor();
    });

    firstTime_ = new QLabel(this);
    firstTime_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lastTime_ = new QLabel(this);
    lastTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The buttons run the same print functions as the data window's File menu.
    printCurve_ = new QPushButton(FromUtf8(texts_.printCurve), this);
    printList_ = new QPushButton(FromUtf8(texts_.printList), this);
    connect(printCurve_, &QPushButton::clicked, this, [this] {
        if (presenter_ != nullptr) PrintViewCurve(*this, *presenter_);
    });
    connect(printList_, &QPushButton::clicked, this, [this] {
        if (presenter_ == nullptr) return;
        // The view's language; the channel types of the logger read last at the time of printing.
        DisplayOptions now = display_;
        if (printChannelTypes_) printChannelTypes_(now.channelType);
        PrintViewList(*this, *presenter_, now);
    });
    UpdateControls();
}

void CDastrelView::SetPrinting(Presenter* presenter, std::function<void(uint8_t (&)[8])> channelTypes) {
    presenter_ = presenter;
    printChannelTypes_ = std::move(channelTypes);
}

void CDastrelView::ApplyF0Switch(const F0Switch& result) {
    // F0 mode wrote channel 2 (or put the recording back): its block summaries follow.
    if (result.changed) summary_.RebuildChannel(doc_->Set(), 1);
    // The lists were refilled with their usual column widths.
    FitStatisticsColumns();
    // "Return" without F0 mode leaves channel 2 as the user set it (hidden, recoloured).
    if (!result.changed) return;
    if (lists_->F0On()) {
        // The first switch keeps what the user chose for a recorded channel 2.
        if (!f0Kept_.kept) f0Kept_ = {true, state_.channelVisible[1], colour_[1]};
        state_.channelEnabled[1] = 1;
        state_.channelVisible[1] = 1;
        colour_[1] = kDefaultColour[1];
        if (result.extremes.any) {
            state_.axisMax[1] = result.extremes.max;
            state_.axisMin[1] = result.extremes.min;
        }
        // F0 mode always has a way back, zoomed or not.
        state_.returnEnabled = true;
    } else {
        const bool recorded = result.channel2Enabled;
        state_.channelEnabled[1] = recorded ? 1 : 0;
        state_.channelVisible[1] = recorded && f0Kept_.kept ? f0Kept_.visible : 0;
        colour_[1] = recorded && f0Kept_.kept ? f0Kept_.colour : kDisabledColour;
        f0Kept_ = {};
        // The recorded values are back: their value range replaces F's.
        state_.recomputeRange = true;
    }
    ChannelChanged(1);
}

void CDastrelView::showEvent(QShowEvent*) {
    // The first showing refills the main window's panel from the data set and fills the lists.
    if (opened_) return;
    opened_ = true;
    lists_->Open();
    // The list now has its rows: the layout gives it room for them.
    Layout();
}

void CDastrelView::SetDpiScale(double scale) {
    dpiScale_ = scale;
    Layout();
}

void CDastrelView::SetChannelColour(int channel, const QColor& colour) {
    if (channel < 0 || channel >= 8) return;
    colour_[channel] = colour;
    Redraw();
}

void CDastrelView::ChannelChanged(int channel) {
    if (channel < 0 || channel >= 8) return;
    channelBox_[channel]->setEnabled(state_.channelEnabled[channel] != 0);
    channelBox_[channel]->setChecked(state_.channelEnabled[channel] != 0 && state_.channelVisible[channel] != 0);
    Redraw();
}

ViewLayoutNeeds CDastrelView::Needs() const {
    ViewLayoutNeeds n;
    const QStyle* st = style();
    const QFontMetrics fm(font());
    auto boxNeed = [&](const QCheckBox* box) {
        return st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
               st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) + fm.horizontalAdvance(box->text()) + 6;
    };
    for (const QCheckBox* box : channelBox_) n.channelBoxWidth = std::max(n.channelBoxWidth, boxNeed(box));
    n.checkBoxWidth = std::max(n.channelBoxWidth, boxNeed(coordinate_));
    n.checkBoxHeight = std::max(fm.height(), st->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, coordinate_)) + 2;
    const int buttonPadding = 2 * st->pixelMetric(QStyle::PM_ButtonMargin, nullptr, return_) +
                              2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, return_) + 6;
    for (const QPushButton* button : {return_, amplification_, range_, printCurve_, printList_}) {
        n.buttonWidth = std::max(n.buttonWidth, fm.horizontalAdvance(button->text()) + buttonPadding);
    }
    n.buttonHeight = fm.height() + 10;
    const QSize tabs = tabs_->sizeHint();
    n.tabWidth = tabs.width();
    n.tabHeight = tabs.height();
    n.bitmapButtonWidth = compress_->iconSize().width() + 8;
    const int timeWidth = fm.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 6;
    n.firstTimeWidth = n.lastTimeWidth = timeWidth;
    n.timeHeight = fm.height() + 2;

    // The statistics list showing every row: header, rows, frame and, when its columns are wider
    // than the plot, the horizontal scroll bar.
    int rows = 0;
    if (statistics_->model() != nullptr)
        rows = statistics_->model()->rowCount();
    else
        for (int32_t enabled : state_.channelEnabled) rows += enabled != 0 ? 1 : 0;
    int columns = 0;
    for (int c = 0; statistics_->model() != nullptr && c < statistics_->model()->columnCount(); ++c) {
        columns += statistics_->columnWidth(c);
    }
    const int frame = 2 * statistics_->frameWidth();
    n.statisticsHeight = statistics_->horizontalHeader()->sizeHint().height() +
                         rows * statistics_->verticalHeader()->defaultSectionSize() + frame;
    if (columns + frame > width() - Scaled(68) - 40) n.statisticsHeight += st->pixelMetric(QStyle::PM_ScrollBarExtent);
    return n;
}

void CDastrelView::Layout() {
    const double s = dpiScale_;
    const QPixmap images[3] = {CompressionImage(s * 0.75), ExpansionImage(s * 0.75), PanImage(s * 0.75)};
    QToolButton* bitmapButtons[3] = {compress_, expand_, pan_};
    for (int i = 0; i < 3; ++i) {
        bitmapButtons[i]->setIcon(images[i]);
        bitmapButtons[i]->setIconSize(images[i].size());
    }
    // The statistics columns are fitted to the list's width, which decides whether the list
    // needs a horizontal scroll bar and so its height: lay out again when the fit changed that.
    for (int pass = 0; pass < 2; ++pass) {
        const ViewLayoutNeeds needs = Needs();
        layout_ = ComputeViewLayout(width(), height(), s, needs);
        ApplyLayout();
        FitStatisticsColumns();
        if (Needs().statisticsHeight == needs.statisticsHeight) break;
    }
    // The range texts are fitted to their new widths by the drawing.
    firstTime_->clear();
    lastTime_->clear();
    Redraw();
}

void CDastrelView::ApplyLayout() {
    const ViewLayout& L = layout_;
    state_.plotWidth = L.plotWidth;
    state_.plotHeight = L.plotHeight;
    state_.plotTop = L.plotTop;
    tabs_->setGeometry(L.tabs);
    for (int k = 0; k < 8; ++k) channelBox_[k]->setGeometry(L.channelBox[k]);
    coordinate_->setGeometry(L.coordinate);
    return_->setGeometry(L.returnButton);
    amplification_->setGeometry(L.amplification);
    range_->setGeometry(L.range);
    printCurve_->setGeometry(L.printCurve);
    printList_->setGeometry(L.printList);
    dataList_->setGeometry(L.dataList);
    statistics_->setGeometry(L.statistics);
    firstTime_->setGeometry(L.firstTime);
    lastTime_->setGeometry(L.lastTime);
    QToolButton* bitmapButtons[3] = {compress_, expand_, pan_};
    for (int i = 0; i < 3; ++i) {
        bitmapButtons[i]->setGeometry(L.bitmapButton[i]);
        bitmapButtons[i]->raise();
    }
}

void CDastrelView::FitStatisticsColumns() {
    // The whole set's columns keep the list's own widths whenever they fit side by side; the
    // range figures after them keep theirs too and scroll into view where the list is too
    // narrow for all. Where even the whole set's columns do not fit, each column is as wide as
    // its header and cells, so that the last of them is not pushed out of sight.
    QAbstractItemModel* model = statistics_->model();
    if (model == nullptr) return;
    // The width just laid out (the viewport follows it only when the resize has been handled).
    const int available = statistics_->geometry().width() - 2 * statistics_->frameWidth();
    const int wholeSet = std::min(model->columnCount(), StatisticsModel::FirstRangeColumn());
    int usual = 0;
    for (int c = 0; c < wholeSet; ++c) usual += StatisticsList::ColumnWidth(c);
    if (usual <= available) {
        ApplyStatisticsWidths(*statistics_);
        // A text wider than its column's usual width ("Pressure" under "Type") widens it.
        for (int c = 0; c < model->columnCount(); ++c) {
            const int usualWidth = statistics_->columnWidth(c);
            statistics_->resizeColumnToContents(c);
            statistics_->setColumnWidth(c, std::max(usualWidth, statistics_->columnWidth(c)));
        }
        return;
    }
    for (int c = 0; c < model->columnCount(); ++c) {
        statistics_->resizeColumnToContents(c);
        // An empty "Selected" column keeps room for a value.
        statistics_->setColumnWidth(
            c, std::max(statistics_->columnWidth(c), fontMetrics().horizontalAdvance(QStringLiteral("-0000.00")) + 12));
    }
}

void CDastrelView::Redraw() {
    ClearOverlay();
    if (!state_.graphShown || state_.plotWidth <= 0 || state_.plotHeight <= 0) {
        UpdateControls();
        update();
        return;
    }
    if (BeginDrawing(state_)) {
        RecomputeAxisRange(doc_->Set(), summary_, state_.firstIndex, state_.endIndex, state_.axisMax, state_.axisMin);
    }
    drawnState_ = state_;
    drawnScene_.set = &doc_->Set();
    drawnScene_.times = &times_;
    drawnScene_.summary = &summary_;
    drawnScene_.state = &drawnState_;
    for (int c = 0; c < 8; ++c) drawnScene_.colour[c] = colour_[c];
    drawnScene_.font = font();
    canvas_.Drawn();
    canvasKept_ = true;
    EndDrawing(state_);
    // Zoom, pan, "Range" and "Return" all end in a drawing: the range figures follow here.
    if (lists_) lists_->RangeShown();
    UpdateControls();
    // What a drawing changes: the canvas and the colour swatches whose colour changed since they
    // were last asked to repaint (a swatch's rectangle touches its check box, which would be
    // repainted with it). The lists and controls below repaint themselves when their contents
    // change.
    QRegion changed = QRegion(PlotRect()) - ControlsOverPlot();
    for (int k = 0; k < 8; ++k) {
        if (swatchColour_[k] == colour_[k]) continue;
        changed += layout_.swatch[k];
        swatchColour_[k] = colour_[k];
    }
    update(changed);
}

void CDastrelView::UpdateControls() {
    return_->setEnabled(state_.returnEnabled);
    amplification_->setEnabled(state_.amplificationEnabled);
    pan_->setEnabled(state_.panEnabled);
    if (!state_.panEnabled && pan_->isChecked()) pan_->setChecked(false);
    const RecordSet& set = doc_->Set();
    const int32_t count = UsableRecordCount(set);
    if (state_.firstIndex >= 0 && state_.firstIndex < state_.endIndex && state_.endIndex <= count) {
        const QString first =
            QString::fromLatin1(RecordTimeText(set.records[static_cast<size_t>(state_.firstIndex)]).c_str());
        const QString last =
            QString::fromLatin1(RecordTimeText(set.records[static_cast<size_t>(state_.endIndex - 1)]).c_str());
        for (auto [label, text] : {std::make_pair(firstTime_, first), std::make_pair(lastTime_, last)}) {
            if (label->text() == text) continue;
            label->setText(text);
            label->setFont(font());
            FitText(label, text, 2);
        }
    } else {
        firstTime_->clear();
        lastTime_->clear();
    }
}

void CDastrelView::UpdateCursor() { setCursor(state_.panMode ? PanPointerCursor() : CurvePointerCursor()); }

void CDastrelView::Amplify() {
    ArmZoom(state_);
    UpdateControls();
}

void CDastrelView::Return() {
    ReturnToWholeSet(state_);
    canvasKept_ = false;
    emit Returned();
    UpdateCursor();
    Redraw();
}

void CDastrelView::ChooseRange() {
    if (times_.Count() == 0) return;  // no record to choose from
    CTimeCho chooser(display_.language, this);
    chooser.SetTimes(times_.Seconds(0), times_.Seconds(times_.Count() - 1));
    const bool ok = rangeChooser_ ? rangeChooser_(chooser) : chooser.exec() == QDialog::Accepted;
    if (!ok) return;
    ApplyTimeRange(state_, times_, chooser.Start(), chooser.End());
    Redraw();
}

void CDastrelView::ShowTab(int index) {
    const bool graph = index == 0;
    if (tabs_->currentIndex() != index) tabs_->setCurrentIndex(index);
    state_.graphShown = graph;
    dataList_->setVisible(!graph);
    for (QWidget* w :
         {static_cast<QWidget*>(coordinate_), static_cast<QWidget*>(return_), static_cast<QWidget*>(amplification_),
          static_cast<QWidget*>(range_), static_cast<QWidget*>(expand_), static_cast<QWidget*>(compress_),
          static_cast<QWidget*>(pan_), static_cast<QWidget*>(firstTime_), static_cast<QWidget*>(lastTime_)}) {
        w->setVisible(graph);
    }
    for (QCheckBox* box : channelBox_) box->setVisible(graph);
    if (graph) {
        // The swatches were not shown with the data list: all of them repaint.
        for (QColor& shown : swatchColour_) shown = QColor();
        Redraw();
    } else {
        ClearOverlay();
        update();
    }
}

QRect CDastrelView::PlotRect() const {
    return QRect(kCanvasViewX, state_.plotTop, state_.plotWidth, state_.plotHeight);
}

QRegion CDastrelView::ControlsOverPlot() const {
    QRegion over;
    for (const QToolButton* button : {compress_, expand_, pan_}) {
        if (button->isVisible()) over += button->geometry();
    }
    return over & PlotRect();
}

QRect CDastrelView::OverlayRect() const {
    switch (overlay_) {
        case Overlay::Readout:
            return QRect(cursorViewX_, state_.plotTop, 1, state_.plotHeight + 1)
                .united(readoutBox_)
                .adjusted(-1, -1, 2, 2);
        case Overlay::ZoomRectangle: return zoomRect_.normalized().adjusted(-1, -1, 2, 2);
        case Overlay::None: break;
    }
    return QRect();
}

void CDastrelView::ClearOverlay() {
    if (overlay_ != Overlay::None) update(OverlayRect());
    overlay_ = Overlay::None;
}

void CDastrelView::Readout(int x, int y) {
    const QRect before = OverlayRect();
    const RecordSet& set = doc_->Set();
    // The "Selected" column follows the pointer whichever overlay is drawn, the zoom
    // rectangle included.
    pointed_ = RecordUnderCanvasX(x - kCanvasViewX, state_.plotWidth, state_.firstIndex, state_.endIndex,
                                  std::min(state_.recordCount, UsableRecordCount(set)));
    std::string text;
    if (pointed_.index >= 0) {
        const SampleRecord& record = set.records[static_cast<size_t>(pointed_.index)];
        QStringList selected;
        // GBK, like the data file's quantity and unit names it shows.
        text = Utf8ToGbk(texts_.readoutTime) + RecordTimeText(record) + "\r\n";
        for (int c = 0; c < 8; ++c) {
            if (set.channelEnabled[c] != 1) continue;
            const float v = record.value[c];
            const bool hundredths = HasHundredths(display_.channelType[c]);
            selected << FromGbk(ListValueText(v, hundredths));
            if (!state_.channelVisible[c]) continue;
            text += FormatC(Utf8ToGbk(texts_.readoutChannel).c_str(), c + 1, QuantityTextOf(set, c).c_str());
            if (IsMissingSample(v))
                text += Utf8ToGbk(texts_.error);
            else
                text += FormatC(hundredths ? "%.2f %s" : "%.1f %s", static_cast<double>(v), UnitTextOf(set, c).c_str());
            text += "\r\n";
        }
        emit SelectedValuesChanged(selected);
    }
    if (state_.dragging) {
        // The rectangle starts where the button went down: pressX is a canvas x.
        zoomRect_ = QRect(QPoint(static_cast<int>(state_.pressX) + kCanvasViewX, static_cast<int>(state_.pressY)),
                          QPoint(x, y));
        overlay_ = Overlay::ZoomRectangle;
        update(before.united(OverlayRect()));
        return;
    }
    if (pointed_.index < 0) return;

    readoutText_ = FromGbk(text);
    cursorViewX_ = pointed_.cursorX + kCanvasViewX;
    const QFontMetrics metrics(ReadoutFont());
    const QString shown = QString(readoutText_).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
    const QRect extent = metrics.boundingRect(QRect(0, 0, 4000, 4000), Qt::AlignLeft | Qt::AlignTop, shown);
    const int bw = extent.width() + 20, bh = extent.height() + 20;
    int bx = cursorViewX_ + 15, by = y + 15;
    if (bx + bw > state_.plotWidth + kCanvasViewX) bx = cursorViewX_ - bw - 5;
    if (by + bh > state_.plotHeight + state_.plotTop) by = y - bh - 5;
    bx = std::max(bx, kCanvasViewX);
    by = std::max(by, state_.plotTop);
    readoutBox_ = QRect(bx, by, bw, bh);
    overlay_ = Overlay::Readout;
    update(before.united(OverlayRect()));
}

void CDastrelView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const int cw = width(), ch = height();
    const bool canvasShown = state_.graphShown && canvas_.HasDrawing();
    // Where the last drawing's canvas lies (its size may lag the view's until the next drawing).
    const QRect plot(PlotRect().topLeft(),
                     QSize(std::max(drawnState_.plotWidth, 1), std::max(drawnState_.plotHeight, 1)));
    // The window's background wherever the canvas does not lie (the view is opaque).
    QRegion background = event->region();
    if (canvasShown) background -= plot;
    for (const QRect& r : background) p.fillRect(r, palette().brush(backgroundRole()));
    if (canvasShown) {
        canvas_.Paint(p, plot, event->region(), ControlsOverPlot());
        if (overlay_ == Overlay::ZoomRectangle) {
            p.setPen(QPen(QColor(100, 100, 100), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(zoomRect_.normalized());
        } else if (overlay_ == Overlay::Readout) {
            p.setPen(QPen(QColor(150, 150, 150), 1));
            p.drawLine(cursorViewX_, state_.plotTop, cursorViewX_, state_.plotTop + state_.plotHeight);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(255, 255, 225));
            p.drawRect(readoutBox_.adjusted(0, 0, -1, -1));
            p.setFont(ReadoutFont());
            const QString shown = QString(readoutText_).replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed();
            p.drawText(readoutBox_.adjusted(10, 10, -10, -10), Qt::AlignLeft | Qt::AlignTop, shown);
        }
    }
    const int stripTop = layout_.stripTop;
    p.fillRect(QRect(10, stripTop, cw - 10, ch - stripTop), kStripColour);
    if (state_.graphShown) {
        for (int k = 0; k < 8; ++k) p.fillRect(layout_.swatch[k], colour_[k]);
    }
}

void CDastrelView::resizeEvent(QResizeEvent*) { Layout(); }

void CDastrelView::mousePressEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x()), y = static_cast<int>(event->position().y());
    if (event->button() == Qt::LeftButton) {
        if (PressLeft(state_, x, y)) Readout(x, y);
        return;
    }
    if (event->button() != Qt::RightButton) return;
    const double s = dpiScale_;
    for (int k = 0; k < 6; ++k) {
        if (state_.channelEnabled[k] == 0) continue;
        // The swatch and a little around it (with the usual column: W + 12s < x < W + 57s,
        // 40s + 40s·k < y < 55s + 40s·k).
        const QRect& sw = layout_.swatch[k];
        if (x > sw.left() - 1 && x < sw.left() + std::max(sw.width(), static_cast<int>(44 * s)) && y > sw.top() &&
            y < sw.top() + std::max(sw.height(), static_cast<int>(12 * s)) + static_cast<int>(3 * s)) {
            const QColor chosen = colourChooser_ ? colourChooser_(Qt::black) : QColorDialog::getColor(Qt::black, this);
            if (chosen.isValid()) SetChannelColour(k, chosen);
            return;
        }
    }
}

void CDastrelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int x = static_cast<int>(event->position().x()), y = static_cast<int>(event->position().y());
    const bool wasDragging = state_.dragging;
    if (ReleaseLeft(state_, x, y)) {
        canvasKept_ = false;
        Redraw();
        UpdateControls();
    } else if (wasDragging) {
        ClearOverlay();
    }
}

void CDastrelView::mouseMoveEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x()), y = static_cast<int>(event->position().y());
    if (!state_.graphShown || state_.firstDrawPending || !InPlot(state_, x, y)) return;
    if (state_.panMode) {
        if (PanMove(state_, x, y)) Redraw();
        return;
    }
    Readout(x, y);
}

void CDastrelView::leaveEvent(QEvent*) { ClearOverlay(); }

}  // namespace velorin
