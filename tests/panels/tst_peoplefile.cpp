#include "base/apppaths.h"
#include "panels/peoplefile.h"
#include "testenvironment.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(PeopleFileStatus)
Q_DECLARE_METATYPE(PersonRecord)

namespace {

// Set LUMARO_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate
// format change; check the new bytes by hand before committing them.
bool updateGolden()
{
    return qEnvironmentVariableIntValue("LUMARO_UPDATE_GOLDEN") == 1;
}

QString golden(const QString &name)
{
    return TestEnvironment::dataPath(QStringLiteral("panels/") + name);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVector<int> codes(const char *digits)
{
    QVector<int> list;
    for (const char *c = digits; *c; ++c)
        list.append(*c - '0');
    return list;
}

// A person as the input panel holds them: typed names with an accent, a
// comma and doubled blanks; "Male"; Chaldean off.
PersonInputs goldenInputs()
{
    PersonInputs in;
    in.birthDate = QDate(1990, 3, 25);
    in.fullName = QStringLiteral("Smith, Jöhn  Paul");
    in.shortName = QStringLiteral("John");
    in.genderIndex = 1;
    in.partnerBirthDate = QDate(1991, 12, 1);
    in.partnerFullName = QStringLiteral(" Mary\tAnn ");
    in.partnerShortName = QString();
    in.petBirthDate = QDate(2019, 7, 4);
    in.petName = QStringLiteral("Rex");
    in.forecastDate = QDate(2026, 12, 9);
    in.nameOverrides = codes("21221022220212212");
    in.shortNameOverrides = codes("2122");
    in.partnerNameOverrides = codes("21220121");
    in.chaldean = false;
    return in;
}

PersonRecord record(const QString &full, const QString &shortName, const QDate &birth,
                    const QString &partner = QString())
{
    PersonRecord r;
    r.fullName = full;
    r.shortName = shortName;
    r.birthDate = birth;
    r.partnerFullName = partner;
    r.partnerShortName = partner.section(QLatin1Char(' '), 0, 0);
    r.partnerBirthDate = partner.isEmpty() ? QDate() : QDate(1980, 1, 1);
    r.nameOverrides = QVector<int>(full.size(), 2);
    r.shortNameOverrides = QVector<int>(shortName.size(), 1);
    return r;
}

QVector<PersonRecord> goldenRecords()
{
    PersonRecord anna = record(QStringLiteral("Anna Maria Lopez"), QStringLiteral("Anna Lopez"),
                               QDate(1985, 5, 17), QStringLiteral("Jose Garcia"));
    anna.female = true;
    anna.nameOverrides = codes("1221022122012121");
    anna.shortNameOverrides = codes("1221012121");
    anna.partnerNameOverrides = codes("21210122121");
    anna.partnerShortNameOverrides = codes("2121");
    anna.petName = QStringLiteral("Bella  Blue");
    anna.petBirthDate = QDate(2020, 2, 29);
    PersonRecord zoe
        = record(QStringLiteral("Zoe ONeil Ray"), QStringLiteral("Zoe Ray"), QDate(2001, 10, 2));
    zoe.female = true;
    zoe.chaldean = true;
    PersonRecord bob = record(QStringLiteral("Bob"), QStringLiteral("Bob"), QDate(1950, 1, 31));
    return {anna, zoe, bob};
}

QString tempPath(const QTemporaryDir &dir, const char *name)
{
    return dir.filePath(QString::fromLatin1(name));
}

} // namespace

class TestPeopleFile : public QObject
{
    Q_OBJECT

private slots:
    void goldenPeopleFile();
    void goldenRecentStore();
    void genderEncodings();
    void fieldText_data();
    void fieldText();
    void filePathSuffix_data();
    void filePathSuffix();
    void overridesWritten();
    void overridesRead_data();
    void overridesRead();
    void peopleFileRoundTrip();
    void oldPeopleFile();
    void fieldCounts_data();
    void fieldCounts();
    void recentStoreLines();
    void recentStoreOldForm();
    void crlfAndBom();
    void largeFiles_data();
    void largeFiles();
    void missingFiles();
    void writeFailuresReported();
    void messages();
    void recentList();
    void recentListIdentity_data();
    void recentListIdentity();
};

void TestPeopleFile::goldenPeopleFile()
{
    // Spelled out from the format: commas gone, blanks simplified, "1" for
    // Male, each override list cut to its typed name's length + 2.
    const QByteArray expected
        = QStringLiteral(
              "25.03.1990,Smith Jöhn Paul,John,1,01.12.1991,Mary Ann,,04.07.2019,Rex,09.12.2026,"
              "21221022220212212,2122,21220121,,0")
              .toUtf8();
    QCOMPARE(peopleFileLine(goldenInputs()).toUtf8(), expected);

    const QString path = golden(QStringLiteral("person.num"));
    if (updateGolden())
        QVERIFY(writePeopleFile(path, goldenInputs()));
    QCOMPARE(fileBytes(path), expected); // UTF-8, no BOM, no line end

    QTemporaryDir dir;
    QVERIFY(writePeopleFile(tempPath(dir, "p.num"), goldenInputs()));
    QCOMPARE(fileBytes(tempPath(dir, "p.num")), expected);
}

void TestPeopleFile::goldenRecentStore()
{
    const QDate forecast(2026, 12, 9);
    const QByteArray expected = QByteArray(
        "17.05.1985,Anna Maria Lopez,Anna Lopez,1,01.01.1980,Jose Garcia,Jose,29.02.2020,"
        "Bella Blue,09.12.2026,1221022122012121,1221012121,21210122121,2121,0\n"
        "02.10.2001,Zoe ONeil Ray,Zoe Ray,1,,,,,,09.12.2026,2222222222222,1111111,,,1\n"
        "31.01.1950,Bob,Bob,0,,,,,,09.12.2026,222,111,,,0");

    const QString path = golden(QStringLiteral("zqnum6.num"));
    if (updateGolden())
        QVERIFY(writeRecentStore(path, goldenRecords(), forecast));
    QCOMPARE(fileBytes(path), expected);

    const RecentStoreContent read = readRecentStore(path);
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QVERIFY(!read.oldForm);
    QCOMPARE(read.records.size(), 3);
    QVector<PersonRecord> stored = goldenRecords();
    stored[0].petName = QStringLiteral("Bella Blue"); // blanks simplified on the way out
    QVERIFY(read.records == stored);

    QCOMPARE(recentStorePath(), getDataLocation() + QStringLiteral("/zqnum6.num"));
    QVERIFY(writeRecentStore(recentStorePath(), goldenRecords(), forecast));
    QCOMPARE(fileBytes(recentStorePath()), expected);
    QVERIFY(writeRecentStore(recentStorePath(), {}, forecast));
    QCOMPARE(fileBytes(recentStorePath()), QByteArray());
    QVERIFY(QFile::exists(recentStorePath()));
    QVERIFY(readRecentStore(recentStorePath()).records.isEmpty());
}

// The two uses encode field 3 in opposite ways, and each reader expects its
// own writer's way.
void TestPeopleFile::genderEncodings()
{
    PersonInputs male = goldenInputs();
    male.genderIndex = 1;
    QCOMPARE(peopleFileLine(male).split(QLatin1Char(',')).at(3), QStringLiteral("1"));
    PersonInputs female = male;
    female.genderIndex = 0;
    QCOMPARE(peopleFileLine(female).split(QLatin1Char(',')).at(3), QStringLiteral("0"));

    PersonRecord r = goldenRecords().at(2);
    r.female = false;
    QCOMPARE(recentStoreLine(r, QDate()).split(QLatin1Char(',')).at(3), QStringLiteral("0"));
    r.female = true;
    QCOMPARE(recentStoreLine(r, QDate()).split(QLatin1Char(',')).at(3), QStringLiteral("1"));

    QCOMPARE(personInputsFromFields(peopleFileLine(male).split(QLatin1Char(','))).genderIndex, 1);
    QCOMPARE(personInputsFromFields(peopleFileLine(female).split(QLatin1Char(','))).genderIndex, 0);
    QStringList odd = peopleFileLine(male).split(QLatin1Char(','));
    odd[3] = QStringLiteral("x"); // reads as 0: Female
    QCOMPARE(personInputsFromFields(odd).genderIndex, 0);
    odd[3] = QStringLiteral("5");
    QCOMPARE(personInputsFromFields(odd).genderIndex, 1);
    QVERIFY(personRecordFromFields(recentStoreLine(r, QDate()).split(QLatin1Char(','))).female);
}

void TestPeopleFile::fieldText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("comma") << QStringLiteral("Smith, John") << QStringLiteral("Smith John");
    QTest::newRow("comma only") << QStringLiteral(",,,") << QString();
    QTest::newRow("double blank") << QStringLiteral("Ann  Lee") << QStringLiteral("Ann Lee");
    QTest::newRow("tabs and line breaks")
        << QStringLiteral("\tAnn\r\nLee\n") << QStringLiteral("Ann Lee");
    QTest::newRow("accents kept") << QStringLiteral("Zoë Łukasz") << QStringLiteral("Zoë Łukasz");
    QTest::newRow("comma between blanks") << QStringLiteral("A , B") << QStringLiteral("A B");
}

