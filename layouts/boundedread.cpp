#include "layouts/boundedread.h"

#include <QColor>
#include <QDataStream>
#include <QIODevice>
#include <QImage>
#include <QImageReader>

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
