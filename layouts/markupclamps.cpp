#include "layouts/markupclamps.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace MarkupClamps {

namespace {

// Pixels per unit of the absolute CSS lengths.
const QHash<QString, double> &absolutePixels()
{
    static const QHash<QString, double> pixels {
        {QStringLiteral("px"), 1.0},         {QStringLiteral("pt"), 4.0 / 3},
        {QStringLiteral("pc"), 16.0},        {QStringLiteral("in"), 96.0},
        {QStringLiteral("cm"), 96.0 / 2.54}, {QStringLiteral("mm"), 96.0 / 25.4},
        {QStringLiteral("q"), 96.0 / 101.6},
    };
    return pixels;
}

// One number of a value held to what its measure keeps: the same when it
// is within, the largest kept one in its unit when beyond; null for a
// number that is no plain decimal or has a unit that is not kept.
QString heldNumber(Measure measure, const QString &token)
{
    static const QRegularExpression number(
        QStringLiteral("\\A([+-]?)([0-9]{0,9}(?:\\.[0-9]{1,9})?)([A-Za-z]{0,4}|%)\\z"));
    const QRegularExpressionMatch match = number.match(token);
    if (!match.hasMatch() || match.capturedLength(2) == 0)
        return QString();
    const QString unit = match.captured(3).toLower();
    const double size = match.captured(2).toDouble();
    // Pixels per unit for the lengths; for the relative units the share of
    // the surrounding size one of them is.
    static const QHash<QString, double> relative {
        {QStringLiteral("em"), 1.0}, {QStringLiteral("rem"), 1.0}, {QStringLiteral("ex"), 0.5},
        {QStringLiteral("ch"), 0.5}, {QStringLiteral("%"), 0.01},
    };
    double largest = 0; // in pixels, or as a share
    double perUnit = 1;
    if (unit.isEmpty() || absolutePixels().contains(unit)) {
        perUnit = unit.isEmpty() ? 1.0 : absolutePixels().value(unit);
        if (unit.isEmpty() && measure == Measure::LineHeight)
            largest = MaxLineFactor;
        else if (unit.isEmpty() && measure == Measure::Indent)
            largest = MaxIndentLevels;
        else if (measure == Measure::FontSize)
            largest = MaxFontPoints * 4.0 / 3;
        else
            largest = MaxLengthPixels;
    } else if (relative.contains(unit)) {
        perUnit = relative.value(unit);
        // Shares compound in nested elements: a font grows no larger than
        // the text around it, a percentage no larger than all of it, a
        // length about a page of the editor's font.
        largest = measure == Measure::FontSize ? 1.0
            : measure == Measure::LineHeight   ? MaxLineFactor
            : unit == QLatin1String("%")       ? 1.0
                                               : MaxLengthPixels / 16.0;
    } else {
        return QString();
    }
    if (size * perUnit <= largest * (1 + 1e-9))
        return token;
    return match.captured(1) + QString::number(largest / perUnit, 'g', 6) + match.captured(3);
}

// The vertical space value asks for in pixels, a font's size taken as 16
// pixels, where property makes a page longer; 0 for the others.
double heightPixels(const QString &property, const QString &value)
{
    static const QStringList vertical {
        QStringLiteral("height"),         QStringLiteral("margin-top"),
        QStringLiteral("margin-bottom"),  QStringLiteral("padding-top"),
        QStringLiteral("padding-bottom"), QStringLiteral("border-top"),
        QStringLiteral("border-bottom"),  QStringLiteral("line-height"),
        QStringLiteral("vertical-align"),
    };
    if (!vertical.contains(property))
        return 0;
    static const QRegularExpression number(
        QStringLiteral("(?:^|[ ,])[+-]?([0-9]*\\.?[0-9]+)(%|[A-Za-z]*)"));
    static const QHash<QString, double> relative {
        {QStringLiteral("em"), 16.0},
        {QStringLiteral("rem"), 16.0},
        {QStringLiteral("ex"), 8.0},
        {QStringLiteral("ch"), 8.0},
    };
    // A plain number or a percentage of a line height is a share of the
    // font's size; a percentage of anything else one of the page's width.
    const bool factor = property == QLatin1String("line-height");
    double total = 0;
    for (auto it = number.globalMatch(value); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString unit = match.captured(2).toLower();
        const double perUnit = unit.isEmpty() ? (factor ? 16.0 : 1.0)
            : unit == QLatin1String("%")      ? (factor ? 0.16 : 0.0)
                                              : absolutePixels().value(unit, relative.value(unit));
        total += match.captured(1).toDouble() * perUnit;
    }
    return total;
}

bool startsPage(const QString &property, const QString &value)
{
    if (property != QLatin1String("page-break-before")
        && property != QLatin1String("page-break-after"))
        return false;
    for (const char *word : {"auto", "avoid", "inherit", "initial", "unset"}) {
        if (value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

} // namespace

Measure measureOf(const QString &property)
{
    if (property == QLatin1String("font-size"))
        return Measure::FontSize;
    if (property == QLatin1String("line-height"))
        return Measure::LineHeight;
    if (property == QLatin1String("-qt-block-indent")
        || property == QLatin1String("-qt-list-indent"))
        return Measure::Indent;
    static const QStringList lengths {
        QStringLiteral("letter-spacing"), QStringLiteral("word-spacing"),
        QStringLiteral("margin-top"),     QStringLiteral("margin-bottom"),
        QStringLiteral("margin-left"),    QStringLiteral("margin-right"),
        QStringLiteral("padding-top"),    QStringLiteral("padding-bottom"),
        QStringLiteral("padding-left"),   QStringLiteral("padding-right"),
        QStringLiteral("text-indent"),    QStringLiteral("border-top"),
        QStringLiteral("border-right"),   QStringLiteral("border-bottom"),
        QStringLiteral("border-left"),    QStringLiteral("vertical-align"),
        QStringLiteral("width"),          QStringLiteral("height"),
    };
    return lengths.contains(property) ? Measure::Length : Measure::None;
}

QString heldValue(Measure measure, const QString &value)
{
    if (measure == Measure::None)
        return value;
    QString held;
    int start = 0;
    while (start <= value.size()) {
        int end = start;
        while (end < value.size() && value.at(end) != QLatin1Char(' ')
               && value.at(end) != QLatin1Char(','))
            ++end;
        const QString token = value.mid(start, end - start);
        const QChar first = token.isEmpty() ? QChar() : token.at(0);
        const bool numeric = first.isDigit() || first == QLatin1Char('.')
            || ((first == QLatin1Char('+') || first == QLatin1Char('-')) && token.size() > 1
                && (token.at(1).isDigit() || token.at(1) == QLatin1Char('.')));
        if (numeric) {
            const QString number = heldNumber(measure, token);
            if (number.isNull())
                return QString();
            held += number;
        } else {
            held += token;
        }
        if (end < value.size())
            held += value.at(end);
        start = end + 1;
    }
    return held;
}

bool takesHeight(TextCosts *costs, double pixels)
{
    if (!costs || pixels <= 0)
        return true;
    if (costs->heightPixels + pixels > MaxTextHeightPixels)
        return false;
    costs->heightPixels += pixels;
    return true;
}

bool takesDeclaration(TextCosts *costs, const QString &property, const QString &value)
{
    if (!takesHeight(costs, heightPixels(property, value)))
        return false;
    if (costs && startsPage(property, value)) {
        if (costs->pageBreaks >= MaxPageBreaks)
            return false;
        ++costs->pageBreaks;
    }
    return true;
}

QString heldSpacing(const QString &pixels)
{
    return pixels.toInt() > MaxSpacingPixels ? QString::number(MaxSpacingPixels) : pixels;
}

QString heldLength(const QString &length)
{
    const bool share = length.endsWith(QLatin1Char('%'));
    const int largest = share ? 100 : MaxLengthPixels;
    if (length.left(length.size() - int(share)).toDouble() > largest)
        return QString::number(largest) + (share ? QLatin1String("%") : QLatin1String(""));
    return length;
}

QString withWordBreaks(const QString &text, int *wordLength)
{
    constexpr QChar zeroWidthSpace(0x200b);
    QString broken;
    int copied = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isSpace() || c == zeroWidthSpace) {
            *wordLength = 0;
            continue;
        }
        if (*wordLength >= MaxWordLength && !c.isLowSurrogate()) {
            broken += text.midRef(copied, i - copied);
            broken += zeroWidthSpace;
            copied = i;
            *wordLength = 0;
        }
        ++*wordLength;
    }
    if (copied == 0)
        return text;
    broken += text.midRef(copied);
    return broken;
}

void placeTable(TableGroups *groups, TextCosts *costs)
{
    int widest = 0;
    for (const QVector<QVector<CellSpans>> &group : qAsConst(*groups)) {
        for (const QVector<CellSpans> &row : group)
            widest = std::max(widest, int(row.size()));
    }
    const int columnsFilled = std::max(widest, MaxSpannedColumns);
    qint64 rows = 0;
    qint64 columns = 0;
    for (QVector<QVector<CellSpans>> &group : *groups) {
        // The rows each column stays covered for, the current one counted.
        QVector<int> covered;
        for (int r = 0; r < group.size(); ++r) {
            const int rowsLeft = group.size() - r;
            if (r > 0) {
                for (int &c : covered)
                    c = std::max(c - 1, 0);
            }
            int column = 0;
            for (CellSpans &cell : group[r]) {
                while (column < covered.size() && covered.at(column) > 0)
                    ++column;
                const int writtenColumns = std::max(cell.colspan, 1);
                const int writtenRows = cell.rowspan == 0 ? rowsLeft : std::max(cell.rowspan, 1);
                const int colspan = std::min(writtenColumns, std::max(columnsFilled - column, 1));
                const int rowspan = column >= columnsFilled ? 1 : std::min(writtenRows, rowsLeft);
                if (covered.size() < column + colspan)
                    covered.resize(column + colspan);
                for (int c = column; c < column + colspan; ++c)
                    covered[c] = std::max(covered.at(c), rowspan);
                cell = {colspan, rowspan};
                column += colspan;
            }
            columns = std::max<qint64>(columns, covered.size());
        }
        rows += group.size();
    }
    costs->tableCells += rows * columns;
}

} // namespace MarkupClamps
