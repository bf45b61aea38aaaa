#include "base/apppaths.h"
#include "designer/propertieswidget.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "designerfixture.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QDir>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QtTest>

// The designer window on a real display in both layouts, with a few items
// on the page and a table selected. The pictures go to /tmp/shots-designer
// (or LUMARO_SHOTS_DIR) for a look.
class TestReportCreatorShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_style; }
    void window_data();
    void window();

private:
    CAppStyle *m_style = nullptr;
    QString m_shots;
};

void TestReportCreatorShots::initTestCase()
{
    m_style = new CAppStyle(getImagesPath());
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR", QStringLiteral("/tmp/shots-designer"));
    QDir().mkpath(m_shots);
}

void TestReportCreatorShots::window_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("scheme");
    QTest::newRow("mode1-chocolate") << 1 << 0;
    QTest::newRow("mode0-blue-sky") << 0 << 2;
}

void TestReportCreatorShots::window()
{
    QFETCH(int, mode);
    QFETCH(int, scheme);
    m_style->setGlobalStyle(scheme);
    DesignerTest::Person person;
    CReportCreatorWin win(&person.container, m_style, nullptr, mode);
    CReportCreator *c = win.creator;
    c->init();
    if (mode == 0) {
        c->OnAddPage();
        c->OnPageSelected(nullptr);
    }
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win, TestEnvironment::WaitMs));

    const auto add = [&](const QString &text, const QPointF &at) {
        for (QTreeWidgetItem *item : qAsConst(c->fieldEntries)) {
            if (item->text(0) == text)
                c->fieldTree->setCurrentItem(item);
        }
        c->OnAddField(c->editor->calcDocViewTransform().map(at).toPoint());
        return c->editor->currentPage->items.last()->inner;
    };
    add(QStringLiteral("Full Name"), QPointF(60, 60));
    add(QStringLiteral("Birthdate"), QPointF(60, 100));
    CREPageItem *table = add(QStringLiteral("Main Features"), QPointF(60, 160));
    add(QStringLiteral("Psychomatrix"), QPointF(60, 320));
    c->fieldTree->expandAll();
    c->fieldTree->setCurrentItem(c->fieldEntries.at(4));
    table->outer->selected = true;
    c->OnPageSelectionChanged();
    QTest::qWait(300);

    const QImage shot = win.grab().toImage();
    QVERIFY(
        shot.save(m_shots + QLatin1Char('/') + QTest::currentDataTag() + QStringLiteral(".png")));
    QCOMPARE(win.windowTitle(), QStringLiteral("Graphics Charts Creator"));
    QVERIFY(c->deleteButton->isEnabled());
    // Mode 1 hides the strips; the editor takes the room the side panes leave.
    QCOMPARE(c->leftPane->isVisible(), mode == 0);
    const QList<int> sizes = c->splitter->sizes();
    QCOMPARE(*std::max_element(sizes.begin(), sizes.end()),
             sizes.at(c->splitter->indexOf(c->middlePane)));
    // The page is drawn in the editor: white paper under the table's corner.
    const QPoint paper = c->editor->viewport()->mapTo(
        &win, c->editor->calcDocViewTransform().map(QPointF(30, 30)).toPoint());
    QCOMPARE(shot.pixelColor(paper * win.devicePixelRatioF()), QColor(Qt::white));
    // Both buttons stand inside the window, "Close" left of "Save".
    const QRect save(c->saveButton->mapTo(&win, QPoint()), c->saveButton->size());
    const QRect close(c->closeButton->mapTo(&win, QPoint()), c->closeButton->size());
    QVERIFY(win.rect().contains(save));
    QVERIFY(close.right() < save.left());
    c->unsaved = 0;
}

QTEST_MAIN(TestReportCreatorShots)
#include "tst_reportcreatorshots.moc"
