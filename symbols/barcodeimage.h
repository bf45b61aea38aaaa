#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Renderers of the linear barcode encoders' output (barcode.h, code128.h).
//
// Each takes the encoder's bytes and their count (only that many are read)
// and returns an image 150 pixels high whose width follows from the symbol:
// one module is 2 pixels, bars and labels in barcodeColor, spaces white.
// Bytes without a record in the symbology's table are skipped. No quiet zone
// is added on the left.

// The colour of bars and labels; black until someone sets it. Renderers are
// not reentrant: set the colour and render on the GUI thread only.
extern QColor barcodeColor;

// barcodeColor for a module value of 1, white for any other value.
QColor getColor(unsigned char module);

// EAN-13, EAN-8 and UPC-A; guard bars reach 10 pixels lower than digit bars.
QImage barEnaCodeToQimageEAN(const char *symbol, int length);
// MSI.
QImage barEnaCodeToQimageUNA(const char *symbol, int length);
// POSTNET: 20 pixels high, full and half bars 6 pixels apart; null when empty.
QImage barEnaCodeToQimagePostNet(const char *symbol, int length);
QImage barCodeToQimageCode128(const char *symbol, int length);
QImage barCodeToQimageCode93(const char *symbol, int length);
QImage barCodeToQimageCodabar(const char *symbol, int length);
QImage barCodeToQimageCode39(const char *symbol, int length);
// Interleaved 2 of 5 from module values, 80 pixels high, with the digits of
// `text` printed under the bars.
QImage barCodeToQimageInterleaved2of5(const char *modules, int length, const QString &text);
