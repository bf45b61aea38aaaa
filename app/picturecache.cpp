#include "app/picturecache.h"

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
    if (found != m_entries.constEnd())
        m_characters -= found->encoded.size();
    if (m_characters + encoded.size() > Limit) {
        m_entries.clear();
        m_characters = 0;
    }
    if (encoded.size() <= Limit) {
        m_entries.insert(path, {modified, info.size(), encoded});
        m_characters += encoded.size();
    }
    return encoded;
}
