#include "symbols/qrencode.h"

#include <cstring>

namespace {

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1.
struct GaloisField
{
    unsigned char exp[256];
    unsigned char log[256];

    constexpr GaloisField()
        : exp()
        , log()
    {
        int value = 1;
        for (int i = 0; i < 255; ++i) {
            exp[i] = static_cast<unsigned char>(value);
            log[value] = static_cast<unsigned char>(i);
            value <<= 1;
            if (value & 0x100)
                value ^= 0x11D;
        }
        exp[255] = exp[0];
    }

    constexpr unsigned char multiply(unsigned char a, unsigned char b) const
    {
        if (a == 0 || b == 0)
            return 0;
        return exp[(log[a] + log[b]) % 255];
    }
};

constexpr GaloisField gf;

// Generator polynomial (x - a^0)(x - a^1)...(x - a^(n-1)) for every degree n a
// block can use, as exponents of its coefficients from x^(n-1) down to x^0 (the
// leading coefficient is 1 and not stored). None of these coefficients is 0.
struct GeneratorPolynomials
{
    static constexpr int MaxDegree = 30;
    unsigned char exponents[MaxDegree + 1][MaxDegree];

    constexpr GeneratorPolynomials()
        : exponents()
    {
        for (int degree = 1; degree <= MaxDegree; ++degree) {
            unsigned char coefficients[MaxDegree + 1] = {1};
            for (int i = 0; i < degree; ++i) {
                for (int k = i + 1; k >= 1; --k)
                    coefficients[k] ^= gf.multiply(coefficients[k - 1], gf.exp[i]);
            }
            for (int j = 0; j < degree; ++j)
                exponents[degree][j] = gf.log[coefficients[j + 1]];
        }
    }
};

constexpr GeneratorPolynomials generators;

// Character-count indicator lengths by mode (numeric, alphanumeric, byte,
// Kanji) and version group (1-9, 10-26, 27-40).
constexpr int countIndicatorBits[4][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}, {8, 10, 12}};

constexpr int modeIndicator[4] = {0x1, 0x2, 0x4, 0x8};

constexpr int groupFirstVersion[3] = {1, 10, 27};
constexpr int groupLastVersion[3] = {9, 26, 40};

// Numeric mode packs the most characters: no input longer than this fits
// version 40, so longer input is refused before any work.
constexpr int maxEncodableLength = 7089;

int versionGroup(int version)
{
    return version <= 9 ? 0 : (version <= 26 ? 1 : 2);
}

} // namespace