void TestPeopleFile::fieldText()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(peopleFieldText(text), field);

    // Whatever a name holds, a line keeps its 15 fields and stays one line.
    PersonInputs in;
    in.fullName = in.shortName = in.partnerFullName = in.petName = text;
    const QString line = peopleFileLine(in);
    QVERIFY(!line.contains(QLatin1Char('\n')));
    QCOMPARE(line.split(QLatin1Char(',')).size(), PeopleFieldCount);
    PersonRecord r;
    r.fullName = r.shortName = r.petName = text;
    QCOMPARE(recentStoreLine(r, QDate()).split(QLatin1Char(',')).size(), PeopleFieldCount);
}

void TestPeopleFile::filePathSuffix_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("no suffix") << "/d/smith"
                               << "/d/smith.num";
    QTest::newRow("another suffix") << "/d/John.Smith"
                                    << "/d/John.Smith.num";
    QTest::newRow(".num kept") << "/d/smith.num"
                               << "/d/smith.num";
    QTest::newRow("upper case is another name") << "/d/smith.NUM"
                                                << "/d/smith.NUM.num";
    QTest::newRow("dotted folder") << "/d.num/smith"
                                   << "/d.num/smith.num";
}

void TestPeopleFile::filePathSuffix()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(peopleFilePath(chosen), written);
}

