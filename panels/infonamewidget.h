#pragma once

#include "panels/infowidget.h"

#include <QVector>

// A name shown letter by letter: rows 0 to 2 are the first name (digit row,
// letter row, digit row), rows 3 to 5 the second; m_Values holds each row's
// total. Where m_Editable is set, a click on a letter emits symbolCliked with
// the name (line 0 or 1) and the letter's position in that name.
class CInfoNameWidget : public CInfoWidget
{
    Q_OBJECT

public:
    // One grid cell as it is painted.
    struct Cell
    {
        QString text;
        bool master = false; // drawn in the master colour
        bool stacked = false; // the two digits of 11 or 22 one above the other
    };

    // Where a pointer position lands on the grid.
    struct Hit
    {
        bool accepted = false;
        int line = -1;
        int column = -1;
    };

    CInfoNameWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                    Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoNameWidget() override;

    // The cells of row `row` of the grid given by labels. The letter that
    // decides the marks is taken from the letter row of the same name; a
    // position the letter row lacks has no letter.
    static QVector<Cell> rowCells(const QStringList &labels, int row, bool markMasterLetters,
                                  bool reduceMasterLetters);
    static Hit hitTest(const QPoint &pos, int headerHeight, const QStringList &labels);
    // Top-left corner of the column marker for an accepted hit.
    static QPoint markerPosition(const Hit &hit, int headerHeight);

    bool m_Editable = false;
    bool m_MarkMasterLetters = true;
    QLabel *m_ColumnMarker;

Q_SIGNALS:
    void symbolCliked(int line, int column);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Hit pointerHit(const QPoint &pos) const;
};
