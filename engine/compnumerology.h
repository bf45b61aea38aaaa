#pragma once

#include "engine/numberrules.h"
#include "engine/reporttools.h"
#include "layouts/reportsetting.h"

#include <QList>
#include <QString>

class CNumerology;
class CNumerologyPMatrix;

// The compatibility of two people from their finished personal numbers and
// psycho-matrices: partial scores in percent, the marriage stability term,
// the codes that choose the reading texts, the result texts and the reading
// (fixed or by report layout). The statistics counters of the reduction
// rules come with CNumberRules; the comparison itself does not count.
class CCompNumerology : public CReportTools, public CNumberRules
{
    Q_OBJECT

public:
    enum ResultText {
        RHomeProductA = 0,
        RHomeProductB,
        RSpiritualProductA,
        RSpiritualProductB,
        RHomeTerm,
        RSpiritualTerm,
        RMarriageTerm,
        RLifePathFormula,
        RLifePathScore,
        RBirthdayFormula,
        RBirthdayScore,
        RFamilyScore,
        RCarnalScore,
        RNameFormula,
        RNameScore,
        RFinalScore,
        ResultTextCount
    };

    explicit CCompNumerology(QObject *parent = nullptr);
    ~CCompNumerology() override;

    // Both zero the counters and the products and terms; the other fields,
    // the result texts and the document keep their values.
    void resetData();
    void clear();

    // Compares the two people and writes the reading: by layouts[layoutNo - 1]
    // when layoutNo is 1 to the list's size, else the fixed reading. The four
    // objects must hold the current results of both people. Always true.
    bool calculate(CNumerology *person, CNumerology *partner, CNumerologyPMatrix *personMatrix,
                   CNumerologyPMatrix *partnerMatrix, QList<reportSetting> *layouts, int layoutNo);
    bool calculateDynamic(QList<reportSetting> *layouts, int layoutIndex,
                          const QString &summaryTable, const QString &matrixListing,
                          CNumerology *person, CNumerology *partner,
                          CNumerologyPMatrix *personMatrix, CNumerologyPMatrix *partnerMatrix,
                          int lifePathPair, int birthdayPair, int birthdayCode, int namePair);

    // Score tables. Each takes digits 1 to 9 (codes 1 to 9, differences 0 to
    // 5); anything else is no pair of the table and scores 0.
    static int lifePathTableScore(int digitA, int digitB);
    static int birthdayTableScore(int code);
    static int nameTableScore(int digitA, int digitB);
    static int carnalTableScore(int difference);
    // 10 x the smaller + the larger digit; -1 when either is not 1 to 9, so
    // that the pair selects no text.
    static int pairCode(int x, int y);

    int lifePathScore = 0;
    int lifePathDigitA = 0;
    int lifePathDigitB = 0;
    int lifePathCode = 0;
    int homeProductA = 0;
    int homeProductB = 0;
    int spiritualProductA = 0;
    int spiritualProductB = 0;
    int homeTerm = 0;
    int spiritualTerm = 0;
    int marriageTerm = 0;
    int nameCode = 0;
    int nameScore = 0;
    int carnalScore = 0;
    int characterCode = 0;
    int energyCode = 0;
    QString resultText[ResultTextCount];
};
