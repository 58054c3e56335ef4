#include "view/plain_text_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>
#include <QtMath>
#include <cstring>

namespace velorin {

namespace {

QStyle* StyleOf(const QStyleOptionViewItem& option) {
    return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

// A cell the Fusion style paints as its text alone, on one line, left to right: its background
// is the view's, and no focus frame is drawn.
bool PaintedAsTextAlone(const QStyleOptionViewItem& o) {
    constexpr QStyleOptionViewItem::ViewItemFeatures kOther =
        QStyleOptionViewItem::WrapText | QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    constexpr QStyle::State kMarked = QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Editing;
    // A style sheet's style wraps the Fusion style under another class name.
    return std::strcmp(StyleOf(o)->metaObject()->className(), "QFusionStyle") == 0 && (o.features & kOther) == 0 &&
           (o.state & kMarked) == 0 && o.backgroundBrush.style() == Qt::NoBrush && o.direction == Qt::LeftToRight &&
           !o.text.contains(QChar::LineSeparator) && !o.text.contains(QLatin1Char('\n'));
}

}  // namespace

void PlainTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    if (!PaintedAsTextAlone(o)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    if (o.text.isEmpty()) return;
    const QStyle* style = StyleOf(o);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, o.widget) + 1;
    const Qt::Alignment alignment = QStyle::visualAlignment(o.direction, o.displayAlignment);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(o.direction);
    textOption.setAlignment(alignment);
    QTextLayout layout(o.text, o.font);
    layout.setTextOption(textOption);
    layout.setCacheEnabled(true);  // the glyphs kept from laying out to drawing, not shaped again
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(o.rect.width());
    line.setPosition(QPointF(0, 0));
    // The style's text rectangle: the cell's, or (when the view does not select decorations)
    // the text's size with a margin either side, aligned in the cell as far as it fits. The text
    // keeps the margin from its sides.
    const QSize textSize(qCeil(line.naturalTextWidth()) + 2 * margin, qCeil(line.height()));
    const QRect box = o.showDecorationSelected ? o.rect
                                               : QStyle::alignedRect(o.direction, o.displayAlignment,
                                                                     textSize.boundedTo(o.rect.size()), o.rect);
    const QRect textRect = box.adjusted(margin, 0, -margin, 0);
    // Left to right and aligned left, the text starts at the rectangle's left whatever the
    // line's width: laid out once.
    if ((alignment & Qt::AlignHorizontal_Mask) != Qt::AlignLeft) line.setLineWidth(textRect.width());
    layout.endLayout();
    if (line.naturalTextWidth() > textRect.width()) {
        // Cut short with an ellipsis: the style's.
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // Placed as the style places it: the layout's bounding box aligned in the text rectangle.
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, o.displayAlignment,
                                             layout.boundingRect().size().toSize(), textRect);
    QPalette::ColorGroup group = (o.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(o.state & QStyle::State_Active)) group = QPalette::Inactive;
    painter->save();
    painter->setClipRect(o.rect);
    painter->setPen(o.palette.color(group, QPalette::Text));
    layout.draw(painter, QPointF(textRect.x(), placed.top()));
    painter->restore();
}

}  // namespace velorin
