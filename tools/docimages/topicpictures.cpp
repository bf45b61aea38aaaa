#include "topicpictures.h"

#include "docart.h"

#include <QtMath>

using DocArt::Emblem;
using DocArt::starPath;
using DocArt::strokeOf;
using DocArt::textPath;

namespace {

// Card tones: the personal reading in earthy reds and ambers, the psycho-matrix
// in wine, the compatibility reading in rose.
const QColor terracotta(0xa6, 0x4b, 0x2a);
const QColor amber(0x9e, 0x5e, 0x1c);
const QColor russet(0x8c, 0x3b, 0x2e);
const QColor ochre(0x94, 0x6a, 0x24);
const QColor wine(0x7e, 0x2f, 0x3f);
const QColor rose(0x9a, 0x3e, 0x4e);

QPainterPath circle(qreal x, qreal y, qreal r)
{
    QPainterPath path;
    path.addEllipse(QPointF(x, y), r, r);
    return path;
}

QPainterPath roundRect(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath heart(const QPointF &c, qreal s)
{
    // s = half width
    QPainterPath path;
    const qreal x = c.x();
    const qreal y = c.y();
    path.moveTo(x, y + s * 0.95);
    path.cubicTo(x - s * 1.05, y + s * 0.25, x - s * 1.1, y - s * 0.65, x - s * 0.52, y - s * 0.8);
    path.cubicTo(x - s * 0.2, y - s * 0.9, x, y - s * 0.62, x, y - s * 0.42);
    path.cubicTo(x, y - s * 0.62, x + s * 0.2, y - s * 0.9, x + s * 0.52, y - s * 0.8);
    path.cubicTo(x + s * 1.1, y - s * 0.65, x + s * 1.05, y + s * 0.25, x, y + s * 0.95);
    path.closeSubpath();
    return path;
}

QPainterPath flame(const QPointF &base, qreal h, qreal w)
{
    const qreal x = base.x();
    const qreal y = base.y();
    QPainterPath path;
    path.moveTo(x, y);
    path.cubicTo(x - w * 0.62, y, x - w * 0.6, y - h * 0.42, x - w * 0.28, y - h * 0.62);
    path.cubicTo(x - w * 0.1, y - h * 0.75, x - w * 0.18, y - h * 0.88, x - w * 0.05, y - h);
    path.cubicTo(x + w * 0.45, y - h * 0.72, x + w * 0.62, y - h * 0.35, x + w * 0.5, y - h * 0.2);
    path.cubicTo(x + w * 0.45, y - h * 0.05, x + w * 0.25, y, x, y);
    path.closeSubpath();
    return path;
}

QPainterPath calendarSheet(qreal x, qreal y, qreal w, qreal h, QPainterPath *detail)
{
    QPainterPath sheet = roundRect(x, y, w, h, 6);
    // Binding rings stand above the sheet.
    QPainterPath rings;
    for (qreal fx : {0.28, 0.72}) {
        QPainterPath ring;
        ring.addRoundedRect(QRectF(x + w * fx - 3, y - 7, 6, 14), 3, 3);
        rings = rings.united(ring);
    }
    sheet = sheet.united(rings);
    if (detail) {
        detail->moveTo(x + 2, y + h * 0.26);
        detail->lineTo(x + w - 2, y + h * 0.26);
    }
    return sheet;
}

// Cells of the psycho-matrix square: digits run down the columns.
QPointF matrixCell(int digit, const QRectF &grid)
{
    const int col = (digit - 1) / 3;
    const int row = (digit - 1) % 3;
    const qreal cw = grid.width() / 3.0;
    const qreal ch = grid.height() / 3.0;
    return QPointF(grid.left() + cw * (col + 0.5), grid.top() + ch * (row + 0.5));
}

Emblem digitEmblem(int digit)
{
    Emblem e;
    const QRectF grid(8, 8, 84, 84);
    // The lit cell of the digit, and a quiet frame of the other eight.
    for (int d = 1; d <= 9; ++d) {
        const QPointF c = matrixCell(d, grid);
        QPainterPath square;
        if (d == digit) {
            square.addRoundedRect(QRectF(c.x() - 13, c.y() - 13, 26, 26), 5, 5);
            e.body = e.body.united(square);
        } else {
            square.addRoundedRect(QRectF(c.x() - 11, c.y() - 11, 22, 22), 5, 5);
            e.body = e.body.united(strokeOf(square, 1.8));
        }
    }
    e.engraved = textPath(QString::number(digit), matrixCell(digit, grid), 22);
    return e;
}

Emblem lineEmblem(int a, int b, int c)
{
    Emblem e;
    const QRectF grid(8, 8, 84, 84);
    for (int d = 1; d <= 9; ++d) {
        const QPointF p = matrixCell(d, grid);
        if (d == a || d == b || d == c) {
            e.body = e.body.united(roundRect(p.x() - 12, p.y() - 12, 24, 24, 5));
            e.engraved.addPath(textPath(QString::number(d), p, 15));
        } else {
            e.body = e.body.united(textPath(QString::number(d), p, 12, false));
        }
    }
    QPainterPath through;
    through.moveTo(matrixCell(a, grid));
    through.lineTo(matrixCell(c, grid));
    e.body = e.body.united(strokeOf(through, 5));
    return e;
}

Emblem lifePathEmblem()
{
    Emblem e;
    QPainterPath road;
    road.moveTo(18, 90);
    road.cubicTo(30, 72, 70, 76, 60, 56);
    road.cubicTo(52, 40, 30, 44, 42, 30);
    road.cubicTo(48, 23, 58, 24, 64, 24);
    e.body = strokeOf(road, 9).united(starPath(QPointF(74, 20), 13, 5.5, 5));
    QPainterPath dashes;
    dashes.moveTo(18, 90);
    dashes.cubicTo(30, 72, 70, 76, 60, 56);
    dashes.cubicTo(52, 40, 30, 44, 42, 30);
    QPainterPathStroker dash;
    dash.setWidth(1.6);
    dash.setDashPattern({3, 3});
    e.detail = dash.createStroke(dashes);
    e.detailWidth = 0.8;
    return e;
}

Emblem birthdayEmblem()
{
    Emblem e;
    e.body = calendarSheet(22, 24, 56, 60, &e.detail);
    e.engraved = textPath(QStringLiteral("1"), QPointF(50, 62), 30);
    return e;
}

Emblem expressionEmblem()
{
    Emblem e;
    QPainterPath feather;
    feather.moveTo(26, 84);
    feather.cubicTo(30, 56, 52, 26, 84, 14);
    feather.cubicTo(80, 40, 62, 66, 30, 80);
    feather.closeSubpath();
    QPainterPath ink;
    ink.moveTo(18, 88);
    ink.cubicTo(30, 82, 38, 92, 50, 86);
    ink.cubicTo(58, 82, 64, 90, 74, 86);
    e.body = feather.united(strokeOf(ink, 3));
    e.detail.moveTo(28, 82);
    e.detail.cubicTo(44, 62, 62, 38, 80, 18);
    for (int i = 0; i < 5; ++i) {
        const qreal t = 0.25 + i * 0.13;
        const QPointF p(28 + (80 - 28) * t, 82 + (18 - 82) * t);
        e.detail.moveTo(p);
        e.detail.lineTo(p + QPointF(8, 2));
    }
    e.detailWidth = 1.6;
    return e;
}

Emblem heartEmblem()
{
    Emblem e;
    e.body = heart(QPointF(50, 52), 34);
    e.detail.moveTo(34, 34);
    e.detail.cubicTo(28, 40, 28, 48, 32, 54);
    e.detailWidth = 3;
    return e;
}

Emblem personalityEmblem()
{
    Emblem e;
    QPainterPath mask;
    mask.moveTo(16, 34);
    mask.cubicTo(30, 24, 70, 24, 84, 34);
    mask.cubicTo(86, 58, 70, 82, 50, 84);
    mask.cubicTo(30, 82, 14, 58, 16, 34);
    mask.closeSubpath();
    QPainterPath eyes;
    for (qreal cx : {36.0, 64.0}) {
        QPainterPath eye;
        eye.moveTo(cx - 9, 46);
        eye.quadTo(cx, 37, cx + 9, 46);
        eye.quadTo(cx, 51, cx - 9, 46);
        eyes.addPath(eye);
    }
    QPainterPath smile;
    smile.moveTo(38, 66);
    smile.quadTo(50, 74, 62, 66);
    e.body = mask.subtracted(eyes).subtracted(strokeOf(smile, 3.5));
    return e;
}

Emblem karmicDebtsEmblem()
{
    Emblem e;
    QPainterPath loop;
    for (int i = 0; i <= 120; ++i) {
        const qreal t = i * 2 * M_PI / 120;
        const qreal d = 1 + qSin(t) * qSin(t);
        const QPointF p(50 + 34 * qCos(t) / d, 50 + 34 * qSin(t) * qCos(t) / d);
        if (i == 0)
            loop.moveTo(p);
        else
            loop.lineTo(p);
    }
    e.body = strokeOf(loop, 7);
    e.body = e.body.united(textPath(QStringLiteral("13"), QPointF(22, 20), 12));
    e.body = e.body.united(textPath(QStringLiteral("14"), QPointF(78, 20), 12));
    e.body = e.body.united(textPath(QStringLiteral("16"), QPointF(22, 80), 12));
    e.body = e.body.united(textPath(QStringLiteral("19"), QPointF(78, 80), 12));
    return e;
}

Emblem treeEmblem()
{
    Emblem e;
    QPainterPath crown = circle(50, 38, 22).united(circle(32, 50, 16)).united(circle(68, 50, 16));
    crown = crown.united(circle(50, 54, 16));
    QPainterPath trunk;
    trunk.moveTo(45, 62);
    trunk.lineTo(44, 84);
    trunk.quadTo(36, 88, 30, 88);
    trunk.lineTo(70, 88);
    trunk.quadTo(64, 88, 56, 84);
    trunk.lineTo(55, 62);
    trunk.closeSubpath();
    e.body = crown.united(trunk);
    e.detail.moveTo(50, 80);
    e.detail.lineTo(50, 58);
    e.detail.lineTo(40, 48);
    e.detail.moveTo(50, 62);
    e.detail.lineTo(60, 50);
    e.detailWidth = 2.2;
    return e;
}

Emblem bulbEmblem()
{
    Emblem e;
    QPainterPath bulb = circle(50, 42, 20);
    QPainterPath neck;
    neck.moveTo(38, 52);
    neck.lineTo(42, 68);
    neck.lineTo(58, 68);
    neck.lineTo(62, 52);
    neck.closeSubpath();
    bulb = bulb.united(neck).united(roundRect(41, 68, 18, 12, 3));
    QPainterPath rays;
    for (int i = 0; i < 7; ++i) {
        const qreal a = qDegreesToRadians(-180.0 + i * 30.0);
        rays.moveTo(50 + 26 * qCos(a), 42 + 26 * qSin(a));
        rays.lineTo(50 + 34 * qCos(a), 42 + 34 * qSin(a));
    }
    e.body = bulb.united(strokeOf(rays, 3.2));
    e.detail.moveTo(41, 72);
    e.detail.lineTo(59, 72);
    e.detail.moveTo(41, 76);
    e.detail.lineTo(59, 76);
    e.detail.moveTo(45, 64);
    e.detail.lineTo(45, 50);
    e.detail.quadTo(50, 40, 55, 50);
    e.detail.lineTo(55, 64);
    e.detailWidth = 1.8;
    return e;
}

Emblem bookEmblem()
{
    Emblem e;
    QPainterPath left;
    left.moveTo(50, 34);
    left.cubicTo(40, 26, 24, 26, 14, 30);
    left.lineTo(14, 76);
    left.cubicTo(24, 72, 40, 72, 50, 80);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(50, 34);
    right.cubicTo(60, 26, 76, 26, 86, 30);
    right.lineTo(86, 76);
    right.cubicTo(76, 72, 60, 72, 50, 80);
    right.closeSubpath();
    e.body = left.united(right);
    e.detail.moveTo(50, 34);
    e.detail.lineTo(50, 80);
    for (int i = 0; i < 4; ++i) {
        const qreal y = 40 + i * 8;
        e.detail.moveTo(20, y);
        e.detail.cubicTo(28, y - 2, 38, y - 2, 44, y + 2);
        e.detail.moveTo(56, y + 2);
        e.detail.cubicTo(62, y - 2, 72, y - 2, 80, y);
    }
    e.detailWidth = 1.6;
    return e;
}

Emblem scalesEmblem()
{
    Emblem e;
    QPainterPath frame;
    frame.moveTo(50, 20);
    frame.lineTo(50, 80);
    frame.moveTo(18, 30);
    frame.lineTo(82, 30);
    frame.moveTo(22, 30);
    frame.lineTo(12, 56);
    frame.moveTo(22, 30);
    frame.lineTo(32, 56);
    frame.moveTo(78, 30);
    frame.lineTo(68, 56);
    frame.moveTo(78, 30);
    frame.lineTo(88, 56);
    QPainterPath pans;
    for (qreal cx : {22.0, 78.0}) {
        QPainterPath pan;
        pan.moveTo(cx - 13, 56);
        pan.lineTo(cx + 13, 56);
        pan.cubicTo(cx + 11, 66, cx - 11, 66, cx - 13, 56);
        pans.addPath(pan);
    }
    e.body = strokeOf(frame, 2.6)
                 .united(pans)
                 .united(circle(50, 19, 5))
                 .united(roundRect(34, 78, 32, 7, 3));
    return e;
}

Emblem flameEmblem()
{
    Emblem e;
    e.body = flame(QPointF(50, 88), 76, 52);
    e.detail.addPath(flame(QPointF(50, 84), 34, 24));
    e.detailWidth = 2.2;
    return e;
}

Emblem moonEmblem()
{
    Emblem e;
    e.body = circle(44, 52, 32).subtracted(circle(60, 44, 28));
    e.body = e.body.united(starPath(QPointF(72, 64), 9, 3.6, 5));
    e.body = e.body.united(starPath(QPointF(62, 22), 6, 2.4, 5));
    e.body = e.body.united(starPath(QPointF(84, 38), 5, 2, 5));
    return e;
}

Emblem mountainsEmblem()
{
    Emblem e;
    QPainterPath range;
    range.moveTo(8, 84);
    range.lineTo(28, 48);
    range.lineTo(38, 60);
    range.lineTo(56, 26);
    range.lineTo(70, 50);
    range.lineTo(78, 40);
    range.lineTo(94, 84);
    range.closeSubpath();
    e.body = range.united(circle(24, 24, 7));
    e.detail.moveTo(48, 40);
    e.detail.lineTo(53, 37);
    e.detail.lineTo(56, 42);
    e.detail.lineTo(60, 37);
    e.detail.lineTo(64, 40);
    e.detail.moveTo(22, 60);
    e.detail.lineTo(28, 56);
    e.detail.lineTo(32, 60);
    e.detailWidth = 2.2;
    return e;
}

Emblem stepsEmblem()
{
    Emblem e;
    QPainterPath steps;
    steps.moveTo(10, 86);
    steps.lineTo(10, 72);
    steps.lineTo(30, 72);
    steps.lineTo(30, 58);
    steps.lineTo(50, 58);
    steps.lineTo(50, 44);
    steps.lineTo(70, 44);
    steps.lineTo(70, 30);
    steps.lineTo(90, 30);
    steps.lineTo(90, 86);
    steps.closeSubpath();
    QPainterPath pole;
    pole.moveTo(80, 30);
    pole.lineTo(80, 8);
    QPainterPath pennant;
    pennant.moveTo(80, 8);
    pennant.lineTo(94, 13);
    pennant.lineTo(80, 18);
    pennant.closeSubpath();
    e.body = steps.united(strokeOf(pole, 2.2)).united(pennant);
    return e;
}

Emblem yearWheelEmblem()
{
    Emblem e;
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 34, 34);
    e.body = strokeOf(ring, 3);
    for (int i = 0; i < 9; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + i * 40.0);
        const QPointF p(50 + 34 * qCos(a), 50 + 34 * qSin(a));
        e.body = e.body.united(circle(p.x(), p.y(), i == 0 ? 7 : 4.2));
    }
    QPainterPath hand;
    hand.moveTo(50, 50);
    hand.lineTo(50 + 22 * qCos(qDegreesToRadians(-50.0)), 50 + 22 * qSin(qDegreesToRadians(-50.0)));
    e.body = e.body.united(strokeOf(hand, 4)).united(circle(50, 50, 5));
    e.engraved = textPath(QStringLiteral("1"), QPointF(50, 16), 9);
    return e;
}

