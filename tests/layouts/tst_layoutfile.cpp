#include "layouts/boundedread.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutlimits.h"
#include "layouts/layoutpictures.h"
#include "layouts/sectionmarkup.h"

#include "heavylayouts.h"
#include "layoutfixtures.h"
#include "layouttestutil.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace LayoutTest;

Q_DECLARE_METATYPE(reportSetting)

namespace {

// Set LUMARO_UPDATE_GOLDEN=1 to rewrite the golden files after a deliberate
// format change; check the new bytes by hand before committing them.
bool updateGolden()
{
    return qEnvironmentVariableIntValue("LUMARO_UPDATE_GOLDEN") == 1;
}

QString golden(const QString &name)
{
    return TestEnvironment::dataPath(QStringLiteral("layouts/") + name);
}

QByteArray writtenBytes(const reportSetting &setting)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writeReportSetting(&buffer, setting))
        return QByteArray();
    return bytes;
}

bool readBack(const QByteArray &bytes, reportSetting *setting, bool decodePictures = true)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readReportSetting(&buffer, setting, nullptr, decodePictures);
}

// One item with one entry in each list and the title "T", as in the small
// file of the damage tests.
repItem smallItem()
{
    repItem item;
    item.type = 3;
    item.texts = QStringList {QString()};
    item.images = QList<QImage> {QImage()};
    item.useStdText = QList<bool> {true};
    item.title = QStringLiteral("T");
    return item;
}

// The bytes of smallItem(), checked field by field against the format.
const char smallItemHex[]
    = "00000003" // type
      "ffffffff" // name: null string
      "00000000" // kind
      // header font: family "Arial", point size -1.0 (a pixel font), pixel size 18,
      // style hint 5 (any), strategy 1, 0, weight 75, bits 0x10 (kerning),
      // stretch 0, extended bits 1 (ignore pitch), letter and word spacing 0
      "0000000a 0041 0072 0069 0061 006c"
      "bff0000000000000"
      "00000012"
      "0501004b10"
      "0000"
      "01"
      "0000000000000000"
      // content font: the same with pixel size 16 and weight 50
      "0000000a 0041 0072 0069 0061 006c"
      "bff0000000000000"
      "00000010"
      "0501003210"
      "0000"
      "01"
      "0000000000000000"
      "01ffff0000000000000000" // header colour: spec RGB, alpha, red, green, blue, pad
      "01ffff0000000000000000" // content colour
      "01" // default style
      "00000001ffffffff" // texts: one null string
      "0000000100000000" // images: one null image
      "0000000101" // standard-text flags: one true
      "000000020054" // title "T"
      "00000000"; // options: none

QByteArray hexBytes(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// The damage tests' file: kind 0 holds smallItem(), flags {"UPDATE1": "TRUE"}.
reportSetting smallSetting()
{
    reportSetting setting;
    setting.items[RKNumerology].append(smallItem());
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    return setting;
}

// A shared layout made to put markup into every report: its titles, its
// custom text and, in the file, its font families (written here as Arial)
// hold markup.
const QString hostileFamily = QStringLiteral(
    "Arial;\"><iframe src=\"file:///tmp/secret.txt\"></iframe><script>alert(1)</script>"
    "<img src=x onerror=alert(2)><b title=\"");

reportSetting hostileSetting(const QString &family, const QString &text)
{
    repItem heading = smallItem();
    heading.type = 0;
    heading.defaultStyle = false;
    heading.headerFont.setFamily(family);
    heading.contentFont.setFamily(family);
    heading.title = QStringLiteral("Life path <frame> notes");
    repItem custom = heading;
    custom.type = 35;
    custom.title = QStringLiteral("Love & <Base> numbers");
    custom.texts = QStringList {text};
    custom.useStdText = QList<bool> {false};
    repItem pet = heading;
    pet.kind = RKPet;
    pet.title = QStringLiteral("<script>alert(10)</script> & pets");
    reportSetting setting = smallSetting();
    setting.items[RKNumerology] = {heading, custom};
    setting.items[RKPet] << pet;
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

// A string as the file holds it.
QByteArray stringBytes(const QString &text)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(LayoutStreamVersion);
    stream << text;
    return bytes;
}

// Offsets of the counts and lengths in the bytes of smallSetting().
enum SmallOffset {
    KindZeroCount = 8,
    NameLength = 16,
    FamilyLength = 24,
    HeaderColorSpec = 108,
    ContentColorSpec = 119,
    TextCount = 131,
    ImageCount = 139,
    FlagCount = 147,
    TitleLength = 152,
    OptionCount = 158,
    KindOneCount = 162,
    KindFourCount = 174,
    FlagsCount = 178,
};

quint32 wordAt(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<quint32>(bytes.constData() + offset);
}

void setWordAt(QByteArray *bytes, int offset, quint32 value)
{
    qToBigEndian(value, bytes->data() + offset);
}

// The bytes the flags map takes at the end of a file.
int flagsSize(const QMap<QString, QString> &flags)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(LayoutStreamVersion);
    stream << flags;
    return bytes.size();
}

