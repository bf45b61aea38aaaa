#pragma once

// One reduction step: the sum of the four lowest decimal digits (digits above
// the thousands are dropped, so 12345 gives 2 + 3 + 4 + 5 = 14).
inline int fourDigitSum(int n)
{
    return n % 10 + (n / 10) % 10 + (n / 100) % 10 + (n / 1000) % 10;
}

// The reduction rules with the fixed master numbers 11, 22 and 33, for the
// engines that keep no master-numbers mode of their own. A holder (the chart
// and compatibility engines) derives from it and gets its 64 statistics
// counters with it; the static rules need no object.
class CNumberRules
{
public:
    static constexpr int StatCount = 64;

    CNumberRules();

    // 0 to 9, 11, 22 and 33.
    static bool isBase(int n);
    // 13, 14, 16 and 19.
    static bool isCarmic(int n);
    // One step; base values unchanged.
    static int downOnce(int n);
    // Full reduction, counting every karmic value and the final base value met
    // in this object's counters. A negative argument gives 0 and counts nothing.
    int downToBase(int n) { return downToBase(n, m_stats); }
    // The same, counting into a caller's array of StatCount entries.
    static int downToBase(int n, int *stats);
    // Full reduction without counting; a step result of 0 or below gives 0.
    static int statDownToBase(int n);
    // One digit, master numbers reduced too; a negative argument gives 0.
    static int downToDigit(int n);

    void clearStats();
    int stat(int n) const { return n >= 0 && n < StatCount ? m_stats[n] : 0; }

protected:
    int m_stats[StatCount];
};