// Per version 1-40: total codewords, data codewords per level, alignment centres
// other than 6, and per level the two groups of Reed-Solomon blocks (count,
// codewords per block, data codewords per block).
// clang-format off
const CQR_Encode::VersionInfo CQR_Encode::s_versions[41] = {
    {0, 0, {0, 0, 0, 0}, 0, {0}, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}},
    {1, 26, {19, 16, 13, 9}, 0, {0},
     {{1, 26, 19, 0, 0, 0}, {1, 26, 16, 0, 0, 0}, {1, 26, 13, 0, 0, 0}, {1, 26, 9, 0, 0, 0}}},
    {2, 44, {34, 28, 22, 16}, 1, {18},
     {{1, 44, 34, 0, 0, 0}, {1, 44, 28, 0, 0, 0}, {1, 44, 22, 0, 0, 0}, {1, 44, 16, 0, 0, 0}}},
    {3, 70, {55, 44, 34, 26}, 1, {22},
     {{1, 70, 55, 0, 0, 0}, {1, 70, 44, 0, 0, 0}, {2, 35, 17, 0, 0, 0}, {2, 35, 13, 0, 0, 0}}},
    {4, 100, {80, 64, 48, 36}, 1, {26},
     {{1, 100, 80, 0, 0, 0}, {2, 50, 32, 0, 0, 0}, {2, 50, 24, 0, 0, 0}, {4, 25, 9, 0, 0, 0}}},
    {5, 134, {108, 86, 62, 46}, 1, {30},
     {{1, 134, 108, 0, 0, 0}, {2, 67, 43, 0, 0, 0}, {2, 33, 15, 2, 34, 16}, {2, 33, 11, 2, 34, 12}}},
    {6, 172, {136, 108, 76, 60}, 1, {34},
     {{2, 86, 68, 0, 0, 0}, {4, 43, 27, 0, 0, 0}, {4, 43, 19, 0, 0, 0}, {4, 43, 15, 0, 0, 0}}},
    {7, 196, {156, 124, 88, 66}, 2, {22, 38},
     {{2, 98, 78, 0, 0, 0}, {4, 49, 31, 0, 0, 0}, {2, 32, 14, 4, 33, 15}, {4, 39, 13, 1, 40, 14}}},
    {8, 242, {194, 154, 110, 86}, 2, {24, 42},
     {{2, 121, 97, 0, 0, 0}, {2, 60, 38, 2, 61, 39}, {4, 40, 18, 2, 41, 19}, {4, 40, 14, 2, 41, 15}}},
    {9, 292, {232, 182, 132, 100}, 2, {26, 46},
     {{2, 146, 116, 0, 0, 0}, {3, 58, 36, 2, 59, 37}, {4, 36, 16, 4, 37, 17}, {4, 36, 12, 4, 37, 13}}},
    {10, 346, {274, 216, 154, 122}, 2, {28, 50},
     {{2, 86, 68, 2, 87, 69}, {4, 69, 43, 1, 70, 44}, {6, 43, 19, 2, 44, 20}, {6, 43, 15, 2, 44, 16}}},
    {11, 404, {324, 254, 180, 140}, 2, {30, 54},
     {{4, 101, 81, 0, 0, 0}, {1, 80, 50, 4, 81, 51}, {4, 50, 22, 4, 51, 23}, {3, 36, 12, 8, 37, 13}}},
    {12, 466, {370, 290, 206, 158}, 2, {32, 58},
     {{2, 116, 92, 2, 117, 93}, {6, 58, 36, 2, 59, 37}, {4, 46, 20, 6, 47, 21}, {7, 42, 14, 4, 43, 15}}},
    {13, 532, {428, 334, 244, 180}, 2, {34, 62},
     {{4, 133, 107, 0, 0, 0}, {8, 59, 37, 1, 60, 38}, {8, 44, 20, 4, 45, 21}, {12, 33, 11, 4, 34, 12}}},
    {14, 581, {461, 365, 261, 197}, 3, {26, 46, 66},
     {{3, 145, 115, 1, 146, 116}, {4, 64, 40, 5, 65, 41}, {11, 36, 16, 5, 37, 17}, {11, 36, 12, 5, 37, 13}}},
    {15, 655, {523, 415, 295, 223}, 3, {26, 48, 70},
     {{5, 109, 87, 1, 110, 88}, {5, 65, 41, 5, 66, 42}, {5, 54, 24, 7, 55, 25}, {11, 36, 12, 7, 37, 13}}},
    {16, 733, {589, 453, 325, 253}, 3, {26, 50, 74},
     {{5, 122, 98, 1, 123, 99}, {7, 73, 45, 3, 74, 46}, {15, 43, 19, 2, 44, 20}, {3, 45, 15, 13, 46, 16}}},
    {17, 815, {647, 507, 367, 283}, 3, {30, 54, 78},
     {{1, 135, 107, 5, 136, 108}, {10, 74, 46, 1, 75, 47}, {1, 50, 22, 15, 51, 23}, {2, 42, 14, 17, 43, 15}}},
    {18, 901, {721, 563, 397, 313}, 3, {30, 56, 82},
     {{5, 150, 120, 1, 151, 121}, {9, 69, 43, 4, 70, 44}, {17, 50, 22, 1, 51, 23}, {2, 42, 14, 19, 43, 15}}},
    {19, 991, {795, 627, 445, 341}, 3, {30, 58, 86},
     {{3, 141, 113, 4, 142, 114}, {3, 70, 44, 11, 71, 45}, {17, 47, 21, 4, 48, 22}, {9, 39, 13, 16, 40, 14}}},
    {20, 1085, {861, 669, 485, 385}, 3, {34, 62, 90},
     {{3, 135, 107, 5, 136, 108}, {3, 67, 41, 13, 68, 42}, {15, 54, 24, 5, 55, 25}, {15, 43, 15, 10, 44, 16}}},
    {21, 1156, {932, 714, 512, 406}, 4, {28, 50, 72, 94},
     {{4, 144, 116, 4, 145, 117}, {17, 68, 42, 0, 0, 0}, {17, 50, 22, 6, 51, 23}, {19, 46, 16, 6, 47, 17}}},
    {22, 1258, {1006, 782, 568, 442}, 4, {26, 50, 74, 98},
     {{2, 139, 111, 7, 140, 112}, {17, 74, 46, 0, 0, 0}, {7, 54, 24, 16, 55, 25}, {34, 37, 13, 0, 0, 0}}},
    {23, 1364, {1094, 860, 614, 464}, 4, {30, 54, 78, 102},
     {{4, 151, 121, 5, 152, 122}, {4, 75, 47, 14, 76, 48}, {11, 54, 24, 14, 55, 25}, {16, 45, 15, 14, 46, 16}}},
    {24, 1474, {1174, 914, 664, 514}, 4, {28, 54, 80, 106},
     {{6, 147, 117, 4, 148, 118}, {6, 73, 45, 14, 74, 46}, {11, 54, 24, 16, 55, 25}, {30, 46, 16, 2, 47, 17}}},
    {25, 1588, {1276, 1000, 718, 538}, 4, {32, 58, 84, 110},
     {{8, 132, 106, 4, 133, 107}, {8, 75, 47, 13, 76, 48}, {7, 54, 24, 22, 55, 25}, {22, 45, 15, 13, 46, 16}}},
    {26, 1706, {1370, 1062, 754, 596}, 4, {30, 58, 86, 114},
     {{10, 142, 114, 2, 143, 115}, {19, 74, 46, 4, 75, 47}, {28, 50, 22, 6, 51, 23}, {33, 46, 16, 4, 47, 17}}},
    {27, 1828, {1468, 1128, 808, 628}, 4, {34, 62, 90, 118},
     {{8, 152, 122, 4, 153, 123}, {22, 73, 45, 3, 74, 46}, {8, 53, 23, 26, 54, 24}, {12, 45, 15, 28, 46, 16}}},
    {28, 1921, {1531, 1193, 871, 661}, 5, {26, 50, 74, 98, 122},
     {{3, 147, 117, 10, 148, 118}, {3, 73, 45, 23, 74, 46}, {4, 54, 24, 31, 55, 25}, {11, 45, 15, 31, 46, 16}}},
    {29, 2051, {1631, 1267, 911, 701}, 5, {30, 54, 78, 102, 126},
     {{7, 146, 116, 7, 147, 117}, {21, 73, 45, 7, 74, 46}, {1, 53, 23, 37, 54, 24}, {19, 45, 15, 26, 46, 16}}},
    {30, 2185, {1735, 1373, 985, 745}, 5, {26, 52, 78, 104, 130},
     {{5, 145, 115, 10, 146, 116}, {19, 75, 47, 10, 76, 48}, {15, 54, 24, 25, 55, 25}, {23, 45, 15, 25, 46, 16}}},
    {31, 2323, {1843, 1455, 1033, 793}, 5, {30, 56, 82, 108, 134},
     {{13, 145, 115, 3, 146, 116}, {2, 74, 46, 29, 75, 47}, {42, 54, 24, 1, 55, 25}, {23, 45, 15, 28, 46, 16}}},
    {32, 2465, {1955, 1541, 1115, 845}, 5, {34, 60, 86, 112, 138},
     {{17, 145, 115, 0, 0, 0}, {10, 74, 46, 23, 75, 47}, {10, 54, 24, 35, 55, 25}, {19, 45, 15, 35, 46, 16}}},
    {33, 2611, {2071, 1631, 1171, 901}, 5, {30, 58, 86, 114, 142},
     {{17, 145, 115, 1, 146, 116}, {14, 74, 46, 21, 75, 47}, {29, 54, 24, 19, 55, 25}, {11, 45, 15, 46, 46, 16}}},
    {34, 2761, {2191, 1725, 1231, 961}, 5, {34, 62, 90, 118, 146},
     {{13, 145, 115, 6, 146, 116}, {14, 74, 46, 23, 75, 47}, {44, 54, 24, 7, 55, 25}, {59, 46, 16, 1, 47, 17}}},
    {35, 2876, {2306, 1812, 1286, 986}, 6, {30, 54, 78, 102, 126, 150},
     {{12, 151, 121, 7, 152, 122}, {12, 75, 47, 26, 76, 48}, {39, 54, 24, 14, 55, 25}, {22, 45, 15, 41, 46, 16}}},
    {36, 3034, {2434, 1914, 1354, 1054}, 6, {24, 50, 76, 102, 128, 154},
     {{6, 151, 121, 14, 152, 122}, {6, 75, 47, 34, 76, 48}, {46, 54, 24, 10, 55, 25}, {2, 45, 15, 64, 46, 16}}},
    {37, 3196, {2566, 1992, 1426, 1096}, 6, {28, 54, 80, 106, 132, 158},
     {{17, 152, 122, 4, 153, 123}, {29, 74, 46, 14, 75, 47}, {49, 54, 24, 10, 55, 25}, {24, 45, 15, 46, 46, 16}}},
    {38, 3362, {2702, 2102, 1502, 1142}, 6, {32, 58, 84, 110, 136, 162},
     {{4, 152, 122, 18, 153, 123}, {13, 74, 46, 32, 75, 47}, {48, 54, 24, 14, 55, 25}, {42, 45, 15, 32, 46, 16}}},
    {39, 3532, {2812, 2216, 1582, 1222}, 6, {26, 54, 82, 110, 138, 166},
     {{20, 147, 117, 4, 148, 118}, {40, 75, 47, 7, 76, 48}, {43, 54, 24, 22, 55, 25}, {10, 45, 15, 67, 46, 16}}},
    {40, 3706, {2956, 2334, 1666, 1276}, 6, {30, 58, 86, 114, 142, 170},
     {{19, 148, 118, 6, 149, 119}, {18, 75, 47, 31, 76, 48}, {34, 54, 24, 34, 55, 25}, {20, 45, 15, 61, 46, 16}}},
};
// clang-format on

