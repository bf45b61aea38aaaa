#include "app/myqwebengineview.h"

#include "app/reportaccess.h"
#include "app/reportpage.h"

#include <QWebEnginePage>
#include <QWebEngineSettings>

MyQWebEngineView::MyQWebEngineView(QWidget *parent)
    : QWebEngineView(parent)
{
    setPage(new CReportPage(this));
    restrictToDocument(page());
}

MyQWebEngineView::~MyQWebEngineView() = default;

void MyQWebEngineView::restrictToDocument(QWebEnginePage *page)
{
    ReportAccess::install(page->profile());
    QWebEngineSettings *settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

void MyQWebEngineView::setHtml(const QString &html, const QUrl &baseUrl)
{
    QWebEngineView::setHtml(html, baseUrl);
}
