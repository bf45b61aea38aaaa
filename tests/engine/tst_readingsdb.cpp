#include "engine/readingsdb.h"
#include "engine/texttables.h"

#include "tests/support/testenvironment.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <iterator>

namespace {

struct Table
{
    QString *entries;
    int size;
};

// Every text table by name, so that rows can say where a text must land and
// the tests can check that it landed nowhere else.
#define TABLE(name)                                                                                \
    {                                                                                              \
        QStringLiteral(#name),                                                                     \
        {                                                                                          \
            name, int(std::size(name))                                                             \
        }                                                                                          \
    }
const QMap<QString, Table> &textTables()
{
    // clang-format off
    static const QMap<QString, Table> tables = {
        TABLE(numerLifePath), TABLE(numerBirthDate), TABLE(numerKarmDebts), TABLE(numerExpr),
        TABLE(numerExprM), TABLE(numerPersYear), TABLE(numerPersDate), TABLE(numerHeartDesire),
        TABLE(numerPersonality), TABLE(numerHiddenPassion), TABLE(numerMinorHeartDesire),
        TABLE(numerKarmicLessons), TABLE(numerSubconsConfid), TABLE(numerBalance),
        TABLE(numerChallenges), TABLE(numerPinnacles), TABLE(numerMaturity),
        TABLE(numerRationalThoughts), TABLE(numerTransit), TABLE(numerEssence),
        TABLE(numerDoubleDigitNumbers), TABLE(numerCompoundNumbers),
        TABLE(numerPlanesOfExpression), TABLE(numerPlanesOfExpressionP),
        TABLE(numerPlanesOfExpressionM), TABLE(numerPlanesOfExpressionE),
        TABLE(numerPlanesOfExpressionI), TABLE(numerBridgeLPE), TABLE(numerBridgeLPEDet),
        TABLE(numerBridgeHDP), TABLE(numerBridgeHDPDet), TABLE(numerAttitude),
        TABLE(numerPurposeful), TABLE(numerFamilyFormation), TABLE(numerStability), TABLE(numer1),
        TABLE(numer2), TABLE(numer3), TABLE(numer4), TABLE(numer5), TABLE(numer6), TABLE(numer7),
        TABLE(numer8), TABLE(numer9), TABLE(numerSelfAppraisal), TABLE(numerFinance),
        TABLE(numerTalent), TABLE(numerSpirituality), TABLE(numerSexualLife), TABLE(numerPetC),
        TABLE(numerPetDForecast), TABLE(numerSumComp), TABLE(numerDetComp), TABLE(numerNameComp),
        TABLE(numerLPComp), TABLE(numerPMCharacterComp), TABLE(numerPMEnergyComp),
        TABLE(numerNumInterp), TABLE(numerCelName), TABLE(numerCelFName), TABLE(numerCelLP),
        TABLE(numerCelBD), TABLE(numerCelExpr), TABLE(numerHelpers), TABLE(numerInfo)
    };
    // clang-format on
    return tables;
}
#undef TABLE

// Entries holding text, leaving out the single spaces that the loader puts
// into the compound table before it reads anything.
int filledEntries()
{
    int count = 0;
    for (const Table &t : textTables()) {
        for (int i = 0; i < t.size; ++i) {
            if (!t.entries[i].isEmpty() && t.entries[i] != QLatin1String(" "))
                ++count;
        }
    }
    return count;
}

// A database file from plain lines; a line starting with "=" is written as it
// stands instead of enciphered (short lines, lines that are not letters).
QString writeDatabase(const QTemporaryDir &dir, const QStringList &lines)
{
    const QString path = dir.filePath(QStringLiteral("eng.dat"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('=')))
            file.write(line.mid(1).toLatin1());
        else
            file.write(putpString(line.toLatin1()).toLatin1());
        file.write("\n");
    }
    return path;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

} // namespace

class tst_ReadingsDb : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetTextTables(); }

    void rc4_data();
    void rc4();
    void rc4DefaultKey();
    void letterPairs_data();
    void letterPairs();
    void shortLinesStayAsTheyAre_data();
    void shortLinesStayAsTheyAre();
    void roundTrip_data();
    void roundTrip();

    void distribution_data();
    void distribution();
    void celebrityRecords_data();
    void celebrityRecords();
    void missingFile();
    void reloadResetsOnlyCelebrities();

    void sourceToBytes_data();
    void sourceToBytes();
    void sourceFileThroughLoader();
    void sourceRejectsMalformedHeader();
    void databasePath();
};

