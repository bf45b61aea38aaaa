#include "panels/expandwidget.h"

#include "style/appstyle.h"

#include <QLabel>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTextBrowser>

CExpandWidget::CExpandWidget(CAppStyle *style, QWidget *parent, int expandWidth, int duration)
    : QWidget(parent)
    , m_ExpandWidth(expandWidth)
    , m_Duration(duration)
    , m_ImageLabel(nullptr)
    , m_TabButton(nullptr)
    , m_Animation(nullptr)
    , m_Style(style)
    , m_TextBrowser(nullptr)
    , m_Background(nullptr)
{
    resize(TabWidth, PanelHeight);
    // The body spans the whole expanded width behind the text.
    m_Background = new QWidget(this);
    m_Background->resize(expandWidth, PanelHeight);
    m_Background->move(TabWidth, 0);

    m_ImageLabel = new QLabel(this);
    m_ImageLabel->resize(15, height());

    m_TabButton = new QPushButton(this);
    m_TabButton->resize(15, height());
    m_TabButton->setStyleSheet(QStringLiteral("border: transparent; background: transparent;"));
    connect(m_TabButton, &QPushButton::clicked, this, &CExpandWidget::slotExpand);

    m_TextBrowser = new QTextBrowser(this);
    m_TextBrowser->move(25, 12);
    m_TextBrowser->resize(qMax(0, expandWidth - 50), height() - 20);
    m_TextBrowser->setStyleSheet(
        QStringLiteral("QTextBrowser { background:transparent; border:transparent; color: #ffffff; "
                       "font: 14px; }"));

    m_Animation = new QPropertyAnimation(this, "geometry", this);
    slotUpdate();
}

CExpandWidget::~CExpandWidget() = default;

CExpandWidget::Slide CExpandWidget::slideFrom(const QRect &current, const QPoint &anchor,
                                              bool anchorExpanded, int expandWidth)
{
    Slide slide;
    if (current.width() <= 29) {
        slide.expanding = true;
        const int x = anchorExpanded ? anchor.x() : anchor.x() - expandWidth;
        slide.target = QRect(x, anchor.y(), expandWidth + TabWidth, PanelHeight);
    } else {
        slide.expanding = false;
        if (anchorExpanded)
            slide.target
                = QRect(anchor.x() + current.width() - TabWidth,
                        anchor.y() + current.height() - PanelHeight, TabWidth, PanelHeight);
        else
            slide.target = QRect(anchor.x(), anchor.y(), TabWidth, PanelHeight);
    }
    return slide;
}

void CExpandWidget::setPos(int x, int y)
{
    m_AnchorX = x;
    m_AnchorY = y;
    m_AnchorExpanded = m_Expanded;
}

void CExpandWidget::slotExpand()
{
    m_Animation->stop();
    m_Animation->setDuration(m_Duration);
    const Slide slide
        = slideFrom(geometry(), QPoint(m_AnchorX, m_AnchorY), m_AnchorExpanded, m_ExpandWidth);
    m_Expanded = slide.expanding;
    m_Animation->setStartValue(geometry());
    m_Animation->setEndValue(slide.target);
    m_Animation->start();
}

void CExpandWidget::slotUpdate()
{
    m_Background->setStyleSheet(QStringLiteral("QWidget { background: ")
                                + m_Style->updateColor(QStringLiteral("#352821"))
                                + QStringLiteral("; border: none; }"));
    m_ImageLabel->setPixmap(QPixmap::fromImage(m_Style->updateImage(m_Style->expandImage)));
}

void CExpandWidget::paintEvent(QPaintEvent *) { }
