#include "symbols/qrencode.h"

#include <QtTest>

#include <memory>

namespace {

struct Encoded
{
    std::unique_ptr<CQR_Encode> qr {new CQR_Encode};
    bool ok = false;
};

Encoded encode(const QByteArray &data, int level = CQR_Encode::LevelL, int version = 0,
               bool autoExtent = true, int mask = -1, bool allowKanji = true)
{
    Encoded e;
    e.ok = e.qr->EncodeData(level, version, autoExtent, mask, data.constData(), data.size(),
                            allowKanji);
    return e;
}

// "N3 A5 B2 K4": mode letter and length of every segment.
QString segments(const CQR_Encode &qr)
{
    static const char letters[] = "NABK";
    QStringList parts;
    for (int i = 0; i < qr.m_segmentCount; ++i)
        parts << QStringLiteral("%1%2")
                     .arg(QLatin1Char(letters[qr.m_segmentModes[i]]))
                     .arg(qr.m_segmentLengths[i]);
    return parts.join(QLatin1Char(' '));
}

QByteArray repeated(const char *piece, int times)
{
    return QByteArray(piece).repeated(times);
}

// Both copies of the 15 format bits, bit 14 first, as read from the matrix.
QPair<int, int> formatBits(const CQR_Encode &qr)
{
    const int n = qr.m_symbolSize;
    int first = 0;
    int second = 0;
    for (int i = 14; i >= 0; --i) {
        int x, y;
        if (i <= 5) {
            x = 8, y = i;
        } else if (i <= 7) {
            x = 8, y = i + 1;
        } else if (i == 8) {
            x = 7, y = 8;
        } else {
            x = 14 - i, y = 8;
        }
        first = (first << 1) | qr.m_modules[x][y];
        if (i < 8)
            x = n - 1 - i, y = 8;
        else
            x = 8, y = n - 15 + i;
        second = (second << 1) | qr.m_modules[x][y];
    }
    return {first, second};
}

} // namespace

class TestQrEncode : public QObject
{
    Q_OBJECT

private slots:
    void tables();
    void invalidInput_data();
    void invalidInput();
    void versionChoice_data();
    void versionChoice();
    void requestedVersion_data();
    void requestedVersion();
    void segmentation_data();
    void segmentation();
    void segmentLimit();
    void standardExample();
    void paddingAndExactFit();
    void functionPatterns_data();
    void functionPatterns();
    void versionInformation();
    void maskChoice_data();
    void maskChoice();
    void knownSymbols_data();
    void knownSymbols();
    void penaltyOfPlainMatrices();
};

