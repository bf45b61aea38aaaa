#include "symbols/barcodetables.h"

#include <QSet>
#include <QString>
#include <QtTest>

#include <algorithm>
#include <cctype>

namespace {

// A record's modules as a string of "1" (bar) and "0" (space).
template<int Slots> QString pattern(const SymbolRecord<Slots> &r)
{
    QString s;
    for (int i = 0; i < r.moduleCount; ++i)
        s += i < Slots && r.modules[i] == 1 ? '1' : '0';
    return s;
}

QString pattern(const SymbolListRecord &r)
{
    QString s;
    for (uint8_t m : r.modules)
        s += m == 1 ? '1' : '0';
    return s;
}

template<typename Record> const Record *find(const QVector<Record> &table, int key)
{
    for (const Record &r : table) {
        if (r.key == key)
            return &r;
    }
    return nullptr;
}

// Widths of the runs of equal modules, starting with the first module.
QVector<int> runs(const QString &modules)
{
    QVector<int> widths;
    for (int i = 0; i < modules.size(); ++i) {
        if (i == 0 || modules[i] != modules[i - 1])
            widths.append(0);
        ++widths.last();
    }
    return widths;
}

QString reversed(QString s)
{
    std::reverse(s.begin(), s.end());
    return s;
}

QString complement(QString s)
{
    for (QChar &c : s)
        c = c == '1' ? '0' : '1';
    return s;
}

template<typename Record> QSet<int> keysOf(const QVector<Record> &table)
{
    QSet<int> keys;
    for (const Record &r : table)
        keys.insert(r.key);
    return keys;
}

QSet<int> keySet(const QByteArray &keys)
{
    QSet<int> set;
    for (char c : keys)
        set.insert(uint8_t(c));
    return set;
}

} // namespace

class TestBarcodeTables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initializeSymbolMap(); }
    void refill();
    void ean();
    void msi();
    void postnet();
    void code128();
    void code93();
    void codabar();
    void code39();
};

void TestBarcodeTables::refill()
{
    const int sizes[] = {eanSymbolMap.size(),     msiSymbolMap.size(),    postnetSymbolMap.size(),
                         code128SymbolMap.size(), code93SymbolMap.size(), codabarSymbolMap.size(),
                         code39SymbolMap.size()};
    for (int size : sizes)
        QVERIFY(size > 0);
    initializeSymbolMap();
    const int again[] = {eanSymbolMap.size(),     msiSymbolMap.size(),    postnetSymbolMap.size(),
                         code128SymbolMap.size(), code93SymbolMap.size(), codabarSymbolMap.size(),
                         code39SymbolMap.size()};
    QVERIFY(std::equal(std::begin(sizes), std::end(sizes), std::begin(again)));

    // Every key is found once: a duplicate would hide the second record.
    QCOMPARE(keysOf(eanSymbolMap).size(), eanSymbolMap.size());
    QCOMPARE(keysOf(msiSymbolMap).size(), msiSymbolMap.size());
    QCOMPARE(keysOf(postnetSymbolMap).size(), postnetSymbolMap.size());
    QCOMPARE(keysOf(code128SymbolMap).size(), code128SymbolMap.size());
    QCOMPARE(keysOf(code93SymbolMap).size(), code93SymbolMap.size());
    QCOMPARE(keysOf(codabarSymbolMap).size(), codabarSymbolMap.size());
    QCOMPARE(keysOf(code39SymbolMap).size(), code39SymbolMap.size());
}

