#include "skinpictures.h"

#include "skinpainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

using namespace Skin;
using Glyphs::Glyph;
namespace P = Skin::Palette;

namespace {

using Painter = std::function<void(QPainter &, const QSize &)>;

// Normal and hovered looks of the small dark buttons of the main window.
struct ButtonLook
{
    Surface face;
    QColor glyphTop;
    QColor glyphBottom;
};

ButtonLook buttonLook(bool hover)
{
    if (hover)
        return {{QColor(0x6c, 0x5a, 0x4c), QColor(0x42, 0x36, 0x2e), QColor(0x8c, 0x7b, 0x6d),
                 QColor(0xa8, 0x93, 0x80)},
                P::creamBright,
                P::cream};
    return {{QColor(0x4f, 0x41, 0x38), QColor(0x2e, 0x25, 0x20), QColor(0x63, 0x56, 0x4c),
             QColor(0x7d, 0x6b, 0x5e)},
            P::creamDim,
            P::tan};
}

// The pictures of the tool-page buttons: a bevelled tile with a large pictogram.
// The main window frames them itself with a 1-pixel line.
Painter toolPageIcon(Glyph glyph)
{
    return [glyph](QPainter &p, const QSize &s) {
        const QRectF r(0, 0, s.width(), s.height());
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, QColor(0x45, 0x38, 0x30));
        fill.setColorAt(1, QColor(0x24, 0x1d, 0x1a));
        p.fillRect(r, fill);
        drawGlow(p, QPointF(r.center().x(), r.height() * 0.42), r.width() * 0.46,
                 withAlpha(P::cream, 34));
        p.setPen(QPen(withAlpha(QColor(0x8a, 0x76, 0x66), 150), 1));
        p.drawLine(QPointF(1.5, 1.5), QPointF(r.width() - 2.5, 1.5));
        p.setPen(QPen(withAlpha(P::shadow, 140), 1));
        p.drawLine(QPointF(1.5, r.height() - 2.5), QPointF(r.width() - 2.5, r.height() - 2.5));
        const qreal g = r.width() * 0.6;
        drawGlyph(p, glyph, QRectF((r.width() - g) / 2, (r.height() - g) / 2, g, g), P::creamBright,
                  P::tan, 170);
    };
}

Painter roundButton(Glyph glyph, bool hover)
{
    return [glyph, hover](QPainter &p, const QSize &s) {
        const ButtonLook look = buttonLook(hover);
        const QRectF r(0, 0, s.width(), s.height());
        drawEllipseSurface(p, r, look.face);
        const qreal m = s.width() * 0.18;
        drawGlyph(p, glyph, r.adjusted(m, m, -m, -m), look.glyphTop, look.glyphBottom, 150);
    };
}

Painter squareButton(Glyph glyph, bool hover)
{
    return [glyph, hover](QPainter &p, const QSize &s) {
        const ButtonLook look = buttonLook(hover);
        const QRectF r(0, 0, s.width(), s.height());
        drawRoundedSurface(p, r, 4, look.face);
        const qreal m = s.width() * 0.19;
        drawGlyph(p, glyph, r.adjusted(m, m, -m, -m), look.glyphTop, look.glyphBottom, 150);
    };
}

// A bare pictogram on a transparent ground, for icons that sit on buttons or lists.
Painter plainGlyph(Glyph glyph, QColor top, QColor bottom, qreal margin = 0, int shadow = 0)
{
    return [=](QPainter &p, const QSize &s) {
        drawGlyph(p, glyph, QRectF(margin, margin, s.width() - 2 * margin, s.height() - 2 * margin),
                  top, bottom, shadow);
    };
}

// Handles of the page designer: a round dark badge that reads on paper and on the
// dark editor background alike.
Painter handle(Glyph glyph)
{
    return [glyph](QPainter &p, const QSize &s) {
        const QRectF r(0, 0, s.width(), s.height());
        drawEllipseSurface(p, r,
                           {QColor(0x62, 0x51, 0x45), QColor(0x33, 0x29, 0x23),
                            QColor(0x1a, 0x14, 0x11), QColor(0x93, 0x7f, 0x6e)});
        const qreal m = s.width() * 0.15;
        drawGlyph(p, glyph, r.adjusted(m, m, -m, -m), P::creamBright, P::cream);
    };
}

// Small square badges of the field tree and data-field items.
Painter badge(Glyph glyph)
{
    return [glyph](QPainter &p, const QSize &s) {
        const QRectF r(0, 0, s.width(), s.height());
        drawRoundedSurface(p, r, 3,
                           {QColor(0x6e, 0x59, 0x49), QColor(0x42, 0x35, 0x2c),
                            QColor(0x24, 0x1c, 0x18), QColor(0x9a, 0x84, 0x70)});
        const qreal m = s.width() * 0.16;
        drawGlyph(p, glyph, r.adjusted(m, m, -m, -m), P::creamBright, P::cream);
    };
}

