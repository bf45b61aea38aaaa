#include "layoutbench.h"
#include "templatebench.h"

#include "app/myqwebengineview.h"
#include "app/reportexport.h"
#include "base/apppaths.h"
#include "engine/numerology.h"
#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "layouts/layoutfile.h"
#include "layouts/layoutfolder.h"
#include "testenvironment.h"
#include "tests/app/hostilelayouts.h"
#include "tests/layouts/heavylayouts.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSignalSpy>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <iterator>
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

// The growth of the process's peak resident memory from resetPeak() on, in
// MB (Linux resets the peak through clear_refs).
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double peakMb()
{
    return highWaterKb() / 1024.0;
}

// Runs step runs times and prints its figures with the outcome step gives.
void row(const QString &name, int runs, const std::function<QString()> &step)
{
    std::vector<double> times;
    QString outcome;
    double peak = 0;
    for (int run = 0; run < runs; ++run) {
        resetPeak();
        const double before = peakMb();
        QElapsedTimer timer;
        timer.start();
        outcome = step();
        times.push_back(timer.nsecsElapsed() / 1e6);
        peak = std::max(peak, peakMb() - before);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-52s median %9.2f ms   fastest %9.2f   slowest %9.2f   (%d runs, peak +%.0f "
                "MB, %s)\n",
                qPrintable(name), times[runs / 2], times.front(), times.back(), runs, peak,
                qPrintable(outcome));
    std::fflush(stdout);
}

QImage plain(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    return image;
}

// Reads the layout file bytes as the lists of layouts do (pictures left
// encoded) into layouts, alone there once read.
QString readAsListed(const QByteArray &bytes, QList<reportSetting> *layouts)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    reportSetting setting;
    layouts->clear();
    if (!readReportSetting(&buffer, &setting, nullptr, false))
        return QStringLiteral("refused");
    layouts->append(setting);
    return QStringLiteral("%1 MB file").arg(bytes.size() / 1048576.0, 0, 'f', 1);
}

// The size of a reading exported as HTML with its pictures embedded.
QString exportedSize(const QString &html)
{
    QString out;
    embedImagesToHtml(html, out);
    return QStringLiteral("%1 MB").arg(out.toUtf8().size() / 1048576.0, 0, 'f', 1);
}

// Life path sections in their own style, one per picture.
reportSetting picturesLayout(const QString &name, const QList<QImage> &pictures)
{
    reportSetting setting;
    setting.name = name;
    for (const QImage &picture : pictures) {
        repItem item;
        item.kind = RKNumerology;
        item.type = 1;
        item.defaultStyle = false;
        item.title = QStringLiteral("Section");
        item.images[0] = picture;
        setting.items[RKNumerology] << item;
    }
    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    return setting;
}

// Written as an earlier program wrote it, whether today's would or not.
bool writeLayout(const QString &folder, const reportSetting &setting)
{
    QSaveFile file(folder + QLatin1Char('/') + setting.name + QLatin1String(LayoutFileSuffix));
    return file.open(QIODevice::WriteOnly) && writeReportSetting(&file, setting) && file.commit();
}

QString loaded(const QList<reportSetting> &list)
{
    return QStringLiteral("%1 of 10 loaded").arg(list.size());
}

QString reading(CNumerology *numerology, QList<reportSetting> *layouts)
{
    const bool ok = numerology->calculate(
        QStringLiteral("MARY ELIZABETH ANN WILLIAMSON"), QStringLiteral("MARY ANN"), {}, {}, false,
        QDate(1985, 12, 29), QDate(2026, 3, 15), layouts, 1, 0, false);
    return ok
        ? QStringLiteral("%1 MB").arg(numerology->reportHtml.toUtf8().size() / 1048576.0, 0, 'f', 1)
        : QStringLiteral("failed");
}

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

