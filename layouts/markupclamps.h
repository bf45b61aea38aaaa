#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>
#include <QtGlobal>

// What the kept markup of a section text may ask of the section editor, the
// report view and the PDF, whose layout costs grow with the sizes, breaks and
// table grids a text asks for rather than with its length. The markup filter
// (SectionMarkup) decides what may stand in a text at all; these hold what it
// keeps: sizes beyond them are written as the largest one kept, heights and
// page breaks beyond them are left out. A text within them is written as it
// was.
namespace MarkupClamps {

// Font sizes: far above any a text is written with (a letter of 1,000 points
// is taller than a page), and as a share of the surrounding text at most its
// own size, so that nested shares cannot compound.
constexpr int MaxFontPoints = 1000;
// Lengths (widths, heights, margins, paddings, spacings): about a page.
constexpr int MaxLengthPixels = 1200;
// A table's border and the spacing around and inside its cells.
constexpr int MaxSpacingPixels = 100;
// Line heights and indents in lines, indent levels.
constexpr int MaxLineFactor = 10;
constexpr int MaxIndentLevels = 20;
// The heights, vertical margins and line heights of one text together, in
// pixels: about ninety pages, which keeps the web engine's page within what
// it lays out; those behind are left out.
constexpr int MaxTextHeightPixels = 100000;
// Declarations starting a new page in one text, far more than a text that is
// read needs; those behind are left out.
constexpr int MaxPageBreaks = 1000;
// Characters without a blank in between: behind this many a zero-width
// space lets the line break (the editor's line breaking grows far faster
// than the text on longer words).
constexpr int MaxWordLength = 2000;
// Table cells span at most the rows left in their row group and the columns
// of the table's widest row, or this many where that is fewer.
constexpr int MaxSpannedColumns = 20;
// The grid places (rows times columns) of all tables of one text; the
// editor lays out every place of a table's grid, spanned or not. A text
// with more is refused.
constexpr int MaxTableCells = 1000;

// What one text's markup has asked for so far, as the filter's writer goes
// through it in text order; the next pass of the filter goes the same way
// and so keeps the same.
struct TextCosts
{
    int pageBreaks = 0;
    // The heights, vertical margins and line heights asked for, in pixels.
    double heightPixels = 0;
    // Characters since the last blank.
    int wordLength = 0;
    qint64 tableCells = 0;
};

// How a style property's numbers are held: lengths, font sizes, line heights
// (a plain number is a factor of the font size) and indents counted in steps.
enum class Measure { None, Length, FontSize, LineHeight, Indent };
Measure measureOf(const QString &property);

// value (a plain CSS value) with its numbers held to what measure keeps;
// null when one of its numbers is no plain decimal or has a unit that is not
// kept.
QString heldValue(Measure measure, const QString &value);

// Whether the declaration property: value (as it is written) may be kept in
// a text whose markup so far asked for costs: false for a height beyond
// MaxTextHeightPixels or a page break beyond MaxPageBreaks. Takes its share
// of costs when it is kept; costs may be null (nothing counted).
bool takesDeclaration(TextCosts *costs, const QString &property, const QString &value);

// Whether costs leave room for the pixels of a height attribute; takes them
// if so.
bool takesHeight(TextCosts *costs, double pixels);

// A table's border or spacing in pixels (digits, trimmed) and a length
// attribute (a number of pixels or a percentage, trimmed), held.
QString heldSpacing(const QString &pixels);
QString heldLength(const QString &length);

// text with a zero-width space wherever MaxWordLength characters without a
// blank would go on; *wordLength carries the count from text to text, as a
// word goes on across elements. A character beyond the basic plane stays
// whole.
QString withWordBreaks(const QString &text, int *wordLength);

// The spans of one table cell: as written (a row span of 0 spans the rest of
// its row group) and as kept.
struct CellSpans
{
    int colspan = 1;
    int rowspan = 1;
};

// The cells of a table's row groups (thead, tbody, tfoot) row by row, their
// spans as written; on return as kept. Cells are placed as the engines place
// them (a cell in the first column of its row that no cell above still
// covers) and held to what the table fills: row spans end with their row
// group, column spans with the table's widest row (or MaxSpannedColumns),
// and a cell that starts beyond spans nothing. The table's grid places are
// added to costs.
using TableGroups = QVector<QVector<QVector<CellSpans>>>;
void placeTable(TableGroups *groups, TextCosts *costs);

} // namespace MarkupClamps
