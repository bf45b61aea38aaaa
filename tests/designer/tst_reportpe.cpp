// Mouse moves go through the window system layer so that they carry the held
// buttons, as real drags do.
#define QTEST_QPA_MOUSE_HANDLING

#include "base/apppaths.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportpe.h"
#include "designer/style.h"
#include "designerfixture.h"
#include "style/appstyle.h"
#include "style/infodlg.h"
#include "testenvironment.h"

#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using DesignerTest::makeObject;

namespace {

int g_askCount = 0;
int g_answer = 0;

int answerBox(CInfoDlgWin::MessageKind, const QString &, const QString &, QWidget *)
{
    ++g_askCount;
    return g_answer;
}

STracker *trackersOf(CReportPE &view, CREPageItem *frame, STracker *out)
{
    frame->genTrackers(out, frame->getShapeBoundRect(), view.calcDocViewTransform(),
                       view.drawStyle());
    return out;
}

} // namespace

class TestReportPE : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void placement();
    void zoomSteps_data();
    void zoomSteps();
    void zoomSlotsAndGrid();
    void angle_data();
    void angle();
    void handleOperations_data();
    void handleOperations();
    void moveRect_data();
    void moveRect();
    void scaleRect_data();
    void scaleRect();

    void pressSelection();
    void dragMovesFrameWithSnap();
    void dragStopsAtPageEdge();
    void panContent();
    void scaleByCornerKeepsAspect();
    void scaleNeverBelowMinimum();
    void freeScaleByEdge();
    void rotateByHandle();
    void hoverCursor();
    void handleFades();

    void deleteItems();
    void deleteRenumbersBlockReferences();
    void stackingOrder();
    void addItems();
    void addBlockItem();
    void dragAndDrop();

private:
    CREPageItem *addFrame(int type, double x, double y, double w, double h);
    QPoint toView(const QPointF &pagePoint) const;

    CAppStyle *m_appStyle = nullptr;
    DesignerTest::Person *m_person = nullptr;
    CReportPE *m_view = nullptr;
};

void TestReportPE::initTestCase()
{
    m_appStyle = new CAppStyle(getImagesPath());
    m_person = new DesignerTest::Person(QString());
    CInfoDlgWin::setMessageBoxHandler(answerBox);
}

void TestReportPE::cleanupTestCase()
{
    CInfoDlgWin::setMessageBoxHandler(nullptr);
    delete m_person;
    delete m_appStyle;
}

void TestReportPE::init()
{
    g_askCount = 0;
    g_answer = 0;
    m_view = new CReportPE(&m_person->container, m_appStyle);
    m_view->resize(900, 700);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view, TestEnvironment::WaitMs));
    m_view->snapToGrid = 0;
}

void TestReportPE::cleanup()
{
    delete m_view;
    m_view = nullptr;
}

CREPageItem *TestReportPE::addFrame(int type, double x, double y, double w, double h)
{
    CREPageItem *frame = makeObject(&m_person->container, type, x, y, w, h);
    m_view->currentPage->items.append(frame);
    return frame;
}

QPoint TestReportPE::toView(const QPointF &pagePoint) const
{
    return m_view->calcDocViewTransform().map(pagePoint).toPoint();
}

// ---------------------------------------------------------------------------

void TestReportPE::placement()
{
    // The new document shows at the normal zoom, centred, scrolling in steps
    // of 8 pixels vertically because it is taller than the view.
    QCOMPARE(m_view->zoom(), 0.75);
    const int docW = qRound(840 * 0.75 + 20);
    const int docH = qRound(1188 * 0.75 + 20);
    const QWidget *vp = m_view->viewport();
    QPointF origin = m_view->calcDocViewTranslate();
    QCOMPARE(origin.x(), 10.0 + (vp->width() - docW) / 2);
    QCOMPARE(origin.y(), 10.0);
    QScrollBar *v = m_view->verticalScrollBar();
    QCOMPARE(v->maximum(), docH - vp->height());
    QCOMPARE(v->singleStep(), 8);
    QCOMPARE(v->pageStep(), vp->height() / 2);
    QCOMPARE(m_view->horizontalScrollBar()->maximum(), 0);

    v->setValue(40);
    QCOMPARE(m_view->calcDocViewTranslate().y(), 10.0 - 40);
    // Page points come from whole view pixels.
    const QPointF page = m_view->viewToPage(QPointF(origin.x() + 75.4, -30 + 150.6));
    QCOMPARE(page,
             QPointF(qRound(origin.x() + 75.4) - origin.x(), qRound(-30 + 150.6) + 30) / 0.75);

    // A wider page scrolls sideways.
    m_view->currentPage->setPageSize(QSizeF(3000, 500));
    m_view->updateView();
    QScrollBar *h = m_view->horizontalScrollBar();
    QCOMPARE(h->maximum(), qRound(3000 * 0.75 + 20) - vp->width());
    QCOMPARE(h->singleStep(), 8);
    QCOMPARE(m_view->calcDocViewTranslate().x(), 10.0);
}

