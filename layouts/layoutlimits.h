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

// The reader's reason for a title or name longer than MaxNameLength.
QString nameRefusal();

// A section as the Report Manager names it: its title, or its type's name
// where it has none.
QString sectionName(const repItem &item);

// The save's reason for a section text longer than
// SectionMarkup::MaxTextLength by pages editor pages: "the text of "Life
// Path" is 3 pages longer than a section text can be."
QString textTooLongRefusal(const QString &section, int pages);

// The section editor's refusal of an edit that would make the stored form
// of the section's text refused: longer than SectionMarkup::MaxTextLength
// by pages editor pages, or (pages 0) beyond the filter's other bounds.
QString editRefusal(const QString &layout, const QString &section, int pages);

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
