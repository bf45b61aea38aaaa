#include "symbols/barcode.h"
#include "symbols/barcodeimage.h"
#include "symbols/code128.h"

#include <QtTest>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

using Encoder = int (*)(const char *, char **, long &);
using Renderer = QImage (*)(const char *, int);

QByteArray encode(Encoder encoder, const char *text)
{
    char *pattern = nullptr;
    long length = 0;
    if (encoder(text, &pattern, length) != 0)
        return QByteArray();
    const QByteArray bytes(pattern, int(length));
    delete[] pattern;
    return bytes;
}

QImage render(Renderer renderer, const QByteArray &bytes)
{
    return renderer(bytes.constData(), bytes.size());
}

// True when every pixel of the rectangle (corners included) has the colour.
bool allOf(const QImage &image, const QRect &area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != colour)
                return false;
        }
    }
    return true;
}

int nonWhite(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) != kWhite;
    }
    return count;
}

// The band under the bars where labels go.
QRect labelBand(int left, int right)
{
    return QRect(QPoint(left, 131), QPoint(right, 149));
}

struct Kind
{
    Encoder encoder;
    Renderer renderer;
};

} // namespace

Q_DECLARE_METATYPE(Encoder)
Q_DECLARE_METATYPE(Renderer)

class TestBarcodeImage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { barcodeColor = Qt::black; }
    void emptyInput_data();
    void emptyInput();
    void widthFromModules_data();
    void widthFromModules();
    void longSymbolIsNotCut();
    void eanGuardsReachLower();
    void eanLeadingDigit();
    void labels();
    void colours();
    void postnet();
    void interleaved2of5();
};

void TestBarcodeImage::emptyInput_data()
{
    QTest::addColumn<Renderer>("renderer");
    QTest::newRow("EAN") << Renderer(barEnaCodeToQimageEAN);
    QTest::newRow("MSI") << Renderer(barEnaCodeToQimageUNA);
    QTest::newRow("Code128") << Renderer(barCodeToQimageCode128);
    QTest::newRow("Code93") << Renderer(barCodeToQimageCode93);
    QTest::newRow("Codabar") << Renderer(barCodeToQimageCodabar);
    QTest::newRow("Code39") << Renderer(barCodeToQimageCode39);
}

void TestBarcodeImage::emptyInput()
{
    QFETCH(Renderer, renderer);
    for (const QImage &image : {renderer("", 0), renderer(nullptr, 5), renderer("*", -3)}) {
        QCOMPARE(image.size(), QSize(5, 150));
        QVERIFY(allOf(image, image.rect(), kWhite));
    }
    // Bytes without a record draw nothing and do not move the pen.
    const QImage unknown = renderer("\x80\x81\x82", 3);
    QCOMPARE(unknown.size(), QSize(5, 150));
}

void TestBarcodeImage::widthFromModules_data()
{
    QTest::addColumn<Encoder>("encoder");
    QTest::addColumn<Renderer>("renderer");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");

    // 2 pixels a module, the renderer's gap after each character, 5 more.
    QTest::newRow("Code39 *A*") << Encoder(Code39) << Renderer(barCodeToQimageCode39)
                                << QByteArray("A") << 3 * (24 + 4) + 5;
    QTest::newRow("Codabar A1B") << Encoder(Codabar) << Renderer(barCodeToQimageCodabar)
                                 << QByteArray("1") << (32 + 4) + (28 + 4) + (32 + 4) + 5;
    QTest::newRow("Code128 B") << Encoder(Code128b) << Renderer(barCodeToQimageCode128)
                               << QByteArray("A") << 3 * 22 + 26 + 5;
    QTest::newRow("Code93") << Encoder(Code93) << Renderer(barCodeToQimageCode93) << QByteArray("A")
                            << 4 * 18 + 20 + 5;
    QTest::newRow("EAN-13") << Encoder(EAN13) << Renderer(barEnaCodeToQimageEAN)
                            << QByteArray("400638133393") << 26 + 6 + 84 + 10 + 84 + 6 + 5;
    QTest::newRow("EAN-13 add-on 2")
        << Encoder(EAN13) << Renderer(barEnaCodeToQimageEAN) << QByteArray("40063813339312")
        << 26 + 6 + 84 + 10 + 84 + 6 + 14 + 8 + 14 + 4 + 14 + 5;
    QTest::newRow("EAN-8") << Encoder(EAN8) << Renderer(barEnaCodeToQimageEAN)
                           << QByteArray("1234567") << 6 + 56 + 10 + 56 + 6 + 5;
    QTest::newRow("UPC-A") << Encoder(UPCa) << Renderer(barEnaCodeToQimageEAN)
                           << QByteArray("03600029145")
                           << 26 + 6 + 14 + 70 + 10 + 70 + 14 + 6 + 26 + 5;
    QTest::newRow("MSI") << Encoder(MSI) << Renderer(barEnaCodeToQimageUNA) << QByteArray("12")
                         << 6 + 3 * 24 + 8 + 5;
    QTest::newRow("POSTNET") << Encoder(Postnet) << Renderer(barEnaCodeToQimagePostNet)
                             << QByteArray("12345") << (1 + 6 * 5 + 1) * 6;
}