void TestQrEncode::tables()
{
    for (int v = 1; v <= CQR_Encode::MaxVersion; ++v) {
        const CQR_Encode::VersionInfo &info = CQR_Encode::s_versions[v];
        QCOMPARE(info.version, v);

        // Modules left for codewords: everything but the function patterns.
        const int alignments = v == 1 ? 0 : v / 7 + 2;
        int raw = (16 * v + 128) * v + 64;
        if (v >= 2)
            raw -= (25 * alignments - 10) * alignments - 55;
        if (v >= 7)
            raw -= 36;
        QCOMPARE(info.totalCodewords, raw / 8);

        // Alignment centres are evenly spaced from the far edge back to 6.
        if (v > 1) {
            QCOMPARE(info.alignmentCount, alignments - 1);
            const int step = v == 32 ? 26 : (v * 4 + alignments * 2 + 1) / (alignments * 2 - 2) * 2;
            for (int i = 0; i < info.alignmentCount; ++i)
                QCOMPARE(info.alignment[info.alignmentCount - 1 - i], 4 * v + 10 - i * step);
        }

        for (int level = 0; level < 4; ++level) {
            const CQR_Encode::BlockInfo &b = info.blocks[level];
            const QString where = QStringLiteral("version %1 level %2").arg(v).arg(level);
            QVERIFY2(b.count1 > 0, qPrintable(where));
            QVERIFY2(b.count1 * b.codewords1 + b.count2 * b.codewords2 == info.totalCodewords,
                     qPrintable(where));
            QVERIFY2(b.count1 * b.data1 + b.count2 * b.data2 == info.dataCodewords[level],
                     qPrintable(where));
            QVERIFY2(b.count2 == 0 || (b.codewords2 == b.codewords1 + 1 && b.data2 == b.data1 + 1),
                     qPrintable(where));
            QVERIFY2(b.codewords1 - b.data1 <= 30, qPrintable(where));
            QVERIFY2(b.codewords1 + (b.count2 ? 1 : 0) <= CQR_Encode::MaxBlockCodewords,
                     qPrintable(where));
            if (level > 0)
                QVERIFY2(info.dataCodewords[level] < info.dataCodewords[level - 1],
                         qPrintable(where));
        }
    }
    QCOMPARE(CQR_Encode::s_versions[40].dataCodewords[0], CQR_Encode::MaxDataCodewords);
    QCOMPARE(CQR_Encode::s_versions[40].totalCodewords, CQR_Encode::MaxCodewords);
    const CQR_Encode::BlockInfo &v5q = CQR_Encode::s_versions[5].blocks[CQR_Encode::LevelQ];
    QCOMPARE(QVector<int>(
                 {v5q.count1, v5q.codewords1, v5q.data1, v5q.count2, v5q.codewords2, v5q.data2}),
             QVector<int>({2, 33, 15, 2, 34, 16}));
}

void TestQrEncode::invalidInput_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("mask");

    QTest::newRow("empty") << QByteArray() << 0 << 0 << -1;
    QTest::newRow("empty at a fixed version") << QByteArray() << 3 << 5 << 2;
    QTest::newRow("level below L") << QByteArray("A") << -1 << 0 << -1;
    QTest::newRow("level above H") << QByteArray("A") << 4 << 0 << -1;
    QTest::newRow("version 41") << QByteArray("A") << 0 << 41 << -1;
    QTest::newRow("negative version") << QByteArray("A") << 0 << -1 << -1;
    QTest::newRow("mask 8") << QByteArray("A") << 0 << 0 << 8;
    QTest::newRow("mask -2") << QByteArray("A") << 0 << 0 << -2;
    QTest::newRow("bytes beyond version 40 L") << repeated("a", 2954) << 0 << 0 << -1;
    QTest::newRow("digits beyond version 40 L") << repeated("7", 7090) << 0 << 0 << -1;
    QTest::newRow("bytes beyond version 40 H") << repeated("a", 1274) << 3 << 0 << -1;
    QTest::newRow("megabyte of digits") << repeated("1", 1 << 20) << 0 << 0 << -1;
}

void TestQrEncode::invalidInput()
{
    QFETCH(QByteArray, data);
    QFETCH(int, level);
    QFETCH(int, version);
    QFETCH(int, mask);
    std::unique_ptr<CQR_Encode> qr(new CQR_Encode);
    QVERIFY(!qr->EncodeData(level, version, true, mask, data.constData(), data.size()));
    // The zero-terminated form measures the same bytes.
    QVERIFY(!qr->EncodeData(level, version, true, mask, data.constData()));
    QVERIFY(!qr->EncodeData(0, 0, true, -1, nullptr));
}

