#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

// The drawing kit shared by the report pictures and the portrait cards: a warm
// card with a soft radial light and a gold rim, and emblems filled with a
// cream-to-gold gradient over a blurred shadow.
namespace DocArt {

namespace Palette {
const QColor paper(0xff, 0xff, 0xff);
const QColor cream(0xff, 0xf4, 0xdc);
const QColor gold(0xe2, 0xaa, 0x4c);
const QColor goldDeep(0x9a, 0x62, 0x1e);
const QColor ink(0x2a, 0x14, 0x0c);
} // namespace Palette

// An emblem on a 100 x 100 design grid: the body is filled with the gradient,
// the detail lines are engraved into it in the card's dark tone.
struct Emblem
{
    QPainterPath body;
    QPainterPath detail;
    qreal detailWidth = 2.4;
    QPainterPath engraved; // filled in the dark tone, e.g. a numeral on a lit cell
};

// The outline of path drawn with a round pen of the given width.
QPainterPath strokeOf(const QPainterPath &path, qreal width);
// Text as an outline, centred on centre; pixelSize is the cap height's scale.
QPainterPath textPath(const QString &text, const QPointF &centre, qreal pixelSize,
                      bool bold = true);
QPainterPath starPath(const QPointF &centre, qreal outer, qreal inner, int points,
                      qreal rotationDegrees = -90);

// A card of the given size in the tone base, corners on white.
QImage cardImage(const QSize &size, const QColor &base, qreal cornerRadius);
// Draws the emblem scaled from its 100 x 100 grid into box, with a shadow.
void drawEmblem(QImage &image, const Emblem &emblem, const QRectF &box, const QColor &base);
// Faint decoration behind an emblem: rings and a circle of nine dots.
void drawBackdrop(QImage &image, const QRectF &box, const QColor &base);

} // namespace DocArt
