#include "engine/compnumerology.h"
#include "engine/globsettings.h"
#include "engine/layoutreading.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "layouts/defaultlayout.h"
#include "layouts/layoutfile.h"
#include "tests/engine/readingfixtures.h"

#include <QFile>
#include <QtTest>

using namespace ReadingTest;

namespace {

const QString blank = QStringLiteral("<p comment=\"st_fs\"   ><br /></p>\r\n");

// The numbers a reading by layout is handed besides the object's fields.
struct Numbers
{
    Numbers()
    {
        std::fill(std::begin(karmic), std::end(karmic), 0);
        lessons << 3 << 6;
        passion << 1;
    }
    int karmic[128];
    int minorExpression = 1;
    int heartDesire = 2;
    int minorHeartDesire = 3;
    int personality = 4;
    int minorPersonality = 5;
    int maturity = 6;
    int rationalThought = 7;
    QList<int> lessons;
    int balance = 8;
    QList<int> passion;
    int subconscious = 9;
    int planes[4] = {1, 2, 3, 4};
    int bridgeLPE = 5;
    int bridgeLPEDetail = 83;
    int bridgeHDP = 1;
    int bridgeHDPDetail = 21;
};

// Ann Lee Smith, born 5 March 1980, forecast 15 March 2026 (age 46).
void computeAnn(CNumerology &n, const QDate &forecast = QDate(2026, 3, 15))
{
    n.preloadRes(QStringLiteral("/res/"));
    QVERIFY(n.calculate(QStringLiteral("ANN LEE SMITH"), QStringLiteral("ANN"), QVector<int>(),
                        QVector<int>(), false, QDate(1980, 3, 5), forecast, nullptr, 0, 0, true));
}

QString dynamic(CNumerology &n, const reportSetting &setting, const Numbers &v = Numbers(),
                bool chaldean = false)
{
    QList<reportSetting> layouts {setting};
    n.calculateDynamic(chaldean, &layouts, 0, v.karmic, v.minorExpression, v.heartDesire,
                       v.minorHeartDesire, v.personality, v.minorPersonality, v.maturity,
                       v.rationalThought, &v.lessons, v.balance, &v.passion, v.subconscious,
                       v.planes, v.bridgeLPE, v.bridgeLPEDetail, v.bridgeHDP, v.bridgeHDPDetail);
    return n.reportHtml;
}

QString readingOf(const reportSetting &setting, const Numbers &v = Numbers(), bool chaldean = false)
{
    CNumerology n;
    computeAnn(n);
    return dynamic(n, setting, v, chaldean);
}

// The document between the head and the closing tags.
QString body(const QString &html)
{
    const QLatin1String bodyStart("<body style=\"background-color:#FFFFFF\">\r\n");
    const int start = html.indexOf(bodyStart) + bodyStart.size();
    return html.mid(start, html.lastIndexOf(QLatin1String("</body></html>")) - start);
}

QString emptyDocument(const QString &title)
{
    CReportTools doc;
    doc.startDoc(title);
    doc.endDoc();
    return doc.reportHtml;
}

// The reading of one kind by a layout made with "New".
QString newLayoutReading(ReportKind kind)
{
    QList<reportSetting> layouts {reportSetting()};
    initialDefSetting(&layouts[0]);
    const QDate birth(1980, 3, 5);
    const QDate today(2026, 3, 15);
    CNumerology person, partner;
    CNumerologyPMatrix matrix, partnerMatrix;
    CCompNumerology comp;
    person.calculate("ANN LEE SMITH", "ANN", {}, {}, false, birth, today, &layouts, 1, 0,
                     kind != RKNumerology);
    partner.calculate("BOB ROSS", "BOB", {}, {}, false, birth, today, nullptr, 0, 0, true);
    matrix.calculate("ANN LEE SMITH", birth, &layouts, 1);
    partnerMatrix.calculate("BOB ROSS", birth, nullptr, 0);
    comp.calculate(&person, &partner, &matrix, &partnerMatrix, &layouts, 1);
    if (kind == RKCelebrities)
        person.calculateCel("ANN LEE SMITH", birth, false, &layouts, 1, 0);
    if (kind == RKPet)
        person.calculatePet("REX", QString(), birth, today, false, &layouts, 1);
    return kind == RKPsychoMatrix     ? matrix.reportHtml
        : kind == RKLoveCompatibility ? comp.reportHtml
                                      : person.reportHtml;
}

QString customText(const QString &text)
{
    return QStringLiteral("<html><body><!-- md --><br><p>") + text
        + QStringLiteral("</p></body></html>");
}

} // namespace

