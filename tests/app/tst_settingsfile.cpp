#include "app/settingsfile.h"
#include "base/apppaths.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(AppSettings)
Q_DECLARE_METATYPE(SettingsReadResult)

namespace {

// Set LUMARO_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate
// format change; check the new bytes by hand before committing them.
bool updateGolden()
{
    return qEnvironmentVariableIntValue("LUMARO_UPDATE_GOLDEN") == 1;
}

QString golden(const QString &name)
{
    return TestEnvironment::dataPath(QStringLiteral("app/") + name);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray written(const AppSettings &settings)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writeSettings(&buffer, settings))
        return QByteArray();
    return bytes;
}

SettingsReadResult readBytes(const QByteArray &bytes, AppSettings *settings)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readSettings(&buffer, settings);
}

// Big-endian helpers for spelling out files byte by byte.
QByteArray be32(quint32 v)
{
    QByteArray b;
    for (int shift = 24; shift >= 0; shift -= 8)
        b.append(char((v >> shift) & 0xff));
    return b;
}

QByteArray utf16String(const QString &s)
{
    QByteArray b = be32(quint32(s.size() * 2));
    for (const QChar c : s)
        b.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
    return b;
}

// The settings of the golden file: a UTC check time, so the bytes do not
// depend on the machine's time zone.
AppSettings goldenSettings()
{
    AppSettings s;
    s.lastCheck = QDateTime(QDate(2026, 3, 15), QTime(10, 20, 30, 400), Qt::UTC);
    s.calcFlags = {{1, 0, 1, 0, 1, 1}};
    s.hideStartDialog = true;
    s.schemeIndex = 3;
    s.dayFirst = true;
    s.masterNumbersMode = 1;
    return s;
}

// The golden settings spelled out field by field from the format description.
QByteArray goldenBytesByHand()
{
    QByteArray b = utf16String(QStringLiteral("KESLNUMFILE"));
    b += be32(0); // reserved: empty, not null
    b += be32(quint32(QDate(2026, 3, 15).toJulianDay()));
    b += be32((10 * 3600 + 20 * 60 + 30) * 1000 + 400);
    b += char(2); // UTC
    b += be32(6) + QByteArray("\x01\x00\x01\x00\x01\x01", 6);
    b += char(1); // start dialog off
    b += be32(3); // scheme
    b += char(1); // day first
    b += be32(1); // master numbers 11..99
    return b;
}

// Offsets at which the fields of a written file end: magic, reserved,
// time, flags, then the four optional fields.
QList<int> fieldEnds()
{
    return {26, 30, 39, 49, 50, 54, 55, 59};
}

// Settings that differ from goldenSettings() in every member.
AppSettings callerSettings()
{
    AppSettings s;
    s.lastCheck = QDateTime(QDate(2011, 1, 2), QTime(3, 4, 5), Qt::UTC);
    s.calcFlags = {{0, 1, 0, 1, 0, 0}};
    s.hideStartDialog = false;
    s.schemeIndex = 5;
    s.dayFirst = false;
    s.masterNumbersMode = 0;
    return s;
}

// What a read of the golden file gives when the stream holds its first
// `whole` fields intact and, with cut, part of the next one: the field that
// breaks gets its empty value, the check time is read whatever happens, and
// the rest keep the caller's values.
AppSettings expectedRead(int whole, bool cut)
{
    const AppSettings g = goldenSettings();
    AppSettings s = callerSettings();
    s.lastCheck = whole >= 3 ? g.lastCheck : QDateTime();
    if (whole >= 4)
        s.calcFlags = g.calcFlags;
    const int broken = cut ? whole + 1 : 0;
    const auto take = [&](int field, auto member) {
        if (whole >= field)
            s.*member = g.*member;
        else if (broken == field)
            s.*member = {};
    };
    take(5, &AppSettings::hideStartDialog);
    take(6, &AppSettings::schemeIndex);
    take(7, &AppSettings::dayFirst);
    take(8, &AppSettings::masterNumbersMode);
    return s;
}

