#pragma once

#include "engine/reporttools.h"
#include "layouts/reportsetting.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVector>

class QPainter;
class QWidget;

// Numbers of one calculation that the reading needs besides the object's
// fields; built by calculate() and handed to the report writer.
struct CPersonalValues
{
    int karmicCounts[128] = {}; // karmic numbers (13, 14, 16, 19) met while reducing
    int dayBase = 0; // reduced birth day, month and year
    int monthBase = 0;
    int yearBase = 0;
    int minorExpression = 0;
    int heartDesire = 0;
    int minorHeartDesire = 0;
    int personality = 0;
    int minorPersonality = 0;
    int maturity = 0;
    int rationalThought = 0;
    int balance = 0;
    int subconsciousConfidence = 0;
    QList<int> karmicLessons;
    QList<int> hiddenPassion;
    int pinnacles[4] = {}; // master numbers kept
    int pinnacleDigits[4] = {};
    int planes[4] = {}; // Mental, Physical, Emotional, Intuitive
    int bridgeLPE = 0; // life path - expression
    int bridgeLPEDetail = 0; // 10 x larger digit + smaller digit
    int bridgeHDP = 0; // heart's desire - personality
    int bridgeHDPDetail = 0;
};

// One person's numerology: the number rules under the object's calculation
// and master-numbers modes, and calculate(), which keeps every personal
// number as a number and as a display text and then writes the reading.
class CNumerology : public CReportTools
{
    Q_OBJECT

public:
    enum Result {
        RLifePath = 0,
        RBirthday,
        RExpression,
        RMinorExpression,
        RHeartDesire,
        RMinorHeartDesire,
        RPersonality,
        RMinorPersonality,
        RMaturity,
        RRationalThought,
        RKarmicDebts,
        RKarmicLessons,
        RChallenges,
        RPinnacles,
        RBridgeLPE,
        RBridgeHDP,
        RBalance,
        RPersonalYear,
        RHiddenPassion,
        RSubconsciousConfidence,
        RAgeSpans,
        RLifePathPeriods,
        RPeriodSpans,
        ResultCount
    };

    enum NameLine {
        NLFullVowels = 0,
        NLFullConsonants,
        NLExpression,
        NLHeartDesire,
        NLPersonality,
        NLShortVowels,
        NLShortConsonants,
        NLMinorExpression,
        NLMinorHeartDesire,
        NLMinorPersonality,
        NameLineCount
    };

    // Shows a critical message box; replaceable so that the box does not
    // block where no one can close it.
    using CriticalMessage = void (*)(QWidget *parent, const QString &title, const QString &text);
    static CriticalMessage s_criticalMessage;
    static void showCriticalMessage(QWidget *parent, const QString &title, const QString &text);

    explicit CNumerology(QObject *parent = nullptr);
    ~CNumerology() override;

    // Number rules.
    static bool isMasterNumber(int n, int mode);
    bool isBase(int n) const;
    static bool isCarmic(int n);
    int downOnce(int n) const;
    int downToBase(int n);
    int downToBase(int n, int *counters) const; // counters: 128 entries
    int statDownToBase(int n) const;
    static int downToDigit(int n);
    int letterToNumber(QChar c) const;
    static int letterToNumberChaldean(QChar c);
    int wordToNumber(const QString &word) const;
    void setCalcMode(int mode);
    void setMasterNumbersMode(int mode);
    void calcNamesNumbers(const QString &name, QList<int> &out) const;
    static int isVow(const QString &word, int pos, int mode);
    static int getPEIndex(QChar c);
    void calcNamesNumbersP(const QString &name, QList<int> &out, bool vowels,
                           const QVector<int> &overrides, int vowMode) const;
    void calcNamesNumbersP(const QString &name, QList<int> &out, bool vowels, int vowMode) const;
    void s_spNum(int *pinnacles, int *pinnacleDigits);

