#include "app/picturecache.h"

#include <QCryptographicHash>
#include <QFileInfo>

QString CPictureCache::get(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return m_encode(path);
    const QDateTime modified = info.lastModified();
    const auto found = m_entries.constFind(path);
    if (found != m_entries.constEnd() && found->modified == modified && found->size == info.size())
        return found->encoded;

    const QString encoded = m_encode(path);
    keep(path, modified, info.size(), encoded);
    return encoded;
}

QString CPictureCache::getByContent(const QString &content)
{
    // A digest no file path can take: paths do not start with a colon.
    const QByteArray bytes = QByteArray::fromRawData(
        reinterpret_cast<const char *>(content.constData()), content.size() * int(sizeof(QChar)));
    const QString key = QLatin1Char(':')
        + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->size == content.size())
        return found->encoded;
    const QString encoded = m_encode(content);
    keep(key, QDateTime(), content.size(), encoded);
    return encoded;
}

void CPictureCache::keep(const QString &key, const QDateTime &modified, qint64 size,
                         const QString &encoded)
{
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd())
        m_characters -= found->encoded.size();
    if (m_characters + encoded.size() > Limit) {
        m_entries.clear();
        m_characters = 0;
    }
    if (encoded.size() <= Limit) {
        m_entries.insert(key, {modified, size, encoded});
        m_characters += encoded.size();
    }
}
