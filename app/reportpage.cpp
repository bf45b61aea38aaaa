#include "app/reportpage.h"

#include "base/apppaths.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

// A page of the guide: a file of the program's resources folder.
bool isGuidePage(const QUrl &url)
{
    const QString path = localFilePath(url);
    return !path.isEmpty() && isInsideFolder(path, getResourcesPath());
}

} // namespace

CReportPage::CReportPage(QObject *parent)
    : QWebEnginePage(parent)
{
}

CReportPage::~CReportPage() = default;

bool CReportPage::opensOutside(const QUrl &url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !url.host().isEmpty();
    return scheme == QLatin1String("mailto") && !url.path().isEmpty();
}

CReportPage::Navigation CReportPage::decide(const QUrl &url, NavigationType type, bool isMainFrame,
                                            const QUrl &shown)
{
    // Report documents hold no frames; a frame that one still managed to
    // open navigates nowhere.
    if (!isMainFrame)
        return Navigation::Refuse;
    switch (type) {
    case NavigationTypeTyped:
        // Only the program starts these, through setHtml and load.
        return Navigation::Load;
    case NavigationTypeLinkClicked:
        if (opensOutside(url))
            return Navigation::OpenOutside;
        return isGuidePage(shown) && isGuidePage(url) ? Navigation::Load : Navigation::Refuse;
    case NavigationTypeBackForward:
        return isGuidePage(shown) && isGuidePage(url) ? Navigation::Load : Navigation::Refuse;
    default:
        return Navigation::Refuse;
    }
}

bool CReportPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    switch (decide(url, type, isMainFrame, this->url())) {
    case Navigation::Load:
        return true;
    case Navigation::OpenOutside:
        QDesktopServices::openUrl(url);
        return false;
    case Navigation::Refuse:
        break;
    }
    return false;
}

QWebEnginePage *CReportPage::createWindow(WebWindowType)
{
    return nullptr;
}
