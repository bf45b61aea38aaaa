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
#include "fuzz/harness.h"
#include "layouts/boundedread.h"

#include <QBuffer>
#include <QDataStream>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

// libFuzzer's own byte mutation; absent (null) in the replay build, which
// never mutates.
extern "C" size_t LLVMFuzzerMutate(uint8_t *data, size_t size, size_t maxSize)
    __attribute__((weak));

namespace LnrContract {

using harness::check;
using harness::fail;

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
    check(doc.save(s) == 0, "a loaded template cannot be saved");
    return bytes;
}

inline void checkPicture(const TemplatePicture &image)
{
    check(image.width() <= BoundedRead::MaxPictureSide
              && image.height() <= BoundedRead::MaxPictureSide,
          "a picture above the side limit");
}

// Why an item breaks the reader's bounds, or null: the bounds the reader
// refuses a record beyond, and those it brings loaded values into.
inline const char *itemFault(const CREPageItem *item)
{
    if (const char *fault = item->limitFault())
        return fault;
    if (!(item->angle >= 0 && item->angle <= 360))
        return "an angle out of range";
    if (!(item->penWidth >= 0 && item->penWidth <= TemplateLimits::MaxPenWidth))
        return "a pen width out of range";
    if (item->font.pixelSize() < 1 || item->font.pixelSize() > TemplateLimits::MaxFontPixels)
        return "a font size out of range";
    if (item->penStyle < Qt::NoPen || item->penStyle > Qt::DashDotDotLine)
        return "a pen style out of range";
    return nullptr;
}

inline void checkItem(const CREPageItem *item)
{
    if (const char *fault = itemFault(item))
        fail(fault);
    checkPicture(item->image);
}

// The state of a loaded document, checked in full.
inline void checkLoaded(const CReportDocument &doc)
{
    check(!doc.pageLists.isEmpty() && !doc.pageLists.first()->isEmpty(), "no page loaded");
    check(doc.currentPage == doc.pageLists.first()->first(), "the first page is not current");
    check(doc.loadError().isEmpty(), "an error left from a successful load");
    int pages = doc.blocks.size();
    QList<const CREPage *> all(doc.blocks.begin(), doc.blocks.end());
    for (const QList<CREPage *> *list : doc.pageLists) {
        pages += list->size();
        for (const CREPage *page : *list)
            all.append(page);
    }
    check(pages <= TemplateLimits::MaxPages, "more pages than the bound");
    for (const CREPage *page : qAsConst(all)) {
        check(page->thumbnail && !page->thumbnail->isNull(), "a page without a thumbnail");
        check(page->width >= 1 && page->width <= TemplateLimits::MaxSide && page->height >= 1
                  && page->height <= TemplateLimits::MaxSide,
              "a page side out of range");
        check(page->items.size() <= TemplateLimits::MaxItems, "more items than the bound");
        check(page->repeatCount >= -1 && page->repeatCount <= TemplateLimits::MaxRepeat,
              "a repeat count out of range");
        checkPicture(page->pageBackground.image);
        for (const CREPageItem *item : page->items) {
            checkItem(item);
            if (item->inner) {
                check(item->inner->outer == item, "a content item not linked to its frame");
                checkItem(item->inner);
                if (item->inner->type == CREPageItem::BlockReference
                    && !doc.blocks.contains(const_cast<CREPage *>(page))) {
                    const int index = doc.blocks.indexOf(item->inner->blockPage);
                    check(index >= 0 && index == item->inner->blockIndex,
                          "a block reference not linked to its block");
                }
            }
        }
    }
}

// A refused file leaves the document exactly as it was.
inline void checkRefused(CReportDocument &doc, const QByteArray &before, const CREPage *current)
{
    check(!doc.loadError().isEmpty(), "a refused file without a reason");
    check(doc.currentPage == current, "a refused file changed the current page");
    check(save(doc) == before, "a refused file changed the document");
}

// Loads the bytes into doc and checks the reader's promise either way; true
// when the template was taken.
inline bool loadChecked(CReportDocument &doc, const QByteArray &bytes)
{
    const QByteArray before = save(doc);
    const CREPage *current = doc.currentPage;
    if (load(doc, bytes) != 0) {
        checkRefused(doc, before, current);
        return false;
    }
    checkLoaded(doc);
    return true;
}