void tst_ReadingsDb::rc4_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("Key/Plaintext") << QByteArray("Key") << QByteArray("Plaintext")
                                   << QByteArray::fromHex("bbf316e8d940af0ad3");
    QTest::newRow("Wiki/pedia") << QByteArray("Wiki") << QByteArray("pedia")
                                << QByteArray::fromHex("1021bf0420");
    QTest::newRow("Secret/Attack at dawn") << QByteArray("Secret") << QByteArray("Attack at dawn")
                                           << QByteArray::fromHex("45a01f645fc35b383552544b9bf5");
}

void tst_ReadingsDb::rc4()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);
    QByteArray buffer = plain;
    Crypt(buffer.data(), unsigned(buffer.size()), key.constData(), unsigned(key.size()));
    QCOMPARE(buffer.toHex(), cipher.toHex());
    Crypt(buffer.data(), unsigned(buffer.size()), key.constData(), unsigned(key.size()));
    QCOMPARE(buffer, plain);
}

void tst_ReadingsDb::rc4DefaultKey()
{
    // Key length 0 selects a fixed key of its own: not the database key, and
    // the same every time.
    const QByteArray plain("default key text");
    QByteArray a = plain;
    QByteArray b = plain;
    QByteArray c = plain;
    Crypt(a.data(), unsigned(a.size()), "ignored", 0);
    Crypt(b.data(), unsigned(b.size()), nullptr, 0);
    Crypt(c.data(), unsigned(c.size()), randstart, kDatabaseKeyLength);
    QCOMPARE(a, b);
    QVERIFY(a != plain);
    QVERIFY(a != c);
    QCOMPARE(int(qstrlen(randstart)), 26);
    for (const char ch : QByteArray(randstart))
        QVERIFY(ch > ' ' && ch < 127);
}

void tst_ReadingsDb::letterPairs_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QByteArray>("plain"); // before the cipher
    QTest::newRow("aA is 0") << "aA" << bytes({0});
    QTest::newRow("pP is 255") << "pP" << bytes({255});
    QTest::newRow("low nibble first") << "bAaB" << bytes({1, 16});
    QTest::newRow("odd last letter ignored") << "pPc" << bytes({255});
    QTest::newRow("wide character counts 0")
        << QString(QChar(0x20ac)) + "A" << bytes({(16 * 65 - 113) % 256});
}

void tst_ReadingsDb::letterPairs()
{
    QFETCH(QString, letters);
    QFETCH(QByteArray, plain);
    QByteArray expected = plain;
    Crypt(expected.data(), unsigned(expected.size()), randstart, kDatabaseKeyLength);
    QVERIFY(getpString(letters));
    QCOMPARE(letters, QString::fromLatin1(expected));
}

void tst_ReadingsDb::shortLinesStayAsTheyAre_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("null") << QString();
    QTest::newRow("empty") << QString("");
    QTest::newRow("one character") << QString("x");
}

void tst_ReadingsDb::shortLinesStayAsTheyAre()
{
    QFETCH(QString, line);
    QString s = line;
    QVERIFY(!getpString(s));
    QCOMPARE(s, line);
    QCOMPARE(s.isNull(), line.isNull());
}

