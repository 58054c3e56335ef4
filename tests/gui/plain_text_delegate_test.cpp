// The lists' delegate paints a cell of plain text with the very pixels Qt's own delegate gives,
// and leaves every other cell to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <cstring>
#include <vector>
#include <string>

#include "same_pixels.h"
#include "view/data_list_model.h"
#include "view/plain_text_delegate.h"

namespace velorin {
namespace {

// A cell painted by `delegate` onto a white image of the cell's size.
QImage PaintedCell(const QStyledItemDelegate& delegate, const QStyleOptionViewItem& option, const QModelIndex& index) {
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
}

TEST(PlainTextDelegate, PaintsEveryCellAsQtsOwnDelegateDoes) {
    // The short way is taken on the Fusion style only: the test means nothing on another.
    ASSERT_EQ(std::strcmp(QApplication::style()->metaObject()->className(), "QFusionStyle"), 0);
    QTableView table;
    QStandardItemModel model(1, 1);
    table.setModel(&model);
    const QModelIndex cell = model.index(0, 0);
    const QStyledItemDelegate qt;
    const PlainTextDelegate plain;
    QFont bold = table.font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    const QString texts[] = {QStringLiteral("-1234.56"),
                             QStringLiteral("Error"),
                             QString(),
                             QStringLiteral("2026-03-01 12:00:00"),
                             QString::fromUtf8("温度 通道1 最大值"),
                             QStringLiteral("mixed 中文 and digits 0.25"),
                             QStringLiteral("a text far too long for the narrowest of these cells"),
                             QStringLiteral("two\nlines"),
                             QStringLiteral("  spaced  ")};
    // The statistics list's, the data list's, and others.
    const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignVCenter,  Qt::AlignCenter,
                                        Qt::AlignRight | Qt::AlignVCenter, Qt::AlignHCenter | Qt::AlignTop,
                                        Qt::AlignLeft | Qt::AlignBottom,   Qt::AlignLeft};
    const QStyle::State states[] = {QStyle::State_Enabled | QStyle::State_Active,
                                    QStyle::State_Enabled,
                                    QStyle::State_None,
                                    QStyle::State_Enabled | QStyle::State_Active | QStyle::State_MouseOver,
                                    QStyle::State_Enabled | QStyle::State_Active | QStyle::State_Selected,
                                    QStyle::State_Enabled | QStyle::State_Active | QStyle::State_HasFocus};
    // Wide and narrow cells, a tall one and one smaller than a line of text; the texts' own
    // widths come near the narrow ones, where the style starts cutting them short.
    std::vector<QRect> rects = {QRect(0, 0, 120, 22), QRect(0, 0, 200, 41), QRect(0, 0, 9, 5)};
    for (int width = 28; width <= 66; width += 3) rects.emplace_back(0, 0, width, 22);
    int compared = 0;
    for (const QString& text : texts) {
        model.setData(cell, text);
        for (const Qt::Alignment alignment : alignments) {
            model.setData(cell, int(alignment), Qt::TextAlignmentRole);
            for (const QFont& font : {table.font(), bold}) {
                model.setData(cell, font, Qt::FontRole);
                for (const QStyle::State state : states) {
                    for (const QRect& rect : rects) {
                        for (const bool decorationSelected : {false, true}) {
                            QStyleOptionViewItem option;
                            option.initFrom(table.viewport());
                            option.widget = &table;
                            option.state = state;
                            option.rect = rect;
                            option.font = table.font();
                            option.showDecorationSelected = decorationSelected;
                            ASSERT_TRUE(
                                test::SamePixels(PaintedCell(qt, option, cell), PaintedCell(plain, option, cell)))
                                << text.toStdString() << ", alignment " << int(alignment) << ", state " << int(state)
                                << ", " << rect.width() << " x " << rect.height();
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 9 * 6 * 2 * 6 * 16 * 2);
}

TEST(PlainTextDelegate, AListLooksAsWithQtsOwnDelegate) {
    // A list set up as the view's, with a selected row, the current cell and a colour cell,
    // grabbed with either delegate.
    QStandardItemModel model(6, 4);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 4; ++column) {
            model.setData(model.index(row, column), column == 0 ? QString::fromUtf8("通道%1").arg(row + 1)
                                                                : QString::number(row * 13.25 - 20, 'f', 2));
            model.setData(model.index(row, column), int(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
        }
    }
    model.setData(model.index(4, 2), QBrush(Qt::yellow), Qt::BackgroundRole);
    QImage shots[2];
    for (int k = 0; k < 2; ++k) {
        QTableView table;
        table.setModel(&model);
        SetUpListTable(table, true);
        if (k == 1) table.setItemDelegate(new QStyledItemDelegate(&table));
        table.resize(420, 220);
        table.setCurrentIndex(model.index(2, 1));
        table.selectRow(3);
        table.show();
        QCoreApplication::processEvents();
        shots[k] = table.grab().toImage();
    }
    EXPECT_TRUE(test::SamePixels(shots[1], shots[0]));
}

}  // namespace
}  // namespace velorin
