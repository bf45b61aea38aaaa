#include "engine/compnumerology.h"

#include "engine/layoutreading.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "engine/texttables.h"

#include <QStringList>

namespace {

// The partner's life-path digits by class, one row per digit 1 to 9 of the
// person's; the classes score 90, 75, 50 and 35 percent.
const char *const lifePathGroups[9][4] = {
    {"1, 5, 7", "3, 9", "8", "2, 4, 6"},   {"2, 4, 8", "3, 6", "9", "1, 5, 7"},
    {"3, 6, 9", "1, 2, 5", "", "4, 7, 8"}, {"2, 4, 8", "6, 7", "", "1, 3, 5, 9"},
    {"1, 5, 7", "3, 9", "8", "2, 4, 6"},   {"3, 6, 9", "2, 4, 8", "", "1, 5, 7"},
    {"1, 5, 7", "4", "9", "2, 3, 6, 8"},   {"2, 4, 8", "6", "1,5", "3, 7, 9"},
    {"3, 6, 9", "1, 5", "2,7", "4, 8"},
};
const int lifePathClassScores[4] = {90, 75, 50, 35};

// By birthday code 1 to 9.
const int birthdayScores[9] = {80, 75, 70, 50, 60, 95, 70, 65, 50};

// Row = the smaller expression digit, column = the larger, both 1 to 9; only
// the upper triangle is used.
const int nameScores[9][9] = {
    {55, 90, 85, 70, 90, 85, 70, 60, 95}, {0, 40, 70, 95, 70, 85, 70, 75, 65},
    {0, 0, 65, 65, 60, 95, 50, 50, 70},   {0, 0, 0, 70, 75, 70, 60, 70, 90},
    {0, 0, 0, 0, 95, 70, 70, 60, 75},     {0, 0, 0, 0, 0, 60, 55, 75, 70},
    {0, 0, 0, 0, 0, 0, 55, 50, 70},       {0, 0, 0, 0, 0, 0, 0, 60, 75},
    {0, 0, 0, 0, 0, 0, 0, 0, 60},
};

// By the difference 0 to 5 of the two capped sexual-life values.
const int carnalScores[6] = {100, 90, 75, 50, 40, 30};

bool isDigit(int d)
{
    return d >= 1 && d <= 9;
}

QString personLine(const CNumerology *n)
{
    const QDate &d = n->m_birthDate;
    return n->m_fullName + QLatin1String(", ") + monthAbbreviation(d.month()) + QLatin1Char(' ')
        + QString::number(d.day()) + QLatin1Char(' ') + QString::number(d.year());
}

const QLatin1String
    valueRowOpen("<tr class=\"tab1\" style = \"border-bottom: 1px solid  #aaaaaa\">");
const QLatin1String valueCellOpen("<td style=\"padding: 5px 20px 5px 20px;\" comment=\"lc_fs\">");
const QLatin1String middleCell("</td><td comment=\"lc_fs\" >");
const QLatin1String rowEnd("</td></tr>");

QString groupRow(const QString &caption)
{
    return QLatin1String("<tr class=\"tab2\" style = \"border-bottom: 2px solid #117711\">")
        + QLatin1String("<td colspan=\"2\" style=\"padding: 15px 20px 5px 20px; font-weight: "
                        "bold; color: #117711;\" comment=\"lc_fs\">")
        + caption + rowEnd;
}

QString valueRow(const QString &label, const QString &value)
{
    return valueRowOpen + valueCellOpen + label + middleCell + value + rowEnd;
}

// The paragraphs of the sections. The fixed reading ends its lines with
// "<br />", the reading by layout with "<br/>".
struct Paragraphs
{
    QString lifePath, birthday, name, family, carnal, character, energy;
};

Paragraphs paragraphs(const CCompNumerology &c, const CNumerology *a, const CNumerology *b,
                      const CNumerologyPMatrix *ma, const CNumerologyPMatrix *mb, int birthdayCode,
                      const QString &br)
{
    const QString nl = br + QLatin1String("\r\n");
    const QString slash = QStringLiteral(" / ");
    Paragraphs p;
    p.lifePath = QLatin1String("Life path compatibility = ") + c.resultText[8] + nl
        + QLatin1String("Life path - ") + a->m_results[CNumerology::RLifePath] + slash
        + b->m_results[CNumerology::RLifePath] + nl
        + QLatin1String("Life path compatibility code - ") + QString::number(c.lifePathCode) + br
        + nl + QLatin1String("\r\n");
    p.birthday = QLatin1String("Birthday compatibility = ") + c.resultText[10] + nl
        + QLatin1String("Birthday - ") + a->m_results[CNumerology::RBirthday] + slash
        + b->m_results[CNumerology::RBirthday] + nl + QLatin1String("Birthday code - ")
        + QString::number(birthdayCode) + br + nl + QLatin1String("\r\n");
    p.name = QLatin1String("Name compatibility = ") + c.resultText[14] + nl
        + QLatin1String("Name numbers (expression) - ") + a->m_results[CNumerology::RExpression]
        + slash + b->m_results[CNumerology::RExpression] + nl
        + QLatin1String("Name compatibility code - ") + c.resultText[13] + br + nl
        + QLatin1String("\r\n");
    p.family = QLatin1String("Family Compatibility = ") + c.resultText[11] + nl
        + QLatin1String("Home stability ") + c.resultText[4] + nl
        + QLatin1String("Spiritual stability ") + c.resultText[5] + nl + QLatin1String("\r\n")
        + QLatin1String("Marriage stability term ") + c.resultText[6] + br + nl;
    p.carnal = QLatin1String("Compatibility = ") + c.resultText[12] + nl
        + QLatin1String("Values (3-5-7) - ")
        + QString::number(ma->lineValue[CNumerologyPMatrix::LSexualLife]) + slash
        + QString::number(mb->lineValue[CNumerologyPMatrix::LSexualLife]) + br + br + br + nl;
    const QString fiveBreaks = QStringLiteral("<br/><br/><br/><br/><br/>\r\n");
    p.character = QLatin1String("Character Compatibility (1) - ")
        + QString::number(ma->digitCount[1]) + slash + QString::number(mb->digitCount[1])
        + fiveBreaks;
    p.energy = QLatin1String("Energy Compatibility (2) - ") + QString::number(ma->digitCount[2])
        + slash + QString::number(mb->digitCount[2]) + fiveBreaks;
    return p;
}

} // namespace

