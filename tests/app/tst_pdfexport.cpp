#include "app/myqwebengineview.h"
#include "app/pdfexport.h"
#include "app/reportexport.h"
#include "base/apppaths.h"
#include "engine/reporttools.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest>

// The off-screen PDF job and the joined report printed through it. Each run
// loads a page into the web engine, so the cases are few and small.

namespace {

QList<QUrl> s_opened;

bool recordOpen(const QUrl &url)
{
    s_opened << url;
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What pdfinfo says about a PDF, e.g. "Pages" and "Page size".
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

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput())
                                          : QString();
}

// The pictures of a PDF, one "page num type width height ..." line each.
QString pdfPictures(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    return process.waitForFinished(30000) ? QString::fromLocal8Bit(process.readAllStandardOutput())
                                          : QString();
}

// One page of a PDF as a picture, at a low resolution.
QImage pdfPage(const QString &pdf, int page, const QString &folder)
{
    const QString stem = folder + QStringLiteral("/page");
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-f"),
                   QString::number(page), QStringLiteral("-l"), QString::number(page),
                   QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, stem});
    if (!process.waitForFinished(30000))
        return QImage();
    return QImage(stem + QStringLiteral(".png"));
}

int darkPixels(const QImage &image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    return dark;
}

class RecordingExport : public CReportExport
{
public:
    using CReportExport::CReportExport;

    QString answer;
    QStringList criticals;
    int dialogsRun = 0;

    QString getSaveFileName(const QString &, const QString &) override { return answer; }
    void showCritical(QWidget *, const QString &title, const QString &text) override
    {
        criticals << title + QLatin1Char('|') + text;
    }
    int execDialog(QDialog *) override
    {
        ++dialogsRun;
        return QDialog::Accepted;
    }
};

} // namespace

class tst_PdfExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void job_data();
    void job();
    void joinedReportToPdf();
    void viewShowsTheLastDocument_data();
    void viewShowsTheLastDocument();
    void scriptsDoNotRun_data();
    void scriptsDoNotRun();
    void pageLoadsNoOtherFile();
};

void tst_PdfExport::initTestCase()
{
    GenPDFfromHTML::urlOpener = &recordOpen;
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty(),
             "poppler-utils (pdfinfo, pdftoppm) is needed; see scripts/install-deps.sh");
}

void tst_PdfExport::init()
{
    s_opened.clear();
}

void tst_PdfExport::job_data()
{
    QTest::addColumn<bool>("htmlExists");
    QTest::addColumn<QString>("target"); // "ok", "old" (replaces a file), "unwritable"
    QTest::addColumn<bool>("success");

    QTest::newRow("written and opened") << true << "ok" << true;
    QTest::newRow("replaces an older file") << true << "old" << true;
    QTest::newRow("missing html") << false << "ok" << false;
    QTest::newRow("unwritable folder") << true << "unwritable" << false;
}

void tst_PdfExport::job()
{
    QFETCH(bool, htmlExists);
    QFETCH(QString, target);
    QFETCH(bool, success);

    QTemporaryDir dir;
    const QString html = dir.filePath(QStringLiteral("report.html"));
    if (htmlExists)
        QVERIFY(writeFile(html, "<html><body><h1>Life Path 7</h1><p>Seven.</p></body></html>"));
    QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    if (target == QLatin1String("old"))
        QVERIFY(writeFile(pdf, QByteArray(500000, 'x')));
    if (target == QLatin1String("unwritable")) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("file")), "x"));
        pdf = dir.filePath(QStringLiteral("file/out.pdf"));
    }

    GenPDFfromHTML job(html, pdf);
    QSignalSpy finished(&job, &GenPDFfromHTML::finished);
    job.run();
    QVERIFY(finished.wait(60000));
    QTest::qWait(50);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), success);
    QVERIFY(!QFile::exists(html));

    if (!success) {
        QVERIFY(s_opened.isEmpty());
        QVERIFY(target == QLatin1String("old") || !QFile::exists(pdf));
        return;
    }
    QCOMPARE(s_opened, QList<QUrl> {QUrl::fromLocalFile(pdf)});
    QVERIFY(readAll(pdf).startsWith("%PDF"));
    QVERIFY(pdfInfo(pdf, QStringLiteral("Page size")).contains(QLatin1String("A4")));
    QCOMPARE(pdfInfo(pdf, QStringLiteral("Pages")), QString("1"));
    // Only the finished PDF is left: no partial file beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"out.pdf"});
}

