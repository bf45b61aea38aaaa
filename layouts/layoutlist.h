#pragma once

#include "layouts/defaultlayout.h"
#include "layouts/reportsetting.h"

#include <QList>
#include <QString>

// The rules behind the Report Manager's commands, kept apart from its widgets:
// naming, creating, deleting and renaming settings, the field types a report
// kind offers, and which section controls apply to a section.

// Why a name typed for a new or renamed setting was refused. The last three
// come from the layouts folder (checkLayoutFileName).
enum class SettingNameError { None, Empty, Forbidden, InUse, Hidden, NoFileName, FileInFolder };

// Checks the name as typed (no trimming): not empty, none of the characters
// / ? > < : * | \ " and no "default" in any case, and no setting of the list
// with that name in any case (the setting being renamed counts too).
SettingNameError checkSettingName(const QString &name, const QList<reportSetting> &settings);

// The text of the "Error" box for a refused name; empty for None.
QString settingNameMessage(SettingNameError error, const QString &name);

// What a new setting starts from.
enum class NewSettingSource { Default = 0, Copy = 1 };

// The setting that New (Default) or Copy (of currentRow) appends: Copy with an
// empty list starts from the built-in layout as New does, Copy without a
// current row (or of a row out of range) starts empty. Any other source value
// gives an empty setting. Its name is the given one.
reportSetting makeNewSetting(const QList<reportSetting> &settings, int currentRow, int source,
                             const QString &name);

// Removes setting row and returns the row that becomes current afterwards:
// the one above it, else the first (-1 when the list is empty now). A row out
// of range removes nothing and returns -2.
int removeSetting(QList<reportSetting> *settings, int row);

// The field types a report kind offers, in list order, with the titles new
// sections get; empty for a kind out of range.
QList<FieldTemplate> availableFields(int kind);

// Pads the three entry lists of a section at their ends to repItem::EntryCount
// entries (null strings, null images, true).
void padEntries(QStringList *texts, QList<QImage> *images, QList<bool> *useStdText);

// Whether "Edit" can apply to a section type: the headers of Numerology,
// Psycho Matrix, Celebrities and Pet and the "Psycho-matrix" section of Love
// Compatibility have no text of their own.
bool sectionTextEditable(int kind, int type);

// The enabled and ticked states of the section controls of the manager for
// the selected section (nullptr: none selected).
struct SectionControls
{
    bool defaultEnabled = false;
    bool defaultChecked = true;
    bool styleEnabled = false; // Name, both Font and Color buttons, Hide Image
    bool editEnabled = false;
    bool hideImageChecked = false;
};
SectionControls sectionControls(const repItem *section);

// Stores "TRUE" or "FALSE" under key.
void setOption(QMap<QString, QString> *options, const QString &key, bool set);
