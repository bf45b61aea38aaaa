// Speed figures of the program on this machine: each measured several times
// and printed as median, fastest and slowest. Run on a real X display (the
// report views and pop-ups are shown), e.g. under xvfb-run. Arguments pick
// the figures by a part of their names ("pdf", "qr"). Like the tests it
// runs in a temporary home folder (tests/support). Nothing here passes or
// fails; the figures are for people comparing builds and machines.

#include "app/myqwebengineview.h"
#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "app/startup.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "engine/numerology.h"
#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "exportbench.h"
#include "layoutbench.h"
#include "symbols/qrencode.h"
#include "templatebench.h"
#include "trialbench.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <qrencode.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Milliseconds of each run; the bench stops waiting for a web view after
// this long and says so.
constexpr int kHangGuardMs = 120000;

// A typical chart caption: 52 characters of mixed text.
const char kQrText[] = "Lumaro Numerology: Life Path 7, Destiny 11, Soul 22.";

struct Figure
{
    double median = 0, fastest = 0, slowest = 0;
};

Figure summarise(std::vector<double> times)
{
    Figure f;
    if (times.empty())
        return f;
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    f.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    f.fastest = times.front();
    f.slowest = times.back();
    return f;
}

void print(const char *name, const Figure &f, int runs, const char *unit = "ms")
{
    std::printf("%-52s median %9.2f %s   fastest %9.2f   slowest %9.2f   (%d runs)\n", name,
                f.median, unit, f.fastest, f.slowest, runs);
    std::fflush(stdout);
}

// Runs step `runs` times; step returns false when a run failed, which ends
// the figure with a note instead of a number made of failures.
// The figures asked for on the command line (parts of their names); all
// when none is.
QStringList s_wanted;

bool wanted(const char *name)
{
    return s_wanted.isEmpty()
        || std::any_of(s_wanted.begin(), s_wanted.end(), [name](const QString &part) {
               return QString::fromUtf8(name).contains(part, Qt::CaseInsensitive);
           });
}

void measure(const char *name, int runs, const std::function<bool()> &step)
{
    if (!wanted(name))
        return;
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        if (!step()) {
            std::printf("%-52s failed in run %d\n", name, i + 1);
            return;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    print(name, summarise(times), runs);
}

// The dialog seam of the main window: help pop-ups are shown until their
// page has loaded; the PDF's section list is accepted as it stands.
bool s_lastPopupLoaded = false;

int benchDialog(QDialog *dialog)
{
    auto *view = dialog->findChild<MyQWebEngineView *>();
    if (!view)
        return QDialog::Accepted;
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    dialog->show();
    s_lastPopupLoaded = loaded.wait(kHangGuardMs) && loaded.constLast().value(0).toBool();
    return QDialog::Rejected;
}

QString s_pdfPath;

QString answerPdfPath(bool, const QString &, const QString &, const QString &)
{
    return s_pdfPath;
}

bool openNothing(const QUrl &)
{
    return true;
}

std::unique_ptr<CZQNum> makeWindow()
{
    CUpdateCheck::setAskFunction([](const QString &, const QString &) { return false; });
    auto w = std::make_unique<CZQNum>();
    w->m_StartTimer->stop();
    w->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    w->m_Settings.hideStartDialog = true;
    w->resize(1100, 760);
    w->show();
    (void)QTest::qWaitForWindowExposed(w.get(), kHangGuardMs);
    // A person with a partner: every reading and the compatibility.
    w->m_FullName->setText(QStringLiteral("Oliver James Whitfield"));
    w->m_ShortName->setText(QStringLiteral("Oliver Whitfield"));
    w->m_BirthDate->setDate(QDate(1981, 6, 14));
    w->m_PartnerFullName->setText(QStringLiteral("Clara Rose Dunmore"));
    w->m_PartnerShortName->setText(QStringLiteral("Clara Dunmore"));
    w->m_PartnerBirthDate->setDate(QDate(1979, 9, 23));
    w->OnUpdateListReport();
    return w;
}

// From the command to the last report view that has loaded its reading.
bool calculationShown(CZQNum *w)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (MyQWebEngineView *view :
         {w->m_NumerologyView, w->m_PMatrixView, w->m_CelView, w->m_PetView, w->m_CompView})
        spies.push_back(std::make_unique<QSignalSpy>(view, &QWebEngineView::loadFinished));
    w->OnCalcNum();
    return TestEnvironment::waitUntil(
        [&] {
            return std::all_of(spies.begin(), spies.end(), [](const auto &spy) {
                return !spy->isEmpty() && spy->constLast().value(0).toBool();
            });
        },
        kHangGuardMs);
}

