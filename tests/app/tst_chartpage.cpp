// The Graphic Chart page and the export commands of the main window, with a
// calculated person: the layout list and its commands, the picture area,
// every export command, the joined PDF, the saved reading and chart.

#include "app/chartrender.h"
#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "base/apppaths.h"
#include "designer/calcnumcontainer.h"
#include "designer/reportcreator.h"
#include "designer/reportpe.h"
#include "engine/numerology.h"
#include "filetrial/filetrial.h"
#include "filetrial/trialcache.h"
#include "style/appstyle.h"
#include "style/infodlg.h"
#include "testenvironment.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

// What the replaced dialogs, boxes, renderer, designer and URL handler saw,
// and how they answer.
int renders = 0;
QStringList seen;
QString fileAnswer;
int askAnswer = -1;
QStringList untick;
QStringList designerSteps;
QString (*realDesigner)(CZQNum *, const QString &) = nullptr;
QString (*realFileQuestion)(bool, const QString &, const QString &, const QString &) = nullptr;

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

// Answers the real save dialog as a user does: types the name into its
// file-name box and accepts. A question the dialog then asks itself is
// recorded and answered Yes.
void typeIntoSaveDialog(const QString &name, int tries = 400)
{
    QTimer::singleShot(50, [name, tries] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *box = qobject_cast<QMessageBox *>(modal);
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (box) {
            seen << QStringLiteral("dialog|") + box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (dialog && !name.isEmpty()) {
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(name);
            typeIntoSaveDialog(QString(), tries); // the dialog's own question
            static_cast<QDialog *>(dialog)->accept();
        } else if (tries > 0 && (dialog || !name.isEmpty())) {
            typeIntoSaveDialog(name, tries - 1);
        }
    });
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

// Printing some fifty pages is the longest step of the suite; beside a
// build it has taken more than a minute.
bool waitForPdf(CZQNum *w)
{
    return TestEnvironment::waitUntil([w] { return !w->m_Export->reportInProgress(); },
                                      2 * TestEnvironment::WaitMs);
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
    void boardGeometry_data();
    void boardGeometry();
    void chartPeople_data();
    void chartPeople();
    void messageColour_data();
    void messageColour();
    void exportCommands_data();
    void exportCommands();
    void joinedPdf_data();
    void joinedPdf();
    void savedNames_data();
    void savedNames();
    void refusedTemplate();
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
    realFileQuestion = CZQNum::askFileName;
    // The dialog a test can fill in; the platform's may be another program.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
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
        seen << QStringLiteral("opened|") + url.toLocalFile();
        return true;
    };
}

void TestChartPage::init()
{
    seen.clear();
    fileAnswer.clear();
    untick.clear();
    userFiles({"Compatibility.lnr", "Name Card.lnr", "Numerology Chart.lnr"});
}

void TestChartPage::layoutCommands_data()
{
    QTest::addColumn<QString>("steps"); // the button, then what the designer or the user does
    QTest::addColumn<QString>("outcome"); // asked / shown / renderings / files changed
    const QString ask = "Question|Do you want to remove \"Numerology Chart.lnr\"?";
    QTest::newRow("new, saved") << "New,+Aurora.lnr"
                                << "designer| / Aurora / 1 / +Aurora.lnr";
    QTest::newRow("edit, list shorter")
        << "Edit,-Numerology Chart.lnr,-Star.lnr"
        << "designer|Numerology Chart.lnr / alpha / 0 / -Numerology Chart.lnr / -Star.lnr";
    QTest::newRow("real designer, edit") << "Edit,real"
                                         << "Numerology Chart.lnr|1 page / Numerology Chart / 1";
    QTest::newRow("real designer, new")
        << "New,real"
        << "page dialog / |1 page / Warning|Save changes? / Numerology Chart / 1";
    QTest::newRow("delete, yes") << "Delete,yes" << ask + " / alpha / 0 / -Numerology Chart.lnr";
    QTest::newRow("delete, no") << "Delete,no" << ask + " / Numerology Chart / 0";
}

