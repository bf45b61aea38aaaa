#include "layoutbench.h"

#include "layouts/layoutfile.h"
#include "tests/layouts/heavylayouts.h"

#include <QBuffer>
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
