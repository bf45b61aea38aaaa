#include "app/reportaccess.h"

#include "engine/apppaths.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
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

// A path as the file system resolves it, so that ".." and links cannot lead
// out of a folder; a path that does not exist only loses its ".." steps.
QString resolved(const QString &path)
{
    const QString canonical = path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? cleanAbsolute(path) : canonical;
}

bool isInside(const QString &path, const QString &folder)
{
    const QString root = resolved(folder);
    return !root.isEmpty() && resolved(path).startsWith(root + QLatin1Char('/'));
}

// The local path of a file: URL on this machine; empty for anything else.
QString localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return QString();
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return QString();
    return url.path(QUrl::FullyDecoded);
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

bool isPicturePlace(const QString &path)
{
    return isInside(path, getResourcesPath()) || isInside(path, getUserFolder());
}

bool isAllowed(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type)
{
    if (url.scheme() == QLatin1String("data"))
        return type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame
            || type == QWebEngineUrlRequestInfo::ResourceTypeImage;
    const QString path = localPath(url);
    if (path.isEmpty())
        return false;
    switch (type) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        return isInside(path, getResourcesPath()) || pageFiles().contains(cleanAbsolute(path));
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
        return isPicturePlace(path);
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        return isInside(path, getResourcesPath());
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
