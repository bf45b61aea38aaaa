#include "designer/reportpepages.h"

#include "designer/iconlist.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QTimerEvent>

namespace {

QWidget *thirdAncestor(QWidget *widget)
{
    for (int i = 0; i < 3 && widget; ++i)
        widget = widget->parentWidget();
    return widget;
}

QPushButton *makeButton(QWidget *parent, const QString &caption, const QString &toolTip)
{
    auto *button = new QPushButton(caption, parent);
    button->setToolTip(toolTip);
    button->resize(CReportPEPages::ButtonSize, CReportPEPages::ButtonSize);
    return button;
}

} // namespace

CReportPEPages::CReportPEPages(QWidget *parent, QWidget *dragHost)
    : QWidget(parent)
{
    pagesList = new CIconList(this);
    pagesList->resize(100, 300);
    blocksList = new CIconList(this);
    blocksList->resize(100, 300);

    const QString gear(QChar(0x2699));
    addBlockButton = makeButton(this, QStringLiteral("+"), QStringLiteral("Add Block"));
    deleteBlockButton = makeButton(this, QStringLiteral("x"), QStringLiteral("Delete Block"));
    blockPropertiesButton = makeButton(this, gear, QStringLiteral("Block Properties"));
    addPageButton = makeButton(this, QStringLiteral("+"), QStringLiteral("Add Pages"));
    deletePageButton = makeButton(this, QStringLiteral("x"), QStringLiteral("Delete Pages"));
    pagePropertiesButton = makeButton(this, gear, QStringLiteral("Pages Properties"));

    m_dragHost = dragHost ? dragHost : thirdAncestor(this);
    m_timerId = startTimer(PollMs, Qt::CoarseTimer);
}

CReportPEPages::~CReportPEPages()
{
    if (m_timerId)
        killTimer(m_timerId);
}

void CReportPEPages::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timerId) {
        QWidget::timerEvent(event);
        return;
    }
    // Without a surface a dragged tile would have nowhere to float; the strips
    // then only report clicks.
    QWidget *surface = m_dragHost ? m_dragHost : window();
    pagesList->processItems(surface);
    blocksList->processItems(surface);
}

void CReportPEPages::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int half = height() / 2;
    const int stripH = qMax(0, half - 35);
    pagesList->setGeometry(0, 0, w, stripH);
    addPageButton->move(0, half - 30);
    deletePageButton->move(25, half - 30);
    pagePropertiesButton->move(50, half - 30);
    blocksList->setGeometry(0, half, w, stripH);
    addBlockButton->move(0, 2 * half - 30);
    deleteBlockButton->move(25, 2 * half - 30);
    blockPropertiesButton->move(50, 2 * half - 30);
}

void CReportPEPages::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    // Painted as a plain widget so that style sheets reach the background.
    QStyleOption option;
    option.initFrom(this);
    QPainter p(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &p, this);
}