Emblem twinFlamesEmblem()
{
    Emblem e;
    QPainterPath left = flame(QPointF(40, 86), 66, 40);
    QTransform mirror;
    mirror.translate(100, 0);
    mirror.scale(-1, 1);
    QPainterPath right = mirror.map(flame(QPointF(40, 86), 66, 40));
    e.body = left.united(right);
    e.detail.addPath(flame(QPointF(40, 82), 28, 16));
    e.detail.addPath(mirror.map(flame(QPointF(40, 82), 28, 16)));
    e.detailWidth = 1.8;
    return e;
}

Emblem bubblesEmblem()
{
    Emblem e;
    QPainterPath a = roundRect(10, 18, 52, 38, 12);
    QPainterPath tailA;
    tailA.moveTo(20, 52);
    tailA.lineTo(16, 66);
    tailA.lineTo(32, 54);
    tailA.closeSubpath();
    QPainterPath b = roundRect(38, 42, 52, 38, 12);
    QPainterPath tailB;
    tailB.moveTo(80, 76);
    tailB.lineTo(84, 90);
    tailB.lineTo(68, 78);
    tailB.closeSubpath();
    QPainterPath gap = strokeOf(roundRect(38, 42, 52, 38, 12), 5);
    e.body = a.united(tailA).subtracted(gap).united(b).united(tailB);
    e.detail.addPath(textPath(QStringLiteral("A"), QPointF(30, 36), 16));
    e.detail.addPath(textPath(QStringLiteral("B"), QPointF(64, 61), 16));
    e.detailWidth = 1.2;
    return e;
}

