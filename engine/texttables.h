#pragma once

#include <QString>

// The reading texts, filled once from the readings database at start and only
// read afterwards. Entry 0 of a topic table holds the topic's general text,
// entry n the text for the number n.

constexpr int kNumerTableSize = 128; // every topic table
constexpr int kCelebritySlots = 256; // celebrity records and their texts
constexpr int kHelperEntries = 256; // help pages, four entries per topic
constexpr int kInfoEntries = 16; // short information texts
constexpr int kCustomTextEntries = 256;

// Personal readings (database sections 101 to 132).
extern QString numerLifePath[kNumerTableSize];
extern QString numerBirthDate[kNumerTableSize];
extern QString numerKarmDebts[kNumerTableSize];
extern QString numerExpr[kNumerTableSize];
extern QString numerExprM[kNumerTableSize];
extern QString numerPersYear[kNumerTableSize];
extern QString numerPersDate[kNumerTableSize];
extern QString numerHeartDesire[kNumerTableSize];
extern QString numerPersonality[kNumerTableSize];
extern QString numerHiddenPassion[kNumerTableSize];
extern QString numerMinorHeartDesire[kNumerTableSize];
extern QString numerKarmicLessons[kNumerTableSize];
extern QString numerSubconsConfid[kNumerTableSize];
extern QString numerBalance[kNumerTableSize];
extern QString numerChallenges[kNumerTableSize];
extern QString numerPinnacles[kNumerTableSize];
extern QString numerMaturity[kNumerTableSize];
extern QString numerRationalThoughts[kNumerTableSize];
extern QString numerTransit[kNumerTableSize];
extern QString numerEssence[kNumerTableSize];
extern QString numerDoubleDigitNumbers[kNumerTableSize];
extern QString numerCompoundNumbers[kNumerTableSize];
extern QString numerPlanesOfExpression[kNumerTableSize];
extern QString numerPlanesOfExpressionP[kNumerTableSize];
extern QString numerPlanesOfExpressionM[kNumerTableSize];
extern QString numerPlanesOfExpressionE[kNumerTableSize];
extern QString numerPlanesOfExpressionI[kNumerTableSize];
extern QString numerBridgeLPE[kNumerTableSize];
extern QString numerBridgeLPEDet[kNumerTableSize];
extern QString numerBridgeHDP[kNumerTableSize];
extern QString numerBridgeHDPDet[kNumerTableSize];
extern QString numerAttitude[kNumerTableSize];

// Psycho-matrix (sections 201 to 217).
extern QString numerPurposeful[kNumerTableSize];
extern QString numerFamilyFormation[kNumerTableSize];
extern QString numerStability[kNumerTableSize];
extern QString numer1[kNumerTableSize];
extern QString numer2[kNumerTableSize];
extern QString numer3[kNumerTableSize];
extern QString numer4[kNumerTableSize];
extern QString numer5[kNumerTableSize];
extern QString numer6[kNumerTableSize];
extern QString numer7[kNumerTableSize];
extern QString numer8[kNumerTableSize];
extern QString numer9[kNumerTableSize];
extern QString numerSelfAppraisal[kNumerTableSize];
extern QString numerFinance[kNumerTableSize];
extern QString numerTalent[kNumerTableSize];
extern QString numerSpirituality[kNumerTableSize];
extern QString numerSexualLife[kNumerTableSize];

// Pet (sections 301, 302).
extern QString numerPetC[kNumerTableSize];
extern QString numerPetDForecast[kNumerTableSize];

// Compatibility (sections 401 to 406).
extern QString numerSumComp[kNumerTableSize];
extern QString numerDetComp[kNumerTableSize];
extern QString numerNameComp[kNumerTableSize];
extern QString numerLPComp[kNumerTableSize];
extern QString numerPMCharacterComp[kNumerTableSize];
extern QString numerPMEnergyComp[kNumerTableSize];

// Number interpretation (section 501).
extern QString numerNumInterp[kNumerTableSize];

// Celebrity records (sections 601/611) and their texts (602-604, 612-614).
// Numbers: 0 = not yet read, a stored 0 reads -1. Birth date packed as
// day + month * 256 + year * 65536.
extern int numerCelILP[kCelebritySlots];
extern int numerCelIDAY[kCelebritySlots];
extern int numerCelIEXPR[kCelebritySlots];
extern QString numerCelName[kCelebritySlots];
extern QString numerCelFName[kCelebritySlots];
extern int numerCelBDT[kCelebritySlots];
extern QString numerCelLP[kCelebritySlots];
extern QString numerCelBD[kCelebritySlots];
extern QString numerCelExpr[kCelebritySlots];

// Help pages (sections 700 to 703): topic t at entries 4t .. 4t + 3.
extern QString numerHelpers[kHelperEntries];

// Information texts (section 900).
extern QString numerInfo[kInfoEntries];

// Default text of a "Custom Text" section; entry 0 is set by the loader.
extern QString numerCustomText[kCustomTextEntries];

// Empties every table and record. The loader never clears the texts, so a
// second load would append to the first; tests and benchmarks start here.
void resetTextTables();
