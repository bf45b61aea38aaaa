#include "engine/globsettings.h"
#include "engine/numerology.h"

#include <QtTest>

namespace {

struct Message
{
    QString title;
    QString text;
    int count = 0;
};

Message lastMessage;

void recordMessage(QWidget *, const QString &title, const QString &text)
{
    lastMessage.title = title;
    lastMessage.text = text;
    ++lastMessage.count;
}

const QDate forecastDate(2026, 3, 15);

// Computes only, as the live preview does.
bool compute(CNumerology &numerology, const QString &fullName, const QString &shortName,
             const QDate &birth, int vowMode = 0)
{
    return numerology.calculate(fullName, shortName, QVector<int>(), QVector<int>(), false, birth,
                                forecastDate, nullptr, 0, vowMode, true);
}

void setSettings(const QString &bytes)
{
    for (int i = 0; i < GlobSettingsCount; ++i)
        m_GlobSettings[i] = bytes.at(i) == QLatin1Char('1');
}

} // namespace

class TestNumerology : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CNumerology::s_criticalMessage = recordMessage; }
    void init()
    {
        resetGlobSettings();
        lastMessage = Message();
    }

    void lifePath_data();
    void lifePath();
    void dateNumbers_data();
    void dateNumbers();
    void unsetLifePath();
    void nameBreakdown_data();
    void nameBreakdown();
    void nameNumbers();
    void karmicDebts_data();
    void karmicDebts();
    void lessonsAndPassion();
    void letterLines();
    void planes();
    void nameCheck_data();
    void nameCheck();
    void transits_data();
    void transits();
    void essence_data();
    void essence();
    void essenceByAge_data();
    void essenceByAge();
    void layoutChoice_data();
    void layoutChoice();
};

void TestNumerology::lifePath_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("masterMode");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<int>("lifePath");
    QTest::addColumn<QString>("text");

    QTest::newRow("default options")
        << "100110" << 0 << QDate(1985, 12, 29) << 1 << "11/11+3+5/23=19=1/10";
    QTest::newRow("only byte 1") << "010110" << 0 << QDate(1990, 5, 15) << 3 << "2010=3";
    QTest::newRow("no method byte falls back to 0")
        << "000110" << 0 << QDate(1985, 12, 29) << 1 << "11/11+3+5/23=19=1/10";
    QTest::newRow("master sum") << "100110" << 0 << QDate(1970, 1, 2) << 11 << "2+1+8/17=11";
    QTest::newRow("byte 0 wins over byte 1")
        << "110110" << 0 << QDate(1985, 11, 4) << 2 << "4+11+5/23=20=2";
    // 4 + 11 + 5 = 20 gives 2, but 13 + 11 + 1985 = 2009 gives the master 11.
    QTest::newRow("master of byte 1 replaces")
        << "110110" << 0 << QDate(1985, 11, 13) << 11 << "2009=11";
    QTest::newRow("only byte 2") << "001110" << 0 << QDate(1985, 12, 29) << 1 << "37=1/10";
    // Without byte 0 the plain sum comes before the sum of all digits.
    QTest::newRow("bytes 1 and 2") << "011110" << 0 << QDate(1985, 12, 29) << 1 << "2026=1/10";
    // 1 + 1 + 2 (1991) = 4, but 1 + 1 + 1 + 9 + 9 + 1 = 22.
    QTest::newRow("master of byte 2 replaces") << "101110" << 0 << QDate(1991, 1, 1) << 22 << "22";
    // 22 + 11 + 11 (2009) = 44.
    QTest::newRow("44 kept in mode 1")
        << "100110" << 1 << QDate(2009, 11, 22) << 44 << "22+11+11/11=44";
    QTest::newRow("44 reduced in mode 0")
        << "100110" << 0 << QDate(2009, 11, 22) << 8 << "22+11+11/11=44=8";
}

void TestNumerology::lifePath()
{
    QFETCH(QString, settings);
    QFETCH(int, masterMode);
    QFETCH(QDate, birth);
    QFETCH(int, lifePath);
    QFETCH(QString, text);

    setSettings(settings);
    CNumerology numerology;
    numerology.setMasterNumbersMode(masterMode);
    QVERIFY(compute(numerology, "ANN LEE", "ANN", birth));
    QCOMPARE(numerology.m_lifePath, lifePath);
    QCOMPARE(numerology.m_results[CNumerology::RLifePath], text);
    QCOMPARE(numerology.m_birthDate, birth);
    QCOMPARE(numerology.m_forecastDate, forecastDate);
    QCOMPARE(numerology.m_forecastYear, 2026);
}

