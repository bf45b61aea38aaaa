#include "designer/propertieswidget.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "designer/templatelimits.h"
#include "layouts/boundedread.h"

#include <QGuiApplication>
#include <QImage>
#include <QTreeWidget>

#include <algorithm>

namespace {

const QStringList FrameChoices = {QStringLiteral("None"), QStringLiteral("Solid")};
const QStringList BarcodeChoices
    = {QStringLiteral("QR Code"),  QStringLiteral("Codabar"),
       QStringLiteral("Code 128"), QStringLiteral("Code 39"),
       QStringLiteral("Code 93"),  QStringLiteral("EAN 13"),
       QStringLiteral("EAN 8"),    QStringLiteral("Interleaved 2 of 5"),
       QStringLiteral("MSI"),      QStringLiteral("Postnet"),
       QStringLiteral("UPC")};
// What the "Field" row offers after the calculated tables, in the order of
// the keys it stands for: #text, #pagenumber, #date, #dbname.
const QStringList FieldKeyChoices = {QStringLiteral("Text"), QStringLiteral("Page number"),
                                     QStringLiteral("Date"), QStringLiteral("Database name")};
constexpr double AlphaStep = 25.5;

struct Table
{
    const char *entry;
    int type;
    QSize size;
};

const Table CalculatedTables[] = {
    {"Name", CREPageItem::NameTable, QSize(650, 100)},
    {"Psychomatrix", CREPageItem::MatrixTable, QSize(650, 68)},
    {"Planes of Expression", CREPageItem::MatrixTable, QSize(650, 68)},
    {"Personal numbers calendar", CREPageItem::CalendarTable, QSize(650, 52)},
    {"Main Features", CREPageItem::InfoTable, QSize(200, 100)},
    {"Additional Features", CREPageItem::InfoTable, QSize(200, 100)},
    {"Life Cycles", CREPageItem::InfoTable, QSize(200, 100)},
    {"Bridges", CREPageItem::BridgesTable, QSize(200, 36)},
};

struct Variable
{
    int number;
    const char *entry;
    const char *caption;
    const char *key;
};

const Variable Variables[] = {
    {1000, "Full Name", "FULL NAME", "#full_name"},
    {1001, "Short Name", "SHORT NAME", "#short_name"},
    {1002, "Birthdate", "BIRTHDATE", "#birthdate"},
    {1003, "Print date", "PRINT DATE", "#print_date"},
    {1004, "Numerologist", "NUMEROLOGIST", "#numerologist"},
};

// The field tree's name of a variable's key, else the key itself.
QString keyCaption(const QString &key)
{
    for (const Variable &variable : Variables) {
        if (key == QLatin1String(variable.key))
            return QString::fromLatin1(variable.entry);
    }
    return key;
}

// The one variable whose text the user types: the readings know no
// numerologist.
bool isNumerologist(const CREPageItem *item)
{
    return item->key == QLatin1String("#numerologist");
}

void setPixelSize(CREPageItem *item, int size)
{
    QFont font = item->font;
    font.setPixelSize(size);
    item->font = font;
}

CPWItem *choiceRow(const QString &name, const QStringList &choices, int index)
{
    auto *row = new CPWItem(name, CPWItem::Choice);
    row->choices = choices;
    row->choiceIndex = index >= 0 && index < choices.size() ? index : 0;
    return row;
}

CPWItem *alignmentRow(int alignment)
{
    auto *row = new CPWItem(QStringLiteral("Alignement"), CPWItem::Alignment);
    row->alignment = alignment;
    return row;
}

QStringList numberChoices(int count)
{
    QStringList out;
    for (int i = 1; i <= count; ++i)
        out.append(QString::number(i));
    return out;
}

// The opacity entry whose stored alpha (entry x 25.5, truncated) is the
// greatest not above alpha: an entry once chosen is shown as chosen again,
// so that writing the rows back keeps the alpha it stored.
int opacityEntry(int alpha)
{
    int entry = 0;
    while (entry < 10 && int((entry + 1) * AlphaStep) <= alpha)
        ++entry;
    return entry;
}

bool isTextItem(const CREPageItem *item)
{
    return item->key.startsWith(QLatin1String("#text"));
}

bool isBlockReference(const CREPageItem *frame)
{
    return frame && frame->inner && frame->inner->type == CREPageItem::BlockReference;
}

} // namespace

// ---------------------------------------------------------------------------
// Adding fields

