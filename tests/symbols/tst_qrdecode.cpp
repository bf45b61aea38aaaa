// Renders encoded symbols as images and reads them back with two independent
// decoders from the distribution (zbar and ZXing), so that a symbol is only
// accepted when real readers agree on every byte.

#include "symbols/qrencode.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestQrDecode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decode_data();
    void decode();

private:
    QByteArray run(const QString &program, const QStringList &arguments);
    QString render(const CQR_Encode &qr, const QString &name);

    QTemporaryDir m_dir;
    QString m_zbar;
    QString m_zxing;
};

namespace {

// Modules of quiet zone around the symbol, and pixels per module.
constexpr int quietZone = 4;
constexpr int moduleSize = 4;

QByteArray pseudoRandomText(int length)
{
    QByteArray text;
    quint32 state = 12345;
    for (int i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        text += char('a' + (state >> 16) % 26);
    }
    return text;
}

} // namespace

void TestQrDecode::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Both decoders are part of the build dependencies (scripts/install-deps.sh):
    // without them this suite must fail, not pass having checked nothing.
    m_zbar = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    m_zxing = QStandardPaths::findExecutable(QStringLiteral("ZXingReader"));
    QVERIFY2(!m_zbar.isEmpty(), "zbarimg not found: install zbar-tools");
    QVERIFY2(!m_zxing.isEmpty(), "ZXingReader not found: install zxing-cpp-tools");
}

QByteArray TestQrDecode::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return QByteArray("<timeout>");
    }
    return process.readAllStandardOutput();
}

QString TestQrDecode::render(const CQR_Encode &qr, const QString &name)
{
    const int n = qr.m_symbolSize;
    const int side = (n + 2 * quietZone) * moduleSize;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            if (!qr.m_modules[x][y])
                continue;
            for (int dy = 0; dy < moduleSize; ++dy) {
                uchar *line = image.scanLine((y + quietZone) * moduleSize + dy);
                for (int dx = 0; dx < moduleSize; ++dx)
                    line[(x + quietZone) * moduleSize + dx] = 0;
            }
        }
    }
    const QString path = m_dir.filePath(name + QStringLiteral(".png"));
    return image.save(path) ? path : QString();
}

