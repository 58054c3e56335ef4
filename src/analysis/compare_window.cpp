#include "analysis/compare_window.h"

#include <QFile>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/clock_time.h"
#include "analysis/compare_axis.h"
#include "analysis/compare_canvas.h"
#include "analysis/compare_files.h"
#include "analysis/compare_statistics_table.h"
#include "analysis/compare_texts.h"
#include "analysis/number_text.h"
#include "common/date_time.h"
#include "common/format.h"
#include "common/text_codec.h"
#include "history/record_set.h"
#include "ui/gui_text.h"
#include "view/curve_texts.h"
#include "view/range_chooser.h"
#include "view/view_images.h"

namespace velorin {

namespace {

// Sixteen colours that stay apart on white; further files get evenly spread hues.
const QColor kFileColours[16] = {QColor(0, 0, 255),    QColor(220, 0, 0),     QColor(0, 150, 0),    QColor(230, 120, 0),
                                 QColor(140, 0, 200),  QColor(0, 160, 170),   QColor(120, 70, 20),  QColor(230, 0, 160),
                                 QColor(90, 90, 90),   QColor(150, 150, 0),   QColor(0, 90, 140),   QColor(170, 60, 80),
                                 QColor(60, 180, 100), QColor(100, 100, 220), QColor(200, 100, 60), QColor(0, 0, 110)};

// A short stretch of the curve's line: its colour and style as the canvas draws them.
QPixmap LineSample(const QColor& colour, LineStyle style) {
    QImage image(36, 12, QImage::Format_RGB32);
    image.fill(Qt::white);
    PixelPen pen(image);
    pen.SetStyle(style);
    for (int dy = 5; dy <= 6; ++dy) pen.Line(0, dy, 35, dy, colour.rgb());
    return QPixmap::fromImage(image);
}

}  // namespace

QColor FileColour(int file) {
    if (file >= 0 && file < 16) return kFileColours[file];
    return QColor::fromHsv((file * 137) % 360, 230, 190);  // the golden angle keeps hues apart
}

LineStyle ChannelStyle(int channel) {
    return static_cast<LineStyle>(((channel % kLineStyles) + kLineStyles) % kLineStyles);
}

CompareWindow::CompareWindow(std::shared_ptr<const std::vector<CompareFile>> files, Language language, QWidget* parent)
    : QWidget(parent),
      files_(std::move(files)),
      language_(language),
      texts_(CompareTextsFor(language)),
      curveTexts_(CurveTextsFor(language)) {
    std::vector<CompareCurve> curves;
    for (size_t f = 0; f < files_->size(); ++f) {
        for (int c = 0; c < kRecordSetChannels; ++c) {
            if ((*files_)[f].set.channelEnabled[c] != 1) continue;
            CompareCurve curve;
            curve.file = static_cast<int>(f);
            curve.channel = c;
            curve.colour = FileColour(static_cast<int>(f));
            curve.style = ChannelStyle(c);
            curves.push_back(curve);
        }
    }
    setWindowTitle(FromUtf8(texts_.windowTitle));

    amplification_ = new QPushButton(FromUtf8(curveTexts_.amplification));
    return_ = new QPushButton(FromUtf8(curveTexts_.returnButton));
    range_ = new QPushButton(FromUtf8(curveTexts_.range));
    pan_ = new QToolButton;
    pan_->setCheckable(true);
    pan_->setIcon(PanImage(0.75));
    pan_->setToolTip(FromUtf8(texts_.pan));
    clearCursors_ = new QPushButton(FromUtf8(texts_.clearCursors));
    auto* hint = new QLabel(FromUtf8(texts_.cursorHint));
    hint->setForegroundRole(QPalette::PlaceholderText);
    auto* bar = new QHBoxLayout;
    for (QWidget* w :
         {static_cast<QWidget*>(amplification_), static_cast<QWidget*>(return_), static_cast<QWidget*>(range_),
          static_cast<QWidget*>(pan_), static_cast<QWidget*>(clearCursors_)}) {
        bar->addWidget(w);
    }
    bar->addSpacing(12);
    bar->addWidget(hint, 1);

    canvas_ = new CompareCanvas(files_, std::move(curves));
    info_ = new QLabel;
    info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    legend_ = new QTreeWidget;
    tabs_ = new QTabWidget;
    auto* legendPage = new QWidget;
    auto* legendLayout = new QVBoxLayout(legendPage);
    legendLayout->setContentsMargins(4, 4, 4, 4);
    legendLayout->addWidget(info_);
    legendLayout->addWidget(legend_, 1);
    tabs_->addTab(legendPage, FromUtf8(texts_.curvesTab));
    auto* statisticsPage = new QWidget;
    auto* statisticsLayout = new QVBoxLayout(statisticsPage);
    statisticsLayout->setContentsMargins(4, 4, 4, 4);
    statsRange_ = new QLabel;
    statistics_ = new CompareStatisticsTable(files_, language_);
    statisticsLayout->addWidget(statsRange_);
    statisticsLayout->addWidget(statistics_, 1);
    tabs_->addTab(statisticsPage, FromUtf8(texts_.statisticsTab));

    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(canvas_);
    split->addWidget(tabs_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    connect(amplification_, &QPushButton::clicked, this, [this] {
        canvas_->Amplify();
        UpdateButtons();
    });
    connect(return_, &QPushButton::clicked, this, [this] {
        canvas_->Return();
        pan_->setChecked(false);
        UpdateButtons();
    });
    connect(range_, &QPushButton::clicked, this, &CompareWindow::ChooseRange);
    connect(pan_, &QToolButton::toggled, canvas_, &CompareCanvas::SetPanMode);
    connect(clearCursors_, &QPushButton::clicked, canvas_, &CompareCanvas::ClearCursors);
    connect(canvas_, &CompareCanvas::PointerMoved, this, &CompareWindow::ShowPointer);
    connect(canvas_, &CompareCanvas::PointerLeft, this, &CompareWindow::ClearPointer);
    connect(canvas_, &CompareCanvas::CursorsChanged, this, &CompareWindow::ShowCursors);
    connect(canvas_, &CompareCanvas::WindowChanged, this, &CompareWindow::UpdateButtons);
    // The statistics follow the shown window; a pan moves it many times a second, so they are
    // computed once the window rests, and only while their tab is shown.
    statisticsTimer_ = new QTimer(this);
    statisticsTimer_->setSingleShot(true);
    statisticsTimer_->setInterval(150);
    connect(statisticsTimer_, &QTimer::timeout, this, &CompareWindow::RefreshStatistics);
    connect(canvas_, &CompareCanvas::WindowChanged, this, [this] {
        statisticsStale_ = true;
        if (tabs_->currentIndex() == 1) statisticsTimer_->start();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1 && statisticsStale_) RefreshStatistics();
    });
    BuildLegend();
    UpdateButtons();
    UpdateInfo();
    resize(1000, 700);
}

void CompareWindow::BuildLegend() {
    legend_->setRootIsDecorated(false);
    legend_->setUniformRowHeights(true);
    legend_->setIconSize(QSize(36, 12));
    legend_->setHeaderLabels({FromUtf8(texts_.columnFile), FromUtf8(texts_.columnChannel),
                              FromUtf8(texts_.columnPointer), FromUtf8(texts_.columnCursor1),
                              FromUtf8(texts_.columnCursor2), FromUtf8(texts_.columnDelta)});
    const std::vector<CompareCurve>& curves = canvas_->Curves();
    for (size_t k = 0; k < curves.size(); ++k) {
        const CompareCurve& curve = curves[k];
        const CompareFile& file = (*files_)[static_cast<size_t>(curve.file)];
        auto* row = new QTreeWidgetItem(legend_);
        // The name that tells the file apart, and its title.
        QString name = QString::fromStdString(file.label);
        const QString title = FromGbk(std::string(file.set.title, strnlen(file.set.title, sizeof file.set.title)));
        if (!title.isEmpty()) name += QStringLiteral(", ") + title;
        row->setText(kFileColumn, name);
        row->setToolTip(kFileColumn, QFile::decodeName(file.path.c_str()));
        row->setIcon(kFileColumn, LineSample(curve.colour, curve.style));
        row->setCheckState(kFileColumn, Qt::Checked);
        // Joined in GBK, the code page of the file's quantity and unit names.
        row->setText(kChannelColumn, FromGbk(FormatC(Utf8ToGbk(texts_.channelLabel).c_str(), curve.channel + 1,
                                                     QuantityTextOf(file.set, curve.channel).c_str(),
                                                     UnitTextOf(file.set, curve.channel).c_str())));
        for (int col = kPointerColumn; col <= kDeltaColumn; ++col)
            row->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
    }
    connect(legend_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != kFileColumn) return;
        canvas_->SetCurveVisible(legend_->indexOfTopLevelItem(item), item->checkState(kFileColumn) == Qt::Checked);
    });
    QHeaderView* header = legend_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kFileColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(kChannelColumn, QHeaderView::ResizeToContents);
    FitValueColumns();
}

