#pragma once

#include "panels/infowidget.h"

#include <QDate>
#include <QVector>

// "Personal numbers calendar": twelve years, twelve months and twelve days
// from m_Date, each with the personal number counted from m_BirthNumber.
class CInfoCalendarWidget : public CInfoWidget
{
    Q_OBJECT

public:
    enum Row { YearRow = 0, MonthRow, DayRow, RowCount };
    static constexpr int CellCount = 12;

    struct Cell
    {
        QString text; // "2025 (7)", "Nov (3)", "15 (8)"
        bool current = false; // the year, month or day of the first date itself
    };

    CInfoCalendarWidget(CAppStyle *style, QImage header, QWidget *parent = nullptr,
                        Qt::WindowFlags flags = Qt::WindowFlags());
    ~CInfoCalendarWidget() override;

    // The twelve cells of one row; none before a calculation (birth number
    // 0 or less) or without a valid first date.
    static QVector<Cell> cells(Row row, int birthNumber, const QDate &date);
    static QString monthAbbreviation(int month);

    int m_BirthNumber = 0;
    QDate m_Date;

protected:
    void paintEvent(QPaintEvent *event) override;
};
