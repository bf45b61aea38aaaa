#include "panelfixture.h"

#include "engine/globsettings.h"
#include "panels/expandwidget.h"
#include "style/appstyle.h"

#include "shotsupport.h"
#include "testenvironment.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <functional>
#include <memory>

using namespace PanelTest;

// Every panel filled with a calculated person and shown on a real display
// in two colour schemes: the header pictures, the re-tinted table and the
// hover highlight must reach the screen. With LUMARO_SHOTS_DIR set the
// pictures are kept there for a look.
class TestPanelShots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void panels_data();
    void panels();

private:
    QImage shoot(QWidget *panel, const QString &name, const std::function<void()> &pointer = {});
    void checkTable(const QImage &shot, const QImage &header, const QPoint &bare);

    QString m_shots;
    QString m_scheme;
    CAppStyle *m_style = nullptr;
    Person m_person;
    Person m_partner;
};

void TestPanelShots::initTestCase()
{
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_shots.isEmpty())
        QDir().mkpath(m_shots);
    QVERIFY(QFile::exists(skinFolder() + QStringLiteral("tbar.png")));
    QVERIFY(m_person.calculate(QStringLiteral("John Michael Smith"), QStringLiteral("John Smith"),
                               QDate(1985, 12, 29), QDate(2026, 12, 9)));
    QVERIFY(m_partner.calculate(QStringLiteral("Mary Ann Brown"), QStringLiteral("Mary Brown"),
                                QDate(1987, 3, 15), QDate(2026, 12, 9)));
}

void TestPanelShots::cleanup()
{
    resetGlobSettings();
}

// The pointer state a shot needs is set (by pointer) only after the last
// wait, right before the synchronous grab (see clearPointer).
QImage TestPanelShots::shoot(QWidget *panel, const QString &name,
                             const std::function<void()> &pointer)
{
    panel->show();
    if (!QTest::qWaitForWindowExposed(panel, TestEnvironment::WaitMs))
        qWarning("window not exposed: %s", qPrintable(name));
    QTest::qWait(30);
    clearPointer(panel);
    if (pointer)
        pointer();
    const QImage image = panel->grab().toImage();
    if (!m_shots.isEmpty())
        image.save(m_shots + QLatin1Char('/') + name + QLatin1Char('-') + m_scheme
                   + QStringLiteral(".png"));
    return image;
}

// The header picture drawn as it is, the table below it in the scheme's colour.
void TestPanelShots::checkTable(const QImage &shot, const QImage &header, const QPoint &bare)
{
    QVERIFY(!header.isNull());
    QCOMPARE(shot.pixelColor(header.width() / 2, 3), header.pixelColor(header.width() / 2, 3));
    QVERIFY(near(shot.pixelColor(bare), m_style->updateColor(InfoPanel::backgroundColor())));
}

void TestPanelShots::panels_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("chocolate") << 0;
    QTest::newRow("blue-sky") << 2;
}

