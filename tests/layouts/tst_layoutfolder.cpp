#include "layouts/layoutfile.h"
#include "layouts/layoutfolder.h"

#include "heavylayouts.h"
#include "layoutfixtures.h"
#include "layouttestutil.h"
#include "testenvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using namespace LayoutTest;

namespace {

reportSetting named(const QString &name, reportSetting setting = reportSetting())
{
    setting.name = name;
    return setting;
}

reportSetting defaultLayout(const QString &name)
{
    reportSetting setting;
    initialDefSetting(&setting);
    setting.name = name;
    return setting;
}

QStringList namesOf(const QList<reportSetting> &list)
{
    QStringList names;
    for (const reportSetting &setting : list)
        names.append(setting.name);
    return names;
}

QStringList layoutFiles(const QString &folder)
{
    return QDir(folder).entryList(QStringList(QStringLiteral("*.zqnr")), QDir::Files, QDir::Name);
}

QByteArray fileBytes(const reportSetting &setting)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeReportSetting(&buffer, setting);
    return bytes;
}

QByteArray withoutFlags(const reportSetting &setting)
{
    QByteArray bytes = fileBytes(setting);
    QByteArray flags;
    QDataStream stream(&flags, QIODevice::WriteOnly);
    stream.setVersion(LayoutStreamVersion);
    stream << setting.flags;
    bytes.chop(flags.size());
    return bytes;
}

QList<int> typesOf(const QList<repItem> &items)
{
    QList<int> types;
    for (const repItem &item : items)
        types.append(int(item.type));
    return types;
}

} // namespace

class TestLayoutFolder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFolder();
    void loadOrder_data();
    void loadOrder();
    void roundTrip();
    void versionOneWrittenBackAsTwo();
    void fileWithoutFlagsIsMigrated();
    void renameAndDelete();
    void skippedFilesSurvive();
    void failedWriteDeletesNothing();
    void badNames();
    void staleNames_data();
    void staleNames();
    void caseSensitivityOfThisFileSystem();

private:
    QString folder() const { return m_dir->path() + QStringLiteral("/Lumaro Numerology"); }
    QString path(const QString &file) const { return folder() + QLatin1Char('/') + file; }

    QScopedPointer<QTemporaryDir> m_dir;
};

void TestLayoutFolder::init()
{
    m_dir.reset(new QTemporaryDir(TestEnvironment::homePath() + QStringLiteral("/layouts-XXXXXX")));
    QVERIFY(m_dir->isValid());
}

void TestLayoutFolder::missingFolder()
{
    QList<reportSetting> list {named(QStringLiteral("stale"))};
    QStringList loaded {QStringLiteral("stale.zqnr")};
    loadReportSettings(&list, folder(), &loaded);
    QVERIFY(list.isEmpty());
    QVERIFY(loaded.isEmpty());
    QVERIFY(QFileInfo(folder()).isDir());
    QVERIFY(QDir(folder()).isEmpty());

    QVERIFY(QDir(folder()).removeRecursively());
    list = {defaultLayout(QStringLiteral("First"))};
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(layoutFiles(folder()), QStringList {"First.zqnr"});
    QCOMPARE(loaded, QStringList {"First.zqnr"});
}

void TestLayoutFolder::loadOrder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("order");

    QTest::newRow("b A c") << QStringList {"b", "A", "c"} << QStringList {"A", "b", "c"};
    // Sorted by code point, the capitals would come first.
    QTest::newRow("B a C") << QStringList {"B", "a", "C"} << QStringList {"a", "B", "C"};
    QTest::newRow("digits") << QStringList {"a10", "A2", "a1"} << QStringList {"a1", "a10", "A2"};
}

