// Draws every linear symbology and reads it back: with the zbarimg and
// ZXingReader decoders where they know the symbology, and for MSI and
// POSTNET with a small bar reader that works from the published tables,
// typed here independently of the renderer's tables.

#include "symbols/barcode.h"
#include "symbols/barcodeimage.h"
#include "symbols/code128.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

using Encode = std::function<int(const char *, char **, long &)>;
using Render = std::function<QImage(const char *, int)>;

QImage draw(const Encode &encode, const Render &render, const QByteArray &text)
{
    char *pattern = nullptr;
    long length = 0;
    if (encode(text.constData(), &pattern, length) != 0)
        return QImage();
    const QImage image = render(pattern, int(length));
    delete[] pattern;
    return image;
}

QImage drawItf(const QByteArray &text)
{
    return draw(
        Interleaved2of5,
        [&](const char *m, int n) {
            return barCodeToQimageInterleaved2of5(m, n, QString::fromLatin1(text));
        },
        text);
}

Encode code128Auto(int tilde)
{
    return [tilde](const char *t, char **p, long &l) {
        return Code128(t, tilde, p, l);
    };
}

// The decoders want a light margin around the symbol.
QImage withQuietZone(const QImage &symbol)
{
    QImage image(symbol.width() + 80, symbol.height() + 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(40, 20, symbol);
    return image;
}

struct Run
{
    bool dark;
    int width;
};

QVector<Run> runsOfRow(const QImage &image, int y)
{
    QVector<Run> runs;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, y)) < 128;
        if (runs.isEmpty() || runs.last().dark != dark)
            runs.append({dark, 0});
        ++runs.last().width;
    }
    return runs;
}

// MSI (Modified Plessey): start = wide bar, narrow space; each bit a bar and
// a space, 1 = wide bar + narrow space, 0 = narrow bar + wide space, four bits
// a digit, most significant first; stop = narrow bar, wide space, narrow bar.
// Returns the digits read, or an error text starting with "!".
QString readMsi(const QImage &image, int y, int narrow)
{
    QVector<Run> runs = runsOfRow(image, y);
    if (!runs.isEmpty() && !runs.first().dark)
        runs.removeFirst();
    if (!runs.isEmpty() && !runs.last().dark)
        runs.removeLast();
    auto isWide = [narrow](int w) {
        return w == 2 * narrow;
    };
    auto isNarrow = [narrow](int w) {
        return w == narrow;
    };
    for (const Run &r : runs) {
        if (!isWide(r.width) && !isNarrow(r.width))
            return "!odd element width " + QString::number(r.width);
    }
    if (runs.size() < 5 || !isWide(runs[0].width) || !isNarrow(runs[1].width))
        return "!no start";
    const int n = runs.size();
    if (!isNarrow(runs[n - 3].width) || !isWide(runs[n - 2].width) || !isNarrow(runs[n - 1].width))
        return "!no stop";
    const int bitRuns = n - 2 - 3;
    if (bitRuns % 8 != 0)
        return "!bit count";
    QString digits;
    for (int i = 2; i < 2 + bitRuns; i += 8) {
        int value = 0;
        for (int b = 0; b < 4; ++b) {
            const Run &bar = runs[i + 2 * b];
            const Run &space = runs[i + 2 * b + 1];
            if (isWide(bar.width) == isWide(space.width))
                return "!bit shape";
            value = value * 2 + (isWide(bar.width) ? 1 : 0);
        }
        if (value > 9)
            return "!digit " + QString::number(value);
        digits += QChar('0' + value);
    }
    return digits;
}

// The MSI modulo-10 check as usually published: the digits in odd places
// from the right form a number that is doubled; the digits of that product
// and the remaining digits are added up.
bool msiCheckHolds(const QString &withCheck)
{
    const QString data = withCheck.left(withCheck.size() - 1);
    QString odd;
    int evenSum = 0;
    for (int i = data.size() - 1, place = 1; i >= 0; --i, ++place) {
        if (place % 2)
            odd.prepend(data[i]);
        else
            evenSum += data[i].digitValue();
    }
    // Doubling digit by digit with carries, so any length works.
    QString doubled;
    int carry = 0;
    for (int i = odd.size() - 1; i >= 0; --i) {
        const int v = odd[i].digitValue() * 2 + carry;
        doubled.prepend(QChar('0' + v % 10));
        carry = v / 10;
    }
    if (carry)
        doubled.prepend(QChar('0' + carry));
    int sum = evenSum;
    for (QChar c : doubled)
        sum += c.digitValue();
    return (10 - sum % 10) % 10 == withCheck.back().digitValue();
}

