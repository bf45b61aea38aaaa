#pragma once

// Linear barcode encoders.
//
// Each encoder turns a zero-terminated 8-bit text into the symbol characters
// of one symbology: start and stop characters, guards, data, check characters
// and, for the retail symbologies, characters that only carry a printed
// digit. Every byte is the key of one record in the symbology's symbol table
// (barcodetables.h); Interleaved 2 of 5 is the exception and yields module
// values (1 bar, 0 space) directly.
//
// The encoders of the common form return 1 for a null or empty text, for a
// text longer than kBarcodeMaxText bytes and for a text the symbology cannot
// encode, with nothing allocated; otherwise 0 with a new array (release it
// with delete[]) of exactly `length` bytes and no terminating zero.
//
// The family shares static state (the substring ring of mid(), the cell of
// asc(), the MSI check text) and is meant for the GUI thread only.

// Longest text an encoder accepts; longer texts would give symbols wider
// than any page can hold.
constexpr long kBarcodeMaxText = 500;

int Codabar(const char *text, char **pattern, long &length);
int Code39(const char *text, char **pattern, long &length);
int Code93(const char *text, char **pattern, long &length);
int Interleaved2of5(const char *text, char **pattern, long &length);
int Postnet(const char *text, char **pattern, long &length);
int MSI(const char *text, char **pattern, long &length);
int EAN8(const char *text, char **pattern, long &length);
int EAN13(const char *text, char **pattern, long &length);
int UPCa(const char *text, char **pattern, long &length);

// These two copy their result, without a terminating zero, into the caller's
// buffer of `capacity` bytes; a result that does not fit gives 1 and leaves
// the buffer untouched.
int Code39Mod43(const char *text, char *output, long capacity);
int Interleaved2of5Mod10(const char *text, char *output, long capacity);

// Modulo-10 check digit with weights 3, 1, 3, ... from the rightmost digit,
// as a character '0'-'9'. Bytes other than digits are ignored.
char Find_Mod_10_Digit(const char *digits);

// MSI (Luhn-style) modulo-10 check digit of the digits of the text, as a
// one-character string in a static buffer.
char *Calc_MSI_Check_Digit(const char *digits);

// Expands a UPC-E number (6 digits, or 7 with the number system first) in
// place into the 11 digits of its UPC-A number; the buffer must hold at
// least 12 bytes.
void UPCe7to11(char *digits);

// Upper-cases "a"-"z" in place; returns its argument.
char *str_upr(char *s);

// The first byte as an unsigned value, 0 for a null or empty string; also
// remembered as the last character read.
unsigned int asc(const char *s);

// Up to `count` bytes (at most 256) of `s` from the 1-based position
// `start`, in one of 64 ring buffers: the result is valid until 63 further
// calls. Positions before the first character count against `count`, as
// QString::mid does; a start beyond the end gives an empty string.
char *mid(const char *s, int start, int count);

// Reverses the string in place; returns its argument (null stays null).
char *str_rev(char *s);
