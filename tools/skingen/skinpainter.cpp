#include "skinpainter.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace Skin {

QColor lighter(const QColor &c, int percent)
{
    return c.lighter(percent);
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

namespace {

void drawSurfacePath(QPainter &p, const QPainterPath &shape, const QRectF &rect, const Surface &s,
                     qreal radius)
{
    p.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, s.top);
    fill.setColorAt(1, s.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    if (s.highlight.isValid()) {
        // The lit upper rim, fading out towards the sides.
        p.setClipPath(shape);
        QLinearGradient rim(rect.topLeft(), rect.topRight());
        rim.setColorAt(0, withAlpha(s.highlight, 0));
        rim.setColorAt(0.18, s.highlight);
        rim.setColorAt(0.82, s.highlight);
        rim.setColorAt(1, withAlpha(s.highlight, 0));
        p.setPen(QPen(QBrush(rim), 1));
        p.setBrush(Qt::NoBrush);
        const qreal y = rect.top() + (s.outline.isValid() ? 1.5 : 0.5);
        p.drawLine(QPointF(rect.left() + radius * 0.5, y), QPointF(rect.right() - radius * 0.5, y));
        p.setClipping(false);
    }
    if (s.outline.isValid()) {
        p.setPen(QPen(s.outline, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    p.restore();
}

} // namespace

void drawRoundedSurface(QPainter &p, const QRectF &rect, qreal radius, const Surface &s)
{
    // Outlines sit on pixel centres so that they come out crisp.
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(r, radius, radius);
    drawSurfacePath(p, shape, r, s, radius);
}

void drawEllipseSurface(QPainter &p, const QRectF &rect, const Surface &s)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addEllipse(r);
    drawSurfacePath(p, shape, r, s, r.width() / 2);
}

void drawGlyphPath(QPainter &p, const QPainterPath &glyph, const QRectF &box, const QColor &top,
                   const QColor &bottom, int shadowAlpha)
{
    QTransform toBox;
    toBox.translate(box.x(), box.y());
    toBox.scale(box.width() / 24.0, box.height() / 24.0);
    const QPainterPath shape = toBox.map(glyph);
    p.save();
    p.setPen(Qt::NoPen);
    if (shadowAlpha > 0) {
        p.setBrush(withAlpha(Palette::shadow, shadowAlpha));
        p.drawPath(shape.translated(0, 1));
    }
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setBrush(fill);
    p.drawPath(shape);
    p.restore();
}

void drawGlyph(QPainter &p, Glyphs::Glyph glyph, const QRectF &box, const QColor &top,
               const QColor &bottom, int shadowAlpha)
{
    drawGlyphPath(p, Glyphs::path(glyph), box, top, bottom, shadowAlpha);
}

void drawGlow(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    glow.setColorAt(1, withAlpha(colour, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace Skin