Emblem twoPathsEmblem()
{
    Emblem e;
    QPainterPath paths;
    paths.moveTo(12, 90);
    paths.cubicTo(20, 66, 46, 64, 50, 44);
    paths.moveTo(88, 90);
    paths.cubicTo(80, 66, 54, 64, 50, 44);
    paths.moveTo(50, 44);
    paths.lineTo(50, 32);
    e.body = strokeOf(paths, 8).united(starPath(QPointF(50, 20), 13, 5.5, 5));
    return e;
}

Emblem homeEmblem()
{
    Emblem e;
    QPainterPath house;
    house.moveTo(50, 14);
    house.lineTo(88, 46);
    house.lineTo(80, 46);
    house.lineTo(80, 86);
    house.lineTo(20, 86);
    house.lineTo(20, 46);
    house.lineTo(12, 46);
    house.closeSubpath();
    QPainterPath chimney = roundRect(66, 18, 9, 18, 1);
    e.body = house.united(chimney);
    e.detail.addPath(heart(QPointF(50, 60), 13));
    e.detailWidth = 2.2;
    return e;
}

Emblem twoCalendarsEmblem()
{
    Emblem e;
    QPainterPath back = calendarSheet(14, 22, 44, 48, nullptr);
    QPainterPath frontDetail;
    QPainterPath front = calendarSheet(42, 40, 44, 48, &frontDetail);
    e.body = back.subtracted(strokeOf(front, 6)).united(front);
    e.detail = frontDetail;
    e.engraved = heart(QPointF(64, 67), 10);
    return e;
}

