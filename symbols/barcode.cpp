#include "symbols/barcode.h"

#include <cstring>
#include <string>

namespace {

constexpr int kRingSize = 64;
constexpr int kRingBufferSize = 257;

char ringBuffers[kRingSize][kRingBufferSize];
int ringIndex = kRingSize - 1;
unsigned int lastCharacter = 0;
char msiCheckText[2];

// The text's length when an encoder can take it, else -1 (null, empty or too
// long). strnlen keeps the scan bounded for texts of any length.
long usableLength(const char *text)
{
    if (!text || !text[0])
        return -1;
    const size_t n = strnlen(text, kBarcodeMaxText + 1);
    return n > size_t(kBarcodeMaxText) ? -1 : long(n);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string digitsOf(const char *text)
{
    std::string digits;
    for (const char *p = text; *p; ++p) {
        if (isDigit(*p))
            digits += *p;
    }
    return digits;
}

int deliver(const std::string &symbol, char **pattern, long &length)
{
    char *out = new char[symbol.size()];
    std::memcpy(out, symbol.data(), symbol.size());
    *pattern = out;
    length = long(symbol.size());
    return 0;
}

// Weights 3, 1, 3, ... from the rightmost digit; the digit that completes
// the sum to a multiple of ten.
int mod10Check(const std::string &digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

// The 43 characters of Code 39 in value order; the space is written as "="
// because the space key of the tables carries no bars of its own.
const char kCode39Set[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

int code39Value(char c)
{
    if (c == '=')
        c = ' ';
    const char *p = c ? std::strchr(kCode39Set, c) : nullptr;
    return p ? int(p - kCode39Set) : -1;
}

// Upper-cased characters of the Code 39 set, space written as "=".
std::string code39Data(const char *text)
{
    std::string data;
    for (const char *p = text; *p; ++p) {
        char c = *p;
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c == ' ')
            data += '=';
        else if (c != '=' && code39Value(c) >= 0)
            data += c;
    }
    return data;
}

char code93Key(int value)
{
    static const char keys[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%!#&@";
    return keys[value];
}

// Interleaved 2 of 5 element widths, 1 = wide, for the digits 0 to 9.
const char *const kItfWidths[10]
    = {"00110", "10001", "01001", "11000", "00101", "10100", "01100", "00011", "10010", "01010"};

// Parity sets: 'A' odd (left-hand), 'B' even (left-hand).
const char *const kEan13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                      "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
const char *const kAddOn5Parity[10]
    = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};
const char *const kAddOn2Parity[4] = {"AA", "AB", "BA", "BB"};
const char kAddOnSetA[] = "\"#$%&,./:;";
const char kAddOnSetB[] = "z=?@[\\]_{}";

// The digit that is only printed beside the bars (EAN-13 leading digit,
// UPC-A first and check digits).
char printedDigit(char d)
{
    return d <= '4' ? char(d + 37) : char(d + 64);
}

std::string addOn(const std::string &digits)
{
    std::string out = "+";
    const char *parity;
    if (digits.size() == 2) {
        parity = kAddOn2Parity[((digits[0] - '0') * 10 + (digits[1] - '0')) % 4];
    } else {
        const int odd = (digits[0] - '0') + (digits[2] - '0') + (digits[4] - '0');
        const int even = (digits[1] - '0') + (digits[3] - '0');
        parity = kAddOn5Parity[(3 * odd + 9 * even) % 10];
    }
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0)
            out += '!';
        const int d = digits[i] - '0';
        out += parity[i] == 'A' ? kAddOnSetA[d] : kAddOnSetB[d];
    }
    return out;
}

// Splits the digits of a retail number into main number and add-on by their
// count: `base` digits, optionally followed by a given check digit, then an
// optional 2- or 5-digit add-on. False when the count fits no form.
bool splitRetail(const std::string &digits, size_t base, std::string &main, std::string &extra)
{
    const size_t n = digits.size();
    main = digits.substr(0, base);
    extra.clear();
    if (n == base || n == base + 1)
        return true;
    if (n == base + 2 || n == base + 5) {
        extra = digits.substr(base);
        return true;
    }
    if (n == base + 3 || n == base + 6) {
        extra = digits.substr(base + 1);
        return true;
    }
    return false;
}

} // namespace