bool CQR_Encode::EncodeData(int level, int version, bool autoExtent, int mask, const char *data,
                            int length, bool allowKanji)
{
    if (!data || level < LevelL || level > LevelH || version < 0 || version > MaxVersion
        || mask < -1 || mask > 7)
        return false;
    if (length < 1)
        length = static_cast<int>(std::strlen(data));
    if (length < 1 || length > maxEncodableLength)
        return false;

    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    m_level = level;
    m_maskNumber = mask;
    m_allowKanji = allowKanji;

    const int fitting = GetEncodeVersion(version, bytes, length);
    if (fitting == 0)
        return false;
    if (version == 0)
        m_version = fitting;
    else if (version >= fitting)
        m_version = version;
    else if (autoExtent)
        m_version = fitting;
    else
        return false;

    // The bit stream was last built for the group of the version found, which
    // is also the group of the version used (a larger version asked for lies in
    // the group the search started in).
    m_codewordCount = s_versions[m_version].totalCodewords;
    padDataCodewords();
    interleaveCodewords();

    m_symbolSize = m_version * 4 + 17;
    FormatModule();
    return true;
}

int CQR_Encode::GetEncodeVersion(int version, const unsigned char *data, int length)
{
    for (int group = versionGroup(version); group < 3; ++group) {
        if (!EncodeSourceData(data, length, group))
            continue;
        const int need = (m_dataBitCount + 7) / 8;
        for (int v = groupFirstVersion[group]; v <= groupLastVersion[group]; ++v) {
            if (s_versions[v].dataCodewords[m_level] >= need)
                return v;
        }
    }
    return 0;
}

