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

    // encode(content) for a picture that a document carries itself (a data:
    // URI), from the cache when the same content was encoded before; kept
    // by a digest of the content, not the content.
    QString getByContent(const QString &content);

private:
    void keep(const QString &key, const QDateTime &modified, qint64 size, const QString &encoded);

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
