#pragma once

#include "panels/infowidget.h"

#include <QPixmap>
#include <QVector>

class QPushButton;

// "Essence and Transit": one 16-pixel column per age 0 to 100 with the year
// the age begins, the letter of each of the three transits (m_Labels 0 to 2,
// one character per age) and the essence sum and number of that age. The
// panel shows about 37 columns; "< Age >" steps through three windows.
class CInfoEssenceWidget : public CInfoWidget
{
    Q_OBJECT

public:
    static constexpr int AgeCount = 101;
    static constexpr int ColumnWidth = 16;
    static constexpr int StripWidth = 1800;

    // What one age column shows.
    struct Column
    {
        QString age;
        QString year; // last two digits of the year the age begins, no leading zero
        QString sum; // empty while no transit is known
        QString reduced;
    };

    CInfoEssenceWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                       Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoEssenceWidget() override;

    // Column of one age (0 to 100); the numbers show only when the first
    // transit string is known.
    static Column column(int age, int birthYear, const QStringList &labels, const int *essenceSum,
                         const int *essenceReduced);
    // Horizontal shift of the strip for a window: window 0 starts at age 0,
    // 1 at age 32, 2 at age 64.
    static int stripOffset(int agePage);

    int m_EssenceReduced[128];
    int m_EssenceSum[128];
    int m_AgePage = 0;
    int m_BirthYear = 0;
    QPushButton *m_AgeButton;
    QPixmap m_Strip;

public Q_SLOTS:
    void OnSwitchAge();
    // Redraws the strip from the arrays and labels and repaints the panel.
    void updateData();

public:
    void updateData(QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;
};
