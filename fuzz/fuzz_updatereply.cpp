// The update host's reply body: any bytes give a version or -1, nothing else.

#include "app/updatecheck.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), int(size));
    if (CUpdateCheck::versionFromBody(body) < -1)
        std::abort();
    return 0;
}