void CompareWindow::FitValueColumns() {
    // Sized to their contents at every change, the pointer's column had every one of its cells
    // measured again at each pointer move (tens of milliseconds with a few dozen curves). Their
    // widths are set here once instead, from the widest text each row can show: a value of the
    // channel's range over the whole window with every digit the font's widest, a difference of
    // two of them, or the texts for no record and a missing sample.
    legend_->ensurePolished();
    const QFontMetrics metrics = legend_->fontMetrics();
    QChar widestDigit = QLatin1Char('0');
    for (char d = '1'; d <= '9'; ++d) {
        if (metrics.horizontalAdvance(QLatin1Char(d)) > metrics.horizontalAdvance(widestDigit))
            widestDigit = QLatin1Char(d);
    }
    const auto number = [widestDigit](const QString& sign, double magnitude) {
        QString text = QString::asprintf("%.2f", magnitude);
        for (QChar& c : text) {
            if (c.isDigit()) c = widestDigit;
        }
        return sign + text;
    };
    const auto widest = [&metrics](const QStringList& texts) {
        QString wide;
        for (const QString& t : texts) {
            if (metrics.horizontalAdvance(t) > metrics.horizontalAdvance(wide)) wide = t;
        }
        return wide;
    };
    const QString noRecord = FromUtf8(texts_.noRecord), missing = FromUtf8(texts_.missing);
    const std::vector<CompareCurve>& curves = canvas_->Curves();
    for (int k = 0; k < legend_->topLevelItemCount() && k < static_cast<int>(curves.size()); ++k) {
        QStringList values{noRecord, missing}, deltas{noRecord};
        const ValueRange range = canvas_->WholeRange(curves[static_cast<size_t>(k)].channel);
        if (range.found) {
            const double low = range.low, high = range.high;
            values << number(low < 0 ? QStringLiteral("-") : QString(), std::max(std::fabs(low), std::fabs(high)));
            deltas << number(QStringLiteral("+"), high - low) << number(QStringLiteral("-"), high - low);
        }
        QTreeWidgetItem* row = legend_->topLevelItem(k);
        for (int col = kPointerColumn; col <= kCursor2Column; ++col) row->setText(col, widest(values));
        row->setText(kDeltaColumn, widest(deltas));
    }
    QHeaderView* header = legend_->header();
    for (int col = kPointerColumn; col <= kDeltaColumn; ++col) {
        header->setSectionResizeMode(col, QHeaderView::Interactive);
        legend_->resizeColumnToContents(col);
        for (int k = 0; k < legend_->topLevelItemCount(); ++k) legend_->topLevelItem(k)->setText(col, QString());
    }
}

