#include "symbols/code128.h"

#include "symbols/barcode.h"

#include <cstring>
#include <string>

namespace {

constexpr unsigned char kValueZero = 194;
constexpr unsigned char kCodeC = 199;
constexpr unsigned char kCodeB = 200;
constexpr unsigned char kCodeA = 201;
constexpr unsigned char kFnc1 = 202;
constexpr unsigned char kStartA = 203;
constexpr unsigned char kStartB = 204;
constexpr unsigned char kStartC = 205;
constexpr unsigned char kStop = 206;

using Bytes = std::basic_string<unsigned char>;

long usableLength(const char *text)
{
    if (!text || !text[0])
        return -1;
    const size_t n = strnlen(text, kBarcodeMaxText + 1);
    return n > size_t(kBarcodeMaxText) ? -1 : long(n);
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool isAiMarker(unsigned char c)
{
    return c >= 212 && c <= 217;
}

unsigned char valueByte(int v)
{
    if (v == 0)
        return kValueZero;
    return static_cast<unsigned char>(v <= 94 ? v + 32 : v + 100);
}

int byteValue(unsigned char b)
{
    if (b == kValueZero)
        return 0;
    return b < 135 ? b - 32 : b - 100;
}

// Appends the check character and the stop to a symbol that begins with its
// start character.
int finish(Bytes symbol, char **pattern, long &length)
{
    int sum = symbol[0] - 100;
    for (size_t p = 1; p < symbol.size(); ++p)
        sum += int(p) * byteValue(symbol[p]);
    symbol += valueByte(sum % 103);
    symbol += kStop;
    char *out = new char[symbol.size()];
    std::memcpy(out, symbol.data(), symbol.size());
    *pattern = out;
    length = long(symbol.size());
    return 0;
}

void appendPair(Bytes &symbol, unsigned char a, unsigned char b)
{
    symbol += valueByte((a - '0') * 10 + (b - '0'));
}

// The tilde escapes, turning the text into the data to encode. Escapes that
// do not apply leave the tilde as an ordinary character.
Bytes expandTildes(const unsigned char *t, long n)
{
    Bytes data;
    for (long i = 0; i < n; ++i) {
        const unsigned char c = t[i];
        if (c != '~') {
            data += c;
            continue;
        }
        const bool threeFollow = i + 3 < n;
        if (threeFollow && t[i + 1] == 'm' && i >= 2 && n > 5) {
            if (isDigit(t[i + 2]) && isDigit(t[i + 3])) {
                const long span = (t[i + 2] - '0') * 10 + (t[i + 3] - '0');
                std::string digits;
                for (long k = i - span; span <= i && k < i; ++k) {
                    if (isDigit(t[k]))
                        digits += char(t[k]);
                }
                if (!digits.empty()) {
                    data += static_cast<unsigned char>(Find_Mod_10_Digit(digits.c_str()));
                    i += 3;
                    continue;
                }
            }
            data += c;
            continue;
        }
        if (threeFollow && isDigit(t[i + 1]) && isDigit(t[i + 2]) && isDigit(t[i + 3])) {
            const int v = (t[i + 1] - '0') * 100 + (t[i + 2] - '0') * 10 + (t[i + 3] - '0');
            if ((v >= 1 && v <= 31) || v == 197 || v == kFnc1 || isAiMarker(v)) {
                data += static_cast<unsigned char>(v);
                i += 3;
                continue;
            }
            data += c;
            continue;
        }
        if (i + 1 < n && t[i + 1] == '~') {
            data += c;
            ++i;
            continue;
        }
        data += c;
    }
    return data;
}

int applicationIdentifierLength(unsigned char d1, unsigned char d2)
{
    const int pair = (d1 - '0') * 10 + (d2 - '0');
    if (pair == 80 || pair == 81 || (pair >= 31 && pair <= 34))
        return 4;
    if ((pair >= 40 && pair <= 49) || (pair >= 23 && pair <= 25))
        return 3;
    if (pair <= 22 || (pair >= 26 && pair <= 30) || pair >= 90)
        return 2;
    return 4;
}

} // namespace

int Code128a(const char *text, char **pattern, long &length)
{
    const long n = usableLength(text);
    if (n < 0)
        return 1;
    Bytes symbol(1, kStartA);
    for (long i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c > 95)
            return 1;
        // Control characters sit at the values 64 to 95 of set A.
        symbol += c == ' ' ? kValueZero : c < 32 ? static_cast<unsigned char>(c + 96) : c;
    }
    return finish(symbol, pattern, length);
}

int Code128b(const char *text, char **pattern, long &length)
{
    const long n = usableLength(text);
    if (n < 0)
        return 1;
    Bytes symbol(1, kStartB);
    for (long i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 32 || c > 127)
            return 1;
        symbol += c == ' ' ? kValueZero : c;
    }
    return finish(symbol, pattern, length);
}

