// The designer's editing steps on a template loaded from any bytes.
//
// First the geometry operations alone: rotate, move, straighten and move
// back onto the page every object, then save and load again. Editing never
// makes a value that is not a number, and the reader takes the edited
// template whole or refuses it with a reason.
//
// Then the editor view as the user drives it: mouse gestures on the handles
// of each object (scale, move, rotate, pan), a thin picture stretched by an
// edge handle, a full-size picture placed or refused by the picture budget,
// a bar code text typed at full length. Whatever the editor accepts must
// pass the save check and load back equal: the designer never makes a
// template that it cannot open again.

#include "designer/managerthumbnaildlg.h"
#include "designer/reportpe.h"
#include "lnrcontract.h"
#include "style/infodlg.h"

#include <QApplication>
#include <QMouseEvent>

#include <cmath>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The editor view is a widget.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int count = *argc;
    static QApplication *app = new QApplication(count, *argv);
    Q_UNUSED(app)
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

void geometryEdits(const QByteArray &input, LnrContract::Person &person)
{
    using namespace LnrContract;
    CReportDocument doc(&person.container, nullptr);
    if (!loadChecked(doc, input))
        return;
    for (CREPage *block : qAsConst(doc.blocks))
        edit(block, size_t(input.size()));
    for (const QList<CREPage *> *list : qAsConst(doc.pageLists)) {
        for (CREPage *page : *list) {
            edit(page, size_t(input.size()));
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
}

// Every box the editor shows is answered with its first button ("Yes" to a
// delete, "Ok" to a refusal) and counted.
int boxesShown = 0;
int answerBox(CInfoDlgWin::MessageKind, const QString &, const QString &, QWidget *)
{
    ++boxesShown;
    return 0;
}

// The user's hand on the editor view.
class Hand
{
public:
    explicit Hand(CReportPE *view)
        : m_view(view)
    {
    }

    QPointF toView(const QPointF &pagePoint) const
    {
        return m_view->calcDocViewTransform().map(pagePoint);
    }

    void press(const QPointF &at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void drag(const QPointF &to) { send(QEvent::MouseMove, to, Qt::LeftButton); }
    void release(const QPointF &at) { send(QEvent::MouseButtonRelease, at, Qt::NoButton); }

    // A gesture from the middle of the frame's handle to the page point.
    void gesture(CREPageItem *frame, int handle, const QPointF &pagePoint)
    {
        m_view->currentPage->unselectAll();
        frame->selected = true;
        STracker trackers[CReportPE::HandleCount];
        frame->genTrackers(trackers, frame->getShapeBoundRect(), m_view->calcDocViewTransform(),
                           m_view->drawStyle());
        const QRectF grip = handle <= 8 ? trackers[handle].rect : frame->getShapeBoundRect();
        press(toView(grip.center()));
        const QPointF to = toView(pagePoint);
        drag((toView(grip.center()) + to) / 2);
        drag(to);
        release(to);
    }

private:
    void send(QEvent::Type type, const QPointF &at, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view->viewport(), &event);
    }

    CReportPE *m_view;
};

QImage picture(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void viewEdits(const QByteArray &input, LnrContract::Person &person)
{
    using namespace LnrContract;
    static CReportPE *view = [&person] {
        auto *v = new CReportPE(&person.container, nullptr);
        v->resize(900, 700);
        CInfoDlgWin::setMessageBoxHandler(answerBox);
        return v;
    }();
    if (!loadChecked(*view, input))
        return;

    const uint seed = qHash(input);
    Hand hand(view);
    QList<CREPage *> pages(view->blocks.begin(), view->blocks.end());
    for (const QList<CREPage *> *list : qAsConst(view->pageLists))
        pages += *list;
    int gestures = 0;
    for (CREPage *page : qAsConst(pages)) {
        view->currentPage = page;
        view->updateView();
        const QRectF sheet(0, 0, page->width, page->height);
        const QPointF targets[] = {sheet.topLeft() - QPointF(1e6, 1e6),
                                   sheet.bottomRight() + QPointF(1e6, 1e6),
                                   sheet.topRight(),
                                   sheet.bottomLeft(),
                                   sheet.center(),
                                   QPointF(sheet.width() / 3, 1),
                                   QPointF(1, sheet.height() * 0.9)};
        const QList<CREPageItem *> frames = page->items;
        for (CREPageItem *frame : frames) {
            if (frame->type != CREPageItem::Frame || ++gestures > 12)
                continue;
            const uint step = seed + uint(gestures) * 2654435761u;
            // Handles 0 to 6 scale, 7 moves, 8 rotates; beyond, a press inside
            // the frame moves it or pans its content.
            hand.gesture(frame, int(step % 10), targets[(step >> 8) % 7]);
            if (frame->inner && frame->inner->type == CREPageItem::Symbol && (step & 0x10000))
                frame->inner->text = QString(TemplateLimits::MaxSymbolText, QLatin1Char('7'));
        }
        if (page->items.size() >= TemplateLimits::MaxItems || pages.indexOf(page) > 1)
            continue;

        // A thin picture stretched across the page by an edge handle.
        QImage thin = picture(1000, 8, 0xff2060a0);
        if (CREPageItem *content = view->addImageItem(thin, hand.toView(QPointF(1, 1)).toPoint())) {
            hand.gesture(content->outer, seed & 1 ? 6 : 5, sheet.bottomRight());
        }
    }

    // Now and then a full-size picture: placed while the template has room
    // for it, else refused with a box.
    if (seed % 4 == 0) {
        view->currentPage = view->pageLists.first()->first();
        QImage full = picture(1024, 1024, 0xff406080);
        const bool room = view->roomForPicture(full) && view->roomForObject(view->currentPage);
        const int before = boxesShown;
        check(bool(view->addImageItem(full, QPoint(20, 20))) == room,
              "a picture placed beyond the template's budgets, or refused within them");
        check((boxesShown > before) == !room, "a picture refused without a word");
    }

    const QString problem = view->limitProblem();
    check(problem.isEmpty(), "the editor made a template that the reader refuses");
    const QByteArray saved = save(*view);
    CReportDocument again(&person.container, nullptr);
    check(load(again, saved) == 0, "a template the editor saved does not open");
    checkLoaded(again);
    // What the editor saved, exported at its natural size.
    const QImage exported = CManagerThumbnailDlg::slotPrintReport(0, &again, QSize());
    check(!exported.isNull()
              && qint64(exported.width()) * exported.height() <= TemplateLimits::MaxChartPixels,
          "an edited template's export picture is missing or beyond the pixel budget");
    const QByteArray resaved = save(again);
    if (resaved != saved) {
        int at = 0;
        while (at < saved.size() && at < resaved.size() && saved.at(at) == resaved.at(at))
            ++at;
        std::fprintf(stderr, "saved and reloaded templates differ from byte %d\n", at);
    }
    check(resaved == saved, "a template the editor saved opens changed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static LnrContract::Person person;
    const QByteArray input = harness::bytes(data, size);
    geometryEdits(input, person);
    viewEdits(input, person);
    return 0;
}
