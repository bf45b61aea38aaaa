#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "tests/engine/readingfixtures.h"

#include <QtTest>

using namespace ReadingTest;

namespace {

const QString lineEnd = QStringLiteral("<br />\r\n");

// Computes the numbers of one person without writing a reading.
void compute(CNumerology &n, const QString &fullName, const QString &shortName, const QDate &birth,
             const QDate &forecast, bool chaldean = false)
{
    QVERIFY(n.calculate(fullName, shortName, QVector<int>(), QVector<int>(), chaldean, birth,
                        forecast, nullptr, 0, 0, true));
}

// The cells of the rows of the table whose heading cell holds caption.
QList<QStringList> tableRows(const QString &html, const QString &caption)
{
    QList<QStringList> rows;
    const int start = html.indexOf(QLatin1String("<b>") + caption + QLatin1String("</b>"));
    if (start < 0)
        return rows;
    const int end
        = html.indexOf(QLatin1String("<tr><td comment=\"st_ttd\"><p></p></td></tr>"), start);
    const QString table = html.mid(start, end - start);
    static const QRegularExpression row(QStringLiteral("<tr style=[^>]*>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    auto rowIt = row.globalMatch(table);
    while (rowIt.hasNext()) {
        QStringList cells;
        auto cellIt = cell.globalMatch(rowIt.next().captured(1));
        while (cellIt.hasNext())
            cells << cellIt.next().captured(1);
        rows << cells;
    }
    return rows;
}

QStringList plainCells(const QStringList &cells)
{
    QStringList texts;
    for (const QString &c : cells)
        texts << plainText(c);
    return texts;
}

} // namespace

class tst_NumerologyTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetGlobSettings(); }

    void summaryLines_data();
    void summaryLines();
    void masterLetters_data();
    void masterLetters();
    void columnSpans();
    void partsByType_data();
    void partsByType();
    void calendarAcrossYearEnd();
    void cycleYears();
    void masterEmphasisStaysInNameParts();
};

void tst_NumerologyTable::summaryLines_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<int>>("debts");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("compound");
    QTest::addColumn<QString>("expected");

    const QList<int> none;
    QTest::newRow("no types") << none << QList<int>({13, 14, 16, 19}) << true << 15 << QString();
    QTest::newRow("life path only")
        << QList<int> {1} << none << false << 15
        << QString("Life path number r0" + lineEnd + "Life Path periods r21" + lineEnd
                   + "Time span of Life Path periods r22" + lineEnd);
    QTest::newRow("karmic debts none met") << QList<int> {22} << none << false << 15 << QString();
    QTest::newRow("karmic debts 14 and 19 by the single debt type")
        << QList<int> {23} << QList<int>({19, 14}) << false << 15
        << QString("Karmic Debts 14, 19" + lineEnd);
    QTest::newRow("compound needs the chaldean flag")
        << QList<int> {25} << none << false << 45 << QString();
    QTest::newRow("compound below 10") << QList<int> {25} << none << true << 9 << QString();
    QTest::newRow("compound 10") << QList<int> {25} << none << true << 10
                                 << QString("Compound number 10" + lineEnd);
    QTest::newRow("pinnacles") << QList<int> {14} << none << false << 15
                               << QString("Age span periods for challenges and pinnacles r20"
                                          + lineEnd + "Pinnacle numbers: 2/11, 4, 6, 8" + lineEnd
                                          + "Life Path periods r21" + lineEnd
                                          + "Time span of Life Path periods r22" + lineEnd);
    QTest::newRow("challenges") << QList<int> {15} << none << false << 15
                                << QString("Age span periods for challenges and pinnacles r20"
                                           + lineEnd + "Challenge numbers: 0, 2, 2, 4" + lineEnd
                                           + "Life Path periods r21" + lineEnd
                                           + "Time span of Life Path periods r22" + lineEnd);

    QStringList all = {"Life path number r0",
                       "Birthday r1",
                       "Karmic Debts 13, 16",
                       "Expression number r2",
                       "Minor Expression number r3",
                       "Heart Desire number r4",
                       "Minor Heart Desire number r5",
                       "Compound number 150",
                       "Personality number r6",
                       "Minor personality number r7",
                       "Maturity number r8",
                       "Rational Thought number r9",
                       "Karmic Lessons numbers r11",
                       "Balance number r16",
                       "Hidden Passion number r18",
                       "Subconscious Confidence number r19",
                       "Age span periods for challenges and pinnacles r20",
                       "Challenge numbers: 0, 2, 2, 4",
                       "Pinnacle numbers: 2/11, 4, 6, 8",
                       "Life Path periods r21",
                       "Time span of Life Path periods r22",
                       "Life Path - Expression Bridge number r14",
                       "Heart's Desire - Personality Bridge number r15"};
    QList<int> reversed;
    for (int t = 36; t >= 0; --t)
        reversed << t;
    QTest::newRow("every type, any order")
        << reversed << QList<int>({16, 13}) << true << 150 << QString(all.join(lineEnd) + lineEnd);
}

