#include "filetrial/filetrial.h"
#include "managerscript.h"

#include "layouts/defaultlayout.h"
#include "reportmanager/imagepreview.h"
#include "reportmanager/texteditor.h"
#include "style/appstyle.h"

#include "shotsupport.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace ManagerScript;

// Shows the Report Manager and its text editor on a real display in several
// colour schemes and checks that the skin and the scheme reach the screen.
// With LUMARO_SHOTS_DIR set the pictures are kept there for a look;
// LUMARO_SKIN_DIR points at another skin than the build's Resources/images/.
class TestLayoutManagerShots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void manager_data();
    void manager();

private:
    QImage shoot(QWidget *window, const QString &name);

    QString m_skin;
    QString m_shots;
};

void TestLayoutManagerShots::initTestCase()
{
    // The layouts here are the tests' own; whether a shared file may be used
    // is tried in the trial's tests, and a real trial beside a busy suite
    // may pass its ten seconds.
    FileTrial::defaultOptions().runTrials = false;
    m_skin = qEnvironmentVariable("LUMARO_SKIN_DIR");
    if (m_skin.isEmpty())
        m_skin = getImagesPath();
    if (!m_skin.endsWith(QLatin1Char('/')))
        m_skin += QLatin1Char('/');
    QVERIFY2(QFile::exists(m_skin + QStringLiteral("lmitem.png")), qPrintable(m_skin));
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_shots.isEmpty())
        QDir().mkpath(m_shots);
    install();
}

QImage TestLayoutManagerShots::shoot(QWidget *window, const QString &name)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window, TestEnvironment::WaitMs))
        qWarning("window not exposed: %s", qPrintable(name));
    // Let the tiles slide into place.
    QTest::qWait(400);
    clearPointer(window);
    const QImage image = window->grab().toImage();
    if (!m_shots.isEmpty())
        image.save(m_shots + QLatin1Char('/') + name + QStringLiteral(".png"));
    return image;
}

void TestLayoutManagerShots::manager_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("chocolate") << 0;
    QTest::newRow("blue-sky") << 2;
}

void TestLayoutManagerShots::manager()
{
    QFETCH(int, scheme);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    CAppStyle style(m_skin);
    style.setGlobalStyle(scheme);

    reportSetting standard;
    standard.name = QStringLiteral("Standard");
    initialDefSetting(&standard);
    reportSetting family = standard;
    family.name = QStringLiteral("Family reading");
    reportSetting brief;
    brief.name = QStringLiteral("Brief");
    addItemSet(&brief.items[RKNumerology], RKNumerology, 1, QStringLiteral("Life Path"));
    writeLayouts({standard, family, brief});

    CLayoutManagerDlgWin win(&style, QStringLiteral("Family reading"), nullptr);
    CLayoutManagerDlg *dlg = win.content;
    CWCLContainerWidget *order = dlg->lists.at(0)->containerWidget;
    dlg->OnItemSelected(order->items().at(2));
    dlg->defaultCheck->click();
    const QImage shot = shoot(&win, QStringLiteral("manager-") + tag);
    const qreal ratio = win.devicePixelRatioF();
    QCOMPARE(shot.size(), QSize(580, 625) * ratio);

    // The painted captions: some pixels of "Field order" in the caption colour.
    bool captionFound = false;
    for (int x = 20; x < 180 && !captionFound; ++x) {
        for (int y = 5; y < 25 && !captionFound; ++y)
            captionFound = shot.pixelColor(QPoint(x, y) * ratio) == QColor(237, 219, 178);
    }
    QVERIFY(captionFound);
    // The tiles carry the skin's tile picture, re-tinted to the scheme.
    const QImage tile = style.updateImage(style.lmItemPixmap.toImage());
    CWCLItem *first = order->items().first();
    const QPoint inTile = first->mapTo(dlg, QPoint(3, tile.height() / 2));
    QCOMPARE(shot.pixelColor(inTile * ratio).rgb(), tile.pixelColor(3, tile.height() / 2).rgb());
    // The window background follows the scheme.
    QCOMPARE(shot.pixelColor(QPoint(395, 590) * ratio),
             style.updateColor(QColor(0x1e, 0x19, 0x17)));

    // A name the save would refuse, refused at once: the real Error box over
    // the window, taken from the screen while it is open.
    CInfoDlgWin::setMessageBoxHandler(nullptr);
    names = QStringList {QStringLiteral(".hidden"), Cancel};
    QString boxText;
    QTimer::singleShot(1000, [&]() {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        boxText = box->findChild<QLabel *>()->text();
        const QRect area = win.frameGeometry().united(box->frameGeometry());
        const QImage screen = win.screen()
                                  ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                  .toImage();
        if (!m_shots.isEmpty())
            screen.save(m_shots + QStringLiteral("/manager-name-message-") + tag
                        + QStringLiteral(".png"));
        box->close();
    });
    dlg->newButton->click();
    install();
    QCOMPARE(boxText, settingNameMessage(SettingNameError::Hidden, QStringLiteral(".hidden")));

    // The state without any setting.
    writeLayouts({});
    CLayoutManagerDlgWin empty(&style, QString(), nullptr);
    shoot(&empty, QStringLiteral("manager-empty-") + tag);

    // The text editor and its picture dialog.
    QString table[128];
    table[0] = QStringLiteral("<p>Your Life Path number shows the road you travel.</p>");
    table[1] = QStringLiteral("<p>One leads. Ones start things and like to stand alone.</p>");
    repItem section;
    section.texts[1] = QStringLiteral(
        "<html><body><!-- md --><br><p><span style=\" font-size:14pt; font-weight:600;\">"
        "One</span> is the number of beginnings.</p><!-- md --><br><p>A One walks ahead and "
        "likes to choose the road.</p></body></html>");
    section.useStdText[1] = false;
    CTextEditor editor(&style, &section.texts, &section.images, &section.useStdText, table,
                       RKNumerology, 1, nullptr);
    editor.entryCombo->setCurrentIndex(1);
    shoot(&editor, QStringLiteral("texteditor-") + tag);
    QImage picture(m_skin + QStringLiteral("logo.png"));
    CImagePreview preview(&style, &picture, RKNumerology, nullptr);
    shoot(&preview, QStringLiteral("imagepreview-") + tag);
}

QTEST_MAIN(TestLayoutManagerShots)
#include "tst_layoutmanagershots.moc"
