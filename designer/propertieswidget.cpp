#include "designer/propertieswidget.h"

#include "base/apppaths.h"
#include "designer/colordialog.h"
#include "designer/textdlg.h"
#include "style/appstyle.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

constexpr int RowHeight = 22;

QWidget *thirdAncestor(QWidget *w)
{
    for (int i = 0; i < 3 && w; ++i)
        w = w->parentWidget();
    return w;
}

bool runColorDialog(QColor &color)
{
    QScopedPointer<CColorDialog> dialog(new CColorDialog(true, nullptr));
    dialog->slotSetColor(color);
    dialog->slotUpdate();
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->exec();
    const bool confirmed = dialog->m_Result.mode != 255;
    if (confirmed)
        color = dialog->m_Result.color;
    dialog->hide();
    return confirmed;
}

bool runFontDialog(CAppStyle *style, QWidget *parent, QFont &font, const QString &sample)
{
    QScopedPointer<CTextDlgWin> dialog(new CTextDlgWin(style, parent, false));
    dialog->content->SetFont(font);
    dialog->content->SetText(sample);
    dialog->exec();
    const bool confirmed = dialog->content->result == 0;
    if (confirmed)
        font = dialog->content->GetFont();
    return confirmed;
}

// The grid's table, able to finish an edit that is still open.
class PropertyTable : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;

    void commitOpenEditor()
    {
        if (state() != EditingState)
            return;
        const QPointer<QWidget> editor = indexWidget(currentIndex());
        if (!editor)
            return;
        commitData(editor);
        if (editor)
            closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
};

} // namespace

// ---------------------------------------------------------------------------
// CPWItem

CPWItem::CPWItem(const QString &name, const QString &text)
    : valueText(text)
    , kind(Text)
    , name(name)
{
}

CPWItem::CPWItem(const QString &name, const QColor &color)
    : color(color)
    , kind(Color)
    , name(name)
{
}

CPWItem::CPWItem(const QString &name, const QFont &font)
    : font(font)
    , kind(Font)
    , name(name)
{
}

CPWItem::CPWItem(const QString &name, int kind)
    : kind(kind)
    , name(name)
{
}

void CPWItem::OnItemButton()
{
    emit itemButtonClicked(this);
}

void CPWItem::OnItemCombo(int)
{
    emit itemButtonClicked(this);
}

// ---------------------------------------------------------------------------
// CPropertiesWidget

CPropertiesWidget::ColorEditor CPropertiesWidget::colorEditor = runColorDialog;
CPropertiesWidget::FontEditor CPropertiesWidget::fontEditor = runFontDialog;

CPropertiesWidget::CPropertiesWidget(CAppStyle *style, QWidget *parent)
    : QWidget(parent)
    , m_table(new PropertyTable(this))
    , m_imagesFolder(getImagesPath())
    , m_lineLabel(new QLabel(this))
    , m_style(style)
{
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setShowGrid(false);
    m_table->setRowCount(0);
    m_table->setColumnCount(2);
    m_table->verticalHeader()->hide();
    // Rows keep their fixed height whatever the platform font asks for.
    m_table->verticalHeader()->setMinimumSectionSize(RowHeight);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lineLabel->setStyleSheet(QStringLiteral("border: 0px;"));
    clear();
}

CPropertiesWidget::~CPropertiesWidget()
{
    clear();
}

void CPropertiesWidget::clear()
{
    disconnect(m_table, &QTableWidget::itemChanged, this, &CPropertiesWidget::OnItemsChanged);
    m_table->clear();
    // A row may be in the middle of emitting (a drop-down list whose change
    // made the owner rebuild the grid), so rows go once control returns.
    for (CPWItem *row : qAsConst(m_rows)) {
        row->disconnect(this);
        row->deleteLater();
    }
    m_rows.clear();
    m_table->setHorizontalHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    m_table->setRowCount(0);
}

int CPropertiesWidget::alignmentForEntry(int entry)
{
    if (entry == 2)
        return 2;
    if (entry == 1)
        return 4;
    return 1;
}

int CPropertiesWidget::entryForAlignment(int alignment)
{
    if (alignment == 2)
        return 2;
    if (alignment == 4)
        return 1;
    return 0;
}

