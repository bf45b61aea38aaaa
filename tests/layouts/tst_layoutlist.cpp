#include "layouts/defaultlayout.h"
#include "layouts/layoutlist.h"

#include <QTest>

// The rules behind the Report Manager's commands on its list of settings.
class TestLayoutList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nameCheck_data();
    void nameCheck();
    void forbiddenMessage();
    void newSetting_data();
    void newSetting();
    void removeSetting_data();
    void removeSetting();
    void availableFields_data();
    void availableFields();
    void sectionControls_data();
    void sectionControls();
    void padEntries();
};

namespace {

QList<reportSetting> named(const QStringList &names)
{
    QList<reportSetting> list;
    for (const QString &name : names) {
        reportSetting setting;
        setting.name = name;
        list.append(setting);
    }
    return list;
}

} // namespace

void TestLayoutList::nameCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");

    const QString forbidden = settingNameMessage(SettingNameError::Forbidden, QString());
    QTest::newRow("empty") << QString() << int(SettingNameError::Empty) << "Wrong name!";
    for (const QChar c : QStringLiteral("/?><:*|\\\"")) {
        QTest::addRow("character %c", c.toLatin1())
            << QStringLiteral("my%1name").arg(c) << int(SettingNameError::Forbidden) << forbidden;
    }
    QTest::newRow("default inside")
        << "My Default Layout" << int(SettingNameError::Forbidden) << forbidden;
    QTest::newRow("DEFAULT2") << "DEFAULT2" << int(SettingNameError::Forbidden) << forbidden;
    QTest::newRow("in use, other case")
        << "alpha" << int(SettingNameError::InUse) << "Name \"alpha\" is already in use.";
    QTest::newRow("own name") << "Alpha" << int(SettingNameError::InUse)
                              << "Name \"Alpha\" is already in use.";
    QTest::newRow("only case changed")
        << "ALPHA" << int(SettingNameError::InUse) << "Name \"ALPHA\" is already in use.";
    QTest::newRow("dot") << "a.b" << int(SettingNameError::None) << QString();
    QTest::newRow("blanks inside") << "My Layout" << int(SettingNameError::None) << QString();
    QTest::newRow("blanks only") << "   " << int(SettingNameError::None) << QString();
    // Not trimmed: a blank makes it another name.
    QTest::newRow("alpha with blank") << "alpha " << int(SettingNameError::None) << QString();
}

void TestLayoutList::nameCheck()
{
    QFETCH(QString, name);
    QFETCH(int, error);
    QFETCH(QString, message);
    const QList<reportSetting> settings = named({"Beta", "Alpha"});
    const SettingNameError found = checkSettingName(name, settings);
    QCOMPARE(int(found), error);
    QCOMPARE(settingNameMessage(found, name), message);
}

void TestLayoutList::forbiddenMessage()
{
    const QString text = settingNameMessage(SettingNameError::Forbidden, QString());
    QCOMPARE(text.size(), 71);
    QCOMPARE(text.count(QLatin1Char('"')), 5);
    QCOMPARE(text.count(QLatin1Char('\\')), 1);
    QVERIFY(text.endsWith(QLatin1String("\"default\" are forbidden!")));
}

void TestLayoutList::newSetting_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("expected"); // "default", "copy", "empty"

    QTest::newRow("new") << 2 << 1 << int(NewSettingSource::Default) << "default";
    QTest::newRow("new, empty list") << 0 << -1 << int(NewSettingSource::Default) << "default";
    QTest::newRow("copy of row 1") << 2 << 1 << int(NewSettingSource::Copy) << "copy";
    QTest::newRow("copy, empty list") << 0 << -1 << int(NewSettingSource::Copy) << "default";
    QTest::newRow("copy, no current row") << 2 << -1 << int(NewSettingSource::Copy) << "empty";
    QTest::newRow("copy, row out of range") << 2 << 2 << int(NewSettingSource::Copy) << "empty";
    QTest::newRow("unknown source") << 2 << 0 << 7 << "empty";
}

void TestLayoutList::newSetting()
{
    QFETCH(int, count);
    QFETCH(int, currentRow);
    QFETCH(int, source);
    QFETCH(QString, expected);

    QList<reportSetting> settings = named(QStringList({"One", "Two"}).mid(0, count));
    for (reportSetting &setting : settings) {
        addItemSet(&setting.items[RKPet], RKPet, 2, setting.name + QStringLiteral(" forecast"));
        setting.flags.insert(QStringLiteral("RTPet-hide-images"), QStringLiteral("TRUE"));
    }
    const reportSetting made = makeNewSetting(settings, currentRow, source, QStringLiteral("New"));
    QCOMPARE(made.name, QStringLiteral("New"));

    reportSetting reference;
    if (expected == QLatin1String("default"))
        initialDefSetting(&reference);
    else if (expected == QLatin1String("copy"))
        reference = settings.at(currentRow);
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        QCOMPARE(made.items[kind].size(), reference.items[kind].size());
        for (int i = 0; i < made.items[kind].size(); ++i) {
            QCOMPARE(made.items[kind].at(i).type, reference.items[kind].at(i).type);
            QCOMPARE(made.items[kind].at(i).title, reference.items[kind].at(i).title);
        }
    }
    QCOMPARE(made.flags, reference.flags);
}

void TestLayoutList::removeSetting_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("nextRow");
    QTest::addColumn<int>("remaining");

    QTest::newRow("third of five") << 5 << 2 << 1 << 4;
    QTest::newRow("first of five") << 5 << 0 << 0 << 4;
    QTest::newRow("last of five") << 5 << 4 << 3 << 4;
    QTest::newRow("only one") << 1 << 0 << -1 << 0;
    QTest::newRow("no row") << 3 << -1 << -2 << 3;
    QTest::newRow("row past the end") << 3 << 3 << -2 << 3;
}

