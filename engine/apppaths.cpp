#include "apppaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

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
