#include "designer/style.h"

#include "style/appstyle.h"

#include <cmath>

CStyle::CStyle(const CAppStyle *appStyle)
{
    if (!appStyle)
        return;
    for (int i = 0; i < ImageCount; ++i)
        images[size_t(i)] = appStyle->designerImages[size_t(i)];
}

double cround(double x, int digits)
{
    const double factor = std::pow(10.0, digits);
    return std::floor(x * factor + 0.5) / factor;
}

double calcFitScale(int w, int h, int boxW, int boxH, int &offX, int &offY)
{
    if (w <= 0 || h <= 0) {
        offX = 0;
        offY = 0;
        return 0;
    }
    const double s = qMin(double(boxW) / w, double(boxH) / h);
    offX = int((boxW - w * s) / 2);
    offY = int((boxH - h * s) / 2);
    return s;
}
