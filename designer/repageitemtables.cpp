#include "designer/repageitem.h"

#include "designer/calcnumcontainer.h"
#include "engine/globsettings.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"

#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <iterator>

namespace {

constexpr int RowHeight = 16;
constexpr int WideWidth = 649;
constexpr int NarrowWidth = 199;
const int LeftFlags = Qt::AlignLeft | Qt::AlignVCenter;
const int CentreFlags = Qt::AlignCenter;

const char *const shortMonths[12]
    = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void fillTable(QPainter *p, int width, int rows, const QColor &color)
{
    p->fillRect(QRect(0, -1, width, RowHeight * rows + 6), color);
}

int rowY(int n)
{
    return 3 + RowHeight * n;
}

} // namespace

QString CREPageItem::getNumRun(int count, const QString &digit)
{
    if (count < 0)
        return QString();
    if (count == 0)
        return QStringLiteral("-");
    return digit.repeated(count);
}

QString CREPageItem::masterDigitsHtml(const QString &text)
{
    if (text.size() < 2)
        return text;
    QString out;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (i < n - 1 && c.isDigit() && text.at(i + 1) == c
            && (i + 2 >= n || !text.at(i + 2).isDigit()) && (i == 0 || !text.at(i - 1).isDigit())) {
            out += QLatin1String("<font color=\"#D05030\">") + c + c + QLatin1String("</font>");
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void CREPageItem::drawFTextS(QPainter &p, int x, int y, const QString &text)
{
    QStaticText st(QLatin1String("<font color=\"#000000\">") + masterDigitsHtml(text)
                   + QLatin1String("</font>"));
    st.setTextFormat(Qt::RichText);
    p.drawStaticText(x, y, st);
}

void CREPageItem::drawTables(QPainter *p)
{
    palitra colors;
    colors.colors[0] = QColor(180, 180, 180, 255);
    colors.colors[1] = QColor(0, 0, 0);
    colors.colors[2] = QColor(0, 0, 0);
    colors.colors[3] = backgroundColor;
    colors.colors[4] = backgroundColor;
    colors.colors[5] = QColor(0, 0, 0);

    // Copies of what the tables show; an absent person or matrix shows empty
    // values, as an uncalculated one does.
    QString r[CNumerology::ResultCount];
    QString l[CNumerology::NameLineCount];
    QStringList planes;
    QString fullName;
    QString shortName;
    QDate forecast;
    int birth = 0;
    if (const CNumerology *n = container ? container->person : nullptr) {
        std::copy(std::begin(n->m_results), std::end(n->m_results), r);
        std::copy(std::begin(n->m_nameLines), std::end(n->m_nameLines), l);
        for (const QString &t : n->m_planeTexts)
            planes << t;
        fullName = n->m_fullName;
        shortName = n->m_shortName;
        forecast = n->m_forecastDate;
        birth = n->m_dayMonthDigit;
    }
    int digitCount[10] = {};
    int lineValue[CNumerologyPMatrix::LineCount] = {};
    const CNumerologyPMatrix *matrix = container ? container->personMatrix : nullptr;
    if (matrix) {
        std::copy(std::begin(matrix->digitCount), std::end(matrix->digitCount), digitCount);
        std::copy(std::begin(matrix->lineValue), std::end(matrix->lineValue), lineValue);
    }
    auto withMinor = [](const QString &a, const QString &b) {
        if (a.isEmpty() && b.isEmpty())
            return QString();
        return a + QLatin1String(" (") + b + QLatin1Char(')');
    };

    if (key == QLatin1String("Name")) {
        paintNameInfo(p, {l[0], fullName, l[1], l[5], shortName, l[6]},
                      {l[3], l[2], l[4], l[8], l[7], l[9]}, colors);
    } else if (key == QLatin1String("Psychomatrix")) {
        // Without a matrix the cells show their names only, no invented zeros.
        auto run = [&](int digit) {
            return getNumRun(matrix ? digitCount[digit] : -1, QString::number(digit));
        };
        auto line = [&](int i) {
            return matrix ? QString::number(lineValue[i]) : QString();
        };
        const QStringList cells = {
            QString(),
            QLatin1String("Character ") + run(1),
            QLatin1String("Health ") + run(4),
            QLatin1String("Luck ") + run(7),
            QLatin1String("Purposeful - ") + line(CNumerologyPMatrix::LPurposeful),
            QString(),
            QLatin1String("Energy ") + run(2),
            QLatin1String("Intuition ") + run(5),
            QLatin1String("Duty ") + run(8),
            QLatin1String("Family formation - ") + line(CNumerologyPMatrix::LFamilyFormation),
            QString(),
            QLatin1String("Interest ") + run(3),
            QLatin1String("Labour ") + run(6),
            QLatin1String("Memory ") + run(9),
            QLatin1String("Stability - ") + line(CNumerologyPMatrix::LStability),
            QLatin1String("Sexual life - ") + line(CNumerologyPMatrix::LSexualLife),
            QLatin1String("Self appraisal - ") + line(CNumerologyPMatrix::LSelfAppraisal),
            QLatin1String("Finance - ") + line(CNumerologyPMatrix::LFinance),
            QLatin1String("Talent - ") + line(CNumerologyPMatrix::LTalent),
            QLatin1String("Spirituality - ") + line(CNumerologyPMatrix::LSpirituality),
        };
        paintMatrInfo(p, {QString(), QString(), QString(), QString()}, cells, colors);
    } else if (key == QLatin1String("Planes of Expression")) {
        paintExprInfo(p,
                      {QString(), QStringLiteral("Creative"), QStringLiteral("Dual"),
                       QStringLiteral("Grounded")},
                      planes, colors);
    } else if (key == QLatin1String("Personal numbers calendar")) {
        paintCalendarInfo(
            p, forecast, birth,
            {QStringLiteral("Years "), QStringLiteral("Months"), QStringLiteral("Days")}, colors);
    } else if (key == QLatin1String("Main Features")) {
        paintInfo(p,
                  {QStringLiteral("Life Path"), QStringLiteral("Birthday"),
                   QStringLiteral("Expression (M)"), QStringLiteral("Heart Desire (M)"),
                   QStringLiteral("Personality (M)"), QStringLiteral("Karmic Debts")},
                  {r[0], r[1], withMinor(r[2], r[3]), withMinor(r[4], r[5]), withMinor(r[6], r[7]),
                   r[10]},
                  colors);
    } else if (key == QLatin1String("Additional Features")) {
        QString lessons = r[11];
        lessons.remove(QLatin1Char(' '));
        paintInfo(p,
                  {QStringLiteral("Maturity"), QStringLiteral("Rational Thought"),
                   QStringLiteral("Karmic Lessons"), QStringLiteral("Balance"),
                   QStringLiteral("Hidden Passion"), QStringLiteral("Subcons.Confid.")},
                  {r[8], r[9], lessons, r[16], r[18], r[19]}, colors);
    } else if (key == QLatin1String("Life Cycles")) {
        paintInfo(p,
                  {QStringLiteral("Age span"), QStringLiteral("Challenges"),
                   QStringLiteral("Pinnacles"), QStringLiteral("Personal Year"),
                   QStringLiteral("LP Periods"), QStringLiteral("LP Age Span")},
                  {r[20], r[12], r[13], r[17], r[21], r[22]}, colors);
    } else if (key == QLatin1String("Bridges")) {
        paintInfo(p, {QStringLiteral("Life path - Expr."), QStringLiteral("Heart D. - Pers.")},
                  {r[14], r[15]}, colors);
    }
}

void CREPageItem::paintInfo(QPainter *p, const QStringList &labels, const QStringList &values,
                            palitra colors)
{
    p->save();
    p->setFont(font);
    p->setPen(QPen(color, 1));
    fillTable(p, NarrowWidth, labels.size(), colors.colors[4]);
    if (!labels.isEmpty() && labels.size() == values.size()) {
        for (int n = 0; n < labels.size(); ++n) {
            p->drawText(QRect(4, rowY(n), 96, RowHeight), LeftFlags, labels.at(n));
            p->drawText(QRect(104, rowY(n), 92, RowHeight), LeftFlags, values.at(n));
        }
    }
    p->restore();
}

void CREPageItem::paintNameInfo(QPainter *p, const QStringList &rows, const QStringList &totals,
                                palitra colors)
{
    p->save();
    p->setFont(font);
    const QPen itemPen(color, 1);
    p->setPen(itemPen);
    fillTable(p, WideWidth, rows.size(), colors.colors[3]);
    const bool stackMasters = m_GlobSettings[GSReduceMasterLetters] == 0;
    for (int n = 0; n < rows.size(); ++n) {
        const int y = rowY(n);
        const QString &row = rows.at(n);
        const int letterRow = n < 3 ? 1 : 4;
        const QString letters = rows.value(letterRow);
        for (int j = 0; j < row.size(); ++j) {
            const QRect cell(4 + 9 * j, y, 9, RowHeight);
            QString shown(row.at(j));
            if (stackMasters && n != 1 && n != 4 && row.at(j) != QLatin1Char(' ')
                && j < letters.size()) {
                // Digit rows longer than their letter row have no letter to look at.
                const QChar letter
                    = letters.at(j).unicode() > 255 ? QChar() : letters.at(j).toUpper();
                if (letter == QLatin1Char('K'))
                    shown = QStringLiteral("1\n1");
                else if (letter == QLatin1Char('V'))
                    shown = QStringLiteral("2\n2");
            }
            p->drawText(cell, LeftFlags, shown);
        }
        drawFTextS(*p, 9 * row.size() + 13, y, totals.value(n));
        if (n > 0 && n % 3 == 0) {
            p->setPen(QPen(colors.colors[0], 1));
            p->drawLine(0, y, WideWidth, y);
            p->setPen(itemPen);
        }
    }
    p->restore();
}

void CREPageItem::paintMatrInfo(QPainter *p, const QStringList &rows, const QStringList &cells,
                                palitra colors)
{
    p->save();
    p->setFont(font);
    p->setPen(QPen(color, 1));
    fillTable(p, WideWidth, rows.size(), colors.colors[3]);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c)
            p->drawText(QRect(4 + 125 * c, rowY(r), 125, RowHeight), CentreFlags,
                        cells.value(r * 5 + c));
    }
    p->restore();
}

