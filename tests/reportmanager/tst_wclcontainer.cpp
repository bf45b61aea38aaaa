#include "managerscript.h"

#include "layouts/defaultlayout.h"
#include "layouts/layoutfile.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QBuffer>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace ManagerScript;

// The drag-and-drop section lists on their own: layout, gap, slide, drag
// payload and what a drop or a refused drop does.
class TestWclContainer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void slideSteps_data();
    void slideSteps();
    void payloadKeepsTheSection();
    void layoutAndGap_data();
    void layoutAndGap();
    void refusedDrops_data();
    void refusedDrops();
    void cancelledDragRestores();
    void templateTileStaysAfterCopy();
    void pressSelects();

private:
    CWCLItem *addTile(CWCLContainerWidget *surface, const QString &title, bool copyOnDrag = false);

    std::unique_ptr<CAppStyle> m_style;
    CWCLContainer *m_order = nullptr;
    CWCLContainer *m_available = nullptr;
};

void TestWclContainer::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(getImagesPath());
}

void TestWclContainer::init()
{
    m_order = new CWCLContainer(m_style.get(), nullptr, true);
    m_order->resize(178, 300);
    m_order->show();
    m_available = new CWCLContainer(m_style.get(), nullptr, false);
    m_available->resize(178, 300);
    m_available->show();
}

void TestWclContainer::cleanup()
{
    delete m_order;
    delete m_available;
}

CWCLItem *TestWclContainer::addTile(CWCLContainerWidget *surface, const QString &title,
                                    bool copyOnDrag)
{
    auto *tile = new CWCLItem(m_style.get(), surface);
    tile->title = title;
    tile->name = title;
    tile->copyOnDrag = copyOnDrag;
    tile->resize(surface->itemSize);
    tile->show();
    surface->itemList.append(tile);
    surface->updateContainer();
    return tile;
}

void TestWclContainer::slideSteps_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QString>("steps");

    QTest::newRow("100 down") << QPoint(6, 0) << QPoint(6, 100) << "50 25 13 6 3 2 1";
    QTest::newRow("100 up") << QPoint(6, 100) << QPoint(6, 0) << "-50 -25 -13 -6 -3 -2 -1";
    QTest::newRow("odd") << QPoint(0, 0) << QPoint(0, 7) << "4 2 1";
    QTest::newRow("in place") << QPoint(6, 4) << QPoint(6, 4) << "";
}

void TestWclContainer::slideSteps()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QString, steps);
    QStringList found;
    QPoint at = from;
    for (int guard = 0; guard < 50 && at != to; ++guard) {
        const QPoint step = slideStep(at, to);
        QCOMPARE(step.x(), 0);
        found << QString::number(step.y());
        at += step;
    }
    QCOMPARE(at, to);
    QCOMPARE(found.join(QLatin1Char(' ')), steps);
}