void TestReportPE::zoomSteps_data()
{
    QTest::addColumn<int>("ins");
    QTest::addColumn<int>("outs");
    QTest::addColumn<double>("expected");
    QTest::newRow("ten in") << 10 << 0 << 0.75 * std::pow(1.1, 10);
    QTest::newRow("eleven in reach the limit") << 11 << 0 << 2.0;
    QTest::newRow("thirteen out") << 0 << 13 << 0.75 / std::pow(1.1, 13);
    QTest::newRow("fourteen out reach the limit") << 0 << 14 << 0.2;
    QTest::newRow("in and out") << 3 << 3 << 0.75;
}

void TestReportPE::zoomSteps()
{
    QFETCH(int, ins);
    QFETCH(int, outs);
    QFETCH(double, expected);
    double z = CReportPE::NormalZoom;
    for (int i = 0; i < ins; ++i)
        z = CReportPE::zoomedIn(z);
    for (int i = 0; i < outs; ++i)
        z = CReportPE::zoomedOut(z);
    QVERIFY(qAbs(z - expected) < 1e-9);
}

void TestReportPE::zoomSlotsAndGrid()
{
    for (int i = 0; i < 20; ++i)
        m_view->OnZoomIn();
    QCOMPARE(m_view->zoom(), 2.0);
    QCOMPARE(m_view->verticalScrollBar()->maximum(),
             qRound(1188 * 2.0 + 20) - m_view->viewport()->height());
    m_view->OnZoomNormal();
    QCOMPARE(m_view->zoom(), 0.75);
    m_view->OnZoomOut();
    QVERIFY(m_view->zoom() < 0.75);

    // Grid lines are two snap steps apart, and gone with the grid.
    QCOMPARE(m_view->gridShown, 1);
    QCOMPARE(m_view->drawMode->gridStepX, 20.0);
    QCOMPARE(m_view->drawMode->gridStepY, 20.0);
    m_view->OnGrid();
    QCOMPARE(m_view->drawMode->gridStepX, 0.0);
    QCOMPARE(m_view->drawMode->gridStepY, 0.0);

    m_view->OnSnap();
    QCOMPARE(m_view->snapToGrid, 1);
    QCOMPARE(m_view->snapPoint(QPointF(14, 16), 1), QPointF(10, 20));
    QCOMPARE(m_view->snapPoint(QPointF(14, 16), 0), QPointF(14, 16));
    m_view->OnBoundaries();
    QVERIFY(!m_view->drawMode->showBoundaries);

    // A reset of the document brings the zoom back.
    m_view->OnZoomIn();
    m_view->newReport();
    QCOMPARE(m_view->zoom(), 0.75);
}

void TestReportPE::angle_data()
{
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("above to right") << QPointF(100, 0) << QPointF(200, 100) << 270;
    QTest::newRow("right to above") << QPointF(200, 100) << QPointF(100, 0) << 90;
    QTest::newRow("half turn") << QPointF(0, 100) << QPointF(200, 100) << 180;
    QTest::newRow("no turn") << QPointF(150, 150) << QPointF(200, 200) << 0;
    QTest::newRow("press on the centre") << QPointF(100, 100) << QPointF(200, 100) << 0;
    QTest::newRow("point on the centre") << QPointF(200, 100) << QPointF(100, 100) << 0;
    QTest::newRow("just under a full turn") << QPointF(200, 100) << QPointF(200, 101) << 359;
}

