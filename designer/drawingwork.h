#pragma once

#include <QRectF>
#include <QString>
#include <QTransform>

class QPainterPath;
class CREPage;
class CREPageItem;

// What drawing a page asks of the painter at the largest size it is drawn
// (the export image), in units of about a nanosecond of this kind of
// machine: the device pixels each object paints within its clip (objects
// over one another add up), the device rows each edge of an outline, a
// stroke (after dashing) or a clip outline crosses as it is rasterised, and
// the glyphs its texts lay out.
struct DrawingWork
{
    double pixels = 0;
    double edgeRows = 0;
    // Rows the edges of clip outlines cross, for each object drawn through.
    double clipRows = 0;
    // Edges crossing a row that other edges of their outline cross, once
    // for each of those.
    double crossings = 0;
    double glyphs = 0;

    double total() const;
    DrawingWork &operator+=(const DrawingWork &other);

    // page drawn into the export image: the transform from its units to
    // the image's pixels.
    static QTransform exportTransform(const CREPage *page);
    // What a page draws at export size, each of its block references drawn
    // in place with the objects of its block; extra counts as one more
    // object of extraPage (and of the pages referencing it) when given.
    // Counting stops once the total passes stopAbove.
    static DrawingWork ofPage(const CREPage *page, double stopAbove,
                              const CREPage *extraPage = nullptr,
                              const CREPageItem *extra = nullptr);
    // What is most of the work, for the user: "...".
    QString mostly() const;
    // What one object (a frame and its content) draws through toDevice (its
    // container's units to device pixels) within clip (device pixels);
    // a block reference counts as the thumbnail it shows.
    static DrawingWork ofObject(const CREPageItem *frame, const QTransform &toDevice,
                                const QRectF &clip);

    // The rows the edges of path (device pixels, curves flattened) cross
    // within clip when it is filled.
    static double fillRows(const QPainterPath &path, const QRectF &clip);
    // The same for its stroke by a pen of width (device pixels) and style,
    // the pen's dashes each stroked on its own, and the pixels the stroke
    // paints within clip in *pixels.
    static double strokeRows(const QPainterPath &path, double width, int style, const QRectF &clip,
                             double *pixels = nullptr);
};
