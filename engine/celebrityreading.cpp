// The celebrity reading of a CNumerology engine object: the celebrities of
// the readings database who share the person's life path, birth day or
// expression number.

#include "engine/globsettings.h"
#include "engine/layoutreading.h"
#include "engine/numberrules.h"
#include "engine/numerology.h"
#include "engine/texttables.h"

namespace {

// The database fills at most the first 200 slots.
constexpr int ScannedSlots = qMin(200, kCelebritySlots);

enum Match { SameLifePath = 1, SameBirthDay = 2, SameExpression = 3 };

struct MatchSection
{
    const char *heading;
    const QString *texts;
};

const MatchSection &matchSection(int match)
{
    static const MatchSection sections[3] = {
        {"Celebrities with same Life Path", numerCelLP},
        {"Celebrities with same Birth day", numerCelBD},
        {"Celebrities with same Expression number", numerCelExpr},
    };
    return sections[match - 1];
}

// A slot that the database never filled has no name; its zero numbers would
// otherwise match a person whose number is 0 too.
bool matches(const CNumerology &person, int match, int slot)
{
    if (numerCelName[slot].isEmpty())
        return false;
    switch (match) {
    case SameLifePath:
        return numerCelILP[slot] == person.m_lifePath;
    case SameBirthDay:
        return (numerCelBDT[slot] & 0xFF) == person.m_birthDate.day() && numerCelIDAY[slot] > 0;
    case SameExpression:
        return numerCelIEXPR[slot] == person.m_expression;
    default:
        return false;
    }
}

QString celebrityHeading(int slot)
{
    const int packed = numerCelBDT[slot];
    return numerCelName[slot] + QLatin1String(", ") + QString::number((packed >> 8) & 0xFF)
        + QLatin1Char('/') + QString::number(packed & 0xFF) + QLatin1Char('/')
        + QString::number((packed >> 16) & 0xFFFF);
}

QString photoFile(int slot)
{
    return QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0')) + QLatin1String(".jpg");
}

QString personHeading(const QString &name, const QDate &date)
{
    return name + QLatin1String(", ") + monthAbbreviation(date.month()) + QLatin1Char(' ')
        + QString::number(date.day()) + QLatin1Char(' ') + QString::number(date.year());
}

} // namespace

bool CNumerology::calculateCel(const QString &fullName, const QDate &birth, bool chaldean,
                               QList<reportSetting> *layouts, int layoutNo, int vowelMode)
{
    Q_UNUSED(vowelMode);
    const int layoutIndex = CLayoutReading::layoutIndex(layouts, layoutNo);
    m_calcMode = chaldean ? 1 : 0;
    m_fullName = fullName.toUpper();
    resetData();
    m_birthDate = birth;

    // Life path by the calculator's methods; a master number found by any of
    // them wins over a plain one.
    const int day = birth.day();
    const int month = birth.month();
    const int year = birth.year();
    const int dD = downToBase(day);
    const int dM = downToBase(month);
    const int dY = downToBase(year);
    m_lifePath = 0;
    int raw1 = 0, raw2 = 0, raw3 = 0, lp1 = 0, lp2 = 0, lp3 = 0;
    if (m_GlobSettings[GSLifePathAllDigits]) {
        raw3 = day / 10 + day % 10 + month / 10 + month % 10 + fourDigitSum(year);
        lp3 = downToBase(raw3);
    }
    if (m_GlobSettings[GSLifePathPlainSum]) {
        raw2 = day + month + year;
        lp2 = downToBase(raw2);
    }
    if (m_GlobSettings[GSLifePathReducedParts]
        || (!m_GlobSettings[GSLifePathPlainSum] && !m_GlobSettings[GSLifePathAllDigits])) {
        raw1 = dD + dM + dY;
        lp1 = downToBase(raw1);
    }
    int raw = 0;
    const int candidates[3][2] = {{lp1, raw1}, {lp2, raw2}, {lp3, raw3}};
    for (const auto &c : candidates) {
        if (c[0] != 0) {
            m_lifePath = c[0];
            raw = c[1];
            break;
        }
    }
    for (const auto &c : candidates) {
        if (isMasterNumber(c[0], m_masterNumbersMode)
            && !isMasterNumber(m_lifePath, m_masterNumbersMode)) {
            m_lifePath = c[0];
            raw = c[1];
        }
    }
    QString lifePathText = raw == raw1
        ? QString::number(dD) + QLatin1Char('+') + QString::number(dM) + QLatin1Char('+')
            + QString::number(dY) + QLatin1Char('=') + QString::number(raw1)
        : QString::number(raw);
    if (raw != m_lifePath)
        lifePathText += QLatin1Char('=') + QString::number(m_lifePath);
    m_results[RLifePath] = lifePathText;

    // Expression: every word reduced, whatever the calculator says.
    QList<int> words;
    calcNamesNumbers(m_fullName, words);
    int total = 0;
    for (int w : qAsConst(words))
        total += downToBase(w);
    m_expression = downToBase(total);
    m_results[RExpression] = QString::number(m_expression);
    if (total != m_expression)
        m_results[RExpression] += QLatin1Char('/') + QString::number(total);

    if (layoutIndex >= 0)
        return calculateCelDynamic(birth, layouts, layoutIndex);

    const QFont font = CLayoutReading::defaultHeadingFont();
    auto head = [&](const QString &text) {
        addHead(text, Qt::black, font, QImage());
    };
    auto separator = [&] {
        startChap(true);
        addPar(QStringLiteral("<br />"), QImage());
        endChap();
    };

    startDoc(QStringLiteral("Lumaro Numerology Celebrities Report"));
    startChap(true);
    head(QStringLiteral("Celebrities Report for"));
    head(personHeading(m_fullName, birth));
    addPar(QLatin1String("Date Number ") + m_results[RLifePath]
               + QLatin1String("<br />Name Number ") + m_results[RExpression],
           QImage());
    addPar(QString(), QImage());
    head(QLatin1String(matchSection(SameLifePath).heading));
    endChap();

    for (int match = SameLifePath; match <= SameExpression; ++match) {
        const MatchSection &section = matchSection(match);
        bool first = true;
        for (int slot = 0; slot < ScannedSlots; ++slot) {
            if (!matches(*this, match, slot))
                continue;
            startChap(true);
            if (first && match != SameLifePath)
                head(QLatin1String(section.heading));
            first = false;
            addImage(photoFile(slot));
            head(celebrityHeading(slot));
            addPar(QLatin1String("<br />") + section.texts[slot], QImage());
            endChap();
        }
        if (match != SameExpression)
            separator();
    }
    endDoc();
    return true;
}

