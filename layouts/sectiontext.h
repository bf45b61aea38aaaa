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
// report prints it.
constexpr int EditorSizeOffset = 4;

// html with every "font-size:<integer>pt;" changed by delta. A size that is not
// a whole number, or a "font-size:" without a following "pt;", leaves the whole
// text unchanged.
QString upHtmlFontSize(const QString &html, int delta);

// The stored form of the editor's document html (as the rich-text engine writes
// it, sizes as shown): a marker before every "<p" and the sizes brought back
// down by sizeOffset.
QString storedCustomText(const QString &editorHtml, int sizeOffset);

// A stored custom text without its paragraph markers, ready to be loaded.
QString withoutParagraphMarkers(const QString &stored);

// html without the markup that makes a page embed or fetch something: the
// elements iframe, frame, frameset, object, embed, link, base, meta, form and
// script, and style elements that could load a file (url(), @import, image
// functions, escapes). Script, iframe and such style elements go with their
// content; the others only lose their tags. The editor's own head (its meta
// lines and plain style block) stays, as does everything else. The result is
// its own fixed point. Every '<' is checked, whatever the context, so no
// parser can find such a tag in the result; where a removal would join two
// pieces into a new tag start, the '<' before it is written as "&lt;".
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
