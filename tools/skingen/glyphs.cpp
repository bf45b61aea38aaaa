#include "glyphs.h"

#include <QFont>
#include <QPainterPathStroker>
#include <QtMath>

namespace Glyphs {

QPainterPath stroked(const QPainterPath &line, qreal width, Qt::PenCapStyle cap)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(cap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}

QPainterPath textPath(const QString &text, const QString &family, qreal pixelSize, bool bold,
                      bool italic, QPointF centre)
{
    QFont font(family);
    font.setPixelSize(qRound(pixelSize * 8)); // drawn large, scaled down: keeps the outline smooth
    font.setBold(bold);
    font.setItalic(italic);
    QPainterPath text8;
    text8.addText(0, 0, font, text);
    QTransform scale;
    scale.scale(1.0 / 8, 1.0 / 8);
    QPainterPath result = scale.map(text8);
    const QRectF box = result.boundingRect();
    result.translate(centre - box.center());
    return result;
}

namespace {

QPainterPath line(QPointF a, QPointF b)
{
    QPainterPath p(a);
    p.lineTo(b);
    return p;
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    bool first = true;
    for (const QPointF &pt : points) {
        if (first)
            p.moveTo(pt);
        else
            p.lineTo(pt);
        first = false;
    }
    return p;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p = polyline(points);
    p.closeSubpath();
    return p;
}

QPainterPath ellipse(QPointF centre, qreal rx, qreal ry)
{
    QPainterPath p;
    p.addEllipse(centre, rx, ry);
    return p;
}

QPainterPath roundRect(QRectF r, qreal radius)
{
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

QPainterPath ring(QPointF centre, qreal radius, qreal width)
{
    return ellipse(centre, radius + width / 2, radius + width / 2)
        .subtracted(ellipse(centre, radius - width / 2, radius - width / 2));
}

// The classic heart, fitted into a rectangle.
QPainterPath heart(QRectF r)
{
    QPainterPath p;
    p.moveTo(12, 21);
    p.cubicTo(5, 15.5, 2, 12, 2, 8.5);
    p.cubicTo(2, 5.5, 4.5, 3.5, 7, 3.5);
    p.cubicTo(9, 3.5, 11, 4.8, 12, 6.5);
    p.cubicTo(13, 4.8, 15, 3.5, 17, 3.5);
    p.cubicTo(19.5, 3.5, 22, 5.5, 22, 8.5);
    p.cubicTo(22, 12, 19, 15.5, 12, 21);
    p.closeSubpath();
    QTransform t;
    t.translate(r.x(), r.y());
    t.scale(r.width() / 20.0, r.height() / 17.5);
    t.translate(-2, -3.5);
    return t.map(p);
}

QPainterPath star(QPointF centre, qreal outer, qreal inner, int points = 5)
{
    QPainterPath p;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0)
            p.moveTo(pt);
        else
            p.lineTo(pt);
    }
    p.closeSubpath();
    return p;
}

// A line with a filled arrow head at its end.
QPainterPath arrow(QPointF from, QPointF to, qreal width, qreal head)
{
    const QLineF l(from, to);
    const qreal len = l.length();
    const QPointF dir = (to - from) / len;
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = to - dir * head;
    QPainterPath result = stroked(line(from, base + dir * 0.5), width, Qt::FlatCap);
    result = result.united(polygon({to, base + normal * head * 0.62, base - normal * head * 0.62}));
    return result;
}

QPainterPath circularArrow(QPointF centre, qreal radius, qreal startDeg, qreal sweepDeg,
                           qreal width)
{
    QPainterPath arc;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, sweepDeg);
    QPainterPath result = stroked(arc, width, Qt::FlatCap);
    // Head at the end of the sweep, pointing along the tangent.
    const qreal endRad = qDegreesToRadians(startDeg + sweepDeg);
    const QPointF end(centre.x() + radius * qCos(endRad), centre.y() - radius * qSin(endRad));
    const qreal sign = sweepDeg > 0 ? 1 : -1;
    const QPointF tangent(-qSin(endRad) * sign, -qCos(endRad) * sign);
    const QPointF normal(-tangent.y(), tangent.x());
    const qreal head = width * 2.0;
    result = result.united(
        polygon({end + tangent * head * 1.1, end + normal * head, end - normal * head}));
    return result;
}