void TestBarcodeTables::ean()
{
    QCOMPARE(eanSymbolMap.size(), 5 + 8 * 10);
    const struct
    {
        char key;
        const char *modules;
        int label;
    } fixed[] = {{' ', "0000000", -1},
                 {'!', "01", -1},
                 {'(', "101", -2},
                 {'*', "01010", -2},
                 {'+', "1011", -1}};
    for (const auto &f : fixed) {
        const auto *r = find(eanSymbolMap, f.key);
        QVERIFY(r);
        QCOMPARE(pattern(*r), QString(f.modules));
        QCOMPARE(int(r->label), f.label);
    }

    const QByteArray addOnA = "\"#$%&,./:;";
    const QByteArray addOnB = "z=?@[\\]_{}";
    QSet<QString> leftPatterns;
    for (int d = 0; d < 10; ++d) {
        const auto *a = find(eanSymbolMap, '0' + d);
        const auto *b = find(eanSymbolMap, 'A' + d);
        const auto *c = find(eanSymbolMap, 'K' + d);
        QVERIFY(a && b && c);
        const QString pa = pattern(*a), pb = pattern(*b), pc = pattern(*c);
        QCOMPARE(pa.size(), 7);
        // Left-hand digits: space first, bar last, two bars and two spaces;
        // set A has odd parity, set B even parity.
        for (const QString &p : {pa, pb}) {
            QCOMPARE(p.front(), QChar('0'));
            QCOMPARE(p.back(), QChar('1'));
            QCOMPARE(runs(p).size(), 4);
        }
        QCOMPARE(pa.count('1') % 2, 1);
        QCOMPARE(pb.count('1') % 2, 0);
        // The right-hand set is set A inverted; set B is it mirrored.
        QCOMPARE(pc, complement(pa));
        QCOMPARE(pb, reversed(pc));
        leftPatterns << pa << pb;
        QCOMPARE(int(a->label), d);
        QCOMPARE(int(b->label), d);
        QCOMPARE(int(c->label), d);

        // Long-bar UPC-A digits: the same patterns without a label.
        const auto *longA = find(eanSymbolMap, 'a' + d);
        const auto *longC = find(eanSymbolMap, 'k' + d);
        QVERIFY(longA && longC);
        QCOMPARE(pattern(*longA), pa);
        QCOMPARE(pattern(*longC), pc);
        QCOMPARE(int(longA->label), -2);
        QCOMPARE(int(longC->label), -2);

        // Add-on digits.
        const auto *addA = find(eanSymbolMap, uint8_t(addOnA[d]));
        const auto *addB = find(eanSymbolMap, uint8_t(addOnB[d]));
        QVERIFY(addA && addB);
        QCOMPARE(pattern(*addA), pa);
        QCOMPARE(pattern(*addB), pb);
        QCOMPARE(int(addA->label), d);
        QCOMPARE(int(addB->label), d);

        // Printed-only digits reserve 13 blank modules.
        const auto *printed = find(eanSymbolMap, d < 5 ? 'U' + d : 'u' + d - 5);
        QVERIFY(printed);
        QCOMPARE(pattern(*printed), QString(13, '0'));
        QCOMPARE(int(printed->label), d);
    }
    QCOMPARE(leftPatterns.size(), 20);
    QCOMPARE(pattern(*find(eanSymbolMap, '0')), QString("0001101"));
}

void TestBarcodeTables::msi()
{
    QCOMPARE(msiSymbolMap.size(), 12);
    QCOMPARE(pattern(*find(msiSymbolMap, '(')), QString("110"));
    QCOMPARE(pattern(*find(msiSymbolMap, ')')), QString("1001"));
    for (int d = 0; d < 10; ++d) {
        const auto *r = find(msiSymbolMap, '0' + d);
        QVERIFY(r);
        const QString p = pattern(*r);
        QCOMPARE(p.size(), 12);
        int value = 0;
        for (int bit = 0; bit < 4; ++bit) {
            const QString cell = p.mid(3 * bit, 3);
            QVERIFY2(cell == "100" || cell == "110", qPrintable(p));
            value = value * 2 + (cell == "110");
        }
        QCOMPARE(value, d);
        QCOMPARE(int(r->label), d);
    }
}

