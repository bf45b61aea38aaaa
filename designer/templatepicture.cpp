#include "designer/templatepicture.h"

#include <QBuffer>
#include <QCache>
#include <QCryptographicHash>
#include <QDataStream>
#include <QImageReader>

namespace {

// Pictures a file brought, decoded, by key. Cost: their pixels.
QCache<qint64, QImage> &decodedPictures()
{
    static QCache<qint64, QImage> cache(int(TemplatePicture::KeptPixels));
    return cache;
}

// Keys of pictures a file brought count down from -1, so that they never
// meet the (positive) cache keys of images.
qint64 nextStoredKey()
{
    static qint64 next = 0;
    return --next;
}

// The size png decodes to, scaled down as BoundedRead decodes a picture
// larger than its largest side; invalid when its header is unreadable.
QSize decodedSize(const QByteArray &png)
{
    QByteArray bytes = png;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return QSize();
    if (size.width() > BoundedRead::MaxPictureSide || size.height() > BoundedRead::MaxPictureSide)
        size = size.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return size;
}

} // namespace

TemplatePicture::TemplatePicture(const QImage &image)
    : m_image(image)
    , m_size(image.isNull() ? QSize() : image.size())
    , m_key(image.isNull() ? 0 : image.cacheKey())
{
}

QImage TemplatePicture::toImage() const
{
    if (m_png.isEmpty())
        return m_image;
    QCache<qint64, QImage> &cache = decodedPictures();
    if (const QImage *known = cache.object(m_key))
        return *known;
    const QImage decoded = BoundedRead::decodeStoredImage(m_png);
    // A picture that does not decode is kept too, so that it is not tried
    // at every draw; one larger than the whole cache is not kept.
    const qint64 pixels = qMax<qint64>(1, qint64(decoded.width()) * decoded.height());
    if (pixels <= KeptPixels)
        cache.insert(m_key, new QImage(decoded), int(pixels));
    return decoded;
}

bool TemplatePicture::read(QDataStream &s, TemplatePicture *picture, Reading *reading)
{
    *picture = TemplatePicture();
    QByteArray png;
    // Checked for its header and chunks here, charged below once it is
    // known whether the file stored it before.
    if (!BoundedRead::readStoredImage(s, &png, nullptr))
        return false;
    if (png.isEmpty())
        return true;
    const QByteArray digest
        = reading ? QCryptographicHash::hash(png, QCryptographicHash::Sha1) : QByteArray();
    if (reading) {
        const auto known = reading->read.constFind(digest);
        if (known != reading->read.constEnd()) {
            *picture = known.value();
            return true;
        }
    }
    const QSize size = decodedSize(png);
    const qint64 pixels = qint64(size.width()) * size.height();
    if (size.isEmpty() || (reading && pixels > reading->budget.pixelsLeft)) {
        if (reading && !size.isEmpty())
            reading->budget.pixelsLeft = -1;
        s.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    picture->m_png = png;
    picture->m_size = size;
    picture->m_key = nextStoredKey();
    if (reading) {
        reading->budget.pixelsLeft -= pixels;
        reading->read.insert(digest, *picture);
    }
    return true;
}

QDataStream &operator<<(QDataStream &s, const TemplatePicture &picture)
{
    if (picture.m_png.isEmpty())
        return s << picture.m_image;
    s << qint32(1);
    s.writeRawData(picture.m_png.constData(), picture.m_png.size());
    return s;
}