void TestNumerology::dateNumbers_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<int>("lifePath");
    // Birthday; challenges; pinnacles; personal year; periods; age spans; period spans.
    QTest::addColumn<QString>("texts");

    // Day 29 = 11 (2), month 3, year 1985 = 5; 2026 is a 1 year.
    QTest::newRow("life path 1") << QDate(1985, 12, 29) << 1
                                 << "29 (11);1, 3, 2, 2;5, 7, 3, 8;6;3, 2, 5;"
                                    "0-35-44-53-E;0-26,27-53,54-E";
    QTest::newRow("life path 7") << QDate(1994, 1, 1) << 7
                                 << "1;0, 4, 4, 4;2, 6, 8, 6;3;1, 1, 5;"
                                    "0-29-38-47-E;0-29,30-56,57-E";
    QTest::newRow("life path 11") << QDate(
        1970, 1, 2) << 11 << "2;1, 6, 5, 7;3, 1, 4, 9;4;1, 2, 8;0-34-43-52-E;0-25,26-52,53-E";
    QTest::newRow("life path 22, master pinnacle") << QDate(2009, 2, 9) << 22
                                                   << "9;7, 7, 0, 0;2/11, 2, 4, 4;3;2, 9, 2;"
                                                      "0-32-41-50-E;0-23,24-59,60-E";
}

void TestNumerology::dateNumbers()
{
    QFETCH(QDate, birth);
    QFETCH(int, lifePath);
    QFETCH(QString, texts);

    CNumerology numerology;
    QVERIFY(compute(numerology, "ANN LEE", "ANN", birth));
    QCOMPARE(numerology.m_lifePath, lifePath);
    const QStringList expected = texts.split(QLatin1Char(';'));
    const int results[]
        = {CNumerology::RBirthday,     CNumerology::RChallenges,      CNumerology::RPinnacles,
           CNumerology::RPersonalYear, CNumerology::RLifePathPeriods, CNumerology::RAgeSpans,
           CNumerology::RPeriodSpans};
    for (int i = 0; i < 7; ++i) {
        if (!expected.at(i).isEmpty())
            QCOMPARE(numerology.m_results[results[i]], expected.at(i));
    }
    QStringList challenges;
    for (int c : numerology.m_challenges)
        challenges << QString::number(c);
    QCOMPARE(challenges.join(", "), expected.at(1));
}

void TestNumerology::unsetLifePath()
{
    // Day + month + year above 9999 reduces to nothing: the life path stays
    // unset and no period table entry is looked up for it.
    setSettings("010110");
    CNumerology numerology;
    QVERIFY(numerology.calculate("ANN LEE", "ANN", {}, {}, false, QDate(9990, 12, 31), forecastDate,
                                 nullptr, 0, 0, false));
    QCOMPARE(numerology.m_lifePath, -1);
    QVERIFY(numerology.m_results[CNumerology::RPeriodSpans].isEmpty());
    QVERIFY(!numerology.reportHtml.isEmpty());

    // Dates without a sensible year reduce to nothing instead of failing.
    resetGlobSettings();
    for (const QDate &birth : {QDate(), QDate(-500, 1, 1), QDate(12000, 6, 30)}) {
        QVERIFY(compute(numerology, "ANN LEE", "ANN", birth));
        QVERIFY(numerology.m_lifePath >= -1 && numerology.m_lifePath <= 99);
        QCOMPARE(numerology.m_transitPhysical.size(), 128);
    }
}

void TestNumerology::nameBreakdown_data()
{
    QTest::addColumn<bool>("reduceEveryWord");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expression");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("breakdown");

    // AI = 1 + 9, IID = 9 + 9 + 4.
    QTest::newRow("byte 3 set") << true << "AI IID" << 5 << "5/23"
                                << "=1/10+22=23=5";
    QTest::newRow("byte 3 clear") << false << "AI IID" << 5 << "5/32"
                                  << "=1/10+22=32=5";
    QTest::newRow("total is base") << true << "ANN" << 11 << "11"
                                   << "=11=11";
    QTest::newRow("empty part") << true << "ANN  LEE" << 6 << "6/15"
                                << "=11+0+4/13=15=6";
}