void TestReportPE::angle()
{
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(int, expected);
    QPointF centre(100, 100);
    QCOMPARE(CReportPE::findAngleBetweenVectors(&centre, &a, &b), expected);
}

void TestReportPE::handleOperations_data()
{
    QTest::addColumn<int>("innerType");
    QTest::addColumn<int>("handle");
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("cursor");
    QTest::newRow("image corner") << 2 << 0 << 4 << int(Qt::SizeFDiagCursor);
    QTest::newRow("image top right") << 2 << 1 << 4 << int(Qt::SizeBDiagCursor);
    QTest::newRow("image bottom") << 2 << 6 << 4 << int(Qt::SizeVerCursor);
    QTest::newRow("image rotate") << 2 << 8 << 3 << int(Qt::OpenHandCursor);
    QTest::newRow("data field corner") << 5 << 3 << 12 << int(Qt::SizeFDiagCursor);
    QTest::newRow("placeholder edge") << 6 << 4 << 12 << int(Qt::SizeHorCursor);
    QTest::newRow("symbol rotate") << 10 << 8 << 13 << int(Qt::OpenHandCursor);
    QTest::newRow("picture list rotate") << 9 << 8 << 13 << int(Qt::OpenHandCursor);
    QTest::newRow("top strip moves") << 3 << 7 << 2 << int(Qt::SizeAllCursor);
    QTest::newRow("content handle starts nothing") << 3 << 9 << 0 << int(Qt::OpenHandCursor);
    QTest::newRow("no frame content") << 0 << 2 << 4 << int(Qt::SizeBDiagCursor);
    QTest::newRow("outside") << 3 << -1 << 0 << int(Qt::ArrowCursor);
}

void TestReportPE::handleOperations()
{
    QFETCH(int, innerType);
    QFETCH(int, handle);
    QFETCH(int, operation);
    QFETCH(int, cursor);
    CREPageItem *frame = makeObject(nullptr, innerType, 0, 0, 50, 50);
    if (innerType == 0) {
        delete frame->inner;
        frame->inner = nullptr;
    }
    QCOMPARE(CReportPE::operationForHandle(frame, handle), operation);
    QCOMPARE(int(CReportPE::cursorForHandle(handle)), cursor);
    delete frame;
}

void TestReportPE::moveRect_data()
{
    QTest::addColumn<QRectF>("start");
    QTest::addColumn<QPointF>("delta");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("plain") << QRectF(3, 4, 50, 40) << QPointF(12, 9) << false
                           << QRectF(15, 13, 50, 40);
    QTest::newRow("snapped") << QRectF(3, 4, 50, 40) << QPointF(12, 9) << true
                             << QRectF(20, 10, 50, 40);
    QTest::newRow("past the right edge")
        << QRectF(700, 100, 100, 40) << QPointF(90, 0) << false << QRectF(740, 100, 100, 40);
    QTest::newRow("past the top left")
        << QRectF(10, 10, 100, 40) << QPointF(-50, -60) << false << QRectF(0, 0, 100, 40);
    QTest::newRow("past the bottom")
        << QRectF(10, 1100, 100, 80) << QPointF(0, 30) << false << QRectF(10, 1108, 100, 80);
    QTest::newRow("unusable grid steps leave it unsnapped")
        << QRectF(3, 4, 50, 40) << QPointF(12, 9) << true << QRectF(15, 13, 50, 40);
    QTest::newRow("wider than the page")
        << QRectF(0, 0, 900, 40) << QPointF(30, 0) << false << QRectF(0, 0, 900, 40);
}

void TestReportPE::moveRect()
{
    QFETCH(QRectF, start);
    QFETCH(QPointF, delta);
    QFETCH(bool, snap);
    QFETCH(QRectF, expected);
    // Grid steps of 0 come from a damaged template; they must not snap to NaN.
    const double step = QByteArray(QTest::currentDataTag()).startsWith("unusable") ? 0 : 10;
    QCOMPARE(CReportPE::movedFrameRect(start, delta, snap, step, step, 840, 1188), expected);
}

