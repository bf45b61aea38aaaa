#include "designer/iconlist.h"
#include "testenvironment.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A window holding a strip at (0, 0); the window is the drag surface.
struct Strip
{
    QWidget window;
    CIconList *list;
    QList<CILItem *> tiles;
    int data[5] = {0, 1, 2, 3, 4};

    explicit Strip(int count)
        : list(new CIconList(&window))
    {
        window.resize(400, 320);
        list->setGeometry(0, 0, 100, 300);
        for (int i = 0; i < count; ++i) {
            CILItem *tile = list->addItem(QStringLiteral("Page %1").arg(i + 1), i, nullptr);
            tile->data = &data[i];
            tiles.append(tile);
        }
        window.show();
        if (!QTest::qWaitForWindowExposed(&window, TestEnvironment::WaitMs))
            qWarning("strip window not exposed");
        list->updateList();
    }

    CILContainer *container() const { return list->containers.first(); }

    // Global position of a point in the inner widget's coordinates.
    QPoint innerToGlobal(int x, int y) const
    {
        return container()->inner->mapToGlobal(QPoint(x, y));
    }

    // Presses a tile with the cursor on its centre, as the user would.
    QPoint press(CILItem *tile)
    {
        const QPoint global = tile->mapToGlobal(QPoint(tile->width() / 2, tile->height() / 2));
        QCursor::setPos(global);
        QTest::mousePress(tile, Qt::LeftButton, Qt::NoModifier,
                          QPoint(tile->width() / 2, tile->height() / 2));
        return QCursor::pos();
    }

    void settle()
    {
        for (int i = 0; i < 40; ++i)
            for (CILItem *tile : container()->inner->findChildren<CILItem *>())
                tile->glideStep();
    }

    QList<int> order() const
    {
        QList<int> ids;
        for (CILItem *tile : container()->items)
            ids.append(tile ? tile->id : -1);
        return ids;
    }
};

} // namespace

class TestIconList : public QObject
{
    Q_OBJECT

private slots:
    void glide_data();
    void glide();
    void layout();
    void clickSelects_data();
    void clickSelects();
    void dragReorders();
    void emptySlotFollowsCursor();
    void dropOutsideGoesBack();
    void dropOnScrollBarAppends();
    void selectionByData();
    void clearDuringDrag();
};

void TestIconList::glide_data()
{
    QTest::addColumn<int>("distance");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("100 down") << 100 << QList<int> {50, 25, 13, 6, 3, 2, 1};
    QTest::newRow("100 up") << -100 << QList<int> {-50, -25, -13, -6, -3, -2, -1};
    QTest::newRow("one off") << 1 << QList<int> {1};
    QTest::newRow("on target") << 0 << QList<int> {};
}

void TestIconList::glide()
{
    QFETCH(int, distance);
    QFETCH(QList<int>, steps);
    QWidget parent;
    auto *tile = new CILItem(&parent);
    tile->killTimer(tile->timerId); // stepped by hand
    tile->timerId = 0;
    tile->move(3, 4);
    tile->targetPos = QPoint(3 + distance, 4 - distance);
    QList<int> seen;
    for (int i = 0; i < 20; ++i) {
        const QPoint before = tile->pos();
        tile->glideStep();
        if (tile->pos() == before)
            break;
        QCOMPARE(tile->pos().y() - before.y(), -(tile->pos().x() - before.x()));
        seen.append(tile->pos().x() - before.x());
    }
    QCOMPARE(seen, steps);
    QCOMPARE(tile->pos(), tile->targetPos);

    // A frozen tile stays.
    tile->targetPos = QPoint(90, 90);
    tile->frozen = true;
    tile->glideStep();
    QCOMPARE(tile->pos(), QPoint(3 + distance, 4 - distance));
}

