#include "engine/globsettings.h"
#include "engine/numerology.h"

#include "furtherfixture.h"

#include <QtTest>

using namespace FurtherFixture;

typedef QList<int> Ints;

namespace {

QStringList messages;

void recordMessage(QWidget *parent, const QString &title, const QString &text)
{
    QVERIFY(!parent);
    QVERIFY(title.isEmpty());
    messages << text;
}

const QDate birth(2020, 3, 15);
const QDate forecast(2024, 3, 5);

bool pet(CNumerology &engine, const QString &name, QList<reportSetting> *layouts = nullptr,
         int layoutNo = 0)
{
    return engine.calculatePet(name, QString(), birth, forecast, false, layouts, layoutNo);
}

QImage redSquare()
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

} // namespace

class tst_PetReading : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(loadMarkerDatabase());
        CNumerology::s_criticalMessage = recordMessage;
    }
    void init()
    {
        resetGlobSettings();
        messages.clear();
    }

    void numbers_data();
    void numbers();
    void incorrectName();
    void fixedReading();
    void layoutChoice_data();
    void layoutChoice();
    void layoutSections_data();
    void layoutSections();
    void layoutHeader();
    void layoutImages_data();
    void layoutImages();
};

void tst_PetReading::numbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("reduceMasterLetters");
    QTest::addColumn<QString>("petNumber");
    QTest::addColumn<QString>("petLine");
    QTest::addColumn<QString>("vowels");
    QTest::addColumn<QString>("vowelLine");
    QTest::addColumn<QString>("consonants");
    QTest::addColumn<QString>("consonantLine");
    QTest::addColumn<QString>("vowelDigits");
    QTest::addColumn<QString>("consonantDigits");

    QTest::newRow("two words") << "Dira G" << true << "3/12"
                               << "=5/23+7=12=3"
                               << "1"
                               << "=1/10+0=1"
                               << "2/11"
                               << "=4/13+7=11=2"
                               << " 9 1  "
                               << "4 9  7";
    QTest::newRow("double space") << "DIRA  G" << true << "3/12"
                                  << "=5/23+7=12=3"
                                  << "1"
                                  << "=1/10+0=1"
                                  << "2/11"
                                  << "=4/13+7=11=2"
                                  << " 9 1   "
                                  << "4 9   7";
    QTest::newRow("one word, one digit") << "G" << true << "7"
                                         << "=7=7"
                                         << "0"
                                         << "=0=0"
                                         << "7"
                                         << "=7=7"
                                         << " "
                                         << "7";
    QTest::newRow("K counts 11") << "KK" << false << "4/22"
                                 << "=22=22=4"
                                 << "0"
                                 << "=0=0"
                                 << "4/22"
                                 << "=22=22=4"
                                 << "  "
                                 << "22";
    QTest::newRow("K counts 2") << "KK" << true << "4"
                                << "=4=4"
                                << "0"
                                << "=0=0"
                                << "4"
                                << "=4=4"
                                << "  "
                                << "22";
}

void tst_PetReading::numbers()
{
    QFETCH(QString, name);
    QFETCH(bool, reduceMasterLetters);
    m_GlobSettings[GSReduceMasterLetters] = reduceMasterLetters;

    CNumerology engine;
    QVERIFY(pet(engine, name));
    QVERIFY(messages.isEmpty());
    QTEST(engine.m_results[CNumerology::RExpression], "petNumber");
    QTEST(engine.m_nameLines[CNumerology::NLExpression], "petLine");
    QTEST(engine.m_results[CNumerology::RHeartDesire], "vowels");
    QTEST(engine.m_nameLines[CNumerology::NLHeartDesire], "vowelLine");
    QTEST(engine.m_results[CNumerology::RPersonality], "consonants");
    QTEST(engine.m_nameLines[CNumerology::NLPersonality], "consonantLine");
    QTEST(engine.m_nameLines[CNumerology::NLFullVowels], "vowelDigits");
    QTEST(engine.m_nameLines[CNumerology::NLFullConsonants], "consonantDigits");
    // 15 March 2020: 6 + 3 + 4 = 13, code 4.
    QCOMPARE(engine.m_results[CNumerology::RBirthday], QString("4"));
}