// The fields before the first damaged byte came through unchanged.
bool firstFieldsKept(const AppSettings &read, int damagedByte)
{
    const QList<int> ends = fieldEnds();
    const AppSettings g = goldenSettings();
    const auto intact = [&](int field) {
        return ends.at(field - 1) <= damagedByte;
    };
    return (!intact(3) || read.lastCheck == g.lastCheck)
        && (!intact(4) || read.calcFlags == g.calcFlags)
        && (!intact(5) || read.hideStartDialog == g.hideStartDialog)
        && (!intact(6) || read.schemeIndex == g.schemeIndex)
        && (!intact(7) || read.dayFirst == g.dayFirst);
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void goldenFile();
    void roundTrip_data();
    void roundTrip();
    void dateTimeAsQtReadsIt_data();
    void dateTimeAsQtReadsIt();
    void olderFiles_data();
    void olderFiles();
    void flagsOfOtherLength_data();
    void flagsOfOtherLength();
    void notASettingsFile_data();
    void notASettingsFile();
    void damagedFiles_data();
    void damagedFiles();
    void everyTruncationAndBitFlip();
    void hugeCountsRefusedQuickly();
    void missingFile();
    void saveAndLoadFile();
    void saveFailureReported();
    void globSettings();
};

void TestSettingsFile::goldenFile()
{
    const QByteArray bytes = written(goldenSettings());
    QCOMPARE(bytes, goldenBytesByHand());
    if (updateGolden()) {
        QFile out(golden(QStringLiteral("zqnum_prem.cfg")));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QCOMPARE(fileBytes(golden(QStringLiteral("zqnum_prem.cfg"))), bytes);

    AppSettings read;
    QCOMPARE(loadSettingsFile(golden(QStringLiteral("zqnum_prem.cfg")), &read),
             SettingsReadResult::Read);
    QCOMPARE(read, goldenSettings());
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<AppSettings>("settings");

    QTest::newRow("construction values") << AppSettings();
    QTest::newRow("golden") << goldenSettings();

    AppSettings local;
    local.lastCheck = QDateTime(QDate(2025, 7, 1), QTime(23, 59, 59, 999), Qt::LocalTime);
    QTest::newRow("local time") << local;

    AppSettings now;
    now.lastCheck = QDateTime::currentDateTime();
    QTest::newRow("now") << now;

    AppSettings odd;
    odd.calcFlags = {{0, 0, 0, 0, 0, 0}};
    odd.schemeIndex = -1;
    odd.masterNumbersMode = 7;
    odd.lastCheck = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::LocalTime);
    QTest::newRow("all life-path boxes off, negative scheme") << odd;

    AppSettings all;
    all.calcFlags = {{1, 1, 1, 1, 1, 1}};
    all.schemeIndex = 6;
    QTest::newRow("every flag set") << all;
}

void TestSettingsFile::roundTrip()
{
    QFETCH(AppSettings, settings);
    AppSettings read = callerSettings();
    QCOMPARE(readBytes(written(settings), &read), SettingsReadResult::Read);
    QCOMPARE(read, settings);
}

// The reader parses the date-time itself (to refuse impossible values); it
// must give what Qt's own reader gives for everything Qt writes.
void TestSettingsFile::dateTimeAsQtReadsIt_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::newRow("null") << QDateTime();
    QTest::newRow("local") << QDateTime(QDate(2024, 2, 29), QTime(12, 0, 1, 5), Qt::LocalTime);
    QTest::newRow("utc") << QDateTime(QDate(1999, 12, 31), QTime(23, 59), Qt::UTC);
    QTest::newRow("offset") << QDateTime(QDate(2020, 6, 1), QTime(8, 0), Qt::OffsetFromUTC, 7200);
    QTest::newRow("midnight") << QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::LocalTime);
}

void TestSettingsFile::dateTimeAsQtReadsIt()
{
    QFETCH(QDateTime, moment);
    AppSettings settings;
    settings.lastCheck = moment;
    const QByteArray bytes = written(settings);

    QDataStream qtStream(bytes);
    qtStream.setVersion(SettingsStreamVersion);
    QString magic, reserved;
    QDateTime byQt;
    qtStream >> magic >> reserved >> byQt;

    AppSettings read = callerSettings();
    QCOMPARE(readBytes(bytes, &read), SettingsReadResult::Read);
    QCOMPARE(read.lastCheck, byQt);
    QCOMPARE(read.lastCheck.isNull(), byQt.isNull());
    QCOMPARE(read.lastCheck.timeSpec(), byQt.timeSpec());
}

