#include "layouts/layoutlimits.h"

#include "layouts/boundedread.h"
#include "layouts/sectionmarkup.h"

#include <QImage>

namespace LayoutLimits {

namespace {

// "at most about 237 pictures of 460 x 460"
QString capacity()
{
    const qint64 large = qint64(LargePictureSide) * LargePictureSide;
    return QStringLiteral("(at most about %1 pictures of %2 x %2)")
        .arg(MaxPicturePixels / large)
        .arg(LargePictureSide);
}

// What the report builder writes around one piece of a text: the one-cell
// table it stands in, its marked cell and the closing tags.
constexpr qint64 PieceOverhead = 128;
// The most a section writes of the program's own texts for one entry it
// shows: the longest standard text has some 700 characters.
constexpr qint64 StandardEntryLength = 1280;
// The tags of a heading around its escaped text.
constexpr qint64 HeadingOverhead = 256;
// The entries a section shows at most: its general text and a row for each
// month of a year. The celebrities section shows every celebrity of the
// readings that matches, each with its own entry.
constexpr int MaxShownEntries = 13;
constexpr int MaxShownCelebrities = 256;

// The most HTML the builder writes for text in a section whose font tags
// take fontTags: it may cut the text at every line break and paragraph end,
// opening the font tags and a span of the text again at each, marks every
// paragraph and cell, and writes bold one character longer. An empty text
// writes nothing.
qint64 builtLength(const QString &text, qint64 fontTags)
{
    if (text.isEmpty())
        return 0;
    const qint64 cuts = text.count(QLatin1String("<br")) + text.count(QLatin1String("</p"));
    const qint64 marks = text.count(QLatin1String("<p")) + text.count(QLatin1String("<td"));
    const qint64 reopened = text.contains(QLatin1String("<span"))
        ? MaxReopenedLength
        : qMin<qint64>(MaxReopenedLength, fontTags);
    return text.size() + text.size() / 15 + marks * 20 + (cuts + 1) * (PieceOverhead + reopened);
}

// Takes a title's or a name's characters from the file's budget; the
// reader's reason when it is longer than one may be or the budget is spent.
QString chargedName(const QString &name, BoundedRead::ReadBudget *budget)
{
    if (name.size() > MaxNameLength)
        return nameRefusal();
    if (name.size() > budget->parsedLengthLeft)
        return SectionMarkup::textsTooLong();
    budget->parsedLengthLeft -= name.size();
    return QString();
}

QString chargedNames(const QMap<QString, QString> &map, BoundedRead::ReadBudget *budget)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QString problem = chargedName(it.key(), budget);
        if (problem.isEmpty())
            problem = chargedName(it.value(), budget);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

} // namespace

qint64 readingLength(const repItem &item, int kind)
{
    // A character of a font family escaped takes at most six.
    const qint64 fontTags = 96 + 6 * qint64(item.contentFont.family().size());
    qint64 longest = 0;
    qint64 all = 0;
    for (const QString &text : item.texts) {
        const qint64 length = builtLength(text, fontTags);
        longest = qMax(longest, length);
        all += length;
    }
    const bool celebrities = kind == RKCelebrities;
    // Escaped, a character of a title or a family takes at most six.
    const qint64 escaped = qint64(item.title.size()) + item.headerFont.family().size()
        + item.contentFont.family().size();
    const qint64 heading = HeadingOverhead + 6 * escaped;
    // A celebrity's entry is shown once; another section may show one entry
    // in several of its rows.
    const qint64 texts = celebrities ? all : MaxShownEntries * longest;
    return (celebrities ? MaxShownCelebrities : MaxShownEntries) * (StandardEntryLength + heading)
        + texts;
}

QString readingRefusal()
{
    return QStringLiteral("one of its reports would be longer than a reading can be: it holds too "
                          "many sections or too much text for one report.");
}

QString nameRefusal()
{
    return QStringLiteral("one of its titles or names is longer than a layout file can take.");
}

qint64 picturePixels(const QImage &image)
{
    if (image.isNull())
        return 0;
    // The reader decodes a picture larger than its side limit scaled down.
    QSize kept = image.size();
    if (kept.width() > BoundedRead::MaxPictureSide || kept.height() > BoundedRead::MaxPictureSide)
        kept = kept.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(kept.width()) * kept.height();
}

qint64 picturePixels(const QList<QImage> &images)
{
    qint64 pixels = 0;
    for (const QImage &image : images)
        pixels += picturePixels(image);
    return pixels;
}

qint64 picturePixels(const reportSetting &setting)
{
    qint64 pixels = 0;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            pixels += picturePixels(item.images);
            for (int i = 0; i < item.storedImages.size(); ++i) {
                if (item.images.value(i).isNull())
                    pixels += BoundedRead::storedImagePixels(item.storedImages.at(i));
            }
        }
    }
    return pixels;
}

QString storeProblem(const reportSetting &setting)
{
    // The texts are filtered as the reader filters them, in its order and
    // with its budget, so that what is stored is what it opens.
    BoundedRead::ReadBudget budget;
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        qint64 reading = 0;
        for (const repItem &item : setting.items[kind]) {
            QString problem = chargedName(item.name, &budget);
            if (problem.isEmpty())
                problem = chargedName(storedFont(item.headerFont).family(), &budget);
            if (problem.isEmpty())
                problem = chargedName(storedFont(item.contentFont).family(), &budget);
            if (!problem.isEmpty())
                return problem;
            // The reading is estimated from the item as the reader gives it.
            repItem stored = item;
            stored.headerFont = storedFont(item.headerFont);
            stored.contentFont = storedFont(item.contentFont);
            for (QString &text : stored.texts) {
                if (!SectionMarkup::filter(text, &text, &budget, &problem))
                    return problem;
            }
            for (const QImage &image : item.images) {
                if (qint64(image.width()) * image.height() > BoundedRead::MaxDeclaredPixels)
                    return QStringLiteral("one of its pictures is too large.");
            }
            problem = chargedName(item.title, &budget);
            if (problem.isEmpty())
                problem = chargedNames(item.options, &budget);
            if (!problem.isEmpty())
                return problem;
            reading += readingLength(stored, kind);
            if (reading > MaxReadingLength)
                return readingRefusal();
        }
    }
    const QString problem = chargedNames(setting.flags, &budget);
    if (!problem.isEmpty())
        return problem;
    if (picturePixels(setting) > MaxPicturePixels)
        return QStringLiteral("its pictures are more than one layout file can hold\n") + capacity()
            + QLatin1Char('.');
    return QString();
}

bool isFontFamilyName(const QString &family)
{
    static const QLatin1String markup("\"'`<>;\\{}");
    for (int i = 0; i < family.size(); ++i) {
        const QChar c = family.at(i);
        if (c.isHighSurrogate() && i + 1 < family.size() && family.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
        if (markup.contains(c))
            return false;
    }
    return true;
}

QFont storedFont(const QFont &font)
{
    if (isFontFamilyName(font.family()))
        return font;
    QFont stored = font;
    stored.setFamily(QString());
    return stored;
}

QString pictureRefusal()
{
    return QStringLiteral("This picture does not fit into the layout:\nits pictures would be more "
                          "than one layout file can hold\n")
        + capacity() + QStringLiteral(".\nRemove other pictures or choose a smaller one.");
}

} // namespace LayoutLimits
