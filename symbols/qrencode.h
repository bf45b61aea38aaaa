#pragma once

// QR Code model 2 encoder (ISO/IEC 18004): versions 1 to 40, levels L, M, Q
// and H, numeric, alphanumeric, 8-bit byte and Kanji modes, the eight masks.
// Plain C++ on purpose: the page designer is its only caller, but nothing here
// needs more than the bytes to encode.
//
// One object per symbol. It is large (the matrix and the work buffers are
// fixed arrays), so create it on the heap. After a successful EncodeData()
// the caller reads m_symbolSize and m_modules directly.

class CQR_Encode
{
public:
    enum Level { LevelL = 0, LevelM = 1, LevelQ = 2, LevelH = 3 };
    enum Mode { ModeNumeric = 0, ModeAlphanumeric = 1, ModeByte = 2, ModeKanji = 3 };

    static constexpr int MaxVersion = 40;
    static constexpr int MaxSymbolSize = 177;
    static constexpr int MaxDataCodewords = 2956;
    static constexpr int MaxDataBits = MaxDataCodewords * 8;
    static constexpr int MaxCodewords = 3706;
    static constexpr int MaxSegments = 2956;
    static constexpr int MaxBlockCodewords = 153;

    CQR_Encode() { }
    ~CQR_Encode() { }

    // level 0-3 (L, M, Q, H); version 0 picks the smallest that holds the
    // data, 1-40 asks for that version; autoExtent lets a larger version be
    // used when the data does not fit the one asked for; mask -1 picks the
    // mask with the lowest penalty, 0-7 forces one; length < 1 measures the
    // zero-terminated data.
    //
    // allowKanji = false keeps every byte out of Kanji mode. Text that is not
    // Shift JIS (UTF-8 in particular) must be encoded that way: its multi-byte
    // sequences often look like Shift JIS pairs and would decode as other
    // characters.
    bool EncodeData(int level, int version, bool autoExtent, int mask, const char *data,
                    int length = 0, bool allowKanji = true);

    // One row of the standard's tables, per version.
    struct BlockInfo
    {
        int count1; // blocks in the first group
        int codewords1; // codewords per block of the first group
        int data1; // data codewords per block of the first group
        int count2; // the same for the second group (0 when there is none)
        int codewords2;
        int data2;
    };
    struct VersionInfo
    {
        int version;
        int totalCodewords;
        int dataCodewords[4]; // per level L, M, Q, H
        int alignmentCount; // alignment centre coordinates other than 6
        int alignment[6];
        BlockInfo blocks[4]; // per level L, M, Q, H
    };
    static const VersionInfo s_versions[MaxVersion + 1];

    int m_level = 0;
    int m_version = 0;
    int m_maskNumber = -1;
    int m_symbolSize = 0;
    unsigned char m_modules[MaxSymbolSize][MaxSymbolSize]; // [x][y], no quiet zone

    int m_dataBitCount = 0;
    unsigned char m_dataCodewords[MaxDataCodewords];

    int m_segmentCount = 0;
    unsigned char m_segmentModes[MaxSegments];
    int m_segmentLengths[MaxSegments];

    int m_codewordCount = 0;
    unsigned char m_codewords[MaxCodewords];

    unsigned char m_rsWork[MaxBlockCodewords];

    // The building steps, in the order an encoding uses them.
    int GetEncodeVersion(int version, const unsigned char *data, int length);
    bool EncodeSourceData(const unsigned char *data, int length, int versionGroup);
    static int GetBitLength(int mode, int length, int versionGroup);
    int SetBitStream(int index, unsigned short value, int bitCount);

    static bool IsNumeralData(unsigned char c);
    static bool IsAlphabetData(unsigned char c);
    static bool IsHanjiData(unsigned char c1, unsigned char c2);
    static unsigned char AlphabetToBinaly(unsigned char c);
    static unsigned short KanjiToBinaly(unsigned short code);

    void GetRSCodeWord(unsigned char *work, int dataCount, int ecCount);

    void FormatModule();
    void SetFunctionModule();
    void SetFinderPattern(int x, int y);
    void SetAlignmentPattern(int x, int y);
    void SetVersionPattern();
    void SetCodeWordPattern();
    void SetMaskingPattern(int mask);
    void SetFormatInfoPattern(int mask);
    int CountPenalty() const;

private:
    bool m_allowKanji = true;

    bool isDark(int x, int y) const { return (m_modules[x][y] & 0x11) != 0; }
    // Links of the segments still in the list while classifyAndMerge() merges
    // them; -1 ends the list either way.
    int m_segmentNext[MaxSegments];
    int m_segmentPrev[MaxSegments];

    bool classifyAndMerge(const unsigned char *data, int length, int versionGroup);
    void padDataCodewords();
    void interleaveCodewords();
    int chooseMask();
};
