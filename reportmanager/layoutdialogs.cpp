#include "reportmanager/layoutdialogs.h"

#include "designer/colordialog.h"
#include "designer/textdlg.h"
#include "style/appstyle.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include <algorithm>

namespace LayoutDialogs {

namespace {

int realExec(QDialog *dialog)
{
    return dialog->exec();
}

// The program's own "Style" dialog, in the colours of the scheme. It hands
// back the font it was given unless the user changed something.
bool realPickFont(CAppStyle *style, QWidget *parent, QFont *font, bool noBold)
{
    CTextDlgWin dialog(style, parent, noBold);
    dialog.content->SetFont(*font);
    dialog.content->SetText(QStringLiteral("Example Text"));
    exec(&dialog);
    if (dialog.content->result != 0)
        return false;
    *font = dialog.content->GetFont();
    return true;
}

// The program's own "Select Color" dialog, its dialog sheet in the colours of
// the scheme. It works in whole hue, saturation
// and value steps, which do not give every colour back exactly; "OK" on the
// colour as it was offered keeps that colour.
bool realPickColor(CAppStyle *style, QColor *color)
{
    CColorDialog dialog(true, nullptr);
    if (style)
        dialog.setStyleSheet(style->updateColor(dialog.styleSheet()));
    dialog.slotSetColor(*color);
    dialog.slotUpdate();
    const int offered[3] = {dialog.m_Hue, dialog.m_Sat, dialog.m_Val};
    exec(&dialog);
    if (dialog.m_Result.mode == 255)
        return false;
    const int chosen[3] = {dialog.m_Hue, dialog.m_Sat, dialog.m_Val};
    if (!std::equal(chosen, chosen + 3, offered))
        *color = dialog.m_Result.color;
    color->setAlpha(255);
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

bool pickColor(CAppStyle *style, QColor *color)
{
    return colorPicker(style, color);
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