void TestNumerology::nameBreakdown()
{
    QFETCH(bool, reduceEveryWord);
    QFETCH(QString, name);
    QFETCH(int, expression);
    QFETCH(QString, text);
    QFETCH(QString, breakdown);

    m_GlobSettings[GSReduceEveryWord] = reduceEveryWord;
    CNumerology numerology;
    QVERIFY(compute(numerology, name, name, QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_expression, expression);
    QCOMPARE(numerology.m_results[CNumerology::RExpression], text);
    QCOMPARE(numerology.m_nameLines[CNumerology::NLExpression], breakdown);
    QCOMPARE(numerology.m_results[CNumerology::RMinorExpression], text);
    QCOMPARE(numerology.m_nameLines[CNumerology::NLMinorExpression], breakdown);
}

void TestNumerology::nameNumbers()
{
    CNumerology numerology;
    QVERIFY(compute(numerology, "mary ann lee", "mary", QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_fullName, QString("MARY ANN LEE"));
    QCOMPARE(numerology.m_shortName, QString("MARY"));
    // Vowels A Y | A | E E = 8 + 1 + 10(1), consonants M R | N N | L = 13(4) + 10(1) + 3.
    QCOMPARE(numerology.m_results[CNumerology::RHeartDesire], QString("1/10"));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLHeartDesire], QString("=8+1+1/10=10=1"));
    QCOMPARE(numerology.m_results[CNumerology::RPersonality], QString("8"));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLPersonality], QString("=4/13+1/10+3=8"));
    QCOMPARE(numerology.m_results[CNumerology::RMinorHeartDesire], QString("8"));
    // One word: reduced before it is totalled.
    QCOMPARE(numerology.m_results[CNumerology::RMinorPersonality], QString("4"));
    // 21(3) + 11 + 13(4).
    QCOMPARE(numerology.m_results[CNumerology::RExpression], QString("9/18"));
    QCOMPARE(numerology.m_compoundNumber, 18);
    // Maturity 9 + 1; rational thought day 11 + MARY 21; balance M A L 4 + 1 + 3.
    QCOMPARE(numerology.m_results[CNumerology::RMaturity], QString("1/10"));
    QCOMPARE(numerology.m_results[CNumerology::RRationalThought], QString("5/32"));
    QCOMPARE(numerology.m_results[CNumerology::RBalance], QString("8"));
    // Bridges: life path 1 and expression 9, heart's desire 1 and personality 8.
    QCOMPARE(numerology.m_results[CNumerology::RBridgeLPE], QString("8"));
    QCOMPARE(numerology.m_results[CNumerology::RBridgeHDP], QString("7"));

    // The same name with Y as a consonant through the overrides.
    QVERIFY(numerology.calculate("MARY ANN LEE", "MARY", {0, 0, 0, 2}, {0, 0, 0, 2}, false,
                                 QDate(1985, 12, 29), forecastDate, nullptr, 0, 0, true));
    QCOMPARE(numerology.m_results[CNumerology::RMinorHeartDesire], QString("1"));
    QCOMPARE(numerology.m_results[CNumerology::RMinorPersonality], QString("2"));

    // Chaldean F is 8: 16 gives 7 where the Pythagorean 12 gives 3.
    QVERIFY(numerology.calculate("FF", "FF", {}, {}, true, QDate(1985, 12, 29), forecastDate,
                                 nullptr, 0, 0, true));
    QCOMPARE(numerology.m_calcMode, 1);
    QCOMPARE(numerology.m_expression, 7);
    QVERIFY(compute(numerology, "FF", "FF", QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_calcMode, 0);
    QCOMPARE(numerology.m_expression, 3);
}

void TestNumerology::karmicDebts_data()
{
    QTest::addColumn<QString>("names"); // full name | short name
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QString>("debts");
    QTest::addColumn<QString>("settings");

    const QString defaults = "100110";
    QTest::newRow("none") << "ANN|ANN" << QDate(1970, 1, 2) << "-" << defaults;
    QTest::newRow("birth day 13") << "ANN|ANN" << QDate(1970, 1, 13) << "13" << defaults;
    QTest::newRow("birth day 14") << "ANN|ANN" << QDate(1970, 1, 14) << "14" << defaults;
    QTest::newRow("life path sum 19") << "ANN|ANN" << QDate(1985, 12, 29) << "19" << defaults;
    // Words are reduced first: only the totals 4 + 9 and 5 + 9 are karmic.
    QTest::newRow("name totals 13 and 14")
        << "D I|E I" << QDate(1970, 1, 2) << "13, 14" << defaults;
    QTest::newRow("karmic word alone") << "LEE|LEE" << QDate(1970, 1, 2) << "-" << defaults;
    // The year 1945 passes 19 on its way to 1; it counts only when the master
    // 1948 = 22 of byte 1 replaces 2 + 1 + 1 = 4 and the date is reduced anew.
    QTest::newRow("year not counted") << "ANN|ANN" << QDate(1945, 1, 2) << "-" << defaults;
    QTest::newRow("master replacement counts the year") << "ANN|ANN" << QDate(1945, 1, 2) << "19"
                                                        << "110110";
}

