#include "engine/numerologypmatrix.h"

#include "engine/layoutreading.h"
#include "engine/texttables.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace {

struct Section
{
    const char *title; // heading and count-listing label without " - "
    const char *image;
    const QString *texts;
};

// Sections 1 to 17; entry 0 stands for section 1.
const Section sections[17] = {
    {"Character (1)", "res16.jpg", numer1},
    {"Energy (2)", "res17.jpg", numer2},
    {"Interest (3)", "res18.jpg", numer3},
    {"Health (4)", "res19.jpg", numer4},
    {"Intuition (5)", "res20.jpg", numer5},
    {"Labour (6)", "res21.jpg", numer6},
    {"Luck (7)", "res22.jpg", numer7},
    {"Duty (8)", "res23.jpg", numer8},
    {"Memory (9)", "res24.jpg", numer9},
    {"Purposeful (1-4-7)", "res25.jpg", numerPurposeful},
    {"Family formation (2-5-8)", "res26.jpg", numerFamilyFormation},
    {"Stability (3-6-9)", "res27.jpg", numerStability},
    {"Self appraisal (1-2-3)", "res28.jpg", numerSelfAppraisal},
    {"Finance (4-5-6)", "res29.jpg", numerFinance},
    {"Talent (7-8-9)", "res30.jpg", numerTalent},
    {"Spirituality (1-5-9)", "res31.jpg", numerSpirituality},
    {"Sexual life (3-5-7)", "res32.jpg", numerSexualLife},
};

constexpr int HeaderSection = 0;
constexpr int CustomTextSection = 18;

const Section *section(int id)
{
    return id >= 1 && id <= 17 ? &sections[id - 1] : nullptr;
}

QString label(const Section &s)
{
    return QLatin1String(s.title) + QLatin1String(" - ");
}

QString dateHeading(const QString &name, const QDate &date)
{
    return name + QLatin1String(", ") + monthAbbreviation(date.month()) + QLatin1Char(' ')
        + QString::number(date.day()) + QLatin1Char(' ') + QString::number(date.year());
}

int digitSum(int n)
{
    QList<int> digits;
    CNumerologyPMatrix::addNumToList(digits, n);
    int sum = 0;
    for (int d : qAsConst(digits))
        sum += d;
    return sum;
}

} // namespace

CNumerologyPMatrix::CNumerologyPMatrix(QObject *parent)
    : CReportTools(parent)
{
    resetData();
}

CNumerologyPMatrix::~CNumerologyPMatrix() = default;

void CNumerologyPMatrix::resetData()
{
    std::fill(std::begin(digitCount), std::end(digitCount), 0);
    std::fill(std::begin(lineValue), std::end(lineValue), 0);
}

void CNumerologyPMatrix::clear()
{
    resetData();
}

void CNumerologyPMatrix::addNumToList(QList<int> &list, int n)
{
    n = qAbs(n % 10000);
    if (n >= 1000)
        list << n / 1000 << (n % 1000) / 100 << (n % 100) / 10 << n % 10;
    else if (n >= 100)
        list << n / 100 << (n % 100) / 10 << n % 10;
    else if (n >= 10)
        list << n / 10 << n % 10;
    else
        list << n;
}

CNumerologyPMatrix::Working CNumerologyPMatrix::workingNumbers(const QDate &birthDate)
{
    Working w;
    addNumToList(w.dateDigits, birthDate.day());
    addNumToList(w.dateDigits, birthDate.month());
    addNumToList(w.dateDigits, birthDate.year());
    int sum = 0;
    for (int d : qAsConst(w.dateDigits))
        sum += d;
    w.numbers[0] = sum;
    w.numbers[1] = digitSum(w.numbers[0]);
    w.numbers[2] = w.numbers[0] - 2 * w.dateDigits.first();
    w.numbers[3] = digitSum(w.numbers[2]);
    for (int n : w.numbers)
        addNumToList(w.workingDigits, n);
    return w;
}

int CNumerologyPMatrix::sectionValue(int id) const
{
    if (id >= 1 && id <= 9)
        return digitCount[id];
    switch (id) {
    case 10:
        return lineValue[LPurposeful];
    case 11:
        return lineValue[LFamilyFormation];
    case 12:
        return lineValue[LStability];
    case 13:
        return lineValue[LSelfAppraisal];
    case 14:
        return lineValue[LFinance];
    case 15:
        return lineValue[LTalent];
    case 16:
        return lineValue[LSpirituality];
    case 17:
        return lineValue[LSexualLife];
    default:
        return 0;
    }
}

int CNumerologyPMatrix::textIndex(int value)
{
    return value < 7 ? qMax(value, 0) + 1 : 7;
}