// The list shows the user folder's layouts by name, ignoring case, and
// filling it renders nothing. After Edit or New the list is read again and
// the saved template, else the entry chosen before, is shown with one
// rendering; Delete removes the chosen file alone, and only after Yes. The
// real designer opens on the chosen template, or after the page dialog on an
// empty one, and closing it unsaved leaves the list as it was; only the new
// one asks whether to save.
void TestChartPage::layoutCommands()
{
    QFETCH(QString, steps);
    QFETCH(QString, outcome);
    const QStringList files {"alpha.lnr", "Compatibility.lnr", "Numerology Chart.lnr",
                             "notes.txt", "Star.lnr",          "Star.lnr.bak"};
    userFiles(files);
    auto w = makeWindow();
    // A layout that cannot be read shows why instead of an empty picture.
    QVERIFY(w->m_ChartBoard->m_Message.contains(QLatin1String("\"alpha.lnr\"")));
    w->OnUpdateListReport();
    QCOMPARE(renders, 0);
    QStringList listed;
    for (int i = 0; i < w->m_ChartList->count(); ++i)
        listed << w->m_ChartList->itemText(i);
    QCOMPARE(listed, (QStringList {"alpha", "Compatibility", "Numerology Chart", "Star"}));
    w->m_ChartList->setCurrentIndex(2);
    QCOMPARE(renders, 1);

    renders = 0;
    designerSteps = steps.split(QLatin1Char(','));
    const QString button = designerSteps.takeFirst();
    askAnswer = designerSteps.contains(QStringLiteral("yes")) ? 0 : -1;
    CZQNum::chartDesigner = [](CZQNum *, const QString &path) {
        seen << QStringLiteral("designer|") + QFileInfo(path).fileName();
        QString saved;
        for (const QString &step : qAsConst(designerSteps)) {
            const QString file = inUserFolder(step.mid(1));
            if (step.startsWith(QLatin1Char('-')))
                QFile::remove(file);
            else if (step.startsWith(QLatin1Char('+'))
                     && QFile::copy(inUserFolder(QStringLiteral("Compatibility.lnr")), file))
                saved = file;
        }
        return saved;
    };
    if (designerSteps == QStringList {"real"}) {
        CZQNum::chartDesigner = realDesigner;
        QTimer::singleShot(0, [] {
            auto *window = qobject_cast<CReportCreatorWin *>(QApplication::activeModalWidget());
            QVERIFY(window);
            seen << QFileInfo(window->creator->loadedFile).fileName()
                    + QStringLiteral("|%1 page").arg(window->creator->editor->pageLists.size());
            window->reject();
        });
    }
    if (button == QLatin1String("Edit"))
        w->m_ChartEdit->click();
    else
        (button == QLatin1String("New") ? w->m_ChartNew : w->m_ChartDelete)->click();

    seen << w->m_ChartList->currentText() << QString::number(renders);
    const QStringList now = QDir(getUserFolder()).entryList(QDir::Files);
    for (const QString &name : files)
        if (!now.contains(name))
            seen << '-' + name;
    for (const QString &name : now)
        if (!files.contains(name))
            seen << '+' + name;
    QCOMPARE(seen.join(QStringLiteral(" / ")), outcome);
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

void TestChartPage::chartPeople_data()
{
    QTest::addColumn<QString>("cleared"); // the name fields emptied
    QTest::addColumn<QString>("shown"); // who the chart gets
    QTest::newRow("both") << ""
                          << "11";
    QTest::newRow("no partner") << "partner"
                                << "10";
    QTest::newRow("no person") << "person"
                               << "00";
}

// A chart shows only people entered: the empty partner form (whose date
// stays at its default) and a missing person give no numbers to draw.
void TestChartPage::chartPeople()
{
    QFETCH(QString, cleared);
    auto w = makeWindow();
    const bool partner = cleared == QLatin1String("partner");
    if (!cleared.isEmpty()) {
        (partner ? w->m_PartnerFullName : w->m_FullName)->clear();
        (partner ? w->m_PartnerShortName : w->m_ShortName)->clear();
    }
    w->OnCalcNum();
    const calcNumContainer p = w->chartPeople();
    QCOMPARE(bool(p.person), bool(p.personMatrix));
    QCOMPARE(bool(p.partner), bool(p.partnerMatrix));
    QTEST(QString::number(p.person != nullptr) + QString::number(p.partner != nullptr), "shown");
}

void TestChartPage::messageColour_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::newRow("Chocolate") << "Chocolate";
    QTest::newRow("Blue Sky") << "Blue Sky";
}

