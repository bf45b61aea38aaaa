// The shipped readings database and pictures, as the build lays them out in
// Resources/: every text a reading or a help pop-up reads is there, every
// celebrity record carries the numbers the celebrity reading computes for its
// name and date, and every picture a reading names exists.

#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "layouts/sectionmarkup.h"
#include "textlook.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

namespace {

using Entries = QList<int>;

QString resourcesPath()
{
    return QFileInfo(QCoreApplication::applicationDirPath()).path() + QStringLiteral("/Resources/");
}

Entries range(int from, int to)
{
    Entries list;
    for (int i = from; i <= to; ++i)
        list << i;
    return list;
}

// The core numbers: general text, 1 to 9, the master numbers and, for the
// extended master mode, 44 to 99.
Entries coreNumbers()
{
    return range(0, 9) << 11 << 22 << 33 << 44 << 55 << 66 << 77 << 88 << 99;
}

// Pair codes of two digits lo..hi, smaller digit first (15 for 1 and 5).
Entries pairCodes(int lo, int hi)
{
    Entries list;
    for (int a = lo; a <= hi; ++a)
        for (int b = a; b <= hi; ++b)
            list << 10 * a + b;
    return list;
}

// Bridge detail codes: the larger digit first (51 for 1 and 5).
Entries detailCodes()
{
    Entries list;
    for (int a = 1; a <= 9; ++a)
        for (int b = 1; b <= a; ++b)
            list << 10 * a + b;
    return list;
}

const QString *sectionTable(int section)
{
    static const QMap<int, const QString *> tables = {
        {101, numerLifePath},
        {102, numerBirthDate},
        {103, numerKarmDebts},
        {104, numerExpr},
        {105, numerExprM},
        {106, numerPersYear},
        {107, numerPersDate},
        {108, numerHeartDesire},
        {109, numerPersonality},
        {110, numerHiddenPassion},
        {111, numerMinorHeartDesire},
        {112, numerKarmicLessons},
        {113, numerSubconsConfid},
        {114, numerBalance},
        {115, numerChallenges},
        {116, numerPinnacles},
        {117, numerMaturity},
        {118, numerRationalThoughts},
        {119, numerTransit},
        {120, numerEssence},
        {121, numerDoubleDigitNumbers},
        {122, numerCompoundNumbers},
        {123, numerPlanesOfExpression},
        {124, numerPlanesOfExpressionP},
        {125, numerPlanesOfExpressionM},
        {126, numerPlanesOfExpressionE},
        {127, numerPlanesOfExpressionI},
        {128, numerBridgeLPE},
        {129, numerBridgeLPEDet},
        {130, numerBridgeHDP},
        {131, numerBridgeHDPDet},
        {201, numerPurposeful},
        {202, numerFamilyFormation},
        {203, numerStability},
        {204, numer1},
        {205, numer2},
        {206, numer3},
        {207, numer4},
        {208, numer5},
        {209, numer6},
        {210, numer7},
        {211, numer8},
        {212, numer9},
        {213, numerSelfAppraisal},
        {214, numerFinance},
        {215, numerTalent},
        {216, numerSpirituality},
        {217, numerSexualLife},
        {301, numerPetC},
        {302, numerPetDForecast},
        {401, numerSumComp},
        {402, numerDetComp},
        {403, numerNameComp},
        {404, numerLPComp},
        {405, numerPMCharacterComp},
        {406, numerPMEnergyComp},
        {501, numerNumInterp},
        {700, numerHelpers},
        {900, numerInfo},
    };
    return tables.value(section, nullptr);
}

// A text counts when something other than markup and blanks is left (the
// compound numbers start as one space).
bool hasText(const QString &entry)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    return !QString(entry).remove(tags).trimmed().isEmpty();
}

// The name as the calculation flow hands it to the engines: accents
// dropped, apostrophes removed, every other non-alphanumeric character a
// word break, words joined by one space.
QString preparedName(const QString &name)
{
    QString plain;
    for (const QChar c : name.normalized(QString::NormalizationForm_D)) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
            || c == QLatin1Char('\''))
            continue;
        const ushort u = c.unicode();
        const bool keep
            = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        plain += keep ? c : QChar(QLatin1Char(' '));
    }
    return plain.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

QString listed(const Entries &entries)
{
    QStringList parts;
    for (int e : entries)
        parts << QString::number(e);
    return parts.join(QStringLiteral(", "));
}

constexpr int kScannedCelebritySlots = 200;

} // namespace

