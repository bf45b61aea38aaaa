#pragma once

#include "layouts/sectionmarkup.h"

#include <QtContainerFwd>
#include <QtGlobal>

class QByteArray;
class QColor;
class QIODevice;
class QDataStream;
class QImage;
class QString;

// Readers for values of untrusted data streams (layouts, chart templates,
// dragged sections) that Qt's own stream operators would take on trust.
namespace BoundedRead {

// A decoded picture never has a side above this; larger ones are scaled down
// while they are decoded.
constexpr int MaxPictureSide = 4096;
// Pictures that declare more pixels than this are refused without decoding:
// some encodings can only be scaled after a full-size decode.
constexpr qint64 MaxDeclaredPixels = qint64(6000) * 6000;

// What one file may still decode, shared by everything it holds: the pixels
// of its pictures, the characters of its texts and names, and the tags of its
// section texts with the parser's work on them (SectionMarkup::filter takes
// its share).
struct ReadBudget
{
    qint64 pixelsLeft = qint64(MaxPictureSide) * MaxPictureSide * 3;
    qint64 markupTagsLeft = SectionMarkup::MaxLayoutTags;
    qint64 parsedLengthLeft = SectionMarkup::MaxLayoutParsedLength;
    qint64 markupPairsLeft = SectionMarkup::MaxLayoutMarkupPairs;
    qint64 parserBytesLeft = SectionMarkup::MaxLayoutParserBytes;
    // Layout pictures are checked and counted but kept as their PNG bytes,
    // to be decoded when the layout is used (readStoredImage).
    bool keepPicturesEncoded = false;
    // The pictures decoded so far, by a digest of their stored data, when
    // the reader shares them: a picture the file stores again is then the
    // same image, neither decoded nor taken from pixelsLeft again.
    QHash<QByteArray, QImage> *decoded = nullptr;
};

// Reads a picture written by QDataStream's QImage operator at stream version
// 12 or later (a null marker, then PNG data). The PNG header is checked
// before anything is decoded: a picture larger than MaxPictureSide is scaled
// down, one declaring more than MaxDeclaredPixels or more than the budget
// holds is refused. On refusal or damaged data the stream is marked corrupt,
// the image is null and false is returned.
bool readImage(QDataStream &stream, QImage *image, ReadBudget *budget = nullptr);

// Reads a picture as readImage does, with the same checks and the same
// share of the budget, but keeps its PNG bytes (empty for a null picture)
// instead of decoding them: only the header and the chunk layout are read.
bool readStoredImage(QDataStream &stream, QByteArray *png, ReadBudget *budget = nullptr);

// The pixels a picture kept by readStoredImage decodes to; 0 for none.
qint64 storedImagePixels(const QByteArray &png);

// A picture kept by readStoredImage as readImage would have decoded it; null
// when its data turn out to be damaged.
QImage decodeStoredImage(const QByteArray &png);

// The characters of the string that a QDataStream holds next, read ahead
// without taking anything: 0 for a null or an empty string, -1 when the
// stream cannot hold the length or it is odd. Lets a reader refuse a string
// longer than it takes before Qt reads it whole.
qint64 nextStringLength(QDataStream &stream);
// True when the picture that readImage() would read next from device (at
// its marker) is one that budget.decoded holds already.
bool decodedBefore(QIODevice *device, const ReadBudget &budget);

// A picture file the user picks (or picture data a report carries), read
// with the same bounds as a stored picture: a raster format found by its
// content (an SVG may name other files, which its renderer would read into
// the picture), refused when it declares more than MaxDeclaredPixels,
// scaled down to MaxPictureSide, and turned the way its EXIF orientation
// says, so that a portrait photograph stays upright. Null when refused or
// unreadable; *format, when given, names the decoder ("jpeg", "png").
QImage readPicture(QIODevice *device, QByteArray *format = nullptr);
QImage readPictureFile(const QString &path, QByteArray *format = nullptr);

// Reads a QColor after checking its spec byte: Qt stores that byte straight
// into its enum, and a value outside it is undefined behaviour.
bool readColor(QDataStream &stream, QColor *color);

} // namespace BoundedRead