void benchQr()
{
    CQR_Encode probe;
    QRcode *theirsProbe = QRcode_encodeString(kQrText, 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!probe.EncodeData(CQR_Encode::LevelM, 0, true, -1, kQrText) || !theirsProbe) {
        std::printf("QR encode failed\n");
        QRcode_free(theirsProbe);
        return;
    }
    // Both pick the smallest version, so both do the same amount of work.
    std::printf("QR of %d characters at level M: %d modules here, %d in libqrencode\n",
                int(sizeof(kQrText)) - 1, probe.m_symbolSize, theirsProbe->width);
    QRcode_free(theirsProbe);

    // Rounds of each encoder take turns, so other work on the machine slows
    // both alike instead of whichever happens to run at a busy moment.
    constexpr int rounds = 40;
    constexpr int perRound = 200;
    std::vector<double> ours, theirs;
    QElapsedTimer timer;
    for (int round = 0; round < rounds; ++round) {
        timer.start();
        for (int i = 0; i < perRound; ++i) {
            // One object per symbol, on the heap, as the page designer does it.
            std::unique_ptr<CQR_Encode> qr(new CQR_Encode);
            qr->EncodeData(CQR_Encode::LevelM, 0, true, -1, kQrText);
        }
        ours.push_back(timer.nsecsElapsed() / 1e3 / perRound);
        timer.start();
        for (int i = 0; i < perRound; ++i)
            QRcode_free(QRcode_encodeString(kQrText, 0, QR_ECLEVEL_M, QR_MODE_8, 1));
        theirs.push_back(timer.nsecsElapsed() / 1e3 / perRound);
    }
    const Figure a = summarise(ours), b = summarise(theirs);
    print("QR encode, CQR_Encode, per symbol", a, rounds, "us");
    print("QR encode, libqrencode, per symbol", b, rounds, "us");
    std::printf("%-52s %.2f (medians)\n", "QR encode, CQR_Encode / libqrencode",
                a.median / b.median);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && !std::strcmp(argv[1], "--template-child")) {
        QApplication app(argc, argv);
        return templateBenchChild(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && !std::strcmp(argv[1], "--template-renders")) {
        QApplication app(argc, argv);
        return writeTemplateRenders(QString::fromLocal8Bit(argv[2]));
    }
    Startup::prepareWebEngine();
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");

    QApplication app(argc, argv);
    s_wanted = app.arguments().mid(1);
    const QString problem = Startup::webEngineProblem();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    if (!QDir().mkpath(getUserFolder()))
        return 1;
    Startup::copyMissingTemplates(getResourcesPath() + QStringLiteral("images/templates"),
                                  getUserFolder());

    measure("readings database load", 20, [] {
        resetTextTables();
        return loadReadingsDatabase(readingsDatabasePath());
    });

    CNumerology numerology;
    numerology.preloadRes(getImagesPath());
    measure("one engine calculation (with its reading)", 50, [&numerology] {
        return numerology.calculate(QStringLiteral("MARY ELIZABETH ANN WILLIAMSON"),
                                    QStringLiteral("MARY ANN"), {}, {}, false, QDate(1985, 12, 29),
                                    QDate(2026, 3, 15), nullptr, 0, 0, false);
    });

    benchTemplates([](const QString &name) { return wanted(qPrintable(name)); });
    benchTrials([](const QString &name) { return wanted(qPrintable(name)); });
    benchChartExport([](const QString &name) { return wanted(qPrintable(name)); });
    benchLayoutFiles([](const QString &name) { return wanted(qPrintable(name)); });
    benchLayoutPictures([](const QString &name) { return wanted(qPrintable(name)); });
    benchLayoutSizes([](const QString &name) { return wanted(qPrintable(name)); });
    benchSectionTexts([](const QString &name) { return wanted(qPrintable(name)); });

    CZQNum::execDialog = benchDialog;
    CZQNum::askFileName = answerPdfPath;
    GenPDFfromHTML::urlOpener = openNothing;
    benchLayoutWork([](const QString &name) { return wanted(qPrintable(name)); });
    benchStartupWithLayouts([](const QString &name) { return wanted(qPrintable(name)); },
                            [] {
                                CUpdateCheck::setAskFunction(
                                    [](const QString &, const QString &) { return false; });
                                CZQNum window;
                                window.m_StartTimer->stop();
                            });

    auto w = makeWindow();
    const char *calculation = "calculation command until every report view loaded";
    if (!wanted(calculation))
        calculationShown(w.get()); // the figures below need a reading
    measure(calculation, 7, [&w] { return calculationShown(w.get()); });

    measure("chart render at 636 x 900", 20,
            [&w] { return !w->getChart(QSize(636, 900)).isNull(); });

    QTemporaryDir out;
    s_pdfPath = out.filePath(QStringLiteral("joined.pdf"));
    measure("joined PDF of a person with a partner", 7, [&w] {
        QFile::remove(s_pdfPath);
        w->OnExportPDFAll();
        return TestEnvironment::waitUntil([&w] { return !w->m_Export->reportInProgress(); },
                                          kHangGuardMs)
            && QFile::exists(s_pdfPath);
    });

    // The part of the PDF that is ours: the readings joined into one page
    // with every picture inline, before the web engine gets it.
    CReportExport::SectionFlags all;
    all.fill(true);
    measure("joining the readings for the PDF", 7, [&w, &all] {
        QImage canvas;
        return w->m_Export->renderChart(&canvas, nullptr)
            && !CReportExport::joinReports(w->m_Export->sources(), all, canvas).isEmpty();
    });

    int row = 0;
    measure("help pop-up opened until its page loaded", 7, [&w, &row] {
        s_lastPopupLoaded = false;
        w->MFitemCliked(row++ % 6);
        return s_lastPopupLoaded;
    });
    w.reset();

    if (wanted("QR encode"))
        benchQr();
    return 0;
}
