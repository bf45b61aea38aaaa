#pragma once

// Code 128 encoders, with the result form of barcode.h.
//
// Symbol values travel as bytes: value 0 as 194, 1 to 94 as value + 32,
// 95 to 106 as value + 100 (199 code C, 200 code B, 201 code A, 202 FNC1,
// 203/204/205 start A/B/C, 206 stop). Input bytes 212 to 217 mark FNC1
// followed by an application identifier of 2 to 7 characters (212 + k
// announces k + 2); they are encoded as FNC1 and shown in parentheses by
// Code128HumanReadable.

// Fixed code sets. Set A takes bytes 0 to 95, set B bytes 32 to 127; any
// other byte makes the text unencodable (result 1). Set C keeps the digits,
// with a "0" in front for an odd count.
int Code128a(const char *text, char **pattern, long &length);
int Code128b(const char *text, char **pattern, long &length);
int Code128c(const char *text, char **pattern, long &length);

// Chooses and switches code sets by itself. With `tilde` not 0 it reads the
// escapes ~ddd (a byte: 001-031, 197, 202, 212-217), ~mNN (the mod-10 check
// digit of the digits among the NN bytes before it) and ~~ (a tilde).
int Code128(const char *text, int tilde, char **pattern, long &length);

// GS1-128: Code128 with escapes, led by FNC1 unless the text starts with one.
// Returns 1 only for a null text or one longer than kBarcodeMaxText.
int UCC128(const char *text, char **pattern, long &length);

// The printable text that goes under a Code128/UCC128 symbol, with the
// application identifiers in parentheses.
int Code128HumanReadable(const char *text, int tilde, char **pattern, long &length);
