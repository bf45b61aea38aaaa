#include "settingsfile.h"

#include "base/apppaths.h"

#include <QByteArray>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const char SettingsMagic[] = "KESLNUMFILE";
constexpr quint32 NullLength = 0xffffffffu;
constexpr quint32 NullTime = 0xffffffffu;
constexpr quint32 MSecsPerDay = 86400000u;

// Time-spec codes of the version-12 date-time encoding.
enum : qint8 {
    SpecLocalUnknown = -1,
    SpecLocalStandard = 0,
    SpecLocalDst = 1,
    SpecUtc = 2,
    SpecOffsetFromUtc = 3,
    SpecTimeZone = 4
};

// Reads the settings stream value by value and checks the stream after each
// one, so that a cut or damaged file never yields half-read values, and a
// length larger than what the device still holds is refused before anything
// is allocated for it.
class FieldReader
{
public:
    explicit FieldReader(QIODevice *device)
        : m_device(device)
        , m_stream(device)
    {
        m_stream.setVersion(SettingsStreamVersion);
    }

    bool atEnd() const { return m_stream.atEnd(); }

    bool readString(QString *value)
    {
        QByteArray raw;
        if (!readBlock(&raw))
            return false;
        if (raw.size() % 2 != 0)
            return false;
        if (raw.isNull()) {
            *value = QString();
            return true;
        }
        QString text(raw.size() / 2, Qt::Uninitialized);
        const auto *bytes = reinterpret_cast<const uchar *>(raw.constData());
        for (int i = 0; i < text.size(); ++i)
            text[i] = QChar(ushort((bytes[2 * i] << 8) | bytes[2 * i + 1]));
        *value = text;
        return true;
    }

    bool readBytes(QByteArray *value) { return readBlock(value); }

    // The version-12 form: Julian day and milliseconds of the moment in UTC,
    // then the time-spec code that the moment is converted back to.
    bool readDateTime(QDateTime *value)
    {
        quint32 julianDay = 0;
        quint32 msecs = 0;
        qint8 spec = 0;
        m_stream >> julianDay >> msecs >> spec;
        if (!ok())
            return false;
        if (julianDay == 0 && msecs == NullTime) {
            *value = QDateTime();
            return true;
        }
        // Values that name no moment are read past, like Qt does, and give no
        // check time.
        *value = QDateTime();
        if (julianDay == 0 || msecs >= MSecsPerDay || spec < SpecLocalUnknown
            || spec > SpecTimeZone)
            return true;
        const QDateTime utc(QDate::fromJulianDay(julianDay),
                            QTime::fromMSecsSinceStartOfDay(int(msecs)), Qt::UTC);
        if (!utc.isValid())
            return true;
        switch (spec) {
        case SpecUtc:
            *value = utc;
            break;
        case SpecOffsetFromUtc:
            *value = utc.toOffsetFromUtc(0);
            break;
        default: // a named zone is not stored in this form; it reads as local time
            *value = utc.toLocalTime();
            break;
        }
        return true;
    }

    bool readBool(bool *value)
    {
        qint8 byte = 0;
        m_stream >> byte;
        if (!ok())
            return false;
        *value = byte != 0;
        return true;
    }

    bool readInt(int *value)
    {
        qint32 number = 0;
        m_stream >> number;
        if (!ok())
            return false;
        *value = number;
        return true;
    }

private:
    bool ok() const { return m_stream.status() == QDataStream::Ok; }

    bool readBlock(QByteArray *value)
    {
        quint32 length = 0;
        m_stream >> length;
        if (!ok())
            return false;
        if (length == NullLength) {
            *value = QByteArray();
            return true;
        }
        if (qint64(length) > m_device->bytesAvailable())
            return false;
        QByteArray raw(int(length), Qt::Uninitialized);
        if (m_stream.readRawData(raw.data(), int(length)) != int(length))
            return false;
        *value = raw;
        return true;
    }

    QIODevice *m_device;
    QDataStream m_stream;
};

} // namespace

void AppSettings::takeGlobSettings()
{
    for (int i = 0; i < GlobSettingsCount; ++i)
        calcFlags[size_t(i)] = m_GlobSettings[i];
}