Painter personSelector(bool hover)
{
    return [hover](QPainter &p, const QSize &s) {
        const QRectF r(0, 0, s.width(), s.height());
        const Surface face = hover ? Surface {QColor(0x66, 0x54, 0x47), QColor(0x45, 0x38, 0x30),
                                              QColor(0x86, 0x75, 0x67), QColor(0xa4, 0x8f, 0x7c)}
                                   : Surface {QColor(0x52, 0x43, 0x3a), QColor(0x38, 0x2d, 0x27),
                                              QColor(0x68, 0x5a, 0x4f), QColor(0x86, 0x74, 0x65)};
        drawRoundedSurface(p, r, 6, face);
        // Separator between the caption and the person badge.
        const qreal x = r.width() - 50.5;
        p.setPen(QPen(withAlpha(P::shadow, 150), 1));
        p.drawLine(QPointF(x, 12), QPointF(x, r.height() - 12));
        p.setPen(QPen(withAlpha(P::creamDim, 45), 1));
        p.drawLine(QPointF(x + 1, 12), QPointF(x + 1, r.height() - 12));
        const QPointF c(r.width() - 25, r.height() / 2);
        if (hover)
            drawGlow(p, c, 24, withAlpha(P::cream, 40));
        const qreal radius = 16;
        drawEllipseSurface(p, QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius),
                           {QColor(0x24, 0x1d, 0x19), QColor(0x3a, 0x2f, 0x29),
                            QColor(0x1a, 0x14, 0x11), QColor()});
        const QColor top = hover ? P::creamBright : P::cream;
        const QColor bottom = hover ? P::cream : P::tan;
        p.save();
        QPainterPath clip;
        clip.addEllipse(
            QRectF(c.x() - radius + 1, c.y() - radius + 1, 2 * radius - 2, 2 * radius - 2));
        p.setClipPath(clip);
        drawGlyph(p, Glyphs::Person, QRectF(c.x() - 12, c.y() - 10, 24, 24), top, bottom);
        p.restore();
    };
}

