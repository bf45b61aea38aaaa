#include "designer/repageitem.h"

#include "designer/calcnumcontainer.h"
#include "designer/chartbinding.h"
#include "designer/lnrstream.h"
#include "designer/repage.h"
#include "designer/style.h"
#include "designer/textmeasure.h"
#include "engine/numerology.h"
#include "layouts/boundedread.h"

#include <QDataStream>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextOption>

#include <cmath>

namespace {

const QColor aidColor(50, 50, 50, 255);

// Reads a flag stored as (flag XOR 1): a stored 0 means true.
bool readInverted(QDataStream &s)
{
    qint8 b = 0;
    s >> b;
    return b == 0;
}

void writeInverted(QDataStream &s, bool flag)
{
    s << qint8(flag ? 0 : 1);
}

// How far text may be stretched out of shape and still be drawn: Qt renders
// small text through a glyph cache that crashes on glyphs stretched far out
// of shape (some 1500 pixels wide and two high), and text squashed that much
// cannot be read anyway.
constexpr double MaxTextStretch = 100;

bool legible(const QTransform &t)
{
    if (!t.isAffine())
        return false;
    // With s1 >= s2 the axis scales, (s1² + s2²) / (s1 s2) = s1/s2 + s2/s1.
    const double squares
        = t.m11() * t.m11() + t.m12() * t.m12() + t.m21() * t.m21() + t.m22() * t.m22();
    const double det = std::fabs(t.m11() * t.m22() - t.m12() * t.m21());
    return det > 0 && std::isfinite(squares)
        && squares / det <= MaxTextStretch + 1 / MaxTextStretch;
}

// Device pixels for the handle pictures, however far off the view an item lies.
int pixel(double v)
{
    return int(qBound(-1e9, v, 1e9));
}

} // namespace

CREPageItem::CREPageItem(calcNumContainer *container)
    : container(container)
    , font(QStringLiteral("Arial"), 10, 50)
{
    font.setPixelSize(11);
}

CREPageItem::~CREPageItem()
{
    delete inner;
}

void CREPageItem::resTransformation()
{
    for (CREPageItem *item = this; item; item = item->inner) {
        item->transform.reset();
        item->angle = 0;
    }
}

void CREPageItem::rotate(double a, bool keepAngle)
{
    if (type == Frame) {
        const QPointF c = shape.boundingRect().center();
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(a);
        t.translate(-c.x(), -c.y());
        shape = t.map(shape);
    } else {
        transform.rotate(a);
    }
    if (!keepAngle)
        return;
    angle = normalizedAngle(angle + a);
    if (inner)
        inner->angle = angle;
}

void CREPageItem::move(double dx, double dy)
{
    // The shift applies after the item's own transform, in its container's
    // coordinates: exactly (dx, dy) whatever the item's rotation, scale or
    // shear, and no division by a scale that may be tiny.
    transform *= QTransform::fromTranslate(dx, dy);
}

void CREPageItem::translate(double dx, double dy)
{
    transform.translate(dx, dy);
}

void CREPageItem::scale(double sx, double sy)
{
    transform.scale(sx, sy);
}

QRectF CREPageItem::getBoundRect() const
{
    return transform.mapRect(QRectF(0, 0, boundSize.width(), boundSize.height()));
}

void CREPageItem::setBoundSize(const QSizeF &size)
{
    boundSize = size;
    getBoundSize();
}

QSizeF CREPageItem::getBoundSize()
{
    if (boundSize.width() == 0)
        boundSize.setWidth(boundSize.height());
    if (boundSize.height() == 0)
        boundSize.setHeight(boundSize.width());
    return boundSize;
}

QRectF CREPageItem::getShapeBoundRect() const
{
    return transform.map(shape).boundingRect();
}

void CREPageItem::setShape(const QPainterPath &path)
{
    shape = path;
}

void CREPageItem::save(QDataStream &s) const
{
    s.setVersion(LnrStream::StreamVersion);
    s << qint32(type);
    writeInverted(s, isVariable);
    writeInverted(s, isFreeText);
    s << auxText << key << transform << angle << boundSize << shape << color << auxSize << image;
    writeInverted(s, auxFlag);
    writeInverted(s, fixedContent);
    s << text << font << qint64(alignment) << qint32(penStyle) << penWidth << penColor
      << qint32(blockIndex) << qint32(frameStyle) << frameColor << qint32(fitMode) << qint32(order)
      << qint32(pictureChoice) << qint32(barcodeKind) << backgroundColor;
}

