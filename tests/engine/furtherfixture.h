#pragma once

// Shared by the tests of the psycho-matrix, compatibility, pet, celebrity and
// express-chart readings: the marker database, layouts made of bare items and
// small text helpers.

#include "engine/readingsdb.h"
#include "engine/reporttools.h"
#include "engine/texttables.h"
#include "layouts/reportsetting.h"

#include "tests/support/testenvironment.h"

#include <QFile>
#include <QTemporaryDir>

namespace FurtherFixture {

// Enciphers tests/data/engine/further-readings.txt and loads it through the
// program's loader into empty text tables.
inline bool loadMarkerDatabase()
{
    resetTextTables();
    QFile source(TestEnvironment::dataPath(QStringLiteral("engine/further-readings.txt")));
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray database;
    QString error;
    if (!encipherReadingsSource(QString::fromUtf8(source.readAll()), &database, &error))
        return false;
    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("eng.dat")));
    if (!out.open(QIODevice::WriteOnly) || out.write(database) != database.size())
        return false;
    out.close();
    return loadReadingsDatabase(out.fileName());
}

// A marker text as the loader stores it.
inline QString marker(const char *text)
{
    return QLatin1String("<p>") + QLatin1String(text) + QLatin1String("</p>");
}

inline repItem item(ReportKind kind, int type, bool defaultStyle = true)
{
    repItem i;
    i.kind = kind;
    i.type = quint32(type);
    i.defaultStyle = defaultStyle;
    i.title = QStringLiteral("My title %1").arg(type);
    return i;
}

inline reportSetting layout(ReportKind kind, const QList<int> &types, bool defaultStyle = true)
{
    reportSetting setting;
    setting.name = QStringLiteral("test");
    for (int type : types)
        setting.items[kind] << item(kind, type, defaultStyle);
    return setting;
}

// A custom text as the layout manager stores it.
inline QString customHtml(const QString &text)
{
    return QLatin1String("<html><head></head><body><!-- md --><br><p>") + text
        + QLatin1String("</p></body></html>");
}

// The document of a reading that wrote no section.
inline QString emptyDocument(const QString &title)
{
    CReportTools doc;
    doc.startDoc(title);
    doc.endDoc();
    return doc.reportHtml;
}

inline int occurrences(const QString &haystack, const QString &needle)
{
    return haystack.count(needle);
}

} // namespace FurtherFixture
