#pragma once

#include "designer/templatelimits.h"

#include <QtGlobal>

class QDataStream;
class QPainterPath;
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

// Reads a serialised QPainterPath without trusting its element count: the
// count must fit the data left and every element must be well formed (a
// curve point followed by its two control points), and every coordinate
// must lie within TemplateLimits::MaxSide. Marks the stream corrupt and returns false
// otherwise.
bool readPath(QDataStream &s, QPainterPath &path);

} // namespace LnrStream