void TestBarcodeTables::postnet()
{
    QCOMPARE(postnetSymbolMap.size(), 12);
    QCOMPARE(pattern(*find(postnetSymbolMap, '(')), QString("1"));
    QCOMPARE(pattern(*find(postnetSymbolMap, ')')), QString("1"));
    // Two full bars of the weights 7 4 2 1 0 add up to the digit (11 for 0).
    const int weights[] = {7, 4, 2, 1, 0};
    for (int d = 0; d < 10; ++d) {
        const auto *r = find(postnetSymbolMap, '0' + d);
        QVERIFY(r);
        const QString p = pattern(*r);
        QCOMPARE(p.size(), 5);
        QCOMPARE(p.count('1'), 2);
        int sum = 0;
        for (int i = 0; i < 5; ++i)
            sum += p[i] == '1' ? weights[i] : 0;
        QCOMPARE(sum, d == 0 ? 11 : d);
        QCOMPARE(int(r->label), -1);
    }
}

void TestBarcodeTables::code128()
{
    QCOMPARE(code128SymbolMap.size(), 96 + 1 + 12);
    QSet<QString> patterns;
    auto check = [&](int key, int modules) {
        const auto *r = find(code128SymbolMap, key);
        QVERIFY2(r, qPrintable(QString::number(key)));
        const QString p = pattern(*r);
        const QVector<int> widths = runs(p);
        QCOMPARE(p.size(), modules);
        QCOMPARE(p.front(), QChar('1'));
        QCOMPARE(widths.size(), modules == 13 ? 7 : 6);
        int barModules = 0;
        for (int i = 0; i < widths.size(); ++i) {
            QVERIFY(widths[i] >= 1 && widths[i] <= 4);
            if (i % 2 == 0)
                barModules += widths[i];
        }
        // The parity the standard builds in: bars always span an even count.
        QCOMPARE(barModules % 2, 0);
        patterns.insert(p);
    };
    for (int key = 32; key <= 127; ++key) {
        check(key, 11);
        QCOMPARE(int(find(code128SymbolMap, key)->label), key);
    }
    for (int key = 195; key <= 205; ++key) {
        check(key, 11);
        QCOMPARE(int(find(code128SymbolMap, key)->label), 0);
    }
    check(206, 13);
    QCOMPARE(patterns.size(), 107);

    // 194 is value 0 again, printed as a space.
    QCOMPARE(pattern(*find(code128SymbolMap, 194)), pattern(*find(code128SymbolMap, 32)));
    QCOMPARE(int(find(code128SymbolMap, 194)->label), int(' '));
    QCOMPARE(pattern(*find(code128SymbolMap, '!')), QString("11001101100"));
    QCOMPARE(pattern(*find(code128SymbolMap, 204)), QString("11010010000"));
    QCOMPARE(pattern(*find(code128SymbolMap, 206)), QString("1100011101011"));
    QVERIFY(!find(code128SymbolMap, 128));
    QVERIFY(!find(code128SymbolMap, 193));
}

void TestBarcodeTables::code93()
{
    QCOMPARE(keysOf(code93SymbolMap), keySet("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%!#&@=()"));
    QSet<QString> patterns;
    for (const auto &r : code93SymbolMap) {
        const QString p = pattern(r);
        if (r.key == ')') {
            QCOMPARE(p, QString("1010111101"));
            continue;
        }
        const QVector<int> widths = runs(p);
        QCOMPARE(p.size(), 9);
        QCOMPARE(widths.size(), 6);
        QCOMPARE(p.front(), QChar('1'));
        for (int w : widths)
            QVERIFY(w >= 1 && w <= 4);
        if (r.key != '=')
            patterns.insert(p);
    }
    QCOMPARE(patterns.size(), 48);

    QCOMPARE(pattern(*find(code93SymbolMap, '=')), pattern(*find(code93SymbolMap, ' ')));
    QCOMPARE(pattern(*find(code93SymbolMap, ' ')), QString("111010010"));
    QCOMPARE(pattern(*find(code93SymbolMap, '0')), QString("100010100"));
    QCOMPARE(pattern(*find(code93SymbolMap, 'A')), QString("110101000"));
    QCOMPARE(pattern(*find(code93SymbolMap, '(')), QString("101011110"));
    QCOMPARE(int(find(code93SymbolMap, '=')->label), int(' '));
    QCOMPARE(int(find(code93SymbolMap, '!')->label), int('$'));
    QCOMPARE(int(find(code93SymbolMap, '#')->label), int('%'));
    QCOMPARE(int(find(code93SymbolMap, '&')->label), int('/'));
    QCOMPARE(int(find(code93SymbolMap, '@')->label), int('+'));
    QCOMPARE(int(find(code93SymbolMap, '(')->label), 0);
    QCOMPARE(int(find(code93SymbolMap, 'Q')->label), int('Q'));
}

