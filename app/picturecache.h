#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// The encoded form of picture files, kept while the program runs: a picture
// that several readings show, and every later export, reads and encodes its
// file only once while the file stays as it was (same modification time and
// size). A file that cannot be read is encoded again each time, so that it is
// picked up once it appears.
class CPictureCache
{
public:
    using Encoder = QString (*)(const QString &path);

    // Everything kept is dropped at once when it would grow past this many
    // characters; the pictures a program ships are a small part of it.
    static constexpr qint64 Limit = 64 * 1024 * 1024;

    explicit CPictureCache(Encoder encode)
        : m_encode(encode)
    {
    }

    // encode(path), from the cache when the file has not changed since.
    QString get(const QString &path);

private:
    struct Entry
    {
        QDateTime modified;
        qint64 size = 0;
        QString encoded;
    };

    Encoder m_encode;
    QHash<QString, Entry> m_entries;
    qint64 m_characters = 0;
};
