#include "app/startup.h"

#include "app/settingsfile.h"
#include "engine/apppaths.h"
#include "style/euladlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool prepare()
{
    if (agreementNeeded(settingsFilePath()) && !askAgreement())
        return false;
    QDir().mkpath(getUserFolder());
    copyMissingTemplates(getResourcesPath() + QStringLiteral("images/templates"), getUserFolder());
    return true;
}

} // namespace Startup