// Header bar of the result panels; its caption is black text, so it is light.
Painter headerBar()
{
    return [](QPainter &p, const QSize &s) {
        const QRectF r(0.5, 0.5, s.width() - 1, s.height() - 1);
        QPainterPath shape;
        const qreal radius = 5;
        shape.moveTo(r.left(), r.bottom() + 0.5);
        shape.lineTo(r.left(), r.top() + radius);
        shape.arcTo(QRectF(r.left(), r.top(), 2 * radius, 2 * radius), 180, -90);
        shape.lineTo(r.right() - radius, r.top());
        shape.arcTo(QRectF(r.right() - 2 * radius, r.top(), 2 * radius, 2 * radius), 90, -90);
        shape.lineTo(r.right(), r.bottom() + 0.5);
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, QColor(0xf1, 0xe6, 0xcf));
        fill.setColorAt(0.48, QColor(0xdf, 0xcf, 0xb1));
        fill.setColorAt(0.52, QColor(0xd4, 0xc2, 0xa1));
        fill.setColorAt(1, QColor(0xc0, 0xab, 0x88));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(shape);
        p.setPen(QPen(withAlpha(Qt::white, 190), 1));
        p.drawLine(QPointF(r.left() + radius, 1.5), QPointF(r.right() - radius, 1.5));
        p.setPen(QPen(P::frameOuter, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
        // The bottom row continues the panel's frame line.
        p.drawLine(QPointF(0, s.height() - 0.5), QPointF(s.width(), s.height() - 0.5));
    };
}

void drawFrameLines(QPainter &p, const QRect &outer)
{
    p.setPen(QPen(P::frameOuter, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(outer).adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(P::frameInner, 1));
    p.drawRect(QRectF(outer).adjusted(1.5, 1.5, -1.5, -1.5));
}

// The today badge: header band with "Today", a large day number and two lines beside it.
void paintTodayBadge(QPainter &p, const QSize &s)
{
    const QRectF r(0, 0, s.width(), s.height());
    drawRoundedSurface(
        p, r, 6, {QColor(0x3a, 0x2f, 0x29), QColor(0x27, 0x20, 0x1c), P::frameOuter, QColor()});
    QPainterPath band;
    band.addRoundedRect(r.adjusted(1.5, 1.5, -1.5, 0), 5, 5);
    QPainterPath bottomHalf;
    bottomHalf.addRect(QRectF(0, 25, s.width(), s.height()));
    band = band.subtracted(bottomHalf);
    QLinearGradient fill(0, 0, 0, 25);
    fill.setColorAt(0, QColor(0x5e, 0x4d, 0x41));
    fill.setColorAt(1, QColor(0x44, 0x37, 0x2f));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(band);
    p.setPen(QPen(withAlpha(QColor(0x9a, 0x86, 0x74), 200), 1));
    p.drawLine(QPointF(7, 2.5), QPointF(s.width() - 7, 2.5));
    p.setPen(QPen(QColor(0x1c, 0x16, 0x13), 1));
    p.drawLine(QPointF(1, 25.5), QPointF(s.width() - 1, 25.5));
    p.setPen(QPen(QColor(0x4a, 0x3d, 0x35), 1));
    p.drawLine(QPointF(1, 26.5), QPointF(s.width() - 1, 26.5));
    // A faint halo behind the day number and a divider before the year and month.
    // The day number is drawn from (40, 60) in 32-pixel bold figures.
    const QPointF dayCentre(60, 48);
    drawGlow(p, dayCentre, 32, withAlpha(P::cream, 26));
    p.setPen(QPen(withAlpha(P::creamDim, 60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(dayCentre, 24.5, 20.5);
    p.setPen(QPen(QColor(0x1c, 0x16, 0x13), 1));
    p.drawLine(QPointF(84.5, 34), QPointF(84.5, 94));
    p.setPen(QPen(QColor(0x4a, 0x3d, 0x35), 1));
    p.drawLine(QPointF(85.5, 34), QPointF(85.5, 94));
}

// Background of the psycho-matrix panels: the panel body with the seventeen squares.
void paintMatrixBackground(QPainter &p, const QSize &s)
{
    const int headerHeight = 30;
    QLinearGradient body(0, headerHeight, 0, s.height());
    body.setColorAt(0, QColor(0x33, 0x29, 0x24));
    body.setColorAt(1, QColor(0x26, 0x1f, 0x1b));
    p.fillRect(QRect(0, 0, s.width(), s.height()), body);
    drawFrameLines(p, QRect(0, headerHeight - 1, s.width(), s.height() - headerHeight + 1));

    const int columnStart[] = {9, 127, 245, 363, 481};
    const int rowStart[] = {38, 101, 164, 227};
    // Separators between the digit squares and the line sums.
    p.setPen(QPen(QColor(0x48, 0x3c, 0x35), 1));
    p.drawLine(QPointF(476.5, 36), QPointF(476.5, 284));
    p.drawLine(QPointF(8, 223.5), QPointF(s.width() - 9, 223.5));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
            if (col == 0 && row < 3)
                continue;
            const bool lineSum = col == 4 || row == 3;
            const Surface digit {QColor(0x4d, 0x3f, 0x36), QColor(0x3b, 0x30, 0x29), P::border,
                                 QColor(0x76, 0x65, 0x58)};
            const Surface sum {QColor(0x3d, 0x32, 0x2b), QColor(0x30, 0x27, 0x22),
                               QColor(0x4f, 0x45, 0x3f), QColor(0x5d, 0x4f, 0x45)};
            drawRoundedSurface(p, QRectF(columnStart[col] + 1, rowStart[row], 108, 55), 5,
                               lineSum ? sum : digit);
        }
    }
}

// Tab of the sliding forecast text panel; its right edge runs into the panel body.
void paintExpanderTab(QPainter &p, const QSize &s)
{
    const QColor body(0x35, 0x28, 0x21);
    p.fillRect(QRect(s.width() - 3, 0, 3, s.height()), body);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(0.5, 0.5, s.width() + 6, s.height() - 1), 5, 5);
    QPainterPath visible;
    visible.addRect(QRectF(0, 0, s.width() - 2, s.height()));
    tab = tab.intersected(visible);
    QLinearGradient fill(0, 0, s.width(), 0);
    fill.setColorAt(0, QColor(0x5a, 0x49, 0x3e));
    fill.setColorAt(1, QColor(0x3e, 0x31, 0x2a));
    p.setPen(QPen(P::border, 1));
    p.setBrush(fill);
    p.drawPath(tab);
    p.setPen(QPen(withAlpha(QColor(0xa0, 0x8a, 0x76), 160), 1));
    p.drawLine(QPointF(1.5, 6), QPointF(1.5, s.height() - 6));
    const qreal cy = s.height() / 2.0;
    drawGlyphPath(p,
                  Glyphs::stroked(
                      [] {
                          QPainterPath chevron(QPointF(15, 5));
                          chevron.lineTo(QPointF(8, 12));
                          chevron.lineTo(QPointF(15, 19));
                          return chevron;
                      }(),
                      3.4),
                  QRectF(0, cy - 6.5, 13, 13), P::creamBright, P::cream, 160);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        for (const qreal y : {cy - 22.0 + i * 4, cy + 14.0 + i * 4}) {
            p.setBrush(withAlpha(P::shadow, 170));
            p.drawEllipse(QPointF(6.5, y + 0.8), 1.1, 1.1);
            p.setBrush(withAlpha(P::creamDim, 150));
            p.drawEllipse(QPointF(6.5, y), 1.1, 1.1);
        }
    }
}

void paintLayoutListItem(QPainter &p, const QSize &s)
{
    const QRectF r(0, 0, s.width(), s.height());
    drawRoundedSurface(
        p, r, 3,
        {QColor(0x51, 0x42, 0x38), QColor(0x3a, 0x2f, 0x29), P::border, QColor(0x7a, 0x68, 0x5a)});
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 2; ++col) {
            const QPointF c(6 + col * 3, s.height() / 2.0 - 4 + row * 4);
            p.setBrush(withAlpha(P::shadow, 160));
            p.drawEllipse(c + QPointF(0, 0.7), 0.9, 0.9);
            p.setBrush(withAlpha(P::creamDim, 130));
            p.drawEllipse(c, 0.9, 0.9);
        }
    }
}

