#include "designer/repageitem.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <cmath>

namespace {

// Cuts a path, in device coordinates, down to what its stroke can paint on
// the page. Lines are clipped to the page widened by the pen's reach; curves
// near the page stay curves; curves reaching further are split, down to
// pieces that lie beyond reach (dropped), near the page, or within a
// quarter pixel of their chord (drawn as it). A piece whose stroke alone
// covers the whole page ends the work. The stroker and the dasher so see a
// bounded outline, however far the rest goes and however wide the pen.
class VisiblePart
{
public:
    // page: what shows; reach: how far beyond it the pen still paints;
    // halfWidth: the least the stroke reaches from its centre line, when
    // pieces whose stroke covers the whole page are to be told (else 0).
    // filling: for a fill rather than a stroke, where nothing may be
    // dropped: what lies beyond reach becomes its chord instead, which
    // changes no winding within reach (a curve and its chord enclose
    // nothing outside the hull of its control points).
    VisiblePart(const QRectF &page, double reach, double halfWidth, bool filling = false)
        : filling(filling)
        , page(page)
        , area(page.adjusted(-reach, -reach, reach, reach))
        , reach(reach)
        , halfWidth(halfWidth)
        , wholeSize(2 * std::hypot(page.width(), page.height()) + 2)
    {
    }

    // Whether some piece's stroke covers the whole page.
    bool covered = false;

    void moveTo(const QPointF &p)
    {
        current = p;
        open = false;
        if (filling && room()) {
            path.moveTo(p);
            open = true;
        }
    }

    void lineTo(const QPointF &to)
    {
        if (filling) {
            // The painter cuts long lines exactly; only curves cost.
            if (room())
                path.lineTo(to);
            current = to;
            return;
        }
        if (halfWidth > 0
            && covering(qMin(current.x(), to.x()), qMin(current.y(), to.y()),
                        qMax(current.x(), to.x()), qMax(current.y(), to.y()), 0)) {
            covered = true;
            open = false;
            current = to;
            return;
        }
        double t0 = 0;
        double t1 = 1;
        const QPointF d = to - current;
        const auto cut = [&](double p, double q) {
            if (p == 0)
                return q >= 0;
            const double r = q / p;
            if (p < 0) {
                if (r > t1)
                    return false;
                t0 = qMax(t0, r);
            } else {
                if (r < t0)
                    return false;
                t1 = qMin(t1, r);
            }
            return true;
        };
        // Liang and Barsky.
        const bool visible = cut(-d.x(), current.x() - area.left())
            && cut(d.x(), area.right() - current.x()) && cut(-d.y(), current.y() - area.top())
            && cut(d.y(), area.bottom() - current.y());
        if (visible && room()) {
            if (!open || t0 > 0)
                path.moveTo(current + t0 * d);
            path.lineTo(t1 < 1 ? current + t1 * d : to);
            open = t1 >= 1;
        } else {
            open = false;
        }
        current = to;
    }

    void cubicTo(const QPointF &c1, const QPointF &c2, const QPointF &to, int depth = 0)
    {
        const QPointF from = current;
        // A curve lies within the hull of its control points.
        const double left = qMin(qMin(from.x(), to.x()), qMin(c1.x(), c2.x()));
        const double right = qMax(qMax(from.x(), to.x()), qMax(c1.x(), c2.x()));
        const double top = qMin(qMin(from.y(), to.y()), qMin(c1.y(), c2.y()));
        const double bottom = qMax(qMax(from.y(), to.y()), qMax(c1.y(), c2.y()));
        // How far the chord strays from the curve, at most.
        const QPointF d1 = c1 - (2 * from + to) / 3;
        const QPointF d2 = c2 - (from + 2 * to) / 3;
        const double stray
            = std::sqrt(qMax(QPointF::dotProduct(d1, d1), QPointF::dotProduct(d2, d2)));
        if (beyond(left, top, right, bottom, 0)) {
            if (filling) {
                lineTo(to);
                return;
            }
            open = false;
            current = to;
            return;
        }
        if (halfWidth > 0 && covering(left, top, right, bottom, 0)) {
            covered = true;
            open = false;
            current = to;
            return;
        }
        if (left >= area.left() && right <= area.right() && top >= area.top()
            && bottom <= area.bottom() && qMax(right - left, bottom - top) <= wholeSize) {
            if (!room()) {
                open = false;
            } else {
                if (!open)
                    path.moveTo(from);
                path.cubicTo(c1, c2, to);
                open = true;
            }
            current = to;
            return;
        }
        if (depth >= MaxDepth || stray <= 0.25) {
            lineTo(to);
            return;
        }
        // De Casteljau at one half.
        const QPointF a = (from + c1) / 2;
        const QPointF b = (c1 + c2) / 2;
        const QPointF c = (c2 + to) / 2;
        const QPointF ab = (a + b) / 2;
        const QPointF bc = (b + c) / 2;
        const QPointF mid = (ab + bc) / 2;
        cubicTo(a, ab, mid, depth + 1);
        cubicTo(bc, c, to, depth + 1);
    }

