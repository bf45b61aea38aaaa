// The pet reading of a CNumerology engine object: the pet number of a name,
// the birthday code of its birth date and the code of a forecast day.

#include "engine/layoutreading.h"
#include "engine/numerology.h"
#include "engine/texttables.h"

#include <QStringList>

namespace {

// The number of one kind of letter sum (all letters, vowels or consonants):
// every word reduced to base, the total reduced to one digit.
struct PetNumber
{
    int total = 0;
    int digit = 0;
    QString text; // digit, "/" and the total when they differ
    QString line; // =5/23+7=12=3
};

QString numberText(int value, int total)
{
    return value == total ? QString::number(value)
                          : QString::number(value) + QLatin1Char('/') + QString::number(total);
}

QString dayText(const QDate &date)
{
    return monthAbbreviation(date.month()) + QLatin1Char(' ') + QString::number(date.day())
        + QLatin1Char(' ') + QString::number(date.year());
}

} // namespace

bool CNumerology::calculatePet(const QString &petName, const QString &secondName,
                               const QDate &birth, const QDate &forecast, bool flag,
                               QList<reportSetting> *layouts, int layoutNo)
{
    Q_UNUSED(secondName);
    Q_UNUSED(flag);
    const int layoutIndex = CLayoutReading::layoutIndex(layouts, layoutNo);
    const QString name = petName.toUpper();
    resetData();

    auto dateCode = [](const QDate &d) {
        return downToDigit(downToDigit(d.day()) + downToDigit(d.month()) + downToDigit(d.year()));
    };
    const int birthdayCode = dateCode(birth);
    const int dateCodeOfDay = dateCode(forecast);
    m_results[RBirthday] = QString::number(birthdayCode);

    // Empty words (two spaces in a row) add nothing and are left out of the
    // calculation lines.
    const QStringList words = name.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    auto petNumber = [&](const QList<int> &sums) {
        PetNumber number;
        QStringList pieces;
        for (int i = 0; i < sums.size() && i < words.size(); ++i) {
            if (words.at(i).isEmpty())
                continue;
            const int reduced = downToBase(sums.at(i));
            number.total += reduced;
            pieces << numberText(reduced, sums.at(i));
        }
        number.digit = downToDigit(number.total);
        number.text = numberText(number.digit, number.total);
        number.line = QLatin1Char('=') + pieces.join(QLatin1Char('+')) + QLatin1Char('=')
            + QString::number(number.total);
        if (number.total != number.digit)
            number.line += QLatin1Char('=') + QString::number(number.digit);
        return number;
    };

    QList<int> sums;
    QList<int> vowelSums;
    QList<int> consonantSums;
    calcNamesNumbers(name, sums);
    calcNamesNumbersP(name, vowelSums, true, 0);
    calcNamesNumbersP(name, consonantSums, false, 0);
    const PetNumber pet = petNumber(sums);
    const PetNumber vowels = petNumber(vowelSums);
    const PetNumber consonants = petNumber(consonantSums);
    m_results[RExpression] = pet.text;
    m_results[RHeartDesire] = vowels.text;
    m_results[RPersonality] = consonants.text;
    m_nameLines[NLExpression] = pet.line;
    m_nameLines[NLHeartDesire] = vowels.line;
    m_nameLines[NLPersonality] = consonants.line;

    QString vowelLine;
    QString consonantLine;
    for (int i = 0; i < name.size(); ++i) {
        const int kind = isVow(name, i, 0);
        const QString digit = QString::number(downToDigit(letterToNumber(name.at(i))));
        vowelLine += kind == 1 ? digit : QStringLiteral(" ");
        consonantLine += kind == -1 ? digit : QStringLiteral(" ");
    }
    m_nameLines[NLFullVowels] = vowelLine;
    m_nameLines[NLFullConsonants] = consonantLine;

    const int n = pet.digit;
    if (n == 0) {
        s_criticalMessage(nullptr, QString(), QStringLiteral("Error! Incorrect pet name!"));
        return false;
    }

    const int forecastCode = downToDigit(dateCodeOfDay + birthdayCode + n);
    m_results[RPersonalYear] = QString::number(forecastCode);
    const QString summary = QLatin1String("Pet number ") + m_results[RExpression]
        + QLatin1String("<br />\r\n") + QLatin1String("Pet Birthday Code ") + m_results[RBirthday]
        + QLatin1String("<br />\r\n") + QLatin1String("Forecast Day Code ")
        + m_results[RPersonalYear] + QLatin1String("<br />\r\n");
    const QString petText = tableEntry(numerPetC, n);
    const QString forecastText = tableEntry(numerPetDForecast, forecastCode);
    const QFont font = CLayoutReading::defaultHeadingFont();

    startDoc(QStringLiteral("Pet Numerology Report"));
    auto title = [&] {
        startChap(true);
        addHead(QStringLiteral("Pet Numerology Chart"), Qt::black, font, QImage());
        endChap();
        startChap(true);
        addPar(summary, QImage());
        addPar(QString(), QImage());
        endChap();
    };

    if (layoutIndex < 0) {
        title();
        startChap(true);
        addHead(QLatin1String("Pet number ") + m_results[RExpression], Qt::black, font, QImage());
        addPar(numerPetC[0] + QLatin1String("<br />") + petText, QImage());
        endChap();
        startChap(true);
        addHead(QLatin1String("Day Forecast for ") + dayText(forecast), Qt::black, font, QImage());
        addPar(forecastText, QImage());
        endChap();
        endDoc();
        return true;
    }

    CLayoutReading reading(*this, layouts->at(layoutIndex), RKPet);
    for (const repItem &item : reading.items()) {
        switch (item.type) {
        case 0:
            if (item.defaultStyle) {
                title();
            } else {
                startChap(true);
                addItemHead(item);
                endChap();
                startChap(true);
                addPar(summary, item.contentColor, item.contentFont, QImage());
                addPar(QString(), QImage());
                endChap();
            }
            break;
        case 1:
            reading.standItem(item, QStringLiteral("Pet number"), m_results[RExpression],
                              numerPetC[0], petText, n);
            break;
        case 2:
            reading.standItem(item, QStringLiteral("Day Forecast for"), dayText(forecast),
                              QString(), forecastText, forecastCode);
            break;
        case 3:
            reading.customText(item);
            break;
        default:
            break;
        }
    }
    endDoc();
    return true;
}
