// Saving, exporting and printing from the main window with a calculated
// person: every command reaches the export, and the joined PDF, the HTML
// reading and the chart picture are written for real.

#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "app/updatecheck.h"
#include "app/zqnum.h"
#include "engine/apppaths.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QStringList fileDialogs;
QString fileAnswer;

QString answerFileDialog(bool save, const QString &title, const QString &, const QString &filter)
{
    fileDialogs << QString::number(save) + QLatin1Char('|') + title + QLatin1Char('|') + filter;
    return fileAnswer;
}

// The sections dialog is accepted with the boxes whose captions are listed
// here unticked.
QStringList untick;

int acceptSections(QDialog *dialog)
{
    for (QCheckBox *box : dialog->findChildren<QCheckBox *>())
        box->setChecked(!untick.contains(box->text().trimmed()));
    return QDialog::Accepted;
}

QList<QUrl> opened;

bool recordOpen(const QUrl &url)
{
    opened << url;
    return true;
}

QStringList criticals;

void recordCritical(QWidget *, const QString &title, const QString &text)
{
    criticals << title + QLatin1Char('|') + text;
}

QString pdfInfo(const QString &pdf, const QString &key)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    if (!process.waitForFinished(30000))
        return QString();
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const QRegularExpression line(QLatin1Char('^') + key + QStringLiteral(":\\s*(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(out).captured(1).trimmed();
}

QStringList reportFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("report*.html")});
}

void useShippedTemplates(const QStringList &names)
{
    const QString user = getUserFolder();
    QDir(user).removeRecursively();
    QVERIFY(QDir().mkpath(user));
    for (const QString &name : names)
        QVERIFY(QFile::copy(getImagesPath() + QStringLiteral("templates/") + name,
                            user + QLatin1Char('/') + name));
}

std::unique_ptr<CZQNum> makeWindow()
{
    auto window = std::make_unique<CZQNum>();
    window->m_UpdateCheck->setBaseUrl(QStringLiteral("http://127.0.0.1:9"));
    window->resize(1100, 760);
    window->m_FullName->setText(QStringLiteral("Oliver James Whitfield"));
    window->m_ShortName->setText(QStringLiteral("Oliver Whitfield"));
    window->m_BirthDate->setDate(QDate(1975, 2, 28));
    window->m_PartnerFullName->setText(QStringLiteral("Clara Rose Dunmore"));
    window->m_PartnerShortName->setText(QStringLiteral("Clara Dunmore"));
    window->m_PartnerBirthDate->setDate(QDate(1979, 9, 23));
    window->OnCalcNum();
    window->OnUpdateListReport();
    return window;
}

// Waits for the running PDF job of the window to end.
bool waitForPdf(CZQNum *window)
{
    QElapsedTimer timer;
    timer.start();
    while (window->m_Export->reportInProgress() && timer.elapsed() < 60000)
        QTest::qWait(20);
    return !window->m_Export->reportInProgress();
}

} // namespace

class TestWindowExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void commandsReachExport_data();
    void commandsReachExport();
    void joinedPdf_data();
    void joinedPdf();
    void htmlOfCurrentPage();
    void chartAsPng();
    void closingCancelsPdf();
    void joinedPdfSpeed();
};

void TestWindowExport::initTestCase()
{
    CZQNum::askFileName = answerFileDialog;
    CZQNum::execDialog = acceptSections;
    GenPDFfromHTML::urlOpener = recordOpen;
    CReportExport::criticalBox = recordCritical;
}

void TestWindowExport::init()
{
    fileDialogs.clear();
    fileAnswer.clear();
    untick.clear();
    opened.clear();
    criticals.clear();
    useShippedTemplates({QStringLiteral("Numerology Chart.lnr")});
}

void TestWindowExport::commandsReachExport_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("asked");

    const QString html = QStringLiteral("1|Save to HTML|HTML Files (*.html)");
    const QString pdf = QStringLiteral("1|Save to PDF|PDF Files (*.pdf)");
    QTest::newRow("Save Report") << "Save Report" << 0 << html;
    QTest::newRow("save button") << "save button" << 1 << html;
    QTest::newRow("Save Report on the chart")
        << "Save Report" << 5 << "1|Save to PNG|PNG Files (*.png)";
    QTest::newRow("Save All Reports to PDF") << "Save All Reports to PDF" << 0 << pdf;
    QTest::newRow("Print") << "Print" << 0 << pdf;
    QTest::newRow("Ctrl+P") << "Ctrl+P" << 3 << pdf;
    QTest::newRow("print button") << "print button" << 5 << pdf;
}

void TestWindowExport::commandsReachExport()
{
    QFETCH(QString, command);
    QFETCH(int, page);
    QFETCH(QString, asked);

    auto window = makeWindow();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->setMode(page);
    if (command == QLatin1String("Ctrl+P")) {
        QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    } else if (command == QLatin1String("save button")) {
        window->m_SaveHtmlButton->click();
    } else if (command == QLatin1String("print button")) {
        window->m_PrintButton->click();
    } else {
        QAction *action = nullptr;
        for (QAction *a : window->m_Menu->actions())
            if (a->text() == command)
                action = a;
        QVERIFY(action);
        action->trigger();
    }
    QCOMPARE(fileDialogs, QStringList {asked});
    QVERIFY(criticals.isEmpty());
}