CCompNumerology::CCompNumerology(QObject *parent)
    : CReportTools(parent)
{
}

CCompNumerology::~CCompNumerology() = default;

void CCompNumerology::resetData()
{
    clearStats();
    homeProductA = homeProductB = 0;
    spiritualProductA = spiritualProductB = 0;
    homeTerm = spiritualTerm = marriageTerm = 0;
}

void CCompNumerology::clear()
{
    resetData();
}

int CCompNumerology::lifePathTableScore(int digitA, int digitB)
{
    if (!isDigit(digitA) || !isDigit(digitB))
        return 0;
    const QString partner = QString::number(digitB);
    for (int c = 0; c < 4; ++c) {
        if (QString::fromLatin1(lifePathGroups[digitA - 1][c]).contains(partner))
            return lifePathClassScores[c];
    }
    return 50;
}

int CCompNumerology::birthdayTableScore(int code)
{
    return isDigit(code) ? birthdayScores[code - 1] : 0;
}

int CCompNumerology::nameTableScore(int digitA, int digitB)
{
    if (!isDigit(digitA) || !isDigit(digitB))
        return 0;
    return nameScores[qMin(digitA, digitB) - 1][qMax(digitA, digitB) - 1];
}

int CCompNumerology::carnalTableScore(int difference)
{
    return difference >= 0 && difference <= 5 ? carnalScores[difference] : 0;
}

int CCompNumerology::pairCode(int x, int y)
{
    if (!isDigit(x) || !isDigit(y))
        return -1;
    return 10 * qMin(x, y) + qMax(x, y);
}

