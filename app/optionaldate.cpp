#include "app/optionaldate.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QKeyEvent>

namespace {

class COptionalDateFilter : public QObject
{
public:
    explicit COptionalDateFilter(QDateEdit *edit)
        : QObject(edit)
        , m_edit(edit)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (optionalDate(m_edit).isValid())
            return false;
        if (watched != m_edit) {
            // The pop-up calendar would open on the stand-in date's month.
            if (event->type() == QEvent::Show) {
                const QDate today = QDate::currentDate();
                static_cast<QCalendarWidget *>(watched)->setCurrentPage(today.year(),
                                                                        today.month());
            }
            return false;
        }
        if (event->type() == QEvent::Wheel) {
            startFromToday();
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            startFromToday();
            return true;
        default:
            // Typed digits are the box's own: it must know that the entry
            // began without a date, to stay without one if it is refused.
            return false;
        }
    }

private:
    void startFromToday() { m_edit->setDate(QDate::currentDate()); }

    QDateEdit *m_edit;
};

} // namespace

void makeDateOptional(QDateEdit *edit)
{
    // Any text but an empty one turns the special text on.
    edit->setSpecialValueText(QStringLiteral(" "));
    auto *filter = new COptionalDateFilter(edit);
    edit->installEventFilter(filter);
    if (QCalendarWidget *calendar = edit->calendarWidget())
        calendar->installEventFilter(filter);
    clearOptionalDate(edit);
}

QDate optionalDate(const QDateEdit *edit)
{
    return edit->date() == edit->minimumDate() ? QDate() : edit->date();
}

void clearOptionalDate(QDateEdit *edit)
{
    edit->setDate(edit->minimumDate());
}