    QPainterPath path;

private:
    static constexpr int MaxDepth = 60;
    // Bounds what a pathological outline costs, whatever its curves.
    static constexpr int MaxElements = 200000;

    bool room() const { return path.elementCount() < MaxElements; }

    const bool filling;
    // Whether the box lies beyond reach of the page, or its every point
    // within the least half width (the page then is covered).
    bool beyond(double left, double top, double right, double bottom, double stray) const
    {
        const double nearX = qMax(0.0, qMax(left - page.right(), page.left() - right));
        const double nearY = qMax(0.0, qMax(top - page.bottom(), page.top() - bottom));
        return std::hypot(nearX, nearY) > reach + stray;
    }
    bool covering(double left, double top, double right, double bottom, double stray) const
    {
        const double farX = qMax(page.right() - left, right - page.left());
        const double farY = qMax(page.bottom() - top, bottom - page.top());
        return std::hypot(farX, farY) + stray < halfWidth;
    }

    QRectF page;
    QRectF area;
    double reach;
    double halfWidth;
    double wholeSize;
    QPointF current;
    bool open = false;
};

// polygon (closed) cut to box by Sutherland and Hodgman: what lies beyond an
// edge of box is moved onto that edge, so that every point within box keeps
// its winding number, and the painter rasterizes nothing far outside (it
// takes time with the reach of an outline, not only with what shows).
QPolygonF clippedToBox(QPolygonF polygon, const QRectF &box)
{
    const double bounds[4] = {box.left(), box.right(), box.top(), box.bottom()};
    for (int edge = 0; edge < 4 && polygon.size() > 1; ++edge) {
        const double at = bounds[edge];
        const bool vertical = edge < 2;
        const bool below = edge % 2 == 0; // inside is at or above the bound
        const auto inside = [&](const QPointF &p) {
            const double v = vertical ? p.x() : p.y();
            return below ? v >= at : v <= at;
        };
        QPolygonF out;
        out.reserve(polygon.size() + 4);
        for (int i = 0; i < polygon.size(); ++i) {
            const QPointF &from = polygon[i == 0 ? polygon.size() - 1 : i - 1];
            const QPointF &to = polygon[i];
            const bool in = inside(to);
            if (in != inside(from)) {
                const double t = vertical ? (at - from.x()) / (to.x() - from.x())
                                          : (at - from.y()) / (to.y() - from.y());
                const QPointF cut = from + t * (to - from);
                out.append(vertical ? QPointF(at, cut.y()) : QPointF(cut.x(), at));
            }
            if (in)
                out.append(to);
        }
        polygon.swap(out);
    }
    return polygon;
}

// The least stretch a transform gives any direction.
double leastStretch(const QTransform &t)
{
    const double a = t.m11(), b = t.m12(), c = t.m21(), d = t.m22();
    const double squares = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    const double spread = std::sqrt(qMax(0.0, squares * squares - 4 * det * det));
    return std::sqrt(qMax(0.0, (squares - spread) / 2));
}

// Whether a pen is so wide on the device that its half width exceeds the
// page's diagonal.
bool widePen(const QTransform &toDevice, const QRectF &page, double penWidth)
{
    return penWidth * leastStretch(toDevice) / 2 > std::hypot(page.width(), page.height());
}

// Fills path (item coordinates) band by band of device rows: the painter's
// antialiasing rasterizer keeps a bounded store of cells and, when an
// outline of many long edges overflows it, renders the whole outline again
// for ever narrower bands. Each band is cut at whole rows, where no pixel
// is shared, so the pixels are those of one fill.
void fillInBands(QPainter *p, const QPainterPath &path, const QTransform &device,
                 const QRectF &page, const QBrush &brush)
{
    constexpr int BandRows = 16;
    bool invertible = false;
    const QTransform back = device.inverted(&invertible);
    if (!invertible || page.isEmpty())
        return;
    const QList<QPolygonF> polygons = device.map(path).toSubpathPolygons();
    const double top = std::floor(page.top());
    const double bottom = std::ceil(page.bottom());
    for (double y = top; y < bottom; y += BandRows) {
        const QRectF band(page.left() - 2, y, page.width() + 4, qMin(double(BandRows), bottom - y));
        QPainterPath cut;
        cut.setFillRule(path.fillRule());
        for (const QPolygonF &polygon : polygons)
            cut.addPolygon(clippedToBox(polygon, band));
        if (!cut.isEmpty())
            p->fillPath(back.map(cut), brush);
    }
}

// Whether an outline (item units) not much larger than the page and near
// it is drawn as it is, dashes and all, so that its dashes stay put while
// the editor scrolls and zooms; penWidth is the pen's in item units.
bool drawnWhole(const QPainterPath &shape, const QTransform &device, const QRectF &page,
                double penWidth)
{
    const QRectF bounds = device.map(shape).controlPointRect();
    const double stretch = std::sqrt(device.m11() * device.m11() + device.m12() * device.m12()
                                     + device.m21() * device.m21() + device.m22() * device.m22());
    const double diagonal = std::hypot(page.width(), page.height());
    const double near = diagonal + qMax(1.0, penWidth * stretch) + 2;
    return bounds.left() >= page.left() - near && bounds.right() <= page.right() + near
        && bounds.top() >= page.top() - near && bounds.bottom() <= page.bottom() + near
        && qMax(bounds.width(), bounds.height()) <= 4 * diagonal;
}

// Rows times edges beyond which the rasteriser's store of cells overflows
// and it renders an outline again band by band; far below, an outline is
// filled as it is.
constexpr double BandedFrom = 20000;

// What an edge costs the stroker, the dasher and the rasteriser to set up,
// in rows.
constexpr double EdgeSetupRows = 10;

// The rows of clip that [top, bottom] spans.
double rowsWithin(double top, double bottom, const QRectF &clip)
{
    return qMax(0.0, qMin(bottom, clip.bottom()) - qMax(top, clip.top()));
}

// The rows the edges of path (device pixels, curves flattened) cross within
// clip when it is filled, each edge with its setup.
double fillRows(const QPainterPath &path, const QRectF &clip)
{
    double rows = 0;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        for (int i = 0; i < polygon.size(); ++i) {
            const QPointF &a = polygon[i];
            const QPointF &b = polygon[(i + 1) % polygon.size()];
            // An edge beside the clip leaves the rasteriser no cells.
            const bool beside
                = qMax(a.x(), b.x()) < clip.left() || qMin(a.x(), b.x()) > clip.right();
            rows += EdgeSetupRows
                + (beside ? 0 : rowsWithin(qMin(a.y(), b.y()), qMax(a.y(), b.y()), clip));
        }
    }
    return rows;
}

