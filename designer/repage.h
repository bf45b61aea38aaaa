#pragma once

#include "designer/templatepicture.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

class QDataStream;
class QPainter;
class CDrawMode;
class CREPageItem;
class CStyle;
struct calcNumContainer;

// A page background: mode 0xFF none, 0 colour fill, 1 picture at 1:1 from the
// top-left corner, 2 picture stretched over the page, 3 and 4 picture switched
// off (remembering 1:1 or stretched) so that the colour fills the page.
struct background
{
    QColor color = QColor(255, 255, 255, 255);
    TemplatePicture image;
    quint8 mode = 0xFF;
};

// One page or block page of a chart template: an ordered list of frame items
// (the last drawn on top) on a sized sheet with an optional background.
class CREPage
{
public:
    CREPage(calcNumContainer *container, CStyle *style);
    ~CREPage();
    CREPage(const CREPage &) = delete;
    CREPage &operator=(const CREPage &) = delete;

    void setPageSize(const QSizeF &size);
    // Moves an item back onto the sheet where its bound rectangle overhangs.
    void moveToPage(CREPageItem *item);
    void getSelected(QList<CREPageItem *> &out, bool all) const;
    // Frame items whose outline contains the point, topmost first.
    bool getObjectsList(const QPointF &point, QList<CREPageItem *> &out) const;
    bool getObjectsList(double x, double y, QList<CREPageItem *> &out) const;
    void unselectAll();

    // Draws with the painter in page units.
    void draw(QPainter *p, CDrawMode *mode, CStyle *style, bool paper);
    // Draws scaled and centred into target, keeping the page's aspect.
    void draw(QPainter *p, const QRectF &target, CDrawMode *mode, CStyle *style, bool paper);
    void drawTrackers(QPainter *p, CDrawMode *mode, CStyle *style,
                      const QList<CREPageItem *> &items);
    // Renders the thumbnail (at most 256 x 256), with a black frame on request.
    void generateThumbnail(bool frame);
    // Called by the renderer before each output pass; nothing to prepare here.
    void prefillData() { }

    void save(QDataStream &s) const;
    // False when the stream failed or held data no template can contain;
    // then *fault, when given, says what is too large if something is.
    // Pictures are read within the budget of reading, shared by the whole
    // file.
    bool load(QDataStream &s, int version, TemplatePicture::Reading *reading = nullptr,
              QString *fault = nullptr);
    // Why the reader would refuse this page's record, for the user; empty
    // when it is within the limits of a template.
    QString limitFault() const;
    // Adds the page's pictures (background and items) that the reader
    // reads, the null ones among them.
    void appendPictures(QVector<TemplatePicture> *pictures) const;

    QString imagesFolder;
    calcNumContainer *container;
    QList<CREPageItem *> items;
    // Owned; once made, the same object for the page's whole life.
    QImage *thumbnail = nullptr;
    double width = 840;
    double height = 1188;
    QString name;
    int repeatCount = 0;
    int reservedValue = 0;
    background pageBackground;
    int recordIndex = 0;
    int pageNumber = 0;
    CStyle *style;
    // A block page's number within its open document (0 until it has one);
    // block references name their block by it. Not stored in the file.
    int identity = 0;
};
