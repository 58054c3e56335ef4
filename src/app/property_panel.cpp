// Threading: GUI thread only, except FillQueued(), which only posts to the GUI thread.
#include "app/property_panel.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QPalette>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "app/panel_width.h"
#include "ui/gui_text.h"
#include "ui/icons.h"

namespace velorin {

namespace {

// The panel's size in dialog units, and the pixels one unit takes at 96 dpi.
constexpr double kPanelWidthUnits = 128;
constexpr double kPanelHeightUnits = 434;
constexpr double kPixelsPerUnitX = 1.75;
constexpr double kPixelsPerUnitY = 1.625;

constexpr int kHideButtonSize = 20;
constexpr int kHideButtonMargin = 3;

double ScreenScale(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
}

// The dock's content. It has no layout manager: the panel places its children itself whenever
// the body changes size.
class PanelBody : public QWidget {
public:
    PanelBody(QWidget* parent, std::function<void()> onResize) : QWidget(parent), onResize_(std::move(onResize)) {}

    QSize sizeHint() const override {
        const double scale = ScreenScale(this);
        return QSize(static_cast<int>(std::lround(kPanelWidthUnits * kPixelsPerUnitX * scale)),
                     static_cast<int>(std::lround(kPanelHeightUnits * kPixelsPerUnitY * scale)));
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        onResize_();
    }

private:
    std::function<void()> onResize_;
};

}  // namespace

PropertyPanel::PropertyPanel(QWidget* parent) : QDockWidget(parent) {
    setObjectName(QStringLiteral("PropertyPanel"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    body_ = new PanelBody(this, [this] { Layout(); });
    body_->setObjectName(QStringLiteral("PanelBody"));

    // Created first so that it stays below the tree.
    background_ = new QLabel(body_);
    background_->setObjectName(QStringLiteral("PanelBackground"));
    background_->setPixmap(PanelBackgroundPixmap());
    background_->setScaledContents(true);

    title_ = new QLabel(body_);
    title_->setObjectName(QStringLiteral("PanelTitle"));
    const QPixmap title = PanelTitlePixmap();
    const double scale = ScreenScale(this);
    const QSize titleSize(static_cast<int>(std::lround(title.width() * scale)),
                          static_cast<int>(std::lround(title.height() * scale)));
    const QPixmap scaled =
        titleSize == title.size() ? title : title.scaled(titleSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    title_->setPixmap(scaled);
    title_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A panel wider than the picture continues the banner with its last column.
    QPalette banner = title_->palette();
    banner.setBrush(QPalette::Window, QBrush(scaled.copy(scaled.width() - 1, 0, 1, scaled.height())));
    title_->setPalette(banner);
    title_->setAutoFillBackground(true);
    title_->setGeometry(QRect(QPoint(0, 0), titleSize));
    titleWidth_ = titleSize.width();

    hide_ = new QPushButton(body_);
    hide_->setObjectName(QStringLiteral("PanelHideButton"));
    hide_->setIcon(PanelHideIcon());
    hide_->setIconSize(QSize(16, 16));
    hide_->setFlat(true);
    hide_->setFocusPolicy(Qt::NoFocus);
    connect(hide_, &QPushButton::clicked, this, &QDockWidget::hide);

    tree_ = new QTreeWidget(body_);
    tree_->setObjectName(QStringLiteral("PanelTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setColumnCount(1);
    tree_->setFrameShape(QFrame::NoFrame);
    // Long values scroll sideways instead of being cut with an ellipsis.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The background picture shows through the tree.
    tree_->viewport()->setAutoFillBackground(false);
    tree_->setAutoFillBackground(false);
    tree_->setStyleSheet(QStringLiteral("QTreeWidget { background: transparent; }"));

    setWidget(body_);
    Layout();
}

void PropertyPanel::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    Layout();
    // Every later width of the docked panel is the user's (the separator dragged) and is kept.
    if (widthRestored_ && isVisible() && !isFloating()) SavePanelWidth(width());
}

void PropertyPanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (widthRestored_) return;
    widthRestored_ = true;
    auto* frame = qobject_cast<QMainWindow*>(parentWidget());
    const int saved = SavedPanelWidth();
    if (frame != nullptr && saved > 0 && !isFloating()) frame->resizeDocks({this}, {saved}, Qt::Horizontal);
}

void PropertyPanel::Layout() {
    // P is the body, T the title picture; both in the body's coordinates, so T.bottom − P.top
    // is the title's bottom edge. Bottoms are exclusive edges (top + height).
    const int width = body_->width();
    const int height = body_->height();
    const QRect t = title_->geometry();
    const int titleBottom = t.y() + t.height();

    title_->setGeometry(t.x(), t.y(), std::max(titleWidth_, width), t.height());
    hide_->setGeometry(std::max(0, width - kHideButtonSize - kHideButtonMargin), kHideButtonMargin, kHideButtonSize,
                       kHideButtonSize);
    background_->setGeometry(0, titleBottom + 8, std::max(0, width), std::max(0, height - titleBottom - 16));
    tree_->setGeometry(2, titleBottom + 15, std::max(0, width - 4), std::max(0, height - titleBottom - 30));
}

void PropertyPanel::Fill(const std::vector<PanelLine>& lines) {
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    // chain[d] is the last item inserted at depth d. A line deeper than the one before it
    // hangs under the deepest item there is.
    std::vector<QTreeWidgetItem*> chain;
    std::vector<QTreeWidgetItem*> toExpand;
    for (const PanelLine& line : lines) {
        const size_t depth = std::min(static_cast<size_t>(std::max(line.depth, 0)), chain.size());
        chain.resize(depth);
        QTreeWidgetItem* item = depth == 0 ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(chain.back());
        item->setText(0, FromGbk(line.text));
        chain.push_back(item);
        if (line.expanded) toExpand.push_back(item);
    }
    // Expanding once the children are in: an item without children cannot open.
    for (QTreeWidgetItem* item : toExpand) item->setExpanded(true);
    tree_->setUpdatesEnabled(true);
}

void PropertyPanel::FillQueued(std::vector<PanelLine> lines) {
    // The panel is the context object: if it is gone before the event is delivered, the call is
    // dropped.
    QMetaObject::invokeMethod(
        this, [this, lines = std::move(lines)] { Fill(lines); }, Qt::QueuedConnection);
}

QStringList PropertyPanel::TreeText() const {
    QStringList out;
    const std::function<void(const QTreeWidgetItem*, int)> walk = [&](const QTreeWidgetItem* item, int depth) {
        out << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
        for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) walk(tree_->topLevelItem(i), 0);
    return out;
}

}  // namespace velorin
