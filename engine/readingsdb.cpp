#include "engine/readingsdb.h"

#include "base/apppaths.h"
#include "engine/texttables.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <utility>

const char randstart[kDatabaseKeyLength + 1] = "Lq7#vR2pXe9!mZ4kT0wB8nYc5H";
static_assert(sizeof(randstart) == kDatabaseKeyLength + 1, "the database key has 26 characters");

namespace {

const char defaultKey[] = "g3Vh&Pz6Ks1@Nd8F";
static_assert(sizeof(defaultKey) == 17, "the default key has 16 characters");

// The table that a text section fills, with its length and the entry offset
// of its items; null for sections without a table.
struct SectionTable
{
    QString *table = nullptr;
    int size = 0;
    int offset = 0;
};

SectionTable tableForSection(int section)
{
    static QString *const personal[] = {numerLifePath,
                                        numerBirthDate,
                                        numerKarmDebts,
                                        numerExpr,
                                        numerExprM,
                                        numerPersYear,
                                        numerPersDate,
                                        numerHeartDesire,
                                        numerPersonality,
                                        numerHiddenPassion,
                                        numerMinorHeartDesire,
                                        numerKarmicLessons,
                                        numerSubconsConfid,
                                        numerBalance,
                                        numerChallenges,
                                        numerPinnacles,
                                        numerMaturity,
                                        numerRationalThoughts,
                                        numerTransit,
                                        numerEssence,
                                        numerDoubleDigitNumbers,
                                        numerCompoundNumbers,
                                        numerPlanesOfExpression,
                                        numerPlanesOfExpressionP,
                                        numerPlanesOfExpressionM,
                                        numerPlanesOfExpressionE,
                                        numerPlanesOfExpressionI,
                                        numerBridgeLPE,
                                        numerBridgeLPEDet,
                                        numerBridgeHDP,
                                        numerBridgeHDPDet,
                                        numerAttitude};
    static QString *const matrix[] = {numerPurposeful,
                                      numerFamilyFormation,
                                      numerStability,
                                      numer1,
                                      numer2,
                                      numer3,
                                      numer4,
                                      numer5,
                                      numer6,
                                      numer7,
                                      numer8,
                                      numer9,
                                      numerSelfAppraisal,
                                      numerFinance,
                                      numerTalent,
                                      numerSpirituality,
                                      numerSexualLife};
    static QString *const pet[] = {numerPetC, numerPetDForecast};
    static QString *const compatibility[] = {numerSumComp, numerDetComp,         numerNameComp,
                                             numerLPComp,  numerPMCharacterComp, numerPMEnergyComp};
    static QString *const celebrity[] = {numerCelLP, numerCelBD, numerCelExpr};

    auto pick = [section](QString *const *tables, int first, int count) -> QString * {
        return section >= first && section < first + count ? tables[section - first] : nullptr;
    };
    if (QString *t = pick(personal, 101, int(std::size(personal))))
        return {t, kNumerTableSize, 0};
    if (QString *t = pick(matrix, 201, int(std::size(matrix))))
        return {t, kNumerTableSize, 0};
    if (QString *t = pick(pet, 301, int(std::size(pet))))
        return {t, kNumerTableSize, 0};
    if (QString *t = pick(compatibility, 401, int(std::size(compatibility))))
        return {t, kNumerTableSize, 0};
    if (section == 501)
        return {numerNumInterp, kNumerTableSize, 0};
    if (QString *t = pick(celebrity, 602, 3))
        return {t, kCelebritySlots, 0};
    if (QString *t = pick(celebrity, 612, 3))
        return {t, kCelebritySlots, 100};
    if (section == 900)
        return {numerInfo, kInfoEntries, 0};
    return {};
}

// Fills the first field of a celebrity record that is still unset.
void addCelebrityLine(int slot, const QString &line)
{
    auto number = [&line] {
        const int value = line.toInt();
        return value == 0 ? -1 : value;
    };
    if (numerCelILP[slot] == 0) {
        numerCelILP[slot] = number();
    } else if (numerCelIDAY[slot] == 0) {
        numerCelIDAY[slot] = number();
    } else if (numerCelIEXPR[slot] == 0) {
        numerCelIEXPR[slot] = number();
    } else if (numerCelName[slot].isEmpty()) {
        numerCelName[slot] = line;
    } else if (numerCelFName[slot].isEmpty()) {
        numerCelFName[slot] = line;
    } else if (numerCelBDT[slot] == 0) {
        // Day and month take a byte each and the year the upper 15 bits; a
        // date that does not fit is not a date, like one without three parts.
        const QStringList parts = line.split(QLatin1Char('.'));
        if (parts.size() != 3)
            return;
        const int day = parts[0].toInt();
        const int month = parts[1].toInt();
        const int year = parts[2].toInt();
        if (day >= 0 && day <= 0xff && month >= 0 && month <= 0xff && year >= 0 && year <= 0x7fff)
            numerCelBDT[slot] = day + month * 256 + year * 65536;
    }
}

void addHelpLine(int section, int item, const QString &wrapped)
{
    const int piece = item % 10;
    const int entry = (section - 700) * 40 + (item / 10) * 4 + piece;
    QString &text = numerHelpers[entry];
    if (text.isEmpty()) {
        if (piece == 0) {
            text = QStringLiteral("<h2>") + wrapped + QStringLiteral("</h2>");
            return;
        }
        if (piece == 1)
            text = QStringLiteral("<h2>Calculating</h2>");
        else if (piece == 2)
            text = QStringLiteral("<h2>Interpretation</h2>");
    }
    text += wrapped;
}

void distributeLine(int section, int item, const QString &line)
{
    if (section == 601 || section == 611) {
        addCelebrityLine(section == 601 ? item : item + 100, line);
        return;
    }
    const QString wrapped = QStringLiteral("<p>") + line + QStringLiteral("</p>");
    if (section >= 700 && section <= 703) {
        addHelpLine(section, item, wrapped);
        return;
    }
    const SectionTable target = tableForSection(section);
    const int entry = item + target.offset;
    // numerInfo is shorter than an item number can be: such lines have no entry.
    if (target.table && entry < target.size)
        target.table[entry] += wrapped;
}

} // namespace

