#pragma once

#include "layouts/reportsetting.h"

#include <QFont>
#include <QString>
#include <QtGlobal>

// What one layout file may hold. The reader refuses a file beyond these
// limits, the writer refuses to store a layout beyond them, and the Report
// Manager refuses the edit that would go past them, so that every layout the
// manager makes is one the reader opens again.
namespace LayoutLimits {

// The Report Manager fits every picture it takes into this square (the
// Celebrities pictures) or into the smaller one (all other sections).
constexpr int LargePictureSide = 460;
constexpr int SmallPictureSide = 126;

// The decoded pixels of all pictures of one file together: some forty
// photos of the larger square (four bytes each once decoded, so one
// layout's pictures stay under 34 MB in memory and take well under a second
// to decode and encode).
constexpr qint64 MaxPicturePixels = qint64(40) * LargePictureSide * LargePictureSide;

// Characters of a section's title or name, a font family, and a key or a
// value of a section's options or a layout's flags. What the manager types
// and keeps there is a few dozen.
constexpr int MaxNameLength = 1000;

// What the report builder opens again at the start of every piece of a text
// it cuts at line breaks (the section's font tags and the span left open): a
// piece that would open more is joined to the one before, so that no tag is
// copied into every piece. The editor's come to one or two hundred.
constexpr int MaxReopenedLength = 512;

// The characters of HTML one reading may be estimated to build from one
// report kind of a layout (see readingLength). A numerologist's layout with a
// page of text for each number of each section estimates at some 34 million;
// the reading it builds has 2 million.
constexpr qint64 MaxReadingLength = qint64(64) << 20;

// The most characters of HTML that a reading of the given kind can write
// for item, counted high: every entry a section shows (its general text and
// up to a dozen rows, or every celebrity) at its longest, with the standard
// text, the headings and the pieces its texts are cut into.
qint64 readingLength(const repItem &item, int kind);

// The reader's reasons for a layout whose sections of one kind estimate at
// more than MaxReadingLength, and for a title or name longer than
// MaxNameLength.
QString readingRefusal();
QString nameRefusal();

// The pixels the reader counts for a picture; none for a null picture. Those
// of a setting count its pictures that still wait encoded as well.
qint64 picturePixels(const QImage &image);
qint64 picturePixels(const QList<QImage> &images);
qint64 picturePixels(const reportSetting &setting);

// Why the reader would refuse a file of this setting (its name aside), in a
// sentence for the user; empty when it would not.
QString storeProblem(const reportSetting &setting);

// Whether family can be the font family of a section: empty, or without the
// characters that no font name holds and that could end a value in HTML or
// CSS: " ' ` < > ; \ { }, control and format characters, line and paragraph
// separators and lone surrogates. Letters, digits and marks of
// every script, blanks and all other punctuation are kept.
bool isFontFamilyName(const QString &family);

// font as a layout file holds it: with an empty family (the report's own
// font) where isFontFamilyName refuses the family. The reader and the writer
// both apply it, so what is saved loads back the same.
QFont storedFont(const QFont &font);

// The Report Manager's refusal of a picture that would take the layout past
// MaxPicturePixels.
QString pictureRefusal();

} // namespace LayoutLimits
