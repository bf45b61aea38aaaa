// The settings file: a stream that is not one changes nothing, a damaged one
// gives the fields before the damage, and whatever was taken is written back
// and read as the same.

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
    harness::check(result != SettingsReadResult::NotOpened,
                   "an open stream is reported as no file");
    if (result == SettingsReadResult::WrongMagic) {
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
