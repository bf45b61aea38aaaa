#include "style/aboutdlg.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/euladlg.h"
#include "style/infodlg.h"
#include "style/makerinfo.h"
#include "style/settingsdlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace {

// Runs action on the next modal dialog as soon as it is shown.
void whenModal(std::function<void(QWidget *)> action)
{
    auto timer = new QTimer;
    timer->setInterval(10);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, attempts] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (++*attempts > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

QPushButton *buttonWithText(QWidget *dialog, const QString &text)
{
    const auto buttons = dialog->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

void clickButton(QWidget *dialog, const QString &text)
{
    QPushButton *button = buttonWithText(dialog, text);
    QVERIFY2(button, qPrintable(text));
    button->click();
}

void pressEscape(QWidget *dialog)
{
    QTest::keyClick(dialog, Qt::Key_Escape);
}

void closeWindow(QWidget *dialog)
{
    dialog->close();
}

QList<QCheckBox *> checkBoxes(const CSettingsDlg &dlg)
{
    const Ui::CSettingsDlg *ui = dlg.ui;
    return {ui->checkBoxLP1,    ui->checkBoxLP2,     ui->checkBoxLP3,     ui->checkBoxNameWD,
            ui->checkBoxNameDD, ui->checkBoxNameWD2, ui->checkBoxNameEMM, ui->checkBoxDateFormat};
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void infoDialogGeometry_data();
    void infoDialogGeometry();
    void infoDialogResult();
    void infoDialogCentredOverParentsParent();
    void infoDialogPlacement_data();
    void infoDialogPlacement();
    void askMessageBox_data();
    void askMessageBox();
    void infoMessageBox_data();
    void infoMessageBox();
    void messageBoxHandler();

    void boundedPosition_data();
    void boundedPosition();
    void checkScreenBoundary();

    void settingsLayout();
    void settingsDefaults();
    void settingsResult_data();
    void settingsResult();
    void settingsCopyInOut();

    void aboutLayout();
    void aboutResult_data();
    void aboutResult();

    void eulaLayout();
    void eulaResult_data();
    void eulaResult();

    void makerAddresses();

private:
    CAppStyle *m_style = nullptr;
};

void TestDialogs::initTestCase()
{
    m_style = new CAppStyle(QStringLiteral("/nonexistent/images/"));
    qsGlobalDlgStyle = globalDialogStyleSheet(QStringLiteral("/nonexistent/images/"));
}

void TestDialogs::infoDialogGeometry_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("label");
    QTest::addColumn<QRect>("ok");
    QTest::addColumn<QRect>("cancel");
    QTest::addColumn<QString>("font");

    QTest::newRow("scale 1") << 1.0 << 400 << QSize(400, 230) << QRect(16, 20, 368, 150)
                             << QRect(210, 200, 80, 20) << QRect(110, 200, 80, 20)
                             << "font-size: 12px;";
    QTest::newRow("scale 0 is 1") << 0.0 << 400 << QSize(400, 230) << QRect(16, 20, 368, 150)
                                  << QRect(210, 200, 80, 20) << QRect(110, 200, 80, 20)
                                  << "font-size: 12px;";
    QTest::newRow("scale 1.5") << 1.5 << 400 << QSize(600, 345) << QRect(16, 20, 568, 265)
                               << QRect(315, 300, 120, 30) << QRect(165, 300, 120, 30)
                               << "font-size: 18px;";
    QTest::newRow("wide") << 1.0 << 500 << QSize(500, 230) << QRect(16, 20, 468, 150)
                          << QRect(260, 200, 80, 20) << QRect(160, 200, 80, 20)
                          << "font-size: 12px;";
    QTest::newRow("scale 1.25") << 1.25 << 400 << QSize(500, 287) << QRect(16, 20, 468, 207)
                                << QRect(262, 249, 100, 25) << QRect(137, 249, 100, 25)
                                << "font-size: 15px;";
}

void TestDialogs::infoDialogGeometry()
{
    QFETCH(double, scale);
    QFETCH(int, width);
    QFETCH(QSize, size);
    QFETCH(QRect, label);
    QFETCH(QRect, ok);
    QFETCH(QRect, cancel);
    QFETCH(QString, font);

    CInfoDlgWin frame(m_style, nullptr, scale, width);
    CInfoDlg *content = frame.content;
    QCOMPARE(frame.size(), size);
    QCOMPARE(frame.minimumSize(), size);
    QCOMPARE(frame.maximumSize(), size);
    QCOMPARE(content->size(), size);
    QCOMPARE(content->textLabel->geometry(), label);
    QCOMPARE(content->textLabel->alignment(), Qt::AlignCenter);
    QCOMPARE(content->textLabel->styleSheet(), font);
    QCOMPARE(content->okButton->geometry(), ok);
    QCOMPARE(content->cancelButton->geometry(), cancel);
    QCOMPARE(content->okButton->text(), QStringLiteral("Ok"));
    QCOMPARE(content->cancelButton->text(), QStringLiteral("Cancel"));
    QCOMPARE(frame.windowTitle(), QStringLiteral("Information"));
    QCOMPARE(content->result, -1);
    QCOMPARE(frame.styleSheet(), m_style->currentSheets[1]);
    QCOMPARE(content->okButton->styleSheet(), m_style->currentSheets[0]);
    const Qt::WindowFlags flags = frame.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
}

void TestDialogs::infoDialogResult()
{
    CInfoDlgWin frame(m_style, nullptr);
    frame.show();
    frame.content->okButton->click();
    QCOMPARE(frame.content->result, 0);
    QVERIFY(!frame.isVisible());
    frame.show();
    frame.close();
    QCOMPARE(frame.content->result, 0);
    frame.show();
    frame.content->cancelButton->click();
    QCOMPARE(frame.content->result, -1);
}

void TestDialogs::infoDialogCentredOverParentsParent()
{
    QWidget window;
    window.setGeometry(100, 80, 900, 600);
    auto child = new QWidget(&window);
    child->setGeometry(10, 10, 50, 50);
    CInfoDlgWin over(m_style, child);
    // window.pos() is where the window was placed (frame included).
    QCOMPARE(over.pos(), QPoint(window.x() + (900 - 400) / 2, window.y() + (600 - 230) / 2));

    QWidget small;
    small.setGeometry(0, 0, 100, 100);
    CInfoDlgWin clamped(m_style, &small);
    QCOMPARE(clamped.pos(), QPoint(0, 0));

    CInfoDlgWin lone(m_style, nullptr);
    QCOMPARE(lone.pos(), QPoint(0, 0));
}

void TestDialogs::infoDialogPlacement_data()
{
    // A window at (100, 80) of 900 x 600 holding a panel at (50, 40) of
    // 500 x 400, which holds a small child; the box is 400 x 230.
    QTest::addColumn<int>("depth");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("parent is a window: over it") << 0 << QPoint(100 + 250, 80 + 185);
    QTest::newRow("parent inside the window: over the window") << 1 << QPoint(350, 265);
    QTest::newRow("parent inside a panel: over the panel on screen")
        << 2 << QPoint(100 + 50 + 50, 80 + 40 + 85);
}

void TestDialogs::infoDialogPlacement()
{
    QFETCH(int, depth);
    QFETCH(QPoint, expected);
    QWidget window;
    window.setGeometry(100, 80, 900, 600);
    auto panel = new QWidget(&window);
    panel->setGeometry(50, 40, 500, 400);
    auto child = new QWidget(panel);
    child->setGeometry(5, 5, 20, 20);
    QWidget *const parents[] = {&window, panel, child};
    CInfoDlgWin box(m_style, parents[depth]);
    QCOMPARE(box.pos(), expected);
}

void TestDialogs::askMessageBox_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("Yes") << 0 << 0;
    QTest::newRow("No") << 1 << -1;
    QTest::newRow("Escape") << 2 << -1;
    QTest::newRow("close") << 3 << -1;
}

