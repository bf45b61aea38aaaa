#include "symbols/barcodetables.h"

#include <algorithm>
#include <cstring>

QVector<SymbolRecord<kEanSlots>> eanSymbolMap;
QVector<SymbolRecord<kMsiSlots>> msiSymbolMap;
QVector<SymbolRecord<kPostnetSlots>> postnetSymbolMap;
QVector<SymbolRecord<kCode128Slots>> code128SymbolMap;
QVector<SymbolRecord<kCode93Slots>> code93SymbolMap;
QVector<SymbolListRecord> codabarSymbolMap;
QVector<SymbolListRecord> code39SymbolMap;

namespace {

// Module patterns are written as strings of "1" (bar) and "0" (space).

// EAN/UPC digit patterns: odd-parity left-hand set, even-parity left-hand
// set and right-hand set.
const char *const kEanSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                  "0110001", "0101111", "0111011", "0110111", "0001011"};
const char *const kEanSetB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                  "0111001", "0000101", "0010001", "0001001", "0010111"};
const char *const kEanSetC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                  "1001110", "1010000", "1000100", "1001000", "1110100"};

// Add-on digits 0 to 9 in the odd and even sets.
const char kAddOnKeysA[] = "\"#$%&,./:;";
const char kAddOnKeysB[] = "z=?@[\\]_{}";

const char *const kPostnet[10]
    = {"11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100"};

// Code 128 bar patterns by symbol value, 0 to 106 (103-105 start A/B/C, 106 stop).
const char *const kCode128Patterns[107] = {
    "11011001100", "11001101100", "11001100110", "10010011000", "10010001100",   "10001001100",
    "10011001000", "10011000100", "10001100100", "11001001000", "11001000100",   "11000100100",
    "10110011100", "10011011100", "10011001110", "10111001100", "10011101100",   "10011100110",
    "11001110010", "11001011100", "11001001110", "11011100100", "11001110100",   "11101101110",
    "11101001100", "11100101100", "11100100110", "11101100100", "11100110100",   "11100110010",
    "11011011000", "11011000110", "11000110110", "10100011000", "10001011000",   "10001000110",
    "10110001000", "10001101000", "10001100010", "11010001000", "11000101000",   "11000100010",
    "10110111000", "10110001110", "10001101110", "10111011000", "10111000110",   "10001110110",
    "11101110110", "11010001110", "11000101110", "11011101000", "11011100010",   "11011101110",
    "11101011000", "11101000110", "11100010110", "11101101000", "11101100010",   "11100011010",
    "11101111010", "11001000010", "11110001010", "10100110000", "10100001100",   "10010110000",
    "10010000110", "10000101100", "10000100110", "10110010000", "10110000100",   "10011010000",
    "10011000010", "10000110100", "10000110010", "11000010010", "11001010000",   "11110111010",
    "11000010100", "10001111010", "10100111100", "10010111100", "10010011110",   "10111100100",
    "10011110100", "10011110010", "11110100100", "11110010100", "11110010010",   "11011011110",
    "11011110110", "11110110110", "10101111000", "10100011110", "10001011110",   "10111101000",
    "10111100010", "11110101000", "11110100010", "10111011110", "10111101110",   "11101011110",
    "11110101110", "11010000100", "11010010000", "11010011100", "1100011101011",
};

struct KeyedPattern
{
    char key;
    const char *modules;
};

// Code 93 characters by value, 0 to 42, then the four shift characters (43-46)
// under the keys the encoder gives them.
const KeyedPattern kCode93[] = {
    {'0', "100010100"}, {'1', "101001000"}, {'2', "101000100"}, {'3', "101000010"},
    {'4', "100101000"}, {'5', "100100100"}, {'6', "100100010"}, {'7', "101010000"},
    {'8', "100010010"}, {'9', "100001010"}, {'A', "110101000"}, {'B', "110100100"},
    {'C', "110100010"}, {'D', "110010100"}, {'E', "110010010"}, {'F', "110001010"},
    {'G', "101101000"}, {'H', "101100100"}, {'I', "101100010"}, {'J', "100110100"},
    {'K', "100011010"}, {'L', "101011000"}, {'M', "101001100"}, {'N', "101000110"},
    {'O', "100101100"}, {'P', "100010110"}, {'Q', "110110100"}, {'R', "110110010"},
    {'S', "110101100"}, {'T', "110100110"}, {'U', "110010110"}, {'V', "110011010"},
    {'W', "101101100"}, {'X', "101100110"}, {'Y', "100110110"}, {'Z', "100111010"},
    {'-', "100101110"}, {'.', "111010100"}, {' ', "111010010"}, {'$', "111001010"},
    {'/', "101101110"}, {'+', "101110110"}, {'%', "110101110"}, {'!', "100100110"},
    {'#', "111011010"}, {'&', "111010110"}, {'@', "100110010"},
};

