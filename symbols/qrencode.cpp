#include "symbols/qrencode.h"

#include <cstdint>
#include <cstring>

namespace {

// GF(256) over x^8 + x^4 + x^3 + x^2 + 1.
struct GaloisField
{
    unsigned char exp[256];
    unsigned char log[256];
    // exp over two periods: a sum of two exponents indexes it without a
    // reduction mod 255.
    unsigned char expWide[510];

    constexpr GaloisField()
        : exp()
        , log()
        , expWide()
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
        for (int i = 0; i < 510; ++i)
            expWide[i] = exp[i % 255];
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

    // Merging removes segments from the middle of the list, often thousands of
    // them for mixed text; shifting the arrays on every removal made that
    // quadratic. The segments stay where they are while a doubly linked list
    // says which are left and in what order, and the survivors are moved to
    // the front once at the end. The first segment is never removed.
    const int count = m_segmentCount;
    if (count == 0)
        return true;
    for (int i = 0; i < count; ++i) {
        m_segmentNext[i] = i + 1 < count ? i + 1 : -1;
        m_segmentPrev[i] = i - 1;
    }
    auto modeOf = [this](int s) {
        return s < 0 ? -1 : int(m_segmentModes[s]);
    };
    auto remove = [this](int s) {
        const int before = m_segmentPrev[s];
        const int after = m_segmentNext[s];
        m_segmentNext[before] = after;
        if (after >= 0)
            m_segmentPrev[after] = before;
    };

    // Short numeric runs inside alphanumeric text cost less as part of it.
    for (int j = 0; j >= 0 && m_segmentNext[j] >= 0;) {
        const int k = m_segmentNext[j];
        const int modeA = m_segmentModes[j];
        const int modeB = m_segmentModes[k];
        if (!((modeA == ModeNumeric && modeB == ModeAlphanumeric)
              || (modeA == ModeAlphanumeric && modeB == ModeNumeric))) {
            j = k;
            continue;
        }
        const int lengthA = m_segmentLengths[j];
        const int lengthB = m_segmentLengths[k];
        const int separate = cost(modeA, lengthA) + cost(modeB, lengthB);
        const int joined = cost(ModeAlphanumeric, lengthA + lengthB);
        if (joined >= separate) {
            j = k;
            continue;
        }

        const int previous = m_segmentPrev[j];
        const int following = m_segmentNext[k];
        bool before = modeOf(previous) == ModeByte;
        int beforeCost = 0;
        if (before) {
            const int h = m_segmentLengths[previous];
            beforeCost = cost(modeB, lengthB) + cost(ModeByte, h + lengthA);
            if (cost(ModeByte, h) + joined < beforeCost)
                before = false;
        }
        bool after = modeOf(following) == ModeByte;
        int afterCost = 0;
        if (after) {
            const int e = m_segmentLengths[following];
            afterCost = cost(modeA, lengthA) + cost(ModeByte, lengthB + e);
            if (cost(ModeByte, e) + joined < afterCost)
                after = false;
        }

        // Like an index into a shrinking array, j goes on with the segment
        // that took the place of a removed one.
        if (before && (!after || beforeCost < afterCost)) {
            m_segmentLengths[previous] += lengthA;
            remove(j);
            j = k;
        } else if (after) {
            m_segmentModes[k] = ModeByte;
            m_segmentLengths[k] += m_segmentLengths[following];
            remove(following);
        } else {
            if (modeOf(following) == ModeAlphanumeric) {
                m_segmentLengths[k] += m_segmentLengths[following];
                remove(following);
            }
            m_segmentModes[j] = ModeAlphanumeric;
            m_segmentLengths[j] += m_segmentLengths[k];
            remove(k);
            if (modeOf(previous) == ModeAlphanumeric) {
                m_segmentLengths[previous] += m_segmentLengths[j];
                remove(j);
                j = m_segmentNext[j];
            }
        }
    }