void tst_NumerologyTable::summaryLines()
{
    QFETCH(QList<int>, types);
    QFETCH(QList<int>, debts);
    QFETCH(bool, chaldean);
    QFETCH(int, compound);
    QFETCH(QString, expected);

    CNumerology n;
    for (int i = 0; i < CNumerology::ResultCount; ++i)
        n.m_results[i] = QStringLiteral("r%1").arg(i);
    n.m_compoundNumber = compound;
    const int challenges[4] = {0, 2, 2, 4};
    std::copy(challenges, challenges + 4, n.m_challenges);
    int counts[128] = {};
    for (int debt : debts)
        counts[debt] = 1;
    const int pinnacles[4] = {11, 4, 6, 8};
    const int digits[4] = {2, 4, 6, 8};

    QCOMPARE(n.getCalculateHeaderC(counts, pinnacles, digits, chaldean, types), expected);
}

void tst_NumerologyTable::masterLetters_data()
{
    QTest::addColumn<bool>("reduceMasters");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<QStringList>("vowels");
    QTest::addColumn<QStringList>("consonants");

    // KEVIN: K and V are consonants, E and I vowels.
    QTest::newRow("masters shown") << false << false << QStringList {"11", "5", "22", "9", " "}
                                   << QStringList {"11", " ", "22", " ", "5"};
    QTest::newRow("masters reduced") << true << false << QStringList {" ", "5", " ", "9", " "}
                                     << QStringList {"2", " ", "4", " ", "5"};
    QTest::newRow("chaldean values") << false << true << QStringList {" ", "5", " ", "1", " "}
                                     << QStringList {"2", " ", "6", " ", "5"};
}

void tst_NumerologyTable::masterLetters()
{
    QFETCH(bool, reduceMasters);
    QFETCH(bool, chaldean);
    QFETCH(QStringList, vowels);
    QFETCH(QStringList, consonants);

    m_GlobSettings[GSReduceMasterLetters] = reduceMasters;
    CNumerology n;
    compute(n, QStringLiteral("KEVIN"), QStringLiteral("KEVIN"), QDate(1980, 3, 5),
            QDate(2026, 3, 15), chaldean);
    n.reportHtml.clear();
    n.calculateGenTable({3});

    const QList<QStringList> rows = tableRows(n.reportHtml, QStringLiteral("Full name"));
    QCOMPARE(rows.size(), 3);
    // Five letter cells and the breakdown.
    QCOMPARE(plainCells(rows[0].mid(0, 5)), vowels);
    QCOMPARE(plainCells(rows[1].mid(0, 5)), QStringList({"K", "E", "V", "I", "N"}));
    QCOMPARE(plainCells(rows[2].mid(0, 5)), consonants);
    for (const QStringList &row : rows) {
        for (int i = 0; i < 5; ++i)
            QCOMPARE(row[i].startsWith(QLatin1String("<b>")), i == 0 || i == 2);
    }
}

void tst_NumerologyTable::columnSpans()
{
    CNumerology n;
    compute(n, QStringLiteral("ANNA SMIT"), QStringLiteral("ANN"), QDate(1980, 3, 5),
            QDate(2026, 3, 15));
    n.reportHtml = QStringLiteral("before __fullname__ ");
    n.calculateGenTable({});
    // The column counts are filled in also when no name table is written.
    QCOMPARE(n.reportHtml, QStringLiteral("before 10 "));

    n.reportHtml.clear();
    n.calculateGenTable({5});
    QVERIFY(n.reportHtml.contains(QLatin1String("<td colspan=\"10\"><b>Full name</b>")));
    QVERIFY(n.reportHtml.contains(QLatin1String("<td colspan=\"4\"><b>Short name</b>")));
}