void tst_ReadingsDb::roundTrip_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("header") << QByteArray("#10107");
    QTest::newRow("latin-1") << QByteArray("caf\xe9 na\xefve \xff\x01");
    QTest::newRow("every byte") << [] {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(static_cast<char>(i));
        return all;
    }();
    // Longer than the 4096 bytes that a line was once limited to.
    QTest::newRow("10000 bytes") << QByteArray(10000, 'z');
}

void tst_ReadingsDb::roundTrip()
{
    QFETCH(QByteArray, plain);
    QString line = putpString(plain);
    QCOMPARE(line.size(), plain.size() * 2);
    for (const QChar c : line)
        QVERIFY(c.isLetter() && c.unicode() < 128);
    QVERIFY(getpString(line));
    QCOMPARE(line.toLatin1(), plain);
}

void tst_ReadingsDb::distribution_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("filled"); // entries holding text afterwards

    const QString a = "<p>A</p>";
    const QString ab = "<p>A</p><p>B</p>";

    // Headers.
    QTest::newRow("two lines, file order")
        << QStringList {"#10107", "A", "B"} << "numerLifePath" << 7 << ab << 1;
    QTest::newRow("label after the header")
        << QStringList {"#10107 seven", "A"} << "numerLifePath" << 7 << a << 1;
    QTest::newRow("header repeated appends")
        << QStringList {"#10107", "A", "#10201", "X", "#10107", "B"} << "numerLifePath" << 7 << ab
        << 2;
    QTest::newRow("lines before first header")
        << QStringList {"X", "#10101", "A"} << "numerLifePath" << 1 << a << 1;
    QTest::newRow("# and four characters is text")
        << QStringList {"#10101", "#1234"} << "numerLifePath" << 1 << "<p>#1234</p>" << 1;
    QTest::newRow("item -1 drops")
        << QStringList {"#10107", "A", "#101-1", "X"} << "numerLifePath" << 7 << a << 1;
    QTest::newRow("item ab is entry 0")
        << QStringList {"#101ab", "A"} << "numerLifePath" << 0 << a << 1;
    QTest::newRow("section not a number")
        << QStringList {"#abc01", "A"} << "numerLifePath" << 1 << "" << 0;
    QTest::newRow("section without table")
        << QStringList {"#13301", "A", "#60501", "B", "#70401", "C"} << "numerLifePath" << 1 << ""
        << 0;
    QTest::newRow("section 0") << QStringList {"#00001", "A"} << "numerLifePath" << 1 << "" << 0;
    QTest::newRow("sections beside the ranges")
        << QStringList {"#10001", "A", "#21801", "A", "#30001", "A", "#30301", "A", "#40001", "A",
                        "#40701", "A", "#50001", "A", "#50201", "A", "#60501", "A", "#61501", "A",
                        "#69901", "A", "#89901", "A", "#90101", "A"}
        << "numerLifePath" << 1 << "" << 0;

    // Wrapping and raw lines.
    QTest::newRow("one character kept raw")
        << QStringList {"#10101", "=x"} << "numerLifePath" << 1 << "<p>x</p>" << 1;
    QTest::newRow("empty line does not stop")
        << QStringList {"#10101", "=", "A"} << "numerLifePath" << 1 << a << 1;
    QTest::newRow("inline html unescaped") << QStringList {"#10101", "<b>A</b> & B"}
                                           << "numerLifePath" << 1 << "<p><b>A</b> & B</p>" << 1;
    QTest::newRow("line over 4096 bytes")
        << QStringList {"#10101", QString(6000, 'w')} << "numerLifePath" << 1
        << "<p>" + QString(6000, 'w') + "</p>" << 1;

    // The section map, first and last section of every range.
    const struct
    {
        const char *header;
        const char *table;
        int entry;
    } map[] = {
        {"#10103", "numerLifePath", 3},
        {"#10203", "numerBirthDate", 3},
        {"#12103", "numerDoubleDigitNumbers", 3},
        {"#12303", "numerPlanesOfExpression", 3},
        {"#12703", "numerPlanesOfExpressionI", 3},
        {"#12803", "numerBridgeLPE", 3},
        {"#13103", "numerBridgeHDPDet", 3},
        {"#13203", "numerAttitude", 3},
        {"#20103", "numerPurposeful", 3},
        {"#20303", "numerStability", 3},
        {"#20403", "numer1", 3},
        {"#21203", "numer9", 3},
        {"#21303", "numerSelfAppraisal", 3},
        {"#21703", "numerSexualLife", 3},
        {"#30103", "numerPetC", 3},
        {"#30203", "numerPetDForecast", 3},
        {"#40103", "numerSumComp", 3},
        {"#40603", "numerPMEnergyComp", 3},
        {"#50103", "numerNumInterp", 3},
        {"#60203", "numerCelLP", 3},
        {"#60303", "numerCelBD", 3},
        {"#60403", "numerCelExpr", 3},
        {"#61203", "numerCelLP", 103},
        {"#61499", "numerCelExpr", 199},
        {"#90015", "numerInfo", 15},
    };
    for (const auto &m : map)
        QTest::newRow(m.header) << QStringList {m.header, "A"} << m.table << m.entry << a << 1;
    QTest::newRow("info item 16 dropped")
        << QStringList {"#90016", "A", "#90099", "B"} << "numerInfo" << 15 << "" << 0;

    // Compound numbers start as one space from 10 to 99 and at 0.
    QTest::newRow("compound 15") << QStringList {"#12215", "A"} << "numerCompoundNumbers" << 15
                                 << " " + a << 1;
    QTest::newRow("compound 5") << QStringList {"#12205", "A"} << "numerCompoundNumbers" << 5 << a
                                << 1;
    QTest::newRow("compound 0 untouched")
        << QStringList {"#12215", "A"} << "numerCompoundNumbers" << 0 << " " << 1;
    QTest::newRow("compound 99 untouched")
        << QStringList {} << "numerCompoundNumbers" << 99 << " " << 0;
    QTest::newRow("compound 100 empty")
        << QStringList {} << "numerCompoundNumbers" << 100 << "" << 0;

    // Help pages and their headings.
    QTest::newRow("help 701/21 calculating")
        << QStringList {"#70121", "A"} << "numerHelpers" << 49 << "<h2>Calculating</h2>" + a << 1;
    QTest::newRow("help 700/0 heading") << QStringList {"#70000", "A", "B"} << "numerHelpers" << 0
                                        << "<h2><p>A</p></h2><p>B</p>" << 1;
    QTest::newRow("help interpretation") << QStringList {"#70232", "A", "B"} << "numerHelpers" << 94
                                         << "<h2>Interpretation</h2>" + ab << 1;
    QTest::newRow("help piece 3 no heading")
        << QStringList {"#70003", "A"} << "numerHelpers" << 3 << a << 1;
    QTest::newRow("help piece 5 next topic")
        << QStringList {"#70395", "A"} << "numerHelpers" << 161 << a << 1;
    QTest::newRow("help heading after text") << QStringList {"#70014", "A", "#70020", "B"}
                                             << "numerHelpers" << 8 << "<p>A</p><p>B</p>" << 1;
}

