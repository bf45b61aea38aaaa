#include "designer/iconlist.h"
#include "designer/reportpepages.h"
#include "testenvironment.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestPageStrip : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void buttons();
    void dragHost();
    void pollingSelectsPressedTile();
};

void TestPageStrip::layout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("half");
    QTest::newRow("odd height") << QSize(200, 601) << 300;
    QTest::newRow("even height") << QSize(150, 400) << 200;
    QTest::newRow("tiny") << QSize(80, 50) << 25;
}

void TestPageStrip::layout()
{
    QFETCH(QSize, size);
    QFETCH(int, half);
    QWidget host;
    host.resize(400, 700);
    CReportPEPages panel(&host);
    panel.resize(size);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host, TestEnvironment::WaitMs));
    const int stripH = qMax(0, half - 35);
    QCOMPARE(panel.pagesList->geometry(), QRect(0, 0, size.width(), stripH));
    QCOMPARE(panel.blocksList->geometry(), QRect(0, half, size.width(), stripH));
    QCOMPARE(panel.addPageButton->geometry(), QRect(0, half - 30, 20, 20));
    QCOMPARE(panel.deletePageButton->pos(), QPoint(25, half - 30));
    QCOMPARE(panel.pagePropertiesButton->pos(), QPoint(50, half - 30));
    QCOMPARE(panel.addBlockButton->geometry(), QRect(0, 2 * half - 30, 20, 20));
    QCOMPARE(panel.deleteBlockButton->pos(), QPoint(25, 2 * half - 30));
    QCOMPARE(panel.blockPropertiesButton->pos(), QPoint(50, 2 * half - 30));
}

void TestPageStrip::buttons()
{
    CReportPEPages panel;
    const QString gear(QChar(0x2699));
    const QList<QPair<QPushButton *, QStringList>> expected = {
        {panel.addBlockButton, {QStringLiteral("+"), QStringLiteral("Add Block")}},
        {panel.deleteBlockButton, {QStringLiteral("x"), QStringLiteral("Delete Block")}},
        {panel.blockPropertiesButton, {gear, QStringLiteral("Block Properties")}},
        {panel.addPageButton, {QStringLiteral("+"), QStringLiteral("Add Pages")}},
        {panel.deletePageButton, {QStringLiteral("x"), QStringLiteral("Delete Pages")}},
        {panel.pagePropertiesButton, {gear, QStringLiteral("Pages Properties")}},
    };
    for (const auto &entry : expected) {
        QCOMPARE(entry.first->text(), entry.second.at(0));
        QCOMPARE(entry.first->toolTip(), entry.second.at(1));
        QCOMPARE(entry.first->size(), QSize(20, 20));
        QCOMPARE(entry.first->parentWidget(), &panel);
    }
    QCOMPARE(panel.pagesList->parentWidget(), &panel);
    QCOMPARE(panel.blocksList->parentWidget(), &panel);
}

void TestPageStrip::dragHost()
{
    QWidget window;
    QWidget middle(&window);
    QWidget inner(&middle);
    CReportPEPages panel(&inner);
    QCOMPARE(panel.dragHost(), &window);

    QWidget other;
    CReportPEPages given(&inner, &other);
    QCOMPARE(given.dragHost(), &other);

    // A panel without three ancestors still polls safely.
    CReportPEPages alone;
    QCOMPARE(alone.dragHost(), nullptr);
    alone.pagesList->addItem(QStringLiteral("Page 1"), 0, nullptr);
    QTest::qWait(3 * CReportPEPages::PollMs);
}

void TestPageStrip::pollingSelectsPressedTile()
{
    QWidget window;
    window.resize(400, 700);
    QWidget middle(&window);
    QWidget inner(&middle);
    CReportPEPages panel(&inner);
    panel.resize(200, 601);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window, TestEnvironment::WaitMs));
    CILItem *page = panel.pagesList->addItem(QStringLiteral("Page 1"), 0, nullptr);
    CILItem *block = panel.blocksList->addItem(QStringLiteral("Block 1"), 0, nullptr);
    QSignalSpy pages(panel.pagesList, &CIconList::itemSelected);
    QSignalSpy blocks(panel.blocksList, &CIconList::itemSelected);

    // A press and release between two polls: a click.
    QTest::mousePress(page, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(page, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTRY_COMPARE_WITH_TIMEOUT(pages.count(), 1, TestEnvironment::WaitMs);
    QCOMPARE(pages.first().first().value<CILItem *>(), page);
    QVERIFY(page->selected);
    QCOMPARE(blocks.count(), 0);

    QTest::mousePress(block, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(block, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTRY_COMPARE_WITH_TIMEOUT(blocks.count(), 1, TestEnvironment::WaitMs);
    QCOMPARE(pages.count(), 1);
}

QTEST_MAIN(TestPageStrip)
#include "tst_pagestrip.moc"
