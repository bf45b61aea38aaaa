#include "panels/infonamewidget.h"

#include "engine/globsettings.h"
#include "style/appstyle.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kCellWidth = 9;
constexpr int kLineHeight = 51;

bool isLetterRow(int row)
{
    return row == 1 || row == 4;
}

} // namespace

CInfoNameWidget::CInfoNameWidget(CAppStyle *style, QImage header, QWidget *parent,
                                 Qt::WindowFlags flags)
    : CInfoWidget(style, header, parent, flags)
    , m_ColumnMarker(new QLabel(this))
{
    setAttribute(Qt::WA_MouseTracking);
    resize(600, 133);
    m_ColumnMarker->setStyleSheet(
        QStringLiteral("QLabel { background-color: rgba(156, 182, 45, 21%); border: none; }"));
    m_ColumnMarker->resize(9, 47);
    m_ColumnMarker->hide();
}

CInfoNameWidget::~CInfoNameWidget() = default;

QVector<CInfoNameWidget::Cell> CInfoNameWidget::rowCells(const QStringList &labels, int row,
                                                         bool markMasterLetters,
                                                         bool reduceMasterLetters)
{
    QVector<Cell> cells;
    if (row < 0 || row >= labels.size())
        return cells;
    const QString &text = labels.at(row);
    const int letterRowIndex = row <= 2 ? 1 : 4;
    const QString letters = letterRowIndex < labels.size() ? labels.at(letterRowIndex) : QString();
    cells.reserve(text.size());
    for (int j = 0; j < text.size(); ++j) {
        Cell cell;
        cell.text = text.at(j);
        QChar c;
        if (j < letters.size()) {
            const QChar upper = letters.at(j).toUpper();
            if (upper.unicode() <= 255)
                c = upper;
        }
        const bool masterLetter = c == QLatin1Char('K') || c == QLatin1Char('V');
        cell.master = masterLetter && markMasterLetters;
        if (masterLetter && !isLetterRow(row) && text.at(j) != QLatin1Char(' ')
            && !reduceMasterLetters && markMasterLetters) {
            cell.stacked = true;
            cell.text = c == QLatin1Char('K') ? QStringLiteral("1\n1") : QStringLiteral("2\n2");
        }
        cells.append(cell);
    }
    return cells;
}

CInfoNameWidget::Hit CInfoNameWidget::hitTest(const QPoint &pos, int headerHeight,
                                              const QStringList &labels)
{
    Hit hit;
    const int dy = pos.y() - headerHeight;
    if (pos.x() < -5 || dy < -48 || dy > 103)
        return hit;
    // Truncating division: the lower part of the header still counts as line 0.
    const int line = (dy - 2) / kLineHeight;
    const int column = (pos.x() - 3) / kCellWidth;
    const int letterRow = 3 * line + 1;
    if (letterRow >= labels.size() || column >= labels.at(letterRow).size())
        return hit;
    hit.accepted = true;
    hit.line = line;
    hit.column = column;
    return hit;
}

QPoint CInfoNameWidget::markerPosition(const Hit &hit, int headerHeight)
{
    return QPoint(kCellWidth * hit.column + 3, kLineHeight * hit.line + headerHeight + 2);
}

CInfoNameWidget::Hit CInfoNameWidget::pointerHit(const QPoint &pos) const
{
    if (!m_Editable)
        return Hit();
    return hitTest(pos, headerHeight(), m_Labels);
}

void CInfoNameWidget::mousePressEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const Hit hit = pointerHit(event->localPos().toPoint());
    if (hit.accepted)
        Q_EMIT symbolCliked(hit.line, hit.column);
}

void CInfoNameWidget::mouseMoveEvent(QMouseEvent *event)
{
    const Hit hit = pointerHit(event->localPos().toPoint());
    if (hit.accepted) {
        m_ColumnMarker->move(markerPosition(hit, headerHeight()));
        m_ColumnMarker->show();
    } else {
        m_ColumnMarker->hide();
    }
}

void CInfoNameWidget::leaveEvent(QEvent *)
{
    if (m_Editable)
        m_ColumnMarker->hide();
}

void CInfoNameWidget::paintEvent(QPaintEvent *)
{
    using namespace InfoPanel;
    QPainter painter(this);
    const int h = headerHeight();
    const int n = m_Labels.size();
    const int w = width();
    const QFont totalFont = pixelFont(QStringLiteral("Arial"), 12);
    const QFont gridFont = pixelFont(QStringLiteral("Courier"), 12);
    const QFont stackedFont = pixelFont(QStringLiteral("Courier"), 10);
    const QPen textPen(textColor(), 1);
    const QPen masterPen(masterColor(), 1);
    const QPen separatorPen(m_Style->updateColor(outerFrameColor()), 1);
    const bool reduce = m_GlobSettings[GSReduceMasterLetters] != 0;

    paintBackground(painter, m_Style, w, h, n);

    for (int i = 0; i < n; ++i) {
        const int t = rowTop(h, i);
        const QVector<Cell> cells = rowCells(m_Labels, i, m_MarkMasterLetters, reduce);
        for (int j = 0; j < cells.size(); ++j) {
            const Cell &cell = cells.at(j);
            painter.setPen(cell.master ? masterPen : textPen);
            const QRectF box(4 + kCellWidth * j, t, kCellWidth, RowHeight);
            if (cell.stacked) {
                // The two figures of 11 or 22 share the row, one above the
                // other, so they stay inside the table.
                painter.setFont(stackedFont);
                const QStringList figures = cell.text.split(QLatin1Char('\n'));
                const qreal half = RowHeight / 2.0;
                for (int k = 0; k < figures.size() && k < 2; ++k)
                    painter.drawText(QRectF(box.x(), box.y() + k * half, box.width(), half + 1),
                                     Qt::AlignLeft | Qt::AlignVCenter, figures.at(k));
            } else {
                painter.setFont(gridFont);
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, cell.text);
            }
        }
        painter.setPen(textPen);
        painter.setFont(totalFont);
        if (i < m_Values.size())
            drawFText(painter, kCellWidth * m_Labels.at(i).size() + 13, t, m_Values.at(i), false);
        if (i > 0 && i % 3 == 0) {
            painter.setPen(separatorPen);
            painter.drawLine(0, t, w - 1, t);
        }
    }

    paintFrame(painter, m_Style, w, h, n);
    painter.drawImage(0, 0, m_HeaderImage);
}
