#include "layouts/layoutfile.h"

#include "layouts/boundedread.h"
#include "layouts/layoutlimits.h"
#include "layouts/sectionmarkup.h"

#include <QDataStream>
#include <QIODevice>

#include <utility>

namespace {

// The fewest bytes each stored value can take, to refuse counts that the rest
// of the file cannot hold before anything is allocated for them.
constexpr qint64 MinStringBytes = 4; // length only (null or empty)
constexpr qint64 MinFontBytes = MinStringBytes + 28; // fixed part at version 12
constexpr qint64 MinColorBytes = 11;
constexpr qint64 MinImageBytes = 4; // null marker
constexpr qint64 MinBoolBytes = 1;
constexpr qint64 MinCountBytes = 4;
constexpr qint64 MinItemBytes = 4 + MinStringBytes + 4 + 2 * MinFontBytes + 2 * MinColorBytes
    + MinBoolBytes + 3 * MinCountBytes + MinStringBytes;

bool ok(const QDataStream &stream)
{
    return stream.status() == QDataStream::Ok;
}

qint64 bytesLeft(const QDataStream &stream)
{
    return stream.device() ? stream.device()->bytesAvailable() : 0;
}

// Reads a count and checks that the rest of the stream can hold that many
// values of at least minBytes each.
bool readCount(QDataStream &stream, qint64 minBytes, quint32 *count)
{
    stream >> *count;
    return ok(stream) && qint64(*count) * minBytes <= bytesLeft(stream);
}

template<typename T> bool readEntries(QDataStream &stream, qint64 minBytes, QList<T> *list)
{
    list->clear();
    quint32 count = 0;
    if (!readCount(stream, minBytes, &count))
        return false;
    list->reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        T value;
        stream >> value;
        if (!ok(stream))
            return false;
        list->append(value);
    }
    return true;
}

bool readImages(QDataStream &stream, repItem *item, BoundedRead::ReadBudget *budget)
{
    QList<QImage> *list = &item->images;
    list->clear();
    item->storedImages.clear();
    quint32 count = 0;
    if (!readCount(stream, MinImageBytes, &count))
        return false;
    const bool keepEncoded = budget && budget->keepPicturesEncoded;
    bool anyStored = false;
    for (quint32 i = 0; i < count; ++i) {
        QImage image;
        if (keepEncoded) {
            QByteArray png;
            if (!BoundedRead::readStoredImage(stream, &png, budget))
                return false;
            anyStored = anyStored || !png.isEmpty();
            item->storedImages.append(png);
        } else if (!BoundedRead::readImage(stream, &image, budget)) {
            return false;
        }
        list->append(image);
    }
    if (!anyStored)
        item->storedImages.clear();
    return true;
}

void refuseWith(QDataStream &stream, QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    stream.setStatus(QDataStream::ReadCorruptData);
}

// Reads a string after checking its length ahead: one longer than
// maxLength (refused with tooLong) is refused before anything is read, and
// so is a charged one longer than the file's characters still left, which
// it is then charged with. Section texts are charged by the filter, which
// counts them as the save counts them.
bool readString(QDataStream &stream, QString *text, int maxLength, const QString &tooLong,
                bool charged, BoundedRead::ReadBudget *budget, QString *why)
{
    const qint64 length = BoundedRead::nextStringLength(stream);
    if (length > maxLength) {
        refuseWith(stream, why, tooLong);
        return false;
    }
    if (budget && charged && length > budget->parsedLengthLeft) {
        refuseWith(stream, why, SectionMarkup::textsTooLong());
        return false;
    }
    stream >> *text;
    if (!ok(stream))
        return false;
    if (budget && charged)
        budget->parsedLengthLeft -= text->size();
    return true;
}

bool readName(QDataStream &stream, QString *name, BoundedRead::ReadBudget *budget, QString *why)
{
    return readString(stream, name, LayoutLimits::MaxNameLength, LayoutLimits::nameRefusal(), true,
                      budget, why);
}

bool readTexts(QDataStream &stream, QStringList *texts, BoundedRead::ReadBudget *budget,
               QString *why)
{
    texts->clear();
    quint32 count = 0;
    if (!readCount(stream, MinStringBytes, &count))
        return false;
    texts->reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        QString text;
        if (!readString(stream, &text, SectionMarkup::MaxTextLength, SectionMarkup::textTooLong(),
                        false, budget, why))
            return false;
        texts->append(text);
    }
    return true;
}

// A font begins with its family, which is held to a name's length.
bool readFont(QDataStream &stream, QFont *font, BoundedRead::ReadBudget *budget, QString *why)
{
    const qint64 family = BoundedRead::nextStringLength(stream);
    if (family > LayoutLimits::MaxNameLength) {
        refuseWith(stream, why, LayoutLimits::nameRefusal());
        return false;
    }
    if (budget && family > budget->parsedLengthLeft) {
        refuseWith(stream, why, SectionMarkup::textsTooLong());
        return false;
    }
    stream >> *font;
    if (!ok(stream))
        return false;
    if (budget)
        budget->parsedLengthLeft -= family;
    return true;
}

// A map as QDataStream writes it, every key and value held to a name's
// length; a key stored twice keeps both values, as Qt's own reader does.
bool readNames(QDataStream &stream, QMap<QString, QString> *map, BoundedRead::ReadBudget *budget,
               QString *why)
{
    map->clear();
    quint32 count = 0;
    if (!readCount(stream, 2 * MinStringBytes, &count))
        return false;
    QMultiMap<QString, QString> read;
    for (quint32 i = 0; i < count; ++i) {
        QString key;
        QString value;
        if (!readName(stream, &key, budget, why) || !readName(stream, &value, budget, why))
            return false;
        read.insert(key, value);
    }
    *map = read;
    return true;
}