bool CQR_Encode::classifyAndMerge(const unsigned char *data, int length, int versionGroup)
{
    m_segmentCount = 0;
    for (int i = 0; i < length;) {
        int mode;
        int size = 1;
        if (m_allowKanji && i + 1 < length && IsHanjiData(data[i], data[i + 1])) {
            mode = ModeKanji;
            size = 2;
        } else if (IsNumeralData(data[i])) {
            mode = ModeNumeric;
        } else if (IsAlphabetData(data[i])) {
            mode = ModeAlphanumeric;
        } else {
            mode = ModeByte;
        }
        if (m_segmentCount == 0 || m_segmentModes[m_segmentCount - 1] != mode) {
            if (m_segmentCount == MaxSegments)
                return false;
            m_segmentModes[m_segmentCount] = static_cast<unsigned char>(mode);
            m_segmentLengths[m_segmentCount] = 0;
            ++m_segmentCount;
        }
        m_segmentLengths[m_segmentCount - 1] += size;
        i += size;
    }

    auto cost = [versionGroup](int mode, int len) {
        return GetBitLength(mode, len, versionGroup);
    };

    // Short numeric runs inside alphanumeric text cost less as part of it.
    for (int j = 0; j + 1 < m_segmentCount;) {
        const int modeA = m_segmentModes[j];
        const int modeB = m_segmentModes[j + 1];
        if (!((modeA == ModeNumeric && modeB == ModeAlphanumeric)
              || (modeA == ModeAlphanumeric && modeB == ModeNumeric))) {
            ++j;
            continue;
        }
        const int lengthA = m_segmentLengths[j];
        const int lengthB = m_segmentLengths[j + 1];
        const int separate = cost(modeA, lengthA) + cost(modeB, lengthB);
        const int joined = cost(ModeAlphanumeric, lengthA + lengthB);
        if (joined >= separate) {
            ++j;
            continue;
        }

        bool before = segmentMode(j - 1) == ModeByte;
        int beforeCost = 0;
        if (before) {
            const int h = m_segmentLengths[j - 1];
            beforeCost = cost(modeB, lengthB) + cost(ModeByte, h + lengthA);
            if (cost(ModeByte, h) + joined < beforeCost)
                before = false;
        }
        bool after = segmentMode(j + 2) == ModeByte;
        int afterCost = 0;
        if (after) {
            const int e = m_segmentLengths[j + 2];
            afterCost = cost(modeA, lengthA) + cost(ModeByte, lengthB + e);
            if (cost(ModeByte, e) + joined < afterCost)
                after = false;
        }

        if (before && (!after || beforeCost < afterCost)) {
            m_segmentLengths[j - 1] += lengthA;
            removeSegment(j);
        } else if (after) {
            m_segmentModes[j + 1] = ModeByte;
            m_segmentLengths[j + 1] += m_segmentLengths[j + 2];
            removeSegment(j + 2);
        } else {
            if (segmentMode(j + 2) == ModeAlphanumeric) {
                m_segmentLengths[j + 1] += m_segmentLengths[j + 2];
                removeSegment(j + 2);
            }
            m_segmentModes[j] = ModeAlphanumeric;
            m_segmentLengths[j] += m_segmentLengths[j + 1];
            removeSegment(j + 1);
            if (segmentMode(j - 1) == ModeAlphanumeric) {
                m_segmentLengths[j - 1] += m_segmentLengths[j];
                removeSegment(j);
            }
        }
    }

    // Then neighbours whose two headers cost more than spelling both as bytes.
    const int byteHeader = 4 + countIndicatorBits[ModeByte][versionGroup];
    for (int p = 0; p + 1 < m_segmentCount;) {
        const int lengthX = m_segmentLengths[p];
        const int lengthY = m_segmentLengths[p + 1];
        const int separate
            = cost(m_segmentModes[p], lengthX) + cost(m_segmentModes[p + 1], lengthY);
        int merged = cost(ModeByte, lengthX + lengthY);
        if (segmentMode(p - 1) == ModeByte)
            merged = 8 * (lengthX + lengthY);
        if (segmentMode(p + 2) == ModeByte)
            merged -= byteHeader;
        if (merged >= separate) {
            ++p;
            continue;
        }
        if (segmentMode(p - 1) == ModeByte) {
            m_segmentLengths[p - 1] += m_segmentLengths[p];
            removeSegment(p);
            --p;
        }
        if (segmentMode(p + 2) == ModeByte) {
            m_segmentLengths[p + 1] += m_segmentLengths[p + 2];
            removeSegment(p + 2);
        }
        m_segmentModes[p] = ModeByte;
        m_segmentLengths[p] += m_segmentLengths[p + 1];
        removeSegment(p + 1);
        if (p > 0)
            --p;
    }
    return true;
}