QPainterPath magnifier()
{
    QPainterPath p = ring(QPointF(10, 10), 6, 2.2);
    return p.united(stroked(line(QPointF(14.6, 14.6), QPointF(20.5, 20.5)), 3.2));
}

QPainterPath document(QRectF r, qreal fold)
{
    return polygon({r.topLeft(), QPointF(r.right() - fold, r.top()),
                    QPointF(r.right(), r.top() + fold), r.bottomRight(), r.bottomLeft()});
}

QPainterPath numerology()
{
    QPainterPath p = ring(QPointF(12, 12), 10, 1.3);
    for (int i = 0; i < 9; ++i) {
        const qreal a = -M_PI / 2 + i * 2 * M_PI / 9;
        p = p.united(ellipse(QPointF(12 + 10 * qCos(a), 12 + 10 * qSin(a)), 1.35, 1.35));
    }
    return p.united(textPath("7", "DejaVu Serif", 13, true, false, QPointF(12, 12.4)));
}

QPainterPath matrix()
{
    QPainterPath p;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF cell(2.2 + col * 6.8, 2.2 + row * 6.8, 5.8, 5.8);
            QPainterPath square = roundRect(cell, 1.2);
            if ((row + col) % 2)
                square = square.subtracted(roundRect(cell.adjusted(1.3, 1.3, -1.3, -1.3), 0.4));
            p = p.united(square);
        }
    }
    return p;
}

QPainterPath love()
{
    const QPainterPath back = heart(QRectF(1, 3, 15, 13.2));
    const QPainterPath front = heart(QRectF(8.5, 8.5, 14, 12.3));
    const QPainterPath gap = heart(QRectF(7.2, 7.2, 16.6, 14.6));
    return back.subtracted(gap).united(front);
}

QPainterPath paw()
{
    QPainterPath pad;
    pad.moveTo(12, 12.2);
    pad.cubicTo(15.5, 12.2, 19, 16.5, 18.5, 19.2);
    pad.cubicTo(18, 21.6, 14.8, 20.6, 12, 20.6);
    pad.cubicTo(9.2, 20.6, 6, 21.6, 5.5, 19.2);
    pad.cubicTo(5, 16.5, 8.5, 12.2, 12, 12.2);
    pad.closeSubpath();
    QPainterPath p = pad;
    const struct
    {
        qreal x, y, rx, ry, angle;
    } toes[] = {{4.6, 10.6, 1.9, 2.5, -25},
                {9.0, 5.9, 2.1, 2.8, -8},
                {15.0, 5.9, 2.1, 2.8, 8},
                {19.4, 10.6, 1.9, 2.5, 25}};
    for (const auto &toe : toes) {
        QTransform rot;
        rot.translate(toe.x, toe.y);
        rot.rotate(toe.angle);
        p = p.united(rot.map(ellipse(QPointF(0, 0), toe.rx, toe.ry)));
    }
    return p;
}

QPainterPath book()
{
    QPainterPath left;
    left.moveTo(11.3, 6);
    left.cubicTo(8.5, 4.4, 5, 4.2, 1.8, 5.2);
    left.lineTo(1.8, 19.4);
    left.cubicTo(5, 18.4, 8.5, 18.7, 11.3, 20.3);
    left.closeSubpath();
    QTransform mirror;
    mirror.translate(24, 0);
    mirror.scale(-1, 1);
    QPainterPath p = left.united(mirror.map(left));
    for (int i = 0; i < 3; ++i) {
        const qreal y = 9 + i * 3;
        p = p.subtracted(
            stroked(line(QPointF(4, y - 0.4), QPointF(9.4, y + 0.4)), 0.9, Qt::FlatCap));
        p = p.subtracted(
            stroked(line(QPointF(14.6, y + 0.4), QPointF(20, y - 0.4)), 0.9, Qt::FlatCap));
    }
    return p;
}

