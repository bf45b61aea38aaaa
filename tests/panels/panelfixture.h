#pragma once

#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"
#include "panels/infocalendarwidget.h"
#include "panels/infocompmatrwidget.h"
#include "panels/infoessencewidget.h"
#include "panels/infoexprplanwidget.h"
#include "panels/infomatrwidget.h"
#include "panels/infonamewidget.h"
#include "panels/infotodaywidget.h"
#include "panels/infowidget.h"

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QStringList>

// Helpers shared by the panel tests: the build's skin pictures, and panels
// filled from a calculated person the way the calculation commands fill them.
namespace PanelTest {

// The skin pictures generated into the build's Resources/images/.
inline QString skinFolder()
{
    QString folder = qEnvironmentVariable("LUMARO_SKIN_DIR");
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../Resources/images");
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

inline QImage skinImage(const char *name)
{
    return QImage(skinFolder() + QLatin1String(name));
}

// A plain header of a known colour, for pixel checks that must not depend
// on the skin.
inline QImage solidHeader(int width, int height, const QColor &color = QColor(10, 200, 30))
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

inline QStringList blanks(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QString();
    return list;
}

inline bool near(const QColor &a, const QColor &b, int tolerance = 2)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

// Whether any pixel of the rectangle has the colour.
inline bool contains(const QImage &image, const QRect &rect, const QColor &color, int tolerance = 2)
{
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (near(image.pixelColor(x, y), color, tolerance))
                return true;
        }
    }
    return false;
}

// One calculated person with the numbers in the engine objects.
struct Person
{
    CNumerology numerology;
    CNumerologyPMatrix matrix;
    QString fullName;
    QString shortName;

    bool calculate(const QString &full, const QString &shortN, const QDate &birth,
                   const QDate &forecast, bool chaldean = false)
    {
        fullName = full;
        shortName = shortN;
        QVector<int> fullOverrides;
        QVector<int> shortOverrides;
        numerology.resetData();
        numerology.setMasterNumbersMode(0);
        const bool ok1 = numerology.calculate(full, shortN, fullOverrides, shortOverrides, chaldean,
                                              birth, forecast, nullptr, 0, 0, true);
        matrix.resetData();
        const bool ok2 = matrix.calculate(full, birth, nullptr, 0);
        return ok1 && ok2;
    }

    QString text(int i) const { return numerology.m_results[i]; }
    QString pair(int a, int b) const
    {
        return text(a) + QStringLiteral(" (") + text(b) + QLatin1Char(')');
    }

    // The seventeen matrix numbers in the panels' order.
    QVector<int> matrixNumbers() const
    {
        const int *c = matrix.digitCount;
        const int *l = matrix.lineValue;
        return {c[1], c[4], c[7], l[3], c[2], c[5], c[8], l[4], c[3],
                c[6], c[9], l[5], l[0], l[1], l[2], l[6], l[7]};
    }

    void fillMainFeatures(CInfoWidget *panel) const
    {
        panel->m_Labels = QStringList {"Life Path",        "Birthday",        "Expression (M)",
                                       "Heart Desire (M)", "Personality (M)", "Karmic Debts"};
        panel->m_Values
            = QStringList {text(0), text(1), pair(2, 3), pair(4, 5), pair(6, 7), text(10)};
    }

    void fillAdditionalFeatures(CInfoWidget *panel) const
    {
        panel->m_Labels = QStringList {"Maturity", "Rational Thought", "Karmic Lessons",
                                       "Balance",  "Hidden Passion",   "Subcons.Confid."};
        panel->m_Values = QStringList {text(8),  text(9),  text(11).remove(QLatin1Char(' ')),
                                       text(16), text(18), text(19)};
    }

    void fillLifeCycles(CInfoWidget *panel) const
    {
        panel->m_Labels = QStringList {"Age span",      "Challenges", "Pinnacles",
                                       "Personal Year", "LP Periods", "LP Age Span"};
        panel->m_Values = QStringList {text(20), text(12), text(13), text(17), text(21), text(22)};
        panel->m_RowLimit = 4;
        panel->m_PlainText = true;
    }