void tst_PetReading::incorrectName()
{
    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G")));
    QVERIFY(!engine.reportHtml.isEmpty());

    QVERIFY(!pet(engine, QStringLiteral("'' !")));
    QCOMPARE(messages, QStringList {"Error! Incorrect pet name!"});
    QVERIFY(engine.reportHtml.isEmpty());
    // The numbers computed before the check stay.
    QCOMPARE(engine.m_results[CNumerology::RBirthday], QString("4"));
    QCOMPARE(engine.m_results[CNumerology::RExpression], QString("0"));
    QCOMPARE(engine.m_nameLines[CNumerology::NLFullVowels], QString("    "));
    // The forecast code of the last good run is kept.
    QCOMPARE(engine.m_results[CNumerology::RPersonalYear], QString("5"));
}

void tst_PetReading::fixedReading()
{
    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G")));
    // 5 March 2024 gives 7; 7 + 4 + 3 gives 5.
    QCOMPARE(engine.m_results[CNumerology::RPersonalYear], QString("5"));
    const QString &html = engine.reportHtml;
    const QStringList order {
        "<title>Pet Numerology Report</title>",
        "<font style=\" color:#000000;\">Pet Numerology Chart</font></h2>",
        "</td></tr></table>",
        ">Pet number 3/12<br />\r\nPet Birthday Code 4<br />\r\nForecast Day Code 5<br />\r\n</p>",
        "</td></tr></table>",
        "Pet number 3/12</font></h2>",
        "pet-general</p><br /><p comment=\"st_fs\"   >pet-number3</p>",
        "Day Forecast for Mar 5 2024</font></h2>",
        "forecast-code5",
        "</body></html>",
    };
    int at = 0;
    for (const QString &piece : order) {
        const int found = html.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
    QVERIFY(!html.contains(QLatin1String("<img")));
}

void tst_PetReading::layoutChoice_data()
{
    QTest::addColumn<int>("layoutNo");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("default") << 0 << true;
    QTest::newRow("negative") << -2 << true;
    QTest::newRow("beyond the list") << 2 << true;
    QTest::newRow("the layout") << 1 << false;
}

void tst_PetReading::layoutChoice()
{
    QFETCH(int, layoutNo);
    QFETCH(bool, fixed);
    QList<reportSetting> layouts {layout(RKPet, {})};
    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G"), &layouts, layoutNo));
    if (fixed)
        QVERIFY(engine.reportHtml.contains(QLatin1String("Pet Numerology Chart")));
    else
        QCOMPARE(engine.reportHtml, emptyDocument(QStringLiteral("Pet Numerology Report")));
}

void tst_PetReading::layoutSections_data()
{
    QTest::addColumn<Ints>("types");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("unknown types") << Ints {4, 99} << QStringList() << QStringList();
    QTest::newRow("only the known one of 5 and 1")
        << Ints {5, 1} << QStringList {"Pet number 3/12</font></h2>", "pet-general", "pet-number3"}
        << QStringList {"Pet Numerology Chart", "forecast-code5"};
    QTest::newRow("repeated") << Ints {2, 2}
                              << QStringList {"Day Forecast for Mar 5 2024</font>",
                                              "forecast-code5",
                                              "Day Forecast for Mar 5 2024</font>",
                                              "forecast-code5"}
                              << QStringList {"pet-general"};
    QTest::newRow("header in the default look")
        << Ints {0}
        << QStringList {"color:#000000;\">Pet Numerology Chart</font>", "Forecast Day Code 5"}
        << QStringList {"pet-general"};
    QTest::newRow("custom text") << Ints {3}
                                 << QStringList {"Custom Text </font>", "Your custom text here"}
                                 << QStringList {"pet-general"};
}

void tst_PetReading::layoutSections()
{
    QFETCH(Ints, types);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    QList<reportSetting> layouts {layout(RKPet, types)};
    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G"), &layouts, 1));
    if (present.isEmpty()) {
        QCOMPARE(engine.reportHtml, emptyDocument(QStringLiteral("Pet Numerology Report")));
        return;
    }
    int at = 0;
    for (const QString &piece : present) {
        const int found = engine.reportHtml.indexOf(piece, at);
        QVERIFY2(found >= at, qPrintable(piece));
        at = found + piece.size();
    }
    for (const QString &piece : absent)
        QVERIFY2(!engine.reportHtml.contains(piece), qPrintable(piece));
}

void tst_PetReading::layoutHeader()
{
    QList<reportSetting> layouts {layout(RKPet, {0, 1, 3}, false)};
    repItem &header = layouts[0].items[RKPet][0];
    header.headerColor = QColor(0x12, 0x34, 0x56);
    header.contentColor = QColor(0x65, 0x43, 0x21);
    repItem &number = layouts[0].items[RKPet][1];
    number.useStdText[3] = false;
    number.texts[3] = customHtml(QStringLiteral("my three"));
    repItem &custom = layouts[0].items[RKPet][2];
    custom.useStdText[0] = false;
    custom.texts[0] = customHtml(QStringLiteral("my words"));

    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G"), &layouts, 1));
    const QString &html = engine.reportHtml;
    QVERIFY(html.contains(QLatin1String("color:#123456;\">My title 0</font></h2>")));
    QVERIFY(html.contains(QLatin1String(
        "<p><font style=\"font-size: 16px; face:'Arial'; color:#654321;\">Pet number 3/12<br />")));
    QVERIFY(!html.contains(QLatin1String("Pet Numerology Chart")));
    QVERIFY(html.contains(QLatin1String("My title 1 3/12</font></h2>")));
    QVERIFY(html.contains(QLatin1String("pet-general")));
    QVERIFY(html.contains(QLatin1String("my three")));
    QVERIFY(!html.contains(QLatin1String("pet-number3")));
    QVERIFY(html.contains(QLatin1String("my words")));
    QVERIFY(!html.contains(QLatin1String("Your custom text here")));
}

void tst_PetReading::layoutImages_data()
{
    QTest::addColumn<QString>("hideAll");
    QTest::addColumn<QString>("hideImage");
    QTest::addColumn<bool>("shown");

    QTest::newRow("shown") << QString() << QString() << true;
    QTest::newRow("layout hides") << "TRUE" << QString() << false;
    QTest::newRow("lower-case flag") << "true" << QString() << true;
    QTest::newRow("item hides") << QString() << "TRUE" << false;
}

void tst_PetReading::layoutImages()
{
    QFETCH(QString, hideAll);
    QFETCH(QString, hideImage);
    QFETCH(bool, shown);

    reportSetting setting = layout(RKPet, {1}, false);
    setting.items[RKPet][0].images[0] = redSquare();
    if (!hideAll.isNull())
        setting.flags.insert(QStringLiteral("RTPet-hide-images"), hideAll);
    if (!hideImage.isNull())
        setting.items[RKPet][0].options.insert(QStringLiteral("hide-image"), hideImage);
    QList<reportSetting> layouts {setting};
    CNumerology engine;
    QVERIFY(pet(engine, QStringLiteral("Dira G"), &layouts, 1));
    QCOMPARE(engine.reportHtml.contains(QLatin1String("<img src = \"data:image/png;base64,")),
             shown);
    // The pet reading has no section pictures of its own.
    QVERIFY(!engine.reportHtml.contains(QLatin1String("file:///")));
}

QTEST_GUILESS_MAIN(tst_PetReading)
#include "tst_petreading.moc"
