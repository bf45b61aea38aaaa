#include "app/reportexport.h"

#include "app/pdfexport.h"
#include "app/picturecache.h"
#include "app/reportaccess.h"
#include "engine/reporttools.h"
#include "panels/peoplefile.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDebug>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>
#include <QTimer>

namespace {

const QLatin1String imgTag("<img src=\"");
const QLatin1String fileScheme("file:///");
const QLatin1String pageBreak("<p style=\"page-break-after: always;  \"></p>");
const QLatin1String errorTitle("Error");

// Sections shorter than this are readings that were not run (or were
// cleared): an empty document with at most its skeleton.
constexpr int minimumSectionLength = 100;

// The builder writes "file:///" in front of an absolute path, so removing
// the scheme keeps the path's own leading slash. Only pictures from the
// places a report page may show are inlined; any other reference gives an
// empty path, which loads nothing.
QString localPath(const QString &reference)
{
    QString path = reference;
    if (path.startsWith(fileScheme, Qt::CaseInsensitive))
        path.remove(fileScheme, Qt::CaseInsensitive);
    return ReportAccess::isPicturePlace(path) ? path : QString();
}

QString documentOf(const CReportTools *reading)
{
    return reading ? reading->reportHtml : QString();
}

// The data-URI prefix for a referenced picture, chosen by its name; other
// kinds are recognised by their content. Empty when the file is no picture
// the engine can name.
QString dataUriPrefix(const QString &reference, const QString &path)
{
    if (reference.endsWith(QLatin1String("png"), Qt::CaseInsensitive))
        return QStringLiteral("<img src=\"data:image/png;base64,");
    if (reference.endsWith(QLatin1String("jpg"), Qt::CaseInsensitive))
        return QStringLiteral("<img src=\"data:image/jpg;base64,");
    const QString mime = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent).name();
    if (mime.startsWith(QLatin1String("image/")))
        return QStringLiteral("<img src=\"data:") + mime + QStringLiteral(";base64,");
    return QString();
}

// The picture on white behind a 20 pixel left margin, as a data URI; the
// margin keeps floated pictures off the text in print.
QString framedPicture(const QString &path)
{
    const QImage picture(path);
    QImage framed;
    if (!picture.isNull()) {
        // Opaque, as it prints on white anyway: a quarter less to encode.
        framed = QImage(picture.width() + 20, picture.height(), QImage::Format_RGB32);
        framed.fill(Qt::white);
        QPainter painter(&framed);
        painter.drawImage(20, 0, picture);
    }
    return imageToBase64(framed);
}

// The same pictures recur in every reading and every export.
CPictureCache &framedPictures()
{
    static CPictureCache cache(framedPicture);
    return cache;
}

void runCriticalBox(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::critical(parent, title, text, QMessageBox::Ok);
}

} // namespace

void (*CReportExport::criticalBox)(QWidget *parent, const QString &title, const QString &text)
    = runCriticalBox;

