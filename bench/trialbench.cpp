#include "trialbench.h"

#include "base/apppaths.h"
#include "filetrial/filetrial.h"
#include "filetrial/trialcache.h"
#include "tests/app/sharedfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Tried
{
    FileTrial::Verdict verdict;
    double ms = 0;
    QString heaviestStep;
    double heaviestCpu = 0;
};

Tried tryOnce(const QString &path, FileTrial::Kind kind, bool cached)
{
    Tried tried;
    FileTrial::Options options = FileTrial::defaultOptions();
    options.shippedUntried = false;
    options.useCache = cached;
    options.stepEnded = [&tried](const QString &step, double cpu) {
        if (cpu > tried.heaviestCpu) {
            tried.heaviestCpu = cpu;
            tried.heaviestStep = step;
        }
    };
    QElapsedTimer timer;
    timer.start();
    tried.verdict = FileTrial::tryFile(path, kind, options);
    tried.ms = timer.nsecsElapsed() / 1e6;
    return tried;
}

void printRow(const QString &name, const Tried &tried)
{
    std::printf("%-52s %9.1f ms  %s\n", qPrintable(name), tried.ms,
                tried.verdict.accepted ? "accepted" : "refused");
    if (!tried.verdict.accepted)
        std::printf("    %s\n", qPrintable(tried.verdict.reason));
    else if (!tried.heaviestStep.isEmpty())
        std::printf("    most CPU: %s, %.2f s\n", qPrintable(tried.heaviestStep),
                    tried.heaviestCpu);
    std::fflush(stdout);
}

// Tried afresh, then once more from the kept verdict.
void benchFile(const QString &name, const QString &path, FileTrial::Kind kind,
               const std::function<bool(const QString &)> &wanted)
{
    if (!wanted(name))
        return;
    QDir(TrialCache::folder()).removeRecursively();
    printRow(name, tryOnce(path, kind, true));
    printRow(name + QStringLiteral(", kept verdict"), tryOnce(path, kind, true));
}

} // namespace

void benchTrials(const std::function<bool(const QString &)> &wanted)
{
    QTemporaryDir folder;
    const QString shipped = getResourcesPath() + QStringLiteral("images/templates");
    for (const QFileInfo &file : QDir(shipped).entryInfoList({QStringLiteral("*.lnr")}))
        benchFile(QStringLiteral("trial template ") + file.completeBaseName(), file.filePath(),
                  FileTrial::Kind::Template, wanted);

    const auto benchShared = [&](const QVector<SharedFiles::File> &files, FileTrial::Kind kind,
                                 const char *kindName, const char *suffix) {
        for (const SharedFiles::File &file : files) {
            const QString name = QStringLiteral("trial %1 %2").arg(kindName, file.name);
            if (!wanted(name))
                continue;
            const QString path = folder.filePath(QStringLiteral("Shared") + suffix);
            if (!file.write(path)) {
                std::printf("%-52s not written\n", qPrintable(name));
                continue;
            }
            benchFile(name, path, kind, wanted);
        }
    };
    benchShared(SharedFiles::layouts(), FileTrial::Kind::Layout, "layout", ".zqnr");
    benchShared(SharedFiles::templates(), FileTrial::Kind::Template, "template", ".lnr");
}
