#pragma once

#include <QVector>
#include <QtGlobal>

class TemplatePicture;

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
// Objects of all pages and blocks together; loading draws each once for the
// thumbnails. The shipped templates, files of at most 53 KB, have room for
// fewer than 300.
constexpr int MaxTemplateItems = 20000;
// Block references of one template together: each draws its block's
// thumbnail and its number wherever pages are shown small.
constexpr int MaxReferences = 1000;
// Repeat counts beyond this are clamped; 0 already stands for this many.
constexpr int MaxRepeat = 1000000;
// Block and picture numbers, and the places of block references.
constexpr int MaxIndex = 1000000;
// The data of a symbol item: more than a QR Code holds. A linear symbol's
// image grows with its text.
constexpr int MaxSymbolText = 3000;
// The characters of a text, field or placeholder: several full pages of
// small print. Laying out a text costs time with its length at every draw.
constexpr int MaxText = 20000;
// The points of a drawn outline (a curve takes three).
constexpr int MaxPathElements = 10000;
// The pixels that the pictures of one template (item pictures and page
// backgrounds; not the preview) decode to together, a picture held more
// than once counted once: far beyond a booklet of ten pages, each with a
// scanned A4 background (2480 x 3508) and two photos of 1600 x 1200, some
// 125 million. Pictures are kept as their data and decoded while drawn;
// decoding takes some 20 to 30 ms a million pixels.
constexpr qint64 MaxPicturePixels = 500000000;

// The pixels of a chart drawn for the Graphic Chart page or the export: the
// designer's A4 page at its natural export size (5032 x 7120, some 600 dpi)
// fits, and so does A3 at 300 dpi (3508 x 4961). A larger page is drawn
// scaled down to it; in ARGB32 that is 144 MB.
constexpr qint64 MaxChartPixels = 36000000;

// What a picture takes from MaxPicturePixels: the pixels the reader
// decodes it to once it is written, 0 for no picture, and more than the
// whole budget for one the reader refuses outright.
qint64 picturePixels(const TemplatePicture &picture);
// The same for all of pictures, each picture counted once however many of
// them share it: the file stores it again, and the reader keeps it once.
qint64 picturePixels(const QVector<TemplatePicture> &pictures);

} // namespace TemplateLimits
