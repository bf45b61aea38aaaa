#include "reportmanager/texteditor.h"

#include "base/apppaths.h"
#include "layouts/layoutlimits.h"
#include "layouts/markupclamps.h"
#include "layouts/reportsetting.h"
#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"
#include "reportmanager/imagepreview.h"
#include "reportmanager/layoutdialogs.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

namespace {

// Texts come from layouts that anyone may share, so the editor shows pictures
// only from where report pages may show them. Any other picture, and one that
// does not load, shows as a missing one; never as nothing, for then the
// rich-text engine would read the file by its name itself. Nothing else (style
// sheets) is loaded at all.
class CSectionTextDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type != ImageResource)
            return QVariant();
        // The picture judged is the one loaded, named as a report names it.
        const QUrl url = pictureReferenceUrl(name.toString(QUrl::FullyEncoded));
        QVariant picture;
        if (isPictureUrl(url))
            picture = QTextDocument::loadResource(type, url);
        if (picture.userType() != QMetaType::QPixmap && picture.userType() != QMetaType::QImage)
            picture = missingPicture();
        addResource(type, name, picture);
        return picture;
    }

private:
    static QPixmap missingPicture()
    {
        QPixmap picture = QApplication::style()->standardIcon(QStyle::SP_FileIcon).pixmap(16, 16);
        if (picture.isNull()) {
            picture = QPixmap(16, 16);
            picture.fill(Qt::transparent);
        }
        return picture;
    }
};

// Pasted or dropped rich text keeps only what the editor can make itself:
// markup that embeds or fetches goes before the text reaches the document.
// It comes in as the editor shows text, without the stored form's paragraph
// markers, whose line breaks would become blank lines of the text; markup
// the filter refuses comes in as its plain text.
class CSectionTextEdit : public QTextEdit
{
public:
    using QTextEdit::QTextEdit;

    // The stored form's length of the text as last taken.
    int storedLength = 0;

protected:
    // An edit that makes the text too long is taken back with one undo
    // step. Typed characters join the step before them, so close to the
    // limit each key is made a step of its own.
    void keyPressEvent(QKeyEvent *event) override
    {
        constexpr int NearLength
            = SectionMarkup::MaxTextLength - 4 * SectionMarkup::StoredPageLength;
        if (storedLength < NearLength || event->matches(QKeySequence::Undo)
            || event->matches(QKeySequence::Redo)) {
            QTextEdit::keyPressEvent(event);
            return;
        }
        QTextCursor step(document());
        step.beginEditBlock();
        QTextEdit::keyPressEvent(event);
        step.endEditBlock();
    }

    void insertFromMimeData(const QMimeData *source) override
    {
        const QString richFormat = QStringLiteral("application/x-qrichtext");
        if (!source->hasHtml() && !source->hasFormat(richFormat)) {
            QTextEdit::insertFromMimeData(source);
            return;
        }
        const QString html = source->hasFormat(richFormat)
            ? QString::fromUtf8(source->data(richFormat))
            : source->html();
        QMimeData cleaned;
        QString kept;
        if (SectionMarkup::filter(html, &kept))
            cleaned.setHtml(withoutParagraphMarkers(kept));
        if (source->hasText())
            cleaned.setText(source->text());
        QTextEdit::insertFromMimeData(&cleaned);
    }
};

} // namespace

