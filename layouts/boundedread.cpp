#include "layouts/boundedread.h"

#include <QColor>
#include <QCryptographicHash>
#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

namespace BoundedRead {

namespace {

// A digest of the PNG data at the device's position, read chunk by chunk
// up to its end without decoding anything, and where that end is; empty
// when the device cannot go back or the data is no whole PNG stream of a
// size the reader takes. The device is left where it was.
QByteArray pngDigest(QIODevice *device, qint64 *end)
{
    if (!device || device->isSequential())
        return QByteArray();
    const qint64 start = device->pos();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QByteArray digest;
    char buffer[16384];
    if (device->read(buffer, 8) == 8 && QByteArray(buffer, 8) == "\x89PNG\r\n\x1a\n") {
        hash.addData(buffer, 8);
        // What the chunks may take, once the header has told the size: the
        // pixels at 8 bytes each, a filter byte a row, and room to spare.
        qint64 left = -1;
        for (;;) {
            char head[8];
            if (device->read(head, 8) != 8)
                break;
            const quint32 length = qFromBigEndian<quint32>(head);
            const bool header = QByteArray(head + 4, 4) == "IHDR";
            if (left < 0) {
                if (!header || length < 8 || device->peek(buffer, 8) != 8)
                    break;
                const qint64 w = qFromBigEndian<quint32>(buffer);
                const qint64 h = qFromBigEndian<quint32>(buffer + 4);
                if (w < 1 || h < 1 || w > MaxDeclaredPixels || h > MaxDeclaredPixels
                    || w * h > MaxDeclaredPixels)
                    break;
                left = 8 * w * h + h + (qint64(1) << 20);
            }
            left -= qint64(length) + 12;
            if (left < 0)
                break;
            hash.addData(head, 8);
            qint64 rest = qint64(length) + 4; // the data and its CRC
            while (rest > 0) {
                const qint64 n = device->read(buffer, qMin<qint64>(rest, sizeof buffer));
                if (n <= 0)
                    break;
                hash.addData(buffer, int(n));
                rest -= n;
            }
            if (rest > 0)
                break;
            if (QByteArray(head + 4, 4) == "IEND") {
                digest = hash.result();
                *end = device->pos();
                break;
            }
        }
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
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return refuse();
    const qint64 pixels = qint64(declared.width()) * declared.height();
    if (pixels > MaxDeclaredPixels)
        return refuse();
    QSize wanted = declared;
    if (wanted.width() > MaxPictureSide || wanted.height() > MaxPictureSide) {
        wanted.scale(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio);
        wanted = wanted.expandedTo(QSize(1, 1));
        reader.setScaledSize(wanted);
    }
    const qint64 kept = qint64(wanted.width()) * wanted.height();
    if (budget) {
        if (kept > budget->pixelsLeft)
            return refuse();
        budget->pixelsLeft -= kept;
    }
    if (!reader.read(image) || image->isNull())
        return refuse();
    if (!digest.isEmpty())
        budget->decoded->insert(digest, *image);
    return true;
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
