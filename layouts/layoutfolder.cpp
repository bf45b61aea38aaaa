#include "layouts/layoutfolder.h"

#include "layouts/layoutfile.h"
#include "layouts/layoutlimits.h"
#include "layouts/layoutmigration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

QString fileNameOf(const reportSetting &setting)
{
    return setting.name + QLatin1String(LayoutFileSuffix);
}

// A name that would leave the folder, make a hidden file that the next load
// would not list, or that the file system cannot store as it is, is not
// written.
SettingNameError fileNameProblem(const QString &name)
{
    if (name.isEmpty())
        return SettingNameError::Empty;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return SettingNameError::Forbidden;
    if (name.startsWith(QLatin1Char('.')))
        return SettingNameError::Hidden;
    const QString fileName = name + QLatin1String(LayoutFileSuffix);
    const QByteArray encoded = QFile::encodeName(fileName);
    // 255 bytes is the longest file name of the common file systems, and the
    // file is first written under its name + ".XXXXXX".
    constexpr int MaxFileNameBytes = 255 - 7;
    if (name.contains(QChar(0)) || encoded.size() > MaxFileNameBytes
        || QFile::decodeName(encoded) != fileName)
        return SettingNameError::NoFileName;
    return SettingNameError::None;
}

bool inFolderUnloaded(const QString &path, const QString &fileName, const QStringList &known,
                      Qt::CaseSensitivity cs)
{
    return QFileInfo::exists(path) && !known.contains(fileName, cs);
}

QStringList listLayoutFiles(const QDir &dir)
{
    // The folder's own sort order: by name, ignoring case.
    return dir.entryList(QStringList(QLatin1String("*") + QLatin1String(LayoutFileSuffix)));
}

QString swapCase(const QString &text)
{
    QString swapped = text;
    for (QChar &c : swapped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return swapped;
}

} // namespace

Qt::CaseSensitivity fileNameCaseSensitivity(const QString &folder)
{
    const QFileInfo info(QDir(folder).absolutePath());
    const QString name = info.fileName();
    const QString swapped = swapCase(name);
    if (swapped == name)
        return Qt::CaseSensitive;
    const QDir parent = info.dir();
    if (parent.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
            .contains(swapped))
        return Qt::CaseSensitive; // a real sibling of that name
    return QFileInfo::exists(parent.filePath(swapped)) ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

QStringList staleLayoutFiles(const QStringList &loadedFiles, const QList<reportSetting> &list,
                             Qt::CaseSensitivity cs)
{
    QStringList stale;
    for (const QString &file : loadedFiles) {
        const bool claimed = std::any_of(list.begin(), list.end(), [&](const reportSetting &s) {
            return fileNameOf(s).compare(file, cs) == 0;
        });
        if (!claimed && !stale.contains(file, cs))
            stale.append(file);
    }
    return stale;
}

void loadReportSettings(QList<reportSetting> *list, const QString &folder, QStringList *loadedFiles,
                        bool decodePictures, QStringList *refused)
{
    list->clear();
    if (loadedFiles)
        loadedFiles->clear();
    if (refused)
        refused->clear();
    QDir().mkpath(folder);
    const QDir dir(folder);

    const int suffixLength = int(qstrlen(LayoutFileSuffix));
    for (const QString &fileName : listLayoutFiles(dir)) {
        QFile file(dir.filePath(fileName));
        reportSetting setting;
        QString problem;
        if (!file.open(QIODevice::ReadOnly)
            || !readReportSetting(&file, &setting, &problem, decodePictures)) {
            // A folder of that name is no file anyone meant as a layout.
            if (refused && !QFileInfo(file.fileName()).isDir())
                refused->append(
                    QStringLiteral("\"%1\": %2")
                        .arg(fileName, problem.isEmpty() ? file.errorString() : problem));
            continue;
        }
        setting.name = fileName.left(fileName.size() - suffixLength);
        migrateReportSetting(&setting);
        list->append(setting);
        if (loadedFiles)
            loadedFiles->append(fileName);
    }
}

SettingNameError checkLayoutFileName(const QString &name, const QString &folder,
                                     const QStringList &loadedFiles)
{
    const SettingNameError problem = fileNameProblem(name);
    if (problem != SettingNameError::None)
        return problem;
    const QDir dir(folder);
    const QString fileName = name + QLatin1String(LayoutFileSuffix);
    if (inFolderUnloaded(dir.filePath(fileName), fileName, loadedFiles,
                         fileNameCaseSensitivity(dir.absolutePath())))
        return SettingNameError::FileInFolder;
    return SettingNameError::None;
}

QList<reportSetting> inFolderOrder(QList<reportSetting> list)
{
    // The folder lists its files by name, ignoring case first.
    std::stable_sort(list.begin(), list.end(), [](const reportSetting &a, const reportSetting &b) {
        const QString first = fileNameOf(a);
        const QString second = fileNameOf(b);
        const int order = first.compare(second, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : first < second;
    });
    return list;
}

bool saveReportSettings(const QList<reportSetting> *list, const QString &folder,
                        QStringList *loadedFiles, QStringList *problems)
{
    if (!QDir().mkpath(folder))
        return false;
    const QDir dir(folder);

    QStringList known = loadedFiles ? *loadedFiles : QStringList();
    const Qt::CaseSensitivity cs = fileNameCaseSensitivity(dir.absolutePath());
    bool allWritten = true;
    QStringList written;
    for (const reportSetting &setting : *list) {
        const QString fileName = fileNameOf(setting);
        const QString path = dir.filePath(fileName);
        // Two settings of one name would overwrite each other, and a file this
        // list was not loaded from may be a layout the load could not read.
        SettingNameError nameError = fileNameProblem(setting.name);
        if (nameError == SettingNameError::None && written.contains(fileName, cs))
            nameError = SettingNameError::InUse;
        if (nameError == SettingNameError::None && inFolderUnloaded(path, fileName, known, cs))
            nameError = SettingNameError::FileInFolder;
        const QString problem = nameError != SettingNameError::None
            ? settingNameMessage(nameError, setting.name)
            : LayoutLimits::storeProblem(setting);
        const QString notSaved
            = QStringLiteral("The layout \"%1\" was not saved:\n").arg(setting.name);
        if (!problem.isEmpty()) {
            allWritten = false;
            if (problems)
                problems->append(notSaved + problem);
            continue;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !writeReportSetting(&file, setting)
            || !file.commit()) {
            allWritten = false;
            if (problems)
                problems->append(notSaved + QStringLiteral("its file could not be written."));
            continue;
        }
        written.append(fileName);
        if (!known.contains(fileName, cs))
            known.append(fileName);
    }

    bool allRemoved = true;
    if (allWritten) {
        for (const QString &stale : staleLayoutFiles(known, *list, cs)) {
            const QString path = dir.filePath(stale);
            if (QFile::remove(path) || !QFileInfo::exists(path)) {
                known.removeAll(stale);
            } else {
                allRemoved = false;
                if (problems)
                    problems->append(
                        QStringLiteral("The file \"%1\" could not be deleted.").arg(stale));
            }
        }
    }
    if (loadedFiles)
        *loadedFiles = known;
    return allWritten && allRemoved;
}
