#pragma once

#include "designer/templatepicture.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QSharedPointer>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <QVector>

class QDataStream;
class QRectF;
class QPainter;
class CDrawMode;
class CREPage;
class CStyle;
class TextMeasure;
struct calcNumContainer;

// One hit area of a selected frame's editing handles, in page units. A frame
// has eleven: 0 to 3 the corners (top-left, top-right, bottom-left,
// bottom-right), 4 to 6 the middles of the left, right and bottom edges, 7
// the strip along the top edge, 8 the rotation point, 9 and 10 the content
// handles right and left of the centre (empty when the frame is too small).
struct STracker
{
    QRectF rect;
};

// One object of a chart template page. What the user places is a pair: a
// frame item (type 1) carrying position, scale and outline, owning a content
// item (types 2 to 15) that points back to it. Pages list frame items only.
class CREPageItem
{
public:
    enum Type {
        Frame = 1,
        Image = 2,
        Text = 3,
        Path = 4,
        DataField = 5,
        Placeholder = 6,
        PictureSlot = 7,
        BlockReference = 8,
        PictureList = 9,
        Symbol = 10,
        MatrixTable = 11,
        NameTable = 12,
        CalendarTable = 13,
        InfoTable = 14,
        BridgesTable = 15
    };

    // The colours handed to the table painters: 0 separator lines, 3 fill of
    // the wide tables, 4 fill of the narrow ones; 1, 2 and 5 are unused.
    struct palitra
    {
        QColor colors[6];
    };

    explicit CREPageItem(calcNumContainer *container);
    ~CREPageItem();
    CREPageItem(const CREPageItem &) = delete;
    CREPageItem &operator=(const CREPageItem &) = delete;

    // Geometry. Moves follow the page axes whatever the item's rotation.
    void resTransformation();
    void rotate(double a, bool keepAngle);
    // An angle brought into [0, 360] (360 itself stays), in constant time.
    static double normalizedAngle(double a);
    void move(double dx, double dy);
    void translate(double dx, double dy);
    void scale(double sx, double sy);
    QRectF getBoundRect() const;
    void setBoundSize(const QSizeF &size);
    QSizeF getBoundSize();
    QRectF getShapeBoundRect() const;
    void setShape(const QPainterPath &path);

    // Painting in the coordinates of the item's container (the page for a
    // frame, the frame for a content item).
    void draw(QPainter *p, CDrawMode *mode, CStyle *style);
    // Selection handles of a frame item, in device pixels; outlineOnly paints
    // the boundary outline only (and nothing while boundaries are hidden).
    void drawTracker(QPainter *p, CDrawMode *mode, CStyle *style, bool outlineOnly);

    // Handle hit areas (trackers[0] to trackers[10]) for the bounding
    // rectangle of the frame's transformed outline; view maps page units to
    // view pixels, in which the handles have fixed sizes.
    void genTrackers(STracker *trackers, const QRectF &bounds, const QTransform &view,
                     CStyle *style) const;
    // Frame items: maps the outline onto r; with straighten, snaps the angle to
    // a quarter turn and rebuilds the outline as an r-sized rectangle instead.
    void fitToRect(const QRectF &r, bool straighten);
    // r limited to at least 15 x 15 and to the page while scaling by handle k,
    // shrinking the other side by the aspect a (0: r's own aspect).
    static QRectF fitToPageR(QRectF r, int k, double pageW, double pageH, double a);
    // r moved (not resized) onto the page.
    static QRectF fitToPageP(QRectF r, double pageW, double pageH);
    // r (a rectangle for fitToRect without straightening, of an outline of
    // the given size) shrunk so that the frame's scale stays within
    // TemplateLimits::MaxScale. The corner or edge opposite handle k stays;
    // at a corner (k up to 3) the aspect is kept.
    static QRectF fitToScaleLimit(const QRectF &r, int k, const QSizeF &outline);

    // What editing gestures change of a frame and its content: taken before
    // a step, and put back when the step would leave the pair beyond what a
    // template can hold (withinLimits()).
    struct Geometry
    {
        QTransform transform;
        QPainterPath shape;
        QSizeF boundSize;
        double angle = 0;
        QTransform innerTransform;
        QSizeF innerBoundSize;
        double innerAngle = 0;
    };
    Geometry geometry() const;
    void setGeometry(const Geometry &g);
    bool withinLimits() const { return !limitFault() && (!inner || !inner->limitFault()); }

    // The part of path (item coordinates) whose stroke by a pen of penWidth
    // (0: cosmetic), drawn through toDevice, can reach page (device pixels):
    // stroked, it paints on page what the whole path paints, though dashes
    // may start afresh where it was cut. A pen whose half width on the device
    // exceeds the page's diagonal is meant to be drawn solid with round caps
    // and joins; covers is then set, and the path left short, as soon as one
    // piece alone covers all of page.
    static QPainterPath visiblePart(const QPainterPath &path, const QTransform &toDevice,
                                    const QRectF &page, double penWidth, bool *covers = nullptr);
    // The same for filling path: it fills page as path does.
    static QPainterPath visibleFill(const QPainterPath &path, const QTransform &toDevice,
                                    const QRectF &page);

