#include "layouts/defaultlayout.h"

#include <QtTest>

using Section = QPair<int, QString>;
using Sections = QList<Section>;

class TestDefaultLayout : public QObject
{
    Q_OBJECT

private slots:
    void names();
    void getItemName_data();
    void getItemName();
    void defaultLayout_data();
    void defaultLayout();
    void defaultLayoutFlagsAndStyle();
    void defaultLayoutKeepsWhatWasThere();
};

void TestDefaultLayout::names()
{
    const QList<QStringList> &names = itemNames();
    QCOMPARE(names.size(), ReportKindCount);
    const int sizes[ReportKindCount] = {36, 19, 12, 5, 4};
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        QCOMPARE(names.at(kind).size(), sizes[kind]);
        QCOMPARE(names.at(kind).first(), QStringLiteral("Header"));
        QCOMPARE(names.at(kind).last(), QStringLiteral("Custom Text"));
    }
}

void TestDefaultLayout::getItemName_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");

    QTest::newRow("0/0") << 0 << 0 << "Header";
    QTest::newRow("0/2 keeps its spelling") << 0 << 2 << "Brithday";
    QTest::newRow("0/13") << 0 << 13 << "Subconscious Confid.";
    QTest::newRow("0/28") << 0 << 28 << "PE Mental";
    QTest::newRow("0/32") << 0 << 32 << "Bridge LP+E";
    QTest::newRow("0/35 last") << 0 << 35 << "Custom Text";
    QTest::newRow("0/36 past the end") << 0 << 36 << QString();
    QTest::newRow("0/-1") << 0 << -1 << QString();
    QTest::newRow("1/11") << 1 << 11 << "Family Formation";
    QTest::newRow("1/18 last") << 1 << 18 << "Custom Text";
    QTest::newRow("1/19 past the end") << 1 << 19 << QString();
    QTest::newRow("2/7") << 2 << 7 << "Detailed Birthday";
    QTest::newRow("2/12 past the end") << 2 << 12 << QString();
    QTest::newRow("3/3") << 3 << 3 << "Expression";
    QTest::newRow("3/5 past the end") << 3 << 5 << QString();
    QTest::newRow("4/2") << 4 << 2 << "Day Forecast";
    QTest::newRow("4/3 last") << 4 << 3 << "Custom Text";
    QTest::newRow("4/4 past the end") << 4 << 4 << QString();
    QTest::newRow("kind 5") << 5 << 0 << QString();
    QTest::newRow("kind -1") << -1 << 0 << QString();
}

void TestDefaultLayout::getItemName()
{
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(QString, name);
    QCOMPARE(::getItemName(kind, type), name);
}

void TestDefaultLayout::defaultLayout_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<Sections>("sections");

    QTest::newRow("numerology") << int(RKNumerology)
                                << Sections {{0, "Numerology Chart for"},
                                             {1, "Life Path Number"},
                                             {2, "Birthday Number"},
                                             {3, "Expression Number"},
                                             {4, "Minor Expression Number"},
                                             {5, "Heart Desire Number"},
                                             {6, "Minor Heart Desire Number"},
                                             {25, "Compound Number"},
                                             {7, "Personality Number"},
                                             {21, "Minor Personality Number"},
                                             {22, "Karmic Debts Numbers"},
                                             {8, "Maturity Number"},
                                             {9, "Rational Thought Number"},
                                             {10, "Karmic Lessons Number"},
                                             {11, "Balance Number"},
                                             {12, "Hidden Passion Number"},
                                             {13, "Subconscious Confidence Number"},
                                             {26, "Planes of Expression"},
                                             {28, "Planes of Expression Mental Number"},
                                             {27, "Planes of Expression Physical Number"},
                                             {29, "Planes of Expression Emotional Number"},
                                             {30, "Planes of Expression Intuitive Number"},
                                             {14, "Pinnacles Numbers"},
                                             {15, "Challenges Numbers"},
                                             {31, "Bridge Life Path - Expression"},
                                             {32, ""},
                                             {33, "Bridge Heart's Desire - Personality"},
                                             {34, ""},
                                             {16, "Personal Year Number:"},
                                             {17, "Personal Month Number:"},
                                             {18, "Personal Day Number:"},
                                             {19, "Transits for age"},
                                             {20, "Essence for age"}};
    QTest::newRow("psycho matrix") << int(RKPsychoMatrix)
                                   << Sections {{0, "Numerology Psychomatrix Chart for"},
                                                {1, "Character (1)"},
                                                {2, "Energy (2)"},
                                                {3, "Interest (3)"},
                                                {4, "Health (4)"},
                                                {5, "Intuition (5)"},
                                                {6, "Labour (6)"},
                                                {7, "Luck (7)"},
                                                {8, "Duty (8)"},
                                                {9, "Memory (9)"},
                                                {10, "Purposeful (1-4-7)"},
                                                {11, "Family formation (2-5-8)"},
                                                {12, "Stability (3-6-9)"},
                                                {13, "Self appraisal (1-2-3)"},
                                                {14, "Finance (4-5-6)"},
                                                {15, "Talent (7-8-9)"},
                                                {16, "Spirituality (1-5-9)"},
                                                {17, "Sexual life (3-5-7)"}};
    QTest::newRow("love") << int(RKLoveCompatibility)
                          << Sections {{0, "Numerology Compatibility Report"},
                                       {1, "Life Path Compatibility"},
                                       {2, "Birthday Compatibility"},
                                       {7, ""},
                                       {3, "Name Compatibility"},
                                       {4, "Psycho-matrix"},
                                       {5, "Family"},
                                       {8, "Character"},
                                       {9, "Energy"},
                                       {6, "Carnal Interests"},
                                       {10, "Final"}};
    QTest::newRow("celebrities") << int(RKCelebrities)
                                 << Sections {{0, "Celebrities Report for"},
                                              {1, "Celebrities with same Life Path"},
                                              {2, "Celebrities with same Birth day"},
                                              {3, "Celebrities with same Expression number"}};
    QTest::newRow("pet") << int(RKPet)
                         << Sections {{0, "Pet Numerology Chart"},
                                      {1, "Pet number"},
                                      {2, "Day Forecast for"}};
}