void TestNumerology::karmicDebts()
{
    QFETCH(QString, names);
    QFETCH(QDate, birth);
    QFETCH(QString, debts);
    QFETCH(QString, settings);

    setSettings(settings);
    CNumerology numerology;
    QVERIFY(compute(numerology, names.section('|', 0, 0), names.section('|', 1), birth));
    QCOMPARE(numerology.m_results[CNumerology::RKarmicDebts], debts);
}

void TestNumerology::lessonsAndPassion()
{
    CNumerology numerology;
    QVERIFY(compute(numerology, "AAB S", "AAB", QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_results[CNumerology::RKarmicLessons], QString("3, 4, 5, 6, 7, 8, 9"));
    QCOMPARE(numerology.m_results[CNumerology::RHiddenPassion], QString("1"));
    QCOMPARE(numerology.m_results[CNumerology::RSubconsciousConfidence], QString("2"));

    QVERIFY(compute(numerology, "ABCDEFGHI", "ABC", QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_results[CNumerology::RKarmicLessons], QString("-"));
    QCOMPARE(numerology.m_results[CNumerology::RHiddenPassion],
             QString("1, 2, 3, 4, 5, 6, 7, 8, 9"));
    QCOMPARE(numerology.m_results[CNumerology::RSubconsciousConfidence], QString("9"));
}

void TestNumerology::letterLines()
{
    m_GlobSettings[GSReduceMasterLetters] = 0;
    CNumerology numerology;
    QVERIFY(numerology.calculate("MARY KAY", "RAY", {1}, {0, 0, 1}, false, QDate(1985, 12, 29),
                                 forecastDate, nullptr, 0, 0, true));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLFullVowels], QString("41 7  1 "));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLFullConsonants], QString("  9  2 7"));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLShortVowels], QString(" 17"));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLShortConsonants], QString("9  "));

    QVERIFY(compute(numerology, "MARY", "MARY", QDate(1985, 12, 29), 1));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLFullVowels], QString(" 1 7"));
    QVERIFY(compute(numerology, "MARY", "MARY", QDate(1985, 12, 29), 5));
    QCOMPARE(numerology.m_nameLines[CNumerology::NLFullVowels], QString("    "));
}

void TestNumerology::planes()
{
    CNumerology numerology;
    QVERIFY(compute(numerology, "IIII AE A", "A", QDate(1985, 12, 29)));
    QCOMPARE(numerology.m_letterStats[0], 2);
    QCOMPARE(numerology.m_letterStats[2], 4);
    QCOMPARE(numerology.m_letterStats[128], 2);
    QCOMPARE(numerology.m_letterStats[128 + 8], 4);
    QCOMPARE(numerology.m_planeLetters[2], QString("I4"));
    // Cells, then the kind total (2 + 5 + 9 = 16) in column 4; plane totals
    // in row 3.
    const QString grid = "A2=2, 2|E1=5, 1|I4=9/36, 4||7/16, 7|||||0, 0|||||0, 0|"
                         "2, 2|5, 1|9, 4|0, 0|0, 0";
    QCOMPARE(QStringList(numerology.m_planeTexts, numerology.m_planeTexts + 20).join('|'), grid);
}

void TestNumerology::nameCheck_data()
{
    QTest::addColumn<QString>("names"); // full name | short name
    QTest::addColumn<QVector<int>>("shortOverrides");
    QTest::addColumn<bool>("passes");

    QTest::newRow("sound names") << "ANN LEE|ANN" << QVector<int>() << true;
    QTest::newRow("short name without vowels") << "ANN LEE|BRT" << QVector<int>() << false;
    QTest::newRow("vowel by override") << "ANN LEE|BRT" << QVector<int> {1} << true;
    QTest::newRow("only vowel made a consonant") << "ANN LEE|ANN" << QVector<int> {2} << false;
    QTest::newRow("full name without consonants") << "AE|ANN" << QVector<int>() << false;
    QTest::newRow("no letters") << "123 ''|ANN" << QVector<int>() << false;
    QTest::newRow("minor personality not checked") << "ANN LEE|AE" << QVector<int>() << true;
}

