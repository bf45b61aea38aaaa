// The settings file: any bytes are taken whole or not at all, and settings
// that were taken are written back and read as the same.

#include "app/settingsfile.h"
#include "fuzz/harness.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = harness::bytes(data, size);
    QBuffer buffer(&input);
    harness::check(buffer.open(QIODevice::ReadOnly), "buffer");

    AppSettings before;
    before.lastCheck = QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    before.schemeIndex = 2;
    AppSettings settings = before;
    const SettingsReadResult result = readSettings(&buffer, &settings);
    if (result != SettingsReadResult::Read) {
        harness::check(result == SettingsReadResult::WrongMagic
                           || result == SettingsReadResult::Damaged,
                       "a stream is refused with a status that belongs to files");
        harness::check(settings == before, "a refused stream changed the settings");
        return 0;
    }

    QByteArray written;
    QBuffer out(&written);
    harness::check(out.open(QIODevice::WriteOnly) && writeSettings(&out, settings),
                   "writing the settings read");
    out.close();
    harness::check(out.open(QIODevice::ReadOnly), "buffer");
    AppSettings again = before;
    harness::check(readSettings(&out, &again) == SettingsReadResult::Read && again == settings,
                   "settings read do not survive writing and reading");
    return 0;
}
