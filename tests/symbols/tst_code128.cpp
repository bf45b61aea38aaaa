#include "symbols/barcode.h"
#include "symbols/code128.h"

#include <QtTest>

#include <cstring>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}

// Expands a description where the characters stand for themselves and
// "<n>" for the byte n.
QByteArray symbol(const char *text)
{
    QByteArray out;
    for (const char *p = text; *p; ++p) {
        if (*p == '<') {
            const char *end = std::strchr(p, '>');
            out += char(QByteArray(p + 1, int(end - p - 1)).toInt());
            p = end;
        } else {
            out += *p;
        }
    }
    return out;
}

struct Result
{
    int code = -1;
    QByteArray bytes;
};

template<typename F> Result run(F encoder)
{
    Result r;
    char *pattern = nullptr;
    long length = -1;
    r.code = encoder(&pattern, length);
    if (r.code == 0) {
        r.bytes = QByteArray(pattern, int(length));
        delete[] pattern;
    }
    return r;
}

Result fixedSet(char set, const QByteArray &text)
{
    return run([&](char **p, long &l) {
        const char *t = text.isNull() ? nullptr : text.constData();
        return set == 'A' ? Code128a(t, p, l) : set == 'B' ? Code128b(t, p, l) : Code128c(t, p, l);
    });
}

Result autoEncode(const QByteArray &text, int tilde)
{
    return run([&](char **p, long &l) { return Code128(text.constData(), tilde, p, l); });
}

Result gs1(const char *text)
{
    return run([&](char **p, long &l) { return UCC128(text, p, l); });
}

Result readable(const QByteArray &text, int tilde)
{
    return run(
        [&](char **p, long &l) { return Code128HumanReadable(text.constData(), tilde, p, l); });
}

// The check character as the standard defines it: start value plus each
// symbol value times its position, modulo 103.
int checkValue(const QByteArray &symbol)
{
    auto value = [](uint8_t b) {
        return b == 194 ? 0 : b < 135 ? b - 32 : b - 100;
    };
    int sum = value(uint8_t(symbol[0]));
    for (int p = 1; p < symbol.size() - 2; ++p)
        sum += p * value(uint8_t(symbol[p]));
    return sum % 103;
}

uint8_t checkByte(int v)
{
    return uint8_t(v == 0 ? 194 : v <= 94 ? v + 32 : v + 100);
}

} // namespace

class TestCode128 : public QObject
{
    Q_OBJECT

private slots:
    void fixedSets_data();
    void fixedSets();
    void fixedSetsRefuse_data();
    void fixedSetsRefuse();
    void automatic_data();
    void automatic();
    void gs1128();
    void humanReadable_data();
    void humanReadable();
};

void TestCode128::fixedSets_data()
{
    QTest::addColumn<char>("set");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("B space") << 'B' << QByteArray(" ") << bytes({204, 194, 33, 206});
    QTest::newRow("B letters") << 'B' << QByteArray("ABC") << symbol("<204>ABC!<206>");
    QTest::newRow("B check 0") << 'B' << QByteArray(" S") << bytes({204, 194, 'S', 194, 206});
    QTest::newRow("B check 95") << 'B' << QByteArray(" O") << bytes({204, 194, 'O', 195, 206});
    QTest::newRow("B DEL") << 'B' << QByteArray("\x7f") << bytes({204, 127, 196, 206});
    QTest::newRow("A control") << 'A'
                               << QByteArray("\x01"
                                             "A")
                               << symbol("<203><97>A<60><206>");
    QTest::newRow("A space") << 'A' << QByteArray("A B") << symbol("<203>A<194>B@<206>");
    QTest::newRow("C odd count") << 'C' << QByteArray("1-2-3") << symbol("<205>!7Q<206>");
    QTest::newRow("C high pair") << 'C' << QByteArray("99") << bytes({205, 199, 201, 206});
    QTest::newRow("C no digits") << 'C' << QByteArray("abc") << bytes({205, 34, 206});
}

void TestCode128::fixedSets()
{
    QFETCH(char, set);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    const Result r = fixedSet(set, text);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.bytes, expected);
    QCOMPARE(uint8_t(r.bytes.at(r.bytes.size() - 2)), checkByte(checkValue(r.bytes)));
}

void TestCode128::fixedSetsRefuse_data()
{
    QTest::addColumn<char>("set");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("A null") << 'A' << QByteArray();
    QTest::newRow("B empty") << 'B' << QByteArray("");
    QTest::newRow("C empty") << 'C' << QByteArray("");
    QTest::newRow("A lower case") << 'A' << QByteArray("a");
    QTest::newRow("B control") << 'B' << QByteArray("A\tB");
    QTest::newRow("B UTF-8") << 'B' << QByteArray("caf\xc3\xa9");
    QTest::newRow("B function byte") << 'B'
                                     << QByteArray("\xca"
                                                   "01");
    QTest::newRow("B too long") << 'B' << QByteArray(int(kBarcodeMaxText) + 1, 'x');
}

void TestCode128::fixedSetsRefuse()
{
    QFETCH(char, set);
    QFETCH(QByteArray, text);
    QCOMPARE(fixedSet(set, text).code, 1);
}

