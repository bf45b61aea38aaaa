#pragma once

#include "engine/globsettings.h"

#include <QDateTime>
#include <QString>

#include <array>

class QIODevice;

// The program's settings as they travel between runs in zqnum_prem.cfg: a
// big-endian data stream of version 12 holding, in this order, the magic
// "KESLNUMFILE", a reserved (empty) string, the last update-check time, the
// six calculator flag bytes, and then the start-dialog flag, the colour-scheme
// index, the day-first flag and the master-numbers option. Files of older
// versions end after the flags or after any of the last four fields.
struct AppSettings
{
    QDateTime lastCheck; // null until a check has been made or a file read
    std::array<unsigned char, GlobSettingsCount> calcFlags {{1, 0, 0, 1, 1, 0}};
    bool hideStartDialog = false; // "Do not show this dialog again"
    int schemeIndex = 0;
    bool dayFirst = false; // "dd/MM/yyyy" instead of "MM/dd/yyyy"
    int masterNumbersMode = 0; // 1: 11, 22, ..., 99 are master numbers

    // The calculator flags live in m_GlobSettings while the program runs.
    void takeGlobSettings();
    void applyGlobSettings() const;
};

bool operator==(const AppSettings &a, const AppSettings &b);
inline bool operator!=(const AppSettings &a, const AppSettings &b)
{
    return !(a == b);
}

enum class SettingsReadResult {
    Read, // the file's values were taken
    NotOpened, // no file (first start) or unreadable: lastCheck set to 1 Jan 2000
    WrongMagic, // not a settings file (or larger than one): nothing taken
    Damaged // cut or broken inside a field: the fields before it were taken
};

constexpr int SettingsStreamVersion = 12;

// The program writes well under a hundred bytes; a larger file is not one of
// its own and is refused unread, as a file of another kind is.
constexpr qint64 MaxSettingsFileSize = 64 * 1024;

// getDataLocation() + "/zqnum_prem.cfg"; main() tests its existence to
// decide whether the agreement is shown.
QString settingsFilePath();

// Reads a settings stream into settings. Fields that the stream does not hold
// keep the values the caller put in, so the caller fills settings with its
// current values first. A damaged stream is read as far as it goes: the field
// it breaks in (cut short, a length past the end, an odd string length) gets
// its type's empty value (no check time, false, 0; the flags stay), the later
// ones keep the caller's values, and a check time naming no moment reads as
// none. Lengths are checked against what the device holds before anything is
// allocated.
SettingsReadResult readSettings(QIODevice *device, AppSettings *settings);
// False when the device did not take every byte.
bool writeSettings(QIODevice *device, const AppSettings &settings);

// The same on a file. A file that cannot be opened sets lastCheck to
// 1 January 2000, local time, so that the update check runs.
SettingsReadResult loadSettingsFile(const QString &path, AppSettings *settings);
// Creates the file's folder when missing (the data folder first exists at the
// first normal close) and replaces the file only once the new one is
// complete; on failure the old file stays and errorText (when given) says why.
bool saveSettingsFile(const QString &path, const AppSettings &settings,
                      QString *errorText = nullptr);
