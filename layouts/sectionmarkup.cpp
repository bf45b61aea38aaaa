#include "layouts/sectionmarkup.h"

#include "base/apppaths.h"
#include "layouts/boundedread.h"
#include "layouts/layoutlimits.h"
#include "layouts/markupclamps.h"
#include "layouts/sectiontext.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <gumbo.h>

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

// How an attribute's value is judged and written.
enum class Value {
    Text, // any text, escaped
    Align,
    VAlign,
    Dir,
    ListType,
    Integer,
    Spacing, // a table's border and spacings, in pixels
    Span, // a table cell's
    Length,
    Color,
    Style,
    Link,
    Picture
};

struct Attribute
{
    const char *name;
    Value value;
};

struct Element
{
    const char *name;
    QVector<Attribute> attributes;
};

// What the section editor writes: the rich-text engine's paragraphs,
// headings and list items with their alignment, direction and block style;
// spans with character style; lists; tables with their cell layout; line
// breaks and rules; pictures and links. Bold, italic and underline also come
// as elements of their own in texts typed by hand. Nothing here loads or runs
// anything: pictures and links are judged by their own rules, and a table
// cell's background picture, which the engine would also write, is left out.
// Attributes are written in this order, a picture's source first.
const QVector<Element> &allowedElements()
{
    static const QVector<Attribute> block {
        {"align", Value::Align}, {"dir", Value::Dir}, {"style", Value::Style}};
    static const QVector<Attribute> list {
        {"type", Value::ListType}, {"start", Value::Integer}, {"style", Value::Style}};
    static const QVector<Attribute> cell {{"width", Value::Length},  {"height", Value::Length},
                                          {"colspan", Value::Span},  {"rowspan", Value::Span},
                                          {"bgcolor", Value::Color}, {"valign", Value::VAlign},
                                          {"align", Value::Align},   {"style", Value::Style}};
    static const QVector<Element> elements {
        {"p", block},
        {"h1", block},
        {"h2", block},
        {"h3", block},
        {"h4", block},
        {"h5", block},
        {"h6", block},
        {"pre", block},
        {"li", block},
        {"div", block},
        {"ul", list},
        {"ol", list},
        {"span", {{"style", Value::Style}}},
        {"b", {}},
        {"strong", {}},
        {"i", {}},
        {"em", {}},
        {"u", {}},
        {"br", {}},
        {"hr", {{"width", Value::Length}}},
        {"a", {{"href", Value::Link}, {"name", Value::Text}}},
        {"img",
         {{"src", Value::Picture},
          {"alt", Value::Text},
          {"title", Value::Text},
          {"width", Value::Length},
          {"height", Value::Length},
          {"style", Value::Style}}},
        {"table",
         {{"border", Value::Spacing},
          {"style", Value::Style},
          {"align", Value::Align},
          {"width", Value::Length},
          {"height", Value::Length},
          {"cellspacing", Value::Spacing},
          {"cellpadding", Value::Spacing},
          {"bgcolor", Value::Color}}},
        {"thead", {}},
        {"tbody", {}},
        {"tfoot", {}},
        {"tr", {}},
        {"td", cell},
        {"th", cell},
    };
    return elements;
}

// The body tag of the editor's document keeps its style (the editor's font)
// and background colour; it is written only by the document form.
const QVector<Attribute> &bodyAttributes()
{
    static const QVector<Attribute> attributes {{"style", Value::Style}, {"bgcolor", Value::Color}};
    return attributes;
}

// Style properties the rich-text engine writes, all with plain values: sizes,
// keywords, colours. Everything that could load something (url(), image
// functions, @import, expression()) needs characters that no kept value may
// hold.
const QStringList &allowedProperties()
{
    static const QStringList properties {
        QStringLiteral("font-family"),
        QStringLiteral("font-size"),
        QStringLiteral("font-weight"),
        QStringLiteral("font-style"),
        QStringLiteral("font-variant"),
        QStringLiteral("text-decoration"),
        QStringLiteral("text-transform"),
        QStringLiteral("color"),
        QStringLiteral("background-color"),
        QStringLiteral("vertical-align"),
        QStringLiteral("letter-spacing"),
        QStringLiteral("word-spacing"),
        QStringLiteral("margin-top"),
        QStringLiteral("margin-bottom"),
        QStringLiteral("margin-left"),
        QStringLiteral("margin-right"),
        QStringLiteral("padding-top"),
        QStringLiteral("padding-bottom"),
        QStringLiteral("padding-left"),
        QStringLiteral("padding-right"),
        QStringLiteral("-qt-block-indent"),
        QStringLiteral("text-indent"),
        QStringLiteral("-qt-list-indent"),
        QStringLiteral("-qt-paragraph-type"),
        QStringLiteral("-qt-user-state"),
        QStringLiteral("line-height"),
        QStringLiteral("-qt-line-height-type"),
        QStringLiteral("white-space"),
        QStringLiteral("page-break-before"),
        QStringLiteral("page-break-after"),
        QStringLiteral("border-color"),
        QStringLiteral("border-style"),
        QStringLiteral("border-collapse"),
        QStringLiteral("border-top"),
        QStringLiteral("border-right"),
        QStringLiteral("border-bottom"),
        QStringLiteral("border-left"),
        QStringLiteral("border-top-color"),
        QStringLiteral("border-right-color"),
        QStringLiteral("border-bottom-color"),
        QStringLiteral("border-left-color"),
        QStringLiteral("border-top-style"),
        QStringLiteral("border-right-style"),
        QStringLiteral("border-bottom-style"),
        QStringLiteral("border-left-style"),
        QStringLiteral("float"),
        QStringLiteral("text-align"),
        QStringLiteral("width"),
        QStringLiteral("height"),
    };
    return properties;
}

