// What the chart template reader promises about any bytes it is given,
// shared by the template harnesses: a refused file is reported and leaves the
// document as it was; a loaded one holds only values within the reader's
// bounds, so that drawing and editing can trust it.

#pragma once

#include "designer/calcnumcontainer.h"
#include "designer/lnrstream.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportdocument.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "layouts/boundedread.h"

#include <QBuffer>
#include <QDataStream>
#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace LnrContract {

inline void fail(const char *what)
{
    std::fprintf(stderr, "template reader broke its contract: %s\n", what);
    std::abort();
}

inline void require(bool ok, const char *what)
{
    if (!ok)
        fail(what);
}

inline void startGui(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int count = *argc;
    // Never destroyed: tearing Qt's GUI down in the exit handlers, after its
    // thread storage is gone, crashes.
    static QGuiApplication *app = new QGuiApplication(count, *argv);
    Q_UNUSED(app)
}

// A calculated person, so that placeholders and tables draw real text.
struct Person
{
    CNumerology person;
    CNumerology partner;
    CNumerologyPMatrix personMatrix;
    CNumerologyPMatrix partnerMatrix;
    calcNumContainer container;

    Person()
    {
        container = {&person, &partner, &personMatrix, &partnerMatrix};
        const QDate birth(1984, 1, 5);
        person.calculate(QStringLiteral("John Kevin Smith"), QStringLiteral("John Smith"),
                         QVector<int>(), QVector<int>(), false, birth, QDate(2026, 3, 1), nullptr,
                         0, 0, true);
        personMatrix.calculate(QStringLiteral("John Kevin Smith"), birth, nullptr, 0);
    }
};

inline int load(CReportDocument &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    return doc.load(s);
}

inline QByteArray save(CReportDocument &doc)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    require(doc.save(s) == 0, "a loaded template cannot be saved");
    return bytes;
}

inline bool within(double v, double limit)
{
    return std::isfinite(v) && std::fabs(v) <= limit;
}

inline void checkPicture(const QImage &image)
{
    require(image.width() <= BoundedRead::MaxPictureSide
                && image.height() <= BoundedRead::MaxPictureSide,
            "a picture above the side limit");
}

inline void checkItem(const CREPageItem *item)
{
    require(LnrStream::usableTransform(item->transform), "an unusable transform");
    require(item->angle >= 0 && item->angle <= 360, "an angle out of range");
    require(item->penWidth >= 0 && item->penWidth <= LnrStream::MaxPenWidth,
            "a pen width out of range");
    require(within(item->boundSize.width(), LnrStream::MaxSide)
                && within(item->boundSize.height(), LnrStream::MaxSide),
            "a size out of range");
    require(item->font.pixelSize() >= 1 && item->font.pixelSize() <= LnrStream::MaxFontPixels,
            "a font size out of range");
    require(item->penStyle >= Qt::NoPen && item->penStyle <= Qt::DashDotDotLine,
            "a pen style out of range");
    require(item->type != CREPageItem::Symbol || item->text.size() <= LnrStream::MaxSymbolText,
            "a symbol text beyond the bound");
    checkPicture(item->image);
}

// The state of a loaded document, checked in full.
inline void checkLoaded(const CReportDocument &doc)
{
    require(!doc.pageLists.isEmpty() && !doc.pageLists.first()->isEmpty(), "no page loaded");
    require(doc.currentPage == doc.pageLists.first()->first(), "the first page is not current");
    require(doc.loadError().isEmpty(), "an error left from a successful load");
    int pages = doc.blocks.size();
    QList<const CREPage *> all(doc.blocks.begin(), doc.blocks.end());
    for (const QList<CREPage *> *list : doc.pageLists) {
        pages += list->size();
        for (const CREPage *page : *list)
            all.append(page);
    }
    require(pages <= LnrStream::MaxPages, "more pages than the bound");
    for (const CREPage *page : qAsConst(all)) {
        require(page->thumbnail && !page->thumbnail->isNull(), "a page without a thumbnail");
        require(page->width >= 1 && page->width <= LnrStream::MaxSide && page->height >= 1
                    && page->height <= LnrStream::MaxSide,
                "a page side out of range");
        require(page->items.size() <= LnrStream::MaxItems, "more items than the bound");
        require(page->repeatCount >= -1 && page->repeatCount <= LnrStream::MaxRepeat,
                "a repeat count out of range");
        checkPicture(page->pageBackground.image);
        for (const CREPageItem *item : page->items) {
            checkItem(item);
            if (item->inner) {
                require(item->inner->outer == item, "a content item not linked to its frame");
                checkItem(item->inner);
                if (item->inner->type == CREPageItem::BlockReference
                    && !doc.blocks.contains(const_cast<CREPage *>(page))) {
                    const int index = doc.blocks.indexOf(item->inner->blockPage);
                    require(index >= 0 && index == item->inner->blockIndex,
                            "a block reference not linked to its block");
                }
            }
        }
    }
}

// A refused file leaves the document exactly as it was.
inline void checkRefused(CReportDocument &doc, const QByteArray &before, const CREPage *current)
{
    require(!doc.loadError().isEmpty(), "a refused file without a reason");
    require(doc.currentPage == current, "a refused file changed the current page");
    require(save(doc) == before, "a refused file changed the document");
}

} // namespace LnrContract
