#include "designer/drawingwork.h"

#include "designer/managerthumbnaildlg.h"
#include "designer/repage.h"
#include "designer/repageitem.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <functional>

namespace {

// Units of work, measured at export size: a pixel filled or copied is 1.
// A picture stretched smoothly over many pixels costs its sampling; a
// symbol is copied module by module without smoothing, and a large picture
// drawn smaller is copied from the copy scaled once for its size.
constexpr double PicturePixel = 20;
constexpr double SymbolPixel = 3;
constexpr double CopiedPixel = 1.5;
// An edge the rasteriser carries over one more row of cells, and what an
// edge costs the stroker, the dasher and the rasteriser to set up, in rows.
constexpr double EdgeRow = 3;
constexpr double EdgeSetupRows = 10;
// A row of a clip outline's edge, for each object drawn through it.
constexpr double ClipRow = 15000;
// An edge crossing a row that another edge of the same outline crosses.
constexpr double Crossing = 4;
// A glyph shaped and placed; a text's frame and a table count as many.
constexpr double Glyph = 300;
constexpr double TableGlyphs = 300;
constexpr double PlaceholderGlyphs = 100;
// Above this height in pixels glyphs are filled as outlines of some
// twenty edges each rather than copied from the glyph cache.
constexpr double CachedGlyphPixels = 64;
constexpr double GlyphEdges = 20;

double area(const QRectF &r)
{
    return r.isValid() ? r.width() * r.height() : 0;
}

// The rows of clip that [top, bottom] spans.
double rowsWithin(double top, double bottom, const QRectF &clip)
{
    return qMax(0.0, qMin(bottom, clip.bottom()) - qMax(top, clip.top()));
}

// The typical stretch of t: the square root of what it does to an area.
double stretchOf(const QTransform &t)
{
    return std::sqrt(std::fabs(t.m11() * t.m22() - t.m12() * t.m21()));
}

// The dash pattern of a pen style in pen widths: its length, its dashes
// and the mean length of one dash.
struct Dashes
{
    double pattern;
    int count;
    double length;
};

Dashes dashesOf(int style)
{
    switch (style) {
    case Qt::DashLine:
        return {6, 1, 4};
    case Qt::DotLine:
        return {3, 1, 1};
    case Qt::DashDotLine:
        return {9, 2, 2.5};
    case Qt::DashDotDotLine:
        return {12, 3, 2};
    default:
        return {0, 0, 0};
    }
}

// An outline's rows added to work. Within a band of rows the rasteriser
// takes each edge crossing it once for every other, so what an outline
// costs grows with its rows times the edges that cross a row.
void addOutline(DrawingWork &work, double rows, const QRectF &bounds, const QRectF &clip,
                bool clipping = false)
{
    const double high = qMax(1.0, rowsWithin(bounds.top(), bounds.bottom(), clip));
    (clipping ? work.clipRows : work.edgeRows) += rows;
    work.crossings += rows * (rows / high);
}

} // namespace

double DrawingWork::total() const
{
    return pixels + edgeRows * EdgeRow + clipRows * ClipRow + crossings * Crossing + glyphs * Glyph;
}

QString DrawingWork::mostly() const
{
    const double painting = pixels;
    const double outlines = edgeRows * EdgeRow + clipRows * ClipRow + crossings * Crossing;
    const double texts = glyphs * Glyph;
    if (texts >= painting && texts >= outlines)
        return QStringLiteral("its texts lay out too many characters");
    if (outlines >= painting)
        return QStringLiteral("its outlines have too many long edges");
    return QStringLiteral("its objects paint too many pixels,\r\none over another");
}

DrawingWork &DrawingWork::operator+=(const DrawingWork &other)
{
    pixels += other.pixels;
    edgeRows += other.edgeRows;
    clipRows += other.clipRows;
    crossings += other.crossings;
    glyphs += other.glyphs;
    return *this;
}

QTransform DrawingWork::exportTransform(const CREPage *page)
{
    if (!page || !(page->width > 0) || !(page->height > 0))
        return QTransform();
    const QSize out = CManagerThumbnailDlg::outputSize(
        CManagerThumbnailDlg::canvasSize(page->width, page->height), QSize());
    const double s = qMin(out.width() / page->width, out.height() / page->height);
    return QTransform::fromScale(s, s);
}