// Damaged pictures make the PNG library complain on stderr and Qt warn;
// thousands of such lines would bury the test's own output.
class QuietErrors
{
public:
    QuietErrors()
        : m_previous(
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}))
    {
        std::fflush(stderr);
        m_stderr = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) {
            ::dup2(null, STDERR_FILENO);
            ::close(null);
        }
    }
    ~QuietErrors()
    {
        std::fflush(stderr);
        if (m_stderr >= 0) {
            ::dup2(m_stderr, STDERR_FILENO);
            ::close(m_stderr);
        }
        qInstallMessageHandler(m_previous);
    }
    QuietErrors(const QuietErrors &) = delete;
    QuietErrors &operator=(const QuietErrors &) = delete;

private:
    QtMessageHandler m_previous;
    int m_stderr = -1;
};

} // namespace

class TestLayoutFile : public QObject
{
    Q_OBJECT

private slots:
    void itemBytes();
    void headerAndFlags();
    void goldenFiles_data();
    void goldenFiles();
    void goldenWithPicture();
    void fetchingMarkupDropped_data();
    void fetchingMarkupDropped();
    void fontFamilies_data();
    void fontFamilies();
    void hostileFile();
    void olderAndNewerFiles_data();
    void olderAndNewerFiles();
    void listsHoldWhatTheFileHolds();
    void setsTheStreamVersion();
    void truncatedFiles();
    void hugeCounts_data();
    void hugeCounts();
    void colorSpecs_data();
    void colorSpecs();
    void pictureLimit_data();
    void pictureLimit();
    void markupLimit_data();
    void markupLimit();
    void heavyLayouts_data();
    void heavyLayouts();
    void layoutSizes_data();
    void layoutSizes();
    void largeTitleAndPageBreaksKept();
    void bitFlips();
    void randomDamage();
};

void TestLayoutFile::itemBytes()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setVersion(LayoutStreamVersion);
    writeRepItem(out, smallItem());
    QCOMPARE(bytes.toHex(), hexBytes(smallItemHex).toHex());

    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(LayoutStreamVersion);
    repItem item;
    QVERIFY(readRepItem(in, &item, 2));
    const QString diff = itemDifference(item, smallItem());
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestLayoutFile::headerAndFlags()
{
    reportSetting setting;
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("FALSE"));
    const QByteArray expected = hexBytes("4c4e5250" // "LNRP"
                                         "00000002" // version
                                         "00000000 00000000 00000000 00000000 00000000"
                                         "00000002" // flags: greatest key first
                                         "0000000e 0055 0050 0044 0041 0054 0045 0032"
                                         "0000000a 0046 0041 004c 0053 0045"
                                         "0000000e 0055 0050 0044 0041 0054 0045 0031"
                                         "00000008 0054 0052 0055 0045");
    QCOMPARE(writtenBytes(setting).toHex(), expected.toHex());

    reportSetting read;
    QVERIFY(readBack(expected, &read));
    QCOMPARE(read.flags, setting.flags);
}

void TestLayoutFile::goldenFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<reportSetting>("setting");

    reportSetting defaults;
    initialDefSetting(&defaults);
    QTest::newRow("default layout") << "default.zqnr" << defaults;
    QTest::newRow("custom") << "custom.zqnr" << LayoutFixture::customSetting(false);
}