    // Then neighbours whose two headers cost more than spelling both as bytes.
    const int byteHeader = 4 + countIndicatorBits[ModeByte][versionGroup];
    for (int p = 0; m_segmentNext[p] >= 0;) {
        const int q = m_segmentNext[p];
        const int lengthX = m_segmentLengths[p];
        const int lengthY = m_segmentLengths[q];
        const int separate = cost(m_segmentModes[p], lengthX) + cost(m_segmentModes[q], lengthY);
        int merged = cost(ModeByte, lengthX + lengthY);
        if (modeOf(m_segmentPrev[p]) == ModeByte)
            merged = 8 * (lengthX + lengthY);
        if (modeOf(m_segmentNext[q]) == ModeByte)
            merged -= byteHeader;
        if (merged >= separate) {
            p = q;
            continue;
        }
        if (modeOf(m_segmentPrev[p]) == ModeByte) {
            const int previous = m_segmentPrev[p];
            m_segmentLengths[previous] += m_segmentLengths[p];
            remove(p);
            p = previous;
        }
        if (modeOf(m_segmentNext[q]) == ModeByte) {
            m_segmentLengths[q] += m_segmentLengths[m_segmentNext[q]];
            remove(m_segmentNext[q]);
        }
        m_segmentModes[p] = ModeByte;
        m_segmentLengths[p] += m_segmentLengths[q];
        remove(q);
        if (m_segmentPrev[p] >= 0)
            p = m_segmentPrev[p];
    }

