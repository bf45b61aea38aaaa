#pragma once

#include "panels/infowidget.h"

// The "Today" badge: the personal day of the forecast date in large figures
// (m_Values[2]) with the personal month (m_Values[1]) and year (m_Values[0])
// beside it. Any press emits clicked().
class CInfoTodayWidget : public CInfoWidget
{
    Q_OBJECT

public:
    CInfoTodayWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                     Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoTodayWidget() override;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