void TestLayoutFile::goldenFiles()
{
    QFETCH(QString, file);
    QFETCH(reportSetting, setting);

    const QByteArray bytes = writtenBytes(setting);
    QVERIFY(!bytes.isEmpty());
    if (updateGolden())
        QVERIFY(writeBytes(golden(file), bytes));
    const QByteArray stored = readBytes(golden(file));
    QVERIFY2(!stored.isEmpty(), qPrintable(golden(file)));
    QCOMPARE(bytes.size(), stored.size());
    QVERIFY2(bytes == stored, "the written bytes differ from the golden file");

    reportSetting read;
    QVERIFY(readBack(stored, &read));
    const QString diff = settingDifference(read, withFilteredTexts(setting));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestLayoutFile::goldenWithPicture()
{
    // The picture is stored as PNG, whose compressed bytes depend on the
    // library version, so this golden file is only read, never compared.
    const reportSetting setting = LayoutFixture::customSetting(true);
    if (updateGolden())
        QVERIFY(writeBytes(golden(QStringLiteral("custom-picture.zqnr")), writtenBytes(setting)));

    reportSetting read;
    QVERIFY(readBack(readBytes(golden(QStringLiteral("custom-picture.zqnr"))), &read));
    QString diff = settingDifference(read, withFilteredTexts(setting));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    QCOMPARE(read.items[RKNumerology].first().images.first().pixel(4, 2), qRgba(0, 0, 255, 128));

    reportSetting again;
    QVERIFY(readBack(writtenBytes(read), &again));
    diff = settingDifference(again, withFilteredTexts(setting));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestLayoutFile::fetchingMarkupDropped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a fragment") << "<b>Seven</b> <a href=\"https://example.org/\">is</a>"
                                << "<b>Seven</b> <a href=\"https://example.org/\">is</a>";
    QTest::newRow("scripts and loading style blocks, also unclosed")
        << "<iframe/title=\"a>b\" src=x></IFRAME >a<style>p { background: url(x.png) }</style>"
           "<style>@import 'x.css';</style><SCRIPT>document.write('<iframe>')"
        << "a";
    QTest::newRow("a removal joins no new tag")
        << "<<iframe></iframe>iframe src=\"file:///x\"><ifr<embed>ame src=x>"
        << "&lt;iframe src=&quot;file:///x&quot;&gt;ame src=x&gt;";
    QTest::newRow("markup inside a tag, a name beginning with '='")
        << "<a title=\"<iframe src=x>\" href onclick=1 =javascript:x>7</a><scr<p>ipt>"
        << "<a>7</a>ipt&gt;";
}

// A shared layout's texts come without markup that embeds, fetches or runs
// script, and read the same once written again; titles are plain text and
// come back as typed.
void TestLayoutFile::fetchingMarkupDropped()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    reportSetting setting = smallSetting();
    setting.items[RKNumerology][0].texts = QStringList {text};
    setting.items[RKNumerology][0].title = text;
    reportSetting read;
    QVERIFY(readBack(writtenBytes(setting), &read));
    QCOMPARE(read.items[RKNumerology][0].texts, QStringList {expected});
    QCOMPARE(read.items[RKNumerology][0].title, text);
    reportSetting again;
    QVERIFY(readBack(writtenBytes(read), &again));
    QCOMPARE(again.items[RKNumerology][0].texts, QStringList {expected});
    QCOMPARE(again.items[RKNumerology][0].title, text);
}

void TestLayoutFile::fontFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("kept");

    // Real names: blanks, digits, punctuation, letters and marks of any script.
    const QString names = QStringLiteral("Arial|DejaVu Sans Mono|Helvetica [Cronyx]|M+ 1p|Bodoni* "
                                         "06|Black & White|\u5fae\u8f6f\u96c5\u9ed1|\u092e\u0902"
                                         "\u0917\u0932|\U0001d509raktur");
    for (const QString &name : names.split(QLatin1Char('|')))
        QTest::newRow(qPrintable(name)) << name << true;
    const QString refused = QStringLiteral("Arial;|a'b|a\"b|a`b|a<b|a>b|a{b}|a\\b|Arial\n|a\tb|"
                                           "Ari\u200bal|Ari\u2028al");
    for (const QString &name : refused.split(QLatin1Char('|')))
        QTest::newRow(qPrintable(name)) << name << false;
    QTest::newRow("markup") << hostileFamily << false;
    QTest::newRow("lone surrogate") << QString(QChar(0xd800)) << false;
}

// A family that no font has is stored as none, the report's own font.
void TestLayoutFile::fontFamilies()
{
    QFETCH(QString, family);
    QFETCH(bool, kept);

    QCOMPARE(LayoutLimits::isFontFamilyName(family), kept);
    reportSetting setting = smallSetting();
    setting.items[RKNumerology][0].headerFont.setFamily(family);
    reportSetting read;
    QVERIFY(readBack(writtenBytes(setting), &read));
    QCOMPARE(read.items[RKNumerology][0].headerFont.family(), kept ? family : QString());
    QCOMPARE(read.items[RKNumerology][0].contentFont.family(), QStringLiteral("Arial"));
}