// A page tile of the designer's page and block strips: a sheet of paper with a
// folded corner; the strip writes its caption on it in blue or red.
void paintPageTile(QPainter &p, const QSize &s)
{
    const qreal fold = 10;
    const QRectF sheet(3.5, 2.5, s.width() - 7, s.height() - 6);
    auto sheetPath = [&](const QRectF &r) {
        QPainterPath path;
        path.moveTo(r.topLeft());
        path.lineTo(r.right() - fold, r.top());
        path.lineTo(r.right(), r.top() + fold);
        path.lineTo(r.bottomRight());
        path.lineTo(r.bottomLeft());
        path.closeSubpath();
        return path;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(P::shadow, 90));
    p.drawPath(sheetPath(sheet.translated(1, 2)));
    QLinearGradient paper(sheet.topLeft(), sheet.bottomLeft());
    paper.setColorAt(0, QColor(0xfb, 0xf7, 0xef));
    paper.setColorAt(1, QColor(0xe4, 0xda, 0xc8));
    p.setBrush(paper);
    p.setPen(QPen(QColor(0x8a, 0x7b, 0x6d), 1));
    p.drawPath(sheetPath(sheet));
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xcf, 0xc2, 0xac));
    p.drawPath(corner);
}

// Background of the designer's tile strips; drawn in three slices, so its middle row repeats.
void paintStripBackground(QPainter &p, const QSize &s)
{
    const QRectF r(0, 0, s.width(), s.height());
    drawRoundedSurface(
        p, r, 5, {QColor(0x1f, 0x19, 0x16), QColor(0x1f, 0x19, 0x16), P::borderDark, QColor()});
    p.setPen(QPen(withAlpha(P::shadow, 200), 1));
    p.drawLine(QPointF(4, 1.5), QPointF(s.width() - 4, 1.5));
}

void paintSeparator(QPainter &p, const QSize &s)
{
    QLinearGradient line(0, 0, s.width(), 0);
    line.setColorAt(0, withAlpha(P::border, 0));
    line.setColorAt(0.6, P::border);
    line.setColorAt(1, P::border);
    p.fillRect(QRect(0, 0, s.width(), s.height()), line);
}

// The corner box between two scroll bars, with a grip.
void paintScrollCorner(QPainter &p, const QSize &s)
{
    QLinearGradient groove(0, 0, s.width(), s.height());
    groove.setColorAt(0, P::surface);
    groove.setColorAt(0.5, P::groove);
    groove.setColorAt(1, QColor(0x31, 0x28, 0x24));
    p.fillRect(QRect(0, 0, s.width(), s.height()), groove);
    p.setPen(QPen(P::borderDark, 1));
    p.drawLine(QPointF(0, 0.5), QPointF(s.width(), 0.5));
    p.drawLine(QPointF(0.5, 0), QPointF(0.5, s.height()));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j <= i; ++j) {
            const QPointF c(s.width() - 4 - (i - j) * 3.5, s.height() - 4 - j * 3.5);
            p.setBrush(withAlpha(P::shadow, 200));
            p.drawEllipse(c + QPointF(0.5, 0.5), 1, 1);
            p.setBrush(QColor(0x6e, 0x5c, 0x4f));
            p.drawEllipse(c, 1, 1);
        }
    }
}

