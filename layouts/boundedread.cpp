#include "layouts/boundedread.h"

#include <QColor>
#include <QDataStream>
#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

namespace BoundedRead {

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
    return true;
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
