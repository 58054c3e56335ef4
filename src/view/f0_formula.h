// The picture of the F0 formula in the F0 parameter dialog, drawn at any size with a fixed aspect
// ratio, and where in it the two edits (reference temperature and z-value) sit.
//
//     F0 = Σ Δt · 10 ^ ((T − Tref) ÷ z)
//
// Threading: GUI thread (QPixmap).
#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

namespace velorin {

// Width ÷ height of the picture.
constexpr double kF0FormulaAspect = 400.0 / 150.0;

// The picture `width` pixels wide (height from the aspect ratio).
QPixmap DrawF0Formula(int width);
// The places of the reference-temperature edit and the z-value edit in a picture of that width.
QRect F0ReferenceEditRect(int width);
QRect F0ZValueEditRect(int width);

}  // namespace velorin
