#pragma once

#include <QtGlobal>

class QDataStream;
class QPainterPath;

// Guards for reading template files, whose counts and sizes come from disk.
namespace LnrStream {

constexpr int StreamVersion = 12;

// Bytes left on a random-access device, or -1 when that cannot be known.
qint64 remaining(const QDataStream &s);

// True when count records of at least minBytes each can still follow.
bool countFits(const QDataStream &s, qint64 count, qint64 minBytes);

// Reads a serialised QPainterPath without trusting its element count: the
// count must fit the data left and every element must be well formed (a
// curve point followed by its two control points). Marks the stream corrupt
// and returns false otherwise.
bool readPath(QDataStream &s, QPainterPath &path);

} // namespace LnrStream
