// The readings of a few sample people written with the shipped database
// (Resources/eng.dat as the build lays it out), as a user gets them: every
// place that should hold a reading text holds one, and no reading reads an
// entry that the database lacks.
//
// Set SAMPLE_READINGS_DIR to a folder to keep the written readings there for a
// look in a browser.

#include "engine/compnumerology.h"
#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/readingsdb.h"
#include "engine/texttables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtTest>

namespace {

QString resourcesPath()
{
    return QFileInfo(QCoreApplication::applicationDirPath()).path() + QStringLiteral("/Resources/");
}

struct Person
{
    QString fullName;
    QString shortName;
    QDate birth;
};

struct Sample
{
    Person person;
    Person partner;
    bool chaldean = false;
    int masterNumbersMode = 0;
};

} // namespace

Q_DECLARE_METATYPE(Sample)

namespace {

enum Reading { Personal, PsychoMatrix, Compatibility, Pet, Celebrity, Express };

const char *readingName(int reading)
{
    static const char *const names[]
        = {"personal", "psycho-matrix", "compatibility", "pet", "celebrity", "express"};
    return names[reading];
}

// A fixed "today", so that the forecast and the age of every row stay put.
const QDate forecastDate(2026, 12, 9);

QStringList messages;

void recordMessage(QWidget *, const QString &, const QString &text)
{
    messages << text;
}

bool personalNumbers(CNumerology &engine, const Sample &sample, const Person &who, bool computeOnly)
{
    engine.setMasterNumbersMode(sample.masterNumbersMode);
    return engine.calculate(who.fullName, who.shortName, {}, {}, sample.chaldean, who.birth,
                            forecastDate, nullptr, 0, 0, computeOnly);
}

// Writes one fixed reading of the sample as the main window does, with the
// picture folders of the build.
QString writeReading(int reading, const Sample &sample)
{
    const QString images = resourcesPath() + QStringLiteral("images/");
    const QString doc = images + QStringLiteral("doc/");
    switch (reading) {
    case Personal: {
        CNumerology engine;
        engine.preloadRes(doc);
        return personalNumbers(engine, sample, sample.person, false) ? engine.reportHtml
                                                                     : QString();
    }
    case PsychoMatrix: {
        CNumerologyPMatrix matrix;
        matrix.preloadRes(doc);
        matrix.calculate(sample.person.fullName, sample.person.birth, nullptr, 0);
        return matrix.reportHtml;
    }
    case Compatibility: {
        CNumerology person, partner;
        CNumerologyPMatrix personMatrix, partnerMatrix;
        if (!personalNumbers(person, sample, sample.person, true)
            || !personalNumbers(partner, sample, sample.partner, true))
            return QString();
        personMatrix.calculate(sample.person.fullName, sample.person.birth, nullptr, 0);
        partnerMatrix.calculate(sample.partner.fullName, sample.partner.birth, nullptr, 0);
        CCompNumerology comp;
        comp.preloadRes(doc);
        comp.calculate(&person, &partner, &personMatrix, &partnerMatrix, nullptr, 0);
        return comp.reportHtml;
    }
    case Pet: {
        CNumerology engine;
        engine.preloadRes(doc);
        return engine.calculatePet(QStringLiteral("Rex"), QString(), QDate(2021, 5, 14),
                                   forecastDate, false, nullptr, 0)
            ? engine.reportHtml
            : QString();
    }
    case Celebrity: {
        CNumerology engine;
        engine.preloadRes(images + QStringLiteral("doc2/"));
        return engine.calculateCel(sample.person.fullName, sample.person.birth, sample.chaldean,
                                   nullptr, 0, 0)
            ? engine.reportHtml
            : QString();
    }
    case Express: {
        CNumerology engine;
        engine.preloadRes(doc);
        return engine.calculateAn(sample.person.fullName, sample.person.birth, false,
                                  sample.chaldean)
            ? engine.reportHtml
            : QString();
    }
    }
    return QString();
}

QString plain(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return html.remove(tag).simplified();
}

QString excerpt(const QString &html, int at)
{
    return html.mid(at, 90).simplified();
}

// Walks the body of a reading and lists every place that should hold a text
// but renders empty, each with the heading it stands under:
// - a paragraph written by the report builder (marked comment="st_fs") that
//   holds nothing; one holding only line breaks is a spacer and fine;
// - a database paragraph inside it (the "<p>" wrapping of every database
//   line, nested into the builder's paragraph) that holds no text;
// - a blank piece between two lines of a text cut into one-cell tables
//   (the empty pieces at the end come from the trailing break the reading
//   appends, and stand for the gap before the next section);
// - a heading that is followed by blocks but no text before the next heading
//   or the end (a heading directly followed by another is a title line).
QStringList emptyPlaces(const QString &html)
{
    struct Paragraph
    {
        bool marked = false;
        bool nested = false;
        int content = 0; // characters of text and pictures
        int breaks = 0;
        int children = 0;
        int at = 0;
    };

    QStringList found;
    QString heading = QStringLiteral("(document start)");
    QString headingText;
    bool inHeading = false;
    bool inHead = true;
    int headingContent = 0;
    int headingBlocks = 0;
    bool sawHeading = false;
    QList<Paragraph> paragraphs;
    bool inPiece = false;
    int pieceContent = 0;
    QList<bool> pieceRun; // true for an empty piece
    int pieceRunAt = 0;

    auto report = [&](const QString &what, int at) {
        found << QStringLiteral("under \"%1\": %2 at \"%3\"").arg(heading, what, excerpt(html, at));
    };
    auto endRun = [&]() {
        int lastFull = -1;
        for (int i = 0; i < pieceRun.size(); ++i) {
            if (!pieceRun.at(i))
                lastFull = i;
        }
        for (int i = 0; i < lastFull; ++i) {
            if (pieceRun.at(i)) {
                report(QStringLiteral("a blank line inside a text"), pieceRunAt);
                break;
            }
        }
        pieceRun.clear();
    };
    auto endHeadingSection = [&](int at, bool atEnd) {
        if (sawHeading && headingContent == 0 && (headingBlocks > 0 || atEnd))
            report(QStringLiteral("a heading without text"), at);
    };
    auto addContent = [&](int n) {
        if (inHeading)
            return;
        for (Paragraph &p : paragraphs)
            p.content += n;
        if (inPiece)
            pieceContent += n;
        headingContent += n;
    };

    static const QRegularExpression token(
        QStringLiteral("<!--.*?-->|<(/?)([A-Za-z][A-Za-z0-9]*)([^>]*)>|[^<]+|<"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression blankEntity(QStringLiteral("&(nbsp|#160|#xA0);"));
    auto it = token.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const int at = m.capturedStart();
        const QString name = m.captured(2).toLower();
        const bool closing = !m.captured(1).isEmpty();
        const QString attributes = m.captured(3);
        if (inHead) {
            if (name == QLatin1String("body") && !closing)
                inHead = false;
            continue;
        }
        if (name.isEmpty()) {
            if (m.captured(0).startsWith(QLatin1String("<!--")))
                continue;
            const QString text = QString(m.captured(0)).replace(blankEntity, QStringLiteral(" "));
            const int n = text.simplified().remove(QLatin1Char(' ')).size();
            if (inHeading)
                headingText += text;
            else if (n > 0)
                addContent(n);
            continue;
        }
        if (name == QLatin1String("h2")) {
            if (!closing) {
                endHeadingSection(at, false);
                endRun();
                inHeading = true;
                headingText.clear();
            } else {
                inHeading = false;
                heading = plain(headingText);
                sawHeading = true;
                headingContent = 0;
                headingBlocks = 0;
            }
        } else if (name == QLatin1String("p")) {
            if (!closing) {
                if (!inPiece)
                    endRun();
                Paragraph p;
                p.marked = attributes.contains(QLatin1String("comment=\"st_fs\""));
                p.nested = !paragraphs.isEmpty();
                p.at = at;
                if (p.nested)
                    ++paragraphs.last().children;
                paragraphs << p;
                ++headingBlocks;
            } else if (!paragraphs.isEmpty()) {
                const Paragraph p = paragraphs.takeLast();
                if (p.content > 0)
                    continue;
                if (p.nested)
                    report(QStringLiteral("an empty paragraph inside a text"), p.at);
                else if (p.marked && p.children == 0 && p.breaks == 0)
                    report(QStringLiteral("an empty paragraph"), p.at);
            }
        } else if (name == QLatin1String("br")) {
            if (!paragraphs.isEmpty())
                ++paragraphs.last().breaks;
        } else if (name == QLatin1String("img")) {
            addContent(1);
        } else if (name == QLatin1String("td")) {
            if (!closing && attributes.contains(QLatin1String("comment=\"st_fs\""))) {
                if (pieceRun.isEmpty())
                    pieceRunAt = at;
                inPiece = true;
                pieceContent = 0;
                ++headingBlocks;
            } else if (closing && inPiece) {
                inPiece = false;
                pieceRun << (pieceContent == 0);
            }
        } else if (name == QLatin1String("table") && !closing
                   && attributes.contains(QLatin1String("width=100%"))) {
            endRun(); // a new chapter
        }
    }
    endRun();
    endHeadingSection(html.size() - 1, true);
    return found;
}

// Texts that no reading may show.
QStringList placeholders(const QString &html)
{
    QStringList found;
    for (const char *word : {"lorem ipsum", "Your custom text here", "TODO", "FIXME", "XXX"}) {
        if (html.contains(QLatin1String(word), Qt::CaseInsensitive))
            found << QLatin1String(word);
    }
    return found;
}

// The text tables a fixed reading reads an entry of unconditionally. Tables
// whose entries the readings skip when empty (the bridge details, the
// compound numbers) are left out, as are the celebrity texts of unused slots.
struct Table
{
    const char *name;
    QString *entries;
    int size;
};

QList<Table> readTables()
{
    return {
        {"numerLifePath", numerLifePath, kNumerTableSize},
        {"numerBirthDate", numerBirthDate, kNumerTableSize},
        {"numerKarmDebts", numerKarmDebts, kNumerTableSize},
        {"numerExpr", numerExpr, kNumerTableSize},
        {"numerExprM", numerExprM, kNumerTableSize},
        {"numerPersYear", numerPersYear, kNumerTableSize},
        {"numerPersDate", numerPersDate, kNumerTableSize},
        {"numerHeartDesire", numerHeartDesire, kNumerTableSize},
        {"numerPersonality", numerPersonality, kNumerTableSize},
        {"numerHiddenPassion", numerHiddenPassion, kNumerTableSize},
        {"numerMinorHeartDesire", numerMinorHeartDesire, kNumerTableSize},
        {"numerKarmicLessons", numerKarmicLessons, kNumerTableSize},
        {"numerSubconsConfid", numerSubconsConfid, kNumerTableSize},
        {"numerBalance", numerBalance, kNumerTableSize},
        {"numerChallenges", numerChallenges, kNumerTableSize},
        {"numerPinnacles", numerPinnacles, kNumerTableSize},
        {"numerMaturity", numerMaturity, kNumerTableSize},
        {"numerRationalThoughts", numerRationalThoughts, kNumerTableSize},
        {"numerTransit", numerTransit, kNumerTableSize},
        {"numerEssence", numerEssence, kNumerTableSize},
        {"numerDoubleDigitNumbers", numerDoubleDigitNumbers, kNumerTableSize},
        {"numerPlanesOfExpression", numerPlanesOfExpression, kNumerTableSize},
        {"numerPlanesOfExpressionP", numerPlanesOfExpressionP, kNumerTableSize},
        {"numerPlanesOfExpressionM", numerPlanesOfExpressionM, kNumerTableSize},
        {"numerPlanesOfExpressionE", numerPlanesOfExpressionE, kNumerTableSize},
        {"numerPlanesOfExpressionI", numerPlanesOfExpressionI, kNumerTableSize},
        {"numerBridgeLPE", numerBridgeLPE, kNumerTableSize},
        {"numerBridgeHDP", numerBridgeHDP, kNumerTableSize},
        {"numerPurposeful", numerPurposeful, kNumerTableSize},
        {"numerFamilyFormation", numerFamilyFormation, kNumerTableSize},
        {"numerStability", numerStability, kNumerTableSize},
        {"numer1", numer1, kNumerTableSize},
        {"numer2", numer2, kNumerTableSize},
        {"numer3", numer3, kNumerTableSize},
        {"numer4", numer4, kNumerTableSize},
        {"numer5", numer5, kNumerTableSize},
        {"numer6", numer6, kNumerTableSize},
        {"numer7", numer7, kNumerTableSize},
        {"numer8", numer8, kNumerTableSize},
        {"numer9", numer9, kNumerTableSize},
        {"numerSelfAppraisal", numerSelfAppraisal, kNumerTableSize},
        {"numerFinance", numerFinance, kNumerTableSize},
        {"numerTalent", numerTalent, kNumerTableSize},
        {"numerSpirituality", numerSpirituality, kNumerTableSize},
        {"numerSexualLife", numerSexualLife, kNumerTableSize},
        {"numerPetC", numerPetC, kNumerTableSize},
        {"numerPetDForecast", numerPetDForecast, kNumerTableSize},
        {"numerSumComp", numerSumComp, kNumerTableSize},
        {"numerDetComp", numerDetComp, kNumerTableSize},
        {"numerNameComp", numerNameComp, kNumerTableSize},
        {"numerLPComp", numerLPComp, kNumerTableSize},
        {"numerPMCharacterComp", numerPMCharacterComp, kNumerTableSize},
        {"numerPMEnergyComp", numerPMEnergyComp, kNumerTableSize},
        {"numerNumInterp", numerNumInterp, kNumerTableSize},
        {"numerInfo", numerInfo, kInfoEntries},
    };
}

// Fills every empty entry of the tables above with "[[missing table N]]".
void markMissingEntries()
{
    for (const Table &t : readTables()) {
        for (int i = 0; i < t.size; ++i) {
            if (t.entries[i].isEmpty())
                t.entries[i]
                    = QStringLiteral("[[missing %1 %2]]").arg(QLatin1String(t.name)).arg(i);
        }
    }
    for (int slot = 0; slot < kCelebritySlots; ++slot) {
        if (numerCelName[slot].isEmpty())
            continue;
        for (QString *texts : {numerCelLP, numerCelBD, numerCelExpr}) {
            if (texts[slot].isEmpty())
                texts[slot] = QStringLiteral("[[missing celebrity text %1]]").arg(slot);
        }
    }
}

QString headingBefore(const QString &html, int at)
{
    static const QRegularExpression h2(QStringLiteral("<h2>(.*?)</h2>"));
    QString heading = QStringLiteral("(document start)");
    auto it = h2.globalMatch(html.left(at));
    while (it.hasNext())
        heading = plain(it.next().captured(1));
    return heading;
}

} // namespace

class tst_SampleReadings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void checker_data();
    void checker();
    void emptyPlaces_data();
    void emptyPlaces();
    void missingTexts_data() { emptyPlaces_data(); }
    void missingTexts();
};

