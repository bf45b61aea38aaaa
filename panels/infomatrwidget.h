#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

class CAppStyle;
class QLabel;
class QPainter;

// The seventeen squares of the psycho-matrix panels on their 5 x 4 grid:
// nine digit squares (a digit repeated as often as it occurs) and eight line
// values. Shared by the one-person and the pair panel.
namespace PMatrixGrid {

constexpr int EntryCount = 17;
constexpr int SquareWidth = 105;

struct Square
{
    const char *caption;
    const char *symbol; // the digit, or "*" for a line value
    int row;
    int column;
};

// Entry i of m_Counts is shown by square i.
const Square &square(int entry);
inline int gridIndex(const Square &s)
{
    return 5 * s.row + s.column;
}

// The square's caption on a panel; the pair panel calls Finance "Money".
QString caption(int entry, bool pairPanel);

// Top-left corner where each panel draws the square of an entry.
QPoint squarePosition(int entry);
QPoint pairSquarePosition(int entry);

// "111" for a digit that occurs three times, the number for a line value
// above 0, "-" for nothing.
QString squareText(const QString &symbol, int count);
// "2/-": the person's and the partner's value, "-" below 1.
QString pairText(int a, int b);

// Grid row and column under a point, or false between and outside the
// squares (column 0 has a square in the bottom row only).
bool hitTest(const QPoint &pos, int *row, int *column);
// The hover rectangle of a grid cell.
QRect highlightRect(int row, int column);

// Paints one square's value and caption.
void paintSquare(QPainter &painter, int x, int y, const QString &text, const QString &caption);
// The re-tinted matrix background with the header picture over it.
void paintBackdrop(QPainter &painter, const CAppStyle *style, const QImage &header);
QLabel *createTitleLabel(QWidget *panel, const QImage &header);

} // namespace PMatrixGrid

// The psycho-matrix of one person. With m_HoverEnabled the square under the
// pointer lights up and a click emits itemCliked with its grid index.
class CInfoMatrWidget : public QWidget
{
    Q_OBJECT

public:
    CInfoMatrWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                    Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoMatrWidget() override;

    void drawSq(QPainter &painter, int x, int y, QString symbol, QString caption, int count);

    bool m_MouseOut = true;
    bool m_HoverEnabled = false;
    int m_MouseX = -1;
    int m_MouseY = -1;
    CAppStyle *m_Style;
    QImage m_HeaderImage;
    int m_Counts[20];
    QLabel *m_TitleLabel;

Q_SIGNALS:
    void itemCliked(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
