#pragma once

// What a filtered section text promises, judged by parsing it again as a
// browser does: it holds only the allowed elements, attributes and values,
// every element it opens it closes, and joined to another by the report
// builder's markup, each part parses into the elements it parses into alone.

#include "layouts/sectionmarkup.h"
#include "layouts/sectiontext.h"

#include <QString>
#include <QVector>

#include <gumbo.h>

#include <algorithm>

namespace markupcontract {

inline QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Walks every node below root, depth first, without recursion.
template<typename Visit> void walk(const GumboNode *root, Visit visit)
{
    QVector<const GumboNode *> pending {root};
    while (!pending.isEmpty()) {
        const GumboNode *node = pending.takeLast();
        visit(node);
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE
            && node->type != GUMBO_NODE_DOCUMENT)
            continue;
        const GumboVector &children = node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children
                                                                        : node->v.element.children;
        for (unsigned i = children.length; i > 0; --i)
            pending.append(static_cast<const GumboNode *>(children.data[i - 1]));
    }
}

// The tree below root written out in full, every attribute and comment
// included, so that two parses compare as text.
inline QString serialized(const GumboNode *root)
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
        if (node->type == GUMBO_NODE_COMMENT) {
            out += QStringLiteral("<!--%1-->").arg(fromUtf8(node->v.text.text));
        } else if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE) {
            out += fromUtf8(node->v.text.text).toHtmlEscaped();
        } else {
            const GumboElement &element = node->v.element;
            const QString name = element.tag == GUMBO_TAG_UNKNOWN
                ? QStringLiteral("?")
                : fromUtf8(gumbo_normalized_tagname(element.tag));
            out += QStringLiteral("<%1:%2").arg(int(element.tag_namespace)).arg(name);
            for (unsigned i = 0; i < element.attributes.length; ++i) {
                const auto *attribute
                    = static_cast<const GumboAttribute *>(element.attributes.data[i]);
                out += QStringLiteral(" %1=\"%2\"")
                           .arg(fromUtf8(attribute->name),
                                fromUtf8(attribute->value).toHtmlEscaped());
            }
            out += QLatin1Char('>');
            levels.append({&element.children, 0, QStringLiteral("</%1>").arg(name)});
        }
    }
    return out;
}

// The body's content as a browser builds it from html put into a page's body.
inline QString parsedFragment(const QString &html)
{
    const QByteArray utf8 = html.toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = GUMBO_TAG_BODY;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    const QString tree = serialized(output->root);
    gumbo_destroy_output(&options, output);
    return tree;
}

