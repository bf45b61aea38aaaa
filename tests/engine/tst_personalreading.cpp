#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "tests/engine/readingfixtures.h"

#include <QtTest>

using namespace ReadingTest;

namespace {

QString lastMessage;

void recordMessage(QWidget *, const QString &, const QString &text)
{
    lastMessage = text;
}

struct Person
{
    QString fullName = QStringLiteral("ANN LEE SMITH");
    QString shortName = QStringLiteral("ANN");
    QDate birth = QDate(1980, 3, 5);
    QDate forecast = QDate(2026, 3, 15);
    bool chaldean = false;
};

// The fixed reading (or, with a layout number that selects one, the
// reading by layout) of a person.
QString reading(const Person &p, QList<reportSetting> *layouts = nullptr, int layoutNo = 0)
{
    CNumerology n;
    n.preloadRes(QStringLiteral("/res/"));
    if (!n.calculate(p.fullName, p.shortName, QVector<int>(), QVector<int>(), p.chaldean, p.birth,
                     p.forecast, layouts, layoutNo, 0, false))
        return QString();
    return n.reportHtml;
}

// Topics in order of appearance, each run of one topic counted once.
QStringList topics(const QString &html)
{
    QStringList found;
    for (const QString &m : markers(html)) {
        const QString topic = m.section(QLatin1Char('-'), 0, 0);
        if (found.isEmpty() || found.last() != topic)
            found << topic;
    }
    return found;
}

QString documentTitle(const QString &html)
{
    const int start = html.indexOf(QLatin1String("<title>")) + 7;
    return html.mid(start, html.indexOf(QLatin1String("</title>")) - start);
}

// The labels of the forecast rows ("11/2026 (2). ").
QStringList periodLabels(const QString &html)
{
    static const QRegularExpression label(QStringLiteral("(\\d+/\\d+(?:/\\d+)?) \\((\\d)\\)\\. "));
    QStringList found;
    auto it = label.globalMatch(html);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

} // namespace

class tst_PersonalReading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CNumerology::s_criticalMessage = recordMessage; }
    void init()
    {
        resetGlobSettings();
        lastMessage.clear();
        QVERIFY(loadMarkerDatabase());
    }

    void sectionOrder();
    void titles_data();
    void titles();
    void presenceRules_data();
    void presenceRules();
    void periodLabelsAcrossEnds_data();
    void periodLabelsAcrossEnds();
    void transitsByAge_data();
    void transitsByAge();
    void transitBlank();
    void bridgeDetails();
    void layoutNumber_data();
    void layoutNumber();
    void noReading();
    void unsetLifePath();
};

void tst_PersonalReading::sectionOrder()
{
    const QString html = reading(Person());

    QCOMPARE(headings(html),
             QStringList({"Numerology Chart for",
                          "ANN LEE SMITH (ANN), Mar 5 1980",
                          "Life Path Number 5+3+9/18=17=8",
                          "Birthday Number 5",
                          "Expression Number 3/21",
                          "Minor Expression Number 11",
                          "Heart Desire Number 11",
                          "Minor Heart Desire Number 1",
                          "Personality Number 1/10",
                          "Maturity Number 11",
                          "Rational Thought Number 7/16",
                          "Karmic Lessons Number 6, 7",
                          "Balance Number 5",
                          "Hidden Passion Number 5",
                          "Subconscious Confidence Number 7",
                          "Planes of Expression",
                          "Planes of Expression Mental Number 4/13, 5",
                          "Planes of Expression Physical Number 5, 3",
                          "Planes of Expression Emotional Number 3/12, 3",
                          "Pinnacles Numbers 8, 5, 4, 3",
                          "Age span for life cycles 0-28-37-46-E",
                          "Challenges Numbers 2, 4, 2, 6",
                          "Bridge Life Path - Expression 5",
                          "Bridge Heart's Desire - Personality 1",
                          "Personal Year Number: 9",
                          "Personal Month Number: 3",
                          "Personal Day Number: 9",
                          "Transits for age 46",
                          "Essence for age 46: 9/18"}));
    QCOMPARE(topics(html),
             QStringList({"INFO", "LP",    "BD",   "EX",    "MEX", "HD",  "MHD", "PE",   "MA", "RT",
                          "KL",   "BA",    "HP",   "SC",    "POE", "POM", "POP", "POEM", "PI", "CH",
                          "BLPE", "BLPED", "BHDP", "BHDPD", "PY",  "PD",  "TR",  "ES"}));
    // Lists, life cycles (a challenge c reads entry c + 1) and forecasts.
    QCOMPARE(markers(html, "KL"), QStringList({"KL-0", "KL-6", "KL-7"}));
    QCOMPARE(markers(html, "PI"), QStringList({"PI-0", "PI-8", "PI-5", "PI-4", "PI-3"}));
    QCOMPARE(markers(html, "CH"), QStringList({"CH-0", "CH-3", "CH-5", "CH-3", "CH-7"}));
    QCOMPARE(markers(html, "PY").size(), 1 + 9);
    QCOMPARE(markers(html, "PD").size(), 1 + 12 + 9);
    const QString text = plainText(html);
    QVERIFY(text.contains(QLatin1String("Life cycle 1 (0-28) PI-8")));
    QVERIFY(text.contains(QLatin1String("Life cycle 4 (46-E) CH-7")));
    QVERIFY(html.contains(QLatin1String("CH-7</p><br /></p>"))); // the last cycle only
    QVERIFY(!html.contains(QLatin1String("CH-3</p><br /></p>")));
    QCOMPARE(
        pictureFiles(html),
        QStringList({"res39.jpg", "res01.jpg", "res02.jpg", "res03.jpg", "res04.jpg", "res05.jpg",
                     "res07.jpg", "res08.jpg", "res09.jpg", "res10.jpg", "res11.jpg", "res12.jpg",
                     "res03.jpg", "res13.jpg", "res14.jpg", "res15.jpg", "res15.jpg"}));
    // The summary sets masters in bold; the headings keep them plain.
    QVERIFY(html.contains(QLatin1String("Heart Desire number <b>11</b><br />")));
    QVERIFY(html.endsWith(QLatin1String("</body></html>\r\n")));
}

