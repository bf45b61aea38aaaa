// The designer's editing steps on a template loaded from any bytes: rotate,
// move, straighten and move back onto the page every object, then save and
// load again. Editing never makes a value that is not a number, and the
// reader takes the edited template whole or refuses it with a reason.

#include "lnrcontract.h"

#include <cmath>
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

namespace {

// The rotation handle's step: the frame turns about its centre, which then
// stays where it was.
void rotateAboutCentre(CREPageItem *frame, double degrees)
{
    const QPointF centre = frame->getShapeBoundRect().center();
    frame->rotate(degrees, true);
    const QPointF moved = frame->getShapeBoundRect().center();
    frame->move(centre.x() - moved.x(), centre.y() - moved.y());
}

void requireFinite(const CREPageItem *frame)
{
    const QTransform &t = frame->transform;
    const QRectF outline = frame->shape.boundingRect();
    for (const double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy(), frame->angle,
                           frame->boundSize.width(), frame->boundSize.height(), outline.x(),
                           outline.y(), outline.width(), outline.height()})
        LnrContract::check(std::isfinite(v), "editing made a value that is not a number");
}

void edit(CREPage *page, size_t seed)
{
    const double turns[] = {37, -90, 1e300, -1e300, 359.5};
    int n = 0;
    for (CREPageItem *frame : qAsConst(page->items)) {
        if (frame->type != CREPageItem::Frame)
            continue;
        rotateAboutCentre(frame, turns[(seed + n) % 5]);
        frame->move(double(seed % 97) - 48, double(n % 13) - 6);
        frame->fitToRect(frame->getShapeBoundRect(), true);
        page->moveToPage(frame);
        ++n;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace LnrContract;
    static Person person;
    CReportDocument doc(&person.container, nullptr);
    if (!loadChecked(doc, harness::bytes(data, size)))
        return 0;

    for (CREPage *block : qAsConst(doc.blocks))
        edit(block, size);
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
        for (CREPage *page : *list) {
            edit(page, size);
            // Setting the size again moves every object back onto the page.
            page->setPageSize(QSizeF(page->width, page->height));
        }
    }
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
        for (const CREPage *page : *list) {
            for (const CREPageItem *frame : page->items)
                requireFinite(frame);
        }
    }
    const QByteArray edited = save(doc);
    CReportDocument again(&person.container, nullptr);
    const QByteArray fresh = save(again);
    const CREPage *first = again.currentPage;
    if (load(again, edited) == 0)
        checkLoaded(again);
    else
        checkRefused(again, fresh, first);
    return 0;
}
