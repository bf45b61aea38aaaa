#pragma once

#include "layouts/reportsetting.h"

#include <QList>
#include <QStringList>

// The field-type names, one list per report kind; a field-type id is the
// position of its name in its kind's list, and the last id of every kind is
// "Custom Text". These are the captions of the layout manager's tiles.
const QList<QStringList> &itemNames();

// A section type with the title a new section of it gets.
struct FieldTemplate
{
    int type;
    QString title;
};

// The sections of the built-in default layout of one kind, in order; empty
// for a kind out of range.
QList<FieldTemplate> defaultSections(int kind);

// itemNames()[kind][type], or an empty string when either is out of range.
QString getItemName(int kind, int type);

// Appends a new item with the repItem defaults and the given kind, type and
// title. The ids are not checked.
void addItemSet(QList<repItem> *list, int kind, int type, const QString &title);

// Appends the built-in default layout to the five item lists of setting and
// marks it as already holding the sections of both migration steps
// ("UPDATE1", "UPDATE2"). The name and whatever the lists held before stay as
// they are.
void initialDefSetting(reportSetting *setting);