bool CREPageItem::load(QDataStream &s, int version, TemplatePicture::Reading *reading)
{
    s.setVersion(LnrStream::StreamVersion);
    auto refuse = [&s]() {
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    };
    qint32 i32 = 0;
    s >> i32;
    type = i32;
    isVariable = readInverted(s);
    isFreeText = readInverted(s);
    // Strings are refused from the length they declare, before a long one
    // is read.
    if (!LnrStream::readString(s, auxText) || !LnrStream::readString(s, key))
        return false;
    s >> transform >> angle >> boundSize;
    if (s.status() != QDataStream::Ok || !LnrStream::readPath(s, shape)
        || !BoundedRead::readColor(s, &color))
        return false;
    s >> auxSize;
    if (s.status() != QDataStream::Ok || !TemplatePicture::read(s, &image, reading))
        return false;
    auxFlag = readInverted(s);
    fixedContent = readInverted(s);
    qint64 i64 = 0;
    if (s.status() != QDataStream::Ok || !LnrStream::readString(s, text))
        return false;
    // A font starts with its family's name.
    if (!LnrStream::nextStringFits(s)) {
        text = QString(TemplateLimits::MaxText + 1, QLatin1Char(' '));
        return refuse();
    }
    s >> font >> i64;
    alignment = int(qint32(quint32(quint64(i64) & 0xffffffffu)));
    s >> i32;
    penStyle = i32;
    s >> penWidth;
    if (s.status() != QDataStream::Ok || !BoundedRead::readColor(s, &penColor))
        return false;
    s >> i32;
    blockIndex = i32;
    s >> i32;
    frameStyle = i32;
    if (s.status() != QDataStream::Ok || !BoundedRead::readColor(s, &frameColor))
        return false;
    s >> i32;
    fitMode = i32;
    if (version >= 258) {
        s >> i32;
        order = i32;
    }
    pictureChoice = 0;
    if (version >= 260) {
        s >> i32;
        pictureChoice = i32;
    }
    barcodeKind = 0;
    if (version >= 261) {
        s >> i32;
        barcodeKind = i32;
    }
    if (version >= 263 && !BoundedRead::readColor(s, &backgroundColor))
        return false;
    if (s.status() != QDataStream::Ok)
        return false;

    // Values no template can hold mean a damaged file; values a template may
    // hold but that would make drawing unbounded are brought into range.
    if (limitFault())
        return refuse();
    angle = normalizedAngle(angle);
    penWidth = qBound(0.0, penWidth, TemplateLimits::MaxPenWidth);
    if (penStyle < Qt::NoPen || penStyle > Qt::DashDotDotLine)
        penStyle = Qt::SolidLine;
    // Fonts of older templates carry a point size only. A font with neither
    // (damaged data) gets the default pixel size.
    if (font.pixelSize() < 1) {
        const double points = font.pointSizeF();
        font.setPixelSize(points >= 1 ? int(qMin(points, 1e6) + 0.5) * 12 / 10 + 1 : 11);
    }
    if (font.pixelSize() > TemplateLimits::MaxFontPixels)
        font.setPixelSize(TemplateLimits::MaxFontPixels);
    return true;
}

