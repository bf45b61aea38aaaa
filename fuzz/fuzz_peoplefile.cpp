// A people file (*.num): any bytes give the inputs of its first line or
// "Wrong file format!", and what the reader takes the writer gives back.

#include "fuzz/harness.h"
#include "panels/peoplefile.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    harness::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = harness::scratchFile(QStringLiteral("person.num"));
    harness::check(harness::writeFile(path, harness::bytes(data, size)), "scratch file");

    const PeopleFileContent content = readPeopleFile(path);
    if (content.status != PeopleFileStatus::Ok) {
        harness::check(content.status == PeopleFileStatus::WrongFormat,
                       "a readable file is refused with another status than the format's");
        return 0;
    }
    harness::check(content.fieldCount == PeopleFieldCount
                       || content.fieldCount == OldPeopleFieldCount,
                   "an accepted line has an unknown field count");

    // Saving what was read and reading it again reaches a fixed point: the
    // file a user saves opens as the same person.
    harness::check(writePeopleFile(path, content.inputs), "saving the inputs read");
    const QByteArray saved = harness::readFile(path);
    const PeopleFileContent again = readPeopleFile(path);
    harness::check(again.status == PeopleFileStatus::Ok && again.fieldCount == PeopleFieldCount,
                   "the saved file does not open");
    harness::check(writePeopleFile(path, again.inputs), "saving the inputs read again");
    harness::check(harness::readFile(path) == saved, "saved file changes when opened and saved");
    return 0;
}
