#include "symbols/barcode.h"

#include <QtTest>

#include <cstring>

namespace {

using Encoder = int (*)(const char *, char **, long &);

struct Encoded
{
    int result = -1;
    QByteArray bytes;
};

Encoded encode(Encoder encoder, const char *text)
{
    Encoded e;
    char *pattern = nullptr;
    long length = -1;
    e.result = encoder(text, &pattern, length);
    if (e.result == 0) {
        e.bytes = QByteArray(pattern, int(length));
        delete[] pattern;
    } else if (pattern) {
        e.bytes = "allocated on failure";
    }
    return e;
}

QByteArray encodeOk(Encoder encoder, const char *text)
{
    const Encoded e = encode(encoder, text);
    return e.result == 0 ? e.bytes : QByteArray("failed");
}

} // namespace

Q_DECLARE_METATYPE(Encoder)

class TestBarcode : public QObject
{
    Q_OBJECT

private slots:
    void refusesUnusableText_data();
    void refusesUnusableText();
    void stringFunctions();
    void midRing();
    void checkDigits_data();
    void checkDigits();
    void codabarAndCode39();
    void code39Mod43();
    void code93();
    void interleaved2of5();
    void interleaved2of5Mod10();
    void postnetAndMsi();
    void ean8();
    void ean13_data();
    void ean13();
    void upca_data();
    void upca();
    void upcE();
};

void TestBarcode::refusesUnusableText_data()
{
    QTest::addColumn<Encoder>("encoder");
    QTest::addColumn<QByteArray>("valid");
    QTest::newRow("Codabar") << Encoder(Codabar) << QByteArray("1");
    QTest::newRow("Code39") << Encoder(Code39) << QByteArray("1");
    QTest::newRow("Code93") << Encoder(Code93) << QByteArray("1");
    QTest::newRow("Interleaved2of5") << Encoder(Interleaved2of5) << QByteArray("1");
    QTest::newRow("Postnet") << Encoder(Postnet) << QByteArray("1");
    QTest::newRow("MSI") << Encoder(MSI) << QByteArray("1");
    QTest::newRow("EAN8") << Encoder(EAN8) << QByteArray("1234567");
    QTest::newRow("EAN13") << Encoder(EAN13) << QByteArray("123456789012");
    QTest::newRow("UPCa") << Encoder(UPCa) << QByteArray("12345678901");
}

void TestBarcode::refusesUnusableText()
{
    QFETCH(Encoder, encoder);
    QFETCH(QByteArray, valid);

    QCOMPARE(encode(encoder, nullptr).result, 1);
    QCOMPARE(encode(encoder, "").result, 1);
    QVERIFY(encode(encoder, "").bytes.isEmpty());

    // Padding with characters every encoder drops keeps the data the same;
    // the longest accepted text is handled, one byte more is refused.
    QByteArray longest = valid + QByteArray(int(kBarcodeMaxText) - valid.size(), '#');
    const Encoded atLimit = encode(encoder, longest.constData());
    QCOMPARE(atLimit.result, 0);
    QCOMPARE(atLimit.bytes, encodeOk(encoder, valid.constData()));
    longest += '#';
    QCOMPARE(encode(encoder, longest.constData()).result, 1);

    // Very long texts are refused without being read to their end.
    const QByteArray huge(100000, '7');
    QCOMPARE(encode(encoder, huge.constData()).result, 1);
}

