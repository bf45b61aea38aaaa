#pragma once

#include <QtGlobal>

class QDataStream;
class QPainterPath;
class QTransform;

// Guards for reading template files, whose counts and sizes come from disk.
// What a template may hold is bounded where the file is read, so that
// drawing, editing and saving can trust every loaded value.
namespace LnrStream {

constexpr int StreamVersion = 12;

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

// Finite, affine (the designer never makes a perspective), scale and shear
// within MaxScale, offsets within MaxSide.
bool usableTransform(const QTransform &t);

// Bytes left on a random-access device, or -1 when that cannot be known.
qint64 remaining(const QDataStream &s);

// True when count records of at least minBytes each can still follow.
bool countFits(const QDataStream &s, qint64 count, qint64 minBytes);

// Reads a serialised QPainterPath without trusting its element count: the
// count must fit the data left and every element must be well formed (a
// curve point followed by its two control points), and every coordinate
// must lie within MaxSide. Marks the stream corrupt and returns false
// otherwise.
bool readPath(QDataStream &s, QPainterPath &path);

} // namespace LnrStream
