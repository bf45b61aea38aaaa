#pragma once

#include <QVector>

#include <cstdint>

// The symbol tables between the linear encoders and the renderers: for each
// key byte an encoder writes, the run of modules it stands for and the label
// printed under it. A module value of 1 is a bar, anything else a space (in
// POSTNET: 1 a full bar, anything else a half bar).

template<int Slots> struct SymbolRecord
{
    uint8_t key = 0;
    // May exceed Slots in the EAN table: the modules beyond the slots are
    // spaces, which lets the rows of printed-only digits reserve room.
    uint8_t moduleCount = 0;
    uint8_t modules[Slots] = {};
    // EAN/UPC and MSI: 0-9 printed as a digit, -1 nothing, -2 nothing and
    // guard-height bars. Code 128, Code 93: a Latin-1 character, 0 = none.
    // POSTNET: always -1.
    int8_t label = 0;
};

struct SymbolListRecord
{
    uint8_t key = 0;
    uint8_t moduleCount = 0;
    QVector<uint8_t> modules;
    // A Latin-1 character, 0 = none.
    uint8_t label = 0;
};

constexpr int kEanSlots = 7;
constexpr int kMsiSlots = 12;
constexpr int kPostnetSlots = 5;
constexpr int kCode128Slots = 13;
constexpr int kCode93Slots = 10;

// EAN-13, EAN-8 and UPC-A.
extern QVector<SymbolRecord<kEanSlots>> eanSymbolMap;
extern QVector<SymbolRecord<kMsiSlots>> msiSymbolMap;
extern QVector<SymbolRecord<kPostnetSlots>> postnetSymbolMap;
extern QVector<SymbolRecord<kCode128Slots>> code128SymbolMap;
extern QVector<SymbolRecord<kCode93Slots>> code93SymbolMap;
extern QVector<SymbolListRecord> codabarSymbolMap;
extern QVector<SymbolListRecord> code39SymbolMap;

// Empties and refills all seven tables.
void initializeSymbolMap();
