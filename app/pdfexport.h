#pragma once

#include <QObject>
#include <QString>

class QUrl;
class QWebEnginePage;

// Turns an HTML file on disk into a PDF with the web engine, off screen:
// loads the file into a page that is never shown, prints it on A4, deletes
// the HTML file, opens the finished PDF with the desktop's URL handler and
// reports the outcome through finished(). One object serves one run; the
// page of a finished run may serve the next (releasePage()), which spares
// the web engine a new page and makes each later PDF markedly quicker.
class GenPDFfromHTML : public QObject
{
    Q_OBJECT

public:
    // page: a page of an earlier run to load into, owned from now on; a new
    // one when null.
    GenPDFfromHTML(const QString &htmlPath, const QString &pdfPath, QWebEnginePage *page = nullptr);
    ~GenPDFfromHTML() override;

    // Starts loading the HTML file and returns at once.
    void run();

    QString htmlPath() const { return m_htmlPath; }
    QString pdfPath() const { return m_pdfPath; }

    // Hands the page over once the run has finished (its print has
    // answered); null while it runs, as its page is still busy then.
    QWebEnginePage *releasePage();

    // Opens the finished PDF; QDesktopServices::openUrl unless a test puts
    // its own function here.
    using UrlOpener = bool (*)(const QUrl &url);
    static UrlOpener urlOpener;

signals:
    // true once the PDF is written and handed to the URL handler; false
    // after a failed load, print or write.
    void finished(bool success);

public slots:
    void loadFinished(bool ok);
    void pdfPrintingFinished(const QString &filePath, bool success);

private:
    void writePdf(const QByteArray &pdf);

    QString m_htmlPath;
    QString m_pdfPath;
    QWebEnginePage *m_page = nullptr;
    bool m_loadHandled = false;
    bool m_done = false; // finished() was emitted
    // Set while the destructor runs: the page answers a pending print with
    // an empty result when it is deleted, which must not end a run.
    bool m_closing = false;
};