    // Symbol images: null when the kind is not 0 to 10 or the text cannot be
    // encoded.
    static QImage getQrCode(const QString &text, const QColor &color);
    static QImage drawBarcode(const QString &text, int kind, const QColor &color);
    // What a symbol is drawn from: a QR Code's module matrix, one pixel a
    // module (getQrCode() is this scaled ten times), or a linear symbol's
    // image. Recent symbols are kept, so a symbol drawn again is not encoded
    // again.
    static QImage symbolSource(const QString &text, int kind, const QColor &color);
    // How many times a symbol has been encoded since the program started.
    static quint64 symbolEncodes();

    // Template file record. load() returns false when the stream failed or
    // held data no template can contain; the item is then unusable. Pictures
    // are read within the budget of reading, shared by the whole file.
    void save(QDataStream &s) const;
    bool load(QDataStream &s, int version, TemplatePicture::Reading *reading = nullptr);
    // Why the reader would refuse this item's record, or null: the bounds of
    // TemplateLimits that both the reader and the writer hold items to.
    const char *limitFault() const;

    // Numerology table painters (fixed pixel layout in item coordinates).
    void paintInfo(QPainter *p, const QStringList &labels, const QStringList &values,
                   palitra colors);
    void paintNameInfo(QPainter *p, const QStringList &rows, const QStringList &totals,
                       palitra colors);
    void paintMatrInfo(QPainter *p, const QStringList &rows, const QStringList &cells,
                       palitra colors);
    void paintExprInfo(QPainter *p, const QStringList &rows, const QStringList &planes,
                       palitra colors);
    void paintCalendarInfo(QPainter *p, QDate date, int birth, const QStringList &rows,
                           palitra colors);
    static QString getNumRun(int count, const QString &digit);
    // Rich text of a total: an isolated pair of equal digits in #D05030.
    static QString masterDigitsHtml(const QString &text);
    static void drawFTextS(QPainter &p, int x, int y, const QString &text);
    // "Jan 5 1984".
    static QString dateText(const QDate &date);

    calcNumContainer *container;
    int type = 0;
    bool isVariable = false;
    bool isFreeText = false;
    QString auxText;
    QString key;
    QTransform transform;
    double angle = 0;
    QSizeF boundSize = QSizeF(0, 0);
    bool selected = false;
    QImage *blockImage = nullptr;
    CREPage *blockPage = nullptr;
    QPainterPath shape;
    QColor color = QColor(0, 0, 0);
    QSizeF auxSize = QSizeF(0, 0);
    TemplatePicture image;
    int order = 0;
    bool auxFlag = true;
    bool fixedContent = false;
    QString text;
    QFont font;
    int alignment = 1;
    int penStyle = 1;
    double penWidth = 1.0;
    QColor penColor = QColor(0, 0, 0);
    int blockIndex = 0;
    int frameStyle = 0;
    QColor frameColor = QColor(0, 0, 0);
    int barcodeKind = 0;
    int fitMode = 1;
    int pictureChoice = 0;
    QColor backgroundColor = QColor(255, 255, 255, 222);
    CREPageItem *inner = nullptr;
    CREPageItem *outer = nullptr;

    // Whether a frame's outline, drawn through device, is a rectangle on
    // the device's axes, which the painter clips to at no cost.
    bool rectangularOn(const QTransform &device) const;

private:
    // An image item's picture filled into outline (its frame's), as it
    // would show clipped by it: the painter clips to an outline span by
    // span, many times slower.
    void fillPictureInto(QPainter *p, const QPainterPath &outline);
    void drawTables(QPainter *p);
    // picture, taken to be of size (its own when empty), fitted into the box
    // and placed by alignment.
    void drawFitted(QPainter *p, const QImage &picture, QSize size = QSize());
    void drawText(QPainter *p);
    void drawSymbol(QPainter *p, const QString &symbolText);
    void drawPath(QPainter *p);
    // picture stretched over target; a large picture drawn smaller is scaled
    // once for the size it takes on the device and then only copied.
    void drawPicture(QPainter *p, const QRectF &target, const QImage &picture);

    struct ScaledPicture
    {
        qint64 source = 0;
        QSize size;
        bool smooth = false;
        QImage image;
    };
    ScaledPicture scaled;
    // The measure of a long text, with what it was measured for.
    struct TextBounds
    {
        QString text;
        QFont font;
        int alignment = 0;
        int dpi = 0;
        QSharedPointer<const TextMeasure> measure;
    };
    TextBounds textBounds;
};
