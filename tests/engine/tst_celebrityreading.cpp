#include "engine/globsettings.h"
#include "engine/numerology.h"

#include "furtherfixture.h"

#include <QScopeGuard>
#include <QtTest>

using namespace FurtherFixture;

typedef QList<int> Ints;

namespace {

const QDate birth(1975, 11, 29);

bool celebrities(CNumerology &engine, const QString &name, const QDate &date,
                 QList<reportSetting> *layouts = nullptr, int layoutNo = 0)
{
    return engine.calculateCel(name, date, false, layouts, layoutNo, 0);
}

// The pieces must occur in this order.
void expectInOrder(const QString &html, const QStringList &pieces)
{
    int at = 0;
    for (const QString &piece : pieces) {
        const int found = html.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
}

QImage blueSquare()
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    return image;
}

} // namespace

class tst_CelebrityReading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(loadMarkerDatabase()); }
    void init() { resetGlobSettings(); }

    void numbers_data();
    void numbers();
    void fixedReading();
    void onlyFilledSlotsBelow200();
    void noMatch();
    void layoutChoice_data();
    void layoutChoice();
    void layoutSections_data();
    void layoutSections();
    void layoutHeader();
    void layoutPhotos_data();
    void layoutPhotos();
};

void tst_CelebrityReading::numbers_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("chaldean");
    QTest::addColumn<int>("lifePath");
    QTest::addColumn<QString>("lifePathText");
    QTest::addColumn<int>("expression");
    QTest::addColumn<QString>("expressionText");

    QTest::newRow("method 1, 44 is no master here")
        << "100110"
        << "Ann Lee" << false << 8 << "11+11+22=44=8" << 6 << "6/15";
    QTest::newRow("only method 2") << "010110"
                                   << "Ann Lee" << false << 8 << "2015=8" << 6 << "6/15";
    QTest::newRow("no method set counts as method 1")
        << "000110"
        << "Ann Lee" << false << 8 << "11+11+22=44=8" << 6 << "6/15";
    // The option "Down to digit every word" does not change the expression.
    QTest::newRow("words always reduced")
        << "100000"
        << "Ann Lee" << false << 8 << "11+11+22=44=8" << 6 << "6/15";
    // Chaldean: A1 N5 N5 = 11, L3 E5 E5 = 13 reduced to 4.
    QTest::newRow("chaldean") << "100110"
                              << "Ann Lee" << true << 8 << "11+11+22=44=8" << 6 << "6/15";
}

void tst_CelebrityReading::numbers()
{
    QFETCH(QString, settings);
    QFETCH(QString, name);
    QFETCH(bool, chaldean);
    for (int i = 0; i < GlobSettingsCount; ++i)
        m_GlobSettings[i] = settings.at(i) == QLatin1Char('1');

    CNumerology engine;
    QVERIFY(engine.calculateCel(name, birth, chaldean, nullptr, 0, 1));
    QCOMPARE(engine.m_calcMode, chaldean ? 1 : 0);
    QCOMPARE(engine.m_fullName, name.toUpper());
    QCOMPARE(engine.m_birthDate, birth);
    QTEST(engine.m_lifePath, "lifePath");
    QTEST(engine.m_results[CNumerology::RLifePath], "lifePathText");
    QTEST(engine.m_expression, "expression");
    QTEST(engine.m_results[CNumerology::RExpression], "expressionText");
}

void tst_CelebrityReading::fixedReading()
{
    CNumerology engine;
    engine.preloadRes(QStringLiteral("/doc2/"));
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth));
    const QString &html = engine.reportHtml;
    const QString photo = QStringLiteral("<img src=\"file:////doc2/%1.jpg\" style=\"margin-left: "
                                         "15px;\" align=\"right\" /><font style=\" "
                                         "color:#000000;\">%2</font></h2>");
    expectInOrder(html,
                  {"<title>Lumaro Numerology Celebrities Report</title>",
                   "Celebrities Report for</font></h2>", "ANN LEE, Nov 29 1975</font></h2>",
                   ">Date Number 11+11+22=44=8<br />Name Number 6/15</p>",
                   "Celebrities with same Life Path</font></h2>\r\n</td></tr></table>",
                   // Life path 8: slots 0, 2 and 150.
                   photo.arg("000", "Star Zero, 11/29/1960"), "cel0-lifepath",
                   photo.arg("002", "Star Two, 4/3/1980"), "cel2-lifepath",
                   photo.arg("150", "Star Hundred Fifty, 8/12/1944"), "cel150-lifepath",
                   "   ><br /></p>",
                   // Birth day 29: slot 0; slot 1 has no birth-day number.
                   "Celebrities with same Birth day</font></h2>",
                   photo.arg("000", "Star Zero, 11/29/1960"), "cel0-birthday", "   ><br /></p>",
                   // Expression 6: slots 1 and 2, slot 2 a second time.
                   "Celebrities with same Expression number</font></h2>",
                   photo.arg("001", "Star One, 1/29/1970"), "cel1-expression",
                   photo.arg("002", "Star Two, 4/3/1980"), "cel2-expression", "</body></html>"});
    QVERIFY(!html.contains(QLatin1String("cel1-birthday")));
    QCOMPARE(occurrences(html, QLatin1String("Celebrities with same")), 3);
    QCOMPARE(occurrences(html, QLatin1String("<img")), 6);
}