QString CompareWindow::SampleText(int curve, int64_t t, bool* has, float* value) const {
    const CompareCurve& c = canvas_->Curves()[static_cast<size_t>(curve)];
    const SampleAt s = SampleAtTime((*files_)[static_cast<size_t>(c.file)], c.channel, t);
    *has = s.kind == SampleKind::Value;
    *value = s.value;
    switch (s.kind) {
        case SampleKind::None: return FromUtf8(texts_.noRecord);
        case SampleKind::Missing: return FromUtf8(texts_.missing);
        case SampleKind::Value: break;
    }
    return QString::asprintf("%.2f", static_cast<double>(s.value));
}

void CompareWindow::ShowPointer(qint64 t) {
    hasPointer_ = true;
    pointer_ = t;
    for (int k = 0; k < legend_->topLevelItemCount(); ++k) {
        bool has = false;
        float v = 0;
        legend_->topLevelItem(k)->setText(kPointerColumn, SampleText(k, t, &has, &v));
    }
    UpdateInfo();
}

void CompareWindow::ClearPointer() {
    hasPointer_ = false;
    for (int k = 0; k < legend_->topLevelItemCount(); ++k) legend_->topLevelItem(k)->setText(kPointerColumn, QString());
    UpdateInfo();
}

void CompareWindow::ShowCursors() {
    for (int k = 0; k < legend_->topLevelItemCount(); ++k) {
        QTreeWidgetItem* row = legend_->topLevelItem(k);
        bool has[2] = {false, false};
        float v[2] = {0, 0};
        for (int i = 0; i < 2; ++i) {
            const int column = i == 0 ? kCursor1Column : kCursor2Column;
            row->setText(column, canvas_->HasCursor(i + 1) ? SampleText(k, canvas_->CursorTime(i + 1), &has[i], &v[i])
                                                           : QString());
        }
        // Δ: cursor 2 minus cursor 1, where both have a value.
        QString delta;
        if (has[0] && has[1])
            delta = QString::asprintf("%+.2f", static_cast<double>(v[1]) - static_cast<double>(v[0]));
        else if (canvas_->HasCursor(1) && canvas_->HasCursor(2))
            delta = FromUtf8(texts_.noRecord);
        row->setText(kDeltaColumn, delta);
    }
    UpdateInfo();
}