double DrawingWork::fillRows(const QPainterPath &path, const QRectF &clip)
{
    double rows = 0;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        for (int i = 0; i < polygon.size(); ++i) {
            const QPointF &a = polygon[i];
            const QPointF &b = polygon[(i + 1) % polygon.size()];
            // An edge beside the clip leaves the rasteriser no cells.
            const bool beside
                = qMax(a.x(), b.x()) < clip.left() || qMin(a.x(), b.x()) > clip.right();
            rows += EdgeSetupRows
                + (beside ? 0 : rowsWithin(qMin(a.y(), b.y()), qMax(a.y(), b.y()), clip));
        }
    }
    return rows;
}

double DrawingWork::strokeRows(const QPainterPath &path, double width, int style,
                               const QRectF &clip, double *pixels)
{
    const double w = qMax(1.0, width);
    const Dashes dashes = dashesOf(style);
    double rows = 0;
    double painted = 0;
    for (const QPolygonF &polygon : path.toSubpathPolygons()) {
        for (int i = 0; i + 1 < polygon.size(); ++i) {
            const QPointF &a = polygon[i];
            const QPointF &b = polygon[i + 1];
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            const double high = std::fabs(b.y() - a.y());
            const double spanned
                = rowsWithin(qMin(a.y(), b.y()) - w / 2, qMax(a.y(), b.y()) + w / 2, clip);
            const double across = qMax(0.0,
                                       qMin(qMax(a.x(), b.x()) + w / 2, clip.right())
                                           - qMax(qMin(a.x(), b.x()) - w / 2, clip.left()));
            const double shown = across > 0 ? spanned : 0;
            if (dashes.count == 0) {
                rows += 2 * EdgeSetupRows + 2 * shown + 2 * qMin(w, shown);
                painted += qMin(length * w, shown * across);
                continue;
            }
            // Each dash is an outline of its own, of four edges.
            const double n = std::ceil(length / (dashes.pattern * w)) * dashes.count;
            const double dashRows
                = qMin(shown, (length > 0 ? dashes.length * w * high / length : 0) + w);
            rows += n * (4 * EdgeSetupRows + 4 * dashRows);
            painted
                += qMin(length * w * dashes.length * dashes.count / dashes.pattern, shown * across);
        }
    }
    if (pixels)
        *pixels = painted;
    return rows;
}

