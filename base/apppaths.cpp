#include "base/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

QString getUserName()
{
    QString name = QString::fromUtf8(qgetenv("USER"));
    if (name.isEmpty())
        name = QString::fromUtf8(qgetenv("USERNAME"));
    return name;
}

QString getDataLocation()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/Users/") + getUserName()
        + QStringLiteral("/Library/Application Support/");
#else
    // Not created here: the writers of the settings file and the people
    // store make it, so a declined agreement leaves nothing behind.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Lumaro Numerology/");
#endif
}

QString getUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QStringLiteral("/Lumaro Numerology");
}

QString getResourcesPath()
{
    return QFileInfo(QCoreApplication::applicationDirPath()).path() + QStringLiteral("/Resources/");
}

QString getImagesPath()
{
    return getResourcesPath() + QStringLiteral("images/");
}

namespace {

QString cleanAbsolute(const QString &path)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

QString resolved(const QString &path)
{
    const QString canonical = path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? cleanAbsolute(path) : canonical;
}

} // namespace

bool isInsideFolder(const QString &path, const QString &folder)
{
    const QString root = resolved(folder);
    return !root.isEmpty() && resolved(path).startsWith(root + QLatin1Char('/'));
}

QString localFilePath(const QUrl &url)
{
    if (!url.isLocalFile())
        return QString();
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return QString();
    return url.path(QUrl::FullyDecoded);
}

bool isPicturePlace(const QString &path)
{
    return isInsideFolder(path, getResourcesPath()) || isInsideFolder(path, getUserFolder());
}

bool hasHiddenUrlCharacters(const QString &url)
{
    for (const QChar c : url) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('\\')
            || c.category() == QChar::Other_Format || c.category() == QChar::Separator_Line
            || c.category() == QChar::Separator_Paragraph)
            return true;
    }
    return false;
}

QUrl pictureReferenceUrl(const QString &reference)
{
    const QString trimmed = reference.trimmed();
    if (hasHiddenUrlCharacters(trimmed))
        return QUrl();
    QUrl url(trimmed);
    if (trimmed.startsWith(QLatin1Char('/')) && !trimmed.startsWith(QLatin1String("//")))
        url.setScheme(QStringLiteral("file"));
    return url.isValid() && !url.isRelative() ? url : QUrl();
}

bool isPictureUrl(const QUrl &url)
{
    if (url.scheme() == QLatin1String("data"))
        return true;
    // A relative path ("file:etc/passwd") would be taken from the working
    // folder, which may lie anywhere, inside a picture place too.
    const QString path = localFilePath(url);
    return path.startsWith(QLatin1Char('/')) && isPicturePlace(path);
}
