// The readings database eng.dat as shipped: any bytes load, and every
// celebrity record keeps the packed form that the readings unpack.

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
    // The loader appends to what an earlier load left; each input starts clean
    // so that the tables reflect this input only.
    resetTextTables();
    QByteArray input = harness::bytes(data, size);
    QBuffer buffer(&input);
    harness::check(loadReadingsDatabase(&buffer), "a readable database is refused");
    for (int slot = 0; slot < kCelebritySlots; ++slot) {
        const int packed = numerCelBDT[slot];
        harness::check(packed >= 0, "a celebrity date packs outside its 31 bits");
    }
    return 0;
}