void CReportCreator::addCalculatedTable(const QString &entry, const QPoint &point)
{
    for (const Table &table : CalculatedTables) {
        if (entry != QLatin1String(table.entry))
            continue;
        CREPageItem *item = editor->addDataItem(entry, point, table.size);
        if (!item)
            return;
        setPixelSize(item, 11);
        item->key = entry;
        item->type = table.type;
        item->isVariable = false;
        // A drag from the tree keeps the keyboard, so the key is asked for too.
        if (titleFlag || (QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier)) {
            CREPageItem *title = editor->addDataItem(entry, point, QSize(150, 25));
            if (title) {
                setPixelSize(title, 11);
                title->key = entry;
                title->isVariable = true;
                title->type = CREPageItem::Placeholder;
                title->outer->move(0, -25);
                page()->moveToPage(title->outer);
            }
        }
        setModified();
        return;
    }
}

void CReportCreator::OnAddField(QPoint point)
{
    const QList<QTreeWidgetItem *> chosen = fieldTree->selectedItems();
    if (chosen.isEmpty() || !page())
        return;
    const auto found = std::find(fieldEntries.cbegin(), fieldEntries.cend(), chosen.first());
    if (found == fieldEntries.cend())
        return;
    const QTreeWidgetItem *entry = *found;
    bool ok = false;
    const int number = entry->data(0, Qt::UserRole).toInt(&ok);
    if (!ok)
        return;

    CREPageItem *added = nullptr;
    if (number >= 1 && number <= 999) {
        addCalculatedTable(entry->text(0), point);
    } else if (number >= 1000 && number <= 1999) {
        for (const Variable &variable : Variables) {
            if (variable.number != number)
                continue;
            added
                = editor->addDataItem(QString::fromLatin1(variable.caption), point, QSize(120, 25));
            if (added) {
                added->key = QString::fromLatin1(variable.key);
                added->type = CREPageItem::Placeholder;
                added->isVariable = true;
            }
        }
    } else if (number == 2000) {
        added = editor->addDataItem(QStringLiteral("Text"), point, QSize(120, 25));
        if (added) {
            added->key = QStringLiteral("#text");
            added->type = CREPageItem::Placeholder;
            added->isVariable = false;
            added->isFreeText = true;
        }
    } else if (number == 2001) {
        const QString path = openImage ? openImage(this) : QString();
        if (path.size() > 4) {
            QImage picture = BoundedRead::readPictureFile(path);
            if (!picture.isNull()) {
                added = editor->addImageItem(picture, point);
                if (added)
                    added->key = QStringLiteral("#image");
            }
        }
    } else if (number == 2002) {
        added = editor->addDataItem(QStringLiteral("Bar Codes"), point, QSize(120, 25));
        if (added) {
            added->key.clear();
            added->type = CREPageItem::Symbol;
            added->isVariable = false;
            added->isFreeText = true;
        }
    }
    if (added) {
        setPixelSize(added, 11);
        setModified();
    }
    editor->viewport()->update();
}

// ---------------------------------------------------------------------------
// The property grid

CREPageItem *CReportCreator::selectedContent() const
{
    if (!page())
        return nullptr;
    QList<CREPageItem *> selected;
    page()->getSelected(selected, false);
    if (selected.size() != 1)
        return nullptr;
    return selected.first()->inner;
}

void CReportCreator::renumberBlockReferences()
{
    // Insertion keeps references of equal order in page order.
    QList<CREPageItem *> references;
    for (CREPageItem *frame : qAsConst(page()->items)) {
        if (!isBlockReference(frame))
            continue;
        CREPageItem *item = frame->inner;
        int at = references.size();
        for (int k = 0; k < references.size(); ++k) {
            if (references.at(k)->order > item->order) {
                at = k;
                break;
            }
        }
        references.insert(at, item);
    }
    for (int k = 0; k < references.size(); ++k)
        references.at(k)->order = k;
}

void CReportCreator::reorderBlockReference(CREPageItem *item, int position)
{
    const int old = item->order;
    int count = 0;
    for (CREPageItem *frame : qAsConst(page()->items)) {
        if (!isBlockReference(frame))
            continue;
        ++count;
        int e = frame->inner->order;
        if (old < e)
            --e;
        if (e >= position)
            ++e;
        frame->inner->order = e;
    }
    item->order = position < count ? position : count - 1;
}

