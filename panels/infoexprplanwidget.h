#pragma once

#include "panels/infowidget.h"

// "Planes of Expression": four plane columns with their totals in the
// heads, the letter kinds of m_Labels 1 to 3 with their totals, and twelve
// cell counts, all from the twenty texts of m_Values.
class CInfoExprPlanWidget : public CInfoWidget
{
    Q_OBJECT

public:
    static constexpr int PlaneCount = 4;

    // The texts of one paint.
    struct Texts
    {
        QStringList heads; // "Mental 4", ...
        QStringList cells; // row by row, 3 x 4
        QStringList titles; // one per label after the first: "Creative 2", ...
    };

    CInfoExprPlanWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                        Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoExprPlanWidget() override;

    // A missing value reads as empty, so a short or stale list never reads
    // past its end.
    static Texts texts(const QStringList &labels, const QStringList &values);

protected:
    void paintEvent(QPaintEvent *event) override;
};