void TestDialogs::askMessageBox()
{
    QFETCH(int, action);
    QFETCH(int, expected);
    QString title;
    QString text;
    bool cancelShown = false;
    whenModal([&](QWidget *dialog) {
        title = dialog->windowTitle();
        const auto labels = dialog->findChildren<QLabel *>();
        text = labels.isEmpty() ? QString() : labels.first()->text();
        cancelShown = buttonWithText(dialog, QStringLiteral("No"))
            && buttonWithText(dialog, QStringLiteral("No"))->isVisible();
        switch (action) {
        case 0:
            clickButton(dialog, QStringLiteral("Yes"));
            break;
        case 1:
            clickButton(dialog, QStringLiteral("No"));
            break;
        case 2:
            pressEscape(dialog);
            break;
        default:
            closeWindow(dialog);
        }
    });
    const int result = CInfoDlgWin::showAskMessageBox(m_style, QStringLiteral("Warning"),
                                                      QStringLiteral("Save changes?"), nullptr);
    QCOMPARE(result, expected);
    QCOMPARE(title, QStringLiteral("Warning"));
    QCOMPARE(text, QStringLiteral("Save changes?"));
    QVERIFY(cancelShown);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestDialogs::infoMessageBox_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("Ok") << 0 << 0;
    QTest::newRow("Escape") << 2 << -1;
    QTest::newRow("close") << 3 << -1;
}