void AppSettings::applyGlobSettings() const
{
    for (int i = 0; i < GlobSettingsCount; ++i)
        m_GlobSettings[i] = calcFlags[size_t(i)];
}

bool operator==(const AppSettings &a, const AppSettings &b)
{
    return a.lastCheck == b.lastCheck && a.lastCheck.isNull() == b.lastCheck.isNull()
        && a.calcFlags == b.calcFlags && a.hideStartDialog == b.hideStartDialog
        && a.schemeIndex == b.schemeIndex && a.dayFirst == b.dayFirst
        && a.masterNumbersMode == b.masterNumbersMode;
}

QString settingsFilePath()
{
    return getDataLocation() + QStringLiteral("/zqnum_prem.cfg");
}

SettingsReadResult readSettings(QIODevice *device, AppSettings *settings)
{
    if (device->size() - device->pos() > MaxSettingsFileSize)
        return SettingsReadResult::WrongMagic;
    FieldReader reader(device);
    // The magic takes 22 bytes; a string of any other length is not this
    // file, and is refused without reading it.
    const QByteArray head = device->peek(4);
    if (head.size() == 4) {
        const quint32 length = (quint32(uchar(head[0])) << 24) | (quint32(uchar(head[1])) << 16)
            | (quint32(uchar(head[2])) << 8) | quint32(uchar(head[3]));
        if (length != 2 * (sizeof(SettingsMagic) - 1))
            return SettingsReadResult::WrongMagic;
    }
    QString magic;
    if (!reader.readString(&magic) || magic != QLatin1String(SettingsMagic))
        return SettingsReadResult::WrongMagic;

    // A short or damaged file gives what it holds up to the damage. The field
    // that breaks gets its type's empty value and the stream is spent from
    // there on: the check time is always read, so it ends up with none, and
    // the later fields keep the caller's values.
    QString reserved;
    if (!reader.readString(&reserved)) {
        settings->lastCheck = QDateTime();
        return SettingsReadResult::Damaged;
    }
    if (!reader.readDateTime(&settings->lastCheck)) {
        settings->lastCheck = QDateTime();
        return SettingsReadResult::Damaged;
    }
    QByteArray flags;
    if (!reader.readBytes(&flags))
        return SettingsReadResult::Damaged;
    if (flags.size() == GlobSettingsCount) {
        for (int i = 0; i < GlobSettingsCount; ++i)
            settings->calcFlags[size_t(i)] = uchar(flags[i]);
    }

    // Later versions added these fields one by one; a file may end before any
    // of them, and then the caller's values stay.
    const auto readOptional = [&reader](auto read, auto *value) {
        if (reader.atEnd())
            return true;
        if ((reader.*read)(value))
            return true;
        *value = {};
        return false;
    };
    if (!readOptional(&FieldReader::readBool, &settings->hideStartDialog)
        || !readOptional(&FieldReader::readInt, &settings->schemeIndex)
        || !readOptional(&FieldReader::readBool, &settings->dayFirst)
        || !readOptional(&FieldReader::readInt, &settings->masterNumbersMode))
        return SettingsReadResult::Damaged;
    return SettingsReadResult::Read;
}

bool writeSettings(QIODevice *device, const AppSettings &settings)
{
    QDataStream stream(device);
    stream.setVersion(SettingsStreamVersion);
    QByteArray flags(GlobSettingsCount, Qt::Uninitialized);
    for (int i = 0; i < GlobSettingsCount; ++i)
        flags[i] = char(settings.calcFlags[size_t(i)]);
    stream << QString::fromLatin1(SettingsMagic) << QString(QLatin1String("")) << settings.lastCheck
           << flags << settings.hideStartDialog << qint32(settings.schemeIndex) << settings.dayFirst
           << qint32(settings.masterNumbersMode);
    return stream.status() == QDataStream::Ok;
}

SettingsReadResult loadSettingsFile(const QString &path, AppSettings *settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        settings->lastCheck = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::LocalTime);
        return SettingsReadResult::NotOpened;
    }
    return readSettings(&file, settings);
}

bool saveSettingsFile(const QString &path, const AppSettings &settings, QString *errorText)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    if (!writeSettings(&file, settings)) {
        file.cancelWriting();
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    if (!file.commit()) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    return true;
}