void tst_ReadingsDb::distribution()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, table);
    QFETCH(int, entry);
    QFETCH(QString, expected);
    QFETCH(int, filled);

    QTemporaryDir dir;
    QVERIFY(loadReadingsDatabase(writeDatabase(dir, lines)));
    QVERIFY(textTables().contains(table));
    QCOMPARE(textTables()[table].entries[entry], expected);
    QCOMPARE(filledEntries(), filled);
    QCOMPARE(numerCustomText[0], QString("Your custom text here"));
}

void tst_ReadingsDb::celebrityRecords_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QList<int>>("numbers"); // life path, birth day, expression, date
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("secondName");

    const int date = 31 + 12 * 256 + 1950 * 65536;
    QTest::newRow("611/3 full record")
        << QStringList {"#61103", "0", "7", "22", "Ann Example", "Singer", "31.12.1950"} << 103
        << QList<int> {-1, 7, 22, date} << "Ann Example"
        << "Singer";
    QTest::newRow("601/99 not a number")
        << QStringList {"#60199", "x", "11", "5", "Bo", "Poet", "1.2.1900"} << 99
        << QList<int> {-1, 11, 5, 1 + 2 * 256 + 1900 * 65536} << "Bo"
        << "Poet";
    QTest::newRow("bad date waits for a good one")
        << QStringList {"#60101", "1", "2", "3", "N", "F", "1950", "1.2.3.4", "31.12.1950"} << 1
        << QList<int> {1, 2, 3, date} << "N"
        << "F";
    QTest::newRow("lines after the record dropped")
        << QStringList {"#60101", "1", "2", "3", "N", "F", "31.12.1950", "9", "M"} << 1
        << QList<int> {1, 2, 3, date} << "N"
        << "F";
    QTest::newRow("record in two headers")
        << QStringList {"#60102", "4", "5", "#10101", "X", "#60102", "6", "N", "F", "31.12.1950"}
        << 2 << QList<int> {4, 5, 6, date} << "N"
        << "F";
    QTest::newRow("section 600 holds no record")
        << QStringList {"#60001", "7", "8", "9", "N", "F", "31.12.1950"} << 1
        << QList<int> {0, 0, 0, 0} << ""
        << "";
    QTest::newRow("section 610 holds no record")
        << QStringList {"#61001", "7", "8", "9", "N", "F", "31.12.1950"} << 101
        << QList<int> {0, 0, 0, 0} << ""
        << "";
    // The packed date holds a year of 15 bits: a larger one is not a date, and
    // the next line is taken as the date instead.
    QTest::newRow("year beyond the packed date")
        << QStringList {"#60107", "1", "2", "3", "N", "F", "1.1.40000", "2.3.1990"} << 7
        << QList<int> {1, 2, 3, 2 + 3 * 256 + 1990 * 65536} << "N"
        << "F";
    QTest::newRow("day beyond its byte")
        << QStringList {"#60108", "1", "2", "3", "N", "F", "300.1.1990", "-1.1.1990"} << 8
        << QList<int> {1, 2, 3, 0} << "N"
        << "F";
    QTest::newRow("incomplete record")
        << QStringList {"#61100", "4", "5"} << 100 << QList<int> {4, 5, 0, 0} << ""
        << "";
}

