#include "layouts/sectionmarkup.h"

#include "base/apppaths.h"
#include "layouts/layoutlimits.h"
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
    static const QVector<Attribute> cell {{"width", Value::Length},    {"height", Value::Length},
                                          {"colspan", Value::Integer}, {"rowspan", Value::Integer},
                                          {"bgcolor", Value::Color},   {"valign", Value::VAlign},
                                          {"align", Value::Align},     {"style", Value::Style}};
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
         {{"border", Value::Integer},
          {"style", Value::Style},
          {"align", Value::Align},
          {"width", Value::Length},
          {"height", Value::Length},
          {"cellspacing", Value::Integer},
          {"cellpadding", Value::Integer},
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

QString keptStyle(const QString &style)
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
        else if (isPlainCssValue(value) || isCssColorFunction(value))
            written = value;
        if (!written.isEmpty())
            kept += QLatin1Char(' ') + property + QLatin1Char(':') + written + QLatin1Char(';');
    }
    return kept;
}

bool isOneOf(const QString &value, std::initializer_list<const char *> words)
{
    for (const char *word : words) {
        if (value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::optional<QString> keptValue(Value kind, const QString &value)
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
        kept = integer.match(trimmed).hasMatch();
        break;
    case Value::Length:
        kept = length.match(trimmed).hasMatch();
        break;
    case Value::Color:
        kept = color.match(trimmed).hasMatch();
        break;
    case Value::Style: {
        const QString style = keptStyle(value);
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
// without a source that may be shown.
bool appendAttributes(QString *tag, const QVector<Attribute> &allowed,
                      const GumboVector &attributes)
{
    for (const Attribute &attribute : allowed) {
        const GumboAttribute *found = gumbo_get_attribute(&attributes, attribute.name);
        const std::optional<QString> value
            = found ? keptValue(attribute.value, QString::fromUtf8(found->value)) : std::nullopt;
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
                 const GumboVector &attributes)
{
    QString tag = QLatin1Char('<') + name;
    if (!appendAttributes(&tag, allowed, attributes))
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

// The allowed markup of the children of root. Walked with a stack of its
// own: the parser nests as deep as the text asks.
QString writtenChildren(const GumboNode *root)
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
            out += QString::fromUtf8(node->v.text.text).toHtmlEscaped();
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
            const QString tag = startTag(name, allowed->attributes, element.attributes);
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
// included, and a nesting that makes it copy its open elements again and
// again is stopped at the budget.
struct ParserMemory
{
    static constexpr size_t Budget = size_t(64) << 20;
    static constexpr size_t ChunkSize = size_t(64) << 10;
    static constexpr size_t Alignment = alignof(std::max_align_t);

    struct Chunk
    {
        Chunk *next;
    };
    static constexpr size_t HeaderSize = (sizeof(Chunk) + Alignment - 1) / Alignment * Alignment;

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
        if (size > Budget || memory->taken + size > Budget)
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

QString bodyStart(const GumboNode *body)
{
    QString tag = QStringLiteral("<body");
    if (body)
        appendAttributes(&tag, bodyAttributes(), body->v.element.attributes);
    return tag + QLatin1Char('>');
}

// One pass: parse and write back. False when the parser ran out of memory.
bool rebuilt(const QString &html, QString *out)
{
    const QByteArray utf8 = withoutParagraphMarkers(html).toUtf8();
    ParserMemory memory;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &ParserMemory::allocate;
    options.deallocator = &ParserMemory::release;
    options.userdata = &memory;
    options.max_errors = 0;
    // Only C frames of the parser lie between here and the jump; the
    // memory's destructor gives back what it took.
    volatile bool parsed = false;
    GumboOutput *output = nullptr;
    if (setjmp(memory.exhausted) == 0) {
        output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
        parsed = true;
    }
    if (!parsed || !output || !output->root)
        return false;
    const GumboNode *body = childElement(output->root, GUMBO_TAG_BODY);
    const QString content = body ? writtenChildren(body) : QString();
    // The tree is not destroyed through the parser (it recurses as deep as
    // the tree); the memory goes with ParserMemory.
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
        + bodyStart(body) + marked + QLatin1String("</body></html>");
    return true;
}

} // namespace

namespace SectionMarkup {

int tagCount(const QString &html)
{
    return int(html.count(QLatin1Char('<')));
}

bool filter(const QString &html, QString *out)
{
    if (tagCount(html) > MaxTextTags)
        return false;
    // Without tags or references there is nothing to parse: a '>' is text.
    if (!html.contains(QLatin1Char('<')) && !html.contains(QLatin1Char('&'))) {
        *out = html;
        return true;
    }
    QString once;
    if (!rebuilt(html, &once) || tagCount(once) > MaxTextTags)
        return false;
    if (once == html) {
        *out = once;
        return true;
    }
    // Leaving out an element can leave a nesting that the parser reads
    // otherwise (a heading inside a heading); a second pass settles it.
    QString twice;
    if (!rebuilt(once, &twice) || tagCount(twice) > MaxTextTags)
        return false;
    *out = twice;
    return true;
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

} // namespace SectionMarkup