void TestQrEncode::versionChoice_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("version");

    QTest::newRow("one digit") << QByteArray("1") << 0 << 1;
    QTest::newRow("41 digits fill version 1 L") << repeated("9", 41) << 0 << 1;
    QTest::newRow("42 digits need version 2") << repeated("9", 42) << 0 << 2;
    QTest::newRow("25 alphanumerics in version 1 L") << repeated("Z", 25) << 0 << 1;
    QTest::newRow("26 alphanumerics need version 2") << repeated("Z", 26) << 0 << 2;
    QTest::newRow("17 bytes in version 1 L") << repeated("z", 17) << 0 << 1;
    QTest::newRow("18 bytes need version 2") << repeated("z", 18) << 0 << 2;
    QTest::newRow("7 bytes in version 1 H") << repeated("z", 7) << 3 << 1;
    QTest::newRow("8 bytes need version 2 H") << repeated("z", 8) << 3 << 2;
    QTest::newRow("230 bytes in version 9 L") << repeated("z", 230) << 0 << 9;
    // 231 bytes would just fit version 9 with the short count of versions
    // 1-9, but are counted again with the longer one of versions 10-26.
    QTest::newRow("231 bytes go to version 10") << repeated("z", 231) << 0 << 10;
    QTest::newRow("2953 bytes in version 40 L") << repeated("z", 2953) << 0 << 40;
    QTest::newRow("7089 digits in version 40 L") << repeated("3", 7089) << 0 << 40;
    QTest::newRow("1273 bytes in version 40 H") << repeated("z", 1273) << 3 << 40;
}

void TestQrEncode::versionChoice()
{
    QFETCH(QByteArray, data);
    QFETCH(int, level);
    QFETCH(int, version);
    Encoded e = encode(data, level);
    QVERIFY(e.ok);
    QCOMPARE(e.qr->m_version, version);
    QCOMPARE(e.qr->m_symbolSize, version * 4 + 17);
    QCOMPARE(e.qr->m_level, level);
    QVERIFY(e.qr->m_maskNumber >= 0 && e.qr->m_maskNumber <= 7);
}

void TestQrEncode::requestedVersion_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("requested");
    QTest::addColumn<bool>("autoExtent");
    QTest::addColumn<int>("version"); // 0: fails

    const QByteArray needs7 = repeated("q", 140);
    const QByteArray needs3 = repeated("q", 40);
    QTest::newRow("too small, fixed") << needs7 << 5 << false << 0;
    QTest::newRow("too small, extended") << needs7 << 5 << true << 7;
    QTest::newRow("exact") << needs7 << 7 << false << 7;
    QTest::newRow("larger kept") << needs3 << 9 << false << 9;
    QTest::newRow("larger kept across groups") << needs3 << 27 << false << 27;
    QTest::newRow("version 40 kept") << QByteArray("1") << 40 << false << 40;
    QTest::newRow("version 9 too small for 231 bytes") << repeated("z", 231) << 9 << false << 0;
    QTest::newRow("version 9 extended to 10") << repeated("z", 231) << 9 << true << 10;
    QTest::newRow("nothing holds it") << repeated("z", 2954) << 40 << true << 0;
}

void TestQrEncode::requestedVersion()
{
    QFETCH(QByteArray, data);
    QFETCH(int, requested);
    QFETCH(bool, autoExtent);
    QFETCH(int, version);
    Encoded e = encode(data, CQR_Encode::LevelL, requested, autoExtent);
    QCOMPARE(e.ok, version != 0);
    if (version)
        QCOMPARE(e.qr->m_version, version);
}