QPainterPath chart()
{
    QPainterPath p = stroked(polyline({QPointF(3, 3), QPointF(3, 21), QPointF(21, 21)}), 1.6);
    const qreal heights[] = {7, 12, 9, 15};
    for (int i = 0; i < 4; ++i)
        p = p.united(roundRect(QRectF(5.8 + i * 4, 19.2 - heights[i], 2.8, heights[i]), 0.6));
    return p;
}

QPainterPath advisor()
{
    QPainterPath letters = textPath("Aa", "DejaVu Sans", 13, true, false, QPointF(9, 8.5));
    QPainterPath p = letters.subtracted(ellipse(QPointF(15.5, 15.5), 6.3, 6.3));
    p = p.united(ring(QPointF(15.5, 15.5), 4.6, 1.7));
    p = p.united(stroked(line(QPointF(18.9, 18.9), QPointF(22, 22)), 2.4));
    return p;
}

QPainterPath forecast()
{
    QPainterPath moon
        = ellipse(QPointF(10, 12.5), 8.5, 8.5).subtracted(ellipse(QPointF(14, 9.5), 7.5, 7.5));
    moon = moon.united(star(QPointF(18.5, 16), 3.6, 1.2, 4));
    moon = moon.united(star(QPointF(19.5, 5), 2.2, 0.75, 4));
    return moon;
}

QPainterPath printer()
{
    QPainterPath body = roundRect(QRectF(2.5, 8.5, 19, 9), 2);
    body = body.subtracted(QPainterPath([] {
        QPainterPath slot;
        slot.addRect(QRectF(6, 13.5, 12, 7));
        return slot;
    }()));
    QPainterPath paperTop = stroked(
        polyline({QPointF(7, 8), QPointF(7, 3.8), QPointF(17, 3.8), QPointF(17, 8)}), 1.5);
    QPainterPath paperOut = document(QRectF(7, 14.5, 10, 6.5), 0);
    paperOut
        = paperOut.subtracted(stroked(line(QPointF(9, 17), QPointF(15, 17)), 0.9, Qt::FlatCap));
    body = body.subtracted(ellipse(QPointF(18.2, 11.4), 0.9, 0.9));
    return body.united(paperTop).united(paperOut);
}

QPainterPath floppy()
{
    QPainterPath body = polygon({QPointF(3.5, 3.5), QPointF(17.5, 3.5), QPointF(20.5, 6.5),
                                 QPointF(20.5, 20.5), QPointF(3.5, 20.5)});
    body = stroked(body, 1.0).united(body);
    body = body.subtracted(roundRect(QRectF(7, 3, 9, 5.6), 0.6));
    body = body.united(roundRect(QRectF(12.6, 4.2, 2, 3.4), 0.3));
    body = body.subtracted(roundRect(QRectF(6.5, 12.2, 11, 7.3), 1));
    return body;
}

QPainterPath folder()
{
    QPainterPath back = polygon({QPointF(2.5, 5), QPointF(9.2, 5), QPointF(11.2, 7.3),
                                 QPointF(21.5, 7.3), QPointF(21.5, 19.5), QPointF(2.5, 19.5)});
    back = stroked(back, 1.2).united(back);
    QPainterPath front = polygon(
        {QPointF(5.3, 10.4), QPointF(23.2, 10.4), QPointF(20.8, 20.1), QPointF(2.3, 20.1)});
    return back.subtracted(stroked(front, 1.4)).united(front);
}