// POSTNET: frame bars at both ends, five bars a digit with two of them tall.
QString readPostnet(const QImage &image)
{
    static const QHash<QString, int> kDigits = {
        {"11000", 0}, {"00011", 1}, {"00101", 2}, {"00110", 3}, {"01001", 4},
        {"01010", 5}, {"01100", 6}, {"10001", 7}, {"10010", 8}, {"10100", 9},
    };
    const int low = image.height() - 3;
    const int high = 2;
    QString bars;
    int lastBar = -1;
    for (int x = 0; x < image.width(); ++x) {
        const bool dark = qGray(image.pixel(x, low)) < 128;
        const bool start = dark && (x == 0 || qGray(image.pixel(x - 1, low)) >= 128);
        if (!start)
            continue;
        if (lastBar >= 0 && x - lastBar != 6)
            return "!pitch " + QString::number(x - lastBar);
        if (qGray(image.pixel(x + 2, low)) < 128)
            return "!bar wider than 2";
        lastBar = x;
        bars += qGray(image.pixel(x, high)) < 128 ? '1' : '0';
    }
    if (bars.size() < 2 || bars.front() != '1' || bars.back() != '1')
        return "!no frame bars";
    bars = bars.mid(1, bars.size() - 2);
    if (bars.size() % 5)
        return "!bar count";
    QString digits;
    int sum = 0;
    for (int i = 0; i < bars.size(); i += 5) {
        const int d = kDigits.value(bars.mid(i, 5), -1);
        if (d < 0)
            return "!pattern " + bars.mid(i, 5);
        digits += QChar('0' + d);
        sum += d;
    }
    if (sum % 10 != 0)
        return "!check digit";
    return digits.left(digits.size() - 1);
}

} // namespace

class TestBarcodeDecode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decoders_data();
    void decoders();
    void msi_data();
    void msi();
    void postnet_data();
    void postnet();

private:
    QString save(const QImage &image);
    QStringList zbar(const QString &path, const QStringList &symbologies);
    QByteArray zxing(const QString &path, const QString &format);

    QTemporaryDir m_dir;
    QString m_zbar;
    QString m_zxing;
    int m_count = 0;
};

void TestBarcodeDecode::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_zbar = QStandardPaths::findExecutable("zbarimg");
    m_zxing = QStandardPaths::findExecutable("ZXingReader");
    if (m_zbar.isEmpty() || m_zxing.isEmpty())
        QFAIL("zbarimg (zbar-tools) and ZXingReader (zxing-cpp-tools) are needed: "
              "run scripts/install-deps.sh");
}

QString TestBarcodeDecode::save(const QImage &image)
{
    const QString path = m_dir.filePath(QString("symbol%1.png").arg(++m_count));
    if (!withQuietZone(image).save(path))
        return QString();
    return path;
}

QStringList TestBarcodeDecode::zbar(const QString &path, const QStringList &symbologies)
{
    QStringList args = {"--nodbus", "-q", "--raw", "-Sdisable"};
    for (const QString &s : symbologies)
        args << "-S" + s + ".enable";
    args << path;
    QProcess process;
    process.start(m_zbar, args);
    if (!process.waitForFinished(60000))
        return {"!zbarimg did not finish"};
    QStringList lines = QString::fromLatin1(process.readAllStandardOutput()).split('\n');
    lines.removeAll(QString());
    lines.sort();
    return lines;
}

QByteArray TestBarcodeDecode::zxing(const QString &path, const QString &format)
{
    QProcess process;
    process.start(m_zxing, {"-format", format, "-bytes", path});
    if (!process.waitForFinished(60000))
        return "!ZXingReader did not finish";
    return process.readAllStandardOutput();
}