void TestPeopleFile::overridesWritten()
{
    QCOMPARE(overridesFieldText(codes("1201"), 10), QStringLiteral("1201"));
    QCOMPARE(overridesFieldText(codes("1201"), 2), QStringLiteral("12"));
    QCOMPARE(overridesFieldText(codes("1201"), -3), QString());
    // A value out of range would take two characters (or a sign) and shift
    // every later position; it is written as "not a letter".
    QCOMPARE(overridesFieldText({1, 10, -1, 2, 7}, 10), QStringLiteral("10020"));

    // People file: typed length + 2 at most.
    PersonInputs in;
    in.fullName = QStringLiteral("Al");
    in.nameOverrides = codes("1212121");
    in.shortName = QString();
    in.shortNameOverrides = codes("111");
    const QStringList fields = peopleFileLine(in).split(QLatin1Char(','));
    QCOMPARE(fields.at(10), QStringLiteral("1212"));
    QCOMPARE(fields.at(11), QStringLiteral("11"));

    // Recent store: the full-name list at most as long as the full name, the
    // others whole.
    PersonRecord r;
    r.fullName = QStringLiteral("Al");
    r.nameOverrides = codes("1212121");
    r.shortName = QStringLiteral("A");
    r.shortNameOverrides = codes("1212121");
    r.partnerShortNameOverrides = codes("22");
    const QStringList stored = recentStoreLine(r, QDate()).split(QLatin1Char(','));
    QCOMPARE(stored.at(10), QStringLiteral("12"));
    QCOMPARE(stored.at(11), QStringLiteral("1212121"));
    QCOMPARE(stored.at(13), QStringLiteral("22"));
}

