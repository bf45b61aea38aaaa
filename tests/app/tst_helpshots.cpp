#include "app/infodetailsview.h"
#include "app/manualview.h"
#include "app/myqwebengineview.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "style/aboutdlg.h"
#include "style/appstyle.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

bool neverAsk(const QString &, const QString &)
{
    return false;
}

QImage g_shot;
// The guide's paper colour.
const QColor kPaper(0xfb, 0xf8, 0xf2);
// The background a dialog without a web view must show.
QColor g_background;

QImage grabOnScreen(QWidget *widget)
{
    return widget->screen()->grabWindow(widget->winId()).toImage();
}

int distinctColours(const QImage &image, const QRect &area)
{
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

// The compositor paints a loaded page a little later, later still on a busy
// machine: grab until the area shows more than a plain fill.
QImage settledShot(QWidget *widget, const QRect &area, const QColor &paper = QColor())
{
    QImage shot;
    QElapsedTimer timer;
    timer.start();
    do {
        QTest::qWait(200);
        shot = grabOnScreen(widget);
    } while ((distinctColours(shot, area) <= 30
              || (paper.isValid() && shot.pixelColor(area.topLeft() + QPoint(8, 8)) != paper))
             && timer.elapsed() < 10000);
    return shot;
}

// Shows the dialog on the display until its page has loaded and grabs it.
int shootDialog(QDialog *dialog)
{
    MyQWebEngineView *view = nullptr;
    if (auto *popup = qobject_cast<CInfoDetailsView *>(dialog))
        view = popup->m_View;
    else if (auto *start = qobject_cast<CManualVieW *>(dialog))
        view = start->m_View;
    if (!view) {
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog))
            return QDialog::Rejected;
        g_shot = settledShot(dialog, dialog->rect(), g_background);
        return QDialog::Rejected;
    }
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    dialog->show();
    if (loaded.isEmpty())
        loaded.wait(15000);
    const bool guidePage = qobject_cast<CManualVieW *>(dialog);
    g_shot = settledShot(dialog, view->geometry(), guidePage ? kPaper : QColor(Qt::white));
    return QDialog::Rejected;
}

} // namespace

// The help pop-up, the Guide page and the start page on a real display in
// two colour schemes: the pages must reach the screen with their text and
// pictures, not as blank white views. With LUMARO_SHOTS_DIR set the
// pictures are kept there for a look.
class TestHelpShots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shots_data();
    void shots();

private:
    void keep(const QImage &image, const QString &name);
    std::unique_ptr<CZQNum> m_window;
    QString m_folder;
};

void TestHelpShots::initTestCase()
{
    CUpdateCheck::setAskFunction(neverAsk);
    CZQNum::execDialog = shootDialog;
    m_folder = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_folder.isEmpty())
        QDir().mkpath(m_folder);
    m_window = std::make_unique<CZQNum>();
    m_window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    m_window->resize(1100, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->m_Settings.hideStartDialog = true;
    m_window->OnFinishedSU();
}

void TestHelpShots::keep(const QImage &image, const QString &name)
{
    if (!m_folder.isEmpty())
        image.save(m_folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void TestHelpShots::shots_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("chocolate") << 0;
    QTest::newRow("moss") << 5;
}

void TestHelpShots::shots()
{
    QFETCH(int, scheme);
    const QString suffix = QLatin1Char('-') + QLatin1String(QTest::currentDataTag());
    m_window->OnApplyStyle(scheme);

    // The help pop-up of the Life Path: text at the left, picture at the
    // right of the first paragraph.
    g_shot = QImage();
    m_window->MFitemCliked(0);
    QVERIFY(!g_shot.isNull());
    keep(g_shot, QStringLiteral("help-popup") + suffix);
    QCOMPARE(g_shot.size(), QSize(600, 500));
    QVERIFY2(distinctColours(g_shot, QRect(0, 0, 300, 200)) > 8, "the text is on screen");
    QVERIFY2(distinctColours(g_shot, QRect(340, 20, 240, 180)) > 30, "the picture is on screen");

    // The Guide page: the guide's own paper colour inside the window.
    m_window->setMode(MainWindowLayout::PageGuide);
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->m_GuideView->title().isEmpty(), 15000);
    const QRect view(m_window->m_GuideView->mapTo(m_window.get(), QPoint(0, 0)),
                     m_window->m_GuideView->size());
    QTest::qWait(800); // the page slides in
    const QImage guide = settledShot(m_window.get(), view, kPaper);
    keep(guide, QStringLiteral("guide") + suffix);
    QCOMPARE(guide.pixelColor(view.left() + 8, view.top() + 8), kPaper);
    QVERIFY(distinctColours(guide, view) > 30);

    // The start page with its box and button below the page.
    g_shot = QImage();
    m_window->m_Settings.hideStartDialog = false;
    m_window->showStartPage();
    m_window->m_Settings.hideStartDialog = true;
    QVERIFY(!g_shot.isNull());
    keep(g_shot, QStringLiteral("start-page") + suffix);
    QCOMPARE(g_shot.pixelColor(20, 20), kPaper);
    QVERIFY(distinctColours(g_shot, QRect(10, 10, 780, 540)) > 30);
    QVERIFY(distinctColours(g_shot, QRect(0, 565, 800, 30)) > 4);

    // About, over the window in the scheme's tint, with the logo.
    g_shot = QImage();
    g_background = m_window->m_Style->updateColor(QColor(0x2c, 0x24, 0x20));
    m_window->OnAbout();
    QVERIFY(!g_shot.isNull());
    keep(g_shot, QStringLiteral("about") + suffix);
    QCOMPARE(g_shot.size(), QSize(400, 220));
    QVERIFY(distinctColours(g_shot, QRect(100, 30, 200, 60)) > 8);
    QCOMPARE(g_shot.pixelColor(8, 8), g_background);
}

QTEST_MAIN(TestHelpShots)
#include "tst_helpshots.moc"