QPainterPath newDocument()
{
    QPainterPath doc = document(QRectF(4.5, 2.5, 13, 18), 4.5);
    doc = stroked(doc, 1.6).subtracted(ellipse(QPointF(17.5, 17.5), 6, 6));
    QPainterPath plus = stroked(line(QPointF(17.5, 13.2), QPointF(17.5, 21.8)), 2.2);
    plus = plus.united(stroked(line(QPointF(13.2, 17.5), QPointF(21.8, 17.5)), 2.2));
    doc = doc.united(stroked(polyline({QPointF(13, 2.5), QPointF(13, 7), QPointF(17.5, 7)}), 1.2));
    return doc.united(plus);
}

QPainterPath layouts()
{
    QPainterPath back = stroked(document(QRectF(7.5, 2.5, 13, 16), 0), 1.4);
    QPainterPath front = document(QRectF(3.5, 6, 13, 16), 3.5);
    back = back.subtracted(stroked(front, 2.4));
    for (int i = 0; i < 3; ++i)
        front = front.subtracted(
            stroked(line(QPointF(6, 11 + i * 3.3), QPointF(14 - (i == 2) * 3, 11 + i * 3.3)), 1.1,
                    Qt::FlatCap));
    return back.united(front);
}

QPainterPath person()
{
    QPainterPath p = ellipse(QPointF(12, 7.8), 4.3, 4.5);
    QPainterPath shoulders;
    shoulders.moveTo(3.5, 21.5);
    shoulders.cubicTo(3.5, 15.8, 7.5, 13.6, 12, 13.6);
    shoulders.cubicTo(16.5, 13.6, 20.5, 15.8, 20.5, 21.5);
    shoulders.closeSubpath();
    return p.united(shoulders);
}

QPainterPath gridGlyph()
{
    QPainterPath p = stroked(roundRect(QRectF(3, 3, 18, 18), 1.5), 1.5);
    for (const qreal c : {9.0, 15.0}) {
        p = p.united(stroked(line(QPointF(c, 3), QPointF(c, 21)), 1.0, Qt::FlatCap));
        p = p.united(stroked(line(QPointF(3, c), QPointF(21, c)), 1.0, Qt::FlatCap));
    }
    return p;
}

QPainterPath snap()
{
    QPainterPath p;
    for (const qreal c : {4.0, 10.0, 16.0})
        for (const qreal r : {4.0, 10.0, 16.0})
            p = p.united(ellipse(QPointF(c, r), 0.9, 0.9));
    QPainterPath arrowHead = arrow(QPointF(21, 21), QPointF(11.2, 11.2), 2.2, 5.2);
    return p.subtracted(stroked(arrowHead, 2.4)).united(arrowHead);
}

QPainterPath bounds()
{
    QPainterPath p;
    const QRectF r(4, 4, 16, 16);
    // Dashed edges between the corner grips.
    for (int i = 0; i < 2; ++i) {
        const qreal t = 8.6 + i * 4.6;
        p = p.united(
            stroked(line(QPointF(t, r.top()), QPointF(t + 2.2, r.top())), 1.4, Qt::FlatCap));
        p = p.united(
            stroked(line(QPointF(t, r.bottom()), QPointF(t + 2.2, r.bottom())), 1.4, Qt::FlatCap));
        p = p.united(
            stroked(line(QPointF(r.left(), t), QPointF(r.left(), t + 2.2)), 1.4, Qt::FlatCap));
        p = p.united(
            stroked(line(QPointF(r.right(), t), QPointF(r.right(), t + 2.2)), 1.4, Qt::FlatCap));
    }
    for (const QPointF &c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        p = p.united(roundRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5), 0.8));
    return p;
}

QPainterPath properties()
{
    QPainterPath p;
    const qreal knobs[] = {15.5, 8.0, 13.0};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 5.5 + i * 6.5;
        QPainterPath track = stroked(line(QPointF(3, y), QPointF(21, y)), 1.5);
        track = track.subtracted(ellipse(QPointF(knobs[i], y), 3.6, 3.6));
        p = p.united(track).united(ellipse(QPointF(knobs[i], y), 2.5, 2.5));
    }
    return p;
}