void tst_ReadingsDb::celebrityRecords()
{
    QFETCH(QStringList, lines);
    QFETCH(int, slot);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, name);
    QFETCH(QString, secondName);

    QTemporaryDir dir;
    QVERIFY(loadReadingsDatabase(writeDatabase(dir, lines)));
    QCOMPARE(numerCelILP[slot], numbers[0]);
    QCOMPARE(numerCelIDAY[slot], numbers[1]);
    QCOMPARE(numerCelIEXPR[slot], numbers[2]);
    QCOMPARE(numerCelBDT[slot], numbers[3]);
    QCOMPARE(numerCelName[slot], name);
    QCOMPARE(numerCelFName[slot], secondName);
    // Record lines are not texts.
    QCOMPARE(numerCelLP[slot], QString(""));
}

void tst_ReadingsDb::missingFile()
{
    numerLifePath[1] = "kept";
    QVERIFY(!loadReadingsDatabase(QDir::temp().filePath("no-such-folder/eng.dat")));
    QCOMPARE(numerCustomText[0], QString("Your custom text here"));
    QVERIFY(numerCustomText[1].isEmpty());
    QCOMPARE(numerLifePath[1], QString("kept"));
    QVERIFY(numerCompoundNumbers[10].isEmpty());
    numerLifePath[1].clear();
    QCOMPARE(filledEntries(), 0);
}

