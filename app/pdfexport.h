#pragma once

#include <QObject>
#include <QString>

class QUrl;
class QWebEnginePage;

// Turns an HTML file on disk into a PDF with the web engine, off screen:
// loads the file into a page that is never shown, prints it on A4, deletes
// the HTML file, opens the finished PDF with the desktop's URL handler and
// reports the outcome through finished(). One object serves one run.
class GenPDFfromHTML : public QObject
{
    Q_OBJECT

public:
    GenPDFfromHTML(const QString &htmlPath, const QString &pdfPath);
    ~GenPDFfromHTML() override;

    // Starts loading the HTML file and returns at once.
    void run();

    QString htmlPath() const { return m_htmlPath; }
    QString pdfPath() const { return m_pdfPath; }

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
    // Set while the destructor runs: the page answers a pending print with
    // an empty result when it is deleted, which must not end a run.
    bool m_closing = false;
};