void TestNumerology::nameCheck()
{
    QFETCH(QString, names);
    QFETCH(QVector<int>, shortOverrides);
    QFETCH(bool, passes);

    const QString fullName = names.section('|', 0, 0);
    const QString shortName = names.section('|', 1);
    CNumerology numerology;
    QCOMPARE(numerology.calculate(fullName, shortName, {}, shortOverrides, false,
                                  QDate(1985, 12, 29), forecastDate, nullptr, 0, 0, false),
             passes);
    QCOMPARE(lastMessage.count, passes ? 0 : 1);
    QCOMPARE(numerology.reportHtml.isEmpty(), !passes);
    if (!passes) {
        QCOMPARE(lastMessage.title, QString());
        QCOMPARE(lastMessage.text, QString("Error! Incorrect full or short name!"));
        QCOMPARE(numerology.m_lifePath, 1);
        QVERIFY(numerology.m_transitPhysical.isEmpty());
    }

    // The live preview computes every number and never complains.
    QVERIFY(numerology.calculate(fullName, shortName, {}, shortOverrides, false,
                                 QDate(1985, 12, 29), forecastDate, nullptr, 0, 0, true));
    QCOMPARE(lastMessage.count, passes ? 0 : 1);
    QVERIFY(numerology.reportHtml.isEmpty());
    QCOMPARE(numerology.m_transitPhysical.size(), 128);
}

void TestNumerology::transits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("noMissedTransits");
    QTest::addColumn<QString>("starts"); // physical | mental | spiritual

    // Each letter stays for as many years as its value; blanks stand for a
    // missing name part.
    QTest::newRow("three parts") << "ABE CD F" << false << "ABBEEEEEA|CCCDDDDCCC|FFFFFF";
    QTest::newRow("middle names joined") << "A B C D" << false << "AAA|BBCCCBB|DDDD";
    QTest::newRow("one part") << "AB" << false << "ABBA|ABBA|ABBA";
    QTest::newRow("one part, byte 5") << "AB" << true << "ABBA|    |    ";
    QTest::newRow("two parts") << "AB C" << false << "ABBA|CCCC|CCCC";
    QTest::newRow("two parts, byte 5") << "AB C" << true << "ABBA|    |CCCC";
    QTest::newRow("first part without letters") << "12 C" << false << "XXXXXXXX|CCC|CCC";
    QTest::newRow("empty first part") << " C" << false << "XXXXXXXX|CCC|CCC";
    QTest::newRow("apostrophe dropped") << "O'A C" << false << "OOOOOOA|CCC|CCC";
    // Letters without a value would never fill the string.
    QTest::newRow("letters without value")
        << QString::fromUtf8("ÄÖ Ñ B") << false << "XXXXXX|     |BBBB";
    QTest::newRow("valued letters kept") << QString::fromUtf8("ÄB Ñ") << false << "BBBB|  |  ";
}

void TestNumerology::transits()
{
    QFETCH(QString, name);
    QFETCH(bool, noMissedTransits);
    QFETCH(QString, starts);

    m_GlobSettings[GSNoMissedTransits] = noMissedTransits;
    CNumerology numerology;
    QVERIFY(compute(numerology, name, "ANN", QDate(1985, 12, 29)));
    const QString transits[]
        = {numerology.m_transitPhysical, numerology.m_transitMental, numerology.m_transitSpiritual};
    for (int i = 0; i < 3; ++i) {
        const QString start = starts.section('|', i, i);
        QCOMPARE(transits[i].size(), 128);
        QCOMPARE(transits[i].left(start.size()), start);
        // The reading looks at ages up to 99.
        QCOMPARE(transits[i].at(99) == ' ', start.startsWith(' '));
    }
}