void benchLayoutPictures(const std::function<bool(const QString &)> &wanted)
{
    const QString prefix = QStringLiteral("layout pictures, ");
    QTemporaryDir shared;
    const QString folder = shared.path();
    const QString startup = prefix + QStringLiteral("start-up lists, ten layouts");
    if (wanted(startup)) {
        row(startup + QStringLiteral(" of none"), 5, [&] {
            QList<reportSetting> list;
            loadReportSettings(&list, folder, nullptr, false);
            return QStringLiteral("empty folder");
        });
        for (int i = 0; i < 10; ++i)
            writeLayout(folder,
                        picturesLayout(QStringLiteral("Heavy %1").arg(i),
                                       {plain(4096), plain(4096), plain(4096)}));
        row(startup + QStringLiteral(" of 3 x 4096^2"), 3, [&] {
            QList<reportSetting> list;
            loadReportSettings(&list, folder, nullptr, false);
            return loaded(list);
        });
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const QList<QImage> forty = QVector<QImage>(40, plain(460)).toList();
        for (int i = 0; i < 10; ++i)
            writeLayout(folder, picturesLayout(QStringLiteral("Full %1").arg(i), forty));
        row(startup + QStringLiteral(" of 40 x 460^2"), 3, [&] {
            QList<reportSetting> list;
            loadReportSettings(&list, folder, nullptr, false);
            return loaded(list);
        });
        row(startup + QStringLiteral(" of 40 x 460^2, all decoded"), 3, [&] {
            QList<reportSetting> list;
            loadReportSettings(&list, folder, nullptr, true);
            return loaded(list);
        });
    }

    CNumerology numerology;
    numerology.preloadRes(getImagesPath());
    const QString four = prefix + QStringLiteral("four 460^2 photos, ");
    if (wanted(four)) {
        QList<reportSetting> layouts;
        const QByteArray bytes = HeavyLayout::fileBytes(
            picturesLayout(QStringLiteral("Photos"),
                           {HeavyLayout::photo(1), HeavyLayout::photo(2), HeavyLayout::photo(3),
                            HeavyLayout::photo(4)}));
        row(four + QStringLiteral("read"), 3, [&] { return readAsListed(bytes, &layouts); });
        row(four + QStringLiteral("first reading built"), 1,
            [&] { return reading(&numerology, &layouts); });
        row(four + QStringLiteral("reading built"), 5,
            [&] { return reading(&numerology, &layouts); });
        const QString html = numerology.reportHtml;
        MyQWebEngineView view;
        view.resize(1000, 700);
        view.show();
        row(four + QStringLiteral("reading shown"), 3, [&] {
            QSignalSpy done(&view, &QWebEngineView::loadFinished);
            view.setHtml(html, QUrl(QStringLiteral("file://localhost/")));
            const bool ok = done.wait(120000) && done.constLast().value(0).toBool();
            return ok ? QStringLiteral("shown") : QStringLiteral("not shown");
        });
        row(four + QStringLiteral("reading exported"), 3, [&] { return exportedSize(html); });
    }

    const QString large = prefix + QStringLiteral("3 x 4096^2, ");
    if (wanted(large)) {
        QList<reportSetting> layouts;
        const QByteArray bytes = HeavyLayout::fileBytes(
            picturesLayout(QStringLiteral("Large"), {plain(4096), plain(4096), plain(4096)}));
        row(large + QStringLiteral("read"), 3, [&] { return readAsListed(bytes, &layouts); });
        if (!layouts.isEmpty()) {
            row(large + QStringLiteral("reading built"), 3,
                [&] { return reading(&numerology, &layouts); });
            const QString html = numerology.reportHtml;
            row(large + QStringLiteral("reading exported"), 3, [&] { return exportedSize(html); });
        }
    }
}

