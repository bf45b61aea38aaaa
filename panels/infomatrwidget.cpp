#include "panels/infomatrwidget.h"

#include "panels/infowidget.h"
#include "style/appstyle.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace PMatrixGrid {

namespace {

const Square kSquares[EntryCount] = {
    {"Character", "1", 0, 1},      {"Health", "4", 0, 2},         {"Luck", "7", 0, 3},
    {"Purposeful", "*", 0, 4},     {"Energy", "2", 1, 1},         {"Intuition", "5", 1, 2},
    {"Duty", "8", 1, 3},           {"Family forming", "*", 1, 4}, {"Interest", "3", 2, 1},
    {"Labour", "6", 2, 2},         {"Memory", "9", 2, 3},         {"Stability", "*", 2, 4},
    {"Self appraisal", "*", 3, 1}, {"Finance", "*", 3, 2},        {"Talent", "*", 3, 3},
    {"Spirituality", "*", 3, 4},   {"Sexual life", "*", 3, 0},
};

const int kColumnStart[5] = {9, 127, 245, 363, 481};
const int kRowStart[4] = {38, 101, 164, 227};
constexpr int kBandWidth = 108;
constexpr int kBandHeight = 55;

} // namespace

const Square &square(int entry)
{
    return kSquares[qBound(0, entry, EntryCount - 1)];
}

QString caption(int entry, bool pairPanel)
{
    if (pairPanel && entry == 13)
        return QStringLiteral("Money");
    return QLatin1String(square(entry).caption);
}

QPoint squarePosition(int entry)
{
    const Square &s = square(entry);
    if (entry == 16)
        return QPoint(12, 224);
    if (s.column == 4)
        return QPoint(484, 35 + 63 * s.row);
    return QPoint(130 + 118 * (s.column - 1), 35 + 63 * s.row);
}

QPoint pairSquarePosition(int entry)
{
    const Square &s = square(entry);
    if (entry == 16)
        return QPoint(12, 224);
    if (s.column == 4)
        return QPoint(488, 35 + 63 * s.row);
    return QPoint(131 + 119 * (s.column - 1), 35 + 63 * s.row);
}

QString squareText(const QString &symbol, int count)
{
    QString text;
    if (symbol != QLatin1String("*"))
        text = symbol.repeated(qMax(0, count));
    else if (count > 0)
        text = QString::number(count);
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString pairText(int a, int b)
{
    const auto one = [](int v) {
        return v < 1 ? QStringLiteral("-") : QString::number(v);
    };
    return one(a) + QLatin1Char('/') + one(b);
}

bool hitTest(const QPoint &pos, int *row, int *column)
{
    int r = -1;
    for (int i = 0; i < 4; ++i) {
        if (pos.y() >= kRowStart[i] && pos.y() <= kRowStart[i] + kBandHeight)
            r = i;
    }
    int c = -1;
    for (int i = 0; i < 5; ++i) {
        if (pos.x() >= kColumnStart[i] && pos.x() <= kColumnStart[i] + kBandWidth)
            c = i;
    }
    if (r < 0 || c < 0 || (c == 0 && r != 3))
        return false;
    *row = r;
    *column = c;
    return true;
}

QRect highlightRect(int row, int column)
{
    return QRect(kColumnStart[qBound(0, column, 4)] + 1, kRowStart[qBound(0, row, 3)], kBandWidth,
                 kBandHeight);
}

void paintSquare(QPainter &painter, int x, int y, const QString &text, const QString &caption)
{
    QFont valueFont = InfoPanel::pixelFont(QStringLiteral("Tahoma"), 14, QFont::Bold);
    painter.setFont(valueFont);
    painter.setPen(QColor(156, 182, 45));
    painter.drawText(QRectF(x, y + 10, SquareWidth, 57), Qt::AlignCenter, text);
    painter.setFont(InfoPanel::pixelFont(QStringLiteral("Tahoma"), 11));
    painter.setPen(QColor(237, 219, 178));
    painter.drawText(QRectF(x, y + 5, SquareWidth, 18), Qt::AlignCenter, caption);
}

void paintBackdrop(QPainter &painter, const CAppStyle *style, const QImage &header)
{
    painter.drawImage(0, 0, style->psqImage);
    painter.drawImage(0, 0, header);
}

QLabel *createTitleLabel(QWidget *panel, const QImage &header)
{
    auto *label = new QLabel(panel);
    label->setStyleSheet(
        QStringLiteral("QLabel { color: black; font: bold 12px; background:none; border:none; }"));
    label->setGeometry(QRect(10, 1, header.width() - 20, 28));
    return label;
}

} // namespace PMatrixGrid

CInfoMatrWidget::CInfoMatrWidget(CAppStyle *style, QImage header, QWidget *parent,
                                 Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_Style(style)
    , m_HeaderImage(header)
    , m_TitleLabel(PMatrixGrid::createTitleLabel(this, header))
{
    std::fill(std::begin(m_Counts), std::end(m_Counts), 7);
    setAttribute(Qt::WA_MouseTracking);
    resize(600, 291);
}

CInfoMatrWidget::~CInfoMatrWidget() = default;

void CInfoMatrWidget::drawSq(QPainter &painter, int x, int y, QString symbol, QString caption,
                             int count)
{
    PMatrixGrid::paintSquare(painter, x, y, PMatrixGrid::squareText(symbol, count), caption);
}

void CInfoMatrWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->localPos().toPoint();
    m_MouseX = pos.x();
    m_MouseY = pos.y();
    int row = 0;
    int column = 0;
    if (m_HoverEnabled && !m_MouseOut && PMatrixGrid::hitTest(pos, &row, &column))
        Q_EMIT itemCliked(5 * row + column);
}

void CInfoMatrWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->localPos().toPoint();
    m_MouseX = pos.x();
    m_MouseY = pos.y();
    m_MouseOut = false;
    update();
}

void CInfoMatrWidget::enterEvent(QEvent *)
{
    m_MouseOut = false;
}

void CInfoMatrWidget::leaveEvent(QEvent *)
{
    m_MouseOut = true;
    update();
}

void CInfoMatrWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PMatrixGrid::paintBackdrop(painter, m_Style, m_HeaderImage);

    int row = 0;
    int column = 0;
    if (m_HoverEnabled && !m_MouseOut
        && PMatrixGrid::hitTest(QPoint(m_MouseX, m_MouseY), &row, &column)) {
        QColor hover = m_Style->updateColor(InfoPanel::hoverColor());
        hover.setAlpha(50);
        painter.fillRect(PMatrixGrid::highlightRect(row, column), hover);
    }

    for (int i = 0; i < PMatrixGrid::EntryCount; ++i) {
        const QPoint p = PMatrixGrid::squarePosition(i);
        drawSq(painter, p.x(), p.y(), QLatin1String(PMatrixGrid::square(i).symbol),
               PMatrixGrid::caption(i, false), m_Counts[i]);
    }
}
