#include "designer/templatelimits.h"

#include <QIODevice>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QtEndian>

namespace TemplateLimits {

namespace {

qint64 keptPixels(QSize size)
{
    if (qint64(size.width()) * size.height() > BoundedRead::MaxDeclaredPixels)
        return MaxPicturePixels + 1;
    if (size.width() > BoundedRead::MaxPictureSide || size.height() > BoundedRead::MaxPictureSide)
        size = size.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(size.width()) * size.height();
}

} // namespace

qint64 picturePixels(const QImage &image)
{
    return image.isNull() ? 0 : keptPixels(image.size());
}

qint64 picturePixels(const QVector<QImage> &pictures)
{
    QSet<qint64> counted;
    qint64 pixels = 0;
    for (const QImage &picture : pictures) {
        if (!picture.isNull() && !counted.contains(picture.cacheKey())) {
            counted.insert(picture.cacheKey());
            pixels += picturePixels(picture);
        }
    }
    return pixels;
}

qint64 nextPicturePixels(QIODevice *device)
{
    // A non-zero marker, the PNG signature, then the IHDR chunk: its length,
    // its name, and the width and height, all big-endian.
    constexpr int HeaderBytes = 4 + 8 + 4 + 4 + 8;
    const QByteArray head = device ? device->peek(HeaderBytes) : QByteArray();
    if (head.size() < HeaderBytes || qFromBigEndian<qint32>(head.constData()) == 0
        || head.mid(12 + 4, 4) != "IHDR")
        return 0;
    const quint32 w = qFromBigEndian<quint32>(head.constData() + 20);
    const quint32 h = qFromBigEndian<quint32>(head.constData() + 24);
    if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu)
        return 0;
    return keptPixels(QSize(int(w), int(h)));
}

void notePictureBudget(QIODevice *device, BoundedRead::ReadBudget *budget)
{
    if (budget && nextPicturePixels(device) > budget->pixelsLeft
        && !BoundedRead::decodedBefore(device, *budget))
        budget->pixelsLeft = -1;
}

} // namespace TemplateLimits
