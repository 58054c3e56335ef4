#include "live/live_view_widget.h"

#include <QCheckBox>
#include <algorithm>
#include <QColorDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QTreeWidget>

#include "app/link_worker.h"
#include "common/cancel_token.h"
#include "common/format.h"
#include "device/link.h"
#include "live/live_geometry.h"
#include "live/live_poller.h"
#include "live/live_text_format.h"
#include "live/live_texts.h"
#include "ui/gui_text.h"

namespace velorin {

namespace {

const QColor kStaticColour(200, 221, 222);
const QColor kDisabledChannel(192, 192, 192);
const QColor kCursorColour(150, 150, 150);
const QColor kDefaultColours[kChannelCount] = {QColor(0, 255, 0),   QColor(255, 0, 0),   QColor(255, 0, 255),
                                               QColor(255, 255, 0), QColor(128, 0, 255), QColor(0, 0, 255),
                                               QColor(255, 255, 0), QColor(0, 128, 255)};
constexpr int kListColumnWidths[5] = {80, 80, 120, 120, 400};
constexpr int kValueColumn = 3, kTimeColumn = 4;
constexpr int kBoxWidth = 45, kBoxHeight = 15;
constexpr int kListTop = 520, kListBottomMargin = 10;
constexpr int kTextTop = 475, kNowTextFromRight = 134;
constexpr int kTickLength = 10, kLabelDx = 2;

bool ChannelOn(const DeviceInfo& info, int k) { return info.channel[k].channelEnabled != 0; }

// A static text or check box of the form: its own background in the static colour.
void PaintOnStaticBrush(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, kStaticColour);
    p.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QString FormatChannel(const std::string& format, int channelNumber) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return FromUtf8(FormatC(format.c_str(), channelNumber));
#pragma GCC diagnostic pop
}

QColor DefaultChooser(const QColor& initial) { return QColorDialog::getColor(initial); }

}  // namespace