bool CQR_Encode::EncodeSourceData(const unsigned char *data, int length, int versionGroup)
{
    std::memset(m_dataCodewords, 0, sizeof(m_dataCodewords));
    m_dataBitCount = -1;
    if (!classifyAndMerge(data, length, versionGroup))
        return false;

    int bit = 0;
    const unsigned char *p = data;
    for (int s = 0; s < m_segmentCount && bit != -1; ++s) {
        const int mode = m_segmentModes[s];
        const int len = m_segmentLengths[s];
        const int count = mode == ModeKanji ? len / 2 : len;
        const int countBits = countIndicatorBits[mode][versionGroup];
        // A count the indicator cannot hold cannot fit this group anyway.
        if (count >= (1 << countBits))
            return false;
        bit = SetBitStream(bit, static_cast<unsigned short>(modeIndicator[mode]), 4);
        bit = SetBitStream(bit, static_cast<unsigned short>(count), countBits);

        switch (mode) {
        case ModeNumeric:
            for (int i = 0; i < len && bit != -1; i += 3) {
                const int digits = len - i < 3 ? len - i : 3;
                int value = 0;
                for (int k = 0; k < digits; ++k)
                    value = value * 10 + (p[i + k] - '0');
                bit = SetBitStream(bit, static_cast<unsigned short>(value),
                                   digits == 3 ? 10 : (digits == 2 ? 7 : 4));
            }
            break;
        case ModeAlphanumeric:
            for (int i = 0; i < len && bit != -1; i += 2) {
                if (i + 1 < len) {
                    const int value = AlphabetToBinaly(p[i]) * 45 + AlphabetToBinaly(p[i + 1]);
                    bit = SetBitStream(bit, static_cast<unsigned short>(value), 11);
                } else {
                    bit = SetBitStream(bit, AlphabetToBinaly(p[i]), 6);
                }
            }
            break;
        case ModeByte:
            for (int i = 0; i < len && bit != -1; ++i)
                bit = SetBitStream(bit, p[i], 8);
            break;
        case ModeKanji:
            for (int i = 0; i + 1 < len && bit != -1; i += 2) {
                const auto code = static_cast<unsigned short>((p[i] << 8) | p[i + 1]);
                bit = SetBitStream(bit, KanjiToBinaly(code), 13);
            }
            break;
        }
        p += len;
    }
    m_dataBitCount = bit;
    return bit != -1;
}

int CQR_Encode::segmentMode(int index) const
{
    return index >= 0 && index < m_segmentCount ? m_segmentModes[index] : -1;
}

void CQR_Encode::removeSegment(int index)
{
    for (int k = index; k + 1 < m_segmentCount; ++k) {
        m_segmentModes[k] = m_segmentModes[k + 1];
        m_segmentLengths[k] = m_segmentLengths[k + 1];
    }
    --m_segmentCount;
}

int CQR_Encode::GetBitLength(int mode, int length, int versionGroup)
{
    const int header = 4 + countIndicatorBits[mode][versionGroup];
    switch (mode) {
    case ModeNumeric:
        return header + 10 * (length / 3) + (length % 3 == 1 ? 4 : (length % 3 == 2 ? 7 : 0));
    case ModeAlphanumeric:
        return header + 11 * (length / 2) + 6 * (length % 2);
    case ModeByte:
        return header + 8 * length;
    default:
        return header + 13 * (length / 2);
    }
}

int CQR_Encode::SetBitStream(int index, unsigned short value, int bitCount)
{
    if (index == -1 || index + bitCount > MaxDataBits)
        return -1;
    for (int i = bitCount - 1; i >= 0; --i, ++index) {
        if (value & (1u << i))
            m_dataCodewords[index >> 3] |= static_cast<unsigned char>(0x80 >> (index & 7));
    }
    return index;
}

