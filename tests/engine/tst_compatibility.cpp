#include "engine/compnumerology.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"

#include "furtherfixture.h"

#include <QtTest>

using namespace FurtherFixture;

typedef QList<int> Ints;

namespace {

using M = CNumerologyPMatrix;

// One side of the comparison, with the numbers a personal calculation and a
// psycho-matrix would have left.
struct Side
{
    CNumerology numbers;
    CNumerologyPMatrix matrix;

    Side(const QString &name, int lifePath, const QDate &birth, int expression,
         const QDate &matrixDate = QDate(1987, 3, 15))
    {
        numbers.m_fullName = name;
        numbers.m_lifePath = lifePath;
        numbers.m_birthDate = birth;
        numbers.m_expression = expression;
        numbers.m_results[CNumerology::RLifePath] = QStringLiteral("lp%1").arg(lifePath);
        numbers.m_results[CNumerology::RBirthday] = QStringLiteral("bd%1").arg(birth.day());
        numbers.m_results[CNumerology::RExpression] = QStringLiteral("ex%1").arg(expression);
        matrix.calculate(name, matrixDate, nullptr, 0);
    }
};

void compare(CCompNumerology &comp, Side &a, Side &b, QList<reportSetting> *layouts = nullptr,
             int layoutNo = 0)
{
    QVERIFY(comp.calculate(&a.numbers, &b.numbers, &a.matrix, &b.matrix, layouts, layoutNo));
}

void setLines(CNumerologyPMatrix &m, int family, int sexual, int stability, int self,
              int spirituality, int purposeful)
{
    m.lineValue[M::LFamilyFormation] = family;
    m.lineValue[M::LSexualLife] = sexual;
    m.lineValue[M::LStability] = stability;
    m.lineValue[M::LSelfAppraisal] = self;
    m.lineValue[M::LSpirituality] = spirituality;
    m.lineValue[M::LPurposeful] = purposeful;
}

} // namespace

class tst_Compatibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadMarkerDatabase()); }

    void scoreTables_data();
    void scoreTables();
    void lifePath_data();
    void lifePath();
    void birthday_data();
    void birthday();
    void name_data();
    void name();
    void sameBirthDate();
    void equalTerms();
    void cappedValues_data();
    void cappedValues();
    void finalScore();
    void digitsOutsideTheTables();
    void resetKeepsTexts();
    void fixedReading();
    void layoutSections_data();
    void layoutSections();
    void layoutPictures_data();
    void layoutPictures();
    void layoutHeaderAndCustomText();
};

void tst_Compatibility::scoreTables_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("score");

    QTest::newRow("life path 1, 5") << "lifePath" << 1 << 5 << 90;
    QTest::newRow("life path 2, 7") << "lifePath" << 2 << 7 << 35;
    QTest::newRow("life path 8, 1 (no blank in class)") << "lifePath" << 8 << 1 << 50;
    QTest::newRow("life path 9, 7") << "lifePath" << 9 << 7 << 50;
    QTest::newRow("life path 3, 3") << "lifePath" << 3 << 3 << 90;
    QTest::newRow("life path row 0") << "lifePath" << 0 << 5 << 0;
    QTest::newRow("life path column 0") << "lifePath" << 5 << 0 << 0;
    QTest::newRow("life path row 10") << "lifePath" << 10 << 1 << 0;
    QTest::newRow("birthday 1") << "birthday" << 1 << 0 << 80;
    QTest::newRow("birthday 6") << "birthday" << 6 << 0 << 95;
    QTest::newRow("birthday 9") << "birthday" << 9 << 0 << 50;
    QTest::newRow("birthday 0") << "birthday" << 0 << 0 << 0;
    QTest::newRow("birthday 10") << "birthday" << 10 << 0 << 0;
    QTest::newRow("name 3, 8") << "name" << 3 << 8 << 50;
    QTest::newRow("name 8, 3 (either order)") << "name" << 8 << 3 << 50;
    QTest::newRow("name 9, 9") << "name" << 9 << 9 << 60;
    QTest::newRow("name 1, 9") << "name" << 1 << 9 << 95;
    QTest::newRow("name 0, 3") << "name" << 0 << 3 << 0;
    QTest::newRow("name 3, -1") << "name" << 3 << -1 << 0;
    QTest::newRow("carnal 0") << "carnal" << 0 << 0 << 100;
    QTest::newRow("carnal 5") << "carnal" << 5 << 0 << 30;
    QTest::newRow("carnal 6") << "carnal" << 6 << 0 << 0;
    QTest::newRow("carnal -1") << "carnal" << -1 << 0 << 0;
    QTest::newRow("pair 5, 1") << "pair" << 5 << 1 << 15;
    QTest::newRow("pair 7, 7") << "pair" << 7 << 7 << 77;
    QTest::newRow("pair 0, 7") << "pair" << 0 << 7 << -1;
}