// The part of a stored text the report builder takes: the body of a
// document behind its first marker, a fragment as it is.
inline QString builderPart(const QString &text)
{
    const int body = text.indexOf(QLatin1String("<body"));
    if (body < 0)
        return text;
    const QString marker = QLatin1String(ParagraphMarker);
    int start = text.indexOf(marker, body);
    start = start < 0 ? text.indexOf(QLatin1Char('>'), body) + 1 : start + marker.size();
    const int end = text.indexOf(QLatin1String("</body>"), start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

// Why the text, as a browser parses it, holds more than the filter allows;
// empty when it does not.
inline QString allowListProblem(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    QString problem;
    const QString editorHead = QStringLiteral("\np, li { white-space: pre-wrap; }\n");
    walk(output->document, [&](const GumboNode *node) {
        if (!problem.isEmpty())
            return;
        // The paragraph markers are the one comment a text holds.
        if (node->type == GUMBO_NODE_COMMENT) {
            if (fromUtf8(node->v.text.text) != QLatin1String(" md "))
                problem = QStringLiteral("a comment");
            return;
        }
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return;
        const GumboElement &element = node->v.element;
        const QString name = element.tag == GUMBO_TAG_UNKNOWN
            ? QStringLiteral("an unknown element")
            : fromUtf8(gumbo_normalized_tagname(element.tag));
        if (element.tag_namespace != GUMBO_NAMESPACE_HTML) {
            problem = QStringLiteral("a foreign element ") + name;
            return;
        }
        // The editor's head: its meta lines and its one plain style block.
        const bool inHead = node->parent && node->parent->type == GUMBO_NODE_ELEMENT
            && node->parent->v.element.tag == GUMBO_TAG_HEAD;
        if (element.tag == GUMBO_TAG_HTML || element.tag == GUMBO_TAG_HEAD
            || (inHead && element.tag == GUMBO_TAG_META))
            return;
        if (inHead && element.tag == GUMBO_TAG_STYLE) {
            const auto *css = element.children.length == 1
                ? static_cast<const GumboNode *>(element.children.data[0])
                : nullptr;
            if (!css || fromUtf8(css->v.text.text) != editorHead)
                problem = QStringLiteral("a style block");
            return;
        }
        if (element.tag != GUMBO_TAG_BODY && !SectionMarkup::isAllowedElement(name)) {
            problem = QStringLiteral("the element ") + name;
            return;
        }
        for (unsigned i = 0; i < element.attributes.length; ++i) {
            const auto *attribute = static_cast<const GumboAttribute *>(element.attributes.data[i]);
            const QString value = fromUtf8(attribute->value);
            if (SectionMarkup::keptAttribute(name, fromUtf8(attribute->name), value) != value) {
                problem
                    = QStringLiteral("%1 %2=\"%3\"").arg(name, fromUtf8(attribute->name), value);
                return;
            }
        }
    });
    gumbo_destroy_output(&options, output);
    return problem;
}

// Why the text leaves something open into what follows: a tag, a quote, a
// comment or an element; empty when it does not. Read as the filter writes:
// every '<' starts markup and every tag ends at its first '>'.
inline QString openProblem(const QString &text)
{
    static const QStringList voids {QStringLiteral("br"), QStringLiteral("hr"),
                                    QStringLiteral("img"), QStringLiteral("meta")};
    QStringList open;
    for (int lt = text.indexOf(QLatin1Char('<')); lt >= 0;
         lt = text.indexOf(QLatin1Char('<'), lt + 1)) {
        if (text.midRef(lt).startsWith(QLatin1String("<!--"))) {
            const int close = text.indexOf(QLatin1String("-->"), lt + 4);
            if (close < 0)
                return QStringLiteral("an open comment");
            lt = close;
            continue;
        }
        const int gt = text.indexOf(QLatin1Char('>'), lt);
        if (gt < 0)
            return QStringLiteral("an open tag");
        const QStringRef tag = text.midRef(lt + 1, gt - lt - 1);
        // Values are written in double quotes, with none inside.
        if (tag.count(QLatin1Char('"')) % 2 != 0)
            return QStringLiteral("an open quote");
        if (tag.startsWith(QLatin1Char('!'))) {
            lt = gt;
            continue;
        }
        const bool closing = tag.startsWith(QLatin1Char('/'));
        QString name = tag.mid(closing ? 1 : 0).toString();
        name = name.left(name.indexOf(QLatin1Char(' '))).toLower();
        if (name.endsWith(QLatin1Char('/')))
            name.chop(1);
        if (closing) {
            if (open.isEmpty() || open.takeLast() != name)
                return QStringLiteral("an end tag </%1> without its element").arg(name);
        } else if (name == QLatin1String("style")) {
            const int close = text.indexOf(QLatin1String("</style>"), gt);
            if (close < 0)
                return QStringLiteral("an open style block");
            lt = close + 7;
            continue;
        } else if (!voids.contains(name)) {
            open << name;
        }
        lt = gt;
    }
    return open.isEmpty() ? QString() : QStringLiteral("the open element ") + open.last();
}

// Why two texts joined as the report builder joins them do not each parse
// into what they parse into alone; empty when they do. The builder puts a
// line break between the general text and a number's text, or gives each a
// table cell of its own.
inline QString joinProblem(const QString &first, const QString &second)
{
    const QString a = builderPart(first);
    const QString b = builderPart(second);
    const QString br = QStringLiteral("<br>");
    if (parsedFragment(a + br + b) != parsedFragment(a) + parsedFragment(br) + parsedFragment(b))
        return QStringLiteral("joined by a line break");
    const auto cell = [](const QString &text) {
        return QStringLiteral("<table class=maindoc border=\"0\" width=100%><tr><td>\r\n") + text
            + QStringLiteral("</td></tr></table>\r\n");
    };
    if (parsedFragment(cell(a) + cell(b)) != parsedFragment(cell(a)) + parsedFragment(cell(b)))
        return QStringLiteral("joined in table cells");
    return QString();
}

// Why the filter's count of attributes, which must not fall below the
// parser's, is below what a parse of html gathers on one element or on all
// of them; empty when it is not.
inline QString attributeBoundProblem(const QString &html)
{
    const QByteArray utf8 = html.toUtf8();
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput *output = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    qint64 most = 0;
    qint64 total = 0;
    walk(output->document, [&](const GumboNode *node) {
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
            return;
        most = std::max<qint64>(most, node->v.element.attributes.length);
        total += node->v.element.attributes.length;
    });
    gumbo_destroy_output(&options, output);
    const SectionMarkup::AttributeBound bound = SectionMarkup::attributeBound(html);
    if (most > bound.perElement)
        return QStringLiteral("an element with %1 attributes, counted %2")
            .arg(most)
            .arg(bound.perElement);
    if (total > bound.total)
        return QStringLiteral("%1 attributes, counted %2").arg(total).arg(bound.total);
    return QString();
}

// Both checks and the filter's fixed point, for one text or a pair.
inline QString problemOf(const QString &text)
{
    QString problem = allowListProblem(text);
    if (problem.isEmpty())
        problem = openProblem(text);
    if (problem.isEmpty() && SectionMarkup::filtered(text) != text)
        problem = QStringLiteral("not its own fixed point");
    return problem;
}

} // namespace markupcontract