void TestBarcodeImage::widthFromModules()
{
    QFETCH(Encoder, encoder);
    QFETCH(Renderer, renderer);
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    const QImage image = render(renderer, encode(encoder, text.constData()));
    QCOMPARE(image.width(), width);
    QCOMPARE(image.height(), renderer == barEnaCodeToQimagePostNet ? 20 : 150);
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    // The symbol starts at the left edge; 5 white columns close it.
    if (renderer == barEnaCodeToQimagePostNet) {
        QVERIFY(allOf(image, QRect(image.width() - 2, 0, 2, 20), kWhite));
        return;
    }
    if (renderer != barEnaCodeToQimageEAN)
        QCOMPARE(image.pixel(0, 0), kBlack);
    QVERIFY(allOf(image, QRect(image.width() - 5, 0, 5, 100), kWhite));
}

void TestBarcodeImage::longSymbolIsNotCut()
{
    const QByteArray text(400, 'M');
    const QImage image = render(barCodeToQimageCode39, encode(Code39, text.constData()));
    const int width = 402 * 28 + 5;
    QCOMPARE(image.width(), width);
    // The stop character's last bar lies just before the final gap.
    QCOMPARE(image.pixel(width - 10, 50), kBlack);
    QCOMPARE(image.pixel(width - 11, 50), kBlack);
    QVERIFY(allOf(image, QRect(width - 9, 0, 9, 130), kWhite));
    QVERIFY(nonWhite(image, QRect(6000, 50, width - 6000, 1)) > 1000);
}

void TestBarcodeImage::eanGuardsReachLower()
{
    const QImage image = render(barEnaCodeToQimageEAN, encode(EAN13, "4006381333931"));
    QCOMPARE(image.width(), 221);
    // Normal and centre guards: "(" at 26, "*" at 116, "(" at 210.
    const QList<int> guards = {26, 27, 30, 31, 118, 119, 122, 123, 210, 211, 214, 215};
    for (int y : {0, 130, 135, 140}) {
        for (int x : guards)
            QCOMPARE(image.pixel(x, y), kBlack);
    }
    for (int x : guards) {
        QVERIFY(allOf(image, QRect(x, 141, 1, 9), kWhite));
    }
    // Just below the digit bars only the guards continue.
    for (int y : {131, 132}) {
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(image.pixel(x, y), guards.contains(x) ? kBlack : kWhite);
    }
    // The first digit "0" (set A: 0001101) starts at 32: its bars end at 130.
    QCOMPARE(image.pixel(38, 130), kBlack);
    QCOMPARE(image.pixel(32, 130), kWhite);
    QCOMPARE(image.pixel(38, 131), kWhite);
}

void TestBarcodeImage::eanLeadingDigit()
{
    // The leading 4 has no bars: 26 blank pixels with the digit printed
    // left-aligned from x = 9.
    const QImage image = render(barEnaCodeToQimageEAN, encode(EAN13, "4006381333931"));
    QVERIFY(allOf(image, QRect(0, 0, 26, 130), kWhite));
    QVERIFY(allOf(image, QRect(0, 130, 9, 20), kWhite));
    QVERIFY(nonWhite(image, QRect(9, 130, 17, 20)) > 10);

    // UPC-A prints its first and check digits outside the bars, and its
    // long-bar digits have no label.
    const QImage upc = render(barEnaCodeToQimageEAN, encode(UPCa, "03600029145"));
    QVERIFY(nonWhite(upc, QRect(9, 130, 17, 20)) > 10);
    QVERIFY(nonWhite(upc, QRect(upc.width() - 5 - 26 + 9, 130, 17, 20)) > 10);
    QCOMPARE(upc.pixel(32 + 12, 140), kBlack); // last bar module of "a" (0001101)
    QVERIFY(allOf(upc, QRect(32, 141, 14, 9), kWhite));
}

