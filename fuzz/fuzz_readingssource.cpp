// A plain readings source as the database tool enciphers it: any text gives
// database lines that load, or a numbered error and no output at all.

#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "fuzz/harness.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString source = QString::fromUtf8(harness::bytes(data, size));
    const QByteArray earlier("kept\n");
    QByteArray database = earlier;
    QString error;
    if (!encipherReadingsSource(source, &database, &error)) {
        harness::check(!error.isEmpty() && error.at(0).isDigit(), "an error without its line");
        harness::check(database == earlier, "a refused source left part of its output");
        return 0;
    }
    harness::check(error.isEmpty(), "an error for an accepted source");
    harness::check(database.startsWith(earlier), "earlier output changed");
    for (int i = earlier.size(); i < database.size(); ++i) {
        const char c = database.at(i);
        harness::check(c == '\n' || (c >= 'a' && c <= 'p') || (c >= 'A' && c <= 'P'),
                       "an enciphered line holds a byte outside its alphabet");
    }

    resetTextTables();
    QByteArray lines = database.mid(earlier.size());
    QBuffer buffer(&lines);
    harness::check(loadReadingsDatabase(&buffer), "the enciphered source does not load");
    return 0;
}