QString CNumerologyPMatrix::countListing(const QList<int> &types) const
{
    QString listing;
    for (int id = 1; id <= 17; ++id) {
        if (types.contains(id))
            listing += label(*section(id)) + QString::number(sectionValue(id))
                + QLatin1String("<br />\r\n");
    }
    return listing;
}

bool CNumerologyPMatrix::calculate(const QString &name, const QDate &birthDate,
                                   QList<reportSetting> *layouts, int layoutNo)
{
    const int layoutIndex = CLayoutReading::layoutIndex(layouts, layoutNo);

    resetData();
    const Working w = workingNumbers(birthDate);
    for (int d : w.dateDigits)
        ++digitCount[d];
    for (int d : w.workingDigits)
        ++digitCount[d];
    const int *c = digitCount;
    lineValue[LSelfAppraisal] = c[1] + c[2] + c[3];
    lineValue[LFinance] = c[4] + c[5] + c[6];
    lineValue[LTalent] = c[7] + c[8] + c[9];
    lineValue[LPurposeful] = c[1] + c[4] + c[7];
    lineValue[LFamilyFormation] = c[2] + c[5] + c[8];
    lineValue[LStability] = c[3] + c[6] + c[9];
    lineValue[LSpirituality] = c[1] + c[5] + c[9];
    lineValue[LSexualLife] = c[3] + c[5] + c[7];

    if (layoutIndex >= 0) {
        const CLayoutReading reading(*this, layouts->at(layoutIndex), RKPsychoMatrix);
        return calculateDynamic(name, layouts, layoutIndex, countListing(reading.types()),
                                birthDate);
    }

    QList<int> types;
    for (int id = 0; id <= CustomTextSection; ++id)
        types << id;
    const QString listing = countListing(types);
    const QFont font = CLayoutReading::defaultHeadingFont();
    startDoc(QStringLiteral("Lumaro Numerology Report"));
    startChap(true);
    addHead(QStringLiteral("Numerology Psychomatrix Chart for"), Qt::black, font, QImage());
    addHead(dateHeading(name, birthDate), Qt::black, font, QImage());
    addPar(listing, QImage());
    addPar(QString(), QImage());
    endChap();

    for (int id = 1; id <= 17; ++id) {
        const Section &s = *section(id);
        const int value = sectionValue(id);
        const QString &general = s.texts[0];
        const QString &specific = s.texts[textIndex(value)];
        startChap(true);
        addImage(QLatin1String(s.image));
        addHead(label(s) + QString::number(value), Qt::black, font, QImage());
        if (id == 7) {
            // The luck text is long: each of its parts gets a table of its
            // own, so that a printed page can break between them.
            const QStringList parts = general.split(QLatin1String("<br />"));
            addPar(parts.first(), QImage());
            endChap();
            for (int i = 1; i < parts.size(); ++i) {
                startChap(true);
                addPar(parts.at(i), QImage());
                endChap();
            }
            startChap(true);
            addPar(specific, QImage());
            endChap();
        } else if (id <= 8) {
            addPar(general, QImage());
            endChap();
            startChap(true);
            addPar(specific, QImage());
            endChap();
        } else {
            addPar(general + QLatin1String("<br /><br />") + specific, QImage());
            endChap();
        }
    }
    endDoc();
    return true;
}

bool CNumerologyPMatrix::calculateDynamic(const QString &name, QList<reportSetting> *layouts,
                                          int layoutIndex, const QString &countListing,
                                          const QDate &birthDate)
{
    CLayoutReading reading(*this, layouts->at(layoutIndex), RKPsychoMatrix);
    const QFont font = CLayoutReading::defaultHeadingFont();

    startDoc(QStringLiteral("Numerology Report"));
    for (const repItem &item : reading.items()) {
        const int type = int(item.type);
        if (type == HeaderSection) {
            startChap(true);
            startChap(true);
            if (item.defaultStyle) {
                addHead(QStringLiteral("Numerology Psychomatrix Chart for"), Qt::black, font,
                        QImage());
                endChap();
                addHead(dateHeading(name, birthDate), Qt::black, font, QImage());
                addPar(countListing, QImage());
            } else {
                addItemHead(item);
                endChap();
                addHead(dateHeading(name, birthDate), item.contentColor, item.contentFont,
                        QImage());
                addPar(countListing, item.contentColor, item.contentFont, QImage());
            }
            addPar(QString(), QImage());
            endChap();
        } else if (const Section *s = section(type)) {
            const int value = sectionValue(type);
            const int index = textIndex(value);
            reading.queueSectionPicture(item, QLatin1String(s->image));
            reading.standItem(item, QLatin1String(s->title), QString::number(value), s->texts[0],
                              s->texts[index], index);
        } else if (type == CustomTextSection) {
            reading.customText(item);
        }
    }
    endDoc();
    return true;
}
