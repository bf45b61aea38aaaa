#pragma once

#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportdocument.h"
#include "designer/templatelimits.h"
#include "designerfixture.h"
#include "tests/support/hostilepicture.h"

#include <QBuffer>
#include <QDataStream>
#include <QPainterPath>
#include <QVector>

#include <cmath>
#include <functional>

// Templates that stay within every limit of a single field and are heavy by
// their sum: huge pages, many block references, large symbols, texts,
// outlines and pictures. The tests and the benchmark build them the same
// way, at the size that made them slow (size) or any other.
namespace HostileTemplates {

using Builder = std::function<void(CReportDocument &doc, int size)>;

struct Template
{
    const char *name;
    int size;
    int nearest;
    Builder build;
};

// A document emptied down to one page list, holding nothing yet.
inline void reset(CReportDocument &doc)
{
    doc.clear();
    doc.pageLists.append(new QList<CREPage *>);
}

inline CREPageItem *place(CREPage *page, int type, double x, double y, double w, double h)
{
    CREPageItem *frame = DesignerTest::makeObject(page->container, type, x, y, w, h);
    page->items.append(frame);
    return frame->inner;
}

// count references to block, tiled over page.
inline void placeReferences(CReportDocument &doc, CREPage *page, CREPage *block, int count)
{
    for (int i = 0; i < count; ++i) {
        CREPageItem *ref = place(page, CREPageItem::BlockReference, (i % 40) * 20.0,
                                 (i / 40 % 50) * 20.0, 40, 30);
        ref->blockPage = block;
        ref->order = i;
        ref->key = doc.blockKey(block);
    }
}

inline QImage picture(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    return image;
}

inline void emptyPages(CReportDocument &doc, int pages)
{
    reset(doc);
    for (int i = 0; i < pages; ++i)
        doc.addPage(QSizeF(1e6, 1e6), QStringLiteral("Huge %1").arg(i + 1));
}

// A block of blockItems objects of type, referenced refs times on each of
// pages pages.
inline void blockReferences(CReportDocument &doc, int type, int blockItems, int refs, int pages)
{
    reset(doc);
    CREPage *block = doc.addBlock(QSizeF(400, 300), QStringLiteral("Texts"));
    for (int i = 0; i < blockItems; ++i)
        place(block, type, (i % 10) * 40.0, (i / 10 % 20) * 15.0, 40, 15)->text
            = QStringLiteral("Text %1").arg(i);
    for (int p = 0; p < pages; ++p)
        placeReferences(doc, doc.addPage(QSizeF(840, 1188), QStringLiteral("References")), block,
                        refs);
}

inline void textBlockReferences(CReportDocument &doc, int blockItems, int refs, int pages)
{
    blockReferences(doc, CREPageItem::Text, blockItems, refs, pages);
}

inline void symbolBlockReferences(CReportDocument &doc, int refs)
{
    reset(doc);
    CREPage *block = doc.addBlock(QSizeF(200, 200), QStringLiteral("Symbol"));
    CREPageItem *symbol = place(block, CREPageItem::Symbol, 0, 0, 200, 200);
    symbol->barcodeKind = 0;
    symbol->text = QString(TemplateLimits::MaxSymbolText, QLatin1Char('7'));
    placeReferences(doc, doc.addPage(QSizeF(840, 1188), QStringLiteral("References")), block, refs);
}

inline void symbolItems(CReportDocument &doc, int count)
{
    reset(doc);
    CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Symbols"));
    for (int i = 0; i < count; ++i) {
        CREPageItem *symbol
            = place(page, CREPageItem::Symbol, (i % 20) * 40.0, (i / 20 % 29) * 40.0, 40, 40);
        symbol->barcodeKind = 0;
        symbol->text = QString(TemplateLimits::MaxSymbolText, QLatin1Char('0' + i % 10));
    }
}

inline void longText(CReportDocument &doc, int characters)
{
    reset(doc);
    CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Text"));
    QString text(characters, QLatin1Char('x'));
    for (int i = 1; i < characters; i += 2)
        text[i] = QLatin1Char('\n');
    place(page, CREPageItem::Text, 20, 20, 800, 1100)->text = text;
}

// count texts of 20 x 20 units on each of pages pages, all the same line of
// the longest a text may hold.
inline void longLines(CReportDocument &doc, int count, int pages = 1)
{
    reset(doc);
    const QString line(TemplateLimits::MaxText, QLatin1Char('x'));
    for (int p = 0; p < pages; ++p) {
        CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Lines %1").arg(p + 1));
        for (int i = 0; i < count; ++i)
            place(page, CREPageItem::Text, (i % 40) * 20.0, (i / 40 % 59) * 20.0, 20, 20)->text
                = line;
    }
}

// A picture with the detail of a photograph, which its PNG data does not
// compress away: no two seeds give the same.
inline QImage photo(int w, int h, quint32 seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = int(seed >> 27);
            row[x] = qRgb((x * 255 / w + grain) & 255, (y * 255 / h + grain) & 255,
                          ((x + y) * 127 / (w + h) + grain) & 255);
        }
    }
    return image;
}