void tst_Compatibility::scoreTables()
{
    QFETCH(QString, table);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, score);
    int actual = -100;
    if (table == QLatin1String("lifePath"))
        actual = CCompNumerology::lifePathTableScore(a, b);
    else if (table == QLatin1String("birthday"))
        actual = CCompNumerology::birthdayTableScore(a);
    else if (table == QLatin1String("name"))
        actual = CCompNumerology::nameTableScore(a, b);
    else if (table == QLatin1String("carnal"))
        actual = CCompNumerology::carnalTableScore(a);
    else
        actual = CCompNumerology::pairCode(a, b);
    QCOMPARE(actual, score);
}

void tst_Compatibility::lifePath_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("score");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("text");

    QTest::newRow("1 and 5") << 1 << 5 << "90%" << 6 << "1+5=6"
                             << "lp-pair15";
    QTest::newRow("11 and 7") << 11 << 7 << "35%" << 9 << "11+7=9"
                              << "lp-pair27";
    QTest::newRow("8 and 1") << 8 << 1 << "50%" << 9 << "8+1=9" << QString();
    QTest::newRow("3 and 3") << 3 << 3 << "90%" << 6 << "3+3=6" << QString();
}

void tst_Compatibility::lifePath()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, score);
    QFETCH(int, code);
    QFETCH(QString, formula);
    QFETCH(QString, text);

    Side person(QStringLiteral("ANN"), a, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), b, QDate(1987, 3, 28), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.resultText[CCompNumerology::RLifePathScore], score);
    QCOMPARE(comp.lifePathCode, code);
    QCOMPARE(comp.resultText[CCompNumerology::RLifePathFormula], formula);
    QVERIFY(
        comp.reportHtml.contains(QStringLiteral("Life path - lp%1 / lp%2<br />").arg(a).arg(b)));
    QVERIFY(comp.reportHtml.contains(
        QStringLiteral("Life path compatibility code - %1<br /><br />\r\n\r\n").arg(code)));
    if (!text.isEmpty())
        QVERIFY(comp.reportHtml.contains(text));
}

void tst_Compatibility::birthday_data()
{
    QTest::addColumn<int>("dayA");
    QTest::addColumn<int>("dayB");
    QTest::addColumn<QString>("score");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("codeText");
    QTest::addColumn<QString>("pairText");

    QTest::newRow("15 and 28") << 15 << 28 << "70%"
                               << "15+28=7"
                               << "sum-code7"
                               << "det-pair16";
    QTest::newRow("29 and 29") << 29 << 29 << "50%"
                               << "29+29=4"
                               << "sum-code4"
                               << "det-pair22";
}

