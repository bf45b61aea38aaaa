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

// The stored form of the editor's document html (as the rich-text engine writes
// it, sizes as shown): a marker before every "<p" and the sizes brought back
// down by sizeOffset.
QString storedCustomText(const QString &editorHtml, int sizeOffset);

// A stored custom text without its paragraph markers.
QString withoutParagraphMarkers(const QString &stored);

// A stored custom text ready to be loaded into the editor: without its
// paragraph markers, and without a font size on its body tag. The report
// prints only what the body holds, so text without a size of its own prints
// at the report's size; a body size would give it one in the editor.
QString customTextForEditor(const QString &stored);

// html without the markup that makes a page embed, fetch or run something:
// the elements iframe, frame, frameset, object, embed, link, base, meta, form
// and script, style elements that could load a file (url(), @import, image
// functions, escapes), and in every other tag the attributes that run script:
// event handlers (every name beginning with "on", in any case), attributes
// whose value is a javascript: or vbscript: URL (in any case, with character
// references, blanks or control characters in it) and names beginning with
// '=' (only a broken tag has one). Script, iframe and such style elements go
// with their content; the others only lose their tags. The editor's own head
// (its meta lines and plain style block) stays, as does everything else. The
// result is its own fixed point. Every '<' is checked, whatever the context,
// so no parser can find such a tag or attribute in the result: tags are read
// as a browser reads them, and inside a tag that stays every '<' and '>' is
// written as "&lt;" and "&gt;", so every tag ends at its first '>' and holds
// no other; where a removal would join two pieces into a new tag start, the
// '<' before it is written as "&lt;".
QString withoutFetchingMarkup(const QString &html);

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