QVector<CPWItem *> CReportCreator::rowsFor(CREPageItem *item)
{
    QVector<CPWItem *> rows;
    const auto frameRows = [&] {
        rows.append(choiceRow(QStringLiteral("Frame"), FrameChoices, item->frameStyle));
        rows.append(new CPWItem(QStringLiteral("Frame Color"), item->frameColor));
    };
    if (isTextItem(item)) {
        rows.append(new CPWItem(QStringLiteral("Text"), item->text));
        rows.last()->maxLength = TemplateLimits::MaxText;
        rows.append(new CPWItem(QStringLiteral("Color"), item->color));
        auto *font = new CPWItem(QStringLiteral("Font"), item->font);
        font->valueText = item->text;
        rows.append(font);
        frameRows();
        return rows;
    }
    switch (item->type) {
    case CREPageItem::Image:
        return rows;
    case CREPageItem::MatrixTable:
    case CREPageItem::NameTable:
    case CREPageItem::CalendarTable:
    case CREPageItem::InfoTable:
    case CREPageItem::BridgesTable: {
        rows.append(new CPWItem(QStringLiteral("Color"), item->color));
        rows.append(new CPWItem(QStringLiteral("Font"), item->font));
        rows.append(alignmentRow(item->alignment));
        frameRows();
        QColor ground = item->backgroundColor;
        rows.append(new CPWItem(QStringLiteral("Background"), ground));
        QStringList steps;
        for (int i = 0; i <= 10; ++i)
            steps.append(QString::number(i * 10) + QLatin1Char('%'));
        rows.append(choiceRow(QStringLiteral("Opacity"), steps,
                              opacityEntry(item->backgroundColor.alpha())));
        return rows;
    }
    case CREPageItem::Symbol: {
        // A key no entry stands for (a symbol bound to a person's value)
        // stays as it is until another entry is chosen.
        QStringList fields = {QStringLiteral("some text")};
        for (const QString &key : qAsConst(barcodeFieldKeys))
            fields.append(keyCaption(key));
        int field = barcodeFieldKeys.indexOf(item->key) + 1;
        if (field == 0 && !item->key.isEmpty()) {
            fields.append(keyCaption(item->key));
            field = fields.size() - 1;
        }
        rows.append(choiceRow(QStringLiteral("Field"), fields, field));
        rows.append(choiceRow(QStringLiteral("Bar code"), BarcodeChoices, item->barcodeKind));
        rows.append(new CPWItem(QStringLiteral("Text"), item->text));
        rows.last()->maxLength = TemplateLimits::MaxSymbolText;
        rows.append(new CPWItem(QStringLiteral("Color"), item->color));
        rows.append(alignmentRow(item->alignment));
        return rows;
    }
    case CREPageItem::PictureSlot:
        rows.append(choiceRow(QStringLiteral("Image #"), numberChoices(29), item->blockIndex));
        rows.append(alignmentRow(item->alignment));
        rows.append(choiceRow(QStringLiteral("Fit to"),
                              {QStringLiteral("None"), QStringLiteral("Width")}, item->fitMode));
        return rows;
    case CREPageItem::PictureList:
        rows.append(alignmentRow(item->alignment));
        rows.append(choiceRow(
            QStringLiteral("Image #"),
            {QStringLiteral("All"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
            item->pictureChoice));
        return rows;
    case CREPageItem::BlockReference: {
        int count = 0;
        for (CREPageItem *frame : qAsConst(page()->items))
            count += isBlockReference(frame) ? 1 : 0;
        rows.append(choiceRow(QStringLiteral("Order #"), numberChoices(count), item->order));
        frameRows();
        return rows;
    }
    default:
        break;
    }
    rows.append(new CPWItem(QStringLiteral("Color"), item->color));
    rows.append(new CPWItem(QStringLiteral("Font"), item->font));
    rows.append(alignmentRow(item->alignment));
    frameRows();
    if (isNumerologist(item)) {
        rows.append(new CPWItem(QStringLiteral("Text"), item->text));
        rows.last()->maxLength = TemplateLimits::MaxText;
    }
    if (!item->isVariable) {
        const int n = calculatedFieldNames.size();
        QStringList choices = calculatedFieldNames + FieldKeyChoices;
        int index = calculatedFieldNames.indexOf(item->key);
        if (item->key.startsWith(QLatin1String("#pagenumber")))
            index = n + 1;
        else if (item->key.startsWith(QLatin1String("#date")))
            index = n + 2;
        else if (item->key.startsWith(QLatin1String("#dbname")))
            index = n + 3;
        if (index < 0) {
            // A key the list does not know stays as it is until another
            // entry is chosen.
            choices.append(item->key);
            index = choices.size() - 1;
        }
        rows.append(choiceRow(QStringLiteral("Field"), choices, index));
    }
    return rows;
}

void CReportCreator::OnPageSelectionChanged()
{
    QList<CREPageItem *> selected;
    if (page())
        page()->getSelected(selected, false);
    if (selected.size() != 1) {
        properties->clear();
        updateStates();
        return;
    }
    CREPageItem *item = selected.first()->inner;
    if (!item) {
        updateStates();
        return;
    }
    if (item->type == CREPageItem::BlockReference && !isTextItem(item))
        renumberBlockReferences();
    const QVector<CPWItem *> rows = rowsFor(item);
    if (rows.isEmpty())
        properties->clear();
    else
        properties->setList(rows);
    updateStates();
}

void CReportCreator::OnPropertyChanged()
{
    CREPageItem *item = selectedContent();
    if (!item)
        return;
    const QVector<CPWItem *> &rows = properties->rows();
    const int count = rows.size();
    const auto choice = [&](int row) {
        return rows.at(row - 1)->choiceIndex;
    };
    const auto colour = [&](int row) {
        return rows.at(row - 1)->color;
    };
    const auto commonRows = [&] {
        item->color = colour(1);
        item->font = rows.at(1)->font;
        item->alignment = rows.at(2)->alignment;
        item->frameStyle = choice(4);
        item->frameColor = colour(5);
    };
    bool changed = false;
    bool written = true;

    if (isTextItem(item)) {
        if (count >= 5) {
            item->text = rows.at(0)->valueText;
            item->color = colour(2);
            item->font = rows.at(2)->font;
            item->frameStyle = choice(4);
            item->frameColor = colour(5);
            if (count > 5)
                itemConverter(item, properties, 6, &changed);
        } else {
            written = false;
        }
    } else {
        switch (item->type) {
        case CREPageItem::Image:
            written = false;
            break;
        case CREPageItem::PictureSlot:
            written = count == 3;
            if (written) {
                item->blockIndex = choice(1);
                item->alignment = rows.at(1)->alignment;
                item->fitMode = choice(3);
            }
            break;
        case CREPageItem::BlockReference:
            written = count == 3;
            if (written) {
                reorderBlockReference(item, choice(1));
                item->frameStyle = choice(2);
                item->frameColor = colour(3);
            }
            break;
        case CREPageItem::PictureList:
            written = count == 2;
            if (written) {
                item->alignment = rows.at(0)->alignment;
                item->pictureChoice = choice(2);
            }
            break;
        case CREPageItem::Symbol:
            written = count >= 5;
            if (written) {
                const int field = choice(1);
                if (field < 1)
                    item->key.clear();
                else if (field <= barcodeFieldKeys.size())
                    item->key = barcodeFieldKeys.at(field - 1);
                item->barcodeKind = choice(2);
                item->text = rows.at(2)->valueText;
                item->color = colour(4);
                item->alignment = rows.at(4)->alignment;
            }
            break;
        case CREPageItem::MatrixTable:
        case CREPageItem::NameTable:
        case CREPageItem::CalendarTable:
        case CREPageItem::InfoTable:
        case CREPageItem::BridgesTable:
            written = count >= 7;
            if (written) {
                commonRows();
                QColor ground = colour(6);
                ground.setAlpha(int(choice(7) * AlphaStep));
                item->backgroundColor = ground;
            }
            break;
        default:
            written = count >= 5;
            if (written) {
                commonRows();
                int fieldRow = 6;
                if (isNumerologist(item) && count >= 6) {
                    item->text = rows.at(5)->valueText;
                    fieldRow = 7;
                }
                if (count >= fieldRow)
                    itemConverter(item, properties, fieldRow, &changed);
            }
            break;
        }
    }
    if (written)
        setModified();
    if (changed)
        OnPageSelectionChanged();
    editor->viewport()->update();
}

void CReportCreator::itemConverter(CREPageItem *item, CPropertiesWidget *grid, int row,
                                   bool *changed)
{
    if (!item || !grid || row < 1 || row > grid->rows().size())
        return;
    const int c = grid->rows().at(row - 1)->choiceIndex;
    const int n = calculatedFieldNames.size();
    const QString before = item->key;
    if (c >= 0 && c < n) {
        item->key = calculatedFieldNames.at(c);
        item->isVariable = false;
        item->isFreeText = false;
    } else if (c == n) {
        item->key = QStringLiteral("#text");
        item->alignment = 0;
        item->type = CREPageItem::Placeholder;
        item->isVariable = false;
        item->isFreeText = true;
    } else if (c >= n + 1 && c <= n + 3) {
        static const char *const keys[] = {"#pagenumber", "#date", "#dbname"};
        static const char *const captions[] = {"PAGE #", "DATE", "DB NAME"};
        item->key = QString::fromLatin1(keys[c - n - 1]);
        item->alignment = 0;
        item->type = CREPageItem::Placeholder;
        item->isVariable = true;
        item->isFreeText = false;
        item->text = QString::fromLatin1(captions[c - n - 1]);
    }
    if (changed && item->key != before)
        *changed = true;
}
