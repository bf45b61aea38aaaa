#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

namespace BoundedRead {
struct ReadBudget;
}

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

// What the parser may be given and build, for one text and for all texts
// of one layout file together. Parsing costs grow faster than the text on
// some markup (attributes of one tag, elements the parser opens again in
// every paragraph, deep nestings); these keep the parse of a hostile text to
// about a second. What a text costs the view, the PDF and the editor beyond
// its parse is measured when a shared layout is tried, not estimated here.
// The editor's texts stay far below: a page of formatted text holds some
// fifty to a few hundred tags and attributes, and fewer than ten attributes
// a tag.
// Tags, counted as '<'.
constexpr int MaxTextTags = 1 << 14;
constexpr qint64 MaxLayoutTags = 250000;
// Characters of one text, and those one file may hold in all its texts and
// names, markup or not, with what the parser reads again in later passes.
// One text holds some 190 pages of the editor's text (see
// StoredPageLength), a file about 2,300.
constexpr int MaxTextLength = 1 << 20;
constexpr qint64 MaxLayoutParsedLength = qint64(12) << 20;
// A page of the editor's text as the user is told about lengths: some 4,000
// characters of prose with its paragraphs, a heading and a bold phrase or
// two take about this many in the stored form.
constexpr int StoredPageLength = 5500;
// Attributes one element may gather (see attributeBound).
constexpr int MaxTagAttributes = 100;
// The parser's work on one text can grow with the square of its tags and
// attributes (searches of its open elements for each tag, comparisons of
// each formatting element's attributes with those before it): each parse
// counts that square, for one text and for one file, against this.
constexpr qint64 MaxMarkupPairs = qint64(MaxTextTags) * MaxTextTags;
constexpr qint64 MaxLayoutMarkupPairs = 3 * MaxMarkupPairs;
// The parser's memory, every block it takes counted (freed ones too): for
// one text a base and a share of its UTF-8 size, for one file a total.
// Markup that makes the parser copy its open elements into every paragraph
// takes far more than its share.
constexpr qint64 ParserBaseBytes = qint64(1) << 20;
constexpr qint64 ParserBytesPerTextByte = 64;
constexpr qint64 MaxLayoutParserBytes = qint64(96) << 20;

// The number of '<' in html.
int tagCount(const QString &html);

// The attributes of html as the parser may read them, counted high rather
// than low: for every '<' that may open a tag, whatever context the parser
// is in there, the attributes its tag holds read as the parser reads tags
// (quoted values may hold '<' and '>', a closing quote or a '/' also ends an
// attribute).
struct AttributeBound
{
    // The most one element gathers: one tag's, or those of all html (or
    // all body) tags, which the parser gathers on its one html (and body)
    // element.
    int perElement = 0;
    // All tags' together.
    qint64 total = 0;
};
AttributeBound attributeBound(const QString &html);

// html rebuilt from the allowed markup (see sectionmarkup.cpp for the lists).
// A text holding a body tag, as the editor writes them, comes back as the
// editor's whole document with a paragraph marker before every paragraph
// (and one right behind the body tag, so the report starts its text there);
// any other text comes back as a fragment. A text without markup comes back
// as it was (its words broken after MarkupClamps::MaxWordLength characters),
// and the result is its own fixed point: filtered again it comes back the
// same. The values it keeps are held by MarkupClamps. False when the text is
// refused, beyond the limits above (or MarkupClamps::MaxTableCells) before or
// after,
// or rebuilt into markup that a parse reads otherwise even after a few
// passes; *out is then untouched and *problem, when given, says why in a
// sentence for the user. budget, when given, is shared by all texts of one
// file: its tags and parser memory are taken from it.
bool filter(const QString &html, QString *out, BoundedRead::ReadBudget *budget = nullptr,
            QString *problem = nullptr);

// filter's reasons for a text longer than MaxTextLength and for texts longer
// together than a file's budget, for readers that refuse them unread.
QString textTooLong();
QString textsTooLong();

// The editor pages (StoredPageLength, rounded up) by which a text of length
// characters is longer than MaxTextLength; 0 when it is not longer.
int pagesBeyond(qint64 length);

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

// One picture a page shows from html: an img element (or an image tag, which
// the parser reads as one) with a source attribute written with a value.
// Positions are indexes into html.
struct PictureSource
{
    int tagStart = 0; // the '<' of its tag
    int attributesStart = 0; // behind the tag name and the blanks after it
    int sourceStart = 0; // the source attribute's name
    int valueStart = 0; // its value as written, quotes included
    int valueEnd = 0;
    QString value; // as the page reads it, character references decoded
    bool closed = true; // false: the text ends inside the tag
};

// Every picture source of html in text order, read by the same parser as
// the filter within the same bounds for one text, scaled to html's size.
// False when html is beyond them.
bool pictureSources(const QString &html, QVector<PictureSource> *sources);

} // namespace SectionMarkup