void TestNumerology::essence_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("noMissedTransits");
    QTest::addColumn<int>("essence");
    QTest::addColumn<int>("reduced");

    QTest::newRow("one part, three values") << "B" << false << 6 << 6;
    QTest::newRow("one part, byte 5") << "B" << true << 2 << 2;
    QTest::newRow("16 kept") << "G I" << true << 16 << 16;
    QTest::newRow("19 kept") << "I I A" << false << 19 << 19;
    QTest::newRow("13 reduced") << "G F" << true << 13 << 4;
    QTest::newRow("14 reduced") << "E I" << true << 14 << 5;
    QTest::newRow("master kept") << "B I" << false << 20 << 2;
}

void TestNumerology::essence()
{
    QFETCH(QString, name);
    QFETCH(bool, noMissedTransits);
    QFETCH(int, essence);
    QFETCH(int, reduced);

    m_GlobSettings[GSNoMissedTransits] = noMissedTransits;
    CNumerology numerology;
    QVERIFY(compute(numerology, name, "ANN", QDate(1985, 12, 29)));
    for (int age : {0, 50, 99, 127}) {
        QCOMPARE(numerology.m_essence[age], essence);
        QCOMPARE(numerology.m_essence[128 + age], reduced);
    }
}

void TestNumerology::essenceByAge_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("age");
    QTest::addColumn<QString>("letters"); // physical, mental, spiritual
    QTest::addColumn<int>("essence");
    QTest::addColumn<int>("reduced");

    // ABBEEEEE repeats every 8 years, CCCDDDD every 7, F every year.
    QTest::newRow("age 0") << "ABE CD F" << false << 0 << "ACF" << 10 << 1;
    QTest::newRow("age 3") << "ABE CD F" << false << 3 << "EDF" << 15 << 6;
    QTest::newRow("age 7, 14 reduced") << "ABE CD F" << false << 7 << "ECF" << 14 << 5;
    QTest::newRow("age 98, master") << "ABE CD F" << false << 98 << "BCF" << 11 << 11;
    QTest::newRow("age 127") << "ABE CD F" << false << 127 << "ECF" << 14 << 5;
    // Chaldean F 8 and O 7 (Pythagorean 6 and 6) give the letters' stays.
    QTest::newRow("Chaldean age 7") << "F O" << true << 7 << "F O" << 15 << 6;
    QTest::newRow("Chaldean age 8") << "F O" << true << 8 << "F O" << 15 << 6;
    // FFFFFFFFOOOOOOO repeats every 15 years.
    QTest::newRow("Chaldean one part, age 8") << "FO" << true << 8 << "O  " << 7 << 7;
    QTest::newRow("Chaldean one part, age 127") << "FO" << true << 127 << "F  " << 8 << 8;
}

void TestNumerology::essenceByAge()
{
    QFETCH(QString, name);
    QFETCH(bool, chaldean);
    QFETCH(int, age);
    QFETCH(QString, letters);
    QFETCH(int, essence);
    QFETCH(int, reduced);

    m_GlobSettings[GSNoMissedTransits] = 1;
    CNumerology numerology;
    QVERIFY(numerology.calculate(name, "ANN", {}, {}, chaldean, QDate(1985, 12, 29), forecastDate,
                                 nullptr, 0, 0, true));
    QCOMPARE(QString(numerology.m_transitPhysical.at(age)) + numerology.m_transitMental.at(age)
                 + numerology.m_transitSpiritual.at(age),
             letters);
    QCOMPARE(numerology.m_essence[age], essence);
    QCOMPARE(numerology.m_essence[128 + age], reduced);
}

void TestNumerology::layoutChoice_data()
{
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<QString>("title");

    QTest::newRow("0") << 0 << "Lumaro Numerology Report";
    QTest::newRow("-1") << -1 << "Lumaro Numerology Report";
    QTest::newRow("first") << 1 << "Numerology Report";
    QTest::newRow("count") << 2 << "Numerology Report";
    QTest::newRow("count + 1") << 3 << "Lumaro Numerology Report";
}

void TestNumerology::layoutChoice()
{
    QFETCH(int, layoutNo);
    QFETCH(QString, title);

    QList<reportSetting> layouts {reportSetting(), reportSetting()};
    CNumerology numerology;
    QVERIFY(numerology.calculate("ANN LEE", "ANN", {}, {}, false, QDate(1985, 12, 29), forecastDate,
                                 &layouts, layoutNo, 0, false));
    QVERIFY(numerology.reportHtml.contains("<title>" + title + "</title>"));
}

QTEST_GUILESS_MAIN(TestNumerology)
#include "tst_numerology.moc"