void CPropertiesWidget::setList(const QVector<CPWItem *> &rows)
{
    // Rows handed in again must survive the clearing of the old set.
    for (CPWItem *row : rows)
        m_rows.removeAll(row);
    clear();
    for (CPWItem *row : rows) {
        if (row && !m_rows.contains(row))
            m_rows.append(row);
    }
    m_table->setRowCount(m_rows.size());

    for (int i = 0; i < m_rows.size(); ++i) {
        CPWItem *row = m_rows.at(i);
        m_table->setRowHeight(i, RowHeight);
        auto *nameCell = new QTableWidgetItem(row->name);
        nameCell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_table->setItem(i, 0, nameCell);

        delete row->button.data();
        delete row->combo.data();

        switch (row->kind) {
        case CPWItem::Text: {
            auto *cell = new QTableWidgetItem(row->valueText);
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
            m_table->setItem(i, 1, cell);
            break;
        }
        case CPWItem::Color:
        case CPWItem::Font: {
            auto *button = new QPushButton(QStringLiteral("..."));
            connect(button, &QPushButton::clicked, row, &CPWItem::OnItemButton);
            connect(row, &CPWItem::itemButtonClicked, this, &CPropertiesWidget::OnItemsActions);
            row->button = button;
            m_table->setCellWidget(i, 1, button);
            break;
        }
        case CPWItem::Alignment:
        case CPWItem::Choice:
        case CPWItem::EditableChoice: {
            auto *combo = new QComboBox;
            if (row->kind == CPWItem::Alignment) {
                combo->addItems(
                    {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
                combo->setCurrentIndex(entryForAlignment(row->alignment));
            } else {
                combo->addItems(row->choices);
                const bool valid = row->choiceIndex >= 0 && row->choiceIndex < row->choices.size();
                combo->setCurrentIndex(row->choices.isEmpty() ? -1 : valid ? row->choiceIndex : 0);
                if (row->kind == CPWItem::EditableChoice) {
                    combo->setEditable(true);
                    combo->setEditText(row->valueText);
                }
            }
            connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), row,
                    &CPWItem::OnItemCombo);
            connect(row, &CPWItem::itemButtonClicked, this, &CPropertiesWidget::OnItemsActions);
            row->combo = combo;
            m_table->setCellWidget(i, 1, combo);
            break;
        }
        default:
            break;
        }
    }
    connect(m_table, &QTableWidget::itemChanged, this, &CPropertiesWidget::OnItemsChanged);
}

void CPropertiesWidget::OnItemsActions(CPWItem *row)
{
    if (row && m_rows.contains(row)) {
        switch (row->kind) {
        case CPWItem::Color: {
            QColor color = row->color;
            if (colorEditor && colorEditor(color))
                row->color = color;
            break;
        }
        case CPWItem::Font: {
            QFont font = row->font;
            const QString sample
                = row->valueText.isEmpty() ? QStringLiteral("Text") : row->valueText;
            if (fontEditor && fontEditor(m_style, thirdAncestor(this), font, sample))
                row->font = font;
            break;
        }
        case CPWItem::Alignment:
            if (row->combo)
                row->alignment = alignmentForEntry(row->combo->currentIndex());
            break;
        case CPWItem::Choice:
            if (row->combo) {
                const int entry = row->combo->currentIndex();
                row->choiceIndex = entry >= 0 && entry < row->choices.size() ? entry : 0;
            }
            break;
        case CPWItem::EditableChoice:
            if (row->combo)
                row->valueText = row->combo->currentText();
            break;
        default:
            break;
        }
    }
    // Re-reads the text rows and reports.
    OnItemsChanged(nullptr);
}

void CPropertiesWidget::OnItemsChanged(QTableWidgetItem *)
{
    for (int i = 0; i < m_rows.size(); ++i) {
        CPWItem *row = m_rows.at(i);
        if (row->kind != CPWItem::Text)
            continue;
        if (QTableWidgetItem *cell = m_table->item(i, 1)) {
            row->valueText = cell->text();
            if (row->maxLength > 0 && row->valueText.size() > row->maxLength) {
                row->valueText.truncate(row->maxLength);
                const QSignalBlocker quiet(m_table);
                cell->setText(row->valueText);
            }
        }
    }
    emit dataChanged();
}

void CPropertiesWidget::resizeEvent(QResizeEvent *)
{
    const int w = width();
    const int h = height();
    m_table->move(3, 2);
    m_table->resize(w - 5, h - 4);
    m_table->setColumnWidth(0, int(0.4 * w - 5));
    m_table->setColumnWidth(1, int(0.6 * w - 18));
    updateFixScroll();
}

void CPropertiesWidget::updateFixScroll()
{
    m_lineLabel->resize(35, 1);
    QImage line(m_imagesFolder + QStringLiteral("hline.png"));
    if (!line.isNull() && m_style)
        line = m_style->updateImage(line);
    m_lineLabel->setPixmap(line.isNull() ? QPixmap() : QPixmap::fromImage(line));
    m_lineLabel->move(width() - 38, height() - 3);
    m_lineLabel->raise();
}

void CPropertiesWidget::commitEdit()
{
    static_cast<PropertyTable *>(m_table)->commitOpenEditor();
}
