#include "layouts/layoutlist.h"

#include "layouts/defaultlayout.h"

namespace {

struct TemplateRow
{
    int type;
    const char *title;
};

const TemplateRow numerologyFields[] = {
    {0, "Numerology Chart for"},
    {1, "Life Path Number"},
    {2, "Birthday Number"},
    {3, "Expression Number"},
    {4, "Minor Expression Number"},
    {5, "Heart Desire Number"},
    {6, "Minor Heart Desire Number"},
    {25, "Compound Number"},
    {7, "Personality Number"},
    {21, "Minor Personality Number"},
    {22, "Karmic Debts Numbers"},
    {8, "Maturity Number"},
    {9, "Rational Thought Number"},
    {10, "Karmic Lessons Number"},
    {11, "Balance Number"},
    {12, "Hidden Passion Number"},
    {13, "Subconscious Confidence Number"},
    {26, "Planes of Expression"},
    {28, "Planes of Expression Mental Number"},
    {27, "Planes of Expression Physical Number"},
    {29, "Planes of Expression Emotional Number"},
    {30, "Planes of Expression Intuitive Number"},
    {14, "Pinnacles Numbers"},
    {15, "Challenges Numbers"},
    {31, "Bridge Life Path - Expression"},
    {32, ""},
    {33, "Bridge Heart's Desire - Personality"},
    {34, ""},
    {16, "Personal Year Number:"},
    {17, "Personal Month Number:"},
    {18, "Personal Day Number:"},
    {19, "Transits for age"},
    {20, "Essence for age"},
    {35, "Custom Text"},
};

const TemplateRow psychoMatrixFields[] = {
    {0, "Numerology Psychomatrix Chart for"},
    {1, "Character (1)"},
    {2, "Energy (2)"},
    {3, "Interest (3)"},
    {4, "Health (4)"},
    {5, "Intuition (5)"},
    {6, "Labour (6)"},
    {7, "Luck (7)"},
    {8, "Duty (8)"},
    {9, "Memory (9)"},
    {10, "Purposeful (1-4-7)"},
    {11, "Family formation (2-5-8)"},
    {12, "Stability (3-6-9)"},
    {13, "Self appraisal (1-2-3)"},
    {14, "Finance (4-5-6)"},
    {15, "Talent (7-8-9)"},
    {16, "Spirituality (1-5-9)"},
    {17, "Sexual life (3-5-7)"},
    {18, "Custom Text"},
};

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

const TemplateRow celebrityFields[] = {
    {0, "Celebrities Report for"},
    {1, "Celebrities with same Life Path"},
    {2, "Celebrities with same Birth day"},
    {3, "Celebrities with same Expression number"},
    {4, "Custom Text"},
};

const TemplateRow petFields[] = {
    {0, "Pet Numerology Chart"},
    {1, "Pet number"},
    {2, "Day Forecast for"},
    {3, "Custom Text"},
};

template<int N> QList<FieldTemplate> toTemplates(const TemplateRow (&rows)[N])
{
    QList<FieldTemplate> list;
    for (const TemplateRow &row : rows)
        list.append({row.type, QString::fromLatin1(row.title)});
    return list;
}

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
    switch (kind) {
    case RKNumerology:
        return toTemplates(numerologyFields);
    case RKPsychoMatrix:
        return toTemplates(psychoMatrixFields);
    case RKLoveCompatibility:
        return toTemplates(loveFields);
    case RKCelebrities:
        return toTemplates(celebrityFields);
    case RKPet:
        return toTemplates(petFields);
    default:
        return {};
    }
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
