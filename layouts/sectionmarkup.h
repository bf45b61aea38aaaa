#pragma once

#include <QString>
#include <QtGlobal>

// The markup a section text may carry into a report. Texts come from layouts
// that anyone may share, and the reports they go into are shown, saved as
// HTML and printed by a browser engine; so a text is never cleaned of what is
// known to be harmful, it is rebuilt from what the section editor itself
// writes. The text is parsed as a browser parses it (libgumbo implements the
// HTML5 parsing rules) and written back with only the allowed elements,
// attributes and style properties, every value quoted and escaped, every
// element closed, pictures only where report pages may show them and links
// only to web and mail addresses.
namespace SectionMarkup {

// The most tags (counted as '<') one text may hold, as read or as filtered,
// and all texts of one layout file together. Parsing costs grow faster than
// the text on some nestings; these keep a hostile file to a fraction of a
// second. The editor's texts stay far below: a page of formatted text holds a
// few hundred.
constexpr int MaxTextTags = 10000;
constexpr qint64 MaxLayoutTags = 100000;

// The number of '<' in html.
int tagCount(const QString &html);

// html rebuilt from the allowed markup (see sectionmarkup.cpp for the lists).
// A text holding a body tag, as the editor writes them, comes back as the
// editor's whole document with a paragraph marker before every paragraph
// (and one right behind the body tag, so the report starts its text there);
// any other text comes back as a fragment. A text without markup comes back
// as it was, and the result is its own fixed point. False when the text is
// refused, for more than MaxTextTags tags before or after or for a nesting
// the parser cannot take within its memory budget; *out is then untouched.
bool filter(const QString &html, QString *out);

// filter's result, or an empty text for a refused one.
QString filtered(const QString &html);

// Whether the element (a lower-case HTML name) may stand in a filtered text.
bool isAllowedElement(const QString &name);

// The value an allowed attribute of an allowed element is written with; a
// null string when the attribute or this value of it is not kept. Style
// values keep only allowed properties with plain values and font families
// as quoted strings; links keep http, https and mailto; pictures follow
// isPictureUrl.
QString keptAttribute(const QString &element, const QString &name, const QString &value);

// Whether url may be the target of a link: http, https or mailto, with no
// blank or control character inside that a browser would drop or read
// otherwise.
bool isLinkUrl(const QString &url);

} // namespace SectionMarkup