class tst_LayoutReading : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetGlobSettings();
        QVERIFY(loadMarkerDatabase());
    }

    void layoutIndex_data();
    void layoutIndex();
    void indexOutsideList();
    void everySection();
    void emptyItemList_data();
    void emptyItemList();
    void ignoredTypes();
    void repeatedType();
    void hideAllFlag_data();
    void hideAllFlag();
    void itemHidesPicture_data();
    void itemHidesPicture();
    void lifeCycleOwnImage();
    void titleItem();
    void titleItemOwnStyle();
    void presenceRules_data();
    void presenceRules();
    void compound_data();
    void compound();
    void bridges_data();
    void bridges();
    void transitsOutOfAge();
    void periodRows_data();
    void periodRows();
    void customEntries();
    void customTextItem();
    void newLayout_data();
    void newLayout();
    void hostileLayout();
};

void tst_LayoutReading::layoutIndex_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<int>("index");

    QTest::newRow("no list") << -1 << 1 << -1;
    QTest::newRow("empty list") << 0 << 1 << -1;
    QTest::newRow("0") << 2 << 0 << -1;
    QTest::newRow("-1") << 2 << -1 << -1;
    QTest::newRow("first") << 2 << 1 << 0;
    QTest::newRow("count") << 2 << 2 << 1;
    QTest::newRow("count + 1") << 2 << 3 << -1;
}

void tst_LayoutReading::layoutIndex()
{
    QFETCH(int, count);
    QFETCH(int, layoutNo);
    QFETCH(int, index);

    QList<reportSetting> layouts;
    for (int i = 0; i < count; ++i)
        layouts << reportSetting();
    QCOMPARE(CLayoutReading::layoutIndex(count < 0 ? nullptr : &layouts, layoutNo), index);
}

void tst_LayoutReading::indexOutsideList()
{
    // A caller's index past the list reads no layout and no section.
    QList<reportSetting> layouts {layout({1, 2})};
    Numbers v;
    CNumerology n;
    computeAnn(n);
    for (int index : {-1, 1}) {
        n.calculateDynamic(false, &layouts, index, v.karmic, 1, 2, 3, 4, 5, 6, 7, &v.lessons, 8,
                           &v.passion, 9, v.planes, 5, 83, 1, 21);
        QCOMPARE(n.reportHtml, emptyDocument(QStringLiteral("Numerology Report")));
    }
}

void tst_LayoutReading::everySection()
{
    // Through calculate, with the numbers it computed.
    QList<reportSetting> layouts {layout(everyNumerologyType())};
    CNumerology n;
    n.preloadRes(QStringLiteral("/res/"));
    QVERIFY(n.calculate("ANN LEE SMITH", "ANN", {}, {}, false, QDate(1980, 3, 5),
                        QDate(2026, 3, 15), &layouts, 1, 0, false));
    const QString html = n.reportHtml;

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
                          "Pinnacles Numbers 8, 5, 4, 3",
                          "Age span for life cycles 0-28-37-46-E",
                          "Challenges Numbers 2, 4, 2, 6",
                          "Personal Year Number: 9",
                          "Personal Month Number: 3",
                          "Personal Day Number: 9",
                          "Transits for age 46",
                          "Essence for age 46: 9/18",
                          "Planes of Expression ",
                          "Planes of Expression Physical 5, 3",
                          "Planes of Expression Mental 4/13, 5",
                          "Planes of Expression Emotional 3/12, 3",
                          "Bridge Life Path - Expression 5",
                          "Bridge Heart's Desire - Personality 1",
                          "Custom Text "}));
    QStringList topicOrder;
    for (const QString &m : markers(html)) {
        const QString topic = m.section(QLatin1Char('-'), 0, 0);
        if (topicOrder.isEmpty() || topicOrder.last() != topic)
            topicOrder << topic;
    }
    QCOMPARE(topicOrder,
             QStringList({"INFO", "LP",  "BD",  "EX",   "MEX",  "HD",    "MHD",  "PE",   "MA", "RT",
                          "KL",   "BA",  "HP",  "SC",   "PI",   "CH",    "PY",   "PD",   "TR", "ES",
                          "POE",  "POP", "POM", "POEM", "BLPE", "BLPED", "BHDP", "BHDPD"}));
    QCOMPARE(markers(html, "PD").size(), 1 + 12 + 9);
    QCOMPARE(markers(html, "TR"), QStringList({"TR-0", "TR-14", "TR-5", "TR-8"}));
    QCOMPARE(
        pictureFiles(html),
        QStringList({"res39.jpg", "res01.jpg", "res02.jpg", "res03.jpg", "res04.jpg", "res05.jpg",
                     "res07.jpg", "res08.jpg", "res09.jpg", "res10.jpg", "res11.jpg", "res12.jpg",
                     "res13.jpg", "res14.jpg", "res15.jpg", "res15.jpg", "res03.jpg"}));
    QVERIFY(html.contains(QLatin1String("Your custom text here")));
    // The title section holds the summary and the whole table.
    QVERIFY(html.contains(QLatin1String("Heart Desire number <b>11</b><br />")));
    QVERIFY(html.contains(QLatin1String("<b>Essence and Transits Cycles</b>")));
}

