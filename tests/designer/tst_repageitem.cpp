#include "designer/style.h"
#include "designerfixture.h"

#include <QtTest>

using namespace DesignerTest;

class TestREPageItem : public QObject
{
    Q_OBJECT

private slots:
    void boundSizeZeroRule_data();
    void boundSizeZeroRule();
    void rotateKeepsAngleInRange_data();
    void rotateKeepsAngleInRange();
    void rotateFrameTurnsOutlineOnly();
    void moveFollowsPageAxes_data();
    void moveFollowsPageAxes();
    void resTransformationResetsChain();
    void hitTestingTopmostFirst_data();
    void hitTestingTopmostFirst();
    void getSelectedFramesOnly();
    void moveToPageUsesRectangleBeforeMoving_data();
    void moveToPageUsesRectangleBeforeMoving();
    void helpers_data();
    void helpers();
    void fitToRectMapsOutline();
    void fitToRectStraightens_data();
    void fitToRectStraightens();
    void fitToPageR_data();
    void fitToPageR();
    void fitToPageP_data();
    void fitToPageP();
    void trackersAtViewScale();
};

void TestREPageItem::boundSizeZeroRule_data()
{
    QTest::addColumn<QSizeF>("stored");
    QTest::addColumn<QSizeF>("expected");
    QTest::newRow("no width") << QSizeF(0, 40) << QSizeF(40, 40);
    QTest::newRow("no height") << QSizeF(5, 0) << QSizeF(5, 5);
    QTest::newRow("neither") << QSizeF(0, 0) << QSizeF(0, 0);
    QTest::newRow("both") << QSizeF(7, 3) << QSizeF(7, 3);
}

void TestREPageItem::boundSizeZeroRule()
{
    QFETCH(QSizeF, stored);
    QFETCH(QSizeF, expected);
    CREPageItem item(nullptr);
    item.setBoundSize(stored);
    QCOMPARE(item.getBoundSize(), expected);
    // The rule also mends a size written straight into the field.
    CREPageItem direct(nullptr);
    direct.boundSize = stored;
    QCOMPARE(direct.getBoundSize(), expected);
    QCOMPARE(direct.boundSize, expected);
}

void TestREPageItem::rotateKeepsAngleInRange_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("turn");
    QTest::addColumn<double>("expected");
    QTest::newRow("past a full turn") << 350.0 << 30.0 << 20.0;
    QTest::newRow("below zero") << 10.0 << -30.0 << 340.0;
    QTest::newRow("exactly 360 stays") << 300.0 << 60.0 << 360.0;
    QTest::newRow("damaged angle far out") << 1000.0 << 10.0 << 290.0;
    // A finite but huge angle is reduced at once, not a turn at a time
    // (1e17 is 280 past a whole number of turns).
    QTest::newRow("1e17") << 1e17 << 0.0 << 280.0;
    QTest::newRow("-1e17") << 0.0 << -1e17 << 80.0;
}

void TestREPageItem::rotateKeepsAngleInRange()
{
    QFETCH(double, start);
    QFETCH(double, turn);
    QFETCH(double, expected);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 0, 0, 100, 50);
    frame->angle = start;
    frame->inner->angle = start;
    frame->rotate(turn, true);
    QCOMPARE(frame->angle, expected);
    QCOMPARE(frame->inner->angle, expected);
    // Without keepAngle the stored angle does not change.
    frame->rotate(turn, false);
    QCOMPARE(frame->angle, expected);
    delete frame;
}

void TestREPageItem::rotateFrameTurnsOutlineOnly()
{
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 30, 40, 100, 50);
    const QTransform before = frame->transform;
    frame->rotate(90, true);
    QCOMPARE(frame->transform, before);
    // The 100 x 50 outline turned about its centre (50, 25) is 50 x 100 there.
    const QRectF r = frame->shape.boundingRect();
    QCOMPARE(r.center(), QPointF(50, 25));
    QVERIFY(qAbs(r.width() - 50) < 1e-9);
    QVERIFY(qAbs(r.height() - 100) < 1e-9);
    // A content item turns its transform about its own origin instead.
    CREPageItem content(nullptr);
    content.type = CREPageItem::Text;
    content.rotate(90, true);
    const QPointF mapped = content.transform.map(QPointF(10, 0));
    QVERIFY(qAbs(mapped.x()) < 1e-9 && qAbs(mapped.y() - 10) < 1e-9);
    delete frame;
}

