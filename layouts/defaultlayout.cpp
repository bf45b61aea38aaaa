#include "layouts/defaultlayout.h"

namespace {

QList<QStringList> buildItemNames()
{
    QList<QStringList> names;
    names << QStringList {"Header",
                          "Life Path",
                          "Brithday",
                          "Expression",
                          "Minor Expression",
                          "Heart Desire",
                          "Minor Heart Desire",
                          "Personality",
                          "Maturity",
                          "Rational Thought",
                          "Karmic Lessons",
                          "Balance",
                          "Hidden Passion",
                          "Subconscious Confid.",
                          "Pinnacles",
                          "Challenges",
                          "Personal Year",
                          "Personal Month",
                          "Personal Day",
                          "Transits",
                          "Essence",
                          "Minor Personality",
                          "Karmic Debts",
                          "Karmic Debt",
                          "Compatible",
                          "Compound",
                          "Planes of Expression",
                          "PE Physical",
                          "PE Mental",
                          "PE Emotional",
                          "PE Intuitive",
                          "Bridge LP-E",
                          "Bridge LP+E",
                          "Bridge HD-P",
                          "Bridge HD+P",
                          "Custom Text"};
    names << QStringList {"Header",       "Character",      "Energy",     "Interest",
                          "Health",       "Intuition",      "Labour",     "Luck",
                          "Duty",         "Memory",         "Purposeful", "Family Formation",
                          "Stability",    "Self Appraisal", "Finance",    "Talent",
                          "Spirituality", "Sexual Life",    "Custom Text"};
    names << QStringList {
        "Header", "Life Path",        "Birthday",          "Name",      "Psycho-matrix",
        "Family", "Carnal Interests", "Detailed Birthday", "Character", "Energy",
        "Final",  "Custom Text"};
    names << QStringList {"Header", "Life Path", "Birthday", "Expression", "Custom Text"};
    names << QStringList {"Header", "Pet", "Day Forecast", "Custom Text"};
    return names;
}

struct DefaultSection
{
    int type;
    const char *title;
};

const DefaultSection numerologySections[] = {
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
    // Mental comes before Physical here, unlike the id order.
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
};

const DefaultSection psychoMatrixSections[] = {
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
};

const DefaultSection compatibilitySections[] = {
    {0, "Numerology Compatibility Report"},
    {1, "Life Path Compatibility"},
    {2, "Birthday Compatibility"},
    {7, ""},
    {3, "Name Compatibility"},
    {4, "Psycho-matrix"},
    {5, "Family"},
    {8, "Character"},
    {9, "Energy"},
    {6, "Carnal Interests"},
    {10, "Final"},
};

const DefaultSection celebritySections[] = {
    {0, "Celebrities Report for"},
    {1, "Celebrities with same Life Path"},
    {2, "Celebrities with same Birth day"},
    {3, "Celebrities with same Expression number"},
};

const DefaultSection petSections[] = {
    {0, "Pet Numerology Chart"},
    {1, "Pet number"},
    {2, "Day Forecast for"},
};

template<size_t N> QList<FieldTemplate> toTemplates(const DefaultSection (&sections)[N])
{
    QList<FieldTemplate> list;
    for (const DefaultSection &section : sections)
        list.append({section.type, QString::fromLatin1(section.title)});
    return list;
}

} // namespace

QList<FieldTemplate> defaultSections(int kind)
{
    switch (kind) {
    case RKNumerology:
        return toTemplates(numerologySections);
    case RKPsychoMatrix:
        return toTemplates(psychoMatrixSections);
    case RKLoveCompatibility:
        return toTemplates(compatibilitySections);
    case RKCelebrities:
        return toTemplates(celebritySections);
    case RKPet:
        return toTemplates(petSections);
    default:
        return {};
    }
}

const QList<QStringList> &itemNames()
{
    static const QList<QStringList> names = buildItemNames();
    return names;
}

QString getItemName(int kind, int type)
{
    const QList<QStringList> &names = itemNames();
    if (kind < 0 || kind >= names.size())
        return QString();
    return names.at(kind).value(type);
}

void addItemSet(QList<repItem> *list, int kind, int type, const QString &title)
{
    repItem item;
    item.kind = kind;
    item.type = quint32(type);
    item.title = title;
    list->append(item);
}

void initialDefSetting(reportSetting *setting)
{
    for (int kind = RKNumerology; kind <= RKPet; ++kind) {
        for (const FieldTemplate &section : defaultSections(kind))
            addItemSet(&setting->items[kind], kind, section.type, section.title);
    }
    // The defaults hold the sections of both migration steps already. Without
    // the second mark, the first load would put back the bridges that the
    // user removed from a new layout before saving it.
    setting->flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting->flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
}