Emblem ringsEmblem()
{
    Emblem e;
    QPainterPath a;
    a.addEllipse(QPointF(37, 50), 24, 24);
    QPainterPath b;
    b.addEllipse(QPointF(63, 50), 24, 24);
    QPainterPath topHalf;
    topHalf.addRect(0, 0, 100, 50);
    QPainterPath bottomHalf;
    bottomHalf.addRect(0, 50, 100, 50);
    // Interlaced: the left ring passes over the right one at the top crossing
    // and under it at the bottom one.
    const QPainterPath ringA = strokeOf(a, 6).subtracted(strokeOf(b, 11).intersected(bottomHalf));
    const QPainterPath ringB = strokeOf(b, 6).subtracted(strokeOf(a, 11).intersected(topHalf));
    e.body = ringA.united(ringB)
                 .united(textPath(QStringLiteral("1"), QPointF(25, 50), 16))
                 .united(textPath(QStringLiteral("1"), QPointF(75, 50), 16));
    return e;
}

Emblem nineStarEmblem()
{
    Emblem e;
    QPainterPath star;
    for (int i = 0; i <= 9; ++i) {
        const int k = (i * 4) % 9;
        const qreal a = qDegreesToRadians(-90.0 + k * 40.0);
        const QPointF p(50 + 30 * qCos(a), 50 + 30 * qSin(a));
        if (i == 0)
            star.moveTo(p);
        else
            star.lineTo(p);
    }
    QPainterPath ring;
    ring.addEllipse(QPointF(50, 50), 30, 30);
    e.body = strokeOf(star, 2.4).united(strokeOf(ring, 2.4));
    for (int d = 1; d <= 9; ++d) {
        const qreal a = qDegreesToRadians(-90.0 + (d % 9) * 40.0);
        e.body = e.body.united(
            textPath(QString::number(d), QPointF(50 + 42 * qCos(a), 50 + 42 * qSin(a)), 11));
    }
    e.body = e.body.united(circle(50, 50, 5));
    return e;
}

