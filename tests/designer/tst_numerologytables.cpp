#include "designer/style.h"
#include "designerfixture.h"
#include "engine/globsettings.h"
#include "textrecorder.h"

#include <QPainter>
#include <QtTest>

using namespace DesignerTest;

namespace {

CREPageItem::palitra palette(const QColor &fill = QColor(255, 255, 255, 222))
{
    CREPageItem::palitra p;
    p.colors[0] = QColor(180, 180, 180);
    p.colors[3] = fill;
    p.colors[4] = fill;
    return p;
}

// Text runs of one table item drawn in the output pass at the origin.
TextRuns tableRuns(calcNumContainer *container, int type, const QString &key)
{
    CREPageItem *frame = makeObject(container, type, 0, 0, 650, 100);
    frame->inner->key = key;
    CStyle style;
    CDrawMode mode;
    mode.outputMode = true;
    TextRecorder recorder;
    {
        QPainter p(&recorder);
        frame->draw(&p, &mode, &style);
    }
    delete frame;
    return recorder.recorded;
}

// Runs whose baseline lies in table row n (rows are 16 pixels from y = 3).
QStringList rowTexts(const TextRuns &runs, int n)
{
    QStringList out;
    for (const TextRuns::Run &r : runs.runs) {
        if (r.position.y() > 3 + 16 * n && r.position.y() <= 3 + 16 * (n + 1))
            out << r.text;
    }
    return out;
}

} // namespace

class TestNumerologyTables : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { resetGlobSettings(); }
    void numRun_data();
    void numRun();
    void masterDigits_data();
    void masterDigits();
    void totalsDrawnInHighlightColour();
    void infoTablesShowThePersonsNumbers_data();
    void infoTablesShowThePersonsNumbers();
    void infoTableWithMismatchedListsOnlyFills();
    void psychoMatrixCells();
    void planesHeader();
    void nameTableRowsAndTotals();
    void nameTableStacksMasterLetters_data();
    void nameTableStacksMasterLetters();
    void calendar_data();
    void calendar();
};

void TestNumerologyTables::numRun_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << 0 << "-";
    QTest::newRow("three") << 3 << "111";
    QTest::newRow("one") << 1 << "1";
    QTest::newRow("negative") << -2 << "";
}

void TestNumerologyTables::numRun()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(CREPageItem::getNumRun(count, QStringLiteral("1")), expected);
}

void TestNumerologyTables::masterDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString on = QStringLiteral("<font color=\"#D05030\">");
    const QString off = QStringLiteral("</font>");
    QTest::newRow("33") << "33" << on + "33" + off;
    QTest::newRow("00") << "00" << on + "00" + off;
    QTest::newRow("22/4") << "22/4" << on + "22" + off + "/4";
    QTest::newRow("11 (2)") << "11 (2)" << on + "11" + off + " (2)";
    QTest::newRow("4/22") << "4/22"
                          << "4/" + on + "22" + off;
    QTest::newRow("133") << "133"
                         << "133";
    QTest::newRow("111") << "111"
                         << "111";
    QTest::newRow("2211") << "2211"
                          << "2211";
    QTest::newRow("3") << "3"
                       << "3";
    QTest::newRow("12") << "12"
                        << "12";
    QTest::newRow("empty") << ""
                           << "";
}

void TestNumerologyTables::masterDigits()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(CREPageItem::masterDigitsHtml(text), expected);
}

void TestNumerologyTables::totalsDrawnInHighlightColour()
{
    TextRecorder recorder;
    {
        QPainter p(&recorder);
        p.setPen(Qt::green); // the item's colour does not reach the totals
        CREPageItem::drawFTextS(p, 10, 20, QStringLiteral("33/6"));
    }
    const TextRuns &runs = recorder.recorded;
    QCOMPARE(runs.find(QStringLiteral("33")).color, QColor(0xD0, 0x50, 0x30));
    QCOMPARE(runs.find(QStringLiteral("/6")).color, QColor(0, 0, 0));
    QCOMPARE(runs.runs.first().position.x(), 10.0);
}

