#include "appstyle.h"

#include "stylesheets.h"

#include <QPainter>
#include <QWidget>

namespace {

struct DerivedScheme
{
    const char *name;
    QColor tint;
};

// The schemes made from Chocolate, in menu order.
const DerivedScheme derivedSchemes[] = {
    {"Blue", QColor(200, 220, 255)},     {"Blue Sky", QColor(99, 188, 249)},
    {"Lavender", QColor(204, 185, 240)}, {"Rose", QColor(255, 213, 236)},
    {"Moss", QColor(204, 237, 224)},     {"Beige", QColor(233, 213, 192)},
};

// Sheets re-tinted for the derived schemes; 4 and 5 are copied as written
// and 7 (progress bars) belongs to no scheme.
const int tintedSheets[] = {0, 1, 2, 3, 6, 8, 9, 10, 11, 12, 13};

QColor tintedColor(int hue, int saturation, int grey, int percent)
{
    const QColor color = percent != 0 ? QColor::fromHsv(hue, saturation, grey * percent / 100, 255)
                                      : QColor::fromHsl(hue, saturation, grey, 255);
    // Handed out as plain 8-bit RGB, so that it compares equal to the same
    // colour read back from a picture or a sheet.
    return QColor::fromRgba(color.rgba());
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The digits of a colour token; anything that is not a hexadecimal number
// (an empty rest of the text included) reads as 0.
quint32 tokenValue(const QStringRef &digits)
{
    if (digits.isEmpty())
        return 0;
    quint32 value = 0;
    for (const QChar c : digits) {
        const int v = hexValue(c);
        if (v < 0)
            return 0;
        value = value * 16 + quint32(v);
    }
    return value;
}

bool startsUrl(const QString &text, int pos)
{
    return text.midRef(pos, 4).compare(QLatin1String("url("), Qt::CaseInsensitive) == 0;
}

} // namespace

CAppStyle::CAppStyle(const QString &folder)
    : imagesFolder(folder)
{
    iconBold = loadIcon("text-bold.png");
    iconItalic = loadIcon("text-italic.png");
    iconUnderline = loadIcon("text-under.png");
    lmItemPixmap = QPixmap(imagesFolder + QStringLiteral("lmitem.png"));

    buildBaseScheme();
    for (const DerivedScheme &scheme : derivedSchemes)
        addDerivedScheme(QString::fromLatin1(scheme.name), scheme.tint);

    const char *const repageFiles[]
        = {"repage-left.png", "repage-right.png", "repage-top.png", "repage-bot.png",
           "repage-lt.png",   "repage-rt.png",    "repage-lb.png",  "repage-rb.png"};
    for (size_t i = 0; i < repageImages.size(); ++i)
        repageImages[i] = loadImage(repageFiles[i]);

    // The outer corner pixel of each corner piece: the colour a page frame
    // blends into. A missing picture gives an invalid colour.
    const QImage &lt = repageImages[RepageLeftTop];
    const int w = lt.width();
    const int h = lt.height();
    const auto sample = [](const QImage &image, int x, int y) {
        return image.valid(x, y) ? image.pixelColor(x, y) : QColor();
    };
    repageColors[0] = sample(repageImages[RepageLeftTop], 0, 0);
    repageColors[1] = sample(repageImages[RepageRightTop], w - 1, 0);
    repageColors[2] = sample(repageImages[RepageLeftBottom], 0, h - 1);
    repageColors[3] = sample(repageImages[RepageRightBottom], w - 1, h - 1);
    repageColors[4] = QColor(255, 255, 255, 255);

    designerImages[DesignerMoveHandle] = loadImage("move-s.png");
    designerImages[DesignerRotateHandle] = loadImage("rotate-s.png");
    designerImages[DesignerScaleHandle] = loadImage("scale-s.png");
    designerImages[DesignerScaleItem] = loadImage("scale-i.png");
    designerImages[DesignerScaleResItem] = loadImage("scale-res-i.png");
    designerImages[DesignerDataField] = loadImage("datafield-i.png");
    designerImages[DesignerDataFieldTitle] = loadImage("datafieldtitle-i.png");
    designerImages[DesignerRepImage] = loadImage("repimage.png");
    expandImage = loadImage("expandwidget.png");
    psqSourceImage = loadImage("psq.png");

    setGlobalStyle(0);
}

CAppStyle::~CAppStyle()
{
    qDeleteAll(schemes);
}

QIcon CAppStyle::loadIcon(const char *fileName) const
{
    // A missing picture leaves the icon empty (QIcon would keep the name).
    const QPixmap pixmap(imagesFolder + QString::fromLatin1(fileName));
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QImage CAppStyle::loadImage(const char *fileName) const
{
    return QImage(imagesFolder + QString::fromLatin1(fileName));
}

void CAppStyle::buildBaseScheme()
{
    schemeNames.append(QStringLiteral("Chocolate"));
    currentSheets[SheetProgressBar] = StyleSheets::progressBarSheet();

    auto scheme = new StyleScheme;
    for (int i = 0; i < StyleScheme::SheetCount; ++i) {
        if (i != SheetProgressBar)
            scheme->sheets[size_t(i)] = StyleSheets::chocolateSheet(i, imagesFolder);
    }
    scheme->untinted = true;
    schemes.append(scheme);
}

void CAppStyle::addDerivedScheme(const QString &name, const QColor &tint)
{
    schemeNames.append(name);
    const StyleScheme *base = schemes.first();

    auto scheme = new StyleScheme;
    scheme->tint = tint;
    scheme->percent = 0;
    scheme->untinted = false;
    for (int i : tintedSheets)
        scheme->sheets[size_t(i)] = genStyle(base->sheets[size_t(i)], tint, 0);
    scheme->sheets[SheetDarkButton] = base->sheets[SheetDarkButton];
    scheme->sheets[SheetDarkButton2] = base->sheets[SheetDarkButton2];
    schemes.append(scheme);
}

QString CAppStyle::genStyle(const QString &sheet, const QColor &tint, int percent)
{
    const int hue = tint.hslHue();
    // The tint's HSV saturation serves as the HSL saturation of the result.
    const int saturation = tint.hsvSaturation();

    QString out;
    out.reserve(sheet.size());
    const int length = sheet.size();
    int pos = 0;
    while (pos < length) {
        // Picture paths are copied as they are: a folder whose name holds a
        // "#" must not be mistaken for a colour.
        if (startsUrl(sheet, pos)) {
            const int close = sheet.indexOf(QLatin1Char(')'), pos + 4);
            const int end = close < 0 ? length : close + 1;
            out += sheet.midRef(pos, end - pos);
            pos = end;
            continue;
        }
        const QChar c = sheet.at(pos);
        if (c != QLatin1Char('#')) {
            out += c;
            ++pos;
            continue;
        }
        const QStringRef digits = sheet.midRef(pos + 1, 6);
        pos += 1 + digits.size();
        const quint32 v = tokenValue(digits);
        const int grey = int(((v >> 16) & 0xff) + ((v >> 8) & 0xff) + (v & 0xff)) / 3;
        const QColor color = tintedColor(hue, saturation, grey, percent);
        const quint32 rgb
            = quint32(color.red()) * 65536 + quint32(color.green()) * 256 + quint32(color.blue());
        out += QLatin1Char('#');
        out += QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0'));
    }
    return out;
}

void CAppStyle::setGlobalStyle(int index)
{
    if (index < 0 || index >= schemes.size())
        index = 0;
    currentScheme = index;
    const StyleScheme *scheme = schemes.at(index);
    for (int i = 0; i < StyleScheme::SheetCount; ++i) {
        if (i != SheetProgressBar)
            currentSheets[size_t(i)] = scheme->sheets[size_t(i)];
    }
    psqImage = updateImage(psqSourceImage);
}

int CAppStyle::sheetIndexForType(int type)
{
    switch (type) {
    case WTWindow:
    case WTLineEdit:
        return 1;
    case WTPageButton:
        return 8;
    case WTNone:
        return -1;
    case WTPersonButton:
        return 9;
    case WTBandLabel:
        return 10;
    case WTFramedPanel:
        return 11;
    case WTPanel:
        return 12;
    case WTTransparent:
        return 2;
    case WTImageButton:
        return 13;
    case WTListPanel:
        return 3;
    case WTTree:
        return 6;
    default:
        // WTButton, WTEditorView, WTCheckBox, WTInput, WTPropertiesPanel,
        // WTOkButton, WTCancelButton and every value outside the list.
        return 0;
    }
}

void CAppStyle::setWidgetStyle(QWidget *widget, WidgetType type)
{
    const int sheet = sheetIndexForType(type);
    if (!widget || sheet < 0)
        return;
    widget->setStyleSheet(currentSheets[size_t(sheet)]);
}

QColor CAppStyle::updateColor(const QColor &color) const
{
    const StyleScheme *scheme = schemes.value(currentScheme);
    if (!scheme || scheme->untinted)
        return color;
    const int grey = (color.red() + color.green() + color.blue()) / 3;
    return tintedColor(scheme->tint.hslHue(), scheme->tint.hsvSaturation(), grey, scheme->percent);
}

QString CAppStyle::updateColor(const QString &sheet) const
{
    const StyleScheme *scheme = schemes.value(currentScheme);
    if (!scheme || scheme->untinted)
        return sheet;
    return genStyle(sheet, scheme->tint, scheme->percent);
}

QImage CAppStyle::updateImage(const QImage &image) const
{
    if (image.isNull())
        return QImage();
    // Written pixel by pixel as plain ARGB, whatever the source format
    // (an indexed picture would take the colours as palette indexes).
    QImage result(image.size(), QImage::Format_ARGB32);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            QColor color = image.pixelColor(x, y);
            const int alpha = color.alpha();
            color.setAlpha(255);
            const QColor tinted = updateColor(color);
            result.setPixel(x, y, qRgba(tinted.red(), tinted.green(), tinted.blue(), alpha));
        }
    }
    return result;
}

QImage CAppStyle::drawRectToImage(QImage image, int x, int y, int w, int h, int penWidth,
                                  const QColor &color)
{
    if (image.isNull() || w <= 0 || h <= 0 || penWidth <= 0)
        return image;
    // Indexed and monochrome pictures cannot be painted on.
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono
        || image.format() == QImage::Format_MonoLSB)
        image = image.convertToFormat(QImage::Format_ARGB32);
    // The outline lies inside QRect(x, y, w, h): its right and bottom lines
    // are the columns and rows x + w - 1 and y + h - 1 (a stroked QRect would
    // put them one pixel outside, off a picture of exactly that size).
    const int p = qMin(penWidth, qMin(w, h));
    QPainter painter(&image);
    painter.fillRect(QRect(x, y, w, p), color);
    painter.fillRect(QRect(x, y + h - p, w, p), color);
    if (h > 2 * p) {
        painter.fillRect(QRect(x, y + p, p, h - 2 * p), color);
        painter.fillRect(QRect(x + w - p, y + p, p, h - 2 * p), color);
    }
    painter.end();
    return image;
}