void TestReportPE::scaleRect_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("k");
    QTest::addColumn<QPointF>("delta");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<QRectF>("expected");
    // Start rectangle (100, 100, 200, 100): aspect 2.
    QTest::newRow("keep aspect bottom right")
        << 4 << 3 << QPointF(40, 5) << false << QRectF(100, 100, 240, 120);
    QTest::newRow("keep aspect top left")
        << 4 << 0 << QPointF(40, 0) << false << QRectF(140, 120, 160, 80);
    QTest::newRow("keep aspect top right")
        << 4 << 1 << QPointF(-40, 0) << false << QRectF(100, 120, 160, 80);
    QTest::newRow("keep aspect bottom left")
        << 4 << 2 << QPointF(-20, 0) << false << QRectF(80, 100, 220, 110);
    QTest::newRow("free bottom right")
        << 12 << 3 << QPointF(40, 5) << false << QRectF(100, 100, 240, 105);
    QTest::newRow("free top left")
        << 12 << 0 << QPointF(-10, 20) << false << QRectF(90, 120, 210, 80);
    QTest::newRow("left edge") << 4 << 4 << QPointF(30, 50) << false << QRectF(130, 100, 170, 100);
    QTest::newRow("right edge") << 4 << 5 << QPointF(30, 50) << false << QRectF(100, 100, 230, 100);
    QTest::newRow("bottom edge") << 12 << 6 << QPointF(30, 50) << false
                                 << QRectF(100, 100, 200, 150);
    QTest::newRow("snapped edge") << 4 << 5 << QPointF(33, 0) << true << QRectF(100, 100, 230, 100);
    QTest::newRow("snapped free corner")
        << 12 << 3 << QPointF(36, 14) << true << QRectF(100, 100, 240, 110);
    QTest::newRow("snapped aspect corner keeps bottom")
        << 4 << 0 << QPointF(-12, 0) << true << QRectF(90, 95, 210, 105);
    QTest::newRow("whole frame handle keeps the start")
        << 4 << 7 << QPointF(30, 30) << false << QRectF(100, 100, 200, 100);
}

void TestReportPE::scaleRect()
{
    QFETCH(int, op);
    QFETCH(int, k);
    QFETCH(QPointF, delta);
    QFETCH(bool, snap);
    QFETCH(QRectF, expected);
    const QRectF r
        = CReportPE::scaledFrameRect(op, k, QRectF(100, 100, 200, 100), delta, snap, 10, 10);
    QCOMPARE(r, expected);
}

// ---------------------------------------------------------------------------
// Mouse gestures on the widget

void TestReportPE::pressSelection()
{
    CREPageItem *a = addFrame(CREPageItem::Image, 100, 100, 200, 150);
    CREPageItem *b = addFrame(CREPageItem::Image, 150, 150, 200, 150);
    QSignalSpy changed(m_view, &CReportPE::selectionChanged);
    QWidget *vp = m_view->viewport();

    // Where the two overlap the topmost wins.
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(200, 200)));
    QVERIFY(b->selected);
    QVERIFY(!a->selected);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_view->operation(), int(CReportPE::OpMoveFrame));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(200, 200)));
    QCOMPARE(m_view->operation(), 0);

    // A press on a handle of the selected item keeps the selection.
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, b, t);
    changed.clear();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier,
                      m_view->calcDocViewTransform().map(t[3].rect.center()).toPoint());
    QVERIFY(b->selected);
    QCOMPARE(m_view->operation(), int(CReportPE::OpScale));
    QCOMPARE(changed.count(), 1);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier,
                        m_view->calcDocViewTransform().map(t[3].rect.center()).toPoint());

    // Empty paper clears it, reporting twice.
    changed.clear();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(600, 900)));
    QVERIFY(!a->selected && !b->selected);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(m_view->operation(), 0);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(600, 900)));

    // The right button leaves everything alone.
    changed.clear();
    QTest::mousePress(vp, Qt::RightButton, Qt::NoModifier, toView(QPointF(120, 120)));
    QVERIFY(!a->selected);
    QCOMPARE(changed.count(), 0);
    QTest::mouseRelease(vp, Qt::RightButton, Qt::NoModifier, toView(QPointF(120, 120)));

    // Without a page a press does nothing.
    CREPage *page = m_view->currentPage;
    m_view->currentPage = nullptr;
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(120, 120)));
    QCOMPARE(m_view->operation(), 0);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(120, 120)));
    m_view->currentPage = page;
}