void TestREPageItem::moveFollowsPageAxes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("shear");
    QTest::newRow("frame, plain") << 1 << 0.0 << 1.0 << 0.0;
    QTest::newRow("frame, scaled") << 1 << 0.0 << 2.5 << 0.0;
    QTest::newRow("frame, mirrored") << 1 << 0.0 << -2.0 << 0.0;
    QTest::newRow("content, rotated 30") << 3 << 30.0 << 1.0 << 0.0;
    QTest::newRow("content, rotated 90") << 3 << 90.0 << 1.0 << 0.0;
    QTest::newRow("content, rotated 200 and scaled") << 3 << 200.0 << 2.0 << 0.0;
    // From a template file: a shear over a vanishing scale, which a step
    // divided by the scale would send to infinity.
    QTest::newRow("frame, sheared, vanishing scale") << 1 << 0.0 << 1e-300 << 100.0;
    QTest::newRow("content, sheared, rotated 45") << 3 << 45.0 << 0.5 << -3.0;
}

void TestREPageItem::moveFollowsPageAxes()
{
    QFETCH(int, type);
    QFETCH(double, angle);
    QFETCH(double, scale);
    QFETCH(double, shear);
    CREPageItem item(nullptr);
    item.type = type;
    item.translate(40, 60);
    item.scale(scale, scale);
    item.transform.shear(shear, 0);
    if (angle != 0)
        item.rotate(angle, true);
    const QPointF origin = item.transform.map(QPointF(0, 0));
    item.move(10, 0);
    QPointF moved = item.transform.map(QPointF(0, 0));
    QVERIFY2(qAbs(moved.x() - origin.x() - 10) < 1e-6 && qAbs(moved.y() - origin.y()) < 1e-6,
             qPrintable(QStringLiteral("moved to %1, %2").arg(moved.x()).arg(moved.y())));
    item.move(0, -7);
    moved = item.transform.map(QPointF(0, 0));
    QVERIFY(qAbs(moved.x() - origin.x() - 10) < 1e-6 && qAbs(moved.y() - origin.y() + 7) < 1e-6);
}

void TestREPageItem::resTransformationResetsChain()
{
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 30, 40, 100, 50);
    frame->rotate(45, true);
    frame->inner->rotate(45, true);
    frame->inner->translate(5, 5);
    frame->resTransformation();
    QVERIFY(frame->transform.isIdentity());
    QVERIFY(frame->inner->transform.isIdentity());
    QCOMPARE(frame->angle, 0.0);
    QCOMPARE(frame->inner->angle, 0.0);
    delete frame;
}

void TestREPageItem::hitTestingTopmostFirst_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QList<int>>("expected"); // indexes into the page's list, topmost first
    QTest::newRow("overlap") << QPointF(60, 60) << QList<int> {1, 0};
    QTest::newRow("first only") << QPointF(20, 20) << QList<int> {0};
    QTest::newRow("second only") << QPointF(120, 100) << QList<int> {1};
    QTest::newRow("scaled third") << QPointF(390, 390) << QList<int> {2};
    QTest::newRow("nothing") << QPointF(300, 20) << QList<int> {};
}