void tst_Compatibility::birthday()
{
    QFETCH(int, dayA);
    QFETCH(int, dayB);
    QFETCH(QString, score);
    QFETCH(QString, formula);
    QFETCH(QString, codeText);
    QFETCH(QString, pairText);

    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, dayA), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, dayB), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.resultText[CCompNumerology::RBirthdayScore], score);
    QCOMPARE(comp.resultText[CCompNumerology::RBirthdayFormula], formula);
    const int code = formula.section(QLatin1Char('='), 1).toInt();
    QVERIFY(comp.reportHtml.contains(QStringLiteral("Birthday compatibility = %1<br />\r\n"
                                                    "Birthday - bd%2 / bd%3<br />\r\n"
                                                    "Birthday code - %4<br /><br />\r\n\r\n")
                                         .arg(score)
                                         .arg(dayA)
                                         .arg(dayB)
                                         .arg(code)));
    const int codeAt = comp.reportHtml.indexOf(codeText);
    QVERIFY(codeAt > 0);
    QVERIFY(comp.reportHtml.indexOf(pairText) > codeAt);
}

void tst_Compatibility::name_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("score");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<QString>("text");

    QTest::newRow("3 and 8") << 3 << 8 << "50%" << 2 << "3+8=2"
                             << "name-pair38";
    QTest::newRow("22 and 22") << 22 << 22 << "70%" << 8 << "22+22=8"
                               << "name-pair44";
}

void tst_Compatibility::name()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QString, score);
    QFETCH(int, code);
    QFETCH(QString, formula);
    QFETCH(QString, text);

    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), a);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), b);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.resultText[CCompNumerology::RNameScore], score);
    QCOMPARE(comp.nameCode, code);
    QCOMPARE(comp.resultText[CCompNumerology::RNameFormula], formula);
    QVERIFY(comp.reportHtml.contains(QLatin1String("Name compatibility code - ") + formula
                                     + QLatin1String("<br /><br />")));
    QVERIFY(comp.reportHtml.contains(text));
}

void tst_Compatibility::sameBirthDate()
{
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 15), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.homeProductA, 112);
    QCOMPARE(comp.homeProductB, 112);
    QCOMPARE(comp.spiritualProductA, 150);
    QCOMPARE(comp.spiritualProductB, 150);
    QCOMPARE(comp.homeTerm, 34);
    QCOMPARE(comp.spiritualTerm, 62);
    QCOMPARE(comp.marriageTerm, 96);
    const QStringList texts {"112", "112", "150", "150", "34", "62", "96"};
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(comp.resultText[i], texts.at(i));
    QCOMPARE(comp.resultText[CCompNumerology::RFamilyScore], QString("100%"));
    QCOMPARE(comp.resultText[CCompNumerology::RCarnalScore], QString("100%"));
    QCOMPARE(comp.characterCode, 33);
    QCOMPARE(comp.energyCode, 22);
    QVERIFY(comp.reportHtml.contains(QLatin1String("char-code33")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("energy-code22")));
    QVERIFY(comp.reportHtml.contains(
        QLatin1String(">Character (1) - 2 / 2<br/>\r\nEnergy (2) - 1 / 1<br/>\r\n")));
    // The last listing line has no break after it.
    QVERIFY(comp.reportHtml.contains(QLatin1String("Sexual life (3-5-7) - 7 / 7</p>")));
    QVERIFY(
        comp.reportHtml.contains(QLatin1String("Values (3-5-7) - 7 / 7<br /><br /><br /><br />")));
}

void tst_Compatibility::equalTerms()
{
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 15), 8);
    setLines(person.matrix, 2, 4, 4, 2, 4, 4);
    setLines(partner.matrix, 2, 4, 4, 2, 4, 4);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.homeTerm, 3);
    QCOMPARE(comp.spiritualTerm, 3);
    QCOMPARE(comp.marriageTerm, 3);
    QCOMPARE(comp.resultText[CCompNumerology::RFamilyScore], QString("9%"));
}

