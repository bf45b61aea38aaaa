#include "engine/globsettings.h"
#include "engine/numerology.h"

#include "furtherfixture.h"

#include <QtTest>

using namespace FurtherFixture;

namespace {

const QDate date(1987, 11, 29);

} // namespace

class tst_ExpressChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadMarkerDatabase()); }
    void init() { resetGlobSettings(); }

    void numbers_data();
    void numbers();
    void letters();
    void report();
    void totalSections_data();
    void totalSections();
};

void tst_ExpressChart::numbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("reduceWords");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("nameNumber");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("nameText");
    QTest::addColumn<QString>("nameLine");

    // F6 I9 R9 A1 = 25.
    QTest::newRow("byte 3 clear") << "Fira" << false << false << 7 << 25 << "7/25"
                                  << "=7/25=25=7";
    QTest::newRow("byte 3 set") << "Fira" << true << false << 7 << 7 << "7"
                                << "=7/25=7";
    // 29 and 16.
    QTest::newRow("two words, byte 3 clear") << "FIRAD ZZ" << false << false << 9 << 45 << "9/45"
                                             << "=11/29+7/16=45=9";
    QTest::newRow("two words, byte 3 set") << "FIRAD ZZ" << true << false << 9 << 18 << "9/18"
                                           << "=11/29+7/16=18=9";
    QTest::newRow("master number kept") << "FIRAD" << true << false << 11 << 11 << "11"
                                        << "=11/29=11";
    QTest::newRow("44 reduced further") << "ZZZZZD" << false << false << 8 << 44 << "8/44"
                                        << "=8/44=44=8";
    // Chaldean F8 I1 R2 A1 = 12.
    QTest::newRow("chaldean") << "FIRA" << false << true << 3 << 12 << "3/12"
                              << "=3/12=12=3";
}

void tst_ExpressChart::numbers()
{
    QFETCH(QString, name);
    QFETCH(bool, reduceWords);
    QFETCH(bool, chaldean);
    m_GlobSettings[GSReduceEveryWord] = reduceWords;

    CNumerology engine;
    QVERIFY(engine.calculateAn(name, date, false, chaldean));
    QCOMPARE(engine.m_calcMode, chaldean ? 1 : 0);
    QCOMPARE(engine.m_fullName, name.toUpper());
    QTEST(engine.m_expression, "nameNumber");
    QTEST(engine.m_compoundNumber, "total");
    QTEST(engine.m_results[CNumerology::RExpression], "nameText");
    QTEST(engine.m_nameLines[CNumerology::NLExpression], "nameLine");
    // 29 November 1987: 11 + 11 + 7 = 29, reduced to 11.
    QCOMPARE(engine.m_lifePath, 11);
    QCOMPARE(engine.m_results[CNumerology::RLifePath], QString("11+11+7=29=11"));
    QCOMPARE(engine.m_birthDate, date);
}

void tst_ExpressChart::letters()
{
    CNumerology engine;
    engine.calculateAn(QStringLiteral("Fira"), date, false, false);
    QCOMPARE(engine.m_results[CNumerology::RHeartDesire], QString("1"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLHeartDesire], QString("=1/10=1"));
    QCOMPARE(engine.m_results[CNumerology::RPersonality], QString("6"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLPersonality], QString("=6/15=6"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLFullVowels], QString(" 9 1"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLFullConsonants], QString("6 9 "));
    QCOMPARE(engine.m_results[CNumerology::RKarmicLessons], QString("2, 3, 4, 5, 7, 8"));

    // The vowel and consonant totals always add reduced words.
    m_GlobSettings[GSReduceEveryWord] = 0;
    engine.calculateAn(QStringLiteral("FIRAD ZZ"), date, false, false);
    QCOMPARE(engine.m_results[CNumerology::RPersonality], QString("8"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLPersonality], QString("=1/19+7/16=8"));

    engine.calculateAn(QStringLiteral("A BCD EFG HI"), date, false, false);
    QCOMPARE(engine.m_results[CNumerology::RKarmicLessons], QString("-"));
}

