#include "designer/textmeasure.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QWeakPointer>

#include <algorithm>

namespace {

// Lines up to this length are laid out whole at every draw.
constexpr int CutFrom = 512;
// Characters between two places a long line may be cut: what a draw lays
// out beyond what shows, at either end.
constexpr int CutStep = 128;
// The painter's text layout puts a line no wider than this on one line.
constexpr double LayoutWidth = 0x01000000;

struct Key
{
    QString text;
    QFont font;
    int alignment;
    int dpi;
    bool operator==(const Key &o) const
    {
        return alignment == o.alignment && dpi == o.dpi && font == o.font && text == o.text;
    }
};

uint qHash(const Key &key, uint seed = 0)
{
    // The start of a long text tells texts apart well enough; hashing all of
    // it for every object that draws it would cost as much as a layout.
    return ::qHash(QStringView(key.text).left(256), seed) ^ uint(key.text.size())
        ^ ::qHash(key.font, seed) ^ uint(key.alignment) * 31u ^ uint(key.dpi) * 131u;
}

// The measures that some object keeps.
QMutex measuresLock;
QHash<Key, QWeakPointer<const TextMeasure>> &measures()
{
    static QHash<Key, QWeakPointer<const TextMeasure>> held;
    return held;
}

// A line that a cut leaves as it is: written left to right throughout, so
// that its characters stand in their order, and with no character that the
// painter's layout treats otherwise than a lone line of it would.
bool cuttable(const QString &line)
{
    for (int i = 0; i < line.size(); ++i) {
        uint c = line.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(line.at(i), line.at(i + 1));
            ++i;
        }
        switch (QChar::direction(c)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
        case QChar::DirFSI:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirLRI:
        case QChar::DirPDF:
        case QChar::DirPDI:
            return false;
        default:
            break;
        }
        // The painter's layout ends a text at U+009C.
        if (c == 0x9c)
            return false;
    }
    return true;
}

} // namespace

QSharedPointer<const TextMeasure> TextMeasure::of(QPainter *p, const QString &text, int alignment)
{
    const Key key {text, p->font(), alignment, p->device()->logicalDpiY()};
    {
        const QMutexLocker lock(&measuresLock);
        if (QSharedPointer<const TextMeasure> kept = measures().value(key).toStrongRef())
            return kept;
    }
    // The last object to let go of the measure takes it off the list.
    QSharedPointer<TextMeasure> measure(new TextMeasure, [key](TextMeasure *gone) {
        {
            const QMutexLocker lock(&measuresLock);
            const auto entry = measures().find(key);
            if (entry != measures().end() && entry.value().isNull())
                measures().erase(entry);
        }
        delete gone;
    });
    measure->m_text = text;
    measure->m_font = p->font();
    measure->m_alignment = alignment;
    measure->rect = p->boundingRect(QRect(), alignment, text);
    measure->lineStarts = {0};
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            measure->lineStarts.append(i + 1);
    }
    measure->measureCuts(p);
    const QMutexLocker lock(&measuresLock);
    measures().insert(key, measure);
    return measure;
}

QString TextMeasure::lineText(int line) const
{
    const int start = lineStarts.at(line);
    const int end = line + 1 < lineStarts.size() ? lineStarts.at(line + 1) - 1 : m_text.size();
    return m_text.mid(start, end - start);
}

