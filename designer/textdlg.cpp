#include "textdlg.h"
#include "designer/templatelimits.h"

#include "base/apppaths.h"
#include "style/appstyle.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOption>
#include <QTextEdit>
#include <QToolButton>

namespace TextStyleMath {

QFont dialogFont(QFont font)
{
    if (font.family().isEmpty()) {
        font.setFamily(QStringLiteral("Arial"));
        font.setPixelSize(11);
    }
    if (font.pixelSize() < 1)
        font.setPixelSize(12);
    return font;
}

bool isBold(const QFont &font)
{
    return font.weight() == QFont::Bold;
}

int parsePixelSize(const QString &text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok, 10);
    // A template keeps no larger text: the reader would cut it down.
    return ok && size > 0 ? qMin(size, TemplateLimits::MaxFontPixels) : -1;
}

} // namespace TextStyleMath

CTextDlg::CTextDlg(CAppStyle *style, QWidget *parent, bool noBold)
    : QWidget(parent)
    , appStyle(style)
    , imagesFolder(getImagesPath())
{
    familyCombo = new QFontComboBox(this);
    familyCombo->setGeometry(10, 15, 240, 25);
    familyCombo->setFontFilters(QFontComboBox::ScalableFonts);
    familyCombo->setCurrentFont(QFont(QStringLiteral("Arial")));
    connect(familyCombo, &QComboBox::textActivated, this, &CTextDlg::OnTextFamily);

    sizeCombo = new QComboBox(this);
    sizeCombo->setGeometry(260, 15, 80, 25);
    sizeCombo->setEditable(true);
    for (int size : QFontDatabase::standardSizes())
        sizeCombo->addItem(QString::number(size));
    connect(sizeCombo, &QComboBox::textActivated, this, &CTextDlg::OnTextSize);

    preview = new QTextEdit(this);
    preview->setGeometry(10, 88, 330, 172);
    preview->setReadOnly(true);
    preview->setFontPointSize(10);

    boldButton = makeToolButton(QStringLiteral("Bold"), QStringLiteral("text-bold.png"));
    italicButton = makeToolButton(QStringLiteral("Italic"), QStringLiteral("text-italic.png"));
    underlineButton = makeToolButton(QStringLiteral("Underline"), QStringLiteral("text-under.png"));
    connect(boldButton, &QToolButton::clicked, this, &CTextDlg::OnTextBold);
    connect(italicButton, &QToolButton::clicked, this, &CTextDlg::OnTextItalic);
    connect(underlineButton, &QToolButton::clicked, this, &CTextDlg::OnTextUnderline);
    boldButton->move(10, 45);
    italicButton->move(45, 45);
    underlineButton->move(80, 45);
    if (noBold) {
        boldButton->hide();
        italicButton->move(10, 45);
        underlineButton->move(45, 45);
    }

    okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->resize(80, 20);
    okButton->setAutoDefault(false);
    connect(okButton, &QPushButton::clicked, this, &CTextDlg::OnOk);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->resize(80, 20);
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &CTextDlg::OnCancel);

    preview->setFocus();
    if (appStyle) {
        appStyle->setWidgetStyle(this, WTWindow);
        for (QWidget *button :
             {static_cast<QWidget *>(okButton), static_cast<QWidget *>(cancelButton),
              static_cast<QWidget *>(boldButton), static_cast<QWidget *>(italicButton),
              static_cast<QWidget *>(underlineButton)})
            appStyle->setWidgetStyle(button, WTButton);
        // The button sheet has no checked face; without one Bold, Italic and
        // Underline would not show whether they are on.
        const QString checkedFace = appStyle->updateColor(QStringLiteral(
            " QToolButton:checked { background: #2d241f; border: 1px solid #8a7a6e; }"));
        for (QToolButton *button : {boldButton, italicButton, underlineButton})
            button->setStyleSheet(button->styleSheet() + checkedFace);
        appStyle->setWidgetStyle(preview, WTLineEdit);
        appStyle->setWidgetStyle(familyCombo, WTInput);
        appStyle->setWidgetStyle(sizeCombo, WTInput);
    }

    const QSize size(350, 300);
    resize(size);
    placeButtons();
    QWidget *frame = parentWidget();
    if (!frame)
        return;
    frame->setWindowTitle(QStringLiteral("Style"));
    frame->resize(size);
    frame->setFixedSize(size);
    frame->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint
                          | Qt::WindowCloseButtonHint);
    QRect area;
    if (const QWidget *owner = frame->parentWidget()) {
        area
            = QRect(owner->isWindow() ? owner->pos() : owner->mapToGlobal(QPoint()), owner->size());
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    const QPoint centre = area.topLeft()
        + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
    frame->move(qMax(0, centre.x()), qMax(0, centre.y()));
}

QToolButton *CTextDlg::makeToolButton(const QString &tip, const QString &icon)
{
    auto button = new QToolButton(this);
    button->resize(30, 30);
    button->setCheckable(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(24, 24));
    button->setToolTip(tip);
    button->setIcon(QIcon(imagesFolder + icon));
    return button;
}

