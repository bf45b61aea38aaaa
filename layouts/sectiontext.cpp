#include "layouts/sectiontext.h"

#include "layouts/reportsetting.h"

#include <QVector>
#include <QtNumeric>

#include <algorithm>

namespace {

const QLatin1String sizeKey("font-size:");

// Where the text of an editor document starts: behind its body tag, whose
// style holds the editor's own font, not a size of the text.
int textStart(const QString &html)
{
    const int body = html.indexOf(QLatin1String("<body"));
    if (body < 0)
        return 0;
    const int end = html.indexOf(QLatin1Char('>'), body);
    return end < 0 ? html.size() : end + 1;
}

// The length of the plain decimal number (an optional minus, digits, an
// optional fraction) at from; 0 when there is none.
int numberLength(const QString &s, int from)
{
    int i = from;
    if (i < s.size() && s.at(i) == QLatin1Char('-'))
        ++i;
    const int digits = i;
    while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128)
        ++i;
    if (i == digits)
        return 0;
    if (i + 1 < s.size() && s.at(i) == QLatin1Char('.') && s.at(i + 1).isDigit()
        && s.at(i + 1).unicode() < 128) {
        i += 2;
        while (i < s.size() && s.at(i).isDigit() && s.at(i).unicode() < 128)
            ++i;
    }
    return i - from;
}