void TestPeopleFile::overridesRead_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVector<int>>("overrides");
    QTest::newRow("plain") << QStringLiteral("1202") << QStringLiteral("Ab c") << codes("1202");
    QTest::newRow("twice the name")
        << QStringLiteral("12121212") << QStringLiteral("Anna") << codes("12121212");
    QTest::newRow("longer than twice")
        << QStringLiteral("121212121") << QStringLiteral("Anna") << QVector<int>();
    QTest::newRow("no name, no list") << QString() << QString() << QVector<int>();
    QTest::newRow("no name, a list") << QStringLiteral("1") << QString() << QVector<int>();
    QTest::newRow("non-digits read as 0")
        << QStringLiteral("1x-2") << QStringLiteral("Anna") << codes("1002");
}

void TestPeopleFile::overridesRead()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    QFETCH(QVector<int>, overrides);
    QCOMPARE(overridesFromField(field, name), overrides);
}

void TestPeopleFile::peopleFileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = tempPath(dir, "round.num");
    PersonInputs in = goldenInputs();
    in.chaldean = true;
    in.genderIndex = 0;
    in.partnerShortName = QStringLiteral("Mary");
    in.partnerShortNameOverrides = codes("2121");
    QVERIFY(writePeopleFile(path, in));

    const PeopleFileContent read = readPeopleFile(path);
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QCOMPARE(read.fieldCount, PeopleFieldCount);
    QCOMPARE(read.inputs.birthDate, in.birthDate);
    QCOMPARE(read.inputs.fullName, QStringLiteral("Smith Jöhn Paul"));
    QCOMPARE(read.inputs.shortName, in.shortName);
    QCOMPARE(read.inputs.genderIndex, 0);
    QCOMPARE(read.inputs.partnerBirthDate, in.partnerBirthDate);
    QCOMPARE(read.inputs.partnerFullName, QStringLiteral("Mary Ann"));
    QCOMPARE(read.inputs.partnerShortName, in.partnerShortName);
    QCOMPARE(read.inputs.petBirthDate, in.petBirthDate);
    QCOMPARE(read.inputs.petName, in.petName);
    QCOMPARE(read.inputs.forecastDate, in.forecastDate);
    QCOMPARE(read.inputs.nameOverrides, in.nameOverrides);
    QCOMPARE(read.inputs.shortNameOverrides, in.shortNameOverrides);
    QCOMPARE(read.inputs.partnerNameOverrides, in.partnerNameOverrides);
    QCOMPARE(read.inputs.partnerShortNameOverrides, in.partnerShortNameOverrides);
    QVERIFY(read.inputs.chaldean);

    // Dates that do not parse stay invalid; the window keeps its reset date.
    QVERIFY(writeBytes(path, "32.13.1990,A,B,1,,,,x,,,,,,,0"));
    const PeopleFileContent bad = readPeopleFile(path);
    QCOMPARE(bad.status, PeopleFileStatus::Ok);
    QVERIFY(!bad.inputs.birthDate.isValid());
    QVERIFY(!bad.inputs.petBirthDate.isValid());
    QCOMPARE(bad.inputs.fullName, QStringLiteral("A"));
}

