#include "engine/chartnumerology.h"
#include "engine/globsettings.h"
#include "engine/numberrules.h"
#include "engine/numerology.h"

#include <QtTest>

// The counters holding a count, as "index:count" joined with ",".
static QString counted(const int *counters, int size)
{
    QStringList list;
    for (int i = 0; i < size; ++i) {
        if (counters[i])
            list << QStringLiteral("%1:%2").arg(i).arg(counters[i]);
    }
    return list.join(QLatin1Char(','));
}

class TestNumberRules : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetGlobSettings(); }
    void reduction_data();
    void reduction();
    void reducedCopies_data();
    void reducedCopies();
    void letterValues_data();
    void letterValues();
    void vowelRules_data();
    void vowelRules();
    void planesCells();
    void nameSums_data();
    void nameSums();
};

void TestNumberRules::reduction_data()
{
    QTest::addColumn<int>("masterMode");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<int>("digit");

    QTest::newRow("zero") << 0 << 0 << 0 << "" << 0;
    QTest::newRow("negative") << 1 << -7 << 0 << "" << -7;
    QTest::newRow("negative, mode 0") << 0 << -3 << 0 << "" << -3;
    QTest::newRow("10 is not base") << 0 << 10 << 1 << "1:1" << 1;
    QTest::newRow("above four digits") << 0 << 10000 << 0 << "" << 0;
    QTest::newRow("9999 via 36") << 0 << 9999 << 9 << "9:1" << 9;
    QTest::newRow("19 via 10") << 0 << 19 << 1 << "1:1,19:1" << 1;
    QTest::newRow("49 via karmic 13") << 0 << 49 << 4 << "4:1,13:1" << 4;
    QTest::newRow("29 to 11") << 0 << 29 << 11 << "11:1" << 2;
    QTest::newRow("38 mode 0") << 0 << 38 << 11 << "11:1" << 2;
    QTest::newRow("38 mode 1") << 1 << 38 << 11 << "11:1" << 2;
    QTest::newRow("44 mode 0") << 0 << 44 << 8 << "8:1" << 8;
    QTest::newRow("44 mode 1") << 1 << 44 << 44 << "44:1" << 8;
    QTest::newRow("99 mode 1") << 1 << 99 << 99 << "99:1" << 9;
}

void TestNumberRules::reduction()
{
    QFETCH(int, masterMode);
    QFETCH(int, n);
    QFETCH(int, result);
    QFETCH(QString, counts);
    QFETCH(int, digit);

    CNumerology numerology;
    numerology.setMasterNumbersMode(masterMode);
    QCOMPARE(numerology.downToBase(n), result);
    QCOMPARE(counted(numerology.m_stats, 128), counts);
    int callers[128] = {};
    QCOMPARE(numerology.downToBase(n, callers), result);
    QCOMPARE(counted(callers, 128), counts);
    QCOMPARE(numerology.statDownToBase(n), result);
    QCOMPARE(CNumerology::downToDigit(n), digit);
    QCOMPARE(numerology.isBase(n), n >= 0 && n == result);
    numerology.clear();
    QCOMPARE(counted(numerology.m_stats, 128), QString());
}

void TestNumberRules::reducedCopies_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("downOnce");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<int>("digit");

    QTest::newRow("0 counted") << 0 << 0 << 0 << "0:1" << 0;
    // A negative value never reaches a base value by digit sums.
    QTest::newRow("negative") << -12 << -3 << 0 << "" << 0;
    QTest::newRow("19") << 19 << 10 << 1 << "1:1,19:1" << 1;
    QTest::newRow("29 to 11") << 29 << 11 << 11 << "11:1" << 2;
    QTest::newRow("33") << 33 << 33 << 33 << "33:1" << 6;
    QTest::newRow("44 not master") << 44 << 8 << 8 << "8:1" << 8;
    QTest::newRow("10000") << 10000 << 0 << 0 << "0:1" << 0;
}

