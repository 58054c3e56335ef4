// The item delegate of the data window's lists. A cell that holds nothing but one line of text
// that fits (no icon, check box, colour, selection or focus) on Qt's Fusion style is painted from
// one text layout: the style lays the text out three times (for its size, for cutting it short
// and for drawing), and the range figures and the pointer's "Selected" column repaint a few
// dozen such cells at every zoom, pan and pointer move. The pixels are the style's own (the same
// layout drawn at the same place); every other cell is left to the style.
//
// Threading: GUI thread only, like every delegate.
#pragma once

#include <QStyledItemDelegate>

namespace velorin {

class PlainTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace velorin
