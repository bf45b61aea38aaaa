#include "layouts/boundedread.h"
#include "layouts/layoutfile.h"
#include "testenvironment.h"
#include "tests/support/hostilepicture.h"
#include "tests/support/orientedphoto.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QtTest>

namespace {

QImage filled(int w, int h, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(w, h, format);
    image.fill(1);
    return image;
}

// Pictures as QDataStream writes them, followed by a marker word.
QByteArray stored(const QList<QImage> &images)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(12);
    for (const QImage &image : images)
        s << image;
    s << quint32(0xC0FFEE);
    return bytes;
}

QByteArray onePixel()
{
    return stored({filled(1, 1)});
}

} // namespace

class TestBoundedRead : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data();
    void pictures();
    void layoutPicturesBounded();
    void pickedPictures_data();
    void pickedPictures();

private:
    void readPictures(bool keepEncoded);
};

void TestBoundedRead::pictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QSize>>("sizes"); // of the pictures read, in order
    QTest::addColumn<bool>("refused");

    QTest::newRow("null") << stored({QImage()}) << 1 << QList<QSize> {QSize(0, 0)} << false;
    QTest::newRow("small, as stored")
        << stored({filled(3, 2)}) << 1 << QList<QSize> {{3, 2}} << false;
    QTest::newRow("5000 x 3000 scaled down") << stored({filled(5000, 3000, QImage::Format_Mono)})
                                             << 1 << QList<QSize> {{4096, 2457}} << false;
    QTest::newRow("declaring 23000 x 23000")
        << HostilePicture::declareSize(onePixel(), 23000, 23000) << 1 << QList<QSize>() << true;
    QTest::newRow("declaring 1 x 100000000")
        << HostilePicture::declareSize(onePixel(), 1, 100000000) << 1 << QList<QSize>() << true;
    QByteArray notPng = onePixel();
    notPng[5] = 'X'; // the PNG signature
    QTest::newRow("not a PNG") << notPng << 1 << QList<QSize>() << true;
    QTest::newRow("budget spent on the first")
        << stored({filled(4096, 4096, QImage::Format_Mono), filled(4096, 4096, QImage::Format_Mono),
                   filled(4096, 4096, QImage::Format_Mono), filled(1, 1)})
        << 4 << QList<QSize> {{4096, 4096}, {4096, 4096}, {4096, 4096}} << true;
}

// Each row is read twice: decoded at once, and kept encoded to be decoded
// later, which must take the same pictures and refuse the same ones.
void TestBoundedRead::pictures()
{
    for (const bool keepEncoded : {false, true})
        readPictures(keepEncoded);
}

void TestBoundedRead::readPictures(bool keepEncoded)
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QList<QSize>, sizes);
    QFETCH(bool, refused);
    QElapsedTimer timer;
    timer.start();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    s.setVersion(12);
    BoundedRead::ReadBudget budget;
    QList<QSize> read;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        QImage image;
        if (keepEncoded) {
            QByteArray png;
            ok = BoundedRead::readStoredImage(s, &png, &budget);
            image = BoundedRead::decodeStoredImage(png);
            QCOMPARE(BoundedRead::storedImagePixels(png), qint64(image.width()) * image.height());
        } else {
            ok = BoundedRead::readImage(s, &image, &budget);
        }
        if (ok)
            read << image.size();
        else
            QVERIFY(image.isNull());
    }
    QCOMPARE(read, sizes);
    QCOMPARE(!ok, refused);
    if (refused) {
        QCOMPARE(s.status(), QDataStream::ReadCorruptData);
    } else {
        // The stream stands right after the picture data.
        quint32 after = 0;
        s >> after;
        QCOMPARE(after, quint32(0xC0FFEE));
    }
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
}

void TestBoundedRead::layoutPicturesBounded()
{
    // A section picture declaring 23000 x 23000, in a layout file and in the
    // bytes of a dragged section, which share the item reader.
    reportSetting setting;
    repItem item;
    item.images = {filled(1, 1)};
    setting.items[0] = {item};
    QByteArray file;
    QBuffer out(&file);
    out.open(QIODevice::WriteOnly);
    QVERIFY(writeReportSetting(&out, setting));
    file = HostilePicture::declareSize(file, 23000, 23000);
    QVERIFY(!file.isEmpty());
    QBuffer in(&file);
    in.open(QIODevice::ReadOnly);
    reportSetting read;
    QVERIFY(!readReportSetting(&in, &read));

    QByteArray payload;
    QDataStream write(&payload, QIODevice::WriteOnly);
    write.setVersion(LayoutStreamVersion);
    writeRepItem(write, item);
    payload = HostilePicture::declareSize(payload, 23000, 23000);
    QDataStream dropped(payload);
    dropped.setVersion(LayoutStreamVersion);
    repItem section;
    QVERIFY(!readRepItem(dropped, &section, LayoutFileVersion));
}

void TestBoundedRead::pickedPictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("upright");

    QTest::newRow("portrait photograph turned upright")
        << OrientedPhoto::jpeg(6) << QSize(94, 126) << true;
    QTest::newRow("photograph stored as viewed")
        << OrientedPhoto::jpeg(1) << QSize(126, 94) << false;
    QTest::newRow("not a picture") << QByteArray("GIF89a and nothing") << QSize() << false;
}

// What a user picks is read from a file; the same function reads the
// pictures a report carries as data.
void TestBoundedRead::pickedPictures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(bool, upright);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picked.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    const QImage fromFile = BoundedRead::readPictureFile(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QImage fromData = BoundedRead::readPicture(&buffer);

    for (const QImage &image : {fromFile, fromData}) {
        QCOMPARE(image.size(), size.isValid() ? size : QSize(0, 0));
        if (image.isNull())
            continue;
        QCOMPARE(OrientedPhoto::upright(image), upright);
        // Not turned: the red corner stays where it was stored.
        if (!upright)
            QVERIFY(QColor(image.pixel(5, 5)).red() > 180);
    }
}

QTEST_MAIN(TestBoundedRead)
#include "tst_boundedread.moc"
