#include "panelfixture.h"

#include "panels/expandwidget.h"
#include "style/appstyle.h"
#include "testenvironment.h"

#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <memory>

using namespace PanelTest;

// The sliding text panel: where each toggle slides to, and the slide itself.
class TestExpandWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void slideFrom_data();
    void slideFrom();
    void clicksSlideOpenAndShut();
    void toggleDuringSlideReverses();
    void collapseAfterMovingWhileOpen();
    void schemeChangeKeepsState();

private:
    std::unique_ptr<CAppStyle> m_style;
};

void TestExpandWidget::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestExpandWidget::slideFrom_data()
{
    QTest::addColumn<QRect>("current");
    QTest::addColumn<QPoint>("anchor");
    QTest::addColumn<bool>("anchorExpanded");
    QTest::addColumn<bool>("expanding");
    QTest::addColumn<QRect>("target");

    QTest::newRow("open from the tab")
        << QRect(700, 40, 13, 98) << QPoint(700, 40) << false << true << QRect(100, 40, 613, 98);
    QTest::newRow("shut to the tab")
        << QRect(100, 40, 613, 98) << QPoint(700, 40) << false << false << QRect(700, 40, 13, 98);
    QTest::newRow("29 pixels counts as shut")
        << QRect(684, 40, 29, 98) << QPoint(700, 40) << false << true << QRect(100, 40, 613, 98);
    QTest::newRow("30 pixels counts as open")
        << QRect(683, 40, 30, 98) << QPoint(700, 40) << false << false << QRect(700, 40, 13, 98);
    QTest::newRow("open, anchored while open")
        << QRect(950, 40, 13, 98) << QPoint(350, 40) << true << true << QRect(350, 40, 613, 98);
    QTest::newRow("shut, anchored while open")
        << QRect(350, 40, 613, 98) << QPoint(350, 40) << true << false << QRect(950, 40, 13, 98);
}

void TestExpandWidget::slideFrom()
{
    QFETCH(QRect, current);
    QFETCH(QPoint, anchor);
    QFETCH(bool, anchorExpanded);
    QFETCH(bool, expanding);
    QFETCH(QRect, target);

    const CExpandWidget::Slide slide
        = CExpandWidget::slideFrom(current, anchor, anchorExpanded, 600);
    QCOMPARE(slide.expanding, expanding);
    QCOMPARE(slide.target, target);
}

void TestExpandWidget::clicksSlideOpenAndShut()
{
    QWidget page;
    page.resize(900, 300);
    auto *panel = new CExpandWidget(m_style.get(), &page, 600, 200);
    QCOMPARE(panel->size(), QSize(13, 98));
    QCOMPARE(panel->m_TextBrowser->geometry(), QRect(25, 12, 550, 78));
    QCOMPARE(panel->m_Background->geometry(), QRect(13, 0, 600, 98));
    panel->move(700, 40);
    panel->setPos(700, 40);

    panel->m_TabButton->click();
    QVERIFY(panel->m_Expanded);
    QCOMPARE(panel->m_Animation->duration(), 200);
    QCOMPARE(panel->m_Animation->endValue().toRect(), QRect(100, 40, 613, 98));
    QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(100, 40, 613, 98), TestEnvironment::WaitMs);

    panel->slotExpand();
    QVERIFY(!panel->m_Expanded);
    QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(700, 40, 13, 98), TestEnvironment::WaitMs);
}

void TestExpandWidget::toggleDuringSlideReverses()
{
    QWidget page;
    page.resize(900, 300);
    auto *panel = new CExpandWidget(m_style.get(), &page, 600, 400);
    panel->move(700, 40);
    panel->setPos(700, 40);
    panel->slotExpand();
    QTRY_VERIFY_WITH_TIMEOUT(panel->width() > 29, TestEnvironment::WaitMs);
    const QRect midway = panel->geometry();
    panel->slotExpand();
    QVERIFY(!panel->m_Expanded);
    QCOMPARE(panel->m_Animation->startValue().toRect().width(), midway.width());
    QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(700, 40, 13, 98), TestEnvironment::WaitMs);
}

void TestExpandWidget::collapseAfterMovingWhileOpen()
{
    QWidget page;
    page.resize(1200, 300);
    auto *panel = new CExpandWidget(m_style.get(), &page, 600, 50);
    panel->move(700, 40);
    panel->setPos(700, 40);
    panel->slotExpand();
    QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(100, 40, 613, 98), TestEnvironment::WaitMs);
    // The page grows: the owner moves the open panel and anchors it there.
    panel->move(300, 60);
    panel->setPos(300, 60);
    QVERIFY(panel->m_AnchorExpanded);
    panel->slotExpand();
    QTRY_COMPARE_WITH_TIMEOUT(panel->geometry(), QRect(900, 60, 13, 98), TestEnvironment::WaitMs);
}

void TestExpandWidget::schemeChangeKeepsState()
{
    QWidget page;
    auto *panel = new CExpandWidget(m_style.get(), &page, 600, 200);
    m_style->setGlobalStyle(0);
    panel->slotUpdate();
    const QString chocolate = panel->m_Background->styleSheet();
    const QImage tab = panel->m_ImageLabel->pixmap(Qt::ReturnByValue).toImage();
    QVERIFY(chocolate.contains(QStringLiteral("#352821"), Qt::CaseInsensitive));
    QVERIFY(!tab.isNull());

    m_style->setGlobalStyle(2);
    panel->slotUpdate();
    QVERIFY(panel->m_Background->styleSheet() != chocolate);
    QVERIFY(panel->m_ImageLabel->pixmap(Qt::ReturnByValue).toImage() != tab);
    QCOMPARE(panel->size(), QSize(13, 98));
    QVERIFY(!panel->m_Expanded);
    m_style->setGlobalStyle(0);
}

QTEST_MAIN(TestExpandWidget)
#include "tst_expandwidget.moc"
