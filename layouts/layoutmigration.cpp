#include "layouts/layoutmigration.h"

#include "layouts/defaultlayout.h"

namespace {

struct Section
{
    int type;
    const char *title;
};

const Section planesSections[] = {
    {26, "Planes of Expression"},
    {28, "Planes of Expression Mental Number"},
    {27, "Planes of Expression Physical Number"},
    {29, "Planes of Expression Emotional Number"},
    {30, "Planes of Expression Intuitive Number"},
};

const Section bridgeSections[] = {
    {31, "Bridge Life Path - Expression"},
    {32, ""},
    {33, "Bridge Heart's Desire - Personality"},
    {34, ""},
};

// A migration flag counts as set when it holds any value at all.
bool stepDone(const reportSetting &setting, const char *key)
{
    return !setting.flags.value(QLatin1String(key)).isEmpty();
}

int indexOfType(const QList<repItem> &items, quint32 type)
{
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).type == type)
            return i;
    }
    return -1;
}

bool holdsTypeInRange(const QList<repItem> &items, quint32 first, quint32 last)
{
    for (const repItem &item : items) {
        if (item.type >= first && item.type <= last)
            return true;
    }
    return false;
}

// Inserts new default items right after position `after`, in the given order.
template<size_t N>
void insertAfter(QList<repItem> *items, int kind, int after, const Section (&sections)[N])
{
    QList<repItem> added;
    for (const Section &section : sections)
        addItemSet(&added, kind, section.type, QString::fromLatin1(section.title));
    for (int i = 0; i < added.size(); ++i)
        items->insert(after + 1 + i, added.at(i));
}

void addPlanesAndLoveSections(reportSetting *setting)
{
    QList<repItem> &numerology = setting->items[RKNumerology];
    if (holdsTypeInRange(numerology, 26, 30))
        return;

    const int subconscious = indexOfType(numerology, 13);
    if (subconscious >= 0)
        insertAfter(&numerology, RKNumerology, subconscious, planesSections);

    QList<repItem> &love = setting->items[RKLoveCompatibility];
    const int family = indexOfType(love, 5);
    if (family >= 0) {
        const Section characterAndEnergy[] = {{8, "Character"}, {9, "Energy"}};
        insertAfter(&love, RKLoveCompatibility, family, characterAndEnergy);
        addItemSet(&love, RKLoveCompatibility, 10, QStringLiteral("Final"));
    }
}

void addBridges(reportSetting *setting)
{
    QList<repItem> &numerology = setting->items[RKNumerology];
    if (numerology.isEmpty() || holdsTypeInRange(numerology, 31, 34))
        return;
    const int challenges = indexOfType(numerology, 15);
    if (challenges >= 0)
        insertAfter(&numerology, RKNumerology, challenges, bridgeSections);
}

} // namespace

void migrateReportSetting(reportSetting *setting)
{
    if (!stepDone(*setting, "UPDATE1")) {
        setting->flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
        addPlanesAndLoveSections(setting);
    }
    if (!stepDone(*setting, "UPDATE2")) {
        setting->flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
        addBridges(setting);
    }
}