// Elements dropped with everything inside: what runs, loads, embeds or
// holds raw text, form controls, foreign (SVG, MathML) content and table
// parts whose content would stand outside any cell.
bool dropsContent(GumboTag tag)
{
    switch (tag) {
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_NOEMBED:
    case GUMBO_TAG_NOFRAMES:
    case GUMBO_TAG_XMP:
    case GUMBO_TAG_PLAINTEXT:
    case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_IFRAME:
    case GUMBO_TAG_FRAMESET:
    case GUMBO_TAG_FRAME:
    case GUMBO_TAG_OBJECT:
    case GUMBO_TAG_APPLET:
    case GUMBO_TAG_EMBED:
    case GUMBO_TAG_SVG:
    case GUMBO_TAG_MATH:
    case GUMBO_TAG_SELECT:
    case GUMBO_TAG_OPTION:
    case GUMBO_TAG_OPTGROUP:
    case GUMBO_TAG_DATALIST:
    case GUMBO_TAG_BUTTON:
    case GUMBO_TAG_INPUT:
    case GUMBO_TAG_AUDIO:
    case GUMBO_TAG_VIDEO:
    case GUMBO_TAG_SOURCE:
    case GUMBO_TAG_TRACK:
    case GUMBO_TAG_CANVAS:
    case GUMBO_TAG_MARQUEE:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_COLGROUP:
    case GUMBO_TAG_COL:
    case GUMBO_TAG_MAP:
    case GUMBO_TAG_AREA:
    case GUMBO_TAG_PARAM:
    case GUMBO_TAG_LINK:
    case GUMBO_TAG_META:
    case GUMBO_TAG_BASE:
    case GUMBO_TAG_BGSOUND:
    case GUMBO_TAG_IMAGE:
        return true;
    default:
        return false;
    }
}

const Element *allowedElement(const QString &name)
{
    static const QHash<QString, const Element *> byName = [] {
        QHash<QString, const Element *> hash;
        for (const Element &element : allowedElements())
            hash.insert(QLatin1String(element.name), &element);
        return hash;
    }();
    return byName.value(name, nullptr);
}

bool isVoid(const QString &name)
{
    return name == QLatin1String("br") || name == QLatin1String("hr")
        || name == QLatin1String("img");
}

bool isPlainCssValue(const QString &value)
{
    if (value.isEmpty() || value.size() > 128)
        return false;
    for (const QChar c : value) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
            || (u >= '0' && u <= '9') || u == ' ' || u == '#' || u == '%' || u == '.' || u == ','
            || u == '+' || u == '-';
        if (!plain)
            return false;
    }
    return true;
}

bool isCssColorFunction(const QString &value)
{
    static const QRegularExpression pattern(
        QStringLiteral("\\Argba?\\( *[0-9.]{1,8}%? *(, *[0-9.]{1,8}%? *){2,3}\\)\\z"));
    return pattern.match(value).hasMatch();
}

// The families of a font-family value, each written as a quoted CSS string;
// empty when any of them is no font name.
QString keptFamilies(const QString &value)
{
    QStringList families;
    int i = 0;
    const int n = value.size();
    while (i < n) {
        while (i < n && value.at(i).isSpace())
            ++i;
        QString family;
        if (i < n && (value.at(i) == QLatin1Char('\'') || value.at(i) == QLatin1Char('"'))) {
            const int close = value.indexOf(value.at(i), i + 1);
            if (close < 0)
                return QString();
            family = value.mid(i + 1, close - i - 1);
            i = close + 1;
            while (i < n && value.at(i).isSpace())
                ++i;
            if (i < n && value.at(i) != QLatin1Char(','))
                return QString();
        } else {
            const int comma = value.indexOf(QLatin1Char(','), i);
            const int end = comma < 0 ? n : comma;
            family = value.mid(i, end - i).simplified();
            i = end;
        }
        ++i; // the comma
        family = family.trimmed();
        if (family.isEmpty() || !LayoutLimits::isFontFamilyName(family))
            return QString();
        families << QLatin1Char('\'') + family + QLatin1Char('\'');
    }
    return families.join(QLatin1String(", "));
}

// The declarations of a style attribute as CSS reads them: split at
// semicolons outside quoted strings, comments left out (one left open runs
// to the end).
QStringList declarationsOf(const QString &style)
{
    QStringList declarations;
    QString current;
    QChar quote;
    for (int i = 0; i < style.size(); ++i) {
        const QChar c = style.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
        } else if (c == QLatin1Char('/') && i + 1 < style.size()
                   && style.at(i + 1) == QLatin1Char('*')) {
            const int close = style.indexOf(QLatin1String("*/"), i + 2);
            if (close < 0)
                break;
            i = close + 1;
        } else if (c == QLatin1Char(';')) {
            declarations << current;
            current.clear();
        } else {
            if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
                quote = c;
            current += c;
        }
    }
    declarations << current;
    return declarations;
}

