#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

// What a whole date typed as digits into a box of the given display format
// ("MM/dd/yyyy" or "dd/MM/yyyy") stands for. The text may hold separators;
// only a text with one digit for every letter of the format is a whole date.
struct TypedDate
{
    bool complete = false; // every digit of the format was typed
    QDate date; // valid only when the digits name a date within the range
    QString problem; // why a complete entry is refused, empty otherwise
};

TypedDate typedDate(const QString &text, const QString &format, const QDate &minimum,
                    const QDate &maximum);

// A birth, pet or forecast date box. Clicking or tabbing into it selects its
// first section, so that typing the digits of a date ("03171990") gives that
// date through the box's own sections. A date that does not exist or lies
// outside the range is never turned into another one: the box keeps the
// date it had, or stays without one, its tool tip says why, and
// entryRefused tells the owner. A box given a special value text may be
// left without a date (see makeDateOptional): it holds its minimum date
// then, and digits typed into it start from today.
class CDateEdit : public QDateEdit
{
    Q_OBJECT

public:
    explicit CDateEdit(QWidget *parent = nullptr);

    // The reason the last entry was refused; empty after an accepted one.
    QString refusal() const { return m_Refusal; }

    // Ends an entry still being typed, as leaving the box would: the box
    // keeps its date until the entry ends, and a click on a button that
    // takes no focus does not end it. Returns false when this entry, or one
    // refused just before whose entryRefused is still to come, was refused;
    // entryRefused has then been emitted.
    bool settle();
    // Throws away an entry still being typed, for a command that puts its
    // own dates into the boxes: the box shows the date it had before the
    // entry began, and neither that entry nor a refusal of it still to be
    // told comes back later.
    void discardEntry();

signals:
    // Once per refused entry: right after the event that ended it, or from
    // settle(), whichever comes first.
    void entryRefused(const QString &reason);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void selectFirstSection();
    // Settles a typed entry before the box interprets its text.
    void finishEntry();
    void refuse(const QString &reason);
    void accept();
    // The box shows other than its date: an entry has begun and not ended.
    bool entryPending() const;
    // The box holds no date and shows its special text.
    bool blank() const;
    void announceRefusal();

    QDate m_Before; // the date when the entry began; the minimum date for none
    QString m_Digits; // digits typed since the first section was selected whole
    bool m_Whole = false; // m_Digits began with the first section selected
    QString m_Refusal;
    QString m_PlainToolTip;
    QString m_Unannounced; // a refusal whose entryRefused is still to come
};
