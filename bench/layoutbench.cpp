#include "layoutbench.h"

#include "engine/numerology.h"
#include "layouts/layoutfile.h"
#include "tests/layouts/heavylayouts.h"

#include <QBuffer>
#include <QDate>
#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

void benchLayoutFiles(const std::function<bool(const QString &)> &wanted)
{
    for (const HeavyLayout::Case &heavy : HeavyLayout::cases()) {
        const QString name = QStringLiteral("layout ") + QLatin1String(heavy.name);
        if (!wanted(name))
            continue;
        const QByteArray bytes = HeavyLayout::fileBytes(HeavyLayout::withTexts(heavy.texts));
        constexpr int runs = 3;
        std::vector<double> times;
        bool read = false;
        for (int run = 0; run < runs; ++run) {
            QByteArray copy = bytes;
            QBuffer buffer(&copy);
            buffer.open(QIODevice::ReadOnly);
            reportSetting setting;
            QElapsedTimer timer;
            timer.start();
            read = readReportSetting(&buffer, &setting);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        std::printf("%-52s median %9.2f ms   fastest %9.2f   slowest %9.2f   (%d runs, %.1f MB, "
                    "%s)\n",
                    qPrintable(name), times[runs / 2], times.front(), times.back(), runs,
                    bytes.size() / 1048576.0, read ? "read" : "refused");
        std::fflush(stdout);
    }
}

namespace {

// One section in its own style whose first entries (all by default) are
// text.
reportSetting sectionOfTexts(const QString &text, int entries = repItem::EntryCount)
{
    reportSetting setting;
    repItem item;
    item.type = 1;
    item.defaultStyle = false;
    for (int entry = 0; entry < entries; ++entry) {
        item.texts[entry] = text;
        item.useStdText[entry] = false;
    }
    setting.items[RKNumerology] << item;
    return setting;
}

// One span whose style repeats one allowed property to about kilobytes KB,
// around 4,999 line breaks.
reportSetting longSpanOverBreaks(int kilobytes)
{
    const QString property = QStringLiteral("color:#102030;");
    return sectionOfTexts(QStringLiteral("<span style=\"")
                              + property.repeated(kilobytes * 1024 / property.size())
                              + QStringLiteral("\">") + QStringLiteral("x<br>").repeated(4999)
                              + QStringLiteral("</span>"),
                          1);
}

reportSetting longTitle()
{
    reportSetting setting = sectionOfTexts(QString());
    setting.items[RKNumerology][0].title = QString(100000000, QLatin1Char('t'));
    return setting;
}

// The Numerology reading of a layout, as the program builds it for one person.
QString numerologyReading(const reportSetting &layout)
{
    CNumerology numerology;
    numerology.calculate(QStringLiteral("MARY ELIZABETH ANN WILLIAMSON"),
                         QStringLiteral("MARY ANN"), {}, {}, false, QDate(1985, 12, 29),
                         QDate(2026, 3, 15), nullptr, 0, 0, false);
    QList<reportSetting> layouts {layout};
    int karmic[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    const QList<int> lessons {2, 4};
    const QList<int> passion {1};
    int planes[4] = {1, 2, 3, 4};
    numerology.calculateDynamic(false, &layouts, 0, karmic, 1, 2, 3, 4, 5, 6, 7, &lessons, 8,
                                &passion, 9, planes, 5, 83, 1, 21);
    return numerology.reportHtml;
}

} // namespace

void benchLayoutSizes(const std::function<bool(const QString &)> &wanted)
{
    const struct
    {
        const char *name;
        std::function<reportSetting()> make;
    } rows[] = {
        {"a span of a 20 KB style over 4,999 line breaks",
         [] {
             return longSpanOverBreaks(20);
         }},
        {"a span of a 100 KB style over 4,999 line breaks",
         [] {
             return longSpanOverBreaks(100);
         }},
        {"20,000 bare sections",
         [] {
             return HeavyLayout::bareSections(20000);
         }},
        {"100,000 bare sections",
         [] {
             return HeavyLayout::bareSections(100000);
         }},
        {"a title of 100 M characters", longTitle},
        {"16 texts of 1 M characters without markup",
         [] {
             return sectionOfTexts(QString(1 << 20, QLatin1Char('p')), 16);
         }},
        {"a page for each number of each section", HeavyLayout::numerologistLayout},
    };
    for (const auto &row : rows) {
        const QString name = QStringLiteral("layout ") + QLatin1String(row.name);
        if (!wanted(name))
            continue;
        const QByteArray bytes = HeavyLayout::fileBytes(row.make());
        constexpr int runs = 3;
        std::vector<double> reads;
        std::vector<double> builds;
        bool read = false;
        int htmlSize = 0;
        for (int run = 0; run < runs; ++run) {
            QByteArray copy = bytes;
            QBuffer buffer(&copy);
            buffer.open(QIODevice::ReadOnly);
            reportSetting setting;
            QElapsedTimer timer;
            timer.start();
            read = readReportSetting(&buffer, &setting);
            reads.push_back(timer.nsecsElapsed() / 1e6);
            if (!read)
                continue;
            timer.restart();
            htmlSize = numerologyReading(setting).size();
            builds.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(reads.begin(), reads.end());
        std::sort(builds.begin(), builds.end());
        std::printf("%-52s median %9.2f ms   fastest %9.2f   slowest %9.2f   (%d runs, %.1f MB, "
                    "%s",
                    qPrintable(name), reads[runs / 2], reads.front(), reads.back(), runs,
                    bytes.size() / 1048576.0, read ? "read" : "refused");
        if (!builds.empty())
            std::printf("; reading built in %.2f ms, %.0f KB of HTML", builds[builds.size() / 2],
                        htmlSize * 2 / 1024.0);
        std::printf(")\n");
        std::fflush(stdout);
    }
}
