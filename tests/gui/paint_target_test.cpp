// PaintTargetPixels: the pixels handed out are exactly the ones the painter paints at that
// place, and none are handed out where writing them would not show as painting.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>

#include "view/paint_target.h"

namespace velorin {
namespace {

TEST(PaintTargetPixels, SharesThePaintersPixelsAtTheTranslatedPlace) {
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage device(40, 30, format);
        device.fill(Qt::white);
        {
            QPainter painter(&device);
            painter.translate(5, 7);  // as a child widget's painter in its window
            QImage pixels = PaintTargetPixels(painter, QRect(3, 2, 10, 6));
            ASSERT_FALSE(pixels.isNull()) << format;
            ASSERT_EQ(pixels.size(), QSize(10, 6));
            // Writing it writes the device; what the painter drew is in it.
            painter.fillRect(QRect(3, 2, 1, 1), Qt::red);
            EXPECT_EQ(pixels.pixel(0, 0), qRgb(255, 0, 0)) << format;
            pixels.setPixel(9, 5, qRgb(0, 0, 255));
            reinterpret_cast<QRgb*>(pixels.scanLine(1))[2] = qRgb(0, 255, 0);
        }
        EXPECT_EQ(device.pixel(5 + 3 + 9, 7 + 2 + 5), qRgb(0, 0, 255)) << format;
        EXPECT_EQ(device.pixel(5 + 3 + 2, 7 + 2 + 1), qRgb(0, 255, 0)) << format;
        EXPECT_EQ(device.pixel(5 + 3 + 10, 7 + 2 + 5), qRgb(255, 255, 255)) << format;
    }
}

TEST(PaintTargetPixels, NoneWhereWritingThemWouldNotBePainting) {
    QImage device(40, 30, QImage::Format_RGB32);
    {
        QPainter painter(&device);
        EXPECT_FALSE(PaintTargetPixels(painter, QRect(0, 0, 40, 30)).isNull());
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(1, 0, 40, 30)).isNull()) << "past the right edge";
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, -1, 4, 4)).isNull()) << "above the top";
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 0, 4)).isNull()) << "empty";
        painter.translate(0.5, 0);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "between pixels";
        painter.resetTransform();
        painter.scale(2, 2);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "scaled";
        painter.resetTransform();
        painter.setClipRect(QRect(2, 2, 10, 10));
        EXPECT_FALSE(PaintTargetPixels(painter, QRect(2, 2, 10, 10)).isNull()) << "inside the clip";
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(2, 2, 11, 10)).isNull()) << "partly clipped away";
        painter.setClipping(false);
        painter.setOpacity(0.5);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "faded";
        painter.setOpacity(1.0);
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "blended";
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        EXPECT_FALSE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "drawn over again";
    }
    // Pixels of another layout, and a device of no pixels at all.
    QImage small(40, 30, QImage::Format_RGB16);
    {
        QPainter painter(&small);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "16-bit pixels";
    }
    QImage scaled(80, 60, QImage::Format_RGB32);
    scaled.setDevicePixelRatio(2.0);
    {
        QPainter painter(&scaled);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "two pixels a point";
    }
    QPicture picture;
    {
        QPainter painter(&picture);
        EXPECT_TRUE(PaintTargetPixels(painter, QRect(0, 0, 4, 4)).isNull()) << "a recording";
    }
}

}  // namespace
}  // namespace velorin