void TestBarcode::stringFunctions()
{
    char lower[] = "abz AZ{`09";
    QCOMPARE(str_upr(lower), lower);
    QCOMPARE(QByteArray(lower), QByteArray("ABZ AZ{`09"));
    QVERIFY(!str_upr(nullptr));

    QCOMPARE(asc("A"), 65u);
    QCOMPARE(asc("\xe9"), 233u);
    QCOMPARE(asc(""), 0u);
    QCOMPARE(asc(nullptr), 0u);

    char two[] = "ab";
    QCOMPARE(QByteArray(str_rev(two)), QByteArray("ba"));
    char odd[] = "abcde";
    QCOMPARE(QByteArray(str_rev(odd)), QByteArray("edcba"));
    char one[] = "x";
    QCOMPARE(QByteArray(str_rev(one)), QByteArray("x"));
    char empty[] = "";
    QCOMPARE(QByteArray(str_rev(empty)), QByteArray(""));
    QVERIFY(!str_rev(nullptr));

    QCOMPARE(QByteArray(mid("HELLO", 2, 3)), QByteArray("ELL"));
    QCOMPARE(QByteArray(mid("HELLO", 4, 10)), QByteArray("LO"));
    QCOMPARE(QByteArray(mid("HELLO", 6, 1)), QByteArray(""));
    QCOMPARE(QByteArray(mid("HELLO", 100, 1)), QByteArray(""));
    QCOMPARE(QByteArray(mid("HELLO", 1, 0)), QByteArray(""));
    QCOMPARE(QByteArray(mid(nullptr, 1, 3)), QByteArray(""));
    // A start before the text uses up part of the count instead of reading
    // in front of the string.
    QCOMPARE(QByteArray(mid("HELLO", 0, 3)), QByteArray("HE"));
    QCOMPARE(QByteArray(mid("HELLO", -5, 3)), QByteArray(""));
    QCOMPARE(QByteArray(mid("HELLO", -2147483647, 2147483647)), QByteArray(""));
    // A substring never exceeds its 256-byte buffer.
    const QByteArray longText(1000, 'q');
    QCOMPARE(std::strlen(mid(longText.constData(), 1, 900)), size_t(256));
    QCOMPARE(std::strlen(mid(longText.constData(), 999, 900)), size_t(2));
}

void TestBarcode::midRing()
{
    const char *first = mid("RING", 1, 4);
    for (int i = 0; i < 63; ++i)
        mid("other", 1, 5);
    QCOMPARE(QByteArray(first), QByteArray("RING"));
    mid("other", 1, 5);
    QCOMPARE(QByteArray(first), QByteArray("other"));
}

void TestBarcode::checkDigits_data()
{
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<char>("mod10");
    QTest::addColumn<char>("msi");
    QTest::newRow("empty") << QByteArray("") << '0' << '0';
    QTest::newRow("12") << QByteArray("12") << '3' << '5';
    QTest::newRow("UPC-A") << QByteArray("03600029145") << '2' << '4';
    QTest::newRow("EAN-13") << QByteArray("400638133393") << '1' << '2';
    QTest::newRow("MSI sample") << QByteArray("1234567") << '0' << '4';
    QTest::newRow("doubles above ten") << QByteArray("80523") << '0' << '4';
    QTest::newRow("multiple of ten") << QByteArray("55") << '0' << '4';
    // The MSI rule works digit by digit, so length does not matter.
    QTest::newRow("long") << QByteArray(120, '9') << '0' << '0';
}

void TestBarcode::checkDigits()
{
    QFETCH(QByteArray, digits);
    QFETCH(char, mod10);
    QFETCH(char, msi);
    QCOMPARE(Find_Mod_10_Digit(digits.constData()), mod10);
    QCOMPARE(QByteArray(Calc_MSI_Check_Digit(digits.constData())), QByteArray(1, msi));
}

void TestBarcode::codabarAndCode39()
{
    QCOMPARE(encodeOk(Codabar, "12ab34"), QByteArray("A1234B"));
    QCOMPARE(encodeOk(Codabar, "$+-./:"), QByteArray("A$+-./:B"));
    // Start and stop letters are the encoder's own; typed ones are dropped.
    QCOMPARE(encodeOk(Codabar, "ABCD"), QByteArray("AB"));

    QCOMPARE(encodeOk(Code39, "ab c"), QByteArray("*AB=C*"));
    QCOMPARE(encodeOk(Code39, "-.$/+%"), QByteArray("*-.$/+%*"));
    // "*" only starts and stops the symbol; characters outside the set, and
    // "=" (the space's key), are not data.
    QCOMPARE(encodeOk(Code39, "a*b"), QByteArray("*AB*"));
    QCOMPARE(encodeOk(Code39, "x=y"), QByteArray("*XY*"));
    QCOMPARE(encodeOk(Code39, "caf\xe9!"), QByteArray("*CAF*"));
}

void TestBarcode::code39Mod43()
{
    char buffer[16];
    std::memset(buffer, 0, sizeof buffer);
    QCOMPARE(Code39Mod43("code39", buffer, sizeof buffer), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("*CODE39W*"));

    // Sum 38 is the space, written as its key "=".
    std::memset(buffer, 0, sizeof buffer);
    QCOMPARE(Code39Mod43("Z3", buffer, sizeof buffer), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("*Z3=*"));

    std::memset(buffer, 0, sizeof buffer);
    QCOMPARE(Code39Mod43("a*b", buffer, sizeof buffer), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("*ABL*"));

    // A result longer than the buffer is refused and the buffer left alone.
    std::memset(buffer, 'x', sizeof buffer);
    QCOMPARE(Code39Mod43("ABCDEFGHIJKLMNOP", buffer, sizeof buffer), 1);
    QCOMPARE(QByteArray(buffer, sizeof buffer), QByteArray(sizeof buffer, 'x'));
    QCOMPARE(Code39Mod43("", buffer, sizeof buffer), 1);
    QCOMPARE(Code39Mod43(nullptr, buffer, sizeof buffer), 1);
}

