#include "layouts/defaultlayout.h"
#include "layouts/layoutmigration.h"

#include <QtTest>

using Types = QList<int>;
using Flags = QMap<QString, QString>;

namespace {

QList<repItem> itemsOf(int kind, const Types &types)
{
    QList<repItem> items;
    for (int type : types)
        addItemSet(&items, kind, type, QStringLiteral("kept %1").arg(type));
    return items;
}

Types typesOf(const QList<repItem> &items)
{
    Types types;
    for (const repItem &item : items)
        types.append(int(item.type));
    return types;
}

const QString update1 = QStringLiteral("UPDATE1");
const QString update2 = QStringLiteral("UPDATE2");

} // namespace

class TestLayoutMigration : public QObject
{
    Q_OBJECT

private slots:
    void migrate_data();
    void migrate();
    void insertedSections();
    void defaultLayoutGetsOnlyTheFlag();
};

void TestLayoutMigration::migrate_data()
{
    QTest::addColumn<Flags>("flags");
    QTest::addColumn<Types>("numerology");
    QTest::addColumn<Types>("love");
    QTest::addColumn<Types>("expectedNumerology");
    QTest::addColumn<Types>("expectedLove");

    const Flags none;
    QTest::newRow("both steps") << none << Types {0, 13, 15} << Types {0, 5, 6}
                                << Types {0, 13, 26, 28, 27, 29, 30, 15, 31, 32, 33, 34}
                                << Types {0, 5, 8, 9, 6, 10};
    QTest::newRow("planes already there")
        << none << Types {0, 13, 28, 15} << Types {0, 5, 6} << Types {0, 13, 28, 15, 31, 32, 33, 34}
        << Types {0, 5, 6};
    QTest::newRow("bridges already there")
        << none << Types {0, 13, 15, 33} << Types {5} << Types {0, 13, 26, 28, 27, 29, 30, 15, 33}
        << Types {5, 8, 9, 10};
    QTest::newRow("empty numerology still gets love sections")
        << none << Types {} << Types {0, 5, 6} << Types {} << Types {0, 5, 8, 9, 6, 10};
    QTest::newRow("no anchors") << none << Types {0, 1, 2} << Types {0, 1} << Types {0, 1, 2}
                                << Types {0, 1};
    QTest::newRow("first anchor only")
        << none << Types {13, 15, 13, 15} << Types {5, 5}
        << Types {13, 26, 28, 27, 29, 30, 15, 31, 32, 33, 34, 13, 15} << Types {5, 8, 9, 5, 10};
    QTest::newRow("anchors at the end")
        << none << Types {15, 13} << Types {5} << Types {15, 31, 32, 33, 34, 13, 26, 28, 27, 29, 30}
        << Types {5, 8, 9, 10};
    QTest::newRow("step 1 done") << Flags {{update1, "TRUE"}} << Types {0, 13, 15} << Types {0, 5}
                                 << Types {0, 13, 15, 31, 32, 33, 34} << Types {0, 5};
    QTest::newRow("step 1 done, any value")
        << Flags {{update1, "FALSE"}} << Types {13} << Types {5} << Types {13} << Types {5};
    QTest::newRow("empty value is not done")
        << Flags {{update1, ""}, {update2, ""}} << Types {13, 15} << Types {5}
        << Types {13, 26, 28, 27, 29, 30, 15, 31, 32, 33, 34} << Types {5, 8, 9, 10};
    QTest::newRow("both done") << Flags {{update1, "TRUE"}, {update2, "TRUE"}} << Types {13, 15}
                               << Types {5} << Types {13, 15} << Types {5};
}

void TestLayoutMigration::migrate()
{
    QFETCH(Flags, flags);
    QFETCH(Types, numerology);
    QFETCH(Types, love);
    QFETCH(Types, expectedNumerology);
    QFETCH(Types, expectedLove);

    reportSetting setting;
    setting.flags = flags;
    setting.items[RKNumerology] = itemsOf(RKNumerology, numerology);
    setting.items[RKLoveCompatibility] = itemsOf(RKLoveCompatibility, love);
    migrateReportSetting(&setting);

    QCOMPARE(typesOf(setting.items[RKNumerology]), expectedNumerology);
    QCOMPARE(typesOf(setting.items[RKLoveCompatibility]), expectedLove);
    QVERIFY(!setting.flags.value(update1).isEmpty());
    QVERIFY(!setting.flags.value(update2).isEmpty());
    if (flags.value(update1).isEmpty())
        QCOMPARE(setting.flags.value(update1), QStringLiteral("TRUE"));
    if (flags.value(update2).isEmpty())
        QCOMPARE(setting.flags.value(update2), QStringLiteral("TRUE"));

    // A second run changes nothing.
    const reportSetting once = setting;
    migrateReportSetting(&setting);
    QCOMPARE(typesOf(setting.items[RKNumerology]), typesOf(once.items[RKNumerology]));
    QCOMPARE(typesOf(setting.items[RKLoveCompatibility]), typesOf(once.items[RKLoveCompatibility]));
}

void TestLayoutMigration::insertedSections()
{
    reportSetting setting;
    setting.items[RKNumerology] = itemsOf(RKNumerology, {13, 15});
    setting.items[RKNumerology][0].defaultStyle = false;
    setting.items[RKLoveCompatibility] = itemsOf(RKLoveCompatibility, {5});
    migrateReportSetting(&setting);

    const QList<repItem> &numerology = setting.items[RKNumerology];
    const QStringList numerologyTitles {"kept 13",
                                        "Planes of Expression",
                                        "Planes of Expression Mental Number",
                                        "Planes of Expression Physical Number",
                                        "Planes of Expression Emotional Number",
                                        "Planes of Expression Intuitive Number",
                                        "kept 15",
                                        "Bridge Life Path - Expression",
                                        "",
                                        "Bridge Heart's Desire - Personality",
                                        ""};
    QCOMPARE(numerology.size(), numerologyTitles.size());
    const repItem defaults;
    for (int i = 0; i < numerology.size(); ++i) {
        QCOMPARE(numerology.at(i).title, numerologyTitles.at(i));
        QCOMPARE(numerology.at(i).kind, int(RKNumerology));
        if (i > 0) {
            QVERIFY(numerology.at(i).defaultStyle);
            QCOMPARE(numerology.at(i).headerFont, defaults.headerFont);
            QCOMPARE(numerology.at(i).texts.size(), 256);
            QVERIFY(numerology.at(i).options.isEmpty());
        }
    }
    QVERIFY(!numerology.first().defaultStyle);

    QStringList loveTitles;
    for (const repItem &item : setting.items[RKLoveCompatibility]) {
        QCOMPARE(item.kind, int(RKLoveCompatibility));
        loveTitles.append(item.title);
    }
    QCOMPARE(loveTitles, (QStringList {"kept 5", "Character", "Energy", "Final"}));
}

void TestLayoutMigration::defaultLayoutGetsOnlyTheFlag()
{
    reportSetting setting;
    initialDefSetting(&setting);
    reportSetting migrated = setting;
    migrateReportSetting(&migrated);
    for (int kind = 0; kind < ReportKindCount; ++kind)
        QCOMPARE(typesOf(migrated.items[kind]), typesOf(setting.items[kind]));
    QCOMPARE(migrated.flags, (Flags {{update1, "TRUE"}, {update2, "TRUE"}}));
}

QTEST_GUILESS_MAIN(TestLayoutMigration)
#include "tst_layoutmigration.moc"
