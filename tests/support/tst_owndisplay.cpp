#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

// The wrapper that gives a test an X server of its own, stopped from outside
// as CTest or a developer stops it: neither the test nor its server may stay.

namespace {

// A process known by its pid and start time, so that a reused pid never
// passes for it.
struct Process
{
    qint64 pid = 0;
    QByteArray started;
};

// The fields of /proc/<pid>/stat after the command name, which may hold
// spaces: [0] the state, [1] the parent, [19] the start time.
QList<QByteArray> statFields(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ');
}

Process process(qint64 pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return fields.size() > 19 ? Process {pid, fields.at(19)} : Process {};
}

// An ended process not yet reaped is a zombie: it runs no more.
bool running(const Process &p)
{
    const QList<QByteArray> fields = statFields(p.pid);
    return fields.size() > 19 && fields.at(19) == p.started && fields.at(0) != "Z"
        && fields.at(0) != "X";
}

Process serverOf(qint64 wrapper)
{
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        const QList<QByteArray> fields = statFields(pid.toLongLong());
        if (fields.size() > 1 && fields.at(1).toLongLong() == wrapper
            && comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "Xvfb")
            return process(pid.toLongLong());
    }
    return {};
}

} // namespace

class TestOwnDisplay : public QObject
{
    Q_OBJECT

private slots:
    void stoppedWrapperLeavesNothing_data();
    void stoppedWrapperLeavesNothing();
};

void TestOwnDisplay::stoppedWrapperLeavesNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("TERM") << SIGTERM;
    QTest::newRow("INT") << SIGINT;
    QTest::newRow("HUP") << SIGHUP;
    // CTest's time limit: no trap sees it.
    QTest::newRow("KILL") << SIGKILL;
}

void TestOwnDisplay::stoppedWrapperLeavesNothing()
{
    QFETCH(int, signal);
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        QSKIP("Without Xvfb the wrapper runs the test in its own place");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString started = dir.filePath(QStringLiteral("started"));
    QProcess wrapper;
    wrapper.setProcessChannelMode(QProcess::ForwardedChannels);
    wrapper.start(
        QStringLiteral(LUMARO_SOURCE_DIR "/tests/support/owndisplay.sh"),
        {QStringLiteral("sh"), QStringLiteral("-c"),
         QStringLiteral("echo $$ >\"$0.part\" && mv \"$0.part\" \"$0\" && exec sleep 300"),
         started});
    QVERIFY(wrapper.waitForStarted(TestEnvironment::WaitMs));
    Process command, server;
    // Whatever a failed check leaves running is ours alone: the command, and
    // the server that was the wrapper's child.
    const auto cleanUp = qScopeGuard([&] {
        for (const Process &p : {command, server})
            if (running(p))
                ::kill(static_cast<pid_t>(p.pid), SIGKILL);
        wrapper.kill();
        wrapper.waitForFinished();
    });
    QVERIFY(TestEnvironment::waitUntil(
        [&] { return QFile::exists(started) || wrapper.state() == QProcess::NotRunning; },
        2 * TestEnvironment::WaitMs));
    QFile pidFile(started);
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    command = process(pidFile.readAll().trimmed().toLongLong());
    server = serverOf(wrapper.processId());
    QVERIFY(running(command));
    QVERIFY(running(server));

    QCOMPARE(::kill(static_cast<pid_t>(wrapper.processId()), signal), 0);
    QVERIFY(wrapper.waitForFinished(TestEnvironment::WaitMs));
    QVERIFY(
        TestEnvironment::waitUntil([&] { return !running(command) && !running(server); }, 5000));
    if (signal != SIGKILL) {
        // The wrapper waited for the command and reports how it ended.
        QCOMPARE(wrapper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(wrapper.exitCode(), 128 + signal);
    }
}

QTEST_GUILESS_MAIN(TestOwnDisplay)

#include "tst_owndisplay.moc"