void TestPanelShots::panels()
{
    QFETCH(int, scheme);
    CAppStyle style(skinFolder());
    style.setGlobalStyle(scheme);
    m_style = &style;
    m_scheme = QString::fromLatin1(QTest::currentDataTag());
    if (scheme != 0)
        QVERIFY(style.updateColor(InfoPanel::backgroundColor()) != InfoPanel::backgroundColor());

    const QImage bar = skinImage("tbar.png");
    const QImage wideBar = skinImage("tbar2.png");

    // Core numbers, with the pointer over "Expression (M)".
    CInfoWidget mainFeatures(&style, bar);
    mainFeatures.m_TitleLabel->setText(QStringLiteral("Main Features"));
    mainFeatures.m_HoverEnabled = true;
    m_person.fillMainFeatures(&mainFeatures);
    mainFeatures.resize(200, 30 + InfoPanel::tableHeight(6));
    const int hoverTop = InfoPanel::rowTop(30, 2);
    const QPoint overRow(150, hoverTop + 5);
    QImage shot = shoot(&mainFeatures, QStringLiteral("main-features"), [&] {
        enter(&mainFeatures, overRow);
        moveTo(&mainFeatures, overRow);
    });
    checkTable(shot, bar, QPoint(190, InfoPanel::rowTop(30, 4) + 8));
    QVERIFY(near(shot.pixelColor(195, hoverTop + 8), style.updateColor(InfoPanel::hoverColor())));

    CInfoWidget additional(&style, bar);
    additional.m_TitleLabel->setText(QStringLiteral("Additional Features"));
    m_person.fillAdditionalFeatures(&additional);
    additional.resize(200, 30 + InfoPanel::tableHeight(6));
    checkTable(shoot(&additional, QStringLiteral("additional-features")), bar, QPoint(195, 40));

    CInfoWidget cycles(&style, bar);
    cycles.m_TitleLabel->setText(QStringLiteral("Life Cycles"));
    m_person.fillLifeCycles(&cycles);
    cycles.resize(200, 30 + InfoPanel::tableHeight(6));
    checkTable(shoot(&cycles, QStringLiteral("life-cycles")), bar, QPoint(195, 40));

    CInfoWidget bridges(&style, bar);
    bridges.m_TitleLabel->setText(QStringLiteral("Bridges"));
    m_person.fillBridges(&bridges);
    bridges.resize(200, 30 + InfoPanel::tableHeight(2));
    checkTable(shoot(&bridges, QStringLiteral("bridges")), bar, QPoint(195, 40));

    // Both names, editable, with the marker over the M of MICHAEL.
    CInfoNameWidget names(&style, wideBar);
    names.m_TitleLabel->setText(QStringLiteral("Name calculation"));
    names.m_Editable = true;
    m_person.fillNames(&names);
    names.resize(600, 30 + InfoPanel::tableHeight(6));
    shot = shoot(&names, QStringLiteral("name-calculation"),
                 [&] { moveTo(&names, QPoint(3 + 9 * 5 + 4, 50)); });
    QVERIFY(!names.m_ColumnMarker->isHidden());
    checkTable(shot, wideBar, QPoint(590, 40));

    // Master letters kept as 11 and 22.
    m_GlobSettings[GSReduceMasterLetters] = 0;
    Person viktor;
    QVERIFY(viktor.calculate(QStringLiteral("Viktor Kovalev"), QStringLiteral("Viktor"),
                             QDate(1990, 3, 25), QDate(2026, 12, 9)));
    CInfoNameWidget masters(&style, wideBar);
    masters.m_TitleLabel->setText(QStringLiteral("Name calculation"));
    viktor.fillNames(&masters);
    masters.resize(600, 30 + InfoPanel::tableHeight(6));
    shot = shoot(&masters, QStringLiteral("name-masters"));
    QVERIFY(reddishPixels(shot, QRect(0, 30, 600, 100)) > 20);

    CInfoExprPlanWidget planes(&style, wideBar);
    planes.m_TitleLabel->setText(QStringLiteral("Planes of Expression"));
    m_person.fillPlanes(&planes);
    planes.resize(600, 30 + InfoPanel::tableHeight(4));
    checkTable(shoot(&planes, QStringLiteral("planes")), wideBar, QPoint(590, 40));

    CInfoEssenceWidget essence(&style, wideBar);
    essence.m_TitleLabel->setText(QStringLiteral("Essence and Transit"));
    m_person.fillEssence(&essence);
    essence.resize(600, 30 + InfoPanel::tableHeight(7));
    shot = shoot(&essence, QStringLiteral("essence"));
    QCOMPARE(shot.pixelColor(300, 3), wideBar.pixelColor(300, 3));
    essence.m_AgeButton->click();
    essence.m_AgeButton->click();
    shoot(&essence, QStringLiteral("essence-late"));

    CInfoCalendarWidget calendar(&style, wideBar);
    calendar.m_TitleLabel->setText(QStringLiteral("Personal numbers calendar"));
    m_person.fillCalendar(&calendar);
    calendar.resize(600, 30 + InfoPanel::tableHeight(3));
    checkTable(shoot(&calendar, QStringLiteral("calendar")), wideBar, QPoint(596, 40));

    const QImage badge = skinImage("todaywidg.png");
    CInfoTodayWidget today(&style, badge);
    m_person.fillToday(&today, QDate(2026, 12, 9));
    shot = shoot(&today, QStringLiteral("today"));
    // The badge is re-tinted for the scheme.
    QCOMPARE(shot.pixelColor(5, 90), style.updateImage(badge).pixelColor(5, 90));

    CInfoMatrWidget matrix(&style, wideBar);
    matrix.m_TitleLabel->setText(QStringLiteral("Psycho Matrix"));
    matrix.m_HoverEnabled = true;
    m_person.fillMatrix(&matrix);
    shot = shoot(&matrix, QStringLiteral("psycho-matrix"), [&] {
        enter(&matrix, QPoint(300, 120));
        moveTo(&matrix, QPoint(300, 120));
    });
    QCOMPARE(shot.pixelColor(300, 3), wideBar.pixelColor(300, 3));
    QCOMPARE(shot.pixelColor(3, 150), style.psqImage.pixelColor(3, 150));

    CInfoCompMatrWidget pair(&style, wideBar);
    pair.m_TitleLabel->setText(QStringLiteral("Psycho Matrix"));
    const QVector<int> a = m_person.matrixNumbers();
    const QVector<int> b = m_partner.matrixNumbers();
    for (int i = 0; i < PMatrixGrid::EntryCount; ++i) {
        pair.m_Counts[i] = a.at(i);
        pair.m_PartnerCounts[i] = b.at(i);
    }
    shoot(&pair, QStringLiteral("psycho-matrix-pair"));

    // The sliding text panel, opened on a page of the scheme's colour.
    QWidget page;
    page.resize(700, 120);
    page.setStyleSheet(QStringLiteral("background: ")
                       + style.updateColor(QStringLiteral("#2a211c")));
    auto *expand = new CExpandWidget(&style, &page, 600, 50);
    expand->move(680, 10);
    expand->setPos(680, 10);
    expand->m_TextBrowser->setText(QStringLiteral(
        "A day to finish what is under way and to let go of what no longer serves you. "
        "Generous gestures come back to you; close old matters before starting new ones."));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page, TestEnvironment::WaitMs));
    expand->slotExpand();
    QTRY_COMPARE_WITH_TIMEOUT(expand->geometry(), QRect(80, 10, 613, 98), TestEnvironment::WaitMs);
    shoot(&page, QStringLiteral("expand"));
    m_style = nullptr;
}

QTEST_MAIN(TestPanelShots)
#include "tst_panelshots.moc"
