#pragma once

#include "layouts/defaultlayout.h"
#include "layouts/reportsetting.h"

#include <QBuffer>
#include <QDataStream>
#include <QPainter>

// Settings and old-format files that the layout tests read and write.
namespace LayoutFixture {

// A small picture with transparent and opaque pixels.
inline QImage picture()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(200, 30, 40, 255));
    image.setPixel(4, 2, qRgba(0, 0, 255, 128));
    image.setPixel(2, 1, qRgba(10, 250, 10, 255));
    return image;
}

// A setting that uses every field with values other than the defaults: a
// styled item with three entries, an empty kind, a default item, an item with
// empty entry lists, and several flags.
inline reportSetting customSetting(bool withPicture)
{
    reportSetting setting;

    repItem styled;
    styled.type = 26;
    styled.name = QStringLiteral("Planes of Expression");
    styled.kind = RKNumerology;
    styled.headerFont = QFont(QStringLiteral("Georgia"), 20, QFont::DemiBold, true);
    styled.headerFont.setPixelSize(22);
    styled.headerFont.setUnderline(true);
    styled.contentFont = QFont(QStringLiteral("Times New Roman"), 14, QFont::Normal, false);
    styled.headerColor = QColor(200, 30, 40);
    styled.contentColor = QColor(10, 20, 30, 128);
    styled.defaultStyle = false;
    styled.texts
        = QStringList {QStringLiteral("<html><body><!-- md --><br><p>Mine</p></body></html>"),
                       QString(), QString::fromUtf8("\xc3\xbcn\xc3\xaf \xe2\x82\xac")};
    styled.images = QList<QImage> {withPicture ? picture() : QImage(), QImage(), QImage()};
    styled.useStdText = QList<bool> {false, true, false};
    styled.title = QStringLiteral("My Planes");
    styled.options.insert(QStringLiteral("hide-image"), QStringLiteral("TRUE"));
    setting.items[RKNumerology].append(styled);

    addItemSet(&setting.items[RKLoveCompatibility], RKLoveCompatibility, 5,
               QStringLiteral("Family"));

    repItem bare;
    bare.type = 4;
    bare.kind = RKCelebrities;
    bare.texts.clear();
    bare.images.clear();
    bare.useStdText.clear();
    bare.title = QString::fromLatin1("");
    setting.items[RKCelebrities].append(bare);

    setting.flags.insert(QStringLiteral("UPDATE1"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("UPDATE2"), QStringLiteral("TRUE"));
    setting.flags.insert(QStringLiteral("RTPet-hide-images"), QStringLiteral("FALSE"));
    return setting;
}

// A file as the program's first versions wrote it: items without options,
// optionally without the flags map at the end.
inline QByteArray oldFormatFile(const reportSetting &setting, quint32 version, bool withFlags)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QDataStream stream(&buffer);
    stream.setVersion(12);
    stream << quint32(0x4C4E5250) << version;
    for (const QList<repItem> &items : setting.items) {
        stream << quint32(items.size());
        for (const repItem &item : items) {
            stream << item.type << item.name << item.kind << item.headerFont << item.contentFont
                   << item.headerColor << item.contentColor << item.defaultStyle;
            stream << quint32(item.texts.size());
            for (const QString &text : item.texts)
                stream << text;
            stream << quint32(item.images.size());
            for (const QImage &image : item.images)
                stream << image;
            stream << quint32(item.useStdText.size());
            for (bool flag : item.useStdText)
                stream << flag;
            stream << item.title;
        }
    }
    if (withFlags)
        stream << setting.flags;
    return bytes;
}

} // namespace LayoutFixture