DrawingWork DrawingWork::ofObject(const CREPageItem *frame, const QTransform &toDevice,
                                  const QRectF &clip)
{
    DrawingWork work;
    const CREPageItem *content = frame ? frame->inner : nullptr;
    if (!content)
        return work;
    const QTransform frameDevice = frame->transform * toDevice;
    QRectF shown = clip;
    if (content->type != CREPageItem::Path) {
        const QPainterPath outline = frameDevice.map(frame->shape);
        shown &= outline.boundingRect();
        // A rectangle on the device axes clips for nothing. A picture is
        // filled into any other outline; other content is drawn through
        // it as a clip, which costs every span of every row it crosses.
        if (!frame->rectangularOn(frameDevice)) {
            addOutline(work, fillRows(outline, clip), outline.controlPointRect(), clip,
                       content->type != CREPageItem::Image);
            work.pixels += area(shown);
        }
    }
    if (content->frameStyle != 0)
        work.edgeRows += strokeRows(frameDevice.map(frame->shape), 1, Qt::SolidLine, clip);
    const QTransform device = content->transform * frameDevice;
    const QRectF box
        = device.mapRect(QRectF(0, 0, content->boundSize.width(), content->boundSize.height()))
        & shown;
    const auto text = [&](double glyphs) {
        work.glyphs += glyphs;
        work.pixels += area(box);
        const double high = content->font.pixelSize() * stretchOf(device);
        if (high > CachedGlyphPixels && box.isValid())
            work.edgeRows += qMin(glyphs, 4 * area(box) / (high * high) + box.height() / high + 1)
                * GlyphEdges * qMin(high, box.height());
    };
    switch (content->type) {
    case CREPageItem::Image: {
        const QImage &picture = content->image;
        if (picture.isNull())
            break;
        // A large picture drawn smaller is scaled once and then copied.
        const QRectF whole
            = device.mapRect(QRectF(0, 0, content->boundSize.width(), content->boundSize.height()));
        const bool copied = qint64(picture.width()) * picture.height() >= 512 * 512
            && device.type() <= QTransform::TxScale && whole.width() < picture.width()
            && whole.height() < picture.height() && area(whole) <= 2048.0 * 2048;
        work.pixels += (copied ? CopiedPixel : PicturePixel) * area(box);
        break;
    }
    case CREPageItem::Symbol:
        work.pixels += SymbolPixel * area(box);
        break;
    case CREPageItem::Text:
    case CREPageItem::DataField:
        text(content->text.size());
        break;
    case CREPageItem::Placeholder:
        text(content->text.size() + PlaceholderGlyphs);
        break;
    case CREPageItem::MatrixTable:
    case CREPageItem::NameTable:
    case CREPageItem::CalendarTable:
    case CREPageItem::InfoTable:
    case CREPageItem::BridgesTable:
        text(TableGlyphs);
        break;
    case CREPageItem::Path: {
        const CREPageItem::PathPlan plan = CREPageItem::planPath(content->shape, content->penStyle,
                                                                 device, clip, content->penWidth);
        if (content->color.alpha() > 0) {
            // A fill cut to the page is drawn band by band of its cut edges,
            // which the rasteriser takes once each.
            if (plan.whole)
                addOutline(work, fillRows(plan.fill, clip), plan.fill.controlPointRect(), clip);
            else
                work.edgeRows += fillRows(plan.fill, clip);
            work.pixels += area(plan.fill.controlPointRect() & clip);
        }
        if (plan.covers) {
            work.pixels += area(clip);
        } else if (content->penWidth > 0) {
            double painted = 0;
            const double reach = plan.penWidth / 2;
            addOutline(work, strokeRows(plan.stroke, plan.penWidth, plan.penStyle, clip, &painted),
                       plan.stroke.controlPointRect().adjusted(-reach, -reach, reach, reach), clip);
            work.pixels += painted;
        }
        break;
    }
    default:
        work.pixels += area(box);
        break;
    }
    return work;
}

DrawingWork DrawingWork::ofPage(const CREPage *page, double stopAbove, const CREPage *extraPage,
                                const CREPageItem *extra)
{
    DrawingWork work;
    if (!page)
        return work;
    const QTransform toDevice = exportTransform(page);
    const QRectF sheet = toDevice.mapRect(QRectF(0, 0, page->width, page->height));
    const background &ground = page->pageBackground;
    if (ground.mode == 1 && !ground.image.isNull())
        work.pixels += PicturePixel
            * area(toDevice.mapRect(QRectF(QPointF(0, 0), QSizeF(ground.image.size()))) & sheet);
    else if (ground.mode == 2 && !ground.image.isNull())
        work.pixels += PicturePixel * area(sheet);
    else if (ground.mode != 0xFF)
        work.pixels += area(sheet);
    // Blocks drawn in blocks are followed a few levels down; the reader
    // links none, and the designer refuses a reference that recurses.
    const std::function<void(const CREPage *, const QTransform &, const QRectF &, int)> visit
        = [&](const CREPage *sheet, const QTransform &device, const QRectF &clip, int depth) {
              QList<const CREPageItem *> frames(sheet->items.begin(), sheet->items.end());
              if (extra && sheet == extraPage)
                  frames.append(extra);
              for (const CREPageItem *frame : qAsConst(frames)) {
                  if (work.total() > stopAbove)
                      return;
                  work += ofObject(frame, device, clip);
                  const CREPageItem *content = frame->inner;
                  if (!content || content->type != CREPageItem::BlockReference
                      || !content->blockPage || depth >= 4)
                      continue;
                  // The block is drawn at its own size through the reference's
                  // transforms, cut only by its own sheet.
                  const CREPage *block = content->blockPage;
                  const QTransform blockDevice = content->transform * frame->transform * device;
                  visit(block, blockDevice,
                        blockDevice.mapRect(QRectF(0, 0, block->width, block->height)) & clip,
                        depth + 1);
              }
          };
    visit(page, toDevice, sheet, 0);
    return work;
}