void tst_LayoutReading::emptyItemList_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<QString>("title");
    QTest::newRow("pythagorean") << false << "Numerology Report";
    QTest::newRow("chaldean") << true << "Chaldean Numerology Report";
}

void tst_LayoutReading::emptyItemList()
{
    QFETCH(bool, chaldean);
    QFETCH(QString, title);

    reportSetting setting = layout({});
    // Items of the other kinds are not looked at.
    setting.items[RKPsychoMatrix] << item(1, true, RKPsychoMatrix);
    setting.items[RKPet] << item(35, true, RKPet);
    QCOMPARE(readingOf(setting, Numbers(), chaldean), emptyDocument(title));
}

void tst_LayoutReading::ignoredTypes()
{
    const QString plain = readingOf(layout({1, 2}));
    QCOMPARE(readingOf(layout({23, 1, 24, 36, 200, 2})), plain);
}

void tst_LayoutReading::repeatedType()
{
    const QString html = readingOf(layout({3, 11, 3}));
    QCOMPARE(markers(html), QStringList({"EX-0", "EX-3", "BA-0", "BA-8", "EX-0", "EX-3"}));
}

void tst_LayoutReading::hideAllFlag_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("pictures");

    QTest::newRow("missing") << QString() << true;
    QTest::newRow("FALSE") << "FALSE" << true;
    QTest::newRow("lower case true") << "true" << true;
    QTest::newRow("TRUE") << "TRUE" << false;
}

void tst_LayoutReading::hideAllFlag()
{
    QFETCH(QString, value);
    QFETCH(bool, pictures);

    reportSetting setting = layout({1, 5, 35});
    setting.items[RKNumerology][1].defaultStyle = false;
    setting.items[RKNumerology][1].images[0] = redSquare();
    if (!value.isNull())
        setting.flags.insert(QStringLiteral("RTNumerology-hide-images"), value);
    // Another reading's flag does not count.
    setting.flags.insert(QStringLiteral("RTPsychoMatrix-hide-images"), QStringLiteral("TRUE"));

    const QString html = readingOf(setting);
    // The item's own picture takes the place of the heart desire picture.
    QCOMPARE(pictureFiles(html), pictures ? QStringList("res01.jpg") : QStringList());
    QCOMPARE(html.contains(QLatin1String("data:image/png")), pictures);
}

void tst_LayoutReading::itemHidesPicture_data()
{
    QTest::addColumn<bool>("defaultStyle");
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("picture");

    QTest::newRow("default look, hide-image TRUE") << true << "TRUE" << true;
    QTest::newRow("own style, hide-image TRUE") << false << "TRUE" << false;
    QTest::newRow("own style, hide-image true") << false << "true" << true;
    QTest::newRow("own style, no option") << false << QString() << true;
}

