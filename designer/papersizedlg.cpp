#include "papersizedlg.h"

#include "style/appstyle.h"
#include "style/dialogsupport.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <cmath>

namespace PaperSizeMath {

namespace {
constexpr double mmPerInch = 25.4;
constexpr double matchTolerance = 0.02;
} // namespace

QVector<PaperSize> standardPapers()
{
    auto paper = [](const char *name, double w, double h, int units) {
        return PaperSize {QString::fromLatin1(name), w, h, units, false};
    };
    const PaperSize none {QString(), 0, 0, Inches, true};
    return {
        {QStringLiteral("Custom"), 0, 0, Inches, true},
        none,
        paper("Letter (8.5\" x 11\")", 8.5, 11, Inches),
        paper("Legal (8.5\" x 14\")", 8.5, 14, Inches),
        paper("Junior Legal (8\" x 5\")", 8, 5, Inches),
        paper("Ledger (17\" x 11\")", 17, 11, Inches),
        paper("Tabloid (11\" x 17\")", 11, 17, Inches),
        none,
        paper("A3 (297mm x 420mm)", 297, 420, Millimetres),
        paper("A4 (210mm x 297mm)", 210, 297, Millimetres),
        paper("A5 (148.5mm x 210mm)", 148.5, 210, Millimetres),
        paper("A6 (105mm x 148.5mm)", 105, 148.5, Millimetres),
    };
}

double toInches(double value, int units)
{
    return units == Millimetres ? value / mmPerInch : value;
}

double convertUnits(double value, int fromUnits, int toUnits)
{
    if (fromUnits == toUnits)
        return value;
    return toUnits == Millimetres ? value * mmPerInch : value / mmPerInch;
}

QString formatSize(double value)
{
    return QString::number(value, 'f', 2);
}

double limitSize(double inches)
{
    // NaN from a text like "nan" must not slip through the comparisons.
    if (!(inches >= 0.1))
        return 0.1;
    return qMin(inches, 50.0);
}

int parsePageCount(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    if (!ok || n < 1)
        return 0;
    return int(qMin<qlonglong>(n, 100000));
}

bool needsSwap(int orientation, double width, double height)
{
    return orientation == Vertical ? width > height : height > width;
}

PaperMatch matchPaper(const QVector<PaperSize> &papers, double widthInches, double heightInches)
{
    auto near = [](double a, double b) {
        return std::fabs(a - b) <= matchTolerance;
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = 0; row < papers.size(); ++row) {
            const PaperSize &p = papers.at(row);
            if (p.noSize)
                continue;
            double w = toInches(p.width, p.units);
            double h = toInches(p.height, p.units);
            if (pass == 1)
                std::swap(w, h);
            if (near(w, widthInches) && near(h, heightInches)) {
                // Ledger and Junior Legal are stored landscape; the shape of
                // the size decides, so that a match never turns the page.
                return {row, widthInches > heightInches ? Horizontal : Vertical};
            }
        }
    }
    return {};
}

} // namespace PaperSizeMath

using namespace PaperSizeMath;

namespace {

double editValue(const QLineEdit *edit)
{
    return edit->text().trimmed().toDouble();
}

} // namespace