void tst_SampleReadings::initTestCase()
{
    CNumerology::s_criticalMessage = recordMessage;
    resetTextTables();
    const QString database = resourcesPath() + QStringLiteral("eng.dat");
    QVERIFY2(loadReadingsDatabase(database), qPrintable(database + " cannot be read"));
}

void tst_SampleReadings::init()
{
    resetGlobSettings();
    messages.clear();
}

// The check itself, on fragments of the shapes the readings write: it must
// see the faults and pass over the spacers.
void tst_SampleReadings::checker_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("finding");

    const QString chapter
        = QStringLiteral("<table class=maindoc border=\"0\" width=100%><tr><td>\r\n");
    const QString head
        = QStringLiteral("<h2><font style=\" color:#000000;\">Life Path Number 7</font></h2>\r\n");
    const QString marked = QStringLiteral("<p comment=\"st_fs\"   >");
    const QString piece
        = QStringLiteral("<table class=maindoc border=\"0\"><tr><td comment=\"st_fs\"   >\r\n");
    const QString end = QStringLiteral("</td></tr></table>\r\n");

    QTest::newRow("texts") << chapter + head + marked + marked + "General.</p><br />" + marked
            + "Seven.</p></p>\r\n"
            + end << QString();
    QTest::newRow("spacer") << chapter + head + marked + "Text.</p>\r\n" + marked + "<br /></p>\r\n"
            + end << QString();
    QTest::newRow("table spacer") << chapter + head + marked + "Text.</p>" + end
            + "<table><tr><td comment=\"st_ttd\"><p></p></td></tr></table><p></p>\r\n"
                                  << QString();
    QTest::newRow("title headings")
        << chapter + head + head + marked + "Text.</p>" + end << QString();
    QTest::newRow("trailing pieces") << chapter + head + marked + "One." + end + piece + "Two."
            + end + piece + end + piece + end
            + "</p>\r\n" << QString();
    QTest::newRow("empty paragraph") << chapter + head + marked + "Text.</p>" + marked + " </p>"
            + end << "under \"Life Path Number 7\": an empty paragraph";
    QTest::newRow("empty database text")
        << chapter + head + marked + marked + "General.</p><br />" + marked + "</p><br /></p>" + end
        << "an empty paragraph inside a text";
    QTest::newRow("blank database line") << chapter + head + marked + marked + "One.</p>" + marked
            + "<b> </b></p>" + marked + "Two.</p></p>"
            + end << "an empty paragraph inside a text";
    QTest::newRow("blank piece") << chapter + head + marked + "One." + end + piece + end + piece
            + "Two." + end + "</p>\r\n"
                                 << "a blank line inside a text";
    QTest::newRow("missing split text") << chapter + head + marked + "General.</p>" + end + chapter
            + marked + end + piece + end + "</p>\r\n"
                                        << "an empty paragraph";
    QTest::newRow("heading alone") << chapter + head + marked + "<br /></p>" + end + chapter + head
            + marked + "Text.</p>"
            + end << "a heading without text";
    QTest::newRow("last heading alone") << chapter + head + end << "a heading without text";
}

