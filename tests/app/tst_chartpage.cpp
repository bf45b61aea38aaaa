// The Graphic Chart page and the export commands of the main window, with a
// calculated person: the layout list and its commands, the picture area,
// every export command, the joined PDF, the saved reading and chart.

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
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// What the replaced dialogs, boxes, renderer, designer and URL handler saw,
// and how they answer.
int renders = 0;
QStringList seen;
QList<QUrl> opened;
QString fileAnswer;
int askAnswer = -1;
QStringList untick;
QString designerSaves;
QStringList designerRemoves;
QString (*realDesigner)(CZQNum *, const QString &) = nullptr;

QString inUserFolder(const QString &name)
{
    return getUserFolder() + QLatin1Char('/') + name;
}

// The user folder holds these files: shipped templates by their name, any
// other name as a file that is no template.
void userFiles(const QStringList &names)
{
    QDir(getUserFolder()).removeRecursively();
    QVERIFY(QDir().mkpath(getUserFolder()));
    for (const QString &name : names) {
        QFile file(inUserFolder(name));
        if (!QFile::copy(getImagesPath() + "templates/" + name, file.fileName()))
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("no chart template") > 0);
    }
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
    void layoutCommands_data();
    void layoutCommands();
    void emptyList();
    void boardGeometry_data();
    void boardGeometry();
    void exportCommands_data();
    void exportCommands();
    void joinedPdf_data();
    void joinedPdf();
    void closingCancelsPdf();
    void joinedPdfSpeed();
    void screenshots();
};

void TestChartPage::initTestCase()
{
    CZQNum::renderChart = [](const QString &path, const calcNumContainer &people, const QSize &size,
                             CAppStyle *style, QString *error) {
        ++renders;
        return renderChartTemplate(path, people, size, style, error);
    };
    realDesigner = CZQNum::chartDesigner;
    CZQNum::askFileName = [](bool, const QString &title, const QString &, const QString &filter) {
        seen << title + QLatin1Char('|') + filter;
        return fileAnswer;
    };
    // The sections dialog is accepted with the listed boxes unticked.
    CZQNum::execDialog = [](QDialog *dialog) {
        for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
            box->setChecked(!untick.contains(box->text().trimmed()));
        return int(QDialog::Accepted);
    };
    CInfoDlgWin::setMessageBoxHandler(
        [](CInfoDlgWin::MessageKind, const QString &title, const QString &text, QWidget *) {
            seen << title + QLatin1Char('|') + text;
            return askAnswer;
        });
    CReportExport::criticalBox = [](QWidget *, const QString &title, const QString &text) {
        seen << title + QLatin1Char('|') + text;
    };
    CReportCreator::runDialog = [](QDialog *) {
        seen << QStringLiteral("page dialog");
    };
    GenPDFfromHTML::urlOpener = [](const QUrl &url) {
        opened << url;
        return true;
    };
}

void TestChartPage::init()
{
    seen.clear();
    opened.clear();
    fileAnswer.clear();
    untick.clear();
    userFiles({"Compatibility.lnr", "Name Card.lnr", "Numerology Chart.lnr"});
}

void TestChartPage::layoutCommands_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("saves"); // by the played designer; "real": the real one
    QTest::addColumn<QStringList>("removed"); // by the designer or by Delete
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("rendered");

    const QStringList edit {"designer|Numerology Chart.lnr"};
    const QStringList none;
    QTest::newRow("edit") << "Edit"
                          << "" << none << -1 << edit << "Numerology Chart" << 1;
    QTest::newRow("edit, saved as") << "Edit"
                                    << "Zodiac.lnr" << none << -1 << edit << "Zodiac" << 1;
    QTest::newRow("edit, list shorter")
        << "Edit"
        << "" << QStringList {"Numerology Chart.lnr", "Star.lnr"} << -1 << edit << "alpha" << 0;
    QTest::newRow("new, saved") << "New"
                                << "Aurora.lnr" << none << -1 << QStringList {"designer|"}
                                << "Aurora" << 1;
    QTest::newRow("new, cancelled")
        << "New"
        << "" << none << -1 << QStringList {"designer|"} << "Numerology Chart" << 1;
    QTest::newRow("real designer, edit")
        << "Edit"
        << "real" << none << -1
        << QStringList {"Numerology Chart.lnr|1 page", "Warning|Save changes?"}
        << "Numerology Chart" << 1;
    QTest::newRow("real designer, new")
        << "New"
        << "real" << none << -1 << QStringList {"page dialog", "|1 page", "Warning|Save changes?"}
        << "Numerology Chart" << 1;
    const QStringList question {"Question|Do you want to remove \"Numerology Chart.lnr\"?"};
    QTest::newRow("delete, yes") << "Delete"
                                 << "" << QStringList {"Numerology Chart.lnr"} << 0 << question
                                 << "alpha" << 1;
    QTest::newRow("delete, no") << "Delete"
                                << "" << none << -1 << question << "Numerology Chart" << 0;
}