QString CompareWindow::InfoText() const { return info_->text(); }

void CompareWindow::RefreshStatistics() {
    const TimeWindow w = canvas_->Window();
    statsRange_->setText(
        FromUtf8(FormatC(texts_.statsRange.c_str(), ClockTimeText(w.from).c_str(), ClockTimeText(w.to).c_str())));
    statistics_->ShowWindow(w);
    statisticsStale_ = false;
}

void CompareWindow::UpdateInfo() {
    QStringList parts;
    if (hasPointer_) parts << FromUtf8(FormatC(texts_.pointerAt.c_str(), ClockTimeText(pointer_).c_str()));
    for (int k = 1; k <= 2; ++k) {
        if (canvas_->HasCursor(k)) {
            parts << FromUtf8(FormatC(texts_.cursorAt.c_str(), k, ClockTimeText(canvas_->CursorTime(k)).c_str()));
        }
    }
    if (canvas_->HasCursor(1) && canvas_->HasCursor(2)) {
        const int64_t dt = canvas_->CursorTime(2) - canvas_->CursorTime(1);
        parts << FromUtf8(FormatC(texts_.deltaTime.c_str(), DurationText(dt).c_str()));
    }
    info_->setText(parts.isEmpty() ? FromUtf8(texts_.cursorHint) : parts.join(QStringLiteral("    ")));
}

void CompareWindow::UpdateButtons() {
    const TimeWindow shown = canvas_->Window(), whole = canvas_->Whole();
    const bool zoomed = shown.from != whole.from || shown.to != whole.to;
    amplification_->setEnabled(!canvas_->ZoomArmed());
    return_->setEnabled(zoomed || canvas_->ZoomArmed());
    pan_->setEnabled(zoomed);
    if (!zoomed && pan_->isChecked()) pan_->setChecked(false);
}

void CompareWindow::ChooseRange() {
    // The chooser works in local calendar time, the plot in the loggers' clock fields.
    const auto local = [](int64_t clock) {
        const RecordTime r = RecordTimeOfSeconds(clock);
        return CDealTime(r.year + 2000, r.month, r.day, r.hour, r.minute, r.second).GetTime();
    };
    const auto clock = [](int64_t local) {
        const CDealTime d(local);
        return ClockSecondsOf(d.GetYear() - 2000, d.GetMonth(), d.GetDay(), d.GetHour(), d.GetMinute(), d.GetSecond());
    };
    CTimeCho chooser(language_, this);
    const TimeWindow w = canvas_->Window();
    chooser.SetTimes(local(w.from), local(w.to));
    const bool ok = rangeChooser_ ? rangeChooser_(chooser) : chooser.exec() == QDialog::Accepted;
    if (!ok) return;
    canvas_->ShowWindow(clock(chooser.Start()), clock(chooser.End()));
    UpdateButtons();
}

}  // namespace velorin