    void fillBridges(CInfoWidget *panel) const
    {
        panel->m_Labels = QStringList {"Life path - Expr.", "Heart D. - Pers."};
        panel->m_Values = QStringList {text(14), text(15)};
        panel->m_PlainText = true;
    }

    void fillNames(CInfoNameWidget *panel) const
    {
        const QString *rows = numerology.m_nameLines;
        panel->m_Labels = QStringList {rows[0], fullName, rows[1], rows[5], shortName, rows[6]};
        panel->m_Values = QStringList {rows[3], rows[2], rows[4], rows[8], rows[7], rows[9]};
    }

    void fillPlanes(CInfoExprPlanWidget *panel) const
    {
        panel->m_Labels = QStringList {QString(), "Creative", "Dual", "Grounded"};
        panel->m_Values.clear();
        for (const QString &t : numerology.m_planeTexts)
            panel->m_Values << t;
    }

    void fillEssence(CInfoEssenceWidget *panel) const
    {
        panel->m_Labels = blanks(7);
        panel->m_Values = blanks(7);
        panel->m_Labels[0] = numerology.m_transitPhysical;
        panel->m_Labels[1] = numerology.m_transitMental;
        panel->m_Labels[2] = numerology.m_transitSpiritual;
        for (int i = 0; i < 128; ++i) {
            panel->m_EssenceSum[i] = numerology.m_essence[i];
            panel->m_EssenceReduced[i] = numerology.m_essence[128 + i];
        }
        panel->m_BirthYear = numerology.m_birthDate.year();
        panel->updateData();
    }

    void fillCalendar(CInfoCalendarWidget *panel) const
    {
        panel->m_Labels = QStringList {"Years", "Months", "Days"};
        panel->m_Values = blanks(3);
        panel->m_BirthNumber = numerology.m_dayMonthDigit;
        panel->m_Date = numerology.m_forecastDate;
    }

    // The "Today" texts of a forecast date, counted as the forecast slot does.
    void fillToday(CInfoTodayWidget *panel, const QDate &d) const
    {
        const auto dtd = &CNumerology::downToDigit;
        const QDate birth = numerology.m_birthDate;
        const int b = dtd(dtd(birth.day()) + dtd(birth.month()));
        const int py = dtd(dtd(d.year()) + b);
        const int pm = dtd(dtd(d.year()) + b + dtd(d.month()));
        const int pd = dtd(b + dtd(d.year()) + dtd(d.month()) + dtd(d.day()));
        panel->m_Labels = QStringList {"Years", "Months", "Days"};
        panel->m_Values = QStringList {QString::number(d.year()) + QStringLiteral(" (")
                                           + QString::number(py) + ")",
                                       CInfoCalendarWidget::monthAbbreviation(d.month())
                                           + QStringLiteral(" (") + QString::number(pm) + ")",
                                       QString::number(pd)};
    }

    void fillMatrix(CInfoMatrWidget *panel) const
    {
        const QVector<int> numbers = matrixNumbers();
        for (int i = 0; i < numbers.size(); ++i)
            panel->m_Counts[i] = numbers.at(i);
    }
};

// Pointer events delivered straight to a panel, independent of the window
// system and of the real cursor.
inline void moveTo(QWidget *widget, const QPoint &pos)
{
    QMouseEvent event(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void pressAt(QWidget *widget, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(QEvent::MouseButtonPress, pos, widget->mapToGlobal(pos), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

inline void enter(QWidget *widget, const QPoint &pos)
{
    QEnterEvent event(pos, pos, widget->mapToGlobal(pos));
    QCoreApplication::sendEvent(widget, &event);
}

inline void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

// Reddish pixels: the master-number highlight (240, 96, 64) after
// antialiasing against the dark table.
inline int reddishPixels(const QImage &image, const QRect &rect)
{
    int count = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.red() - c.green() > 60 && c.red() - c.blue() > 80)
                ++count;
        }
    }
    return count;
}

// Bounding box of the pixels in rect that differ from the background colour.
inline QRect inkBox(const QImage &image, const QRect &rect, const QColor &background,
                    int tolerance = 12)
{
    QRect box;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (!near(image.pixelColor(x, y), background, tolerance))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace PanelTest