void Crypt(char *buf, unsigned len, const char *key, unsigned keyLen)
{
    if (keyLen == 0) {
        key = defaultKey;
        keyLen = sizeof(defaultKey) - 1;
    }
    unsigned char state[256];
    for (int i = 0; i < 256; ++i)
        state[i] = static_cast<unsigned char>(i);
    unsigned j = 0;
    for (unsigned i = 0; i < 256; ++i) {
        j = (j + state[i] + static_cast<unsigned char>(key[i % keyLen])) & 0xff;
        std::swap(state[i], state[j]);
    }
    unsigned i = 0;
    j = 0;
    for (unsigned n = 0; n < len; ++n) {
        i = (i + 1) & 0xff;
        j = (j + state[i]) & 0xff;
        std::swap(state[i], state[j]);
        buf[n] = static_cast<char>(static_cast<unsigned char>(buf[n])
                                   ^ state[(state[i] + state[j]) & 0xff]);
    }
}

bool getpString(QString &s)
{
    if (s.size() < 2)
        return false;
    const int n = s.size() / 2;
    // Sized to the line, so lines of any length decipher whole.
    QByteArray bytes(n, Qt::Uninitialized);
    const QChar *letters = s.constData();
    for (int i = 0; i < n; ++i) {
        const ushort c1 = letters[2 * i].unicode();
        const ushort c2 = letters[2 * i + 1].unicode();
        const int v1 = c1 > 255 ? 0 : c1;
        const int v2 = c2 > 255 ? 0 : c2;
        bytes[i] = static_cast<char>((v1 + 16 * v2 - 113) & 0xff);
    }
    Crypt(bytes.data(), unsigned(n), randstart, kDatabaseKeyLength);
    // Every byte is one character, zero bytes included.
    s = QString::fromLatin1(bytes.constData(), bytes.size());
    return true;
}