void TestLayoutFolder::loadOrder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, order);

    QDir().mkpath(folder());
    for (const QString &name : files) {
        reportSetting setting;
        addItemSet(&setting.items[RKPet], RKPet, 1, name);
        QVERIFY(writeBytes(path(name + QStringLiteral(".zqnr")), fileBytes(setting)));
    }
    QVERIFY(writeBytes(path(QStringLiteral("notes.txt")), "text"));
    QVERIFY(
        writeBytes(path(files.first() + QStringLiteral(".zqnr.bak")), fileBytes(reportSetting())));

    QList<reportSetting> list;
    QStringList loaded;
    loadReportSettings(&list, folder(), &loaded);
    QCOMPARE(namesOf(list), order);
    QStringList orderedFiles;
    for (const QString &name : order)
        orderedFiles.append(name + QStringLiteral(".zqnr"));
    QCOMPARE(loaded, orderedFiles);
    for (const reportSetting &setting : list)
        QCOMPARE(setting.items[RKPet].first().title, setting.name);
}

void TestLayoutFolder::roundTrip()
{
    QList<reportSetting> list {defaultLayout(QStringLiteral("Standard")),
                               named(QStringLiteral("Mine"), LayoutFixture::customSetting(true))};
    // Sections the user removed from a new layout stay removed.
    QList<repItem> &numerology = list[0].items[RKNumerology];
    numerology.erase(
        std::remove_if(numerology.begin(), numerology.end(),
                       [](const repItem &item) { return item.type >= 31 && item.type <= 34; }),
        numerology.end());
    QStringList loaded;
    QVERIFY(saveReportSettings(&list, folder(), &loaded));

    QList<reportSetting> read;
    loadReportSettings(&read, folder(), &loaded);
    QCOMPARE(namesOf(read), (QStringList {"Mine", "Standard"}));
    QString diff = settingDifference(read.at(1), list.at(0));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    diff = settingDifference(read.at(0), withFilteredTexts(list.at(1)));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    // Once the migrated setting is saved, load and save change no byte.
    QVERIFY(saveReportSettings(&read, folder(), &loaded));
    const QByteArray before = readBytes(path(QStringLiteral("Standard.zqnr")));
    loadReportSettings(&read, folder(), &loaded);
    QVERIFY(saveReportSettings(&read, folder(), &loaded));
    QCOMPARE(readBytes(path(QStringLiteral("Standard.zqnr"))), before);
    QCOMPARE(layoutFiles(folder()), (QStringList {"Mine.zqnr", "Standard.zqnr"}));
}