CPaperSizeDlg::CPaperSizeDlg(CAppStyle *style, QWidget *parent, bool sizeOnly, int mode)
    : QWidget(parent)
    , m_Style(style)
    , m_Mode(mode)
{
    const bool cardForm = mode == 1;
    // The painting stays with the style sheet of the scheme.
    setAttribute(Qt::WA_StyledBackground);

    m_OkButton = new QPushButton(QStringLiteral("Ok"), this);
    m_OkButton->resize(80, 20);
    m_OkButton->setAutoDefault(false);
    connect(m_OkButton, &QPushButton::clicked, this, &CPaperSizeDlg::OnOk);
    m_CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_CancelButton->resize(80, 20);
    m_CancelButton->setAutoDefault(false);
    connect(m_CancelButton, &QPushButton::clicked, this, &CPaperSizeDlg::OnCancel);

    m_Papers = standardPapers();

    m_TitleLabel = new QLabel(QStringLiteral("Title"), this);
    m_TitleLabel->resize(100, 20);
    m_SizeLabel
        = new QLabel(sizeOnly ? QStringLiteral("Size") : QStringLiteral("Paper size"), this);
    m_SizeLabel->resize(100, 20);
    m_XLabel = new QLabel(QStringLiteral("X"), this);
    m_XLabel->setAlignment(Qt::AlignCenter);
    m_XLabel->resize(20, 20);
    m_TitleEdit = new QLineEdit(QStringLiteral("Untitled"), this);
    if (sizeOnly) {
        m_Width = 3;
        m_Height = 2;
    }
    m_WidthEdit = new QLineEdit(QString::number(m_Width), this);
    m_HeightEdit = new QLineEdit(QString::number(m_Height), this);

    m_PaperCombo = new QComboBox(this);
    for (const PaperSize &paper : qAsConst(m_Papers))
        m_PaperCombo->addItem(paper.name);
    m_PaperCombo->setCurrentIndex(0);
    if (cardForm) {
        m_SizeLabel->setText(QStringLiteral("Card Size"));
        m_PaperCombo->hide();
    }

    m_OrientationCombo = new QComboBox(this);
    m_OrientationCombo->addItems({QStringLiteral("Vertical"), QStringLiteral("Horizontal")});
    m_OrientationCombo->setCurrentIndex(0);
    if (cardForm) {
        m_OrientationCombo->setCurrentIndex(1);
        m_OrientationCombo->hide();
    }

    m_UnitsCombo = new QComboBox(this);
    m_UnitsCombo->addItems({QStringLiteral("inches"), QStringLiteral("mm")});
    m_UnitsCombo->setCurrentIndex(0);
    m_Units = Inches;
    if (sizeOnly) {
        m_PaperCombo->hide();
        m_OrientationCombo->hide();
    }

    const int sizeRow = sizeOnly ? 90 : 125;
    m_TitleLabel->move(10, 20);
    m_TitleEdit->setGeometry(10, 40, 380, 25);
    m_SizeLabel->move(10, 70);
    m_PaperCombo->setGeometry(10, 90, 250, 25);
    m_OrientationCombo->setGeometry(265, 90, 125, 25);
    m_WidthEdit->setGeometry(10, sizeRow, 80, 25);
    m_XLabel->move(90, sizeRow + 5);
    m_HeightEdit->setGeometry(110, sizeRow, 80, 25);
    m_UnitsCombo->setGeometry(200, sizeRow, 120, 25);
    if (cardForm) {
        m_WidthEdit->move(10, 90);
        m_HeightEdit->move(110, 90);
        m_XLabel->move(90, 95);
        m_UnitsCombo->hide();
        m_UnitsCombo->setCurrentIndex(1);
    }

    connectControls();

    m_Title = (sizeOnly || cardForm) ? QStringLiteral("Properties")
                                     : QStringLiteral("Report Properties");

    if (m_Style) {
        m_Style->setWidgetStyle(this, WTWindow);
        m_Style->setWidgetStyle(m_OkButton, WTButton);
        m_Style->setWidgetStyle(m_CancelButton, WTButton);
        for (QLineEdit *edit : {m_TitleEdit, m_WidthEdit, m_HeightEdit})
            m_Style->setWidgetStyle(edit, WTLineEdit);
        // A matched paper locks the size; it must stay readable on the
        // light face of a disabled edit.
        for (QLineEdit *edit : {m_WidthEdit, m_HeightEdit})
            edit->setStyleSheet(edit->styleSheet()
                                + QStringLiteral(" QLineEdit:disabled { color: #505050; }"));
        for (QComboBox *combo : {m_PaperCombo, m_OrientationCombo, m_UnitsCombo})
            m_Style->setWidgetStyle(combo, WTInput);
        for (QLabel *label : {m_TitleLabel, m_SizeLabel, m_XLabel})
            m_Style->setWidgetStyle(label, WTTransparent);
    }

    const QSize size(400, cardForm ? 200 : 230);
    resize(size);
    m_CancelButton->move(size.width() / 2 - 90, size.height() - 30);
    m_OkButton->move(size.width() / 2 + 10, size.height() - 30);

    if (QWidget *frame = parentWidget()) {
        frame->setWindowTitle(m_Title);
        frame->resize(size);
        frame->setFixedSize(size);
        frame->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowCloseButtonHint);
        QRect area;
        if (const QWidget *owner = frame->parentWidget()) {
            const QWidget *designer = owner->window();
            area = QRect(designer->isWindow() ? designer->pos() : designer->mapToGlobal(QPoint()),
                         designer->size());
        } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            area = screen->availableGeometry();
        }
        const QPoint centre = area.topLeft()
            + QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2);
        frame->move(qMax(0, centre.x()), qMax(0, centre.y()));
    }
}

void CPaperSizeDlg::connectControls()
{
    connect(m_PaperCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CPaperSizeDlg::OnPSCombo, Qt::UniqueConnection);
    connect(m_WidthEdit, &QLineEdit::editingFinished, this, &CPaperSizeDlg::OnTextChanged,
            Qt::UniqueConnection);
    connect(m_HeightEdit, &QLineEdit::editingFinished, this, &CPaperSizeDlg::OnTextChanged,
            Qt::UniqueConnection);
    connect(m_OrientationCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CPaperSizeDlg::OnOrientationCombo, Qt::UniqueConnection);
    connect(m_UnitsCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &CPaperSizeDlg::OnUnitsCombo, Qt::UniqueConnection);
}

void CPaperSizeDlg::disconnectControls()
{
    disconnect(m_PaperCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
               &CPaperSizeDlg::OnPSCombo);
    disconnect(m_WidthEdit, &QLineEdit::editingFinished, this, &CPaperSizeDlg::OnTextChanged);
    disconnect(m_HeightEdit, &QLineEdit::editingFinished, this, &CPaperSizeDlg::OnTextChanged);
    disconnect(m_OrientationCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
               &CPaperSizeDlg::OnOrientationCombo);
    disconnect(m_UnitsCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
               &CPaperSizeDlg::OnUnitsCombo);
}

