#include "testenvironment.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>

namespace {

class IsolatedHome
{
public:
    IsolatedHome()
    {
        m_dir.setAutoRemove(true);
        if (!m_dir.isValid())
            return;
        const QString home = m_dir.path();
        const auto setPath = [&home](const char *name, const QString &relative) {
            const QString path = relative.isEmpty() ? home : home + QLatin1Char('/') + relative;
            QDir().mkpath(path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv(name, QFile::encodeName(path));
        };
        setPath("HOME", QString());
        setPath("XDG_DATA_HOME", QStringLiteral(".local/share"));
        setPath("XDG_CONFIG_HOME", QStringLiteral(".config"));
        setPath("XDG_CACHE_HOME", QStringLiteral(".cache"));
        setPath("XDG_RUNTIME_DIR", QStringLiteral(".runtime"));
        qunsetenv("XDG_DOCUMENTS_DIR");
    }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

IsolatedHome &isolatedHome()
{
    static IsolatedHome home;
    return home;
}

// Runs before main(): the folders must be in place before QApplication exists.
[[maybe_unused]] const bool s_homeReady = (isolatedHome(), true);

} // namespace

namespace TestEnvironment {

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

QString homePath()
{
    return isolatedHome().path();
}

QString dataPath(const QString &relative)
{
    const QString base = QStringLiteral(LUMARO_TEST_DATA_DIR);
    return relative.isEmpty() ? base : base + QLatin1Char('/') + relative;
}

} // namespace TestEnvironment
