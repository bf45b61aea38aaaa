#include "peoplefile.h"

#include "base/apppaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString DateFormat = QStringLiteral("dd.MM.yyyy");

QString dateField(const QDate &date)
{
    return date.toString(DateFormat);
}

QDate dateFromField(const QString &field)
{
    return QDate::fromString(field, DateFormat);
}

QString flagField(bool flag)
{
    return flag ? QStringLiteral("1") : QStringLiteral("0");
}

// Hands the lines of an open file, as UTF-8 text (CR LF read as LF, a
// leading byte-order mark dropped, empty lines included), to take until it
// returns false, so that the rest of a store is never decoded. No line takes
// more memory than MaxPeopleFileSize bytes: a longer one is handed over
// empty. Reading ends once the lines cost maxBytes, each its bytes but at
// least LineCost, as a file of empty lines costs more than its size.
template<typename Take> void readLines(QFile &file, qint64 maxBytes, Take take)
{
    constexpr qint64 LineCost = 64;
    constexpr int SkipChunk = 64 * 1024;
    // readLine reads at most the buffer's size less one, and adds a zero.
    QByteArray buffer(int(MaxPeopleFileSize) + 2, Qt::Uninitialized);
    const char *data = buffer.constData();
    qint64 left = maxBytes;
    bool first = true;
    // An empty file still has one (empty) line.
    do {
        const qint64 got = file.readLine(buffer.data(), buffer.size());
        qint64 read = qMax<qint64>(0, got);
        qint64 length = read;
        if (read > MaxPeopleFileSize && data[read - 1] != '\n') {
            // Passed over to its end, as far as the budget goes.
            length = 0;
            bool ended = file.atEnd();
            while (!ended && read < left) {
                const qint64 more = file.readLine(buffer.data(), SkipChunk + 1);
                if (more <= 0)
                    return;
                read += more;
                ended = data[more - 1] == '\n' || file.atEnd();
            }
            if (!ended)
                return;
        }
        if (length > 0 && data[length - 1] == '\n')
            --length;
        if (length > 0 && data[length - 1] == '\r')
            --length;
        const int bom = first && length >= 3 && qstrncmp(data, "\xef\xbb\xbf", 3) == 0 ? 3 : 0;
        first = false;
        if (!take(QString::fromUtf8(data + bom, int(length - bom))) || got < 0)
            return;
        left -= qMax(read, LineCost);
    } while (!file.atEnd() && left > 0);
}

QStringList splitFields(const QString &line)
{
    return line.split(QLatin1Char(','), Qt::KeepEmptyParts);
}

bool writeText(const QString &path, const QString &text, QString *errorText)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (errorText)
        *errorText = file.errorString();
    return false;
}

} // namespace

bool operator==(const PersonRecord &a, const PersonRecord &b)
{
    return isSamePerson(a, b) && a.female == b.female && a.petBirthDate == b.petBirthDate
        && a.petName == b.petName && a.nameOverrides == b.nameOverrides
        && a.shortNameOverrides == b.shortNameOverrides
        && a.partnerNameOverrides == b.partnerNameOverrides
        && a.partnerShortNameOverrides == b.partnerShortNameOverrides && a.chaldean == b.chaldean;
}

bool isSamePerson(const PersonRecord &a, const PersonRecord &b)
{
    return a.fullName == b.fullName && a.shortName == b.shortName && a.birthDate == b.birthDate
        && a.partnerFullName == b.partnerFullName && a.partnerShortName == b.partnerShortName
        && a.partnerBirthDate == b.partnerBirthDate;
}

void addRecentPerson(QVector<PersonRecord> *list, const PersonRecord &record)
{
    for (int i = 0; i < list->size(); ++i) {
        if (isSamePerson(list->at(i), record)) {
            list->remove(i);
            list->prepend(record);
            return;
        }
    }
    if (list->size() >= RecentPeopleLimit)
        list->removeLast();
    list->prepend(record);
}

QString recentStorePath()
{
    return getDataLocation() + QStringLiteral("/zqnum6.num");
}