// The list shows the user folder's layouts by name, ignoring case, and
// filling it renders nothing. After Edit or New the list is read again and
// the saved template, else the entry chosen before, is shown with one
// rendering; Delete removes the chosen file alone, and only after Yes.
void TestChartPage::layoutCommands()
{
    QFETCH(QString, button);
    QFETCH(QString, saves);
    QFETCH(QStringList, removed);
    QFETCH(int, answer);
    QFETCH(QStringList, asked);
    QFETCH(QString, selected);
    QFETCH(int, rendered);

    QStringList files {"alpha.lnr", "Compatibility.lnr", "Numerology Chart.lnr",
                       "notes.txt", "Star.lnr",          "Star.lnr.bak"};
    userFiles(files);
    auto w = makeWindow();
    // A layout that cannot be read shows why instead of an empty picture.
    QVERIFY(w->m_ChartBoard->m_Message.contains(QLatin1String("\"alpha\"")));
    w->OnUpdateListReport();
    QCOMPARE(renders, 0);
    QStringList listed;
    for (int i = 0; i < w->m_ChartList->count(); ++i)
        listed << w->m_ChartList->itemText(i);
    QCOMPARE(listed, (QStringList {"alpha", "Compatibility", "Numerology Chart", "Star"}));
    QCOMPARE(w->m_ChartList->itemData(3).toString(), inUserFolder("Star.lnr"));
    w->m_ChartList->setCurrentIndex(2);
    QCOMPARE(renders, 1);

    renders = 0;
    askAnswer = answer;
    designerSaves = saves;
    designerRemoves = removed;
    CZQNum::chartDesigner = [](CZQNum *, const QString &path) {
        seen << QStringLiteral("designer|") + QFileInfo(path).fileName();
        for (const QString &name : qAsConst(designerRemoves))
            QFile::remove(inUserFolder(name));
        if (designerSaves.isEmpty())
            return QString();
        QFile::copy(inUserFolder(QStringLiteral("Compatibility.lnr")), inUserFolder(designerSaves));
        return inUserFolder(designerSaves);
    };
    if (saves == QLatin1String("real")) {
        CZQNum::chartDesigner = realDesigner;
        QTimer::singleShot(0, [] {
            auto *designer = qobject_cast<CReportCreatorWin *>(QApplication::activeModalWidget());
            QVERIFY(designer);
            seen << QFileInfo(designer->creator->loadedFile).fileName() + QLatin1Char('|')
                    + QString::number(designer->creator->editor->pageLists.size())
                    + QStringLiteral(" page");
            designer->reject();
        });
    }
    if (button == QLatin1String("Edit"))
        w->m_ChartEdit->click();
    else
        (button == QLatin1String("New") ? w->m_ChartNew : w->m_ChartDelete)->click();

    QCOMPARE(seen, asked);
    QCOMPARE(w->m_ChartList->currentText(), selected);
    QCOMPARE(renders, rendered);
    for (const QString &name : removed)
        files.removeOne(name);
    if (saves.endsWith(QLatin1String(".lnr")))
        files << saves;
    files.sort(Qt::CaseInsensitive);
    QCOMPARE(QDir(getUserFolder()).entryList(QDir::Files), files);
}

// Without layouts the page shows nothing and its commands ask nothing.
void TestChartPage::emptyList()
{
    userFiles({});
    auto w = makeWindow();
    w->m_ChartEdit->click();
    w->m_ChartDelete->click();
    QVERIFY(seen.isEmpty());
    QVERIFY(w->m_ChartBoard->m_Image.isNull() && w->m_ChartBoard->m_Message.isEmpty());
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

void TestChartPage::exportCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("written"); // when the dialog answers "reading"
    const QString html = "Save to HTML|HTML Files (*.html)";
    const QString pdf = "Save to PDF|PDF Files (*.pdf)";
    QTest::newRow("Save Report") << "Save Report" << 0 << html << "reading.html";
    QTest::newRow("save button") << "save" << 1 << html << "";
    QTest::newRow("Save Report, chart") << "Save Report" << 5 << "Save to PNG|PNG Files (*.png)"
                                        << "reading.png";
    QTest::newRow("Save All Reports to PDF") << "Save All Reports to PDF" << 0 << pdf << "";
    QTest::newRow("Print") << "Print" << 0 << pdf << "";
    QTest::newRow("Ctrl+P") << "Ctrl+P" << 3 << pdf << "";
    QTest::newRow("print button") << "print" << 5 << pdf << "";
}

// Every command reaches the exporter. "Save Report" writes the page's
// reading with its pictures inside, or the chart at full resolution.
void TestChartPage::exportCommands()
{
    QFETCH(QString, command);
    QFETCH(int, page);
    QFETCH(QString, asked);
    QFETCH(QString, written);
    QTemporaryDir dir;
    if (!written.isEmpty())
        fileAnswer = dir.filePath(QStringLiteral("reading"));
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

    if (written.endsWith(QLatin1String(".png"))) {
        const QImage chart(dir.filePath(written));
        QCOMPARE(chart.size(), QSize(1258 * 4, 1780 * 4));
        QCOMPARE(chart.pixelColor(8, 8), QColor(96, 30, 56)); // Compatibility's band
    } else if (!written.isEmpty()) {
        QFile file(dir.filePath(written));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.contains(QLatin1String("OLIVER JAMES WHITFIELD"), Qt::CaseInsensitive));
        QVERIFY(html.contains(QLatin1String("<img src=\"data:image/")));
        QVERIFY(!html.contains(QLatin1String("file:///")));
    }
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