void TestNumberRules::reducedCopies()
{
    QFETCH(int, n);
    QFETCH(int, downOnce);
    QFETCH(int, result);
    QFETCH(QString, counts);
    QFETCH(int, digit);

    QCOMPARE(CNumberRules::downOnce(n), downOnce);
    QCOMPARE(CNumberRules::statDownToBase(n), result);
    QCOMPARE(CNumberRules::downToDigit(n), digit);
    QCOMPARE(CNumberRules::isBase(n), n >= 0 && n == result);
    CChartNumerology chart;
    QCOMPARE(chart.downToBase(n), result);
    QString own;
    for (int i = 0; i < CNumberRules::StatCount; ++i)
        own += chart.stat(i) ? QStringLiteral(",%1:%2").arg(i).arg(chart.stat(i)) : QString();
    QCOMPARE(own.mid(1), counts);
    chart.clear();
    QCOMPARE(chart.stat(result), 0);
}

void TestNumberRules::letterValues_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<bool>("byte4");
    QTest::addColumn<int>("masterMode");
    QTest::addColumn<QList<int>>("values");

    const QString all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QTest::newRow("Pythagorean") << all << false << false << 0
                                 << QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9,  1, 11, 3, 4,
                                                5, 6, 7, 8, 9, 1, 2, 3, 22, 5, 6,  7, 8};
    QTest::newRow("masters in mode 1") << "KSV" << false << false << 1 << QList<int> {11, 1, 22};
    QTest::newRow("byte 4") << "KSV" << false << true << 1 << QList<int> {2, 1, 4};
    QTest::newRow("Chaldean") << all << true << false << 0
                              << QList<int> {1, 2, 3, 4, 5, 8, 3, 5, 1, 1, 2, 3, 4,
                                             5, 7, 8, 1, 2, 3, 4, 6, 6, 6, 5, 1, 7};
    const QString others = QString::fromUtf8("7k' É\u0141");
    QTest::newRow("others") << others << false << false << 0 << QList<int> {7, 0, 0, 0, 0, 0};
    QTest::newRow("others, Chaldean")
        << others << true << false << 0 << QList<int> {7, 0, 0, 0, 0, 0};
}

void TestNumberRules::letterValues()
{
    QFETCH(QString, letters);
    QFETCH(bool, chaldean);
    QFETCH(bool, byte4);
    QFETCH(int, masterMode);
    QFETCH(QList<int>, values);

    m_GlobSettings[GSReduceMasterLetters] = byte4;
    CNumerology numerology;
    numerology.setCalcMode(chaldean ? 1 : 0);
    numerology.setMasterNumbersMode(masterMode);
    QList<int> actual;
    int sum = 0;
    for (const QChar c : letters) {
        actual << numerology.letterToNumber(c);
        sum += actual.last();
        if (chaldean)
            QCOMPARE(CNumerology::letterToNumberChaldean(c), actual.last());
    }
    QCOMPARE(actual, values);
    QCOMPARE(numerology.wordToNumber(letters), sum);
}

void TestNumberRules::vowelRules_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("english");
    QTest::addColumn<int>("universal");

    QTest::newRow("W of WYATT, first") << "WYATT" << 0 << -1 << -1;
    QTest::newRow("Y of WYATT, after W") << "WYATT" << 1 << 1 << 1;
    QTest::newRow("W of ANDREW, last") << "ANDREW" << 5 << 1 << -1;
    QTest::newRow("W of EDWARD, before A") << "EDWARD" << 2 << -1 << -1;
    QTest::newRow("W of BOWL, before L") << "BOWL" << 2 << 1 << -1;
    QTest::newRow("W after a blank") << "A WIN" << 2 << -1 << -1;
    QTest::newRow("W of AWHILE, before H") << "AWHILE" << 1 << -1 << -1;
    QTest::newRow("Y of MARY, last after R") << "MARY" << 3 << 1 << 1;
    QTest::newRow("Y of RAY, last after A") << "RAY" << 2 << -1 << 1;
    QTest::newRow("Y of YOLANDA, first") << "YOLANDA" << 0 << -1 << 1;
    QTest::newRow("Y of YVES, first") << "YVES" << 0 << 1 << 1;
    QTest::newRow("Y of LYNN, after L") << "LYNN" << 1 << 1 << 1;
    QTest::newRow("Y of maya, after a") << "maya" << 2 << -1 << 1;
    QTest::newRow("second Y of AYYR, after Y") << "AYYR" << 2 << -1 << 1;
    QTest::newRow("lone Y") << "Y" << 0 << 1 << 1;
    QTest::newRow("N") << "ANN" << 1 << -1 << -1;
    QTest::newRow("apostrophe") << "O'NEIL" << 1 << 0 << 0;
    QTest::newRow("Latin-1 letter") << QString::fromUtf8("ÉA") << 0 << 0 << 0;
    QTest::newRow("outside the word") << "ANN" << 3 << 0 << 0;
}

