#pragma once

#include "designer/reportdocument.h"
#include "designer/style.h"
#include "designerfixture.h"

#include <QDataStream>

// The golden template: every item kind, two page lists, a block, every
// document setting away from its default. The first page holds no text, so
// that its preview does not depend on the fonts installed.
namespace LnrTest {

inline QImage pattern(int w, int h, QRgb a, QRgb b)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x + y) % 2 ? a : b);
    }
    return image;
}

inline CREPageItem *add(CREPage *page, int type, double x, double y, double w, double h)
{
    CREPageItem *frame = DesignerTest::makeObject(page->container, type, x, y, w, h);
    frame->inner->font.setStyleStrategy(QFont::PreferAntialias);
    frame->font.setStyleStrategy(QFont::PreferAntialias);
    page->items.append(frame);
    return frame->inner;
}

inline void buildGolden(CReportDocument &doc)
{
    doc.clear();
    doc.pageLists.append(new QList<CREPage *>);
    doc.name = QStringLiteral("Golden chart – Größe");
    doc.gridShown = 0;
    doc.snapToGrid = 1;
    doc.drawMode->showBoundaries = false;
    doc.gridStepX = 12.5;
    doc.gridStepY = 8;

    CREPage *block = doc.addBlock(QSizeF(300, 100), QStringLiteral("Footer"));
    block->repeatCount = 2;
    block->pageBackground.mode = 0;
    block->pageBackground.color = QColor(250, 240, 230);
    CREPageItem *blockText = add(block, CREPageItem::Text, 10, 10, 200, 40);
    blockText->text = QStringLiteral("Block text");

    // Page 1: no text.
    CREPage *first = doc.addPage(QSizeF(600, 300), QStringLiteral("Front"));
    first->reservedValue = 7;
    first->pageBackground.mode = 2;
    first->pageBackground.image = pattern(4, 4, qRgb(200, 220, 240), qRgb(240, 230, 200));
    first->pageBackground.color = QColor(1, 2, 3, 4);
    CREPageItem *image = add(first, CREPageItem::Image, 20, 20, 120, 80);
    image->image = pattern(3, 2, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 128));
    image->key = QStringLiteral("#image");
    image->auxText = QStringLiteral("aux");
    image->auxSize = QSizeF(3.25, -1);
    image->auxFlag = false;
    image->outer->fixedContent = false;
    image->frameStyle = 1;
    image->frameColor = QColor(0, 128, 0);
    CREPageItem *path = add(first, CREPageItem::Path, 200, 40, 150, 150);
    QPainterPath shape;
    shape.moveTo(10, 10);
    shape.lineTo(140, 20);
    shape.cubicTo(150, 80, 90, 150, 20, 140);
    shape.closeSubpath();
    shape.setFillRule(Qt::WindingFill);
    path->shape = shape;
    path->color = QColor(255, 200, 0, 180);
    path->penStyle = Qt::DashLine;
    path->penWidth = 2.5;
    path->penColor = QColor(10, 20, 30);
    path->outer->rotate(30, true);
    CREPageItem *symbol = add(first, CREPageItem::Symbol, 400, 60, 150, 150);
    symbol->text = QStringLiteral("LUMARO 11");
    symbol->barcodeKind = 0;
    symbol->alignment = 4;
    symbol->color = QColor(0, 0, 160);
    symbol->isFreeText = true;
    symbol->outer->scale(0.8, 1.2);

    // Page 2: everything with text.
    CREPage *second = doc.addPage(QSizeF(840, 1188), QStringLiteral("Second"));
    second->repeatCount = -1;
    CREPageItem *text = add(second, CREPageItem::Text, 20, 20, 300, 60);
    text->text = QStringLiteral("Hello\nchart");
    text->font = QFont(QStringLiteral("Arial"), 48);
    text->font.setPixelSize(64);
    text->font.setItalic(true);
    text->font.setStyleStrategy(QFont::PreferAntialias);
    text->color = QColor(88, 88, 88);
    text->alignment = Qt::AlignRight | Qt::AlignBottom;
    CREPageItem *field = add(second, CREPageItem::DataField, 20, 100, 120, 25);
    field->text = QStringLiteral("FULL NAME");
    CREPageItem *birth = add(second, CREPageItem::Placeholder, 20, 130, 120, 25);
    birth->key = QStringLiteral("#birthdate");
    birth->text = QStringLiteral("BIRTHDATE");
    birth->isVariable = true;
    CREPageItem *free = add(second, CREPageItem::Placeholder, 20, 160, 120, 25);
    free->key = QStringLiteral("#text");
    free->text = QStringLiteral("Any words");
    free->isFreeText = true;
    free->alignment = 0;
    CREPageItem *slot = add(second, CREPageItem::PictureSlot, 20, 200, 100, 100);
    slot->blockIndex = 4;
    slot->fitMode = 0;
    CREPageItem *ref = add(second, CREPageItem::BlockReference, 20, 320, 300, 100);
    ref->blockPage = block;
    ref->blockIndex = 99; // renumbered from the block list on saving
    ref->order = 0;
    ref->key = doc.blockKey(block);
    CREPageItem *list = add(second, CREPageItem::PictureList, 140, 200, 100, 100);
    list->pictureChoice = 2;
    list->fitMode = 1;
    const struct
    {
        int type;
        const char *key;
        double h;
    } tables[] = {{11, "Psychomatrix", 68},   {11, "Planes of Expression", 68},
                  {12, "Name", 100},          {13, "Personal numbers calendar", 52},
                  {14, "Main Features", 100}, {14, "Life Cycles", 100},
                  {15, "Bridges", 36}};
    double y = 440;
    for (const auto &t : tables) {
        CREPageItem *table
            = add(second, t.type, 20, y, t.type == 14 || t.type == 15 ? 200 : 650, t.h);
        table->key = QString::fromLatin1(t.key);
        table->backgroundColor = QColor(230, 240, 250, 200);
        y += t.h + 10;
    }
    second->items.last()->selected = true; // not stored

    // A second page list.
    auto *more = new QList<CREPage *>;
    doc.pageLists.append(more);
    auto *third = new CREPage(doc.container, doc.style);
    third->width = 400;
    third->height = 500;
    third->name = QStringLiteral("Other list");
    more->append(third);

    doc.currentPage = first;
}

} // namespace LnrTest
