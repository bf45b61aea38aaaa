#include "templatebuilder.h"

#include "designer/chartbinding.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportdocument.h"
#include "designer/style.h"

#include <QPainterPath>

namespace {

// Rows and width of each table at scale 1, as its painter lays it out.
struct TableShape
{
    const char *key;
    int type;
    int rows;
    bool wide;
};

const TableShape tableShapes[] = {
    {"Name", CREPageItem::NameTable, 6, true},
    {"Psychomatrix", CREPageItem::MatrixTable, 4, true},
    {"Planes of Expression", CREPageItem::MatrixTable, 4, true},
    {"Personal numbers calendar", CREPageItem::CalendarTable, 3, true},
    {"Main Features", CREPageItem::InfoTable, 6, false},
    {"Additional Features", CREPageItem::InfoTable, 6, false},
    {"Life Cycles", CREPageItem::InfoTable, 6, false},
    {"Bridges", CREPageItem::BridgesTable, 2, false},
};

const TableShape *shapeOf(const QString &key)
{
    for (const TableShape &shape : tableShapes) {
        if (key == QLatin1String(shape.key))
            return &shape;
    }
    return nullptr;
}

} // namespace

QFont chartFont(const QString &family, int pixelSize, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

TemplateBuilder::TemplateBuilder(const QString &name, const QSizeF &pageSize, const QColor &paper)
    : m_doc(new CReportDocument(nullptr, nullptr))
{
    m_doc->clear();
    m_doc->name = name;
    m_doc->fileName = name + QStringLiteral(".lnr");
    m_doc->gridShown = 0;
    m_page = m_doc->addPage(pageSize, name);
    m_page->pageBackground.mode = 0;
    m_page->pageBackground.color = paper;
    m_doc->currentPage = m_page;
}

TemplateBuilder::~TemplateBuilder() = default;

CREPageItem *TemplateBuilder::add(int type, const QRectF &r)
{
    auto *frame = new CREPageItem(nullptr);
    auto *content = new CREPageItem(nullptr);
    frame->type = CREPageItem::Frame;
    frame->fixedContent = true;
    frame->inner = content;
    content->outer = frame;
    content->type = type;
    frame->setBoundSize(r.size());
    content->setBoundSize(r.size());
    QPainterPath outline;
    outline.addRect(0, 0, r.width(), r.height());
    frame->setShape(outline);
    frame->translate(r.x(), r.y());
    if (m_partner)
        content->auxText = ChartBinding::partnerMark();
    m_page->items.append(frame);
    return content;
}

CREPageItem *TemplateBuilder::rect(const QRectF &r, const QColor &fill, double radius,
                                   const QColor &pen, double penWidth)
{
    QPainterPath shape;
    const QRectF inside(penWidth / 2, penWidth / 2, r.width() - penWidth, r.height() - penWidth);
    if (radius > 0)
        shape.addRoundedRect(inside, radius, radius);
    else
        shape.addRect(inside);
    return path(shape.translated(r.topLeft()), fill, pen, penWidth);
}

CREPageItem *TemplateBuilder::path(const QPainterPath &shape, const QColor &fill, const QColor &pen,
                                   double penWidth)
{
    const QRectF bounds = shape.boundingRect().adjusted(-penWidth, -penWidth, penWidth, penWidth);
    const bool partner = m_partner;
    m_partner = false;
    CREPageItem *item = add(CREPageItem::Path, bounds);
    m_partner = partner;
    item->shape = shape.translated(-bounds.topLeft());
    item->color = fill;
    item->penWidth = pen.isValid() ? penWidth : 0;
    item->penColor = pen.isValid() ? pen : QColor(0, 0, 0);
    item->penStyle = Qt::SolidLine;
    return item;
}

CREPageItem *TemplateBuilder::text(const QRectF &r, const QString &text, const QFont &font,
                                   const QColor &color, int alignment)
{
    CREPageItem *item = add(CREPageItem::Placeholder, r);
    item->key = QStringLiteral("#text");
    item->text = text;
    item->isFreeText = true;
    item->font = font;
    item->color = color;
    item->alignment = alignment;
    return item;
}

CREPageItem *TemplateBuilder::field(const QRectF &r, const QString &key, const QFont &font,
                                    const QColor &color, int alignment)
{
    CREPageItem *item = add(CREPageItem::Placeholder, r);
    item->key = key;
    item->text = key.mid(1).replace(QLatin1Char('_'), QLatin1Char(' ')).toUpper();
    item->isVariable = true;
    item->font = font;
    item->color = color;
    item->alignment = alignment;
    return item;
}

QSizeF TemplateBuilder::tableSize(const QString &key)
{
    const TableShape *shape = shapeOf(key);
    if (!shape)
        return QSizeF();
    // The painters fill one pixel above the first row and five below the last.
    return QSizeF(shape->wide ? 649 : 199, 16 * shape->rows + 6);
}

CREPageItem *TemplateBuilder::table(double x, double y, const QString &key, double factor,
                                    const QColor &background, const QFont &font,
                                    const QColor &color)
{
    const TableShape *shape = shapeOf(key);
    if (!shape)
        return nullptr;
    const QSizeF size = tableSize(key);
    CREPageItem *item = add(shape->type, QRectF(QPointF(x, y), size));
    item->outer->scale(factor, factor);
    item->key = key;
    item->backgroundColor = background;
    item->font = font;
    item->color = color;
    return item;
}

CREPageItem *TemplateBuilder::qrCode(const QRectF &r, const QString &key, const QString &sample,
                                     const QColor &color)
{
    CREPageItem *item = add(CREPageItem::Symbol, r);
    item->key = key;
    item->text = sample;
    item->barcodeKind = 0;
    item->alignment = 4;
    item->color = color;
    item->isFreeText = true;
    return item;
}

bool TemplateBuilder::save(const QString &path, QString *error)
{
    return m_doc->saveToFile(path, error);
}