void tst_CelebrityReading::onlyFilledSlotsBelow200()
{
    // A slot beyond the database's 200 and a slot without a name never show,
    // whatever numbers they hold.
    const auto restore = qScopeGuard([] {
        numerCelILP[200] = numerCelIEXPR[200] = numerCelBDT[200] = numerCelIDAY[200] = 0;
        numerCelName[200].clear();
        numerCelILP[5] = numerCelIEXPR[5] = 0;
        numerCelLP[5].clear();
    });
    numerCelILP[200] = 8;
    numerCelIEXPR[200] = 6;
    numerCelName[200] = QStringLiteral("Beyond Range");
    numerCelBDT[200] = 29 + 11 * 256 + 1950 * 65536;
    numerCelIDAY[200] = 29;
    numerCelILP[5] = 8;
    numerCelIEXPR[5] = 6;
    numerCelLP[5] = QStringLiteral("nameless-slot");

    CNumerology engine;
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("Beyond Range")));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("200.jpg")));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("nameless-slot")));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("005.jpg")));

    QList<reportSetting> layouts {layout(RKCelebrities, {1, 2, 3})};
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth, &layouts, 1));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("Beyond Range")));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("nameless-slot")));
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String(".jpg")), 6);
}

void tst_CelebrityReading::noMatch()
{
    // A name worth nothing and an invalid date give life path and expression
    // 0, the numbers of every slot the database never filled.
    CNumerology engine;
    QVERIFY(celebrities(engine, QStringLiteral("''"), QDate()));
    QCOMPARE(engine.m_lifePath, 0);
    QCOMPARE(engine.m_expression, 0);
    QVERIFY(!engine.reportHtml.contains(QLatin1String("<img")));
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String("Celebrities with same")), 1);

    // Life path 4, birth day 1, expression 8: nobody. The document keeps the
    // first chapter and the two separators.
    QVERIFY(celebrities(engine, QStringLiteral("Z"), QDate(2000, 1, 1)));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("<img")));
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String("Celebrities with same")), 1);
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String("   ><br /></p>")), 2);
}

void tst_CelebrityReading::layoutChoice_data()
{
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<QString>("title");
    QTest::newRow("default") << 0 << "Lumaro Numerology Celebrities Report";
    QTest::newRow("negative") << -1 << "Lumaro Numerology Celebrities Report";
    QTest::newRow("beyond the list") << 3 << "Lumaro Numerology Celebrities Report";
    QTest::newRow("last") << 2 << "Celebrities Report";
}

void tst_CelebrityReading::layoutChoice()
{
    QFETCH(int, layoutNo);
    QFETCH(QString, title);
    QList<reportSetting> layouts {layout(RKCelebrities, {1}), layout(RKCelebrities, {})};
    CNumerology engine;
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth, &layouts, layoutNo));
    QVERIFY(
        engine.reportHtml.contains(QLatin1String("<title>") + title + QLatin1String("</title>")));
    if (layoutNo == 2)
        QCOMPARE(engine.reportHtml, emptyDocument(title));
}

void tst_CelebrityReading::layoutSections_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Ints>("types");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("unknown types")
        << "Ann Lee" << birth << Ints {5, 99} << QStringList() << QStringList();
    QTest::newRow("header last") << "Ann Lee" << birth << Ints {3, 0}
                                 << QStringList {"Celebrities with same Expression number",
                                                 "cel1-expression",
                                                 "cel2-expression",
                                                 "   ><br /></p>",
                                                 "Celebrities Report for",
                                                 "ANN LEE, Nov 29 1975",
                                                 "Date Number 11+11+22=44=8<br />Name Number 6/15"}
                                 << QStringList {"Life Path"};
    QTest::newRow("life path twice")
        << "Ann Lee" << birth << Ints {1, 1}
        << QStringList {"cel0-lifepath", "cel150-lifepath", "cel0-lifepath", "cel150-lifepath"}
        << QStringList {"Celebrities Report for"};
    QTest::newRow("no match: life path heading only")
        << "Z" << QDate(2000, 1, 1) << Ints {1, 2, 3}
        << QStringList {"Celebrities with same Life Path </font></h2>\r\n</td></tr></table>"}
        << QStringList {"Birth day", "Expression number", "<br /></p>", "<img"};
    QTest::newRow("custom text") << "Ann Lee" << birth << Ints {4}
                                 << QStringList {"Custom Text </font>", "Your custom text here"}
                                 << QStringList {"cel0"};
}

