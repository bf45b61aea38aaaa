#include "engine/numerology.h"

#include "engine/layoutreading.h"
#include "engine/texttables.h"

#include <QImage>

// The personal reading by the Numerology items of a report layout.

namespace {

const QLatin1String br("<br />");

// Section type ids of the Numerology report kind.
enum NumerologySection {
    NSHeader = 0,
    NSLifePath,
    NSBirthday,
    NSExpression,
    NSMinorExpression,
    NSHeartDesire,
    NSMinorHeartDesire,
    NSPersonality,
    NSMaturity,
    NSRationalThought,
    NSKarmicLessons,
    NSBalance,
    NSHiddenPassion,
    NSSubconsciousConfidence,
    NSPinnacles,
    NSChallenges,
    NSPersonalYear,
    NSPersonalMonth,
    NSPersonalDay,
    NSTransits,
    NSEssence,
    NSMinorPersonality,
    NSKarmicDebts,
    NSKarmicDebt,
    NSCompatible,
    NSCompound,
    NSPlanes,
    NSPlanePhysical,
    NSPlaneMental,
    NSPlaneEmotional,
    NSPlaneIntuitive,
    NSBridgeLPE,
    NSBridgeLPEDetail,
    NSBridgeHDP,
    NSBridgeHDPDetail,
    NSCustomText
};

// The table entry of n and n as the item entry, or, for a number that has
// no entry, an empty text and no entry.
struct Entry
{
    Entry(const QString *table, int n, const QString &tail = QString())
        : text(n >= 0 && n < kNumerTableSize ? table[n] + tail : QString())
        , index(n >= 0 && n < kNumerTableSize ? n : -1)
    {
    }
    QString text;
    int index;
};

bool hasText(const QString &text)
{
    return !text.isEmpty() && text != QLatin1String(" ");
}

} // namespace