const char *CREPageItem::limitFault() const
{
    const auto side = [](double v) {
        return std::isfinite(v) && std::fabs(v) <= TemplateLimits::MaxSide;
    };
    if (!std::isfinite(angle) || !side(boundSize.width()) || !side(boundSize.height())
        || !std::isfinite(penWidth) || !LnrStream::usableTransform(transform))
        return "is scaled or placed beyond what a template can hold";
    // The reader checks the outline as it reads it (LnrStream::readPath).
    static_assert(TemplateLimits::MaxPathElements == 10000, "the limit the message names");
    if (shape.elementCount() > TemplateLimits::MaxPathElements)
        return "has an outline of more than 10000 points";
    for (int i = 0; i < shape.elementCount(); ++i) {
        const QPainterPath::Element e = shape.elementAt(i);
        if (!side(e.x) || !side(e.y))
            return "is scaled or placed beyond what a template can hold";
    }
    if (qAbs(qint64(blockIndex)) > TemplateLimits::MaxIndex
        || qAbs(qint64(order)) > TemplateLimits::MaxIndex)
        return "has a number beyond what a template can hold";
    static_assert(TemplateLimits::MaxSymbolText == 3000, "the limit the message names");
    if (type == Symbol && text.size() > TemplateLimits::MaxSymbolText)
        return "holds more than 3000 characters";
    static_assert(TemplateLimits::MaxText == 20000, "the limit the message names");
    if (text.size() > TemplateLimits::MaxText || auxText.size() > TemplateLimits::MaxText
        || key.size() > TemplateLimits::MaxText || font.family().size() > TemplateLimits::MaxText)
        return "holds more than 20000 characters";
    return nullptr;
}

double CREPageItem::normalizedAngle(double a)
{
    if (!std::isfinite(a))
        return 0;
    // One correction per step is enough for the handle's turns; a value
    // further out is reduced first, in constant time whatever its size.
    if (a < -360 || a > 720)
        a = std::fmod(a, 360.0);
    if (a < 0)
        a += 360;
    if (a > 360)
        a -= 360;
    return a == 0 ? 0.0 : a; // no -0
}

// Drawing --------------------------------------------------------------------

QString CREPageItem::dateText(const QDate &date)
{
    static const char *const months[12]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!date.isValid())
        return QString();
    return QLatin1String(months[date.month() - 1]) + QLatin1Char(' ') + QString::number(date.day())
        + QLatin1Char(' ') + QString::number(date.year());
}

void CREPageItem::drawFitted(QPainter *p, const QImage &picture, QSize size)
{
    if (picture.isNull())
        return;
    if (size.isEmpty())
        size = picture.size();
    const double w = boundSize.width();
    const double h = boundSize.height();
    int offX = 0;
    int offY = 0;
    const double s = calcFitScale(size.width(), size.height(), int(w), int(h), offX, offY);
    const int dw = qMax(1, int(size.width() * s));
    const int dh = qMax(1, int(size.height() * s));
    int left = 0;
    switch (alignment) {
    case 1:
        left = 0;
        break;
    case 2:
        left = int(w - dw);
        break;
    case 4:
        left = offX;
        break;
    default:
        return;
    }
    drawPicture(p, QRect(left, 0, dw, dh), picture);
}

void CREPageItem::drawPicture(QPainter *p, const QRectF &target, const QImage &picture)
{
    // Below this size scaling on the fly costs no more than copying, and
    // the picture is drawn exactly as the painter samples it.
    constexpr qint64 CachedFrom = 512 * 512;
    constexpr qint64 CachedUpTo = 2048 * 2048;
    // The world transform: a painter redirected to a widget adds its offset
    // to the copy as to everything else.
    const QTransform device = p->worldTransform();
    if (qint64(picture.width()) * picture.height() >= CachedFrom
        && device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0) {
        const QRectF onDevice = device.mapRect(target);
        const QSize size(qRound(onDevice.width()), qRound(onDevice.height()));
        if (size.width() >= 1 && size.height() >= 1 && size.width() < picture.width()
            && size.height() < picture.height()
            && qint64(size.width()) * size.height() <= CachedUpTo) {
            const bool smooth = p->testRenderHint(QPainter::SmoothPixmapTransform);
            if (scaled.source != picture.cacheKey() || scaled.size != size
                || scaled.smooth != smooth) {
                // Scaled the way the painter would draw it, so that the copy
                // costs only its own pixels, and opaque when the picture is.
                scaled.image
                    = QImage(size,
                             picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32);
                scaled.image.fill(Qt::transparent);
                QPainter copy(&scaled.image);
                copy.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
                copy.setCompositionMode(QPainter::CompositionMode_Source);
                copy.drawImage(QRect(QPoint(0, 0), size), picture);
                copy.end();
                scaled.source = picture.cacheKey();
                scaled.size = size;
                scaled.smooth = smooth;
            }
            p->save();
            p->setWorldTransform(QTransform());
            p->drawImage(QPoint(qRound(onDevice.x()), qRound(onDevice.y())), scaled.image);
            p->restore();
            return;
        }
    }
    p->drawImage(target, picture);
}