void CPaperSizeDlg::paintEvent(QPaintEvent *) { }

void CPaperSizeDlg::resizeEvent(QResizeEvent *) { }

void CPaperSizeDlg::closeFrame()
{
    if (parentWidget())
        parentWidget()->close();
}

void CPaperSizeDlg::OnExit()
{
    closeFrame();
}

void CPaperSizeDlg::OnCancel()
{
    closeFrame();
}

void CPaperSizeDlg::OnOk()
{
    m_Units = m_UnitsCombo->currentIndex();
    m_Width = limitSize(toInches(editValue(m_WidthEdit), m_Units));
    m_Height = limitSize(toInches(editValue(m_HeightEdit), m_Units));
    if (m_PagesCombo)
        m_Pages = parsePageCount(m_PagesCombo->currentText());
    m_Result = 0;
    closeFrame();
}

void CPaperSizeDlg::OnPSCombo(int)
{
    if (m_Mode == 1)
        return;
    disconnectControls();
    const int row = m_PaperCombo->currentIndex();
    const bool sized = row >= 0 && row < m_Papers.size() && !m_Papers.at(row).noSize;
    if (!sized) {
        m_PaperCombo->setCurrentIndex(0);
    } else {
        const PaperSize &paper = m_Papers.at(row);
        m_Units = paper.units;
        m_UnitsCombo->setCurrentIndex(paper.units);
        m_WidthEdit->setText(formatSize(paper.width));
        m_HeightEdit->setText(formatSize(paper.height));
        m_OrientationCombo->setCurrentIndex(paper.width > paper.height ? Horizontal : Vertical);
    }
    m_WidthEdit->setEnabled(!sized);
    m_HeightEdit->setEnabled(!sized);
    m_UnitsCombo->setEnabled(!sized);
    if (!m_OrientationCombo->isHidden())
        orientEdits();
    connectControls();
}

void CPaperSizeDlg::OnOrientationCombo(int)
{
    // In the size-only forms the combo is hidden and typing a wide block
    // must not turn it.
    if (m_Mode == 1 || m_OrientationCombo->isHidden())
        return;
    disconnectControls();
    orientEdits();
    connectControls();
}

void CPaperSizeDlg::OnTextChanged()
{
    OnOrientationCombo(m_OrientationCombo->currentIndex());
}

void CPaperSizeDlg::orientEdits()
{
    if (needsSwap(m_OrientationCombo->currentIndex(), editValue(m_WidthEdit),
                  editValue(m_HeightEdit))) {
        const QString width = m_WidthEdit->text();
        m_WidthEdit->setText(m_HeightEdit->text());
        m_HeightEdit->setText(width);
    }
}

void CPaperSizeDlg::OnUnitsCombo(int index)
{
    if (m_Mode == 1 || index == m_Units)
        return;
    disconnectControls();
    const int from = m_Units;
    m_Units = index;
    m_WidthEdit->setText(formatSize(convertUnits(editValue(m_WidthEdit), from, index)));
    m_HeightEdit->setText(formatSize(convertUnits(editValue(m_HeightEdit), from, index)));
    connectControls();
}

void CPaperSizeDlg::selPaperCombo()
{
    m_Units = m_UnitsCombo->currentIndex();
    const PaperMatch match = matchPaper(m_Papers, toInches(editValue(m_WidthEdit), m_Units),
                                        toInches(editValue(m_HeightEdit), m_Units));
    if (match.row < 0)
        return;
    m_PaperCombo->setCurrentIndex(match.row);
    m_OrientationCombo->setCurrentIndex(match.orientation);
    // The paper row writes its upright size; a hidden orientation combo does
    // not turn it back, so the matched shape is restored here.
    if (m_Mode != 1)
        orientEdits();
}

void CPaperSizeDlg::addSeqCombo()
{
    m_PagesCombo = new QComboBox(this);
    m_PagesCombo->setEditable(true);
    m_PagesCombo->addItem(QStringLiteral("All"));
    for (int i = 1; i <= 10; ++i)
        m_PagesCombo->addItem(QString::number(i));
    m_PagesCombo->setGeometry(10, 90, 200, 25);
    if (m_Style)
        m_Style->setWidgetStyle(m_PagesCombo, WTInput);
    m_SizeLabel->setText(QStringLiteral("Pages"));
    m_WidthEdit->hide();
    m_HeightEdit->hide();
    m_UnitsCombo->hide();
    m_XLabel->hide();
    if (m_Pages < 1)
        m_PagesCombo->setCurrentIndex(0);
    else
        m_PagesCombo->setEditText(QString::number(m_Pages));
    m_PagesCombo->show();
}

CPaperSizeDlgWin::CPaperSizeDlgWin(CAppStyle *style, QWidget *parent, bool sizeOnly, int mode)
    : QDialog(parent)
{
    content = new CPaperSizeDlg(style, this, sizeOnly, mode);
}

void CPaperSizeDlgWin::keyPressEvent(QKeyEvent *event)
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