bool CNumerology::calculateDynamic(bool chaldean, QList<reportSetting> *layouts, int layoutIndex,
                                   const int *karmicCounts, int minorExpression, int heartDesire,
                                   int minorHeartDesire, int personality, int minorPersonality,
                                   int maturity, int rationalThought,
                                   const QList<int> *karmicLessons, int balance,
                                   const QList<int> *hiddenPassion, int subconsciousConfidence,
                                   const int *planes, int bridgeLPE, int bridgeLPEDetail,
                                   int bridgeHDP, int bridgeHDPDetail)
{
    // The caller hands an index inside the list; anything else reads as a
    // layout without sections rather than past the list.
    static const reportSetting noLayout;
    const bool valid = layouts && layoutIndex >= 0 && layoutIndex < layouts->size();
    CLayoutReading reading(*this, valid ? layouts->at(layoutIndex) : noLayout, RKNumerology);

    const int d = downToDigit(m_lifePath);
    const QString spans[4] = {
        QStringLiteral("0-%1").arg(36 - d),
        QStringLiteral("%1-%2").arg(36 - d).arg(45 - d),
        QStringLiteral("%1-%2").arg(45 - d).arg(54 - d),
        QStringLiteral("%1-E").arg(54 - d),
    };

    startDoc(chaldean ? QStringLiteral("Chaldean Numerology Report")
                      : QStringLiteral("Numerology Report"));
    // A whole reading runs to some 80 000 characters.
    reportHtml.reserve(ReadingCapacity);

    int pinnacles[4];
    int pinnacleDigits[4];
    s_spNum(pinnacles, pinnacleDigits);
    const QList<int> types = reading.types();
    const int age = ageInYears(m_birthDate, m_forecastDate);
    const bool ageShown = age >= 0 && age <= 99;

    // A standard section: blank paragraph, optionally the picture dropped,
    // then the section picture and the section.
    auto section = [&](const repItem &item, bool drop, const char *picture, const char *title,
                       const QString &suffix, const QString &general, const Entry &entry) {
        reading.blankParagraph();
        if (drop)
            reading.dropPicture();
        if (picture)
            reading.queueSectionPicture(item, QLatin1String(picture));
        reading.standItem(item, QLatin1String(title), suffix, general, entry.text, entry.index);
    };
    // The head of a section with rows of its own.
    auto rowsHead = [&](const repItem &item, const char *picture, const char *title,
                        const QString &suffix, const QString &general) {
        reading.blankParagraph();
        if (picture)
            reading.queueSectionPicture(item, QLatin1String(picture));
        reading.standHead(item, QLatin1String(title), suffix, general);
    };

    for (const repItem &item : reading.items()) {
        switch (item.type) {
        case NSHeader: {
            startChap(true);
            reading.heading(item,
                            chaldean ? QStringLiteral("Chaldean Numerology Chart for")
                                     : QStringLiteral("Numerology Chart for"));
            endChap();
            startChap(true);
            addHead(birthLine(), item.contentColor, item.contentFont, QImage());
            addPar(emphasizeMasterNumbers(getCalculateHeaderC(karmicCounts, pinnacles,
                                                              pinnacleDigits, chaldean, types)),
                   item.contentColor, item.contentFont, QImage());
            addPar(QString(), QImage());
            endChap();
            addPlain(CLayoutReading::fontOpen(item.contentFont, item.contentColor));
            calculateGenTable(types);
            addPlain(CLayoutReading::fontClose(item.contentFont));
            // The reading's introduction belongs to its title block, in the
            // item's content look.
            startChap(true);
            reading.queueSectionPicture(item, QStringLiteral("res39.jpg"));
            const QString intro = numerInfo[0] + QLatin1String("<br /><br />");
            if (item.defaultStyle) {
                addPar(intro, QImage());
                endChap();
            } else {
                // Closes its chapter itself.
                addPar(intro, &item, -1);
            }
            break;
        }
        case NSLifePath:
            section(item, false, "res01.jpg", "Life Path Number", m_results[RLifePath],
                    numerLifePath[0], Entry(numerLifePath, m_lifePath));
            break;
        case NSBirthday: {
            const int day = m_birthDate.day();
            section(item, false, "res02.jpg", "Birthday Number", QString::number(day),
                    numerBirthDate[0], Entry(numerBirthDate, day));
            break;
        }
        case NSExpression:
            section(item, false, "res03.jpg", "Expression Number", m_results[RExpression],
                    numerExpr[0], Entry(numerExpr, m_expression));
            break;
        case NSMinorExpression:
            section(item, true, nullptr, "Minor Expression Number", m_results[RMinorExpression],
                    numerExprM[0], Entry(numerExprM, minorExpression, br));
            break;
        case NSHeartDesire:
            section(item, false, "res04.jpg", "Heart Desire Number", m_results[RHeartDesire],
                    numerHeartDesire[0], Entry(numerHeartDesire, heartDesire, br));
            break;
        case NSMinorHeartDesire:
            section(item, true, nullptr, "Minor Heart Desire Number", m_results[RMinorHeartDesire],
                    numerMinorHeartDesire[0], Entry(numerMinorHeartDesire, minorHeartDesire, br));
            break;
        case NSPersonality:
            section(item, false, "res05.jpg", "Personality Number", m_results[RPersonality],
                    numerPersonality[0], Entry(numerPersonality, personality, br));
            break;
        case NSMaturity:
            section(item, false, "res07.jpg", "Maturity Number", m_results[RMaturity],
                    numerMaturity[0], Entry(numerMaturity, maturity, br));
            break;
        case NSRationalThought:
            section(item, false, "res08.jpg", "Rational Thought Number",
                    m_results[RRationalThought], numerRationalThoughts[0],
                    Entry(numerRationalThoughts, rationalThought, br));
            break;
        case NSKarmicLessons:
        case NSHiddenPassion: {
            const bool lessons = item.type == NSKarmicLessons;
            const QList<int> &numbers = lessons ? *karmicLessons : *hiddenPassion;
            if (numbers.isEmpty())
                break;
            const QString *table = lessons ? numerKarmicLessons : numerHiddenPassion;
            rowsHead(item, lessons ? "res09.jpg" : "res11.jpg",
                     lessons ? "Karmic Lessons Number" : "Hidden Passion Number",
                     m_results[lessons ? RKarmicLessons : RHiddenPassion], table[0]);
            for (int n : numbers) {
                const Entry entry(table, n);
                reading.row(item, QString(), entry.text, entry.index);
            }
            break;
        }
        case NSBalance:
            section(item, false, "res10.jpg", "Balance Number", m_results[RBalance],
                    numerBalance[0], Entry(numerBalance, balance, br));
            break;
        case NSSubconsciousConfidence:
            section(item, false, "res12.jpg", "Subconscious Confidence Number",
                    m_results[RSubconsciousConfidence], numerSubconsConfid[0],
                    Entry(numerSubconsConfid, subconsciousConfidence, br));
            break;
        case NSPinnacles:
        case NSChallenges: {
            const bool isPinnacles = item.type == NSPinnacles;
            startChap(true);
            reading.blankParagraph();
            reading.queueSectionPicture(
                item, isPinnacles ? QStringLiteral("res13.jpg") : QStringLiteral("res14.jpg"));
            // The item's own picture shows whatever the item or the layout
            // says about hiding pictures.
            const QImage own = item.images.isEmpty() ? QImage() : item.images.first();
            addHead(isPinnacles ? QLatin1String("Pinnacles Numbers ") + m_results[RPinnacles]
                                : QLatin1String("Challenges Numbers ") + m_results[RChallenges],
                    item.headerColor, item.headerFont, own);
            if (isPinnacles)
                addHead(QLatin1String("Age span for life cycles ") + m_results[RAgeSpans],
                        item.headerColor, item.headerFont, QImage());
            const QString general = isPinnacles ? numerPinnacles[0] : numerChallenges[0] + br;
            if (item.defaultStyle) {
                addPar(general, QImage());
                endChap();
            } else {
                addPar(general, &item, 0);
                if (!isPinnacles)
                    endChap();
            }
            for (int i = 0; i < 4; ++i) {
                const QString label
                    = QStringLiteral("<b>Life cycle %1 (").arg(i + 1) + spans[i] + ")</b> ";
                const Entry entry = isPinnacles ? Entry(numerPinnacles, pinnacleDigits[i])
                                                : Entry(numerChallenges, m_challenges[i] + 1);
                reading.row(item, label, entry.text, entry.index);
            }
            break;
        }
        case NSPersonalYear: {
            const int year = m_forecastYear;
            rowsHead(item, "res15.jpg",
                     "Personal Year Number:", QString::number(personalYear(year)),
                     numerPersYear[0]);
            for (int k = 0; k < 9; ++k) {
                const int n = personalYear(year + k);
                reading.row(item, QStringLiteral("%1 (%2). ").arg(year + k).arg(n),
                            tableEntry(numerPersYear, n), n);
            }
            break;
        }
        case NSPersonalMonth: {
            rowsHead(item, "res15.jpg",
                     "Personal Month Number:", QString::number(personalMonth(m_forecastDate)),
                     numerPersDate[0]);
            for (int k = 0; k < 12; ++k) {
                const QDate date = m_forecastDate.addMonths(k);
                const int n = personalMonth(date);
                reading.row(
                    item, QStringLiteral("%1/%2 (%3). ").arg(date.month()).arg(date.year()).arg(n),
                    tableEntry(numerPersDate, n), n);
            }
            break;
        }
        case NSPersonalDay: {
            rowsHead(item, nullptr,
                     "Personal Day Number:", QString::number(personalDay(m_forecastDate)),
                     QString());
            for (int k = 0; k < 9; ++k) {
                const QDate date = m_forecastDate.addDays(k);
                const int n = personalDay(date);
                reading.row(item,
                            QStringLiteral("%1/%2/%3 (%4). ")
                                .arg(date.month())
                                .arg(date.day())
                                .arg(date.year())
                                .arg(n),
                            tableEntry(numerPersDate, n), n);
            }
            break;
        }
        case NSTransits: {
            if (!ageShown)
                break;
            rowsHead(item, nullptr, "Transits for age", QString::number(age), numerTransit[0]);
            const QString *transits[3]
                = {&m_transitPhysical, &m_transitMental, &m_transitSpiritual};
            const char *labels[3] = {"Physical", "Mental", "Spiritual"};
            for (int i = 0; i < 3; ++i) {
                const QString label = QLatin1String(labels[i]);
                const QString &transit = *transits[i];
                const ushort c = age < transit.size() ? transit.at(age).unicode() : 0;
                const int k = c >= 'A' && c <= 'Z' ? c - 64 : 0;
                startChap(true);
                if (item.defaultStyle) {
                    addPar(label, QImage());
                    if (k)
                        addPar(numerTransit[k], QImage());
                    endChap();
                } else {
                    addPar(label, item.contentColor, item.contentFont, QImage());
                    endChap();
                    if (k) {
                        startChap(true);
                        addPar(numerTransit[k], &item, k);
                    }
                }
            }
            break;
        }
        case NSEssence: {
            if (!ageShown)
                break;
            const int essence = m_essence[128 + age];
            section(item, false, nullptr, "Essence for age",
                    QStringLiteral("%1: %2/%3").arg(age).arg(essence).arg(m_essence[age]),
                    numerEssence[0], Entry(numerEssence, essence));
            break;
        }
        case NSMinorPersonality:
            if (minorPersonality != personality)
                section(item, true, nullptr, "Minor Personality Number",
                        m_results[RMinorPersonality], QString(),
                        Entry(numerPersonality, minorPersonality, br));
            break;
        case NSKarmicDebts: {
            QList<int> debts;
            for (int debt : {13, 14, 16, 19}) {
                if (karmicCounts[debt] != 0)
                    debts << debt;
            }
            if (debts.isEmpty())
                break;
            rowsHead(item, "res06.jpg", "Karmic Debts Numbers", QString(), numerKarmDebts[0] + br);
            for (int debt : qAsConst(debts)) {
                reading.dropPicture();
                reading.standItem(item, QStringLiteral("Karmic Debt Number:"),
                                  QString::number(debt), QString(), numerKarmDebts[debt] + br,
                                  debt);
            }
            break;
        }
        case NSCompound: {
            if (!chaldean)
                break;
            reading.blankParagraph();
            const int n = m_compoundNumber;
            if (n < 10 || n > 99)
                break;
            auto itemText = [&item](int entry) {
                return entry < item.texts.size() ? item.texts.at(entry) : QString();
            };
            if (hasText(numerCompoundNumbers[n]) || hasText(numerCompoundNumbers[0])
                || !itemText(n).isEmpty() || !itemText(0).isEmpty()) {
                reading.dropPicture();
                reading.standItem(item, QStringLiteral("Compound Number"), QString::number(n),
                                  numerCompoundNumbers[0], numerCompoundNumbers[n] + br, n);
            }
            break;
        }
        case NSPlanes:
            section(item, false, "res03.jpg", "Planes of Expression", QString(),
                    numerPlanesOfExpression[0], Entry(nullptr, -1));
            break;
        case NSPlanePhysical:
        case NSPlaneMental:
        case NSPlaneEmotional:
        case NSPlaneIntuitive: {
            struct Plane
            {
                const char *title;
                int index; // into planes and, + 15, the plane texts
                const QString *table;
            };
            static const Plane kinds[4]
                = {{"Planes of Expression Physical", 1, numerPlanesOfExpressionP},
                   {"Planes of Expression Mental", 0, numerPlanesOfExpressionM},
                   {"Planes of Expression Emotional", 2, numerPlanesOfExpressionE},
                   {"Planes of Expression Intuitive", 3, numerPlanesOfExpressionI}};
            const Plane &plane = kinds[item.type - NSPlanePhysical];
            const int n = planes[plane.index];
            if (n == 0)
                break;
            const Entry entry(plane.table, n);
            reading.standItem(item, QLatin1String(plane.title), m_planeTexts[15 + plane.index],
                              QString(), entry.text, entry.index);
            break;
        }
        case NSBridgeLPE:
        case NSBridgeHDP: {
            const bool lpe = item.type == NSBridgeLPE;
            const int bridge = lpe ? bridgeLPE : bridgeHDP;
            if (bridge < 0 || bridge > 8)
                break;
            const QString *table = lpe ? numerBridgeLPE : numerBridgeHDP;
            reading.blankParagraph();
            reading.standItem(item,
                              lpe ? QStringLiteral("Bridge Life Path - Expression")
                                  : QStringLiteral("Bridge Heart's Desire - Personality"),
                              QString::number(bridge), table[0], table[bridge + 1], bridge);
            break;
        }
        case NSBridgeLPEDetail:
        case NSBridgeHDPDetail: {
            const int detail = item.type == NSBridgeLPEDetail ? bridgeLPEDetail : bridgeHDPDetail;
            if (detail < 0 || detail > 99)
                break;
            const QString *table
                = item.type == NSBridgeLPEDetail ? numerBridgeLPEDet : numerBridgeHDPDet;
            reading.blankParagraph();
            reading.standItem(item, QString(), QString(), QString(), table[detail], detail);
            break;
        }
        case NSCustomText:
            reading.customText(item);
            break;
        default:
            // Karmic Debt, Compatible and ids this reading does not know.
            break;
        }
    }

    endDoc();
    return true;
}