CRealImage::CRealImage(LinkWorker& worker, const DeviceInfo& info, Language language, Hooks hooks, QWidget* parent)
    : QWidget(parent),
      worker_(worker),
      info_(info),
      language_(language),
      hooks_(std::move(hooks)),
      series_(std::make_unique<LiveSeries>()) {
    if (!hooks_.chooseColour) hooks_.chooseColour = DefaultChooser;
    setMouseTracking(true);
    setMinimumSize(LiveMinimumViewWidth(), kLiveMinimumViewHeight);
    const LiveTexts& t = Texts();

    QFont staticFont = font();
    staticFont.setPixelSize(14);
    staticFont.setWeight(QFont::Bold);
    for (int k = 0; k < kChannelCount; ++k) {
        label_[k] = new QLabel(FormatChannel(t.channelLabelFormat, k + 1), this);
        value_[k] = new QLabel(FromUtf8(t.initialValue), this);
        for (QLabel* l : {label_[k], value_[k]}) {
            l->setAlignment(Qt::AlignCenter);
            l->setFont(staticFont);
            PaintOnStaticBrush(l);
            // The pointer readout follows the pointer across the statics that overlap the plot.
            l->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        curveBox_[k] = new QCheckBox(FromUtf8(t.curveBox), this);
        scaleBox_[k] = new QCheckBox(FromUtf8(t.scaleBox), this);
        PaintOnStaticBrush(curveBox_[k]);
        PaintOnStaticBrush(scaleBox_[k]);
        // The boxes are read at every poll: a change shows with the next sample.
    }

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setColumnCount(5);
    QStringList heads;
    for (const std::string& h : t.listColumns) heads << FromUtf8(h);
    list_->setHeaderLabels(heads);
    for (int c = 0; c < 5; ++c) {
        list_->setColumnWidth(c, kListColumnWidths[c]);
        list_->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }
    list_->header()->setStretchLastSection(false);

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
    poller_ = new LivePoller(
        worker_, [this](const LivePollResult& r, int64_t time) { ApplyPoll(r, time); }, this);
    SetColours();
}

CRealImage::~CRealImage() {
    timer_->stop();
    delete poller_;  // cancels a poll still to come
    poller_ = nullptr;
    // A LiveClose job: the port closes after the last poll has ended.
    worker_.Submit(LinkJobKind::LiveClose, [](Link& link, CancelToken&) { link.serial.ClosePort(); });
    series_->Reset();
    if (holdingLink_ && hooks_.released) hooks_.released();
}

const LiveTexts& CRealImage::Texts() const { return LiveTextsFor(language_); }

void CRealImage::SetColours() {
    for (int k = 0; k < kChannelCount; ++k) colour_[k] = ChannelOn(info_, k) ? kDefaultColours[k] : kDisabledChannel;
}

void CRealImage::Start() {
    if (started_) return;
    started_ = true;
    plotWidth_ = LivePlotWidth(width());
    // The port stays open while the view lives (a USB poll does not use it): a LiveOpen job,
    // ahead of every poll.
    worker_.Submit(LinkJobKind::LiveOpen, [](Link& link, CancelToken&) { link.OpenCurrentPort(); });
    if (hooks_.holdLink) hooks_.holdLink();
    holdingLink_ = true;
    SetColours();
    series_->Reset();
    for (int k = 0; k < kChannelCount; ++k) {
        scaleFlag_[k] = 0;
        curveFlag_[k] = 0;
        curveBox_[k]->setChecked(ChannelOn(info_, k));
        curveBox_[k]->setEnabled(ChannelOn(info_, k));
    }
    LayoutStatics();
    FillList();
    LayoutLegendAndList();
    timer_->start(kPollIntervalMs);
    DrawPlot();
    update();
}

bool CRealImage::PollInFlight() const { return poller_ != nullptr && poller_->InFlight(); }

bool CRealImage::Tick() {
    if (poller_ == nullptr || !poller_->Start(info_.channel)) {
        ++ticksSkipped_;
        return false;
    }
    return true;
}

void CRealImage::ApplyPoll(const LivePollResult& result, int64_t time) {
    health_.Record(result.ok, time);
    if (!result.ok) {
        // No reading: the curve keeps its samples, but the values no longer stand for the
        // logger's state, and the plot says since when nothing came.
        for (int k = 0; k < kChannelCount; ++k) {
            if (info_.channel[k].channelEnabled == 1) value_[k]->setText(FromUtf8(Texts().missingValue));
        }
        DrawPlot();
        update();
        return;
    }
    series_->Apply(result.sample, info_.channel, time, Capacity());
    const LiveTexts& t = Texts();
    for (int k = 0; k < kChannelCount; ++k) {
        if (info_.channel[k].channelEnabled != 1) continue;
        value_[k]->setText(FromGbk(FormatLiveValue(series_->current.value[k], info_.channel[k].channelType, t)));
    }
    // Only channels 1–6 are drawn; the scale box follows its curve box.
    for (int k = 0; k < kLiveShownChannels; ++k) {
        curveFlag_[k] = curveBox_[k]->isChecked() ? 1 : 0;
        scaleBox_[k]->setEnabled(curveFlag_[k] != 0);
        if (curveFlag_[k]) scaleFlag_[k] = scaleBox_[k]->isChecked() ? 1 : 0;
    }
    ++pollsApplied_;
    UpdateReadout();
    DrawPlot();
    update();
}

QString CRealImage::NoReadingText() const { return FromGbk(health_.StatusText(Texts())); }

QString CRealImage::ValueText(int channel) const { return value_[channel]->text(); }
QString CRealImage::LabelText(int channel) const { return label_[channel]->text(); }

QString CRealImage::StartText() const {
    const LiveWindow& w = series_->window;
    return w.Count() > 0 ? QString::fromStdString(FormatLiveTime(w.TimeAt(0))) : QString();
}

QString CRealImage::NowText() const {
    return series_->polled ? QString::fromStdString(FormatLiveTime(series_->lastPollTime)) : QString();
}

void CRealImage::LayoutStatics() {
    const auto positions = LiveLabelPositions(plotWidth_);
    for (int k = 0; k < kChannelCount; ++k) {
        const LivePoint p = positions[k];
        label_[k]->setGeometry(p.x, p.y, kLiveLabelWidth, kLiveStaticHeight);
        value_[k]->setGeometry(p.x + kLiveValueDx, p.y, kLiveValueWidth, kLiveStaticHeight);
        label_[k]->raise();
        value_[k]->raise();
    }
}

void CRealImage::LayoutLegendAndList() {
    const int bottom = height();
    list_->setGeometry(kLivePlotLeft, kListTop, plotWidth_ - kLiveLegendFromRight - kLivePlotLeft,
                       std::max(0, bottom - kListBottomMargin - kListTop));
    int j = 0;
    for (int k = 0; k < kChannelCount; ++k) {
        if (!ChannelOn(info_, k)) {
            curveBox_[k]->hide();
            scaleBox_[k]->hide();
            continue;
        }
        const LivePoint c = LiveCurveBoxPosition(plotWidth_, j);
        const LivePoint s = LiveScaleBoxPosition(plotWidth_, j);
        curveBox_[k]->setGeometry(c.x, c.y, kBoxWidth, kBoxHeight);
        scaleBox_[k]->setGeometry(s.x, s.y, kBoxWidth, kBoxHeight);
        curveBox_[k]->show();
        scaleBox_[k]->show();
        ++j;
    }
}

void CRealImage::FillList() {
    list_->clear();
    for (const LiveListRow& row : LiveListRows(info_.channel, Texts())) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, FromGbk(row.name));
        item->setText(1, FromGbk(row.quantity));
        item->setText(2, FromGbk(row.unit));
        item->setData(0, Qt::UserRole, row.channel);
        for (int c = 0; c < 5; ++c) item->setTextAlignment(c, Qt::AlignCenter);
    }
}

void CRealImage::UpdateReadout() {
    const LiveWindow& w = series_->window;
    if (!series_->polled) return;
    const int d = LivePointerSample(pointerX_, pointerY_, plotWidth_, w.Count());
    if (d < 0) return;
    readoutText_ = FromGbk(FormatReadoutTime(w.TimeAt(d), Texts()));
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        const int k = item->data(0, Qt::UserRole).toInt();
        item->setText(kTimeColumn, readoutText_);
        item->setText(kValueColumn, FromGbk(FormatSelectedValue(w.At(d).value[k], Texts())));
    }
}