QString pathWithSuffix(const QString &path, const QStringList &suffixes,
                       Qt::CaseSensitivity sensitivity)
{
    for (const QString &suffix : suffixes)
        if (path.endsWith(QLatin1Char('.') + suffix, sensitivity))
            return path;
    return suffixes.isEmpty() ? path : path + QLatin1Char('.') + suffixes.first();
}

QString peopleFilePath(const QString &path)
{
    return pathWithSuffix(path, {QStringLiteral("num")}, Qt::CaseSensitive);
}

QString peopleFieldText(const QString &text)
{
    QString field = text;
    field.remove(QLatin1Char(','));
    return field.simplified();
}

QString overridesFieldText(const QVector<int> &overrides, int maxEntries)
{
    const int count = qMin(overrides.size(), qMax(0, maxEntries));
    QString field;
    field.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int entry = overrides.at(i);
        field.append(QLatin1Char(entry >= 0 && entry <= 2 ? char('0' + entry) : '0'));
    }
    return field;
}

QVector<int> overridesFromField(const QString &field, const QString &name)
{
    QVector<int> overrides;
    if (field.size() > 2 * name.size())
        return overrides;
    overrides.reserve(field.size());
    for (const QChar c : field)
        overrides.append(c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0);
    return overrides;
}

QString peopleFileLine(const PersonInputs &inputs)
{
    const QStringList fields {
        dateField(inputs.birthDate),
        peopleFieldText(inputs.fullName),
        peopleFieldText(inputs.shortName),
        QString::number(inputs.genderIndex),
        dateField(inputs.partnerBirthDate),
        peopleFieldText(inputs.partnerFullName),
        peopleFieldText(inputs.partnerShortName),
        dateField(inputs.petBirthDate),
        peopleFieldText(inputs.petName),
        dateField(inputs.forecastDate),
        overridesFieldText(inputs.nameOverrides, inputs.fullName.size() + 2),
        overridesFieldText(inputs.shortNameOverrides, inputs.shortName.size() + 2),
        overridesFieldText(inputs.partnerNameOverrides, inputs.partnerFullName.size() + 2),
        overridesFieldText(inputs.partnerShortNameOverrides, inputs.partnerShortName.size() + 2),
        flagField(inputs.chaldean),
    };
    return fields.join(QLatin1Char(','));
}

QString recentStoreLine(const PersonRecord &record, const QDate &forecastDate)
{
    const QStringList fields {
        dateField(record.birthDate),
        peopleFieldText(record.fullName),
        peopleFieldText(record.shortName),
        flagField(record.female),
        dateField(record.partnerBirthDate),
        peopleFieldText(record.partnerFullName),
        peopleFieldText(record.partnerShortName),
        dateField(record.petBirthDate),
        peopleFieldText(record.petName),
        dateField(forecastDate),
        overridesFieldText(record.nameOverrides, record.fullName.size()),
        overridesFieldText(record.shortNameOverrides, record.shortNameOverrides.size()),
        overridesFieldText(record.partnerNameOverrides, record.partnerNameOverrides.size()),
        overridesFieldText(record.partnerShortNameOverrides,
                           record.partnerShortNameOverrides.size()),
        flagField(record.chaldean),
    };
    return fields.join(QLatin1Char(','));
}

PersonRecord personRecordFromFields(const QStringList &fields)
{
    PersonRecord record;
    if (fields.size() != PeopleFieldCount)
        return record;
    record.birthDate = dateFromField(fields.at(0));
    record.fullName = fields.at(1);
    record.shortName = fields.at(2);
    record.female = fields.at(3).toInt() != 0;
    record.partnerBirthDate = dateFromField(fields.at(4));
    record.partnerFullName = fields.at(5);
    record.partnerShortName = fields.at(6);
    record.petBirthDate = dateFromField(fields.at(7));
    record.petName = fields.at(8);
    record.nameOverrides = overridesFromField(fields.at(10), fields.at(1));
    record.shortNameOverrides = overridesFromField(fields.at(11), fields.at(2));
    record.partnerNameOverrides = overridesFromField(fields.at(12), fields.at(5));
    record.partnerShortNameOverrides = overridesFromField(fields.at(13), fields.at(6));
    record.chaldean = fields.at(14).toInt() != 0;
    return record;
}