// A booklet of pages A4 pages: each with its own background of ground,
// stretched, and two pictures of photos, by default the designer's largest
// picture side and smaller pictures. Detailed pictures cost what
// photographs cost to store and decode; plain ones are quicker to make and
// store.
inline void booklet(CReportDocument &doc, int pages, bool detailed = true,
                    QSize ground = QSize(1024, 1024), QSize photos = QSize(512, 384))
{
    reset(doc);
    const auto make = [detailed](int w, int h, int seed) {
        if (detailed)
            return photo(w, h, quint32(seed));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(QRgb(0xff000000u | quint32(seed) * 40503u)));
        return image;
    };
    for (int i = 0; i < pages; ++i) {
        CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Page %1").arg(i + 1));
        page->pageBackground.mode = 2;
        page->pageBackground.image = make(ground.width(), ground.height(), 3 * i + 1);
        place(page, CREPageItem::Image, 60, 80, 300, 225)->image
            = make(photos.width(), photos.height(), 3 * i + 2);
        place(page, CREPageItem::Image, 480, 700, 300, 225)->image
            = make(photos.width(), photos.height(), 3 * i + 3);
        place(page, CREPageItem::Text, 60, 400, 720, 40)->text
            = QStringLiteral("Chapter %1").arg(i + 1);
    }
}

// A booklet of pages scanned A4 pages (2480 x 3508, 300 dpi) with two
// photos of 1600 x 1200 each.
inline void scannedBooklet(CReportDocument &doc, int pages)
{
    booklet(doc, pages, true, QSize(2480, 3508), QSize(1600, 1200));
}

// pages A4 pages, each with a photo of 1600 x 1200 stretched as its
// background.
inline void photoBackgrounds(CReportDocument &doc, int pages)
{
    reset(doc);
    for (int i = 0; i < pages; ++i) {
        CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Photo %1").arg(i + 1));
        page->pageBackground.mode = 2;
        page->pageBackground.image = photo(1600, 1200, quint32(40 + i));
    }
}

inline void hugePath(CReportDocument &doc, int curves)
{
    reset(doc);
    CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Path"));
    CREPageItem *path = place(page, CREPageItem::Path, 0, 0, 840, 1188);
    const double m = TemplateLimits::MaxSide;
    QPainterPath shape;
    shape.moveTo(0, 0);
    for (int i = 0; i < curves; ++i)
        shape.cubicTo(i % 2 ? m : -m, -m, i % 2 ? -m : m, m, (i % 7) * 100.0, (i % 5) * 100.0);
    shape.closeSubpath();
    path->shape = shape;
    path->penWidth = TemplateLimits::MaxPenWidth;
    path->penStyle = Qt::DashDotDotLine;
    path->transform = QTransform::fromScale(TemplateLimits::MaxScale, TemplateLimits::MaxScale);
    path->outer->transform
        = QTransform::fromScale(TemplateLimits::MaxScale, TemplateLimits::MaxScale);
}

inline void pictureBlockReferences(CReportDocument &doc, int refs, int side = 4096)
{
    reset(doc);
    CREPage *block = doc.addBlock(QSizeF(200, 200), QStringLiteral("Picture"));
    place(block, CREPageItem::Image, 0, 0, 200, 200)->image = picture(side);
    placeReferences(doc, doc.addPage(QSizeF(840, 1188), QStringLiteral("References")), block, refs);
}

inline void stretchedBackgrounds(CReportDocument &doc, int pages, int side = 4096)
{
    reset(doc);
    const QImage image = picture(side);
    for (int i = 0; i < pages; ++i) {
        CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Background %1").arg(i));
        page->pageBackground.mode = 2;
        page->pageBackground.image = image;
    }
}

// Pages of one A4 sheet whose objects stay within every count and ask much
// of each draw at export size.
inline CREPage *a4Page(CReportDocument &doc, const QString &name)
{
    reset(doc);
    return doc.addPage(QSizeF(840, 1188), name);
}