// What another program could have written: the reader refuses the families,
// keeps the titles as they are and filters the text; saved again, the layout
// loads back as it was read.
void TestLayoutFile::hostileFile()
{
    QByteArray bytes = writtenBytes(hostileSetting(
        QStringLiteral("Arial"),
        QStringLiteral("<html><body><!-- md --><br><p>Seven <img src=x onerror=alert(3)><a "
                       "href=\"jav&#x61;script:alert(4)\" onmouseover='alert(5)'>link</a><script>"
                       "alert(6)</script><iframe src=\"file:///tmp/secret.txt\"></iframe><svg/"
                       "onload=alert(7)><scr<p>ipt>alert(8)</script><<p>iframe src=x><ponmouseover="
                       "alert(9)>end</p></body></html>")));
    bytes.replace(stringBytes(QStringLiteral("Arial")), stringBytes(hostileFamily));
    if (updateGolden())
        QVERIFY(writeBytes(golden(QStringLiteral("hostile.zqnr")), bytes));
    QVERIFY(readBytes(golden(QStringLiteral("hostile.zqnr"))) == bytes);

    // The same as the editor's document of what a browser would show.
    const reportSetting expected
        = hostileSetting(QString(),
                         SectionMarkup::filtered(QStringLiteral(
                             "<body><p>Seven <a>link</a></p><p>iframe src=x&gt;end</p></body>")));
    reportSetting read;
    QVERIFY(readBack(bytes, &read));
    QString diff = settingDifference(read, expected);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
    reportSetting again;
    QVERIFY(readBack(writtenBytes(read), &again));
    diff = settingDifference(again, expected);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestLayoutFile::olderAndNewerFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<bool>("withFlags");

    const reportSetting setting = LayoutFixture::customSetting(false);
    const QByteArray version1 = LayoutFixture::oldFormatFile(setting, 1, true);
    const QByteArray noFlags = LayoutFixture::oldFormatFile(setting, 1, false);
    if (updateGolden()) {
        writeBytes(golden(QStringLiteral("version1.zqnr")), version1);
        writeBytes(golden(QStringLiteral("version1-noflags.zqnr")), noFlags);
    }
    QByteArray version0 = readBytes(golden(QStringLiteral("version1.zqnr")));
    setWordAt(&version0, 4, 0);
    QByteArray version3 = writtenBytes(setting);
    setWordAt(&version3, 4, 3);
    QByteArray otherMagic = writtenBytes(setting);
    otherMagic[3] = 'Q';
    QByteArray version2NoFlags = writtenBytes(setting);
    version2NoFlags.chop(flagsSize(setting.flags));

    QTest::newRow("version 1") << readBytes(golden(QStringLiteral("version1.zqnr"))) << true
                               << true;
    QTest::newRow("version 1 without flags")
        << readBytes(golden(QStringLiteral("version1-noflags.zqnr"))) << true << false;
    QTest::newRow("version 0") << version0 << true << true;
    QTest::newRow("version 2 without flags") << version2NoFlags << true << false;
    QTest::newRow("version 3") << version3 << false << false;
    QTest::newRow("other magic") << otherMagic << false << false;
    QTest::newRow("empty file") << QByteArray() << false << false;
    QTest::newRow("magic only") << hexBytes("4c4e5250") << false << false;
}

void TestLayoutFile::olderAndNewerFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(bool, withFlags);

    QVERIFY(!bytes.isEmpty() || !readable);
    reportSetting read;
    QCOMPARE(readBack(bytes, &read), readable);
    if (!readable)
        return;

    // Old files have no item options; everything else is as written.
    reportSetting expected = LayoutFixture::customSetting(false);
    if (wordAt(bytes, 4) < 2)
        expected.items[RKNumerology].first().options.clear();
    if (!withFlags)
        expected.flags.clear();
    const QString diff = settingDifference(read, withFilteredTexts(expected));
    QVERIFY2(diff.isEmpty(), qPrintable(diff));

    // Written back, it is a version 2 file.
    const QByteArray rewritten = writtenBytes(read);
    QCOMPARE(wordAt(rewritten, 4), 2u);
}

void TestLayoutFile::listsHoldWhatTheFileHolds()
{
    const reportSetting custom = LayoutFixture::customSetting(false);
    reportSetting read;
    QVERIFY(readBack(readBytes(golden(QStringLiteral("custom.zqnr"))), &read));
    QCOMPARE(read.items[RKNumerology].first().texts.size(), 3);
    QCOMPARE(read.items[RKNumerology].first().useStdText, (QList<bool> {false, true, false}));
    QVERIFY(read.items[RKNumerology].first().texts.at(1).isNull());
    QCOMPARE(read.items[RKLoveCompatibility].first().texts.size(), 256);
    QCOMPARE(read.items[RKCelebrities].first().texts.size(), 0);
    QCOMPARE(read.items[RKCelebrities].first().images.size(), 0);
    QCOMPARE(read.items[RKCelebrities].first().useStdText.size(), 0);

    // loadSet appends to what the list holds.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    saveSet(&out, &custom.items[RKNumerology]);
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    QList<repItem> list = custom.items[RKCelebrities];
    QVERIFY(loadSet(&in, &list, 2));
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(1).title, QStringLiteral("My Planes"));
}

void TestLayoutFile::setsTheStreamVersion()
{
    // A stream of another version writes and reads the same bytes.
    const reportSetting custom = LayoutFixture::customSetting(false);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream out(&buffer);
    out.setVersion(QDataStream::Qt_5_15);
    saveSet(&out, &custom.items[RKNumerology]);
    QCOMPARE(out.version(), 12);

    const QByteArray file = readBytes(golden(QStringLiteral("custom.zqnr")));
    QCOMPARE(bytes.toHex(), file.mid(8, bytes.size()).toHex());

    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    in.setVersion(QDataStream::Qt_5_15);
    QList<repItem> list;
    QVERIFY(loadSet(&in, &list, 2));
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first().headerFont, custom.items[RKNumerology].first().headerFont);
}

