#include "designer/templatelimits.h"

#include "designer/templatepicture.h"

#include <QSet>

namespace TemplateLimits {

qint64 picturePixels(const TemplatePicture &picture)
{
    if (picture.isNull())
        return 0;
    // What the reader keeps of the picture once it is written: a picture
    // the designer holds larger than the reader decodes is scaled down, one
    // the reader refuses outright takes more than the whole budget.
    QSize size = picture.size();
    if (qint64(size.width()) * size.height() > BoundedRead::MaxDeclaredPixels)
        return MaxPicturePixels + 1;
    if (size.width() > BoundedRead::MaxPictureSide || size.height() > BoundedRead::MaxPictureSide)
        size = size.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(size.width()) * size.height();
}

qint64 picturePixels(const QVector<TemplatePicture> &pictures)
{
    QSet<qint64> counted;
    qint64 pixels = 0;
    for (const TemplatePicture &picture : pictures) {
        if (!picture.isNull() && !counted.contains(picture.key())) {
            counted.insert(picture.key());
            pixels += picturePixels(picture);
        }
    }
    return pixels;
}

} // namespace TemplateLimits