// Placeholder picture of the designer's picture items.
void paintPicturePlaceholder(QPainter &p, const QSize &s)
{
    const QRectF r(0, 0, s.width(), s.height());
    drawRoundedSurface(p, r, 4,
                       {QColor(0xee, 0xe6, 0xd8), QColor(0xd2, 0xc5, 0xb0),
                        QColor(0x9c, 0x8c, 0x7c), QColor(0xff, 0xff, 0xff)});
    QPainterPath inside;
    inside.addRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    p.save();
    p.setClipPath(inside);
    p.setPen(Qt::NoPen);
    const qreal w = s.width(), h = s.height();
    drawGlow(p, QPointF(w * 0.7, h * 0.3), w * 0.22, withAlpha(QColor(0xff, 0xfa, 0xee), 220));
    p.setBrush(QColor(0xb4, 0xa1, 0x87));
    p.drawEllipse(QPointF(w * 0.7, h * 0.3), w * 0.09, w * 0.09);
    QPainterPath far;
    far.moveTo(0, h * 0.78);
    far.lineTo(w * 0.28, h * 0.46);
    far.lineTo(w * 0.5, h * 0.66);
    far.lineTo(w * 0.66, h * 0.52);
    far.lineTo(w, h * 0.8);
    far.lineTo(w, h);
    far.lineTo(0, h);
    far.closeSubpath();
    p.setBrush(QColor(0xa1, 0x8e, 0x79));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(0, h * 0.9);
    near.lineTo(w * 0.38, h * 0.6);
    near.lineTo(w * 0.78, h * 0.92);
    near.lineTo(w, h * 0.86);
    near.lineTo(w, h);
    near.lineTo(0, h);
    near.closeSubpath();
    p.setBrush(QColor(0x7c, 0x69, 0x57));
    p.drawPath(near);
    p.restore();
}

// The soft shadow around the designer's page, cut into eight pieces from one
// drawing: corners at their own size, edges stretched along the page.
enum class FramePiece { Left, Right, Top, Bottom, LeftTop, RightTop, LeftBottom, RightBottom };

const int kFrameWidth = 8;

QImage pageShadow()
{
    const int page = 32;
    const int size = page + 2 * kFrameWidth;
    QImage image(size, size, QImage::Format_ARGB32);
    const QColor background(44, 36, 32); // the editor view's own background
    const QRectF pageRect(kFrameWidth, kFrameWidth + 1, page, page); // light from above
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const qreal px = x + 0.5, py = y + 0.5;
            const qreal dx = qMax(qMax(pageRect.left() - px, px - pageRect.right()), 0.0);
            const qreal dy = qMax(qMax(pageRect.top() - py, py - pageRect.bottom()), 0.0);
            const qreal d = qSqrt(dx * dx + dy * dy);
            qreal a = qMax(0.0, 1.0 - d / (kFrameWidth - 0.5));
            a = a * a * 0.85;
            if (d < 1.0)
                a = qMax(a, 0.9);
            const QColor c = P::shadow;
            image.setPixelColor(x, y,
                                QColor(qRound(background.red() * (1 - a) + c.red() * a),
                                       qRound(background.green() * (1 - a) + c.green() * a),
                                       qRound(background.blue() * (1 - a) + c.blue() * a)));
        }
    }
    return image;
}

Painter pageFrame(FramePiece piece)
{
    return [piece](QPainter &p, const QSize &s) {
        static const QImage shadow = pageShadow();
        const int f = kFrameWidth, far = shadow.width() - f, mid = shadow.width() / 2;
        QPoint source;
        switch (piece) {
        case FramePiece::Left:
            source = QPoint(0, mid);
            break;
        case FramePiece::Right:
            source = QPoint(far, mid);
            break;
        case FramePiece::Top:
            source = QPoint(mid, 0);
            break;
        case FramePiece::Bottom:
            source = QPoint(mid, far);
            break;
        case FramePiece::LeftTop:
            source = QPoint(0, 0);
            break;
        case FramePiece::RightTop:
            source = QPoint(far, 0);
            break;
        case FramePiece::LeftBottom:
            source = QPoint(0, far);
            break;
        case FramePiece::RightBottom:
            source = QPoint(far, far);
            break;
        }
        p.drawImage(QPoint(0, 0), shadow, QRect(source, s));
    };
}

// Caption band, field well and bottom cap of the framed input boxes.
enum class InputPart { Top, TopOptional, Field, Bottom };