void CRealImage::DrawPlot() {
    const int width = std::max(plotWidth_, 1);
    if (plot_.width() != width || plot_.height() != kLivePlotHeight) plot_ = QPixmap(width, kLivePlotHeight);
    plot_.fill(background_);
    QPainter p(&plot_);
    const LiveWindow& w = series_->window;
    const int n = w.Count();
    for (int k = 0; k < kChannelCount; ++k) {
        if (!ChannelOn(info_, k) || !curveFlag_[k]) continue;
        const float r = series_->reference.value[k];
        p.setPen(QPen(colour_[k], 2, Qt::SolidLine));
        for (int s = 1; s < n; ++s) {
            p.drawLine(LiveSampleX(s - 1), LiveValueY(w.At(s - 1).value[k], r), LiveSampleX(s),
                       LiveValueY(w.At(s).value[k], r));
        }
        if (scaleFlag_[k] && n >= 2) {
            const int x = LiveScaleX(k + 1);
            p.drawLine(x, 0, x, kLivePlotHeight);
            for (const LiveScaleTick& tick : LiveScale(r)) {
                p.setPen(QPen(colour_[k], 2, Qt::SolidLine));
                p.drawLine(x, tick.y, x + kTickLength, tick.y);
                p.setPen(Qt::black);
                p.drawText(QRect(x + kLabelDx, tick.y, 200, 40), Qt::AlignLeft | Qt::AlignTop,
                           QString::fromStdString(FormatC("%.2f", tick.value)));
            }
        }
    }
    const int cursor = LiveCursorX(pointerX_, pointerY_, plotWidth_, n);
    if (cursor >= 0) {
        p.setPen(QPen(kCursorColour, 1));
        p.drawLine(cursor, 0, cursor, kLivePlotHeight);
    }
    p.setPen(Qt::black);
    p.drawText(QRect(0, kTextTop, 300, 40), Qt::AlignLeft | Qt::AlignTop, StartText());
    p.drawText(QRect(plotWidth_ - kNowTextFromRight, kTextTop, 300, 40), Qt::AlignLeft | Qt::AlignTop, NowText());
    if (health_.Failing()) {
        p.setPen(QColor(255, 80, 80));
        p.drawText(QRect(0, kTextTop, width, 40), Qt::AlignHCenter | Qt::AlignTop, NoReadingText());
    }
}

void CRealImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int right = width(), bottom = height();
    p.fillRect(QRect(QPoint(kLivePlotLeft, kLivePlotHeight), QPoint(right, bottom)), kStaticColour);
    p.fillRect(QRect(QPoint(plotWidth_ + kLivePlotLeft, kLivePlotTop), QPoint(right, bottom)), kStaticColour);

    // Legend: the background swatch with its caption, then one swatch per enabled channel.
    const LiveRect bg = LiveBackgroundSwatch(plotWidth_);
    p.fillRect(QRect(QPoint(bg.left, bg.top), QPoint(bg.right - 1, bg.bottom - 1)), background_);
    QFont caption = font();
    caption.setFamilies(
        {FromUtf8(Texts().backgroundFont), QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW")});
    caption.setPixelSize(13);
    caption.setWeight(QFont::Normal);
    p.setFont(caption);
    p.setPen(Qt::black);
    const LivePoint at = LiveBackgroundCaption(plotWidth_);
    p.drawText(QRect(at.x, at.y, 200, 20), Qt::AlignLeft | Qt::AlignTop, FromUtf8(Texts().backgroundCaption));
    int j = 0;
    for (int k = 0; k < kChannelCount; ++k) {
        if (!ChannelOn(info_, k)) continue;
        const LiveRect s = LiveChannelSwatch(plotWidth_, j++);
        p.fillRect(QRect(QPoint(s.left, s.top), QPoint(s.right - 1, s.bottom - 1)), colour_[k]);
    }
    if (plot_.isNull()) DrawPlot();
    p.drawPixmap(kLivePlotLeft, kLivePlotTop, plot_);
}

void CRealImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    plotWidth_ = LivePlotWidth(width());
    LayoutStatics();
    LayoutLegendAndList();
    DrawPlot();
    update();
}

void CRealImage::mouseMoveEvent(QMouseEvent* event) {
    pointerX_ = event->position().toPoint().x();
    pointerY_ = event->position().toPoint().y();
    UpdateReadout();
    DrawPlot();
    update();
    QWidget::mouseMoveEvent(event);
}

void CRealImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const int hit = LiveLegendHit(at.x(), at.y(), plotWidth_, info_.channel);
    if (hit == kLiveHitNothing) return;
    const QColor chosen = hooks_.chooseColour(Qt::black);
    if (!chosen.isValid()) return;
    if (hit == kLiveHitBackground) {
        background_ = chosen;
    } else {
        colour_[hit] = chosen;
    }
    DrawPlot();
    update();
}

}  // namespace velorin
