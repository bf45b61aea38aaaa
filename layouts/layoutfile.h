#pragma once

#include "layouts/reportsetting.h"

#include <QList>

class QDataStream;
class QIODevice;
namespace BoundedRead {
struct ReadBudget;
}

// The layout file format: a big-endian data stream of version 12 holding the
// magic, the format version, the five item lists and the setting's flags.
// Files of versions 0 and 1 have no per-item options.

constexpr quint32 LayoutFileMagic = 0x4C4E5250; // "LNRP"
constexpr quint32 LayoutFileVersion = 2;
constexpr int LayoutStreamVersion = 12;

// Reads one item as stored by a file of the given version. False when the
// stream fails, the item claims more entries than the device still holds, a
// picture is too large, a title, name, font family, option or text is longer
// than LayoutLimits::MaxNameLength (SectionMarkup::MaxTextLength for texts;
// both checked before the string is read), the file's characters are spent
// (texts, names and all), or a text is beyond what SectionMarkup::filter
// takes (budget, when given, is shared by a whole file; problem, when given,
// then says why). Texts come through SectionMarkup::filter, the title as stored
// (plain text), and a font family that isFontFamilyName refuses as an empty
// one (see storedFont), which the writer writes the same way.
bool readRepItem(QDataStream &stream, repItem *item, unsigned version,
                 BoundedRead::ReadBudget *budget = nullptr, QString *problem = nullptr);
void writeRepItem(QDataStream &stream, const repItem &item);

// Reads one item list and appends it to list. False on a damaged list, in
// which case list may hold part of it. Sets the stream's version first.
bool loadSet(QDataStream *stream, QList<repItem> *list, unsigned version,
             BoundedRead::ReadBudget *budget = nullptr, QString *problem = nullptr);
// Writes one item list. Sets the stream's version first.
void saveSet(QDataStream *stream, const QList<repItem> *list);

// A whole layout file, without migration; the name is the caller's (it comes
// from the file name). False for another magic, a newer version, or a
// truncated, damaged or too heavy file, which leaves setting as it was;
// problem, when given, then says why in a sentence for the user (the one
// LayoutLimits::storeProblem gives for a layout whose texts are refused, save
// that the save names the section of a text too long).
// Without decodePictures the pictures are checked and counted all the same
// but kept encoded (repItem::storedImages) until LayoutPictures decodes them.
bool readReportSetting(QIODevice *device, reportSetting *setting, QString *problem = nullptr,
                       bool decodePictures = true);
// False when the device did not take every byte.
bool writeReportSetting(QIODevice *device, const reportSetting &setting);