Painter inputPiece(InputPart part)
{
    return [part](QPainter &p, const QSize &s) {
        const QRectF r(0, 0, s.width(), s.height());
        switch (part) {
        case InputPart::Top:
        case InputPart::TopOptional: {
            const bool optional = part == InputPart::TopOptional;
            p.save();
            p.setClipRect(r);
            drawRoundedSurface(p, r.adjusted(0, 0, 0, 8), 5,
                               optional
                                   ? Surface {QColor(0x3e, 0x33, 0x2c), QColor(0x31, 0x28, 0x23),
                                              QColor(0x4f, 0x45, 0x3f), QColor(0x5e, 0x50, 0x46)}
                                   : Surface {QColor(0x52, 0x43, 0x39), QColor(0x3d, 0x32, 0x2b),
                                              P::border, QColor(0x7d, 0x6b, 0x5e)});
            p.restore();
            break;
        }
        case InputPart::Field: {
            p.fillRect(r, P::surface);
            p.setPen(QPen(P::border, 1));
            p.drawLine(QPointF(0.5, 0), QPointF(0.5, s.height()));
            p.drawLine(QPointF(s.width() - 0.5, 0), QPointF(s.width() - 0.5, s.height()));
            p.setPen(QPen(QColor(0x1e, 0x18, 0x15), 1));
            p.drawLine(QPointF(1, 0.5), QPointF(s.width() - 1, 0.5));
            break;
        }
        case InputPart::Bottom: {
            p.save();
            p.setClipRect(r);
            drawRoundedSurface(
                p, r.adjusted(0, -8, 0, 0), 5,
                {QColor(0x2c, 0x24, 0x20), QColor(0x25, 0x1e, 0x1b), P::border, QColor()});
            p.restore();
            break;
        }
        }
    };
}

// The emblem of the program: a ring of nine points around a nine-pointed star.
void drawEmblem(QPainter &p, const QPointF &c, qreal radius)
{
    drawGlow(p, c, radius * 1.35, withAlpha(P::cream, 30));
    drawEllipseSurface(p, QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius),
                       {QColor(0x4e, 0x40, 0x36), QColor(0x26, 0x1f, 0x1b),
                        QColor(0x18, 0x13, 0x10), QColor(0x95, 0x80, 0x6d)});
    QPainterPath ring;
    ring.addEllipse(c, radius * 0.86, radius * 0.86);
    ring = Glyphs::stroked(ring, radius * 0.05);
    QPainterPath star;
    const int n = 9;
    for (int i = 0; i <= n; ++i) {
        const int k = (i * 4) % n; // every fourth point: the {9/4} star
        const qreal a = -M_PI / 2 + k * 2 * M_PI / n;
        const QPointF pt(c.x() + radius * 0.72 * qCos(a), c.y() + radius * 0.72 * qSin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    QPainterPath shape = ring.united(Glyphs::stroked(star, radius * 0.045));
    for (int i = 0; i < n; ++i) {
        const qreal a = -M_PI / 2 + i * 2 * M_PI / n;
        shape.addEllipse(QPointF(c.x() + radius * 0.86 * qCos(a), c.y() + radius * 0.86 * qSin(a)),
                         radius * 0.075, radius * 0.075);
    }
    shape.setFillRule(Qt::WindingFill);
    shape.addEllipse(c, radius * 0.16, radius * 0.16);
    QLinearGradient gold(c.x(), c.y() - radius, c.x(), c.y() + radius);
    gold.setColorAt(0, P::creamBright);
    gold.setColorAt(1, P::tan);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(P::shadow, 160));
    p.drawPath(shape.translated(0, qMax(1.0, radius / 28)));
    p.setBrush(gold);
    p.drawPath(shape);
    p.restore();
}

