#include "panels/infoexprplanwidget.h"

#include "style/appstyle.h"

#include <QPainter>

CInfoExprPlanWidget::CInfoExprPlanWidget(CAppStyle *style, QImage header, QWidget *parent,
                                         Qt::WindowFlags flags)
    : CInfoWidget(style, header, parent, flags)
{
    resize(600, 100);
}

CInfoExprPlanWidget::~CInfoExprPlanWidget() = default;

CInfoExprPlanWidget::Texts CInfoExprPlanWidget::texts(const QStringList &labels,
                                                      const QStringList &values)
{
    static const char *const planes[PlaneCount] = {"Mental", "Physical", "Emotional", "Intuitive"};
    const auto value = [&values](int i) {
        return i >= 0 && i < values.size() ? values.at(i) : QString();
    };
    Texts t;
    for (int c = 0; c < PlaneCount; ++c)
        t.heads << QLatin1String(planes[c]) + QLatin1Char(' ') + value(15 + c);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < PlaneCount; ++c)
            t.cells << value(5 * r + c);
    }
    for (int i = 1; i < labels.size(); ++i)
        t.titles << labels.at(i) + QLatin1Char(' ') + value(5 * i - 1);
    return t;
}

void CInfoExprPlanWidget::paintEvent(QPaintEvent *)
{
    using namespace InfoPanel;
    QPainter painter(this);
    const int h = headerHeight();
    const int n = m_Labels.size();
    const int w = width();
    painter.setFont(pixelFont(QStringLiteral("Arial"), 12));
    painter.setPen(QPen(textColor(), 1));

    paintBackground(painter, m_Style, w, h, n);

    const Texts t = texts(m_Labels, m_Values);
    for (int c = 0; c < PlaneCount; ++c) {
        painter.drawText(QRectF(121 + 120 * c, h + 3, 120, 16), Qt::AlignCenter, t.heads.at(c));
        for (int r = 0; r < 3; ++r)
            painter.drawText(QRectF(121 + 120 * c, h + 19 + 16 * r, 120, 16), Qt::AlignCenter,
                             t.cells.at(PlaneCount * r + c));
    }
    for (int i = 0; i < t.titles.size(); ++i)
        painter.drawText(QRectF(4, rowTop(h, i + 1), 113, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         t.titles.at(i));

    paintFrame(painter, m_Style, w, h, n);
    painter.drawImage(0, 0, m_HeaderImage);
}
