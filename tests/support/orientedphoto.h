#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageWriter>

// A photograph as a phone stores one taken upright: landscape pixels and
// an EXIF orientation that tells viewers to turn them.
namespace OrientedPhoto {

// The stored pixels: 126 x 94, blue with a red corner at the top left.
inline QImage storedPixels()
{
    QImage image(126, 94, QImage::Format_RGB32);
    image.fill(QColor(20, 40, 200));
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(230, 20, 20));
    }
    return image;
}

// The pixels as a JPEG with an APP1 segment right after its start marker
// holding one EXIF tag: orientation (0x0112, SHORT) = orientation. Six
// means "turn a quarter clockwise to view".
inline QByteArray jpeg(int orientation = 6)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    if (!writer.write(storedPixels()))
        return QByteArray();
    // A big-endian TIFF header, then one IFD of one entry and no next IFD.
    const QByteArray tiff = QByteArray("MM\0\x2a\0\0\0\x08", 8) + QByteArray("\0\x01", 2)
        + QByteArray("\x01\x12\0\x03\0\0\0\x01", 8) + char(0) + char(orientation)
        + QByteArray(2, '\0') + QByteArray(4, '\0');
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = payload.size() + 2;
    const QByteArray segment
        = QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
    return bytes.left(2) + segment + bytes.mid(2);
}

// True when image shows the photograph upright: portrait proportions (at
// any scale, to a pixel) and the red corner at the top right, the rest blue.
inline bool upright(const QImage &image)
{
    if (image.isNull() || qAbs(image.width() * 126 - image.height() * 94) > 126)
        return false;
    const auto at = [&image](double x, double y) {
        return QColor(image.pixel(int(x * image.width()), int(y * image.height())));
    };
    const auto red = [](const QColor &c) {
        return c.red() > 180 && c.blue() < 80;
    };
    const auto blue = [](const QColor &c) {
        return c.blue() > 150 && c.red() < 80;
    };
    return red(at(0.9, 0.1)) && blue(at(0.1, 0.1)) && blue(at(0.1, 0.9)) && blue(at(0.9, 0.9));
}

} // namespace OrientedPhoto