void TestWindowExport::joinedPdf_data()
{
    QTest::addColumn<QStringList>("unticked");
    QTest::addColumn<QStringList>("templates");
    QTest::addColumn<bool>("chart");

    const QStringList chart {"Numerology Chart.lnr"};
    QTest::newRow("everything") << QStringList() << chart << true;
    QTest::newRow("the chart alone")
        << QStringList {"Western Numerology", "Psychomatrix", "Compatibility", "Celebrities"}
        << chart << true;
    QTest::newRow("no chart layout") << QStringList() << QStringList() << false;
    QTest::newRow("chart unticked") << QStringList {"Graphic Chart"} << chart << false;
}

// The joined report of a calculated person becomes an A4 PDF, opened once,
// its temporary HTML gone. Each section starts a page; without a chart
// layout or with the chart unticked the readings still make their PDF.
void TestWindowExport::joinedPdf()
{
    QFETCH(QStringList, unticked);
    QFETCH(QStringList, templates);
    QFETCH(bool, chart);

    useShippedTemplates(templates);
    QTemporaryDir dir;
    auto window = makeWindow();
    untick = unticked;
    fileAnswer = dir.filePath(QStringLiteral("Oliver"));
    const QStringList before = reportFiles();

    window->OnExportPDFAll();
    QVERIFY(window->m_Export->reportInProgress());
    QFile html(window->m_Export->currentJob()->htmlPath());
    QVERIFY(html.open(QIODevice::ReadOnly));
    const QByteArray report = html.readAll();
    html.close();
    const int breaks = report.count("page-break-after: always;");
    QCOMPARE(report.contains("<img align=\"middle\""), chart);

    QVERIFY(waitForPdf(window.get()));
    const QString pdf = fileAnswer + QStringLiteral(".pdf");
    QCOMPARE(opened, QList<QUrl> {QUrl::fromLocalFile(pdf)});
    QVERIFY(criticals.isEmpty());
    QCOMPARE(reportFiles(), before);
    QFile written(pdf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(5), QByteArray("%PDF-"));
    QVERIFY(pdfInfo(pdf, QStringLiteral("Page size")).contains(QLatin1String("A4")));
    const int pages = pdfInfo(pdf, QStringLiteral("Pages")).toInt();
    if (unticked.size() == 4) {
        QCOMPARE(breaks, 0);
        QCOMPARE(pages, 1);
    } else {
        // The readings run over several pages each.
        QVERIFY2(breaks >= 3, qPrintable(QString::number(breaks)));
        QVERIFY2(pages >= breaks + (chart ? 1 : 0), qPrintable(QString::number(pages)));
    }
}

// "Save Report" writes the reading of the page with its pictures inside.
void TestWindowExport::htmlOfCurrentPage()
{
    QTemporaryDir dir;
    auto window = makeWindow();
    window->setMode(MainWindowLayout::PageNumerology);
    fileAnswer = dir.filePath(QStringLiteral("reading"));
    window->OnExportHTML();
    QFile file(fileAnswer + QStringLiteral(".html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QLatin1String("OLIVER JAMES WHITFIELD"), Qt::CaseInsensitive));
    QVERIFY(html.contains(QLatin1String("<img src=\"data:image/")));
    QVERIFY(!html.contains(QLatin1String("file:///")));
    QVERIFY(html.contains(QLatin1String("body table { line-height: 20px;  }</style></head>")));
}

// On the Graphic Chart page "Save Report" writes the chart at full resolution.
void TestWindowExport::chartAsPng()
{
    QTemporaryDir dir;
    auto window = makeWindow();
    window->setMode(MainWindowLayout::PageChart);
    fileAnswer = dir.filePath(QStringLiteral("chart"));
    window->OnExportHTML();
    const QImage chart(fileAnswer + QStringLiteral(".png"));
    QCOMPARE(chart.size(), QSize(629 * 2 * 4, 890 * 2 * 4));
    QCOMPARE(chart.pixelColor(10, 10), QColor(38, 40, 84));
}

// Closing the window while its PDF is being made ends the job: nothing is
// opened or written afterwards and the temporary report goes too.
void TestWindowExport::closingCancelsPdf()
{
    QTemporaryDir dir;
    const QStringList before = reportFiles();
    auto window = makeWindow();
    fileAnswer = dir.filePath(QStringLiteral("closed.pdf"));
    window->OnExportPDFAll();
    QVERIFY(window->m_Export->reportInProgress());
    window.reset();
    QTest::qWait(3000);
    QVERIFY(opened.isEmpty());
    QVERIFY(!QFile::exists(fileAnswer));
    QCOMPARE(reportFiles(), before);
}

// The joined PDF of a calculated person, from the command to the file:
// the goal is under a second.
void TestWindowExport::joinedPdfSpeed()
{
    QTemporaryDir dir;
    auto window = makeWindow();
    fileAnswer = dir.filePath(QStringLiteral("speed.pdf"));
    QBENCHMARK
    {
        window->OnExportPDFAll();
        QVERIFY(waitForPdf(window.get()));
    }
    QVERIFY(QFile::exists(fileAnswer));
}

QTEST_MAIN(TestWindowExport)
#include "tst_windowexport.moc"