void TestREPageItem::hitTestingTopmostFirst()
{
    QFETCH(QPointF, point);
    QFETCH(QList<int>, expected);
    CREPage page(nullptr, nullptr);
    page.items << makeObject(nullptr, CREPageItem::Image, 10, 10, 100, 100)
               << makeObject(nullptr, CREPageItem::Image, 50, 50, 100, 100);
    // Only the transformed outline counts: 10 x 10 scaled by 10 from (300, 300).
    CREPageItem *scaled = makeObject(nullptr, CREPageItem::Image, 300, 300, 10, 10);
    scaled->scale(10, 10);
    page.items << scaled;
    // A content item that would contain the point is never returned itself.
    page.items.first()->inner->transform.translate(-1000, -1000);

    QList<CREPageItem *> found;
    QCOMPARE(page.getObjectsList(point, found), !expected.isEmpty());
    QList<int> indexes;
    for (CREPageItem *item : found)
        indexes << page.items.indexOf(item);
    QCOMPARE(indexes, expected);
    QList<CREPageItem *> again;
    page.getObjectsList(point.x(), point.y(), again);
    QCOMPARE(again, found);
}

void TestREPageItem::getSelectedFramesOnly()
{
    CREPage page(nullptr, nullptr);
    page.items << makeObject(nullptr, CREPageItem::Image, 0, 0, 10, 10)
               << makeObject(nullptr, CREPageItem::Image, 0, 0, 10, 10)
               << makeObject(nullptr, CREPageItem::Image, 0, 0, 10, 10);
    page.items.at(2)->selected = true;
    page.items.at(0)->selected = true;
    page.items.at(1)->inner->selected = true;
    QList<CREPageItem *> out {page.items.at(1)};
    page.getSelected(out, false);
    QCOMPARE(out, (QList<CREPageItem *> {page.items.at(0), page.items.at(2)}));
    page.getSelected(out, true);
    QCOMPARE(out, page.items);
    page.unselectAll();
    page.getSelected(out, false);
    QVERIFY(out.isEmpty());
}

void TestREPageItem::moveToPageUsesRectangleBeforeMoving_data()
{
    QTest::addColumn<QRectF>("start");
    QTest::addColumn<QPointF>("expectedTopLeft");
    // The page is 100 x 80.
    QTest::newRow("inside") << QRectF(10, 10, 20, 20) << QPointF(10, 10);
    QTest::newRow("left overhang") << QRectF(-5, 10, 20, 20) << QPointF(0, 10);
    QTest::newRow("right overhang") << QRectF(90, 10, 20, 20) << QPointF(80, 10);
    QTest::newRow("bottom overhang") << QRectF(10, 70, 20, 20) << QPointF(10, 60);
    QTest::newRow("top and left") << QRectF(-3, -4, 20, 20) << QPointF(0, 0);
    // Wider than the page: both corrections from the same rectangle, -5 then 3 back.
    QTest::newRow("both sides") << QRectF(-5, 10, 108, 20) << QPointF(-3, 10);
}

void TestREPageItem::moveToPageUsesRectangleBeforeMoving()
{
    QFETCH(QRectF, start);
    QFETCH(QPointF, expectedTopLeft);
    CREPage page(nullptr, nullptr);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, start.x(), start.y(),
                                    start.width(), start.height());
    page.items << frame;
    page.setPageSize(QSizeF(100, 80));
    QCOMPARE(page.width, 100.0);
    QCOMPARE(frame->getBoundRect().topLeft(), expectedTopLeft);
}

void TestREPageItem::helpers_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("boxW");
    QTest::addColumn<int>("boxH");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("offX");
    QTest::addColumn<int>("offY");
    QTest::newRow("wide into square") << 600 << 300 << 256 << 256 << 256.0 / 600 << 0 << 64;
    QTest::newRow("tall into square") << 100 << 400 << 200 << 200 << 0.5 << 75 << 0;
    QTest::newRow("exact") << 50 << 50 << 100 << 100 << 2.0 << 0 << 0;
    QTest::newRow("empty rectangle") << 0 << 50 << 100 << 100 << 0.0 << 0 << 0;
}