void CREPageItem::drawText(QPainter *p)
{
    const double w = boundSize.width();
    const double h = boundSize.height();
    // Texts up to this length are laid out whole at every draw.
    constexpr int LongText = 2000;
    if (text.size() <= LongText) {
        const QRect b = p->boundingRect(QRect(), alignment, text);
        p->drawText(QRectF(w / 2 - b.width() / 2.0 - 1, h / 2 - b.height() / 2.0 - 1, b.width() + 2,
                           b.height() + 2),
                    alignment, text);
        return;
    }
    // A long text is measured once for its font and device, whatever the
    // objects and pages that repeat it, and only what can show of its lines
    // is laid out: a block holding it may be drawn a thousand times, mostly
    // cut by its frame.
    const int dpi = p->device()->logicalDpiY();
    if (!textBounds.measure || textBounds.text != text || textBounds.font != font
        || textBounds.alignment != alignment || textBounds.dpi != dpi) {
        textBounds.measure = TextMeasure::of(p, text, alignment);
        textBounds.text = text;
        textBounds.font = font;
        textBounds.alignment = alignment;
        textBounds.dpi = dpi;
    }
    const TextMeasure &measure = *textBounds.measure;
    const QRect b = measure.rect;
    const QRectF r(w / 2 - b.width() / 2.0 - 1, h / 2 - b.height() / 2.0 - 1, b.width() + 2,
                   b.height() + 2);
    bool invertible = false;
    const QTransform back = p->worldTransform().inverted(&invertible);
    if (!invertible)
        return;
    QRectF visible = back.mapRect(QRectF(0, 0, p->device()->width(), p->device()->height()));
    if (p->hasClipping())
        visible &= p->clipBoundingRect();
    visible &= r;
    if (visible.isEmpty())
        return;
    const QVector<int> &starts = measure.lineStarts;
    const QFontMetricsF metrics(font, p->device());
    const double pitch = metrics.lineSpacing();
    if (!(pitch > 0))
        return;
    // Where the painter puts the whole block of lines in r.
    const double height = starts.size() * pitch - metrics.leading();
    const int vertical = alignment & Qt::AlignVertical_Mask;
    const double top = r.top()
        + (vertical & Qt::AlignBottom        ? r.height() - height
               : vertical & Qt::AlignVCenter ? (r.height() - height) / 2
                                             : 0);
    const int first = int(
        qBound(0.0, std::floor((visible.top() - top) / pitch) - 1, double(starts.size() - 1)));
    const int last = int(
        qBound(0.0, std::ceil((visible.bottom() - top) / pitch) + 1, double(starts.size() - 1)));
    measure.drawLines(p, r, first, last, top + first * pitch, pitch, visible.left(),
                      visible.right());
}