// Files of older versions end after the flags or after any later field; the
// fields they lack keep the caller's values.
void TestSettingsFile::olderFiles_data()
{
    QTest::addColumn<int>("fields");
    for (int fields = 4; fields <= 8; ++fields)
        QTest::addRow("%d fields", fields) << fields;
}

void TestSettingsFile::olderFiles()
{
    QFETCH(int, fields);
    const QByteArray bytes = written(goldenSettings()).left(fieldEnds().at(fields - 1));
    const AppSettings before = callerSettings();
    AppSettings read = before;
    QCOMPARE(readBytes(bytes, &read), SettingsReadResult::Read);

    const AppSettings full = goldenSettings();
    QCOMPARE(read.lastCheck, full.lastCheck);
    QCOMPARE(read.calcFlags, full.calcFlags);
    QCOMPARE(read.hideStartDialog, fields >= 5 ? full.hideStartDialog : before.hideStartDialog);
    QCOMPARE(read.schemeIndex, fields >= 6 ? full.schemeIndex : before.schemeIndex);
    QCOMPARE(read.dayFirst, fields >= 7 ? full.dayFirst : before.dayFirst);
    QCOMPARE(read.masterNumbersMode,
             fields >= 8 ? full.masterNumbersMode : before.masterNumbersMode);

    if (fields == 4) {
        // The shipped example of an old file reads the same way.
        const QString path = golden(QStringLiteral("zqnum_prem-old.cfg"));
        if (updateGolden()) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        }
        QCOMPARE(fileBytes(path), bytes);
        AppSettings fromFile; // construction values
        QCOMPARE(loadSettingsFile(path, &fromFile), SettingsReadResult::Read);
        QCOMPARE(fromFile.hideStartDialog, false);
        QCOMPARE(fromFile.schemeIndex, 0);
        QCOMPARE(fromFile.dayFirst, false);
        QCOMPARE(fromFile.masterNumbersMode, 0);
        QCOMPARE(fromFile.calcFlags, full.calcFlags);
    }
}

void TestSettingsFile::flagsOfOtherLength_data()
{
    QTest::addColumn<QByteArray>("flagsField");
    QTest::newRow("five") << (be32(5) + QByteArray(5, '\1'));
    QTest::newRow("seven") << (be32(7) + QByteArray(7, '\1'));
    QTest::newRow("empty") << be32(0);
    QTest::newRow("null") << be32(0xffffffffu);
}

// Only an array of exactly six bytes replaces the flags; the fields after it
// are read all the same.
void TestSettingsFile::flagsOfOtherLength()
{
    QFETCH(QByteArray, flagsField);
    const QByteArray full = written(goldenSettings());
    const QByteArray bytes
        = full.left(fieldEnds().at(2)) + flagsField + full.mid(fieldEnds().at(3));
    AppSettings read = callerSettings();
    QCOMPARE(readBytes(bytes, &read), SettingsReadResult::Read);
    QCOMPARE(read.calcFlags, callerSettings().calcFlags);
    QCOMPARE(read.lastCheck, goldenSettings().lastCheck);
    QCOMPARE(read.schemeIndex, 3);
    QCOMPARE(read.masterNumbersMode, 1);
}

void TestSettingsFile::notASettingsFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray rest = written(goldenSettings()).mid(fieldEnds().at(0));
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("two bytes") << QByteArray("\0\0", 2);
    QTest::newRow("other magic") << utf16String(QStringLiteral("KESLNUMFILX")) + rest;
    QTest::newRow("lower case") << utf16String(QStringLiteral("keslnumfile")) + rest;
    QTest::newRow("longer magic") << utf16String(QStringLiteral("KESLNUMFILE2")) + rest;
    QTest::newRow("null string") << be32(0xffffffffu) + rest;
    QTest::newRow("layout file") << QByteArray("LNRP\0\0\0\2", 8);
    QTest::newRow("text") << QByteArray("KESLNUMFILE\n");
    // The program writes about seventy bytes; a file past the cap is not
    // one it wrote, however well formed, and is not read.
    const QByteArray hand = goldenBytesByHand();
    const QString padding(int(MaxSettingsFileSize / 2), QLatin1Char('x'));
    QTest::newRow("past the size cap")
        << hand.left(fieldEnds().at(0)) + utf16String(padding) + hand.mid(fieldEnds().at(1));
}