void TestREPageItem::helpers()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, boxW);
    QFETCH(int, boxH);
    QFETCH(double, scale);
    QFETCH(int, offX);
    QFETCH(int, offY);
    int x = -1;
    int y = -1;
    QCOMPARE(calcFitScale(w, h, boxW, boxH, x, y), scale);
    QCOMPARE(x, offX);
    QCOMPARE(y, offY);

    QCOMPARE(cround(0.123456, 5), 0.12346);
    QCOMPARE(cround(2.5, 0), 3.0);
    QCOMPARE(cround(1234.0, -2), 1200.0);
}

void TestREPageItem::fitToRectMapsOutline()
{
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Image, 30, 40, 100, 50);
    frame->fitToRect(QRectF(10, 20, 200, 25), false);
    QCOMPARE(frame->getShapeBoundRect(), QRectF(10, 20, 200, 25));
    // Content items are left alone.
    const QTransform before = frame->inner->transform;
    frame->inner->fitToRect(QRectF(0, 0, 5, 5), false);
    QCOMPARE(frame->inner->transform, before);
    delete frame;
}

void TestREPageItem::fitToRectStraightens_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("snapped");
    QTest::addColumn<QSizeF>("outline");
    QTest::newRow("10 to 0") << 10.0 << 0.0 << QSizeF(80, 30);
    QTest::newRow("100 to 90") << 100.0 << 90.0 << QSizeF(30, 80);
    QTest::newRow("200 to 180") << 200.0 << 180.0 << QSizeF(80, 30);
    QTest::newRow("260 to 270") << 260.0 << 270.0 << QSizeF(30, 80);
    QTest::newRow("330 to 0") << 330.0 << 0.0 << QSizeF(80, 30);
}

void TestREPageItem::fitToRectStraightens()
{
    QFETCH(double, angle);
    QFETCH(double, snapped);
    QFETCH(QSizeF, outline);
    CREPageItem *frame = makeObject(nullptr, CREPageItem::Text, 0, 0, 50, 50);
    frame->angle = angle;
    frame->fitToRect(QRectF(5, 6, 80, 30), true);
    QCOMPARE(frame->angle, snapped);
    QCOMPARE(frame->inner->angle, snapped);
    QCOMPARE(frame->boundSize, outline);
    QCOMPARE(frame->inner->boundSize, outline);
    QCOMPARE(frame->transform, QTransform::fromTranslate(5, 6));
    // Turned about its centre, the outline covers 80 x 30 on the page.
    const QRectF r = frame->getShapeBoundRect();
    QVERIFY(qAbs(r.width() - 80) < 1e-9 && qAbs(r.height() - 30) < 1e-9);
    // The content turns with it about the same centre.
    const QPointF c = frame->shape.boundingRect().center();
    QVERIFY(QLineF(frame->inner->transform.map(c), c).length() < 1e-9);
    delete frame;
}

void TestREPageItem::fitToPageR_data()
{
    QTest::addColumn<QRectF>("r");
    QTest::addColumn<int>("k");
    QTest::addColumn<double>("a");
    QTest::addColumn<QRectF>("expected");
    // The page is 200 x 100.
    QTest::newRow("inside") << QRectF(10, 10, 50, 20) << 3 << 0.0 << QRectF(10, 10, 50, 20);
    QTest::newRow("too narrow, right handle")
        << QRectF(10, 10, 5, 20) << 5 << 0.0 << QRectF(10, 10, 15, 20);
    QTest::newRow("too narrow, left handle")
        << QRectF(10, 10, 5, 20) << 4 << 0.0 << QRectF(0, 10, 15, 20);
    QTest::newRow("too low, top handle")
        << QRectF(10, 30, 20, 5) << 0 << 1.0 << QRectF(10, 20, 20, 15);
    QTest::newRow("too low, bottom handle")
        << QRectF(10, 30, 20, 5) << 6 << 1.0 << QRectF(10, 30, 20, 15);
    QTest::newRow("left overhang keeps aspect")
        << QRectF(-20, 10, 80, 40) << 2 << 0.0 << QRectF(0, 10, 60, 30);
    QTest::newRow("left overhang, top-left handle")
        << QRectF(-20, 10, 80, 40) << 0 << 0.0 << QRectF(0, 20, 60, 30);
    QTest::newRow("right overhang, top-right handle")
        << QRectF(160, 10, 80, 40) << 1 << 0.0 << QRectF(160, 30, 40, 20);
    QTest::newRow("bottom overhang, bottom-right handle")
        << QRectF(10, 70, 80, 40) << 3 << 0.0 << QRectF(10, 70, 60, 30);
    QTest::newRow("bottom overhang, bottom-left handle")
        << QRectF(10, 70, 80, 40) << 2 << 0.0 << QRectF(30, 70, 60, 30);
    QTest::newRow("free scale keeps the other side")
        << QRectF(-20, 10, 80, 40) << 4 << 1e9 << QRectF(0, 10, 60, 40);
}