void TestBarcodeImage::labels()
{
    // Code 39 prints a blank under "*", the character under data.
    const QImage c39 = render(barCodeToQimageCode39, encode(Code39, "A"));
    QVERIFY(allOf(c39, labelBand(0, 27), kWhite));
    QVERIFY(nonWhite(c39, labelBand(28, 55)) > 10);
    QVERIFY(allOf(c39, labelBand(56, c39.width() - 1), kWhite));

    // Codabar prints its start and stop letters too.
    const QImage codabar = render(barCodeToQimageCodabar, encode(Codabar, "1"));
    QVERIFY(nonWhite(codabar, labelBand(0, 35)) > 10);
    QVERIFY(nonWhite(codabar, labelBand(68, codabar.width() - 1)) > 10);

    // Code 128: only data characters; a data space prints as a blank.
    const QImage c128 = render(barCodeToQimageCode128, encode(Code128b, "A A"));
    QCOMPARE(c128.width(), 5 * 22 + 26 + 5);
    QVERIFY(allOf(c128, labelBand(0, 21), kWhite));
    QVERIFY(nonWhite(c128, labelBand(22, 43)) > 10);
    QVERIFY(allOf(c128, labelBand(48, 62), kWhite));
    QVERIFY(nonWhite(c128, labelBand(66, 87)) > 10);
    QVERIFY(allOf(c128, labelBand(92, c128.width() - 1), kWhite));

    // Code 93: nothing under the start, the two check characters and the stop.
    const QImage c93 = render(barCodeToQimageCode93, encode(Code93, "A"));
    QVERIFY(allOf(c93, labelBand(0, 17), kWhite));
    QVERIFY(nonWhite(c93, labelBand(18, 35)) > 10);
    QVERIFY(allOf(c93, labelBand(40, c93.width() - 1), kWhite));

    // MSI prints the digits and its check digit, not start and stop.
    const QImage msi = render(barEnaCodeToQimageUNA, encode(MSI, "1"));
    QVERIFY(allOf(msi, labelBand(0, 5), kWhite));
    QVERIFY(nonWhite(msi, labelBand(6, 29)) > 10);
    QVERIFY(nonWhite(msi, labelBand(30, 53)) > 10);
}

void TestBarcodeImage::colours()
{
    QCOMPARE(getColor(1), QColor(Qt::black));
    barcodeColor = QColor(255, 0, 0);
    QCOMPARE(getColor(1), QColor(255, 0, 0));
    QCOMPARE(getColor(0), QColor(Qt::white));
    QCOMPARE(getColor(2), QColor(Qt::white));

    const QRgb red = qRgb(255, 0, 0);
    const QImage image = render(barEnaCodeToQimageEAN, encode(EAN13, "4006381333931"));
    QCOMPARE(image.pixel(26, 0), red);
    QCOMPARE(image.pixel(28, 0), kWhite);
    // Labels are red too: nothing in the band is darker in red than in green.
    int redPixels = 0;
    for (int y = 130; y < 150; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            QVERIFY(qRed(p) == 255 && qGreen(p) == qBlue(p));
            redPixels += p == red;
        }
    }
    QVERIFY(redPixels > 50);

    const QImage c39 = render(barCodeToQimageCode39, encode(Code39, "A"));
    QCOMPARE(c39.pixel(0, 0), red);
    QCOMPARE(c39.pixel(2, 0), kWhite);
    const QImage postnet = render(barEnaCodeToQimagePostNet, encode(Postnet, "1"));
    QCOMPARE(postnet.pixel(2, 0), red);
    const QByteArray itf = encode(Interleaved2of5, "12");
    const QImage i25 = barCodeToQimageInterleaved2of5(itf.constData(), itf.size(), "12");
    QCOMPARE(i25.pixel(0, 0), red);
    QCOMPARE(i25.pixel(2, 0), kWhite);
}

void TestBarcodeImage::postnet()
{
    QVERIFY(barEnaCodeToQimagePostNet("", 0).isNull());
    QVERIFY(barEnaCodeToQimagePostNet("xyz", 3).isNull());

    // "(", "1" = half half half full full, ")".
    const QImage image = barEnaCodeToQimagePostNet("(1)", 3);
    QCOMPARE(image.size(), QSize(7 * 6, 20));
    const int fullAt[] = {0, 4, 5, 6};
    for (int i = 0; i < 7; ++i) {
        const int x = 6 * i + 2;
        const bool full = std::find(std::begin(fullAt), std::end(fullAt), i) != std::end(fullAt);
        QVERIFY(allOf(image, QRect(x, 10, 2, 10), kBlack));
        QVERIFY(allOf(image, QRect(x, 0, 2, 10), full ? kBlack : kWhite));
        QVERIFY(allOf(image, QRect(x + 2, 0, 2, 20), kWhite));
        QVERIFY(allOf(image, QRect(x - 2, 0, 2, 20), kWhite));
    }
}

void TestBarcodeImage::interleaved2of5()
{
    const QByteArray modules = encode(Interleaved2of5, "1234");
    const QImage image
        = barCodeToQimageInterleaved2of5(modules.constData(), modules.size(), "1234");
    QCOMPARE(image.size(), QSize(2 * 36 + 2, 80));
    for (int k = 0; k < modules.size(); ++k) {
        const QRgb expected = modules[k] == 1 ? kBlack : kWhite;
        QVERIFY(allOf(image, QRect(2 * k, 0, 2, 61), expected));
    }
    QVERIFY(allOf(image, QRect(72, 0, 2, 80), kWhite));
    QVERIFY(nonWhite(image, QRect(0, 62, image.width(), 18)) > 20);

    // Only the digits of the text are printed.
    const QImage noDigits
        = barCodeToQimageInterleaved2of5(modules.constData(), modules.size(), "ab");
    QVERIFY(allOf(noDigits, QRect(0, 62, noDigits.width(), 18), kWhite));

    const QImage empty = barCodeToQimageInterleaved2of5("", 0, "12");
    QCOMPARE(empty.size(), QSize(2, 80));
}

QTEST_MAIN(TestBarcodeImage)
#include "tst_barcodeimage.moc"