bool CNumerology::calculateCelDynamic(const QDate &birth, QList<reportSetting> *layouts, int index)
{
    CLayoutReading reading(*this, layouts->at(index), RKCelebrities);
    const QFont font = CLayoutReading::defaultHeadingFont();
    const QString numbers = QLatin1String("Date Number ") + m_results[RLifePath]
        + QLatin1String("<br />Name Number ") + m_results[RExpression];

    startDoc(QStringLiteral("Celebrities Report"));
    for (const repItem &item : reading.items()) {
        const int type = int(item.type);
        if (type == 0) {
            startChap(true);
            if (item.defaultStyle) {
                addHead(QStringLiteral("Celebrities Report for"), Qt::black, font, QImage());
                endChap();
                startChap(true);
                addHead(personHeading(m_fullName, birth), Qt::black, font, QImage());
                addPar(numbers, QImage());
            } else {
                addItemHead(item);
                endChap();
                startChap(true);
                addHead(personHeading(m_fullName, birth), item.contentColor, item.contentFont,
                        QImage());
                addPar(numbers, item.contentColor, item.contentFont, QImage());
            }
            endChap();
        } else if (type >= SameLifePath && type <= SameExpression) {
            const MatchSection &section = matchSection(type);
            const QString heading = QLatin1String(section.heading);
            // The life-path heading stands even when no one shares the
            // number; the other two come with their first celebrity.
            if (type == SameLifePath)
                addStandItem(heading, QString(), QString(), QString(), -1, &item, true);
            bool any = false;
            for (int slot = 0; slot < ScannedSlots; ++slot) {
                if (!matches(*this, type, slot))
                    continue;
                if (!any && type != SameLifePath)
                    addStandItem(heading, QString(), QString(), QString(), -1, &item, true);
                any = true;
                reading.queueSectionPicture(item, photoFile(slot));
                startChap(false);
                const QString text = QLatin1String("<br />") + section.texts[slot];
                if (item.defaultStyle) {
                    addHead(celebrityHeading(slot), Qt::black, font, QImage());
                    addPar(text, QImage());
                    endChap();
                } else {
                    addHead(celebrityHeading(slot), item.headerColor, item.headerFont,
                            item.images.value(slot));
                    addPar(text, &item, slot);
                }
            }
            if (any) {
                startChap(true);
                addPar(QStringLiteral("<br />"), QImage());
                endChap();
            }
        } else if (type == 4) {
            reading.customText(item);
        }
    }
    endDoc();
    return true;
}
