#include "engine/reporttools.h"

#include "layouts/layoutlimits.h"
#include "layouts/reportsetting.h"

#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QVector>

namespace {

const QLatin1String crlf("\r\n");
const QLatin1String tableEnd("</td></tr></table>");
const QLatin1String imgClose("\" style=\"margin-left: 15px;\" align=\"right\" />");
const QLatin1String bodyMarker("<!-- md --><br>");

QString embeddedImageTag(const QByteArray &png)
{
    return QStringLiteral("<img src = \"data:image/png;base64,")
        + QString::fromLatin1(png.toBase64()) + imgClose;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (buffer.open(QIODevice::WriteOnly))
        image.save(&buffer, "PNG");
    return png;
}

// A section's picture is the same QImage (one cache key for all its copies)
// in every reading made with its layout until the layout changes, so each
// is encoded once. Everything kept is dropped at once when it would grow
// past Limit bytes.
QByteArray encodedPicture(const QImage &image)
{
    constexpr qint64 Limit = 64 * 1024 * 1024;
    static QHash<qint64, QByteArray> kept;
    static qint64 keptBytes = 0;
    const auto found = kept.constFind(image.cacheKey());
    if (found != kept.constEnd())
        return *found;
    const QByteArray png = pngBytes(image);
    if (keptBytes + png.size() > Limit) {
        kept.clear();
        keptBytes = 0;
    }
    if (png.size() <= Limit) {
        kept.insert(image.cacheKey(), png);
        keptBytes += png.size();
    }
    return png;
}

// The opening of a font tag pair. The layout-item form adds bold from weight
// 58 up and ends its tag with a blank before the bracket.
QString fontOpen(const QFont &font, const QColor &color, bool itemForm)
{
    QString open;
    if (itemForm && font.weight() >= 58)
        open += QLatin1String("<b>");
    if (font.underline())
        open += QLatin1String("<u>");
    if (font.style() != QFont::StyleNormal)
        open += QLatin1String("<i>");
    open += QLatin1String("<font style=\"");
    if (font.pixelSize() > 0)
        open += QLatin1String("font-size: ") + QString::number(font.pixelSize())
            + QLatin1String("px;");
    // A family from a layout file that no font could have is left out; a
    // kept one is a quoted CSS string, so "/*" in it opens no comment.
    const QString family = font.family();
    if (!family.isEmpty() && LayoutLimits::isFontFamilyName(family))
        open += QLatin1String(" face:'") + family.toHtmlEscaped() + QLatin1String("';");
    open += QLatin1String(" color:") + color.name();
    open += itemForm ? QLatin1String(";\" >") : QLatin1String(";\">");
    return open;
}

QString fontClose(const QFont &font, bool itemForm)
{
    QString close = QStringLiteral("</font>");
    if (font.style() != QFont::StyleNormal)
        close += QLatin1String("</i>");
    if (font.underline())
        close += QLatin1String("</u>");
    if (itemForm && font.weight() >= 58)
        close += QLatin1String("</b>");
    return close;
}

// Items read from a layout file may hold fewer entries than the program
// makes; each list is looked at on its own.
QString itemText(const repItem &item, int entry)
{
    return entry >= 0 && entry < item.texts.size() ? item.texts.at(entry) : QString();
}

bool itemUsesStdText(const repItem &item, int entry)
{
    return entry >= 0 && entry < item.useStdText.size() ? item.useStdText.at(entry) : true;
}

// text with every start tag named exactly tag marked with the paragraph
// comment. A longer name (pre, tdx) is left alone: marking it would turn the
// rest of the name into an attribute.
QString markedTags(const QString &text, const QLatin1String &tag)
{
    QString marked;
    int copied = 0;
    for (int at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, at + 1)) {
        const int after = at + tag.size();
        if (after < text.size()) {
            const QChar c = text.at(after);
            if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n')
                && c != QLatin1Char('\r') && c != QLatin1Char('\f') && c != QLatin1Char('/')
                && c != QLatin1Char('>'))
                continue;
        }
        marked += text.midRef(copied, after - copied) + QLatin1String(" comment=\"st_fs\"   ");
        copied = after;
    }
    return copied == 0 ? text : marked + text.midRef(copied);
}

// text without its "<p>" tags. A '<' (or "</") left right before one is
// written as "&lt;": the removal would join it with the text behind into a
// new tag.
QString withoutParagraphTags(const QString &text)
{
    const QLatin1String paragraph("<p>");
    QString flat;
    int copied = 0;
    for (int at = text.indexOf(paragraph); at >= 0; at = text.indexOf(paragraph, copied)) {
        flat += text.midRef(copied, at - copied);
        copied = at + paragraph.size();
        int lt = flat.size() - 1;
        if (lt >= 0 && flat.at(lt) == QLatin1Char('/'))
            --lt;
        if (lt >= 0 && flat.at(lt) == QLatin1Char('<'))
            flat.replace(lt, 1, QStringLiteral("&lt;"));
    }
    return copied == 0 ? text : flat + text.midRef(copied);
}