void TestQrEncode::segmentation_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("allowKanji");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digits") << QByteArray("0123456789") << true << "N10";
    QTest::newRow("upper case") << QByteArray("HELLO WORLD") << true << "A11";
    QTest::newRow("all nine symbols") << QByteArray(" $%*+-./:") << true << "A9";
    QTest::newRow("short digit run joins") << QByteArray("ABC12DEF") << true << "A8";
    QTest::newRow("digits then letter") << QByteArray("1234A") << true << "A5";
    QTest::newRow("long digit run stays")
        << QByteArray("ABC01234567890123456789DEF") << true << "A3 N20 A3";
    QTest::newRow("one lower-case letter") << QByteArray("HELLOxWORLD") << true << "B11";
    QTest::newRow("lower case amid long upper runs")
        << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZxABCDEFGHIJKLMNOPQRSTUVWXYZ") << true
        << "A26 B1 A26";
    QTest::newRow("lower case with digits") << QByteArray("abc123456789012345") << true << "B3 N15";
    QTest::newRow("Kanji pair") << QByteArray("\x81\x40", 2) << true << "K2";
    QTest::newRow("Kanji run") << QByteArray("\x88\x9f\x93\xfa\x96\x7b\x8c\xea") << true << "K8";
    QTest::newRow("Kanji switched off")
        << QByteArray("\x88\x9f\x93\xfa\x96\x7b\x8c\xea") << false << "B8";
    QTest::newRow("0x9F 0xFD is no Kanji") << QByteArray("\x9f\xfd") << true << "B2";
    QTest::newRow("0xEB 0xC0 is no Kanji") << QByteArray("\xeb\xc0") << true << "B2";
    QTest::newRow("0xEB 0xBF is Kanji") << QByteArray("\xeb\xbf") << true << "K2";
    QTest::newRow("trail byte 0x7F is no Kanji") << QByteArray("\x88\x7f") << true << "B2";
    QTest::newRow("trail byte 0xFE is no Kanji") << QByteArray("\x88\xfe") << true << "B2";
    QTest::newRow("lone lead byte at the end") << QByteArray("A\x88") << true << "B2";
    // UTF-8 of Cyrillic holds many byte pairs that look like Shift JIS.
    QTest::newRow("UTF-8 Cyrillic without Kanji")
        << QStringLiteral("ПППППППППППППППП").toUtf8() << false << "B32";
    QTest::newRow("UTF-8 Cyrillic capitals as Kanji")
        << QStringLiteral("ДОБРО ПОЖАЛОВАТЬ В НОВЫЙ ГОД").toUtf8() << true << "B12 K16 B24";
    QTest::newRow("UTF-8 Cyrillic capitals without Kanji")
        << QStringLiteral("ДОБРО ПОЖАЛОВАТЬ В НОВЫЙ ГОД").toUtf8() << false << "B52";
    QTest::newRow("embedded zero byte") << QByteArray("ab\0cd", 5) << true << "B5";
}

void TestQrEncode::segmentation()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, allowKanji);
    QFETCH(QString, expected);
    Encoded e = encode(data, CQR_Encode::LevelL, 0, true, -1, allowKanji);
    QVERIFY(e.ok);
    QCOMPARE(segments(*e.qr), expected);
}

void TestQrEncode::segmentLimit()
{
    // Each switch between a byte and a digit opens a segment: this asks for
    // more segments than the encoder keeps.
    const QByteArray alternating = repeated("a1", 1500);
    Encoded e = encode(alternating);
    QVERIFY(!e.ok);

    // Just below the limit the classification works and the data is only
    // too long for any version.
    const QByteArray shorter = repeated("a1", 1477);
    e = encode(shorter);
    QVERIFY(!e.ok);
    QVERIFY(e.qr->m_segmentCount <= CQR_Encode::MaxSegments);

    e = encode(repeated("a1", 600));
    QVERIFY(e.ok);
    QCOMPARE(e.qr->m_segmentCount, 1);
}

void TestQrEncode::standardExample()
{
    // "01234567" at version 1-M, the worked example of the standard.
    Encoded e = encode("01234567", CQR_Encode::LevelM, 1, false, 2);
    QVERIFY(e.ok);
    const QByteArray expected = QByteArray::fromHex("10200C566180EC11EC11EC11EC11EC11"
                                                    "A524D4C1ED36C7872C55");
    QCOMPARE(e.qr->m_codewordCount, 26);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(e.qr->m_codewords), 26).toHex(),
             expected.toHex());
}