void tst_PersonalReading::titles_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("firstHeading");

    QTest::newRow("pythagorean") << false << "Lumaro Numerology Report"
                                 << "Numerology Chart for";
    QTest::newRow("chaldean") << true << "Lumaro Chaldean Numerology Report"
                              << "Chaldean Numerology Chart for";
}

void tst_PersonalReading::titles()
{
    QFETCH(bool, chaldean);
    QFETCH(QString, title);
    QFETCH(QString, firstHeading);

    Person p;
    p.chaldean = chaldean;
    const QString html = reading(p);
    QCOMPARE(documentTitle(html), title);
    QCOMPARE(headings(html).value(0), firstHeading);
}

void tst_PersonalReading::presenceRules_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("shortName");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<bool>("reduceWords");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QStringList>("expected");

    const QDate march5(1980, 3, 5);
    QTest::newRow("minor personality equal")
        << "ANN LEE SMITH"
        << "ANN" << march5 << false << true << "PE" << QStringList({"PE-0", "PE-1"});
    // ANNIE: consonants 5 + 5 = 10 -> 1 as well; BOB: 2 + 2 = 4.
    QTest::newRow("minor personality differs")
        << "ANN LEE SMITH"
        << "BOB" << march5 << false << true << "PE" << QStringList({"PE-0", "PE-1", "PE-4"});
    QTest::newRow("compound only in chaldean")
        << "ANN LEE SMITH"
        << "ANN" << march5 << false << true << "CO" << QStringList();
    QTest::newRow("compound 10 to 99")
        << "ANN LEE SMITH"
        << "ANN" << march5 << true << true << "CO" << QStringList({"CO-0", "CO-23"});
    QTest::newRow("compound above 99") << "MAXIMILIAN ALEXANDER VON HOHENBERG"
                                       << "MAX" << march5 << true << false << "CO" << QStringList();
    QTest::newRow("no karmic debt") << "ANN LEE SMITH"
                                    << "ANN" << march5 << false << true << "KD" << QStringList();
    // Day 16 counts the debt 16; month 1 keeps the life path sum at 17.
    QTest::newRow("karmic debt 16 only")
        << "ANN LEE SMITH"
        << "ANN" << QDate(1980, 1, 16) << false << true << "KD" << QStringList({"KD-0", "KD-16"});
    QTest::newRow("no karmic lesson") << "ABCDEFGHI"
                                      << "ABE" << march5 << false << true << "KL" << QStringList();
    QTest::newRow("birthday not reduced")
        << "ANN LEE SMITH"
        << "ANN" << QDate(1985, 12, 29) << false << true << "BD" << QStringList({"BD-0", "BD-29"});
    // Day 3, month 3: the first challenge is 0 and reads entry 1.
    QTest::newRow("challenge 0") << "ANN LEE SMITH"
                                 << "ANN" << QDate(1980, 3, 3) << false << true << "CH"
                                 << QStringList({"CH-0", "CH-1", "CH-7", "CH-7", "CH-7"});
    QTest::newRow("plane 0") << "ANN LEE SMITH"
                             << "ANN" << march5 << false << true << "POI" << QStringList();
}