bool isOneOf(const QString &value, std::initializer_list<const char *> words)
{
    for (const char *word : words) {
        if (value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// What one text's markup has asked for so far (see MarkupClamps), with the
// spans each table cell is written with.
struct TextCosts : MarkupClamps::TextCosts
{
    QHash<const GumboNode *, QPair<int, int>> cellSpans;
};

// costs, when given, counts the text's page breaks and heights and leaves
// out those the clamps leave out.
QString keptStyle(const QString &style, TextCosts *costs)
{
    QString kept;
    for (const QString &declaration : declarationsOf(style)) {
        const int colon = declaration.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const QString property = declaration.left(colon).trimmed().toLower();
        if (!allowedProperties().contains(property))
            continue;
        const QString value = declaration.mid(colon + 1).trimmed();
        QString written;
        if (property == QLatin1String("font-family"))
            written = keptFamilies(value);
        else if (isCssColorFunction(value))
            written = value;
        else if (isPlainCssValue(value))
            written = MarkupClamps::heldValue(MarkupClamps::measureOf(property), value);
        if (written.isEmpty() || !MarkupClamps::takesDeclaration(costs, property, written))
            continue;
        kept += QLatin1Char(' ') + property + QLatin1Char(':') + written + QLatin1Char(';');
    }
    return kept;
}

// costs, when given, are the text's so far (see keptStyle).
std::optional<QString> keptValue(Value kind, const QString &value, TextCosts *costs = nullptr)
{
    static const QRegularExpression integer(QStringLiteral("\\A-?[0-9]{1,6}\\z"));
    static const QRegularExpression length(QStringLiteral("\\A[0-9]{1,6}(\\.[0-9]{1,3})?%?\\z"));
    static const QRegularExpression color(
        QStringLiteral("\\A(#[0-9A-Fa-f]{3}|#[0-9A-Fa-f]{6}|[A-Za-z]{1,20})\\z"));
    const QString trimmed = value.trimmed();
    bool kept = false;
    switch (kind) {
    case Value::Text:
        return value;
    case Value::Align:
        kept = isOneOf(trimmed, {"left", "right", "center", "justify"});
        break;
    case Value::VAlign:
        kept = isOneOf(trimmed, {"top", "middle", "bottom", "baseline"});
        break;
    case Value::Dir:
        kept = isOneOf(trimmed, {"ltr", "rtl", "auto"});
        break;
    case Value::ListType:
        kept = trimmed.size() == 1 ? QStringLiteral("1aAiI").contains(trimmed.at(0))
                                   : isOneOf(trimmed, {"disc", "circle", "square"});
        break;
    case Value::Integer:
    case Value::Span:
        kept = integer.match(trimmed).hasMatch();
        break;
    case Value::Spacing:
        if (!integer.match(trimmed).hasMatch())
            return std::nullopt;
        return MarkupClamps::heldSpacing(trimmed);
    case Value::Length:
        if (!length.match(trimmed).hasMatch())
            return std::nullopt;
        return MarkupClamps::heldLength(trimmed);
    case Value::Color:
        kept = color.match(trimmed).hasMatch();
        break;
    case Value::Style: {
        const QString style = keptStyle(value, costs);
        if (style.isEmpty())
            return std::nullopt;
        return style;
    }
    case Value::Link:
        kept = SectionMarkup::isLinkUrl(value);
        break;
    case Value::Picture:
        kept = isPictureUrl(pictureReferenceUrl(value));
        break;
    }
    if (!kept)
        return std::nullopt;
    return trimmed;
}

std::optional<QString> keptAttributeOf(const QVector<Attribute> &allowed, const QString &name,
                                       const QString &value)
{
    for (const Attribute &attribute : allowed) {
        if (name == QLatin1String(attribute.name))
            return keptValue(attribute.value, value);
    }
    return std::nullopt;
}

// A tag's attributes as the allow-list orders them; false for a picture
// without a source that may be shown. spans, when given, are the cell's as
// its table places it (see placeTable).
bool appendAttributes(QString *tag, const QVector<Attribute> &allowed,
                      const GumboVector &attributes, TextCosts *costs,
                      const QPair<int, int> *spans = nullptr)
{
    for (const Attribute &attribute : allowed) {
        const GumboAttribute *found = gumbo_get_attribute(&attributes, attribute.name);
        std::optional<QString> value = found
            ? keptValue(attribute.value, QString::fromUtf8(found->value), costs)
            : std::nullopt;
        if (value && attribute.value == Value::Length && qstrcmp(attribute.name, "height") == 0
            && !value->endsWith(QLatin1Char('%'))
            && !MarkupClamps::takesHeight(costs, value->toDouble()))
            value.reset();
        if (value && spans && attribute.value == Value::Span)
            value = QString::number(qstrcmp(attribute.name, "colspan") == 0 ? spans->first
                                                                            : spans->second);
        if (!value) {
            if (attribute.value == Value::Picture)
                return false;
            continue;
        }
        *tag += QLatin1Char(' ') + QLatin1String(attribute.name) + QLatin1String("=\"");
        *tag += value->toHtmlEscaped();
        *tag += QLatin1Char('"');
    }
    return true;
}

// The start tag of an element with its kept attributes; empty for a picture
// without a source that may be shown.
QString startTag(const QString &name, const QVector<Attribute> &allowed,
                 const GumboVector &attributes, TextCosts *costs,
                 const QPair<int, int> *spans = nullptr)
{
    QString tag = QLatin1Char('<') + name;
    if (!appendAttributes(&tag, allowed, attributes, costs, spans))
        return QString();
    tag += isVoid(name) ? QLatin1String(" />") : QLatin1String(">");
    return tag;
}

QString elementName(const GumboElement &element)
{
    if (element.tag == GUMBO_TAG_UNKNOWN || element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return QString();
    return QString::fromLatin1(gumbo_normalized_tagname(element.tag));
}

bool isElement(const GumboNode *node, std::initializer_list<GumboTag> tags)
{
    if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
        return false;
    return std::find(tags.begin(), tags.end(), node->v.element.tag) != tags.end();
}

QVector<const GumboNode *> childrenOf(const GumboNode *parent, std::initializer_list<GumboTag> tags)
{
    QVector<const GumboNode *> found;
    const GumboVector &children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (isElement(child, tags))
            found << child;
    }
    return found;
}

// A cell's span as written, 1 when it is not kept (0 for a row span of the
// rest of its row group).
int writtenSpan(const GumboNode *cell, const char *name)
{
    const GumboAttribute *found = gumbo_get_attribute(&cell->v.element.attributes, name);
    const std::optional<QString> kept
        = found ? keptValue(Value::Span, QString::fromUtf8(found->value)) : std::nullopt;
    return kept ? kept->toInt() : 1;
}

// The spans of table's cells as MarkupClamps::placeTable keeps them; its
// grid places are added to the text's.
void placeTable(const GumboNode *table, TextCosts *costs)
{
    QVector<QVector<QVector<const GumboNode *>>> cells;
    MarkupClamps::TableGroups spans;
    for (const GumboNode *group :
         childrenOf(table, {GUMBO_TAG_THEAD, GUMBO_TAG_TBODY, GUMBO_TAG_TFOOT})) {
        cells.append(QVector<QVector<const GumboNode *>>());
        spans.append(QVector<QVector<MarkupClamps::CellSpans>>());
        for (const GumboNode *row : childrenOf(group, {GUMBO_TAG_TR})) {
            cells.last() << childrenOf(row, {GUMBO_TAG_TD, GUMBO_TAG_TH});
            spans.last().append(QVector<MarkupClamps::CellSpans>());
            for (const GumboNode *cell : qAsConst(cells.last().last()))
                spans.last().last().append(MarkupClamps::CellSpans {writtenSpan(cell, "colspan"),
                                                                    writtenSpan(cell, "rowspan")});
        }
    }
    MarkupClamps::placeTable(&spans, costs);
    for (int g = 0; g < cells.size(); ++g) {
        for (int r = 0; r < cells.at(g).size(); ++r) {
            for (int c = 0; c < cells.at(g).at(r).size(); ++c) {
                const MarkupClamps::CellSpans &kept = spans.at(g).at(r).at(c);
                costs->cellSpans.insert(cells.at(g).at(r).at(c), {kept.colspan, kept.rowspan});
            }
        }
    }
}

// The allowed markup of the children of root. Walked with a stack of its
// own: the parser nests as deep as the text asks.
QString writtenChildren(const GumboNode *root, TextCosts *costs)
{
    struct Level
    {
        const GumboVector *children;
        unsigned next;
        QString close;
    };
    QString out;
    QVector<Level> levels {{&root->v.element.children, 0, QString()}};
    while (!levels.isEmpty()) {
        Level &level = levels.last();
        if (level.next >= level.children->length) {
            out += level.close;
            levels.removeLast();
            continue;
        }
        const auto *node = static_cast<const GumboNode *>(level.children->data[level.next++]);
        switch (node->type) {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            out += MarkupClamps::withWordBreaks(QString::fromUtf8(node->v.text.text),
                                                &costs->wordLength)
                       .toHtmlEscaped();
            break;
        case GUMBO_NODE_ELEMENT: {
            const GumboElement &element = node->v.element;
            if (element.tag_namespace != GUMBO_NAMESPACE_HTML || dropsContent(element.tag))
                break;
            const QString name = elementName(element);
            const Element *allowed = allowedElement(name);
            if (!allowed) {
                // Its content stays, in the place of the element.
                levels.append({&element.children, 0, QString()});
                break;
            }
            if (element.tag == GUMBO_TAG_TABLE)
                placeTable(node, costs);
            const auto spans = costs->cellSpans.constFind(node);
            const QString tag = startTag(name, allowed->attributes, element.attributes, costs,
                                         spans == costs->cellSpans.cend() ? nullptr : &*spans);
            if (tag.isEmpty())
                break;
            out += tag;
            if (isVoid(name))
                break;
            // The parser drops a line break right behind <pre>; one of the
            // text's own there needs another in front of it.
            if (element.tag == GUMBO_TAG_PRE && element.children.length > 0) {
                const auto *first = static_cast<const GumboNode *>(element.children.data[0]);
                if ((first->type == GUMBO_NODE_TEXT || first->type == GUMBO_NODE_WHITESPACE)
                    && first->v.text.text[0] == '\n')
                    out += QLatin1Char('\n');
            }
            levels.append({&element.children, 0, QLatin1String("</") + name + QLatin1Char('>')});
            break;
        }
        default: // comments, documents, templates
            break;
        }
    }
    return out;
}

// The parser's memory: handed out from large chunks and given back all at
// once when the text is written, so that the parser's many small blocks cost
// no call to the system each. What it takes is counted, freed blocks
// included, and the parse is stopped at the limit: markup that makes the
// parser copy its open elements again and again, or build far more than the
// text's size, is refused early. Owned by the caller of parse(), outside the
// frame that jumps.
struct ParserMemory
{
    static constexpr size_t ChunkSize = size_t(64) << 10;
    static constexpr size_t Alignment = alignof(std::max_align_t);

    struct Chunk
    {
        Chunk *next;
    };
    static constexpr size_t HeaderSize = (sizeof(Chunk) + Alignment - 1) / Alignment * Alignment;

    explicit ParserMemory(qint64 limit)
        : limit(size_t(std::max<qint64>(limit, 0)))
    {
    }
    ParserMemory(const ParserMemory &) = delete;
    ParserMemory &operator=(const ParserMemory &) = delete;

    const size_t limit;
    Chunk *chunks = nullptr;
    unsigned char *free = nullptr;
    size_t left = 0;
    size_t taken = 0;
    std::jmp_buf exhausted;

    unsigned char *newChunk(size_t size)
    {
        auto *chunk = static_cast<Chunk *>(std::malloc(HeaderSize + size));
        if (!chunk)
            std::longjmp(exhausted, 1);
        chunk->next = chunks;
        chunks = chunk;
        return reinterpret_cast<unsigned char *>(chunk) + HeaderSize;
    }

    static void *allocate(void *self, size_t size)
    {
        auto *memory = static_cast<ParserMemory *>(self);
        size = (std::max<size_t>(size, 1) + Alignment - 1) / Alignment * Alignment;
        if (size > memory->limit || memory->taken > memory->limit - size)
            std::longjmp(memory->exhausted, 1);
        memory->taken += size;
        // A large block gets a chunk of its own; the current one goes on.
        if (size > ChunkSize / 4)
            return memory->newChunk(size);
        if (size > memory->left) {
            memory->free = memory->newChunk(ChunkSize);
            memory->left = ChunkSize;
        }
        void *block = memory->free;
        memory->free += size;
        memory->left -= size;
        return block;
    }

    static void release(void *, void *) { }

    ~ParserMemory()
    {
        while (chunks) {
            Chunk *next = chunks->next;
            std::free(chunks);
            chunks = next;
        }
    }
};

// The parse of utf8 with memory taken from memory; null when it ran out.
// Only the parser's C frames lie between the setjmp here and the jump, and
// this frame changes nothing after setjmp: the memory record belongs to the
// caller, whose frame the jump does not touch, and gives back what it took.
// The tree is not destroyed through the parser (that recurses as deep as
// the tree); it goes with the memory.
GumboOutput *parse(ParserMemory *memory, const QByteArray &utf8)
{
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &ParserMemory::allocate;
    options.deallocator = &ParserMemory::release;
    options.userdata = memory;
    options.max_errors = 0;
    if (setjmp(memory->exhausted) != 0)
        return nullptr;
    return gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
}

// What the parser may take for a text of this many UTF-8 bytes.
qint64 parserLimit(qint64 bytes)
{
    return SectionMarkup::ParserBaseBytes + SectionMarkup::ParserBytesPerTextByte * bytes;
}

bool isHtmlSpace(ushort c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool isAsciiLetter(ushort c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The states of the parser's tokenizer inside a tag, from its name on.
enum TagState : unsigned char {
    TagName,
    BeforeName,
    Name,
    AfterName,
    BeforeValue,
    DoubleQuoted,
    SingleQuoted,
    Unquoted,
    AfterQuoted,
    SelfClosing,
    TagStateCount,
    TagEnd = TagStateCount
};

// The tokenizer's step on c in state; *starts is set when c begins an
// attribute.
TagState nextTagState(TagState state, ushort c, bool *starts)
{
    *starts = false;
    const bool space = isHtmlSpace(c);
    // Where a new attribute may begin: anything but a blank, '/' or '>'
    // starts one.
    const auto attributeStart = [&](TagState blank) {
        if (space)
            return blank;
        if (c == '/')
            return SelfClosing;
        if (c == '>')
            return TagEnd;
        *starts = true;
        return Name;
    };
    switch (state) {
    case TagName:
        return space ? BeforeName : c == '/' ? SelfClosing : c == '>' ? TagEnd : TagName;
    case BeforeName:
    case AfterQuoted:
    case SelfClosing:
        return attributeStart(BeforeName);
    case Name:
        return space   ? AfterName
            : c == '/' ? SelfClosing
            : c == '=' ? BeforeValue
            : c == '>' ? TagEnd
                       : Name;
    case AfterName:
        return c == '=' ? BeforeValue : attributeStart(AfterName);
    case BeforeValue:
        return space    ? BeforeValue
            : c == '"'  ? DoubleQuoted
            : c == '\'' ? SingleQuoted
            : c == '>'  ? TagEnd
                        : Unquoted;
    case DoubleQuoted:
        return c == '"' ? AfterQuoted : DoubleQuoted;
    case SingleQuoted:
        return c == '\'' ? AfterQuoted : SingleQuoted;
    case Unquoted:
        return space ? BeforeName : c == '>' ? TagEnd : Unquoted;
    default:
        return TagEnd;
    }
}

bool isTagNamed(const QString &html, int nameStart, QLatin1String name)
{
    const int end = nameStart + name.size();
    if (end > html.size() || html.midRef(nameStart, name.size()).compare(name, Qt::CaseInsensitive))
        return false;
    if (end == html.size())
        return true;
    const ushort c = html.at(end).unicode();
    return isHtmlSpace(c) || c == '/' || c == '>';
}

} // namespace

namespace SectionMarkup {

AttributeBound attributeBound(const QString &html)
{
    // Every '<' followed by a letter (or '/' and a letter) is taken as a
    // tag, so that no context the parser may be in is missed. The tags are
    // followed side by side, at most one per tokenizer state: two in the
    // same state read the same from there on, so the one with more
    // attributes so far stands for both. Of two tags read at once at most
    // one is a tag to the parser (it reads one tag after the other), so the
    // total stays above the parser's too.
    int first[TagStateCount];
    int second[TagStateCount];
    int *counts = first; // valid for the states in live
    int *next = second;
    unsigned live = 0;
    int most = 0;
    qint64 total = 0;
    int htmlTags = 0;
    int bodyTags = 0;
    const ushort *text = reinterpret_cast<const ushort *>(html.constData());
    const int n = html.size();
    constexpr unsigned quoted = 1u << DoubleQuoted | 1u << SingleQuoted;
    int nameStart = -1; // of the tag whose '<' was read last
    for (int p = 0; p < n; ++p) {
        if (p > nameStart) {
            if (live == 0) {
                // Outside every tag only a '<' matters.
                p = html.indexOf(QLatin1Char('<'), p);
                if (p < 0)
                    break;
            } else if ((live & ~quoted) == 0 && (live & (live - 1)) == 0) {
                // Inside one quoted value only its quote and a '<' matter.
                const ushort quote = live == 1u << DoubleQuoted ? '"' : '\'';
                while (p < n && text[p] != quote && text[p] != '<')
                    ++p;
                if (p == n)
                    break;
            }
        }
        const ushort c = text[p];
        unsigned nextLive = 0;
        for (unsigned states = live; states != 0; states &= states - 1) {
            const int state = __builtin_ctz(states);
            bool starts = false;
            const TagState to = nextTagState(TagState(state), c, &starts);
            const int count = counts[state] + int(starts);
            if (to == TagEnd) {
                most = std::max(most, count);
                total += count;
            } else if (nextLive & 1u << to) {
                next[to] = std::max(next[to], count);
            } else {
                nextLive |= 1u << to;
                next[to] = count;
            }
        }
        std::swap(counts, next);
        live = nextLive;
        if (p == nameStart) {
            // The name's first letter, read in the tag-open state, which
            // goes on in the name state.
            counts[TagName] = live & 1u << TagName ? std::max(counts[TagName], 0) : 0;
            live |= 1u << TagName;
        } else if (c == '<' && p + 1 < n) {
            const bool end = text[p + 1] == '/';
            const int name = p + 1 + int(end);
            if (name < n && isAsciiLetter(text[name])) {
                nameStart = name;
                if (!end) {
                    htmlTags += isTagNamed(html, name, QLatin1String("html"));
                    bodyTags += isTagNamed(html, name, QLatin1String("body"));
                }
            }
        }
    }
    for (unsigned states = live; states != 0; states &= states - 1) {
        const int count = counts[__builtin_ctz(states)];
        most = std::max(most, count);
        total += count;
    }
    // The page's html and body elements take the attributes of every tag of
    // their name.
    AttributeBound bound;
    bound.perElement = int(std::min<qint64>(qint64(most) * std::max({1, htmlTags, bodyTags}),
                                            std::numeric_limits<int>::max()));
    bound.total = total;
    return bound;
}

} // namespace SectionMarkup

namespace {

const GumboNode *childElement(const GumboNode *parent, GumboTag tag)
{
    const GumboVector &children = parent->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto *child = static_cast<const GumboNode *>(children.data[i]);
        if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == tag)
            return child;
    }
    return nullptr;
}

QString bodyStart(const GumboNode *body, TextCosts *costs)
{
    QString tag = QStringLiteral("<body");
    if (body)
        appendAttributes(&tag, bodyAttributes(), body->v.element.attributes, costs);
    return tag + QLatin1Char('>');
}

// One pass: parse and write back, within memory. False when the parser ran
// out of it. costs are the pass's.
// utf8 is html without its paragraph markers.
bool rebuilt(const QString &html, const QByteArray &utf8, ParserMemory *memory, QString *out,
             TextCosts *costs)
{
    const GumboOutput *output = parse(memory, utf8);
    if (!output || !output->root)
        return false;
    const GumboNode *body = childElement(output->root, GUMBO_TAG_BODY);
    const QString content = body ? writtenChildren(body, costs) : QString();
    // A fragment gets markers only if it had them: the builder turns each
    // into a line break.
    if (!html.contains(QLatin1String("<body"), Qt::CaseInsensitive)) {
        *out = html.contains(QLatin1String(ParagraphMarker)) ? withParagraphMarkers(content)
                                                             : content;
        return true;
    }
    const QString marker = QLatin1String(ParagraphMarker);
    QString marked = withParagraphMarkers(content);
    int first = 0;
    while (first < marked.size() && marked.at(first).isSpace())
        ++first;
    if (!marked.midRef(first).startsWith(marker))
        marked.prepend(marker);
    *out
        = QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" "
                        "\"http://www.w3.org/TR/REC-html40/strict.dtd\">\n<html><head><meta "
                        "name=\"qrichtext\" content=\"1\" /><meta http-equiv=\"Content-Type\" "
                        "content=\"text/html; charset=UTF-8\" /><style type=\"text/css\">\np, li { "
                        "white-space: pre-wrap; }\n</style></head>")
        + bodyStart(body, costs) + marked + QLatin1String("</body></html>");
    return true;
}

// Rebuilding may leave markup that the parser reads otherwise (a heading
// put inside a heading, an element the parser moves out of a table), which
// the next pass rebuilds once more. The filter passes until the text stays
// as it is, at most this often.
constexpr int MaxPasses = 4;

QString tooLong()
{
    return QStringLiteral("one of its texts is longer than a layout file can take.");
}

QString tooLongInFile()
{
    return QStringLiteral("its texts are longer than one layout file can take.");
}

QString tooManyAttributes()
{
    return QStringLiteral("one of its texts holds a tag with more attributes than a layout file "
                          "can take.");
}

QString tooMuchInText()
{
    return QStringLiteral("one of its texts holds more formatting than a layout file can take.");
}

QString tooMuchInFile()
{
    return QStringLiteral("its texts hold more formatting than one layout file can take.");
}

QString tooLargeTables()
{
    return QStringLiteral("one of its texts holds tables larger than a layout file can take.");
}

QString unsettled()
{
    return QStringLiteral("one of its texts holds formatting that does not read the same twice.");
}

} // namespace

namespace SectionMarkup {

QString textTooLong()
{
    return tooLong();
}

QString textsTooLong()
{
    return tooLongInFile();
}

int pagesBeyond(qint64 length)
{
    const qint64 beyond = length - MaxTextLength;
    return beyond <= 0 ? 0 : int((beyond + StoredPageLength - 1) / StoredPageLength);
}

int tagCount(const QString &html)
{
    return int(html.count(QLatin1Char('<')));
}

bool filter(const QString &html, QString *out, BoundedRead::ReadBudget *budget, QString *problem)
{
    const auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    if (html.size() > MaxTextLength)
        return refuse(tooLong());
    const int tags = tagCount(html);
    if (tags > MaxTextTags)
        return refuse(tooMuchInText());
    if (budget) {
        if (tags > budget->markupTagsLeft)
            return refuse(tooMuchInFile());
        budget->markupTagsLeft -= tags;
    }
    // Without tags or references there is nothing to parse: a '>' is text.
    // It still counts in the file's length.
    if (!html.contains(QLatin1Char('<')) && !html.contains(QLatin1Char('&'))) {
        if (budget) {
            if (html.size() > budget->parsedLengthLeft)
                return refuse(tooLongInFile());
            budget->parsedLengthLeft -= html.size();
        }
        int wordLength = 0;
        *out = MarkupClamps::withWordBreaks(html, &wordLength);
        return true;
    }
    QString current = html;
    for (int pass = 0; pass < MaxPasses; ++pass) {
        // Each pass's text is one the next filter may be given: it meets
        // the same limits, and comes back as it is without markup.
        if (pass > 0 && !current.contains(QLatin1Char('<'))
            && !current.contains(QLatin1Char('&'))) {
            *out = current;
            return true;
        }
        if (pass > 0 && current.size() > MaxTextLength)
            return refuse(tooLong());
        const int passTags = pass > 0 ? tagCount(current) : tags;
        if (passTags > MaxTextTags)
            return refuse(tooMuchInText());
        const QString unmarked = withoutParagraphMarkers(current);
        const AttributeBound attributes = attributeBound(unmarked);
        if (attributes.perElement > MaxTagAttributes)
            return refuse(tooManyAttributes());
        const qint64 units = passTags + attributes.total;
        const qint64 pairs = units * units;
        if (pairs > MaxMarkupPairs)
            return refuse(tooMuchInText());
        const QByteArray utf8 = unmarked.toUtf8();
        const qint64 ownLimit = parserLimit(utf8.size());
        bool fileBound = false;
        if (budget) {
            if (unmarked.size() > budget->parsedLengthLeft)
                return refuse(tooLongInFile());
            if (pairs > budget->markupPairsLeft)
                return refuse(tooMuchInFile());
            budget->parsedLengthLeft -= unmarked.size();
            budget->markupPairsLeft -= pairs;
            fileBound = budget->parserBytesLeft < ownLimit;
        }
        ParserMemory memory(fileBound ? budget->parserBytesLeft : ownLimit);
        QString next;
        TextCosts costs;
        const bool done = rebuilt(current, utf8, &memory, &next, &costs);
        if (budget)
            budget->parserBytesLeft -= qint64(memory.taken);
        if (!done)
            return refuse(fileBound ? tooMuchInFile() : tooMuchInText());
        if (costs.tableCells > MarkupClamps::MaxTableCells)
            return refuse(tooLargeTables());
        if (next == current) {
            *out = next;
            return true;
        }
        current = next;
    }
    return refuse(unsettled());
}

QString filtered(const QString &html)
{
    QString out;
    return filter(html, &out) ? out : QString();
}

bool isAllowedElement(const QString &name)
{
    return allowedElement(name) != nullptr;
}

QString keptAttribute(const QString &element, const QString &name, const QString &value)
{
    const Element *allowed = allowedElement(element);
    const std::optional<QString> kept = element == QLatin1String("body")
        ? keptAttributeOf(bodyAttributes(), name, value)
        : allowed ? keptAttributeOf(allowed->attributes, name, value)
                  : std::nullopt;
    return kept ? (kept->isNull() ? QString(QLatin1String("")) : *kept) : QString();
}

bool isLinkUrl(const QString &url)
{
    const QString trimmed = url.trimmed();
    if (trimmed.isEmpty() || hasHiddenUrlCharacters(trimmed))
        return false;
    static const char *const schemes[] = {"http:", "https:", "mailto:"};
    for (const char *scheme : schemes) {
        if (trimmed.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return QUrl(trimmed).isValid();
    }
    return false;
}

bool pictureSources(const QString &html, QVector<PictureSource> *sources)
{
    sources->clear();
    // A picture's tag begins "<img" or "<image", whatever the context.
    if (!html.contains(QLatin1String("<im"), Qt::CaseInsensitive))
        return true;
    if (attributeBound(html).perElement > MaxTagAttributes)
        return false;
    QByteArray utf8 = html.toUtf8();
    const int length = utf8.size();
    // Whatever the text leaves open at its end (a quote, a tag) is closed
    // behind it, so that a tag cut off by the end is still seen.
    utf8 += "\"'>";
    ParserMemory memory(parserLimit(utf8.size()));
    const GumboOutput *output = parse(&memory, utf8);
    if (!output)
        return false;
    const char *base = utf8.constData();
    const auto offset = [base](const char *at) {
        return int(at - base);
    };
    struct Found
    {
        int tag, name, value, valueEnd;
        bool closed;
        QString value8;
    };
    QVector<Found> found;
    QVector<const GumboNode *> pending {output->document};
    while (!pending.isEmpty()) {
        const GumboNode *node = pending.takeLast();
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE
            && node->type != GUMBO_NODE_DOCUMENT)
            continue;
        const GumboVector &children = node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                                                        : node->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            pending.append(static_cast<const GumboNode *>(children.data[i - 1]));
        if (node->type == GUMBO_NODE_DOCUMENT || node->v.element.tag != GUMBO_TAG_IMG
            || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
            continue;
        const GumboElement &element = node->v.element;
        const GumboAttribute *src = gumbo_get_attribute(&element.attributes, "src");
        const GumboStringPiece &tag = element.original_tag;
        // An attribute without a value has its name for its value as written.
        if (!src || !tag.data || src->original_value.length == 0 || tag.data < base
            || src->original_value.data < src->original_name.data + src->original_name.length
            || src->original_value.data < tag.data
            || src->original_value.data + src->original_value.length > tag.data + tag.length)
            continue;
        found.append({offset(tag.data), offset(src->original_name.data),
                      offset(src->original_value.data),
                      offset(src->original_value.data) + int(src->original_value.length),
                      offset(tag.data) + int(tag.length) <= length, QString::fromUtf8(src->value)});
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.tag < b.tag; });
    // From byte offsets to positions in html: one position for every byte
    // that starts a character, two for one beyond the basic plane.
    QVector<int> offsets;
    for (const Found &f : qAsConst(found))
        offsets << f.tag << f.name << f.value << f.valueEnd;
    std::sort(offsets.begin(), offsets.end());
    QHash<int, int> positionOf;
    int byte = 0;
    int position = 0;
    for (const int wanted : qAsConst(offsets)) {
        for (; byte < wanted && byte < length; ++byte) {
            const uchar b = uchar(base[byte]);
            if ((b & 0xc0) != 0x80)
                position += b >= 0xf0 ? 2 : 1;
        }
        positionOf.insert(wanted, std::min(position + std::max(0, wanted - length), html.size()));
    }
    for (const Found &f : qAsConst(found)) {
        PictureSource source;
        source.tagStart = positionOf.value(f.tag);
        int name = source.tagStart + 1;
        while (name < html.size() && !isHtmlSpace(html.at(name).unicode())
               && html.at(name) != QLatin1Char('/') && html.at(name) != QLatin1Char('>'))
            ++name;
        while (name < html.size() && isHtmlSpace(html.at(name).unicode()))
            ++name;
        source.attributesStart = name;
        source.sourceStart = positionOf.value(f.name);
        source.valueStart = positionOf.value(f.value);
        source.valueEnd = positionOf.value(f.valueEnd);
        source.value = f.value8;
        source.closed = f.closed;
        sources->append(source);
    }
    return true;
}

} // namespace SectionMarkup