// Two readings and the chart become three pages; the chart is drawn on the
// last one. While the job runs a second export is refused.
void tst_PdfExport::joinedReportToPdf()
{
    QTemporaryDir dir;
    CReportTools numerology, pet, empty;
    numerology.reportHtml = QStringLiteral("<html><head><title>N</title></head><body>"
                                           "<h2>Life Path</h2><p>%1</p><img src=\"file:///")
                                .arg(QString(QStringLiteral("Seven ")).repeated(30))
        + TestEnvironment::dataPath(QStringLiteral("app/export/picture.png"))
        + QStringLiteral("\"/></body></html>");
    pet.reportHtml = QStringLiteral("<html><body><h2>Pet</h2><p>%1</p></body></html>")
                         .arg(QString(QStringLiteral("Loyal ")).repeated(30));
    CReportExport::Sources sources;
    sources.numerology = &numerology;
    sources.psychoMatrix = &empty;
    sources.pet = &pet;

    QImage chart(400, 560, QImage::Format_ARGB32);
    chart.fill(Qt::white);
    {
        QPainter painter(&chart);
        painter.fillRect(50, 50, 300, 460, Qt::black);
    }

    RecordingExport exporter(nullptr);
    exporter.setSources(sources);
    int renders = 0;
    exporter.renderChart = [&](QImage *canvas, QString *) {
        ++renders;
        *canvas = chart;
        return true;
    };
    const QString pdf = dir.filePath(QStringLiteral("all"));
    exporter.answer = pdf;
    exporter.exportPdfAll(false);
    QCOMPARE(exporter.dialogsRun, 1);
    QCOMPARE(renders, 1);
    QVERIFY(exporter.reportInProgress());
    QVERIFY(exporter.currentJob());
    const QString temporary = exporter.currentJob()->htmlPath();
    QVERIFY(QFileInfo(temporary).fileName().startsWith(QLatin1String("report")));
    QVERIFY(temporary.endsWith(QLatin1String(".html")));
    QCOMPARE(exporter.currentJob()->pdfPath(), pdf + QStringLiteral(".pdf"));

    exporter.exportPdfAll(false);
    QCOMPARE(exporter.criticals, QStringList {"Error|Report generation in progress!"});
    QCOMPARE(exporter.dialogsRun, 1);

    QSignalSpy finished(exporter.currentJob(), &GenPDFfromHTML::finished);
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(!exporter.reportInProgress());
    QVERIFY(!QFile::exists(temporary));
    QCOMPARE(s_opened, QList<QUrl> {QUrl::fromLocalFile(pdf + QStringLiteral(".pdf"))});

    const QString written = pdf + QStringLiteral(".pdf");
    QVERIFY(readAll(written).startsWith("%PDF"));
    QCOMPARE(pdfInfo(written, QStringLiteral("Pages")), QString("3"));
    const QImage last = pdfPage(written, 3, dir.path());
    QVERIFY(!last.isNull());
    QVERIFY2(darkPixels(last) > 1000, "the chart is missing from the last page");

    // Once the PDF is out, a new export is accepted again.
    exporter.answer.clear();
    exporter.exportPdfAll(false);
    QCOMPARE(exporter.dialogsRun, 2);
    QCOMPARE(exporter.criticals.size(), 1);
}

void tst_PdfExport::viewShowsTheLastDocument_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("shown");

    QTest::newRow("second replaces first") << "<html><body>first</body></html>"
                                           << "<html><body>second</body></html>"
                                           << "second";
    QTest::newRow("empty document") << "<html><body>first</body></html>"
                                    << ""
                                    << "";
}

void tst_PdfExport::viewShowsTheLastDocument()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, shown);

    // Declared before the view: the view answers pending callbacks when it
    // is deleted.
    QString text = QStringLiteral("<pending>");
    MyQWebEngineView view;
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(first, QUrl(QStringLiteral("file://localhost/")));
    view.setHtml(second, QUrl(QStringLiteral("file://localhost/")));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().first().toBool(), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            view.page()->toPlainText([&text](const QString &t) { text = t; });
            QTest::qWait(50);
            return text.trimmed() == shown;
        }(),
        30000);
}

void tst_PdfExport::scriptsDoNotRun_data()
{
    // Section texts as a shared layout may hold them; each would replace the
    // page if it ran.
    QTest::addColumn<QString>("text");
    QTest::newRow("script element")
        << "<p>Seven.</p><script>document.body.textContent = 'REWRITTEN';</script>";
    QTest::newRow("image error handler") << "<p>Seven.</p><img src=\"missing.png\" "
                                            "onerror=\"document.body.textContent = 'REWRITTEN'\">";
}

