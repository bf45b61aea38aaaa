#include "app/reportaccess.h"

#include "base/apppaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

namespace ReportAccess {

namespace {

// Page files registered now, by their clean absolute paths; a list, so
// that one path registered twice stays until both are forgotten. A page
// file is named by the program itself, so links in its path need no care.
QStringList &pageFiles()
{
    static QStringList files;
    return files;
}

QString cleanAbsolute(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

class CReportRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (isAllowed(info.requestUrl(), info.resourceType()))
            return;
        qDebug().noquote() << QStringLiteral("Refused to load") << info.requestUrl().toString();
        info.block(true);
    }
};

} // namespace

bool isAllowed(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type)
{
    if (url.scheme() == QLatin1String("data"))
        return type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame
            || type == QWebEngineUrlRequestInfo::ResourceTypeImage;
    const QString path = localFilePath(url);
    if (path.isEmpty())
        return false;
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        return isInsideFolder(path, getResourcesPath())
            || pageFiles().contains(cleanAbsolute(path));
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
        return isPictureUrl(url);
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        return isInsideFolder(path, getResourcesPath());
    default:
        return false;
    }
}

void allowPageFile(const QString &path)
{
    pageFiles().append(cleanAbsolute(path));
}

void forgetPageFile(const QString &path)
{
    pageFiles().removeOne(cleanAbsolute(path));
}

void install(QWebEngineProfile *profile)
{
    static QPointer<CReportRequestInterceptor> interceptor;
    if (!interceptor)
        interceptor = new CReportRequestInterceptor(QCoreApplication::instance());
    profile->setUrlRequestInterceptor(interceptor);
}

} // namespace ReportAccess
