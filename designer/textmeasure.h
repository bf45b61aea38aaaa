#pragma once

#include <QFont>
#include <QRect>
#include <QSharedPointer>
#include <QString>
#include <QVector>

class QPainter;
class QRectF;

// What drawing a long text needs to know of it for one font, alignment and
// paint device: its bounds, where its lines start, and for each line too
// long to lay out whole at every draw the places where it may be cut, with
// their offsets in the line. A text is measured once for all the objects
// that draw it, however many pages and objects repeat it.
class TextMeasure
{
public:
    // The measure of text as p->drawText(rect, alignment, text) lays it out
    // with p's font and device, shared with every other object drawing the
    // same while one of them keeps it.
    static QSharedPointer<const TextMeasure> of(QPainter *p, const QString &text, int alignment);

    // Draws the lines first to last of the text, the first of them at top
    // and each pitch below the one before, placed in the width of r as
    // p->drawText(r, alignment, text) places them. A line that can be cut
    // is drawn only from a little before visibleLeft to a little after
    // visibleRight.
    void drawLines(QPainter *p, const QRectF &r, int first, int last, double top, double pitch,
                   double visibleLeft, double visibleRight) const;

    // As p->boundingRect(QRect(), alignment, text) gives it.
    QRect rect;
    // Where each of its lines starts.
    QVector<int> lineStarts;

private:
    struct Cuts
    {
        int line = 0;
        // The line's advance, trailing spaces included, which places it.
        double advance = 0;
        // Character positions where the line may be cut, from its start to
        // its end, and their offsets from the line's start.
        QVector<int> at;
        QVector<double> x;
    };

    QString lineText(int line) const;
    const Cuts *cutsOf(int line) const;
    void measureCuts(QPainter *p);

    QString m_text;
    QFont m_font;
    int m_alignment = 0;
    QVector<Cuts> m_cuts; // by line
};
