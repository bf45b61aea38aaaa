#include "layouts/sectiontext.h"

#include "layouts/reportsetting.h"
#include "layouts/sectionmarkup.h"

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

QString withParagraphMarkers(const QString &html)
{
    QString marked = html;
    marked.replace(QLatin1String("<p"), QLatin1String(ParagraphMarker) + QLatin1String("<p"));
    return marked;
}

bool storeCustomText(const QString &editorHtml, int sizeOffset, QString *stored, QString *problem)
{
    const QString html = withParagraphMarkers(upHtmlFontSize(editorHtml, -sizeOffset));
    if (SectionMarkup::filter(html, stored, nullptr, problem))
        return true;
    *stored = html;
    return false;
}

QString storedCustomText(const QString &editorHtml, int sizeOffset)
{
    // A text beyond what a layout file may hold stays as typed, so nothing
    // is lost; the layout's save then refuses it and says why.
    QString stored;
    storeCustomText(editorHtml, sizeOffset, &stored);
    return stored;
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
