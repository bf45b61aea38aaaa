#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class CAppStyle;
struct calcNumContainer;

// Renders a chart template file with the given people, off screen: size
// bounds the picture keeping the page's aspect, 0 x 0 gives the full
// resolution. A file that cannot be opened or is no readable template gives
// a null image and the reason in *error.
QImage renderChartTemplate(const QString &path, const calcNumContainer &people, const QSize &size,
                           CAppStyle *style, QString *error = nullptr);
