#pragma once

#include "layouts/boundedread.h"

#include <QtGlobal>

class QImage;

// What one chart template may hold. The reader refuses a file beyond these
// bounds, and the designer never makes one: each gesture and property row
// stops at them, and a save that would still pass one writes nothing. What
// the designer saves therefore always opens again.
namespace TemplateLimits {

// Page sides, item sizes, outline coordinates and item offsets, in page
// units: a template is paper, not a canvas.
constexpr double MaxSide = 1e6;
// The scale and shear entries of an item transform. Text drawn through a
// far larger shear crashes Qt's glyph drawing.
constexpr double MaxScale = 100;
// Outline widths beyond this are clamped; the dash stroker cuts a dashed
// outline into pieces of a few widths each.
constexpr double MaxPenWidth = 1000;
constexpr int MaxFontPixels = 2000;
// Pages and blocks of one template together, and frame items of one page.
// Each page costs a thumbnail as it is loaded.
constexpr int MaxPages = 256;
constexpr int MaxItems = 2000;
// Repeat counts beyond this are clamped; 0 already stands for this many.
constexpr int MaxRepeat = 1000000;
// Block and picture numbers, and the places of block references.
constexpr int MaxIndex = 1000000;
// The data of a symbol item: more than a QR Code holds. A linear symbol's
// image grows with its text and is drawn afresh each time.
constexpr int MaxSymbolText = 3000;
// The pixels that the pictures of one template (item pictures and page
// backgrounds; not the preview) may decode together.
constexpr qint64 MaxPicturePixels = BoundedRead::ReadBudget {}.pixelsLeft;

// What reading the picture takes from MaxPicturePixels: its pixels once
// scaled to BoundedRead::MaxPictureSide, 0 for no picture, and more than the
// whole budget for one the reader refuses outright.
qint64 picturePixels(const QImage &image);

} // namespace TemplateLimits
