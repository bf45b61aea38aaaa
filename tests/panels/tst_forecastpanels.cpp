#include "panelfixture.h"

#include "style/appstyle.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace PanelTest;

using CellMap = QMap<int, QString>;
Q_DECLARE_METATYPE(CellMap)

// The today badge and the personal-numbers calendar: the calendar's cells
// across month and year ends, and the badge's click and empty state.
class TestForecastPanels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void calendarCells_data();
    void calendarCells();
    void calendarWithoutNumbers_data();
    void calendarWithoutNumbers();
    void calendarMarksForecastCells();
    void todayPressEmitsClicked_data();
    void todayPressEmitsClicked();
    void todayWithoutNumbers();

private:
    std::unique_ptr<CAppStyle> m_style;
};

void TestForecastPanels::initTestCase()
{
    m_style = std::make_unique<CAppStyle>(skinFolder());
}

void TestForecastPanels::calendarCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("birthNumber");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<CellMap>("cells");

    using C = CInfoCalendarWidget;
    // 2025 reduces to 9, 2026 to 1; birth number 3.
    QTest::newRow("years from mid November")
        << int(C::YearRow) << 3 << QDate(2025, 11, 15)
        << CellMap {{0, "2025 (3)"}, {1, "2026 (4)"}, {11, "2036 (5)"}};
    QTest::newRow("year row ignores the month")
        << int(C::YearRow) << 3 << QDate(2025, 1, 1) << CellMap {{0, "2025 (3)"}};
    QTest::newRow("months cross into the next year")
        << int(C::MonthRow) << 3 << QDate(2025, 11, 15)
        << CellMap {
               {0, "Nov (5)"}, {1, "Dec (6)"}, {2, "Jan (5)"}, {3, "Feb (6)"}, {11, "Oct (5)"}};
    QTest::newRow("months from the 31st")
        << int(C::MonthRow) << 3 << QDate(2025, 1, 31)
        << CellMap {{0, "Jan (4)"}, {1, "Feb (5)"}, {2, "Mar (6)"}, {11, "Dec (6)"}};
    QTest::newRow("days within a month") << int(C::DayRow) << 3 << QDate(2025, 11, 15)
                                         << CellMap {{0, "15 (2)"}, {1, "16 (3)"}, {11, "26 (4)"}};
    QTest::newRow("days cross a month end") << int(C::DayRow) << 3 << QDate(2025, 11, 25)
                                            << CellMap {{5, "30 (8)"}, {6, "1 (7)"}, {11, "6 (3)"}};
    QTest::newRow("days cross a year end") << int(C::DayRow) << 3 << QDate(2025, 12, 28)
                                           << CellMap {{3, "31 (1)"}, {4, "1 (6)"}, {11, "8 (4)"}};
    QTest::newRow("leap day") << int(C::DayRow) << 1 << QDate(2024, 2, 27)
                              << CellMap {{2, "29 (4)"}, {3, "1 (4)"}};
    QTest::newRow("master birth number is counted down")
        << int(C::YearRow) << 11 << QDate(2025, 1, 1) << CellMap {{0, "2025 (2)"}};
}

void TestForecastPanels::calendarCells()
{
    QFETCH(int, row);
    QFETCH(int, birthNumber);
    QFETCH(QDate, date);
    QFETCH(CellMap, cells);

    const QVector<CInfoCalendarWidget::Cell> result
        = CInfoCalendarWidget::cells(CInfoCalendarWidget::Row(row), birthNumber, date);
    QCOMPARE(result.size(), CInfoCalendarWidget::CellCount);
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        QCOMPARE(result.at(it.key()).text, it.value());
}

void TestForecastPanels::calendarWithoutNumbers_data()
{
    QTest::addColumn<int>("birthNumber");
    QTest::addColumn<QDate>("date");
    QTest::newRow("before a calculation") << 0 << QDate(2025, 11, 15);
    QTest::newRow("negative birth number") << -3 << QDate(2025, 11, 15);
    // An invalid date has month 0, which names no month.
    QTest::newRow("no date") << 4 << QDate();
}

void TestForecastPanels::calendarWithoutNumbers()
{
    QFETCH(int, birthNumber);
    QFETCH(QDate, date);
    for (int r = 0; r < CInfoCalendarWidget::RowCount; ++r)
        QVERIFY(
            CInfoCalendarWidget::cells(CInfoCalendarWidget::Row(r), birthNumber, date).isEmpty());

    CInfoCalendarWidget panel(m_style.get(), solidHeader(600, 30));
    panel.m_Labels = QStringList {"Years", "Months", "Days"};
    panel.m_BirthNumber = birthNumber;
    panel.m_Date = date;
    const QImage shot = panel.grab().toImage();
    // Titles only: nothing right of the title column.
    QVERIFY(inkBox(shot, QRect(44, 32, 550, 50), InfoPanel::backgroundColor(), 1).isNull());
    QVERIFY(!inkBox(shot, QRect(4, 32, 36, 50), InfoPanel::backgroundColor()).isNull());
}

void TestForecastPanels::calendarMarksForecastCells()
{
    for (int r = 0; r < CInfoCalendarWidget::RowCount; ++r) {
        const auto cells
            = CInfoCalendarWidget::cells(CInfoCalendarWidget::Row(r), 7, QDate(2026, 1, 31));
        QVERIFY(cells.at(0).current);
        for (int i = 1; i < cells.size(); ++i)
            QVERIFY2(!cells.at(i).current, qPrintable(cells.at(i).text));
    }
}

void TestForecastPanels::todayPressEmitsClicked_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("button");
    QTest::newRow("on the day number") << QPoint(50, 50) << int(Qt::LeftButton);
    QTest::newRow("on the title, right button") << QPoint(90, 10) << int(Qt::RightButton);
    QTest::newRow("corner, middle button") << QPoint(0, 0) << int(Qt::MiddleButton);
}

void TestForecastPanels::todayPressEmitsClicked()
{
    QFETCH(QPoint, pos);
    QFETCH(int, button);
    CInfoTodayWidget panel(m_style.get(), skinImage("todaywidg.png"));
    QSignalSpy clicked(&panel, &CInfoTodayWidget::clicked);
    QSignalSpy rows(&panel, &CInfoWidget::itemCliked);
    pressAt(&panel, pos, Qt::MouseButton(button));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(rows.count(), 0);
}

void TestForecastPanels::todayWithoutNumbers()
{
    CInfoTodayWidget panel(m_style.get(), skinImage("todaywidg.png"));
    QCOMPARE(panel.size(), QSize(180, 104));
    const QImage empty = panel.grab().toImage();
    panel.m_Values = QStringList {"2026 (2)", "Dec (5)"};
    QCOMPARE(panel.grab().toImage(), empty);
    panel.m_Values << QStringLiteral("4");
    const QImage full = panel.grab().toImage();
    QVERIFY(full != empty);
    // The day number sits left of the divider, year and month right of it.
    QVERIFY(!inkBox(full, QRect(40, 30, 40, 32), empty.pixelColor(70, 90), 40).isNull());
}

QTEST_MAIN(TestForecastPanels)
#include "tst_forecastpanels.moc"