// A photo of 1600 x 1200 in a frame of w x h units at (x, y), turned by
// degrees about its centre as the designer's rotation handle turns it.
inline CREPageItem *placePhoto(CREPage *page, double x, double y, double w, double h,
                               double degrees, quint32 seed)
{
    CREPageItem *content = place(page, CREPageItem::Image, x, y, w, h);
    content->image = photo(1600, 1200, seed);
    if (degrees != 0) {
        CREPageItem *frame = content->outer;
        const QPointF c = frame->shape.boundingRect().center();
        frame->rotate(degrees, true);
        content->transform = QTransform::fromTranslate(c.x(), c.y());
        content->transform.rotate(degrees);
        content->transform.translate(-c.x(), -c.y());
    }
    return content;
}

// An A4 page with a photo stretched as its background and count photos
// (1600 x 1200) on it, each w units wide and turned by degrees, the next
// by turn more.
inline void photosOnPage(CReportDocument &doc, int count, double w, double degrees, double turn = 0)
{
    CREPage *page = a4Page(doc, QStringLiteral("Photos"));
    page->pageBackground.mode = 2;
    page->pageBackground.image = photo(1600, 1200, 90);
    const int columns = w > 400 ? 1 : 2;
    for (int i = 0; i < count; ++i)
        placePhoto(page, 40 + (i % columns) * 420.0, 40 + (i / columns) * 380.0, w, w * 0.75,
                   degrees + i * turn, quint32(100 + i));
}

// An outline of points zigzagging across the page between its top and its
// bottom, filled or not.
inline void zigzag(CReportDocument &doc, int points, double pen, int style, bool filled)
{
    CREPageItem *path
        = place(a4Page(doc, QStringLiteral("Zigzag")), CREPageItem::Path, 0, 0, 840, 1188);
    QPainterPath shape;
    shape.moveTo(0, 0);
    for (int i = 1; i < points; ++i)
        shape.lineTo(840.0 * i / (points - 1), i % 2 ? 1188 : 0);
    path->shape = shape;
    path->penWidth = pen;
    path->penStyle = style;
    path->color = filled ? QColor(200, 40, 40) : QColor(Qt::transparent);
}

// A 2 x 2 picture over the page, its frame a star of points outline points.
inline void starPicture(CReportDocument &doc, int points)
{
    CREPageItem *image
        = place(a4Page(doc, QStringLiteral("Star")), CREPageItem::Image, 0, 0, 840, 1188);
    image->image = picture(2);
    QPainterPath star;
    const int corners = points - 1;
    for (int i = 0; i < corners; ++i) {
        const double a = 2 * M_PI * i / corners;
        const double r = i % 2 ? 20 : 700;
        const QPointF at(420 + r * std::sin(a), 594 - r * std::cos(a));
        i == 0 ? star.moveTo(at) : star.lineTo(at);
    }
    star.closeSubpath();
    image->outer->shape = star;
}

// count objects of type, each covering the page.
inline void pageCovers(CReportDocument &doc, int type, int count)
{
    CREPage *page = a4Page(doc, QStringLiteral("Covers"));
    for (int i = 0; i < count; ++i) {
        CREPageItem *item = place(page, type, 0, 0, 840, 1188);
        if (type == CREPageItem::Image) {
            item->image = picture(2);
        } else if (type == CREPageItem::Path) {
            item->shape.addRect(0, 0, 840, 1188);
            item->color = QColor(40, 120, 200, 128);
            item->penWidth = 0;
        } else if (type == CREPageItem::Symbol) {
            item->barcodeKind = 0;
            item->text = QString(TemplateLimits::MaxSymbolText, QLatin1Char('0' + i % 10));
        }
    }
}

// A text whose other strings, and its page's name, hold characters each.
inline void longStrings(CReportDocument &doc, int characters)
{
    const QString filler(characters, QLatin1Char('k'));
    CREPageItem *text = place(a4Page(doc, filler), CREPageItem::Text, 20, 20, 200, 50);
    text->text = QStringLiteral("LUMARO");
    text->auxText = filler;
    text->key = filler;
}

