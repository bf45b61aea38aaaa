#include "layouts/sectiontext.h"

#include "layouts/reportsetting.h"

#include <algorithm>

QString upHtmlFontSize(const QString &html, int delta)
{
    static const QString sizeKey = QStringLiteral("font-size:");
    static const QString pointEnd = QStringLiteral("pt;");
    QString result = html;
    int from = 0;
    for (;;) {
        const int key = result.indexOf(sizeKey, from);
        if (key < 0)
            return result;
        const int start = key + sizeKey.size();
        const int end = result.indexOf(pointEnd, start);
        if (end < 0)
            return html;
        bool ok = false;
        const int size = result.midRef(start, end - start).toInt(&ok);
        if (!ok)
            return html;
        result.replace(start, end - start, QString::number(size + delta));
        from = start;
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

// The position just past the tag whose '<' is at from, read as an HTML
// tokenizer reads it (a quoted attribute value may hold '>'); the end of the
// text when the tag does not end.
int tagEnd(const QString &s, int from)
{
    const int n = s.size();
    int i = from + 1;
    while (i < n && !endsTagName(s.at(i)))
        ++i;
    while (i < n) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('>'))
            return i + 1;
        if (isHtmlSpace(c) || c == QLatin1Char('/')) {
            ++i;
            continue;
        }
        // An attribute; '=' as its first character belongs to its name.
        ++i;
        while (i < n && !endsTagName(s.at(i)) && s.at(i) != QLatin1Char('='))
            ++i;
        while (i < n && isHtmlSpace(s.at(i)))
            ++i;
        if (i >= n || s.at(i) != QLatin1Char('='))
            continue;
        ++i;
        while (i < n && isHtmlSpace(s.at(i)))
            ++i;
        if (i < n && (s.at(i) == QLatin1Char('"') || s.at(i) == QLatin1Char('\''))) {
            const int close = s.indexOf(s.at(i), i + 1);
            if (close < 0)
                return n;
            i = close + 1;
        } else {
            while (i < n && !isHtmlSpace(s.at(i)) && s.at(i) != QLatin1Char('>'))
                ++i;
        }
    }
    return n;
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
    for (int lt = html.indexOf(QLatin1Char('<')); lt >= 0;
         lt = html.indexOf(QLatin1Char('<'), lt + 1)) {
        bool closing = false;
        QString name;
        const Fetching kind = fetchingTag(html, lt, &closing, &name);
        if (kind == Fetching::No)
            continue;
        int end = tagEnd(html, lt);
        if (kind == Fetching::Meta && isEditorMeta(html.midRef(lt, end - lt)))
            continue;
        // End tags of style elements are left: a kept block needs its own,
        // and a stray one changes nothing.
        if (kind == Fetching::Style && closing)
            continue;
        if (!closing && (kind == Fetching::WithContent || kind == Fetching::Style)) {
            const int closer = endTagOf(html, end, name);
            const int contentEnd = closer < 0 ? html.size() : closer;
            if (kind == Fetching::Style && !html.midRef(lt + 1, end - lt - 1).contains('<')
                && isInertStyle(html.mid(end, contentEnd - end)))
                continue;
            end = closer < 0 ? html.size() : tagEnd(html, closer);
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
