#pragma once

#include "layouts/layoutlimits.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QStringList>

class CAppStyle;
class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;
class QTextCharFormat;
class QTextEdit;
class QToolButton;

// The "Text Editor" of one report section: per entry (reading number) a
// custom rich text in place of the standard one, the choice between the two,
// and the section's pictures. It edits working copies and writes them into
// the section's lists only on "Ok".
class CTextEditor : public QDialog
{
    Q_OBJECT

public:
    // defaultTexts is the reading-text table of the section's standard texts,
    // defaultCount its number of entries.
    CTextEditor(CAppStyle *style, QStringList *texts, QList<QImage> *images,
                QList<bool> *useStdText, QString *defaultTexts, int kind, int type, QWidget *parent,
                int defaultCount = 128);
    ~CTextEditor() override;

    // The entry of the current line of the entry box (entry 0 when none).
    int currentEntry() const;

    CAppStyle *style = nullptr;
    int sectionKind = 0;
    const QString *defaultTexts = nullptr;
    int defaultCount = 0;
    QStringList *texts = nullptr;
    QList<QImage> *images = nullptr;
    QList<bool> *useStdText = nullptr;
    QStringList workTexts;
    QList<QImage> workImages;
    QList<bool> workStdFlags;
    QColor textColor;
    int sizeOffset = 0;
    // The pixels that the section's pictures may take together: what the rest
    // of the layout leaves of one layout file's pictures.
    qint64 picturePixelsLeft = LayoutLimits::MaxPicturePixels;
    QString iconFolder;
    // Named in the refusal of an edit that makes the text too long.
    QString layoutName;
    QString sectionName;

    QToolButton *boldButton = nullptr;
    QToolButton *italicButton = nullptr;
    QToolButton *underlineButton = nullptr;
    QFontComboBox *fontCombo = nullptr;
    QComboBox *sizeCombo = nullptr;
    QToolButton *colorButton = nullptr;
    QComboBox *entryCombo = nullptr;
    QToolButton *imageButton = nullptr;
    QCheckBox *defaultCheck = nullptr;
    QTextEdit *textEdit = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *okButton = nullptr;

public Q_SLOTS:
    void OnOk();
    void OnCancel();
    void OnTextItalic();
    void OnTextBold();
    void OnTextUnderline();
    void OnTextColor();
    void OnImage();
    void OnTextFamily(const QString &family);
    void OnTextSize(const QString &size);
    void currentCharFormatChanged(const QTextCharFormat &format);
    void setCurList(int index);
    void defSet(bool checked);
    void editText();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool hasEntry(int entry) const;
    // Takes back the edit that made the current text one a layout cannot
    // store, and says so.
    void refuseEdit(const QString &problem, int storedLength);
    void mergeFormatOnWordOrSelection(const QTextCharFormat &format);

    // The document's undo steps after the last edit taken.
    int m_undoSteps = 0;
    bool m_refusing = false;
};