QPainterPath trash()
{
    QPainterPath p = roundRect(QRectF(3.5, 5.2, 17, 2.4), 0.9);
    p = p.united(stroked(
        polyline({QPointF(9.5, 5), QPointF(9.5, 3), QPointF(14.5, 3), QPointF(14.5, 5)}), 1.3));
    QPainterPath can
        = polygon({QPointF(5.6, 9), QPointF(18.4, 9), QPointF(17.2, 21.5), QPointF(6.8, 21.5)});
    for (const qreal x : {9.4, 12.0, 14.6})
        can = can.subtracted(stroked(line(QPointF(x, 11.5), QPointF(x, 19)), 1.2));
    return p.united(can);
}

QPainterPath stacked(bool frontFilled)
{
    const QRectF backRect(2.5, 2.5, 12.5, 12.5), frontRect(9, 9, 12.5, 12.5);
    QPainterPath front = roundRect(frontRect, 1.6);
    QPainterPath back = roundRect(backRect, 1.6);
    if (frontFilled) {
        back = stroked(back, 1.5).subtracted(stroked(front, 3.2).united(front));
        return back.united(front);
    }
    QPainterPath frontOutline = stroked(front, 1.5);
    back = back.subtracted(stroked(front, 3.2).united(front));
    return back.united(frontOutline);
}

QPainterPath move()
{
    QPainterPath p;
    const QPointF c(12, 12);
    p = p.united(arrow(c, QPointF(12, 1), 3.0, 7.5));
    p = p.united(arrow(c, QPointF(12, 23), 3.0, 7.5));
    p = p.united(arrow(c, QPointF(1, 12), 3.0, 7.5));
    p = p.united(arrow(c, QPointF(23, 12), 3.0, 7.5));
    return p;
}

QPainterPath scaleDiagonal()
{
    QPainterPath p = arrow(QPointF(12, 12), QPointF(2.5, 2.5), 3.2, 9);
    return p.united(arrow(QPointF(12, 12), QPointF(21.5, 21.5), 3.2, 9));
}

QPainterPath scaleContent()
{
    QPainterPath p = arrow(QPointF(12, 12), QPointF(1.5, 12), 3.2, 9);
    return p.united(arrow(QPointF(12, 12), QPointF(22.5, 12), 3.2, 9));
}

// Picture shown at its own resolution: a frame around a 2 x 2 pixel checker.
QPainterPath scaleContentReset()
{
    QPainterPath p = stroked(roundRect(QRectF(3, 3, 18, 18), 2), 3.0);
    p = p.united(roundRect(QRectF(7, 7, 5, 5), 0.5));
    return p.united(roundRect(QRectF(12, 12, 5, 5), 0.5));
}

QPainterPath dataField()
{
    QPainterPath p = roundRect(QRectF(2.5, 3.5, 19, 17), 2.5);
    p = p.subtracted(roundRect(QRectF(4.5, 9, 15, 9.5), 0.8));
    p = p.united(stroked(line(QPointF(4.5, 13.75), QPointF(19.5, 13.75)), 1.2, Qt::FlatCap));
    p = p.united(stroked(line(QPointF(10, 9), QPointF(10, 18.5)), 1.2, Qt::FlatCap));
    return p;
}

QPainterPath variable()
{
    QPainterPath tag = polygon({QPointF(2.5, 5.5), QPointF(14, 5.5), QPointF(21.5, 12),
                                QPointF(14, 18.5), QPointF(2.5, 18.5)});
    tag = stroked(tag, 1.5).united(tag);
    tag = tag.subtracted(ellipse(QPointF(15, 12), 2.4, 2.4));
    return tag;
}

QPainterPath objects()
{
    QPainterPath square = roundRect(QRectF(2, 10.5, 11.5, 11.5), 1.5);
    QPainterPath circle = ellipse(QPointF(15.5, 8.5), 6.5, 6.5);
    return square.subtracted(ellipse(QPointF(15.5, 8.5), 8.3, 8.3)).united(circle);
}

} // namespace