CTextEditor::CTextEditor(CAppStyle *style, QStringList *texts, QList<QImage> *images,
                         QList<bool> *useStdText, QString *defaultTexts, int kind, int type,
                         QWidget *parent, int defaultCount)
    : QDialog(parent)
    , style(style)
    , sectionKind(kind)
    , defaultTexts(defaultTexts)
    , defaultCount(defaultTexts ? defaultCount : 0)
    , texts(texts)
    , images(images)
    , useStdText(useStdText)
    , workTexts(*texts)
    , workImages(*images)
    , workStdFlags(*useStdText)
    , iconFolder(getImagesPath())
{
    const auto styleWidget = [this](QWidget *widget, WidgetType type) {
        if (this->style)
            this->style->setWidgetStyle(widget, type);
    };
    const auto makeToolButton
        = [&](const QString &tip, const QString &icon, const QRect &geometry, bool checkable) {
              auto *button = new QToolButton(this);
              button->setToolTip(tip);
              if (icon.isEmpty())
                  button->setText(tip);
              else
                  button->setIcon(QIcon(iconFolder + icon));
              button->setGeometry(geometry);
              button->setIconSize(QSize(24, 24));
              button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
              button->setCheckable(checkable);
              styleWidget(button, WTButton);
              return button;
          };
    boldButton = makeToolButton(QStringLiteral("Bold"), QStringLiteral("text-bold.png"),
                                QRect(10, 10, 30, 30), true);
    connect(boldButton, &QToolButton::clicked, this, &CTextEditor::OnTextBold);
    italicButton = makeToolButton(QStringLiteral("Italic"), QStringLiteral("text-italic.png"),
                                  QRect(45, 10, 30, 30), true);
    connect(italicButton, &QToolButton::clicked, this, &CTextEditor::OnTextItalic);
    underlineButton = makeToolButton(QStringLiteral("Underline"), QStringLiteral("text-under.png"),
                                     QRect(80, 10, 30, 30), true);
    connect(underlineButton, &QToolButton::clicked, this, &CTextEditor::OnTextUnderline);

    fontCombo = new QFontComboBox(this);
    fontCombo->setFontFilters(QFontComboBox::ScalableFonts);
    fontCombo->setCurrentFont(QFont(QFontInfo(QFont(QStringLiteral("Arial"))).family()));
    fontCombo->setGeometry(130, 15, 180, 25);
    styleWidget(fontCombo, WTInput);
    connect(fontCombo, &QComboBox::textActivated, this, &CTextEditor::OnTextFamily);

    sizeCombo = new QComboBox(this);
    sizeCombo->setEditable(true);
    for (const int size : QFontDatabase::standardSizes())
        sizeCombo->addItem(QString::number(size));
    sizeCombo->setGeometry(320, 15, 80, 25);
    styleWidget(sizeCombo, WTInput);
    connect(sizeCombo, &QComboBox::textActivated, this, &CTextEditor::OnTextSize);

    colorButton = makeToolButton(QStringLiteral("Color"), QString(), QRect(420, 10, 60, 30), false);
    connect(colorButton, &QToolButton::clicked, this, &CTextEditor::OnTextColor);

    entryCombo = new QComboBox(this);
    entryCombo->setGeometry(500, 15, 110, 25);
    styleWidget(entryCombo, WTInput);

    imageButton = makeToolButton(QStringLiteral("Image"), QString(), QRect(630, 10, 60, 30), false);
    connect(imageButton, &QToolButton::clicked, this, &CTextEditor::OnImage);

    defaultCheck = new QCheckBox(QStringLiteral("Default setting"), this);
    defaultCheck->setGeometry(710, 13, 160, 25);
    styleWidget(defaultCheck, WTWindow);
    connect(defaultCheck, &QCheckBox::toggled, this, &CTextEditor::defSet);

    auto *sectionTextEdit = new CSectionTextEdit(this);
    textEdit = sectionTextEdit;
    textEdit->setDocument(new CSectionTextDocument(textEdit));
    textEdit->move(10, 50);
    textEdit->setFont(QFont(QStringLiteral("Arial"), 16));
    styleWidget(textEdit, WTLineEdit);
    connect(textEdit, &QTextEdit::textChanged, this, &CTextEditor::editText);
    connect(textEdit, &QTextEdit::currentCharFormatChanged, this,
            &CTextEditor::currentCharFormatChanged);

    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->resize(80, 20);
    styleWidget(cancelButton, WTButton);
    connect(cancelButton, &QPushButton::clicked, this, &CTextEditor::OnCancel);
    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->resize(80, 20);
    styleWidget(okButton, WTButton);
    connect(okButton, &QPushButton::clicked, this, &CTextEditor::OnOk);
    // Return in the text goes to the text, never to a default button.
    okButton->setAutoDefault(false);
    cancelButton->setAutoDefault(false);

    styleWidget(this, WTWindow);
    setWindowTitle(QStringLiteral("Text Editor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setMinimumSize(800, 600);
    // Wide enough for the whole "Default setting" caption at the toolbar's end.
    resize(880, 600);

    for (const EditorEntry &entry :
         editorEntries(kind, type, defaultTexts, this->defaultCount, workTexts.size()))
        entryCombo->addItem(entry.label, entry.entry);
    connect(entryCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CTextEditor::setCurList);
    if (entryCombo->count() > 0) {
        entryCombo->setCurrentIndex(0);
        setCurList(0);
        setCurList(0);
    }
    textEdit->setFocus();
}

CTextEditor::~CTextEditor() = default;

int CTextEditor::currentEntry() const
{
    const int index = entryCombo->currentIndex();
    return index < 0 ? 0 : entryCombo->itemData(index).toInt();
}

bool CTextEditor::hasEntry(int entry) const
{
    return entry >= 0 && entry < workTexts.size() && entry < workStdFlags.size();
}

void CTextEditor::setCurList(int index)
{
    disconnect(textEdit, &QTextEdit::textChanged, this, &CTextEditor::editText);
    const int entry = index < 0 ? 0 : entryCombo->itemData(index).toInt();
    if (hasEntry(entry) && !workTexts.at(entry).isNull())
        textEdit->setHtml(customTextForEditor(workTexts.at(entry)));
    else if (entry < defaultCount)
        textEdit->setText(defaultTexts[entry]);
    else
        textEdit->clear();
    sizeOffset = EditorSizeOffset;
    textEdit->setHtml(upHtmlFontSize(textEdit->toHtml(), sizeOffset));
    {
        const QSignalBlocker blocker(defaultCheck);
        defaultCheck->setChecked(hasEntry(entry) ? workStdFlags.at(entry) : true);
    }
    textEdit->setFont(QFont(QStringLiteral("Arial"), 16));
    m_undoSteps = textEdit->document()->availableUndoSteps();
    static_cast<CSectionTextEdit *>(textEdit)->storedLength
        = hasEntry(entry) ? workTexts.at(entry).size() : 0;
    connect(textEdit, &QTextEdit::textChanged, this, &CTextEditor::editText);
    // The toolbar shows the format at the cursor of the newly loaded text.
    currentCharFormatChanged(textEdit->currentCharFormat());
}

void CTextEditor::editText()
{
    if (m_refusing)
        return;
    // The stored form is made on every edit (about a millisecond a page of
    // text), and its filter is the check: a refused edit costs no more.
    QTextDocument *document = textEdit->document();
    const bool empty = document->toPlainText().isEmpty();
    QString stored;
    QString problem;
    if (!empty && !storeCustomText(document->toHtml("UTF-8"), sizeOffset, &stored, &problem)) {
        refuseEdit(problem, stored.size());
        return;
    }
    m_undoSteps = document->availableUndoSteps();
    static_cast<CSectionTextEdit *>(textEdit)->storedLength = stored.size();
    defaultCheck->setChecked(false);
    const int entry = currentEntry();
    if (hasEntry(entry))
        workTexts[entry] = empty ? QString() : stored;
}

void CTextEditor::refuseEdit(const QString &problem, int storedLength)
{
    // The edit is the last undo step, or the last one taken back.
    QTextDocument *document = textEdit->document();
    m_refusing = true;
    if (document->availableUndoSteps() < m_undoSteps)
        document->redo();
    else
        document->undo();
    m_refusing = false;
    const int pages = problem == SectionMarkup::textTooLong()
        ? std::max(1, SectionMarkup::pagesBeyond(storedLength))
        : 0;
    CInfoDlgWin::showInfoMessageBox(style, QStringLiteral("Error"),
                                    LayoutLimits::editRefusal(layoutName, sectionName, pages),
                                    this);
}

void CTextEditor::defSet(bool checked)
{
    const int entry = currentEntry();
    if (hasEntry(entry))
        workStdFlags[entry] = checked;
    if (!checked)
        editText();
}

void CTextEditor::OnOk()
{
    *texts = workTexts;
    *images = workImages;
    *useStdText = workStdFlags;
    close();
}

void CTextEditor::OnCancel()
{
    close();
}

void CTextEditor::mergeFormatOnWordOrSelection(const QTextCharFormat &format)
{
    QTextCursor cursor = textEdit->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    textEdit->mergeCurrentCharFormat(format);
}

void CTextEditor::OnTextBold()
{
    QTextCharFormat format;
    format.setFontWeight(boldButton->isChecked() ? QFont::Bold : QFont::Normal);
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnTextItalic()
{
    QTextCharFormat format;
    format.setFontItalic(italicButton->isChecked());
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnTextUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(underlineButton->isChecked());
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnTextFamily(const QString &family)
{
    QTextCharFormat format;
    format.setFontFamily(family);
    // Text that named families before (stored or pasted) keeps them as a
    // list of its own, which the engine writes ahead of the family, and a
    // browser takes the first it has: the chosen family must be the list.
    format.setFontFamilies(QStringList {family});
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnTextSize(const QString &size)
{
    // The box shows report sizes; the editor shows them enlarged. A size
    // typed into the box is held to the largest a layout keeps.
    const double points
        = std::min(size.toDouble(), double(MarkupClamps::MaxFontPoints)) + sizeOffset;
    if (points <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnTextColor()
{
    QColor color = textColor.isValid() ? textColor : QColor(Qt::black);
    if (!LayoutDialogs::pickColor(style, &color))
        return;
    textColor = color;
    QTextCharFormat format;
    format.setForeground(QBrush(color));
    mergeFormatOnWordOrSelection(format);
}

void CTextEditor::OnImage()
{
    const int slot = sectionKind == RKCelebrities ? currentEntry() : 0;
    if (slot < 0 || slot >= workImages.size())
        return;
    CImagePreview preview(style, &workImages[slot], sectionKind, this);
    preview.pixelsLeft = picturePixelsLeft - LayoutLimits::picturePixels(workImages)
        + LayoutLimits::picturePixels(workImages.at(slot));
    LayoutDialogs::exec(&preview);
}

void CTextEditor::currentCharFormatChanged(const QTextCharFormat &format)
{
    const QFont font = format.font();
    fontCombo->setCurrentIndex(fontCombo->findText(QFontInfo(font).family()));
    // A pasted size in pixels is stored in points (a CSS pixel is 3/4 point),
    // and a size not in the list still shows: the box shows what prints.
    const double shown = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    const QString size = QString::number(shown - sizeOffset);
    const int sizeIndex = sizeCombo->findText(size);
    sizeCombo->setCurrentIndex(sizeIndex);
    if (sizeIndex < 0)
        sizeCombo->setEditText(size);
    boldButton->setChecked(font.weight() > QFont::Medium);
    italicButton->setChecked(font.style() != QFont::StyleNormal);
    underlineButton->setChecked(font.underline());
    textColor = format.foreground().color();
}

void CTextEditor::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CTextEditor::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    okButton->move(w / 2 + 10, h - 30);
    cancelButton->move(w / 2 - 90, h - 30);
    textEdit->resize(w - 20, h - 100);
}