void tst_ExpressChart::report()
{
    m_GlobSettings[GSReduceEveryWord] = 0;
    CNumerology engine;
    engine.calculateAn(QStringLiteral("Fira"), date, false, false);
    const QString &html = engine.reportHtml;
    const QStringList order {
        "<title>Lumaro Numerology Report</title>",
        "<table class=maindoc border=\"0\" width=100%><tr><td>",
        "color:#000000;\">Express Numerology chart for</font></h2>",
        "color:#000000;\">FIRA, Nov 29 1987</font></h2>",
        ">Date Number 11+11+7=29=11<br />Name Number 7/25</p>",
        "   ><br /></p>",
        "Your name number: 7/25</font></h2>",
        "interp-7</p><br /></p>",
        "People with double-digit name number 25</font></h2>",
        "double-25</p><br /></p>",
        "Your date number: 11/29</font></h2>",
        "interp-11</p><br /></p>",
        "</td></tr></table>\r\n</body></html>\r\n",
    };
    int at = 0;
    for (const QString &piece : order) {
        const int found = html.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
    QCOMPARE(occurrences(html, QLatin1String("<table")), 1);

    // Without a date nothing stands in for one.
    engine.calculateAn(QStringLiteral("Fira"), QDate(), false, false);
    QVERIFY(html.contains(QLatin1String(";\">FIRA</font></h2>")));
    QVERIFY(html.contains(QLatin1String("   >Name Number 7/25</p>")));
    QVERIFY(!html.contains(QLatin1String("Date Number")));
    QVERIFY(!html.contains(QLatin1String("Your date number")));
    QCOMPARE(occurrences(html, QLatin1String("interp-")), 1);
    QCOMPARE(engine.m_results[CNumerology::RLifePath], QString());
}

void tst_ExpressChart::totalSections_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("reduceWords");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("text");

    QTest::newRow("total below 10") << "Fira" << true << false << QString() << QString();
    QTest::newRow("total above 99") << "ZZZZZZZZZZZZZ" << false << false << QString() << QString();
    QTest::newRow("double-digit 18")
        << "FIRAD ZZ" << true << false << "People with double-digit name number 18"
        << "double-18";
    QTest::newRow("double-digit without text")
        << "FIRAD ZZ" << false << false << "People with double-digit name number 45" << QString();
    QTest::newRow("compound") << "FIRA" << false << true << "Compound Number 12"
                              << "compound-12";
    // Chaldean F8 I1 R2 A1 A1 = 13: the database has no text for it.
    QTest::newRow("compound without text") << "FIRAA" << false << true << QString() << QString();
    QTest::newRow("compound below 10") << "FIRA" << true << true << QString() << QString();
}

void tst_ExpressChart::totalSections()
{
    QFETCH(QString, name);
    QFETCH(bool, reduceWords);
    QFETCH(bool, chaldean);
    QFETCH(QString, heading);
    QFETCH(QString, text);
    m_GlobSettings[GSReduceEveryWord] = reduceWords;

    CNumerology engine;
    QVERIFY(engine.calculateAn(name, date, false, chaldean));
    const QString &html = engine.reportHtml;
    if (heading.isEmpty()) {
        QVERIFY(!html.contains(QLatin1String("Compound Number")));
        QVERIFY(!html.contains(QLatin1String("double-digit")));
    } else {
        QVERIFY(html.contains(heading + QLatin1String("</font></h2>")));
    }
    if (!text.isEmpty())
        QVERIFY(html.contains(text + QLatin1String("</p><br /></p>")));
    // The rest of the report stays.
    QVERIFY(html.contains(QLatin1String("Your date number: 11/29")));
}

QTEST_GUILESS_MAIN(tst_ExpressChart)
#include "tst_expresschart.moc"