// Sizes as the rich-text engine writes them: whole numbers without a fraction,
// others with at most two places.
QString pointsText(double points)
{
    QString text = QString::number(points, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace

QString upHtmlFontSize(const QString &html, int delta)
{
    static const QLatin1String points("pt;");
    static const QLatin1String pixels("px;");
    QString result = html;
    int from = textStart(result);
    for (;;) {
        const int key = result.indexOf(sizeKey, from);
        if (key < 0)
            return result;
        const int start = key + sizeKey.size();
        from = start;
        const int length = numberLength(result, start);
        if (length == 0)
            continue;
        const QStringRef unit = result.midRef(start + length, 3);
        bool ok = false;
        double size = result.midRef(start, length).toDouble(&ok);
        if (!ok || !qIsFinite(size))
            continue;
        if (unit == pixels)
            size *= 0.75; // a CSS pixel is three quarters of a point
        else if (unit != points)
            continue;
        const QString changed = pointsText(size + delta) + QLatin1String(points);
        result.replace(start, length + 3, changed);
        from = start + changed.size();
    }
}

QString storedCustomText(const QString &editorHtml, int sizeOffset)
{
    QString html = editorHtml;
    html.replace(QLatin1String("<p"), QLatin1String(ParagraphMarker) + QLatin1String("<p"));
    return upHtmlFontSize(html, -sizeOffset);
}

QString withoutParagraphMarkers(const QString &stored)
{
    QString html = stored;
    html.remove(QLatin1String(ParagraphMarker));
    return html;
}

QString customTextForEditor(const QString &stored)
{
    QString html = withoutParagraphMarkers(stored);
    const int body = html.indexOf(QLatin1String("<body"));
    if (body < 0)
        return html;
    for (int end = textStart(html), key = html.indexOf(sizeKey, body); key >= 0 && key < end;
         key = html.indexOf(sizeKey, body)) {
        int stop = key + sizeKey.size();
        while (stop < end && html.at(stop) != QLatin1Char(';') && html.at(stop) != QLatin1Char('"')
               && html.at(stop) != QLatin1Char('\'') && html.at(stop) != QLatin1Char('>'))
            ++stop;
        if (stop < end && html.at(stop) == QLatin1Char(';'))
            ++stop;
        html.remove(key, stop - key);
        end -= stop - key;
    }
    return html;
}

namespace {

bool isHtmlSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')
        || c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

bool endsTagName(QChar c)
{
    return isHtmlSpace(c) || c == QLatin1Char('/') || c == QLatin1Char('>');
}

bool isAsciiLetter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// One attribute of a tag, as positions in its text.
struct TagAttribute
{
    int start; // the first character of the name
    int nameEnd;
    int valueStart; // inside the quotes of a quoted value; -1 without a value
    int valueEnd;
    int end; // just past the value (its closing quote) or the name
};

// The position just past the tag whose '<' is at from, read as an HTML
// tokenizer reads it (a quoted attribute value may hold '>'); the end of the
// text when the tag does not end, which closed then tells. When attributes is
// given, it receives the tag's attributes.
int tagEnd(const QString &s, int from, QVector<TagAttribute> *attributes = nullptr,
           bool *closed = nullptr)
{
    const int n = s.size();
    if (attributes)
        attributes->clear();
    if (closed)
        *closed = false;
    int i = from + 1;
    while (i < n && !endsTagName(s.at(i)))
        ++i;
    while (i < n) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('>')) {
            if (closed)
                *closed = true;
            return i + 1;
        }
        if (isHtmlSpace(c) || c == QLatin1Char('/')) {
            ++i;
            continue;
        }
        // An attribute; '=' as its first character belongs to its name.
        TagAttribute attribute {i, 0, -1, 0, 0};
        ++i;
        while (i < n && !endsTagName(s.at(i)) && s.at(i) != QLatin1Char('='))
            ++i;
        attribute.nameEnd = attribute.end = i;
        while (i < n && isHtmlSpace(s.at(i)))
            ++i;
        if (i < n && s.at(i) == QLatin1Char('=')) {
            ++i;
            while (i < n && isHtmlSpace(s.at(i)))
                ++i;
            if (i < n && (s.at(i) == QLatin1Char('"') || s.at(i) == QLatin1Char('\''))) {
                const int close = s.indexOf(s.at(i), i + 1);
                attribute.valueStart = i + 1;
                i = close < 0 ? n : close + 1;
                attribute.valueEnd = close < 0 ? n : close;
            } else {
                attribute.valueStart = i;
                while (i < n && !isHtmlSpace(s.at(i)) && s.at(i) != QLatin1Char('>'))
                    ++i;
                attribute.valueEnd = i;
            }
            attribute.end = i;
        }
        if (attributes)
            attributes->append(attribute);
    }
    return n;
}

// Whether the '<' at from starts a tag: a letter follows, or '/' and a letter.
bool startsTag(const QString &s, int from)
{
    int i = from + 1;
    if (i < s.size() && s.at(i) == QLatin1Char('/'))
        ++i;
    return i < s.size() && isAsciiLetter(s.at(i));
}

QChar asciiLower(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c;
}

// The value of c as a digit, -1 when it is none.
int digitValue(QChar c, bool hex)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (hex && u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (hex && u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The character reference at value[at] ('&'), as a browser decodes it in an
// attribute: numeric ones, and those of ':', tab and line feed, here also
// without ';' and in any case. False when there is none; then nothing is set.
bool decodeReference(const QStringRef &value, int *at, uint *code)
{
    static const struct
    {
        const char *name;
        uint code;
    } named[] = {{"colon", ':'}, {"tab", '\t'}, {"newline", '\n'}};
    const int n = value.size();
    int i = *at + 1;
    if (i < n && value.at(i) == QLatin1Char('#')) {
        ++i;
        const bool hex = i < n && asciiLower(value.at(i)) == QLatin1Char('x');
        if (hex)
            ++i;
        const int digits = i;
        uint number = 0;
        for (int digit; i < n && (digit = digitValue(value.at(i), hex)) >= 0; ++i)
            number = std::min<uint>(number * (hex ? 16 : 10) + uint(digit), 0x110000);
        if (i == digits)
            return false;
        *code = number;
    } else {
        bool found = false;
        for (const auto &reference : named) {
            const QLatin1String name(reference.name);
            if (value.mid(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                i += name.size();
                *code = reference.code;
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    if (i < n && value.at(i) == QLatin1Char(';'))
        ++i;
    *at = i;
    return true;
}

// Whether an attribute value is a URL that runs script, however it is
// written: character references decoded, blanks and control characters left
// out anywhere (a browser drops them at the start and tabs and line breaks
// inside), letters compared without case.
bool isScriptUrl(const QStringRef &value)
{
    static const QLatin1String schemes[]
        = {QLatin1String("javascript:"), QLatin1String("vbscript:")};
    QString plain;
    for (int i = 0; i < value.size() && plain.size() < 11;) {
        uint code = value.at(i).unicode();
        if (code != '&' || !decodeReference(value, &i, &code))
            ++i;
        if (code > 0x20 && code != 0x7f)
            plain += asciiLower(QChar(code < 0x10000 ? ushort(code) : ushort(0xfffd)));
    }
    for (const QLatin1String &scheme : schemes) {
        if (plain.startsWith(scheme))
            return true;
    }
    return false;
}

// Attributes that run script: event handlers (every name beginning with "on"
// in any case), script URLs in any attribute, and names beginning with '='
// (only a broken tag has one; left in place, such an attribute would become
// the value of the one before it when an attribute between them goes).
bool runsScript(const QString &s, const TagAttribute &attribute)
{
    const QChar first = s.at(attribute.start);
    if (first == QLatin1Char('='))
        return true;
    if (attribute.nameEnd - attribute.start >= 2 && asciiLower(first) == QLatin1Char('o')
        && asciiLower(s.at(attribute.start + 1)) == QLatin1Char('n'))
        return true;
    return attribute.valueStart >= 0
        && isScriptUrl(s.midRef(attribute.valueStart, attribute.valueEnd - attribute.valueStart));
}

// The tag [from, end) as it stays: without the attributes that run script,
// and with every '<' and '>' inside it written as a reference, so that every
// parser ends the tag where a browser does and finds no tag inside it.
QString keptTag(const QString &s, int from, int end, bool closed,
                const QVector<TagAttribute> &attributes)
{
    QString tag = QStringLiteral("<");
    int at = from + 1;
    const auto copy = [&](int upTo) {
        for (; at < upTo; ++at) {
            const QChar c = s.at(at);
            if (c == QLatin1Char('<'))
                tag += QLatin1String("&lt;");
            else if (c == QLatin1Char('>'))
                tag += QLatin1String("&gt;");
            else
                tag += c;
        }
    };
    for (const TagAttribute &attribute : attributes) {
        if (runsScript(s, attribute)) {
            copy(attribute.start);
            at = attribute.end;
        }
    }
    copy(closed ? end - 1 : end);
    if (closed)
        tag += QLatin1Char('>');
    return tag;
}

enum class Fetching { No, Tag, WithContent, Style, Meta };

// What the tag starting at from ('<') is, and whether it closes an element.
// Names are compared as HTML compares them: ASCII letters without case.
Fetching fetchingTag(const QString &s, int from, bool *closing, QString *name)
{
    int i = from + 1;
    *closing = i < s.size() && s.at(i) == QLatin1Char('/');
    if (*closing)
        ++i;
    // The longest name looked for has 8 letters; a longer one is no match.
    const int start = i;
    while (i < s.size() && i - start <= 8 && !endsTagName(s.at(i)))
        ++i;
    if (i == start || !isAsciiLetter(s.at(start)) || (i < s.size() && !endsTagName(s.at(i))))
        return Fetching::No;
    *name = s.mid(start, i - start).toLower();
    static const QStringList plain {QStringLiteral("frame"),  QStringLiteral("frameset"),
                                    QStringLiteral("object"), QStringLiteral("embed"),
                                    QStringLiteral("link"),   QStringLiteral("base"),
                                    QStringLiteral("form")};
    if (plain.contains(*name))
        return Fetching::Tag;
    if (*name == QLatin1String("iframe") || *name == QLatin1String("script"))
        return Fetching::WithContent;
    if (*name == QLatin1String("style"))
        return Fetching::Style;
    if (*name == QLatin1String("meta"))
        return Fetching::Meta;
    return Fetching::No;
}

// Where the element whose content starts at from ends: the '<' of its first
// end tag, -1 when there is none.
int endTagOf(const QString &s, int from, const QString &name)
{
    const QString closer = QStringLiteral("</") + name;
    for (int at = s.indexOf(closer, from, Qt::CaseInsensitive); at >= 0;
         at = s.indexOf(closer, at + 1, Qt::CaseInsensitive)) {
        const int after = at + closer.size();
        if (after < s.size() && endsTagName(s.at(after)))
            return at;
    }
    return -1;
}

// A style block that can load nothing; escapes and markup count as suspect.
bool isInertStyle(const QString &css)
{
    static const char *const loaders[] = {"url", "import", "image", "\\", "<"};
    for (const char *loader : loaders) {
        if (css.contains(QLatin1String(loader), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

// The meta lines the rich-text editor writes into the head of every text.
bool isEditorMeta(const QStringRef &tag)
{
    return tag == QLatin1String("<meta name=\"qrichtext\" content=\"1\" />")
        || tag
        == QLatin1String(
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" />");
}

// After a removal: a '<' at the end of out that the following text could
// complete into a tag name becomes text.
void closeOpenTagStart(QString *out)
{
    int i = out->size();
    while (i > 0 && out->size() - i <= 8 && isAsciiLetter(out->at(i - 1)))
        --i;
    if (i > 0 && out->at(i - 1) == QLatin1Char('/'))
        --i;
    if (i > 0 && out->at(i - 1) == QLatin1Char('<'))
        out->replace(i - 1, 1, QStringLiteral("&lt;"));
}

} // namespace

QString withoutFetchingMarkup(const QString &html)
{
    QString out;
    int copied = 0;
    QVector<TagAttribute> attributes;
    for (int lt = html.indexOf(QLatin1Char('<')); lt >= 0;
         lt = html.indexOf(QLatin1Char('<'), lt + 1)) {
        if (!startsTag(html, lt))
            continue;
        bool closing = false;
        QString name;
        const Fetching kind = fetchingTag(html, lt, &closing, &name);
        bool closed = false;
        int end = tagEnd(html, lt, &attributes, &closed);
        if (kind == Fetching::Meta && isEditorMeta(html.midRef(lt, end - lt))) {
            lt = end - 1;
            continue;
        }
        // End tags of style elements are left: a kept block needs its own,
        // and a stray one changes nothing.
        bool kept = kind == Fetching::No || (kind == Fetching::Style && closing);
        if (!closing && (kind == Fetching::WithContent || kind == Fetching::Style)) {
            const int closer = endTagOf(html, end, name);
            const int contentEnd = closer < 0 ? html.size() : closer;
            kept = kind == Fetching::Style && !html.midRef(lt + 1, end - lt - 1).contains('<')
                && isInertStyle(html.mid(end, contentEnd - end));
            if (!kept)
                end = closer < 0 ? html.size() : tagEnd(html, closer);
        }
        if (kept) {
            const QString tag = keptTag(html, lt, end, closed, attributes);
            if (tag != html.midRef(lt, end - lt)) {
                out += html.midRef(copied, lt - copied) + tag;
                copied = end;
            }
            lt = end - 1;
            continue;
        }
        out += html.midRef(copied, lt - copied);
        closeOpenTagStart(&out);
        copied = end;
        lt = end - 1;
    }
    if (copied == 0)
        return html;
    out += html.midRef(copied);
    return out;
}

namespace {

// "37" reads "3 + 7": the two numbers a pair of digits stands for.
QString digitPairLabel(int entry)
{
    const QString digits = QString::number(entry);
    return digits.left(1) + QStringLiteral(" + ") + digits.mid(1);
}

} // namespace

QList<EditorEntry> editorEntries(int kind, int type, const QString *defaultTexts, int defaultCount,
                                 int textCount)
{
    QList<EditorEntry> entries;
    if (!defaultTexts)
        return entries;
    const int limit = std::min(defaultCount, textCount);
    const auto listed = [&](int entry) {
        return entry >= 0 && entry < limit && !defaultTexts[entry].isEmpty();
    };
    const auto addRange = [&](int first, int last, auto label) {
        for (int i = first; i <= last; ++i) {
            if (listed(i))
                entries.append({label(i), i});
        }
    };
    const QString heading = QStringLiteral("Heading");
    const auto headingOr = [&](auto label) {
        return [=](int i) {
            return i == 0 ? heading : label(i);
        };
    };
    const auto number = [](int i) {
        return QString::number(i);
    };

    if (kind == RKLoveCompatibility) {
        switch (type) {
        case 0:
        case 11:
        case 5:
        case 6:
        case 10: {
            const int entry = type == 5 ? 1 : type == 6 ? 2 : type == 10 ? 3 : 0;
            if (listed(entry))
                entries.append({heading, entry});
            break;
        }
        case 1:
        case 3:
        case 7:
            addRange(11, 127, digitPairLabel);
            break;
        case 2:
            addRange(0, 127, headingOr(number));
            break;
        case 8:
        case 9:
            // The heading is offered even where the table leaves it empty.
            if (limit > 0)
                entries.append({heading, 0});
            addRange(1, 127, [](int i) {
                return QStringLiteral("%1 + %2").arg(i / 10 - 1).arg(i % 10 - 1);
            });
            break;
        default:
            break;
        }
        return entries;
    }
    if (kind == RKNumerology && (type == 32 || type == 34)) {
        addRange(11, 127, digitPairLabel);
        return entries;
    }
    if (kind == RKCelebrities) {
        addRange(0, textCount - 1, number);
        return entries;
    }
    const bool fromZero = kind == RKNumerology && (type == 15 || type == 31 || type == 33);
    addRange(0, 127,
             headingOr([fromZero](int i) { return QString::number(fromZero ? i - 1 : i); }));
    return entries;
}