void tst_SampleReadings::checker()
{
    QFETCH(QString, body);
    QFETCH(QString, finding);

    const QString html = QStringLiteral("<html><head><title>t</title></head><body>") + body
        + QStringLiteral("</body></html>");
    const QStringList found = ::emptyPlaces(html);
    if (finding.isEmpty()) {
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    } else {
        QCOMPARE(found.size(), 1);
        QVERIFY2(found.first().contains(finding), qPrintable(found.first()));
    }
}

void tst_SampleReadings::emptyPlaces_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<Sample>("sample");

    const Person john {QStringLiteral("John Michael Smith"), QStringLiteral("John Smith"),
                       QDate(1985, 12, 29)};
    const Person maria {QStringLiteral("Maria Elena Garcia"), QStringLiteral("Maria Garcia"),
                        QDate(2000, 1, 4)};
    // Day, month and year 11, 11 and 22: life path 44 in the extended
    // master-numbers mode; expression 11, heart's desire 22, minor
    // expression 33.
    const Person master {QStringLiteral("Thomas Paul Foster"), QStringLiteral("Thomas Foster"),
                         QDate(1975, 11, 29)};

    const struct
    {
        const char *tag;
        Sample sample;
    } samples[] = {
        {"John", {john, maria, false, 0}},
        {"Maria", {maria, john, false, 0}},
        {"master numbers", {master, john, false, 0}},
        {"extended master numbers", {master, maria, false, 1}},
        {"John Chaldean", {john, maria, true, 0}},
        {"Maria Chaldean", {maria, master, true, 0}},
    };
    for (const auto &s : samples) {
        for (int reading = Personal; reading <= Express; ++reading) {
            // The psycho-matrix and the pet reading take neither the
            // letter values nor the master-numbers mode.
            const bool letterFree = reading == PsychoMatrix || reading == Pet;
            if (letterFree && (s.sample.chaldean || s.sample.masterNumbersMode != 0))
                continue;
            if (reading == Pet && s.sample.person.fullName != john.fullName)
                continue;
            QTest::addRow("%s %s", s.tag, readingName(reading)) << reading << s.sample;
        }
    }
}

