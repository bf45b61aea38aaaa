#include "app/myqwebengineview.h"

MyQWebEngineView::MyQWebEngineView(QWidget *parent)
    : QWebEngineView(parent)
{
}

MyQWebEngineView::~MyQWebEngineView() = default;

void MyQWebEngineView::setHtml(const QString &html, const QUrl &baseUrl)
{
    QWebEngineView::setHtml(html, baseUrl);
}
