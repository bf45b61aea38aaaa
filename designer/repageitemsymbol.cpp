#include "designer/repageitem.h"

#include "symbols/barcode.h"
#include "symbols/barcodeimage.h"
#include "symbols/code128.h"
#include "symbols/qrencode.h"

#include <QCache>

#include <memory>

namespace {

// Symbols met lately, by text, kind and colour: a QR Code as its module
// matrix (one pixel a module), a linear symbol as its finished image. Pages
// draw the same symbols again at every repaint and every block reference;
// encoding is the costly part. The cost is in pixels.
struct SymbolKey
{
    QString text;
    int kind;
    QRgb color;
    bool operator==(const SymbolKey &o) const
    {
        return kind == o.kind && color == o.color && text == o.text;
    }
};

uint qHash(const SymbolKey &key, uint seed = 0)
{
    return ::qHash(key.text, seed) ^ uint(key.kind) ^ key.color;
}

constexpr int SymbolCachePixels = 16 * 1024 * 1024;

QCache<SymbolKey, QImage> &symbolCache()
{
    static QCache<SymbolKey, QImage> cache(SymbolCachePixels);
    return cache;
}

quint64 encodes = 0;

QImage encodeQr(const QString &text, const QColor &color)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (bytes.isEmpty())
        return QImage();
    ++encodes;
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
    return symbol;
}

QImage encodeLinear(const QString &text, int kind)
{
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
    ++encodes;
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

} // namespace

quint64 CREPageItem::symbolEncodes()
{
    return encodes;
}

QImage CREPageItem::symbolSource(const QString &text, int kind, const QColor &color)
{
    if (kind < 0 || kind > 10)
        return QImage();
    // The linear renderers read the shared bar colour, cached or not.
    barcodeColor = color;
    if (text.isEmpty())
        return QImage();
    // Linear images take the colour from barcodeColor, with its alpha.
    const SymbolKey key {text, kind, kind == 0 ? color.rgb() : color.rgba()};
    if (const QImage *known = symbolCache().object(key))
        return *known;
    const QImage image = kind == 0 ? encodeQr(text, color) : encodeLinear(text, kind);
    // A failed encode is remembered too (as a null image, cost 1).
    const qint64 pixels = qMax<qint64>(1, qint64(image.width()) * image.height());
    if (pixels <= SymbolCachePixels / 4)
        symbolCache().insert(key, new QImage(image), int(pixels));
    return image;
}

QImage CREPageItem::getQrCode(const QString &text, const QColor &color)
{
    const QImage modules = symbolSource(text, 0, color);
    if (modules.isNull())
        return QImage();
    const int n = modules.width();
    return modules.scaled(10 * n, 10 * n, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage CREPageItem::drawBarcode(const QString &text, int kind, const QColor &color)
{
    barcodeColor = color;
    if (kind == 0)
        return getQrCode(text, color);
    return symbolSource(text, kind, color);
}
