#pragma once

#include <QWebEngineView>

class QWebEnginePage;

// The report view of the main window. QWebEngineView::setHtml is not virtual,
// so every caller holds the views by this type and loads documents through
// this class; that keeps one place where report documents enter a view.
//
// Report documents carry text from layouts and templates that anyone may
// share: a view shows them without running their scripts, and loads nothing
// but the page, its pictures and the program's own files (ReportAccess).
// Nothing in a document takes the view elsewhere: its page (CReportPage)
// opens web and mail links outside and refuses every other navigation.
class MyQWebEngineView : public QWebEngineView
{
    Q_OBJECT

public:
    explicit MyQWebEngineView(QWidget *parent = nullptr);
    ~MyQWebEngineView() override;

    // The same restriction for any other page that shows report documents
    // (the off-screen page that prints PDFs). Scripts that
    // the program itself runs in a page are not affected when they run in
    // QWebEngineScript::ApplicationWorld.
    static void restrictToDocument(QWebEnginePage *page);

    // Replaces the shown document; loading runs asynchronously.
    void setHtml(const QString &html, const QUrl &baseUrl = QUrl());
};
