#include "panels/infocompmatrwidget.h"

#include "style/appstyle.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

CInfoCompMatrWidget::CInfoCompMatrWidget(CAppStyle *style, QImage header, QWidget *parent,
                                         Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_Style(style)
    , m_HeaderImage(header)
    , m_TitleLabel(PMatrixGrid::createTitleLabel(this, header))
{
    std::fill(std::begin(m_Counts), std::end(m_Counts), 7);
    std::fill(std::begin(m_PartnerCounts), std::end(m_PartnerCounts), 3);
    resize(600, 291);
}

CInfoCompMatrWidget::~CInfoCompMatrWidget() = default;

void CInfoCompMatrWidget::drawSq(QPainter &painter, int x, int y, QString, QString caption, int a,
                                 int b)
{
    PMatrixGrid::paintSquare(painter, x, y, PMatrixGrid::pairText(a, b), caption);
}

void CInfoCompMatrWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PMatrixGrid::paintBackdrop(painter, m_Style, m_HeaderImage);
    for (int i = 0; i < PMatrixGrid::EntryCount; ++i) {
        const QPoint p = PMatrixGrid::pairSquarePosition(i);
        drawSq(painter, p.x(), p.y(), QLatin1String(PMatrixGrid::square(i).symbol),
               PMatrixGrid::caption(i, true), m_Counts[i], m_PartnerCounts[i]);
    }
}
