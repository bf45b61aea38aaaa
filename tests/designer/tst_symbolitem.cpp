#include "designer/repageitem.h"
#include "designer/style.h"
#include "designerfixture.h"
#include "symbols/barcodeimage.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestSymbolItem : public QObject
{
    Q_OBJECT

private slots:
    void emptyOrUnknownGivesNull_data();
    void emptyOrUnknownGivesNull();
    void linearKindsInColour_data();
    void linearKindsInColour();
    void qrCodeImage_data();
    void qrCodeImage();
    void qrCodeDecodes();
    void itemEncodesOnce_data();
    void itemEncodesOnce();
};

void TestSymbolItem::emptyOrUnknownGivesNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    for (int kind = 0; kind <= 10; ++kind)
        QTest::addRow("empty, kind %d", kind) << QString() << kind;
    QTest::newRow("kind 11") << QStringLiteral("12345670") << 11;
    QTest::newRow("kind -1") << QStringLiteral("12345670") << -1;
    QTest::newRow("QR beyond version 40") << QString(3000, QLatin1Char('x')) << 0;
}

void TestSymbolItem::emptyOrUnknownGivesNull()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QVERIFY(CREPageItem::drawBarcode(text, kind, Qt::black).isNull());
}

void TestSymbolItem::linearKindsInColour_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("Codabar") << 1 << QStringLiteral("A123456B");
    QTest::newRow("Code 128 B") << 2 << QStringLiteral("Lumaro 7");
    QTest::newRow("Code 39") << 3 << QStringLiteral("LUMARO-7");
    QTest::newRow("Code 93") << 4 << QStringLiteral("LUMARO 7");
    QTest::newRow("EAN-13") << 5 << QStringLiteral("400638133393");
    QTest::newRow("EAN-8") << 6 << QStringLiteral("9638507");
    QTest::newRow("Interleaved 2 of 5") << 7 << QStringLiteral("123456");
    QTest::newRow("MSI") << 8 << QStringLiteral("1234567");
    QTest::newRow("POSTNET") << 9 << QStringLiteral("12345");
    QTest::newRow("UPC-A") << 10 << QStringLiteral("03600029145");
}

void TestSymbolItem::linearKindsInColour()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    const QColor blue(0, 0, 200);
    const QImage image = CREPageItem::drawBarcode(text, kind, blue);
    QVERIFY(!image.isNull());
    QCOMPARE(barcodeColor, blue);
    int bars = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == blue.rgb())
                ++bars;
        }
    }
    QVERIFY(bars > 0);
}

void TestSymbolItem::qrCodeImage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("side");
    QTest::newRow("five capitals, version 1") << QStringLiteral("HELLO") << QColor(0, 0, 0) << 210;
    QTest::newRow("semi-transparent drawn opaque")
        << QStringLiteral("HELLO") << QColor(200, 0, 0, 60) << 210;
    QTest::newRow("version 2") << QString(30, QLatin1Char('z')) << QColor(0, 90, 0) << 250;
}

void TestSymbolItem::qrCodeImage()
{
    QFETCH(QString, text);
    QFETCH(QColor, color);
    QFETCH(int, side);
    const QImage image = CREPageItem::drawBarcode(text, 0, color);
    QCOMPARE(image.size(), QSize(side, side));
    QVERIFY(!image.hasAlphaChannel());
    const QRgb dark = color.rgb() | 0xff000000;
    // No quiet zone: the finder pattern's dark ring starts at the first pixel,
    // every module is a sharp 10 x 10 square, light modules are white.
    QCOMPARE(image.pixel(0, 0), dark);
    QCOMPARE(image.pixel(9, 9), dark);
    QCOMPARE(image.pixel(69, 69), dark);
    QCOMPARE(image.pixel(10, 10), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(side - 1, 0), dark);
    QCOMPARE(image.pixel(0, side - 1), dark);
    QCOMPARE(image.pixel(75, 75), qRgb(255, 255, 255)); // the separator beside the finder
}