char *str_upr(char *s)
{
    if (!s)
        return s;
    for (char *p = s; *p; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = char(*p - 'a' + 'A');
    }
    return s;
}

unsigned int asc(const char *s)
{
    lastCharacter = s ? static_cast<unsigned char>(s[0]) : 0;
    return lastCharacter;
}

char *mid(const char *s, int start, int count)
{
    ringIndex = (ringIndex + 1) % kRingSize;
    char *buffer = ringBuffers[ringIndex];
    buffer[0] = 0;
    if (!s || count <= 0)
        return buffer;
    if (start < 1) {
        // Positions before the string hold nothing but still use up the count.
        const long missing = 1L - start;
        if (missing >= count)
            return buffer;
        count -= int(missing);
        start = 1;
    }
    if (count > kRingBufferSize - 1)
        count = kRingBufferSize - 1;
    // Walk to the start without reading past the terminating zero.
    const char *p = s;
    for (int i = 1; i < start; ++i) {
        if (!*p)
            return buffer;
        ++p;
    }
    int n = 0;
    while (n < count && p[n]) {
        buffer[n] = p[n];
        ++n;
    }
    buffer[n] = 0;
    return buffer;
}

char *str_rev(char *s)
{
    if (!s)
        return s;
    const size_t n = std::strlen(s);
    for (size_t i = 0; n > 1 && i < n / 2; ++i)
        std::swap(s[i], s[n - 1 - i]);
    return s;
}

char Find_Mod_10_Digit(const char *digits)
{
    return char('0' + mod10Check(digits ? digitsOf(digits) : std::string()));
}

char *Calc_MSI_Check_Digit(const char *digits)
{
    const std::string d = digits ? digitsOf(digits) : std::string();
    int total = 0;
    bool doubled = true;
    for (auto it = d.rbegin(); it != d.rend(); ++it) {
        const int v = *it - '0';
        if (doubled)
            total += (2 * v) / 10 + (2 * v) % 10;
        else
            total += v;
        doubled = !doubled;
    }
    msiCheckText[0] = char('0' + (10 - total % 10) % 10);
    msiCheckText[1] = 0;
    return msiCheckText;
}

void UPCe7to11(char *digits)
{
    if (!digits)
        return;
    if (strnlen(digits, 7) == 6) {
        std::memmove(digits + 1, digits, 7);
        digits[0] = '0';
    }
    if (!isDigit(digits[6])) {
        digits[11] = 0;
        return;
    }
    const std::string e(digits, 7);
    std::string a;
    switch (e[6]) {
    case '0':
    case '1':
    case '2':
        a = e.substr(0, 3) + e[6] + "0000" + e.substr(3, 3);
        break;
    case '3':
        a = e.substr(0, 4) + "00000" + e.substr(4, 2);
        break;
    case '4':
        a = e.substr(0, 5) + "00000" + e[5];
        break;
    default:
        a = e.substr(0, 6) + "0000" + e[6];
        break;
    }
    std::memcpy(digits, a.data(), 11);
    digits[11] = 0;
}

int Codabar(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    std::string symbol = "A";
    for (const char *p = text; *p; ++p) {
        if (isDigit(*p) || std::strchr("$+-./:", *p))
            symbol += *p;
    }
    symbol += 'B';
    return deliver(symbol, pattern, length);
}

int Code39(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    return deliver("*" + code39Data(text) + "*", pattern, length);
}

int Code39Mod43(const char *text, char *output, long capacity)
{
    if (usableLength(text) < 0 || !output)
        return 1;
    const std::string data = code39Data(text);
    int sum = 0;
    for (char c : data)
        sum += code39Value(c);
    char check = kCode39Set[sum % 43];
    if (check == ' ')
        check = '=';
    const std::string symbol = "*" + data + check + "*";
    if (long(symbol.size()) > capacity)
        return 1;
    std::memcpy(output, symbol.data(), symbol.size());
    return 0;
}

