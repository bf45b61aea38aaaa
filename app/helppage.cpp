#include "app/helppage.h"

#include "engine/reporttools.h"
#include "engine/texttables.h"

namespace HelpPage {

namespace {

struct Row
{
    int topic;
    const char *picture;
};

Entry entryOf(const Row *rows, int count, int index)
{
    if (index < 0 || index >= count || rows[index].topic < 0)
        return Entry();
    return Entry {rows[index].topic, QLatin1String(rows[index].picture)};
}

const Row mainRows[] = {{0, "res01.jpg"}, {1, "res02.jpg"}, {2, "res03.jpg"},
                        {4, "res04.jpg"}, {6, "res05.jpg"}, {10, "res06.jpg"}};

const Row additionalRows[] = {{11, "res07.jpg"}, {35, "res08.jpg"}, {7, "res09.jpg"},
                              {5, "res10.jpg"},  {12, "res11.jpg"}, {13, "res12.jpg"}};

// "Age span" and "Challenges" share one page; the life-path rows have none.
const Row lifeCycleRows[]
    = {{15, "res14.jpg"}, {15, "res14.jpg"}, {14, "res13.jpg"}, {8, "res15.jpg"}};

// Keyed by grid index - 1: the panel's grid starts its squares at column 1,
// so index 0 is the top-left square and 4, 9 are the empty first column.
const Row matrixRows[] = {
    {18, "res16.jpg"}, {21, "res19.jpg"}, {24, "res22.jpg"}, {27, "res25.jpg"}, {-1, nullptr},
    {19, "res17.jpg"}, {22, "res20.jpg"}, {25, "res23.jpg"}, {28, "res26.jpg"}, {-1, nullptr},
    {20, "res18.jpg"}, {23, "res21.jpg"}, {26, "res24.jpg"}, {29, "res27.jpg"}, {34, "res32.jpg"},
    {30, "res28.jpg"}, {31, "res29.jpg"}, {32, "res30.jpg"}, {33, "res31.jpg"}};

template<int N> constexpr int countOf(const Row (&)[N])
{
    return N;
}

} // namespace

Entry mainFeatures(int row)
{
    return entryOf(mainRows, countOf(mainRows), row);
}

Entry additionalFeatures(int row)
{
    return entryOf(additionalRows, countOf(additionalRows), row);
}

Entry lifeCycles(int row)
{
    return entryOf(lifeCycleRows, countOf(lifeCycleRows), row);
}

Entry psychoMatrix(int gridIndex)
{
    return entryOf(matrixRows, countOf(matrixRows), gridIndex - 1);
}

int partIndex(int topic, int part)
{
    if (part == 1 && topic >= 19 && topic <= 34)
        return 4 * 18 + 1;
    return 4 * topic + part;
}

QString build(int topic, const QString &picturePath)
{
    const auto text = [topic](int part) {
        const int index = partIndex(topic, part);
        return index >= 0 && index < kHelperEntries ? numerHelpers[index] : QString();
    };
    CReportTools builder;
    builder.startDoc(QString());
    builder.startChap(true);
    if (!picturePath.isEmpty())
        builder.addImage(picturePath);
    builder.addPar(text(0), QImage());
    builder.addPar(QString(), QImage());
    builder.endChap();
    for (int part = 1; part <= 2; ++part) {
        builder.startChap(true);
        builder.addPar(text(part), QImage());
        builder.addPar(QString(), QImage());
        builder.endChap();
    }
    builder.endDoc();
    return builder.reportHtml;
}

} // namespace HelpPage