void tst_Compatibility::cappedValues_data()
{
    QTest::addColumn<int>("sexualA");
    QTest::addColumn<int>("sexualB");
    QTest::addColumn<QString>("carnal");
    QTest::addColumn<int>("onesA");
    QTest::addColumn<int>("onesB");
    QTest::addColumn<int>("characterCode");

    QTest::newRow("0 and 9, counts 0 and 3") << 0 << 9 << "30%" << 0 << 3 << 14;
    QTest::newRow("6 and 2, counts 8 and 2") << 6 << 2 << "50%" << 8 << 2 << 37;
    QTest::newRow("9 and 3, counts 2 and 8") << 9 << 3 << "75%" << 2 << 8 << 37;
    QTest::newRow("7 and 7, counts 6 and 9") << 7 << 7 << "100%" << 6 << 9 << 77;
    QTest::newRow("1 and 0, counts 0 and 0") << 1 << 0 << "90%" << 0 << 0 << 11;
}

void tst_Compatibility::cappedValues()
{
    QFETCH(int, sexualA);
    QFETCH(int, sexualB);
    QFETCH(QString, carnal);
    QFETCH(int, onesA);
    QFETCH(int, onesB);
    QFETCH(int, characterCode);

    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 15), 8);
    person.matrix.lineValue[M::LSexualLife] = sexualA;
    partner.matrix.lineValue[M::LSexualLife] = sexualB;
    person.matrix.digitCount[1] = onesA;
    partner.matrix.digitCount[1] = onesB;
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.resultText[CCompNumerology::RCarnalScore], carnal);
    QCOMPARE(comp.characterCode, characterCode);
    // The paragraph shows the values uncapped.
    QVERIFY(comp.reportHtml.contains(
        QStringLiteral("Values (3-5-7) - %1 / %2<br />").arg(sexualA).arg(sexualB)));
}

void tst_Compatibility::finalScore()
{
    // Life path 90, birthday 70, name 50, family 100, carnal 100.
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.resultText[CCompNumerology::RFinalScore], QString("85%"));
    QVERIFY(comp.reportHtml.contains(
        QLatin1String("<td style=\"padding: 5px 20px 5px 20px; font: large bold; color:#6f2a0b;\">"
                      "ANN, Mar 15 1987<br />and<br />BOB, Mar 28 1987</td>"
                      "<td style=\"color:#6f2a0b; font: large bold;\">85%</td></tr>")));
    QVERIFY(comp.reportHtml.contains(
        QLatin1String("Life path</td><td  comment=\"lc_fs\" >90%</td></tr>")));
    QVERIFY(comp.reportHtml.contains(
        QLatin1String("Marriage stability term</td><td comment=\"lc_fs\" >96 years</td></tr>")));
}

void tst_Compatibility::digitsOutsideTheTables()
{
    // Results reset and never recomputed, and a name worth nothing: every
    // digit is 0, which no score table has a row or column for.
    Side person(QStringLiteral("ANN"), -1, QDate(), 0);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    QCOMPARE(comp.lifePathScore, 0);
    QCOMPARE(comp.nameScore, 0);
    QCOMPARE(comp.resultText[CCompNumerology::RBirthdayScore], QString("0%"));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("lp-pair")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("name-pair")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("sum-code")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("det-pair")));
    QVERIFY(comp.reportHtml.endsWith(QLatin1String("</body></html>\r\n")));

    // The same by layout: each section keeps its general paragraph only.
    QList<reportSetting> layouts {layout(RKLoveCompatibility, {1, 2, 3, 7}, false)};
    compare(comp, person, partner, &layouts, 1);
    QVERIFY(comp.reportHtml.contains(QLatin1String("Life path compatibility = 0%")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("Birthday compatibility = 0%")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("Name compatibility = 0%")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("-pair")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("sum-code")));
}

