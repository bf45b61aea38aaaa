#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QString>
#include <QWidget>

class CAppStyle;
class QAction;
class QComboBox;
class QFontComboBox;
class QPushButton;
class QTextEdit;
class QToolButton;

// Font rules of the text style dialog, usable without a window.
namespace TextStyleMath {

// The font the dialog shows for a given one: no family becomes "Arial" at
// 11 pixels, a size given in points becomes 12 pixels.
QFont dialogFont(QFont font);
// Bold is only the exact bold weight; semi-bold and heavier weights are not.
bool isBold(const QFont &font);
// A typed size: a positive decimal integer (at most the largest text a
// template keeps), else -1.
int parsePixelSize(const QString &text);

} // namespace TextStyleMath

// The content of the "Style" dialog: family, pixel size, bold, italic and
// underline of a font with a preview of a sample text.
class CTextDlg : public QWidget
{
    Q_OBJECT

public:
    CTextDlg(CAppStyle *style, QWidget *parent, bool noBold);

    void SetText(const QString &text);
    QString GetText();
    void SetFont(const QFont &font);
    QFont GetFont() const;
    void SetAlign(int align);
    int GetAlign() const;
    void SetColor(const QColor &color);
    QColor GetColor() const;

    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QFontComboBox *familyCombo = nullptr;
    QComboBox *sizeCombo = nullptr;
    QTextEdit *preview = nullptr;
    QString text;
    QFont font;
    int alignment = Qt::AlignCenter;
    QColor color;
    CAppStyle *appStyle = nullptr;
    QString imagesFolder;
    // 0 after "Ok", -1 otherwise.
    int result = -1;
    QToolButton *boldButton = nullptr;
    QToolButton *italicButton = nullptr;
    QToolButton *underlineButton = nullptr;

public Q_SLOTS:
    void OnTextFamily(const QString &family);
    void OnTextSize(const QString &size);
    void OnTextBold();
    void OnTextItalic();
    void OnTextUnderline();
    void OnTextAlign(QAction *action);
    void OnTextColor();
    void OnOk();
    void OnCancel();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *makeToolButton(const QString &tip, const QString &icon);
    void selectAllPreview();
    void placeButtons();
    void clearPreviewSelection();
    void closeFrame();
};

class CTextDlgWin : public QDialog
{
    Q_OBJECT

public:
    CTextDlgWin(CAppStyle *style, QWidget *parent, bool noBold);

    CTextDlg *content = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