// Why a layout cannot be shown is written in the scheme's light text colour
// on the page's dark ground, in every scheme.
void TestChartPage::messageColour()
{
    QFETCH(QString, scheme);
    userFiles({"alpha.lnr"});
    auto w = makeWindow();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->OnFinishedSU();
    w->setMode(MainWindowLayout::PageChart);
    w->OnApplyStyle(w->m_Style->schemeNames.indexOf(scheme));
    QVERIFY(!w->m_ChartBoard->m_Message.isEmpty());
    QTest::qWait(800); // the panels glide away
    const QImage shot = w->screen()->grabWindow(w->winId()).toImage();
    const QRect board(w->m_ChartBoard->mapTo(w.get(), QPoint()), w->m_ChartBoard->size());
    int light = 0;
    for (int y = board.top(); y <= board.bottom(); ++y)
        for (int x = board.left(); x <= board.right(); ++x)
            light += qGray(shot.pixel(x, y)) > 150 ? 1 : 0;
    QVERIFY2(light > 100, qPrintable(QString::number(light)));
    if (!qEnvironmentVariableIsEmpty("LUMARO_SHOTS"))
        shot.save(qEnvironmentVariable("LUMARO_SHOTS") + "/chart-message-" + scheme + ".png");
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
    fileAnswer = written.isEmpty() ? QString() : dir.filePath(QStringLiteral("reading"));
    auto w = makeWindow(page);
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), TestEnvironment::WaitMs));
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
        const QByteArray html = file.readAll();
        QVERIFY(html.toUpper().contains("OLIVER JAMES WHITFIELD"));
        QVERIFY(html.contains("<img src=\"data:image/") && !html.contains("file:///"));
    }
}

void TestChartPage::joinedPdf_data()
{
    QTest::addColumn<QStringList>("unticked");
    QTest::addColumn<QStringList>("templates");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("leftOut"); // the box saying why the chart is not in the PDF
    const QStringList chart {"Numerology Chart.lnr"};
    QTest::newRow("everything") << QStringList() << chart << false << QString();
    QTest::newRow("the chart alone")
        << QStringList {"Western Numerology", "Psychomatrix", "Compatibility", "Celebrities"}
        << chart << false << QString();
    QTest::newRow("no chart layout") << QStringList() << QStringList() << false << QString();
    QTest::newRow("chart unticked") << QStringList {"Graphic Chart"} << chart << false << QString();
    QTest::newRow("window closed") << QStringList() << chart << true << QString();
    QTest::newRow("refused chart layout")
        << QStringList() << QStringList {"Broken.lnr"} << false
        << "Warning|The PDF report \"%1\" was saved without the chart.\n"
           "\"Broken.lnr\": reading the file: The file is not a chart template.";
    QTest::newRow("refused chart layout, unticked")
        << QStringList {"Graphic Chart"} << QStringList {"Broken.lnr"} << false << QString();
}

