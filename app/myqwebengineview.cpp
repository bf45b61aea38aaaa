#include "app/myqwebengineview.h"

#include "app/reportaccess.h"
#include "app/reportpage.h"

#include <QDir>
#include <QTemporaryFile>
#include <QWebEnginePage>
#include <QWebEngineSettings>

MyQWebEngineView::MyQWebEngineView(QWidget *parent)
    : QWebEngineView(parent)
{
    setPage(new CReportPage(this));
    restrictToDocument(page());
}

MyQWebEngineView::~MyQWebEngineView()
{
    dropPageFile();
}

void MyQWebEngineView::restrictToDocument(QWebEnginePage *page)
{
    ReportAccess::install(page->profile());
    QWebEngineSettings *settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

void MyQWebEngineView::setHtml(const QString &html, const QUrl &baseUrl)
{
    // The document shown until now has loaded everything it may; its page
    // file is no longer a page any view may load.
    dropPageFile();
    const QByteArray utf8 = html.toUtf8();
    if (utf8.size() < InlineLimit) {
        QWebEngineView::setHtml(html, baseUrl);
        return;
    }
    // QTemporaryFile makes the file readable by the user alone.
    m_pageFile
        = new QTemporaryFile(QDir::tempPath() + QStringLiteral("/lumaro-pageXXXXXX.html"), this);
    if (m_pageFile->open() && m_pageFile->write(utf8) == utf8.size() && m_pageFile->flush()) {
        m_pageFile->close();
        ReportAccess::allowPageFile(m_pageFile->fileName());
        load(QUrl::fromLocalFile(m_pageFile->fileName()));
        return;
    }
    dropPageFile();
    QWebEngineView::setHtml(QStringLiteral("<html><body><p>This page could not be shown: there is "
                                           "no room for it in the temporary folder.</p>"
                                           "</body></html>"),
                            QUrl());
}

void MyQWebEngineView::dropPageFile()
{
    if (!m_pageFile)
        return;
    ReportAccess::forgetPageFile(m_pageFile->fileName());
    delete m_pageFile;
    m_pageFile = nullptr;
}