void TestReportPE::dragMovesFrameWithSnap()
{
    m_view->snapToGrid = 1;
    CREPageItem *frame = addFrame(CREPageItem::Image, 3, 4, 200, 100);
    QWidget *vp = m_view->viewport();
    const QPointF start(100, 50);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(start));
    // The press point is taken from whole view pixels; drag by about 12 x 9.
    const QPointF pressed = m_view->viewToPage(toView(start));
    QTest::mouseMove(vp, toView(pressed + QPointF(12, 9)));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(pressed + QPointF(12, 9)));
    QCOMPARE(frame->getShapeBoundRect(), QRectF(20, 10, 200, 100));
    QCOMPARE(m_view->operation(), 0);
}

void TestReportPE::dragStopsAtPageEdge()
{
    CREPageItem *frame = addFrame(CREPageItem::Text, 600, 300, 200, 100);
    QWidget *vp = m_view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(650, 350)));
    QTest::mouseMove(vp, toView(QPointF(750, 360)));
    QTest::mouseMove(vp, toView(QPointF(830, 370)));
    QCOMPARE(frame->getShapeBoundRect().right(), 840.0);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(830, 370)));
    QCOMPARE(m_view->operation(), 0);
    // A move without the button after a lost release only ends the gesture.
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(700, 350)));
    QVERIFY(m_view->operation() != 0);
    QMouseEvent move(QEvent::MouseMove, toView(QPointF(500, 500)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(vp, &move);
    QCOMPARE(m_view->operation(), 0);
}

void TestReportPE::panContent()
{
    CREPageItem *frame = addFrame(CREPageItem::Image, 100, 100, 200, 100);
    frame->fixedContent = false;
    frame->scale(2, 1);
    QWidget *vp = m_view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(200, 150)));
    QCOMPARE(m_view->operation(), int(CReportPE::OpPanContent));
    const QPointF pressed = m_view->viewToPage(toView(QPointF(200, 150)));
    const QPointF to = m_view->viewToPage(toView(pressed + QPointF(40, 20)));
    QTest::mouseMove(vp, toView(to));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(to));
    // The frame stays; the content moves in the frame's own units.
    QCOMPARE(frame->getShapeBoundRect(), QRectF(100, 100, 400, 100));
    const QPointF d = to - pressed;
    QCOMPARE(frame->inner->transform.dx(), d.x() / 2);
    QCOMPARE(frame->inner->transform.dy(), d.y());
}

void TestReportPE::scaleByCornerKeepsAspect()
{
    CREPageItem *frame = addFrame(CREPageItem::Image, 100, 100, 200, 100);
    frame->selected = true;
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, frame, t);
    QWidget *vp = m_view->viewport();
    const QPoint press = m_view->calcDocViewTransform().map(t[3].rect.center()).toPoint();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(m_view->operation(), int(CReportPE::OpScale));
    const QPointF p0 = m_view->viewToPage(press);
    QTest::mouseMove(vp, toView(p0 + QPointF(100, 10)));
    QRectF r = frame->getShapeBoundRect();
    QCOMPARE(r.topLeft(), QPointF(100, 100));
    QVERIFY(qAbs(r.width() / r.height() - 2.0) < 1e-6);
    QVERIFY(r.width() > 280);
    const QRectF before = r;
    // So far back that the smallest size would square it: the step is left
    // out and the frame stays as it was.
    QTest::mouseMove(vp, toView(QPointF(50, 50)));
    QCOMPARE(frame->getShapeBoundRect(), before);
    // Out to the right page edge the page keeps the aspect.
    QTest::mouseMove(vp, toView(QPointF(839, 800)));
    r = frame->getShapeBoundRect();
    QVERIFY(qAbs(r.width() / r.height() - 2.0) < 1e-6);
    QVERIFY(r.right() <= 840 + 1e-9);
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(839, 800)));
    QCOMPARE(m_view->operation(), 0);
}

