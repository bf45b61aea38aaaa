#include "engine/numerology.h"

#include "engine/layoutreading.h"
#include "engine/texttables.h"

#include <QImage>

// The fixed personal reading: every section in its built-in order, heading,
// picture and texts.

namespace {

const QLatin1String br("<br />");

QList<int> allSectionTypes()
{
    QList<int> types;
    for (int t = 0; t <= 36; ++t)
        types << t;
    return types;
}

// Writes the sections of the fixed reading into one document.
class FixedReading
{
public:
    explicit FixedReading(CReportTools &doc)
        : m_doc(doc)
        , m_font(CLayoutReading::defaultHeadingFont())
    {
    }

    void open() { m_doc.startChap(true); }
    void close() { m_doc.endChap(); }
    void picture(const char *file)
    {
        if (file)
            m_doc.addImage(QLatin1String(file));
    }
    void heading(const QString &text) { m_doc.addHead(text, Qt::black, m_font, QImage()); }
    void paragraph(const QString &text) { m_doc.addPar(text, QImage()); }

    // General text in one chapter, the person's text cut into one-cell
    // tables in the next; the split paragraph closes that chapter itself.
    void split(const QString &title, const char *file, const QString *table, int n)
    {
        open();
        picture(file);
        heading(title);
        paragraph(table[0]);
        close();
        open();
        paragraph(m_doc.addSplitParagraph(tableEntry(table, n) + br, QString(), QString()));
    }

    void joined(const QString &title, const char *file, const QString *table, int n)
    {
        open();
        picture(file);
        heading(title);
        paragraph(table[0] + br + tableEntry(table, n) + br);
        close();
    }

    void list(const QString &title, const char *file, const QString *table,
              const QList<int> &numbers)
    {
        if (numbers.isEmpty())
            return;
        open();
        picture(file);
        heading(title);
        paragraph(table[0]);
        close();
        for (int i = 0; i < numbers.size(); ++i) {
            open();
            paragraph(tableEntry(table, numbers.at(i)));
            if (i == numbers.size() - 1)
                paragraph(br);
            close();
        }
    }

    // One chapter with the heading and the text of the number, no general text.
    void single(const QString &title, const QString &text)
    {
        open();
        heading(title);
        paragraph(text + br);
        close();
    }

    void lifeCycles(const QString *table, const int values[4], int lifePathDigit)
    {
        const int d = lifePathDigit;
        const QString spans[4] = {
            QStringLiteral("0-%1").arg(36 - d),
            QStringLiteral("%1-%2").arg(36 - d).arg(45 - d),
            QStringLiteral("%1-%2").arg(45 - d).arg(54 - d),
            QStringLiteral("%1-E").arg(54 - d),
        };
        for (int i = 0; i < 4; ++i) {
            open();
            QString text = QStringLiteral("<b>Life cycle %1 (").arg(i + 1) + spans[i]
                + QLatin1String(")</b> ") + tableEntry(table, values[i]);
            if (i == 3)
                text += br;
            paragraph(text);
            close();
        }
    }

    struct Period
    {
        QString label;
        int value;
    };

    void forecast(const QString &title, const char *file, const QString *general,
                  const QString *table, const QList<Period> &periods)
    {
        open();
        picture(file);
        heading(title);
        if (general)
            paragraph(*general);
        close();
        for (int i = 0; i < periods.size(); ++i) {
            const Period &p = periods.at(i);
            open();
            paragraph(p.label + QLatin1String(" (") + QString::number(p.value)
                      + QLatin1String("). ") + tableEntry(table, p.value));
            if (i == periods.size() - 1)
                paragraph(br);
            close();
        }
    }

private:
    CReportTools &m_doc;
    QFont m_font;
};

} // namespace

QString CNumerology::birthLine() const
{
    return m_fullName + QLatin1String(" (") + m_shortName + QLatin1String("), ")
        + monthAbbreviation(m_birthDate.month()) + QLatin1Char(' ')
        + QString::number(m_birthDate.day()) + QLatin1Char(' ')
        + QString::number(m_birthDate.year());
}

void CNumerology::writeReading(const CPersonalValues &values, QList<reportSetting> *layouts,
                               int layoutNo)
{
    const int index = CLayoutReading::layoutIndex(layouts, layoutNo);
    if (index < 0) {
        writeFixedReading(values);
        return;
    }
    calculateDynamic(m_calcMode == 1, layouts, index, values.karmicCounts, values.minorExpression,
                     values.heartDesire, values.minorHeartDesire, values.personality,
                     values.minorPersonality, values.maturity, values.rationalThought,
                     &values.karmicLessons, values.balance, &values.hiddenPassion,
                     values.subconsciousConfidence, values.planes, values.bridgeLPE,
                     values.bridgeLPEDetail, values.bridgeHDP, values.bridgeHDPDetail);
}

