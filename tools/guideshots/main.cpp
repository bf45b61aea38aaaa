// Takes the pictures of the user guide from the running program: a sample
// person, partner and pet are calculated in the real main window, every tool
// page and dialog the guide shows is put on screen and grabbed, and each
// picture is scaled down and saved as a small PNG.
// Usage: lumaro_guideshots <output folder>   (needs an X server, e.g. Xvfb)

#include "app/reportexport.h"
#include "app/startup.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "style/appstyle.h"
#include "style/dialogsupport.h"
#include "style/infodlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

QString g_folder;
int g_failures = 0;

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// At most 820 pixels wide, in 256 colours: the window's flat fills lose
// nothing and the files stay small.
void save(QImage image, const QString &name)
{
    if (image.isNull()) {
        std::fprintf(stderr, "no picture for %s\n", qPrintable(name));
        ++g_failures;
        return;
    }
    if (image.width() > 820)
        image = image.scaledToWidth(820, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    const QString path = g_folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!image.save(path, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
        return;
    }
    std::printf("%s (%lld bytes)\n", qPrintable(path),
                static_cast<long long>(QFileInfo(path).size()));
}

// The web views draw through the compositor, so the screen is grabbed
// rather than the widget.
QImage shoot(QWidget *widget)
{
    return widget->screen()->grabWindow(widget->winId()).toImage();
}

// Runs a command that opens a modal dialog: once the dialog has settled it
// is grabbed and closed. A command that opens nothing (a feature not in this
// build) is reported and skipped.
void shootModal(const QString &name, const std::function<void()> &command, int settle = 1800)
{
    bool taken = false;
    QTimer::singleShot(settle, [&]() {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            save(shoot(modal), name);
            taken = true;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    command();
    if (!taken) {
        wait(settle + 200);
        if (!taken)
            std::printf("skipped %s: nothing opened\n", qPrintable(name));
    }
}

// The PDF section choice, shown by the export's own dialog.
class SectionShot : public CReportExport
{
public:
    using CReportExport::CReportExport;

protected:
    int execDialog(QDialog *dialog) override
    {
        dialog->show();
        wait(600);
        save(shoot(dialog), QStringLiteral("pdfsections"));
        return QDialog::Rejected;
    }
};

void enterSample(CZQNum *window)
{
    window->m_FullName->setText(QStringLiteral("John Michael Smith"));
    window->m_ShortName->setText(QStringLiteral("John Smith"));
    window->m_BirthDate->setDate(QDate(1985, 12, 29));
    window->m_PartnerFullName->setText(QStringLiteral("Mary Ann Brown"));
    window->m_PartnerShortName->setText(QStringLiteral("Mary Brown"));
    window->m_PartnerBirthDate->setDate(QDate(1987, 3, 15));
    window->m_PetName->setText(QStringLiteral("Buddy"));
    window->m_PetDate->setDate(QDate(2019, 6, 4));
    window->m_AnName->setText(QStringLiteral("Silver Birch Bakery"));
    window->OnCalcPetNum();
    window->OnCalcAnNum();
}

} // namespace

int main(int argc, char **argv)
{
    // The window stores its settings and recent people when it closes; they
    // go to a scratch home, never to the user's.
    QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const QString path = home.path() + QLatin1Char('/') + QLatin1String(name);
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
    qunsetenv("XDG_DOCUMENTS_DIR");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumaro_guideshots <output folder>\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_folder);

    // The shipped chart templates, as the program's start-up copies them.
    QDir().mkpath(getUserFolder());
    Startup::copyMissingTemplates(getImagesPath() + QStringLiteral("templates"), getUserFolder());

    auto *window = new CZQNum();
    window->resize(1100, 700);
    window->show();
    wait(1500);
    // Start-up without the welcome page; the settings say it was seen.
    window->m_Settings.hideStartDialog = true;
    window->OnFinishedSU();
    window->m_Settings.hideStartDialog = true;
    enterSample(window);
    // The person goes in the way a user enters one: the panel's closing
    // calculates and puts the name on the name button.
    window->OnNameSel();
    wait(1200);
    save(shoot(window), QStringLiteral("entry"));
    window->OnNameSel();
    wait(1000);

    struct Page
    {
        int page;
        const char *name;
    };
    const Page pages[] = {{MainWindowLayout::PageNumerology, "numerology"},
                          {MainWindowLayout::PageForecast, "forecast"},
                          {MainWindowLayout::PagePsychoMatrix, "psychomatrix"},
                          {MainWindowLayout::PageCompatibility, "compatibility"},
                          {MainWindowLayout::PageCelebrities, "celebrities"},
                          {MainWindowLayout::PagePet, "pet"},
                          {MainWindowLayout::PageChart, "chart"},
                          {MainWindowLayout::PageNameAdvisor, "advisor"}};
    for (const Page &page : pages) {
        window->setMode(page.page);
        wait(1500);
        save(shoot(window), QLatin1String(page.name));
    }

    shootModal(QStringLiteral("helppopup"), [window]() { window->MFitemCliked(0); });
    shootModal(QStringLiteral("reportmanager"), [window]() { window->OnReportManager(); });
    shootModal(QStringLiteral("settings"), [window]() { window->OnSettings(); });

    SectionShot sections(window);
    sections.askReportsList(false, window->m_Style->updateColor(qsGlobalDlgStyle));

    // The chart designer, once the Graphic Chart page lists a template.
    if (window->m_ChartList->count() > 0) {
        window->setMode(MainWindowLayout::PageChart);
        wait(1000);
        // Closing the designer asks about saving: the answer is no.
        CInfoDlgWin::setMessageBoxHandler(
            [](CInfoDlgWin::MessageKind, const QString &, const QString &, QWidget *) {
                return -1;
            });
        shootModal(
            QStringLiteral("designer"), [window]() { window->OnEditChart(); }, 2500);
    } else {
        std::printf("skipped designer: no chart template\n");
    }

    window->OnApplyStyle(1);
    window->setMode(MainWindowLayout::PageNumerology);
    wait(1500);
    save(shoot(window), QStringLiteral("scheme"));

    delete window;
    return g_failures == 0 ? 0 : 1;
}