void TextMeasure::measureCuts(QPainter *p)
{
    // Only plain alignments are placed line by line as below, and only in
    // a painter that lays text out left to right (or as the text goes, which
    // is left to right for the lines that are cut).
    if ((m_alignment
         & ~int(Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignTop | Qt::AlignBottom
                | Qt::AlignVCenter))
        || p->layoutDirection() == Qt::RightToLeft)
        return;
    for (int line = 0; line < lineStarts.size(); ++line) {
        const int start = lineStarts.at(line);
        const int end = line + 1 < lineStarts.size() ? lineStarts.at(line + 1) - 1 : m_text.size();
        if (end - start <= CutFrom)
            continue;
        QString text = m_text.mid(start, end - start);
        if (!cuttable(text))
            continue;
        // As the painter's layout sees the line.
        std::replace(text.begin(), text.end(), QLatin1Char('\r'), QLatin1Char(' '));
        std::replace(text.begin(), text.end(), QLatin1Char('\t'), QLatin1Char(' '));
        QTextLayout layout(text, m_font, p->device());
        QTextOption option;
        option.setTextDirection(Qt::LeftToRight);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine laid = layout.createLine();
        if (laid.isValid())
            laid.setLineWidth(LayoutWidth);
        const bool oneLine = laid.isValid() && !layout.createLine().isValid();
        layout.endLayout();
        if (!oneLine || !(laid.naturalTextWidth() < LayoutWidth / 2))
            continue;
        Cuts cuts;
        cuts.line = line;
        cuts.advance = laid.horizontalAdvance();
        for (int at = 0; at < text.size(); at += CutStep) {
            int cut = at;
            while (cut < text.size() && !layout.isValidCursorPosition(cut))
                ++cut;
            if (cut >= text.size())
                break;
            if (!cuts.at.isEmpty() && cut == cuts.at.last())
                continue;
            cuts.at.append(cut);
            cuts.x.append(laid.cursorToX(cut));
        }
        cuts.at.append(text.size());
        cuts.x.append(cuts.advance);
        m_cuts.append(cuts);
    }
}

const TextMeasure::Cuts *TextMeasure::cutsOf(int line) const
{
    const auto found = std::lower_bound(m_cuts.cbegin(), m_cuts.cend(), line,
                                        [](const Cuts &c, int l) { return c.line < l; });
    return found != m_cuts.cend() && found->line == line ? &*found : nullptr;
}

void TextMeasure::drawLines(QPainter *p, const QRectF &r, int first, int last, double top,
                            double pitch, double visibleLeft, double visibleRight) const
{
    const int horizontal = m_alignment & ~Qt::AlignVertical_Mask;
    const auto cut = std::lower_bound(m_cuts.cbegin(), m_cuts.cend(), first,
                                      [](const Cuts &c, int l) { return c.line < l; });
    if (cut == m_cuts.cend() || cut->line > last) {
        // Laid out together, as they always were.
        const int end = last + 1 < lineStarts.size() ? lineStarts.at(last + 1) - 1 : m_text.size();
        p->drawText(QRectF(r.left(), top, r.width(), (last - first + 1) * pitch + 2),
                    horizontal | Qt::AlignTop,
                    m_text.mid(lineStarts.at(first), end - lineStarts.at(first)));
        return;
    }
    // Glyphs may reach beyond their advance; what lies this far out of
    // sight is left out.
    const double margin = 2.0 * QFontMetricsF(m_font, p->device()).height();
    for (int line = first; line <= last; ++line) {
        const double y = top + (line - first) * pitch;
        const Cuts *cuts = cutsOf(line);
        if (!cuts) {
            p->drawText(QRectF(r.left(), y, r.width(), pitch + 2), horizontal | Qt::AlignTop,
                        lineText(line));
            continue;
        }
        const double left = r.left()
            + (horizontal & Qt::AlignRight         ? r.width() - cuts->advance
                   : horizontal & Qt::AlignHCenter ? (r.width() - cuts->advance) / 2
                                                   : 0);
        // The cut at or before what shows, and the one at or after it.
        const QVector<double> &x = cuts->x;
        const int from
            = int(std::upper_bound(x.cbegin(), x.cend(), visibleLeft - margin - left) - x.cbegin())
            - 1;
        const int to = int(std::lower_bound(x.cbegin(), x.cend(), visibleRight + margin - left)
                           - x.cbegin());
        const int a = qBound(0, from, x.size() - 1);
        const int b = qBound(0, to, x.size() - 1);
        if (b <= a)
            continue;
        const int start = lineStarts.at(line);
        p->drawText(QRectF(left + x.at(a), y, x.at(b) - x.at(a) + 1, pitch + 2),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                    m_text.mid(start + cuts->at.at(a), cuts->at.at(b) - cuts->at.at(a)));
    }
}