// The dash pattern of a pen style in pen widths: its length, its dashes and
// the mean length of one dash.
struct Dashes
{
    double pattern;
    int count;
    double length;
};

Dashes dashesOf(int style)
{
    switch (style) {
    case Qt::DashLine:
        return {6, 1, 4};
    case Qt::DotLine:
        return {3, 1, 1};
    case Qt::DashDotLine:
        return {9, 2, 2.5};
    case Qt::DashDotDotLine:
        return {12, 3, 2};
    default:
        return {0, 0, 0};
    }
}

// The same for the stroke of path by a pen of width (device pixels) and
// style, each of the pen's dashes an outline of its own.
double strokeRows(const QPainterPath &path, double width, int style, const QRectF &clip)
{
    const double w = qMax(1.0, width);
    const Dashes dashes = dashesOf(style);
    double rows = 0;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        for (int i = 0; i + 1 < polygon.size(); ++i) {
            const QPointF &a = polygon[i];
            const QPointF &b = polygon[i + 1];
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            const double high = std::fabs(b.y() - a.y());
            const double spanned
                = rowsWithin(qMin(a.y(), b.y()) - w / 2, qMax(a.y(), b.y()) + w / 2, clip);
            const double across = qMax(0.0,
                                       qMin(qMax(a.x(), b.x()) + w / 2, clip.right())
                                           - qMax(qMin(a.x(), b.x()) - w / 2, clip.left()));
            const double shown = across > 0 ? spanned : 0;
            if (dashes.count == 0) {
                rows += 2 * EdgeSetupRows + 2 * shown + 2 * qMin(w, shown);
                continue;
            }
            // Each dash has four edges.
            const double n = std::ceil(length / (dashes.pattern * w)) * dashes.count;
            const double dashRows
                = qMin(shown, (length > 0 ? dashes.length * w * high / length : 0) + w);
            rows += n * (4 * EdgeSetupRows + 4 * dashRows);
        }
    }
    return rows;
}

} // namespace

