#include "app/painterboard.h"

#include "style/appstyle.h"

#include <QPainter>

CPainterBoard::CPainterBoard(QWidget *parent)
    : QWidget(parent)
{
}

QRect CPainterBoard::targetRect(const QSize &image, const QSize &widget)
{
    const QSize s = image.scaled(widget, Qt::KeepAspectRatio);
    return QRect((widget.width() - s.width()) / 2 - 1, (widget.height() - s.height()) / 2 - 1,
                 s.width() + 2, s.height() + 2);
}

QColor CPainterBoard::messageColor() const
{
    // The page shows the scheme's dark panel colour: its text is the light
    // cream of the skin, tinted like the rest.
    return m_Style ? m_Style->updateColor(QColor(237, 219, 178))
                   : palette().color(QPalette::WindowText);
}

void CPainterBoard::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    if (m_Image.isNull()) {
        if (m_Message.isEmpty())
            return;
        painter.setPen(messageColor());
        painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         m_Message);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(targetRect(m_Image.size(), size()), m_Image);
}