void TestIconList::layout()
{
    Strip empty(0);
    CILContainer *c = empty.container();
    QCOMPARE(c->geometry(), QRect(4, 4, 92, 292));
    QCOMPARE(c->inner->size(), QSize(78, c->height()));
    QCOMPARE(empty.list->getSelectedItem(), nullptr);

    Strip strip(5);
    c = strip.container();
    // Five tiles and room for one more row: 384 pixels, above the view.
    QCOMPARE(c->inner->size(), QSize(78, 384));
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(strip.tiles.at(i)->targetPos, QPoint(3, 64 * i + 4));
        QCOMPARE(strip.tiles.at(i)->size(), QSize(70, 60));
        QCOMPARE(strip.tiles.at(i)->picture != nullptr, true);
    }
    // New tiles start at (0, 0) and glide into place by their own timers.
    QTRY_COMPARE_WITH_TIMEOUT(strip.tiles.at(4)->pos(), QPoint(3, 260), TestEnvironment::WaitMs);
    QCOMPARE(c->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(c->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    if (!qEnvironmentVariableIsEmpty("LUMARO_SHOTS")) {
        strip.tiles.at(1)->selected = true;
        strip.tiles.at(2)->counterText = QStringLiteral("12");
        strip.window.repaint();
        strip.window.grab().save(qEnvironmentVariable("LUMARO_SHOTS")
                                 + QStringLiteral("/iconlist.png"));
    }
}

void TestIconList::clickSelects_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::newRow("still") << QPoint(0, 0);
    QTest::newRow("10 pixels") << QPoint(6, 4);
    QTest::newRow("10 pixels up left") << QPoint(-1, -9);
}

void TestIconList::clickSelects()
{
    QFETCH(QPoint, move);
    Strip strip(3);
    QSignalSpy selected(strip.list, &CIconList::itemSelected);
    QSignalSpy dropped(strip.list, &CIconList::signalItemDrop);
    const QPoint at = strip.press(strip.tiles.at(1));
    QVERIFY(strip.list->isPressed());
    QCOMPARE(strip.list->currentItem(), strip.tiles.at(1));
    QVERIFY(!strip.tiles.at(1)->selected); // the press alone selects nothing

    strip.list->processItemsAt(&strip.window, at + move, Qt::LeftButton);
    QVERIFY(!strip.list->isDragging());
    strip.list->processItemsAt(&strip.window, at + move, Qt::NoButton);
    strip.list->processItemsAt(&strip.window, at + move, Qt::NoButton);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.first().first().value<CILItem *>(), strip.tiles.at(1));
    QVERIFY(strip.tiles.at(1)->selected);
    QVERIFY(!strip.list->isPressed());
    QCOMPARE(dropped.count(), 0);
    QCOMPARE(strip.order(), (QList<int> {0, 1, 2}));
    QCOMPARE(strip.list->getSelectedItem(), strip.tiles.at(1));
}

void TestIconList::dragReorders()
{
    Strip strip(4);
    strip.settle();
    QSignalSpy selected(strip.list, &CIconList::itemSelected);
    QSignalSpy outside(strip.list, &CIconList::itemDropped);
    QSignalSpy ended(strip.list, &CIconList::signalItemDrop);
    strip.press(strip.tiles.at(0));

    // Over the lower half of the fourth row: the slot opens at index 3 of the
    // remaining three tiles, that is at the end.
    const QPoint target = strip.innerToGlobal(30, 64 * 2 + 40);
    strip.list->processItemsAt(&strip.window, target, Qt::LeftButton);
    QVERIFY(strip.list->isDragging());
    QVERIFY(strip.list->floatingItem());
    QCOMPARE(strip.list->floatingItem()->parentWidget(), &strip.window);
    QCOMPARE(strip.list->floatingItem()->caption, QStringLiteral("Page 1"));
    QCOMPARE(strip.tiles.at(0)->pos(), QPoint(0, -100));
    QCOMPARE(strip.order(), (QList<int> {1, 2, -1, 3}));
    // The floating tile is centred on the cursor.
    const QPoint c = strip.window.mapFromGlobal(target);
    QCOMPARE(strip.list->floatingItem()->pos(), QPoint(c.x() - 35, c.y() - 30));

    strip.list->processItemsAt(&strip.window, target, Qt::NoButton);
    QVERIFY(!strip.list->isDragging());
    QVERIFY(!strip.list->floatingItem());
    QCOMPARE(strip.list->currentItem(), nullptr);
    QCOMPARE(strip.order(), (QList<int> {1, 2, 0, 3}));
    QCOMPARE(strip.tiles.at(0)->pos(), QPoint(3, 64 * 2 + 4));
    QCOMPARE(strip.tiles.at(0)->parentWidget(), strip.container()->inner);
    QVERIFY(!strip.tiles.at(0)->frozen);
    QCOMPARE(selected.count(), 0);
    QCOMPARE(outside.count(), 0);
    QCOMPARE(ended.count(), 1);
    strip.settle();
    QCOMPARE(strip.tiles.at(3)->pos(), QPoint(3, 64 * 3 + 4));
}