QString imageToBase64(const QImage &image)
{
    QByteArray png;
    if (!image.isNull()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

void embedImagesToHtml(const QString &html, QString &out)
{
    const QStringList parts = html.split(imgTag);
    out += parts.first();
    for (int i = 1; i < parts.size(); ++i) {
        const QStringList pieces = parts.at(i).split(QLatin1Char('"'));
        // A reference without its closing quote is no tag that could be
        // rewritten.
        if (pieces.size() < 2)
            continue;
        out += QLatin1String("<img hspace=\"50\"   src=\"");
        out += framedPictures().get(localPath(pieces.first()));
        for (int k = 1; k < pieces.size(); ++k)
            out += QLatin1Char('"') + pieces.at(k);
    }
}

void embedImagesToHtml(const QString &html, QTextStream &out)
{
    const QStringList parts = html.split(imgTag);
    out << parts.first();
    for (int i = 1; i < parts.size(); ++i) {
        const QStringList pieces = parts.at(i).split(QLatin1Char('"'));
        if (pieces.size() < 2)
            continue;
        const QString reference = pieces.first();
        const QString path = localPath(reference);
        const QString prefix = dataUriPrefix(reference, path);
        if (prefix.isEmpty()) {
            // Nothing to name the data by: the reference stays as it was.
            out << imgTag << reference;
        } else {
            out << prefix;
            QFile picture(path);
            if (picture.open(QIODevice::ReadOnly))
                out << QString::fromLatin1(picture.readAll().toBase64());
        }
        for (int k = 1; k < pieces.size(); ++k)
            out << QLatin1Char('"') << pieces.at(k);
    }
}

CReportExport::CReportExport(QWidget *window, QObject *parent)
    : QObject(parent)
    , m_window(window)
{
    m_sectionFlags.fill(true);
}

CReportExport::~CReportExport()
{
    // A job still running is cancelled with its owner: the page stops, no
    // PDF is opened, and the report it was loading goes too.
    const QString pending = m_reportInProgress && m_job ? m_job->htmlPath() : QString();
    delete m_job;
    if (!pending.isEmpty())
        QFile::remove(pending);
    setBusy(false);
}

void CReportExport::setBusy(bool busy)
{
    // The cursor is the window's only sign of a job that runs for seconds.
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool CReportExport::documentOfPage(int page, QString *document) const
{
    switch (page) {
    case PageNumerology:
    case PageForecast:
        *document = documentOf(m_sources.numerology);
        return true;
    case PagePsychoMatrix:
        *document = documentOf(m_sources.psychoMatrix);
        return true;
    case PageCompatibility:
        *document = documentOf(m_sources.compatibility);
        return true;
    case PageCelebrities:
        *document = documentOf(m_sources.celebrities);
        return true;
    case PagePet:
        *document = documentOf(m_sources.pet);
        return true;
    case PageNameAdvisor:
        *document = documentOf(m_sources.nameAdvisor);
        return true;
    default:
        return false;
    }
}

void CReportExport::exportHtml(int page)
{
    const bool chart = page == PageChart;
    // The picture's format follows the suffix, so only those it can be
    // written in stay.
    const QString fileName = chart ? askSaveName(tr("Save to PNG"), tr("PNG Files (*.png)"),
                                                 {QStringLiteral("png"), QStringLiteral("jpg"),
                                                  QStringLiteral("jpeg"), QStringLiteral("bmp")})
                                   : askSaveName(tr("Save to HTML"), tr("HTML Files (*.html)"),
                                                 {QStringLiteral("html"), QStringLiteral("htm")});
    if (fileName.isEmpty())
        return;

    QString error;
    if (chart) {
        if (!writeChartImage(chartImage ? chartImage() : QImage(), fileName, &error))
            showCritical(m_window, errorTitle, error);
        return;
    }

    QString document;
    if (!documentOfPage(page, &document))
        return;
    if (!writeReportHtml(document, fileName, &error))
        showCritical(m_window, errorTitle, error);
}

bool CReportExport::writeReportHtml(const QString &document, const QString &fileName,
                                    QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("Cannot save the report to \"%1\":\n%2").arg(fileName, file.errorString());
        return false;
    }
    QString html = document;
    html.replace(QLatin1String("</head>"),
                 QLatin1String("<style type=\"text/css\"> body table { line-height: 20px;  }"
                               "</style></head>"));
    {
        QTextStream stream(&file);
        // The documents declare UTF-8, whatever the locale is.
        stream.setCodec("UTF-8");
        embedImagesToHtml(html, stream);
        stream.flush();
        if (stream.status() != QTextStream::Ok)
            file.cancelWriting();
    }
    if (!file.commit()) {
        if (error)
            *error = tr("Cannot save the report to \"%1\":\n%2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

bool CReportExport::writeChartImage(const QImage &image, const QString &fileName, QString *error)
{
    if (image.isNull()) {
        if (error)
            *error = tr("There is no chart to save.");
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = tr("Cannot save the chart to \"%1\":\n%2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray format = QFileInfo(fileName).suffix().toLatin1();
    if (!image.save(&file, format.constData())) {
        file.cancelWriting();
        if (error)
            *error = tr("Cannot save the chart as \"%1\" in this format.").arg(fileName);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = tr("Cannot save the chart to \"%1\":\n%2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

void CReportExport::exportPdfAll(bool chaldean, const QString &dialogStyleSheet)
{
    if (m_reportInProgress) {
        showCritical(nullptr, errorTitle, QStringLiteral("Report generation in progress!"));
        return;
    }
    if (!askReportsList(chaldean, dialogStyleSheet))
        return;
    const QString fileName
        = askSaveName(tr("Save to PDF"), tr("PDF Files (*.pdf)"), {QStringLiteral("pdf")});
    if (fileName.isEmpty())
        return;
    generateReport(fileName);
}

bool CReportExport::askReportsList(bool chaldean, const QString &dialogStyleSheet)
{
    m_sectionFlags.fill(true);

    QDialog dialog;
    dialog.setFixedSize(220, 215);
    const QString captions[SectionCount] = {
        chaldean ? QStringLiteral(" Chaldean Numerology") : QStringLiteral(" Western Numerology"),
        QStringLiteral(" Psychomatrix"), QStringLiteral(" Compatibility"),
        QStringLiteral(" Celebrities"), QStringLiteral(" Graphic Chart")};
    QCheckBox *boxes[SectionCount];
    for (int i = 0; i < SectionCount; ++i) {
        boxes[i] = new QCheckBox(captions[i], &dialog);
        boxes[i]->setGeometry(10, 10 + 30 * i, 200, 25);
        boxes[i]->setChecked(true);
    }
    auto *ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    ok->setGeometry(70, 175, 80, 30);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.setStyleSheet(dialogStyleSheet);

    const int result = execDialog(&dialog);
    for (int i = 0; i < SectionCount; ++i)
        m_sectionFlags[i] = boxes[i]->isChecked();
    return result == QDialog::Accepted;
}

QString CReportExport::chartParagraph(const QImage &canvas)
{
    QSize shown;
    if (!canvas.isNull())
        shown = canvas.size().scaled(600, 800, Qt::KeepAspectRatio);
    return QStringLiteral("<p style=\"text-align: center;\" >")
        + QStringLiteral("<img align=\"middle\" vertical-align=\"middle\" ")
        + QStringLiteral("width=\"") + QString::number(shown.width())
        + QStringLiteral("\" height=\"") + QString::number(shown.height())
        + QStringLiteral("\" src=\"") + imageToBase64(canvas) + QStringLiteral("\"></p>");
}

QString CReportExport::joinReports(const Sources &sources, const SectionFlags &flags,
                                   const QImage &chartCanvas)
{
    struct Reading
    {
        const CReportTools *source;
        int flag; // -1: included whenever it is long enough
        bool inline_;
    };
    const Reading readings[] = {
        {sources.numerology, SectionNumerology, true},
        {sources.psychoMatrix, SectionPsychoMatrix, true},
        {sources.compatibility, SectionCompatibility, true},
        {sources.celebrities, SectionCelebrities, true},
        // The pet reading keeps its picture references; they load from disk.
        {sources.pet, -1, false},
        {sources.nameAdvisor, -1, true},
    };

    QString report;
    for (const Reading &reading : readings) {
        if (reading.flag >= 0 && !flags[reading.flag])
            continue;
        QString section;
        if (reading.inline_)
            embedImagesToHtml(documentOf(reading.source), section);
        else
            section = documentOf(reading.source);
        if (section.size() < minimumSectionLength)
            continue;
        report += section;
        report += pageBreak;
    }
    if (flags[SectionChart])
        report += chartParagraph(chartCanvas);
    return report;
}

void CReportExport::generateReport(const QString &pdfPath)
{
    // A running job would be deleted under its own feet and never finish.
    if (m_reportInProgress)
        return;
    setBusy(true);

    // Without a chart layout the readings still make their report; only the
    // chart section is left out.
    QImage canvas;
    SectionFlags flags = m_sectionFlags;
    if (flags[SectionChart] && !(renderChart && renderChart(&canvas)))
        flags[SectionChart] = false;
    const QString report = joinReports(m_sources, flags, canvas);

    QTemporaryFile temporary(QDir::tempPath() + QStringLiteral("/reportXXXXXX.html"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) {
        setBusy(false);
        showCritical(m_window, errorTitle,
                     tr("Cannot write the report for the PDF:\n%1").arg(temporary.errorString()));
        return;
    }
    const QByteArray utf8 = report.toUtf8();
    const bool written = temporary.write(utf8) == utf8.size() && temporary.flush();
    temporary.close();
    if (!written) {
        temporary.remove();
        setBusy(false);
        showCritical(m_window, errorTitle,
                     tr("Cannot write the report for the PDF:\n%1").arg(temporary.errorString()));
        return;
    }
    qDebug() << "Report generated:" << temporary.fileName();
    qDebug() << "Saving PDF to" << pdfPath;

    QWebEnginePage *page = m_job ? m_job->releasePage() : nullptr;
    delete m_job;
    m_job = new GenPDFfromHTML(temporary.fileName(), pdfPath, page);
    connect(m_job, &GenPDFfromHTML::finished, this, &CReportExport::OnBgTaskFinished);
    m_reportInProgress = true;
    m_job->run();
}

void CReportExport::OnBgTaskFinished(bool success)
{
    m_reportInProgress = false;
    setBusy(false);
    if (success || !m_job)
        return;
    // The job reports from inside a web-engine callback; the box waits
    // until that has returned.
    const QString message = tr("Cannot write the PDF report \"%1\".").arg(m_job->pdfPath());
    QTimer::singleShot(0, this, [this, message] { showCritical(m_window, errorTitle, message); });
}

QString CReportExport::getSaveFileName(const QString &caption, const QString &filter)
{
    return QFileDialog::getSaveFileName(
        m_window, caption, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        filter);
}

QString CReportExport::askSaveName(const QString &caption, const QString &filter,
                                   const QStringList &suffixes)
{
    const QString chosen = getSaveFileName(caption, filter);
    if (chosen.isEmpty())
        return QString();
    const QString path = pathWithSuffix(chosen, suffixes, Qt::CaseInsensitive);
    // The dialog asked about the name it was given, not this one.
    if (path != chosen && QFileInfo::exists(path)
        && !askQuestion(m_window, tr("Question"),
                        tr("\"%1\" already exists.\r\nDo you want to replace it?")
                            .arg(QFileInfo(path).fileName())))
        return QString();
    return path;
}

void CReportExport::showCritical(QWidget *parent, const QString &title, const QString &text)
{
    criticalBox(parent, title, text);
}

bool CReportExport::askQuestion(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

int CReportExport::execDialog(QDialog *dialog)
{
    return dialog->exec();
}
