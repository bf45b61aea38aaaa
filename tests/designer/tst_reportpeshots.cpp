#include "base/apppaths.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/reportpe.h"
#include "designer/style.h"
#include "designerfixture.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QDir>
#include <QtTest>

// The editor view on a real display: a sample page grabbed to
// /tmp/shots-editor for a look, with the pixel facts a look would check.
class TestReportPEShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_appStyle; }
    void samplePage_data();
    void samplePage();

private:
    CAppStyle *m_appStyle = nullptr;
};

void TestReportPEShots::initTestCase()
{
    m_appStyle = new CAppStyle(getImagesPath());
    QDir().mkpath(QStringLiteral("/tmp/shots-editor"));
}

void TestReportPEShots::samplePage_data()
{
    QTest::addColumn<int>("scheme");
    QTest::addColumn<int>("zoomIns");
    QTest::newRow("chocolate") << 0 << 0;
    QTest::newRow("scheme-3-zoomed") << 3 << 4;
}

void TestReportPEShots::samplePage()
{
    QFETCH(int, scheme);
    QFETCH(int, zoomIns);
    m_appStyle->setGlobalStyle(scheme);
    DesignerTest::Person person;
    CReportPE view(&person.container, m_appStyle);
    m_appStyle->setWidgetStyle(&view, WTEditorView);
    view.resize(900, 760);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view, TestEnvironment::WaitMs));

    CREPageItem *title
        = view.addTextItem(QStringLiteral("Numbers of John"),
                           view.calcDocViewTransform().map(QPointF(60, 40)).toPoint());
    QVERIFY(title);
    CREPageItem *table
        = DesignerTest::makeObject(&person.container, CREPageItem::InfoTable, 60, 200, 398, 204);
    table->inner->key = QStringLiteral("Main Features");
    table->inner->scale(2, 2);
    view.currentPage->items.append(table);
    QImage picture(300, 200, QImage::Format_ARGB32);
    picture.fill(QColor(70, 130, 180));
    CREPageItem *image
        = view.addImageItem(picture, view.calcDocViewTransform().map(QPointF(520, 220)).toPoint());
    QVERIFY(image);
    image->outer->selected = true;
    view.addDataItem(QStringLiteral("Life Path"),
                     view.calcDocViewTransform().map(QPointF(60, 480)).toPoint(), QSize(220, 60));
    for (int i = 0; i < zoomIns; ++i)
        view.OnZoomIn();

    // Let the handle fades run out so that the handles show at full strength.
    QTest::qWait(300);
    const QImage shot = view.grab().toImage();
    const QString file = QStringLiteral("/tmp/shots-editor/%1.png").arg(QTest::currentDataTag());
    QVERIFY(shot.save(file));

    // Backdrop beside the page in the scheme's tint, the paper white.
    const QColor backdrop = m_appStyle->updateColor(QColor(44, 36, 32));
    const QPoint origin = view.calcDocViewTranslate().toPoint();
    const QPoint vp = view.viewport()->pos();
    if (origin.x() > 20)
        QCOMPARE(shot.pixelColor(vp + QPoint(2, 300)).rgb(), backdrop.rgb());
    const QPoint paper = vp + view.calcDocViewTransform().map(QPointF(15, 15)).toPoint();
    QCOMPARE(shot.pixelColor(paper), QColor(Qt::white));
    // The picture item is drawn.
    const QPoint inImage = vp
        + view.calcDocViewTransform().map(image->outer->getShapeBoundRect().center()).toPoint();
    QCOMPARE(shot.pixelColor(inImage), QColor(70, 130, 180));
}

QTEST_MAIN(TestReportPEShots)
#include "tst_reportpeshots.moc"