void tst_PdfExport::scriptsDoNotRun()
{
    QFETCH(QString, text);
    const QString html = QStringLiteral("<html><body><h1>Life Path 7</h1>") + text
        + QStringLiteral("</body></html>");

    QString shown = QStringLiteral("<pending>");
    MyQWebEngineView view;
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(html, QUrl(QStringLiteral("file://localhost/")));
    QVERIFY(loaded.wait(60000));
    QTest::qWait(200);
    view.page()->toPlainText([&shown](const QString &t) { shown = t; });
    QTRY_VERIFY_WITH_TIMEOUT(shown != QLatin1String("<pending>"), TestEnvironment::WaitMs);
    QCOMPARE(shown.simplified(), QStringLiteral("Life Path 7 Seven."));
    // A script that the program runs itself still runs, in its own world.
    QVariant title;
    view.page()->runJavaScript(QStringLiteral("document.querySelector('h1').textContent"),
                               QWebEngineScript::ApplicationWorld,
                               [&title](const QVariant &result) { title = result; });
    QTRY_COMPARE_WITH_TIMEOUT(title.toString(), QStringLiteral("Life Path 7"),
                              TestEnvironment::WaitMs);

    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("report.html"));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QVERIFY(writeFile(page, html.toUtf8()));
    GenPDFfromHTML job(page, pdf);
    QSignalSpy finished(&job, &GenPDFfromHTML::finished);
    job.run();
    QVERIFY(finished.wait(60000));
    QVERIFY(finished.first().first().toBool());
    QCOMPARE(pdfText(pdf).simplified(), QStringLiteral("Life Path 7 Seven."));
}

// A shared layout's text naming a private file in every way a page can
// embed or fetch one: neither the view nor the PDF shows any of it, while a
// picture the program ships still shows.
void tst_PdfExport::pageLoadsNoOtherFile()
{
    QTemporaryDir outside;
    const QString secret = QStringLiteral("PRIVATE-NOTES-4711");
    const QString notes = QUrl::fromLocalFile(outside.filePath("notes.txt")).toString();
    QVERIFY(writeFile(outside.filePath("notes.txt"), secret.toLatin1()));
    QImage magenta(300, 300, QImage::Format_RGB32);
    magenta.fill(Qt::magenta);
    QVERIFY(magenta.save(outside.filePath("private.png")));
    const QString shipped = getImagesPath() + QStringLiteral("doc/res01.jpg");
    QCOMPARE(QImage(shipped).size(), QSize(160, 160));
    const QString html
        = QStringLiteral("<html><body><h1>Life Path 7</h1><iframe src=\"%1\"></iframe>"
                         "<object data=\"%1\"></object><embed src=\"%1\"><img "
                         "src=\"file:///%2\"><img src=\"file:///%3\"></body></html>")
              .arg(notes, outside.filePath("private.png"), shipped);

    MyQWebEngineView view;
    view.resize(900, 700);
    view.show();
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(html, QUrl(QStringLiteral("file://localhost/")));
    QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty(), 60000);
    QTest::qWait(500);
    // Find-in-page searches every frame and runs no script of the page.
    const auto found = [&view](const QString &text) {
        int result = -1;
        view.page()->findText(text, {}, [&result](bool hit) { result = hit; });
        return QTest::qWaitFor([&result] { return result >= 0; }, 30000) && result == 1;
    };
    QVERIFY(found(QStringLiteral("Life Path")));
    QVERIFY(!found(secret));
    QString widths;
    view.page()->runJavaScript(QStringLiteral("Array.from(document.images).map(i => "
                                              "i.naturalWidth).join()"),
                               QWebEngineScript::ApplicationWorld,
                               [&widths](const QVariant &result) { widths = result.toString(); });
    QTRY_COMPARE_WITH_TIMEOUT(widths, QStringLiteral("0,160"), 30000);

    const QString pdf = outside.filePath(QStringLiteral("out.pdf"));
    QVERIFY(writeFile(outside.filePath("report.html"), html.toUtf8()));
    GenPDFfromHTML job(outside.filePath("report.html"), pdf);
    QSignalSpy finished(&job, &GenPDFfromHTML::finished);
    job.run();
    QVERIFY(finished.wait(60000));
    QVERIFY(pdfText(pdf).contains(QLatin1String("Life Path 7")));
    QVERIFY(!pdfText(pdf).contains(secret));
    // The refused picture leaves only the engine's small broken-picture sign.
    const QString pictures = pdfPictures(pdf);
    QVERIFY2(pictures.contains(QRegularExpression(" 160 +160 ")), qPrintable(pictures));
    QVERIFY2(!pictures.contains(QRegularExpression(" 300 +300 ")), qPrintable(pictures));
}

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    tst_PdfExport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pdfexport.moc"