// Files of the older form: ten fields, the pet included, no letters.
void TestPeopleFile::oldPeopleFile()
{
    const PeopleFileContent read = readPeopleFile(golden(QStringLiteral("person-10fields.num")));
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QCOMPARE(read.fieldCount, OldPeopleFieldCount);
    QCOMPARE(read.inputs.birthDate, QDate(1972, 8, 14));
    QCOMPARE(read.inputs.fullName, QStringLiteral("Élodie Marchand"));
    QCOMPARE(read.inputs.shortName, QStringLiteral("Élodie"));
    QCOMPARE(read.inputs.genderIndex, 0);
    QCOMPARE(read.inputs.partnerBirthDate, QDate(1970, 2, 3));
    QCOMPARE(read.inputs.partnerFullName, QStringLiteral("Luc Marchand"));
    QCOMPARE(read.inputs.partnerShortName, QStringLiteral("Luc"));
    QCOMPARE(read.inputs.petBirthDate, QDate(2015, 6, 30));
    QCOMPARE(read.inputs.petName, QStringLiteral("Minou"));
    QVERIFY(read.inputs.nameOverrides.isEmpty());
    QVERIFY(!read.inputs.chaldean);

    // A gender index other than 0 or 1 is "Female" in this form.
    QStringList fields = QStringLiteral("01.01.2000,A,A,1,,,,,,").split(QLatin1Char(','));
    QCOMPARE(personInputsFromFields(fields).genderIndex, 1);
    fields[3] = QStringLiteral("2");
    QCOMPARE(personInputsFromFields(fields).genderIndex, 0);

    // Lines of any other length give nothing rather than reading past them.
    const QStringList shortLine = QStringLiteral("01.01.2000,A,A,1").split(QLatin1Char(','));
    QVERIFY(personInputsFromFields(shortLine).fullName.isEmpty());
    QVERIFY(personRecordFromFields(shortLine).fullName.isEmpty());
    QVERIFY(personRecordFromFields(fields).fullName.isEmpty()); // 10 fields: not a record
}

void TestPeopleFile::fieldCounts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PeopleFileStatus>("status");
    QTest::addColumn<int>("fieldCount");
    const QByteArray fifteen = "01.01.2000,A,A,0,,,,,,,1,1,,,0";
    QTest::newRow("15") << fifteen << PeopleFileStatus::Ok << 15;
    QTest::newRow("15 then garbage") << fifteen + "\nzz" << PeopleFileStatus::Ok << 15;
    QTest::newRow("10") << QByteArray("01.01.2000,A,A,0,,,,,,") << PeopleFileStatus::Ok << 10;
    QTest::newRow("14") << QByteArray("01.01.2000,A,A,0,,,,,,,1,1,,")
                        << PeopleFileStatus::WrongFormat << 0;
    QTest::newRow("16") << fifteen + "," << PeopleFileStatus::WrongFormat << 0;
    QTest::newRow("9") << QByteArray("01.01.2000,A,A,0,,,,,") << PeopleFileStatus::WrongFormat << 0;
    QTest::newRow("empty file") << QByteArray() << PeopleFileStatus::WrongFormat << 0;
    QTest::newRow("empty first line") << "\n" + fifteen << PeopleFileStatus::WrongFormat << 0;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe,\x01", 5) << PeopleFileStatus::WrongFormat
                            << 0;
}

void TestPeopleFile::fieldCounts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PeopleFileStatus, status);
    QFETCH(int, fieldCount);
    QTemporaryDir dir;
    const QString path = tempPath(dir, "f.num");
    QVERIFY(writeBytes(path, bytes));
    const PeopleFileContent read = readPeopleFile(path);
    QCOMPARE(read.status, status);
    QCOMPARE(read.fieldCount, fieldCount);
}