void TestQrEncode::paddingAndExactFit()
{
    // 34 digits at version 1-M: 4 + 10 + 11 x 10 + 4 bits, exactly 16 codewords,
    // so there is no room for terminator or pad codewords.
    Encoded e = encode(repeated("8", 34), CQR_Encode::LevelM);
    QVERIFY(e.ok);
    QCOMPARE(e.qr->m_version, 1);
    QCOMPARE(e.qr->m_dataBitCount, 128);
    QCOMPARE(e.qr->m_dataCodewords[15] & 0x0F, 8);

    // One digit: mode, count, digit, terminator, fill, then alternating pads.
    e = encode("1");
    QVERIFY(e.ok);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(e.qr->m_dataCodewords), 19).toHex(),
             QByteArray("100440ec11ec11ec11ec11ec11ec11ec11ec11"));

    // Three bits short of the capacity: the terminator shrinks to fit.
    e = encode(repeated("5", 26), CQR_Encode::LevelQ);
    QVERIFY(e.ok);
    QCOMPARE(e.qr->m_version, 1);
    QCOMPARE(e.qr->m_dataBitCount, 4 + 10 + 80 + 7);
    QCOMPARE(e.qr->m_dataCodewords[12] & 0x07, 0);
}

void TestQrEncode::functionPatterns_data()
{
    QTest::addColumn<int>("version");
    for (int v : {1, 2, 6, 7, 13, 14, 21, 22, 27, 28, 32, 35, 40})
        QTest::addRow("version %d", v) << v;
}

void TestQrEncode::functionPatterns()
{
    QFETCH(int, version);
    Encoded e = encode("FUNCTION", CQR_Encode::LevelQ, version, false);
    QVERIFY(e.ok);
    const CQR_Encode &qr = *e.qr;
    const int n = qr.m_symbolSize;
    QCOMPARE(n, 4 * version + 17);

    auto ring = [](int dx, int dy) {
        return qMax(qAbs(dx), qAbs(dy));
    };
    // Finders with their separators.
    const QVector<QPoint> finders = {{3, 3}, {n - 4, 3}, {3, n - 4}};
    for (const QPoint &c : finders) {
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx) {
                const int x = c.x() + dx;
                const int y = c.y() + dy;
                if (x < 0 || y < 0 || x >= n || y >= n)
                    continue;
                const int r = ring(dx, dy);
                QCOMPARE(int(qr.m_modules[x][y]), (r == 2 || r == 4) ? 0 : 1);
            }
        }
    }

    // Every alignment pattern, including those whose centres lie on the
    // timing row and column.
    const CQR_Encode::VersionInfo &info = CQR_Encode::s_versions[version];
    QVector<int> centres;
    if (version > 1)
        centres << 6;
    for (int i = 0; i < info.alignmentCount; ++i)
        centres << info.alignment[i];
    int patterns = 0;
    for (int cx : centres) {
        for (int cy : centres) {
            if ((cx == 6 && cy == 6) || (cx == 6 && cy == n - 7) || (cx == n - 7 && cy == 6))
                continue;
            ++patterns;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const bool dark = ring(dx, dy) != 1;
                    QVERIFY2(qr.m_modules[cx + dx][cy + dy] == (dark ? 1 : 0),
                             qPrintable(QStringLiteral("alignment at %1,%2").arg(cx).arg(cy)));
                }
            }
        }
    }
    QCOMPARE(patterns, version == 1 ? 0 : centres.size() * centres.size() - 3);

    for (int i = 8; i <= n - 9; ++i) {
        QCOMPARE(int(qr.m_modules[i][6]), i % 2 == 0 ? 1 : 0);
        QCOMPARE(int(qr.m_modules[6][i]), i % 2 == 0 ? 1 : 0);
    }
    QCOMPARE(int(qr.m_modules[8][n - 8]), 1);

    // Format information: level Q is 11, both copies alike.
    const int mask = qr.m_maskNumber;
    int word = (3 << 3) | mask;
    int remainder = word;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    word = ((word << 10) | remainder) ^ 0x5412;
    const QPair<int, int> bits = formatBits(qr);
    QCOMPARE(bits.first, word);
    QCOMPARE(bits.second, word);
}