void tst_SampleReadings::emptyPlaces()
{
    QFETCH(int, reading);
    QFETCH(Sample, sample);

    const QString html = writeReading(reading, sample);
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    QVERIFY2(html.contains(QLatin1String("</body></html>")),
             qPrintable(QStringLiteral("%1 reading not written").arg(readingName(reading))));

    const QString dump = qEnvironmentVariable("SAMPLE_READINGS_DIR");
    if (!dump.isEmpty()) {
        QDir().mkpath(dump);
        QFile file(dump + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag())
                   + QStringLiteral(".html"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(html.toUtf8());
    }

    const QStringList empty = ::emptyPlaces(html);
    QVERIFY2(empty.isEmpty(),
             qPrintable(
                 QStringLiteral("%1 reading, %2")
                     .arg(QLatin1String(readingName(reading)), empty.join(QStringLiteral(";\n")))));
    const QStringList shown = placeholders(html);
    QVERIFY2(shown.isEmpty(),
             qPrintable(
                 QStringLiteral("%1 reading shows %2")
                     .arg(QLatin1String(readingName(reading)), shown.join(QStringLiteral(", ")))));
}

void tst_SampleReadings::missingTexts()
{
    QFETCH(int, reading);
    QFETCH(Sample, sample);

    markMissingEntries();
    const QString html = writeReading(reading, sample);
    QVERIFY(html.contains(QLatin1String("</body></html>")));

    static const QRegularExpression missing(QStringLiteral("\\[\\[missing ([^\\]]*)\\]\\]"));
    QStringList found;
    auto it = missing.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        found << QStringLiteral("%1 under \"%2\"")
                     .arg(m.captured(1), headingBefore(html, m.capturedStart()));
    }
    QVERIFY2(found.isEmpty(),
             qPrintable(
                 QStringLiteral("%1 reading reads entries the database lacks: %2")
                     .arg(QLatin1String(readingName(reading)), found.join(QStringLiteral("; ")))));
}

QTEST_GUILESS_MAIN(tst_SampleReadings)
#include "tst_samplereadings.moc"
