#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The five text reports a layout describes. A kind indexes the item lists of a
// reportSetting, the rows of itemNames() and the layout manager's report box.
enum ReportKind {
    RKNumerology = 0,
    RKPsychoMatrix = 1,
    RKLoveCompatibility = 2,
    RKCelebrities = 3,
    RKPet = 4
};

constexpr int ReportKindCount = 5;

// "Numerology", "Psycho Matrix", ...; empty for a kind out of range.
QString reportKindCaption(int kind);

// The setting flag that hides every picture of one report
// ("RTNumerology-hide-images", ...); empty for a kind out of range.
QString hideImagesKey(int kind);

// Option maps hold "TRUE" and "FALSE"; only exactly "TRUE" counts as set and a
// missing key reads as "FALSE".
bool isOptionSet(const QMap<QString, QString> &options, const QString &key);

// One section of one report of a layout. The member order is also the order of
// the fields in a layout file.
struct repItem
{
    // Every item the program makes holds this many entries in texts, images
    // and useStdText; an item read from a file holds what the file holds.
    static constexpr int EntryCount = 256;

    repItem();

    quint32 type = 0; // field-type id within the kind, see itemNames()
    QString name; // field-type name as last shown by the manager; informational
    qint32 kind = 0; // report kind 0..4 of the list holding the item
    QFont headerFont;
    QFont contentFont;
    QColor headerColor;
    QColor contentColor;
    // true: the reading writes the section in its standard look and heading;
    // false: title, fonts, colours and the first picture of the item are used.
    bool defaultStyle = true;
    QStringList texts; // custom text per entry (rich-text HTML), null = none
    QList<QImage> images; // entry 0 is the section's picture
    QList<bool> useStdText; // per entry: true = standard text, false = texts[i]
    QString title; // heading used when defaultStyle is false
    QMap<QString, QString> options; // "hide-image"
    // Not a field of its own in a file: the pictures of an item read with
    // their decoding put off (see LayoutPictures), as their PNG bytes per
    // entry, the image of that entry staying null until they are decoded.
    // Empty once decoded and for an item the program makes.
    QList<QByteArray> storedImages;
};

// One named report layout: per report kind the ordered sections, and the
// setting-wide options ("UPDATE1", "UPDATE2", the hide-images flags).
struct reportSetting
{
    QString name; // also the base name of its file
    QList<repItem> items[ReportKindCount];
    QMap<QString, QString> flags;
};

// The layout that drives a reading: the list entry at position - 1 for a
// 1-based position from 1 to the list's size; nullptr (the fixed built-in
// report) for 0, a negative position, one past the end, an empty or no list.
const reportSetting *selectLayout(const QList<reportSetting> *list, int position);

// Whether a section written in its own style (defaultStyle false) shows its
// picture: it needs one, and neither the report-wide hide flag (hideAll, read
// from the setting with hideImagesKey()) nor the item's "hide-image" option.
bool showsSectionImage(const repItem &item, bool hideAll);