QPainterPath CREPageItem::visiblePart(const QPainterPath &path, const QTransform &toDevice,
                                      const QRectF &page, double penWidth, bool *covers)
{
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (covers)
        *covers = false;
    if (!invertible)
        return QPainterPath();
    // The pen's width on the device lies between its width scaled by the
    // least and by the greatest stretch of the transform.
    const double a = toDevice.m11(), b = toDevice.m12(), c = toDevice.m21(), d = toDevice.m22();
    const double least = leastStretch(toDevice);
    const double most = std::sqrt(qMax(0.0, a * a + b * b + c * c + d * d - least * least));
    const double widest = penWidth > 0 ? penWidth * most : 1;
    const bool wide = widePen(toDevice, page, penWidth);
    // Miter points reach as far as the pen is wide, square caps less; a wide
    // pen is drawn with round ends and joins, which reach half as far.
    VisiblePart part(page, (wide ? widest / 2 : widest) + 2, wide ? penWidth * least / 2 : 0);
    for (int i = 0; i < path.elementCount() && !part.covered; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF to = toDevice.map(QPointF(e));
        switch (e.type) {
        case QPainterPath::MoveToElement:
            part.moveTo(to);
            break;
        case QPainterPath::LineToElement:
            part.lineTo(to);
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                const QPointF c2 = toDevice.map(QPointF(path.elementAt(i + 1)));
                const QPointF end = toDevice.map(QPointF(path.elementAt(i + 2)));
                part.cubicTo(to, c2, end);
                i += 2;
            }
            break;
        default:
            break;
        }
    }
    if (covers)
        *covers = part.covered;
    return back.map(part.path);
}

QPainterPath CREPageItem::visibleFill(const QPainterPath &path, const QTransform &toDevice,
                                      const QRectF &page)
{
    bool invertible = false;
    const QTransform back = toDevice.inverted(&invertible);
    if (!invertible)
        return QPainterPath();
    VisiblePart part(page, 2, 0, true);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF to = toDevice.map(QPointF(e));
        if (e.type == QPainterPath::MoveToElement) {
            part.moveTo(to);
        } else if (e.type == QPainterPath::LineToElement) {
            part.lineTo(to);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            part.cubicTo(to, toDevice.map(QPointF(path.elementAt(i + 1))),
                         toDevice.map(QPointF(path.elementAt(i + 2))));
            i += 2;
        }
    }
    QPainterPath cut;
    const QRectF box = page.adjusted(-2, -2, 2, 2);
    for (const QPolygonF &polygon : part.path.toSubpathPolygons())
        cut.addPolygon(clippedToBox(polygon, box));
    QPainterPath fill = back.map(cut);
    fill.setFillRule(path.fillRule());
    return fill;
}

