// Chart template figures: load, Graphic Chart render and export render of
// the shipped templates and of the heavy ones the tests build
// (tests/designer/hostiletemplates.h), with the memory each needs.
//
// Each template is measured in a child process of its own: the peak memory
// printed is the child's high-water mark of resident memory (VmHWM) after
// the template's work less the mark before it, so one template's peak
// cannot hide behind another's. Times are medians of three rounds, each
// round a fresh load.

#include "templatebench.h"

#include "exportbench.h"

#include "app/chartrender.h"
#include "base/apppaths.h"
#include "designer/repage.h"
#include "designer/reportdocument.h"
#include "testenvironment.h"
#include "tests/designer/designerfixture.h"
#include "tests/designer/hostiletemplates.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The Graphic Chart area the main window's benchmark uses.
const QSize boardSize(636, 900);
constexpr int rounds = 3;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

qint64 highWaterKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

int templateBenchChild(const QString &path)
{
    DesignerTest::Person people;
    const qint64 before = highWaterKb();
    std::vector<double> load, board, exported;
    QSize boardImage, exportImage;
    QString error;
    QElapsedTimer timer;
    for (int i = 0; i < rounds; ++i) {
        {
            CReportDocument doc(&people.container, nullptr);
            timer.start();
            const bool loaded = doc.loadFromFile(path, &error);
            load.push_back(timer.nsecsElapsed() / 1e6);
            if (!loaded)
                break;
        }
        timer.start();
        boardImage = renderChartTemplate(path, people.container, boardSize, nullptr).size();
        board.push_back(timer.nsecsElapsed() / 1e6);
        timer.start();
        exportImage = renderChartTemplate(path, people.container, QSize(0, 0), nullptr).size();
        exported.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double peakMb = (highWaterKb() - before) / 1024.0;
    if (!error.isEmpty()) {
        std::printf("refused in %7.1f ms, peak %6.1f MB: %s\n", median(load), peakMb,
                    qPrintable(error.simplified()));
        return 0;
    }
    std::printf("load %7.1f  board %7.1f  export %7.1f ms  peak %6.1f MB  export %dx%d\n",
                median(load), median(board), median(exported), peakMb, exportImage.width(),
                exportImage.height());
    return 0;
}

namespace {

// The shipped templates and the golden one of the tests.
QStringList chartTemplates()
{
    QStringList files;
    const QDir shipped(getResourcesPath() + QStringLiteral("images/templates"));
    for (const QFileInfo &file :
         shipped.entryInfoList({QStringLiteral("*.lnr")}, QDir::Files, QDir::Name))
        files.append(file.absoluteFilePath());
    files.append(TestEnvironment::dataPath(QStringLiteral("designer/golden.lnr")));
    return files;
}

} // namespace

int writeTemplateRenders(const QString &folder)
{
    DesignerTest::Person people;
    QDir().mkpath(folder);
    int failures = 0;
    QTemporaryDir photoFolder;
    const QString photo = writePhotoTemplate(photoFolder.path());
    QStringList templates = chartTemplates();
    if (photo.isEmpty())
        ++failures;
    else
        templates.append(photo);
    for (const QString &path : qAsConst(templates)) {
        const QString name = QFileInfo(path).completeBaseName();
        for (const QSize &size : {boardSize, QSize(0, 0)}) {
            const QImage image = renderChartTemplate(path, people.container, size, nullptr);
            const QString out = QDir(folder).filePath(
                QStringLiteral("%1-%2.png").arg(name, size.isNull() ? "export" : "board"));
            if (image.isNull() || !image.save(out)) {
                std::printf("%s: not written\n", qPrintable(out));
                ++failures;
            }
        }
    }
    return failures ? 1 : 0;
}

void benchTemplates(const std::function<bool(const QString &)> &wanted)
{
    QTemporaryDir folder;
    QList<QPair<QString, QString>> templates; // name, file
    for (const QString &path : chartTemplates())
        templates.append({QStringLiteral("shipped ") + QFileInfo(path).completeBaseName(), path});
    int n = 0;
    for (const HostileTemplates::Template &t : HostileTemplates::all()) {
        QVector<int> sizes {t.size};
        if (t.nearest != t.size)
            sizes.append(t.nearest);
        for (const int size : qAsConst(sizes)) {
            // Written as the program's writer writes, also where its save
            // would refuse: the reader's answer to such a file is the figure.
            CReportDocument doc(nullptr, nullptr);
            t.build(doc, size);
            const QString path = folder.filePath(QStringLiteral("hostile%1.lnr").arg(++n));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(HostileTemplates::write(doc)) <= 0)
                continue;
            const QString problem = doc.limitProblem();
            templates.append(
                {QStringLiteral("%1 (%2)%3")
                     .arg(QLatin1String(t.name))
                     .arg(size)
                     .arg(problem.isEmpty() ? QString() : QStringLiteral(", save refuses")),
                 path});
        }
    }
    for (const auto &t : qAsConst(templates)) {
        if (!wanted(QStringLiteral("template ") + t.first))
            continue;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--template-child"), t.second});
        const bool done = child.waitForFinished(600000);
        const QByteArray out = child.readAllStandardOutput().trimmed();
        std::printf("template %-58s %s\n", qPrintable(t.first),
                    done && !out.isEmpty() ? out.constData() : "did not finish");
        std::fflush(stdout);
    }
}
