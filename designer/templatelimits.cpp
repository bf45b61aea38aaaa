#include "designer/templatelimits.h"

#include <QImage>
#include <QSize>

namespace TemplateLimits {

qint64 picturePixels(const QImage &image)
{
    if (image.isNull())
        return 0;
    QSize size = image.size();
    if (qint64(size.width()) * size.height() > BoundedRead::MaxDeclaredPixels)
        return MaxPicturePixels + 1;
    if (size.width() > BoundedRead::MaxPictureSide || size.height() > BoundedRead::MaxPictureSide)
        size = size.scaled(BoundedRead::MaxPictureSide, BoundedRead::MaxPictureSide,
                           Qt::KeepAspectRatio)
                   .expandedTo(QSize(1, 1));
    return qint64(size.width()) * size.height();
}

} // namespace TemplateLimits