void TestBarcodeDecode::decoders_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QStringList>("zbarSymbologies");
    QTest::addColumn<QStringList>("zbarText");
    QTest::addColumn<QString>("zxingFormat");
    QTest::addColumn<QByteArray>("zxingText");

    auto row = [](const char *name, const QImage &image, const QStringList &zbarSymbologies,
                  QStringList zbarText, const QString &zxingFormat, const QByteArray &zxingText) {
        zbarText.sort();
        QTest::newRow(name) << image << zbarSymbologies << zbarText << zxingFormat << zxingText;
    };
    const Render codabar = barCodeToQimageCodabar;
    const Render code39 = barCodeToQimageCode39;
    const Render code93 = barCodeToQimageCode93;
    const Render code128 = barCodeToQimageCode128;
    const Render ean = barEnaCodeToQimageEAN;

    // zbar shows the Codabar start and stop characters, ZXing leaves them out.
    row("Codabar", draw(Codabar, codabar, "40156-$:/.+9"), {"codabar"}, {"A40156-$:/.+9B"},
        "Codabar", "40156-$:/.+9");
    row("Codabar dropped letters", draw(Codabar, codabar, "a1b2c3"), {"codabar"}, {"A123B"},
        "Codabar", "123");

    row("Code 39", draw(Code39, code39, "CODE 39-.0123456789"), {"code39"}, {"CODE 39-.0123456789"},
        "Code39", "CODE 39-.0123456789");
    row("Code 39 lower case", draw(Code39, code39, "abc xyz $/+%"), {"code39"}, {"ABC XYZ $/+%"},
        "Code39", "ABC XYZ $/+%");

    row("Code 93", draw(Code93, code93, "CODE 93-$/+%."), {"code93"}, {"CODE 93-$/+%."}, "Code93",
        "CODE 93-$/+%.");
    row("Code 93 alphabet", draw(Code93, code93, "the quick brown fox 0123456789"), {"code93"},
        {"THE QUICK BROWN FOX 0123456789"}, "Code93", "THE QUICK BROWN FOX 0123456789");
    row("Code 93 star dropped", draw(Code93, code93, "*A*B*"), {"code93"}, {"AB"}, "Code93", "AB");

    QByteArray printable;
    for (int c = 32; c < 127; ++c)
        printable += char(c);
    row("Code 128 B all printable", draw(Code128b, code128, printable), {"code128"},
        {QString::fromLatin1(printable)}, "Code128", printable);
    row("Code 128 B text", draw(Code128b, code128, "Hello, World!"), {"code128"}, {"Hello, World!"},
        "Code128", "Hello, World!");

    QByteArray pairs;
    for (int v = 0; v < 100; ++v)
        pairs += QByteArray::number(v).rightJustified(2, '0');
    row("Code 128 C all pairs", draw(Code128c, code128, pairs), {"code128"},
        {QString::fromLatin1(pairs)}, "Code128", pairs);

    row("Code 128 auto digits", draw(code128Auto(0), code128, "1234567890"), {"code128"},
        {"1234567890"}, "Code128", "1234567890");
    row("Code 128 auto mixed", draw(code128Auto(0), code128, "AB12345x67890abc1"), {"code128"},
        {"AB12345x67890abc1"}, "Code128", "AB12345x67890abc1");
    row("Code 128 auto control", draw(code128Auto(1), code128, "A~009B~~C"), {"code128"},
        {"A\tB~C"}, "Code128", "A\tB~C");
    row("Code 128 auto mod-10", draw(code128Auto(1), code128, "12~m02"), {"code128"}, {"123"},
        "Code128", "123");

    // FNC1 between two element strings reads as the group separator.
    row("GS1-128", draw(UCC128, code128, "0112345678901231~20210ABC"), {"code128"},
        {"0112345678901231\x1d"
         "10ABC"},
        "Code128",
        "0112345678901231\x1d"
        "10ABC");

    row("EAN-13", draw(EAN13, ean, "4006381333931"), {"ean13"}, {"4006381333931"}, "EAN-13",
        "4006381333931");
    row("EAN-13 computes check", draw(EAN13, ean, "978014300723"), {"ean13"}, {"9780143007234"},
        "EAN-13", "9780143007234");
    row("EAN-13 leading 0", draw(EAN13, ean, "012345678905"), {"ean13", "upca"}, {"123456789050"},
        "EAN-13", "0123456789050");
    row("EAN-13 add-on 2", draw(EAN13, ean, "400638133393112"), {"ean13", "ean2"},
        {"4006381333931", "12"}, "EAN-13", "4006381333931 12");
    row("EAN-13 add-on 2 odd/even", draw(EAN13, ean, "40063813339347"), {"ean13", "ean2"},
        {"4006381333931", "47"}, "EAN-13", "4006381333931 47");
    row("EAN-13 add-on 5", draw(EAN13, ean, "40063813339352495"), {"ean13", "ean5"},
        {"4006381333931", "52495"}, "EAN-13", "4006381333931 52495");
    row("EAN-13 add-on 5 parity 0", draw(EAN13, ean, "40063813339300000"), {"ean13", "ean5"},
        {"4006381333931", "00000"}, "EAN-13", "4006381333931 00000");

    row("EAN-8", draw(EAN8, ean, "9638507"), {"ean8"}, {"96385074"}, "EAN-8", "96385074");
    row("EAN-8 from longer text", draw(EAN8, ean, "5512345-99"), {"ean8"}, {"55123457"}, "EAN-8",
        "55123457");

    row("UPC-A", draw(UPCa, ean, "03600029145"), {"ean13", "upca"}, {"036000291452"}, "UPC-A",
        "036000291452");
    row("UPC-A high digits", draw(UPCa, ean, "72527273070"), {"ean13", "upca"}, {"725272730706"},
        "UPC-A", "725272730706");
    // The printed check digit keeps 13 modules between symbol and add-on;
    // ZXing looks for an add-on only up to 12 modules away and reads the
    // main number alone.
    row("UPC-A add-on 2", draw(UPCa, ean, "0360002914512"), {"ean13", "upca", "ean2"},
        {"036000291452", "12"}, "UPC-A", "036000291452");

    row("ITF", drawItf("12345678901231"), {"i25"}, {"12345678901231"}, "ITF", "12345678901231");
    row("ITF odd count padded", drawItf("1234567"), {"i25"}, {"01234567"}, "ITF", "01234567");
    row("ITF all digits", drawItf("0918273645"), {"i25"}, {"0918273645"}, "ITF", "0918273645");
}