QPainterPath path(Glyph glyph)
{
    switch (glyph) {
    case Numerology:
        return numerology();
    case Matrix:
        return matrix();
    case Love:
        return love();
    case Star: {
        QPainterPath p = star(QPointF(11.2, 12.8), 10.5, 4.4);
        return p.united(star(QPointF(20.2, 4.2), 2.6, 0.8, 4));
    }
    case Paw:
        return paw();
    case Book:
        return book();
    case Chart:
        return chart();
    case Advisor:
        return advisor();
    case Forecast:
        return forecast();
    case Menu: {
        QPainterPath p;
        for (const qreal y : {6.5, 12.0, 17.5})
            p = p.united(stroked(line(QPointF(5, y), QPointF(19, y)), 2.6));
        return p;
    }
    case Reset:
        return circularArrow(QPointF(12, 12.8), 7.6, 120, 270, 2.8);
    case Info:
        return ellipse(QPointF(12, 5.8), 1.9, 1.9)
            .united(roundRect(QRectF(10.5, 9.5, 3, 10.5), 1.2));
    case Export: {
        QPainterPath p = arrow(QPointF(12, 3.5), QPointF(12, 15.5), 2.4, 6.5);
        return p.united(stroked(
            polyline({QPointF(4.5, 14), QPointF(4.5, 20), QPointF(19.5, 20), QPointF(19.5, 14)}),
            2.2));
    }
    case Print:
        return printer();
    case Floppy:
        return floppy();
    case Folder:
        return folder();
    case NewDocument:
        return newDocument();
    case Layouts:
        return layouts();
    case Person:
        return person();
    case Bold:
        return textPath("B", "DejaVu Serif", 17, true, false, QPointF(12, 12));
    case Italic:
        return textPath("I", "DejaVu Serif", 17, true, true, QPointF(12, 12));
    case Underline: {
        QPainterPath p = textPath("U", "DejaVu Serif", 14, true, false, QPointF(12, 10));
        return p.united(roundRect(QRectF(5.5, 19.2, 13, 1.9), 0.5));
    }
    case ZoomNormal:
        return magnifier().united(textPath("1", "DejaVu Sans", 7, true, false, QPointF(10, 10)));
    case ZoomIn: {
        QPainterPath p = magnifier();
        p = p.united(stroked(line(QPointF(7, 10), QPointF(13, 10)), 1.7, Qt::FlatCap));
        return p.united(stroked(line(QPointF(10, 7), QPointF(10, 13)), 1.7, Qt::FlatCap));
    }
    case ZoomOut:
        return magnifier().united(stroked(line(QPointF(7, 10), QPointF(13, 10)), 1.7, Qt::FlatCap));
    case Grid:
        return gridGlyph();
    case Snap:
        return snap();
    case Bounds:
        return bounds();
    case Properties:
        return properties();
    case Trash:
        return trash();
    case BringFront:
        return stacked(true);
    case SendBack:
        return stacked(false);
    case Move:
        return move();
    case ScaleDiagonal:
        return scaleDiagonal();
    case Rotate:
        return circularArrow(QPointF(12, 12.5), 7.4, 235, -255, 3.2);
    case ScaleContent:
        return scaleContent();
    case ScaleContentReset:
        return scaleContentReset();
    case DataField:
        return dataField();
    case Variable:
        return variable();
    case Objects:
        return objects();
    case Check:
        return stroked(polyline({QPointF(4, 12.5), QPointF(9.5, 18), QPointF(20.5, 5.5)}), 3.6);
    case ArrowDown:
        return polygon({QPointF(1, 4), QPointF(23, 4), QPointF(12, 21)});
    case BranchClosed:
        return polygon({QPointF(6, 2), QPointF(20, 12), QPointF(6, 22)});
    case BranchOpen:
        return polygon({QPointF(2, 6), QPointF(22, 6), QPointF(12, 20)});
    case Heart:
        return heart(QRectF(2, 3.5, 20, 17.5));
    }
    return {};
}

} // namespace Glyphs