void TestIconList::emptySlotFollowsCursor()
{
    Strip strip(3);
    strip.settle();
    strip.press(strip.tiles.at(2));
    const QList<QPair<QPoint, QList<int>>> path = {
        {strip.innerToGlobal(30, 10), {-1, 0, 1}},
        {strip.innerToGlobal(30, 70), {0, -1, 1}},
        {strip.innerToGlobal(30, 200), {0, 1, -1}},
        {strip.window.mapToGlobal(QPoint(300, 100)), {0, 1}},
        {strip.innerToGlobal(30, 65), {0, -1, 1}},
    };
    for (const auto &step : path) {
        strip.list->processItemsAt(&strip.window, step.first, Qt::LeftButton);
        QCOMPARE(strip.order(), step.second);
        QVERIFY(strip.container()->items.count(nullptr) <= 1);
    }
    strip.settle();
    QCOMPARE(strip.tiles.at(1)->pos(), QPoint(3, 64 * 2 + 4)); // made room
    if (!qEnvironmentVariableIsEmpty("LUMARO_SHOTS"))
        strip.window.grab().save(qEnvironmentVariable("LUMARO_SHOTS")
                                 + QStringLiteral("/iconlist-drag.png"));
    // The floating tile stays inside the surface.
    strip.list->processItemsAt(&strip.window, strip.window.mapToGlobal(QPoint(-50, -50)),
                               Qt::LeftButton);
    QCOMPARE(strip.list->floatingItem()->pos(), QPoint(0, 0));
    strip.list->processItemsAt(&strip.window, strip.window.mapToGlobal(QPoint(1000, 1000)),
                               Qt::LeftButton);
    QCOMPARE(strip.list->floatingItem()->pos(), QPoint(400 - 70, 320));
}

void TestIconList::dropOutsideGoesBack()
{
    Strip strip(3);
    strip.settle();
    QSignalSpy outside(strip.list, &CIconList::itemDropped);
    QSignalSpy ended(strip.list, &CIconList::signalItemDrop);
    strip.press(strip.tiles.at(1));
    const QPoint far = strip.window.mapToGlobal(QPoint(250, 150));
    strip.list->processItemsAt(&strip.window, far, Qt::LeftButton);
    strip.list->processItemsAt(&strip.window, far, Qt::NoButton);
    QCOMPARE(strip.order(), (QList<int> {0, 1, 2}));
    QCOMPARE(outside.count(), 1);
    QCOMPARE(outside.first().at(0).value<CILItem *>(), strip.tiles.at(1));
    QCOMPARE(outside.first().at(1).toPoint(), far);
    QCOMPARE(ended.count(), 1);
    strip.settle();
    QCOMPARE(strip.tiles.at(1)->pos(), QPoint(3, 68));
}