void drawWordmark(QPainter &p, const QRectF &box, qreal titleSize, qreal subtitleSize,
                  Qt::Alignment align)
{
    QFont title("DejaVu Serif");
    title.setPixelSize(qRound(titleSize));
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, titleSize * 0.12);
    QFont subtitle("DejaVu Sans");
    subtitle.setPixelSize(qRound(subtitleSize));
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, subtitleSize * 0.55);

    QPainterPath titlePath;
    titlePath.addText(0, 0, title, QStringLiteral("LUMARO"));
    QPainterPath subtitlePath;
    subtitlePath.addText(0, 0, subtitle, QStringLiteral("NUMEROLOGY"));
    const QRectF tb = titlePath.boundingRect(), sb = subtitlePath.boundingRect();
    const qreal gap = titleSize * 0.3;
    const qreal top = box.center().y() - (tb.height() + gap + sb.height()) / 2;
    auto xFor = [&](const QRectF &b) {
        return align & Qt::AlignHCenter ? box.center().x() - b.width() / 2 - b.left()
                                        : box.left() - b.left();
    };
    titlePath.translate(xFor(tb), top - tb.top());
    subtitlePath.translate(xFor(sb), top + tb.height() + gap - sb.top());

    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(P::shadow, 170));
    p.drawPath(titlePath.translated(0, 1.5));
    QLinearGradient gold(0, titlePath.boundingRect().top(), 0, titlePath.boundingRect().bottom());
    gold.setColorAt(0, P::creamBright);
    gold.setColorAt(1, QColor(0xc9, 0xae, 0x80));
    p.setBrush(gold);
    p.drawPath(titlePath);
    p.setBrush(P::tan);
    p.drawPath(subtitlePath);
    // Thin rules either side of the subtitle.
    const QRectF s = subtitlePath.boundingRect();
    p.setPen(QPen(withAlpha(P::tan, 150), 1));
    const qreal y = qRound(s.center().y()) + 0.5;
    if (align & Qt::AlignHCenter) {
        p.drawLine(QPointF(s.left() - subtitleSize * 3.5, y), QPointF(s.left() - subtitleSize, y));
        p.drawLine(QPointF(s.right() + subtitleSize, y),
                   QPointF(s.right() + subtitleSize * 3.5, y));
    } else {
        p.drawLine(QPointF(s.right() + subtitleSize, y),
                   QPointF(titlePath.boundingRect().right(), y));
    }
    p.restore();
}

void paintLogo(QPainter &p, const QSize &s)
{
    const qreal radius = s.height() / 2.0 - 4;
    drawEmblem(p, QPointF(radius + 4, s.height() / 2.0), radius);
    drawWordmark(p, QRectF(2 * radius + 20, 0, s.width() - 2 * radius - 24, s.height()), 34, 11,
                 Qt::AlignLeft);
}

void paintSplashLogo(QPainter &p, const QSize &s)
{
    const qreal radius = 58;
    drawEmblem(p, QPointF(s.width() / 2.0, radius + 8), radius);
    drawWordmark(p, QRectF(0, 2 * radius + 20, s.width(), s.height() - 2 * radius - 20), 48, 15,
                 Qt::AlignHCenter);
}

} // namespace