void CNumerology::writeFixedReading(const CPersonalValues &values)
{
    const bool chaldean = m_calcMode == 1;
    const QList<int> types = allSectionTypes();
    FixedReading r(*this);

    // Title block, summary and numerology table.
    startDoc(chaldean ? QStringLiteral("Lumaro Chaldean Numerology Report")
                      : QStringLiteral("Lumaro Numerology Report"));
    // A whole reading runs to some 80 000 characters.
    reportHtml.reserve(ReadingCapacity);
    r.open();
    r.heading(chaldean ? QStringLiteral("Chaldean Numerology Chart for")
                       : QStringLiteral("Numerology Chart for"));
    r.heading(birthLine());
    r.paragraph(emphasizeMasterNumbers(getCalculateHeaderC(
        values.karmicCounts, values.pinnacles, values.pinnacleDigits, chaldean, types)));
    r.paragraph(QString());
    r.close();
    calculateGenTable(types);

    r.open();
    r.picture("res39.jpg");
    r.paragraph(numerInfo[0] + QLatin1String("<br /><br />"));
    r.close();

    // Core numbers.
    r.split(QLatin1String("Life Path Number ") + m_results[RLifePath], "res01.jpg", numerLifePath,
            m_lifePath);
    const int day = m_birthDate.day();
    r.split(QLatin1String("Birthday Number ") + QString::number(day), "res02.jpg", numerBirthDate,
            day);
    r.split(QLatin1String("Expression Number ") + m_results[RExpression], "res03.jpg", numerExpr,
            m_expression);
    r.split(QLatin1String("Minor Expression Number ") + m_results[RMinorExpression], nullptr,
            numerExprM, values.minorExpression);
    r.split(QLatin1String("Heart Desire Number ") + m_results[RHeartDesire], "res04.jpg",
            numerHeartDesire, values.heartDesire);
    r.joined(QLatin1String("Minor Heart Desire Number ") + m_results[RMinorHeartDesire], nullptr,
             numerMinorHeartDesire, values.minorHeartDesire);
    if (chaldean && m_compoundNumber >= 10 && m_compoundNumber <= 99)
        r.joined(QLatin1String("Compound Number ") + QString::number(m_compoundNumber), nullptr,
                 numerCompoundNumbers, m_compoundNumber);
    r.joined(QLatin1String("Personality Number ") + m_results[RPersonality], "res05.jpg",
             numerPersonality, values.personality);
    if (values.minorPersonality != values.personality)
        r.single(QLatin1String("Minor Personality Number ") + m_results[RMinorPersonality],
                 tableEntry(numerPersonality, values.minorPersonality));

    // Karmic debts met.
    QList<int> debts;
    for (int debt : {13, 14, 16, 19}) {
        if (values.karmicCounts[debt] != 0)
            debts << debt;
    }
    if (!debts.isEmpty()) {
        r.open();
        r.picture("res06.jpg");
        r.heading(QStringLiteral("Karmic Debts Numbers"));
        r.paragraph(numerKarmDebts[0]);
        r.close();
        for (int debt : qAsConst(debts))
            r.single(QStringLiteral("Karmic Debt Number: %1").arg(debt), numerKarmDebts[debt]);
    }

    r.split(QLatin1String("Maturity Number ") + m_results[RMaturity], "res07.jpg", numerMaturity,
            values.maturity);
    r.split(QLatin1String("Rational Thought Number ") + m_results[RRationalThought], "res08.jpg",
            numerRationalThoughts, values.rationalThought);
    r.list(QLatin1String("Karmic Lessons Number ") + m_results[RKarmicLessons], "res09.jpg",
           numerKarmicLessons, values.karmicLessons);
    r.joined(QLatin1String("Balance Number ") + m_results[RBalance], "res10.jpg", numerBalance,
             values.balance);
    r.list(QLatin1String("Hidden Passion Number ") + m_results[RHiddenPassion], "res11.jpg",
           numerHiddenPassion, values.hiddenPassion);
    r.joined(QLatin1String("Subconscious Confidence Number ") + m_results[RSubconsciousConfidence],
             "res12.jpg", numerSubconsConfid, values.subconsciousConfidence);

    // Planes of expression.
    r.open();
    r.picture("res03.jpg");
    r.heading(QStringLiteral("Planes of Expression"));
    r.paragraph(numerPlanesOfExpression[0] + br);
    r.close();
    struct Plane
    {
        const char *name;
        int index; // into the plane numbers and, + 15, the plane texts
        const QString *table;
    };
    const Plane planes[4] = {{"Mental", 0, numerPlanesOfExpressionM},
                             {"Physical", 1, numerPlanesOfExpressionP},
                             {"Emotional", 2, numerPlanesOfExpressionE},
                             {"Intuitive", 3, numerPlanesOfExpressionI}};
    for (const Plane &plane : planes) {
        const int n = values.planes[plane.index];
        if (n > 0)
            r.single(QLatin1String("Planes of Expression ") + QLatin1String(plane.name)
                         + QLatin1String(" Number ") + m_planeTexts[15 + plane.index],
                     tableEntry(plane.table, n));
    }

    // Pinnacles and challenges over the four life cycles.
    const int lifePathDigit = downToDigit(m_lifePath);
    r.open();
    r.picture("res13.jpg");
    r.heading(QLatin1String("Pinnacles Numbers ") + m_results[RPinnacles]);
    r.heading(QLatin1String("Age span for life cycles ") + m_results[RAgeSpans]);
    r.paragraph(numerPinnacles[0]);
    r.close();
    r.lifeCycles(numerPinnacles, values.pinnacleDigits, lifePathDigit);

    r.open();
    r.picture("res14.jpg");
    r.heading(QLatin1String("Challenges Numbers ") + m_results[RChallenges]);
    r.paragraph(numerChallenges[0] + br);
    r.close();
    const int challengeEntries[4]
        = {m_challenges[0] + 1, m_challenges[1] + 1, m_challenges[2] + 1, m_challenges[3] + 1};
    r.lifeCycles(numerChallenges, challengeEntries, lifePathDigit);

    // Bridges.
    r.open();
    r.heading(QLatin1String("Bridge Life Path - Expression ") + m_results[RBridgeLPE]);
    r.paragraph(numerBridgeLPE[0]);
    r.close();
    r.open();
    r.paragraph(tableEntry(numerBridgeLPE, values.bridgeLPE + 1));
    const QString lpeDetail = tableEntry(numerBridgeLPEDet, values.bridgeLPEDetail);
    if (!lpeDetail.isEmpty())
        r.paragraph(br + lpeDetail);
    r.paragraph(br);
    r.close();

    r.open();
    r.heading(QLatin1String("Bridge Heart's Desire - Personality ") + m_results[RBridgeHDP]);
    r.paragraph(numerBridgeHDP[0]);
    r.close();
    r.open();
    r.paragraph(tableEntry(numerBridgeHDP, values.bridgeHDP + 1));
    const QString hdpDetail = tableEntry(numerBridgeHDPDet, values.bridgeHDPDetail);
    if (!hdpDetail.isEmpty())
        r.paragraph(br + hdpDetail + br);
    r.close();

    // Forecast: nine personal years, twelve months and nine days.
    const QDate &f = m_forecastDate;
    QList<FixedReading::Period> years;
    for (int k = 0; k < 9; ++k) {
        const int year = m_forecastYear + k;
        years.append({QString::number(year), personalYear(year)});
    }
    r.forecast(QStringLiteral("Personal Year Number: %1").arg(personalYear(m_forecastYear)),
               "res15.jpg", &numerPersYear[0], numerPersYear, years);
    QList<FixedReading::Period> months;
    for (int k = 0; k < 12; ++k) {
        const QDate d = f.addMonths(k);
        months.append({QStringLiteral("%1/%2").arg(d.month()).arg(d.year()), personalMonth(d)});
    }
    r.forecast(QStringLiteral("Personal Month Number: %1").arg(personalMonth(f)), "res15.jpg",
               &numerPersDate[0], numerPersDate, months);
    QList<FixedReading::Period> days;
    for (int k = 0; k < 9; ++k) {
        const QDate d = f.addDays(k);
        days.append(
            {QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year()), personalDay(d)});
    }
    r.forecast(QStringLiteral("Personal Day Number: %1").arg(personalDay(f)), nullptr, nullptr,
               numerPersDate, days);

    // Transits and essence of the current age.
    const int age = ageInYears(m_birthDate, f);
    if (age >= 0 && age <= 99) {
        r.open();
        r.heading(QStringLiteral("Transits for age %1").arg(age));
        r.paragraph(numerTransit[0]);
        r.close();
        const QString *transits[3] = {&m_transitPhysical, &m_transitMental, &m_transitSpiritual};
        const char *labels[3] = {"Physical", "Mental", "Spiritual"};
        for (int i = 0; i < 3; ++i) {
            r.open();
            r.paragraph(QLatin1String(labels[i]));
            const QString &transit = *transits[i];
            const ushort c = age < transit.size() ? transit.at(age).unicode() : 0;
            if (c >= 'A' && c <= 'Z')
                r.paragraph(numerTransit[c - 64]);
            r.close();
        }
        const int essence = m_essence[128 + age];
        r.open();
        r.paragraph(br);
        r.heading(
            QStringLiteral("Essence for age %1: %2/%3").arg(age).arg(essence).arg(m_essence[age]));
        r.paragraph(numerEssence[0]);
        r.close();
        r.open();
        r.paragraph(tableEntry(numerEssence, essence));
        r.close();
    }

    endDoc();
}
