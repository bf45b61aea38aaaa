#include "app/namenormalizer.h"

#include <QStringList>

QString unaccent(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const QChar::Category category = c.category();
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining)
            continue;
        const ushort u = c.unicode();
        if (u == '\'')
            continue;
        const bool ascii
            = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9');
        out += ascii ? c : QLatin1Char(' ');
    }
    return out;
}

static QString joinWords(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

QString preparePersonName(const QString &text)
{
    return joinWords(unaccent(text.left(NameLengthLimit)).remove(QLatin1Char(',')));
}

QString preparePetName(const QString &text)
{
    return unaccent(text.left(NameLengthLimit)).remove(QLatin1Char(','));
}

QString prepareTitleName(const QString &text)
{
    QString cut = text.left(NameLengthLimit);
    cut.remove(QLatin1Char(','));
    return joinWords(unaccent(cut));
}

QString defaultShortName(const QString &preparedFullName)
{
    const QStringList words = preparedFullName.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 3)
        return words.join(QLatin1Char(' '));
    return words.first() + QLatin1Char(' ') + words.last();
}