// One broken line of the store costs that line only, wherever it is; reading
// stops at the records the recent list keeps.
void TestPeopleFile::recentStoreLines()
{
    QTemporaryDir dir;
    const QString path = tempPath(dir, "zqnum6.num");
    const QDate forecast(2026, 1, 1);
    QStringList lines;
    for (int i = 0; i < 11; ++i) {
        const QString name = QStringLiteral("Person %1").arg(QChar(QLatin1Char(char('A' + i))));
        lines << recentStoreLine(record(name, name, QDate(1980, 1, 1 + i)), forecast);
    }
    QVERIFY(writeBytes(path, lines.join(QLatin1Char('\n')).toUtf8()));
    RecentStoreContent read = readRecentStore(path);
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QCOMPARE(read.records.size(), RecentPeopleLimit);
    QCOMPARE(read.records.first().fullName, QStringLiteral("Person A"));
    QCOMPARE(read.records.last().fullName, QStringLiteral("Person H"));

    QStringList broken = lines;
    broken[1] = broken[1].section(QLatin1Char(','), 0, 12); // 13 fields
    broken[4] += QStringLiteral(",extra");
    broken.insert(6, QString());
    QVERIFY(writeBytes(path, broken.join(QLatin1Char('\n')).toUtf8()));
    read = readRecentStore(path);
    QCOMPARE(read.records.size(), RecentPeopleLimit);
    QCOMPARE(read.records.at(1).fullName, QStringLiteral("Person C"));
    QCOMPARE(read.records.last().fullName, QStringLiteral("Person J"));

    QStringList firstBroken = lines.mid(0, 3);
    firstBroken[0] = QStringLiteral("garbage");
    QVERIFY(writeBytes(path, firstBroken.join(QLatin1Char('\n')).toUtf8()));
    read = readRecentStore(path);
    QCOMPARE(read.records.size(), 2);
    QCOMPARE(read.records.first().fullName, QStringLiteral("Person B"));

    // Written back and read again, records stay as they were.
    const QVector<PersonRecord> records = goldenRecords();
    QVERIFY(writeRecentStore(path, records, forecast));
    QCOMPARE(readRecentStore(path).records.size(), records.size());

    // A store just under the size cap, of 262,000 records: the first eight
    // come back and the rest is left unread.
    const QByteArray many = QByteArray(",,,,,,,,,,,,,,\n").repeated(262000);
    QVERIFY(many.size() < MaxPeopleFileSize);
    QVERIFY(writeBytes(path, many));
    QElapsedTimer timer;
    timer.start();
    read = readRecentStore(path);
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QCOMPARE(read.records.size(), RecentPeopleLimit);
    QVERIFY(read.records.first().fullName.isEmpty());
    QVERIFY(timer.elapsed() < TestEnvironment::HangGuardMs);
}

void TestPeopleFile::recentStoreOldForm()
{
    const RecentStoreContent read = readRecentStore(golden(QStringLiteral("person-10fields.num")));
    QCOMPARE(read.status, PeopleFileStatus::Ok);
    QVERIFY(read.oldForm);
    QVERIFY(read.records.isEmpty());
    QCOMPARE(read.oldInputs.fullName, QStringLiteral("Élodie Marchand"));
    QCOMPARE(read.oldInputs.petName, QStringLiteral("Minou"));
}

