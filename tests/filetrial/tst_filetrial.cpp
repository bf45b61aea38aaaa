#include "base/apppaths.h"
#include "filetrial/filetrial.h"
#include "filetrial/processtree.h"
#include "filetrial/trialcache.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

// The trial's side of the child is tested against stand-ins played by this
// executable itself, so that every way a child can end is met on purpose.
namespace {

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void spin()
{
    volatile unsigned long long n = 0;
    for (;;)
        ++n;
}

int playChild(const QByteArray &mode)
{
    say("step reading the file");
    if (mode == "accept") {
        say("step drawing page \"Page 1\" at board size");
        say("accepted");
    } else if (mode == "refuse") {
        say("refused The chart template is damaged.");
    } else if (mode == "spin") {
        say("step drawing page \"Page 2\" for export");
        spin();
    } else if (mode == "spawn") {
        // The work happens in a grandchild, as the web engine's does.
        say("step printing the reading to PDF");
        const pid_t child = fork();
        if (child == 0)
            spin();
        const QByteArray pidFile = qgetenv("FAKE_PID_FILE");
        QFile file(QString::fromLocal8Bit(pidFile));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray::number(int(child)));
        file.close();
        for (;;)
            pause();
    } else if (mode == "grow") {
        say("step decoding its pictures");
        std::vector<char *> held;
        for (;;) {
            char *block = static_cast<char *>(std::malloc(16 << 20));
            for (int i = 0; i < (16 << 20); i += 4096)
                block[i] = 1;
            held.push_back(block);
            usleep(20000);
        }
    } else if (mode == "crash") {
        say("step opening it in the chart designer");
        std::raise(SIGSEGV);
    } else if (mode == "hang") {
        say("step showing the reading in a web page");
        const QByteArray pidFile = qgetenv("FAKE_PID_FILE");
        if (!pidFile.isEmpty()) {
            QFile file(QString::fromLocal8Bit(pidFile));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray::number(int(getpid())));
        }
        for (;;)
            pause();
    } else if (mode == "count") {
        // Leaves a mark for every child started, and takes its time.
        QFile file(QString::fromLocal8Bit(qgetenv("FAKE_PID_FILE")));
        if (file.open(QIODevice::Append))
            file.write("started\n");
        file.close();
        usleep(800000);
        say("accepted");
    } else if (mode == "chatter") {
        std::fputs(QByteArray(200000, 'x').constData(), stdout);
        std::fflush(stdout);
        for (;;)
            pause();
    }
    return 0;
}

// A program that starts a trial of a child that never ends, and is then
// killed from outside.
int playParent(const QString &file)
{
    QCoreApplication app(
        *new int(1), new char *[1] { const_cast<char *>("parent") });
    FileTrial::Options options;
    options.program = QString::fromLocal8Bit(qgetenv("FAKE_SELF"));
    options.arguments = QStringList {QStringLiteral("fakechild"), QStringLiteral("hang")};
    options.totalMs = 600000;
    FileTrial::tryFile(file, FileTrial::Kind::Layout, options);
    return 0;
}

bool processGone(pid_t pid)
{
    return TestEnvironment::waitUntil(
        [pid] {
            if (::kill(pid, 0) != 0)
                return true;
            // A killed process left unwaited is a zombie: gone all the same.
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
        },
        10000);
}

pid_t readPid(const QString &path)
{
    pid_t pid = 0;
    TestEnvironment::waitUntil([&] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        pid = pid_t(file.readAll().toInt());
        return pid > 0;
    });
    return pid;
}

} // namespace