int Code128c(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    std::string digits;
    for (const char *p = text; *p; ++p) {
        if (isDigit(static_cast<unsigned char>(*p)))
            digits += *p;
    }
    if (digits.size() % 2)
        digits.insert(0, 1, '0');
    Bytes symbol(1, kStartC);
    for (size_t i = 0; i < digits.size(); i += 2)
        appendPair(symbol, digits[i], digits[i + 1]);
    return finish(symbol, pattern, length);
}

int Code128(const char *text, int tilde, char **pattern, long &length)
{
    const long n = usableLength(text);
    if (n < 0)
        return 1;
    const auto *t = reinterpret_cast<const unsigned char *>(text);

    const unsigned char f = t[0];
    char set = f < 32 ? 'A' : (f <= 126 || f == 197) ? 'B' : 'A';
    if (n > 3 && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) && isDigit(t[3]))
        set = 'C';
    if (f == kFnc1 || isAiMarker(f))
        set = 'C';
    Bytes symbol(1, set == 'A' ? kStartA : set == 'B' ? kStartB : kStartC);

    const Bytes data = tilde ? expandTildes(t, n) : Bytes(t, size_t(n));
    const size_t m = data.size();
    auto digitsAt = [&](size_t j, size_t count) {
        if (j + count > m)
            return false;
        for (size_t k = j; k < j + count; ++k) {
            if (!isDigit(data[k]))
                return false;
        }
        return true;
    };

    size_t j = 0;
    while (j < m) {
        const unsigned char c = data[j];
        if ((c == kFnc1 || (c >= 212 && c <= 218)) && j + 1 < m) {
            symbol += kFnc1;
            ++j;
            continue;
        }
        if (m >= 4 && digitsAt(j, 4)) {
            if (set != 'C') {
                size_t run = 0;
                while (j + run < m && isDigit(data[j + run]))
                    ++run;
                if (run % 2) {
                    symbol += c;
                    ++j;
                }
                symbol += kCodeC;
                set = 'C';
            }
            appendPair(symbol, data[j], data[j + 1]);
            j += 2;
            continue;
        }
        if (set == 'C' && m >= 4 && digitsAt(j, 2)) {
            appendPair(symbol, data[j], data[j + 1]);
            j += 2;
            continue;
        }
        if (c < 32) {
            if (set != 'A') {
                symbol += kCodeA;
                set = 'A';
            }
            symbol += static_cast<unsigned char>(c + 96);
        } else if (set == 'A' && c <= 95) {
            symbol += c;
        } else if (c == 197) {
            if (set == 'C') {
                symbol += kCodeB;
                set = 'B';
            }
            symbol += c;
        } else if (c <= 126) {
            if (set != 'B') {
                symbol += kCodeB;
                set = 'B';
            }
            symbol += c == ' ' ? kValueZero : c;
        }
        // Anything else has no place in the symbol and is left out.
        ++j;
    }
    return finish(symbol, pattern, length);
}

int UCC128(const char *text, char **pattern, long &length)
{
    if (!text || strnlen(text, kBarcodeMaxText + 1) > size_t(kBarcodeMaxText))
        return 1;
    const auto f = static_cast<unsigned char>(text[0]);
    std::string gs1 = text;
    if (f != kFnc1 && !isAiMarker(f))
        gs1.insert(0, 1, char(kFnc1));
    return Code128(gs1.c_str(), 1, pattern, length);
}

int Code128HumanReadable(const char *text, int tilde, char **pattern, long &length)
{
    const long n = usableLength(text);
    if (n < 0)
        return 1;
    const auto *t = reinterpret_cast<const unsigned char *>(text);
    // The same escapes as the encoder, so that the text matches the symbol.
    const Bytes data = tilde ? expandTildes(t, n) : Bytes(t, size_t(n));
    const size_t m = data.size();

    std::string out;
    size_t i = 0;
    while (i < m) {
        const unsigned char c = data[i];
        if (isAiMarker(c) && m - i - 1 >= size_t(c - 212 + 2)) {
            const size_t count = c - 212 + 2;
            out += " (" + std::string(data.begin() + i + 1, data.begin() + i + 1 + count) + ") ";
            i += 1 + count;
            continue;
        }
        if (c == kFnc1 && i + 3 < m && isDigit(data[i + 1]) && isDigit(data[i + 2])) {
            const size_t count = std::min(
                size_t(applicationIdentifierLength(data[i + 1], data[i + 2])), m - i - 1);
            out += " (" + std::string(data.begin() + i + 1, data.begin() + i + 1 + count) + ") ";
            i += 1 + count;
            continue;
        }
        if (c < 32)
            out += ' ';
        else if (c <= 126)
            out += char(c);
        ++i;
    }
    char *result = new char[out.size()];
    std::memcpy(result, out.data(), out.size());
    *pattern = result;
    length = long(out.size());
    return 0;
}
