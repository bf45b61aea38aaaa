#pragma once

#include <QtGlobal>

class QImage;
class QIODevice;

// A PNG encoder for the large pictures the program exports (a full page of
// a chart runs to 36 million pixels): horizontal strips of the picture are
// filtered and compressed on all cores at once, into one zlib stream as a
// single-threaded encoder would make it, so any PNG reader takes the file.
// An opaque picture is written as RGB, one with transparency as RGBA.
namespace PngWriter {

// zlib's fastest level: next to its default one it makes a page with a
// photograph some 5 % larger and a page of flat colour some 30 % larger,
// in a quarter of the time or less (lumaro_bench "chart png levels").
constexpr int DefaultLevel = 1;

// Writes image to device at the given zlib level (0 to 9); false when the
// image is null or the device took less than all of it.
bool write(const QImage &image, QIODevice *device, int level = DefaultLevel);

} // namespace PngWriter
