#include "app/myqwebengineview.h"

#include <QWebEngineSettings>

MyQWebEngineView::MyQWebEngineView(QWidget *parent)
    : QWebEngineView(parent)
{
    restrictToDocument(settings());
}

MyQWebEngineView::~MyQWebEngineView() = default;

void MyQWebEngineView::restrictToDocument(QWebEngineSettings *settings)
{
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
}

void MyQWebEngineView::setHtml(const QString &html, const QUrl &baseUrl)
{
    QWebEngineView::setHtml(html, baseUrl);
}
