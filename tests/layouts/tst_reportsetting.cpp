#include "layouts/reportsetting.h"

#include <QtTest>

class TestReportSetting : public QObject
{
    Q_OBJECT

private slots:
    void newItemDefaults();
    void kindTable_data();
    void kindTable();
    void selectLayout_data();
    void selectLayout();
    void sectionImage_data();
    void sectionImage();
};

void TestReportSetting::newItemDefaults()
{
    const repItem item;
    QCOMPARE(item.headerFont.family(), QStringLiteral("Arial"));
    QCOMPARE(item.headerFont.pixelSize(), 18);
    QCOMPARE(item.headerFont.weight(), 75);
    QVERIFY(!item.headerFont.italic());
    QCOMPARE(item.contentFont.family(), QStringLiteral("Arial"));
    QCOMPARE(item.contentFont.pixelSize(), 16);
    QCOMPARE(item.contentFont.weight(), 50);
    QVERIFY(!item.contentFont.italic());
    QCOMPARE(item.headerColor, QColor(0, 0, 0, 255));
    QCOMPARE(item.contentColor, QColor(0, 0, 0, 255));
    QVERIFY(item.defaultStyle);
    QVERIFY(item.name.isEmpty());
    QVERIFY(item.title.isEmpty());
    QVERIFY(item.options.isEmpty());

    QCOMPARE(item.texts.size(), 256);
    QCOMPARE(item.images.size(), 256);
    QCOMPARE(item.useStdText.size(), 256);
    for (int i = 0; i < 256; ++i) {
        QVERIFY(item.texts.at(i).isNull());
        QVERIFY(item.images.at(i).isNull());
        QVERIFY(item.useStdText.at(i));
    }
}

void TestReportSetting::kindTable_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hideKey");

    QTest::newRow("numerology") << 0 << "Numerology"
                                << "RTNumerology-hide-images";
    QTest::newRow("psycho matrix") << 1 << "Psycho Matrix"
                                   << "RTPsychoMatrix-hide-images";
    QTest::newRow("love") << 2 << "Love Compatibility"
                          << "RTLoveCompatibility-hide-images";
    QTest::newRow("celebrities") << 3 << "Celebrities"
                                 << "RTCelebrities-hide-images";
    QTest::newRow("pet") << 4 << "Pet"
                         << "RTPet-hide-images";
    QTest::newRow("past the end") << 5 << QString() << QString();
    QTest::newRow("negative") << -1 << QString() << QString();
}

void TestReportSetting::kindTable()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, hideKey);
    QCOMPARE(reportKindCaption(kind), caption);
    QCOMPARE(hideImagesKey(kind), hideKey);
}

void TestReportSetting::selectLayout_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("expectedIndex"); // -1: the built-in report

    QTest::newRow("zero") << 3 << 0 << -1;
    QTest::newRow("negative") << 3 << -1 << -1;
    QTest::newRow("most negative") << 3 << std::numeric_limits<int>::min() << -1;
    QTest::newRow("first") << 3 << 1 << 0;
    QTest::newRow("last") << 3 << 3 << 2;
    QTest::newRow("one past the end") << 3 << 4 << -1;
    QTest::newRow("largest") << 3 << std::numeric_limits<int>::max() << -1;
    QTest::newRow("empty list") << 0 << 1 << -1;
    QTest::newRow("no list") << -1 << 1 << -1;
}

void TestReportSetting::selectLayout()
{
    QFETCH(int, count);
    QFETCH(int, position);
    QFETCH(int, expectedIndex);

    QList<reportSetting> list;
    for (int i = 0; i < count; ++i) {
        reportSetting setting;
        setting.name = QString::number(i);
        list.append(setting);
    }
    const reportSetting *chosen = ::selectLayout(count < 0 ? nullptr : &list, position);
    if (expectedIndex < 0) {
        QVERIFY(!chosen);
    } else {
        QVERIFY(chosen);
        QCOMPARE(chosen, &list.at(expectedIndex));
    }
}

void TestReportSetting::sectionImage_data()
{
    QTest::addColumn<bool>("withImages");
    QTest::addColumn<bool>("hideAllFlag"); // the setting's flag holds "TRUE"
    QTest::addColumn<QString>("settingValue");
    QTest::addColumn<QString>("itemValue"); // null: no "hide-image" key
    QTest::addColumn<bool>("shown");

    QTest::newRow("nothing hides it") << true << false << QString() << QString() << true;
    QTest::newRow("item hides it") << true << false << QString() << "TRUE" << false;
    QTest::newRow("item shows it") << true << false << QString() << "FALSE" << true;
    QTest::newRow("lower-case true") << true << false << QString() << "true" << true;
    QTest::newRow("setting hides all") << true << true << "TRUE" << QString() << false;
    QTest::newRow("setting lower-case") << true << false << "True" << QString() << true;
    QTest::newRow("no images") << false << false << QString() << QString() << false;
}

void TestReportSetting::sectionImage()
{
    QFETCH(bool, withImages);
    QFETCH(bool, hideAllFlag);
    QFETCH(QString, settingValue);
    QFETCH(QString, itemValue);
    QFETCH(bool, shown);

    repItem item;
    if (!withImages)
        item.images.clear();
    if (!itemValue.isNull())
        item.options.insert(QStringLiteral("hide-image"), itemValue);
    reportSetting setting;
    if (!settingValue.isNull())
        setting.flags.insert(hideImagesKey(RKPet), settingValue);

    const bool hideAll = isOptionSet(setting.flags, hideImagesKey(RKPet));
    QCOMPARE(hideAll, hideAllFlag);
    QCOMPARE(showsSectionImage(item, hideAll), shown);
}

QTEST_GUILESS_MAIN(TestReportSetting)
#include "tst_reportsetting.moc"
