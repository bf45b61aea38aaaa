#pragma once

#include <QList>
#include <QString>

// How the text editor stores a section's custom texts for the report builder,
// and which entries of a section it lists.

// Put in front of every paragraph of a stored custom text; the report builder
// starts the section's text after the first one, so every further paragraph
// is preceded by a line break.
constexpr const char *ParagraphMarker = "<!-- md --><br>";

// The editor shows every explicit font size this many points larger than the
// report prints it. Text without a size of its own shows in the editor's font,
// 16 points, and prints at the report's 16 pixels (12 points): the same offset.
constexpr int EditorSizeOffset = 4;

// html with every explicit size of its text changed by delta points: each
// "font-size:<n>pt;" and "font-size:<n>px;" (a CSS pixel being 3/4 point)
// becomes "font-size:<n + delta>pt;", a whole number where the result is one,
// else with at most two decimals. Sizes in other forms (keywords, numbers with
// exponents) stay as they are. The style of a body tag, which holds the
// editor's own font rather than a size of the text, stays too.
QString upHtmlFontSize(const QString &html, int delta);

// html with a marker before every "<p" (paragraphs and pre blocks alike).
QString withParagraphMarkers(const QString &html);

// The stored form of the editor's document html (as the rich-text engine writes
// it, sizes as shown): the sizes brought back down by sizeOffset, and the text
// through the section markup filter, which puts a marker before every "<p".
// A text the filter refuses keeps its markup, with the markers; a layout
// holding it is not stored (LayoutLimits::storeProblem).
QString storedCustomText(const QString &editorHtml, int sizeOffset);
// The same into *stored; false when the filter refuses the text, *problem
// (when given) then holding the filter's reason.
bool storeCustomText(const QString &editorHtml, int sizeOffset, QString *stored,
                     QString *problem = nullptr);

// A stored custom text without its paragraph markers.
QString withoutParagraphMarkers(const QString &stored);

// A stored custom text ready to be loaded into the editor: without its
// paragraph markers, and without a font size on its body tag. The report
// prints only what the body holds, so text without a size of its own prints
// at the report's size; a body size would give it one in the editor.
QString customTextForEditor(const QString &stored);

// One line of the editor's entry box: its label and the entry it edits.
struct EditorEntry
{
    QString label;
    int entry;
};

// The entries the editor lists for a section of the given kind and type: only
// entries whose standard text (defaultTexts[entry]) is not empty. defaultCount
// is the size of the table, textCount that of the section's texts; no entry at
// or beyond either is listed.
QList<EditorEntry> editorEntries(int kind, int type, const QString *defaultTexts, int defaultCount,
                                 int textCount);
