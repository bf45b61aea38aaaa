#pragma once

// The calculator options, one byte each (0 or 1). The settings dialog and the
// settings file write them; the engines read them at every calculation.
//   0 "= DIG(DIG(Y) + DIG(M) + DIG(D))"   life path from the reduced day, month and year
//   1 "= DIG(Y +M + D)"                   life path from day + month + year
//   2 "= Sum of all digits"               life path from all digits of the date
//   3 "Down to digit every word"          reduce each word before the name totals
//   4 "Reduce Master Numbers to Digit"    Pythagorean K and V count 2 and 4
//   5 "Don't generate missed transits"    missing transit names stay empty
enum GlobSetting {
    GSLifePathReducedParts = 0,
    GSLifePathPlainSum = 1,
    GSLifePathAllDigits = 2,
    GSReduceEveryWord = 3,
    GSReduceMasterLetters = 4,
    GSNoMissedTransits = 5
};

constexpr int GlobSettingsCount = 6;

extern unsigned char m_GlobSettings[GlobSettingsCount];

// Puts back the defaults 1, 0, 0, 1, 1, 0.
void resetGlobSettings();