void TestQrDecode::decode_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("version"); // asked for; 0 = smallest
    QTest::addColumn<int>("mask"); // -1 = automatic
    QTest::addColumn<bool>("allowKanji");
    QTest::addColumn<int>("expectedVersion");
    QTest::addColumn<bool>("utf8"); // the decoded text must also read as this UTF-8

    const QByteArray mixed("Lumaro chart 2026: LIFE PATH 7, destiny 11/22");
    QTest::newRow("level L") << mixed << 0 << 0 << -1 << true << 3 << false;
    QTest::newRow("level M") << mixed << 1 << 0 << -1 << true << 4 << false;
    QTest::newRow("level Q") << mixed << 2 << 0 << -1 << true << 4 << false;
    QTest::newRow("level H") << mixed << 3 << 0 << -1 << true << 5 << false;

    QTest::newRow("version 1, one digit") << QByteArray("1") << 0 << 0 << -1 << true << 1 << false;
    QTest::newRow("version 2 by length")
        << QByteArray(18, 'z') << 0 << 0 << -1 << true << 2 << false;
    QTest::newRow("version 6 by length")
        << pseudoRandomText(120) << 0 << 0 << -1 << true << 6 << false;
    QTest::newRow("version 7 forced") << mixed << 1 << 7 << -1 << true << 7 << false;
    QTest::newRow("version 7 by length")
        << pseudoRandomText(150) << 0 << 0 << -1 << true << 7 << false;
    QTest::newRow("version 10 by length")
        << pseudoRandomText(231) << 0 << 0 << -1 << true << 10 << false;
    QTest::newRow("version 26 forced") << mixed << 2 << 26 << -1 << true << 26 << false;
    QTest::newRow("version 26 by length")
        << pseudoRandomText(1000) << 1 << 0 << -1 << true << 26 << false;
    QTest::newRow("version 27 forced") << mixed << 3 << 27 << -1 << true << 27 << false;
    QTest::newRow("version 27 by length")
        << pseudoRandomText(1060) << 1 << 0 << -1 << true << 27 << false;
    QTest::newRow("version 40 forced") << mixed << 3 << 40 << -1 << true << 40 << false;
    QTest::newRow("version 40 full")
        << pseudoRandomText(2953) << 0 << 0 << -1 << true << 40 << false;
    QTest::newRow("version 40 digits full")
        << QByteArray("0123456789").repeated(709).left(7089) << 0 << 0 << -1 << true << 40 << false;

    QTest::newRow("numeric") << QByteArray("3141592653589793238462643383279502884197") << 1 << 0
                             << -1 << true << 2 << false;
    QTest::newRow("alphanumeric") << QByteArray("HELLO WORLD $%*+-./: 0123") << 2 << 0 << -1 << true
                                  << 2 << false;
    QByteArray everyByte;
    for (int i = 0; i < 256; ++i)
        everyByte += char(i);
    QTest::newRow("every byte value") << everyByte << 0 << 0 << -1 << false << 10 << false;
    QTest::newRow("mixed modes") << QByteArray("ABCDEFGH 0123456789012345 lower case 42 XYZ") << 1
                                 << 0 << -1 << true << 3 << false;
    QTest::newRow("Shift JIS Kanji") << QByteArray("\x88\x9f\x93\xfa\x96\x7b\x8c\xea\x81\x40"
                                                   "ABC123")
                                     << 2 << 0 << -1 << true << 2 << false;

    for (int mask = 0; mask < 8; ++mask) {
        QTest::addRow("mask %d", mask) << QByteArray("MASK TEST ") + QByteArray::number(mask)
                                       << mask % 4 << 2 + mask << mask << true << 2 + mask << false;
    }

    const QStringList texts = {
        QStringLiteral("Crème brûlée à l'Élysée, Zoë Ångström, Łódź"),
        QStringLiteral("Нумерология: число судьбы 7, Пётр Ильич"),
        // Its UTF-8 looks like a run of Shift JIS pairs.
        QStringLiteral("ДОБРО ПОЖАЛОВАТЬ В НОВЫЙ ГОД"),
        QStringLiteral("数秘術の運命数は七です。生命数秘学"),
        QStringLiteral("Preis 49,99 €, €€€ über alles"),
        QStringLiteral("“Life path” ‘seven’ — „Ja“ «oui» …"),
        QStringLiteral("Ψ Ελληνικά, עברית, العربية, 한국어, 😀"),
    };
    const char *names[]
        = {"accents", "Cyrillic", "Cyrillic capitals", "CJK", "euro", "quotes", "other scripts"};
    for (int i = 0; i < texts.size(); ++i) {
        QTest::addRow("UTF-8 %s", names[i])
            << texts[i].toUtf8() << i % 4 << 0 << -1 << false << 0 << true;
    }
}

void TestQrDecode::decode()
{
    QFETCH(QByteArray, data);
    QFETCH(int, level);
    QFETCH(int, version);
    QFETCH(int, mask);
    QFETCH(bool, allowKanji);
    QFETCH(int, expectedVersion);
    QFETCH(bool, utf8);

    std::unique_ptr<CQR_Encode> qr(new CQR_Encode);
    QVERIFY(qr->EncodeData(level, version, false, mask, data.constData(), data.size(), allowKanji));
    if (expectedVersion)
        QCOMPARE(qr->m_version, expectedVersion);
    if (mask >= 0)
        QCOMPARE(qr->m_maskNumber, mask);

    const QString path = render(*qr,
                                QString::fromLatin1(QTest::currentDataTag())
                                    .replace(QRegularExpression(QStringLiteral("\\W")), QString()));
    QVERIFY(!path.isEmpty());

    // Raw bytes, without any guessing of character sets.
    const QByteArray zbar
        = run(m_zbar,
              {QStringLiteral("--quiet"), QStringLiteral("--raw"), QStringLiteral("--nodbus"),
               QStringLiteral("-Sbinary"), QStringLiteral("-Sdisable"),
               QStringLiteral("-Sqrcode.enable"), path});
    QCOMPARE(zbar.toHex(), data.toHex());

    const QByteArray zxing = run(
        m_zxing,
        {QStringLiteral("-format"), QStringLiteral("QRCode"), QStringLiteral("-bytes"), path});
    QCOMPARE(zxing.toHex(), data.toHex());

    if (utf8) {
        // A reader that shows text must see the same characters: nothing of
        // the UTF-8 may have gone into Kanji mode.
        const QByteArray report
            = run(m_zxing, {QStringLiteral("-format"), QStringLiteral("QRCode"), path});
        const QString text = QString::fromUtf8(report).section(QLatin1Char('\n'), 0, 0);
        QCOMPARE(text, QStringLiteral("Text:       \"%1\"").arg(QString::fromUtf8(data)));
    }
}

QTEST_GUILESS_MAIN(TestQrDecode)
#include "tst_qrdecode.moc"