void TestReportPE::scaleNeverBelowMinimum()
{
    CREPageItem *frame = addFrame(CREPageItem::DataField, 300, 300, 200, 100);
    frame->selected = true;
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, frame, t);
    QWidget *vp = m_view->viewport();
    const QPoint press = m_view->calcDocViewTransform().map(t[3].rect.center()).toPoint();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, press);
    QCOMPARE(m_view->operation(), int(CReportPE::OpFreeScale));
    QTest::mouseMove(vp, toView(QPointF(100, 100)));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(100, 100)));
    const QRectF r = frame->getShapeBoundRect();
    QCOMPARE(r.topLeft(), QPointF(300, 300));
    QCOMPARE(r.size(), QSizeF(15, 15));
}

void TestReportPE::freeScaleByEdge()
{
    CREPageItem *frame = addFrame(CREPageItem::Symbol, 300, 300, 200, 100);
    frame->selected = true;
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, frame, t);
    QWidget *vp = m_view->viewport();
    const QPoint press = m_view->calcDocViewTransform().map(t[5].rect.center()).toPoint();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, press);
    const QPointF p0 = m_view->viewToPage(press);
    const QPointF to = m_view->viewToPage(toView(p0 + QPointF(60, 30)));
    QTest::mouseMove(vp, toView(to));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(to));
    const QRectF r = frame->getShapeBoundRect();
    QCOMPARE(r.topLeft(), QPointF(300, 300));
    QVERIFY(qAbs(r.width() - (200 + to.x() - p0.x())) < 1e-6);
    QCOMPARE(r.height(), 100.0);
    // The free scale rebuilds the outline as a plain rectangle.
    QCOMPARE(frame->shape.boundingRect().size(), r.size());
}

void TestReportPE::rotateByHandle()
{
    CREPageItem *frame = addFrame(CREPageItem::Image, 200, 200, 200, 100);
    frame->selected = true;
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, frame, t);
    QWidget *vp = m_view->viewport();
    const QRectF startRect = frame->getShapeBoundRect();
    const QPointF centre = startRect.center();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier,
                      m_view->calcDocViewTransform().map(t[8].rect.center()).toPoint());
    QCOMPARE(m_view->operation(), int(CReportPE::OpRotate));
    // Turn a quarter: from straight above the centre to straight right of it
    // needs the press above the centre, so aim relative to the press point.
    const QPointF pressed
        = m_view->viewToPage(m_view->calcDocViewTransform().map(t[8].rect.center()).toPoint());
    const QPointF rel = pressed - centre;
    // Rotate the press vector a quarter turn clockwise on screen.
    const QPointF target = centre + QPointF(-rel.y(), rel.x());
    QTest::mouseMove(vp, toView(target));
    QVERIFY(qAbs(frame->angle) < 1e-9); // kept until the gesture ends
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(target));
    QVERIFY(qAbs(frame->angle - 90) <= 1);
    const QRectF r = frame->getShapeBoundRect();
    QVERIFY(qAbs(r.center().x() - centre.x()) < 1e-6);
    QVERIFY(qAbs(r.center().y() - centre.y()) < 1e-6);
    QVERIFY(qAbs(r.width() - 100) < 2);
    QVERIFY(qAbs(r.height() - 200) < 2);
}

void TestReportPE::hoverCursor()
{
    CREPageItem *frame = addFrame(CREPageItem::Image, 200, 200, 200, 100);
    QWidget *vp = m_view->viewport();
    STracker t[CReportPE::HandleCount];
    trackersOf(*m_view, frame, t);
    const QPoint corner = m_view->calcDocViewTransform().map(t[3].rect.center()).toPoint();
    // Unselected: no handles.
    QTest::mouseMove(vp, corner);
    QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
    frame->selected = true;
    QTest::mouseMove(vp, corner + QPoint(1, 0));
    QCOMPARE(vp->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(vp, m_view->calcDocViewTransform().map(t[6].rect.center()).toPoint());
    QCOMPARE(vp->cursor().shape(), Qt::SizeVerCursor);
    QTest::mouseMove(vp, toView(QPointF(700, 900)));
    QCOMPARE(vp->cursor().shape(), Qt::ArrowCursor);
}

void TestReportPE::handleFades()
{
    CREPageItem *a = addFrame(CREPageItem::Image, 100, 100, 100, 100);
    CREPageItem *b = addFrame(CREPageItem::Image, 400, 400, 100, 100);
    QWidget *vp = m_view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(150, 150)));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(150, 150)));
    QCOMPARE(m_view->fadeCount(), 1);
    // Selecting the other item fades the first out; a second fade of the same
    // item is not added.
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(450, 450)));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, toView(QPointF(450, 450)));
    QCOMPARE(m_view->fadeCount(), 2);
    QVERIFY(b->selected && !a->selected);
    // Deleting a fading item drops its fade with it.
    g_answer = 0;
    m_view->deleteSelectedItems();
    QCOMPARE(m_view->fadeCount(), 1);
    // The repaint timer runs the fades out.
    QTRY_COMPARE_WITH_TIMEOUT(m_view->fadeCount(), 0, TestEnvironment::WaitMs);
}

