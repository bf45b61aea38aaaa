#include "filetrial/filetrial.h"

#include "base/apppaths.h"
#include "filetrial/processtree.h"
#include "filetrial/trialcache.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QSet>
#include <QTimer>
#include <QVector>

#include <functional>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace FileTrial {

namespace {

constexpr int PollMs = 50;
// The child says what it does in short lines; a longer one is not the child.
constexpr qint64 MaxLineBytes = 65536;

// The child runs in a process group of its own, so that it and the web
// engine processes it starts can be ended together, and dies with the
// thread that started it: a trial never outlives the program.
class ChildProcess : public QProcess
{
protected:
    void setupChildProcess() override
    {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() == 1)
            _exit(127);
    }
};

QString seconds(double value)
{
    return QString::number(value, 'g', 3);
}

// One trial: runs the child and watches it until it gives its verdict or a
// limit passes. The reasons name the step, not the file.
class Run : public QObject
{
public:
    Run(const QString &path, Kind kind, const Options &options)
        : m_options(options)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.setStandardInputFile(QProcess::nullDevice());
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, this,
                         [this] { readLines(); });
        QObject::connect(&m_process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished),
                         this, [this] { childEnded(); });
        QObject::connect(&m_process, &QProcess::errorOccurred, this,
                         [this](QProcess::ProcessError e) {
                             if (e == QProcess::FailedToStart)
                                 finish(Outcome::NotRun, m_process.errorString());
                         });
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { stop(); });

        QString program = options.program;
        if (program.isEmpty())
            program = QCoreApplication::applicationDirPath() + QStringLiteral("/lumaro_trial");
        m_clock.start();
        m_process.start(program, options.arguments + QStringList {kindName(kind), path},
                        QIODevice::ReadOnly);
        m_poll.start(PollMs);
    }
    ~Run() override { stop(); }

    enum class Outcome { Running, Accepted, Refused, NotRun };
    Outcome outcome() const { return m_outcome; }
    // Whether another trial of the same content would come to the same.
    bool lasting() const { return m_lasting; }
    QString reason() const { return m_reason; }
    // Called once, with the verdict, for everyone waiting on this trial.
    QVector<std::function<void()>> done;

private:
    void finish(Outcome outcome, const QString &reason, bool lasting = true)
    {
        if (m_outcome != Outcome::Running)
            return;
        m_outcome = outcome;
        m_reason = reason;
        m_lasting = lasting;
        stop();
        for (const std::function<void()> &call : qAsConst(done))
            call();
    }

    void stop()
    {
        m_poll.stop();
        if (m_process.state() != QProcess::NotRunning) {
            ProcessTree::kill(pid_t(m_process.processId()));
            m_process.waitForFinished(2000);
        }
    }

    QString step() const
    {
        return m_step.isEmpty() ? QStringLiteral("starting the check") : m_step;
    }

    void readLines()
    {
        while (m_outcome == Outcome::Running && m_process.canReadLine()) {
            const QByteArray line = m_process.readLine(MaxLineBytes).trimmed();
            if (line.startsWith("step ")) {
                const double now = ProcessTree::usage(pid_t(m_process.processId())).cpuSeconds;
                endStep(now);
                m_step = QString::fromUtf8(line.mid(5));
                m_stepStart = now;
            } else if (line == "accepted") {
                endStep(ProcessTree::usage(pid_t(m_process.processId())).cpuSeconds);
                finish(Outcome::Accepted, QString());
            } else if (line.startsWith("refused ")) {
                finish(Outcome::Refused,
                       step() + QStringLiteral(": ") + QString::fromUtf8(line.mid(8)));
            } else {
                finish(Outcome::Refused, unexpectedEnd());
            }
        }
        if (m_outcome == Outcome::Running && m_process.bytesAvailable() > MaxLineBytes)
            finish(Outcome::Refused, unexpectedEnd());
    }

    void endStep(double now)
    {
        if (m_options.stepEnded && !m_step.isEmpty())
            m_options.stepEnded(m_step, now - m_stepStart);
    }

    QString unexpectedEnd() const
    {
        return QStringLiteral("%1 failed: the check ended unexpectedly").arg(step());
    }

    void childEnded()
    {
        readLines();
        finish(Outcome::Refused, unexpectedEnd());
    }

    void poll()
    {
        if (m_outcome != Outcome::Running || m_process.state() != QProcess::Running)
            return;
        const ProcessTree::Usage used = ProcessTree::usage(pid_t(m_process.processId()));
        if (used.processes == 0)
            return;
        if (used.memoryBytes > m_options.memoryBytes) {
            finish(Outcome::Refused,
                   QStringLiteral("%1 took more than %2 MB of memory")
                       .arg(step())
                       .arg(m_options.memoryBytes >> 20));
        } else if (used.cpuSeconds - m_stepStart > m_options.stepCpuSeconds) {
            finish(Outcome::Refused,
                   QStringLiteral("%1 took longer than %2 seconds")
                       .arg(step(), seconds(m_options.stepCpuSeconds)));
        } else if (m_clock.elapsed() > m_options.totalMs) {
            // Wall-clock time also counts the other work of a busy machine:
            // the next trial of the same file may well pass.
            finish(Outcome::Refused,
                   QStringLiteral("%1 did not end within the %2 seconds a check may take")
                       .arg(step(), seconds(m_options.totalMs / 1000.0)),
                   false);
        }
    }

    Options m_options;
    ChildProcess m_process;
    QTimer m_poll;
    QElapsedTimer m_clock;
    QString m_step;
    double m_stepStart = 0;
    Outcome m_outcome = Outcome::Running;
    QString m_reason;
    bool m_lasting = true;
};

