#include "designer/managerthumbnaildlg.h"

#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "designer/style.h"
#include "designer/templatelimits.h"

#include <QPainter>

#include <climits>
#include <cmath>

namespace {

// The pixels per page unit of the output canvas, halved.
constexpr double UnitsPerPixel = 1.334;

// An opaque image of size: every page is drawn over white, and Qt draws on
// RGB32 a third faster than on ARGB32, whose pixels it converts to and from
// premultiplied ones at every step; its PNG needs no alpha channel either.
// A chart canvas runs to 144 MB in plain memory pages: asking the kernel for
// large ones saved some 70 ms where it had them free, and cost up to 300 ms
// where it first had to gather them (lumaro_bench "chart png").
QImage newCanvas(const QSize &size)
{
    return QImage(size, QImage::Format_RGB32);
}

int canvasSide(double units)
{
    if (!(units > 0)) // also NaN
        return 0;
    return int(qMin(units / UnitsPerPixel, 1.0e8)) * 2;
}

} // namespace

QSize CManagerThumbnailDlg::canvasSize(double w, double h)
{
    return QSize(canvasSide(w), canvasSide(h));
}

QSize CManagerThumbnailDlg::outputSize(const QSize &canvas, const QSize &wish)
{
    QSize out;
    if (wish.width() > 0 || wish.height() > 0) {
        // A side the caller leaves at 0 does not bound the result.
        const QSize bound(wish.width() > 0 ? wish.width() : INT_MAX / 2,
                          wish.height() > 0 ? wish.height() : INT_MAX / 2);
        out = canvas.scaled(bound, Qt::KeepAspectRatio);
    } else {
        out = QSize(int(qMin<qint64>(qint64(canvas.width()) * 4, INT_MAX / 2)),
                    int(qMin<qint64>(qint64(canvas.height()) * 4, INT_MAX / 2)));
    }
    out = out.expandedTo(QSize(1, 1));
    const qint64 pixels = qint64(out.width()) * out.height();
    // A page beyond the budget is drawn smaller rather than not at all.
    if (pixels > TemplateLimits::MaxChartPixels) {
        const double f = std::sqrt(double(TemplateLimits::MaxChartPixels) / double(pixels));
        out = QSize(qMax(1, int(out.width() * f)), qMax(1, int(out.height() * f)));
    }
    return out;
}

bool CManagerThumbnailDlg::preparePrintReportBlock(CREPage *page)
{
    if (!page)
        return false;
    for (const CREPageItem *item : qAsConst(page->items)) {
        if (!item || !item->inner)
            continue;
        const int type = item->inner->type;
        if (type == CREPageItem::DataField || type == CREPageItem::PictureSlot
            || type == CREPageItem::Symbol)
            return true;
    }
    return false;
}

CREPage *CManagerThumbnailDlg::chartPage(int record, CReportDocument *doc)
{
    if (!doc || !doc->currentPage)
        return nullptr;
    // Each drawing replaces the whole canvas and leaves nothing behind, so
    // only the last page of the walk below is drawn: a template of many
    // pages costs no more than one.
    CREPage *last = nullptr;
    const QList<int> records {record};
    int consumed = 0;
    // The running number can pass any int repeat count added to it.
    qint64 drawing = 1;
    for (QList<CREPage *> *list : qAsConst(doc->pageLists)) {
        if (!list || consumed >= records.size())
            break;
        for (CREPage *page : qAsConst(*list)) {
            if (consumed >= records.size())
                break;
            if (!page)
                continue;
            const int repeat = page->repeatCount == 0 ? 1000000 : page->repeatCount;
            if (repeat < 1)
                continue;
            const qint64 limit = drawing + repeat;
            for (;;) {
                page->recordIndex = records.at(consumed);
                page->pageNumber = int(qMin<qint64>(drawing, INT_MAX));
                page->prefillData();
                const bool driven = preparePrintReportBlock(page);
                last = page;
                if (driven)
                    ++consumed;
                ++drawing;
                if (!driven || drawing >= limit || consumed >= records.size())
                    break;
            }
        }
    }
    return last;
}

QImage CManagerThumbnailDlg::slotPrintReport(int record, CReportDocument *doc, QSize size)
{
    QImage result(10, 10, QImage::Format_ARGB32);
    result.fill(Qt::white);
    CREPage *last = chartPage(record, doc);
    if (!last)
        return result;
    // Every page is drawn on a canvas sized by the current page.
    const QSize canvasPixels = canvasSize(doc->currentPage->width, doc->currentPage->height);
    QImage canvas = newCanvas(outputSize(canvasPixels, size));
    if (canvas.isNull())
        return result;

    CDrawMode mode;
    mode.thumbnailMode = false;
    mode.outputMode = true;
    mode.showBoundaries = true;
    mode.gridStepX = 0;
    mode.gridStepY = 0;
    // The page keeps the record and page number of its last drawing.
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        last->draw(&p, QRectF(0, 0, canvas.width(), canvas.height()), &mode, doc->style, true);
    }
    return canvas;
}

QImage CManagerThumbnailDlg::slotPrintReport(int record, CReportCreatorWin *window, QSize size)
{
    CReportDocument *doc = window && window->creator ? window->creator->editor : nullptr;
    return slotPrintReport(record, doc, size);
}

QImage CManagerThumbnailDlg::slotPrintReport(int record, const QString &templatePath,
                                             calcNumContainer *container, QSize size,
                                             CAppStyle *appStyle, QString *errorString)
{
    CReportDocument doc(container, appStyle);
    // A template that cannot be read is reported, not drawn as a blank page.
    if (!doc.loadFromFile(templatePath, errorString))
        return QImage();
    return slotPrintReport(record, &doc, size);
}
