#include "designer/repageitem.h"

#include "designer/style.h"
#include "designer/templatelimits.h"

#include <QRectF>

void CREPageItem::genTrackers(STracker *trackers, const QRectF &bounds, const QTransform &view,
                              CStyle *style) const
{
    const double sx = view.m11() != 0 ? view.m11() : 1.0;
    const double sy = view.m22() != 0 ? view.m22() : 1.0;
    const QRectF o(bounds.x() - 2 / sx, bounds.y() - 2 / sy, bounds.width() + 3 / sx,
                   bounds.height() + 3 / sy);
    const double l = o.left();
    const double t = o.top();
    const double r = o.right();
    const double b = o.bottom();
    auto around = [&](double x, double y) {
        return QRectF(x - 8 / sx, y - 8 / sy, 16 / sx, 16 / sy);
    };
    trackers[0].rect = around(l, t);
    trackers[1].rect = around(r, t);
    trackers[2].rect = around(l, b);
    trackers[3].rect = around(r, b);
    trackers[4].rect = around(l, (t + b) / 2);
    trackers[5].rect = around(r, (t + b) / 2);
    trackers[6].rect = around((l + r) / 2, b);
    trackers[7].rect = QRectF(l + 8 / sx, t, o.width() - 16 / sx, 24 / sy);
    trackers[8].rect = QRectF(r + 3 / sx, b - 15 / sy, 15 / sx, 15 / sy);
    trackers[9].rect = QRectF();
    trackers[10].rect = QRectF();
    const QSize right = style ? style->images[CStyle::ScaleItem].size() : QSize();
    const QSize left = style ? style->images[CStyle::ScaleResItem].size() : QSize();
    if (o.width() * sx > 3 * left.width() && o.height() * sy > 2 * left.height()) {
        const QPointF c = o.center();
        const double quarter = o.width() / 4;
        trackers[9].rect
            = QRectF(c.x() + quarter - right.width() / 2.0 / sx, c.y() - right.height() / 2.0 / sy,
                     right.width() / sx, right.height() / sy);
        trackers[10].rect
            = QRectF(c.x() - quarter - left.width() / 2.0 / sx, c.y() - left.height() / 2.0 / sy,
                     left.width() / sx, left.height() / sy);
    }
}

void CREPageItem::fitToRect(const QRectF &r, bool straighten)
{
    if (type != Frame)
        return;
    if (!straighten) {
        const QRectF b = shape.boundingRect();
        if (b.width() <= 0 || b.height() <= 0)
            return;
        QTransform t;
        t.translate(r.x(), r.y());
        t.scale(r.width() / b.width(), r.height() / b.height());
        t.translate(-b.x(), -b.y());
        transform = t;
        return;
    }
    if (angle > 315)
        angle = 0;
    else if (angle > 225)
        angle = 270;
    else if (angle > 135)
        angle = 180;
    else if (angle > 45)
        angle = 90;
    else
        angle = 0;
    transform = QTransform::fromTranslate(r.x(), r.y());
    const bool across = angle == 90 || angle == 270;
    const QRectF box(0, 0, across ? r.height() : r.width(), across ? r.width() : r.height());
    QPainterPath outline;
    outline.addRect(box);
    shape = outline;
    boundSize = box.size();
    rotate(angle, false);
    if (inner) {
        const QPointF c = shape.boundingRect().center();
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(angle);
        t.translate(-c.x(), -c.y());
        inner->transform = t;
        inner->boundSize = boundSize;
        inner->angle = angle;
    }
}

QRectF CREPageItem::fitToPageR(QRectF r, int k, double pageW, double pageH, double a)
{
    if (a == 0)
        a = r.height() > 0 ? r.width() / r.height() : 1.0;
    if (a <= 0)
        a = 1.0;
    if (r.width() < 15) {
        if (k == 1 || k == 3 || k == 5)
            r.setWidth(15);
        else
            r.setLeft(r.right() - 15);
    }
    if (r.height() < 15) {
        if (k == 0 || k == 1)
            r.setTop(r.bottom() - 15);
        else
            r.setHeight(15);
    }
    if (r.left() < 0) {
        const double over = -r.left();
        const double dh = over / a;
        r = QRectF(0, k == 0 ? r.y() + dh : r.y(), r.width() - over, r.height() - dh);
    }
    if (r.right() > pageW) {
        const double over = r.right() - pageW;
        const double dh = over / a;
        r = QRectF(r.x(), k == 1 ? r.y() + dh : r.y(), r.width() - over, r.height() - dh);
    }
    if (r.top() < 0) {
        const double over = -r.top();
        const double dw = over * a;
        r = QRectF(k == 0 ? r.x() + dw : r.x(), 0, r.width() - dw, r.height() - over);
    }
    if (r.bottom() > pageH) {
        const double over = r.bottom() - pageH;
        const double dw = over * a;
        r = QRectF(k == 3 ? r.x() : r.x() + dw, r.y(), r.width() - dw, r.height() - over);
    }
    return r;
}

QRectF CREPageItem::fitToPageP(QRectF r, double pageW, double pageH)
{
    if (r.x() < 0)
        r.moveLeft(0);
    if (r.right() > pageW)
        r.moveLeft(pageW - r.width());
    if (r.y() < 0)
        r.moveTop(0);
    if (r.bottom() > pageH)
        r.moveTop(pageH - r.height());
    return r;
}

QRectF CREPageItem::fitToScaleLimit(const QRectF &r, int k, const QSizeF &outline)
{
    // A hair below the limit, so that the scale fitToRect computes back from
    // the rectangle cannot round past it.
    constexpr double Limit = TemplateLimits::MaxScale * (1 - 1e-9);
    const double maxW = outline.width() * Limit;
    const double maxH = outline.height() * Limit;
    double w = r.width();
    double h = r.height();
    if (k <= 3) {
        const double f = qMin(1.0, qMin(w > 0 ? maxW / w : 1.0, h > 0 ? maxH / h : 1.0));
        w *= f;
        h *= f;
    } else {
        w = qMin(w, maxW);
        h = qMin(h, maxH);
    }
    const bool keepRight = k == 0 || k == 2 || k == 4;
    const bool keepBottom = k == 0 || k == 1;
    return QRectF(keepRight ? r.right() - w : r.left(), keepBottom ? r.bottom() - h : r.top(), w,
                  h);
}

CREPageItem::Geometry CREPageItem::geometry() const
{
    Geometry g;
    g.transform = transform;
    g.shape = shape;
    g.boundSize = boundSize;
    g.angle = angle;
    if (inner) {
        g.innerTransform = inner->transform;
        g.innerBoundSize = inner->boundSize;
        g.innerAngle = inner->angle;
    }
    return g;
}

void CREPageItem::setGeometry(const Geometry &g)
{
    transform = g.transform;
    shape = g.shape;
    boundSize = g.boundSize;
    angle = g.angle;
    if (inner) {
        inner->transform = g.innerTransform;
        inner->boundSize = g.innerBoundSize;
        inner->angle = g.innerAngle;
    }
}