PersonInputs personInputsFromFields(const QStringList &fields)
{
    PersonInputs inputs;
    if (fields.size() != PeopleFieldCount && fields.size() != OldPeopleFieldCount)
        return inputs;
    inputs.birthDate = dateFromField(fields.at(0));
    inputs.fullName = fields.at(1);
    inputs.shortName = fields.at(2);
    const int gender = fields.at(3).toInt();
    inputs.partnerBirthDate = dateFromField(fields.at(4));
    inputs.partnerFullName = fields.at(5);
    inputs.partnerShortName = fields.at(6);
    inputs.petBirthDate = dateFromField(fields.at(7));
    inputs.petName = fields.at(8);
    inputs.forecastDate = dateFromField(fields.at(9));
    if (fields.size() == OldPeopleFieldCount) {
        inputs.genderIndex = gender == 0 || gender == 1 ? gender : 0;
        return inputs;
    }
    const PersonRecord record = personRecordFromFields(fields);
    inputs.genderIndex = gender == 0 ? 0 : 1;
    inputs.nameOverrides = record.nameOverrides;
    inputs.shortNameOverrides = record.shortNameOverrides;
    inputs.partnerNameOverrides = record.partnerNameOverrides;
    inputs.partnerShortNameOverrides = record.partnerShortNameOverrides;
    inputs.chaldean = record.chaldean;
    return inputs;
}

QString peopleFileMessage(PeopleFileStatus status, const QString &path)
{
    switch (status) {
    case PeopleFileStatus::Ok:
        break;
    case PeopleFileStatus::CannotOpen:
        return QStringLiteral("Can't open file!");
    case PeopleFileStatus::WrongFormat:
        return QStringLiteral("Wrong file format!");
    case PeopleFileStatus::CannotWrite:
        return QStringLiteral("Can't create file!\r\n") + path;
    }
    return QString();
}

PeopleFileContent readPeopleFile(const QString &path)
{
    PeopleFileContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    // A people file holds one person: a larger one is no people file.
    if (file.size() > MaxPeopleFileSize) {
        content.status = PeopleFileStatus::WrongFormat;
        return content;
    }
    QString first;
    readLines(file, MaxPeopleFileSize, [&first](const QString &line) {
        first = line;
        return false;
    });
    content.status = PeopleFileStatus::Ok;
    const QStringList fields = splitFields(first);
    if (fields.size() != PeopleFieldCount && fields.size() != OldPeopleFieldCount) {
        content.status = PeopleFileStatus::WrongFormat;
        return content;
    }
    content.fieldCount = fields.size();
    content.inputs = personInputsFromFields(fields);
    return content;
}

RecentStoreContent readRecentStore(const QString &path)
{
    RecentStoreContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return content;
    content.status = PeopleFileStatus::Ok;
    bool first = true;
    readLines(file, MaxRecentStoreRead, [&content, &first](const QString &line) {
        // Only lines of exactly 15 fields are records; counting commas first
        // keeps the many other lines a damaged store may hold from being split.
        const int commas = int(line.count(QLatin1Char(',')));
        if (first && commas == OldPeopleFieldCount - 1) {
            content.oldForm = true;
            content.oldInputs = personInputsFromFields(splitFields(line));
            return false;
        }
        first = false;
        if (commas == PeopleFieldCount - 1)
            content.records.append(personRecordFromFields(splitFields(line)));
        return content.records.size() < RecentPeopleLimit;
    });
    return content;
}

bool writePeopleFile(const QString &path, const PersonInputs &inputs, QString *errorText)
{
    return writeText(path, peopleFileLine(inputs), errorText);
}

bool writeRecentStore(const QString &path, const QVector<PersonRecord> &records,
                      const QDate &forecastDate, QString *errorText)
{
    QDir().mkpath(QFileInfo(path).path()); // the data folder, at the first close
    QStringList lines;
    lines.reserve(records.size());
    for (const PersonRecord &record : records)
        lines.append(recentStoreLine(record, forecastDate));
    return writeText(path, lines.join(QLatin1Char('\n')), errorText);
}