    int kept = 0;
    for (int s = 0; s >= 0; s = m_segmentNext[s], ++kept) {
        m_segmentModes[kept] = m_segmentModes[s];
        m_segmentLengths[kept] = m_segmentLengths[s];
    }
    m_segmentCount = kept;
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
    // Only the remainder moves as the data is divided, not the whole block.
    const unsigned char *generator = generators.exponents[ecCount];
    unsigned char remainder[GeneratorPolynomials::MaxDegree + 1] = {};
    for (int i = 0; i < dataCount; ++i) {
        const unsigned char lead = work[i] ^ remainder[0];
        if (lead == 0) {
            for (int j = 0; j < ecCount; ++j)
                remainder[j] = remainder[j + 1];
            continue;
        }
        const int e = gf.log[lead];
        for (int j = 0; j < ecCount; ++j)
            remainder[j] = remainder[j + 1] ^ gf.expWide[generator[j] + e];
    }
    std::memcpy(work, remainder, static_cast<size_t>(ecCount));
    std::memset(work + ecCount, 0, static_cast<size_t>(dataCount));
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

namespace {

// Whether mask n inverts the module in row i, column j.
constexpr bool maskInverts(int n, int i, int j)
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

// One row or one column of the symbol, a bit per module, dark set. Module k
// sits at bit k + lineOffset, so the light margin the finder rule looks into
// (four modules beyond either edge) is there as clear bits and the rules are a
// handful of shifts and masks per line instead of a loop per module.
constexpr int lineOffset = 4;
constexpr int lineWords = 3; // 4 + 177 + 4 bits

struct Line
{
    std::uint64_t w[lineWords] = {};
};

// Without a popcount instruction in the target the builtin becomes a library
// call, which costs more than these few operations inline.
inline int popCount(std::uint64_t v)
{
    v = v - ((v >> 1) & 0x5555555555555555ull);
    v = (v & 0x3333333333333333ull) + ((v >> 2) & 0x3333333333333333ull);
    v = (v + (v >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((v * 0x0101010101010101ull) >> 56);
}

inline int popCount(const Line &a)
{
    int n = 0;
    for (int i = 0; i < lineWords; ++i)
        n += popCount(a.w[i]);
    return n;
}

inline Line operator&(const Line &a, const Line &b)
{
    Line r;
    for (int i = 0; i < lineWords; ++i)
        r.w[i] = a.w[i] & b.w[i];
    return r;
}

inline Line operator|(const Line &a, const Line &b)
{
    Line r;
    for (int i = 0; i < lineWords; ++i)
        r.w[i] = a.w[i] | b.w[i];
    return r;
}

inline Line operator^(const Line &a, const Line &b)
{
    Line r;
    for (int i = 0; i < lineWords; ++i)
        r.w[i] = a.w[i] ^ b.w[i];
    return r;
}

inline Line operator~(const Line &a)
{
    Line r;
    for (int i = 0; i < lineWords; ++i)
        r.w[i] = ~a.w[i];
    return r;
}

// Module k of the result is module k + s of a (0 < s < 64).
template<int s> inline Line ahead(const Line &a)
{
    Line r;
    for (int i = 0; i + 1 < lineWords; ++i)
        r.w[i] = (a.w[i] >> s) | (a.w[i + 1] << (64 - s));
    r.w[lineWords - 1] = a.w[lineWords - 1] >> s;
    return r;
}

// Module k of the result is module k - s of a (0 < s < 64).
template<int s> inline Line behind(const Line &a)
{
    Line r;
    for (int i = lineWords - 1; i > 0; --i)
        r.w[i] = (a.w[i] << s) | (a.w[i - 1] >> (64 - s));
    r.w[0] = a.w[0] << s;
    return r;
}

constexpr void setModule(Line &line, int k)
{
    line.w[(k + lineOffset) >> 6] |= std::uint64_t(1) << ((k + lineOffset) & 63);
}

inline bool hasModule(const Line &line, int k)
{
    return (line.w[(k + lineOffset) >> 6] >> ((k + lineOffset) & 63)) & 1;
}

// Modules from .. to - 1.
inline Line moduleRange(int from, int to)
{
    Line r {};
    for (int k = from; k < to; ++k)
        setModule(r, k);
    return r;
}

// Every mask depends on the row only through row mod 12 and on the column
// only through column mod 6.
struct MaskLines
{
    using Pattern = Line[6];
    Pattern columns[8]; // a column j, by j mod 6: bit per row
    Line rows[8][12]; // a row i, by i mod 12: bit per column

    constexpr MaskLines()
        : columns()
        , rows()
    {
        for (int n = 0; n < 8; ++n) {
            for (int k = 0; k < CQR_Encode::MaxSymbolSize; ++k) {
                for (int j = 0; j < 6; ++j) {
                    if (maskInverts(n, k, j))
                        setModule(columns[n][j], k);
                }
                for (int i = 0; i < 12; ++i) {
                    if (maskInverts(n, i, k))
                        setModule(rows[n][i], k);
                }
            }
        }
    }
};

constexpr MaskLines maskLines;

// The penalty of a symbol given as its columns and its rows, by the same rules
// and with the same arithmetic as a module-by-module count.
int penaltyOf(const Line *columns, const Line *rows, int size)
{
    // A run of n >= 5 scores n - 2: one point for every window of five equal
    // modules (n - 4 of them) and two more for the run's first window.
    const Line windowEnds = moduleRange(4, size);
    const Line firstWindow = moduleRange(4, 5);
    const Line blockTops = moduleRange(0, size - 1);

    auto linePenalty = [&](const Line &dark) {
        const Line change = dark ^ behind<1>(dark);
        const Line same = ~change;
        const Line window = same & behind<1>(same) & behind<2>(same) & behind<3>(same) & windowEnds;
        const Line first = window & (behind<4>(change) | firstWindow);

        // Beyond the edges the line's bits are clear, that is light.
        const Line light = ~dark;
        const Line core = dark & ahead<1>(light) & ahead<2>(dark) & ahead<3>(dark) & ahead<4>(dark)
            & ahead<5>(light) & ahead<6>(dark) & behind<1>(light) & ahead<7>(light);
        const Line margin = (behind<4>(light) & behind<3>(light) & behind<2>(light))
            | (ahead<8>(light) & ahead<9>(light) & ahead<10>(light));
        return popCount(window) + 2 * popCount(first) + 40 * popCount(core & margin);
    };

    int penalty = 0;
    int darkCount = 0;
    for (int l = 0; l < size; ++l) {
        penalty += linePenalty(columns[l]) + linePenalty(rows[l]);
        darkCount += popCount(columns[l]);
    }

    for (int l = 0; l + 1 < size; ++l) {
        const Line &a = columns[l];
        const Line across = ~(a ^ columns[l + 1]);
        const Line down = ~(a ^ ahead<1>(a));
        penalty += 3 * popCount(across & ahead<1>(across) & down & blockTops);
    }

    const int lightShare = (size * size - darkCount) * 100 / (size * size);
    const int deviation = lightShare > 50 ? lightShare - 50 : 50 - lightShare;
    penalty += 10 * (deviation / 5);
    return penalty;
}

} // namespace

void CQR_Encode::FormatModule()
{
    std::memset(m_modules, 0, sizeof(m_modules));
    SetFunctionModule();
    SetCodeWordPattern();

    if (m_maskNumber == -1)
        m_maskNumber = chooseMask();
    SetMaskingPattern(m_maskNumber);
    SetFormatInfoPattern(m_maskNumber);

    for (int x = 0; x < m_symbolSize; ++x) {
        for (int y = 0; y < m_symbolSize; ++y)
            m_modules[x][y] = isDark(x, y) ? 1 : 0;
    }
}

int CQR_Encode::chooseMask()
{
    // Masking and scoring the whole matrix eight times dominated the encoding
    // of large symbols. The matrix is read once into lines of bits; a mask is
    // then a few word operations per line, and only the format modules, which
    // depend on the mask, are read again from the matrix.
    const int size = m_symbolSize;
    Line columnDark[MaxSymbolSize] = {}; // dark function modules
    Line columnFree[MaxSymbolSize] = {}; // modules the mask applies to
    Line columnData[MaxSymbolSize] = {}; // unmasked data bits
    Line rowDark[MaxSymbolSize] = {};
    Line rowFree[MaxSymbolSize] = {};
    Line rowData[MaxSymbolSize] = {};
    // Without branches: the data bits are random.
    for (int x = 0; x < size; ++x) {
        const int wordX = (x + lineOffset) >> 6;
        const int shiftX = (x + lineOffset) & 63;
        for (int y = 0; y < size; ++y) {
            const unsigned module = m_modules[x][y];
            const std::uint64_t fixed = (module >> 5) & 1;
            const std::uint64_t dark = fixed & (module >> 4);
            const std::uint64_t free = fixed ^ 1;
            const std::uint64_t data = free & (module >> 1);
            const int wordY = (y + lineOffset) >> 6;
            const int shiftY = (y + lineOffset) & 63;
            columnDark[x].w[wordY] |= dark << shiftY;
            columnFree[x].w[wordY] |= free << shiftY;
            columnData[x].w[wordY] |= data << shiftY;
            rowDark[y].w[wordX] |= dark << shiftX;
            rowFree[y].w[wordX] |= free << shiftX;
            rowData[y].w[wordX] |= data << shiftX;
        }
    }

    auto refreshFormatModule = [&](int x, int y) {
        const std::uint64_t bitY = std::uint64_t(1) << ((y + lineOffset) & 63);
        const std::uint64_t bitX = std::uint64_t(1) << ((x + lineOffset) & 63);
        std::uint64_t &inColumn = columnDark[x].w[(y + lineOffset) >> 6];
        std::uint64_t &inRow = rowDark[y].w[(x + lineOffset) >> 6];
        if (m_modules[x][y] & 0x10) {
            inColumn |= bitY;
            inRow |= bitX;
        } else {
            inColumn &= ~bitY;
            inRow &= ~bitX;
        }
    };

    Line columns[MaxSymbolSize];
    Line rows[MaxSymbolSize];
    int best = 0;
    int bestPenalty = 0;
    for (int mask = 0; mask < 8; ++mask) {
        SetFormatInfoPattern(mask);
        for (int i = 0; i < 9; ++i) {
            refreshFormatModule(8, i);
            refreshFormatModule(i, 8);
            refreshFormatModule(8, size - 1 - i);
            refreshFormatModule(size - 1 - i, 8);
        }
        for (int l = 0; l < size; ++l) {
            columns[l] = columnDark[l]
                | (columnData[l] ^ (columnFree[l] & maskLines.columns[mask][l % 6]));
            rows[l] = rowDark[l] | (rowData[l] ^ (rowFree[l] & maskLines.rows[mask][l % 12]));
        }
        const int penalty = penaltyOf(columns, rows, size);
        if (mask == 0 || penalty < bestPenalty) {
            best = mask;
            bestPenalty = penalty;
        }
    }
    return best;
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
                    // The module is still 0; a branch on random data bits
                    // would mostly be mispredicted.
                    const int bit = (m_codewords[index >> 3] >> (7 - (index & 7))) & 1;
                    m_modules[x][y] = static_cast<unsigned char>(bit << 1);
                    ++index;
                }
            }
        }
    }
}

void CQR_Encode::SetMaskingPattern(int mask)
{
    // The masked bit is always derived from the unmasked one, so masks never
    // accumulate.
    const MaskLines::Pattern &pattern = maskLines.columns[mask >= 0 && mask < 7 ? mask : 7];
    for (int x = 0; x < m_symbolSize; ++x) {
        const Line &inverts = pattern[x % 6];
        for (int y = 0; y < m_symbolSize; ++y) {
            unsigned char &module = m_modules[x][y];
            if (module & 0x20)
                continue;
            const int dark = ((module >> 1) & 1) ^ static_cast<int>(hasModule(inverts, y));
            module = static_cast<unsigned char>((module & 0x02) | dark);
        }
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
    Line columns[MaxSymbolSize] = {};
    Line rows[MaxSymbolSize] = {};
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            if (isDark(x, y)) {
                setModule(columns[x], y);
                setModule(rows[y], x);
            }
        }
    }
    return penaltyOf(columns, rows, size);
}