bool CCompNumerology::calculate(CNumerology *person, CNumerology *partner,
                                CNumerologyPMatrix *personMatrix, CNumerologyPMatrix *partnerMatrix,
                                QList<reportSetting> *layouts, int layoutNo)
{
    const int layoutIndex = CLayoutReading::layoutIndex(layouts, layoutNo);
    resetData();

    // Life path.
    lifePathDigitA = downToDigit(person->m_lifePath);
    lifePathDigitB = downToDigit(partner->m_lifePath);
    lifePathCode = downToDigit(lifePathDigitA + lifePathDigitB);
    lifePathScore = lifePathTableScore(lifePathDigitA, lifePathDigitB);
    resultText[RLifePathFormula] = QString::number(person->m_lifePath) + QLatin1Char('+')
        + QString::number(partner->m_lifePath) + QLatin1Char('=') + QString::number(lifePathCode);
    resultText[RLifePathScore] = QString::number(lifePathScore) + QLatin1Char('%');
    const int lifePathPair = pairCode(lifePathDigitA, lifePathDigitB);

    // Birthday.
    const int dayA = downToDigit(person->m_birthDate.day());
    const int dayB = downToDigit(partner->m_birthDate.day());
    const int birthdayCode = downToDigit(dayA + dayB);
    const int birthdayPair = pairCode(dayA, dayB);
    const int birthdayScore = birthdayPair < 0 ? 0 : birthdayTableScore(birthdayCode);
    resultText[RBirthdayFormula] = QString::number(person->m_birthDate.day()) + QLatin1Char('+')
        + QString::number(partner->m_birthDate.day()) + QLatin1Char('=')
        + QString::number(birthdayCode);
    resultText[RBirthdayScore] = QString::number(birthdayScore) + QLatin1Char('%');

    // Products of the psycho-matrix lines and the stability terms.
    using M = CNumerologyPMatrix;
    const int *la = personMatrix->lineValue;
    const int *lb = partnerMatrix->lineValue;
    homeProductA = la[M::LFamilyFormation] * la[M::LSexualLife] * la[M::LStability];
    homeProductB = lb[M::LFamilyFormation] * lb[M::LSexualLife] * lb[M::LStability];
    spiritualProductA = la[M::LSelfAppraisal] * la[M::LSpirituality] * la[M::LPurposeful];
    spiritualProductB = lb[M::LSelfAppraisal] * lb[M::LSpirituality] * lb[M::LPurposeful];
    homeTerm = (homeProductA * homeProductB + 180) / 365;
    spiritualTerm = (spiritualProductA * spiritualProductB + 180) / 365;
    marriageTerm = homeTerm == spiritualTerm ? homeTerm : homeTerm + spiritualTerm;
    const int fields[7] = {homeProductA, homeProductB,  spiritualProductA, spiritualProductB,
                           homeTerm,     spiritualTerm, marriageTerm};
    for (int i = 0; i < 7; ++i)
        resultText[i] = QString::number(fields[i]);

    const int familyScore = qMin(100, marriageTerm * 111 / 35);
    resultText[RFamilyScore] = QString::number(familyScore) + QLatin1Char('%');

    // Carnal interests: six and more count as five.
    const int sexA = qBound(0, la[M::LSexualLife], 5);
    const int sexB = qBound(0, lb[M::LSexualLife], 5);
    carnalScore = carnalTableScore(qAbs(sexA - sexB));
    resultText[RCarnalScore] = QString::number(carnalScore) + QLatin1Char('%');

    // Character and energy: seven and more count as six.
    auto countCode = [](int a, int b) {
        a = qBound(0, a, 6);
        b = qBound(0, b, 6);
        return 10 * (qMin(a, b) + 1) + qMax(a, b) + 1;
    };
    characterCode = countCode(personMatrix->digitCount[1], partnerMatrix->digitCount[1]);
    energyCode = countCode(personMatrix->digitCount[2], partnerMatrix->digitCount[2]);

    // Name.
    const int exprA = downToDigit(person->m_expression);
    const int exprB = downToDigit(partner->m_expression);
    const int namePair = pairCode(exprA, exprB);
    nameCode = downToDigit(exprA + exprB);
    nameScore = nameTableScore(exprA, exprB);
    resultText[RNameFormula] = QString::number(person->m_expression) + QLatin1Char('+')
        + QString::number(partner->m_expression) + QLatin1Char('=') + QString::number(nameCode);
    resultText[RNameScore] = QString::number(nameScore) + QLatin1Char('%');

    const int finalScore
        = (birthdayScore + nameScore + carnalScore + 2 * lifePathScore + 2 * familyScore) / 7;
    resultText[RFinalScore] = QString::number(finalScore) + QLatin1Char('%');

    // Summary table.
    QString summary = QStringLiteral(
        "<table class=maindoc width=\"500\" style=\"border-style: solid; color:#000000; "
        "border: 0px; border-collapse:collapse;\">\r\n");
    summary += QLatin1String("<tr class=\"tab2\" style = \"border-bottom: 2px solid #117711\">")
        + QLatin1String("<td style=\"padding: 5px 20px 5px 20px; font: large bold; "
                        "color:#6f2a0b;\">")
        + personLine(person) + QLatin1String("<br />and<br />") + personLine(partner)
        + QLatin1String("</td><td style=\"color:#6f2a0b; font: large bold;\">")
        + resultText[RFinalScore] + rowEnd;
    summary += groupRow(QStringLiteral("Core numbers Compatibility"));
    summary += valueRowOpen + valueCellOpen + QLatin1String("Life path")
        + QLatin1String("</td><td  comment=\"lc_fs\" >") + resultText[RLifePathScore] + rowEnd;
    summary += valueRow(QStringLiteral("Birthday"), resultText[RBirthdayScore]);
    summary += valueRow(QStringLiteral("Name"), resultText[RNameScore]);
    summary += groupRow(QStringLiteral("Psycho-matrix Compatibility"));
    summary += valueRowOpen + QLatin1Char(' ') + valueCellOpen
        + QLatin1String("Marriage stability term") + middleCell + resultText[RMarriageTerm]
        + QLatin1String(" years</td></tr>");
    summary += valueRow(QStringLiteral("Family"), resultText[RFamilyScore]);
    summary += valueRow(QStringLiteral("Carnal interests"), resultText[RCarnalScore]);
    summary += QLatin1String("</table>\r\n");

    // Matrix listing, person / partner.
    static const char *const labels[8]
        = {"Purposeful (1-4-7) - ",     "Family formation (2-5-8) - ", "Stability (3-6-9) - ",
           "Self appraisal (1-2-3) - ", "Finance (4-5-6) - ",          "Talent (7-8-9) - ",
           "Spirituality (1-5-9) - ",   "Sexual life (3-5-7) - "};
    static const int lines[8]
        = {M::LPurposeful, M::LFamilyFormation, M::LStability,    M::LSelfAppraisal,
           M::LFinance,    M::LTalent,          M::LSpirituality, M::LSexualLife};
    static const char *const cells[9] = {"Character (1) - ", "Energy (2) - ",    "Interest (3) - ",
                                         "Health (4) - ",    "Intuition (5) - ", "Labour (6) - ",
                                         "Luck (7) - ",      "Duty (8) - ",      "Memory (9) - "};
    QStringList listingLines;
    for (int d = 1; d <= 9; ++d) {
        listingLines << QLatin1String(cells[d - 1]) + QString::number(personMatrix->digitCount[d])
                + QLatin1String(" / ") + QString::number(partnerMatrix->digitCount[d]);
    }
    for (int i = 0; i < 8; ++i) {
        listingLines << QLatin1String(labels[i]) + QString::number(la[lines[i]])
                + QLatin1String(" / ") + QString::number(lb[lines[i]]);
    }
    const QString listing = listingLines.join(QLatin1String("<br/>\r\n"));

    startDoc(QStringLiteral("Numerology Compatibility Report"));
    if (layoutIndex >= 0)
        return calculateDynamic(layouts, layoutIndex, summary, listing, person, partner,
                                personMatrix, partnerMatrix, lifePathPair, birthdayPair,
                                birthdayCode, namePair);

    const Paragraphs p = paragraphs(*this, person, partner, personMatrix, partnerMatrix,
                                    birthdayCode, QStringLiteral("<br />"));
    const QFont font = CLayoutReading::defaultHeadingFont();
    auto section = [&](const char *image, const QString &heading) {
        startChap(true);
        if (image)
            addImage(QLatin1String(image));
        addHead(heading, Qt::black, font, QImage());
    };

    section(nullptr, QStringLiteral("Numerology Compatibility Report"));
    addPar(QString(), QImage());
    endChap();
    addPlain(summary);
    startChap(true);
    addPar(QString(), QImage());
    endChap();
    startChap(true);
    addPar(numerDetComp[0], QImage());
    endChap();

    section("res35.jpg", QStringLiteral("Life Path Compatibility"));
    addPar(p.lifePath, QImage());
    addPar(tableEntry(numerLPComp, lifePathPair), QImage());
    endChap();

    section("res37.jpg", QStringLiteral("Birthday Compatibility"));
    addPar(p.birthday, QImage());
    if (birthdayPair >= 0) {
        addPar(tableEntry(numerSumComp, birthdayCode), QImage());
        addPar(tableEntry(numerDetComp, birthdayPair), QImage());
    }
    endChap();

    section("res34.jpg", QStringLiteral("Name Compatibility"));
    addPar(p.name, QImage());
    addPar(tableEntry(numerNameComp, namePair), QImage());
    endChap();

    section(nullptr, QStringLiteral("Psycho-matrix"));
    addPar(listing, QImage());
    endChap();

    section("res36.jpg", QStringLiteral("Family"));
    addPar(p.family, QImage());
    addPar(numerDetComp[1], QImage());
    endChap();

    section("res38.jpg", QStringLiteral("Character"));
    addPar(p.character, QImage());
    addPar(numerPMCharacterComp[0], QImage());
    addPar(tableEntry(numerPMCharacterComp, characterCode), QImage());
    endChap();

    section("res17.jpg", QStringLiteral("Energy"));
    addPar(p.energy, QImage());
    addPar(tableEntry(numerPMEnergyComp, energyCode), QImage());
    endChap();

    section("res33.jpg", QStringLiteral("Carnal Interests"));
    addPar(p.carnal, QImage());
    addPar(numerDetComp[2], QImage());
    endChap();

    section(nullptr, QString());
    addPar(numerDetComp[3], QImage());
    endChap();

    endDoc();
    return true;
}

