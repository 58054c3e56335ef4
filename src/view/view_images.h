// The drawn images of the curve view: the two compression buttons, the pan toggle and the two
// pointer shapes (the ordinary one and the one shown while panning). GUI thread only.
#pragma once

#include <QCursor>
#include <QPixmap>

namespace velorin {

// Buttons at `scale` × their 24-pixel design size.
QPixmap CompressionImage(double scale);  // "Compression": arrows pointing inwards
QPixmap ExpansionImage(double scale);    // its companion: arrows pointing outwards
QPixmap PanImage(double scale);          // the pan toggle: a four-way arrow
QCursor CurvePointerCursor();            // a thin cross
QCursor PanPointerCursor();              // an open hand

}  // namespace velorin
