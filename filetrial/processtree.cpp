#include "filetrial/processtree.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QVector>

#include <csignal>
#include <unistd.h>

namespace ProcessTree {

namespace {

struct Stat
{
    pid_t pid = 0;
    pid_t parent = 0;
    double cpuSeconds = 0;
    qint64 residentBytes = 0;
};

// /proc/<pid>/stat: the command name stands in parentheses and may hold
// blanks and parentheses itself, so the fields are counted from the last ')'.
bool readStat(pid_t pid, Stat *stat)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = file.read(4096);
    const int close = line.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    // Behind the name: state(0) ppid(1) ... utime(11) stime(12) cutime(13)
    // cstime(14) ... rss(21).
    if (fields.size() < 22)
        return false;
    static const double ticks = double(sysconf(_SC_CLK_TCK));
    static const qint64 page = sysconf(_SC_PAGESIZE);
    stat->pid = pid;
    stat->parent = pid_t(fields.at(1).toLongLong());
    const qint64 time = fields.at(11).toLongLong() + fields.at(12).toLongLong()
        + fields.at(13).toLongLong() + fields.at(14).toLongLong();
    stat->cpuSeconds = double(time) / ticks;
    stat->residentBytes = fields.at(21).toLongLong() * page;
    return true;
}

// The proportional set size, or -1 where the kernel does not report it.
qint64 proportionalBytes(pid_t pid)
{
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.read(8192);
    const int at = text.indexOf("\nPss:");
    if (at < 0)
        return -1;
    const int end = text.indexOf('\n', at + 1);
    const QByteArray value = text.mid(at + 5, end - at - 5).trimmed();
    const int blank = value.indexOf(' ');
    bool ok = false;
    const qint64 kilobytes = value.left(blank).toLongLong(&ok);
    return ok ? kilobytes * 1024 : -1;
}

QVector<Stat> tree(pid_t root)
{
    QHash<pid_t, QVector<Stat>> children;
    Stat rootStat;
    bool rootFound = false;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const pid_t pid = pid_t(entry.toLong(&ok));
        Stat stat;
        if (!ok || !readStat(pid, &stat))
            continue;
        if (pid == root) {
            rootStat = stat;
            rootFound = true;
        } else {
            children[stat.parent].append(stat);
        }
    }
    QVector<Stat> found;
    if (!rootFound)
        return found;
    found.append(rootStat);
    for (int i = 0; i < found.size(); ++i)
        found += children.value(found.at(i).pid);
    return found;
}

} // namespace

Usage usage(pid_t root)
{
    Usage total;
    for (const Stat &stat : tree(root)) {
        total.cpuSeconds += stat.cpuSeconds;
        const qint64 proportional = proportionalBytes(stat.pid);
        total.memoryBytes += proportional >= 0 ? proportional : stat.residentBytes;
        ++total.processes;
    }
    return total;
}

void kill(pid_t root)
{
    if (root <= 0)
        return;
    // Stopped first, so that none of them starts another process meanwhile.
    const QVector<Stat> found = tree(root);
    for (const Stat &stat : found)
        ::kill(stat.pid, SIGSTOP);
    const pid_t group = getpgid(root);
    if (group == root)
        ::kill(-group, SIGKILL);
    for (const Stat &stat : found)
        ::kill(stat.pid, SIGKILL);
}

} // namespace ProcessTree