void tst_LayoutReading::itemHidesPicture()
{
    QFETCH(bool, defaultStyle);
    QFETCH(QString, option);
    QFETCH(bool, picture);

    reportSetting setting = layout({7}, defaultStyle);
    if (!option.isNull())
        setting.items[RKNumerology][0].options.insert(QStringLiteral("hide-image"), option);
    QCOMPARE(pictureFiles(readingOf(setting)), picture ? QStringList("res05.jpg") : QStringList());
}

void tst_LayoutReading::lifeCycleOwnImage()
{
    // Pinnacles and Challenges show the item's own picture whatever hides it.
    reportSetting setting = layout({14, 15});
    for (repItem &i : setting.items[RKNumerology]) {
        i.options.insert(QStringLiteral("hide-image"), QStringLiteral("TRUE"));
        i.images[0] = redSquare();
        i.defaultStyle = false;
    }
    setting.flags.insert(QStringLiteral("RTNumerology-hide-images"), QStringLiteral("TRUE"));
    const QString html = readingOf(setting);
    QVERIFY(pictureFiles(html).isEmpty());
    QCOMPARE(html.count(QLatin1String("<h2><img src = \"data:image/png;base64,")), 2);

    // A null picture leaves the queued section picture in the heading.
    const QString plain = readingOf(layout({14, 15}));
    QCOMPARE(pictureFiles(plain), QStringList({"res13.jpg", "res14.jpg"}));
    QCOMPARE(markers(plain),
             QStringList(
                 {"PI-0", "PI-8", "PI-5", "PI-4", "PI-3", "CH-0", "CH-3", "CH-5", "CH-3", "CH-7"}));
}

void tst_LayoutReading::titleItem()
{
    reportSetting setting = layout({1, 3, 20, 0});
    repItem &title = setting.items[RKNumerology][3];
    title.contentColor = QColor(0, 0, 255);
    const QString html = readingOf(setting);

    // The first heading is the reading's own, in black; the name line, the
    // summary and the table use the content font and colour.
    const QString contentFont
        = QStringLiteral("<font style=\"font-size: 16px; face:'Arial'; color:#0000ff;\">");
    QVERIFY(html.contains(
        QLatin1String("<h2><font style=\" color:#000000;\">Numerology Chart for</font></h2>")));
    QVERIFY(html.contains("<h2>" + contentFont + "ANN LEE SMITH (ANN), Mar 5 1980</font></h2>"));
    QVERIFY(html.contains("<p>" + contentFont + "Life path number "));
    const int open = html.indexOf(QLatin1String("</table>\r\n") + contentFont);
    const int table = html.indexOf(QLatin1String("<b>Full name</b>"));
    QVERIFY(open > 0 && open < table);
    // The introduction follows the table.
    QVERIFY(html.contains(QLatin1String("</table>\r\n</font><table class=maindoc")));
    QVERIFY(html.indexOf(QLatin1String("INFO-0")) > table);
    QVERIFY(html.contains(QLatin1String("<td colspan=\"14\"><b>Full name</b>")));
}

void tst_LayoutReading::titleItemOwnStyle()
{
    reportSetting setting = layout({0}, false);
    repItem &title = setting.items[RKNumerology][0];
    title.title = QStringLiteral("My chart");
    title.headerColor = QColor(255, 0, 0);
    const QString html = readingOf(setting, Numbers(), true);
    QCOMPARE(headings(html).value(0), QStringLiteral("My chart"));
    QVERIFY(html.contains(QLatin1String(
        "<h2><font style=\"font-size: 18px; face:'Arial'; color:#ff0000;\">My chart")));
    QCOMPARE(body(html).count(QLatin1String("<table class=maindoc border=\"0\" width=100%>")), 3);
    // The introduction in the item's content look.
    QVERIFY(html.contains(
        QLatin1String("<font style=\"font-size: 16px; face:'Arial'; color:#000000;\" >INFO-0")));
}

