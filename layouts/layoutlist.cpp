#include "layouts/layoutlist.h"

#include "layouts/defaultlayout.h"

namespace {

struct TemplateRow
{
    int type;
    const char *title;
};

// The compatibility tiles carry other titles than the default layout's
// sections; every other kind offers its default sections and a custom text.
const TemplateRow loveFields[] = {
    {0, "Numerology Compatibility Report"},
    {1, "Life Path Compatibility"},
    {2, "Birthday Compatibility"},
    {7, ""},
    {3, "Name Compatibility"},
    {4, "Psycho-matrix"},
    {5, "Family"},
    {8, "PM Character"},
    {9, "PM Energy"},
    {6, "Carnal Interests"},
    {10, ""},
    {11, "Custom Text"},
};

} // namespace

SettingNameError checkSettingName(const QString &name, const QList<reportSetting> &settings)
{
    if (name.isEmpty())
        return SettingNameError::Empty;
    static const QString forbidden = QStringLiteral("/?><:*|\\\"");
    for (const QChar c : forbidden) {
        if (name.contains(c))
            return SettingNameError::Forbidden;
    }
    if (name.contains(QLatin1String("default"), Qt::CaseInsensitive))
        return SettingNameError::Forbidden;
    for (const reportSetting &setting : settings) {
        if (QString::compare(setting.name, name, Qt::CaseInsensitive) == 0)
            return SettingNameError::InUse;
    }
    return SettingNameError::None;
}

QString settingNameMessage(SettingNameError error, const QString &name)
{
    switch (error) {
    case SettingNameError::None:
        break;
    case SettingNameError::Empty:
        return QStringLiteral("Wrong name!");
    case SettingNameError::Forbidden:
        return QStringLiteral(
            "The characters \"/, ?, |, >, <, \", :, \\, *\" and \"default\" are forbidden!");
    case SettingNameError::InUse:
        return QStringLiteral("Name \"%1\" is already in use.").arg(name);
    case SettingNameError::Hidden:
        return QStringLiteral("Name \"%1\" cannot begin with a dot.").arg(name);
    case SettingNameError::NoFileName:
        return QStringLiteral("Name \"%1\" cannot be used as a file name.").arg(name);
    case SettingNameError::FileInFolder:
        return QStringLiteral("Name \"%1\" is already in use by a layout file\nthat could not be "
                              "opened.")
            .arg(name);
    }
    return QString();
}

reportSetting makeNewSetting(const QList<reportSetting> &settings, int currentRow, int source,
                             const QString &name)
{
    reportSetting setting;
    if (source == int(NewSettingSource::Default)
        || (source == int(NewSettingSource::Copy) && settings.isEmpty())) {
        initialDefSetting(&setting);
    } else if (source == int(NewSettingSource::Copy) && currentRow >= 0
               && currentRow < settings.size()) {
        const reportSetting &original = settings.at(currentRow);
        for (int kind = 0; kind < ReportKindCount; ++kind)
            setting.items[kind] = original.items[kind];
        setting.flags = original.flags;
    }
    setting.name = name;
    return setting;
}

int removeSetting(QList<reportSetting> *settings, int row)
{
    if (row < 0 || row >= settings->size())
        return -2;
    settings->removeAt(row);
    if (row >= 1)
        return row - 1;
    return settings->isEmpty() ? -1 : 0;
}

QList<FieldTemplate> availableFields(int kind)
{
    if (kind == RKLoveCompatibility) {
        QList<FieldTemplate> list;
        for (const TemplateRow &row : loveFields)
            list.append({row.type, QString::fromLatin1(row.title)});
        return list;
    }
    QList<FieldTemplate> list = defaultSections(kind);
    if (!list.isEmpty())
        list.append({int(itemNames().at(kind).size()) - 1, QStringLiteral("Custom Text")});
    return list;
}

void padEntries(QStringList *texts, QList<QImage> *images, QList<bool> *useStdText)
{
    while (texts->size() < repItem::EntryCount)
        texts->append(QString());
    while (images->size() < repItem::EntryCount)
        images->append(QImage());
    while (useStdText->size() < repItem::EntryCount)
        useStdText->append(true);
}

bool sectionTextEditable(int kind, int type)
{
    if (type == 0 && kind != RKLoveCompatibility)
        return false;
    return !(kind == RKLoveCompatibility && type == 4);
}

SectionControls sectionControls(const repItem *section)
{
    SectionControls controls;
    if (!section)
        return controls;
    const bool own = !section->defaultStyle;
    controls.defaultEnabled = true;
    controls.defaultChecked = section->defaultStyle;
    controls.styleEnabled = own;
    controls.editEnabled = own && sectionTextEditable(section->kind, int(section->type));
    controls.hideImageChecked = isOptionSet(section->options, QStringLiteral("hide-image"));
    return controls;
}

void setOption(QMap<QString, QString> *options, const QString &key, bool set)
{
    options->insert(key, set ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}