// A stretch of a text: either between the text's top-level blocks, where the
// builder cuts it into pieces, or one whole table or list (with whatever it
// nests), which stays in one piece.
struct TextRun
{
    int start;
    int end;
    bool whole;
};

bool isAsciiLetter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isAsciiAlphanumeric(QChar c)
{
    return isAsciiLetter(c) || (c.unicode() >= '0' && c.unicode() <= '9');
}

// Elements whose content the cuts would pull apart: each piece goes into a
// table of its own, which inside a table or a list leaves its cells or
// items outside.
bool keepsShape(const QStringRef &name)
{
    return name.compare(QLatin1String("table"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("ul"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("ol"), Qt::CaseInsensitive) == 0;
}

// The position behind the '>' that ends the tag whose attributes start at
// from, read as a browser reads it: a '>' in a quoted value does not end it.
// The text's size when nothing does.
int tagEnd(const QString &text, int from)
{
    bool afterEquals = false;
    for (int i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('>'))
            return i + 1;
        if (afterEquals && (c == QLatin1Char('"') || c == QLatin1Char('\''))) {
            const int quote = text.indexOf(c, i + 1);
            if (quote < 0)
                return text.size();
            i = quote;
            afterEquals = false;
        } else if (c == QLatin1Char('=')) {
            afterEquals = true;
        } else if (!c.isSpace()) {
            afterEquals = false;
        }
    }
    return text.size();
}

// text as runs: one run for every outermost table or list, from its start tag
// through its end tag, and runs for what stands between them. One pass over
// the text; a table or list left open runs to the end, and a stray end tag
// is passed over.
QVector<TextRun> textRuns(const QString &text)
{
    QVector<TextRun> runs;
    int runStart = 0;
    int depth = 0;
    int at = 0;
    while (at < text.size()) {
        const int lt = text.indexOf(QLatin1Char('<'), at);
        if (lt < 0)
            break;
        if (text.midRef(lt, 4) == QLatin1String("<!--")) {
            const int end = text.indexOf(QLatin1String("-->"), lt + 4);
            at = end < 0 ? text.size() : end + 3;
            continue;
        }
        int name = lt + 1;
        const bool endTag = name < text.size() && text.at(name) == QLatin1Char('/');
        if (endTag)
            ++name;
        if (name >= text.size() || !isAsciiLetter(text.at(name))) {
            at = lt + 1;
            continue;
        }
        int nameEnd = name;
        while (nameEnd < text.size() && isAsciiAlphanumeric(text.at(nameEnd)))
            ++nameEnd;
        const int end = tagEnd(text, nameEnd);
        if (keepsShape(text.midRef(name, nameEnd - name))) {
            if (!endTag) {
                if (depth++ == 0) {
                    if (lt > runStart)
                        runs.append({runStart, lt, false});
                    runStart = lt;
                }
            } else if (depth > 0 && --depth == 0) {
                runs.append({runStart, end, true});
                runStart = end;
            }
        }
        at = end;
    }
    if (runStart < text.size() || runs.isEmpty())
        runs.append({runStart, int(text.size()), depth > 0});
    return runs;
}

} // namespace

QString CReportTools::fontOpenTag(const QFont &font, const QColor &color, bool itemForm)
{
    return fontOpen(font, color, itemForm);
}

QString CReportTools::fontCloseTag(const QFont &font, bool itemForm)
{
    return fontClose(font, itemForm);
}

CReportTools::CReportTools(QObject *parent)
    : QObject(parent)
{
}

CReportTools::~CReportTools() = default;

void CReportTools::preloadRes(const QString &folder)
{
    resFolder = folder;
}

