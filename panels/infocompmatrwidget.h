#pragma once

#include "panels/infomatrwidget.h"

// The person's and the partner's psycho-matrix side by side: each square
// shows the two values joined by "/".
class CInfoCompMatrWidget : public QWidget
{
    Q_OBJECT

public:
    CInfoCompMatrWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                        Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoCompMatrWidget() override;

    void drawSq(QPainter &painter, int x, int y, QString symbol, QString caption, int a, int b);

    CAppStyle *m_Style;
    QImage m_HeaderImage;
    int m_Counts[20];
    int m_PartnerCounts[20];
    QLabel *m_TitleLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