void tst_Compatibility::resetKeepsTexts()
{
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 15), 8);
    CCompNumerology comp;
    compare(comp, person, partner);
    comp.resetData();
    QCOMPARE(comp.homeProductA, 0);
    QCOMPARE(comp.marriageTerm, 0);
    QCOMPARE(comp.lifePathScore, 90);
    QCOMPARE(comp.resultText[CCompNumerology::RMarriageTerm], QString("96"));
    QVERIFY(!comp.reportHtml.isEmpty());
}

void tst_Compatibility::fixedReading()
{
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    CCompNumerology comp;
    comp.preloadRes(QStringLiteral("/r/"));
    compare(comp, person, partner);
    const QString &html = comp.reportHtml;
    QVERIFY(html.contains(QLatin1String("<title>Numerology Compatibility Report</title>")));

    // Parts in order; the summary table stands outside any chapter.
    const QStringList order {
        "Numerology Compatibility Report</font></h2>",
        "</td></tr></table>\r\n<table class=maindoc width=\"500\"",
        "det-intro",
        "res35.jpg",
        "Life Path Compatibility",
        "lp-pair15",
        "res37.jpg",
        "Birthday Compatibility",
        "sum-code7",
        "det-pair16",
        "res34.jpg",
        "Name Compatibility",
        "name-pair38",
        "Psycho-matrix</font>",
        "res36.jpg",
        "Family Compatibility = 100%<br />\r\nHome stability 34<br />\r\nSpiritual stability "
        "62<br />\r\n\r\nMarriage stability term 96<br /><br />\r\n",
        "det-family",
        "res38.jpg",
        "Character Compatibility (1) - 2 / 2<br/><br/><br/><br/><br/>\r\n",
        "char-general",
        "char-code33",
        "res17.jpg",
        "Energy Compatibility (2) - 1 / 1",
        "energy-code22",
        "res33.jpg",
        "Compatibility = 100%<br />",
        "det-carnal",
        "det-closing",
    };
    // The closing text has no heading of its own.
    QVERIFY(!html.contains(QLatin1String("\"></font></h2>")));
    int at = 0;
    for (const QString &piece : order) {
        const int found = html.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
}

void tst_Compatibility::layoutSections_data()
{
    QTest::addColumn<Ints>("types");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("empty list") << Ints {} << QStringList() << QStringList();
    QTest::newRow("unknown types") << Ints {12, 99} << QStringList() << QStringList();
    QTest::newRow("no header, no summary")
        << Ints {1} << QStringList {"Life path compatibility = 90%</td></tr></table>", "lp-pair15"}
        << QStringList {"det-intro", "<table class=maindoc width=\"500\""};
    QTest::newRow("repeated type")
        << Ints {3, 42, 3} << QStringList {"name-pair38", "name-pair38"} << QStringList();
    QTest::newRow("detailed birthday and final")
        << Ints {7, 10} << QStringList {"det-pair16", "det-closing"}
        << QStringList {"Birthday compatibility", "sum-code7"};
    QTest::newRow("psycho-matrix listing")
        << Ints {4}
        << QStringList {"Psycho-matrix </font>", "Character (1) - 2 / 2</td></tr></table>"}
        << QStringList {"img"};
    QTest::newRow("character general and code")
        << Ints {8, 9}
        << QStringList {"Character Compatibility (1) - 2 / 2", "char-general", "char-code33",
                        "Energy Compatibility (2) - 1 / 1", "energy-code22"}
        << QStringList();
    QTest::newRow("family and carnal") << Ints {5, 6}
                                       << QStringList {"Family Compatibility = 100%", "det-family",
                                                       "Compatibility = 100%", "det-carnal"}
                                       << QStringList();
}

void tst_Compatibility::layoutSections()
{
    QFETCH(Ints, types);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    QList<reportSetting> layouts {layout(RKLoveCompatibility, types)};
    CCompNumerology comp;
    compare(comp, person, partner, &layouts, 1);
    if (present.isEmpty()) {
        QCOMPARE(comp.reportHtml, emptyDocument(QStringLiteral("Numerology Compatibility Report")));
        return;
    }
    int at = 0;
    for (const QString &piece : present) {
        const int found = comp.reportHtml.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
    for (const QString &piece : absent)
        QVERIFY2(!comp.reportHtml.contains(piece), qPrintable(piece));
}

void tst_Compatibility::layoutPictures_data()
{
    QTest::addColumn<QString>("hideAll");
    QTest::addColumn<bool>("defaultStyle");
    QTest::addColumn<QString>("hideImage");
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown") << QString() << true << QString() << true;
    QTest::newRow("layout hides") << "TRUE" << true << QString() << false;
    QTest::newRow("lower-case flag") << "true" << false << QString() << true;
    QTest::newRow("default look ignores hide-image") << QString() << true << "TRUE" << true;
    QTest::newRow("own style hides") << QString() << false << "TRUE" << false;
}

void tst_Compatibility::layoutPictures()
{
    QFETCH(QString, hideAll);
    QFETCH(bool, defaultStyle);
    QFETCH(QString, hideImage);
    QFETCH(bool, shown);

    reportSetting setting = layout(RKLoveCompatibility, {8, 4}, defaultStyle);
    if (!hideAll.isNull())
        setting.flags.insert(QStringLiteral("RTLoveCompatibility-hide-images"), hideAll);
    if (!hideImage.isNull())
        setting.items[RKLoveCompatibility][0].options.insert(QStringLiteral("hide-image"),
                                                             hideImage);
    QList<reportSetting> layouts {setting};
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    CCompNumerology comp;
    compare(comp, person, partner, &layouts, 1);
    // The Character section of a layout shows the cell's own picture.
    QCOMPARE(comp.reportHtml.contains(QLatin1String("res16.jpg")), shown);
    QCOMPARE(occurrences(comp.reportHtml, QLatin1String("<img")), shown ? 1 : 0);
}

void tst_Compatibility::layoutHeaderAndCustomText()
{
    Side person(QStringLiteral("ANN"), 1, QDate(1987, 3, 15), 3);
    Side partner(QStringLiteral("BOB"), 5, QDate(1987, 3, 28), 8);
    QList<reportSetting> layouts {layout(RKLoveCompatibility, {0, 11}),
                                  layout(RKLoveCompatibility, {0, 11}, false)};
    repItem &header = layouts[1].items[RKLoveCompatibility][0];
    header.contentColor = QColor(0x11, 0x22, 0x33);
    header.useStdText[0] = false;
    header.texts[0] = customHtml(QStringLiteral("our introduction"));
    repItem &custom = layouts[1].items[RKLoveCompatibility][1];
    custom.useStdText[0] = false;
    custom.texts[0] = customHtml(QStringLiteral("our words"));

    CCompNumerology comp;
    compare(comp, person, partner, &layouts, 1);
    QVERIFY(comp.reportHtml.contains(
        QLatin1String("color:#000000;\">Numerology Compatibility Report</font></h2>")));
    QVERIFY(comp.reportHtml.indexOf(QLatin1String("<table class=maindoc width=\"500\""))
            < comp.reportHtml.indexOf(QLatin1String("det-intro")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("Custom Text </font>")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("Your custom text here")));

    compare(comp, person, partner, &layouts, 2);
    QVERIFY(comp.reportHtml.contains(QLatin1String("My title 0</font></h2>")));
    QVERIFY(comp.reportHtml.contains(
        QLatin1String("<p><font style=\"font-size: 16px; face:'Arial'; color:#112233;\">"
                      "<table class=maindoc width=\"500\"")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("our introduction")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("det-intro")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("My title 11 </font>")));
    QVERIFY(comp.reportHtml.contains(QLatin1String("our words")));
    QVERIFY(!comp.reportHtml.contains(QLatin1String("Your custom text here")));
}

QTEST_GUILESS_MAIN(tst_Compatibility)
#include "tst_compatibility.moc"
