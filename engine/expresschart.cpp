// The express chart of a CNumerology engine object: the date number and the
// name number of any name or title, with the compound or double-digit
// reading of the name's total.

#include "engine/globsettings.h"
#include "engine/layoutreading.h"
#include "engine/numerology.h"
#include "engine/texttables.h"

#include <QStringList>

namespace {

QString numberText(int value, int total)
{
    return value == total ? QString::number(value)
                          : QString::number(value) + QLatin1Char('/') + QString::number(total);
}

} // namespace

bool CNumerology::calculateAn(const QString &name, const QDate &date, bool flag, bool chaldean)
{
    Q_UNUSED(flag);
    m_calcMode = chaldean ? 1 : 0;
    m_fullName = name.toUpper();
    resetData();
    m_birthDate = date;

    // Date number, only for a date the user gave: the date is optional and
    // nothing stands in for a missing one.
    const bool dated = date.isValid();
    int dateSum = 0;
    m_results[RLifePath].clear();
    if (dated) {
        const int d = downToBase(date.day());
        const int m = downToBase(date.month());
        const int y = downToBase(date.year());
        dateSum = d + m + y;
        m_lifePath = downToBase(dateSum);
        m_results[RLifePath] = QString::number(d) + QLatin1Char('+') + QString::number(m)
            + QLatin1Char('+') + QString::number(y) + QLatin1Char('=') + QString::number(dateSum);
        if (dateSum != m_lifePath)
            m_results[RLifePath] += QLatin1Char('=') + QString::number(m_lifePath);
    }

    // One number of word sums: the line always shows every word reduced;
    // reduceWords decides whether the total adds the reduced or the plain
    // sums.
    auto nameNumber = [this](const QList<int> &sums, bool reduceWords, int *total, QString *line) {
        QStringList pieces;
        *total = 0;
        for (int w : sums) {
            const int reduced = downToBase(w);
            *total += reduceWords ? reduced : w;
            pieces << numberText(reduced, w);
        }
        const int number = downToBase(*total);
        *line = QLatin1Char('=') + pieces.join(QLatin1Char('+')) + QLatin1Char('=')
            + QString::number(*total);
        if (*total != number)
            *line += QLatin1Char('=') + QString::number(number);
        return number;
    };

    QList<int> words;
    calcNamesNumbers(m_fullName, words);
    int total = 0;
    m_expression
        = nameNumber(words, m_GlobSettings[GSReduceEveryWord], &total, &m_nameLines[NLExpression]);
    m_compoundNumber = total;
    m_results[RExpression] = numberText(m_expression, total);

    // Missing digits.
    int digitCount[10] = {};
    for (const QChar c : qAsConst(m_fullName))
        ++digitCount[downToDigit(letterToNumber(c))];
    QStringList missing;
    for (int i = 1; i <= 9; ++i) {
        if (digitCount[i] == 0)
            missing << QString::number(i);
    }
    m_results[RKarmicLessons]
        = missing.isEmpty() ? QStringLiteral("-") : missing.join(QStringLiteral(", "));

    // Vowel and consonant numbers: words always reduced.
    QList<int> vowelSums;
    QList<int> consonantSums;
    calcNamesNumbersP(m_fullName, vowelSums, true, 0);
    calcNamesNumbersP(m_fullName, consonantSums, false, 0);
    int vowelTotal = 0;
    int consonantTotal = 0;
    const int vowels = nameNumber(vowelSums, true, &vowelTotal, &m_nameLines[NLHeartDesire]);
    const int consonants
        = nameNumber(consonantSums, true, &consonantTotal, &m_nameLines[NLPersonality]);
    m_results[RHeartDesire] = numberText(vowels, vowelTotal);
    m_results[RPersonality] = numberText(consonants, consonantTotal);

    QString vowelLine;
    QString consonantLine;
    for (int i = 0; i < m_fullName.size(); ++i) {
        const int kind = isVow(m_fullName, i, 0);
        const QString digit = QString::number(downToDigit(letterToNumber(m_fullName.at(i))));
        vowelLine += kind == 1 ? digit : QStringLiteral(" ");
        consonantLine += kind == -1 ? digit : QStringLiteral(" ");
    }
    m_nameLines[NLFullVowels] = vowelLine;
    m_nameLines[NLFullConsonants] = consonantLine;

    // Report.
    const QFont font = CLayoutReading::defaultHeadingFont();
    auto head = [&](const QString &text) {
        addHead(text, Qt::black, font, QImage());
    };
    startDoc(QStringLiteral("Lumaro Numerology Report"));
    startChap(true);
    head(QStringLiteral("Express Numerology chart for"));
    if (dated) {
        head(m_fullName + QLatin1String(", ") + monthAbbreviation(date.month()) + QLatin1Char(' ')
             + QString::number(date.day()) + QLatin1Char(' ') + QString::number(date.year()));
        addPar(QLatin1String("Date Number ") + m_results[RLifePath]
                   + QLatin1String("<br />Name Number ") + m_results[RExpression],
               QImage());
    } else {
        head(m_fullName);
        addPar(QLatin1String("Name Number ") + m_results[RExpression], QImage());
    }
    addPar(QStringLiteral("<br />"), QImage());
    head(QLatin1String("Your name number: ") + m_results[RExpression]);
    addPar(tableEntry(numerNumInterp, m_expression) + QLatin1String("<br />"), QImage());
    addPar(QString(), QImage());
    if (total >= 10 && total <= 99) {
        if (chaldean) {
            const QString &compound = numerCompoundNumbers[total];
            if (!compound.isEmpty() && compound != QLatin1String(" ")) {
                head(QLatin1String("Compound Number ") + QString::number(total));
                addPar(compound + QLatin1String("<br />"), QImage());
            }
        } else {
            head(QLatin1String("People with double-digit name number ") + QString::number(total));
            addPar(numerDoubleDigitNumbers[total] + QLatin1String("<br />"), QImage());
        }
    }
    if (dated) {
        head(QLatin1String("Your date number: ") + numberText(m_lifePath, dateSum));
        addPar(tableEntry(numerNumInterp, m_lifePath) + QLatin1String("<br />"), QImage());
    }
    endChap();
    endDoc();
    return true;
}