bool CCompNumerology::calculateDynamic(QList<reportSetting> *layouts, int layoutIndex,
                                       const QString &summaryTable, const QString &matrixListing,
                                       CNumerology *person, CNumerology *partner,
                                       CNumerologyPMatrix *personMatrix,
                                       CNumerologyPMatrix *partnerMatrix, int lifePathPair,
                                       int birthdayPair, int birthdayCode, int namePair)
{
    CLayoutReading reading(*this, layouts->at(layoutIndex), RKLoveCompatibility);
    const Paragraphs p = paragraphs(*this, person, partner, personMatrix, partnerMatrix,
                                    birthdayCode, QStringLiteral("<br/>"));
    // A pair outside the score tables has no text of its own: such a section
    // shows its general text only.
    const int birthdayEntry = birthdayPair < 0 ? -1 : birthdayCode;

    startDoc(QStringLiteral("Numerology Compatibility Report"));
    for (const repItem &item : reading.items()) {
        auto section = [&](const char *image, const QString &title, const QString &general,
                           const QString *table, int entry) {
            if (image)
                reading.queueSectionPicture(item, QLatin1String(image));
            reading.standItem(item, title, QString(), general, tableEntry(table, entry), entry);
        };

        switch (item.type) {
        case 0:
            startChap(true);
            if (item.defaultStyle) {
                addHead(QStringLiteral("Numerology Compatibility Report"), Qt::black,
                        CLayoutReading::defaultHeadingFont(), QImage());
                endChap();
                addPar(summaryTable, QImage());
                startChap(true);
                addPar(numerDetComp[0], QImage());
            } else {
                addItemHead(item);
                endChap();
                addPar(summaryTable, item.contentColor, item.contentFont, QImage());
                startChap(true);
                addPar(numerDetComp[0], &item, 0);
            }
            endChap();
            break;
        case 1:
            section("res35.jpg", QStringLiteral("Life Path Compatibility"), p.lifePath, numerLPComp,
                    lifePathPair);
            break;
        case 2:
            section("res37.jpg", QStringLiteral("Birthday Compatibility"), p.birthday, numerSumComp,
                    birthdayEntry);
            break;
        case 3:
            section("res34.jpg", QStringLiteral("Name Compatibility"), p.name, numerNameComp,
                    namePair);
            break;
        case 4:
            reading.standHead(item, QStringLiteral("Psycho-matrix"), QString(), matrixListing);
            break;
        case 5:
            section("res36.jpg", QStringLiteral("Family"), p.family, numerDetComp, 1);
            break;
        case 6:
            section("res33.jpg", QStringLiteral("Carnal Interests"), p.carnal, numerDetComp, 2);
            break;
        case 7:
            if (birthdayPair >= 0)
                section(nullptr, QString(), QString(), numerDetComp, birthdayPair);
            break;
        case 8:
            section("res16.jpg", QStringLiteral("Character"), p.character + numerPMCharacterComp[0],
                    numerPMCharacterComp, characterCode);
            break;
        case 9:
            section("res17.jpg", QStringLiteral("Energy"), p.energy, numerPMEnergyComp, energyCode);
            break;
        case 10:
            section(nullptr, QString(), QString(), numerDetComp, 3);
            break;
        case 11:
            reading.customText(item);
            break;
        default:
            break;
        }
    }
    endDoc();
    return true;
}
