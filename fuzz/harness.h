#pragma once

// What every harness shares: an application object for the readers that need
// fonts or pictures, a scratch folder for the readers that take a path, and a
// loud stop when a reader breaks its contract.

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace harness {

// Stops the run so that libFuzzer keeps the input and the replay test fails.
[[noreturn]] inline void fail(const char *broken)
{
    std::fprintf(stderr, "reader contract broken: %s\n", broken);
    std::abort();
}

inline void check(bool holds, const char *broken)
{
    if (!holds)
        fail(broken);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), int(size));
}

// A GUI application on the offscreen platform; the arguments are kept alive
// for the whole run as Qt requires. Never destroyed: tearing Qt's GUI down in
// the exit handlers, after its thread storage is gone, crashes.
inline void startApplication(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int count = *argc;
    static QGuiApplication *app = new QGuiApplication(count, *argv);
    Q_UNUSED(app)
}

// A file path in a folder that lives as long as the process.
inline QString scratchFile(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(content) == content.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace harness
