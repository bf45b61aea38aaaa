// The designer's editing steps on a template loaded from any bytes: rotate,
// move, straighten and move back onto the page every object, then save and
// load again. What the editor makes of a loaded template must load again.

#include "lnrcontract.h"

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    LnrContract::startGui(argc, argv);
    return 0;
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
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    CReportDocument doc(&person.container, nullptr);
    const QByteArray before = save(doc);
    const CREPage *current = doc.currentPage;
    if (load(doc, bytes) != 0) {
        checkRefused(doc, before, current);
        return 0;
    }
    checkLoaded(doc);

    for (CREPage *block : qAsConst(doc.blocks))
        edit(block, size);
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
        for (CREPage *page : *list) {
            edit(page, size);
            // Setting the size again moves every object back onto the page.
            page->setPageSize(QSizeF(page->width, page->height));
        }
    }
    const QByteArray edited = save(doc);
    CReportDocument again(&person.container, nullptr);
    require(load(again, edited) == 0, "an edited template does not load again");
    checkLoaded(again);
    return 0;
}
