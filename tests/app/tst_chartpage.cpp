// The Graphic Chart page and the export commands of the main window, with a
// calculated person: the layout list, when the chart is rendered, the
// picture area, Edit, New and Delete; every export command, the joined PDF,
// the saved reading and the saved chart.

#include "app/chartrender.h"
#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "designer/calcnumcontainer.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "engine/apppaths.h"
#include "style/infodlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What the replaced dialogs, boxes, renderer, designer and URL handler saw.
int renders = 0;
QStringList seen;
QString fileAnswer;
QString designerSaves;
QStringList designerRemoves;
int askAnswer = -1;
QStringList untick;
QList<QUrl> opened;
QString (*realDesigner)(CZQNum *, const QString &) = nullptr;

QImage countRender(const QString &path, const calcNumContainer &people, const QSize &size,
                   CAppStyle *style, QString *error)
{
    ++renders;
    return renderChartTemplate(path, people, size, style, error);
}

// The designer as a test plays it: removes files, then saves a template.
QString playDesigner(CZQNum *, const QString &templatePath)
{
    seen << QStringLiteral("designer|") + QFileInfo(templatePath).fileName();
    for (const QString &name : qAsConst(designerRemoves))
        QFile::remove(getUserFolder() + QLatin1Char('/') + name);
    if (designerSaves.isEmpty())
        return QString();
    const QString path = getUserFolder() + QLatin1Char('/') + designerSaves;
    QFile::copy(getUserFolder() + QStringLiteral("/Compatibility.lnr"), path);
    return path;
}

QString askFile(bool, const QString &title, const QString &, const QString &filter)
{
    seen << title + QLatin1Char('|') + filter;
    return fileAnswer;
}

// The sections dialog is accepted with the listed boxes unticked.
int runSections(QDialog *dialog)
{
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
        box->setChecked(!untick.contains(box->text().trimmed()));
    return QDialog::Accepted;
}

int ask(CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *)
{
    seen << title + QLatin1Char('|') + text;
    return askAnswer;
}

bool open(const QUrl &url)
{
    opened << url;
    return true;
}

void critical(QWidget *, const QString &title, const QString &text)
{
    seen << title + QLatin1Char('|') + text;
}

// The user folder with these shipped templates, and other files by name.
void userFiles(const QStringList &names)
{
    const QString user = getUserFolder();
    QDir(user).removeRecursively();
    QVERIFY(QDir().mkpath(user));
    for (const QString &name : names) {
        if (!QFile::copy(getImagesPath() + "templates/" + name, user + '/' + name)) {
            QFile file(user + '/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("no chart template") > 0);
        }
    }
}

QStringList listed(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

std::unique_ptr<CZQNum> makeWindow(int page = MainWindowLayout::PageChart)
{
    auto w = std::make_unique<CZQNum>();
    w->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    w->resize(1100, 760);
    w->m_FullName->setText(QStringLiteral("Oliver James Whitfield"));
    w->m_ShortName->setText(QStringLiteral("Oliver Whitfield"));
    w->m_BirthDate->setDate(QDate(1975, 2, 28));
    w->m_PartnerFullName->setText(QStringLiteral("Clara Rose Dunmore"));
    w->m_PartnerShortName->setText(QStringLiteral("Clara Dunmore"));
    w->m_PartnerBirthDate->setDate(QDate(1979, 9, 23));
    w->OnCalcNum();
    w->OnUpdateListReport();
    w->setMode(page);
    renders = 0;
    return w;
}

bool waitForPdf(CZQNum *w)
{
    QElapsedTimer timer;
    timer.start();
    while (w->m_Export->reportInProgress() && timer.elapsed() < 60000)
        QTest::qWait(20);
    return !w->m_Export->reportInProgress();
}

QString pdfInfo(const QString &pdf, const QString &key)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
    const QRegularExpression line('^' + key + QStringLiteral(":\\s*(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromLocal8Bit(process.readAll())).captured(1).trimmed();
}

QStringList temporaryReports()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("report*.html")});
}

} // namespace

class TestChartPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void layoutList();
    void designerCommands_data();
    void designerCommands();
    void realDesignerWindow_data();
    void realDesignerWindow();
    void deleteAsks_data();
    void deleteAsks();
    void boardGeometry_data();
    void boardGeometry();
    void unreadableLayoutShowsWhy();
    void exportCommands_data();
    void exportCommands();
    void joinedPdf_data();
    void joinedPdf();
    void saveReport_data();
    void saveReport();
    void closingCancelsPdf();
    void joinedPdfSpeed();
    void screenshots();
};

