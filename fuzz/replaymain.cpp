// Runs every file of the given corpus folders (or single files) through the
// harness's entry point once, as libFuzzer would, so that the normal build
// checks every input that ever crashed a reader. A crash or an abort fails the
// run by itself; an input that takes half a minute, a hang rather than a slow
// input on a busy machine, fails it here.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

constexpr qint64 kMaxMillisecondsPerInput = 30000;

QStringList inputFiles(const QString &path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return {info.absoluteFilePath()};
    QStringList files;
    const QDir dir(path);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files << dir.absoluteFilePath(name);
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-folder-or-file...\n", argv[0]);
        return 2;
    }

    int replayed = 0;
    int slow = 0;
    for (int i = 1; i < argc; ++i) {
        const QStringList files = inputFiles(QString::fromLocal8Bit(argv[i]));
        if (files.isEmpty()) {
            std::fprintf(stderr, "no input in %s\n", argv[i]);
            return 2;
        }
        for (const QString &path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 2;
            }
            const QByteArray data = file.readAll();
            // Named first: a crash or an abort ends the run without a word.
            std::printf("%s\n", qPrintable(path));
            std::fflush(stdout);
            QElapsedTimer timer;
            timer.start();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(data.constData()),
                                   size_t(data.size()));
            const qint64 ms = timer.elapsed();
            if (ms > kMaxMillisecondsPerInput) {
                std::fprintf(stderr, "too slow: %s took %lld ms\n", qPrintable(path),
                             static_cast<long long>(ms));
                ++slow;
            }
            ++replayed;
        }
    }
    std::printf("%d passed, %d failed\n", replayed - slow, slow);
    return slow == 0 ? 0 : 1;
}
