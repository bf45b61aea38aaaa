#include "panels/infocalendarwidget.h"

#include "engine/numerology.h"
#include "style/appstyle.h"

#include <QPainter>

namespace {

int dtd(int n)
{
    return CNumerology::downToDigit(n);
}

QString cellText(const QString &name, int number)
{
    return name + QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
}

} // namespace

CInfoCalendarWidget::CInfoCalendarWidget(CAppStyle *style, QImage header, QWidget *parent,
                                         Qt::WindowFlags flags)
    : CInfoWidget(style, header, parent, flags)
{
    resize(600, 90);
}

CInfoCalendarWidget::~CInfoCalendarWidget() = default;

QString CInfoCalendarWidget::monthAbbreviation(int month)
{
    static const char *const names[]
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12)
        return QString();
    return QLatin1String(names[month - 1]);
}

QVector<CInfoCalendarWidget::Cell> CInfoCalendarWidget::cells(Row row, int birthNumber,
                                                              const QDate &date)
{
    QVector<Cell> result;
    // An invalid date has no month to name; nothing is shown for it, as
    // before a calculation.
    if (birthNumber <= 0 || !date.isValid())
        return result;
    const int b = birthNumber;
    result.reserve(CellCount);
    for (int i = 0; i < CellCount; ++i) {
        Cell cell;
        switch (row) {
        case YearRow: {
            const int year = date.year() + i;
            cell.text = cellText(QString::number(year), dtd(dtd(year) + b));
            cell.current = year == date.year();
            break;
        }
        case MonthRow: {
            const QDate d = date.addMonths(i);
            const int p = dtd(dtd(d.year()) + b);
            cell.text = cellText(monthAbbreviation(d.month()), dtd(dtd(d.month()) + p));
            cell.current = d.month() == date.month();
            break;
        }
        case DayRow: {
            const QDate d = date.addDays(i);
            const int p = dtd(dtd(d.month()) + dtd(dtd(d.year()) + b));
            cell.text = cellText(QString::number(d.day()), dtd(dtd(d.day()) + p));
            cell.current = d.day() == date.day();
            break;
        }
        default:
            return QVector<Cell>();
        }
        result.append(cell);
    }
    return result;
}

void CInfoCalendarWidget::paintEvent(QPaintEvent *)
{
    using namespace InfoPanel;
    QPainter painter(this);
    const int h = headerHeight();
    const int n = m_Labels.size();
    const int w = width();
    painter.setFont(pixelFont(QStringLiteral("Arial"), 10));
    const QPen textPen(textColor(), 1);
    // The cells of the forecast date itself stand out a little.
    const QPen currentPen(QColor(156, 182, 45), 1);

    paintBackground(painter, m_Style, w, h, n);

    for (int r = 0; r < RowCount; ++r) {
        const QVector<Cell> row = cells(static_cast<Row>(r), m_BirthNumber, m_Date);
        for (int i = 0; i < row.size(); ++i) {
            painter.setPen(row.at(i).current ? currentPen : textPen);
            painter.drawText(QRectF(44 + 46 * i, rowTop(h, r), 46, RowHeight), Qt::AlignCenter,
                             row.at(i).text);
        }
    }

    painter.setPen(textPen);
    for (int i = 0; i < n; ++i)
        painter.drawText(QRectF(4, rowTop(h, i), 36, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         m_Labels.at(i));

    paintFrame(painter, m_Style, w, h, n);
    painter.drawImage(0, 0, m_HeaderImage);
}