void CTextDlg::paintEvent(QPaintEvent *)
{
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void CTextDlg::resizeEvent(QResizeEvent *)
{
    placeButtons();
}

void CTextDlg::placeButtons()
{
    okButton->move(width() / 2 + 10, height() - 30);
    cancelButton->move(width() / 2 - 90, height() - 30);
}

void CTextDlg::selectAllPreview()
{
    preview->selectAll();
}

// Formatting goes to the whole sample; the highlight of that selection
// would only hide how the sample looks.
void CTextDlg::clearPreviewSelection()
{
    QTextCursor cursor = preview->textCursor();
    cursor.clearSelection();
    preview->setTextCursor(cursor);
}

void CTextDlg::SetText(const QString &newText)
{
    text = newText;
    preview->setPlainText(newText);
    // The whole sample shows the dialog's font, alignment and colour.
    selectAllPreview();
    preview->setCurrentFont(font);
    preview->setAlignment(Qt::Alignment(alignment));
    if (color.isValid())
        preview->setTextColor(color);
    clearPreviewSelection();
}

QString CTextDlg::GetText()
{
    text = preview->toPlainText();
    return text;
}

void CTextDlg::SetFont(const QFont &newFont)
{
    font = TextStyleMath::dialogFont(newFont);
    selectAllPreview();
    preview->setFont(font);
    preview->setCurrentFont(font);

    const QString resolved = QFontInfo(font).family();
    familyCombo->setCurrentIndex(familyCombo->findText(resolved, Qt::MatchFixedString));

    const QString size = QString::number(font.pixelSize());
    const int sizeIndex = sizeCombo->findText(size, Qt::MatchExactly);
    if (sizeIndex >= 0)
        sizeCombo->setCurrentIndex(sizeIndex);
    sizeCombo->setEditText(size);

    boldButton->setChecked(TextStyleMath::isBold(font));
    italicButton->setChecked(font.style() != QFont::StyleNormal);
    underlineButton->setChecked(font.underline());
    clearPreviewSelection();
}

QFont CTextDlg::GetFont() const
{
    return font;
}

void CTextDlg::SetAlign(int align)
{
    alignment = align;
    selectAllPreview();
    preview->setAlignment(Qt::Alignment(align));
    clearPreviewSelection();
}

int CTextDlg::GetAlign() const
{
    return alignment;
}

void CTextDlg::SetColor(const QColor &newColor)
{
    color = newColor;
    selectAllPreview();
    preview->setTextColor(newColor);
    clearPreviewSelection();
}

QColor CTextDlg::GetColor() const
{
    return color;
}

void CTextDlg::OnTextFamily(const QString &family)
{
    selectAllPreview();
    preview->setFontFamily(family);
    font.setFamily(family);
    preview->setFocus();
    clearPreviewSelection();
}

void CTextDlg::OnTextSize(const QString &size)
{
    selectAllPreview();
    const int pixels = TextStyleMath::parsePixelSize(size);
    // QFont refuses sizes below 1 with a warning; such a text leaves the size.
    if (pixels > 0) {
        font.setPixelSize(pixels);
        preview->setCurrentFont(font);
    }
    preview->setFocus();
    clearPreviewSelection();
}

void CTextDlg::OnTextBold()
{
    selectAllPreview();
    const int weight = boldButton->isChecked() ? QFont::Bold : QFont::Normal;
    preview->setFontWeight(weight);
    font.setWeight(weight);
    clearPreviewSelection();
}

void CTextDlg::OnTextItalic()
{
    selectAllPreview();
    const bool on = italicButton->isChecked();
    preview->setFontItalic(on);
    font.setStyle(on ? QFont::StyleItalic : QFont::StyleNormal);
    clearPreviewSelection();
}

void CTextDlg::OnTextUnderline()
{
    selectAllPreview();
    const bool on = underlineButton->isChecked();
    preview->setFontUnderline(on);
    font.setUnderline(on);
    clearPreviewSelection();
}

void CTextDlg::OnTextAlign(QAction *)
{
    selectAllPreview();
    preview->setAlignment(Qt::AlignLeft);
    clearPreviewSelection();
}

void CTextDlg::OnTextColor()
{
    const QColor chosen = QColorDialog::getColor(preview->textColor(), this);
    if (!chosen.isValid())
        return;
    selectAllPreview();
    preview->setTextColor(chosen);
    color = chosen;
    clearPreviewSelection();
}

void CTextDlg::closeFrame()
{
    if (parentWidget())
        parentWidget()->close();
}

void CTextDlg::OnOk()
{
    const int pixels = TextStyleMath::parsePixelSize(sizeCombo->currentText());
    if (pixels > 0)
        font.setPixelSize(pixels);
    result = 0;
    closeFrame();
}

void CTextDlg::OnCancel()
{
    result = -1;
    closeFrame();
}

CTextDlgWin::CTextDlgWin(CAppStyle *style, QWidget *parent, bool noBold)
    : QDialog(parent)
{
    content = new CTextDlg(style, this, noBold);
}

void CTextDlgWin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    content->preview->setFocus();
}

void CTextDlgWin::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
