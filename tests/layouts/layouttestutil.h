#pragma once

#include "layouts/reportsetting.h"
#include "layouts/sectionmarkup.h"

#include <QFile>
#include <QString>

// Helpers shared by the layout file tests.
namespace LayoutTest {

// setting as the reader gives it back: its texts through the markup filter.
inline reportSetting withFilteredTexts(reportSetting setting)
{
    for (QList<repItem> &items : setting.items) {
        for (repItem &item : items) {
            for (QString &text : item.texts)
                text = SectionMarkup::filtered(text);
        }
    }
    return setting;
}

// The first field in which two items differ, or an empty string.
inline QString itemDifference(const repItem &a, const repItem &b)
{
    if (a.type != b.type)
        return QStringLiteral("type");
    if (a.name != b.name || a.name.isNull() != b.name.isNull())
        return QStringLiteral("name");
    if (a.kind != b.kind)
        return QStringLiteral("kind");
    if (!(a.headerFont == b.headerFont))
        return QStringLiteral("headerFont");
    if (!(a.contentFont == b.contentFont))
        return QStringLiteral("contentFont");
    if (a.headerColor != b.headerColor)
        return QStringLiteral("headerColor");
    if (a.contentColor != b.contentColor)
        return QStringLiteral("contentColor");
    if (a.defaultStyle != b.defaultStyle)
        return QStringLiteral("defaultStyle");
    if (a.texts != b.texts)
        return QStringLiteral("texts");
    for (int i = 0; i < a.texts.size(); ++i) {
        if (a.texts.at(i).isNull() != b.texts.at(i).isNull())
            return QStringLiteral("texts (null)");
    }
    if (a.images.size() != b.images.size())
        return QStringLiteral("images (count)");
    for (int i = 0; i < a.images.size(); ++i) {
        const QImage &x = a.images.at(i);
        const QImage &y = b.images.at(i);
        if (x.isNull() != y.isNull() || x.size() != y.size()
            || x.convertToFormat(QImage::Format_ARGB32) != y.convertToFormat(QImage::Format_ARGB32))
            return QStringLiteral("images[%1]").arg(i);
    }
    if (a.useStdText != b.useStdText)
        return QStringLiteral("useStdText");
    if (a.title != b.title)
        return QStringLiteral("title");
    if (a.options != b.options)
        return QStringLiteral("options");
    return QString();
}

inline QString settingDifference(const reportSetting &a, const reportSetting &b)
{
    if (a.name != b.name)
        return QStringLiteral("name");
    for (int kind = 0; kind < ReportKindCount; ++kind) {
        if (a.items[kind].size() != b.items[kind].size())
            return QStringLiteral("kind %1: item count").arg(kind);
        for (int i = 0; i < a.items[kind].size(); ++i) {
            const QString diff = itemDifference(a.items[kind].at(i), b.items[kind].at(i));
            if (!diff.isEmpty())
                return QStringLiteral("kind %1 item %2: %3").arg(kind).arg(i).arg(diff);
        }
    }
    if (a.flags != b.flags)
        return QStringLiteral("flags");
    return QString();
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace LayoutTest