void TestDialogs::infoMessageBox()
{
    QFETCH(int, action);
    QFETCH(int, expected);
    QRect okGeometry;
    bool cancelVisible = true;
    whenModal([&](QWidget *dialog) {
        okGeometry = buttonWithText(dialog, QStringLiteral("Ok"))->geometry();
        cancelVisible = buttonWithText(dialog, QStringLiteral("Cancel"))->isVisible();
        if (action == 0)
            clickButton(dialog, QStringLiteral("Ok"));
        else if (action == 2)
            pressEscape(dialog);
        else
            closeWindow(dialog);
    });
    const int result = CInfoDlgWin::showInfoMessageBox(
        m_style, QStringLiteral("Note"), QStringLiteral("Done.\r\nAll saved."), nullptr);
    QCOMPARE(result, expected);
    QCOMPARE(okGeometry, QRect(160, 200, 80, 20));
    QVERIFY(!cancelVisible);
}

namespace {

struct HandledBox
{
    int kind = -1;
    QString title;
    QString text;
    QWidget *parent = nullptr;
};
HandledBox s_handled;

int answerNo(CInfoDlgWin::MessageKind kind, const QString &title, const QString &text,
             QWidget *parent)
{
    s_handled = {int(kind), title, text, parent};
    return -1;
}

} // namespace

void TestDialogs::messageBoxHandler()
{
    QWidget parent;
    QVERIFY(CInfoDlgWin::setMessageBoxHandler(answerNo) == nullptr);
    QCOMPARE(CInfoDlgWin::showAskMessageBox(m_style, QStringLiteral("Question"),
                                            QStringLiteral("Delete?"), &parent),
             -1);
    QCOMPARE(s_handled.kind, int(CInfoDlgWin::AskMessage));
    QCOMPARE(s_handled.title, QStringLiteral("Question"));
    QCOMPARE(s_handled.text, QStringLiteral("Delete?"));
    QCOMPARE(s_handled.parent, &parent);
    CInfoDlgWin::showInfoMessageBox(m_style, QStringLiteral("Info"), QString(), nullptr);
    QCOMPARE(s_handled.kind, int(CInfoDlgWin::InfoMessage));
    QVERIFY(CInfoDlgWin::setMessageBoxHandler(nullptr) == &answerNo);
}

void TestDialogs::boundedPosition_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");

    // An available area from (0, 25) to (1439, 899), as on a laptop with a
    // menu bar.
    const QRect area(QPoint(0, 25), QPoint(1439, 899));
    QTest::newRow("off bottom right") << QRect(1200, 800, 400, 220) << area << QPoint(1039, 679);
    QTest::newRow("off top left") << QRect(-50, 10, 400, 220) << area << QPoint(0, 25);
    QTest::newRow("inside") << QRect(300, 200, 400, 220) << area << QPoint(300, 200);
    QTest::newRow("wider than the area") << QRect(100, 100, 2000, 220) << area << QPoint(0, 100);
    QTest::newRow("taller than the area") << QRect(100, 100, 400, 1200) << area << QPoint(100, 25);
    QTest::newRow("touching the right edge")
        << QRect(1039, 300, 400, 220) << area << QPoint(1039, 300);
    QTest::newRow("second screen")
        << QRect(3000, 500, 400, 220) << QRect(1440, 0, 1920, 1080) << QPoint(2959, 500);
}

void TestDialogs::boundedPosition()
{
    QFETCH(QRect, window);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(ASBoundedPosition(window, available), expected);
}

void TestDialogs::checkScreenBoundary()
{
    ASCheckScreenBoundary(nullptr);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(200, 100);
    window.move(area.right() - 50, area.bottom() - 20);
    ASCheckScreenBoundary(&window);
    QCOMPARE(window.pos(), QPoint(area.right() - 200, area.bottom() - 100));
    window.move(area.left() + 10, area.top() + 10);
    ASCheckScreenBoundary(&window);
    QCOMPARE(window.pos(), QPoint(area.left() + 10, area.top() + 10));
}

