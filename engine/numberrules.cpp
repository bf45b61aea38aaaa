#include "numberrules.h"

CNumberRules::CNumberRules()
{
    clearStats();
}

bool CNumberRules::isBase(int n)
{
    return (n >= 0 && n <= 9) || n == 11 || n == 22 || n == 33;
}

bool CNumberRules::isCarmic(int n)
{
    return n == 13 || n == 14 || n == 16 || n == 19;
}

int CNumberRules::downOnce(int n)
{
    return isBase(n) ? n : fourDigitSum(n);
}

int CNumberRules::downToBase(int n, int *stats)
{
    // The four-digit sum of a negative value stays negative and never
    // reaches a base value.
    if (n < 0)
        return 0;
    auto count = [stats](int v) {
        if (isCarmic(v) || isBase(v))
            ++stats[v]; // every karmic and base value is below StatCount
    };
    count(n);
    while (!isBase(n)) {
        n = fourDigitSum(n);
        count(n);
    }
    return n;
}

int CNumberRules::statDownToBase(int n)
{
    while (!isBase(n)) {
        n = fourDigitSum(n);
        if (n <= 0)
            return 0;
    }
    return n;
}

int CNumberRules::downToDigit(int n)
{
    if (n < 0)
        return 0;
    if (n == 11 || n == 22 || n == 33)
        return n / 11 * 2;
    while (n >= 10) {
        n = fourDigitSum(n);
        if (n == 0)
            return 0;
    }
    return n;
}

void CNumberRules::clearStats()
{
    for (int &c : m_stats)
        c = 0;
}
