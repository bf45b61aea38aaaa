#include "app/pdfexport.h"

#include "app/myqwebengineview.h"
#include "app/reportaccess.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>

#include <utility>

GenPDFfromHTML::UrlOpener GenPDFfromHTML::urlOpener = &QDesktopServices::openUrl;

GenPDFfromHTML::GenPDFfromHTML(const QString &htmlPath, const QString &pdfPath,
                               QWebEnginePage *page)
    : m_htmlPath(htmlPath)
    , m_pdfPath(pdfPath)
    , m_page(page ? page : new QWebEnginePage)
{
    MyQWebEngineView::restrictToDocument(m_page);
    ReportAccess::allowPageFile(m_htmlPath);
    connect(m_page, &QWebEnginePage::loadFinished, this, &GenPDFfromHTML::loadFinished);
}

GenPDFfromHTML::~GenPDFfromHTML()
{
    m_closing = true;
    delete m_page;
    ReportAccess::forgetPageFile(m_htmlPath);
}

QWebEnginePage *GenPDFfromHTML::releasePage()
{
    if (!m_done || !m_page)
        return nullptr;
    disconnect(m_page, nullptr, this, nullptr);
    return std::exchange(m_page, nullptr);
}

void GenPDFfromHTML::run()
{
    // An empty URL never reports the end of a load; without this the
    // caller would wait for the job forever.
    if (m_htmlPath.isEmpty()) {
        QTimer::singleShot(0, this, [this] { loadFinished(false); });
        return;
    }
    m_page->load(QUrl::fromUserInput(m_htmlPath));
}

void GenPDFfromHTML::loadFinished(bool ok)
{
    // Only the first load belongs to the run; the page runs no scripts,
    // but a later navigation must not print twice.
    if (m_loadHandled)
        return;
    m_loadHandled = true;

    QFile::remove(m_htmlPath);

    if (!ok) {
        qDebug().noquote() << tr("failed to load URL");
        m_done = true;
        emit finished(false);
        return;
    }

    qDebug().noquote() << QStringLiteral("Loaded HTML to webengine. Printing to ") + m_pdfPath;
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(0.6, 0.6, 0.6, 0.7), QPageLayout::Inch,
                             QMarginsF(0, 0, 0, 0));
    // The PDF comes back in memory and is written through QSaveFile, so an
    // existing file is replaced only by a complete one.
    m_page->printToPdf(
        [this](const QByteArray &pdf) {
            if (!m_closing)
                writePdf(pdf);
        },
        layout);
}

void GenPDFfromHTML::writePdf(const QByteArray &pdf)
{
    bool written = false;
    if (!pdf.isEmpty()) {
        QSaveFile file(m_pdfPath);
        written = file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit();
    }
    pdfPrintingFinished(m_pdfPath, written);
}

void GenPDFfromHTML::pdfPrintingFinished(const QString &filePath, bool success)
{
    if (success) {
        qDebug().noquote() << QStringLiteral("Print finished");
        urlOpener(QUrl::fromLocalFile(filePath));
        m_done = true;
        emit finished(true);
    } else {
        qDebug().noquote() << tr("failed to print to output file '%1'").arg(filePath)
                + QLatin1Char('\n');
        m_done = true;
        emit finished(false);
    }
}