void TestLayoutList::removeSetting()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(int, nextRow);
    QFETCH(int, remaining);
    QList<reportSetting> settings = named(QStringList({"A", "B", "C", "D", "E"}).mid(0, count));
    const QString removed = row >= 0 && row < count ? settings.at(row).name : QString();
    QCOMPARE(::removeSetting(&settings, row), nextRow);
    QCOMPARE(settings.size(), remaining);
    for (const reportSetting &setting : settings)
        QVERIFY(setting.name != removed);
}

void TestLayoutList::availableFields_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("firstTitle");
    QTest::addColumn<int>("customType");

    QTest::newRow("Numerology") << int(RKNumerology) << 34 << "Numerology Chart for" << 35;
    QTest::newRow("Psycho Matrix")
        << int(RKPsychoMatrix) << 19 << "Numerology Psychomatrix Chart for" << 18;
    QTest::newRow("Love Compatibility")
        << int(RKLoveCompatibility) << 12 << "Numerology Compatibility Report" << 11;
    QTest::newRow("Celebrities") << int(RKCelebrities) << 5 << "Celebrities Report for" << 4;
    QTest::newRow("Pet") << int(RKPet) << 4 << "Pet Numerology Chart" << 3;
    QTest::newRow("out of range") << 5 << 0 << QString() << -1;
}

void TestLayoutList::availableFields()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    QFETCH(QString, firstTitle);
    QFETCH(int, customType);
    const QList<FieldTemplate> fields = ::availableFields(kind);
    QCOMPARE(fields.size(), count);
    if (count == 0)
        return;
    QCOMPARE(fields.first().type, 0);
    QCOMPARE(fields.first().title, firstTitle);
    QCOMPARE(fields.last().type, customType);
    QCOMPARE(fields.last().title, QStringLiteral("Custom Text"));
    QSet<int> types;
    for (const FieldTemplate &field : fields) {
        QVERIFY2(!getItemName(kind, field.type).isEmpty(), qPrintable(field.title));
        types.insert(field.type);
    }
    QCOMPARE(types.size(), count); // every type once
    if (kind == RKNumerology) {
        QVERIFY(!types.contains(23));
        QVERIFY(!types.contains(24));
    }
}

void TestLayoutList::sectionControls_data()
{
    QTest::addColumn<bool>("selected");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("defaultStyle");
    QTest::addColumn<QString>("hideImage");
    QTest::addColumn<QString>("expected"); // default enabled/checked, style, edit, hide ticked

    QTest::newRow("nothing selected") << false << 0 << 1 << false << "TRUE"
                                      << "01000";
    QTest::newRow("default style") << true << 0 << 1 << true << QString() << "11000";
    QTest::newRow("own style") << true << 0 << 1 << false << QString() << "10110";
    QTest::newRow("hide image TRUE") << true << 0 << 1 << false << "TRUE"
                                     << "10111";
    QTest::newRow("hide image lower case") << true << 0 << 1 << false << "true"
                                           << "10110";
    QTest::newRow("numerology header") << true << 0 << 0 << false << QString() << "10100";
    QTest::newRow("psycho matrix header") << true << 1 << 0 << false << QString() << "10100";
    QTest::newRow("celebrities header") << true << 3 << 0 << false << QString() << "10100";
    QTest::newRow("pet header") << true << 4 << 0 << false << QString() << "10100";
    QTest::newRow("love header") << true << 2 << 0 << false << QString() << "10110";
    QTest::newRow("love psycho-matrix") << true << 2 << 4 << false << QString() << "10100";
    QTest::newRow("love family") << true << 2 << 5 << false << QString() << "10110";
}

void TestLayoutList::sectionControls()
{
    QFETCH(bool, selected);
    QFETCH(int, kind);
    QFETCH(int, type);
    QFETCH(bool, defaultStyle);
    QFETCH(QString, hideImage);
    QFETCH(QString, expected);
    repItem item;
    item.kind = kind;
    item.type = uint(type);
    item.defaultStyle = defaultStyle;
    if (!hideImage.isNull())
        item.options.insert(QStringLiteral("hide-image"), hideImage);
    const SectionControls c = ::sectionControls(selected ? &item : nullptr);
    const auto bit = [](bool b) {
        return b ? QLatin1Char('1') : QLatin1Char('0');
    };
    QString found;
    found += bit(c.defaultEnabled);
    found += bit(c.defaultChecked);
    found += bit(c.styleEnabled);
    found += bit(c.editEnabled);
    found += bit(c.hideImageChecked);
    QCOMPARE(found, expected);
}

void TestLayoutList::padEntries()
{
    QStringList texts = {QStringLiteral("a"), QStringLiteral("b")};
    QList<QImage> images;
    QList<bool> flags = {false};
    ::padEntries(&texts, &images, &flags);
    QCOMPARE(texts.size(), repItem::EntryCount);
    QCOMPARE(images.size(), repItem::EntryCount);
    QCOMPARE(flags.size(), repItem::EntryCount);
    QCOMPARE(texts.at(1), QStringLiteral("b"));
    QVERIFY(texts.at(2).isNull());
    QCOMPARE(flags.at(0), false);
    QCOMPARE(flags.at(255), true);

    // Longer lists keep their entries.
    texts = QStringList();
    for (int i = 0; i < 300; ++i)
        texts.append(QString::number(i));
    ::padEntries(&texts, &images, &flags);
    QCOMPARE(texts.size(), 300);
}

QTEST_GUILESS_MAIN(TestLayoutList)
#include "tst_layoutlist.moc"
