#include "panels/infotodaywidget.h"

#include "style/appstyle.h"

#include <QPainter>

CInfoTodayWidget::CInfoTodayWidget(CAppStyle *style, QImage header, QWidget *parent,
                                   Qt::WindowFlags flags)
    : CInfoWidget(style, header, parent, flags)
{
    resize(180, 104);
}

CInfoTodayWidget::~CInfoTodayWidget() = default;

void CInfoTodayWidget::mousePressEvent(QMouseEvent *)
{
    Q_EMIT clicked();
}

void CInfoTodayWidget::paintEvent(QPaintEvent *)
{
    using InfoPanel::pixelFont;
    QPainter painter(this);
    painter.drawImage(0, 0, m_Style->updateImage(m_HeaderImage));

    const QFont small = pixelFont(QStringLiteral("Arial"), 12, QFont::Bold);
    if (m_Values.size() > 2) {
        painter.setPen(QColor(237, 219, 178));
        painter.setFont(pixelFont(QStringLiteral("Arial"), 32, QFont::Bold));
        painter.drawText(QPoint(40, 60), m_Values.at(2));
        painter.setFont(small);
        painter.drawText(QPoint(90, 40), m_Values.at(1));
        painter.drawText(QPoint(90, 60), m_Values.at(0));
    }
    painter.setPen(QColor(156, 182, 45));
    painter.setFont(small);
    painter.drawText(QRect(15, 0, 165, 25), Qt::AlignCenter, QStringLiteral("Today"));
}