void TestDefaultLayout::defaultLayout()
{
    QFETCH(int, kind);
    QFETCH(Sections, sections);

    reportSetting setting;
    initialDefSetting(&setting);
    const QList<repItem> &items = setting.items[kind];
    QCOMPARE(items.size(), sections.size());
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(int(items.at(i).type), sections.at(i).first);
        QCOMPARE(items.at(i).title, sections.at(i).second);
        QCOMPARE(items.at(i).kind, kind);
        // Every id in the default layout has a name, and it is not the
        // "Custom Text" of the end of the table.
        QVERIFY(!::getItemName(kind, int(items.at(i).type)).isEmpty());
        QVERIFY(::getItemName(kind, int(items.at(i).type)) != QLatin1String("Custom Text"));
    }
}

void TestDefaultLayout::defaultLayoutFlagsAndStyle()
{
    reportSetting setting;
    initialDefSetting(&setting);
    QCOMPARE(setting.flags, (QMap<QString, QString> {{"UPDATE1", "TRUE"}, {"UPDATE2", "TRUE"}}));
    QVERIFY(setting.name.isNull());

    const repItem defaults;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            QCOMPARE(item.headerFont, defaults.headerFont);
            QCOMPARE(item.contentFont, defaults.contentFont);
            QCOMPARE(item.headerColor, defaults.headerColor);
            QCOMPARE(item.contentColor, defaults.contentColor);
            QVERIFY(item.defaultStyle);
            QCOMPARE(item.texts.size(), 256);
            QCOMPARE(item.images.size(), 256);
            QCOMPARE(item.useStdText.size(), 256);
            QVERIFY(item.options.isEmpty());
            QVERIFY(item.name.isEmpty());
        }
    }
}

void TestDefaultLayout::defaultLayoutKeepsWhatWasThere()
{
    reportSetting setting;
    setting.name = QStringLiteral("Mine");
    ::addItemSet(&setting.items[RKPet], RKPet, 3, QStringLiteral("Kept"));
    setting.flags.insert(QStringLiteral("RTPet-hide-images"), QStringLiteral("TRUE"));
    initialDefSetting(&setting);

    QCOMPARE(setting.name, QStringLiteral("Mine"));
    QCOMPARE(setting.items[RKPet].size(), 4);
    QCOMPARE(setting.items[RKPet].first().title, QStringLiteral("Kept"));
    QCOMPARE(setting.items[RKPet].at(1).title, QStringLiteral("Pet Numerology Chart"));
    QCOMPARE(setting.flags.size(), 3);
}

QTEST_GUILESS_MAIN(TestDefaultLayout)
#include "tst_defaultlayout.moc"
