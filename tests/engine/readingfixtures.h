#pragma once

#include "engine/readingsdb.h"
#include "engine/texttables.h"
#include "layouts/reportsetting.h"
#include "tests/support/testenvironment.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

// Helpers shared by the reading tests: a readings database whose entries are
// markers ("LP-7" is entry 7 of the life path texts), and views of a
// document that show which entries and headings it holds, in order.
namespace ReadingTest {

// Loads tests/data/engine/markers.txt into the text tables, enciphered as the
// program's database is.
inline bool loadMarkerDatabase()
{
    QFile source(TestEnvironment::dataPath(QStringLiteral("engine/markers.txt")));
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray enciphered;
    QString error;
    if (!encipherReadingsSource(QString::fromUtf8(source.readAll()), &enciphered, &error))
        return false;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("markers.dat"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(enciphered) != enciphered.size())
        return false;
    out.close();
    resetTextTables();
    return loadReadingsDatabase(path);
}

// The markers of a document in order of appearance.
inline QStringList markers(const QString &html)
{
    static const QRegularExpression marker(QStringLiteral("(?<![A-Za-z0-9])[A-Z]+-\\d+(?!\\d)"));
    QStringList found;
    auto it = marker.globalMatch(html);
    while (it.hasNext())
        found << it.next().captured(0);
    return found;
}

// The markers of one topic ("KL" gives KL-0, KL-3, ...).
inline QStringList markers(const QString &html, const QString &topic)
{
    QStringList found;
    for (const QString &m : markers(html)) {
        if (m.startsWith(topic + QLatin1Char('-')))
            found << m;
    }
    return found;
}

inline QString plainText(QString html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    return html.remove(tag);
}

// The text of every heading, tags removed.
inline QStringList headings(const QString &html)
{
    static const QRegularExpression h2(QStringLiteral("<h2>(.*?)</h2>"));
    QStringList found;
    auto it = h2.globalMatch(html);
    while (it.hasNext())
        found << plainText(it.next().captured(1));
    return found;
}

// The first markup in html that embeds a frame or an object or runs script:
// such an element, or an event handler in a tag; empty when there is none.
inline QString activeMarkup(const QString &html)
{
    static const QRegularExpression active(
        QStringLiteral(
            "<(script|i?frame|frameset|object|embed)\\b|<[a-z/][^>]*[\\s/\"']on[a-z]*\\s*="),
        QRegularExpression::CaseInsensitiveOption);
    return active.match(html).captured(0);
}

// Source of each picture file the document refers to, in order.
inline QStringList pictureFiles(const QString &html)
{
    static const QRegularExpression file(
        QStringLiteral("<img src=\"file:///[^\"]*?(res\\d\\d\\.jpg)\""));
    QStringList found;
    auto it = file.globalMatch(html);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}

inline repItem item(int type, bool defaultStyle = true, int kind = RKNumerology)
{
    repItem i;
    i.type = quint32(type);
    i.kind = kind;
    i.defaultStyle = defaultStyle;
    return i;
}

// A layout whose Numerology list holds items of the given types.
inline reportSetting layout(const QList<int> &types, bool defaultStyle = true)
{
    reportSetting setting;
    setting.name = QStringLiteral("Test");
    for (int t : types)
        setting.items[RKNumerology] << item(t, defaultStyle);
    return setting;
}

inline QList<int> everyNumerologyType()
{
    QList<int> types;
    for (int t = 0; t <= 35; ++t)
        types << t;
    return types;
}

inline QImage redSquare()
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

} // namespace ReadingTest