void tst_LayoutReading::presenceRules_data()
{
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("minor personality differs")
        << QList<int> {7, 21} << QString() << QStringList({"PE-0", "PE-4", "PE-5"});
    QTest::newRow("minor personality equal")
        << QList<int> {7, 21} << "minor personality 4" << QStringList({"PE-0", "PE-4"});
    QTest::newRow("karmic debt 16 only")
        << QList<int> {22} << "debt 16" << QStringList({"KD-0", "KD-16"});
    QTest::newRow("karmic debts 13 and 19")
        << QList<int> {22} << "debts 19 13" << QStringList({"KD-0", "KD-13", "KD-19"});
    QTest::newRow("no karmic debt") << QList<int> {22} << QString() << QStringList();
    QTest::newRow("karmic lessons in list order, repeats kept")
        << QList<int> {10} << "lessons 6 3 6" << QStringList({"KL-0", "KL-6", "KL-3", "KL-6"});
    QTest::newRow("no karmic lesson") << QList<int> {10} << "no lessons" << QStringList();
    QTest::newRow("no hidden passion") << QList<int> {12} << "no passion" << QStringList();
    QTest::newRow("intuitive plane 0")
        << QList<int> {30, 27} << "intuitive 0" << QStringList({"POP-2"});
    QTest::newRow("planes") << QList<int> {26, 28, 29, 30} << QString()
                            << QStringList({"POE-0", "POM-1", "POEM-3", "POI-4"});
    QTest::newRow("challenge 0") << QList<int> {15} << "challenges 0"
                                 << QStringList({"CH-0", "CH-1", "CH-1", "CH-1", "CH-1"});
}

void tst_LayoutReading::presenceRules()
{
    QFETCH(QList<int>, types);
    QFETCH(QString, change);
    QFETCH(QStringList, expected);

    Numbers v;
    CNumerology n;
    computeAnn(n);
    if (change == QLatin1String("minor personality 4"))
        v.minorPersonality = 4;
    else if (change == QLatin1String("debt 16"))
        v.karmic[16] = 2;
    else if (change == QLatin1String("debts 19 13"))
        v.karmic[19] = v.karmic[13] = 1;
    else if (change == QLatin1String("lessons 6 3 6"))
        v.lessons = {6, 3, 6};
    else if (change == QLatin1String("no lessons"))
        v.lessons.clear();
    else if (change == QLatin1String("no passion"))
        v.passion.clear();
    else if (change == QLatin1String("intuitive 0"))
        v.planes[3] = 0;
    else if (change == QLatin1String("challenges 0"))
        std::fill(std::begin(n.m_challenges), std::end(n.m_challenges), 0);

    const QString html = dynamic(n, layout(types), v);
    QCOMPARE(markers(html), expected);
    if (expected.isEmpty())
        QCOMPARE(body(html), QString()); // not even a blank paragraph
    if (change.startsWith(QLatin1String("debt")))
        QVERIFY(headings(html).contains(QStringLiteral("Karmic Debt Number: 16"))
                || headings(html).contains(QStringLiteral("Karmic Debt Number: 13")));
}

void tst_LayoutReading::compound_data()
{
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("compound");
    QTest::addColumn<bool>("noTexts");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pythagorean") << false << 23 << false << QString();
    QTest::newRow("chaldean 9") << true << 9 << false << blank;
    QTest::newRow("chaldean 100") << true << 100 << false << blank;
    QTest::newRow("chaldean 23") << true << 23 << false << "CO-0 CO-23";
    QTest::newRow("chaldean 23 without texts") << true << 23 << true << blank;
}

void tst_LayoutReading::compound()
{
    QFETCH(bool, chaldean);
    QFETCH(int, compound);
    QFETCH(bool, noTexts);
    QFETCH(QString, expected);

    if (noTexts) {
        // The loader's blank stands for a missing text.
        numerCompoundNumbers[0] = QStringLiteral(" ");
        numerCompoundNumbers[23] = QStringLiteral(" ");
    }
    CNumerology n;
    computeAnn(n);
    n.m_compoundNumber = compound;
    const QString html = dynamic(n, layout({25}), Numbers(), chaldean);
    if (expected.startsWith(QLatin1String("CO"))) {
        QCOMPARE(markers(html).join(QLatin1Char(' ')), expected);
        QVERIFY(headings(html).contains(QStringLiteral("Compound Number 23")));
    } else {
        QCOMPARE(body(html), expected);
    }

    if (noTexts) {
        // A custom text of the item is enough to write the section.
        reportSetting custom = layout({25}, false);
        custom.items[RKNumerology][0].texts[23] = customText(QStringLiteral("MINE-23"));
        custom.items[RKNumerology][0].useStdText[23] = false;
        QCOMPARE(markers(dynamic(n, custom, Numbers(), chaldean)), QStringList("MINE-23"));
    }
}