void TestLayoutFile::truncatedFiles()
{
    const QByteArray bytes = readBytes(golden(QStringLiteral("custom-picture.zqnr")));
    QVERIFY(!bytes.isEmpty());
    reportSetting full;
    QVERIFY(readBack(bytes, &full));
    const int flagsStart = bytes.size() - flagsSize(full.flags);

    QElapsedTimer timer;
    timer.start();
    QList<int> accepted;
    {
        QuietErrors quiet;
        for (int length = 0; length < bytes.size(); ++length) {
            // A refused file leaves the caller's layout as it was.
            reportSetting read;
            read.flags.insert(QStringLiteral("kept"), QStringLiteral("1"));
            const QByteArray before = writtenBytes(read);
            if (readBack(bytes.left(length), &read))
                accepted.append(length);
            else
                QCOMPARE(writtenBytes(read), before);
        }
    }
    // The only shorter file that is whole is the one without the flags map.
    QCOMPARE(accepted, QList<int> {flagsStart});
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

void TestLayoutFile::hugeCounts_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("expectedWord");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("decided"); // false: only speed and safety are checked

    const struct
    {
        const char *name;
        int offset;
        quint32 word;
        bool string;
    } fields[] = {
        {"item count", KindZeroCount, 1, false},
        {"name length", NameLength, 0xffffffff, true},
        {"font family length", FamilyLength, 10, true},
        {"text count", TextCount, 1, false},
        {"image count", ImageCount, 1, false},
        {"flag count", FlagCount, 1, false},
        {"title length", TitleLength, 2, true},
        {"option count", OptionCount, 0, false},
        {"kind 1 count", KindOneCount, 0, false},
        {"kind 4 count", KindFourCount, 0, false},
        {"flags count", FlagsCount, 1, false},
    };
    const quint32 values[] = {0xffffffff, 0xfffffffe, 0x7fffffff, 0x10000000, 0x1000};
    for (const auto &field : fields) {
        for (quint32 value : values) {
            // 0xffffffff is the length of a null string: the file then reads on
            // from the wrong place, which may or may not make sense of it.
            const bool decided = !(field.string && value == 0xffffffff);
            QTest::addRow("%s %08x", field.name, value)
                << field.offset << field.word << value << decided;
        }
    }
}

void TestLayoutFile::hugeCounts()
{
    QFETCH(int, offset);
    QFETCH(quint32, expectedWord);
    QFETCH(quint32, value);
    QFETCH(bool, decided);

    QByteArray bytes = writtenBytes(smallSetting());
    QCOMPARE(wordAt(bytes, offset), expectedWord);
    setWordAt(&bytes, offset, value);

    QElapsedTimer timer;
    timer.start();
    reportSetting read;
    const bool readable = readBack(bytes, &read);
    QVERIFY2(timer.elapsed() < TestEnvironment::HangGuardMs,
             qPrintable(QString::number(timer.elapsed())));
    if (decided)
        QVERIFY(!readable);
}

void TestLayoutFile::colorSpecs_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("spec"); // the stored byte, signed
    QTest::addColumn<bool>("readable");

    const struct
    {
        const char *name;
        int offset;
    } fields[] = {{"header", HeaderColorSpec}, {"content", ContentColorSpec}};
    for (const auto &field : fields) {
        QTest::addRow("%s invalid", field.name) << field.offset << 0 << true;
        QTest::addRow("%s hsv", field.name) << field.offset << 2 << true;
        QTest::addRow("%s extended rgb", field.name) << field.offset << 5 << true;
        QTest::addRow("%s 6", field.name) << field.offset << 6 << false;
        QTest::addRow("%s 127", field.name) << field.offset << 127 << false;
        QTest::addRow("%s -1", field.name) << field.offset << -1 << false;
        QTest::addRow("%s -128", field.name) << field.offset << -128 << false;
    }
}

void TestLayoutFile::colorSpecs()
{
    QFETCH(int, offset);
    QFETCH(int, spec);
    QFETCH(bool, readable);

    QByteArray bytes = writtenBytes(smallSetting());
    QCOMPARE(int(bytes.at(offset)), int(QColor::Rgb));
    bytes[offset] = char(spec);
    reportSetting read;
    QCOMPARE(readBack(bytes, &read), readable);
    if (readable) {
        const repItem &item = read.items[RKNumerology].first();
        const QColor &color = offset == HeaderColorSpec ? item.headerColor : item.contentColor;
        QCOMPARE(int(color.spec()), spec);
    }
}