void TestBarcode::code93()
{
    // C and K worked by hand: a data space (38) is written "=", a check value
    // of 38 is written " ".
    QCOMPARE(encodeOk(Code93, " "), QByteArray("(= K)"));
    QCOMPARE(encodeOk(Code93, "%"), QByteArray("(%%W)"));
    // C = 1 x 2 + 41 x 1 = 43, the shift character ($) under the key "!".
    QCOMPARE(encodeOk(Code93, "1+"), QByteArray("(1+!Y)"));
    // "*" and other characters outside the set are not data.
    QCOMPARE(encodeOk(Code93, "1*+"), encodeOk(Code93, "1+"));
    QCOMPARE(encodeOk(Code93, "ab"), encodeOk(Code93, "AB"));
    QCOMPARE(encodeOk(Code93, "x=y"), encodeOk(Code93, "XY"));
    // Weights wrap after 20 (C) and 15 (K): 21 characters of value 1 give
    // C = (1 + 2 + ... + 20 + 1) mod 47 = 23 and K = 29.
    const QByteArray ones(21, '1');
    QCOMPARE(encodeOk(Code93, ones.constData()), "(" + ones + "NT)");
}

void TestBarcode::interleaved2of5()
{
    const QByteArray start("\x01\x00\x01\x00", 4);
    const QByteArray stop("\x01\x01\x00\x01", 4);
    // 1 = WNNNW as bars, 2 = NWNNW as spaces.
    const QByteArray pair12("\x01\x01\x00\x01\x00\x00\x01\x00\x01\x00\x01\x01\x00\x00", 14);
    QCOMPARE(encodeOk(Interleaved2of5, "12"), start + pair12 + stop);
    QCOMPARE(encodeOk(Interleaved2of5, "x1-2"), start + pair12 + stop);

    // An odd count gets a leading zero: 0123 is two pairs.
    const QByteArray odd = encodeOk(Interleaved2of5, "123");
    QCOMPARE(odd.size(), 36);
    QCOMPARE(odd, encodeOk(Interleaved2of5, "0123"));
    QCOMPARE(encodeOk(Interleaved2of5, "abc"), start + stop);

    // Every pair has two wide bars and two wide spaces: 14 modules.
    const QByteArray all = encodeOk(Interleaved2of5, "0123456789");
    QCOMPARE(all.size(), 8 + 5 * 14);
    for (char m : all)
        QVERIFY(m == 0 || m == 1);
}

void TestBarcode::interleaved2of5Mod10()
{
    char buffer[8] = {};
    QCOMPARE(Interleaved2of5Mod10("123", buffer, sizeof buffer), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("\xcb-E\xcc"));

    // 99 + check 4 is odd: 0994 gives the pairs 9 (byte 42) and 94 (byte 197).
    std::memset(buffer, 0, sizeof buffer);
    QCOMPARE(Interleaved2of5Mod10("99", buffer, sizeof buffer), 0);
    QCOMPARE(QByteArray(buffer), QByteArray("\xcb*\xc5\xcc"));

    char small[3] = {'x', 'x', 'x'};
    QCOMPARE(Interleaved2of5Mod10("123", small, sizeof small), 1);
    QCOMPARE(QByteArray(small, 3), QByteArray("xxx"));
}

void TestBarcode::postnetAndMsi()
{
    QCOMPARE(encodeOk(Postnet, "12345"), QByteArray("(123455)"));
    QCOMPARE(encodeOk(Postnet, "55555-4321"), QByteArray("(5555543215)"));
    QCOMPARE(encodeOk(Postnet, "none"), QByteArray("(0)"));

    QCOMPARE(encodeOk(MSI, "1234567"), QByteArray("(12345674)"));
    QCOMPARE(encodeOk(MSI, "80-523"), QByteArray("(805234)"));
    QCOMPARE(encodeOk(MSI, "x"), QByteArray("(0)"));
}