void TestNumerologyTables::infoTablesShowThePersonsNumbers_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<int>>("results"); // result text per row; -1 master form rows
    QTest::newRow("Additional Features")
        << "Additional Features" << QStringList {"Maturity", "Rational Thought", "Karmic Lessons",
                                                 "Balance",  "Hidden Passion",   "Subcons.Confid."}
        << QList<int> {8, 9, 11, 16, 18, 19};
    QTest::newRow("Life Cycles") << "Life Cycles"
                                 << QStringList {"Age span",      "Challenges", "Pinnacles",
                                                 "Personal Year", "LP Periods", "LP Age Span"}
                                 << QList<int> {20, 12, 13, 17, 21, 22};
    QTest::newRow("Bridges") << "Bridges" << QStringList {"Life path - Expr.", "Heart D. - Pers."}
                             << QList<int> {14, 15};
    QTest::newRow("Main Features")
        << "Main Features" << QStringList {"Life Path",        "Birthday",        "Expression (M)",
                                           "Heart Desire (M)", "Personality (M)", "Karmic Debts"}
        << QList<int> {0, 1, 2, 4, 6, 10};
}

void TestNumerologyTables::infoTablesShowThePersonsNumbers()
{
    QFETCH(QString, key);
    QFETCH(QStringList, labels);
    QFETCH(QList<int>, results);
    Person person;
    const QString *r = person.person.m_results;
    QVERIFY(!r[0].isEmpty());
    const TextRuns runs = tableRuns(&person.container, CREPageItem::InfoTable, key);
    for (int n = 0; n < labels.size(); ++n) {
        QString value = r[results.at(n)];
        if (key == QLatin1String("Main Features") && n >= 2 && n <= 4)
            value += QLatin1String(" (") + r[results.at(n) + 1] + QLatin1Char(')');
        if (results.at(n) == 11)
            value.remove(QLatin1Char(' '));
        const QStringList row = rowTexts(runs, n);
        QVERIFY2(!row.isEmpty() && row.first() == labels.at(n), qPrintable(row.join('|')));
        // A value may be drawn in several runs (spaces, brackets); joined it is the value.
        QCOMPARE(row.mid(1).join(QString()).remove(QLatin1Char(' ')),
                 QString(value).remove(QLatin1Char(' ')));
        // Values start in the second column.
        for (const TextRuns::Run &run : runs.runs) {
            if (run.text == labels.at(n))
                QCOMPARE(run.position.x(), 4.0);
        }
    }
}

void TestNumerologyTables::infoTableWithMismatchedListsOnlyFills()
{
    CREPageItem item(nullptr);
    QImage image = canvas(300, 200);
    TextRecorder recorder;
    for (QPaintDevice *device :
         {static_cast<QPaintDevice *>(&image), static_cast<QPaintDevice *>(&recorder)}) {
        QPainter p(device);
        p.translate(0, 10);
        item.paintInfo(&p, {QStringLiteral("a"), QStringLiteral("b")}, {QStringLiteral("1")},
                       palette(QColor(0, 0, 255)));
    }
    QVERIFY(recorder.recorded.runs.isEmpty());
    // Two rows: 199 x 38 from one pixel above the origin.
    QCOMPARE(countColor(image, QRect(0, 9, 199, 38), Qt::blue, 0), 199 * 38);
    QCOMPARE(countColor(image, QRect(0, 47, 300, 10), Qt::blue, 0), 0);
}