void tst_PersonalReading::presenceRules()
{
    QFETCH(QString, fullName);
    QFETCH(QString, shortName);
    QFETCH(QDate, birth);
    QFETCH(bool, chaldean);
    QFETCH(bool, reduceWords);
    QFETCH(QString, topic);
    QFETCH(QStringList, expected);

    m_GlobSettings[GSReduceEveryWord] = reduceWords;
    Person p;
    p.fullName = fullName;
    p.shortName = shortName;
    p.birth = birth;
    p.chaldean = chaldean;
    const QString html = reading(p);
    QVERIFY(!html.isEmpty());
    QCOMPARE(markers(html, topic), expected);

    // The heading goes with its section.
    const QStringList h = headings(html);
    auto hasHeading = [&h](const QString &start) {
        return std::any_of(h.begin(), h.end(),
                           [&](const QString &s) { return s.startsWith(start); });
    };
    if (topic == QLatin1String("CO"))
        QCOMPARE(hasHeading("Compound Number "), !expected.isEmpty());
    if (topic == QLatin1String("KD")) {
        QCOMPARE(hasHeading("Karmic Debts Numbers"), !expected.isEmpty());
        QCOMPARE(hasHeading("Karmic Debt Number: 16"), !expected.isEmpty());
    }
    if (topic == QLatin1String("KL"))
        QCOMPARE(hasHeading("Karmic Lessons Number"), !expected.isEmpty());
    if (topic == QLatin1String("PE"))
        QCOMPARE(hasHeading("Minor Personality Number"), expected.size() == 3);
    if (topic == QLatin1String("BD"))
        QVERIFY(hasHeading("Birthday Number 29"));
}

void tst_PersonalReading::periodLabelsAcrossEnds_data()
{
    QTest::addColumn<QDate>("forecast");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("november") << QDate(2026, 11, 15)
                              << QStringList({"11/2026", "12/2026", "1/2027", "2/2027"});
    QTest::newRow("28 february, no leap year")
        << QDate(2027, 2, 28) << QStringList({"2/28/2027", "3/1/2027", "3/2/2027"});
    QTest::newRow("new year's eve")
        << QDate(2026, 12, 31) << QStringList({"12/31/2026", "1/1/2027", "1/2/2027"});
}

void tst_PersonalReading::periodLabelsAcrossEnds()
{
    QFETCH(QDate, forecast);
    QFETCH(QStringList, labels);

    Person p;
    p.forecast = forecast;
    const QStringList found = periodLabels(reading(p));
    QCOMPARE(found.size(), 12 + 9);
    const QStringList &expectedStart = labels;
    const bool months = !labels.first().contains(QRegularExpression("/.*/"));
    const QStringList part = months ? found.mid(0, 12) : found.mid(12);
    QCOMPARE(part.mid(0, expectedStart.size()), expectedStart);
}

void tst_PersonalReading::transitsByAge_data()
{
    QTest::addColumn<QDate>("forecast");
    QTest::addColumn<bool>("shown");

    QTest::newRow("age 0 on the birthday") << QDate(1980, 3, 5) << true;
    QTest::newRow("age 99, the day before turning 100") << QDate(2080, 3, 4) << true;
    QTest::newRow("age 100") << QDate(2080, 3, 5) << false;
    QTest::newRow("before birth") << QDate(1980, 3, 4) << false;
}

void tst_PersonalReading::transitsByAge()
{
    QFETCH(QDate, forecast);
    QFETCH(bool, shown);

    Person p;
    p.forecast = forecast;
    const QString html = reading(p);
    const QStringList t = topics(html);
    QCOMPARE(t.contains("TR"), shown);
    QCOMPARE(t.contains("ES"), shown);
    QCOMPARE(t.last(), shown ? QStringLiteral("ES") : QStringLiteral("PD"));
    if (shown) {
        const int age = forecast.year() == 1980 ? 0 : 99;
        QVERIFY(headings(html).contains(QStringLiteral("Transits for age %1").arg(age)));
        // Three transit rows, each reading the letter of that age.
        QCOMPARE(markers(html, "TR").size(), 4);
    }
}

void tst_PersonalReading::transitBlank()
{
    // With byte 5 a one-part name has no mental and spiritual transit.
    m_GlobSettings[GSNoMissedTransits] = 1;
    Person p;
    p.fullName = QStringLiteral("ANNA");
    p.shortName = QStringLiteral("ANNA");
    const QString html = reading(p);
    QVERIFY(!html.isEmpty());
    QCOMPARE(markers(html, "TR").size(), 2);
    QVERIFY(html.contains(QLatin1String(">Mental</p>")));
    QVERIFY(html.contains(QLatin1String(">Spiritual</p>")));
}

