#include "style/aboutdlg.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/euladlg.h"
#include "style/infodlg.h"
#include "style/settingsdlg.h"

#include "shotsupport.h"
#include "testenvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// Renders the dialogs on a real display in two colour schemes and checks
// that the scheme's colours reach the screen. With LUMARO_SHOTS_DIR set the
// pictures are kept there for a look; LUMARO_SKIN_DIR points at another
// skin than the build's own Resources/images/.
class TestDialogShots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dialogs_data();
    void dialogs();
    void widgetTypes_data();
    void widgetTypes();

private:
    QImage shoot(QWidget *dialog, const QString &name);

    QString m_skin;
    QString m_shots;
};

void TestDialogShots::initTestCase()
{
    m_skin = qEnvironmentVariable("LUMARO_SKIN_DIR");
    if (m_skin.isEmpty())
        m_skin = QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources/images");
    if (!m_skin.endsWith(QLatin1Char('/')))
        m_skin += QLatin1Char('/');
    m_shots = qEnvironmentVariable("LUMARO_SHOTS_DIR");
    if (!m_shots.isEmpty())
        QDir().mkpath(m_shots);
}

QImage TestDialogShots::shoot(QWidget *dialog, const QString &name)
{
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog, TestEnvironment::WaitMs))
        qWarning("window not exposed: %s", qPrintable(name));
    QTest::qWait(50);
    clearPointer(dialog);
    const QImage image = dialog->grab().toImage();
    if (!m_shots.isEmpty())
        image.save(m_shots + QLatin1Char('/') + name + QStringLiteral(".png"));
    dialog->hide();
    return image;
}

void TestDialogShots::dialogs_data()
{
    QTest::addColumn<int>("scheme");
    QTest::newRow("chocolate") << 0;
    QTest::newRow("blue-sky") << 2;
    QTest::newRow("moss") << 5;
}

void TestDialogShots::dialogs()
{
    QFETCH(int, scheme);
    CAppStyle style(m_skin);
    style.setGlobalStyle(scheme);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString dialogSheet = globalDialogStyleSheet(m_skin);

    {
        CInfoDlgWin ask(&style, nullptr);
        ask.setWindowTitle(QStringLiteral("Warning"));
        ask.content->textLabel->setText(QStringLiteral("Save changes?"));
        ask.content->okButton->setText(QStringLiteral("Yes"));
        ask.content->cancelButton->setText(QStringLiteral("No"));
        const QImage shot = shoot(&ask, QStringLiteral("ask-") + tag);
        QCOMPARE(shot.size(), QSize(400, 230) * ask.devicePixelRatioF());
        // The window background and the button face follow the scheme.
        QCOMPARE(shot.pixelColor(4, 4), style.updateColor(QColor(0x1e, 0x19, 0x17)));
        const QPoint button = ask.content->okButton->geometry().topLeft() + QPoint(20, 3);
        QCOMPARE(shot.pixelColor(button), style.updateColor(QColor(0x44, 0x37, 0x2f)));
    }
    {
        CInfoDlgWin info(&style, nullptr, 1.5);
        info.setWindowTitle(QStringLiteral("Information"));
        info.content->textLabel->setText(
            QStringLiteral("The report was saved.\r\nYou find it in your documents folder."));
        info.content->okButton->move(info.content->okButton->x() - 50, info.content->okButton->y());
        info.content->cancelButton->hide();
        const QImage shot = shoot(&info, QStringLiteral("info-scale-1.5-") + tag);
        QCOMPARE(shot.size(), QSize(600, 345) * info.devicePixelRatioF());
    }
    {
        // The main window gives the small dialogs the global dialog sheet;
        // the About box gets it re-tinted to the active scheme.
        qsGlobalDlgStyle = dialogSheet;
        CSettingsDlg settings;
        settings.ui->defaultSettingsBut->click();
        const QImage shot = shoot(&settings, QStringLiteral("settings-") + tag);
        QCOMPARE(shot.pixelColor(4, 4), QColor(0x2c, 0x24, 0x20));

        qsGlobalDlgStyle = style.updateColor(dialogSheet);
        QImage logo(m_skin + QStringLiteral("logo.png"));
        CAboutDlg about(&logo, &logo);
        const QImage aboutShot = shoot(&about, QStringLiteral("about-") + tag);
        QCOMPARE(aboutShot.pixelColor(4, 4), style.updateColor(QColor(0x2c, 0x24, 0x20)));
        qsGlobalDlgStyle.clear();
    }
    {
        CEulaDlg eula;
        eula.setWindowTitle(QStringLiteral("Lumaro Numerology"));
        const QImage shot = shoot(&eula, QStringLiteral("eula-") + tag);
        QCOMPARE(shot.size(), QSize(400, 400) * eula.devicePixelRatioF());
    }
}

