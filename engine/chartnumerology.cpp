#include "chartnumerology.h"

#include <QPainter>

CChartNumerology::CChartNumerology(QObject *parent)
    : QObject(parent)
{
}

CChartNumerology::~CChartNumerology() = default;

void CChartNumerology::preloadRes(const QImage &image)
{
    m_background = image;
    if (image.isNull()) {
        m_canvas = QImage();
        return;
    }
    m_canvas = QImage(image.size(), QImage::Format_ARGB32);
    m_canvas.fill(Qt::white);
    paintBackground();
}

void CChartNumerology::resetData()
{
    clearStats();
    paintBackground();
}

void CChartNumerology::clear()
{
    resetData();
}

void CChartNumerology::paintBackground()
{
    if (m_canvas.isNull() || m_background.isNull())
        return;
    QPainter painter(&m_canvas);
    painter.drawImage(0, 0, m_background);
    painter.end();
}