void tst_PersonalReading::bridgeDetails()
{
    // What follows a marker up to the end of its chapter.
    auto chapterTail = [](const QString &html, const QString &marker) {
        const int start = html.indexOf(marker) + marker.size();
        return html.mid(start, html.indexOf(QLatin1String("</td></tr></table>"), start) - start);
    };
    const QString par = QStringLiteral("<p comment=\"st_fs\"   >");

    // Ann: life path 8 and expression 3 give the detail 83, heart's desire
    // 11 and personality 1 the detail 21.
    QString html = reading(Person());
    QCOMPARE(chapterTail(html, "BLPE-6"),
             "</p></p>\r\n" + par + "<br />" + par + "BLPED-83</p></p>\r\n" + par
                 + "<br /></p>\r\n");
    QCOMPARE(chapterTail(html, "BHDP-2"),
             "</p></p>\r\n" + par + "<br />" + par + "BHDPD-21</p><br /></p>\r\n");

    // Without a detail text the first bridge still ends with a blank line,
    // the second does not.
    numerBridgeLPEDet[83].clear();
    numerBridgeHDPDet[21].clear();
    html = reading(Person());
    QCOMPARE(chapterTail(html, "BLPE-6"), "</p></p>\r\n" + par + "<br /></p>\r\n");
    QCOMPARE(chapterTail(html, "BHDP-2"), QStringLiteral("</p></p>\r\n"));
}

void tst_PersonalReading::layoutNumber_data()
{
    QTest::addColumn<int>("layoutCount");
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<QString>("title");

    const QString fixed = QStringLiteral("Lumaro Numerology Report");
    const QString byLayout = QStringLiteral("Numerology Report");
    QTest::newRow("0") << 2 << 0 << fixed;
    QTest::newRow("-1") << 2 << -1 << fixed;
    QTest::newRow("1 of 2") << 2 << 1 << byLayout;
    QTest::newRow("count") << 2 << 2 << byLayout;
    QTest::newRow("count + 1") << 2 << 3 << fixed;
    QTest::newRow("empty list") << 0 << 1 << fixed;
}

void tst_PersonalReading::layoutNumber()
{
    QFETCH(int, layoutCount);
    QFETCH(int, layoutNo);
    QFETCH(QString, title);

    QList<reportSetting> layouts;
    for (int i = 0; i < layoutCount; ++i)
        layouts << layout({1 + i});
    const QString html = reading(Person(), &layouts, layoutNo);
    QCOMPARE(documentTitle(html), title);
    if (title == QLatin1String("Numerology Report")) {
        // The chosen layout's one section: life path or birthday.
        QCOMPARE(topics(html), QStringList(layoutNo == 1 ? "LP" : "BD"));
    }
}

void tst_PersonalReading::noReading()
{
    QList<reportSetting> layouts {layout({1})};
    CNumerology n;
    QVERIFY(n.calculate("ANN LEE SMITH", "ANN", {}, {}, false, QDate(1980, 3, 5),
                        QDate(2026, 3, 15), &layouts, 1, 0, true));
    QVERIFY(n.reportHtml.isEmpty());

    // A failed name check writes nothing either.
    QVERIFY(!n.calculate("ANN LEE SMITH", "NN", {}, {}, false, QDate(1980, 3, 5),
                         QDate(2026, 3, 15), nullptr, 0, 0, false));
    QCOMPARE(lastMessage, QStringLiteral("Error! Incorrect full or short name!"));
    QVERIFY(n.reportHtml.isEmpty());
}

void tst_PersonalReading::unsetLifePath()
{
    // With only byte 1 a year beyond four digits leaves the life path unset:
    // the reading shows no life path entry and no life path periods.
    m_GlobSettings[GSLifePathReducedParts] = 0;
    m_GlobSettings[GSLifePathPlainSum] = 1;
    Person p;
    p.birth = QDate(20000, 5, 15);
    const QString fixed = reading(p);
    QVERIFY(fixed.endsWith(QLatin1String("</body></html>\r\n")));
    QCOMPARE(markers(fixed, "LP"), QStringList({"LP-0"}));
    QVERIFY(fixed.contains(QLatin1String("Time span of Life Path periods <br />")));

    QList<reportSetting> layouts {layout(everyNumerologyType())};
    const QString byLayout = reading(p, &layouts, 1);
    QCOMPARE(markers(byLayout, "LP"), QStringList({"LP-0"}));
}

QTEST_GUILESS_MAIN(tst_PersonalReading)

#include "tst_personalreading.moc"