bool CREPageItem::rectangularOn(const QTransform &device) const
{
    if (shape.elementCount() > 5)
        return false;
    const QPolygonF corners = device.map(shape.toFillPolygon());
    const QRectF r = corners.boundingRect();
    const auto at = [](double v, double a, double b) {
        return std::fabs(v - a) < 1e-6 || std::fabs(v - b) < 1e-6;
    };
    for (const QPointF &c : corners) {
        if (!at(c.x(), r.left(), r.right()) || !at(c.y(), r.top(), r.bottom()))
            return false;
    }
    return true;
}

void CREPageItem::fillPictureInto(QPainter *p, const QPainterPath &outline)
{
    if (image.isNull() || boundSize.isEmpty())
        return;
    const QImage picture = image.toImage();
    if (picture.isNull())
        return;
    QBrush brush(picture);
    brush.setTransform(QTransform::fromScale(boundSize.width() / picture.width(),
                                             boundSize.height() / picture.height())
                       * transform);
    const QTransform device = p->deviceTransform();
    QRectF page(0, 0, p->device()->width(), p->device()->height());
    if (p->hasClipping())
        page &= device.mapRect(p->clipBoundingRect());
    if (fillRows(device.map(outline), page) > BandedFrom)
        fillInBands(p, outline, device, page, brush);
    else
        p->fillPath(outline, brush);
}

void CREPageItem::drawPath(QPainter *p)
{
    QPen pen {QBrush(penColor), qreal(int(penWidth)), Qt::PenStyle(penStyle)};
    // What shows on the device: the page's clip within it.
    const QTransform device = p->deviceTransform();
    QRectF page(0, 0, p->device()->width(), p->device()->height());
    if (p->hasClipping())
        page &= device.mapRect(p->clipBoundingRect());
    if (drawnWhole(shape, device, page, pen.widthF())) {
        const QPainterPath onDevice = device.map(shape);
        const double diagonal = std::hypot(page.width(), page.height());
        const double stretch
            = std::sqrt(std::fabs(device.m11() * device.m22() - device.m12() * device.m21()));
        if (fillRows(onDevice, page) > BandedFrom)
            fillInBands(p, shape, device, page, QBrush(color));
        else
            p->fillPath(shape, QBrush(color));
        if (penWidth <= 0)
            return;
        // A pen about as wide as the page, or an outline of many long edges,
        // takes the raster engine seconds to stroke at export size; its
        // outline is filled band by band instead.
        if (pen.widthF() * leastStretch(device) > diagonal / 2
            || strokeRows(onDevice, pen.widthF() * stretch, pen.style(), page) > BandedFrom) {
            fillInBands(p, QPainterPathStroker(pen).createStroke(shape), device, page, pen.brush());
            return;
        }
        p->setBrush(Qt::NoBrush);
        p->setPen(pen);
        p->drawPath(shape);
        return;
    }
    if (page.isEmpty())
        return;
    fillInBands(p, visibleFill(shape, device, page), device, page, QBrush(color));
    if (penWidth <= 0)
        return;
    // A pen far wider than the page: each dash is longer than the page and
    // the part of the outline drawn starts a pattern of its own, so the
    // stroke is drawn solid, with round ends that reach no further than
    // half its width. Where one piece alone covers the page, it is filled.
    bool covers = false;
    const QPainterPath part = visiblePart(shape, device, page, pen.widthF(), &covers);
    if (widePen(device, page, pen.widthF())) {
        pen.setStyle(Qt::SolidLine);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    if (covers) {
        p->setPen(Qt::NoPen);
        p->setBrush(pen.brush());
        p->drawPolygon(device.inverted().map(QPolygonF(page)));
        return;
    }
    p->setBrush(Qt::NoBrush);
    p->setPen(pen);
    p->drawPath(part);
}
