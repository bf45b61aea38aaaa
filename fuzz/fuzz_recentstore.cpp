// The recent-people store: any bytes give at most the recent list's 15-field
// records or the older one-person form, and stored records read back as
// stored.

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
    harness::check(content.records.size() <= RecentPeopleLimit,
                   "more records than the recent list keeps");
    if (content.oldForm)
        return 0;

    // As with people files, the first store simplifies the names; from the
    // second on, reading and storing changes nothing.
    const QDate forecast(2024, 5, 17);
    QByteArray stored;
    QVector<PersonRecord> records = content.records;
    for (int round = 0; round < 3; ++round) {
        const QByteArray previous = stored;
        harness::check(writeRecentStore(path, records, forecast), "storing the records read");
        stored = harness::readFile(path);
        const RecentStoreContent again = readRecentStore(path);
        harness::check(again.status == PeopleFileStatus::Ok && !again.oldForm
                           && again.records.size() == records.size(),
                       "the stored records do not read back");
        records = again.records;
        if (round == 2)
            harness::check(stored == previous, "store changes when read and stored");
    }
    return 0;
}
