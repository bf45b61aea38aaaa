#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>

class CAppStyle;
class QLabel;
class QPainter;

// The document drawFText paints: the text in the panel's text colour, every
// isolated pair of equal digits (the 11 of "5 (11)") in the highlight colour
// unless plain is set. The text is escaped, so it always shows as written.
QString fTextMarkup(const QString &text, bool plain);

// Paints text as rich text with its top-left corner at (x, y).
void drawFText(QPainter &painter, int x, int y, QString text, bool plain);

// Geometry and colours that every result panel shares: a header picture of
// height h, under it a table of 16-pixel rows starting 3 pixels lower,
// framed by two outlines.
namespace InfoPanel {

constexpr int RowHeight = 16;
constexpr int RowOffset = 3;

// Height of the dark table below the header for n rows.
inline int tableHeight(int rows)
{
    return RowHeight * rows + 6;
}

// Top of row i.
inline int rowTop(int headerHeight, int row)
{
    return headerHeight + RowOffset + RowHeight * row;
}

// The row under a vertical pointer position, -1 above the first row. Rows
// are not limited downwards; callers compare with their row count.
int rowAt(int y, int headerHeight);

// The row a press at pos selects, or -1: only inside the panel's width
// (0 < x < width), on an existing row and below the row limit.
int clickedRow(const QPoint &pos, int headerHeight, int width, int rowCount, int rowLimit);

// Whether row is drawn highlighted for a pointer at height mouseY.
bool rowHighlighted(int row, int mouseY, int headerHeight, bool hoverEnabled, bool mouseOut,
                    int rowLimit);

// The colours of the panels, before the style engine re-tints them.
QColor backgroundColor();
QColor outerFrameColor();
QColor innerFrameColor();
QColor hoverColor();
// Literal text colours, never re-tinted.
QColor textColor();
QColor masterColor();

// The dark table body under the header (re-tinted).
void paintBackground(QPainter &painter, const CAppStyle *style, int width, int headerHeight,
                     int rows);
// The two frame outlines around the table (re-tinted).
void paintFrame(QPainter &painter, const CAppStyle *style, int width, int headerHeight, int rows);

// A font of the given family and pixel size; weight as QFont::Weight.
QFont pixelFont(const QString &family, int pixelSize, int weight = -1);

} // namespace InfoPanel

// A painted result panel: a header picture with a caption, under it rows of
// a label and a value. The owner fills m_Labels and m_Values and repaints; a
// click on a row emits itemCliked with the row's index.
class CInfoWidget : public QWidget
{
    Q_OBJECT

public:
    CInfoWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoWidget() override;

    CAppStyle *m_Style;
    bool m_MouseOut = true;
    bool m_HoverEnabled = false;
    int m_MouseX = -1;
    int m_MouseY = -1;
    // Rows with this index or a higher one are neither highlighted nor clickable.
    int m_RowLimit = 100;
    QImage m_HeaderImage;
    QStringList m_Labels;
    QStringList m_Values;
    QLabel *m_TitleLabel;
    bool m_PlainText = false;

Q_SIGNALS:
    void itemCliked(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    int headerHeight() const { return m_HeaderImage.height(); }
    void storePointer(const QPoint &pos);
};