bool CQR_Encode::IsNumeralData(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool CQR_Encode::IsAlphabetData(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '$' || c == '%'
        || c == '*' || c == '+' || c == '-' || c == '.' || c == '/' || c == ':';
}

bool CQR_Encode::IsHanjiData(unsigned char c1, unsigned char c2)
{
    // Only genuine double-byte Shift JIS codes inside the two ranges Kanji mode
    // can represent (0x8140-0x9FFC and 0xE040-0xEBBF); anything else would
    // come back from a decoder as a different character.
    if (c2 < 0x40 || c2 == 0x7F || c2 > 0xFC)
        return false;
    if (c1 >= 0x81 && c1 <= 0x9F)
        return true;
    if (c1 >= 0xE0 && c1 <= 0xEA)
        return true;
    return c1 == 0xEB && c2 <= 0xBF;
}

unsigned char CQR_Encode::AlphabetToBinaly(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned char>(c - '0');
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c - 'A' + 10);
    switch (c) {
    case ' ':
        return 36;
    case '$':
        return 37;
    case '%':
        return 38;
    case '*':
        return 39;
    case '+':
        return 40;
    case '-':
        return 41;
    case '.':
        return 42;
    case '/':
        return 43;
    default:
        return 44; // ':'
    }
}

unsigned short CQR_Encode::KanjiToBinaly(unsigned short code)
{
    const int w = code <= 0x9FFC ? code - 0x8140 : code - 0xC140;
    return static_cast<unsigned short>((w >> 8) * 0xC0 + (w & 0xFF));
}

void CQR_Encode::padDataCodewords()
{
    const int capacity = s_versions[m_version].dataCodewords[m_level];
    int bits = m_dataBitCount;
    // The stream was zeroed before it was written, so terminator and the fill
    // to a whole byte are zero bits already there.
    if (bits < capacity * 8)
        bits += capacity * 8 - bits < 4 ? capacity * 8 - bits : 4;
    const int used = (bits + 7) / 8;
    unsigned char pad = 0xEC;
    for (int i = used; i < capacity; ++i) {
        m_dataCodewords[i] = pad;
        pad = pad == 0xEC ? 0x11 : 0xEC;
    }
}

void CQR_Encode::GetRSCodeWord(unsigned char *work, int dataCount, int ecCount)
{
    const unsigned char *generator = generators.exponents[ecCount];
    const int span = dataCount + ecCount;
    for (int i = 0; i < dataCount; ++i) {
        const unsigned char lead = work[0];
        if (lead != 0) {
            const int e = gf.log[lead];
            for (int j = 0; j < ecCount; ++j)
                work[j + 1] ^= gf.exp[(generator[j] + e) % 255];
        }
        std::memmove(work, work + 1, static_cast<size_t>(span - 1));
        work[span - 1] = 0;
    }
}

void CQR_Encode::interleaveCodewords()
{
    const BlockInfo &info = s_versions[m_version].blocks[m_level];
    const int blockCount = info.count1 + info.count2;
    const int ecCount = info.codewords1 - info.data1;
    const int dataTotal = s_versions[m_version].dataCodewords[m_level];
    const int longest = info.count2 ? info.data2 : info.data1;

    int out = 0;
    for (int i = 0; i < longest; ++i) {
        int start = 0;
        for (int b = 0; b < blockCount; ++b) {
            const int blockData = b < info.count1 ? info.data1 : info.data2;
            if (i < blockData)
                m_codewords[out++] = m_dataCodewords[start + i];
            start += blockData;
        }
    }

    int start = 0;
    for (int b = 0; b < blockCount; ++b) {
        const int blockData = b < info.count1 ? info.data1 : info.data2;
        std::memset(m_rsWork, 0, sizeof(m_rsWork));
        std::memcpy(m_rsWork, m_dataCodewords + start, static_cast<size_t>(blockData));
        GetRSCodeWord(m_rsWork, blockData, ecCount);
        for (int i = 0; i < ecCount; ++i)
            m_codewords[dataTotal + i * blockCount + b] = m_rsWork[i];
        start += blockData;
    }
}

void CQR_Encode::FormatModule()
{
    std::memset(m_modules, 0, sizeof(m_modules));
    SetFunctionModule();
    SetCodeWordPattern();

    if (m_maskNumber == -1) {
        int best = 0;
        int bestPenalty = 0;
        for (int mask = 0; mask < 8; ++mask) {
            SetMaskingPattern(mask);
            SetFormatInfoPattern(mask);
            const int penalty = CountPenalty();
            if (mask == 0 || penalty < bestPenalty) {
                best = mask;
                bestPenalty = penalty;
            }
        }
        m_maskNumber = best;
    }
    SetMaskingPattern(m_maskNumber);
    SetFormatInfoPattern(m_maskNumber);

    for (int x = 0; x < m_symbolSize; ++x) {
        for (int y = 0; y < m_symbolSize; ++y)
            m_modules[x][y] = isDark(x, y) ? 1 : 0;
    }
}