// A file that is not a settings file is ignored as a whole: nothing changes,
// a null check time stays null (so the update check runs).
void TestSettingsFile::notASettingsFile()
{
    QFETCH(QByteArray, bytes);
    AppSettings read;
    QCOMPARE(readBytes(bytes, &read), SettingsReadResult::WrongMagic);
    QCOMPARE(read, AppSettings());
    QVERIFY(read.lastCheck.isNull());
}

void TestSettingsFile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<SettingsReadResult>("result");
    QTest::addColumn<AppSettings>("expected");
    const QByteArray full = written(goldenSettings());
    const QList<int> ends = fieldEnds();
    const SettingsReadResult damaged = SettingsReadResult::Damaged;

    QTest::newRow("cut in reserved")
        << full.left(ends.at(0) + 2) << damaged << expectedRead(1, true);
    QTest::newRow("cut in time") << full.left(ends.at(1) + 5) << damaged << expectedRead(2, true);
    QTest::newRow("cut in flags") << full.left(ends.at(2) + 7) << damaged << expectedRead(3, true);
    QTest::newRow("cut in scheme index: fields 1-5 kept")
        << full.left(ends.at(4) + 2) << damaged << expectedRead(5, true);
    QTest::newRow("cut in master option")
        << full.left(ends.at(6) + 3) << damaged << expectedRead(7, true);

    QByteArray oddReserved = full;
    oddReserved.replace(ends.at(0), 4, be32(1));
    QTest::newRow("odd string length") << oddReserved << damaged << expectedRead(1, true);
    for (const quint32 count : {0x7ffffffeu, 0xfffffffeu}) {
        QByteArray reserved = full;
        reserved.replace(ends.at(0), 4, be32(count));
        QTest::addRow("reserved of %x bytes", count)
            << reserved << damaged << expectedRead(1, true);
        QByteArray flags = full;
        flags.replace(ends.at(2), 4, be32(count));
        QTest::addRow("flags of %x bytes", count) << flags << damaged << expectedRead(3, true);
    }

    // A check time that names no moment is read past: no check time, the
    // fields after it are taken.
    AppSettings noTime = goldenSettings();
    noTime.lastCheck = QDateTime();
    QByteArray badSpec = full;
    badSpec[ends.at(2) - 1] = char(0x50);
    QTest::newRow("time spec out of range") << badSpec << SettingsReadResult::Read << noTime;
    QByteArray badMsecs = full;
    badMsecs.replace(ends.at(1) + 4, 4, be32(86400000u));
    QTest::newRow("time of day past midnight") << badMsecs << SettingsReadResult::Read << noTime;
    QByteArray halfNull = full;
    halfNull.replace(ends.at(1), 4, be32(0));
    QTest::newRow("no date but a time") << halfNull << SettingsReadResult::Read << noTime;
}

// A damaged file is read as far as it goes.
void TestSettingsFile::damagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(SettingsReadResult, result);
    QFETCH(AppSettings, expected);
    AppSettings read = callerSettings();
    QCOMPARE(readBytes(bytes, &read), result);
    QCOMPARE(read, expected);
}

void TestSettingsFile::everyTruncationAndBitFlip()
{
    const QByteArray full = written(goldenSettings());
    const QList<int> ends = fieldEnds();
    for (int length = 0; length < full.size(); ++length) {
        AppSettings read = callerSettings();
        const SettingsReadResult result = readBytes(full.left(length), &read);
        const int whole = int(
            std::count_if(ends.cbegin(), ends.cend(), [length](int end) { return end <= length; }));
        const QByteArray where = QByteArray::number(length);
        if (whole == 0) {
            QVERIFY2(result == SettingsReadResult::WrongMagic, where);
            QVERIFY2(read == callerSettings(), where);
            continue;
        }
        const bool cut = length != ends.at(whole - 1);
        QVERIFY2((result == SettingsReadResult::Read) == (whole >= 4 && !cut), where);
        QVERIFY2(read == expectedRead(whole, cut), where);
    }
    for (int bit = 0; bit < full.size() * 8; ++bit) {
        QByteArray damaged = full;
        damaged[bit / 8] = char(damaged[bit / 8] ^ (1 << (bit % 8)));
        AppSettings read = callerSettings();
        readBytes(damaged, &read);
        QVERIFY2(firstFieldsKept(read, bit / 8), QByteArray::number(bit));
    }
    // Seeded random damage: several bytes overwritten, sometimes cut short.
    QRandomGenerator random(20261209);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = full;
        int first = damaged.size();
        const int changes = 1 + random.bounded(4);
        for (int i = 0; i < changes; ++i) {
            const int at = random.bounded(damaged.size());
            damaged[at] = char(random.bounded(256));
            first = qMin(first, at);
        }
        if (random.bounded(3) == 0) {
            damaged.truncate(random.bounded(damaged.size()));
            first = qMin(first, damaged.size());
        }
        AppSettings read = callerSettings();
        readBytes(damaged, &read);
        QVERIFY2(firstFieldsKept(read, first), QByteArray::number(round));
    }
}