void CREPageItem::paintExprInfo(QPainter *p, const QStringList &rows, const QStringList &planes,
                                palitra colors)
{
    static const char *const columns[4] = {"Mental", "Physical", "Emotional", "Intuitive"};
    p->save();
    p->setFont(font);
    p->setPen(QPen(color, 1));
    fillTable(p, WideWidth, rows.size(), colors.colors[3]);
    for (int k = 0; k < 4; ++k)
        p->drawText(QRect(121 + 130 * k, 3, 130, RowHeight), CentreFlags,
                    QLatin1String(columns[k]) + QLatin1Char(' ') + planes.value(15 + k));
    for (int r = 1; r <= 3; ++r) {
        const int y = rowY(r);
        for (int k = 0; k < 4; ++k)
            p->drawText(QRect(121 + 130 * k, y, 130, RowHeight), CentreFlags,
                        planes.value(5 * (r - 1) + k));
        p->drawText(QRect(4, y, 113, RowHeight), LeftFlags,
                    rows.value(r) + QLatin1Char(' ') + planes.value(5 * (r - 1) + 4));
    }
    p->restore();
}

void CREPageItem::paintCalendarInfo(QPainter *p, QDate date, int birth, const QStringList &rows,
                                    palitra colors)
{
    if (!date.isValid())
        date = QDate::currentDate();
    auto D = [](int v) {
        return CNumerology::downToDigit(v);
    };
    auto monthNumber = [&](const QDate &d) {
        return D(D(D(d.year()) + birth) + D(d.month()));
    };
    auto withValue = [](const QString &head, int v) {
        return head + QLatin1String(" (") + QString::number(v) + QLatin1Char(')');
    };
    p->save();
    p->setFont(font);
    p->setPen(QPen(color, 1));
    fillTable(p, WideWidth, rows.size(), colors.colors[3]);
    if (birth > 0) {
        for (int i = 0; i < 12; ++i) {
            const int x = 48 + 50 * i;
            const int year = date.year() + i;
            p->drawText(QRect(x, rowY(0), 55, RowHeight), CentreFlags,
                        withValue(QString::number(year), D(D(year) + birth)));
            const QDate month = date.addMonths(i);
            p->drawText(
                QRect(x, rowY(1), 55, RowHeight), CentreFlags,
                withValue(QLatin1String(shortMonths[month.month() - 1]), monthNumber(month)));
            const QDate day = date.addDays(i);
            p->drawText(QRect(x, rowY(2), 55, RowHeight), CentreFlags,
                        withValue(QString::number(day.day()), D(monthNumber(day) + D(day.day()))));
        }
    }
    for (int n = 0; n < rows.size(); ++n)
        p->drawText(QRect(4, rowY(n), 45, RowHeight), LeftFlags, rows.at(n));
    p->restore();
}