void tst_LayoutReading::bridges_data()
{
    QTest::addColumn<int>("bridge");
    QTest::addColumn<int>("detail");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("bridge 0, detail 0")
        << 0 << 0 << QStringList({"BLPE-0", "BLPE-1", "BLPED-0", "BHDP-0", "BHDP-1", "BHDPD-0"});
    QTest::newRow("bridge 8, detail 99")
        << 8 << 99 << QStringList({"BLPE-0", "BLPE-9", "BLPED-99", "BHDP-0", "BHDP-9", "BHDPD-99"});
    QTest::newRow("out of range") << 9 << 100 << QStringList();
    QTest::newRow("negative") << -1 << -1 << QStringList();
}

void tst_LayoutReading::bridges()
{
    QFETCH(int, bridge);
    QFETCH(int, detail);
    QFETCH(QStringList, expected);

    Numbers v;
    v.bridgeLPE = v.bridgeHDP = bridge;
    v.bridgeLPEDetail = v.bridgeHDPDetail = detail;
    const QString html = readingOf(layout({31, 32, 33, 34}), v);
    QCOMPARE(markers(html), expected);
    if (expected.isEmpty()) {
        QCOMPARE(body(html), QString());
    } else {
        QVERIFY(headings(html).contains(
            QStringLiteral("Bridge Life Path - Expression %1").arg(bridge)));
    }

    // In its own style the bridge item reads the custom text of the number's
    // entry, one past the number.
    if (bridge == 0) {
        reportSetting custom = layout({31}, false);
        custom.items[RKNumerology][0].texts[1] = customText(QStringLiteral("MINE-1"));
        custom.items[RKNumerology][0].useStdText[1] = false;
        QCOMPARE(markers(readingOf(custom, v)), QStringList({"BLPE-0", "MINE-1"}));
    }
}

void tst_LayoutReading::transitsOutOfAge()
{
    CNumerology n;
    computeAnn(n, QDate(2080, 3, 5)); // age 100
    QCOMPARE(markers(dynamic(n, layout({19, 20, 1}))), QStringList({"LP-0", "LP-8"}));
    computeAnn(n, QDate(1979, 3, 5));
    QCOMPARE(markers(dynamic(n, layout({19, 20, 1}))), QStringList({"LP-0", "LP-8"}));
    computeAnn(n, QDate(2080, 3, 4)); // age 99
    QCOMPARE(markers(dynamic(n, layout({19, 20}))).first(), QStringLiteral("TR-0"));
    QVERIFY(headings(n.reportHtml).contains(QStringLiteral("Transits for age 99")));
}

void tst_LayoutReading::periodRows_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QDate>("forecast");
    QTest::addColumn<QStringList>("rows");

    // Day 5 and month 3: personal year 9 in 2026 and 1 in 2027.
    QTest::newRow("years") << 16 << QDate(2026, 11, 15)
                           << QStringList({"2026 (9). PY-9", "2027 (1). PY-1", "2028 (2). PY-2"});
    QTest::newRow("months across the year end")
        << 17 << QDate(2026, 11, 15)
        << QStringList(
               {"11/2026 (2). PD-2", "12/2026 (3). PD-3", "1/2027 (2). PD-2", "2/2027 (3). PD-3"});
    QTest::newRow("days across the month end")
        << 18 << QDate(2027, 2, 27)
        << QStringList({"2/27/2027 (3). PD-3", "2/28/2027 (4). PD-4", "3/1/2027 (5). PD-5"});
}

void tst_LayoutReading::periodRows()
{
    QFETCH(int, type);
    QFETCH(QDate, forecast);
    QFETCH(QStringList, rows);

    CNumerology n;
    computeAnn(n, forecast);
    const QString text = plainText(dynamic(n, layout({type})));
    for (const QString &row : rows)
        QVERIFY2(text.contains(row), qPrintable(row));
}