template<typename T> void writeEntries(QDataStream &stream, const QList<T> &list)
{
    stream << quint32(list.size());
    for (const T &value : list)
        stream << value;
}

} // namespace

bool readRepItem(QDataStream &stream, repItem *item, unsigned version,
                 BoundedRead::ReadBudget *budget, QString *problem)
{
    stream >> item->type;
    if (!readName(stream, &item->name, budget, problem))
        return false;
    stream >> item->kind;
    if (!ok(stream) || !readFont(stream, &item->headerFont, budget, problem)
        || !readFont(stream, &item->contentFont, budget, problem)
        || !BoundedRead::readColor(stream, &item->headerColor)
        || !BoundedRead::readColor(stream, &item->contentColor))
        return false;
    stream >> item->defaultStyle;
    if (!readTexts(stream, &item->texts, budget, problem) || !readImages(stream, item, budget)
        || !readEntries(stream, MinBoolBytes, &item->useStdText)
        || !readName(stream, &item->title, budget, problem))
        return false;
    item->options.clear();
    if (version >= 2 && !readNames(stream, &item->options, budget, problem))
        return false;
    // Layouts are shared: a text that embeds, fetches or runs script could
    // pull any file the user can read into every report made with it, so
    // texts keep only the editor's own markup. The title is plain text,
    // which the report builder escapes.
    for (QString &text : item->texts) {
        if (!SectionMarkup::filter(text, &text, budget, problem))
            return false;
    }
    item->headerFont = LayoutLimits::storedFont(item->headerFont);
    item->contentFont = LayoutLimits::storedFont(item->contentFont);
    return true;
}

void writeRepItem(QDataStream &stream, const repItem &item)
{
    stream << item.type << item.name << item.kind << LayoutLimits::storedFont(item.headerFont)
           << LayoutLimits::storedFont(item.contentFont) << item.headerColor << item.contentColor
           << item.defaultStyle;
    writeEntries(stream, item.texts);
    // A picture never decoded goes back as the bytes it was read from.
    stream << quint32(item.images.size());
    for (int i = 0; i < item.images.size(); ++i) {
        const QByteArray stored = item.storedImages.value(i);
        if (item.images.at(i).isNull() && !stored.isEmpty()) {
            stream << qint32(1);
            stream.writeRawData(stored.constData(), stored.size());
        } else {
            stream << item.images.at(i);
        }
    }
    writeEntries(stream, item.useStdText);
    stream << item.title << item.options;
}

bool loadSet(QDataStream *stream, QList<repItem> *list, unsigned version,
             BoundedRead::ReadBudget *budget, QString *problem)
{
    stream->setVersion(LayoutStreamVersion);
    const qint64 minItemBytes = MinItemBytes + (version >= 2 ? MinCountBytes : 0);
    quint32 count = 0;
    if (!readCount(*stream, minItemBytes, &count))
        return false;
    list->reserve(list->size() + int(count));
    // Copies of one item share its entry lists until the reader replaces
    // them, instead of making every entry of every item anew.
    const repItem blank;
    for (quint32 i = 0; i < count; ++i) {
        repItem item = blank;
        if (!readRepItem(*stream, &item, version, budget, problem))
            return false;
        list->append(item);
    }
    return true;
}

void saveSet(QDataStream *stream, const QList<repItem> *list)
{
    stream->setVersion(LayoutStreamVersion);
    *stream << quint32(list->size());
    for (const repItem &item : *list)
        writeRepItem(*stream, item);
}

bool readReportSetting(QIODevice *device, reportSetting *setting, QString *problem,
                       bool decodePictures)
{
    QString why;
    const auto refuse = [&](const QString &fallback) {
        if (problem)
            *problem = why.isEmpty() ? fallback : why;
        return false;
    };
    QDataStream stream(device);
    stream.setVersion(LayoutStreamVersion);
    quint32 magic = 0;
    quint32 version = 0;
    stream >> magic >> version;
    if (!ok(stream) || magic != LayoutFileMagic)
        return refuse(QStringLiteral("it is not a layout file."));
    if (version > LayoutFileVersion)
        return refuse(QStringLiteral("it was written by a newer version of the program."));
    const QString damaged = QStringLiteral("it is damaged or holds more than a layout file can "
                                           "take.");
    // Read apart and taken whole, so that a damaged file leaves the caller's
    // layout as it was.
    reportSetting read = *setting;
    BoundedRead::ReadBudget budget {LayoutLimits::MaxPicturePixels, SectionMarkup::MaxLayoutTags};
    budget.keepPicturesEncoded = !decodePictures;
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        if (!loadSet(&stream, &read.items[kind], version, &budget, &why))
            return refuse(damaged);
    }
    // Files of early versions end after the fifth list.
    if (!device->atEnd() && !readNames(stream, &read.flags, &budget, &why))
        return refuse(damaged);
    if (!ok(stream))
        return refuse(damaged);
    *setting = std::move(read);
    return true;
}

bool writeReportSetting(QIODevice *device, const reportSetting &setting)
{
    QDataStream stream(device);
    stream.setVersion(LayoutStreamVersion);
    stream << LayoutFileMagic << LayoutFileVersion;
    for (const QList<repItem> &items : setting.items)
        saveSet(&stream, &items);
    stream << setting.flags;
    return ok(stream);
}