void TestLayoutFile::bitFlips()
{
    const QByteArray bytes = readBytes(golden(QStringLiteral("custom-picture.zqnr")));
    QVERIFY(!bytes.isEmpty());

    QuietErrors quiet;
    qint64 slowest = 0;
    int readable = 0;
    for (int bit = 0; bit < bytes.size() * 8; ++bit) {
        QByteArray damaged = bytes;
        damaged[bit / 8] = char(damaged.at(bit / 8) ^ (1 << (bit % 8)));
        QElapsedTimer timer;
        timer.start();
        reportSetting read;
        if (readBack(damaged, &read))
            ++readable;
        slowest = qMax(slowest, timer.elapsed());
    }
    QVERIFY2(slowest < TestEnvironment::HangGuardMs, qPrintable(QString::number(slowest)));
    // Flips in the magic, the version and the counts make a file unreadable.
    QVERIFY(readable < bytes.size() * 8);
}

void TestLayoutFile::randomDamage()
{
    const QByteArray bytes = readBytes(golden(QStringLiteral("custom-picture.zqnr")));
    QVERIFY(!bytes.isEmpty());
    QRandomGenerator random(20261209);

    QuietErrors quiet;
    qint64 slowest = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = bytes;
        const int changes = 1 + random.bounded(8);
        for (int i = 0; i < changes; ++i)
            damaged[random.bounded(damaged.size())] = char(random.bounded(256));
        if (random.bounded(4) == 0)
            damaged.truncate(random.bounded(damaged.size()));
        QElapsedTimer timer;
        timer.start();
        reportSetting read;
        readBack(damaged, &read);
        slowest = qMax(slowest, timer.elapsed());
    }
    QVERIFY2(slowest < TestEnvironment::HangGuardMs, qPrintable(QString::number(slowest)));
}

void TestLayoutFile::pictureLimit_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("extraSide"); // one more picture, 0 none
    QTest::addColumn<bool>("fits");

    // Gray pictures: read back they take a byte a pixel.
    QTest::newRow("one full-size picture") << 4096 << 1 << 0 << false;
    QTest::newRow("40 Celebrities pictures") << 460 << 40 << 0 << true;
    QTest::newRow("and one pixel more") << 460 << 40 << 1 << false;
    QTest::newRow("200 of the other sections' pictures") << 126 << 200 << 0 << true;
}

// What the writer refuses to store is what the reader refuses to open.
void TestLayoutFile::pictureLimit()
{
    QFETCH(int, side);
    QFETCH(int, count);
    QFETCH(int, extraSide);
    QFETCH(bool, fits);

    QImage picture(side, side, QImage::Format_Grayscale8);
    picture.fill(90);
    reportSetting setting;
    addItemSet(&setting.items[RKNumerology], RKNumerology, 1, QString());
    addItemSet(&setting.items[RKCelebrities], RKCelebrities, 1, QString());
    QList<QImage> *sections[]
        = {&setting.items[RKNumerology][0].images, &setting.items[RKCelebrities][0].images};
    for (int i = 0; i < count; ++i)
        (*sections[i % 2])[i / 2] = picture;
    if (extraSide) {
        QImage extra(extraSide, extraSide, QImage::Format_Grayscale8);
        extra.fill(0);
        setting.items[RKPet] << repItem();
        setting.items[RKPet].last().images = {extra};
    }
    QCOMPARE(LayoutLimits::storeProblem(setting).isEmpty(), fits);

    reportSetting read;
    const QByteArray bytes = writtenBytes(setting);
    QCOMPARE(readBack(bytes, &read), fits);
    // Read with its pictures put off, a file is taken or refused the same,
    // counts the same, saves back to the same bytes and decodes to the same.
    reportSetting deferred;
    QCOMPARE(readBack(bytes, &deferred, false), fits);
    if (!fits)
        return;
    QCOMPARE(LayoutLimits::picturePixels(read), LayoutLimits::picturePixels(setting));
    QVERIFY(LayoutPictures::pending(deferred));
    QVERIFY(deferred.items[RKNumerology][0].images[0].isNull());
    QCOMPARE(LayoutLimits::picturePixels(deferred), LayoutLimits::picturePixels(setting));
    QVERIFY(LayoutLimits::storeProblem(deferred).isEmpty());
    QCOMPARE(writtenBytes(deferred), bytes);
    LayoutPictures::decode(&deferred);
    QVERIFY(!LayoutPictures::pending(deferred));
    for (int kind : {int(RKNumerology), int(RKCelebrities)})
        QCOMPARE(deferred.items[kind][0].images, read.items[kind][0].images);
}

