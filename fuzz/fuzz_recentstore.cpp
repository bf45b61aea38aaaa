// The recent-people store: any bytes give the 15-field records or the older
// one-person form, and storing the records read gives the same records back.

#include "fuzz/harness.h"
#include "panels/peoplefile.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = harness::scratchFile(QStringLiteral("zqnum6.num"));
    const QByteArray input = harness::bytes(data, size);
    harness::check(harness::writeFile(path, input), "scratch file");

    const RecentStoreContent content = readRecentStore(path);
    if (content.status != PeopleFileStatus::Ok) {
        harness::check(content.status == PeopleFileStatus::WrongFormat,
                       "a readable store is refused with another status than the format's");
        return 0;
    }
    harness::check(!content.oldForm || content.records.isEmpty(),
                   "an old-form store also gives records");
    harness::check(content.records.size() <= input.count('\n') + 1, "more records than lines");
    if (content.oldForm)
        return 0;

    const QDate forecast(2024, 5, 17);
    harness::check(writeRecentStore(path, content.records, forecast), "storing the records read");
    const QByteArray stored = harness::readFile(path);
    const RecentStoreContent again = readRecentStore(path);
    harness::check(again.status == PeopleFileStatus::Ok && !again.oldForm
                       && again.records.size() == content.records.size(),
                   "the stored records do not read back");
    harness::check(writeRecentStore(path, again.records, forecast), "storing the records again");
    harness::check(harness::readFile(path) == stored, "store changes when read and stored");
    return 0;
}
