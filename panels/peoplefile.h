#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

// People files (*.num) and the recent-people store (zqnum6.num): UTF-8 text,
// one person per line, lines joined by a single "\n", fields joined by ","
// without quoting (the writer removes every comma from the texts), dates as
// "dd.MM.yyyy", letter-override lists as one digit per letter position.
//
// Current form, 15 fields: birth date, full name, short name, gender, partner
// birth date, partner full name, partner short name, pet birth date, pet name,
// forecast date, the four override lists (full name, short name, partner full
// name, partner short name) and the Chaldean flag. Field 3 is the gender
// combo index in a people file ("0" Female, "1" Male) but the female flag in
// the recent store ("1" Female, "0" Male); each reader expects its writer's
// encoding. Older people files have the first 10 fields only.

// One recent person, as the calculation keeps them (newest first).
struct PersonRecord
{
    QString fullName; // normalised
    QString shortName;
    QDate birthDate;
    bool female = false;
    QString partnerFullName;
    QString partnerShortName;
    QDate partnerBirthDate;
    QDate petBirthDate;
    QString petName;
    QVector<int> nameOverrides; // 1 vowel, 2 consonant, 0 not a letter
    QVector<int> shortNameOverrides;
    QVector<int> partnerNameOverrides;
    QVector<int> partnerShortNameOverrides;
    bool chaldean = false;
};

bool operator==(const PersonRecord &a, const PersonRecord &b);
inline bool operator!=(const PersonRecord &a, const PersonRecord &b)
{
    return !(a == b);
}

// The same person: equal names, short names and birth dates of the person and
// the partner (exact, case-sensitive). Gender, pet and letters may differ.
bool isSamePerson(const PersonRecord &a, const PersonRecord &b);

constexpr int RecentPeopleLimit = 8;

// Puts record first: an entry of the same person is replaced and moved to the
// front; otherwise, when the list already holds RecentPeopleLimit or more,
// the last entry (one only) gives way.
void addRecentPerson(QVector<PersonRecord> *list, const PersonRecord &record);

// What the input panel holds, as a people file stores it. Names are as typed.
struct PersonInputs
{
    QDate birthDate;
    QString fullName;
    QString shortName;
    int genderIndex = 0; // 0 "Female", 1 "Male"
    QDate partnerBirthDate;
    QString partnerFullName;
    QString partnerShortName;
    QDate petBirthDate;
    QString petName;
    QDate forecastDate;
    QVector<int> nameOverrides;
    QVector<int> shortNameOverrides;
    QVector<int> partnerNameOverrides;
    QVector<int> partnerShortNameOverrides;
    bool chaldean = false;
};

constexpr int PeopleFieldCount = 15;
constexpr int OldPeopleFieldCount = 10;

// Neither file is ever near this size: a larger people file is refused
// unread, and no line of either file is read further.
constexpr qint64 MaxPeopleFileSize = 4 * 1024 * 1024;
// The recent store is read this far at most: far enough for the records the
// list keeps, each as long as a line may be.
constexpr qint64 MaxRecentStoreRead = RecentPeopleLimit * MaxPeopleFileSize;

// getDataLocation() + "/zqnum6.num".
QString recentStorePath();

// The file a name chosen in a save dialog is written to: a name that ends in
// "." and one of the suffixes stays; any other gets "." and the first suffix
// appended ("x.num" saved as HTML becomes "x.num.html"), so that a file of
// one kind never takes the place of a file of another.
QString pathWithSuffix(const QString &path, const QStringList &suffixes,
                       Qt::CaseSensitivity sensitivity);

// The file a people file chosen as path is written to: a name that does not
// end in ".num" (in that case) gets it ("John.Smith" becomes
// "John.Smith.num"), so that the Open dialog, which lists "*.num" only,
// finds it again.
QString peopleFilePath(const QString &path);

// A text as a field: commas removed, white space simplified.
QString peopleFieldText(const QString &text);
// At most maxEntries digits; entries other than 0, 1 and 2 are written as 0
// so that every position stays one character.
QString overridesFieldText(const QVector<int> &overrides, int maxEntries);
// One entry per character (a non-digit reads as 0); empty when the field is
// longer than twice the name it belongs to.
QVector<int> overridesFromField(const QString &field, const QString &name);

// One line of a people file from the inputs; each override list holds at most
// two entries more than its typed name has characters.
QString peopleFileLine(const PersonInputs &inputs);
// One line of the recent store; the full-name list is cut to the full name's
// length, the other lists are written whole.
QString recentStoreLine(const PersonRecord &record, const QDate &forecastDate);

// A record from the 15 fields of a recent-store line (female: field 3 is not 0).
PersonRecord personRecordFromFields(const QStringList &fields);
// Inputs from the fields of a people-file line of 15 or 10 fields; with 15,
// "Female" when field 3 reads as 0; with 10, field 3 when it is 0 or 1, else
// "Female", and no override lists.
PersonInputs personInputsFromFields(const QStringList &fields);

enum class PeopleFileStatus {
    Ok,
    CannotOpen, // "Can't open file!"
    WrongFormat, // "Wrong file format!"
    CannotWrite // "Can't create file!\r\n" + path
};

// The message the main window shows for a status (empty for Ok).
QString peopleFileMessage(PeopleFileStatus status, const QString &path);

struct PeopleFileContent
{
    PeopleFileStatus status = PeopleFileStatus::CannotOpen;
    int fieldCount = 0; // 15 or 10 when status is Ok
    PersonInputs inputs; // from the first line
};

// Reads the first line of a people file. A first line of other than 15 or 10
// fields, or a file larger than MaxPeopleFileSize, is WrongFormat.
PeopleFileContent readPeopleFile(const QString &path);

struct RecentStoreContent
{
    PeopleFileStatus status = PeopleFileStatus::CannotOpen;
    // The first RecentPeopleLimit 15-field lines, in file order: the list
    // keeps no more, and the rest of the file is not read. Lines of any
    // other field count, and lines longer than MaxPeopleFileSize, are
    // skipped, so one damaged line never costs the others; a store of any
    // size gives the records within its first MaxRecentStoreRead bytes.
    QVector<PersonRecord> records;
    // A store of the older form (first line of 10 fields) holds the inputs of
    // one person instead of records.
    bool oldForm = false;
    PersonInputs oldInputs;
};

RecentStoreContent readRecentStore(const QString &path);

// Both replace the file only once the new one is complete; false (with the
// reason in errorText when given) leaves the old file as it was.
bool writePeopleFile(const QString &path, const PersonInputs &inputs, QString *errorText = nullptr);
// An empty list writes an empty file.
bool writeRecentStore(const QString &path, const QVector<PersonRecord> &records,
                      const QDate &forecastDate, QString *errorText = nullptr);
