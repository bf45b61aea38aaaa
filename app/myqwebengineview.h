#pragma once

#include <QWebEngineView>

// The report view of the main window. QWebEngineView::setHtml is not virtual,
// so every caller holds the views by this type and loads documents through
// this class; that keeps one place where report documents enter a view.
class MyQWebEngineView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit MyQWebEngineView(QWidget *parent = nullptr);
    ~MyQWebEngineView() override;

    // Replaces the shown document; loading runs asynchronously.
    void setHtml(const QString &html, const QUrl &baseUrl = QUrl());
};
