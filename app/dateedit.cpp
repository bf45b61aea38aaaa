#include "app/dateedit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QToolTip>

TypedDate typedDate(const QString &text, const QString &format, const QDate &minimum,
                    const QDate &maximum)
{
    TypedDate result;
    QString digits;
    for (QChar c : text) {
        if (c.isDigit())
            digits += c;
    }
    QString letters;
    for (QChar c : format) {
        if (c.isLetter())
            letters += c;
    }
    if (digits.size() != letters.size())
        return result;
    result.complete = true;
    QString day, month, year;
    for (int i = 0; i < letters.size(); ++i) {
        const QChar l = letters.at(i);
        (l == QLatin1Char('d') ? day : l == QLatin1Char('M') ? month : year) += digits.at(i);
    }
    const QDate date(year.toInt(), month.toInt(), day.toInt());
    const QLocale c = QLocale::c();
    const QString typed = text.contains(QLatin1Char('/'))
        ? text
        : QString(format)
              .replace(QLatin1String("dd"), day)
              .replace(QLatin1String("MM"), month)
              .replace(QLatin1String("yyyy"), year);
    if (!date.isValid()) {
        result.problem = QStringLiteral("There is no such date as %1.").arg(typed);
    } else if (date < minimum || date > maximum) {
        result.problem = QStringLiteral("%1 is outside the accepted range, %2 to %3.")
                             .arg(typed, c.toString(minimum, format), c.toString(maximum, format));
    } else {
        result.date = date;
    }
    return result;
}

CDateEdit::CDateEdit(QWidget *parent)
    : QDateEdit(parent)
{
    // The date changes when the entry is finished, not at each digit: a date
    // half typed is not one, and a refused entry falls back to the date the
    // box had before it.
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    // The box re-emits the date it kept when a refused entry ends.
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate &date) {
        if (!m_Refusal.isEmpty() && date != m_Before)
            accept();
    });
}

void CDateEdit::selectFirstSection()
{
    setCurrentSectionIndex(0);
    setSelectedSection(sectionAt(0));
}

void CDateEdit::focusInEvent(QFocusEvent *event)
{
    QDateEdit::focusInEvent(event);
    m_Before = date();
    m_Digits.clear();
    m_Whole = false;
    if (event->reason() == Qt::MouseFocusReason) {
        // The click itself places the cursor after this; select once it has.
        QPointer<CDateEdit> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self && self->hasFocus())
                self->selectFirstSection();
        });
    } else if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
               || event->reason() == Qt::ActiveWindowFocusReason) {
        // Back from another window too, such as the box that told why an
        // entry was refused: ready for the next date, typed whole.
        selectFirstSection();
    }
}

void CDateEdit::focusOutEvent(QFocusEvent *event)
{
    finishEntry();
    QDateEdit::focusOutEvent(event);
}

void CDateEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        finishEntry();
        QDateEdit::keyPressEvent(event);
        m_Before = date();
        // Ready for the next date, typed whole.
        selectFirstSection();
        return;
    }
    // A box that shows its date has no entry under way: whatever this key
    // begins falls back to that date, or to none, if it is refused.
    if (!entryPending())
        m_Before = date();
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isDigit()) {
        if (blank()) {
            // The sections need a date to fill, and the stand-in one is no
            // date of the user's.
            setDate(QDate::currentDate());
            selectFirstSection();
        }
        if (m_Digits.isEmpty()) {
            // A whole entry starts in the first section, selected whole.
            m_Whole = currentSectionIndex() == 0 && lineEdit()->hasSelectedText()
                && lineEdit()->selectedText() == sectionText(currentSection());
        }
        m_Digits += text;
    } else if (!text.isEmpty() || (key != Qt::Key_Shift && key != Qt::Key_Control)) {
        m_Digits.clear();
        m_Whole = false;
    }
    QDateEdit::keyPressEvent(event);
}

void CDateEdit::finishEntry()
{
    // The box's sections reject or shorten digits that do not fit the date
    // it shows at that moment (31 after a February), so a whole entry is
    // judged by the digits typed; anything else by the text as it stands.
    const bool whole = m_Whole;
    const QString entry = whole ? m_Digits : lineEdit()->displayText();
    m_Digits.clear();
    m_Whole = false;
    // A box that may be left without a date shows its special text then.
    if (!whole && blank())
        return;
    const TypedDate typed = typedDate(entry, displayFormat(), minimumDate(), maximumDate());
    if (!typed.complete) {
        QString text = lineEdit()->displayText();
        int position = lineEdit()->cursorPosition();
        if (validate(text, position) != QValidator::Acceptable)
            refuse(QStringLiteral("%1 is not a whole date.").arg(text));
        return;
    }
    if (!typed.problem.isEmpty()) {
        refuse(typed.problem);
        return;
    }
    setDate(typed.date);
    if (!m_Refusal.isEmpty())
        accept();
}

bool CDateEdit::entryPending() const
{
    if (m_Whole && !m_Digits.isEmpty())
        return true;
    return lineEdit()->displayText()
        != (blank() ? specialValueText() : textFromDateTime(dateTime()));
}

bool CDateEdit::blank() const
{
    return !specialValueText().isEmpty() && date() == minimumDate();
}

bool CDateEdit::settle()
{
    if (entryPending()) {
        finishEntry();
        // What is typed next starts from the date the entry left.
        m_Before = date();
    }
    if (m_Unannounced.isEmpty())
        return true;
    announceRefusal();
    return false;
}

void CDateEdit::discardEntry()
{
    const bool pending = entryPending();
    m_Digits.clear();
    m_Whole = false;
    m_Unannounced.clear();
    // Setting the date, even the one the box holds, puts its text back.
    if (pending)
        setDate(m_Before.isValid() ? m_Before : date());
    if (!m_Refusal.isEmpty())
        accept();
    m_Before = date();
}

void CDateEdit::announceRefusal()
{
    if (m_Unannounced.isEmpty())
        return;
    const QString reason = m_Unannounced;
    m_Unannounced.clear();
    emit entryRefused(reason);
}

void CDateEdit::refuse(const QString &reason)
{
    if (m_Refusal.isEmpty())
        m_PlainToolTip = toolTip();
    setDate(m_Before);
    m_Refusal = reason
        + (blank() ? QStringLiteral(" The box stays empty.")
                   : QStringLiteral(" The box keeps ")
                   + QLocale::c().toString(m_Before, displayFormat()) + QLatin1Char('.'));
    setToolTip(m_Refusal);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), m_Refusal, this);
    // Not from within the focus change or key press that ended the entry:
    // a modal box there would take the events still under way.
    m_Unannounced = m_Refusal;
    QTimer::singleShot(0, this, [this] { announceRefusal(); });
}

void CDateEdit::accept()
{
    m_Refusal.clear();
    setToolTip(m_PlainToolTip);
}
