#pragma once

#include <QDate>

class QDateEdit;

// A date box whose date may be left out. Without a date it shows nothing and
// hands out an invalid date; it holds its minimum date then, which its special
// text stands for. The first step or wheel turn starts from today, and its
// calendar opens on the current month, so that the user never edits the
// stand-in date itself. Typed digits start from today in a CDateEdit, which
// sees to that itself.
void makeDateOptional(QDateEdit *edit);
// The date the user gave, or an invalid date.
QDate optionalDate(const QDateEdit *edit);
// Back to no date.
void clearOptionalDate(QDateEdit *edit);