class TestShippedContent : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void coverage_data();
    void coverage();
    void celebrityCount();
    void celebrityRecords_data();
    void celebrityRecords();
    void pictures_data();
    void pictures();
    void looksKeptAsCustomTexts_data() { coverage_data(); }
    void looksKeptAsCustomTexts();
};

void TestShippedContent::initTestCase()
{
    resetTextTables();
    resetGlobSettings();
    const QString database = resourcesPath() + QStringLiteral("eng.dat");
    QVERIFY2(loadReadingsDatabase(database), qPrintable(database + " cannot be read"));
}

void TestShippedContent::coverage_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<Entries>("entries");

    const struct
    {
        int section;
        const char *topic;
        Entries entries;
    } rows[] = {
        {101, "life path", coreNumbers()},
        {102, "birthday", range(0, 31)},
        {103, "karmic debts", Entries {0, 13, 14, 16, 19}},
        {104, "expression", coreNumbers()},
        {105, "minor expression", coreNumbers()},
        {106, "personal year", range(0, 9)},
        {107, "personal month and day", range(0, 9)},
        {108, "heart's desire", coreNumbers()},
        {109, "personality", coreNumbers()},
        {110, "hidden passion", range(0, 9)},
        {111, "minor heart's desire", coreNumbers()},
        {112, "karmic lessons", range(0, 9)},
        {113, "subconscious confidence", range(0, 9)},
        {114, "balance", range(0, 9)},
        {115, "challenges", range(0, 9)}, // a challenge of c reads c + 1
        {116, "pinnacles", range(0, 9)},
        {117, "maturity", coreNumbers()},
        {118, "rational thought", range(0, 9)},
        {119, "transits", range(0, 26)},
        {120, "essence", range(0, 9) << 11 << 16 << 19 << 22 << 33},
        {121, "double-digit numbers", range(10, 99)},
        {122, "compound numbers", Entries {0} + range(10, 99)},
        {123, "planes of expression", Entries {0}},
        {124, "physical plane", coreNumbers()},
        {125, "mental plane", coreNumbers()},
        {126, "emotional plane", coreNumbers()},
        {127, "intuitive plane", coreNumbers()},
        {128, "bridge life path - expression", range(0, 9)},
        {129, "bridge life path - expression details", detailCodes()},
        {130, "bridge heart's desire - personality", range(0, 9)},
        {131, "bridge heart's desire - personality details", detailCodes()},
        {201, "purposeful", range(0, 7)},
        {202, "family formation", range(0, 7)},
        {203, "stability", range(0, 7)},
        {204, "character (1)", range(0, 7)},
        {205, "energy (2)", range(0, 7)},
        {206, "interest (3)", range(0, 7)},
        {207, "health (4)", range(0, 7)},
        {208, "intuition (5)", range(0, 7)},
        {209, "labour (6)", range(0, 7)},
        {210, "luck (7)", range(0, 7)},
        {211, "duty (8)", range(0, 7)},
        {212, "memory (9)", range(0, 7)},
        {213, "self appraisal", range(0, 7)},
        {214, "finance", range(0, 7)},
        {215, "talent", range(0, 7)},
        {216, "spirituality", range(0, 7)},
        {217, "sexual life", range(0, 7)},
        {301, "pet number", range(0, 9)},
        {302, "pet day forecast", range(1, 9)},
        {401, "compatibility scores", range(1, 9)},
        {402, "compatibility details and birthday pairs", range(0, 3) + pairCodes(1, 9)},
        {403, "name pairs", pairCodes(1, 9)},
        {404, "life path pairs", pairCodes(1, 9)},
        {405, "character codes", Entries {0} + pairCodes(1, 7)},
        {406, "energy codes", pairCodes(1, 7)},
        {501, "number interpretations", range(0, 9) << 11 << 22 << 33},
        {900, "introduction of the personal reading", Entries {0}},
    };
    for (const auto &row : rows)
        QTest::addRow("%d %s", row.section, row.topic) << row.section << row.entries;

    // Help topics: heading and introduction, "Calculating", "Interpretation".
    const Entries topics = range(0, 15) + range(18, 35);
    for (int topic : topics) {
        QTest::addRow("%d help topic %d", 700 + topic / 10, topic)
            << 700 << Entries {4 * topic, 4 * topic + 1, 4 * topic + 2};
    }
}