void TestLayoutFile::markupLimit_data()
{
    QTest::addColumn<int>("texts");
    QTest::addColumn<int>("tags");
    QTest::addColumn<bool>("fits");

    // A text's parse counts the square of its tags (these hold no
    // attributes) against the file's work.
    const int most = SectionMarkup::MaxTextTags;
    const int perFile = int(SectionMarkup::MaxLayoutTags / 1000);
    QTest::newRow("a text at the limit") << 1 << most << true;
    QTest::newRow("a text beyond it") << 1 << most + 1 << false;
    QTest::newRow("a file at the limit") << perFile << 1000 << true;
    QTest::newRow("a file beyond it") << perFile + 1 << 1000 << false;
    QTest::newRow("a file beyond its tags, not its work") << perFile * 2 << 501 << false;
    QTest::newRow("four texts at the file's work") << 4 << 14188 << true;
    QTest::newRow("four texts beyond it") << 4 << 14189 << false;
}

// The parser's work is bounded for each text and each file; the writer
// refuses what the reader would.
void TestLayoutFile::markupLimit()
{
    QFETCH(int, texts);
    QFETCH(int, tags);
    QFETCH(bool, fits);

    reportSetting setting = smallSetting();
    repItem &item = setting.items[RKNumerology][0];
    item.texts.clear();
    item.useStdText.clear();
    for (int i = 0; i < texts; ++i) {
        item.texts << QStringLiteral("<br />").repeated(tags);
        item.useStdText << false;
    }
    QCOMPARE(LayoutLimits::storeProblem(setting).isEmpty(), fits);
    reportSetting read;
    QCOMPARE(readBack(writtenBytes(setting), &read), fits);
    if (fits)
        QCOMPARE(read.items[RKNumerology][0].texts, item.texts);
}

void TestLayoutFile::heavyLayouts_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("problem"); // empty: read with every text as written

    const QString attributes
        = QStringLiteral("one of its texts holds a tag with more attributes than a layout file "
                         "can take.");
    const QString formatting
        = QStringLiteral("one of its texts holds more formatting than a layout file can take.");
    const QString problems[] = {attributes, attributes, formatting, formatting, QString()};
    const QVector<HeavyLayout::Case> cases = HeavyLayout::cases();
    QCOMPARE(cases.size(), int(std::size(problems)));
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).name) << cases.at(i).texts << problems[i];
}

// Layouts that make the markup parser work hard are refused with the
// reader's reason, the one the save gives; a large layout of the editor's
// pages reads with every text as the editor stored it.
void TestLayoutFile::heavyLayouts()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, problem);

    const reportSetting setting = HeavyLayout::withTexts(texts);
    QCOMPARE(LayoutLimits::storeProblem(setting), problem);
    QBuffer buffer;
    buffer.setData(HeavyLayout::fileBytes(setting));
    buffer.open(QIODevice::ReadOnly);
    reportSetting read;
    read.name = QStringLiteral("caller's");
    QString why = QStringLiteral("unset");
    QCOMPARE(readReportSetting(&buffer, &read, &why), problem.isEmpty());
    if (!problem.isEmpty()) {
        QCOMPARE(why, problem);
        QCOMPARE(read.name, QStringLiteral("caller's"));
        QVERIFY(read.items[RKNumerology].isEmpty());
        return;
    }
    QCOMPARE(why, QStringLiteral("unset"));
    QStringList readTexts;
    for (const repItem &item : qAsConst(read.items[RKNumerology]))
        readTexts << item.texts.mid(0, texts.size() - readTexts.size());
    QCOMPARE(readTexts, texts);
}

namespace {

// The layouts the size tests build.
enum SizeShape {
    Numerologist,
    NumerologistAndPlainTexts,
    TitleAtLimit,
    TitleBeyond,
    FamilyBeyond,
    OptionBeyond,
    FlagBeyond,
    PlainTextBeyond,
    PlainTextPagesBeyond,
    NumerologistWithThreePages,
    ThirtyPageEssay,
};

reportSetting sizedLayout(int shape)
{
    static const reportSetting numerologist = HeavyLayout::numerologistLayout();
    reportSetting setting = smallSetting();
    repItem &item = setting.items[RKNumerology][0];
    const QString atLimit(LayoutLimits::MaxNameLength, QLatin1Char('n'));
    const QString beyond = atLimit + QLatin1Char('n');
    switch (shape) {
    case Numerologist:
        return numerologist;
    case NumerologistAndPlainTexts: {
        // Plain texts take the file past its length: the pages' own length
        // counted, the rest in texts without markup.
        setting = numerologist;
        BoundedRead::ReadBudget budget;
        QString filtered;
        for (const repItem &section : qAsConst(setting.items[RKNumerology])) {
            for (const QString &text : section.texts)
                SectionMarkup::filter(text, &filtered, &budget);
        }
        qint64 left = budget.parsedLengthLeft + 1;
        repItem plain;
        plain.type = 36;
        for (int entry = 0; left > 0; ++entry) {
            const int length = int(qMin<qint64>(left, SectionMarkup::MaxTextLength));
            plain.texts[entry] = QString(length, QLatin1Char('p'));
            left -= length;
        }
        setting.items[RKPet] << plain;
        return setting;
    }
    case TitleAtLimit:
        item.title = atLimit;
        return setting;
    case TitleBeyond:
        item.title = beyond;
        return setting;
    case FamilyBeyond:
        item.contentFont.setFamily(beyond);
        return setting;
    case OptionBeyond:
        item.options.insert(QStringLiteral("hide-image"), beyond);
        return setting;
    case FlagBeyond:
        setting.flags.insert(beyond, QStringLiteral("TRUE"));
        return setting;
    case PlainTextBeyond:
        item.texts[0] = QString(SectionMarkup::MaxTextLength + 1, QLatin1Char('p'));
        return setting;
    case PlainTextPagesBeyond:
        item.texts[0]
            = QString(SectionMarkup::MaxTextLength + 2 * SectionMarkup::StoredPageLength + 1,
                      QLatin1Char('p'));
        return setting;
    case ThirtyPageEssay:
        item.texts[0] = HeavyLayout::essay(30);
        return setting;
    case NumerologistWithThreePages:
        setting = numerologist;
        setting.items[RKNumerology][0].texts[1] = HeavyLayout::essay(3);
        return setting;
    }
    return setting;
}

} // namespace