void TestChartPage::initTestCase()
{
    CZQNum::renderChart = countRender;
    realDesigner = CZQNum::chartDesigner;
    CZQNum::chartDesigner = playDesigner;
    CZQNum::askFileName = askFile;
    CZQNum::execDialog = runSections;
    CInfoDlgWin::setMessageBoxHandler(ask);
    GenPDFfromHTML::urlOpener = open;
    CReportExport::criticalBox = critical;
}

void TestChartPage::init()
{
    seen.clear();
    fileAnswer.clear();
    designerSaves.clear();
    designerRemoves.clear();
    untick.clear();
    opened.clear();
    userFiles({"Compatibility.lnr", "Name Card.lnr", "Numerology Chart.lnr"});
}

// "Star.lnr" is listed as "Star", by name ignoring case, with its path;
// filling renders nothing, choosing another entry renders once.
void TestChartPage::layoutList()
{
    userFiles({"Star.lnr", "alpha.lnr", "Beta.lnr", "notes.txt"});
    auto w = makeWindow();
    w->OnUpdateListReport();
    QCOMPARE(listed(w->m_ChartList), (QStringList {"alpha", "Beta", "Star"}));
    QCOMPARE(w->m_ChartList->itemData(2).toString(), getUserFolder() + "/Star.lnr");
    QCOMPARE(renders, 0);
    w->m_ChartList->setCurrentIndex(2);
    QCOMPARE(renders, 1);
}

void TestChartPage::designerCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("saves");
    QTest::addColumn<QStringList>("removes");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("rendered");

    // Numerology Chart, the third entry, is chosen before.
    QTest::newRow("edit, saved") << "Edit"
                                 << "" << QStringList() << "Numerology Chart" << 1;
    QTest::newRow("edit, saved as") << "Edit"
                                    << "Zodiac.lnr" << QStringList() << "Zodiac" << 1;
    QTest::newRow("edit, list shorter")
        << "Edit"
        << "" << QStringList {"Numerology Chart.lnr"} << "Compatibility" << 0;
    QTest::newRow("new, saved") << "New"
                                << "Aurora.lnr" << QStringList() << "Aurora" << 1;
    QTest::newRow("new, cancelled") << "New"
                                    << "" << QStringList() << "Numerology Chart" << 1;
}

// After the designer the list is read again and the saved template, else
// the entry chosen before, is shown with one rendering.
void TestChartPage::designerCommands()
{
    QFETCH(QString, button);
    QFETCH(QString, saves);
    QFETCH(QStringList, removes);
    QFETCH(QString, selected);
    QFETCH(int, rendered);

    auto w = makeWindow();
    w->m_ChartList->setCurrentIndex(2);
    renders = 0;
    designerSaves = saves;
    designerRemoves = removes;
    (button == QLatin1String("Edit") ? w->m_ChartEdit : w->m_ChartNew)->click();
    QCOMPARE(seen,
             QStringList {button == QLatin1String("Edit") ? "designer|Numerology Chart.lnr"
                                                          : "designer|"});
    QCOMPARE(w->m_ChartList->currentText(), selected);
    QCOMPARE(renders, rendered);
}

void TestChartPage::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("yes") << 0 << QStringList {"Beta.lnr", "notes.txt", "Star.lnr.bak"};
    QTest::newRow("no") << -1 << QStringList {"Beta.lnr", "notes.txt", "Star.lnr", "Star.lnr.bak"};
}

// The question names the file without its folder; only Yes removes it, and
// nothing else goes with it. An empty list asks nothing.
void TestChartPage::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    userFiles({"Beta.lnr", "Star.lnr", "notes.txt", "Star.lnr.bak"});
    auto w = makeWindow();
    w->m_ChartList->setCurrentIndex(1);
    askAnswer = answer;
    w->m_ChartDelete->click();
    QCOMPARE(seen, QStringList {"Question|Do you want to remove \"Star.lnr\"?"});
    QCOMPARE(QDir(getUserFolder()).entryList(QDir::Files), left);
    QCOMPARE(w->m_ChartList->count(), left.size() - 2);

    userFiles({});
    w->OnUpdateListReport();
    w->m_ChartDelete->click();
    QCOMPARE(seen.size(), 1);
}

void TestChartPage::boardGeometry_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<QRect>("target");
    QTest::newRow("wide") << QSize(1000, 500) << QSize(400, 300) << QRect(-1, 49, 402, 202);
    QTest::newRow("tall") << QSize(100, 400) << QSize(400, 300) << QRect(161, -1, 77, 302);
    QTest::newRow("small") << QSize(50, 50) << QSize(401, 300) << QRect(49, -1, 302, 302);
}

