#pragma once

#include "glyphs.h"

#include <QColor>
#include <QImage>
#include <QPainter>

// The Chocolate palette and the drawing primitives every skin picture is made of.
// The light falls from above: surfaces darken downwards, carry a 1-pixel highlight
// on their upper edge and a dark outline.
namespace Skin {

namespace Palette {
const QColor window(0x1e, 0x19, 0x17);
const QColor surface(0x2c, 0x24, 0x20);
const QColor groove(0x35, 0x2b, 0x27);
const QColor button(0x44, 0x37, 0x2f);
const QColor buttonHover(0x54, 0x44, 0x3a);
const QColor buttonPressed(0x2d, 0x24, 0x1f);
const QColor panel(65, 53, 46);
const QColor panelHighlight(130, 106, 92);
const QColor border(0x5c, 0x52, 0x4c);
const QColor borderDark(0x40, 0x39, 0x35);
const QColor frameOuter(93, 84, 78);
const QColor frameInner(57, 46, 40);
const QColor cream(0xed, 0xdb, 0xb2);
const QColor creamDim(0xc4, 0xb0, 0x8c);
const QColor creamBright(0xfb, 0xf0, 0xd6);
const QColor tan(0xb0, 0x94, 0x6c);
const QColor accent(0x9c, 0xb6, 0x2d);
const QColor shadow(0x0c, 0x09, 0x08);
} // namespace Palette

QColor lighter(const QColor &c, int percent);
QColor withAlpha(QColor c, int alpha);

// A filled, outlined shape with a vertical gradient and a highlight on its top edge.
struct Surface
{
    QColor top;
    QColor bottom;
    QColor outline; // invalid: no outline
    QColor highlight; // invalid: no highlight
};

void drawRoundedSurface(QPainter &p, const QRectF &rect, qreal radius, const Surface &s);
void drawEllipseSurface(QPainter &p, const QRectF &rect, const Surface &s);

// Fills a glyph (24 x 24 design grid) scaled into a box, with a top-to-bottom gradient
// and, when shadowAlpha > 0, a soft drop shadow one pixel below.
void drawGlyph(QPainter &p, Glyphs::Glyph glyph, const QRectF &box, const QColor &top,
               const QColor &bottom, int shadowAlpha = 0);
void drawGlyphPath(QPainter &p, const QPainterPath &glyph, const QRectF &box, const QColor &top,
                   const QColor &bottom, int shadowAlpha = 0);

// A soft round glow, transparent at its rim.
void drawGlow(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour);

QImage blankImage(int width, int height);

} // namespace Skin