void tst_ReadingsDb::reloadResetsOnlyCelebrities()
{
    QTemporaryDir dir;
    const QString path = writeDatabase(dir, {"#10101", "A", "#60105", "7", "#60205", "T"});
    QVERIFY(loadReadingsDatabase(path));
    QVERIFY(loadReadingsDatabase(path));
    QCOMPARE(numerLifePath[1], QString("<p>A</p><p>A</p>"));
    QCOMPARE(numerCelILP[5], 7);
    QCOMPARE(numerCelLP[5], QString("<p>T</p>"));
}

void tst_ReadingsDb::sourceToBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ascii") << "plain" << QByteArray("plain");
    QTest::newRow("latin-1 stays one byte") << QString::fromUtf8("café") << QByteArray("caf\xe9");
    QTest::newRow("euro") << QString::fromUtf8("5 €") << QByteArray("5 &#8364;");
    QTest::newRow("outside the BMP") << QString::fromUtf8("😀!") << QByteArray("&#128512;!");
}

void tst_ReadingsDb::sourceToBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(toDatabaseBytes(text), expected);
}

void tst_ReadingsDb::sourceFileThroughLoader()
{
    QFile source(TestEnvironment::dataPath("engine/readings-sample.txt"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray database;
    QString error;
    QVERIFY(encipherReadingsSource(QString::fromUtf8(source.readAll()), &database, &error));
    QVERIFY(error.isEmpty());
    for (const char c : database)
        QVERIFY(c == '\n' || (c >= 'a' && c <= 'p') || (c >= 'A' && c <= 'P'));

    QTemporaryDir dir;
    QFile out(dir.filePath("eng.dat"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(database);
    out.close();
    QVERIFY(loadReadingsDatabase(out.fileName()));

    QCOMPARE(numerLifePath[0], QString("<p>The life path is the road a person walks.</p>"));
    QCOMPARE(
        numerLifePath[7],
        QString::fromUtf8("<p>Seven looks beneath the surface.</p>"
                          "<p>It asks <i>why</i> before it asks how: café talk is not "
                          "enough.</p>"
                          "<p>Price of wisdom: 5 &#8364; and a &#8220;quiet&#8221; room.</p>"));
    QCOMPARE(numerCompoundNumbers[15], QString(" <p>Fifteen draws people near.</p>"));
    QCOMPARE(numerCelILP[103], 7);
    QCOMPARE(numerCelIDAY[103], 3);
    QCOMPARE(numerCelIEXPR[103], 22);
    QCOMPARE(numerCelName[103], QString("Ann Example"));
    QCOMPARE(numerCelFName[103], QString("Singer"));
    QCOMPARE(numerCelBDT[103], 31 + 12 * 256 + 1950 * 65536);
    QCOMPARE(numerCelLP[103], QString("<p>Her path is the seeker's.</p>"));
    QCOMPARE(numerHelpers[49],
             QString("<h2>Calculating</h2><p>Add the digits of the birth date.</p>"));
    QCOMPARE(numerInfo[0], QString("<p>Numbers describe; they do not decide.</p>"));
    QCOMPARE(filledEntries(), 8);
}

void tst_ReadingsDb::sourceRejectsMalformedHeader()
{
    QFile source(TestEnvironment::dataPath("engine/readings-bad-header.txt"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    // Lines before the bad header are not handed out either.
    QByteArray database("earlier\n");
    QString error;
    QVERIFY(!encipherReadingsSource(QString::fromUtf8(source.readAll()), &database, &error));
    QVERIFY2(error.startsWith("3: "), qPrintable(error));
    QCOMPARE(database, QByteArray("earlier\n"));
}

void tst_ReadingsDb::databasePath()
{
    QVERIFY(readingsDatabasePath().endsWith("/Resources/eng.dat"));
}

QTEST_GUILESS_MAIN(tst_ReadingsDb)
#include "tst_readingsdb.moc"