// Codabar: narrow bar 1 module, wide bar 3, narrow space 2, wide space 4.
const KeyedPattern kCodabar[] = {
    {'0', "10010010000111"},   {'1', "10010011100001"},   {'2', "10010000100111"},
    {'3', "11100001001001"},   {'4', "10011100100001"},   {'5', "11100100100001"},
    {'6', "10000100100111"},   {'7', "10000100111001"},   {'8', "10000111001001"},
    {'9', "11100100001001"},   {'-', "10010000111001"},   {'$', "10011100001001"},
    {':', "1110010011100111"}, {'/', "1110011100100111"}, {'.', "1110011100111001"},
    {'+', "1001110011100111"}, {'A', "1001110000100001"}, {'B', "1000010000100111"},
    {'C', "1001000010000111"}, {'D', "1001000011100001"},
};

// Code 39: narrow element 1 module, wide 2; "=" is the space character.
const KeyedPattern kCode39[] = {
    {'0', "101001101101"}, {'1', "110100101011"}, {'2', "101100101011"}, {'3', "110110010101"},
    {'4', "101001101011"}, {'5', "110100110101"}, {'6', "101100110101"}, {'7', "101001011011"},
    {'8', "110100101101"}, {'9', "101100101101"}, {'A', "110101001011"}, {'B', "101101001011"},
    {'C', "110110100101"}, {'D', "101011001011"}, {'E', "110101100101"}, {'F', "101101100101"},
    {'G', "101010011011"}, {'H', "110101001101"}, {'I', "101101001101"}, {'J', "101011001101"},
    {'K', "110101010011"}, {'L', "101101010011"}, {'M', "110110101001"}, {'N', "101011010011"},
    {'O', "110101101001"}, {'P', "101101101001"}, {'Q', "101010110011"}, {'R', "110101011001"},
    {'S', "101101011001"}, {'T', "101011011001"}, {'U', "110010101011"}, {'V', "100110101011"},
    {'W', "110011010101"}, {'X', "100101101011"}, {'Y', "110010110101"}, {'Z', "100110110101"},
    {'-', "100101011011"}, {'.', "110010101101"}, {'=', "100110101101"}, {'$', "100100100101"},
    {'/', "100100101001"}, {'+', "100101001001"}, {'%', "101001001001"}, {'*', "100101101101"},
};

template<int Slots> SymbolRecord<Slots> record(uint8_t key, const char *modules, int label)
{
    SymbolRecord<Slots> r;
    r.key = key;
    const int n = int(std::strlen(modules));
    r.moduleCount = uint8_t(n);
    for (int i = 0; i < n && i < Slots; ++i)
        r.modules[i] = modules[i] == '1' ? 1 : 0;
    r.label = int8_t(label);
    return r;
}

// A row that only reserves room: `count` blank modules.
SymbolRecord<kEanSlots> blankRecord(uint8_t key, int count, int label)
{
    SymbolRecord<kEanSlots> r;
    r.key = key;
    r.moduleCount = uint8_t(count);
    r.label = int8_t(label);
    return r;
}

SymbolListRecord listRecord(uint8_t key, const char *modules, uint8_t label)
{
    SymbolListRecord r;
    r.key = key;
    for (const char *p = modules; *p; ++p)
        r.modules.append(*p == '1' ? 1 : 0);
    r.moduleCount = uint8_t(r.modules.size());
    r.label = label;
    return r;
}