void TestNumberRules::vowelRules()
{
    QFETCH(QString, word);
    QFETCH(int, pos);
    QFETCH(int, english);
    QFETCH(int, universal);

    QCOMPARE(CNumerology::isVow(word, pos, 0), english);
    QCOMPARE(CNumerology::isVow(word, pos, 1), universal);
    QCOMPARE(CNumerology::isVow(word, pos, 2), 0);
}

void TestNumberRules::planesCells()
{
    const QString letters = QString::fromUtf8("AEIORZKHJNPWBSTXFQUYGLDMCVa1 É\u0141");
    const QList<int> cells {0, 1, 2, 2, 2, 2, 3, 4, 4,  4,  4, 5,  6,  6,  6, 6,
                            7, 7, 7, 7, 8, 8, 9, 9, 11, 11, 0, -1, -1, -1, -1};
    QList<int> actual;
    for (const QChar c : letters)
        actual << CNumerology::getPEIndex(c);
    QCOMPARE(actual, cells);
}

void TestNumberRules::nameSums_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVector<int>>("overrides");
    QTest::addColumn<int>("vowMode");
    QTest::addColumn<QList<int>>("words");
    QTest::addColumn<QList<int>>("vowels");
    QTest::addColumn<QList<int>>("consonants");

    QTest::newRow("two spaces") << "ANN  LEE" << QVector<int>() << 0 << QList<int> {11, 0, 13}
                                << QList<int> {1, 0, 10} << QList<int> {10, 0, 3};
    QTest::newRow("outer spaces") << " ANN " << QVector<int>() << 0 << QList<int> {0, 11, 0}
                                  << QList<int> {0, 1, 0} << QList<int> {0, 10, 0};
    QTest::newRow("empty name") << "" << QVector<int>() << 0 << QList<int> {0} << QList<int> {0}
                                << QList<int> {0};
    QTest::newRow("N as vowel") << "ANN LEE" << QVector<int> {0, 1} << 0 << QList<int> {11, 13}
                                << QList<int> {6, 10} << QList<int> {5, 3};
    // Positions run over the whole name, blanks and empty parts included.
    QTest::newRow("E after empty part as consonant")
        << "A  LEE" << QVector<int> {0, 0, 0, 0, 2} << 0 << QList<int> {1, 0, 13}
        << QList<int> {1, 0, 5} << QList<int> {0, 0, 8};
    QTest::newRow("codes past the end and other codes")
        << "ANN" << QVector<int> {7, -1, 3, 1, 1} << 0 << QList<int> {11} << QList<int> {1}
        << QList<int> {10};
    QTest::newRow("digits only through a code")
        << "A2 3" << QVector<int> {0, 1, 0, 2} << 0 << QList<int> {3, 3} << QList<int> {3, 0}
        << QList<int> {0, 3};
    QTest::newRow("RAY english") << "RAY" << QVector<int>() << 0 << QList<int> {17}
                                 << QList<int> {1} << QList<int> {16};
    QTest::newRow("RAY universal")
        << "RAY" << QVector<int>() << 1 << QList<int> {17} << QList<int> {8} << QList<int> {9};
    QTest::newRow("unknown mode") << "ANN" << QVector<int>() << 2 << QList<int> {11}
                                  << QList<int> {0} << QList<int> {0};
}

void TestNumberRules::nameSums()
{
    QFETCH(QString, name);
    QFETCH(QVector<int>, overrides);
    QFETCH(int, vowMode);
    QFETCH(QList<int>, words);
    QFETCH(QList<int>, vowels);
    QFETCH(QList<int>, consonants);

    CNumerology numerology;
    QList<int> out {-1};
    numerology.calcNamesNumbers(name, out);
    QCOMPARE(out, QList<int> {-1} + words);
    out.clear();
    numerology.calcNamesNumbersP(name, out, true, overrides, vowMode);
    QCOMPARE(out, vowels);
    out.clear();
    numerology.calcNamesNumbersP(name, out, false, overrides, vowMode);
    QCOMPARE(out, consonants);
}

QTEST_GUILESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