void TestPeopleFile::crlfAndBom()
{
    QTemporaryDir dir;
    const QString path = tempPath(dir, "crlf.num");
    const QVector<PersonRecord> records = goldenRecords();
    QStringList lines;
    for (const PersonRecord &r : records)
        lines << recentStoreLine(r, QDate(2026, 1, 1));
    QVERIFY(
        writeBytes(path, "\xef\xbb\xbf" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n"));
    const RecentStoreContent read = readRecentStore(path);
    QCOMPARE(read.records.size(), 3);
    QCOMPARE(read.records.first().fullName, records.first().fullName);
    QCOMPARE(read.records.last().chaldean, false);
    QCOMPARE(read.records.at(1).chaldean, true);
    QCOMPARE(readPeopleFile(path).fieldCount, 15);
}

// A people file over the cap is refused; a recent store of any size gives
// the records the list keeps, so that the list written at exit never takes
// the place of one it could not read.
void TestPeopleFile::largeFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names"); // of the records the store gives

    const QDate forecast(2026, 1, 1);
    const auto line = [&forecast](const QString &name) {
        return recentStoreLine(record(name, name, QDate(1980, 1, 1)), forecast).toUtf8() + '\n';
    };
    QStringList eight;
    QByteArray longNames;
    for (int i = 0; i < RecentPeopleLimit; ++i) {
        eight << QString(600000, QLatin1Char(char('A' + i)));
        longNames += line(eight.last());
    }
    QTest::newRow("eight records of long names") << longNames << eight;

    QByteArray many;
    while (many.size() <= MaxPeopleFileSize)
        many += line(QStringLiteral("A")).repeated(4096);
    QTest::newRow("many records")
        << many << QStringList(QVector<QString>(RecentPeopleLimit, QStringLiteral("A")).toList());

    const QByteArray people = line(QStringLiteral("Person A")) + line(QStringLiteral("Person B"));
    QTest::newRow("a line over the cap first") << QByteArray(MaxPeopleFileSize + 10, 'x') + '\n'
            + people << QStringList {"Person A", "Person B"};
    QTest::newRow("records past the end of reading")
        << (QByteArray(MaxPeopleFileSize / 2, 'x') + '\n').repeated(2 * RecentPeopleLimit) + people
        << QStringList();
}

void TestPeopleFile::largeFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const QString path = tempPath(dir, "zqnum6.num");
    QVERIFY(writeBytes(path, bytes));
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(readPeopleFile(path).status, PeopleFileStatus::WrongFormat);
    const RecentStoreContent store = readRecentStore(path);
    QCOMPARE(store.status, PeopleFileStatus::Ok);
    QStringList read;
    for (const PersonRecord &r : store.records)
        read << r.fullName;
    QCOMPARE(read, names);
    QVERIFY(timer.elapsed() < TestEnvironment::HangGuardMs);
}

void TestPeopleFile::missingFiles()
{
    QTemporaryDir dir;
    QCOMPARE(readPeopleFile(tempPath(dir, "none.num")).status, PeopleFileStatus::CannotOpen);
    QCOMPARE(readRecentStore(tempPath(dir, "none.num")).status, PeopleFileStatus::CannotOpen);
    QCOMPARE(readPeopleFile(dir.path()).status, PeopleFileStatus::CannotOpen);
}

void TestPeopleFile::writeFailuresReported()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(tempPath(dir, "file"), "x"));
    QString error;
    QVERIFY(!writePeopleFile(tempPath(dir, "file/p.num"), goldenInputs(), &error));
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!writeRecentStore(tempPath(dir, "file/zqnum6.num"), goldenRecords(), QDate(), &error));
    QVERIFY(!error.isEmpty());
    // The store makes its folder (the data folder, at the first close).
    QVERIFY(writeRecentStore(tempPath(dir, "missing/zqnum6.num"), goldenRecords(), QDate()));
    // The old content stays when the new file cannot replace it.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.num")));
    QVERIFY(!writePeopleFile(tempPath(dir, "folder.num"), goldenInputs()));
    QVERIFY(QFileInfo(tempPath(dir, "folder.num")).isDir());
    QCOMPARE(fileBytes(tempPath(dir, "file")), QByteArray("x"));
}

void TestPeopleFile::messages()
{
    QCOMPARE(peopleFileMessage(PeopleFileStatus::CannotWrite, QStringLiteral("/x/a.num")),
             QStringLiteral("Can't create file!\r\n/x/a.num"));
    QCOMPARE(peopleFileMessage(PeopleFileStatus::CannotOpen, QStringLiteral("/x")),
             QStringLiteral("Can't open file!"));
    QCOMPARE(peopleFileMessage(PeopleFileStatus::WrongFormat, QStringLiteral("/x")),
             QStringLiteral("Wrong file format!"));
    QVERIFY(peopleFileMessage(PeopleFileStatus::Ok, QStringLiteral("/x")).isEmpty());
}