void TestIconList::dropOnScrollBarAppends()
{
    Strip strip(3);
    strip.settle();
    QSignalSpy outside(strip.list, &CIconList::itemDropped);
    strip.press(strip.tiles.at(0));
    QScrollBar *bar = strip.container()->verticalScrollBar();
    QVERIFY(bar->isVisible());
    const QPoint onBar = bar->mapToGlobal(QPoint(bar->width() / 2, 20));
    strip.list->processItemsAt(&strip.window, onBar, Qt::LeftButton);
    QCOMPARE(strip.order(), (QList<int> {1, 2}));
    strip.list->processItemsAt(&strip.window, onBar, Qt::NoButton);
    QCOMPARE(strip.order(), (QList<int> {1, 2, 0}));
    QCOMPARE(outside.count(), 0);
    strip.settle();
    QCOMPARE(strip.tiles.at(0)->pos(), QPoint(3, 132));
}

void TestIconList::selectionByData()
{
    Strip strip(3);
    strip.list->setCurrentItemByPData(&strip.data[2], true);
    QCOMPARE(strip.list->getSelectedItem(), strip.tiles.at(2));
    QCOMPARE(strip.list->currentItem(), strip.tiles.at(2));
    strip.list->setCurrentItemByPData(&strip.data[0], false);
    QCOMPARE(strip.list->currentItem(), strip.tiles.at(0));
    QCOMPARE(strip.list->getSelectedItem(), strip.tiles.at(2)); // unchanged
    // No match after clearing leaves no current tile.
    int other = 0;
    strip.list->setCurrentItemByPData(&other, true);
    QCOMPARE(strip.list->currentItem(), nullptr);
    QCOMPARE(strip.list->getSelectedItem(), nullptr);
    strip.list->setCurrentItem(strip.tiles.at(1), true);
    QCOMPARE(strip.list->getSelectedItem(), strip.tiles.at(1));
    strip.list->clearSel();
    QCOMPARE(strip.list->getSelectedItem(), nullptr);
    QCOMPARE(strip.list->currentItem(), nullptr);
    // Nothing current: polling does nothing.
    QSignalSpy selected(strip.list, &CIconList::itemSelected);
    strip.list->processItemsAt(&strip.window, QPoint(), Qt::NoButton);
    QCOMPARE(selected.count(), 0);
}

// Clearing the strip or deleting the dragged tile mid-drag ends the drag
// instead of dropping a deleted tile.
void TestIconList::clearDuringDrag()
{
    Strip strip(3);
    strip.settle();
    QSignalSpy ended(strip.list, &CIconList::signalItemDrop);
    strip.press(strip.tiles.at(0));
    strip.list->processItemsAt(&strip.window, strip.innerToGlobal(30, 150), Qt::LeftButton);
    QVERIFY(strip.list->isDragging());
    strip.list->clear();
    QVERIFY(!strip.list->isDragging());
    QVERIFY(!strip.list->floatingItem());
    QVERIFY(strip.container()->inner->findChildren<CILItem *>().isEmpty());
    strip.list->processItemsAt(&strip.window, strip.innerToGlobal(30, 150), Qt::NoButton);

    CILItem *tile = strip.list->addItem(QStringLiteral("Again"), 7, nullptr);
    strip.list->addItem(QStringLiteral("Other"), 8, nullptr);
    strip.list->updateList();
    strip.settle();
    strip.press(tile);
    strip.list->processItemsAt(&strip.window, strip.innerToGlobal(30, 150), Qt::LeftButton);
    QVERIFY(strip.list->isDragging());
    delete tile;
    strip.list->processItemsAt(&strip.window, strip.innerToGlobal(30, 150), Qt::NoButton);
    QVERIFY(!strip.list->isDragging());
    QVERIFY(!strip.list->floatingItem());
    QCOMPARE(strip.order(), (QList<int> {8}));
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TestIconList)
#include "tst_iconlist.moc"