void benchStartupWithLayouts(const std::function<bool(const QString &)> &wanted,
                             const std::function<void()> &startUp)
{
    const QString name = QStringLiteral("layout pictures, window start-up");
    if (!wanted(name))
        return;
    const QString folder = getUserFolder();
    const auto run = [&](const QString &which) {
        row(name + which, 5, [&] {
            startUp();
            return QStringLiteral("made and closed");
        });
    };
    run(QStringLiteral(" without layouts"));
    QStringList written;
    const QList<QImage> forty = QVector<QImage>(40, plain(460)).toList();
    for (int i = 0; i < 10; ++i) {
        const reportSetting heavy = picturesLayout(QStringLiteral("Heavy %1").arg(i),
                                                   {plain(4096), plain(4096), plain(4096)});
        const reportSetting full = picturesLayout(QStringLiteral("Full %1").arg(i), forty);
        for (const reportSetting &setting : {heavy, full}) {
            if (writeLayout(folder, setting))
                written << folder + QLatin1Char('/') + setting.name
                        + QLatin1String(LayoutFileSuffix);
        }
    }
    run(QStringLiteral(" with 20 shared layouts"));
    for (const QString &path : qAsConst(written))
        QFile::remove(path);
}

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

void benchSectionTexts(const std::function<bool(const QString &)> &wanted)
{
    const int tags = SectionMarkup::MaxTextTags;
    const struct
    {
        const char *name;
        std::function<QString()> make;
    } texts[] = {
        {"an essay of 30 pages",
         [] {
             return HeavyLayout::essay(30);
         }},
        {"an essay of 190 pages",
         [] {
             return HeavyLayout::essay(190);
         }},
        {"lists nested to the tag bound",
         [tags] {
             return HeavyLayout::nestedLists(tags / 2 - 1);
         }},
        {"formatting with attributes to the work bound",
         [tags] {
             return QStringLiteral("<b title=t>x").repeated(tags / 2 - 1);
         }},
        {"a table of 1,000 cells",
         [] {
             return HostileLayout::table(40, 25);
         }},
        {"a text of references to the length bound",
         [] {
             return QStringLiteral("a&amp;b ").repeated(SectionMarkup::MaxTextLength / 8);
         }},
    };
    for (const auto &text : texts) {
        const QString name = QStringLiteral("section text filter: ") + QLatin1String(text.name);
        if (!wanted(name))
            continue;
        const QString html = text.make();
        row(name, 5, [&html] {
            QString out;
            QString problem;
            return SectionMarkup::filter(html, &out, nullptr, &problem)
                ? QStringLiteral("kept, %1 characters").arg(out.size())
                : QStringLiteral("refused: ") + problem;
        });
    }
    const QString keyName = QStringLiteral("section editor: a key typed into 30 pages");
    const QString openName = QStringLiteral("section editor: 30 pages opened");
    const QString saveName = QStringLiteral("layout of 30 pages in one text saved");
    if (!wanted(keyName) && !wanted(openName) && !wanted(saveName))
        return;
    repItem item;
    item.texts[1] = HeavyLayout::essay(30);
    item.useStdText[1] = false;
    static QString standardTexts[repItem::EntryCount];
    std::fill(std::begin(standardTexts), std::end(standardTexts), QStringLiteral("Standard"));
    if (wanted(openName)) {
        row(openName, 5, [&item] {
            repItem copy = item;
            CTextEditor opened(nullptr, &copy.texts, &copy.images, &copy.useStdText, standardTexts,
                               RKNumerology, 1, nullptr, int(std::size(standardTexts)));
            opened.show();
            opened.entryCombo->setCurrentIndex(1);
            QApplication::processEvents();
            return QStringLiteral("%1 characters").arg(copy.texts.at(1).size());
        });
    }
    if (wanted(saveName)) {
        reportSetting setting;
        setting.items[RKNumerology] << item;
        row(saveName, 5, [&setting] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            return writeReportSetting(&buffer, setting)
                ? QStringLiteral("%1 bytes").arg(bytes.size())
                : QStringLiteral("refused");
        });
    }
    if (!wanted(keyName))
        return;
    CTextEditor editor(nullptr, &item.texts, &item.images, &item.useStdText, standardTexts,
                       RKNumerology, 1, nullptr, int(std::size(standardTexts)));
    editor.show();
    editor.entryCombo->setCurrentIndex(1);
    QApplication::processEvents();
    row(keyName, 9, [&editor] {
        QTest::keyClick(editor.textEdit, Qt::Key_A);
        return QStringLiteral("stored %1 characters").arg(editor.workTexts.at(1).size());
    });
}
