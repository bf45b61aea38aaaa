#include "layouts/layoutlimits.h"

#include "layouts/boundedread.h"
#include "layouts/sectionmarkup.h"

#include <QImage>

namespace LayoutLimits {

namespace {

// "at most about 237 pictures of 460 x 460"
QString capacity()
{
    const qint64 large = qint64(LargePictureSide) * LargePictureSide;
    return QStringLiteral("(at most about %1 pictures of %2 x %2)")
        .arg(MaxPicturePixels / large)
        .arg(LargePictureSide);
}

} // namespace

qint64 picturePixels(const QImage &image)
{
    if (image.isNull())
        return 0;
    // The reader decodes a picture larger than its side limit scaled down.
    QSize kept = image.size();
    if (kept.width() > BoundedRead::MaxPictureSide || kept.height() > BoundedRead::MaxPictureSide)
        kept = kept.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(kept.width()) * kept.height();
}

qint64 picturePixels(const QList<QImage> &images)
{
    qint64 pixels = 0;
    for (const QImage &image : images)
        pixels += picturePixels(image);
    return pixels;
}

qint64 picturePixels(const reportSetting &setting)
{
    qint64 pixels = 0;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            pixels += picturePixels(item.images);
            for (int i = 0; i < item.storedImages.size(); ++i) {
                if (item.images.value(i).isNull())
                    pixels += BoundedRead::storedImagePixels(item.storedImages.at(i));
            }
        }
    }
    return pixels;
}

QString storeProblem(const reportSetting &setting)
{
    // The texts are filtered as the reader filters them, in its order and
    // with its budget, so that what is stored is what it opens.
    BoundedRead::ReadBudget budget;
    for (const QList<repItem> &items : setting.items) {
        for (const repItem &item : items) {
            for (const QString &text : item.texts) {
                QString filtered;
                QString problem;
                if (!SectionMarkup::filter(text, &filtered, &budget, &problem))
                    return problem;
            }
            for (const QImage &image : item.images) {
                if (qint64(image.width()) * image.height() > BoundedRead::MaxDeclaredPixels)
                    return QStringLiteral("one of its pictures is too large.");
            }
        }
    }
    if (picturePixels(setting) > MaxPicturePixels)
        return QStringLiteral("its pictures are more than one layout file can hold\n") + capacity()
            + QLatin1Char('.');
    return QString();
}

bool isFontFamilyName(const QString &family)
{
    static const QLatin1String markup("\"'`<>;\\{}");
    for (int i = 0; i < family.size(); ++i) {
        const QChar c = family.at(i);
        if (c.isHighSurrogate() && i + 1 < family.size() && family.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
        if (markup.contains(c))
            return false;
    }
    return true;
}

QFont storedFont(const QFont &font)
{
    if (isFontFamilyName(font.family()))
        return font;
    QFont stored = font;
    stored.setFamily(QString());
    return stored;
}

QString pictureRefusal()
{
    return QStringLiteral("This picture does not fit into the layout:\nits pictures would be more "
                          "than one layout file can hold\n")
        + capacity() + QStringLiteral(".\nRemove other pictures or choose a smaller one.");
}

} // namespace LayoutLimits
