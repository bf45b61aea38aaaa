#include "numerology.h"

#include "engine/globsettings.h"
#include "engine/numberrules.h"

#include <QMessageBox>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace {

const int chaldeanValues[26]
    = {1, 2, 3, 4, 5, 8, 3, 5, 1, 1, 2, 3, 4, 5, 7, 8, 1, 2, 3, 4, 6, 6, 6, 5, 1, 7};

// Planes-of-expression cell (4 x kind + plane) of each letter A to Z.
const int planeCells[26]
    = {0, 6, 11, 9, 1, 7, 8, 4, 2, 4, 3, 8, 9, 4, 2, 4, 7, 2, 6, 6, 7, 11, 5, 6, 7, 2};

// Ages that end the first and second life path periods, by the one-digit
// life path 1 to 9.
const int periodEnds[9][2]
    = {{26, 53}, {25, 52}, {24, 51}, {23, 59}, {31, 58}, {30, 57}, {29, 56}, {28, 55}, {27, 54}};

const int TransitLength = 128;

// The letter code of a character when it is A to Z (upper-cased, Latin-1
// only), else 0.
ushort upperLetter(const QString &word, int pos)
{
    if (pos < 0 || pos >= word.size() || word.at(pos).unicode() > 0xFF)
        return 0;
    const ushort u = word.at(pos).toUpper().unicode();
    return u >= 'A' && u <= 'Z' ? u : 0;
}

bool isIn(ushort letter, const char *set)
{
    for (; *set; ++set) {
        if (letter == ushort(*set))
            return true;
    }
    return false;
}

QString numberText(int value, int total)
{
    return value == total ? QString::number(value)
                          : QString::number(value) + QLatin1Char('/') + QString::number(total);
}

QString joinNumbers(const QList<int> &numbers)
{
    if (numbers.isEmpty())
        return QStringLiteral("-");
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

int bridgeDetail(int a, int b)
{
    return 10 * qMax(a, b) + qMin(a, b);
}

} // namespace

CNumerology::CriticalMessage CNumerology::s_criticalMessage = &CNumerology::showCriticalMessage;