QVector<SkinPicture> skinPictures()
{
    QVector<SkinPicture> list;
    auto add = [&list](const QString &name, int w, int h, Painter painter) {
        list.append({name, QSize(w, h), std::move(painter)});
    };

    // Tool-page buttons of the main window's side column.
    const struct
    {
        const char *name;
        Glyph glyph;
    } pages[] = {{"numer-but.png", Glyphs::Numerology}, {"matr-but.png", Glyphs::Matrix},
                 {"love-but.png", Glyphs::Love},        {"cel-but.png", Glyphs::Star},
                 {"pet-but.png", Glyphs::Paw},          {"guide-but.png", Glyphs::Book},
                 {"chart-but.png", Glyphs::Chart},      {"an-but.png", Glyphs::Advisor},
                 {"fore-but.png", Glyphs::Forecast}};
    for (const auto &page : pages)
        add(page.name, 59, 59, toolPageIcon(page.glyph));

    // Buttons in normal and hovered form: the main window's round top buttons,
    // the file buttons of the person box.
    const struct
    {
        const char *stem;
        Glyph glyph;
        int size;
        bool round;
    } buttons[]
        = {{"menubut", Glyphs::Menu, 20, true},     {"resbut", Glyphs::Reset, 20, true},
           {"infobut", Glyphs::Info, 20, true},     {"savebut", Glyphs::Export, 20, true},
           {"printbut", Glyphs::Print, 20, true},   {"savebbut", Glyphs::Floppy, 24, false},
           {"openbbut", Glyphs::Folder, 24, false}, {"newbbut", Glyphs::NewDocument, 24, false}};
    for (const auto &b : buttons) {
        for (const bool hover : {false, true}) {
            const QString name = QString::fromLatin1(b.stem) + (hover ? "h.png" : ".png");
            add(name, b.size, b.size,
                b.round ? roundButton(b.glyph, hover) : squareButton(b.glyph, hover));
        }
    }
    add("pselbut.png", 200, 80, personSelector(false));
    add("pselbuth.png", 200, 80, personSelector(true));
    add("rep_man.png", 17, 17, plainGlyph(Glyphs::Layouts, P::creamDim, P::tan, 0, 150));
    add("rep_manh.png", 17, 17, plainGlyph(Glyphs::Layouts, P::creamBright, P::cream, 0, 150));

    // Small marks named by the style sheets.
    add("cbc.png", 12, 12, plainGlyph(Glyphs::Check, P::creamBright, P::cream, 0.5, 0));
    add("darr.png", 10, 7, plainGlyph(Glyphs::ArrowDown, P::creamDim, P::tan));
    add("darrh.png", 10, 7, plainGlyph(Glyphs::ArrowDown, P::creamBright, P::cream));
    add("node_close.png", 10, 10, plainGlyph(Glyphs::BranchClosed, P::creamDim, P::tan, 0.5));
    add("node_open.png", 10, 10, plainGlyph(Glyphs::BranchOpen, P::creamDim, P::tan, 0.5));

    // Result panels.
    add("tbar.png", 200, 30, headerBar());
    add("tbar2.png", 600, 30, headerBar());
    add("todaywidg.png", 180, 104, paintTodayBadge);
    add("psq.png", 600, 291, paintMatrixBackground);
    add("expandwidget.png", 15, 98, paintExpanderTab);

    // Text-format icons and the designer's tool buttons (on dark buttons).
    const struct
    {
        const char *name;
        Glyph glyph;
    } icons[] = {{"text-bold.png", Glyphs::Bold},       {"text-italic.png", Glyphs::Italic},
                 {"text-under.png", Glyphs::Underline}, {"bzoomn.png", Glyphs::ZoomNormal},
                 {"bzoomi.png", Glyphs::ZoomIn},        {"bzoomo.png", Glyphs::ZoomOut},
                 {"bgrid.png", Glyphs::Grid},           {"bsnap.png", Glyphs::Snap},
                 {"bbound.png", Glyphs::Bounds},        {"bprops.png", Glyphs::Properties},
                 {"bdelete.png", Glyphs::Trash},        {"bbringfront.png", Glyphs::BringFront},
                 {"bbringback.png", Glyphs::SendBack}};
    for (const auto &icon : icons)
        add(icon.name, 20, 20, plainGlyph(icon.glyph, P::creamBright, P::creamDim, 0.5, 170));

    // Page designer: selection handles, item markers, the page frame.
    add("move-s.png", 16, 16, handle(Glyphs::Move));
    add("rotate-s.png", 16, 16, handle(Glyphs::Rotate));
    add("scale-s.png", 16, 16, handle(Glyphs::ScaleDiagonal));
    add("scale-i.png", 16, 16, handle(Glyphs::ScaleContent));
    add("scale-res-i.png", 16, 16, handle(Glyphs::ScaleContentReset));
    add("datafield-i.png", 16, 16, badge(Glyphs::DataField));
    add("datafieldtitle-i.png", 16, 16, badge(Glyphs::Variable));
    add("thumb.png", 16, 16, badge(Glyphs::Objects));
    add("repimage.png", 96, 96, paintPicturePlaceholder);
    const struct
    {
        const char *name;
        FramePiece piece;
    } frame[]
        = {{"repage-left.png", FramePiece::Left},     {"repage-right.png", FramePiece::Right},
           {"repage-top.png", FramePiece::Top},       {"repage-bot.png", FramePiece::Bottom},
           {"repage-lt.png", FramePiece::LeftTop},    {"repage-rt.png", FramePiece::RightTop},
           {"repage-lb.png", FramePiece::LeftBottom}, {"repage-rb.png", FramePiece::RightBottom}};
    for (const auto &piece : frame)
        add(piece.name, kFrameWidth, kFrameWidth, pageFrame(piece.piece));

    // Lists, strips and view decorations.
    add("lmitem.png", 150, 22, paintLayoutListItem);
    add("ilitem.png", 70, 60, paintPageTile);
    add("ilcont.png", 100, 24, paintStripBackground);
    add("hline.png", 35, 1, paintSeparator);
    add("scrbox.png", 16, 16, paintScrollCorner);

    // Input box chrome, for the short and the wide boxes.
    for (const auto &set : {std::make_pair("input", 200), std::make_pair("input2", 580)}) {
        const QString stem = QString::fromLatin1(set.first);
        if (stem == QLatin1String("input"))
            add(stem + "-top.png", set.second, 25, inputPiece(InputPart::Top));
        add(stem + "-top-opt.png", set.second, 25, inputPiece(InputPart::TopOptional));
        add(stem + "-field.png", set.second, 25, inputPiece(InputPart::Field));
        add(stem + "-bot.png", set.second, 10, inputPiece(InputPart::Bottom));
    }

    add("logo.png", 330, 64, paintLogo);
    add("logoh.png", 520, 220, paintSplashLogo);
    return list;
}

QImage renderSkinPicture(const SkinPicture &picture)
{
    QImage image = blankImage(picture.size.width(), picture.size.height());
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    picture.paint(p, picture.size);
    p.end();
    return image;
}