void TestBarcode::ean8()
{
    // 1234567 has the check digit 0; set C digits are the digit + 27.
    QCOMPARE(encodeOk(EAN8, "123456789"), QByteArray("(1234*PQRK("));
    QCOMPARE(encodeOk(EAN8, "1234567"), QByteArray("(1234*PQRK("));
    QCOMPARE(encodeOk(EAN8, "9638507"), QByteArray("(9638*PKRO("));
    // Too few digits to form a number: no symbol rather than an invented one.
    QCOMPARE(encode(EAN8, "123").result, 1);
    QCOMPARE(encode(EAN8, "abcdefgh").result, 1);
}

void TestBarcode::ean13_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("symbol");

    const QByteArray main = "Y(0A63IB*NNNTNL(";
    QTest::newRow("12 digits") << QByteArray("400638133393") << main;
    QTest::newRow("given check digit") << QByteArray("4006381333931") << main;
    QTest::newRow("wrong check digit") << QByteArray("4006381333937") << main;
    QTest::newRow("separators") << QByteArray("400-6381-33393 1") << main;
    // Pair 12: 12 mod 4 = 0, both odd parity.
    QTest::newRow("add-on 2") << QByteArray("40063813339312") << main + " +#!$";
    QTest::newRow("add-on 2 after check") << QByteArray("400638133393112") << main + " +#!$";
    // Pair 47: 47 mod 4 = 3, both even parity.
    QTest::newRow("add-on 2 even") << QByteArray("40063813339347") << main + " +[!_";
    // 52495: (3 x 14 + 9 x 11) mod 10 = 1, parity BABAA.
    QTest::newRow("add-on 5") << QByteArray("40063813339352495") << main + " +\\!$![!;!,";
    QTest::newRow("add-on 5 after check")
        << QByteArray("400638133393152495") << main + " +\\!$![!;!,";
    // Leading digit 0: all odd parity; 5 and above are printed as u to y.
    QTest::newRow("leading 0") << QByteArray("012345678905") << QByteArray("U(123456*RSTKPK(");
    QTest::newRow("leading 9") << QByteArray("978014300723") << QByteArray("y(7IA1E3*KKRMNO(");
}

void TestBarcode::ean13()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, symbol);
    QCOMPARE(encodeOk(EAN13, text.constData()), symbol);
}

void TestBarcode::upca_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("symbol");
    QTest::addColumn<int>("result");

    const QByteArray main = "U(a36000*MTLOPm(W";
    QTest::newRow("11 digits") << QByteArray("03600029145") << main << 0;
    QTest::newRow("given check") << QByteArray("036000291452") << main << 0;
    QTest::newRow("add-on 2") << QByteArray("0360002914512") << main + "+#!$" << 0;
    QTest::newRow("add-on 2 after check") << QByteArray("03600029145212") << main + "+#!$" << 0;
    QTest::newRow("add-on 5") << QByteArray("0360002914552495") << main + "+\\!$![!;!," << 0;
    QTest::newRow("add-on 5 after check")
        << QByteArray("03600029145252495") << main + "+\\!$![!;!," << 0;
    QTest::newRow("high digits printed as u to y")
        << QByteArray("72527273070") << QByteArray("w(h25272*RNKRKq(v") << 0;
    QTest::newRow("10 digits") << QByteArray("0360002914") << QByteArray() << 1;
    QTest::newRow("15 digits") << QByteArray("036000291452123") << QByteArray() << 1;
    QTest::newRow("18 digits") << QByteArray("036000291452123456") << QByteArray() << 1;
}

void TestBarcode::upca()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, symbol);
    QFETCH(int, result);
    const Encoded e = encode(UPCa, text.constData());
    QCOMPARE(e.result, result);
    QCOMPARE(e.bytes, symbol);
}

void TestBarcode::upcE()
{
    const struct
    {
        const char *in;
        const char *out;
    } cases[] = {
        {"0425261", "04210000526"}, {"425261", "04210000526"},  {"0123450", "01200000345"},
        {"0123453", "01230000045"}, {"0123454", "01234000005"}, {"0123457", "01234500007"},
    };
    for (const auto &c : cases) {
        char buffer[12] = {};
        std::strcpy(buffer, c.in);
        UPCe7to11(buffer);
        QCOMPARE(QByteArray(buffer), QByteArray(c.out));
    }
    char notDigit[12] = "012345x";
    UPCe7to11(notDigit);
    QCOMPARE(QByteArray(notDigit), QByteArray("012345x"));
}

QTEST_GUILESS_MAIN(TestBarcode)
#include "tst_barcode.moc"