void tst_NumerologyTable::partsByType_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QStringList>("parts");

    const QString names = QStringLiteral("Full name");
    const QString planes = QStringLiteral("Planes of expression");
    const QString calendar = QStringLiteral("Personal numbers calendar");
    const QString cycles = QStringLiteral("Essence and Transits Cycles");
    QTest::newRow("none") << QList<int> {1, 2, 8, 35} << QStringList();
    QTest::newRow("personality") << QList<int> {7} << QStringList {names};
    QTest::newRow("intuitive plane") << QList<int> {30} << QStringList {planes};
    QTest::newRow("personal day") << QList<int> {18} << QStringList {calendar};
    QTest::newRow("essence") << QList<int> {20} << QStringList {cycles};
    QTest::newRow("all, in their own order")
        << QList<int> {19, 16, 26, 4} << QStringList {names, planes, calendar, cycles};
}

void tst_NumerologyTable::partsByType()
{
    QFETCH(QList<int>, types);
    QFETCH(QStringList, parts);

    CNumerology n;
    compute(n, QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), QDate(1980, 3, 5),
            QDate(2026, 3, 15));
    n.reportHtml.clear();
    n.calculateGenTable(types);

    static const QRegularExpression caption(
        QStringLiteral("<b>(Full name|Planes of expression|Personal numbers calendar|Essence and "
                       "Transits Cycles)</b>"));
    QStringList found;
    auto it = caption.globalMatch(n.reportHtml);
    while (it.hasNext())
        found << it.next().captured(1);
    QCOMPARE(found, parts);
}

void tst_NumerologyTable::calendarAcrossYearEnd()
{
    // Day 5 and month 3 give the birth-date digit 8.
    CNumerology n;
    compute(n, QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), QDate(1980, 3, 5),
            QDate(2026, 11, 30));
    n.reportHtml.clear();
    n.calculateGenTable({17});

    const QList<QStringList> rows
        = tableRows(n.reportHtml, QStringLiteral("Personal numbers calendar"));
    QCOMPARE(rows.size(), 3);
    for (const QStringList &row : rows)
        QCOMPARE(row.size(), 13);
    QCOMPARE(rows[0].mid(0, 3), QStringList({"<b>Years</b>", "2026<br/>(9)", "2027<br/>(1)"}));
    // Months after December take the personal year of the next year.
    QCOMPARE(rows[1].mid(1, 4), QStringList({"Nov\n(2)", "Dec\n(3)", "Jan\n(2)", "Feb\n(3)"}));
    QCOMPARE(rows[2].mid(1, 3), QStringList({"30\n(5)", "1\n(4)", "2\n(5)"}));
}

void tst_NumerologyTable::cycleYears()
{
    CNumerology n;
    compute(n, QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), QDate(1995, 6, 1),
            QDate(2026, 3, 15));
    n.reportHtml.clear();
    n.calculateGenTable({19});

    const QList<QStringList> rows
        = tableRows(n.reportHtml, QStringLiteral("Essence and Transits Cycles"));
    QCOMPARE(rows.size(), 28); // four blocks of seven rows
    QCOMPARE(plainCells(rows[1].mid(0, 8)),
             QStringList({"Year", "95", "96", "97", "98", "99", "0", "1"}));
    QCOMPARE(plainCells(rows[21].mid(0, 2)), QStringList({"Age", "75"}));
    QCOMPARE(rows[25].last(), QString(n.m_transitSpiritual.at(99)));
    QCOMPARE(rows[27].last(), QString::number(n.m_essence[128 + 99]));
}

void tst_NumerologyTable::masterEmphasisStaysInNameParts()
{
    // The expression breakdown holds 11; the calendar's year 2011 and the
    // cycle years 11 are no master numbers.
    CNumerology n;
    compute(n, QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), QDate(1911, 3, 5),
            QDate(2011, 3, 15));
    n.reportHtml.clear();
    n.calculateGenTable(everyNumerologyType());

    const QList<QStringList> names = tableRows(n.reportHtml, QStringLiteral("Full name"));
    QCOMPARE(names[1].last(), QStringLiteral("=<b>11</b>+4/13+6/24=21=3"));
    QVERIFY(n.reportHtml.contains(QLatin1String(">2011<br/>(")));
    const QList<QStringList> cycles
        = tableRows(n.reportHtml, QStringLiteral("Essence and Transits Cycles"));
    QCOMPARE(cycles[1][1], QStringLiteral("11"));
}

QTEST_GUILESS_MAIN(tst_NumerologyTable)

#include "tst_numerologytable.moc"