int Code93(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    const std::string data = code39Data(text);
    int c = 0;
    int k = 0;
    const int n = int(data.size());
    for (int i = 0; i < n; ++i) {
        const int fromRight = n - 1 - i;
        const int value = code39Value(data[i]);
        c += value * (fromRight % 20 + 1);
        k += value * ((fromRight + 1) % 15 + 1);
    }
    c %= 47;
    k = (k + c) % 47;
    std::string symbol = "(" + data;
    symbol += code93Key(c);
    symbol += code93Key(k);
    symbol += ')';
    return deliver(symbol, pattern, length);
}

int Interleaved2of5(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    std::string digits = digitsOf(text);
    if (digits.size() % 2)
        digits.insert(0, 1, '0');
    std::string modules = {1, 0, 1, 0};
    for (size_t i = 0; i < digits.size(); i += 2) {
        const char *bars = kItfWidths[digits[i] - '0'];
        const char *spaces = kItfWidths[digits[i + 1] - '0'];
        for (int e = 0; e < 5; ++e) {
            modules.append(bars[e] == '1' ? 2 : 1, char(1));
            modules.append(spaces[e] == '1' ? 2 : 1, char(0));
        }
    }
    modules += std::string {1, 1, 0, 1};
    return deliver(modules, pattern, length);
}

int Interleaved2of5Mod10(const char *text, char *output, long capacity)
{
    if (usableLength(text) < 0 || !output)
        return 1;
    std::string digits = digitsOf(text);
    digits += Find_Mod_10_Digit(digits.c_str());
    if (digits.size() % 2)
        digits.insert(0, 1, '0');
    std::string symbol(1, char(203));
    for (size_t i = 0; i < digits.size(); i += 2) {
        const int v = (digits[i] - '0') * 10 + (digits[i + 1] - '0');
        symbol += char(v <= 93 ? v + 33 : v + 103);
    }
    symbol += char(204);
    if (long(symbol.size()) > capacity)
        return 1;
    std::memcpy(output, symbol.data(), symbol.size());
    return 0;
}

int Postnet(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    const std::string digits = digitsOf(text);
    int sum = 0;
    for (char d : digits)
        sum += d - '0';
    std::string symbol = "(" + digits;
    symbol += char('0' + (10 - sum % 10) % 10);
    symbol += ')';
    return deliver(symbol, pattern, length);
}

int MSI(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    const std::string digits = digitsOf(text);
    return deliver("(" + digits + Calc_MSI_Check_Digit(digits.c_str()) + ")", pattern, length);
}

int EAN8(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    const std::string digits = digitsOf(text);
    if (digits.size() < 7)
        return 1;
    std::string number = digits.substr(0, 7);
    number += char('0' + mod10Check(number));
    std::string symbol = "(" + number.substr(0, 4) + "*";
    for (int i = 4; i < 8; ++i)
        symbol += char(number[i] + 27);
    symbol += '(';
    return deliver(symbol, pattern, length);
}

int EAN13(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    std::string number, extra;
    if (!splitRetail(digitsOf(text), 12, number, extra))
        return 1;
    number += char('0' + mod10Check(number));

    const char *parity = kEan13Parity[number[0] - '0'];
    std::string symbol(1, printedDigit(number[0]));
    symbol += '(';
    for (int i = 1; i <= 6; ++i)
        symbol += parity[i - 1] == 'A' ? number[i] : char(number[i] + 17);
    symbol += '*';
    for (int i = 7; i <= 12; ++i)
        symbol += char(number[i] + 27);
    symbol += '(';
    if (!extra.empty())
        symbol += " " + addOn(extra);
    return deliver(symbol, pattern, length);
}

int UPCa(const char *text, char **pattern, long &length)
{
    if (usableLength(text) < 0)
        return 1;
    std::string number, extra;
    if (!splitRetail(digitsOf(text), 11, number, extra))
        return 1;
    const char check = char('0' + mod10Check(number));

    std::string symbol(1, printedDigit(number[0]));
    symbol += '(';
    symbol += char(number[0] + 49);
    symbol += number.substr(1, 5);
    symbol += '*';
    for (int i = 6; i <= 10; ++i)
        symbol += char(number[i] + 27);
    symbol += char(check + 59);
    symbol += '(';
    symbol += printedDigit(check);
    if (!extra.empty())
        symbol += addOn(extra);
    return deliver(symbol, pattern, length);
}
