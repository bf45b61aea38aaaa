#include "filetrial/trialcache.h"

#include "base/apppaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace TrialCache {

namespace {

const char Magic[] = "lumaro-trial-verdict 1\n";
// A verdict is one line and a reason; anything longer was not written here.
constexpr qint64 MaxEntryBytes = 16384;

// What changes with the trial's work and limits without a new version.
constexpr int TrialRevision = 1;

QString entryPath(const QByteArray &key)
{
    return folder() + QString::fromLatin1(key) + QStringLiteral(".verdict");
}

} // namespace

QString folder()
{
    return getDataLocation() + QStringLiteral("trials/");
}

QByteArray key(const QString &path, const QString &kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayLiteral(LUMARO_VERSION));
    hash.addData(QByteArray::number(TrialRevision));
    hash.addData(kind.toUtf8());
    hash.addData("\n", 1);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

bool find(const QByteArray &key, Entry *entry)
{
    if (key.isEmpty())
        return false;
    QFile file(entryPath(key));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.read(MaxEntryBytes + 1);
    if (data.size() > MaxEntryBytes || !data.startsWith(Magic))
        return false;
    const QByteArray body = data.mid(int(sizeof(Magic)) - 1);
    if (body == "accepted\n") {
        *entry = Entry {true, QString()};
        return true;
    }
    if (body.startsWith("refused ") && body.endsWith('\n')) {
        const QString reason = QString::fromUtf8(body.mid(8, body.size() - 9));
        if (reason.isEmpty() || reason.contains(QLatin1Char('\n')))
            return false;
        *entry = Entry {false, reason};
        return true;
    }
    return false;
}

bool store(const QByteArray &key, const Entry &entry)
{
    if (key.isEmpty() || !QDir().mkpath(folder()))
        return false;
    QString reason = entry.reason;
    reason.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QSaveFile file(entryPath(key));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray data(Magic);
    data += entry.accepted ? QByteArray("accepted\n") : "refused " + reason.toUtf8() + '\n';
    file.write(data.left(MaxEntryBytes));
    return file.commit();
}

} // namespace TrialCache