void TestNumerologyTables::psychoMatrixCells()
{
    Person person;
    const int *count = person.personMatrix.digitCount;
    const TextRuns runs
        = tableRuns(&person.container, CREPageItem::MatrixTable, QStringLiteral("Psychomatrix"));
    auto run = [&](int d) {
        return count[d] ? QString(count[d], QChar('0' + d)) : QStringLiteral("-");
    };
    const int *line = person.personMatrix.lineValue;
    QCOMPARE(rowTexts(runs, 0).join('|'),
             QStringList({"Character " + run(1), "Health " + run(4), "Luck " + run(7),
                          "Purposeful - " + QString::number(line[3])})
                 .join('|'));
    QCOMPARE(rowTexts(runs, 1).join('|'),
             QStringList({"Energy " + run(2), "Intuition " + run(5), "Duty " + run(8),
                          "Family formation - " + QString::number(line[4])})
                 .join('|'));
    QCOMPARE(rowTexts(runs, 2).join('|'),
             QStringList({"Interest " + run(3), "Labour " + run(6), "Memory " + run(9),
                          "Stability - " + QString::number(line[5])})
                 .join('|'));
    QCOMPARE(rowTexts(runs, 3).join('|'),
             QStringList({"Sexual life - " + QString::number(line[7]),
                          "Self appraisal - " + QString::number(line[0]),
                          "Finance - " + QString::number(line[1]),
                          "Talent - " + QString::number(line[2]),
                          "Spirituality - " + QString::number(line[6])})
                 .join('|'));
    // At least one digit is missing from any date's matrix and shows "-".
    QVERIFY(rowTexts(runs, 0).join(QString()).contains('-')
            || rowTexts(runs, 1).join(QString()).contains('-')
            || rowTexts(runs, 2).join(QString()).contains('-'));
}

void TestNumerologyTables::planesHeader()
{
    CREPageItem item(nullptr);
    QStringList planes;
    for (int i = 0; i < 20; ++i)
        planes << QStringLiteral("p%1").arg(i);
    TextRecorder recorder;
    {
        QPainter p(&recorder);
        item.paintExprInfo(&p, {QString(), "Creative", "Dual", "Grounded"}, planes, palette());
    }
    const TextRuns &runs = recorder.recorded;
    QCOMPARE(rowTexts(runs, 0),
             (QStringList {"Mental p15", "Physical p16", "Emotional p17", "Intuitive p18"}));
    QCOMPARE(rowTexts(runs, 1), (QStringList {"p0", "p1", "p2", "p3", "Creative p4"}));
    QCOMPARE(rowTexts(runs, 3), (QStringList {"p10", "p11", "p12", "p13", "Grounded p14"}));
    QVERIFY(!runs.texts().join(' ').contains("p19"));
    // Short plane lists (an uncalculated person) draw empty cells, no crash.
    TextRecorder empty;
    {
        QPainter p(&empty);
        item.paintExprInfo(&p, {QString(), "Creative", "Dual", "Grounded"}, {}, palette());
    }
    QCOMPARE(empty.recorded.texts().first(), QStringLiteral("Mental "));
}

void TestNumerologyTables::nameTableRowsAndTotals()
{
    Person person;
    const TextRuns runs
        = tableRuns(&person.container, CREPageItem::NameTable, QStringLiteral("Name"));
    const QString name = person.person.m_fullName;
    QVERIFY(!name.isEmpty());
    // Row 1 carries the full name, one letter per 9-pixel cell from x = 4.
    QString letters;
    for (const TextRuns::Run &r : runs.runs) {
        if (r.position.y() > 19 && r.position.y() <= 35 && r.position.x() < 4 + 9 * name.size()) {
            QCOMPARE(r.position.x(), 4.0 + 9 * letters.size());
            letters += r.text;
        }
    }
    QCOMPARE(letters.remove(' '), QString(name).remove(' '));
    // The whole-name total follows the name at 9 x length + 13.
    const QString total = person.person.m_nameLines[2];
    QVERIFY(!total.isEmpty());
    QString drawn;
    for (const TextRuns::Run &r : runs.runs) {
        if (r.position.y() > 19 && r.position.y() <= 40 && r.position.x() >= 9 * name.size() + 13)
            drawn += r.text;
    }
    QCOMPARE(drawn, total);
    // The separator under the full-name rows, in the table's grey.
    QImage image = canvas(700, 120);
    CREPageItem *frame = makeObject(&person.container, CREPageItem::NameTable, 0, 0, 650, 100);
    frame->inner->key = QStringLiteral("Name");
    frame->inner->backgroundColor = Qt::white;
    CStyle style;
    CDrawMode mode;
    mode.outputMode = true;
    {
        QPainter p(&image);
        frame->draw(&p, &mode, &style);
    }
    delete frame;
    QVERIFY(countColor(image, QRect(0, 51, 649, 1), QColor(180, 180, 180), 30) > 300);
}

