#include "designer/repage.h"

#include "base/apppaths.h"
#include "designer/lnrstream.h"
#include "designer/repageitem.h"
#include "designer/style.h"
#include "layouts/boundedread.h"

#include <QDataStream>
#include <QPainter>

#include <cmath>

namespace {

// The smallest record an item can have on disk (all strings, images and
// paths empty); counts that cannot fit the data left are refused at once.
constexpr qint64 MinItemBytes = 180;
// A page narrower than a page unit would be drawn magnified without bound.
bool usableSide(double v)
{
    return std::isfinite(v) && v >= 1 && v <= TemplateLimits::MaxSide;
}

} // namespace

CREPage::CREPage(calcNumContainer *container, CStyle *style)
    : imagesFolder(getImagesPath())
    , container(container)
    , style(style)
{
}

CREPage::~CREPage()
{
    qDeleteAll(items);
    items.clear();
    delete thumbnail;
}

void CREPage::setPageSize(const QSizeF &size)
{
    width = size.width();
    height = size.height();
    for (CREPageItem *item : qAsConst(items))
        moveToPage(item);
}

void CREPage::moveToPage(CREPageItem *item)
{
    const QRectF r = item->getBoundRect();
    if (r.left() < 0)
        item->move(-r.left(), 0);
    if (r.right() > width)
        item->move(width - r.right(), 0);
    if (r.top() < 0)
        item->move(0, -r.top());
    if (r.bottom() > height)
        item->move(0, height - r.bottom());
}

void CREPage::getSelected(QList<CREPageItem *> &out, bool all) const
{
    out.clear();
    for (CREPageItem *item : items) {
        if (item->type == CREPageItem::Frame && (all || item->selected))
            out.append(item);
    }
}

bool CREPage::getObjectsList(const QPointF &point, QList<CREPageItem *> &out) const
{
    out.clear();
    for (CREPageItem *item : items) {
        if (item->type == CREPageItem::Frame && item->transform.map(item->shape).contains(point))
            out.prepend(item);
    }
    return !out.isEmpty();
}

bool CREPage::getObjectsList(double x, double y, QList<CREPageItem *> &out) const
{
    return getObjectsList(QPointF(x, y), out);
}

void CREPage::unselectAll()
{
    for (CREPageItem *item : qAsConst(items))
        item->selected = false;
}

void CREPage::draw(QPainter *p, CDrawMode *mode, CStyle *drawStyle, bool paper)
{
    p->save();
    const QRectF sheet(0, 0, width, height);
    if (paper) {
        p->setPen(Qt::NoPen);
        p->setBrush(Qt::white);
        p->drawRect(sheet);
        p->setBrush(Qt::NoBrush);
    }
    if (pageBackground.mode != 0xFF) {
        // A picture switched off is not decoded.
        const TemplatePicture &picture = pageBackground.image;
        if (picture.isNull())
            p->fillRect(sheet, pageBackground.color);
        else if (pageBackground.mode == 2)
            p->drawImage(sheet, picture.toImage());
        else if (pageBackground.mode == 1)
            p->drawImage(QPointF(0, 0), picture.toImage());
        else
            p->fillRect(sheet, pageBackground.color);
    }
    if (mode->gridStepX > 1 && mode->gridStepY > 1) {
        // Cosmetic, so that no line doubles at a zoom such as 1.1.
        QPen line(QColor(222, 222, 222), 0);
        line.setCosmetic(true);
        p->setPen(line);
        for (double y = mode->gridStepY; y < height; y += mode->gridStepY)
            p->drawLine(QPointF(0, y), QPointF(width, y));
        for (double x = mode->gridStepX; x < width; x += mode->gridStepX)
            p->drawLine(QPointF(x, 0), QPointF(x, height));
    }
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setClipRect(QRect(0, 0, int(width), int(height)), Qt::ReplaceClip);
    for (CREPageItem *item : qAsConst(items))
        item->draw(p, mode, drawStyle);
    p->restore();
}

void CREPage::draw(QPainter *p, const QRectF &target, CDrawMode *mode, CStyle *drawStyle,
                   bool paper)
{
    if (width <= 0 || height <= 0)
        return;
    const double s = qMin(target.width() / width, target.height() / height);
    const double dx = cround((target.width() - width * s) / 2, 5);
    const double dy = cround((target.height() - height * s) / 2, 5);
    p->save();
    p->translate(target.topLeft());
    p->translate(dx, dy);
    p->scale(s, s);
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    draw(p, mode, drawStyle, paper);
    p->restore();
}

void CREPage::drawTrackers(QPainter *p, CDrawMode *mode, CStyle *drawStyle,
                           const QList<CREPageItem *> &list)
{
    for (CREPageItem *item : list)
        item->drawTracker(p, mode, drawStyle, false);
}