void TestDialogs::settingsLayout()
{
    CSettingsDlg dlg;
    QCOMPARE(dlg.objectName(), QStringLiteral("CSettingsDlg"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(dlg.size(), QSize(400, 370));
    QCOMPARE(dlg.minimumSize(), QSize(400, 370));
    QCOMPARE(dlg.maximumSize(), QSize(400, 370));
    QCOMPARE(dlg.windowModality(), Qt::ApplicationModal);
    QVERIFY(!(dlg.windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(dlg.styleSheet(), qsGlobalDlgStyle);

    const Ui::CSettingsDlg *ui = dlg.ui;
    const QList<std::tuple<QWidget *, QString, QString, QRect>> widgets = {
        {ui->buttonBox, "buttonBox", QString(), QRect(50, 330, 341, 32)},
        {ui->defaultSettingsBut, "defaultSettingsBut", "Restore Default Settings",
         QRect(10, 330, 191, 32)},
        {ui->checkBoxLP1, "checkBoxLP1", "= DIG(DIG(Y) + DIG(M) + DIG(D))", QRect(30, 40, 241, 20)},
        {ui->label, "label", "Life Path Master Number Calculation:", QRect(20, 20, 241, 16)},
        {ui->checkBoxLP2, "checkBoxLP2", "= DIG(Y +M + D)", QRect(30, 60, 241, 20)},
        {ui->checkBoxLP3, "checkBoxLP3", "= Sum of all digits", QRect(30, 80, 241, 20)},
        {ui->label_2, "label_2", "Name calculation:", QRect(20, 120, 241, 16)},
        {ui->checkBoxNameWD, "checkBoxNameWD", "Down to digit every word", QRect(30, 140, 301, 20)},
        {ui->checkBoxNameDD, "checkBoxNameDD", "Reduce Master Numbers to Digit",
         QRect(30, 160, 301, 20)},
        {ui->label_3, "label_3", "Additional:", QRect(20, 200, 241, 16)},
        {ui->checkBoxNameWD2, "checkBoxNameWD", "Don't generate missed transits",
         QRect(30, 220, 301, 20)},
        {ui->checkBoxNameEMM, "checkBoxNameEMM", "Calculate 11,22...99 Master numbers",
         QRect(30, 240, 301, 20)},
        {ui->label_4, "label_4", "Format:", QRect(20, 280, 241, 16)},
        {ui->checkBoxDateFormat, "checkBoxDateFormat", "Date Input - DD/MM/YYYY",
         QRect(30, 300, 301, 20)},
    };
    for (const auto &[widget, name, caption, geometry] : widgets) {
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(), &dlg);
        QCOMPARE(widget->objectName(), name);
        QCOMPARE(widget->geometry(), geometry);
        if (auto button = qobject_cast<QAbstractButton *>(widget))
            QCOMPARE(button->text(), caption);
        else if (auto label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), caption);
    }
    QCOMPARE(ui->buttonBox->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    for (QCheckBox *box : checkBoxes(dlg))
        QVERIFY(!box->isChecked());
}

void TestDialogs::settingsDefaults()
{
    CSettingsDlg dlg;
    for (QCheckBox *box : checkBoxes(dlg))
        box->setChecked(true);
    dlg.ui->checkBoxLP1->setChecked(false);
    dlg.ui->defaultSettingsBut->click();
    unsigned char flags[6] = {9, 9, 9, 9, 9, 9};
    int master = 7;
    bool dayFirst = true;
    dlg.values(flags, &master, &dayFirst);
    const unsigned char defaults[6] = {1, 0, 0, 1, 1, 0};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(int(flags[i]), int(defaults[i]));
    QCOMPARE(master, 0);
    QCOMPARE(dayFirst, false);
}

void TestDialogs::settingsResult_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    // What the main window holds afterwards: six flags, then the
    // master-numbers option and the day-first flag. It starts from
    // 0, 1, 1, 0, 0, 1, option 1, day first, and copies back only after "OK".
    QTest::addColumn<QVector<int>>("stored");
    const QVector<int> before = {0, 1, 1, 0, 0, 1, 1, 1};
    QTest::newRow("OK") << 0 << 1 << QVector<int>({1, 0, 0, 1, 1, 0, 0, 0});
    QTest::newRow("Cancel") << 1 << 0 << before;
    QTest::newRow("Escape") << 2 << 0 << before;
    QTest::newRow("close") << 3 << 0 << before;
}

void TestDialogs::settingsResult()
{
    QFETCH(int, action);
    QFETCH(int, expected);
    QFETCH(QVector<int>, stored);
    unsigned char flags[6] = {0, 1, 1, 0, 0, 1};
    int master = 1;
    bool dayFirst = true;
    CSettingsDlg dlg;
    dlg.setValues(flags, master, dayFirst);
    whenModal([action](QWidget *dialog) {
        auto settings = qobject_cast<CSettingsDlg *>(dialog);
        QVERIFY(settings);
        settings->ui->defaultSettingsBut->click();
        if (action == 0)
            settings->ui->buttonBox->button(QDialogButtonBox::Ok)->click();
        else if (action == 1)
            settings->ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
        else if (action == 2)
            pressEscape(dialog);
        else
            closeWindow(dialog);
    });
    const int result = dlg.exec();
    QCOMPARE(result, expected);
    if (result == QDialog::Accepted)
        dlg.values(flags, &master, &dayFirst);
    const QVector<int> after
        = {flags[0], flags[1], flags[2], flags[3], flags[4], flags[5], master, int(dayFirst)};
    QCOMPARE(after, stored);
}

void TestDialogs::settingsCopyInOut()
{
    // What the main window does: copy its values in, run, copy back only
    // after "OK".
    unsigned char flags[6] = {0, 1, 1, 0, 0, 1};
    CSettingsDlg dlg;
    dlg.setValues(flags, 1, true);
    QVERIFY(!dlg.ui->checkBoxLP1->isChecked());
    QVERIFY(dlg.ui->checkBoxLP2->isChecked());
    QVERIFY(dlg.ui->checkBoxNameWD2->isChecked());
    QVERIFY(!dlg.ui->checkBoxNameWD->isChecked());
    QVERIFY(dlg.ui->checkBoxNameEMM->isChecked());
    QVERIFY(dlg.ui->checkBoxDateFormat->isChecked());

    unsigned char out[6] = {};
    int master = 0;
    bool dayFirst = false;
    dlg.values(out, &master, &dayFirst);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(out[i], flags[i]);
    QCOMPARE(master, 1);
    QCOMPARE(dayFirst, true);

    // None of the life-path boxes checked is kept as it is.
    dlg.ui->checkBoxLP2->setChecked(false);
    dlg.ui->checkBoxLP3->setChecked(false);
    dlg.values(out, nullptr, nullptr);
    QCOMPARE(int(out[0]) + int(out[1]) + int(out[2]), 0);

    // An option other than 1 leaves the master-numbers box as it was.
    CSettingsDlg fresh;
    fresh.setValues(flags, 0, false);
    QVERIFY(!fresh.ui->checkBoxNameEMM->isChecked());
    fresh.setValues(nullptr, 5, false);
    QVERIFY(!fresh.ui->checkBoxNameEMM->isChecked());
}

void TestDialogs::aboutLayout()
{
    QImage logo(120, 60, QImage::Format_ARGB32);
    logo.fill(Qt::red);
    CAboutDlg dlg(&logo, &logo);
    QCOMPARE(dlg.size(), QSize(400, 220));
    QCOMPARE(dlg.minimumSize(), QSize(400, 220));
    QCOMPARE(dlg.maximumSize(), QSize(400, 220));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("About"));
    QCOMPARE(dlg.styleSheet(), qsGlobalDlgStyle);
    QCOMPARE(dlg.visitButton->text(), QStringLiteral("Visit Lumaro"));
    QCOMPARE(dlg.visitButton->geometry(), QRect(65, 180, 120, 30));
    QCOMPARE(dlg.closeButton->text(), QStringLiteral("Close"));
    QCOMPARE(dlg.closeButton->geometry(), QRect(215, 180, 120, 30));

    // The logo is painted centred at y = 30.
    const QImage shot = dlg.grab().toImage();
    QCOMPARE(shot.pixelColor(140, 30), QColor(Qt::red));
    QCOMPARE(shot.pixelColor(259, 89), QColor(Qt::red));
    QVERIFY(shot.pixelColor(139, 30) != QColor(Qt::red));
    QVERIFY(shot.pixelColor(260, 30) != QColor(Qt::red));

    // No logo at all: painted without one.
    CAboutDlg bare(nullptr, nullptr);
    QVERIFY(!bare.grab().isNull());
}

void TestDialogs::aboutResult_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("Visit Lumaro") << 0 << int(QDialog::Accepted);
    QTest::newRow("Close") << 1 << int(QDialog::Rejected);
    QTest::newRow("Escape") << 2 << int(QDialog::Rejected);
    QTest::newRow("close button") << 3 << int(QDialog::Rejected);
}

