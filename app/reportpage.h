#pragma once

#include <QWebEnginePage>

class QUrl;

// The page of a view that shows report documents. A document stays in view
// until the program itself loads another: a link to a web or mail address is
// handed to the system's URL handler (the browser, the mail program), and
// everything else a document could start (another link, a form, back and
// forward, a reload, a redirect, a new window) is refused. The guide's pages
// still lead to one another.
class CReportPage : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit CReportPage(QObject *parent = nullptr);
    ~CReportPage() override;

    enum class Navigation { Load, OpenOutside, Refuse };

    // What becomes of a navigation to url while the page shows shown: the
    // program's own loads (setHtml, load) go ahead, web and mail links open
    // outside, and within the guide (pages of the program's resources folder)
    // links, back and forward go ahead.
    static Navigation decide(const QUrl &url, NavigationType type, bool isMainFrame,
                             const QUrl &shown);

    // Whether url is a web or mail address that the system may open.
    static bool opensOutside(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
};