void TestLayoutFile::layoutSizes_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<QString>("problem"); // the reader's; empty: read as written
    QTest::addColumn<QString>("saved"); // the save's

    const QString names = LayoutLimits::nameRefusal();
    const QString texts = SectionMarkup::textsTooLong();
    QTest::newRow("a page for each number of each section")
        << int(Numerologist) << QString() << QString();
    QTest::newRow("and three pages for one number")
        << int(NumerologistWithThreePages) << QString() << QString();
    QTest::newRow("an essay of 30 pages in one text")
        << int(ThirtyPageEssay) << QString() << QString();
    QTest::newRow("and plain texts just past the file's length")
        << int(NumerologistAndPlainTexts) << texts << texts;
    QTest::newRow("a title of the longest length") << int(TitleAtLimit) << QString() << QString();
    QTest::newRow("a title beyond it") << int(TitleBeyond) << names << names;
    QTest::newRow("a font family beyond it") << int(FamilyBeyond) << names << names;
    QTest::newRow("an option beyond it") << int(OptionBeyond) << names << names;
    QTest::newRow("a flag beyond it") << int(FlagBeyond) << names << names;
    // The save names the section and the excess in the editor's pages.
    QTest::newRow("a text without markup beyond its length")
        << int(PlainTextBeyond) << SectionMarkup::textTooLong()
        << "the text of \"T\" is 1 page longer than a section text can be.";
    QTest::newRow("a text three pages beyond it")
        << int(PlainTextPagesBeyond) << SectionMarkup::textTooLong()
        << "the text of \"T\" is 3 pages longer than a section text can be.";
}

// A layout as large as a numerologist makes it reads and saves; one past
// the bounds of one file is refused, at read and at save, with the sentence
// that names what is too much.
void TestLayoutFile::layoutSizes()
{
    QFETCH(int, shape);
    QFETCH(QString, problem);
    QFETCH(QString, saved);

    const reportSetting setting = sizedLayout(shape);
    QCOMPARE(LayoutLimits::storeProblem(setting), saved);
    QBuffer buffer;
    buffer.setData(HeavyLayout::fileBytes(setting));
    buffer.open(QIODevice::ReadOnly);
    reportSetting read;
    QString why;
    QCOMPARE(readReportSetting(&buffer, &read, &why), problem.isEmpty());
    QCOMPARE(why, problem);
    if (problem.isEmpty())
        QCOMPARE(writtenBytes(read), writtenBytes(setting));
}

// A title larger and more page breaks than a text once kept are saved and
// read back as the editor wrote them.
void TestLayoutFile::largeTitleAndPageBreaksKept()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat title;
    title.setFontPointSize(96 + EditorSizeOffset);
    cursor.insertText(QStringLiteral("Seven"), title);
    for (int page = 2; page <= 16; ++page) {
        QTextBlockFormat block;
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.insertBlock(block, QTextCharFormat());
        cursor.insertText(QStringLiteral("Page %1").arg(page));
    }
    reportSetting setting = smallSetting();
    const QString stored = storedCustomText(document.toHtml("UTF-8"), EditorSizeOffset);
    setting.items[RKNumerology][0].texts[0] = stored;
    QVERIFY(LayoutLimits::storeProblem(setting).isEmpty());
    reportSetting read;
    QVERIFY(readBack(writtenBytes(setting), &read));
    QCOMPARE(read.items[RKNumerology][0].texts[0], stored);
    QCOMPARE(int(stored.count(QLatin1String("font-size:96pt;"))), 1);
    QCOMPARE(int(stored.count(QLatin1String("page-break-before:always;"))), 15);
}

QTEST_GUILESS_MAIN(TestLayoutFile)
#include "tst_layoutfile.moc"
