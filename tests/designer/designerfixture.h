#pragma once

#include "designer/calcnumcontainer.h"
#include "designer/repage.h"
#include "designer/repageitem.h"
#include "engine/numerology.h"
#include "engine/numerologypmatrix.h"

#include <QImage>
#include <QPainterPath>

// Helpers shared by the designer tests: a calculated person and frame/content
// pairs built the way the editor builds them.
namespace DesignerTest {

// The person's and the partner's engines, calculated for a fixed person.
struct Person
{
    CNumerology person;
    CNumerology partner;
    CNumerologyPMatrix personMatrix;
    CNumerologyPMatrix partnerMatrix;
    calcNumContainer container;

    explicit Person(const QString &fullName = QStringLiteral("John Kevin Smith"),
                    const QString &shortName = QStringLiteral("John Smith"),
                    const QDate &birth = QDate(1984, 1, 5),
                    const QDate &forecast = QDate(2026, 3, 1))
    {
        container = {&person, &partner, &personMatrix, &partnerMatrix};
        if (fullName.isEmpty())
            return;
        person.calculate(fullName, shortName, QVector<int>(), QVector<int>(), false, birth,
                         forecast, nullptr, 0, 0, true);
        personMatrix.calculate(fullName, birth, nullptr, 0);
    }
};

// A frame (type 1) at (x, y) owning a content item of the given type, both
// w x h, with a rectangular outline.
inline CREPageItem *makeObject(calcNumContainer *container, int type, double x, double y, double w,
                               double h)
{
    auto *frame = new CREPageItem(container);
    auto *content = new CREPageItem(container);
    frame->type = CREPageItem::Frame;
    frame->fixedContent = true;
    frame->inner = content;
    content->outer = frame;
    content->type = type;
    frame->setBoundSize(QSizeF(w, h));
    content->setBoundSize(QSizeF(w, h));
    QPainterPath outline;
    outline.addRect(0, 0, w, h);
    frame->setShape(outline);
    frame->translate(x, y);
    return frame;
}

inline QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::white);
    return image;
}

// Pixels of the image within rect whose colour is (close to) c.
inline int countColor(const QImage &image, const QRect &rect, const QColor &c, int tolerance = 8)
{
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - c.red()) <= tolerance && qAbs(p.green() - c.green()) <= tolerance
                && qAbs(p.blue() - c.blue()) <= tolerance)
                ++n;
        }
    }
    return n;
}

// Pixels within rect that are not white.
inline int countInk(const QImage &image, const QRect &rect)
{
    int n = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff)
                ++n;
        }
    }
    return n;
}

} // namespace DesignerTest