void TestDialogShots::widgetTypes_data()
{
    dialogs_data();
}

// A window whose widgets are styled by type, the way the main window and
// the designer do it.
void TestDialogShots::widgetTypes()
{
    QFETCH(int, scheme);
    CAppStyle style(m_skin);
    style.setGlobalStyle(scheme);

    QWidget window;
    window.resize(460, 330);
    style.setWidgetStyle(&window, WTWindow);

    auto band = new QLabel(QStringLiteral("  Numerologist:"), &window);
    band->setGeometry(0, 0, 460, 26);
    style.setWidgetStyle(band, WTBandLabel);

    auto framed = new QWidget(&window);
    framed->setGeometry(10, 36, 210, 150);
    style.setWidgetStyle(framed, WTFramedPanel);
    auto name = new QLineEdit(QStringLiteral("Anna Maria Example"), framed);
    name->setGeometry(10, 10, 190, 24);
    style.setWidgetStyle(name, WTLineEdit);
    auto date = new QDateEdit(QDate(1984, 3, 17), framed);
    date->setGeometry(10, 44, 190, 24);
    style.setWidgetStyle(date, WTInput);
    auto combo = new QComboBox(framed);
    combo->addItems({QStringLiteral("Default"), QStringLiteral("Short report")});
    combo->setGeometry(10, 78, 190, 24);
    style.setWidgetStyle(combo, WTInput);
    auto check = new QCheckBox(QStringLiteral("Use Chaldean calculator"), framed);
    check->setChecked(true);
    check->setGeometry(10, 112, 190, 24);
    style.setWidgetStyle(check, WTCheckBox);

    auto listPanel = new QWidget(&window);
    listPanel->setGeometry(230, 36, 220, 150);
    style.setWidgetStyle(listPanel, WTListPanel);
    auto list = new QListWidget(listPanel);
    list->setGeometry(0, 0, 220, 150);
    for (const char *item : {"Life Path", "Birthday", "Expression", "Heart Desire", "Personality",
                             "Karmic Lessons", "Balance", "Hidden Passion"})
        list->addItem(QString::fromLatin1(item));
    list->setCurrentRow(1);

    auto tree = new QTreeWidget(&window);
    tree->setHeaderHidden(true);
    tree->setGeometry(10, 196, 210, 90);
    style.setWidgetStyle(tree, WTTree);
    auto person = new QTreeWidgetItem(tree, {QStringLiteral("Person")});
    new QTreeWidgetItem(person, {QStringLiteral("Full name")});
    new QTreeWidgetItem(person, {QStringLiteral("Birth date")});
    new QTreeWidgetItem(tree, {QStringLiteral("Partner")});
    person->setExpanded(true);

    auto panel = new QWidget(&window);
    panel->setGeometry(230, 196, 220, 90);
    style.setWidgetStyle(panel, WTPanel);
    auto ok = new QPushButton(QStringLiteral("Ok"), panel);
    ok->setGeometry(10, 10, 90, 24);
    style.setWidgetStyle(ok, WTOkButton);
    auto cancel = new QPushButton(QStringLiteral("Cancel"), panel);
    cancel->setGeometry(110, 10, 90, 24);
    style.setWidgetStyle(cancel, WTCancelButton);
    auto progress = new QProgressBar(panel);
    progress->setGeometry(10, 50, 190, 18);
    progress->setValue(60);
    progress->setStyleSheet(style.currentSheets[CAppStyle::SheetProgressBar]);

    auto person2 = new QPushButton(QStringLiteral("Anna\n03/17/1984"), &window);
    person2->setGeometry(10, 294, 210, 30);
    style.setWidgetStyle(person2, WTPersonButton);

    const QImage shot
        = shoot(&window, QStringLiteral("widgets-") + QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(shot.pixelColor(300, 320), style.updateColor(QColor(0x1e, 0x19, 0x17)));
    QCOMPARE(shot.pixelColor(5, 5), style.updateColor(QColor(0x44, 0x37, 0x2f)));
}

QTEST_MAIN(TestDialogShots)
#include "tst_dialogshots.moc"