// The heavy templates, at the size each was first seen at (size) and at the
// nearest size the limits take (nearest; the same when they take it).
inline QVector<Template> all()
{
    const Builder textBlock = [](CReportDocument &doc, int refs) {
        textBlockReferences(doc, 200, refs, 1);
    };
    const Builder eightPages = [](CReportDocument &doc, int refs) {
        textBlockReferences(doc, 1, refs, 8);
    };
    const Builder smallPicture = [](CReportDocument &doc, int refs) {
        pictureBlockReferences(doc, refs, 2048);
    };
    const Builder smallBackgrounds = [](CReportDocument &doc, int pages) {
        stretchedBackgrounds(doc, pages, 2048);
    };
    const Builder largePicture = [](CReportDocument &doc, int refs) {
        pictureBlockReferences(doc, refs);
    };
    const Builder largeBackgrounds = [](CReportDocument &doc, int pages) {
        stretchedBackgrounds(doc, pages);
    };
    return {
        {"4 empty pages of 1e6 x 1e6 units", 4, 4, emptyPages},
        {"64 empty pages of 1e6 x 1e6 units", 64, 64, emptyPages},
        {"block of 200 texts, references", 2000, 2, textBlock},
        {"block of a 3000-digit QR symbol, references", 1000, 80, symbolBlockReferences},
        {"QR symbols of 3000 digits", 400, 400, symbolItems},
        {"text of characters, every other a line break", 1000000, TemplateLimits::MaxText,
         longText},
        {"texts of 20 x 20 units, 20000 characters on one line", 500, 500,
         [](CReportDocument &doc, int texts) {
             longLines(doc, texts);
         }},
        {"4 pages of texts of 20000 characters on one line", 500, 500,
         [](CReportDocument &doc, int texts) {
             longLines(doc, texts, 4);
         }},
        {"booklet of pages, a background and two pictures each", 8, 8,
         [](CReportDocument &doc, int pages) {
             booklet(doc, pages);
         }},
        {"booklet of scanned pages, two photos each", 10, 10, scannedBooklet},
        {"pages with a photo as background", 10, 10, photoBackgrounds},
        {"2 photos 600 units wide on a background", 2, 2,
         [](CReportDocument &doc, int n) {
             photosOnPage(doc, n, 600, 0);
         }},
        {"tilted photos on a background", 6, 6,
         [](CReportDocument &doc, int n) {
             photosOnPage(doc, n, 300, -15, 6);
         }},
        {"photos turned 30 degrees on a background", 3, 3,
         [](CReportDocument &doc, int n) {
             photosOnPage(doc, n, 360, 30);
         }},
        {"path of curves at 1e6, scaled 100, pen 1000", 1000, 1000, hugePath},
        {"block of a 4096 x 4096 picture, references", 1000, 1000, largePicture},
        {"block of a 2048 x 2048 picture, references", 1000, 80, smallPicture},
        {"pages with a stretched 4096 x 4096 background", 3, 3, largeBackgrounds},
        {"pages with a stretched 2048 x 2048 background", 3, 1, smallBackgrounds},
        {"8 pages of block references", 2000, 125, eightPages},
        {"zigzag of points, pen 500, dash-dot", 100, 21,
         [](CReportDocument &doc, int points) {
             zigzag(doc, points, 500, Qt::DashDotLine, false);
         }},
        {"zigzag of points, pen 1, filled", 1000, 82,
         [](CReportDocument &doc, int points) {
             zigzag(doc, points, 1, Qt::SolidLine, true);
         }},
        {"zigzag of points, pen 500, dashed", 10000, 34,
         [](CReportDocument &doc, int points) {
             zigzag(doc, points, 500, Qt::DashLine, false);
         }},
        {"2 x 2 picture in a star of points", 10000, 270, starPicture},
        {"2 x 2 pictures covering the page", 2000, 1,
         [](CReportDocument &doc, int n) {
             pageCovers(doc, CREPageItem::Image, n);
         }},
        {"half-transparent page rectangles", 2000, 27,
         [](CReportDocument &doc, int n) {
             pageCovers(doc, CREPageItem::Path, n);
         }},
        {"3000-digit QR symbols covering the page", 2000, 9,
         [](CReportDocument &doc, int n) {
             pageCovers(doc, CREPageItem::Symbol, n);
         }},
        {"text whose other strings hold characters", 50000000, TemplateLimits::MaxText,
         longStrings},
    };
}

// The bytes the program's writer makes of doc, whether or not the limits
// accept it (saveToFile would refuse beyond them).
inline QByteArray write(CReportDocument &doc)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream s(&buffer);
    return doc.save(s) == 0 ? bytes : QByteArray();
}

// A template of count different pictures, each stored copies times on a
// page of its own and each declaring side x side in its header while it
// holds the data of one pixel: what the reader counts without decoding.
inline QByteArray declaredPictures(int count, int copies, int side)
{
    CReportDocument doc(nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        QImage one(1, 1, QImage::Format_RGB32);
        one.fill(qRgb(i, 255 - i, 7));
        CREPage *page = doc.addPage(QSizeF(840, 1188), QStringLiteral("Pictures %1").arg(i));
        for (int c = 0; c < copies; ++c)
            place(page, CREPageItem::Image, c * 40.0, 10, 30, 30)->image = one;
    }
    QByteArray bytes = write(doc);
    for (QByteArray next = bytes; !next.isEmpty();
         next = HostilePicture::declareSize(bytes, quint32(side), quint32(side)))
        bytes = next;
    return bytes;
}

inline int read(CReportDocument &doc, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream s(&buffer);
    return doc.load(s);
}

} // namespace HostileTemplates