// Lengths past the end are refused before anything is allocated for them.
void TestSettingsFile::hugeCountsRefusedQuickly()
{
    const QByteArray full = written(goldenSettings());
    QElapsedTimer timer;
    timer.start();
    for (const quint32 count : {0x7ffffffeu, 0xfffffffeu, 0x10000000u}) {
        for (const int field : {0, 1, 3}) {
            QByteArray bytes = full;
            bytes.replace(field == 0 ? 0 : fieldEnds().at(field - 1), 4, be32(count));
            AppSettings read = callerSettings();
            QVERIFY(readBytes(bytes, &read) != SettingsReadResult::Read);
        }
    }
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
}

// First start: no file; the check time becomes 1 January 2000 so the update
// check runs, everything else stays.
void TestSettingsFile::missingFile()
{
    QTemporaryDir dir;
    AppSettings read = callerSettings();
    QCOMPARE(loadSettingsFile(dir.filePath(QStringLiteral("none.cfg")), &read),
             SettingsReadResult::NotOpened);
    QCOMPARE(read.lastCheck, QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::LocalTime));
    AppSettings expected = callerSettings();
    expected.lastCheck = read.lastCheck;
    QCOMPARE(read, expected);
}

void TestSettingsFile::saveAndLoadFile()
{
    const QString path = settingsFilePath();
    QVERIFY(path.startsWith(getDataLocation()));
    QVERIFY(path.endsWith(QStringLiteral("//zqnum_prem.cfg")));
    QVERIFY(path.startsWith(TestEnvironment::homePath()));

    QString error;
    QVERIFY(saveSettingsFile(path, goldenSettings(), &error));
    QCOMPARE(fileBytes(path), goldenBytesByHand());

    AppSettings changed = goldenSettings();
    changed.schemeIndex = 4;
    QVERIFY(saveSettingsFile(path, changed));
    AppSettings read;
    QCOMPARE(loadSettingsFile(path, &read), SettingsReadResult::Read);
    QCOMPARE(read, changed);
    QVERIFY(QFile::remove(path));
}

void TestSettingsFile::saveFailureReported()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QString error;
    QVERIFY(!saveSettingsFile(dir.filePath(QStringLiteral("file/zqnum_prem.cfg")), goldenSettings(),
                              &error));
    QVERIFY(!error.isEmpty());
    // A missing folder is made (the data folder at the first close).
    QVERIFY(
        saveSettingsFile(dir.filePath(QStringLiteral("missing/zqnum_prem.cfg")), goldenSettings()));
    // A folder in the file's place is not replaced.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.cfg")));
    QVERIFY(!saveSettingsFile(dir.filePath(QStringLiteral("folder.cfg")), goldenSettings()));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder.cfg"))).isDir());
}

void TestSettingsFile::globSettings()
{
    resetGlobSettings();
    AppSettings settings;
    settings.takeGlobSettings();
    QCOMPARE(settings.calcFlags, (std::array<unsigned char, 6> {{1, 0, 0, 1, 1, 0}}));

    AppSettings read;
    QCOMPARE(readBytes(written(goldenSettings()), &read), SettingsReadResult::Read);
    read.applyGlobSettings();
    const unsigned char expected[6] = {1, 0, 1, 0, 1, 1};
    for (int i = 0; i < GlobSettingsCount; ++i)
        QCOMPARE(m_GlobSettings[i], expected[i]);
    resetGlobSettings();
}

QTEST_GUILESS_MAIN(TestSettingsFile)

#include "tst_settingsfile.moc"