void TestNumerologyTables::nameTableStacksMasterLetters_data()
{
    QTest::addColumn<int>("reduceMasters");
    QTest::addColumn<QStringList>("row0");
    // Row 0 "2 1 " over "kAVx": k and V carry digits, A and x do not.
    QTest::newRow("setting off: stacked") << 0 << QStringList {"1", "2", "9"};
    QTest::newRow("setting on: plain") << 1 << QStringList {"2", "1", "9"};
}

void TestNumerologyTables::nameTableStacksMasterLetters()
{
    QFETCH(int, reduceMasters);
    QFETCH(QStringList, row0);
    m_GlobSettings[GSReduceMasterLetters] = uchar(reduceMasters);
    CREPageItem item(nullptr);
    TextRecorder recorder;
    {
        QPainter p(&recorder);
        // A digit row longer than its letter row has no letter beyond it.
        item.paintNameInfo(&p, {"2 1 9", "kAVx", "    ", "", "", ""}, {"", "", "", "", "", ""},
                           palette());
    }
    // Qt keeps the first line of a stacked cell that overflows its 16-pixel row.
    QStringList row;
    for (const TextRuns::Run &r : recorder.recorded.runs) {
        if (r.position.y() < 19 && r.text != " ")
            row << r.text;
    }
    QCOMPARE(row, row0);
}

void TestNumerologyTables::calendar_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("birth");
    QTest::addColumn<QStringList>("years");
    QTest::addColumn<QStringList>("months");
    QTest::addColumn<QStringList>("days");
    // Birth number 3 from 31 January 2026: D(2026) = 1, so 2026 is year 4.
    // Month n of 2026: D(4 + D(n)); day d: D(its month's number + D(d)), so
    // 31 January gives D(5 + 4) and 1 February D(6 + 1).
    QTest::newRow("from 31 January")
        << QDate(2026, 1, 31) << 3 << QStringList {"2026 (4)", "2027 (5)", "2028 (6)"}
        << QStringList {"Jan (5)", "Feb (6)", "Mar (7)"}
        << QStringList {"31 (9)", "1 (7)", "2 (8)"};
    QTest::newRow("no birth number: labels only")
        << QDate(2026, 1, 31) << 0 << QStringList {} << QStringList {} << QStringList {};
}

void TestNumerologyTables::calendar()
{
    QFETCH(QDate, date);
    QFETCH(int, birth);
    QFETCH(QStringList, years);
    QFETCH(QStringList, months);
    QFETCH(QStringList, days);
    CREPageItem item(nullptr);
    TextRecorder recorder;
    {
        QPainter p(&recorder);
        item.paintCalendarInfo(&p, date, birth, {"Years ", "Months", "Days"}, palette());
    }
    const TextRuns &runs = recorder.recorded;
    auto cells = [&](int row) {
        QStringList out = rowTexts(runs, row);
        out.removeAll(row == 0 ? "Years " : row == 1 ? "Months" : "Days");
        return out;
    };
    QCOMPARE(cells(0).mid(0, 3), years);
    QCOMPARE(cells(1).mid(0, 3), months);
    QCOMPARE(cells(2).mid(0, 3), days);
    if (birth > 0) {
        QCOMPARE(cells(0).size(), 12);
        QCOMPARE(cells(1).at(11), QStringLiteral("Dec (7)"));
    }
    QVERIFY(runs.texts().contains("Years "));
    QVERIFY(runs.texts().contains("Days"));

    // An invalid date starts at today.
    TextRecorder today;
    {
        QPainter p(&today);
        item.paintCalendarInfo(&p, QDate(), 3, {"Years ", "Months", "Days"}, palette());
    }
    QVERIFY(today.recorded.texts().join('|').startsWith(QString::number(QDate::currentDate().year())
                                                        + " ("));
}

QTEST_MAIN(TestNumerologyTables)
#include "tst_numerologytables.moc"
