#pragma once

#include <QWebEngineView>

class QTemporaryFile;
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

    // The web engine takes a setHtml document as a data: URL, which it
    // limits to 2 MB after base64 and beyond which it shows nothing at all.
    // A document of this many UTF-8 bytes or more travels through a page
    // file of the temporary folder instead (see ReportAccess::allowPageFile),
    // which the view keeps while it shows the document.
    static constexpr int InlineLimit = 1500 * 1024;

    // Replaces the shown document, whatever its size; loading runs
    // asynchronously. A document shown through a page file resolves
    // relative references against the temporary folder, not baseUrl: the
    // program's documents refer to their pictures by absolute paths.
    void setHtml(const QString &html, const QUrl &baseUrl = QUrl());

private:
    void dropPageFile();

    QTemporaryFile *m_pageFile = nullptr;
};