// The picture is fitted, centred and one pixel larger on every side; the
// page shows around it.
void TestChartPage::boardGeometry()
{
    QFETCH(QSize, image);
    QFETCH(QSize, widget);
    QFETCH(QRect, target);
    QCOMPARE(CPainterBoard::targetRect(image, widget), target);
    CPainterBoard board;
    board.resize(widget);
    board.m_Image = QImage(image, QImage::Format_RGB32);
    board.m_Image.fill(Qt::red);
    const QImage shot = board.grab().toImage();
    QCOMPARE(shot.pixelColor(target.center()), QColor(Qt::red));
    QVERIFY(shot.pixelColor(target.left() - 1, target.top() - 1) != QColor(Qt::red));
}

// A layout that cannot be read shows why instead of an empty picture; no
// layout at all shows nothing.
void TestChartPage::unreadableLayoutShowsWhy()
{
    userFiles({"Broken.lnr"});
    auto w = makeWindow();
    w->repaintChart();
    QVERIFY(w->m_ChartBoard->m_Image.isNull());
    QVERIFY(w->m_ChartBoard->m_Message.contains(QLatin1String("\"Broken\"")));
    userFiles({});
    w->OnUpdateListReport();
    w->repaintChart();
    QVERIFY(w->m_ChartBoard->m_Message.isEmpty());
}

void TestChartPage::exportCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("asked");
    const QString html = "Save to HTML|HTML Files (*.html)";
    const QString pdf = "Save to PDF|PDF Files (*.pdf)";
    QTest::newRow("Save Report") << "Save Report" << 0 << html;
    QTest::newRow("save button") << "save" << 1 << html;
    QTest::newRow("Save Report, chart") << "Save Report" << 5 << "Save to PNG|PNG Files (*.png)";
    QTest::newRow("Save All Reports to PDF") << "Save All Reports to PDF" << 0 << pdf;
    QTest::newRow("Print") << "Print" << 0 << pdf;
    QTest::newRow("Ctrl+P") << "Ctrl+P" << 3 << pdf;
    QTest::newRow("print button") << "print" << 5 << pdf;
}

void TestChartPage::exportCommands()
{
    QFETCH(QString, command);
    QFETCH(int, page);
    QFETCH(QString, asked);
    auto w = makeWindow(page);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    if (command == QLatin1String("Ctrl+P"))
        QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
    else if (command == QLatin1String("save") || command == QLatin1String("print"))
        (command == QLatin1String("save") ? w->m_SaveHtmlButton : w->m_PrintButton)->click();
    for (QAction *action : w->m_Menu->actions())
        if (action->text() == command)
            action->trigger();
    QCOMPARE(seen, QStringList {asked});
}

void TestChartPage::joinedPdf_data()
{
    QTest::addColumn<QStringList>("unticked");
    QTest::addColumn<QStringList>("templates");
    const QStringList chart {"Numerology Chart.lnr"};
    QTest::newRow("everything") << QStringList() << chart;
    QTest::newRow("the chart alone")
        << QStringList {"Western Numerology", "Psychomatrix", "Compatibility", "Celebrities"}
        << chart;
    QTest::newRow("no chart layout") << QStringList() << QStringList();
    QTest::newRow("chart unticked") << QStringList {"Graphic Chart"} << chart;
}

// The joined report of the person becomes an A4 PDF, opened once, its
// temporary HTML gone; each section starts a page. Without a chart layout
// or with the chart unticked the readings still make their PDF.
void TestChartPage::joinedPdf()
{
    QFETCH(QStringList, unticked);
    QFETCH(QStringList, templates);
    userFiles(templates);
    QTemporaryDir dir;
    const QStringList before = temporaryReports();
    auto w = makeWindow();
    untick = unticked;
    fileAnswer = dir.filePath(QStringLiteral("Oliver"));
    w->OnExportPDFAll();
    QFile html(w->m_Export->currentJob()->htmlPath());
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray report = html.readAll();
    const int breaks = report.count("<p style=\"page-break-after: always;  \"></p>");
    const bool chart = report.contains("<img align=\"middle\"");
    QCOMPARE(chart, !templates.isEmpty() && !unticked.contains("Graphic Chart"));

    QVERIFY(waitForPdf(w.get()));
    const QString pdf = fileAnswer + QStringLiteral(".pdf");
    QCOMPARE(opened, QList<QUrl> {QUrl::fromLocalFile(pdf)});
    QCOMPARE(seen, QStringList {"Save to PDF|PDF Files (*.pdf)"}); // and no error box
    QCOMPARE(temporaryReports(), before);
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-");
    QVERIFY(pdfInfo(pdf, QStringLiteral("Page size")).contains(QLatin1String("A4")));
    const int pages = pdfInfo(pdf, QStringLiteral("Pages")).toInt();
    // The readings run over several pages each; the chart alone is one.
    QCOMPARE(breaks, unticked.size() == 4 ? 0 : 4);
    QVERIFY(unticked.size() == 4 ? pages == 1 : pages > breaks);
}

