#pragma once

#include "designer/templatelimits.h"

#include <QtGlobal>

class QDataStream;
class QPainterPath;
class QString;
class QTransform;

// Guards for reading template files, whose counts and sizes come from disk.
// What a template may hold (TemplateLimits) is enforced where the file is
// read, so that drawing, editing and saving can trust every loaded value.
namespace LnrStream {

constexpr int StreamVersion = 12;

// Finite, affine (the designer never makes a perspective), scale and shear
// within TemplateLimits::MaxScale, offsets within
// TemplateLimits::MaxSide.
bool usableTransform(const QTransform &t);

// Bytes left on a random-access device, or -1 when that cannot be known.
qint64 remaining(const QDataStream &s);

// True when count records of at least minBytes each can still follow.
bool countFits(const QDataStream &s, qint64 count, qint64 minBytes);

// Reads a string of at most maxChars characters into out. A longer one is
// refused from the length it declares, before any of it is read: the
// stream is marked corrupt and out holds maxChars + 1 spaces, so that the
// limits' checks of what was read name what is too long.
bool readString(QDataStream &s, QString &out, int maxChars = TemplateLimits::MaxText);
// Whether the string the stream reads next (as the first field of what
// follows, such as a font's family) declares at most maxChars characters.
bool nextStringFits(const QDataStream &s, int maxChars = TemplateLimits::MaxText);

// Reads a serialised QPainterPath without trusting its element count: the
// count must fit the data left and every element must be well formed (a
// curve point followed by its two control points), and every coordinate
// must lie within TemplateLimits::MaxSide. Marks the stream corrupt and returns false
// otherwise.
bool readPath(QDataStream &s, QPainterPath &path);

} // namespace LnrStream