void TestCode128::automatic_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("tilde");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("four digits start C") << QByteArray("1234") << 0 << symbol("<205>,Br<206>");
    QTest::newRow("three digits stay B") << QByteArray("123") << 0 << symbol("<204>123(<206>");
    QTest::newRow("odd run then C")
        << QByteArray("AB12345") << 0 << symbol("<204>AB1<199>7M'<206>");
    QTest::newRow("control switches to A")
        << QByteArray("A~001B") << 1 << symbol("<204>A<201><97>BT<206>");
    QTest::newRow("starts in A") << QByteArray("\x01"
                                               "A")
                                 << 0 << symbol("<203><97>A<60><206>");
    QTest::newRow("mod-10 escape") << QByteArray("12~m02") << 1 << autoEncode("123", 0).bytes;
    QTest::newRow("escapes off") << QByteArray("12~m02") << 0 << symbol("<204>12~m02");
    QTest::newRow("double tilde") << QByteArray("~~A") << 1 << autoEncode("~A", 0).bytes;
    QTest::newRow("unknown code") << QByteArray("A~999") << 1 << autoEncode("A~999", 0).bytes;
    QTest::newRow("mod-10 at start")
        << QByteArray("~m02xyz") << 1 << autoEncode("~m02xyz", 0).bytes;
    QTest::newRow("mod-10 too far back")
        << QByteArray("12~m05xyz") << 1 << autoEncode("12~m05xyz", 0).bytes;
    QTest::newRow("mod-10 without digits")
        << QByteArray("ab~m02") << 1 << autoEncode("ab~m02", 0).bytes;
    QTest::newRow("FNC1 inside") << QByteArray("AB~20212") << 1 << symbol("<204>AB<202>12");
    QTest::newRow("foreign bytes dropped") << QByteArray("A\xe9"
                                                         "B")
                                           << 0 << autoEncode("AB", 0).bytes;
    QTest::newRow("last FNC1 dropped") << QByteArray("AB~202") << 1 << autoEncode("AB", 0).bytes;
}

void TestCode128::automatic()
{
    QFETCH(QByteArray, text);
    QFETCH(int, tilde);
    QFETCH(QByteArray, expected);
    const Result r = autoEncode(text, tilde);
    QCOMPARE(r.code, 0);
    // Rows that only know the data part compare that part.
    QCOMPARE(r.bytes.left(expected.size()), expected);
    QCOMPARE(uint8_t(r.bytes.back()), uint8_t(206));
    QCOMPARE(uint8_t(r.bytes.at(r.bytes.size() - 2)), checkByte(checkValue(r.bytes)));

    QCOMPARE(autoEncode(QByteArray(""), tilde).code, 1);
}

void TestCode128::gs1128()
{
    // FNC1, then the pairs 01 12 34 56 78 90 12 31, check value 74.
    const QByteArray expected = symbol("<205><202>!,BXnz,?j<206>");
    QCOMPARE(gs1("0112345678901231").bytes, expected);
    QCOMPARE(gs1("\xca"
                 "0112345678901231")
                 .bytes,
             expected);
    QCOMPARE(gs1("\xca"
                 "0112345678901231")
                 .code,
             0);

    // A marker already stands for FNC1 and its identifier.
    const Result marked = gs1("\xd4"
                              "0112345678901231");
    QCOMPARE(marked.bytes, expected);

    QCOMPARE(gs1("").code, 0);
    QCOMPARE(gs1("").bytes, bytes({205, 34, 206}));
    QCOMPARE(gs1(nullptr).code, 1);
}

void TestCode128::humanReadable_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("tilde");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("AI 01") << QByteArray("\xca"
                                         "0112345678901231")
                           << 0 << QByteArray(" (01) 12345678901231");
    QTest::newRow("two AIs") << QByteArray("\xca"
                                           "0112345678901231\xca"
                                           "10ABC")
                             << 0 << QByteArray(" (01) 12345678901231 (10) ABC");
    QTest::newRow("AI 80 is four long") << QByteArray("\xca"
                                                      "8012345")
                                        << 0 << QByteArray(" (8012) 345");
    QTest::newRow("AI 41 is three long") << QByteArray("\xca"
                                                       "41123")
                                         << 0 << QByteArray(" (411) 23");
    QTest::newRow("AI cut at end") << QByteArray("\xca"
                                                 "801")
                                   << 0 << QByteArray(" (801) ");
    QTest::newRow("FNC1 too short") << QByteArray("\xca"
                                                  "01")
                                    << 0 << QByteArray("01");
    QTest::newRow("marker") << QByteArray("\xd6"
                                          "1234567")
                            << 0 << QByteArray(" (1234) 567");
    QTest::newRow("marker too short") << QByteArray("\xd6"
                                                    "12")
                                      << 0 << QByteArray("12");
    QTest::newRow("control") << QByteArray("~001AB") << 1 << QByteArray(" AB");
    QTest::newRow("FNC2 silent") << QByteArray("~197X") << 1 << QByteArray("X");
    QTest::newRow("FNC1 escape") << QByteArray("~20201123") << 1 << QByteArray(" (01) 123");
    QTest::newRow("double tilde") << QByteArray("a~~b") << 1 << QByteArray("a~b");
    QTest::newRow("mod-10") << QByteArray("12~m02") << 1 << QByteArray("123");
    QTest::newRow("unknown code") << QByteArray("~999") << 1 << QByteArray("~999");
    QTest::newRow("escapes off") << QByteArray("~001") << 0 << QByteArray("~001");
    QTest::newRow("raw bytes") << QByteArray("a\tb\xe9"
                                             "c")
                               << 0 << QByteArray("a bc");
}

void TestCode128::humanReadable()
{
    QFETCH(QByteArray, text);
    QFETCH(int, tilde);
    QFETCH(QByteArray, expected);
    const Result r = readable(text, tilde);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.bytes, expected);
}

QTEST_GUILESS_MAIN(TestCode128)
#include "tst_code128.moc"
