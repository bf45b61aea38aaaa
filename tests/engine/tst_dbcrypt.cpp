#include "engine/readingsdb.h"
#include "engine/texttables.h"

#include "tests/support/testenvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The enciphering tool as the build runs it: sources in, eng.dat out.
class tst_DbCrypt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { resetTextTables(); }
    void run_data();
    void run();
    void shippedDatabaseLoads();

private:
    QString m_tool;
};

void tst_DbCrypt::initTestCase()
{
    m_tool = QCoreApplication::applicationDirPath() + "/lumaro_dbcrypt";
    if (!QFile::exists(m_tool))
        QSKIP("lumaro_dbcrypt is not built in this build folder");
}

void tst_DbCrypt::run_data()
{
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lifePath7");

    const QString sample = TestEnvironment::dataPath("engine/readings-sample.txt");
    const QString second = TestEnvironment::dataPath("engine/readings-second.txt");
    const QString bad = TestEnvironment::dataPath("engine/readings-bad-header.txt");
    const QString seven = "<p>Seven looks beneath the surface.</p>";

    QTest::newRow("no sources, empty database") << QStringList {} << 0 << "";
    QTest::newRow("one source") << QStringList {sample} << 0 << seven;
    QTest::newRow("files in the order given")
        << QStringList {second, sample} << 0 << "<p>A second file adds to seven.</p>" + seven;
    QTest::newRow("malformed header fails") << QStringList {sample, bad} << 1 << "";
    QTest::newRow("missing source fails") << QStringList {sample, "/no/such/file.txt"} << 1 << "";
}

void tst_DbCrypt::run()
{
    QFETCH(QStringList, sources);
    QFETCH(int, exitCode);
    QFETCH(QString, lifePath7);

    QTemporaryDir dir;
    const QString out = dir.filePath("eng.dat");
    QProcess tool;
    tool.start(m_tool, QStringList {"-o", out} + sources);
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), exitCode);
    if (exitCode != 0) {
        QVERIFY(!tool.readAllStandardError().isEmpty());
        QVERIFY(!QFile::exists(out));
        return;
    }
    QVERIFY(loadReadingsDatabase(out));
    if (lifePath7.isEmpty())
        QVERIFY(numerLifePath[7].isEmpty());
    else
        QVERIFY(numerLifePath[7].startsWith(lifePath7));
}

void tst_DbCrypt::shippedDatabaseLoads()
{
    // The database that the build made from resources/db.
    if (!QFile::exists(readingsDatabasePath()))
        QSKIP("no Resources/eng.dat in this build folder");
    QVERIFY(loadReadingsDatabase(readingsDatabasePath()));
    QCOMPARE(numerCustomText[0], QString("Your custom text here"));
}

QTEST_GUILESS_MAIN(tst_DbCrypt)
#include "tst_dbcrypt.moc"