void tst_CelebrityReading::layoutSections()
{
    QFETCH(QString, name);
    QFETCH(QDate, date);
    QFETCH(Ints, types);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    QList<reportSetting> layouts {layout(RKCelebrities, types)};
    CNumerology engine;
    QVERIFY(celebrities(engine, name, date, &layouts, 1));
    if (present.isEmpty()) {
        QCOMPARE(engine.reportHtml, emptyDocument(QStringLiteral("Celebrities Report")));
        return;
    }
    expectInOrder(engine.reportHtml, present);
    for (const QString &piece : absent)
        QVERIFY2(!engine.reportHtml.contains(piece), qPrintable(piece));
}

void tst_CelebrityReading::layoutHeader()
{
    QList<reportSetting> layouts {layout(RKCelebrities, {0, 2, 4}, false)};
    repItem &header = layouts[0].items[RKCelebrities][0];
    header.headerColor = QColor(0x12, 0x34, 0x56);
    header.contentColor = QColor(0x65, 0x43, 0x21);
    repItem &days = layouts[0].items[RKCelebrities][1];
    days.headerColor = QColor(0x00, 0x80, 0x00);
    days.useStdText[0] = false;
    days.texts[0] = customHtml(QStringLiteral("about star zero"));
    repItem &custom = layouts[0].items[RKCelebrities][2];
    custom.useStdText[0] = false;
    custom.texts[0] = customHtml(QStringLiteral("my words"));

    CNumerology engine;
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth, &layouts, 1));
    expectInOrder(engine.reportHtml,
                  {"color:#123456;\">My title 0</font></h2>",
                   "color:#654321;\">ANN LEE, Nov 29 1975</font></h2>",
                   "color:#654321;\">Date Number 11+11+22=44=8<br />Name Number 6/15</font></p>",
                   "My title 2 </font></h2>", "color:#008000;\">Star Zero, 11/29/1960</font></h2>",
                   "about star zero", "My title 4 </font>", "my words"});
    QVERIFY(!engine.reportHtml.contains(QLatin1String("cel0-birthday")));
    QVERIFY(!engine.reportHtml.contains(QLatin1String("Celebrities Report for")));
}

void tst_CelebrityReading::layoutPhotos_data()
{
    QTest::addColumn<QString>("hideAll");
    QTest::addColumn<bool>("defaultStyle");
    QTest::addColumn<QString>("hideImage");
    QTest::addColumn<bool>("ownImage");
    QTest::addColumn<int>("photos");
    QTest::addColumn<int>("embedded");

    // Life path 8 lists three celebrities.
    QTest::newRow("shown") << QString() << true << QString() << false << 3 << 0;
    QTest::newRow("layout hides") << "TRUE" << true << QString() << false << 0 << 0;
    QTest::newRow("lower-case flag") << "true" << true << QString() << false << 3 << 0;
    QTest::newRow("default look ignores hide-image")
        << QString() << true << "TRUE" << false << 3 << 0;
    QTest::newRow("own style hides") << QString() << false << "TRUE" << false << 0 << 0;
    // The user's own picture of a celebrity replaces the database photo and
    // stays when the layout hides the photos.
    QTest::newRow("own picture replaces the photo")
        << QString() << false << QString() << true << 2 << 1;
    QTest::newRow("own picture stays when hidden")
        << "TRUE" << false << QString() << true << 0 << 1;
}

void tst_CelebrityReading::layoutPhotos()
{
    QFETCH(QString, hideAll);
    QFETCH(bool, defaultStyle);
    QFETCH(QString, hideImage);
    QFETCH(bool, ownImage);
    QFETCH(int, photos);
    QFETCH(int, embedded);

    reportSetting setting = layout(RKCelebrities, {1}, defaultStyle);
    repItem &item = setting.items[RKCelebrities][0];
    if (!hideAll.isNull())
        setting.flags.insert(QStringLiteral("RTCelebrities-hide-images"), hideAll);
    if (!hideImage.isNull())
        item.options.insert(QStringLiteral("hide-image"), hideImage);
    if (ownImage)
        item.images[2] = blueSquare();
    QList<reportSetting> layouts {setting};

    CNumerology engine;
    QVERIFY(celebrities(engine, QStringLiteral("Ann Lee"), birth, &layouts, 1));
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String(".jpg")), photos);
    QCOMPARE(occurrences(engine.reportHtml, QLatin1String("data:image/png")), embedded);
}

QTEST_GUILESS_MAIN(tst_CelebrityReading)
#include "tst_celebrityreading.moc"
