#pragma once

#include "layouts/boundedread.h"

#include <QVector>
#include <QtGlobal>

class QIODevice;
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
// What one page draws, in objects, each block reference counted once more
// for every object of its block (the chart draws the block in its place): no
// more than a page may hold of its own.
constexpr int MaxDrawnItems = MaxItems;
// Texts and tables one page draws, counted as objects are: a text drawn at
// the export's scale is laid out and filled glyph by glyph, some 0.3 ms
// each. The shipped templates draw fewer than 100.
constexpr int MaxDrawnTexts = 500;
// How many times over the objects of the blocks a page shows may paint its
// area: a block reference paints its block whole, whatever its frame, and
// a symbol or picture costs by the pixels it covers. The shipped templates
// cover less than a hundredth of a page.
constexpr double MaxDrawnCover = 3;
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
// backgrounds; not the preview) may decode together, a picture held more
// than once counted once, as it is decoded once: a booklet of ten pages,
// each with a background at the designer's largest side (1024) and two
// smaller pictures, fits. Decoding takes some 20 to 30 ms a million pixels;
// drawing a picture costs by the pixels it covers on the page, not by its
// own. The shipped templates hold no pictures.
constexpr qint64 MaxPicturePixels = 16000000;
static_assert(MaxPicturePixels <= BoundedRead::ReadBudget {}.pixelsLeft,
              "the reader's budget for any file");

// The pixels of a chart drawn for the Graphic Chart page or the export: the
// designer's A4 page at its natural export size (5032 x 7120, some 600 dpi)
// fits, and so does A3 at 300 dpi (3508 x 4961). A larger page is drawn
// scaled down to it; in ARGB32 that is 144 MB.
constexpr qint64 MaxChartPixels = 36000000;

// The work of drawing one page at export size (DrawingWork), in units of
// about a nanosecond: a page within it draws in well under a second. A4
// filled once at export size costs 36 million, a picture stretched over it
// 720 million; the pages of the shipped templates take less than 90
// million.
constexpr double MaxDrawingWork = 1e9;

// What reading the picture takes from MaxPicturePixels: its pixels once
// scaled to BoundedRead::MaxPictureSide, 0 for no picture, and more than the
// whole budget for one the reader refuses outright.
qint64 picturePixels(const QImage &image);
// The same for all of pictures, each picture counted once however many of
// them share it: the file stores it again, and the reader decodes it once.
qint64 picturePixels(const QVector<QImage> &pictures);
// The same for the picture the stream reads next, from the size its PNG
// header declares; 0 for no picture or one whose header is not readable.
qint64 nextPicturePixels(QIODevice *device);
// Marks budget as spent when the next picture will not fit it, so that the
// reader can tell the user why the template is refused.
void notePictureBudget(QIODevice *device, BoundedRead::ReadBudget *budget);

} // namespace TemplateLimits