// Random bytes rarely keep a template stream readable, so most mutations
// go through the model: a loaded template gets one field of one page or item
// set to an extreme value and is written again by the program's own writer.
// The writer draws the first page as its preview, so items there only get
// values the reader accepts; anything drawing then breaks is a real fault.
inline size_t mutate(uint8_t *data, size_t size, size_t maxSize, unsigned seed)
{
    QRandomGenerator random(seed);
    const auto bytesOnly = [&]() {
        return LLVMFuzzerMutate ? LLVMFuzzerMutate(data, size, maxSize) : size;
    };
    if (random.bounded(5) == 0)
        return bytesOnly();
    CReportDocument doc(nullptr, nullptr);
    if (load(doc, QByteArray(reinterpret_cast<const char *>(data), int(size))) != 0)
        return bytesOnly();

    static const double extremes[] = {0,
                                      -0.0,
                                      1,
                                      -1,
                                      0.5,
                                      1e-300,
                                      1e300,
                                      -1e300,
                                      std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(),
                                      TemplateLimits::MaxSide,
                                      -TemplateLimits::MaxSide,
                                      TemplateLimits::MaxScale,
                                      -TemplateLimits::MaxScale,
                                      TemplateLimits::MaxPenWidth,
                                      2147483647.0,
                                      -2147483648.0,
                                      1e-9,
                                      359.99,
                                      4096};
    const auto value = [&]() {
        if (random.bounded(4) == 0)
            return (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-3, 12));
        return extremes[random.bounded(int(sizeof extremes / sizeof *extremes))];
    };
    const auto integer = [&]() {
        static const int ints[] = {0,
                                   1,
                                   -1,
                                   2,
                                   5,
                                   8,
                                   15,
                                   16,
                                   255,
                                   256,
                                   2147483647,
                                   -2147483647 - 1,
                                   TemplateLimits::MaxIndex,
                                   TemplateLimits::MaxIndex + 1};
        return random.bounded(3) == 0 ? int(random.generate())
                                      : ints[random.bounded(int(sizeof ints / sizeof *ints))];
    };

    QList<CREPage *> pages(doc.blocks.begin(), doc.blocks.end());
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists))
        pages += *list;
    CREPage *page = pages.at(random.bounded(pages.size()));
    const bool preview = page == doc.pageLists.first()->first();
    QList<CREPageItem *> items;
    for (CREPageItem *item : qAsConst(page->items)) {
        items << item;
        if (item->inner)
            items << item->inner;
    }
    if (items.isEmpty() || random.bounded(6) == 0) {
        switch (random.bounded(4)) {
        case 0:
            page->width = value();
            break;
        case 1:
            page->height = value();
            break;
        case 2:
            page->repeatCount = integer();
            break;
        default:
            page->pageBackground.mode = quint8(integer());
            break;
        }
    } else {
        CREPageItem *item = items.at(random.bounded(items.size()));
        const QTransform t = item->transform;
        qreal m[9]
            = {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()};
        const double keptAngle = item->angle;
        const QSizeF keptSize = item->boundSize;
        const double keptPen = item->penWidth;
        switch (random.bounded(12)) {
        case 0:
        case 1:
            m[random.bounded(9)] = value();
            item->transform = QTransform(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8]);
            break;
        case 2:
            item->angle = value();
            break;
        case 3:
            item->boundSize = QSizeF(value(), value());
            break;
        case 4:
            item->penWidth = value();
            item->penStyle = random.bounded(8);
            break;
        case 5:
            item->type = random.bounded(17);
            break;
        case 6:
            item->blockIndex = integer();
            break;
        case 7:
            item->order = integer();
            break;
        case 8:
            item->font.setPixelSize(qMax(1, integer()));
            break;
        case 9:
            item->alignment = integer();
            item->fitMode = integer();
            break;
        case 10:
            item->barcodeKind = random.bounded(-1, 12);
            item->text = QString(random.bounded(1, 4000), QLatin1Char('0' + random.bounded(10)));
            break;
        default: {
            static const char *const keys[] = {"Name",
                                               "Psychomatrix",
                                               "Planes of Expression",
                                               "Personal numbers calendar",
                                               "Main Features",
                                               "Life Cycles",
                                               "Bridges",
                                               "#full_name",
                                               "#birthdate"};
            item->key = QLatin1String(keys[random.bounded(9)]);
            break;
        }
        }
        if (preview && itemFault(item)) {
            item->transform = t;
            item->angle = keptAngle;
            item->boundSize = keptSize;
            item->penWidth = keptPen;
            item->penStyle = Qt::SolidLine;
            item->blockIndex = 0;
            item->order = 0;
            item->font.setPixelSize(11);
            item->text.truncate(TemplateLimits::MaxSymbolText);
        }
    }
    if (preview
        && !(page->width >= 1 && page->width <= TemplateLimits::MaxSide && page->height >= 1
             && page->height <= TemplateLimits::MaxSide)) {
        page->width = 200;
        page->height = 100;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    if (doc.save(s) != 0 || size_t(bytes.size()) > maxSize)
        return bytesOnly();
    std::memcpy(data, bytes.constData(), size_t(bytes.size()));
    return size_t(bytes.size());
}

} // namespace LnrContract