void CREPage::generateThumbnail(bool frame)
{
    int offX = 0;
    int offY = 0;
    const double s = calcFitScale(int(width), int(height), 256, 256, offX, offY);
    // A degenerate page still gets a (blank) one-pixel thumbnail to show.
    const QSize size(qMax(1, int(width * s)), qMax(1, int(height * s)));
    // The image object lives as long as the page, so that block references
    // that point at it never point at a freed one.
    if (!thumbnail)
        thumbnail = new QImage(size, QImage::Format_ARGB32);
    else if (thumbnail->size() != size)
        *thumbnail = QImage(size, QImage::Format_ARGB32);
    thumbnail->fill(Qt::white);
    CDrawMode mode;
    mode.thumbnailMode = true;
    mode.outputMode = false;
    mode.showBoundaries = true;
    {
        QPainter p(thumbnail);
        draw(&p, QRectF(0, 0, size.width(), size.height()), &mode, style, true);
    }
    if (frame) {
        QPainter p(thumbnail);
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, size.width() - 2, size.height() - 2);
    }
}

void CREPage::save(QDataStream &s) const
{
    s.setVersion(LnrStream::StreamVersion);
    s << width << height << name << qint32(repeatCount) << qint32(reservedValue)
      << pageBackground.color << qint8(pageBackground.mode) << pageBackground.image;
    s << qint32(items.size());
    for (const CREPageItem *item : items) {
        item->save(s);
        s << qint8(item->inner ? 1 : 0);
        if (item->inner)
            item->inner->save(s);
    }
}

QString CREPage::limitFault() const
{
    if (name.size() > TemplateLimits::MaxText)
        return QStringLiteral("A page name holds more than %1 characters.")
            .arg(TemplateLimits::MaxText);
    if (!usableSide(width) || !usableSide(height))
        return QStringLiteral("The page \"%1\" is larger than a template can hold.").arg(name);
    if (items.size() > TemplateLimits::MaxItems)
        return QStringLiteral("The page \"%1\" has more than %2 objects.")
            .arg(name)
            .arg(TemplateLimits::MaxItems);
    for (const CREPageItem *item : items) {
        const char *fault = item->limitFault();
        if (!fault && item->inner)
            fault = item->inner->limitFault();
        if (fault)
            return QStringLiteral("An object on the page \"%1\"\r\n%2.")
                .arg(name, QLatin1String(fault));
    }
    return QString();
}

void CREPage::appendPictures(QVector<TemplatePicture> *pictures) const
{
    pictures->append(pageBackground.image);
    for (const CREPageItem *item : items) {
        pictures->append(item->image);
        if (item->inner)
            pictures->append(item->inner->image);
    }
}

bool CREPage::load(QDataStream &s, int version, TemplatePicture::Reading *reading, QString *fault)
{
    s.setVersion(LnrStream::StreamVersion);
    s >> width >> height;
    if (version >= 258) {
        qint32 repeat = 0;
        qint32 reserved = 0;
        if (!LnrStream::readString(s, name)) {
            if (fault)
                *fault = limitFault();
            return false;
        }
        s >> repeat >> reserved;
        // Every negative count leaves the page out, and 0 stands for the most.
        repeatCount = qBound(-1, repeat, TemplateLimits::MaxRepeat);
        reservedValue = reserved;
    }
    if (version >= 259) {
        qint8 mode = 0;
        if (s.status() != QDataStream::Ok || !BoundedRead::readColor(s, &pageBackground.color))
            return false;
        s >> mode;
        if (s.status() != QDataStream::Ok
            || !TemplatePicture::read(s, &pageBackground.image, reading))
            return false;
        pageBackground.mode = quint8(mode);
    }
    qint32 count = 0;
    s >> count;
    if (s.status() != QDataStream::Ok)
        return false;
    if (!usableSide(width) || !usableSide(height) || count < 0 || count > TemplateLimits::MaxItems
        || !LnrStream::countFits(s, count, MinItemBytes)) {
        if (fault && (!usableSide(width) || !usableSide(height)))
            *fault = limitFault();
        else if (fault && count > TemplateLimits::MaxItems)
            *fault = QStringLiteral("The page \"%1\" has more than %2 objects.")
                         .arg(name)
                         .arg(TemplateLimits::MaxItems);
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    // An object refused for a value beyond the limits says which.
    const auto refused = [this, fault](const CREPageItem *item) {
        if (fault && item->limitFault())
            *fault = QStringLiteral("An object on the page \"%1\"\r\n%2.")
                         .arg(name, QLatin1String(item->limitFault()));
        return false;
    };
    for (qint32 i = 0; i < count; ++i) {
        auto *item = new CREPageItem(container);
        items.append(item);
        if (!item->load(s, version, reading))
            return refused(item);
        qint8 hasInner = 0;
        s >> hasInner;
        if (hasInner == 1) {
            auto *content = new CREPageItem(container);
            item->inner = content;
            content->outer = item;
            if (!content->load(s, version, reading))
                return refused(content);
        }
        if (s.status() != QDataStream::Ok)
            return false;
    }
    return true;
}