void TestWclContainer::payloadKeepsTheSection()
{
    QList<repItem> list;
    addItemSet(&list, RKLoveCompatibility, 8, QStringLiteral("Character"));
    repItem item = list.first();
    item.name = QStringLiteral("PM Character");
    item.headerColor = QColor(1, 2, 3);
    item.defaultStyle = false;
    item.texts[5] = QStringLiteral("<p>five</p>");
    item.images[0] = QImage(4, 4, QImage::Format_ARGB32);
    item.images[0].fill(Qt::red);
    item.useStdText[5] = false;
    item.options.insert(QStringLiteral("hide-image"), QStringLiteral("TRUE"));

    CWCLItem tile(m_style.get(), nullptr);
    tile.setSection(item);
    repItem back;
    QVERIFY(readSectionPayload(sectionPayload(tile.section()), &back));
    QCOMPARE(back.type, item.type);
    QCOMPARE(back.kind, item.kind);
    QCOMPARE(back.name, item.name);
    QCOMPARE(back.title, item.title);
    QCOMPARE(back.headerColor, item.headerColor);
    QCOMPARE(back.defaultStyle, false);
    QCOMPARE(back.texts, item.texts);
    QCOMPARE(back.images.at(0).pixel(1, 1), item.images.at(0).pixel(1, 1));
    QCOMPARE(back.useStdText, item.useStdText);
    QCOMPARE(back.options, item.options);
    // The payload is the record of a layout file, big-endian, type first.
    const QByteArray bytes = sectionPayload(item);
    QCOMPARE(bytes.left(4), QByteArray("\0\0\0\x08", 4));
    QVERIFY(!readSectionPayload(bytes.left(20), &back));

    // Byte for byte the first section record of a stored layout file.
    QFile file(TestEnvironment::dataPath(QStringLiteral("layouts/default.zqnr")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    QBuffer buffer;
    buffer.setData(stored);
    buffer.open(QIODevice::ReadOnly);
    reportSetting setting;
    QVERIFY(readReportSetting(&buffer, &setting));
    QVERIFY(!setting.items[RKNumerology].isEmpty());
    const QByteArray payload = sectionPayload(setting.items[RKNumerology].first());
    // Magic, version and the first list's count come first.
    QCOMPARE(stored.mid(12, payload.size()).toHex(), payload.toHex());
}

void TestWclContainer::layoutAndGap_data()
{
    QTest::addColumn<int>("tiles");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("gap"); // -1: none

    QTest::newRow("first row") << 3 << QPoint(10, 5) << 0;
    QTest::newRow("second row") << 3 << QPoint(10, 24) << 1;
    QTest::newRow("past the end") << 3 << QPoint(10, 250) << 3;
    QTest::newRow("empty list") << 0 << QPoint(10, 200) << 0;
    QTest::newRow("top edge") << 3 << QPoint(10, 0) << -1;
    QTest::newRow("left edge") << 3 << QPoint(0, 30) << -1;
    QTest::newRow("outside") << 3 << QPoint(500, 30) << -1;
}

void TestWclContainer::layoutAndGap()
{
    QFETCH(int, tiles);
    QFETCH(QPoint, pos);
    QFETCH(int, gap);
    CWCLContainerWidget *surface = m_order->containerWidget;
    for (int i = 0; i < tiles; ++i)
        addTile(surface, QString::number(i));
    // The surface fills the visible area and is one row taller than its entries.
    QCOMPARE(surface->width(), 158);
    QCOMPARE(surface->height(), m_order->viewport()->height());
    surface->prepareItemPlace(pos.x(), pos.y());
    surface->updateContainer();
    QCOMPARE(surface->itemList.indexOf(nullptr), gap);
    for (int i = 0; i < surface->itemList.size(); ++i) {
        if (surface->itemList.at(i))
            QCOMPARE(surface->itemList.at(i)->targetPos, QPoint(6, 24 * i + 4));
    }
    // Only one gap, wherever the drag goes next.
    surface->prepareItemPlace(10, 30);
    surface->prepareItemPlace(10, 60);
    QCOMPARE(surface->itemList.count(nullptr), 1);
}

void TestWclContainer::refusedDrops_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("fromList");

    QTest::newRow("other format") << "text/plain" << true;
    QTest::newRow("other source") << SectionMimeType << false;
}

void TestWclContainer::refusedDrops()
{
    QFETCH(QString, format);
    QFETCH(bool, fromList);
    CWCLContainerWidget *surface = m_order->containerWidget;
    addTile(surface, QStringLiteral("a"));
    QSignalSpy selections(surface, &CWCLContainerWidget::itemSel);
    QMimeData mime;
    mime.setData(format, sectionPayload(repItem()));
    QObject stranger;
    QObject *source = fromList ? static_cast<QObject *>(m_available->containerWidget) : &stranger;
    QVERIFY(!surface->acceptDrop(&mime, source, QPoint(10, 10)));
    QCOMPARE(surface->items().size(), 1);
    QCOMPARE(selections.size(), 0);

    // A real drop event from no list of this program is refused too.
    QDropEvent drop(QPointF(10, 10), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(surface->items().size(), 1);
}

void TestWclContainer::cancelledDragRestores()
{
    CWCLContainerWidget *surface = m_order->containerWidget;
    addTile(surface, QStringLiteral("a"));
    CWCLItem *b = addTile(surface, QStringLiteral("b"));
    addTile(surface, QStringLiteral("c"));
    const int index = surface->takeForDrag(b);
    QCOMPARE(index, 1);
    QVERIFY(!b->isVisibleTo(surface));
    surface->prepareItemPlace(10, 5);
    surface->finishDrag(b, index, false);
    QVERIFY(b->isVisibleTo(surface));
    QCOMPARE(surface->items().indexOf(b), 1);
    QCOMPARE(surface->itemList.size(), 3);
}

void TestWclContainer::templateTileStaysAfterCopy()
{
    CWCLContainerWidget *templates = m_available->containerWidget;
    CWCLContainerWidget *order = m_order->containerWidget;
    addTile(templates, QStringLiteral("t0"), true);
    CWCLItem *t1 = addTile(templates, QStringLiteral("t1"), true);
    QSignalSpy selections(order, &CWCLContainerWidget::itemSel);
    QVERIFY(dragTile(templates, t1, order, QPoint(10, 10)));
    QCOMPARE(templates->items().indexOf(t1), 1);
    QCOMPARE(order->items().size(), 1);
    CWCLItem *copy = order->items().first();
    QCOMPARE(copy->title, QStringLiteral("t1"));
    QVERIFY(!copy->copyOnDrag);
    QCOMPARE(selections.size(), 1);
    QCOMPARE(selections.first().first().value<void *>(), static_cast<void *>(copy));

    // A settled template keeps its place even when its target moves.
    QTRY_VERIFY_WITH_TIMEOUT(t1->settled, TestEnvironment::WaitMs);
    const QPoint settledAt = t1->pos();
    templates->prepareItemPlace(10, 5);
    templates->updateContainer();
    QTest::qWait(100);
    QCOMPARE(t1->pos(), settledAt);
}

void TestWclContainer::pressSelects()
{
    CWCLContainerWidget *surface = m_order->containerWidget;
    CWCLItem *tile = addTile(surface, QStringLiteral("a"));
    QObject::connect(tile, &CWCLItem::itemSel, surface, &CWCLContainerWidget::OnItemSel);
    QTRY_COMPARE_WITH_TIMEOUT(tile->pos(), tile->targetPos, TestEnvironment::WaitMs);
    QSignalSpy selections(surface, &CWCLContainerWidget::itemSel);
    QTest::mousePress(tile, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(selections.size(), 1);
    // The press reaches the surface underneath, ready for a drag.
    QCOMPARE(surface->pressPos, tile->mapTo(surface, QPoint(5, 5)));
}

QTEST_MAIN(TestWclContainer)
#include "tst_wclcontainer.moc"
