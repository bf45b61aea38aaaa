#include "designer/repageitem.h"

#include "symbols/barcode.h"
#include "symbols/barcodeimage.h"
#include "symbols/code128.h"
#include "symbols/qrencode.h"

#include <memory>

QImage CREPageItem::getQrCode(const QString &text, const QColor &color)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (bytes.isEmpty())
        return QImage();
    // The encoder is large; one per call, on the heap. Kanji mode stays off so
    // that multi-byte local text comes back as written.
    auto qr = std::make_unique<CQR_Encode>();
    if (!qr->EncodeData(0, 0, true, -1, bytes.constData(), 0, false))
        return QImage();
    const int n = qr->m_symbolSize;
    if (n <= 0)
        return QImage();
    QImage symbol(n, n, QImage::Format_RGB32);
    symbol.fill(Qt::white);
    const QRgb dark = color.rgb();
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            if (qr->m_modules[x][y] == 1)
                symbol.setPixel(x, y, dark);
        }
    }
    return symbol.scaled(10 * n, 10 * n, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage CREPageItem::drawBarcode(const QString &text, int kind, const QColor &color)
{
    barcodeColor = color;
    if (kind == 0)
        return getQrCode(text, color);
    using Encoder = int (*)(const char *, char **, long &);
    Encoder encoder = nullptr;
    switch (kind) {
    case 1:
        encoder = Codabar;
        break;
    case 2:
        encoder = Code128b;
        break;
    case 3:
        encoder = Code39;
        break;
    case 4:
        encoder = Code93;
        break;
    case 5:
        encoder = EAN13;
        break;
    case 6:
        encoder = EAN8;
        break;
    case 7:
        encoder = Interleaved2of5;
        break;
    case 8:
        encoder = MSI;
        break;
    case 9:
        encoder = Postnet;
        break;
    case 10:
        encoder = UPCa;
        break;
    default:
        return QImage();
    }
    const QByteArray bytes = text.toLocal8Bit();
    char *pattern = nullptr;
    long length = 0;
    if (encoder(bytes.constData(), &pattern, length) != 0 || !pattern)
        return QImage();
    std::unique_ptr<char[]> owned(pattern);
    const int n = int(length);
    switch (kind) {
    case 1:
        return barCodeToQimageCodabar(pattern, n);
    case 2:
        return barCodeToQimageCode128(pattern, n);
    case 3:
        return barCodeToQimageCode39(pattern, n);
    case 4:
        return barCodeToQimageCode93(pattern, n);
    case 7:
        return barCodeToQimageInterleaved2of5(pattern, n, QString::fromLatin1(bytes.constData()));
    case 8:
        return barEnaCodeToQimageUNA(pattern, n);
    case 9:
        return barEnaCodeToQimagePostNet(pattern, n);
    default: // 5, 6 and 10
        return barEnaCodeToQimageEAN(pattern, n);
    }
}
