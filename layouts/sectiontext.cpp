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
