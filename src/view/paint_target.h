// The pixels a widget's painter paints into, for drawing a large opaque image straight into them
// instead of into an image of its own that the painter then copies (a 1600 × 900 canvas is a
// 5.8 MB copy per paint).
//
// Threading: the pixels belong to the paint in progress: use them on the painting (GUI) thread,
// or on helpers it waits for, and only until the paint event ends.
#pragma once

class QImage;
class QPainter;
class QRect;

namespace velorin {

// `rect` (the painter's logical coordinates) of the device `painter` paints on, as an RGB32 image
// sharing its memory: writing it writes the device. A null image when that cannot be done: the
// device is no raster image, the painter scales or rotates, fades or blends other than drawing
// over, clips part of `rect` away, the pixels are of another layout than 0xffRRGGBB words, or
// `rect` does not lie wholly on the device. Whatever is written must be opaque (alpha 255) and
// lie where the paint may paint: the caller checks the paint's region.
QImage PaintTargetPixels(QPainter& painter, const QRect& rect);

}  // namespace velorin