struct Topic
{
    const char *name;
    QColor tone;
    Emblem (*emblem)();
};

Emblem digit1()
{
    return digitEmblem(1);
}
Emblem digit2()
{
    return digitEmblem(2);
}
Emblem digit3()
{
    return digitEmblem(3);
}
Emblem digit4()
{
    return digitEmblem(4);
}
Emblem digit5()
{
    return digitEmblem(5);
}
Emblem digit6()
{
    return digitEmblem(6);
}
Emblem digit7()
{
    return digitEmblem(7);
}
Emblem digit8()
{
    return digitEmblem(8);
}
Emblem digit9()
{
    return digitEmblem(9);
}
Emblem line147()
{
    return lineEmblem(1, 4, 7);
}
Emblem line258()
{
    return lineEmblem(2, 5, 8);
}
Emblem line369()
{
    return lineEmblem(3, 6, 9);
}
Emblem line123()
{
    return lineEmblem(1, 2, 3);
}
Emblem line456()
{
    return lineEmblem(4, 5, 6);
}
Emblem line789()
{
    return lineEmblem(7, 8, 9);
}
Emblem line159()
{
    return lineEmblem(1, 5, 9);
}
Emblem line357()
{
    return lineEmblem(3, 5, 7);
}

const Topic topics[] = {
    {"Life path", terracotta, lifePathEmblem},
    {"Birthday", amber, birthdayEmblem},
    {"Expression and planes of expression", russet, expressionEmblem},
    {"Heart's desire", russet, heartEmblem},
    {"Personality", ochre, personalityEmblem},
    {"Karmic debts", terracotta, karmicDebtsEmblem},
    {"Maturity", ochre, treeEmblem},
    {"Rational thought", amber, bulbEmblem},
    {"Karmic lessons", russet, bookEmblem},
    {"Balance", ochre, scalesEmblem},
    {"Hidden passion", terracotta, flameEmblem},
    {"Subconscious confidence", russet, moonEmblem},
    {"Pinnacles", amber, mountainsEmblem},
    {"Challenges and age spans", terracotta, stepsEmblem},
    {"Personal year, month and day", ochre, yearWheelEmblem},
    {"Character (1)", wine, digit1},
    {"Energy (2)", wine, digit2},
    {"Interest (3)", wine, digit3},
    {"Health (4)", wine, digit4},
    {"Intuition (5)", wine, digit5},
    {"Labour (6)", wine, digit6},
    {"Luck (7)", wine, digit7},
    {"Duty (8)", wine, digit8},
    {"Memory (9)", wine, digit9},
    {"Purposeful (1-4-7)", russet, line147},
    {"Family formation (2-5-8)", russet, line258},
    {"Stability (3-6-9)", russet, line369},
    {"Self appraisal (1-2-3)", russet, line123},
    {"Finance (4-5-6)", russet, line456},
    {"Talent (7-8-9)", russet, line789},
    {"Spirituality (1-5-9)", russet, line159},
    {"Sexual life (3-5-7)", russet, line357},
    {"Carnal interests", rose, twinFlamesEmblem},
    {"Name compatibility", rose, bubblesEmblem},
    {"Life path compatibility", rose, twoPathsEmblem},
    {"Family", rose, homeEmblem},
    {"Birthday compatibility", rose, twoCalendarsEmblem},
    {"Character compatibility", rose, ringsEmblem},
    {"Introduction", terracotta, nineStarEmblem},
};

constexpr int kTopicCount = int(sizeof(topics) / sizeof(topics[0]));
static_assert(kTopicCount == 39, "one picture per topic, res01 to res39");

} // namespace

QVector<TopicPicture> topicPictures()
{
    QVector<TopicPicture> list;
    for (int i = 0; i < kTopicCount; ++i)
        list.append({QStringLiteral("res%1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')),
                     QString::fromLatin1(topics[i].name)});
    return list;
}

QImage renderTopicPicture(int number)
{
    const Topic &topic = topics[qBound(1, number, kTopicCount) - 1];
    const QSize size(kTopicPictureSize, kTopicPictureSize);
    QImage image = DocArt::cardImage(size, topic.tone, 16);
    const QRectF box(26, 26, 108, 108);
    DocArt::drawBackdrop(image, box, topic.tone);
    DocArt::drawEmblem(image, topic.emblem(), box, topic.tone);
    return image;
}