void CQR_Encode::SetFunctionModule()
{
    const int size = m_symbolSize;
    SetFinderPattern(0, 0);
    SetFinderPattern(size - 7, 0);
    SetFinderPattern(0, size - 7);

    // Format information areas, light until the mask is known. (8, 6) and
    // (6, 8) belong to the timing patterns.
    for (int i = 0; i <= 8; ++i) {
        if (i == 6)
            continue;
        m_modules[8][i] = 0x20;
        m_modules[i][8] = 0x20;
    }
    for (int i = 0; i < 8; ++i) {
        m_modules[size - 1 - i][8] = 0x20;
        m_modules[8][size - 1 - i] = 0x20;
    }

    SetVersionPattern();

    // Alignment patterns go in before the timing patterns: several centres lie
    // on row or column 6 and must not be taken for occupied.
    const VersionInfo &info = s_versions[m_version];
    int centres[7] = {6};
    const int centreCount = info.alignmentCount + (m_version > 1 ? 1 : 0);
    for (int i = 0; i < info.alignmentCount; ++i)
        centres[i + 1] = info.alignment[i];
    for (int i = 0; i < centreCount; ++i) {
        for (int j = 0; j < centreCount; ++j) {
            if (!(m_modules[centres[i]][centres[j]] & 0x20))
                SetAlignmentPattern(centres[i], centres[j]);
        }
    }

    for (int i = 8; i <= size - 9; ++i) {
        const unsigned char value = (i % 2 == 0) ? 0x30 : 0x20;
        if (!(m_modules[i][6] & 0x20))
            m_modules[i][6] = value;
        if (!(m_modules[6][i] & 0x20))
            m_modules[6][i] = value;
    }

    m_modules[8][size - 8] = 0x30;
}

void CQR_Encode::SetFinderPattern(int x, int y)
{
    // The 7 x 7 pattern with its one-module light separator, clipped at the
    // symbol's edges.
    for (int dy = -1; dy <= 7; ++dy) {
        for (int dx = -1; dx <= 7; ++dx) {
            const int mx = x + dx;
            const int my = y + dy;
            if (mx < 0 || my < 0 || mx >= m_symbolSize || my >= m_symbolSize)
                continue;
            const int ax = dx < 3 ? 3 - dx : dx - 3;
            const int ay = dy < 3 ? 3 - dy : dy - 3;
            const int ring = ax > ay ? ax : ay;
            m_modules[mx][my] = (ring == 2 || ring == 4) ? 0x20 : 0x30;
        }
    }
}

void CQR_Encode::SetAlignmentPattern(int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int ax = dx < 0 ? -dx : dx;
            const int ay = dy < 0 ? -dy : dy;
            const int ring = ax > ay ? ax : ay;
            m_modules[x + dx][y + dy] = ring == 1 ? 0x20 : 0x30;
        }
    }
}

void CQR_Encode::SetVersionPattern()
{
    if (m_version < 7)
        return;
    int remainder = m_version;
    for (int i = 0; i < 12; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 11) * 0x1F25);
    const int bits = (m_version << 12) | remainder;
    for (int i = 0; i < 18; ++i) {
        const unsigned char value = ((bits >> i) & 1) ? 0x30 : 0x20;
        const int a = m_symbolSize - 11 + i % 3;
        const int b = i / 3;
        m_modules[a][b] = value;
        m_modules[b][a] = value;
    }
}

void CQR_Encode::SetCodeWordPattern()
{
    const int size = m_symbolSize;
    const int bitCount = m_codewordCount * 8;
    int index = 0;
    for (int right = size - 1; right >= 1; right -= 2) {
        if (right == 6)
            right = 5;
        const bool upward = ((right + 1) & 2) == 0;
        for (int vert = 0; vert < size; ++vert) {
            const int y = upward ? size - 1 - vert : vert;
            for (int j = 0; j < 2; ++j) {
                const int x = right - j;
                if (m_modules[x][y] & 0x20)
                    continue;
                if (index < bitCount) {
                    if ((m_codewords[index >> 3] >> (7 - (index & 7))) & 1)
                        m_modules[x][y] = 0x02;
                    ++index;
                }
            }
        }
    }
}

namespace {

// Whether mask n inverts the module in row i, column j.
template<int n> inline bool maskInverts(int i, int j)
{
    switch (n) {
    case 0:
        return (i + j) % 2 == 0;
    case 1:
        return i % 2 == 0;
    case 2:
        return j % 3 == 0;
    case 3:
        return (i + j) % 3 == 0;
    case 4:
        return (i / 2 + j / 3) % 2 == 0;
    case 5:
        return (i * j) % 2 + (i * j) % 3 == 0;
    case 6:
        return ((i * j) % 2 + (i * j) % 3) % 2 == 0;
    default:
        return ((i * j) % 3 + (i + j) % 2) % 2 == 0;
    }
}

template<int n> void applyMask(unsigned char (*modules)[CQR_Encode::MaxSymbolSize], int size)
{
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            unsigned char &module = modules[x][y];
            if (module & 0x20)
                continue;
            const bool dark = ((module & 0x02) != 0) != maskInverts<n>(y, x);
            module = static_cast<unsigned char>((module & 0x02) | (dark ? 0x01 : 0x00));
        }
    }
}

} // namespace

