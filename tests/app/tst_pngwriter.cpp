#include "app/pngwriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QtTest>

#include <zlib.h>

namespace {

// Pixels every filter wins somewhere on: flat runs, ramps and noise.
QImage pattern(int w, int h, QImage::Format format, bool transparent)
{
    QImage image(w, h, QImage::Format_ARGB32);
    quint32 seed = 17;
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int(seed >> 24);
            const int alpha = transparent ? (x + 3 * y) % 256 : 255;
            if (y % 3 == 0)
                row[x] = qRgba(200, 40, 90, alpha);
            else if (x < w / 2)
                row[x] = qRgba(x % 256, y % 256, (x + y) % 256, alpha);
            else
                row[x] = qRgba(noise, 255 - noise, noise / 2, alpha);
        }
    }
    return image.convertToFormat(format);
}

// The zlib stream of a PNG file: its IDAT chunks' data joined.
QByteArray zlibStream(const QByteArray &png)
{
    QByteArray stream;
    for (int at = 8; at + 12 <= png.size();) {
        const int length = int(qFromBigEndian<quint32>(png.constData() + at));
        if (png.mid(at + 4, 4) == "IDAT")
            stream.append(png.mid(at + 8, length));
        at += length + 12;
    }
    return stream;
}

} // namespace

class tst_PngWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void failures();
};

void tst_PngWriter::roundTrip_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("colourType"); // 2 RGB, 6 RGBA

    // Tall enough for many strips, whose joins the reader must not see.
    QTest::newRow("opaque canvas, many strips")
        << pattern(301, 1100, QImage::Format_RGB32, false) << 1 << 2;
    QTest::newRow("opaque ARGB32 keeps its alpha channel")
        << pattern(64, 40, QImage::Format_ARGB32, false) << 4 << 6;
    QTest::newRow("transparency, straight alpha")
        << pattern(97, 300, QImage::Format_ARGB32, true) << 6 << 6;
    QTest::newRow("transparency, premultiplied")
        << pattern(33, 70, QImage::Format_ARGB32_Premultiplied, true) << 9 << 6;
    QTest::newRow("other format, stored without compression")
        << pattern(50, 50, QImage::Format_RGB888, false) << 0 << 2;
    QTest::newRow("one pixel") << pattern(1, 1, QImage::Format_RGB32, false) << 1 << 2;
}

void tst_PngWriter::roundTrip()
{
    QFETCH(QImage, image);
    QFETCH(int, level);
    QFETCH(int, colourType);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(PngWriter::write(image, &buffer, level));

    QCOMPARE(int(png.at(25)), colourType);
    // The strips make one zlib stream whose checksum holds for all of it.
    const QByteArray stream = zlibStream(png);
    QVERIFY(stream.size() > 6);
    QCOMPARE((quint8(stream.at(0)) * 256 + quint8(stream.at(1))) % 31, 0);
    const int rowLength = image.width() * (colourType == 6 ? 4 : 3) + 1;
    QByteArray raw(rowLength * image.height(), Qt::Uninitialized);
    uLongf rawLength = uLongf(raw.size());
    QCOMPARE(uncompress(reinterpret_cast<Bytef *>(raw.data()), &rawLength,
                        reinterpret_cast<const Bytef *>(stream.constData()), uLong(stream.size())),
             Z_OK);
    QCOMPARE(int(rawLength), raw.size());

    QImage back;
    QBuffer in(&png);
    in.open(QIODevice::ReadOnly);
    QImageReader reader(&in, "png");
    QVERIFY2(reader.read(&back), qPrintable(reader.errorString()));
    const QImage::Format compared = colourType == 6 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QCOMPARE(back.convertToFormat(compared), image.convertToFormat(compared));
}

void tst_PngWriter::failures()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(!PngWriter::write(QImage(), &buffer));

    // A device that takes nothing: the failure is the writer's answer.
    QBuffer closed;
    QVERIFY(!PngWriter::write(pattern(20, 20, QImage::Format_RGB32, false), &closed));
}

QTEST_GUILESS_MAIN(tst_PngWriter)
#include "tst_pngwriter.moc"
