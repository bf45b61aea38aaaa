#include "app/startup.h"

#include "app/settingsfile.h"
#include "base/apppaths.h"
#include "style/euladlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>

#include <algorithm>

#include <unistd.h>

namespace {

bool runAgreementDialog()
{
    CEulaDlg *dialog = new CEulaDlg(nullptr);
    dialog->setWindowTitle(QStringLiteral("Lumaro Numerology"));
    dialog->exec();
    const bool accepted = dialog->result != -1;
    delete dialog;
    return accepted;
}

} // namespace

namespace Startup {

AgreementFunction askAgreement = runAgreementDialog;

bool agreementNeeded(const QString &settingsPath)
{
    return !QFileInfo::exists(settingsPath);
}

QStringList copyMissingTemplates(const QString &sourceFolder, const QString &userFolder)
{
    const QStringList filter {QStringLiteral("*.lnr")};
    const QStringList present = QDir(userFolder).entryList(filter);
    const QStringList shipped = QDir(sourceFolder).entryList(filter);
    QStringList copied;
    for (const QString &name : shipped) {
        if (present.contains(name, Qt::CaseSensitive))
            continue;
        if (QFile::copy(sourceFolder + QLatin1Char('/') + name,
                        userFolder + QLatin1Char('/') + name))
            copied.append(name);
    }
    return copied;
}

void prepareWebEngine()
{
    // The engine's sandbox refuses to run as root and takes the whole
    // program down with it; a fresh container has no other user, so root
    // runs without the sandbox. Every other user keeps it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QString webEngineProblem()
{
    // Where the engine itself looks; without either file it ends the
    // program before any window shows. A variable it reads decides alone.
    const auto found = [](const char *variable, const QString &name, const QStringList &folders) {
        const QStringList candidates = qEnvironmentVariableIsSet(variable)
            ? QStringList {qEnvironmentVariable(variable)}
            : folders;
        return std::any_of(candidates.begin(), candidates.end(), [&name](const QString &path) {
            const QFileInfo info(path);
            return info.isFile() || QFileInfo::exists(path + QLatin1Char('/') + name);
        });
    };
    const QString reason = QCoreApplication::translate(
        "Startup",
        "The web engine that shows the readings cannot start: its %1 \"%2\" is "
        "missing. Please reinstall Qt WebEngine.");
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString process = QStringLiteral("QtWebEngineProcess");
    if (!found("QTWEBENGINEPROCESS_PATH", process,
               {QLibraryInfo::location(QLibraryInfo::LibraryExecutablesPath), appDir}))
        return reason.arg(QCoreApplication::translate("Startup", "helper program"), process);
    const QString pak = QStringLiteral("qtwebengine_resources.pak");
    if (!found("QTWEBENGINE_RESOURCES_PATH", pak,
               {QLibraryInfo::location(QLibraryInfo::DataPath) + QStringLiteral("/resources"),
                appDir}))
        return reason.arg(QCoreApplication::translate("Startup", "resource file"), pak);
    return QString();
}

QString refusedLayoutsMessage(const QStringList &refused)
{
    if (refused.isEmpty())
        return QString();
    return QCoreApplication::translate("Startup",
                                       "These report layouts in your folder cannot be read; they "
                                       "are not listed, and their files are left as they are:")
        + QLatin1Char('\n') + refused.join(QLatin1Char('\n'));
}

bool prepare()
{
    if (agreementNeeded(settingsFilePath()) && !askAgreement())
        return false;
    QDir().mkpath(getUserFolder());
    copyMissingTemplates(getResourcesPath() + QStringLiteral("images/templates"), getUserFolder());
    return true;
}

} // namespace Startup
