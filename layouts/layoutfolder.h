#pragma once

#include "layouts/layoutlist.h"
#include "layouts/reportsetting.h"

#include <QList>
#include <QStringList>

// The layouts folder holds one "<name>.zqnr" file per setting. The caller
// passes the folder (the user folder); both operations create it when missing.
//
// loadedFiles ties a save to the load before it: the load fills it with the
// names of the files it read, the save keeps it up to date. A save deletes only
// files named there that no setting claims any more (the layout was removed or
// renamed), and never replaces an existing file that is not named there, so a
// file the load skipped (unreadable, damaged, of a newer version) or one that
// appeared since is left alone.

constexpr const char *LayoutFileSuffix = ".zqnr";

// Empties list, then appends one migrated setting per readable layout file, in
// case-insensitive name order. Unreadable and damaged files are skipped;
// refused, when given, receives one line per skipped file, its name and the
// reader's reason. Without decodePictures, pictures wait encoded until the
// layout is used (see readReportSetting), which keeps the lists of layouts
// quick to fill.
void loadReportSettings(QList<reportSetting> *list, const QString &folder,
                        QStringList *loadedFiles = nullptr, bool decodePictures = true,
                        QStringList *refused = nullptr);

// Writes one file per setting (each written completely before it replaces the
// old one) and deletes the files of layouts that were loaded and are gone.
// A setting the reader would not take back, or whose name the folder cannot
// hold, is not written and its old file stays. Deletes nothing when a setting
// could not be written, so a renamed layout never loses both files. Returns
// false when anything failed; problems, when given, receives one sentence per
// layout that was not written, naming it.
bool saveReportSettings(const QList<reportSetting> *list, const QString &folder,
                        QStringList *loadedFiles, QStringList *problems = nullptr);

// The settings that a successful saveReportSettings wrote, in the order
// loadReportSettings would read them back: what the folder holds without
// reading every file again.
QList<reportSetting> inFolderOrder(QList<reportSetting> list);

// Whether saveReportSettings can store a setting of this name in folder, given
// the files the load before it read: the name must make a file name of its own
// that the next load lists, and must not be that of a file the load skipped.
// None, Empty, Forbidden, Hidden, NoFileName or FileInFolder.
SettingNameError checkLayoutFileName(const QString &name, const QString &folder,
                                     const QStringList &loadedFiles);

// How the file system of folder compares file names: case-insensitively when
// the folder can be reached under its own name in another case.
Qt::CaseSensitivity fileNameCaseSensitivity(const QString &folder);

// The loaded file names that no setting of list claims.
QStringList staleLayoutFiles(const QStringList &loadedFiles, const QList<reportSetting> &list,
                             Qt::CaseSensitivity cs);