void TestBarcodeTables::codabar()
{
    QCOMPARE(keysOf(codabarSymbolMap), keySet("0123456789-$:/.+ABCD"));
    QSet<QString> patterns;
    for (const auto &r : codabarSymbolMap) {
        const QString p = pattern(r);
        QCOMPARE(int(r.moduleCount), r.modules.size());
        QCOMPARE(int(r.label), int(r.key));
        // Seven elements, bar first: bars 1 or 3 modules, spaces 2 or 4.
        const QVector<int> widths = runs(p);
        QCOMPARE(widths.size(), 7);
        QCOMPARE(p.front(), QChar('1'));
        int wideBars = 0, wideSpaces = 0;
        for (int i = 0; i < 7; ++i) {
            if (i % 2 == 0) {
                QVERIFY(widths[i] == 1 || widths[i] == 3);
                wideBars += widths[i] == 3;
            } else {
                QVERIFY(widths[i] == 2 || widths[i] == 4);
                wideSpaces += widths[i] == 4;
            }
        }
        const char key = char(r.key);
        if (std::isdigit(uint8_t(key)) || key == '-' || key == '$') {
            QCOMPARE(wideBars, 1);
            QCOMPARE(wideSpaces, 1);
            QCOMPARE(p.size(), 14);
        } else if (key >= 'A' && key <= 'D') {
            QCOMPARE(wideBars, 1);
            QCOMPARE(wideSpaces, 2);
            QCOMPARE(p.size(), 16);
        } else {
            QCOMPARE(wideBars, 3);
            QCOMPARE(wideSpaces, 0);
            QCOMPARE(p.size(), 16);
        }
        patterns.insert(p);
    }
    QCOMPARE(patterns.size(), 20);
    QCOMPARE(pattern(*find(codabarSymbolMap, '0')), QString("10010010000111"));
    QCOMPARE(pattern(*find(codabarSymbolMap, 'A')), QString("1001110000100001"));
    QCOMPARE(pattern(*find(codabarSymbolMap, '+')), QString("1001110011100111"));
}

void TestBarcodeTables::code39()
{
    QCOMPARE(keysOf(code39SymbolMap), keySet("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.=$/+%*"));
    QSet<QString> patterns;
    for (const auto &r : code39SymbolMap) {
        const QString p = pattern(r);
        const QVector<int> widths = runs(p);
        QCOMPARE(p.size(), 12);
        QCOMPARE(widths.size(), 9);
        QCOMPARE(p.front(), QChar('1'));
        QCOMPARE(int(std::count(widths.begin(), widths.end(), 2)), 3);
        QCOMPARE(int(std::count(widths.begin(), widths.end(), 1)), 6);
        patterns.insert(p);
        const int expectedLabel = r.key == '=' || r.key == '*' ? ' ' : r.key;
        QCOMPARE(int(r.label), expectedLabel);
    }
    QCOMPARE(patterns.size(), 44);
    QCOMPARE(pattern(*find(code39SymbolMap, '0')), QString("101001101101"));
    QCOMPARE(pattern(*find(code39SymbolMap, '=')), QString("100110101101"));
    QCOMPARE(pattern(*find(code39SymbolMap, '*')), QString("100101101101"));
}

QTEST_GUILESS_MAIN(TestBarcodeTables)
#include "tst_barcodetables.moc"
