#include "designer/managerthumbnaildlg.h"

#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportdocument.h"
#include "designer/reportpe.h"
#include "designer/style.h"

#include <QPainter>

#include <climits>
#include <cmath>

namespace {

// The pixels per page unit of the output canvas, halved.
constexpr double UnitsPerPixel = 1.334;
// Larger canvases cannot be allocated as one image; such a page is drawn
// smaller rather than not at all.
constexpr qint64 MaxCanvasPixels = qint64(1) << 27;

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
    if (pixels > MaxCanvasPixels) {
        const double f = std::sqrt(double(MaxCanvasPixels) / double(pixels));
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

QImage CManagerThumbnailDlg::slotPrintReport(int record, CReportDocument *doc, QSize size)
{
    QImage result(10, 10, QImage::Format_ARGB32);
    result.fill(Qt::white);
    if (!doc || !doc->currentPage)
        return result;

    const QSize canvasPixels = canvasSize(doc->currentPage->width, doc->currentPage->height);
    QImage canvas(outputSize(canvasPixels, size), QImage::Format_ARGB32);
    if (canvas.isNull())
        return result;

    CDrawMode mode;
    mode.thumbnailMode = false;
    mode.outputMode = true;
    mode.showBoundaries = true;
    mode.gridStepX = 0;
    mode.gridStepY = 0;

    const QList<int> records {record};
    int consumed = 0;
    // The running number can pass any int repeat count added to it.
    qint64 drawing = 1;
    for (QList<CREPage *> *list : qAsConst(doc->pageLists)) {
        if (!list)
            continue;
        for (CREPage *page : qAsConst(*list)) {
            if (consumed >= records.size())
                return result;
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
                canvas.fill(Qt::white);
                {
                    QPainter p(&canvas);
                    page->draw(&p, QRectF(0, 0, canvas.width(), canvas.height()), &mode, doc->style,
                               true);
                }
                result = canvas.copy();
                if (driven)
                    ++consumed;
                ++drawing;
                if (!driven || drawing >= limit || consumed >= records.size())
                    break;
            }
            if (consumed >= records.size())
                return result;
        }
    }
    return result;
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