QString putpString(const QByteArray &latin1Line)
{
    QByteArray bytes = latin1Line;
    Crypt(bytes.data(), unsigned(bytes.size()), randstart, kDatabaseKeyLength);
    QString letters;
    letters.resize(bytes.size() * 2);
    for (int i = 0; i < bytes.size(); ++i) {
        const auto v = static_cast<unsigned char>(bytes[i]);
        letters[2 * i] = QLatin1Char(char('a' + (v & 0x0f)));
        letters[2 * i + 1] = QLatin1Char(char('A' + (v >> 4)));
    }
    return letters;
}

bool loadReadingsDatabase(const QString &filePath)
{
    QFile file(filePath);
    return loadReadingsDatabase(&file);
}

bool loadReadingsDatabase(QIODevice *device)
{
    for (int slot = 0; slot < kCelebritySlots; ++slot) {
        numerCelLP[slot] = QString(QLatin1String(""));
        numerCelBD[slot] = QString(QLatin1String(""));
        numerCelExpr[slot] = QString(QLatin1String(""));
        numerCelName[slot] = QString(QLatin1String(""));
        numerCelFName[slot] = QString(QLatin1String(""));
        numerCelBDT[slot] = 0;
        numerCelILP[slot] = 0;
        numerCelIDAY[slot] = 0;
        numerCelIEXPR[slot] = 0;
    }
    numerCustomText[0] = QStringLiteral("Your custom text here");

    if (!device->isOpen() && !device->open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

    const QString space = QStringLiteral(" ");
    numerCompoundNumbers[0] = space;
    for (int i = 10; i <= 99; ++i)
        numerCompoundNumbers[i] = space;

    QTextStream stream(device);
    stream.setCodec("UTF-8");
    int section = 0;
    int item = 0;
    QString line;
    while (stream.readLineInto(&line)) {
        getpString(line);
        if (line.startsWith(QLatin1Char('#')) && line.size() >= 6) {
            section = line.midRef(1, 3).toInt();
            item = line.midRef(4, 2).toInt();
            if (item < 0 || item > 99) {
                section = 0;
                item = 0;
            }
            continue;
        }
        if (line.isEmpty())
            continue;
        distributeLine(section, item, line);
    }
    return true;
}

QString readingsDatabasePath()
{
    return getResourcesPath() + QStringLiteral("eng.dat");
}

QByteArray toDatabaseBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    const QVector<uint> codePoints = text.toUcs4();
    for (const uint c : codePoints) {
        if (c <= 0xff)
            bytes.append(static_cast<char>(c));
        else
            bytes.append("&#" + QByteArray::number(c) + ';');
    }
    return bytes;
}

bool encipherReadingsSource(const QString &source, QByteArray *out, QString *error)
{
    // Built apart and appended whole, so that a refused source adds nothing.
    QByteArray enciphered;
    const QVector<QStringRef> lines = source.splitRef(QLatin1Char('\n'));
    for (int number = 0; number < lines.size(); ++number) {
        const QString line = lines[number].trimmed().toString();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        QByteArray bytes;
        if (line.startsWith(QLatin1Char('#'))) {
            bool digits = line.size() >= 6;
            for (int i = 1; digits && i < 6; ++i)
                digits = line[i] >= QLatin1Char('0') && line[i] <= QLatin1Char('9');
            if (!digits) {
                if (error)
                    *error = QStringLiteral("%1: a header is \"#\" with a three-digit section and "
                                            "a two-digit item, not \"%2\"")
                                 .arg(number + 1)
                                 .arg(line);
                return false;
            }
            bytes = line.left(6).toLatin1();
        } else {
            bytes = toDatabaseBytes(line);
        }
        enciphered.append(putpString(bytes).toLatin1());
        enciphered.append('\n');
    }
    out->append(enciphered);
    return true;
}