void tst_LayoutReading::customEntries()
{
    // Own style: the row label goes in a chapter of its own in the content
    // font; an entry whose flag is clear shows the user's text instead.
    reportSetting setting = layout({10}, false);
    repItem &lessons = setting.items[RKNumerology][0];
    lessons.title = QStringLiteral("Lessons");
    lessons.texts[6] = customText(QStringLiteral("MINE-6"));
    lessons.useStdText[6] = false;
    const QString html = readingOf(setting);
    QCOMPARE(markers(html), QStringList({"KL-0", "KL-3", "MINE-6"}));
    QCOMPARE(headings(html), QStringList("Lessons 6, 7"));

    reportSetting years = layout({16}, false);
    const QString rows = readingOf(years);
    QVERIFY(rows.contains(QLatin1String(
        "<p><font style=\"font-size: 16px; face:'Arial'; color:#000000;\">2026 (9). </font></p>")));
    QCOMPARE(markers(rows).size(), 1 + 9);
}

void tst_LayoutReading::customTextItem()
{
    const QString standard = readingOf(layout({35}));
    QCOMPARE(headings(standard), QStringList("Custom Text "));
    QVERIFY(standard.contains(QLatin1String("Your custom text here")));
    QVERIFY(pictureFiles(standard).isEmpty());
    QVERIFY(!body(standard).startsWith(blank));

    reportSetting own = layout({35}, false);
    own.items[RKNumerology][0].title = QStringLiteral("Notes");
    own.items[RKNumerology][0].texts[0] = customText(QStringLiteral("MINE-0"));
    own.items[RKNumerology][0].useStdText[0] = false;
    const QString html = readingOf(own);
    QCOMPARE(headings(html), QStringList("Notes "));
    QCOMPARE(markers(html), QStringList("MINE-0"));
    QVERIFY(!html.contains(QLatin1String("Your custom text here")));
}

void tst_LayoutReading::newLayout_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("introduction");

    QTest::newRow("Numerology") << int(RKNumerology) << "INFO-0";
    QTest::newRow("Psycho Matrix") << int(RKPsychoMatrix) << QString();
    QTest::newRow("Love Compatibility") << int(RKLoveCompatibility) << QString();
    QTest::newRow("Celebrities") << int(RKCelebrities) << QString();
    QTest::newRow("Pet") << int(RKPet) << QString();
}

void tst_LayoutReading::newLayout()
{
    QFETCH(int, kind);
    QFETCH(QString, introduction);

    // Sections without a title, such as the bridge details, write no heading.
    const QString html = newLayoutReading(ReportKind(kind));
    QVERIFY(!headings(html).isEmpty());
    for (const QString &title : headings(html))
        QVERIFY(!title.trimmed().isEmpty());
    // The fixed reading's introduction, with its picture, before the first
    // section.
    if (!introduction.isEmpty()) {
        QCOMPARE(markers(html).value(0), introduction);
        QCOMPARE(pictureFiles(html).value(0), QStringLiteral("res39.jpg"));
    }
}

// A shared layout whose titles, fonts and text hold markup: the titles show
// as typed, the text shows without what runs script or embeds.
void tst_LayoutReading::hostileLayout()
{
    QFile file(TestEnvironment::dataPath(QStringLiteral("layouts/hostile.zqnr")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<reportSetting> layouts {reportSetting()};
    QVERIFY(readReportSetting(&file, &layouts[0]));
    const QString numerology = readingOf(layouts[0]);
    CNumerology pet;
    QVERIFY(pet.calculatePet("REX", QString(), QDate(1980, 3, 5), QDate(2026, 3, 15), false,
                             &layouts, 1));

    QCOMPARE(activeMarkup(numerology), QString());
    QCOMPARE(activeMarkup(pet.reportHtml), QString());
    QVERIFY(!numerology.contains(QLatin1String("face:")));
    QCOMPARE(headings(numerology),
             QStringList({"Life path &lt;frame&gt; notes", "ANN LEE SMITH (ANN), Mar 5 1980",
                          "Love &amp; &lt;Base&gt; numbers "}));
    QVERIFY(numerology.contains(QLatin1String("Seven <a>link</a>")));
    QVERIFY(numerology.contains(QLatin1String("iframe src=x&gt;end")));
    QCOMPARE(headings(pet.reportHtml).value(0),
             QStringLiteral("&lt;script&gt;alert(10)&lt;/script&gt; &amp; pets"));
}

QTEST_GUILESS_MAIN(tst_LayoutReading)

#include "tst_layoutreading.moc"
