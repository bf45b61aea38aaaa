#include "layouts/boundedread.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QtEndian>

#include <cstring>

namespace BoundedRead {

namespace {

// The size reader decodes its picture to, set as its scaled size when the
// picture is larger than MaxPictureSide; invalid when the header is
// unreadable or declares more than MaxDeclaredPixels.
QSize keptSize(QImageReader *reader)
{
    reader->setAutoTransform(false);
    const QSize declared = reader->size();
    if (!declared.isValid() || declared.isEmpty())
        return QSize();
    if (qint64(declared.width()) * declared.height() > MaxDeclaredPixels)
        return QSize();
    QSize wanted = declared;
    if (wanted.width() > MaxPictureSide || wanted.height() > MaxPictureSide) {
        wanted.scale(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio);
        wanted = wanted.expandedTo(QSize(1, 1));
        reader->setScaledSize(wanted);
    }
    return wanted;
}

bool takeFromBudget(const QSize &kept, ReadBudget *budget)
{
    const qint64 pixels = qint64(kept.width()) * kept.height();
    if (budget) {
        if (pixels > budget->pixelsLeft)
            return false;
        budget->pixelsLeft -= pixels;
    }
    return true;
}

// The PNG data at the device's position, through its IEND chunk, read chunk
// by chunk without decoding; false when they are not whole.
bool readPngChunks(QIODevice *device, QByteArray *png)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    *png = device->read(8);
    if (png->size() != 8 || std::memcmp(png->constData(), signature, 8) != 0)
        return false;
    for (;;) {
        const QByteArray head = device->read(8);
        if (head.size() != 8)
            return false;
        const quint32 length = qFromBigEndian<quint32>(head.constData());
        // The length, then the chunk's type, data and checksum.
        if (length > 0x7fffffffU || qint64(length) + 4 > device->bytesAvailable())
            return false;
        const QByteArray rest = device->read(qint64(length) + 4);
        if (rest.size() != int(length) + 4)
            return false;
        png->append(head).append(rest);
        if (std::memcmp(head.constData() + 4, "IEND", 4) == 0)
            return true;
    }
}

// A digest of the PNG data at the device's position, read chunk by chunk
// up to its end without decoding anything, and where that end is; empty
// when the device cannot go back or the data is no whole PNG stream. The
// device is left where it was.
QByteArray pngDigest(QIODevice *device, qint64 *end)
{
    if (!device || device->isSequential())
        return QByteArray();
    const qint64 start = device->pos();
    QByteArray png;
    QByteArray digest;
    if (readPngChunks(device, &png)) {
        digest = QCryptographicHash::hash(png, QCryptographicHash::Sha1);
        *end = device->pos();
    }
    if (!device->seek(start))
        return QByteArray();
    return digest;
}

} // namespace

bool decodedBefore(QIODevice *device, const ReadBudget &budget)
{
    if (!budget.decoded || !device || device->isSequential())
        return false;
    const qint64 start = device->pos();
    qint64 end = 0;
    const bool known = device->seek(start + 4) && budget.decoded->contains(pngDigest(device, &end));
    device->seek(start);
    return known;
}

bool readImage(QDataStream &stream, QImage *image, ReadBudget *budget)
{
    *image = QImage();
    qint32 marker = 0;
    stream >> marker;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (marker == 0)
        return true;
    auto refuse = [&]() {
        *image = QImage();
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    };
    // A picture the file holds again is taken from the first one read.
    QByteArray digest;
    if (budget && budget->decoded) {
        qint64 end = 0;
        digest = pngDigest(stream.device(), &end);
        const auto known = budget->decoded->constFind(digest);
        if (!digest.isEmpty() && known != budget->decoded->constEnd()) {
            if (!stream.device()->seek(end))
                return refuse();
            *image = known.value();
            return true;
        }
    }
    // The writer only ever stores PNG; other decoders are not offered the data.
    QImageReader reader(stream.device(), "png");
    const QSize kept = keptSize(&reader);
    if (!kept.isValid() || !takeFromBudget(kept, budget))
        return refuse();
    if (!reader.read(image) || image->isNull())
        return refuse();
    if (!digest.isEmpty())
        budget->decoded->insert(digest, *image);
    return true;
}

bool readStoredImage(QDataStream &stream, QByteArray *png, ReadBudget *budget)
{
    png->clear();
    qint32 marker = 0;
    stream >> marker;
    if (stream.status() != QDataStream::Ok)
        return false;
    if (marker == 0)
        return true;
    QSize kept;
    if (stream.device() && readPngChunks(stream.device(), png)) {
        QBuffer buffer(png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        kept = keptSize(&reader);
    }
    if (!kept.isValid() || !takeFromBudget(kept, budget)) {
        png->clear();
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    return true;
}

qint64 storedImagePixels(const QByteArray &png)
{
    if (png.isEmpty())
        return 0;
    QByteArray bytes = png;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize kept = keptSize(&reader);
    return kept.isValid() ? qint64(kept.width()) * kept.height() : 0;
}

QImage decodeStoredImage(const QByteArray &png)
{
    QImage image;
    if (png.isEmpty())
        return image;
    QByteArray bytes = png;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (!keptSize(&reader).isValid() || !reader.read(&image))
        return QImage();
    return image;
}

QImage readPicture(QIODevice *device, QByteArray *format)
{
    static const QList<QByteArray> raster {"png", "jpeg", "jpg", "gif",
                                           "bmp", "webp", "tif", "tiff"};
    if (format)
        format->clear();
    if (!device)
        return QImage();
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    const QByteArray found = reader.format().toLower();
    if (format)
        *format = found;
    if (!raster.contains(found))
        return QImage();
    // The size is the stored one, before turning: the bound on the longer
    // side holds either way.
    if (!keptSize(&reader).isValid())
        return QImage();
    reader.setAutoTransform(true);
    QImage picture;
    return reader.read(&picture) ? picture : QImage();
}

QImage readPictureFile(const QString &path, QByteArray *format)
{
    if (format)
        format->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return readPicture(&file, format);
}

qint64 nextStringLength(QDataStream &stream)
{
    uchar raw[4];
    if (!stream.device()
        || stream.device()->peek(reinterpret_cast<char *>(raw), sizeof raw) != sizeof raw)
        return -1;
    const quint32 bytes = stream.byteOrder() == QDataStream::BigEndian
        ? qFromBigEndian<quint32>(raw)
        : qFromLittleEndian<quint32>(raw);
    if (bytes == 0xffffffff)
        return 0;
    return bytes % 2 ? -1 : qint64(bytes / 2);
}

bool readColor(QDataStream &stream, QColor *color)
{
    char spec = 0;
    if (!stream.device() || stream.device()->peek(&spec, 1) != 1
        || qint8(spec) < qint8(QColor::Invalid) || qint8(spec) > qint8(QColor::ExtendedRgb)) {
        stream.setStatus(QDataStream::ReadCorruptData);
        return false;
    }
    stream >> *color;
    return stream.status() == QDataStream::Ok;
}

} // namespace BoundedRead
