#include "reportmanager/layoutdialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QUrl>

namespace LayoutDialogs {

namespace {

int realExec(QDialog *dialog)
{
    return dialog->exec();
}

// Until the designer's own font and colour dialogs are wired in by the main
// window, the platform dialogs stand in for them. The section fonts are sized
// in pixels, which the platform dialog shows as its size number.
bool realPickFont(CAppStyle *, QWidget *parent, QFont *font, bool noBold)
{
    QFont shown = *font;
    if (shown.family().isEmpty()) {
        shown.setFamily(QStringLiteral("Arial"));
        shown.setPixelSize(11);
    }
    if (shown.pixelSize() < 1)
        shown.setPixelSize(12);
    const int pixels = shown.pixelSize();
    shown.setPointSize(pixels);
    QFontDialog dialog(shown, parent);
    dialog.setWindowTitle(QStringLiteral("Style"));
    if (exec(&dialog) != QDialog::Accepted)
        return false;
    QFont chosen = dialog.selectedFont();
    const int size = chosen.pointSize() > 0 ? chosen.pointSize() : pixels;
    chosen.setPixelSize(size);
    if (noBold)
        chosen.setWeight(font->weight());
    *font = chosen;
    return true;
}

bool realPickColor(QColor *color)
{
    QColorDialog dialog(*color);
    dialog.setWindowTitle(QStringLiteral("Select Color"));
    if (exec(&dialog) != QDialog::Accepted)
        return false;
    QColor chosen = dialog.selectedColor();
    chosen.setAlpha(255);
    *color = chosen;
    return true;
}

QString realOpenFile(QWidget *parent, const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

bool realOpenUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

ExecHandler execHandler = realExec;
FontPicker fontPicker = realPickFont;
ColorPicker colorPicker = realPickColor;
OpenFileHandler openFileHandler = realOpenFile;
OpenUrlHandler openUrlHandler = realOpenUrl;

template<typename T> T swapHandler(T *slot, T handler, T real)
{
    const T previous = *slot;
    *slot = handler ? handler : real;
    return previous;
}

} // namespace

ExecHandler setExecHandler(ExecHandler handler)
{
    return swapHandler(&execHandler, handler, realExec);
}

int exec(QDialog *dialog)
{
    return execHandler(dialog);
}

FontPicker setFontPicker(FontPicker picker)
{
    return swapHandler(&fontPicker, picker, realPickFont);
}

bool pickFont(CAppStyle *style, QWidget *parent, QFont *font, bool noBold)
{
    return fontPicker(style, parent, font, noBold);
}

ColorPicker setColorPicker(ColorPicker picker)
{
    return swapHandler(&colorPicker, picker, realPickColor);
}

bool pickColor(QColor *color)
{
    return colorPicker(color);
}

OpenFileHandler setOpenFileHandler(OpenFileHandler handler)
{
    return swapHandler(&openFileHandler, handler, realOpenFile);
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &filter)
{
    return openFileHandler(parent, caption, filter);
}

OpenUrlHandler setOpenUrlHandler(OpenUrlHandler handler)
{
    return swapHandler(&openUrlHandler, handler, realOpenUrl);
}

bool openUrl(const QUrl &url)
{
    return openUrlHandler(url);
}

} // namespace LayoutDialogs
