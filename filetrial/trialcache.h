#pragma once

#include <QByteArray>
#include <QString>

// Verdicts of earlier trials, kept in the per-user data folder by the
// content of the file tried and the program's version: a file met again,
// under any name, is not tried again, and a new version tries it anew.
namespace TrialCache {

struct Entry
{
    bool accepted = false;
    // The refusal, without the file's name (names change; content does not).
    QString reason;
};

// The key of the file at path, tried as kind; empty when it cannot be read.
QByteArray key(const QString &path, const QString &kind);

// The kept verdict for key. False when there is none or what is kept there
// is not a verdict this program wrote.
bool find(const QByteArray &key, Entry *entry);

// Keeps the verdict; false when it could not be written.
bool store(const QByteArray &key, const Entry &entry);

// The folder the verdicts stand in.
QString folder();

} // namespace TrialCache