void TestQrEncode::versionInformation()
{
    // Function modules look the same under every mask, data modules do not:
    // the two 6 x 3 areas beside the finders are data up to version 6 and
    // hold the version from version 7 on.
    auto areaUnderMask = [](int version, int mask) {
        Encoded e = encode("VERSION INFO", CQR_Encode::LevelL, version, false, mask);
        const int n = e.qr->m_symbolSize;
        QString bits;
        for (int i = 0; i < 18; ++i) {
            bits += QLatin1Char('0' + e.qr->m_modules[n - 11 + i % 3][i / 3]);
            bits += QLatin1Char('0' + e.qr->m_modules[i / 3][n - 11 + i % 3]);
        }
        return bits;
    };
    for (int version : {1, 6})
        QVERIFY(areaUnderMask(version, 0) != areaUnderMask(version, 1));

    const QVector<QPair<int, int>> known
        = {{7, 0x07C94}, {8, 0x085BC}, {27, 0x1B08E}, {40, 0x28C69}};
    for (const auto &k : known) {
        const QString a = areaUnderMask(k.first, 0);
        QCOMPARE(areaUnderMask(k.first, 5), a);
        QString expected;
        for (int i = 0; i < 18; ++i)
            expected += QString(2, QLatin1Char((k.second >> i) & 1 ? '1' : '0'));
        QCOMPARE(a, expected);
    }
}

void TestQrEncode::maskChoice_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::newRow("short") << QByteArray("1") << 0;
    QTest::newRow("url") << QByteArray("https://example.org/numerology?n=7&d=1984-03-11") << 1;
    QTest::newRow("version 7") << repeated("MASKS ", 30) << 2;
    QTest::newRow("zero bytes") << QByteArray(64, '\0') << 3;
}

void TestQrEncode::maskChoice()
{
    QFETCH(QByteArray, data);
    QFETCH(int, level);

    int best = -1;
    int bestPenalty = 0;
    QVector<QByteArray> matrices;
    for (int mask = 0; mask < 8; ++mask) {
        Encoded e = encode(data, level, 0, true, mask);
        QVERIFY(e.ok);
        QCOMPARE(e.qr->m_maskNumber, mask);
        const int penalty = e.qr->CountPenalty();
        if (best < 0 || penalty < bestPenalty) {
            best = mask;
            bestPenalty = penalty;
        }
        matrices << QByteArray(reinterpret_cast<const char *>(e.qr->m_modules),
                               sizeof(e.qr->m_modules));
    }
    // Masks really differ, and the automatic choice is the first lowest.
    QVERIFY(matrices[0] != matrices[1]);
    Encoded chosen = encode(data, level);
    QVERIFY(chosen.ok);
    QCOMPARE(chosen.qr->m_maskNumber, best);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(chosen.qr->m_modules),
                        sizeof(chosen.qr->m_modules)),
             matrices[best]);
}