void CNumerology::showCriticalMessage(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

CNumerology::CNumerology(QObject *parent)
    : CReportTools(parent)
    , m_lifePath(-1)
    , m_challenges {}
    , m_forecastYear(0)
    , m_dayMonthDigit(0)
    , m_calcMode(0)
    , m_masterNumbersMode(0)
    , m_expression(0)
    , m_compoundNumber(0)
{
    resetData();
}

CNumerology::~CNumerology() = default;

// ---------------------------------------------------------------------------
// Number rules

bool CNumerology::isMasterNumber(int n, int mode)
{
    if (mode == 1)
        return n >= 11 && n <= 99 && n % 11 == 0;
    return n == 11 || n == 22 || n == 33;
}

bool CNumerology::isBase(int n) const
{
    return (n >= 0 && n <= 9) || isMasterNumber(n, m_masterNumbersMode);
}

bool CNumerology::isCarmic(int n)
{
    return n == 13 || n == 14 || n == 16 || n == 19;
}

int CNumerology::downOnce(int n) const
{
    return isBase(n) ? n : fourDigitSum(n);
}

int CNumerology::downToBase(int n)
{
    if (n < 1 || n > 9999)
        return 0;
    auto count = [this](int v) {
        if (isCarmic(v) || (isBase(v) && v <= 127))
            ++m_stats[v];
    };
    count(n);
    while (!isBase(n)) {
        n = fourDigitSum(n);
        count(n);
    }
    return n;
}

int CNumerology::downToBase(int n, int *counters) const
{
    if (n < 1 || n > 9999)
        return 0;
    auto count = [this, counters](int v) {
        if (isCarmic(v) || (isBase(v) && v <= 99))
            ++counters[v];
    };
    count(n);
    while (!isBase(n)) {
        n = fourDigitSum(n);
        count(n);
    }
    return n;
}

int CNumerology::statDownToBase(int n) const
{
    while (!isBase(n)) {
        n = fourDigitSum(n);
        if (n <= 0)
            return 0;
    }
    return n;
}

int CNumerology::downToDigit(int n)
{
    while (n >= 10) {
        n = fourDigitSum(n);
        if (n == 0)
            return 0;
    }
    return n;
}

int CNumerology::letterToNumber(QChar c) const
{
    const ushort code = c.unicode();
    if (code > 0xFF)
        return 0;
    if (m_calcMode == 1)
        return letterToNumberChaldean(c);
    if (code < '0' || code >= 128)
        return 0;
    if (code <= '9')
        return code - '0';
    if (code < 'A' || code > 'Z')
        return 0;
    int v = code - 'A' + 1;
    if (!m_GlobSettings[GSReduceMasterLetters] && isMasterNumber(v, m_masterNumbersMode))
        return v;
    while (v >= 10)
        v = fourDigitSum(v);
    return v;
}

int CNumerology::letterToNumberChaldean(QChar c)
{
    const ushort code = c.unicode();
    if (code >= '0' && code <= '9')
        return code - '0';
    if (code >= 'A' && code <= 'Z')
        return chaldeanValues[code - 'A'];
    return 0;
}

int CNumerology::wordToNumber(const QString &word) const
{
    int sum = 0;
    for (const QChar c : word)
        sum += letterToNumber(c);
    return sum;
}

void CNumerology::setCalcMode(int mode)
{
    m_calcMode = mode;
}

void CNumerology::setMasterNumbersMode(int mode)
{
    m_masterNumbersMode = mode;
}

void CNumerology::calcNamesNumbers(const QString &name, QList<int> &out) const
{
    const QStringList parts = name.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    for (const QString &part : parts)
        out << wordToNumber(part);
}

int CNumerology::isVow(const QString &word, int pos, int mode)
{
    if (mode != 0 && mode != 1)
        return 0;
    const ushort c = upperLetter(word, pos);
    if (!c)
        return 0;
    if (mode == 1)
        return isIn(c, "AEIOUY") ? 1 : -1;
    if (isIn(c, "AEIOU"))
        return 1;
    if (c != 'W' && c != 'Y')
        return -1;

    const ushort prev = upperLetter(word, pos - 1);
    const ushort next = upperLetter(word, pos + 1);
    if (c == 'W') {
        if (!prev)
            return -1;
        if (!next)
            return 1;
        return isIn(next, "AEHIOUY") ? -1 : 1;
    }
    if (!next) {
        if (pos == 0)
            return 1;
        return isIn(prev, "AEIOU") ? -1 : 1;
    }
    if (!prev)
        return isIn(next, "AEIOU") ? -1 : 1;
    return isIn(prev, "AEIOUY") ? -1 : 1;
}

int CNumerology::getPEIndex(QChar c)
{
    if (c.unicode() > 0xFF)
        return -1;
    const ushort u = c.toUpper().unicode();
    return u >= 'A' && u <= 'Z' ? planeCells[u - 'A'] : -1;
}

void CNumerology::calcNamesNumbersP(const QString &name, QList<int> &out, bool vowels,
                                    const QVector<int> &overrides, int vowMode) const
{
    const QStringList parts = name.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    int p = 0;
    for (const QString &part : parts) {
        int sum = 0;
        for (int i = 0; i < part.size(); ++i) {
            const int code = p + i < overrides.size() ? overrides.at(p + i) : 0;
            const int h = isVow(part, i, vowMode);
            bool taken;
            if (code == 1)
                taken = vowels;
            else if (code == 2)
                taken = !vowels;
            else
                taken = h == (vowels ? 1 : -1);
            if (taken)
                sum += letterToNumber(part.at(i));
        }
        out << sum;
        p += part.size() + 1;
    }
}

void CNumerology::calcNamesNumbersP(const QString &name, QList<int> &out, bool vowels,
                                    int vowMode) const
{
    calcNamesNumbersP(name, out, vowels, QVector<int>(), vowMode);
}

void CNumerology::s_spNum(int *pinnacles, int *pinnacleDigits)
{
    const int d = downToBase(m_birthDate.day());
    const int m = downToBase(m_birthDate.month());
    const int y = downToBase(m_birthDate.year());
    pinnacles[0] = downToBase(downToBase(d) + downToBase(m));
    pinnacles[1] = downToBase(downToBase(d) + downToBase(y));
    pinnacles[2] = downToBase(pinnacles[0] + pinnacles[1]);
    pinnacles[3] = downToBase(downToBase(y) + downToBase(m));
    for (int i = 0; i < 4; ++i)
        pinnacleDigits[i] = downToDigit(pinnacles[i]);
}

// ---------------------------------------------------------------------------
// Personal numbers

void CNumerology::resetData()
{
    std::fill(std::begin(m_stats), std::end(m_stats), 0);
    std::fill(std::begin(m_letterStats), std::end(m_letterStats), 0);
    std::fill(std::begin(m_essence), std::end(m_essence), 0);
    m_lifePath = -1;
    reportHtml.clear();
    m_transitPhysical.clear();
    m_transitMental.clear();
    m_transitSpiritual.clear();
    for (QString &s : m_planeLetters)
        s.clear();
    for (QString &s : m_planeTexts)
        s.clear();
    m_birthDate = QDate::currentDate();
    m_forecastDate = m_birthDate;
}

void CNumerology::clear()
{
    std::fill(std::begin(m_stats), std::end(m_stats), 0);
}

void CNumerology::draw(QPainter *painter)
{
    Q_UNUSED(painter);
}

CNumerology::NameNumber CNumerology::nameNumber(const QList<int> &parts, int *karmicCounts)
{
    NameNumber number;
    QStringList pieces;
    for (int w : parts) {
        const int reduced = downToBase(w);
        number.total += m_GlobSettings[GSReduceEveryWord] ? reduced : w;
        pieces << numberText(reduced, w);
    }
    number.value = downToBase(number.total);
    downToBase(number.total, karmicCounts);
    number.text = numberText(number.value, number.total);
    number.breakdown = QLatin1Char('=') + pieces.join(QLatin1Char('+')) + QLatin1Char('=')
        + QString::number(number.total);
    if (number.value != number.total)
        number.breakdown += QLatin1Char('=') + QString::number(number.value);
    return number;
}

QString CNumerology::letterLine(const QString &name, const QVector<int> &overrides, int vowMode,
                                bool vowels) const
{
    QString line;
    line.reserve(name.size());
    for (int i = 0; i < name.size(); ++i) {
        const int code = i < overrides.size() ? overrides.at(i) : 0;
        const int h = isVow(name, i, vowMode);
        const bool isVowel = code == 1 || (code != 2 && h == 1);
        const bool isConsonant = code == 2 || (code != 1 && h == -1);
        if (vowels ? isVowel : isConsonant)
            line += QString::number(downToDigit(letterToNumber(name.at(i))));
        else
            line += QLatin1Char(' ');
    }
    return line;
}

void CNumerology::calcPlanes(CPersonalValues &values)
{
    for (const QChar c : qAsConst(m_fullName)) {
        const ushort u = c.unicode();
        if (u < 'A' || u > 'Z')
            continue;
        ++m_letterStats[getPEIndex(c)];
        ++m_letterStats[128 + (u - 'A')];
    }

    // Grid entry 5 x kind + plane; row 3 holds the plane totals, column 4
    // the kind totals.
    int count[20] = {};
    int value[20] = {};
    for (QString &s : m_planeLetters)
        s.clear();
    for (ushort u = 'A'; u <= 'Z'; ++u) {
        const int n = m_letterStats[128 + (u - 'A')];
        if (n <= 0)
            continue;
        const QChar letter(u);
        const int cell = planeCells[u - 'A'];
        const int kind = cell / 4;
        const int plane = cell % 4;
        const int g = 5 * kind + plane;
        m_planeLetters[g] += letter + QString::number(n);
        count[g] += n;
        value[g] += n * downToDigit(letterToNumber(letter));
        count[15 + plane] += n;
        count[5 * kind + 4] += n;
    }

    auto valueText = [this](int v) {
        return numberText(statDownToBase(v), v);
    };
    int rowTotal[3] = {};
    int columnTotal[4] = {};
    for (int kind = 0; kind < 3; ++kind) {
        for (int plane = 0; plane < 4; ++plane) {
            const int g = 5 * kind + plane;
            const int reduced = statDownToBase(value[g]);
            rowTotal[kind] += reduced;
            columnTotal[plane] += reduced;
            if (count[g] > 0) {
                m_planeTexts[g] = m_planeLetters[g] + QLatin1Char('=') + valueText(value[g])
                    + QStringLiteral(", ") + QString::number(count[g]);
            }
        }
        m_planeTexts[5 * kind + 4] = valueText(rowTotal[kind]) + QStringLiteral(", ")
            + QString::number(count[5 * kind + 4]);
    }
    for (int plane = 0; plane < 4; ++plane) {
        m_planeTexts[15 + plane] = valueText(columnTotal[plane]) + QStringLiteral(", ")
            + QString::number(count[15 + plane]);
        values.planes[plane] = statDownToBase(columnTotal[plane]);
    }
    m_planeTexts[19] = valueText(0) + QStringLiteral(", 0");
}

// The letters of a transit name that have a value; a letter without one
// would never advance the transit.
static QString valuedLetters(const CNumerology &numerology, const QString &part)
{
    QString letters;
    for (const QChar c : part.toUpper()) {
        if (c.isLetter() && numerology.letterToNumber(c) > 0)
            letters += c;
    }
    return letters;
}

QString CNumerology::transitLetters(const QString &letters) const
{
    if (letters.isEmpty())
        return QString(TransitLength, QLatin1Char(' '));
    QString transit;
    transit.reserve(TransitLength + 32);
    for (int i = 0; transit.size() < TransitLength; i = (i + 1) % letters.size())
        transit += QString(letterToNumber(letters.at(i)), letters.at(i));
    transit.truncate(TransitLength);
    return transit;
}

void CNumerology::calcTransits()
{
    const QStringList parts = m_fullName.split(QLatin1Char(' '), Qt::KeepEmptyParts);
    const int n = parts.size();
    QString first = parts.first();
    QString last = parts.last();
    QString middle;
    if (n >= 3)
        middle = parts.mid(1, n - 2).join(QString());
    else if (!m_GlobSettings[GSNoMissedTransits])
        middle = last;
    else if (n == 1)
        last.clear();

    first = valuedLetters(*this, first);
    middle = valuedLetters(*this, middle);
    last = valuedLetters(*this, last);
    if (first.isEmpty())
        first = QStringLiteral("X");

    m_transitPhysical = transitLetters(first);
    m_transitMental = transitLetters(middle);
    m_transitSpiritual = transitLetters(last);

    for (int age = 0; age < TransitLength; ++age) {
        int e = letterToNumber(m_transitPhysical.at(age));
        if (!middle.isEmpty())
            e += letterToNumber(m_transitMental.at(age));
        if (!last.isEmpty())
            e += letterToNumber(m_transitSpiritual.at(age));
        m_essence[age] = e;
        m_essence[128 + age] = e == 16 || e == 19 ? e : downToBase(e);
    }
}

bool CNumerology::calculate(const QString &fullName, const QString &shortName,
                            const QVector<int> &fullOverrides, const QVector<int> &shortOverrides,
                            bool chaldean, const QDate &birth, const QDate &forecast,
                            QList<reportSetting> *layouts, int layoutNo, int vowMode,
                            bool computeOnly)
{
    // Set-up.
    m_calcMode = chaldean ? 1 : 0;
    m_fullName = fullName.toUpper();
    m_shortName = shortName.toUpper();
    resetData();
    auto storeDates = [&] {
        m_birthDate = birth;
        m_forecastDate = forecast;
        m_forecastYear = forecast.year();
    };
    storeDates();
    const int day = birth.day();
    const int month = birth.month();
    const int year = birth.year();
    CPersonalValues values;
    const int d = values.dayBase = downToBase(day);
    const int m = values.monthBase = downToBase(month);
    const int y = values.yearBase = downToBase(year);
    m_lifePath = 0;

    // Life path by the chosen methods; each starts from fresh counters so
    // that they hold the counts of the method that wins.
    int l1 = 0, l2 = 0, l3 = 0, s1 = 0, s2 = 0, s3 = 0;
    if (m_GlobSettings[GSLifePathAllDigits]) {
        resetData();
        s3 = day / 10 + day % 10 + month / 10 + month % 10 + fourDigitSum(year);
        l3 = downToBase(s3);
    }
    if (m_GlobSettings[GSLifePathPlainSum]) {
        resetData();
        s2 = day + month + year;
        l2 = downToBase(s2);
    }
    if (m_GlobSettings[GSLifePathReducedParts]
        || (!m_GlobSettings[GSLifePathPlainSum] && !m_GlobSettings[GSLifePathAllDigits])) {
        resetData();
        s1 = d + m + y;
        l1 = downToBase(s1);
    }
    storeDates();
    int lifePath = -1;
    int sum = 0;
    if (l1) {
        lifePath = l1;
        sum = s1;
    } else if (l2) {
        lifePath = l2;
        sum = s2;
    } else if (l3) {
        lifePath = l3;
        sum = s3;
    }
    m_lifePath = lifePath;

    // A master number found by any method wins over a plain one.
    auto preferMaster = [&](int l, int s) {
        if (!isMasterNumber(l, m_masterNumbersMode)
            || isMasterNumber(lifePath, m_masterNumbersMode))
            return;
        resetData();
        storeDates();
        downToBase(day);
        downToBase(month);
        downToBase(year);
        lifePath = l;
        sum = s;
        downToBase(sum);
        m_lifePath = lifePath;
    };
    preferMaster(l1, s1);
    preferMaster(l2, s2);
    preferMaster(l3, s3);

    QString lifePathText;
    if (sum == s1) {
        const int daySum = day / 10 + day % 10;
        const int yearSum = fourDigitSum(year);
        lifePathText = QString::number(d);
        if (daySum >= 10)
            lifePathText += QLatin1Char('/') + QString::number(daySum);
        lifePathText
            += QLatin1Char('+') + QString::number(m) + QLatin1Char('+') + QString::number(y);
        if (yearSum >= 10)
            lifePathText += QLatin1Char('/') + QString::number(yearSum);
        lifePathText += QLatin1Char('=') + QString::number(s1);
    } else {
        lifePathText = QString::number(sum);
    }
    if (lifePath != sum)
        lifePathText += QLatin1Char('=') + QString::number(lifePath);
    if (!isBase(sum)) {
        const int once = downOnce(sum);
        if (once >= 10 && once != lifePath)
            lifePathText += QLatin1Char('/') + QString::number(once);
    }
    m_results[RLifePath] = lifePathText;

    // Birthday.
    m_results[RBirthday] = QString::number(day);
    if (d != day)
        m_results[RBirthday] += QStringLiteral(" (") + QString::number(d) + QLatin1Char(')');

    // The karmic counters start from the life path's counts and the day.
    downToBase(day);
    std::copy(std::begin(m_stats), std::end(m_stats), std::begin(values.karmicCounts));

    // Challenges.
    const int dd = downToDigit(d);
    const int md = downToDigit(m);
    const int yd = downToDigit(y);
    m_challenges[0] = qAbs(dd - md);
    m_challenges[1] = qAbs(dd - yd);
    m_challenges[2] = qAbs(m_challenges[0] - m_challenges[1]);
    m_challenges[3] = qAbs(yd - md);
    m_results[RChallenges]
        = joinNumbers({m_challenges[0], m_challenges[1], m_challenges[2], m_challenges[3]});

    // Pinnacles and personal year.
    s_spNum(values.pinnacles, values.pinnacleDigits);
    QStringList pinnacleTexts;
    for (int i = 0; i < 4; ++i)
        pinnacleTexts << numberText(values.pinnacleDigits[i], values.pinnacles[i]);
    m_results[RPinnacles] = pinnacleTexts.join(QStringLiteral(", "));
    m_dayMonthDigit = downToDigit(dd + md);
    m_results[RPersonalYear]
        = QString::number(downToDigit(m_dayMonthDigit + downToDigit(m_forecastYear)));

    // Age spans and life path periods.
    const int l = downToDigit(lifePath);
    m_results[RAgeSpans] = QStringLiteral("0-%1-%2-%3-E").arg(36 - l).arg(45 - l).arg(54 - l);
    m_results[RLifePathPeriods] = joinNumbers({md, dd, yd});
    m_results[RPeriodSpans].clear();
    if (l >= 1 && l <= 9) {
        const int a = periodEnds[l - 1][0];
        const int b = periodEnds[l - 1][1];
        m_results[RPeriodSpans]
            = QStringLiteral("0-%1,%2-%3,%4-E").arg(a).arg(a + 1).arg(b).arg(b + 1);
    }

    // Expression.
    clear();
    QList<int> words;
    calcNamesNumbers(m_fullName, words);
    const NameNumber expression = nameNumber(words, values.karmicCounts);
    m_expression = expression.value;
    m_compoundNumber = expression.total;
    m_results[RExpression] = expression.text;
    m_nameLines[NLExpression] = expression.breakdown;

    // Karmic lessons, hidden passion and subconscious confidence.
    int digitCount[10] = {};
    for (const QChar c : qAsConst(m_fullName))
        ++digitCount[downToDigit(letterToNumber(c))];
    int largest = 0;
    for (int i = 1; i <= 9; ++i)
        largest = qMax(largest, digitCount[i]);
    values.subconsciousConfidence = 0;
    for (int i = 1; i <= 9; ++i) {
        if (digitCount[i] == 0)
            values.karmicLessons << i;
        else
            ++values.subconsciousConfidence;
        if (digitCount[i] == largest)
            values.hiddenPassion << i;
    }
    m_results[RKarmicLessons] = joinNumbers(values.karmicLessons);
    m_results[RHiddenPassion] = joinNumbers(values.hiddenPassion);
    m_results[RSubconsciousConfidence] = QString::number(values.subconsciousConfidence);

    // Heart's desire and personality.
    QList<int> vowelSums;
    QList<int> consonantSums;
    calcNamesNumbersP(m_fullName, vowelSums, true, fullOverrides, vowMode);
    calcNamesNumbersP(m_fullName, consonantSums, false, fullOverrides, vowMode);
    const NameNumber heart = nameNumber(vowelSums, values.karmicCounts);
    const NameNumber personality = nameNumber(consonantSums, values.karmicCounts);
    values.heartDesire = heart.value;
    values.personality = personality.value;
    m_results[RHeartDesire] = heart.text;
    m_results[RPersonality] = personality.text;
    m_nameLines[NLHeartDesire] = heart.breakdown;
    m_nameLines[NLPersonality] = personality.breakdown;

    m_nameLines[NLFullVowels] = letterLine(m_fullName, fullOverrides, vowMode, true);
    m_nameLines[NLFullConsonants] = letterLine(m_fullName, fullOverrides, vowMode, false);

    calcPlanes(values);

    // Minor numbers of the short name.
    clear();
    QList<int> shortWords;
    QList<int> shortVowels;
    QList<int> shortConsonants;
    calcNamesNumbers(m_shortName, shortWords);
    calcNamesNumbersP(m_shortName, shortVowels, true, shortOverrides, vowMode);
    calcNamesNumbersP(m_shortName, shortConsonants, false, shortOverrides, vowMode);
    const NameNumber minorExpression = nameNumber(shortWords, values.karmicCounts);
    const NameNumber minorHeart = nameNumber(shortVowels, values.karmicCounts);
    const NameNumber minorPersonality = nameNumber(shortConsonants, values.karmicCounts);
    values.minorExpression = minorExpression.value;
    values.minorHeartDesire = minorHeart.value;
    values.minorPersonality = minorPersonality.value;
    m_results[RMinorExpression] = minorExpression.text;
    m_results[RMinorHeartDesire] = minorHeart.text;
    m_results[RMinorPersonality] = minorPersonality.text;
    m_nameLines[NLMinorExpression] = minorExpression.breakdown;
    m_nameLines[NLMinorHeartDesire] = minorHeart.breakdown;
    m_nameLines[NLMinorPersonality] = minorPersonality.breakdown;
    m_nameLines[NLShortVowels] = letterLine(m_shortName, shortOverrides, vowMode, true);
    m_nameLines[NLShortConsonants] = letterLine(m_shortName, shortOverrides, vowMode, false);

    // Karmic debts met in the date and the six name totals.
    QStringList debts;
    for (int debt : {13, 14, 16, 19}) {
        if (values.karmicCounts[debt] > 0)
            debts << QString::number(debt);
    }
    m_results[RKarmicDebts]
        = debts.isEmpty() ? QStringLiteral("-") : debts.join(QStringLiteral(", "));

    // A name without letters, vowels or consonants has no reading.
    if (!computeOnly
        && (m_expression == 0 || values.heartDesire == 0 || values.personality == 0
            || values.minorExpression == 0 || values.minorHeartDesire == 0)) {
        s_criticalMessage(qobject_cast<QWidget *>(parent()), QString(),
                          QStringLiteral("Error! Incorrect full or short name!"));
        return false;
    }

    // Maturity.
    const int maturitySum = m_expression + m_lifePath;
    values.maturity = downToBase(maturitySum);
    m_results[RMaturity] = numberText(values.maturity, maturitySum);

    // Bridges.
    const int lifePathDigit = downToDigit(m_lifePath);
    const int expressionDigit = downToDigit(m_expression);
    const int heartDigit = downToDigit(values.heartDesire);
    const int personalityDigit = downToDigit(values.personality);
    values.bridgeLPE = qAbs(lifePathDigit - expressionDigit);
    values.bridgeLPEDetail = bridgeDetail(lifePathDigit, expressionDigit);
    values.bridgeHDP = qAbs(heartDigit - personalityDigit);
    values.bridgeHDPDetail = bridgeDetail(heartDigit, personalityDigit);
    m_results[RBridgeLPE] = QString::number(values.bridgeLPE);
    m_results[RBridgeHDP] = QString::number(values.bridgeHDP);

    // Rational thought: the birth day and the first name.
    const int rationalSum = d + words.first();
    values.rationalThought = downToDigit(rationalSum);
    m_results[RRationalThought] = numberText(values.rationalThought, rationalSum);

    // Balance: the initials.
    int initials = 0;
    for (const QString &part : m_fullName.split(QLatin1Char(' '), Qt::KeepEmptyParts)) {
        if (!part.isEmpty())
            initials += downToDigit(letterToNumber(part.at(0)));
    }
    values.balance = downToDigit(initials);
    m_results[RBalance] = numberText(values.balance, initials);

    calcTransits();

    if (!computeOnly)
        writeReading(values, layouts, layoutNo);
    return true;
}