void TestREPageItem::fitToPageR()
{
    QFETCH(QRectF, r);
    QFETCH(int, k);
    QFETCH(double, a);
    QFETCH(QRectF, expected);
    const QRectF fitted = CREPageItem::fitToPageR(r, k, 200, 100, a);
    QVERIFY2(qAbs(fitted.x() - expected.x()) < 1e-6 && qAbs(fitted.y() - expected.y()) < 1e-6
                 && qAbs(fitted.width() - expected.width()) < 1e-6
                 && qAbs(fitted.height() - expected.height()) < 1e-6,
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                            .arg(fitted.x())
                            .arg(fitted.y())
                            .arg(fitted.width())
                            .arg(fitted.height())));
}

void TestREPageItem::fitToPageP_data()
{
    QTest::addColumn<QRectF>("r");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("inside") << QRectF(10, 10, 50, 20) << QRectF(10, 10, 50, 20);
    QTest::newRow("left and top") << QRectF(-5, -7, 50, 20) << QRectF(0, 0, 50, 20);
    QTest::newRow("right and bottom") << QRectF(180, 90, 50, 20) << QRectF(150, 80, 50, 20);
}

void TestREPageItem::fitToPageP()
{
    QFETCH(QRectF, r);
    QFETCH(QRectF, expected);
    QCOMPARE(CREPageItem::fitToPageP(r, 200, 100), expected);
}

void TestREPageItem::trackersAtViewScale()
{
    CStyle style;
    style.images[CStyle::ScaleItem] = QImage(10, 12, QImage::Format_ARGB32);
    style.images[CStyle::ScaleResItem] = QImage(14, 8, QImage::Format_ARGB32);
    CREPageItem frame(nullptr);
    frame.type = CREPageItem::Frame;
    STracker t[11];
    // At zoom 2 a pixel is half a page unit; the outline is (98, 49, 101.5, 51.5).
    const QTransform view = QTransform::fromScale(2, 2);
    frame.genTrackers(t, QRectF(99, 50, 100, 50), view, &style);
    QCOMPARE(t[0].rect, QRectF(94, 45, 8, 8));
    QCOMPARE(t[3].rect, QRectF(195.5, 96.5, 8, 8));
    QCOMPARE(t[4].rect, QRectF(94, 70.75, 8, 8));
    QCOMPARE(t[6].rect, QRectF(144.75, 96.5, 8, 8));
    QCOMPARE(t[7].rect, QRectF(102, 49, 93.5, 12));
    QCOMPARE(t[8].rect, QRectF(201, 93, 7.5, 7.5));
    QCOMPARE(t[9].rect.center(), QPointF(148.75 + 25.375, 74.75));
    QCOMPARE(t[9].rect.size(), QSizeF(5, 6));
    QCOMPARE(t[10].rect.size(), QSizeF(7, 4));
    // A frame only a few pixels wide on screen has no content handles.
    frame.genTrackers(t, QRectF(0, 0, 10, 10), QTransform(), &style);
    QVERIFY(t[9].rect.isNull() && t[10].rect.isNull());
    QVERIFY(!t[8].rect.isNull());
}

QTEST_GUILESS_MAIN(TestREPageItem)
#include "tst_repageitem.moc"