void TestDialogs::aboutResult()
{
    QFETCH(int, action);
    QFETCH(int, expected);
    QImage logo;
    CAboutDlg dlg(&logo, &logo);
    whenModal([action](QWidget *dialog) {
        // A click anywhere on the box does nothing.
        QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, QPoint(200, 60));
        if (action == 0)
            clickButton(dialog, QStringLiteral("Visit Lumaro"));
        else if (action == 1)
            clickButton(dialog, QStringLiteral("Close"));
        else if (action == 2)
            pressEscape(dialog);
        else
            closeWindow(dialog);
    });
    QCOMPARE(dlg.exec(), expected);
}

void TestDialogs::eulaLayout()
{
    CEulaDlg dlg;
    QCOMPARE(dlg.size(), QSize(400, 400));
    QCOMPARE(dlg.minimumSize(), QSize(400, 400));
    QCOMPARE(dlg.maximumSize(), QSize(400, 400));
    QCOMPARE(dlg.windowTitle(), QString());
    QCOMPARE(dlg.acceptButton->text(), QStringLiteral("Accept"));
    QCOMPARE(dlg.acceptButton->geometry(), QRect(110, 370, 80, 20));
    QCOMPARE(dlg.acceptButton->styleSheet(), QStringLiteral("color: black;"));
    QCOMPARE(dlg.rejectButton->text(), QStringLiteral("Reject"));
    QCOMPARE(dlg.rejectButton->geometry(), QRect(210, 370, 80, 20));
    QCOMPARE(dlg.textField->geometry(), QRect(10, 10, 380, 350));
    QVERIFY(dlg.textField->isReadOnly());
    QCOMPARE(dlg.result, -1);

    const QString text = CEulaDlg::agreementText();
    QVERIFY2(text.size() > 2600 && text.size() < 3100, qPrintable(QString::number(text.size())));
    QVERIFY(text.contains(QStringLiteral("\r\n")));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    QVERIFY(text.contains(QStringLiteral("Lumaro Numerology")));
    for (int paragraph = 1; paragraph <= 9; ++paragraph)
        QVERIFY(text.contains(QStringLiteral("\r\n%1. ").arg(paragraph)));
    QCOMPARE(dlg.textField->toPlainText(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestDialogs::eulaResult_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("execResult");
    QTest::newRow("Accept") << 0 << 0 << int(QDialog::Accepted);
    QTest::newRow("Reject") << 1 << -1 << int(QDialog::Rejected);
    QTest::newRow("Escape") << 2 << -1 << int(QDialog::Rejected);
    QTest::newRow("close") << 3 << -1 << int(QDialog::Rejected);
}

void TestDialogs::eulaResult()
{
    QFETCH(int, action);
    QFETCH(int, expected);
    QFETCH(int, execResult);
    CEulaDlg dlg;
    dlg.setWindowTitle(QStringLiteral("Lumaro Numerology"));
    whenModal([action](QWidget *dialog) {
        if (action == 0)
            clickButton(dialog, QStringLiteral("Accept"));
        else if (action == 1)
            clickButton(dialog, QStringLiteral("Reject"));
        else if (action == 2)
            pressEscape(dialog);
        else
            closeWindow(dialog);
    });
    QCOMPARE(dlg.exec(), execResult);
    QCOMPARE(dlg.result, expected);
}

void TestDialogs::makerAddresses()
{
    QCOMPARE(MakerInfo::versionNumber, 0x070800);
    for (const char *address :
         {MakerInfo::productPage, MakerInfo::downloadPage, MakerInfo::updateHost}) {
        const QUrl url(QString::fromLatin1(address));
        QVERIFY2(url.isValid() && !url.host().isEmpty(), address);
        QVERIFY(url.scheme().startsWith(QLatin1String("http")));
    }
    QCOMPARE(QUrl(QString::fromLatin1(MakerInfo::updateHost)).scheme(), QStringLiteral("http"));
    const QUrl mail(
        QStringLiteral("mailto:") + QString::fromLatin1(MakerInfo::supportMailbox)
        + QStringLiteral("?Subject=Support request for Lumaro Numerology Omnara for Win"));
    QVERIFY(mail.isValid());
    QCOMPARE(mail.path(), QString::fromLatin1(MakerInfo::supportMailbox));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