void TestSymbolItem::qrCodeDecodes()
{
    const QString zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbar.isEmpty())
        QSKIP("zbarimg not found: install zbar-tools");
    // Text beyond ASCII reaches the encoder as local 8-bit bytes and must come
    // back as exactly those bytes (nothing taken for Kanji).
    const QString text = QStringLiteral("Lebenszahl 7 – Größe ünd Maß: 11/22");
    const QImage symbol = CREPageItem::drawBarcode(text, 0, Qt::black);
    QVERIFY(!symbol.isNull());
    QImage padded(symbol.width() + 80, symbol.height() + 80, QImage::Format_RGB32);
    padded.fill(Qt::white);
    {
        QPainter p(&padded);
        p.drawImage(40, 40, symbol);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.png"));
    QVERIFY(padded.save(path));
    QProcess process;
    process.start(zbar,
                  {QStringLiteral("--quiet"), QStringLiteral("--raw"), QStringLiteral("--nodbus"),
                   QStringLiteral("-Sbinary"), QStringLiteral("-Sdisable"),
                   QStringLiteral("-Sqrcode.enable"), path});
    QVERIFY(process.waitForFinished(30000));
    QByteArray decoded = process.readAllStandardOutput();
    if (decoded.endsWith('\n'))
        decoded.chop(1);
    QCOMPARE(decoded.toHex(), text.toLocal8Bit().toHex());
}

void TestSymbolItem::itemEncodesOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    // Small symbols are drawn exactly as their image is; a large QR Code
    // from its modules, each module a sharp square.
    QTest::addColumn<bool>("large");
    QTest::newRow("QR Code, version 1") << QStringLiteral("LUMARO 7") << 0 << false;
    QTest::newRow("Code 128 B") << QStringLiteral("Lumaro 77") << 2 << false;
    QTest::newRow("EAN-13") << QStringLiteral("400638133394") << 5 << false;
    QTest::newRow("Interleaved 2 of 5") << QStringLiteral("1234567") << 7 << false;
    QTest::newRow("QR Code, version 9") << QString(500, QLatin1Char('7')) << 0 << true;
}

void TestSymbolItem::itemEncodesOnce()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, large);
    CStyle style;
    CDrawMode mode;
    mode.outputMode = true;
    CREPageItem *frame = DesignerTest::makeObject(nullptr, CREPageItem::Symbol, 0, 0, 200, 100);
    CREPageItem *symbol = frame->inner;
    symbol->text = text;
    symbol->barcodeKind = kind;
    symbol->color = QColor(0, 0, 160);
    const auto drawn = [&](double scale) {
        QImage image = DesignerTest::canvas(300, 200);
        QPainter p(&image);
        p.scale(scale, scale);
        frame->draw(&p, &mode, &style);
        return image;
    };

    const quint64 before = CREPageItem::symbolEncodes();
    const QImage first = drawn(1);
    drawn(0.5);
    QCOMPARE(drawn(1), first);
    QCOMPARE(CREPageItem::symbolEncodes() - before, quint64(1));

    const QImage picture = CREPageItem::drawBarcode(text, kind, symbol->color);
    QVERIFY(!picture.isNull());
    int offX = 0;
    int offY = 0;
    const double s = calcFitScale(picture.width(), picture.height(), 200, 100, offX, offY);
    const QRect placed(0, 0, qMax(1, int(picture.width() * s)), qMax(1, int(picture.height() * s)));
    if (large) {
        QCOMPARE(picture.size(), QSize(530, 530));
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 300; ++x) {
                const QRgb pixel = first.pixel(x, y) & 0xffffff;
                QVERIFY2(pixel == 0xffffff || (pixel == 0x0000a0 && placed.contains(x, y)),
                         qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
            }
        }
    } else {
        QImage expected = DesignerTest::canvas(300, 200);
        QPainter p(&expected);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(placed, picture);
        p.end();
        QCOMPARE(first, expected);
    }

    // Another colour is another symbol.
    symbol->color = QColor(160, 0, 0);
    QVERIFY(drawn(1) != first);
    QCOMPARE(CREPageItem::symbolEncodes() - before, quint64(2));
    delete frame;
}

QTEST_MAIN(TestSymbolItem)
#include "tst_symbolitem.moc"
