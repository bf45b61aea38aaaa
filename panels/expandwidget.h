#pragma once

#include <QRect>
#include <QWidget>

class CAppStyle;
class QLabel;
class QPropertyAnimation;
class QPushButton;
class QTextBrowser;

// A side panel that slides open to the left: collapsed it is a 13-pixel
// tab, expanded a strip expandWidth pixels wider with a text area in which
// the owner shows the reading of the personal day.
class CExpandWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int TabWidth = 13;
    static constexpr int PanelHeight = 98;

    // Where one toggle slides to from the current geometry; expanding tells
    // which way.
    struct Slide
    {
        bool expanding = false;
        QRect target;
    };

    CExpandWidget(CAppStyle *style, QWidget *parent, int expandWidth, int duration);
    ~CExpandWidget() override;

    // A panel up to 29 pixels wide counts as collapsed, so a toggle during
    // a slide turns it back from where it stands.
    static Slide slideFrom(const QRect &current, const QPoint &anchor, bool anchorExpanded,
                           int expandWidth);

    // Remembers the corner the owner has just moved the panel to.
    void setPos(int x, int y);

    int m_ExpandWidth;
    int m_Duration;
    int m_AnchorX = 0;
    int m_AnchorY = 0;
    bool m_AnchorExpanded = false;
    QLabel *m_ImageLabel;
    QPushButton *m_TabButton;
    QPropertyAnimation *m_Animation;
    bool m_Expanded = false;
    CAppStyle *m_Style;
    QTextBrowser *m_TextBrowser;
    QWidget *m_Background;

public Q_SLOTS:
    void slotExpand();
    void slotUpdate();

protected:
    void paintEvent(QPaintEvent *event) override;
};