void TestBarcodeDecode::decoders()
{
    QFETCH(QImage, image);
    QFETCH(QStringList, zbarSymbologies);
    QFETCH(QStringList, zbarText);
    QFETCH(QString, zxingFormat);
    QFETCH(QByteArray, zxingText);

    QVERIFY(!image.isNull());
    const QString path = save(image);
    QVERIFY(!path.isEmpty());
    QCOMPARE(zbar(path, zbarSymbologies), zbarText);
    QCOMPARE(zxing(path, zxingFormat), zxingText);
}

void TestBarcodeDecode::msi_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("digits");
    QTest::newRow("sample") << QByteArray("1234567") << "1234567";
    QTest::newRow("all digits") << QByteArray("0123456789") << "0123456789";
    QTest::newRow("separators") << QByteArray("80-52-3") << "80523";
    QTest::newRow("long") << QByteArray("98765432109876543210987654321")
                          << "98765432109876543210987654321";
}

void TestBarcodeDecode::msi()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, digits);
    const QImage image = withQuietZone(draw(MSI, barEnaCodeToQimageUNA, text));
    // Any row through the bars, above the printed digits.
    const QString read = readMsi(image, 20 + 60, 2);
    QVERIFY2(!read.startsWith('!'), qPrintable(read));
    QCOMPARE(read.left(read.size() - 1), digits);
    QVERIFY2(msiCheckHolds(read), qPrintable(read));
    QCOMPARE(readMsi(image, 20 + 129, 2), read);
}

void TestBarcodeDecode::postnet_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("digits");
    QTest::newRow("ZIP") << QByteArray("12345") << "12345";
    QTest::newRow("ZIP+4") << QByteArray("55555-1237") << "555551237";
    QTest::newRow("all digits") << QByteArray("0123456789") << "0123456789";
}

void TestBarcodeDecode::postnet()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, digits);
    const QImage image = withQuietZone(draw(Postnet, barEnaCodeToQimagePostNet, text));
    const QImage bars = image.copy(0, 20, image.width(), 20);
    QCOMPARE(readPostnet(bars), digits);
}

QTEST_MAIN(TestBarcodeDecode)
#include "tst_barcodedecode.moc"