    // Personal numbers.
    void resetData();
    void clear();
    // Computes every personal number of the names and dates and, unless
    // computeOnly, checks the names and writes the reading: by the layout
    // layouts[layoutNo - 1] when layoutNo is 1 to the list's size, else the
    // fixed reading. Returns false only when the name check fails.
    bool calculate(const QString &fullName, const QString &shortName,
                   const QVector<int> &fullOverrides, const QVector<int> &shortOverrides,
                   bool chaldean, const QDate &birth, const QDate &forecast,
                   QList<reportSetting> *layouts, int layoutNo, int vowMode, bool computeOnly);
    void draw(QPainter *painter);

    int m_stats[128];
    int m_lifePath;
    int m_challenges[4];
    int m_forecastYear;
    int m_dayMonthDigit;
    int m_letterStats[256];
    int m_calcMode;
    int m_masterNumbersMode;
    QDate m_birthDate;
    int m_expression;
    QString m_transitPhysical;
    QString m_transitMental;
    QString m_transitSpiritual;
    int m_essence[256];
    QString m_fullName;
    QString m_shortName;
    QDate m_forecastDate;
    QString m_results[ResultCount];
    QString m_planeLetters[20];
    QString m_planeTexts[20];
    QString m_nameLines[NameLineCount];
    int m_compoundNumber;

    // Further readings
    // Each runs on an engine object of its own and reuses the result texts and
    // name lines above for its numbers. The pet reading (petreading.cpp) fails
    // with a message when the name has no value; the second name and the flag
    // carry nothing it uses.
    bool calculatePet(const QString &petName, const QString &secondName, const QDate &birth,
                      const QDate &forecast, bool flag, QList<reportSetting> *layouts,
                      int layoutNo);
    // The celebrities sharing the life path, the birth day or the expression
    // number (celebrityreading.cpp); the vowel mode does not change it.
    bool calculateCel(const QString &fullName, const QDate &birth, bool chaldean,
                      QList<reportSetting> *layouts, int layoutNo, int vowelMode);
    bool calculateCelDynamic(const QDate &birth, QList<reportSetting> *layouts, int index);
    // The express chart of any name or title (expresschart.cpp). An invalid
    // date stands for no date: the chart then has no date number.
    bool calculateAn(const QString &name, const QDate &date, bool flag, bool chaldean);

private:
    struct NameNumber
    {
        int value = 0; // the reduced total
        int total = 0;
        QString text; // value, "/" and total when they differ
        QString breakdown;
    };

    NameNumber nameNumber(const QList<int> &parts, int *karmicCounts);
    QString letterLine(const QString &name, const QVector<int> &overrides, int vowMode,
                       bool vowels) const;
    void calcPlanes(CPersonalValues &values);
    void calcTransits();
    QString transitLetters(const QString &letters) const;

    // Readings
public:
    // The personal reading by the Numerology items of layouts[layoutIndex]
    // (0-based, inside the list); always true.
    bool calculateDynamic(bool chaldean, QList<reportSetting> *layouts, int layoutIndex,
                          const int *karmicCounts, int minorExpression, int heartDesire,
                          int minorHeartDesire, int personality, int minorPersonality,
                          int maturity, int rationalThought, const QList<int> *karmicLessons,
                          int balance, const QList<int> *hiddenPassion, int subconsciousConfidence,
                          const int *planes, int bridgeLPE, int bridgeLPEDetail, int bridgeHDP,
                          int bridgeHDPDetail);
    // The summary lines of the numbers that the section types show.
    QString getCalculateHeaderC(const int *karmicCounts, const int *pinnacles,
                                const int *pinnacleDigits, bool chaldean,
                                const QList<int> &types) const;
    // Appends the numerology table of the section types to the document.
    void calculateGenTable(const QList<int> &types);

    // Personal year of a year, month and day of a date.
    int personalYear(int year) const;
    int personalMonth(const QDate &date) const;
    int personalDay(const QDate &date) const;
    // 11 to 99 in bold, for the parts of the reading that show name numbers.
    static QString emphasizeMasterNumbers(const QString &html);
    static constexpr int ReadingCapacity = 128 * 1024;

private:
    void writeReading(const CPersonalValues &values, QList<reportSetting> *layouts, int layoutNo);
    void writeFixedReading(const CPersonalValues &values);
    QString birthLine() const;
};
