#pragma once

#include "engine/reporttools.h"
#include "layouts/reportsetting.h"

#include <QDate>
#include <QList>
#include <QString>

// The psycho-matrix of a birth date: how often each digit 1 to 9 occurs in the
// date and in four working numbers derived from it, the eight lines of the
// 3 x 3 square, and the reading of them (fixed or by report layout).
class CNumerologyPMatrix : public CReportTools
{
    Q_OBJECT

public:
    // Indexes of lineValue.
    enum Line {
        LSelfAppraisal = 0, // 1-2-3
        LFinance, // 4-5-6
        LTalent, // 7-8-9
        LPurposeful, // 1-4-7
        LFamilyFormation, // 2-5-8
        LStability, // 3-6-9
        LSpirituality, // 1-5-9
        LSexualLife, // 3-5-7
        LineCount
    };

    // The date list and the four working numbers of a date.
    struct Working
    {
        QList<int> dateDigits; // day, month and year digits
        int numbers[4] = {};
        QList<int> workingDigits; // the digits of the four working numbers
    };

    explicit CNumerologyPMatrix(QObject *parent = nullptr);
    ~CNumerologyPMatrix() override;

    // Both zero the counts and line values; the document stays.
    void resetData();
    void clear();

    // Appends the decimal digits of n modulo 10000. A negative n gives the
    // digits of its absolute value: a digit is always 0 to 9.
    static void addNumToList(QList<int> &list, int n);

    // The first element of the date list is the day's leading digit. Twice
    // that digit can exceed the date sum (4 January 2000), which makes the
    // third working number negative; its digits and the fourth number are
    // then taken from its absolute value.
    static Working workingNumbers(const QDate &birthDate);

    // Computes the counts and line values of birthDate and writes the
    // reading: by layouts[layoutNo - 1] when layoutNo is 1 to the list's
    // size, else the fixed reading. Always true.
    bool calculate(const QString &name, const QDate &birthDate, QList<reportSetting> *layouts,
                   int layoutNo);
    bool calculateDynamic(const QString &name, QList<reportSetting> *layouts, int layoutIndex,
                          const QString &countListing, const QDate &birthDate);

    // The value a section (1 to 17) reads: a digit count or a line value; 0
    // for any other section.
    int sectionValue(int section) const;
    // The text entry of a value: v + 1 below 7, else 7.
    static int textIndex(int value);

    int digitCount[10];
    int lineValue[LineCount];

private:
    QString countListing(const QList<int> &types) const;
};
