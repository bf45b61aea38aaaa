#include "layoutbench.h"

#include "base/apppaths.h"
#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "layouts/layoutfile.h"
#include "tests/app/hostilelayouts.h"
#include "tests/layouts/heavylayouts.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

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

void benchLayoutWork(const std::function<bool(const QString &)> &wanted)
{
    // The standard texts, which a section in its own style shows its own
    // texts beside.
    resetTextTables();
    if (!loadReadingsDatabase(readingsDatabasePath()))
        return;
    CNumerology person;
    person.preloadRes(getImagesPath());
    person.calculate(QStringLiteral("MARY ELIZABETH ANN WILLIAMSON"), QStringLiteral("MARY ANN"),
                     {}, {}, false, QDate(1985, 12, 29), QDate(2026, 3, 15), nullptr, 0, 0, false);
    QTemporaryDir folder;
    // The web engine's and the editor's start are no part of any row.
    bool warm = false;
    for (const HostileLayout::Case &hostile : HostileLayout::cases()) {
        const QString name = QStringLiteral("layout ") + QLatin1String(hostile.name);
        if (!wanted(name))
            continue;
        if (!warm) {
            reportSetting plain = HostileLayout::layoutOf(HostileLayout::marked(QString()));
            HostileLayout::exported(HostileLayout::readingOf(person, plain), folder.path());
            HostileLayout::editorText(&plain);
            warm = true;
        }
        const reportSetting layout = HostileLayout::layoutOf(hostile.text);
        // One run each: the slow ones take seconds to minutes.
        QElapsedTimer timer;
        timer.start();
        reportSetting read;
        QString problem;
        const bool accepted = HostileLayout::writtenAndRead(layout, &read, &problem);
        const double readMs = timer.nsecsElapsed() / 1e6;
        if (!accepted) {
            std::printf("%-52s read %9.2f ms   refused\n", qPrintable(name), readMs);
            std::fflush(stdout);
            continue;
        }
        timer.restart();
        const QString reading = HostileLayout::readingOf(person, read);
        const double buildMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        const bool exported = HostileLayout::exported(reading, folder.path());
        const double exportMs = timer.nsecsElapsed() / 1e6;
        timer.restart();
        HostileLayout::editorText(&read);
        const double editorMs = timer.nsecsElapsed() / 1e6;
        std::printf("%-52s read %9.2f ms   build %9.2f   PDF %9.2f%s   editor %9.2f   (reading "
                    "%.2f MB)\n",
                    qPrintable(name), readMs, buildMs, exportMs, exported ? "" : " (failed)",
                    editorMs, reading.size() * 2 / 1048576.0);
        std::fflush(stdout);
    }
}