// The joined report of the person becomes an A4 PDF, opened once, its
// temporary HTML gone; each section starts a page. Without a chart layout
// (when the page shows nothing and asks nothing) or with the chart unticked
// the readings still make their PDF; a chosen layout that cannot be shown is
// named once the PDF is out. Closing the window ends the job: nothing is
// opened or written afterwards.
void TestChartPage::joinedPdf()
{
    QFETCH(QStringList, unticked);
    QFETCH(QStringList, templates);
    QFETCH(bool, closed);
    QFETCH(QString, leftOut);
    userFiles(templates);
    QTemporaryDir dir;
    auto w = makeWindow();
    if (templates.isEmpty()) {
        w->m_ChartEdit->click();
        w->m_ChartDelete->click();
        QVERIFY(w->m_ChartBoard->m_Image.isNull() && w->m_ChartBoard->m_Message.isEmpty());
    }
    untick = unticked;
    fileAnswer = dir.filePath(QStringLiteral("Oliver"));
    w->OnExportPDFAll();
    QFile html(w->m_Export->currentJob()->htmlPath());
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray report = html.readAll();
    const int breaks = report.count("<p style=\"page-break-after: always;  \"></p>");
    const bool chart = report.contains("<img align=\"middle\"");
    QCOMPARE(chart,
             !templates.isEmpty() && !templates.contains("Broken.lnr")
                 && !unticked.contains("Graphic Chart"));
    // The file dialog, the PDF opened, and after it the box naming a layout
    // left out; no error box.
    const auto shown = [&leftOut](const QString &pdf) {
        QStringList boxes {"Save to PDF|PDF Files (*.pdf)", "opened|" + pdf};
        return leftOut.isEmpty() ? boxes : boxes << leftOut.arg(pdf);
    };

    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    if (closed) {
        QVERIFY(w->m_Export->reportInProgress());
        w.reset();
        QTest::qWait(3000);
    } else {
        QVERIFY(waitForPdf(w.get()));
    }
    QVERIFY(!QApplication::overrideCursor());
    const QString pdf = fileAnswer + QStringLiteral(".pdf");
    if (closed)
        QCOMPARE(seen, shown(pdf).mid(0, 1));
    else
        QTRY_COMPARE(seen, shown(pdf));
    QVERIFY(!html.exists());
    QFile written(pdf);
    QCOMPARE(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-", !closed);
    if (closed)
        return;
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(pdfinfo.waitForFinished(30000));
    const QString info = QString::fromLocal8Bit(pdfinfo.readAll());
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Page size:.*A4"))));
    const int pages
        = QRegularExpression(QStringLiteral("Pages:\\s*(\\d+)")).match(info).captured(1).toInt();
    // The readings run over several pages each; the chart alone is one.
    QCOMPARE(breaks, unticked.size() == 4 ? 0 : 4);
    QVERIFY(unticked.size() == 4 ? pages == 1 : pages > breaks);

    // The next export loads into the page of the finished one.
    seen.clear();
    fileAnswer = dir.filePath(QStringLiteral("Oliver again"));
    w->OnExportPDFAll();
    QVERIFY(waitForPdf(w.get()));
    QTRY_COMPARE(seen, shown(fileAnswer + QStringLiteral(".pdf")));
    QFile again(fileAnswer + QStringLiteral(".pdf"));
    QVERIFY(again.open(QIODevice::ReadOnly) && again.read(5) == "%PDF-");
}

void TestChartPage::savedNames_data()
{
    QTest::addColumn<int>("page"); // -1: the joined PDF, -2: a people file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("existing"); // in Documents before
    QTest::addColumn<int>("answer"); // to the window's question, 0 Yes
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("written"); // empty: nothing
    const auto replace = [](const QString &name) {
        return "Question|\"" + name + "\" already exists.\r\nDo you want to replace it?";
    };
    QTest::newRow("chart") << 5 << "compcard" << QStringList {"compcard.num"} << -1 << ""
                           << "compcard.png";
    QTest::newRow("reading") << 0 << "numreport" << QStringList {"numreport.num"} << -1 << ""
                             << "numreport.html";
    QTest::newRow("joined PDF") << -1 << "allreports" << QStringList {"allreports.num"} << -1
                                << "opened|allreports.pdf"
                                << "allreports.pdf";
    QTest::newRow("report exists, No")
        << 0 << "numreport" << QStringList {"numreport.num", "numreport.html"} << -1
        << replace("numreport.html") << "";
    QTest::newRow("chart exists, Yes") << 5 << "compcard.png" << QStringList {"compcard.png"} << 0
                                       << replace("compcard.png") << "compcard.png";
    QTest::newRow("PDF exists, No") << -1 << "allreports" << QStringList {"allreports.pdf"} << -1
                                    << replace("allreports.pdf") << "";
    QTest::newRow("people file's name")
        << 0 << "victim.num" << QStringList {"victim.num"} << -1 << ""
        << "victim.num.html";
    QTest::newRow("appended name exists, No")
        << 0 << "victim.num" << QStringList {"victim.num", "victim.num.html"} << -1
        << replace("victim.num.html") << "";
    QTest::newRow("appended name exists, Yes")
        << 0 << "victim.num" << QStringList {"victim.num", "victim.num.html"} << 0
        << replace("victim.num.html") << "victim.num.html";
    QTest::newRow("people file exists, No")
        << -2 << "anna" << QStringList {"anna.num"} << -1 << replace("anna.num") << "";
    QTest::newRow("people file typed whole, Yes")
        << -2 << "anna.num" << QStringList {"anna.num", "anna.num.html"} << 0 << replace("anna.num")
        << "anna.num";
}

// A name typed into the real save dialog gets its format's suffix, and a
// file of another kind beside it is never replaced. The dialog asks nothing;
// the window asks about the file it will write, and replaces it only after
// Yes.
void TestChartPage::savedNames()
{
    QFETCH(int, page);
    QFETCH(QString, typed);
    QFETCH(QStringList, existing);
    QFETCH(QString, written);
    QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    for (const QString &name : documents.entryList(QDir::Files))
        QVERIFY(documents.remove(name));
    for (const QString &name : existing) {
        QFile file(documents.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("kept " + name.toUtf8()) > 0);
    }
    QFETCH(int, answer);
    askAnswer = answer;
    untick = QStringList {"Western Numerology", "Psychomatrix", "Compatibility", "Celebrities"};
    auto w = makeWindow(qMax(page, 0));
    CZQNum::askFileName = realFileQuestion;
    typeIntoSaveDialog(typed);
    if (page == -2)
        w->OnSaveFile();
    else
        page == -1 ? w->OnExportPDFAll() : w->OnExportHTML();
    CZQNum::askFileName = [](bool, const QString &, const QString &, const QString &) {
        return fileAnswer;
    };
    QVERIFY(page != -1 || waitForPdf(w.get()));
    QTEST(seen.join(QStringLiteral(" / ")).remove(documents.path() + QLatin1Char('/')), "asked");

    QStringList expected = existing;
    if (!written.isEmpty() && !expected.contains(written))
        expected << written;
    expected.sort();
    QCOMPARE(documents.entryList(QDir::Files), expected);
    for (const QString &name : expected) {
        QFile file(documents.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() == "kept " + name.toUtf8(), name != written);
    }
}

// A template the trial refuses is named in a box and not drawn, and the
// chart chosen before stays; its verdict is kept, so choosing it again
// names it again without another trial.
void TestChartPage::refusedTemplate()
{
    userFiles({"Numerology Chart.lnr"});
    QVERIFY(
        QFile::copy(TestEnvironment::dataPath("designer/golden.lnr"), inUserFolder("Heavy.lnr")));
    const QString runs = TestEnvironment::homePath() + "/trials.txt";
    FileTrial::Options &options = FileTrial::defaultOptions();
    const FileTrial::Options before = options;
    options.program = "/bin/sh";
    options.arguments
        = QStringList {"-c",
                       QString("echo run >> '%1'; echo 'step drawing page \"Page 1\" for export'; "
                               "echo 'refused It draws too slowly.'")
                           .arg(runs),
                       "child"};
    const auto message = std::exchange(CNumerology::s_criticalMessage,
                                       [](QWidget *, const QString &title, const QString &text) {
                                           seen << title + QLatin1Char('|') + text;
                                       });
    auto w = makeWindow();
    w->m_ChartList->setCurrentIndex(w->m_ChartList->findText("Numerology Chart"));
    QVERIFY(!w->m_ChartBoard->m_Image.isNull());
    const QString refusal
        = "Warning|\"Heavy.lnr\": drawing page \"Page 1\" for export: It draws too slowly.";
    for (int attempt = 1; attempt <= 2; ++attempt) {
        seen.clear();
        w->m_ChartList->setCurrentIndex(w->m_ChartList->findText("Heavy"));
        QCOMPARE(seen, QStringList {refusal});
        QCOMPARE(w->m_ChartList->currentText(), QString("Numerology Chart"));
        QVERIFY(!w->m_ChartBoard->m_Image.isNull());
    }
    QFile file(runs);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("run\n"));
    options = before;
    CNumerology::s_criticalMessage = message;
    // The stand-in's verdicts are no trial's.
    QDir(TrialCache::folder()).removeRecursively();
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
    QVERIFY(QTest::qWaitForWindowExposed(w.get(), TestEnvironment::WaitMs));
    w->OnFinishedSU();
    w->setMode(MainWindowLayout::PageChart);
    for (int i = 0; i < w->m_ChartList->count(); ++i) {
        w->m_ChartList->setCurrentIndex(i);
        QTest::qWait(800);
        w->screen()
            ->grabWindow(w->winId())
            .save(folder + "/chart-" + w->m_ChartList->currentText() + ".png");
    }
    // The two-person card without a partner.
    w->m_PartnerFullName->clear();
    w->m_PartnerShortName->clear();
    w->OnCalcNum();
    w->m_ChartList->setCurrentIndex(w->m_ChartList->findText("Compatibility Card"));
    w->repaintChart();
    QTest::qWait(800);
    w->screen()->grabWindow(w->winId()).save(folder + "/chart-Compatibility Card-no partner.png");

    // A template from elsewhere while it is being checked, then refused.
    QDir(TrialCache::folder()).removeRecursively();
    QVERIFY(
        QFile::copy(TestEnvironment::dataPath("designer/golden.lnr"), inUserFolder("Shared.lnr")));
    w->OnUpdateListReport();
    w->m_ChartList->setCurrentIndex(w->m_ChartList->findText("Numerology Chart"));
    FileTrial::Options &options = FileTrial::defaultOptions();
    const FileTrial::Options before = options;
    options.program = "/bin/sh";
    options.arguments
        = QStringList {"-c", "echo 'step drawing page \"Page 2\" for export'; sleep 3", "child"};
    options.totalMs = 1500;
    const auto grabScreen = [w = w.get()](const QString &path) {
        w->screen()->grabWindow(0).save(path);
    };
    QTimer::singleShot(800, [&] { grabScreen(folder + "/chart-checking.png"); });
    QTimer::singleShot(2500, [&] {
        grabScreen(folder + "/chart-refused.png");
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    w->m_ChartList->setCurrentIndex(w->m_ChartList->findText("Shared"));
    options = before;
    QDir(TrialCache::folder()).removeRecursively();
}

QTEST_MAIN(TestChartPage)
#include "tst_chartpage.moc"