void TestQrEncode::knownSymbols_data()
{
    const QByteArray kanji = repeated("\x93\xfa\x96\x7b", 150) + "LIFE PATH 7";
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("allowKanji");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QByteArray>("sha1");
    // Every mask wins once; the checksums are of the modules column by column.
    QTest::newRow("mask 0") << repeated("47514", 39) << 2 << true << 7 << 0
                            << QByteArray("fad4542b23a4ee8e1501b38f9070fdcd0051b4ad");
    QTest::newRow("mask 1") << repeated("554330", 31) << 2 << true << 7 << 1
                            << QByteArray("d10dbd88ee458e757c713d93a58867fa43111982");
    QTest::newRow("mask 2") << repeated("life path 3, destiny 21", 10) << 3 << true << 16 << 2
                            << QByteArray("b5e9830c5f1ddd288709fe381aa598d115f4f73e");
    QTest::newRow("mask 3") << repeated("118785", 36) << 3 << true << 9 << 3
                            << QByteArray("6ea2e50834a21ebd2412115c0a0394c36d63cc11");
    QTest::newRow("mask 4") << repeated("life path 19, destiny 133", 3) << 3 << true << 8 << 4
                            << QByteArray("9477ff3773df8804cdb0ee16332a3a1b2bda07bf");
    QTest::newRow("mask 5") << repeated("23757", 40) << 3 << true << 8 << 5
                            << QByteArray("fbf188bf9fd2734fb4727c5d696129a3f22297d8");
    QTest::newRow("mask 6") << repeated("life path 5, destiny 35", 5) << 1 << true << 7 << 6
                            << QByteArray("c1bc3a5e69f516c2757c51dfcf57bb7713e9c574");
    QTest::newRow("mask 7") << repeated("life path 2, destiny 14", 7) << 2 << true << 11 << 7
                            << QByteArray("07d55ec6f301b10946f5d5d6abdec7bcbfd07fab");
    QTest::newRow("kanji") << kanji << 1 << true << 17 << 3
                           << QByteArray("a5e01a1bb3f20ee95ad6c2418f8df2970843eda7");
    QTest::newRow("kanji as bytes")
        << kanji << 1 << false << 19 << 2 << QByteArray("b11f797705b6bebd2f1224e5a9605811e4e67756");
    QTest::newRow("mixed text") << repeated("Destiny 11, SOUL 22: 1984-03-11 ", 90) << 0 << true
                                << 38 << 7
                                << QByteArray("523244680791c3ef3b6a7550ddac13349a6d4dca");
    QTest::newRow("version 40") << repeated("PATH 7 DESTINY 11 SOUL 22 ", 160) << 0 << true << 40
                                << 1 << QByteArray("aad03b37551d16e2d3195bfc2ab2f539e9f4a437");
}

void TestQrEncode::knownSymbols()
{
    QFETCH(QByteArray, data);
    QFETCH(int, level);
    QFETCH(bool, allowKanji);
    Encoded e = encode(data, level, 0, true, -1, allowKanji);
    QVERIFY(e.ok);
    QTEST(e.qr->m_version, "version");
    QTEST(e.qr->m_maskNumber, "mask");
    QByteArray modules;
    for (int x = 0; x < e.qr->m_symbolSize; ++x)
        modules.append(reinterpret_cast<const char *>(e.qr->m_modules[x]), e.qr->m_symbolSize);
    QTEST(QCryptographicHash::hash(modules, QCryptographicHash::Sha1).toHex(), "sha1");
}

void TestQrEncode::penaltyOfPlainMatrices()
{
    std::unique_ptr<CQR_Encode> qr(new CQR_Encode);
    qr->m_symbolSize = 21;
    auto fill = [&](auto dark) {
        for (int x = 0; x < 21; ++x)
            for (int y = 0; y < 21; ++y)
                qr->m_modules[x][y] = dark(x, y) ? 1 : 0;
    };

    // All light: 42 runs of 21 (19 each), 400 blocks (3 each), balance 100 %.
    fill([](int, int) { return false; });
    QCOMPARE(qr->CountPenalty(), 42 * 19 + 400 * 3 + 100);

    // Checkerboard: nothing but a balance of 220 light in 441 (49 %).
    fill([](int x, int y) { return (x + y) % 2 == 0; });
    QCOMPARE(qr->CountPenalty(), 0);

    // One finder-like row in a checkerboard: 1011101 with light on both
    // sides, and the four light modules needed on one side.
    fill([](int x, int y) { return (x + y) % 2 == 0; });
    const char *row = "000010111010101010101";
    for (int x = 0; x < 21; ++x)
        qr->m_modules[x][10] = row[x] == '1';
    const int withFinder = qr->CountPenalty();
    row = "010010111010101010101";
    for (int x = 0; x < 21; ++x)
        qr->m_modules[x][10] = row[x] == '1';
    QCOMPARE(withFinder - qr->CountPenalty(), 40);
}

QTEST_GUILESS_MAIN(TestQrEncode)
#include "tst_qrencode.moc"