void TestLayoutFolder::versionOneWrittenBackAsTwo()
{
    QDir().mkpath(folder());
    QVERIFY(QFile::copy(TestEnvironment::dataPath(QStringLiteral("layouts/version1.zqnr")),
                        path(QStringLiteral("Old.zqnr"))));
    QList<reportSetting> list;
    QStringList loaded;
    loadReportSettings(&list, folder(), &loaded);
    QCOMPARE(list.size(), 1);
    QVERIFY(list.first().items[RKNumerology].first().options.isEmpty());

    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QFile file(path(QStringLiteral("Old.zqnr")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(8).toHex(), QByteArray("4c4e525000000002"));
    file.seek(0);
    reportSetting read;
    QVERIFY(readReportSetting(&file, &read));
    read.name = list.first().name;
    const QString diff = settingDifference(read, list.first());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestLayoutFolder::fileWithoutFlagsIsMigrated()
{
    reportSetting old;
    for (int type : {0, 13, 15})
        addItemSet(&old.items[RKNumerology], RKNumerology, type, QString());
    for (int type : {0, 5, 6})
        addItemSet(&old.items[RKLoveCompatibility], RKLoveCompatibility, type, QString());
    QDir().mkpath(folder());
    QVERIFY(writeBytes(path(QStringLiteral("Old.zqnr")), withoutFlags(old)));

    QList<reportSetting> list;
    loadReportSettings(&list, folder());
    QCOMPARE(list.size(), 1);
    const reportSetting &setting = list.first();
    QCOMPARE(setting.flags, (QMap<QString, QString> {{"UPDATE1", "TRUE"}, {"UPDATE2", "TRUE"}}));
    QCOMPARE(typesOf(setting.items[RKNumerology]),
             (QList<int> {0, 13, 26, 28, 27, 29, 30, 15, 31, 32, 33, 34}));
    QCOMPARE(typesOf(setting.items[RKLoveCompatibility]), (QList<int> {0, 5, 8, 9, 6, 10}));

    // Loading does not write: the file is migrated again until it is saved.
    QCOMPARE(readBytes(path(QStringLiteral("Old.zqnr"))), withoutFlags(old));
}

void TestLayoutFolder::renameAndDelete()
{
    QList<reportSetting> list {defaultLayout(QStringLiteral("One")),
                               defaultLayout(QStringLiteral("Two")),
                               defaultLayout(QStringLiteral("Three"))};
    QStringList loaded;
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    loadReportSettings(&list, folder(), &loaded);
    QCOMPARE(namesOf(list), (QStringList {"One", "Three", "Two"}));

    list[2].name = QStringLiteral("Second"); // renamed
    list.removeAt(1); // "Three" deleted
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(layoutFiles(folder()), (QStringList {"One.zqnr", "Second.zqnr"}));
    QCOMPARE(loaded, (QStringList {"One.zqnr", "Second.zqnr"}));

    // A second save of the manager (Folder, then Ok) keeps working from there.
    list[0].name = QStringLiteral("First");
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(layoutFiles(folder()), (QStringList {"First.zqnr", "Second.zqnr"}));
}

void TestLayoutFolder::skippedFilesSurvive()
{
    QDir().mkpath(folder());
    const reportSetting custom = LayoutFixture::customSetting(false);
    QByteArray future = fileBytes(custom);
    future[7] = 3;
    QByteArray alien = fileBytes(custom);
    alien[0] = 'X';
    const QByteArray truncated = fileBytes(custom).left(300);
    QByteArray huge = fileBytes(custom);
    huge[8] = char(0x7f); // kind 0 claims about two billion items
    QByteArray flipped = fileBytes(custom);
    flipped[0x43] = char(flipped.at(0x43) ^ 0x40); // font family length
    // One the reader refuses for the parser's work its text would take.
    const QByteArray heavy
        = HeavyLayout::fileBytes(HeavyLayout::withTexts({HeavyLayout::manyAttributes(40000)}));
    const QMap<QString, QByteArray> skipped {
        {"Future.zqnr", future}, {"Alien.zqnr", alien},     {"Broken.zqnr", truncated},
        {"Huge.zqnr", huge},     {"Flipped.zqnr", flipped}, {"Empty.zqnr", QByteArray()},
        {"Heavy.zqnr", heavy}};
    for (auto it = skipped.begin(); it != skipped.end(); ++it)
        QVERIFY(writeBytes(path(it.key()), it.value()));
    QVERIFY(QDir(folder()).mkdir(QStringLiteral("Folder.zqnr")));
    QVERIFY(writeBytes(path(QStringLiteral("Good.zqnr")), fileBytes(custom)));

    QList<reportSetting> list;
    QStringList loaded;
    QStringList refused {QStringLiteral("from before")};
    QElapsedTimer timer;
    timer.start();
    loadReportSettings(&list, folder(), &loaded, true, &refused);
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(namesOf(list), QStringList {"Good"});
    QCOMPARE(loaded, QStringList {"Good.zqnr"});
    // Each file with the reader's reason, in the folder's order; the folder
    // is none.
    QStringList names;
    for (const QString &line : qAsConst(refused))
        names << line.section(QLatin1Char('"'), 1, 1);
    QCOMPARE(names,
             (QStringList {"Alien.zqnr", "Broken.zqnr", "Empty.zqnr", "Flipped.zqnr", "Future.zqnr",
                           "Heavy.zqnr", "Huge.zqnr"}));
    QCOMPARE(refused.first(), QStringLiteral("\"Alien.zqnr\": it is not a layout file."));
    QCOMPARE(refused.at(4),
             QStringLiteral("\"Future.zqnr\": it was written by a newer version "
                            "of the program."));

    // The user deletes "Good" and makes a new layout named like a skipped file.
    list = {defaultLayout(QStringLiteral("Fresh"))};
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QVERIFY(!QFile::exists(path(QStringLiteral("Good.zqnr"))));
    list.append(defaultLayout(QStringLiteral("Future")));
    QVERIFY(!saveReportSettings(&list, folder(), &loaded));

    for (auto it = skipped.begin(); it != skipped.end(); ++it)
        QCOMPARE(readBytes(path(it.key())), it.value());
    QVERIFY(QFileInfo(path(QStringLiteral("Folder.zqnr"))).isDir());
    QCOMPARE(loaded, QStringList {"Fresh.zqnr"});
}

void TestLayoutFolder::failedWriteDeletesNothing()
{
    QList<reportSetting> list {defaultLayout(QStringLiteral("Kept")),
                               defaultLayout(QStringLiteral("Other"))};
    QStringList loaded;
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QVERIFY(writeBytes(path(QStringLiteral("Later.zqnr")), "appeared since the load"));

    // Renamed onto a file this list was not loaded from: that write is refused,
    // and the old file of the renamed layout must not go either.
    list[0].name = QStringLiteral("Later");
    list.removeAt(1);
    QVERIFY(!saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(layoutFiles(folder()), (QStringList {"Kept.zqnr", "Later.zqnr", "Other.zqnr"}));
    QCOMPARE(readBytes(path(QStringLiteral("Later.zqnr"))), QByteArray("appeared since the load"));

    // Once the name is free, the same list saves and the old files go.
    QVERIFY(QFile::remove(path(QStringLiteral("Later.zqnr"))));
    QVERIFY(saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(layoutFiles(folder()), QStringList {"Later.zqnr"});
}

void TestLayoutFolder::badNames()
{
    QStringList loaded;
    const QList<reportSetting> list {
        defaultLayout(QString()), defaultLayout(QStringLiteral("../up")),
        // A hidden file would never be listed by the next load.
        defaultLayout(QStringLiteral(".hidden")), defaultLayout(QStringLiteral("Fine")),
        defaultLayout(QStringLiteral("Fine"))};
    QVERIFY(!saveReportSettings(&list, folder(), &loaded));
    QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList {"Fine.zqnr"});
    QVERIFY(!QFile::exists(m_dir->path() + QStringLiteral("/up.zqnr")));
}

void TestLayoutFolder::staleNames_data()
{
    QTest::addColumn<QStringList>("loaded");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("stale");

    const QStringList loaded {"a.zqnr", "B.zqnr", "c.zqnr"};
    QTest::newRow("case-insensitive")
        << loaded << QStringList {"A", "b"} << false << QStringList {"c.zqnr"};
    QTest::newRow("case-sensitive") << loaded << QStringList {"A", "b"} << true << loaded;
    QTest::newRow("exact") << loaded << QStringList {"a", "B", "c"} << true << QStringList();
    QTest::newRow("nothing loaded") << QStringList() << QStringList {"a"} << true << QStringList();
    QTest::newRow("all removed") << loaded << QStringList() << false << loaded;
}

void TestLayoutFolder::staleNames()
{
    QFETCH(QStringList, loaded);
    QFETCH(QStringList, names);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, stale);

    QList<reportSetting> list;
    for (const QString &name : names)
        list.append(named(name));
    QCOMPARE(
        staleLayoutFiles(loaded, list, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive),
        stale);
}

void TestLayoutFolder::caseSensitivityOfThisFileSystem()
{
    // The temporary folder lives on a case-sensitive Linux file system.
    QDir().mkpath(folder());
    QCOMPARE(fileNameCaseSensitivity(folder()), Qt::CaseSensitive);
    QCOMPARE(fileNameCaseSensitivity(folder() + QLatin1Char('/')), Qt::CaseSensitive);
    const QString digits = m_dir->path() + QStringLiteral("/2026");
    QDir().mkpath(digits);
    QCOMPARE(fileNameCaseSensitivity(digits), Qt::CaseSensitive);
}

QTEST_GUILESS_MAIN(TestLayoutFolder)
#include "tst_layoutfolder.moc"