void TestChartPage::saveReport_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("written");
    QTest::newRow("reading") << 0 << "reading.html";
    QTest::newRow("chart") << 5 << "reading.png";
}

// "Save Report" writes the page's reading with its pictures inside, or the
// chart at full resolution.
void TestChartPage::saveReport()
{
    QFETCH(int, page);
    QFETCH(QString, written);
    QTemporaryDir dir;
    auto w = makeWindow(page);
    fileAnswer = dir.filePath(QStringLiteral("reading"));
    w->OnExportHTML();
    if (page == MainWindowLayout::PageChart) {
        const QImage chart(dir.filePath(written));
        QCOMPARE(chart.size(), QSize(1258 * 4, 1780 * 4));
        QCOMPARE(chart.pixelColor(8, 8), QColor(96, 30, 56)); // Compatibility's band
        return;
    }
    QFile file(dir.filePath(written));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QLatin1String("OLIVER JAMES WHITFIELD"), Qt::CaseInsensitive));
    QVERIFY(html.contains(QLatin1String("<img src=\"data:image/")));
    QVERIFY(!html.contains(QLatin1String("file:///")));
}

// Closing the window while its PDF is being made ends the job: nothing is
// opened or written afterwards and the temporary report goes too.
void TestChartPage::closingCancelsPdf()
{
    QTemporaryDir dir;
    const QStringList before = temporaryReports();
    auto w = makeWindow();
    fileAnswer = dir.filePath(QStringLiteral("closed.pdf"));
    w->OnExportPDFAll();
    QVERIFY(w->m_Export->reportInProgress());
    w.reset();
    QTest::qWait(3000);
    QVERIFY(opened.isEmpty());
    QVERIFY(!QFile::exists(fileAnswer));
    QCOMPARE(temporaryReports(), before);
}

// From the command to the opened file; goal under a second.
void TestChartPage::joinedPdfSpeed()
{
    QTemporaryDir dir;
    auto w = makeWindow();
    fileAnswer = dir.filePath(QStringLiteral("speed.pdf"));
    QBENCHMARK
    {
        w->OnExportPDFAll();
        QVERIFY(waitForPdf(w.get()));
    }
    QVERIFY(QFile::exists(fileAnswer));
}

void TestChartPage::screenshots()
{
    const QString folder = qEnvironmentVariable("LUMARO_SHOTS");
    if (folder.isEmpty())
        QSKIP("set LUMARO_SHOTS to a folder to take screenshots");
    QDir().mkpath(folder);
    userFiles(QDir(getImagesPath() + "templates").entryList({"*.lnr"}));
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->OnFinishedSU();
    w->setMode(MainWindowLayout::PageChart);
    for (int i = 0; i < w->m_ChartList->count(); ++i) {
        w->m_ChartList->setCurrentIndex(i);
        QTest::qWait(800);
        w->screen()
            ->grabWindow(w->winId())
            .save(folder + "/chart-" + w->m_ChartList->currentText() + ".png");
    }
}

QTEST_MAIN(TestChartPage)
#include "tst_chartpage.moc"

void TestChartPage::realDesignerWindow_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("edit") << "Edit"
                          << QStringList {"Numerology Chart.lnr|1 page", "Warning|Save changes?"};
    QTest::newRow("new") << "New"
                         << QStringList {"page dialog", "|1 page", "Warning|Save changes?"};
}

// The real designer: Edit opens it on the chosen template, New on an empty
// one after the page dialog; closing it without saving leaves the list as it
// was.
void TestChartPage::realDesignerWindow()
{
    QFETCH(QString, button);
    QFETCH(QStringList, expected);

    CZQNum::chartDesigner = realDesigner;
    CReportCreator::runDialog = [](QDialog *) {
        seen << QStringLiteral("page dialog");
    };
    auto w = makeWindow();
    w->m_ChartList->setCurrentIndex(2);
    seen.clear();
    askAnswer = -1;
    QTimer::singleShot(0, [] {
        auto *designer = qobject_cast<CReportCreatorWin *>(QApplication::activeModalWidget());
        if (!designer) {
            seen << QStringLiteral("no designer");
            return;
        }
        seen << QFileInfo(designer->creator->loadedFile).fileName() + QStringLiteral("|")
                + QString::number(designer->creator->editor->pageLists.size())
                + QStringLiteral(" page");
        designer->reject();
    });
    (button == QLatin1String("Edit") ? w->m_ChartEdit : w->m_ChartNew)->click();
    CZQNum::chartDesigner = playDesigner;

    QCOMPARE(seen, expected);
    QCOMPARE(w->m_ChartList->currentText(), QStringLiteral("Numerology Chart"));
}