void CQR_Encode::SetMaskingPattern(int mask)
{
    // The masked bit is always derived from the unmasked one, so masks never
    // accumulate.
    switch (mask) {
    case 0:
        applyMask<0>(m_modules, m_symbolSize);
        break;
    case 1:
        applyMask<1>(m_modules, m_symbolSize);
        break;
    case 2:
        applyMask<2>(m_modules, m_symbolSize);
        break;
    case 3:
        applyMask<3>(m_modules, m_symbolSize);
        break;
    case 4:
        applyMask<4>(m_modules, m_symbolSize);
        break;
    case 5:
        applyMask<5>(m_modules, m_symbolSize);
        break;
    case 6:
        applyMask<6>(m_modules, m_symbolSize);
        break;
    default:
        applyMask<7>(m_modules, m_symbolSize);
        break;
    }
}

void CQR_Encode::SetFormatInfoPattern(int mask)
{
    static const int levelBits[4] = {1, 0, 3, 2};
    const int data = (levelBits[m_level] << 3) | mask;
    int remainder = data;
    for (int i = 0; i < 10; ++i)
        remainder = (remainder << 1) ^ ((remainder >> 9) * 0x537);
    const int bits = ((data << 10) | remainder) ^ 0x5412;
    const int size = m_symbolSize;
    auto value = [bits](int i) -> unsigned char {
        return ((bits >> i) & 1) ? 0x30 : 0x20;
    };

    for (int i = 0; i <= 5; ++i)
        m_modules[8][i] = value(i);
    m_modules[8][7] = value(6);
    m_modules[8][8] = value(7);
    m_modules[7][8] = value(8);
    for (int i = 9; i < 15; ++i)
        m_modules[14 - i][8] = value(i);

    for (int i = 0; i < 8; ++i)
        m_modules[size - 1 - i][8] = value(i);
    for (int i = 8; i < 15; ++i)
        m_modules[8][size - 15 + i] = value(i);
    m_modules[8][size - 8] = 0x30;
}

int CQR_Encode::CountPenalty() const
{
    const int size = m_symbolSize;
    int penalty = 0;

    // One byte per module, 1 for dark, column by column as in m_modules. Every
    // rule treats rows and columns alike, so the scans below need not care
    // which way the grid lies.
    unsigned char grid[MaxSymbolSize * MaxSymbolSize];
    int darkCount = 0;
    for (int x = 0; x < size; ++x) {
        const unsigned char *column = m_modules[x];
        unsigned char *out = grid + x * size;
        for (int y = 0; y < size; ++y) {
            out[y] = (column[y] & 0x11) ? 1 : 0;
            darkCount += out[y];
        }
    }

    // Runs of five or more modules of one colour, and finder-like patterns, in
    // every row and every column.
    unsigned char line[MaxSymbolSize];
    for (int pass = 0; pass < 2; ++pass) {
        for (int l = 0; l < size; ++l) {
            if (pass == 0) {
                std::memcpy(line, grid + l * size, static_cast<size_t>(size));
            } else {
                for (int k = 0; k < size; ++k)
                    line[k] = grid[k * size + l];
            }

            int run = 1;
            for (int k = 1; k < size; ++k) {
                if (line[k] == line[k - 1]) {
                    ++run;
                    continue;
                }
                if (run >= 5)
                    penalty += run - 2;
                run = 1;
            }
            if (run >= 5)
                penalty += run - 2;

            auto light = [&](int k) {
                return k < 0 || k >= size || !line[k];
            };
            for (int k = 0; k + 7 <= size; ++k) {
                if (!(line[k] && !line[k + 1] && line[k + 2] && line[k + 3] && line[k + 4]
                      && !line[k + 5] && line[k + 6]))
                    continue;
                if (!light(k - 1) || !light(k + 7))
                    continue;
                const bool lightBefore = light(k - 4) && light(k - 3) && light(k - 2);
                const bool lightAfter = light(k + 8) && light(k + 9) && light(k + 10);
                if (lightBefore || lightAfter)
                    penalty += 40;
            }
        }
    }

    for (int y = 0; y + 1 < size; ++y) {
        const unsigned char *top = grid + y * size;
        const unsigned char *bottom = top + size;
        for (int x = 0; x + 1 < size; ++x) {
            const int sum = top[x] + top[x + 1] + bottom[x] + bottom[x + 1];
            if (sum == 0 || sum == 4)
                penalty += 3;
        }
    }

    const int lightShare = (size * size - darkCount) * 100 / (size * size);
    const int deviation = lightShare > 50 ? lightShare - 50 : 50 - lightShare;
    penalty += 10 * (deviation / 5);
    return penalty;
}