// ---------------------------------------------------------------------------
// Commands

void TestReportPE::deleteItems()
{
    CREPageItem *a = addFrame(CREPageItem::Image, 100, 100, 100, 100);
    addFrame(CREPageItem::Image, 300, 100, 100, 100);
    QSignalSpy changed(m_view, &CReportPE::selectionChanged);

    m_view->deleteSelectedItems();
    QCOMPARE(g_askCount, 0);
    QCOMPARE(m_view->currentPage->items.size(), 2);

    a->selected = true;
    g_answer = -1;
    m_view->deleteSelectedItems();
    QCOMPARE(g_askCount, 1);
    QCOMPARE(m_view->currentPage->items.size(), 2);
    QCOMPARE(changed.count(), 0);

    g_answer = 0;
    QTest::keyClick(m_view, Qt::Key_Delete);
    QCOMPARE(g_askCount, 2);
    QCOMPARE(m_view->currentPage->items.size(), 1);
    QCOMPARE(changed.count(), 1);

    m_view->currentPage->items.first()->selected = true;
    QTest::keyClick(m_view, Qt::Key_Backspace);
    QCOMPARE(m_view->currentPage->items.size(), 0);
}

void TestReportPE::deleteRenumbersBlockReferences()
{
    QList<CREPageItem *> refs;
    for (int i = 0; i < 3; ++i) {
        CREPageItem *frame = addFrame(CREPageItem::BlockReference, 100 + 150 * i, 100, 100, 100);
        frame->inner->order = i;
        refs.append(frame);
    }
    refs[1]->selected = true;
    g_answer = 0;
    m_view->deleteSelectedItems();
    QCOMPARE(m_view->currentPage->items.size(), 2);
    QCOMPARE(refs[0]->inner->order, 0);
    QCOMPARE(refs[2]->inner->order, 1);
}

void TestReportPE::stackingOrder()
{
    QList<CREPageItem *> items;
    for (int i = 0; i < 4; ++i)
        items.append(addFrame(CREPageItem::Image, 10 * i, 0, 50, 50));
    QList<CREPageItem *> &page = m_view->currentPage->items;
    items[0]->selected = true;
    items[2]->selected = true;
    m_view->moveToFrontSelItems();
    QCOMPARE(page, (QList<CREPageItem *> {items[1], items[3], items[0], items[2]}));
    m_view->moveToBackSelItems();
    // Each moves to the start in turn: several end up reversed.
    QCOMPARE(page, (QList<CREPageItem *> {items[2], items[0], items[1], items[3]}));
    items[0]->selected = false;
    items[2]->selected = false;
    m_view->moveToFrontSelItems();
    QCOMPARE(page, (QList<CREPageItem *> {items[2], items[0], items[1], items[3]}));
}