void TestPeopleFile::recentList()
{
    QVector<PersonRecord> list;
    const PersonRecord anna
        = record(QStringLiteral("Anna"), QStringLiteral("Anna"), QDate(1990, 1, 1));
    addRecentPerson(&list, anna);
    addRecentPerson(&list, anna);
    QCOMPARE(list.size(), 1);

    // Eight more people: the ninth pushes the oldest out.
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("P%1").arg(i);
        addRecentPerson(&list, record(name, name, QDate(1990, 2, 1 + i)));
    }
    QCOMPARE(list.size(), RecentPeopleLimit);
    QCOMPARE(list.first().fullName, QStringLiteral("P7"));
    QCOMPARE(list.last().fullName, QStringLiteral("P0"));
    for (const PersonRecord &r : qAsConst(list))
        QVERIFY(r.fullName != QStringLiteral("Anna"));

    // Recalculating someone in the middle moves them to the front.
    addRecentPerson(&list, record(QStringLiteral("P3"), QStringLiteral("P3"), QDate(1990, 2, 4)));
    QCOMPARE(list.size(), RecentPeopleLimit);
    QCOMPARE(list.first().fullName, QStringLiteral("P3"));
    QCOMPARE(list.at(4).fullName, QStringLiteral("P4"));
    QCOMPARE(list.at(5).fullName, QStringLiteral("P2"));

    // A store of eleven loses only its last record to a new person.
    QVector<PersonRecord> eleven;
    for (int i = 0; i < 11; ++i) {
        const QString name = QStringLiteral("S%1").arg(i);
        eleven.append(record(name, name, QDate(1970, 1, 1 + i)));
    }
    addRecentPerson(&eleven, anna);
    QCOMPARE(eleven.size(), 11);
    QCOMPARE(eleven.first().fullName, QStringLiteral("Anna"));
    QCOMPARE(eleven.last().fullName, QStringLiteral("S9"));
}

void TestPeopleFile::recentListIdentity_data()
{
    QTest::addColumn<PersonRecord>("other");
    QTest::addColumn<bool>("same");
    const PersonRecord base = record(QStringLiteral("Anna Lopez"), QStringLiteral("Anna"),
                                     QDate(1990, 1, 1), QStringLiteral("Jose Garcia"));
    QTest::newRow("identical") << base << true;
    PersonRecord r = base;
    r.petName = QStringLiteral("Rex");
    r.petBirthDate = QDate(2020, 1, 1);
    QTest::newRow("other pet") << r << true;
    r = base;
    r.female = !r.female;
    r.chaldean = !r.chaldean;
    r.nameOverrides = codes("1");
    QTest::newRow("other gender, letters") << r << true;
    r = base;
    r.partnerFullName = QStringLiteral("Jose Garcia Lopez");
    QTest::newRow("other partner") << r << false;
    r = base;
    r.partnerBirthDate = r.partnerBirthDate.addDays(1);
    QTest::newRow("partner born another day") << r << false;
    r = base;
    r.shortName = QStringLiteral("anna");
    QTest::newRow("case differs") << r << false;
    r = base;
    r.birthDate = QDate();
    QTest::newRow("no birth date") << r << false;
}

void TestPeopleFile::recentListIdentity()
{
    QFETCH(PersonRecord, other);
    QFETCH(bool, same);
    const PersonRecord base = record(QStringLiteral("Anna Lopez"), QStringLiteral("Anna"),
                                     QDate(1990, 1, 1), QStringLiteral("Jose Garcia"));
    QCOMPARE(isSamePerson(base, other), same);

    QVector<PersonRecord> list {record(QStringLiteral("X"), QStringLiteral("X"), QDate()), base};
    addRecentPerson(&list, other);
    QCOMPARE(list.size(), same ? 2 : 3);
    QVERIFY(list.first() == other); // the new record replaces the stored one
}

QTEST_GUILESS_MAIN(TestPeopleFile)

#include "tst_peoplefile.moc"
