// A chart template from any bytes: loaded, then rendered at a small size, as
// the Graphic Chart page would, and at its natural size, as the export does.

#include "designer/managerthumbnaildlg.h"
#include "designer/style.h"
#include "lnrcontract.h"

#include <QPainter>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t *data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    return LnrContract::mutate(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace LnrContract;
    static Person person;
    CReportDocument doc(&person.container, nullptr);
    if (!loadChecked(doc, harness::bytes(data, size)))
        return 0;

    const QImage chart = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize(64, 64));
    check(!chart.isNull(), "no picture from a loaded template");
    // The export asks for the natural size, bounded only by the pixel budget.
    const QImage exported = CManagerThumbnailDlg::slotPrintReport(0, &doc, QSize());
    check(!exported.isNull(), "no export picture from a loaded template");
    check(qint64(exported.width()) * exported.height() <= TemplateLimits::MaxChartPixels,
          "an export picture beyond the pixel budget");
    // Every page and block once more in the output pass, which the renderer
    // stops short of after the first page that takes a record.
    QImage canvas(48, 48, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    CDrawMode mode;
    mode.outputMode = true;
    for (CREPage *block : qAsConst(doc.blocks))
        block->draw(&p, QRectF(0, 0, 48, 48), &mode, doc.style, true);
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
        for (CREPage *page : *list)
            page->draw(&p, QRectF(0, 0, 48, 48), &mode, doc.style, true);
    }
    return 0;
}