void CReportTools::startDoc(const QString &title)
{
    reportHtml = QLatin1String("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
                               "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">")
        + crlf + QLatin1String("<html xmlns=\"http://www.w3.org/1999/xhtml\">") + crlf
        + QLatin1String("<head>") + crlf
        + QLatin1String("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />")
        + crlf + QLatin1String("<style type=\"text/css\">") + crlf
        + QLatin1String("body { font-family: Arial, Helvetica, sans-serif; font-size: "
                        "16px; line-height: 1.6; color: #111111; }")
        + crlf
        + QLatin1String("h2 { font-size: 18px; line-height: 1.4; color: #222222; "
                        "margin-left: 4px; }")
        + crlf + QLatin1String("table { page-break-inside:auto }") + crlf
        + QLatin1String("tr { page-break-inside:avoid; page-break-after:auto }") + crlf
        + QLatin1String("</style>") + crlf + QLatin1String("<title>") + title
        + QLatin1String("</title>")
        + QLatin1String("</head><body style=\"background-color:#FFFFFF\">") + crlf;
}

void CReportTools::endDoc()
{
    reportHtml += QLatin1String("</body></html>") + crlf;
    pendingImage.clear();
    reportHtml.replace(QLatin1String("font-weight:600"), QLatin1String("font-weight:bold"));
}

void CReportTools::addImage(const QString &fileName)
{
    pendingImage = QLatin1String("<img src=\"file:///") + resFolder + fileName + imgClose;
}

void CReportTools::startChap(bool dropImage)
{
    reportHtml += QLatin1String("<table class=maindoc border=\"0\" width=100%><tr><td>") + crlf;
    if (dropImage)
        pendingImage.clear();
}

void CReportTools::endChap()
{
    reportHtml += tableEnd + crlf;
    pendingImage.clear();
}

void CReportTools::addHead(const QString &text, const QColor &color, const QFont &font,
                           const QImage &image)
{
    if (!image.isNull())
        pendingImage = embeddedImageTag(encodedPicture(image));
    // A heading without words (a section whose title is left empty) is not
    // written; its picture goes with the paragraph that follows.
    if (text.trimmed().isEmpty())
        return;
    reportHtml += QLatin1String("<h2>") + pendingImage + fontOpen(font, color, false) + text
        + fontClose(font, false) + QLatin1String("</h2>") + crlf;
    pendingImage.clear();
}

void CReportTools::addItemHead(const repItem &item, const QString &after, const QImage &image)
{
    // A title is plain text as the user typed it.
    addHead(item.title.toHtmlEscaped() + after, item.headerColor, item.headerFont, image);
}

void CReportTools::addPar(const QString &text, const QColor &color, const QFont &font,
                          const QImage &image)
{
    if (!image.isNull())
        pendingImage = embeddedImageTag(encodedPicture(image));
    reportHtml += QLatin1String("<p>") + pendingImage + fontOpen(font, color, false) + text
        + fontClose(font, false) + QLatin1String("</p>") + crlf;
    pendingImage.clear();
}

void CReportTools::addPar(const QString &text, const QImage &image)
{
    if (!image.isNull()) {
        const QByteArray png = encodedPicture(image);
        if (!png.isEmpty())
            pendingImage = embeddedImageTag(png);
    }
    if (!pendingImage.isEmpty() || !text.isEmpty()) {
        const QString marked
            = markedTags(markedTags(text, QLatin1String("<p")), QLatin1String("<td"));
        reportHtml += QLatin1String("<p comment=\"st_fs\"   >") + pendingImage + marked
            + QLatin1String("</p>") + crlf;
    }
    pendingImage.clear();
}

void CReportTools::addPar(const QString &text, const repItem *item, int entry)
{
    QString body = text;
    QString open;
    QString close;
    if (item) {
        const bool useStd = itemUsesStdText(*item, entry);
        if (!useStd)
            body = delHtmlHeaderTags(itemText(*item, entry));
        if (useStd) {
            open = fontOpen(item->contentFont, item->contentColor, true);
            close = fontClose(item->contentFont, true);
        }
    }
    if (body.isEmpty()) {
        endChap();
        return;
    }
    body.replace(QLatin1String("<br />"), QLatin1String("<br>"));
    addPar(addSplitParagraph(body, open, close), QImage());
}

void CReportTools::addStandItem(const QString &title, const QString &suffix, const QString &general,
                                const QString &specific, int entry, const repItem *item,
                                bool hideImages)
{
    QString gen = general;
    QString spec = specific;
    gen.replace(QLatin1String("<br />"), QLatin1String("<br>"));
    spec.replace(QLatin1String("<br />"), QLatin1String("<br>"));

    startChap(false);

    if (!item || item->defaultStyle) {
        QFont plain;
        plain.setFamily(QString());
        plain.setPointSize(12);
        addHead(title + QLatin1Char(' ') + suffix, Qt::black, plain, QImage());
        QString both;
        if (spec.isEmpty())
            both = gen;
        else if (gen.isEmpty())
            both = spec;
        else
            both = gen + QLatin1String("<br>") + spec;
        const QString split = addSplitParagraph(both, QString(), QString());
        if (!split.isEmpty())
            addPar(split, QImage());
        else
            endChap();
        endChap();
        return;
    }

    QImage picture;
    if (!item->images.isEmpty() && !hideImages
        && item->options.value(QStringLiteral("hide-image"), QStringLiteral("FALSE"))
            != QLatin1String("TRUE"))
        picture = item->images.first();
    addItemHead(*item, QLatin1Char(' ') + suffix, picture);
    if (!gen.isEmpty()) {
        addPar(gen, item, 0);
        endChap();
    }
    if (entry == -1)
        return;
    // These sections show numbers from 0 up while entry 0 holds the general
    // text, so the text of number n sits one entry further on.
    const bool shifted
        = item->kind == RKNumerology && (item->type == 15 || item->type == 31 || item->type == 33);
    if (!gen.isEmpty())
        startChap(true);
    addPar(spec, item, entry + (shifted ? 1 : 0));
    endChap();
}

QString CReportTools::addSplitParagraph(const QString &text, const QString &open,
                                        const QString &close) const
{
    if (text.isEmpty())
        return QString();

    // The pieces of the text, each also with its tables and lists blanked
    // out: the spans carried between pieces are the text's own, not those of
    // a table cell or a list item.
    QStringList pieces;
    QStringList masks;
    QString piece;
    QString mask;
    for (const TextRun &run : textRuns(text)) {
        if (run.whole) {
            // The markers' line breaks stand for cuts between paragraphs;
            // inside a table or a list they would only add empty lines.
            QString whole = text.mid(run.start, run.end - run.start);
            whole.remove(bodyMarker);
            piece += whole;
            mask += QString(whole.size(), QLatin1Char(' '));
            continue;
        }
        QString flat = withoutParagraphTags(text.mid(run.start, run.end - run.start));
        flat.replace(QLatin1String("</p>"), QLatin1String("<br>"));
        flat.replace(QLatin1String("<br/>"), QLatin1String("<br>"));
        flat.replace(QLatin1String("<br />"), QLatin1String("<br>"));
        const QStringList parts = flat.split(QLatin1String("<br>"));
        piece += parts.first();
        mask += parts.first();
        for (int i = 1; i < parts.size(); ++i) {
            pieces << piece;
            masks << mask;
            piece = parts.at(i);
            mask = parts.at(i);
        }
    }
    pieces << piece;
    masks << mask;

    const QLatin1String spanOpen("<span");
    const QLatin1String spanClose("</span>");
    QString carry;
    QString result;
    // The end of the piece written last, held back: a piece that would have
    // to open again more than a layout may carry over is not cut off but
    // joined to the one before at its line break, so that no tag is copied
    // into every piece.
    QString pieceEnd;
    for (int i = 0; i < pieces.size(); ++i) {
        const QString &masked = masks.at(i);
        const int s = masked.lastIndexOf(spanOpen);
        const int e = masked.lastIndexOf(spanClose);
        const int f = masked.indexOf(spanClose);
        // A span left open at the end of a piece is closed there and opened
        // again at the start of the next piece, which lives in its own table.
        const QString closer
            = (s > e || (f == -1 && !carry.isEmpty())) ? QString(spanClose) : QString();
        if (i == 0) {
            result += open + pieces.at(i);
        } else if (open.size() + carry.size() <= LayoutLimits::MaxReopenedLength) {
            result += pieceEnd + QLatin1String("<table class=maindoc border=\"0\"><tr><td>") + crlf
                + open + carry + pieces.at(i);
        } else {
            result += QLatin1String("<br>") + pieces.at(i);
        }
        pieceEnd = closer + close + tableEnd + crlf;
        if (s > e) {
            // The whole tag: a '>' in a quoted value would cut it short and
            // leave its quote open in the next piece.
            carry = masked.mid(s, tagEnd(masked, s + spanOpen.size()) - s);
        } else if (e > s) {
            carry.clear();
        }
    }
    return result + pieceEnd;
}

QString CReportTools::delHtmlHeaderTags(const QString &html) const
{
    const QLatin1String bodyOpen("<body");
    const QLatin1String bodyClose("</body>");
    if (html.isEmpty() || !html.contains(bodyOpen) || !html.contains(bodyClose))
        return html;
    const int b = html.indexOf(bodyOpen);
    int start = html.indexOf(bodyMarker, b);
    if (start >= 0) {
        start += bodyMarker.size();
    } else {
        // No marker after the body tag: the content starts behind the tag.
        const int gt = html.indexOf(QLatin1Char('>'), b);
        start = gt + 1;
    }
    QString body = html.mid(start);
    const int end = body.indexOf(bodyClose);
    if (end >= 0)
        body.truncate(end);
    return body;
}

void CReportTools::addTabPar(const QString &text)
{
    reportHtml += QLatin1String("<span class=maindoc><table class=maindoc border=\"0\" "
                                "cellspacing=\"0\"><tr>")
        + QLatin1String("<td valign=\"top\"><p>") + pendingImage + QLatin1String("</p></td>") + crlf
        + QLatin1String("<td valign=\"top\"><p>") + text + QLatin1String("</p></td>") + crlf
        + QLatin1String("</tr></table></span>");
    pendingImage.clear();
}

void CReportTools::addPlain(const QString &html)
{
    reportHtml += html;
}
