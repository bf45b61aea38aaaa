#include "symbols/barcodeimage.h"

#include "symbols/barcodetables.h"

#include <QFont>
#include <QPainter>
#include <QRegularExpression>

QColor barcodeColor = Qt::black;

QColor getColor(unsigned char module)
{
    return module == 1 ? barcodeColor : QColor(Qt::white);
}

namespace {

constexpr int kModuleWidth = 2;
constexpr int kHeight = 150;
constexpr int kBarBottom = 130;
constexpr int kGuardBottom = 140;
constexpr int kLabelBottom = 149;

// One table record seen the same way whatever its record type.
struct RecordView
{
    int moduleCount = 0;
    const uint8_t *modules = nullptr;
    int storedModules = 0; // modules beyond these are spaces
    int label = 0;

    uint8_t module(int i) const { return i < storedModules ? modules[i] : 0; }
};

template<int Slots>
bool lookUp(const QVector<SymbolRecord<Slots>> &table, uint8_t key, RecordView &view)
{
    for (const auto &r : table) {
        if (r.key == key) {
            view = {r.moduleCount, r.modules, Slots, r.label};
            return true;
        }
    }
    return false;
}

bool lookUp(const QVector<SymbolListRecord> &table, uint8_t key, RecordView &view)
{
    for (const auto &r : table) {
        if (r.key == key) {
            view = {r.moduleCount, r.modules.constData(), r.modules.size(), r.label};
            return true;
        }
    }
    return false;
}

// How the renderers of the table symbologies differ.
struct Layout
{
    int gap = 0; // pixels after each character
    bool numericLabels = false; // EAN/UPC and MSI: signed numbers, -2 = guard height
    int firstLabelled = 0; // labels only for first <= i < length - unlabelledAtEnd
    int unlabelledAtEnd = 0;
    int labelLeft = 0; // label rectangle: x - moduleCount - labelLeft ...
    int labelRight = 0; // ... to x + labelRight, where x follows the modules
    Qt::Alignment alignment = Qt::AlignHCenter;
};

QFont labelFont()
{
    QFont font;
    font.setFamily(QStringLiteral("Arial"));
    font.setPixelSize(18);
    return font;
}

template<typename Table>
QImage renderTable(const Table &table, const char *symbol, int length, const Layout &layout)
{
    if (table.isEmpty())
        initializeSymbolMap();
    if (table.isEmpty())
        return QImage();
    if (!symbol || length < 0)
        length = 0;
    const auto *bytes = reinterpret_cast<const uint8_t *>(symbol);

    // The canvas follows the symbol, so no symbol is ever cut off.
    int width = 0;
    RecordView r;
    for (int i = 0; i < length; ++i) {
        if (lookUp(table, bytes[i], r))
            width += r.moduleCount * kModuleWidth + layout.gap;
    }
    QImage image(width + 5, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(labelFont());
    painter.setPen(barcodeColor);

    int x = 0;
    for (int i = 0; i < length; ++i) {
        if (!lookUp(table, bytes[i], r))
            continue;
        const bool guard = layout.numericLabels && r.label == -2;
        const int bottom = guard ? kGuardBottom : kBarBottom;
        for (int m = 0; m < r.moduleCount; ++m) {
            if (r.module(m) == 1)
                painter.fillRect(x, 0, kModuleWidth, bottom + 1, barcodeColor);
            x += kModuleWidth;
        }
        const bool labelled = layout.numericLabels ? r.label >= 0 : r.label != 0;
        if (labelled && i >= layout.firstLabelled && i < length - layout.unlabelledAtEnd) {
            const QString text = layout.numericLabels
                ? QString::number(r.label)
                : QString(QChar(static_cast<uint8_t>(r.label)));
            const QRect box(QPoint(x - r.moduleCount - layout.labelLeft, kBarBottom),
                            QPoint(x + layout.labelRight, kLabelBottom));
            painter.drawText(box, int(layout.alignment), text);
        }
        x += layout.gap;
    }
    return image;
}

Layout gappedLayout()
{
    Layout l;
    l.gap = 2 * kModuleWidth;
    l.labelLeft = 6;
    l.labelRight = 1;
    return l;
}

Layout code128Layout(int checkCharacters)
{
    Layout l;
    l.firstLabelled = 1;
    l.unlabelledAtEnd = checkCharacters + 1;
    l.labelLeft = 4;
    l.labelRight = 3;
    return l;
}

Layout numericLayout()
{
    Layout l;
    l.numericLabels = true;
    l.labelLeft = 4;
    l.labelRight = -3;
    l.alignment = Qt::AlignLeft;
    return l;
}

} // namespace

QImage barEnaCodeToQimageEAN(const char *symbol, int length)
{
    return renderTable(eanSymbolMap, symbol, length, numericLayout());
}

QImage barEnaCodeToQimageUNA(const char *symbol, int length)
{
    return renderTable(msiSymbolMap, symbol, length, numericLayout());
}

QImage barCodeToQimageCode128(const char *symbol, int length)
{
    return renderTable(code128SymbolMap, symbol, length, code128Layout(1));
}

QImage barCodeToQimageCode93(const char *symbol, int length)
{
    return renderTable(code93SymbolMap, symbol, length, code128Layout(2));
}

QImage barCodeToQimageCodabar(const char *symbol, int length)
{
    return renderTable(codabarSymbolMap, symbol, length, gappedLayout());
}

QImage barCodeToQimageCode39(const char *symbol, int length)
{
    return renderTable(code39SymbolMap, symbol, length, gappedLayout());
}

QImage barEnaCodeToQimagePostNet(const char *symbol, int length)
{
    if (postnetSymbolMap.isEmpty())
        initializeSymbolMap();
    if (postnetSymbolMap.isEmpty() || !symbol || length <= 0)
        return QImage();
    const auto *bytes = reinterpret_cast<const uint8_t *>(symbol);

    constexpr int pitch = 6;
    constexpr int height = 20;
    int width = 0;
    RecordView r;
    for (int i = 0; i < length; ++i) {
        if (lookUp(postnetSymbolMap, bytes[i], r))
            width += r.moduleCount * pitch;
    }
    if (width == 0)
        return QImage();
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    int x = 0;
    for (int i = 0; i < length; ++i) {
        if (!lookUp(postnetSymbolMap, bytes[i], r))
            continue;
        for (int m = 0; m < r.moduleCount; ++m) {
            const int top = r.module(m) == 1 ? 0 : height / 2;
            painter.fillRect(x + 2, top, 2, height - top, barcodeColor);
            x += pitch;
        }
    }
    return image;
}

QImage barCodeToQimageInterleaved2of5(const char *modules, int length, const QString &text)
{
    if (!modules || length < 0)
        length = 0;
    QImage image(kModuleWidth * length + 2, 80, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int k = 0; k < length; ++k) {
        if (modules[k] == 1)
            painter.fillRect(kModuleWidth * k, 0, kModuleWidth, 61, barcodeColor);
    }
    QString digits = text;
    digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    painter.setFont(labelFont());
    painter.setPen(barcodeColor);
    painter.drawText(QRect(QPoint(0, 60), QPoint(image.width() - 1, 79)), Qt::AlignHCenter, digits);
    return image;
}