class TestFileTrial : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_file;

    FileTrial::Options fake(const char *mode) const
    {
        FileTrial::Options options;
        options.program = QCoreApplication::applicationFilePath();
        options.arguments = QStringList {QStringLiteral("fakechild"), QString::fromLatin1(mode)};
        options.useCache = false;
        // A machine busy with other work must not turn a limit of work
        // into one of waiting.
        options.totalMs = 120000;
        return options;
    }

    void writeFile(const QByteArray &content)
    {
        QSaveFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        QVERIFY(file.commit());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("Shared.lnr"));
        writeFile("some template");
        qputenv("FAKE_SELF", QCoreApplication::applicationFilePath().toLocal8Bit());
    }

    void verdicts_data()
    {
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<QString>("reason");
        QTest::newRow("accepted") << QByteArray("accept") << QString();
        QTest::newRow("refused by the reader")
            << QByteArray("refuse")
            << "\"Shared.lnr\": reading the file: The chart template is damaged.";
        QTest::newRow("CPU time of a step")
            << QByteArray("spin")
            << "\"Shared.lnr\": drawing page \"Page 2\" for export took longer than 2 seconds";
        QTest::newRow("memory") << QByteArray(
            "grow") << "\"Shared.lnr\": decoding its pictures took more than 768 MB of memory";
        QTest::newRow("crash")
            << QByteArray("crash")
            << "\"Shared.lnr\": opening it in the chart designer failed: the check ended "
               "unexpectedly";
        QTest::newRow("endless line") << QByteArray("chatter")
                                      << "\"Shared.lnr\": reading the file failed: the check ended "
                                         "unexpectedly";
        QTest::newRow("a grandchild's CPU time")
            << QByteArray("spawn")
            << "\"Shared.lnr\": printing the reading to PDF took longer than 2 seconds";
    }
    void verdicts()
    {
        QFETCH(QByteArray, mode);
        QFETCH(QString, reason);
        const QString pidFile = m_dir.filePath(QStringLiteral("grandchild.pid"));
        QFile::remove(pidFile);
        qputenv("FAKE_PID_FILE", pidFile.toLocal8Bit());
        const FileTrial::Verdict verdict
            = FileTrial::tryFile(m_file, FileTrial::Kind::Template, fake(mode.constData()));
        QCOMPARE(verdict.reason, reason);
        QCOMPARE(verdict.accepted, reason.isEmpty());
        QVERIFY(!verdict.cached);
        // Whatever the child started ends with it.
        if (QFile::exists(pidFile))
            QVERIFY(processGone(readPid(pidFile)));
    }

    // Wall-clock time ends a child that waits without working; such a
    // refusal is not kept, since a busy machine may have caused it.
    void wholeTrialTime()
    {
        FileTrial::Options options = fake("hang");
        options.useCache = true;
        options.totalMs = 1000;
        writeFile("a layout that hangs");
        const FileTrial::Verdict verdict
            = FileTrial::tryFile(m_file, FileTrial::Kind::Layout, options);
        QCOMPARE(verdict.reason,
                 QStringLiteral("\"Shared.lnr\": showing the reading in a web page did not end "
                                "within the 1 seconds a check may take"));
        TrialCache::Entry entry;
        QVERIFY(!TrialCache::find(TrialCache::key(m_file, QStringLiteral("layout")), &entry));
    }

    // A file asked for again while its trial runs (the window stays
    // responsive meanwhile) waits for that trial instead of starting another.
    void oneChildForTwoCallers()
    {
        const QString marks = m_dir.filePath(QStringLiteral("started.txt"));
        QFile::remove(marks);
        qputenv("FAKE_PID_FILE", marks.toLocal8Bit());
        writeFile("asked for twice");
        const FileTrial::Options options = fake("count");
        FileTrial::Verdict inner;
        QTimer::singleShot(200, [&] { inner = FileTrial::tryFile(m_file, FileTrial::Kind::Template, options); });
        const FileTrial::Verdict outer = FileTrial::tryFile(m_file, FileTrial::Kind::Template, options);
        QVERIFY(outer.accepted);
        QVERIFY(inner.accepted);
        QFile file(marks);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("started\n"));
    }

    void missingChild()
    {
        FileTrial::Options options;
        options.program = m_dir.filePath(QStringLiteral("no-such-program"));
        const FileTrial::Verdict verdict
            = FileTrial::tryFile(m_file, FileTrial::Kind::Layout, options);
        QVERIFY(!verdict.accepted);
        QVERIFY(verdict.reason.startsWith(QStringLiteral("\"Shared.lnr\" could not be checked: ")));
    }

    // A verdict is kept by content and kind: the same content under another
    // name is not tried again, other content or another kind is, and a
    // damaged store is tried anew rather than believed.
    void cachedVerdicts()
    {
        writeFile("template tried once");
        FileTrial::Options refuse = fake("refuse");
        refuse.useCache = true;
        QVERIFY(!FileTrial::tryFile(m_file, FileTrial::Kind::Template, refuse).cached);

        FileTrial::Options absent = refuse;
        absent.program = m_dir.filePath(QStringLiteral("no-such-program"));
        const QString copy = m_dir.filePath(QStringLiteral("Copy.lnr"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(m_file, copy));
        const FileTrial::Verdict again
            = FileTrial::tryFile(copy, FileTrial::Kind::Template, absent);
        QVERIFY(again.cached);
        QCOMPARE(again.reason,
                 QStringLiteral("\"Copy.lnr\": reading the file: The chart template is damaged."));

        QVERIFY(!FileTrial::tryFile(copy, FileTrial::Kind::Layout, absent).cached);

        FileTrial::Options accept = fake("accept");
        accept.useCache = true;
        writeFile("template changed");
        const FileTrial::Verdict changed
            = FileTrial::tryFile(m_file, FileTrial::Kind::Template, accept);
        QVERIFY(changed.accepted && !changed.cached);
        QVERIFY(FileTrial::tryFile(m_file, FileTrial::Kind::Template, absent).accepted);

        const QString entry = TrialCache::folder()
            + QString::fromLatin1(TrialCache::key(m_file, QStringLiteral("template")))
            + QStringLiteral(".verdict");
        const QList<QByteArray> damaged {
            "", "lumaro-trial-verdict 1\naccepted", "lumaro-trial-verdict 1\nrefused \n",
            "lumaro-trial-verdict 2\naccepted\n", QByteArray(20000, 'a')};
        for (const QByteArray &content : damaged) {
            QFile file(entry);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(content);
            file.close();
            QVERIFY2(!FileTrial::tryFile(m_file, FileTrial::Kind::Template, absent).cached,
                     content.left(40));
        }
    }

    void shippedFilesNeedNoTrial()
    {
        FileTrial::Options absent;
        absent.program = m_dir.filePath(QStringLiteral("no-such-program"));
        const QString shipped = getResourcesPath() + QStringLiteral("templates/any.lnr");
        QVERIFY(FileTrial::isShipped(shipped));
        QVERIFY(FileTrial::tryFile(shipped, FileTrial::Kind::Template, absent).accepted);
        QVERIFY(!FileTrial::isShipped(m_file));

        // Start-up's copy of a shipped template is known by its content.
        const QDir templates(getResourcesPath() + QStringLiteral("images/templates"));
        const QStringList names = templates.entryList({QStringLiteral("*.lnr")});
        QVERIFY(!names.isEmpty());
        const QString copy = m_dir.filePath(QStringLiteral("Copied.lnr"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(templates.filePath(names.first()), copy));
        QVERIFY(FileTrial::tryFile(copy, FileTrial::Kind::Template, absent).accepted);
    }

    // The child dies with the program that tries the file, however that ends.
    void childNeverOutlivesTheProgram()
    {
        const QString pidFile = m_dir.filePath(QStringLiteral("orphan.pid"));
        QFile::remove(pidFile);
        qputenv("FAKE_PID_FILE", pidFile.toLocal8Bit());
        QProcess parent;
        parent.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("fakeparent"), m_file});
        QVERIFY(parent.waitForStarted());
        const pid_t child = readPid(pidFile);
        QVERIFY(child > 0);
        QVERIFY(ProcessTree::usage(child).processes == 1);
        parent.kill();
        parent.waitForFinished();
        QVERIFY(processGone(child));
    }
};

int main(int argc, char **argv)
{
    if (argc >= 3 && qstrcmp(argv[1], "fakechild") == 0)
        return playChild(QByteArray(argv[2]));
    if (argc >= 3 && qstrcmp(argv[1], "fakeparent") == 0)
        return playParent(QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    TestFileTrial test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filetrial.moc"