void fillEan()
{
    auto &t = eanSymbolMap;
    t.append(record<kEanSlots>(' ', "0000000", -1));
    t.append(record<kEanSlots>('!', "01", -1));
    t.append(record<kEanSlots>('(', "101", -2));
    t.append(record<kEanSlots>('*', "01010", -2));
    t.append(record<kEanSlots>('+', "1011", -1));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t('0' + d), kEanSetA[d], d));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t('A' + d), kEanSetB[d], d));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t('K' + d), kEanSetC[d], d));
    for (int d = 0; d < 5; ++d)
        t.append(blankRecord(uint8_t('U' + d), 13, d));
    for (int d = 5; d < 10; ++d)
        t.append(blankRecord(uint8_t('u' + d - 5), 13, d));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t('a' + d), kEanSetA[d], -2));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t('k' + d), kEanSetC[d], -2));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t(kAddOnKeysA[d]), kEanSetA[d], d));
    for (int d = 0; d < 10; ++d)
        t.append(record<kEanSlots>(uint8_t(kAddOnKeysB[d]), kEanSetB[d], d));
}

void fillMsi()
{
    msiSymbolMap.append(record<kMsiSlots>('(', "110", -1));
    for (int d = 0; d < 10; ++d) {
        char modules[13] = {};
        for (int bit = 0; bit < 4; ++bit)
            std::memcpy(modules + 3 * bit, (d >> (3 - bit)) & 1 ? "110" : "100", 3);
        msiSymbolMap.append(record<kMsiSlots>(uint8_t('0' + d), modules, d));
    }
    msiSymbolMap.append(record<kMsiSlots>(')', "1001", -1));
}

void fillPostnet()
{
    postnetSymbolMap.append(record<kPostnetSlots>('(', "1", -1));
    postnetSymbolMap.append(record<kPostnetSlots>(')', "1", -1));
    for (int d = 0; d < 10; ++d)
        postnetSymbolMap.append(record<kPostnetSlots>(uint8_t('0' + d), kPostnet[d], -1));
}

void fillCode128()
{
    for (int key = 32; key <= 127; ++key)
        code128SymbolMap.append(
            record<kCode128Slots>(uint8_t(key), kCode128Patterns[key - 32], key));
    code128SymbolMap.append(record<kCode128Slots>(194, kCode128Patterns[0], ' '));
    // Code-set switches, function, start and stop characters print nothing.
    for (int key = 195; key <= 206; ++key)
        code128SymbolMap.append(
            record<kCode128Slots>(uint8_t(key), kCode128Patterns[key - 100], 0));
}

void fillCode93()
{
    // The data space has the key "=" and the check space the key " ".
    static const char kOrder[] = "$%+-./0123456789= ABCDEFGHIJKLMNOPQRSTUVWXYZ!#&@";
    for (const char *key = kOrder; *key; ++key) {
        const char source = *key == '=' ? ' ' : *key;
        const auto *p = std::find_if(std::begin(kCode93), std::end(kCode93),
                                     [source](const KeyedPattern &k) { return k.key == source; });
        char label = *key;
        switch (*key) {
        case '=':
            label = ' ';
            break;
        case '!':
            label = '$';
            break;
        case '#':
            label = '%';
            break;
        case '&':
            label = '/';
            break;
        case '@':
            label = '+';
            break;
        }
        code93SymbolMap.append(record<kCode93Slots>(uint8_t(*key), p->modules, label));
    }
    code93SymbolMap.append(record<kCode93Slots>('(', "101011110", 0));
    code93SymbolMap.append(record<kCode93Slots>(')', "1010111101", 0));
}

void fillCodabar()
{
    for (const KeyedPattern &p : kCodabar)
        codabarSymbolMap.append(listRecord(uint8_t(p.key), p.modules, uint8_t(p.key)));
}

void fillCode39()
{
    for (const KeyedPattern &p : kCode39) {
        const bool blankLabel = p.key == '=' || p.key == '*';
        code39SymbolMap.append(listRecord(uint8_t(p.key), p.modules, blankLabel ? ' ' : p.key));
    }
}

} // namespace

void initializeSymbolMap()
{
    eanSymbolMap.clear();
    msiSymbolMap.clear();
    postnetSymbolMap.clear();
    code128SymbolMap.clear();
    code93SymbolMap.clear();
    codabarSymbolMap.clear();
    code39SymbolMap.clear();

    fillEan();
    fillMsi();
    fillPostnet();
    fillCode128();
    fillCode93();
    fillCodabar();
    fillCode39();
}
