#pragma once

#include <QString>

class CAppStyle;
class QColor;
class QDialog;
class QFont;
class QUrl;
class QWidget;

// Every modal dialog, file dialog and folder window that the Report Manager
// and its text editor open goes through here, so that tests can answer them
// instead of blocking. Each setter returns the previous handler; nullptr
// restores the real behaviour.
namespace LayoutDialogs {

// Runs a dialog the manager has built and returns its exec() result.
using ExecHandler = int (*)(QDialog *dialog);
ExecHandler setExecHandler(ExecHandler handler);
int exec(QDialog *dialog);

// The "Style" font dialog (the designer's text style dialog with the sample
// "Example Text"): edits font in place and returns true after its "Ok". With
// noBold the dialog offers no bold switch. Sizes are pixel sizes.
using FontPicker = bool (*)(CAppStyle *style, QWidget *parent, QFont *font, bool noBold);
FontPicker setFontPicker(FontPicker picker);
bool pickFont(CAppStyle *style, QWidget *parent, QFont *font, bool noBold);

// The "Select Color" dialog (the designer's colour dialog): edits color in
// place (always opaque) and returns true after its "OK".
using ColorPicker = bool (*)(CAppStyle *style, QColor *color);
ColorPicker setColorPicker(ColorPicker picker);
bool pickColor(CAppStyle *style, QColor *color);

// The "Open File" dialog; an empty result means cancelled.
using OpenFileHandler = QString (*)(QWidget *parent, const QString &caption, const QString &filter);
OpenFileHandler setOpenFileHandler(OpenFileHandler handler);
QString getOpenFileName(QWidget *parent, const QString &caption, const QString &filter);

// Shows a folder in the platform's file browser.
using OpenUrlHandler = bool (*)(const QUrl &url);
OpenUrlHandler setOpenUrlHandler(OpenUrlHandler handler);
bool openUrl(const QUrl &url);

} // namespace LayoutDialogs