QString quotedName(const QString &path)
{
    return QStringLiteral("\"%1\"").arg(QFileInfo(path).fileName());
}

// Trials under way, by key: a second caller waits for the first one's
// verdict instead of starting another child.
QHash<QByteArray, Run *> &running()
{
    static QHash<QByteArray, Run *> trials;
    return trials;
}

// What this process has seen of a file, so that a file asked about again
// and unchanged is not read again for its digest.
struct Seen
{
    qint64 size = -1;
    QDateTime modified;
    QByteArray key;
};
QHash<QString, Seen> &seenFiles()
{
    static QHash<QString, Seen> seen;
    return seen;
}

QByteArray fileKey(const QString &path, Kind kind)
{
    const QFileInfo info(path);
    const QString id = kindName(kind) + QLatin1Char(':') + info.absoluteFilePath();
    Seen &seen = seenFiles()[id];
    if (seen.key.isEmpty() || seen.size != info.size() || seen.modified != info.lastModified()) {
        seen.size = info.size();
        seen.modified = info.lastModified();
        seen.key = TrialCache::key(path, kindName(kind));
    }
    return seen.key;
}

// The keys of the chart templates the program ships, read once: start-up
// copies them into the user folder, where they are known by their content.
const QSet<QByteArray> &shippedTemplateKeys()
{
    static const QSet<QByteArray> keys = [] {
        QSet<QByteArray> found;
        const QDir shipped(getResourcesPath() + QStringLiteral("images/templates"));
        for (const QFileInfo &file : shipped.entryInfoList(QDir::Files))
            found.insert(TrialCache::key(file.filePath(), kindName(Kind::Template)));
        return found;
    }();
    return keys;
}

} // namespace

Options &defaultOptions()
{
    static Options options;
    return options;
}

QString kindName(Kind kind)
{
    return kind == Kind::Template ? QStringLiteral("template") : QStringLiteral("layout");
}

bool isShipped(const QString &path)
{
    return isInsideFolder(path, getResourcesPath())
        || shippedTemplateKeys().contains(fileKey(path, Kind::Template));
}

Verdict tryFile(const QString &path, Kind kind, const Options &options)
{
    if (!options.runTrials || (options.shippedUntried && isShipped(path)))
        return Verdict {true, QString(), true};

    const QString name = quotedName(path);
    const QByteArray key = fileKey(path, kind);
    if (key.isEmpty())
        return Verdict {false, QStringLiteral("%1 could not be read.").arg(name), false};
    TrialCache::Entry kept;
    if (options.useCache && TrialCache::find(key, &kept))
        return Verdict {kept.accepted,
                        kept.accepted ? QString() : name + QStringLiteral(": ") + kept.reason,
                        true};

    // Shows that the file is being checked, and keeps the other windows from
    // taking input meanwhile: the caller waits for the verdict.
    QPointer<QProgressDialog> progress;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        progress = new QProgressDialog(QStringLiteral("Checking %1…").arg(name), QString(), 0, 0,
                                       QApplication::activeWindow());
        progress->setWindowTitle(QStringLiteral("Lumaro Numerology"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setAttribute(Qt::WA_DeleteOnClose);
        progress->setValue(0);
        progress->show();
    }

    QEventLoop loop;
    Verdict verdict;
    if (Run *earlier = running().value(key)) {
        bool accepted = false;
        QString outcome = QStringLiteral("the check was ended");
        earlier->done.append([&] {
            accepted = earlier->outcome() == Run::Outcome::Accepted;
            outcome = earlier->reason();
            loop.quit();
        });
        loop.exec();
        if (progress)
            progress->close();
        verdict.accepted = accepted;
        if (!accepted)
            verdict.reason = name + QStringLiteral(": ") + outcome;
        return verdict;
    }
    Run run(path, kind, options);
    run.done.append([&loop] { loop.quit(); });
    running().insert(key, &run);
    if (run.outcome() == Run::Outcome::Running)
        loop.exec();
    running().remove(key);
    if (progress)
        progress->close();

    switch (run.outcome()) {
    case Run::Outcome::Accepted:
        verdict.accepted = true;
        break;
    case Run::Outcome::NotRun:
        // Nothing was learnt of the file: it is neither used nor judged.
        verdict.reason = QStringLiteral("%1 could not be checked: %2").arg(name, run.reason());
        return verdict;
    default:
        verdict.reason = name + QStringLiteral(": ") + run.reason();
        break;
    }
    if (options.useCache && run.lasting())
        TrialCache::store(key, TrialCache::Entry {verdict.accepted, run.reason()});
    return verdict;
}

} // namespace FileTrial
