#include "docart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QtMath>

namespace DocArt {

namespace {

QColor shade(const QColor &c, int factor)
{
    return factor >= 100 ? c.lighter(factor) : c.darker(10000 / qMax(1, factor));
}

// A cheap Gaussian look-alike: three box passes over the alpha channel.
void blurAlpha(QImage &image, int radius)
{
    const int w = image.width();
    const int h = image.height();
    QVector<int> line(qMax(w, h));
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[x] = qAlpha(row[x]);
            for (int x = 0; x < w; ++x) {
                int sum = 0;
                int n = 0;
                for (int k = qMax(0, x - radius); k <= qMin(w - 1, x + radius); ++k, ++n)
                    sum += line[k];
                row[x] = qRgba(0, 0, 0, sum / n);
            }
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[y] = qAlpha(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]);
            for (int y = 0; y < h; ++y) {
                int sum = 0;
                int n = 0;
                for (int k = qMax(0, y - radius); k <= qMin(h - 1, y + radius); ++k, ++n)
                    sum += line[k];
                reinterpret_cast<QRgb *>(image.scanLine(y))[x] = qRgba(0, 0, 0, sum / n);
            }
        }
    }
}

QFont serifFont(qreal pixelSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("P052"), QStringLiteral("C059"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    return font;
}

} // namespace

QPainterPath strokeOf(const QPainterPath &path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(path).simplified();
}

QPainterPath textPath(const QString &text, const QPointF &centre, qreal pixelSize, bool bold)
{
    QPainterPath path;
    path.addText(0, 0, serifFont(pixelSize, bold), text);
    const QRectF r = path.boundingRect();
    path.translate(centre - r.center());
    return path;
}

QPainterPath starPath(const QPointF &centre, qreal outer, qreal inner, int points,
                      qreal rotationDegrees)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal angle = qDegreesToRadians(rotationDegrees + i * 180.0 / points);
        const qreal r = (i % 2 == 0) ? outer : inner;
        const QPointF p(centre.x() + r * qCos(angle), centre.y() + r * qSin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QImage cardImage(const QSize &size, const QColor &base, qreal cornerRadius)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Palette::paper);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);

    QRadialGradient light(card.width() * 0.34, card.height() * 0.28,
                          qMax(card.width(), card.height()) * 1.05);
    light.setColorAt(0.0, shade(base, 150));
    light.setColorAt(0.45, base);
    light.setColorAt(1.0, shade(base, 45));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRoundedRect(card, cornerRadius, cornerRadius);

    // A soft sheen from the upper edge.
    QLinearGradient sheen(0, 0, 0, card.height() * 0.55);
    sheen.setColorAt(0.0, QColor(255, 240, 210, 46));
    sheen.setColorAt(1.0, QColor(255, 240, 210, 0));
    p.setBrush(sheen);
    p.drawRoundedRect(card, cornerRadius, cornerRadius);

    // Gold rim just inside the edge.
    QColor rim = Palette::gold;
    rim.setAlpha(170);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, 1.2));
    const qreal inset = qMax<qreal>(4.5, size.width() * 0.035);
    p.drawRoundedRect(card.adjusted(inset, inset, -inset, -inset), cornerRadius * 0.6,
                      cornerRadius * 0.6);
    return image;
}

void drawBackdrop(QImage &image, const QRectF &box, const QColor &base)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = box.center();
    const qreal r = box.width() * 0.62;
    QColor ring = shade(base, 160);
    ring.setAlpha(38);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ring, 1.0));
    p.drawEllipse(c, r, r);
    p.drawEllipse(c, r * 0.82, r * 0.82);
    QColor dot = Palette::cream;
    dot.setAlpha(60);
    p.setPen(Qt::NoPen);
    p.setBrush(dot);
    for (int i = 0; i < 9; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + i * 40.0);
        p.drawEllipse(QPointF(c.x() + r * 0.91 * qCos(a), c.y() + r * 0.91 * qSin(a)), 1.6, 1.6);
    }
}

void drawEmblem(QImage &image, const Emblem &emblem, const QRectF &box, const QColor &base)
{
    QTransform toBox;
    toBox.translate(box.left(), box.top());
    toBox.scale(box.width() / 100.0, box.height() / 100.0);
    const QPainterPath body = toBox.map(emblem.body);
    const QPainterPath detail = toBox.map(emblem.detail);
    const QPainterPath engraved = toBox.map(emblem.engraved);
    const qreal scale = box.width() / 100.0;

    // Shadow: the body, moved down a little and blurred.
    QImage shadow(image.size(), QImage::Format_ARGB32);
    shadow.fill(Qt::transparent);
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.setPen(Qt::NoPen);
        sp.setBrush(QColor(0, 0, 0, 150));
        sp.drawPath(body.translated(0, 2.5 * scale));
    }
    blurAlpha(shadow, qMax(1, qRound(2.0 * scale)));

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QImage tinted(shadow.size(), QImage::Format_ARGB32_Premultiplied);
    tinted.fill(Qt::transparent);
    {
        QPainter tp(&tinted);
        tp.drawImage(0, 0, shadow);
        tp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tp.fillRect(tinted.rect(), shade(base, 30));
    }
    p.drawImage(0, 0, tinted);

    const QRectF bounds = body.boundingRect();
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0.0, Palette::cream);
    fill.setColorAt(0.55, QColor(0xf3, 0xd2, 0x8e));
    fill.setColorAt(1.0, Palette::gold);
    QColor edge = Palette::goldDeep;
    edge.setAlpha(150);
    p.setPen(QPen(edge, 0.8));
    p.setBrush(fill);
    p.drawPath(body);

    QColor engraving = shade(base, 60);
    engraving.setAlpha(200);
    if (!engraved.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(engraving);
        p.drawPath(engraved);
    }
    if (!detail.isEmpty()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(engraving, emblem.detailWidth * scale, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setClipPath(body);
        p.drawPath(detail);
    }
}

} // namespace DocArt
