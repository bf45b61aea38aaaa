// A people file (*.num): any bytes give the inputs of its first line or
// "Wrong file format!", and a saved file opens as what was saved.

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

    // The first save simplifies the names and may keep override entries
    // that the shorter name no longer carries, which the next reading drops;
    // from the second save on, opening and saving changes nothing.
    QByteArray saved;
    PersonInputs inputs = content.inputs;
    for (int round = 0; round < 3; ++round) {
        const QByteArray previous = saved;
        harness::check(writePeopleFile(path, inputs), "saving the inputs read");
        saved = harness::readFile(path);
        const PeopleFileContent again = readPeopleFile(path);
        harness::check(again.status == PeopleFileStatus::Ok && again.fieldCount == PeopleFieldCount,
                       "the saved file does not open");
        inputs = again.inputs;
        if (round == 2)
            harness::check(saved == previous, "saved file changes when opened and saved");
    }
    return 0;
}