void CREPageItem::drawSymbol(QPainter *p, const QString &symbolText)
{
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QImage source = symbolSource(symbolText, barcodeKind, color);
    if (barcodeKind != 0 || source.isNull()) {
        drawFitted(p, source);
        return;
    }
    // A QR Code is ten pixels a module. A large one is drawn from its modules
    // without smoothing, each module a sharp square, rather than building
    // (and smoothing) an image a hundred times its size at every draw.
    const int n = source.width();
    if (n > 51) {
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        drawFitted(p, source, QSize(10 * n, 10 * n));
        return;
    }
    drawFitted(p, source.scaled(10 * n, 10 * n, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void CREPageItem::draw(QPainter *p, CDrawMode *mode, CStyle *style)
{
    p->save();
    p->setTransform(transform, true);
    // Text is drawn antialiased, the table painters included; the stored
    // font gets its own strategy back, so that what is saved does not depend
    // on whether the item has been drawn.
    struct StrategyKept
    {
        QFont &font;
        const QFont::StyleStrategy strategy;
        ~StrategyKept() { font.setStyleStrategy(strategy); }
    } kept {font, font.styleStrategy()};
    font.setStyleStrategy(QFont::PreferAntialias);

    const double w = boundSize.width();
    const double h = boundSize.height();
    const QRectF box(0, 0, w, h);
    const QPen textPen(QBrush(color), 1, Qt::SolidLine);
    const int textFlags = alignment | Qt::TextWordWrap;
    const bool editorPass = !mode->thumbnailMode && !mode->outputMode;
    const CNumerology *person = container ? container->person : nullptr;
    const bool readable = legible(p->deviceTransform());

    auto startText = [&]() {
        p->setRenderHint(QPainter::TextAntialiasing, true);
        p->setFont(font);
        p->setPen(textPen);
    };

    switch (type) {
    case Frame: {
        if (inner && inner->type == Image && !rectangularOn(p->deviceTransform())) {
            inner->fillPictureInto(p, shape);
        } else if (inner) {
            if (inner->type != Path)
                p->setClipPath(shape, Qt::IntersectClip);
            inner->draw(p, mode, style);
        }
        const int innerFrameStyle = inner ? inner->frameStyle : 0;
        if (innerFrameStyle == 0 && (mode->outputMode || !mode->showBoundaries))
            break;
        p->setClipping(false);
        p->setBrush(Qt::NoBrush);
        // Cosmetic and aliased: one device pixel at every zoom, in the chart
        // and the export alike, never two half-tone ones.
        QPen line(innerFrameStyle != 0 ? inner->frameColor : style->outlineColor, 0, Qt::SolidLine);
        line.setCosmetic(true);
        p->setPen(line);
        p->setRenderHint(QPainter::Antialiasing, false);
        p->drawPath(shape);
        break;
    }
    case Image:
        if (!image.isNull())
            drawPicture(p, box, image.toImage());
        break;
    case Text: {
        if (!readable)
            break;
        startText();
        drawText(p);
        break;
    }
    case Path:
        drawPath(p);
        break;
    case DataField:
        if (!readable)
            break;
        startText();
        if (editorPass) {
            p->drawImage(0, 0, style->images[CStyle::DataField]);
            p->drawText(QRectF(18, 0, w - 18, h), textFlags, text);
        } else {
            p->drawText(QRectF(1, 0, w - 1, h), textFlags, text);
        }
        break;
    case Placeholder: {
        if (!readable)
            break;
        startText();
        const QRectF valueRect(1, 0, w - 2, h);
        const QRectF ownRect(2, 2, w - 3, h - 3);
        if (key == QLatin1String("#full_name")) {
            p->drawText(valueRect, textFlags, person ? person->m_fullName : QString());
        } else if (key == QLatin1String("#short_name")) {
            p->drawText(valueRect, textFlags, person ? person->m_shortName : QString());
        } else if (key == QLatin1String("#birthdate")) {
            p->drawText(valueRect, textFlags, person ? dateText(person->m_birthDate) : QString());
        } else if (key == QLatin1String("#print_date")) {
            p->drawText(valueRect, textFlags, dateText(QDate::currentDate()));
        } else if (key == QLatin1String("#numerologist")) {
            // The readings know no numerologist: the name typed into the item stands.
            p->drawText(valueRect, textFlags, text);
        } else if (isVariable) {
            p->drawText(ownRect, textFlags, text);
        }
        if (isFreeText)
            p->drawText(ownRect, textFlags, text);
        break;
    }
    case PictureSlot: {
        p->setFont(QFont(QStringLiteral("Arial"), 36));
        p->setPen(QPen(aidColor, 1, Qt::SolidLine));
        const QImage &picture = style->images[CStyle::RepImage];
        if (fitMode == 0)
            p->drawImage(0, 0, picture);
        else if (fitMode == 1 && !mode->outputMode)
            drawFitted(p, picture);
        if (!mode->outputMode && readable)
            p->drawText(box, QString::number(qint64(blockIndex) + 1), QTextOption());
        break;
    }
    case BlockReference:
        if (mode->outputMode) {
            if (blockPage && blockIndex >= 0)
                blockPage->draw(p, mode, style, false);
            break;
        }
        p->setPen(QPen(aidColor, 0, Qt::SolidLine));
        // The block's current thumbnail: the one a reference was given may
        // have been replaced since.
        if (const QImage *thumb = blockPage ? blockPage->thumbnail : blockImage) {
            p->setOpacity(0.8);
            p->drawImage(box, *thumb);
            p->setOpacity(1.0);
        }
        p->setFont(QFont(QStringLiteral("Arial"), 24));
        if (readable)
            p->drawText(box, QLatin1Char('#') + QString::number(qint64(order) + 1), QTextOption());
        if (frameStyle == 0) {
            p->setBrush(Qt::NoBrush);
            p->drawRect(box);
        }
        break;
    case PictureList: {
        p->setFont(QFont(QStringLiteral("Arial"), 36));
        p->setPen(QPen(aidColor, 1, Qt::SolidLine));
        if (mode->outputMode)
            break;
        const QImage &picture = style->images[CStyle::RepImage];
        if (fitMode == 1)
            drawFitted(p, picture);
        else if (fitMode == 0)
            p->drawImage(0, 0, picture);
        break;
    }
    case Symbol:
        drawSymbol(p, ChartBinding::symbolText(person, key, text));
        break;
    case MatrixTable:
    case NameTable:
    case CalendarTable:
    case InfoTable:
    case BridgesTable:
        if (readable)
            drawTables(p);
        break;
    default:
        break;
    }
    p->restore();
}

void CREPageItem::drawTracker(QPainter *p, CDrawMode *mode, CStyle *style, bool outlineOnly)
{
    if (outlineOnly && mode && !mode->showBoundaries)
        return;
    p->save();
    const QRectF mapped = p->transform().mapRect(transform.map(shape).boundingRect());
    const QRectF r(mapped.x() - 2, mapped.y() - 2, mapped.width() + 3, mapped.height() + 3);
    p->resetTransform();
    p->setPen(QPen(QBrush(style->outlineColor), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    p->setBrush(Qt::NoBrush);
    p->setRenderHint(QPainter::Antialiasing, false);
    if (outlineOnly) {
        p->drawRect(r);
        p->restore();
        return;
    }
    const double x = r.x();
    const double y = r.y();
    const double w = r.width();
    const double h = r.height();
    const QImage &moveImage = style->images[CStyle::MoveHandle];
    const QImage &scaleImage = style->images[CStyle::ScaleHandle];
    const QImage &rotateImage = style->images[CStyle::RotateHandle];
    const QImage &scaleResImage = style->images[CStyle::ScaleResItem];
    const QImage &scaleItemImage = style->images[CStyle::ScaleItem];

    if (w > 3 * moveImage.width() && h > 2 * moveImage.height())
        p->drawImage(pixel(x + w / 2 - moveImage.width() / 2),
                     pixel(y - moveImage.height() / 2.0 - 1), moveImage);
    const bool scaleDrawn = w > 3 * scaleImage.width() && h > 2 * scaleImage.height();
    if (scaleDrawn)
        p->drawImage(pixel(x + w - scaleImage.width() + 2), pixel(y + h - scaleImage.height() + 1),
                     scaleImage);
    p->drawImage(pixel(x + w + rotateImage.width() / 4), pixel(y + h - rotateImage.height() + 1),
                 rotateImage);
    if (inner && !fixedContent && w > 3 * scaleResImage.width() && h > 2 * scaleResImage.height()) {
        p->drawImage(QPointF(x + w / 4 - scaleResImage.width() / 2.0,
                             y + h / 2 - scaleResImage.height() / 2.0),
                     scaleResImage);
        p->drawImage(QPointF(x + 3 * w / 4 - scaleItemImage.width() / 2.0,
                             y + h / 2 - scaleItemImage.height() / 2.0),
                     scaleItemImage);
    }
    p->drawRect(r);
    p->drawRect(QRectF(x, y + h - 8, 8, 8));
    p->drawRect(QRectF(x, y, 8, 8));
    p->drawRect(QRectF(x + w - 8, y, 8, 8));
    if (!scaleDrawn)
        p->drawRect(QRectF(x + w - 8, y + h - 8, 8, 8));
    if (h > 27) {
        p->drawEllipse(QRectF(x - 3, y + h / 2 - 4, 6, 8));
        p->drawEllipse(QRectF(x + w - 3, y + h / 2 - 4, 6, 8));
    }
    if (w > 27)
        p->drawEllipse(QRectF(x + w / 2 - 4, y + h - 3, 8, 6));
    p->drawLine(QPointF(x, y - 2), QPointF(x + w, y - 2));
    p->restore();
}