void TestShippedContent::coverage()
{
    QFETCH(int, section);
    QFETCH(Entries, entries);

    const QString *table = sectionTable(section);
    QVERIFY(table);
    Entries missing;
    for (int entry : entries) {
        if (!hasText(table[entry]))
            missing << entry;
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("no text for entries ") + listed(missing)));
}

void TestShippedContent::celebrityCount()
{
    int records = 0;
    for (int slot = 0; slot < kScannedCelebritySlots; ++slot) {
        if (!numerCelName[slot].isEmpty())
            ++records;
    }
    QVERIFY2(records >= 120, qPrintable(QStringLiteral("%1 celebrity records").arg(records)));
    for (int slot = kScannedCelebritySlots; slot < kCelebritySlots; ++slot)
        QVERIFY2(numerCelName[slot].isEmpty(), "a record beyond the slots the reading scans");
}

void TestShippedContent::celebrityRecords_data()
{
    QTest::addColumn<int>("slot");
    for (int slot = 0; slot < kScannedCelebritySlots; ++slot) {
        // A slot with a text or a number but no name is a broken record too.
        const bool used = !numerCelName[slot].isEmpty() || numerCelILP[slot] != 0
            || numerCelBDT[slot] != 0 || !numerCelLP[slot].isEmpty();
        if (used)
            QTest::addRow("%03d %s", slot, qPrintable(numerCelName[slot])) << slot;
    }
}

void TestShippedContent::celebrityRecords()
{
    QFETCH(int, slot);

    QVERIFY(!numerCelName[slot].isEmpty());
    QVERIFY(!numerCelFName[slot].isEmpty());
    const int packed = numerCelBDT[slot];
    const QDate birth(packed >> 16, (packed >> 8) & 0xFF, packed & 0xFF);
    QVERIFY2(birth.isValid(), "birth date");

    CNumerology engine;
    engine.calculateCel(preparedName(numerCelName[slot]), birth, false, nullptr, 0, 0);
    const QString numbers = QStringLiteral("life path %1, birth day %2, expression %3")
                                .arg(engine.m_lifePath)
                                .arg(birth.day())
                                .arg(engine.m_expression);
    const QString stored = QStringLiteral("life path %1, birth day %2, expression %3")
                               .arg(numerCelILP[slot])
                               .arg(numerCelIDAY[slot])
                               .arg(numerCelIEXPR[slot]);
    QCOMPARE(stored, numbers);

    QVERIFY2(hasText(numerCelLP[slot]), "life path text");
    QVERIFY2(hasText(numerCelBD[slot]), "birth day text");
    QVERIFY2(hasText(numerCelExpr[slot]), "expression text");
}

void TestShippedContent::pictures_data()
{
    QTest::addColumn<QString>("path");
    for (int n = 1; n <= 39; ++n) {
        const QString name = QStringLiteral("res%1.jpg").arg(n, 2, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(QStringLiteral("images/doc/") + name))
            << QStringLiteral("images/doc/") + name;
        if (n <= 32) // the help pop-ups read them from the images folder itself
            QTest::newRow(qPrintable(QStringLiteral("images/") + name))
                << QStringLiteral("images/") + name;
    }
    for (int slot = 0; slot < kScannedCelebritySlots; ++slot) {
        if (numerCelName[slot].isEmpty())
            continue;
        const QString name
            = QStringLiteral("images/doc2/%1.jpg").arg(slot, 3, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(name)) << name;
    }
}

void TestShippedContent::pictures()
{
    QFETCH(QString, path);
    const QImage image(resourcesPath() + path);
    QVERIFY2(!image.isNull(), "missing or unreadable");
    QVERIFY(image.width() >= 100 && image.height() >= 100);
}

// Every shipped text, taken into the section editor and stored as a custom
// text, looks the same after the markup filter as the editor wrote it.
void TestShippedContent::looksKeptAsCustomTexts()
{
    QFETCH(int, section);
    QFETCH(Entries, entries);

    const QString *table = sectionTable(section);
    QVERIFY(table);
    for (int entry : entries) {
        QTextDocument editor;
        if (Qt::mightBeRichText(table[entry]))
            editor.setHtml(table[entry]);
        else
            editor.setPlainText(table[entry]);
        const QString written = withParagraphMarkers(editor.toHtml("UTF-8"));
        const QString filtered = SectionMarkup::filtered(written);
        QVERIFY2(!filtered.isEmpty(), qPrintable(QString::number(entry)));
        QCOMPARE(textLook(filtered), textLook(written));
    }
}

QTEST_MAIN(TestShippedContent)
#include "tst_shippedcontent.moc"