void TestReportPE::addItems()
{
    CREPage *page = m_view->currentPage;
    // Text near the right edge is pulled in to stay 1 unit inside.
    CREPageItem *text = m_view->addTextItem(QStringLiteral("Hello"), toView(QPointF(835, 200)));
    QVERIFY(text);
    CREPageItem *frame = text->outer;
    QCOMPARE(frame->type, int(CREPageItem::Frame));
    QVERIFY(frame->fixedContent);
    QCOMPARE(text->type, int(CREPageItem::Text));
    QCOMPARE(text->font.pointSize(), 48);
    QCOMPARE(text->color, QColor(88, 88, 88));
    QCOMPARE(frame->getShapeBoundRect().right(), 839.0);
    QCOMPARE(page->items.last(), frame);
    QCOMPARE(m_view->insertionPoint(), m_view->viewToPage(toView(QPointF(835, 200))));

    CREPageItem *field
        = m_view->addDataItem(QStringLiteral("Life Path"), toView(QPointF(40, 60)), QSize(120, 30));
    QCOMPARE(field->type, int(CREPageItem::DataField));
    QCOMPARE(field->text, QStringLiteral("Life Path"));
    QCOMPARE(field->outer->getShapeBoundRect().size(), QSizeF(120, 30));
    const QPointF at = m_view->viewToPage(toView(QPointF(40, 60)));
    QCOMPARE(field->outer->getShapeBoundRect().topLeft(), at);

    // A large picture is reduced before its item is sized to a quarter page.
    QImage big(4000, 2000, QImage::Format_ARGB32);
    big.fill(Qt::red);
    CREPageItem *picture = m_view->addImageItem(big, toView(QPointF(10, 10)));
    QVERIFY(picture);
    QCOMPARE(big.size(), QSize(1024, 512));
    QCOMPARE(picture->image.size(), QSize(1024, 512));
    QCOMPARE(picture->outer->getShapeBoundRect().size(), QSizeF(210, 105));
    QCOMPARE(picture->boundSize, QSizeF(210, 105));

    QImage none;
    const int count = page->items.size();
    QVERIFY(!m_view->addImageItem(none, toView(QPointF(10, 10))));
    QCOMPARE(page->items.size(), count);
}

void TestReportPE::addBlockItem()
{
    CREPage *small = m_view->addBlock(QSizeF(200.7, 100.2), QStringLiteral("Small"));
    CREPage *large = m_view->addBlock(QSizeF(1000, 2000), QStringLiteral("Large"));
    QVERIFY(!m_view->addBlockItem(nullptr, toView(QPointF(10, 10))));

    CREPageItem *first = m_view->addBlockItem(small, toView(QPointF(10, 10)));
    QCOMPARE(first->type, int(CREPageItem::BlockReference));
    QCOMPARE(first->order, 0);
    QCOMPARE(first->blockIndex, 0);
    QCOMPARE(first->outer->getShapeBoundRect().size(), QSizeF(200, 100));

    CREPageItem *second = m_view->addBlockItem(large, toView(QPointF(10, 10)));
    QCOMPARE(second->order, 1);
    QCOMPARE(second->blockIndex, 1);
    const QSizeF fitted = second->outer->getShapeBoundRect().size();
    QVERIFY(fitted.height() <= 1187 && fitted.width() < 840);
    QVERIFY(qAbs(fitted.width() / fitted.height() - 0.5) < 1e-6);

    // A block of another document cannot be referenced.
    CREPage foreign(&m_person->container, m_view->drawStyle());
    QVERIFY(!m_view->addBlockItem(&foreign, toView(QPointF(10, 10))));

    // Nor can a block be placed where drawing it would draw it again: on
    // itself, or on a block that it shows through a reference of its own.
    CREPage *page = m_view->currentPage;
    m_view->currentPage = large;
    QVERIFY(m_view->addBlockItem(small, toView(QPointF(10, 10))));
    QVERIFY(!m_view->addBlockItem(large, toView(QPointF(10, 10))));
    m_view->currentPage = small;
    QVERIFY(!m_view->addBlockItem(small, toView(QPointF(10, 10))));
    QVERIFY(!m_view->addBlockItem(large, toView(QPointF(10, 10))));
    QCOMPARE(small->items.size(), 0);
    m_view->currentPage = page;
}

void TestReportPE::dragAndDrop()
{
    QWidget *vp = m_view->viewport();
    QSignalSpy dropped(m_view, &CReportPE::itemDropped);

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"))});
    QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &refused);
    QVERIFY(!refused.isAccepted());

    QMimeData field;
    field.setData(QStringLiteral("application/x-qabstractitemmodeldatalist"), QByteArray("x"));
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &field, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);

    QDropEvent drop(QPointF(120.6, 80.2), Qt::CopyAction, &field, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &drop);
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.first().first().toPoint(), QPoint(121, 80));
}

QTEST_MAIN(TestReportPE)
#include "tst_reportpe.moc"
