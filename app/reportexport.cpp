#include "app/reportexport.h"

#include "app/pdfexport.h"
#include "app/picturecache.h"
#include "app/pngwriter.h"
#include "base/apppaths.h"
#include "engine/reporttools.h"
#include "layouts/boundedread.h"
#include "layouts/sectionmarkup.h"
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
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

namespace {

const QLatin1String pageBreak("<p style=\"page-break-after: always;  \"></p>");
const QLatin1String errorTitle("Error");
const QLatin1String emptyPicture("data:image/png;base64,");

// Sections shorter than this are readings that were not run (or were
// cleared): an empty document with at most its skeleton.
constexpr int minimumSectionLength = 100;

// The picture a device holds, within the layout reader's limits.
// *photograph tells whether it was a JPEG.
QImage decodedPicture(QIODevice *device, bool *photograph)
{
    QByteArray format;
    const QImage picture = BoundedRead::readPicture(device, &format);
    *photograph = format == "jpeg" || format == "jpg";
    return picture;
}

QImage pictureFile(const QString &path, bool *photograph)
{
    *photograph = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return decodedPicture(&file, photograph);
}

// The bytes of a data: URI ("data:[type][;base64],payload") as a picture.
QImage dataPicture(const QString &uri, bool *photograph)
{
    *photograph = false;
    const int comma = uri.indexOf(QLatin1Char(','));
    if (comma < 0)
        return QImage();
    const QByteArray payload = uri.midRef(comma + 1).toLatin1();
    QByteArray bytes = uri.leftRef(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive)
        ? QByteArray::fromBase64(QByteArray::fromPercentEncoding(payload))
        : QByteArray::fromPercentEncoding(payload);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return decodedPicture(&buffer, photograph);
}

QString documentOf(const CReportTools *reading)
{
    return reading ? reading->reportHtml : QString();
}

// As a data URI: a photograph stays a JPEG (a PNG of it would be many times
// larger), anything else becomes a PNG; a null picture gives the empty one.
QString pictureUri(const QImage &picture, bool photograph)
{
    if (!photograph || picture.isNull())
        return imageToBase64(picture);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    return QStringLiteral("data:image/jpeg;base64,") + QString::fromLatin1(jpeg.toBase64());
}

// A picture file as the saved report carries it.
QString plainPicture(const QString &path)
{
    bool photograph = false;
    const QImage picture = pictureFile(path, &photograph);
    return pictureUri(picture, photograph);
}

// The picture on white behind a 20 pixel left margin, as a data URI; the
// margin keeps floated pictures off the text in print.
QString framedPicture(const QString &path)
{
    bool photograph = false; // printed as PNG all the same
    const QImage picture = pictureFile(path, &photograph);
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

// A picture the document carries as data (a section's own picture), as
// the saved report carries it.
QString carriedPicture(const QString &uri)
{
    bool photograph = false;
    const QImage picture = dataPicture(uri, &photograph);
    return pictureUri(picture, photograph);
}

// The same pictures recur in every reading and every export.
CPictureCache &carriedPictures()
{
    static CPictureCache cache(carriedPicture);
    return cache;
}

CPictureCache &plainPictures()
{
    static CPictureCache cache(plainPicture);
    return cache;
}

CPictureCache &framedPictures()
{
    static CPictureCache cache(framedPicture);
    return cache;
}

// html with the source of every picture (every img element as a page reads
// html, its source attribute wherever it stands in the tag) replaced by a
// data URI of a picture decoded here and encoded again: a file at a picture
// place, framed for print when framed is set, or a data: URI that holds a
// picture. Whatever else a source names becomes the empty picture, so the
// document fetches nothing and carries no bytes that were not a picture.
// For print, the tag of a file's picture and of a refused one begins with
// the print margin. A tag cut off by the end of html drops the rest of it:
// a page would read all of it as part of the tag. A document beyond what
// the markup reader takes gives an empty text.
QString withEmbeddedPictures(const QString &html, bool framed)
{
    QVector<SectionMarkup::PictureSource> sources;
    if (!SectionMarkup::pictureSources(html, &sources))
        return QString();
    const QLatin1String printTag("<img hspace=\"50\"   ");
    QString out;
    int copied = 0;
    for (const SectionMarkup::PictureSource &source : qAsConst(sources)) {
        if (!source.closed)
            return out + html.midRef(copied, source.tagStart - copied);
        // The rule of the program's paths: a data: URI, or a local file at a
        // picture place. Any other reference names nothing.
        const QUrl url = pictureReferenceUrl(source.value);
        QString uri;
        bool printed = false;
        if (!isPictureUrl(url)) {
            uri = emptyPicture;
            printed = framed;
        } else if (url.scheme() == QLatin1String("data")) {
            // Pictures carried as data (a section's own picture) print as
            // they are shown.
            uri = carriedPictures().getByContent(source.value);
        } else if (framed) {
            uri = framedPictures().get(localFilePath(url));
            printed = true;
        } else {
            uri = plainPictures().get(localFilePath(url));
        }
        if (printed) {
            // The attributes before the source stay as written.
            out += html.midRef(copied, source.tagStart - copied);
            out += printTag;
            out += html.midRef(source.attributesStart, source.sourceStart - source.attributesStart);
            out += QLatin1String("src=");
        } else {
            out += html.midRef(copied, source.valueStart - copied);
        }
        out += QLatin1Char('"') + uri + QLatin1Char('"');
        copied = source.valueEnd;
    }
    return out + html.midRef(copied);
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
    out += withEmbeddedPictures(html, true);
}

void embedImagesToHtml(const QString &html, QTextStream &out)
{
    out << withEmbeddedPictures(html, false);
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
        bool written = false;
        {
            // Drawing and writing a full page takes a good part of a second.
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
            written = writeChartImage(chartImage ? chartImage() : QImage(), fileName, &error);
        }
        if (!written)
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
    const QByteArray format = QFileInfo(fileName).suffix().toLatin1().toLower();
    // A page's PNG holds tens of millions of pixels: the encoder for those.
    const bool written
        = format == "png" ? PngWriter::write(image, &file) : image.save(&file, format.constData());
    if (!written) {
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
    };
    const Reading readings[] = {
        {sources.numerology, SectionNumerology},
        {sources.psychoMatrix, SectionPsychoMatrix},
        {sources.compatibility, SectionCompatibility},
        {sources.celebrities, SectionCelebrities},
        {sources.pet, -1},
        {sources.nameAdvisor, -1},
    };

    QString report;
    for (const Reading &reading : readings) {
        if (reading.flag >= 0 && !flags[reading.flag])
            continue;
        QString section;
        embedImagesToHtml(documentOf(reading.source), section);
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

    // Without a chart layout, or with one that cannot be shown, the readings
    // still make their report; only the chart section is left out, and the
    // user is told why once the PDF is written.
    QImage canvas;
    QString chartError;
    SectionFlags flags = m_sectionFlags;
    if (flags[SectionChart] && !(renderChart && renderChart(&canvas, &chartError)))
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
    m_chartLeftOut = flags[SectionChart] ? QString() : chartError;
    m_job->run();
}

void CReportExport::OnBgTaskFinished(bool success)
{
    m_reportInProgress = false;
    setBusy(false);
    if (!m_job || (success && m_chartLeftOut.isEmpty()))
        return;
    const QString title = success ? tr("Warning") : errorTitle;
    const QString message = success
        ? tr("The PDF report \"%1\" was saved without the chart.\n%2")
              .arg(m_job->pdfPath(), m_chartLeftOut)
        : tr("Cannot write the PDF report \"%1\".").arg(m_job->pdfPath());
    // The job reports from inside a web-engine callback; the box waits
    // until that has returned.
    QTimer::singleShot(0, this, [this, title, message] { showCritical(m_window, title, message); });
}

QString CReportExport::getSaveFileName(const QString &caption, const QString &filter)
{
    // askSaveName asks about the file that will be written.
    return QFileDialog::getSaveFileName(
        m_window, caption, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

QString CReportExport::askSaveName(const QString &caption, const QString &filter,
                                   const QStringList &suffixes)
{
    const QString chosen = getSaveFileName(caption, filter);
    if (chosen.isEmpty())
        return QString();
    const QString path = pathWithSuffix(chosen, suffixes, Qt::CaseInsensitive);
    // The dialog asks nothing: the name it was given may not be this one.
    if (QFileInfo::exists(path)
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
