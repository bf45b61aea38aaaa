#pragma once

#include "designer/repageitem.h"
#include "designer/reportdocument.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QTimer>
#include <QTransform>

class QLabel;
class CStyle;
struct STracker;

// The interactive page editor of the designer: shows the current page of the
// template on a tinted backdrop at a zoom factor and lets the user select,
// move, scale, rotate and pan items with the mouse. The geometry of each
// gesture lives in static functions so that it can be checked without a
// window.
class CReportPE : public QAbstractScrollArea, public CReportDocument
{
    Q_OBJECT

public:
    // What a mouse gesture does to the active frame.
    enum Operation {
        OpNone = 0,
        OpPanContent = 1,
        OpMoveFrame = 2,
        OpRotate = 3,
        OpScale = 4,
        OpFreeScale = 12,
        OpFreeRotate = 13
    };

    static constexpr double MinZoom = 0.2;
    static constexpr double MaxZoom = 2.0;
    static constexpr double NormalZoom = 0.75;
    static constexpr int HandleCount = 11;

    CReportPE(calcNumContainer *container, CAppStyle *appStyle, QWidget *parent = nullptr);
    ~CReportPE() override;

    // Adding items at a viewport point; each returns the new content item, or
    // null when nothing was added.
    CREPageItem *addDataItem(const QString &name, const QPoint &point, const QSize &size);
    CREPageItem *addTextItem(const QString &text, const QPoint &point);
    CREPageItem *addImageItem(QImage &image, const QPoint &point);
    CREPageItem *addBlockItem(CREPage *block, const QPoint &point);

    // Page origin in viewport pixels and the page-to-viewport transform.
    QPointF calcDocViewTranslate() const;
    QTransform calcDocViewTransform() const;
    // The viewport point (rounded to whole pixels) in page units.
    QPointF viewToPage(const QPointF &point) const;
    QPointF snapPoint(const QPointF &point, int snap) const;

    // The document's drawing style; the plain name is hidden by QWidget::style().
    CStyle *drawStyle() const { return CReportDocument::style; }

    double zoom() const { return m_zoom; }
    int operation() const { return m_operation; }
    CREPageItem *activeItem() const { return m_activeItem; }
    int fadeCount() const { return m_fades.size(); }
    QPointF insertionPoint() const { return m_insertionPoint; }

    // Whole degrees (0 to 359) from the direction centre-to-a to the direction
    // centre-to-b, counted counter-clockwise as seen on screen; 0 when either
    // point is the centre.
    static int findAngleBetweenVectors(QPointF *centre, QPointF *a, QPointF *b);

    static double zoomedIn(double zoom);
    static double zoomedOut(double zoom);
    // v rounded to the nearest multiple of step (unchanged for a step that
    // cannot be used).
    static double snapValue(double v, double step);
    // The handle (0 to 10) whose rectangle holds the point, -1 for none.
    // first and last limit the handles looked at.
    static int handleAt(const STracker *trackers, const QPointF &point, int first = 0,
                        int last = HandleCount - 1);
    static Qt::CursorShape cursorForHandle(int handle);
    // The operation a press on the handle starts for the frame: free scale and
    // free rotation for data fields, placeholders, picture slots and lists and
    // symbols, aspect-keeping scale otherwise; 0 for handles that start none.
    static int operationForHandle(const CREPageItem *frame, int handle);
    // Where a frame dragged by delta from start lands: snapped when asked and
    // kept on the page.
    static QRectF movedFrameRect(const QRectF &start, const QPointF &delta, bool snap, double stepX,
                                 double stepY, double pageW, double pageH);
    // The rectangle of a scale step by handle k, before it is fitted to the
    // page. op is OpScale (aspect kept at the corners) or OpFreeScale.
    static QRectF scaledFrameRect(int op, int k, const QRectF &start, const QPointF &delta,
                                  bool snap, double stepX, double stepY);
    // A frame's state when a scale gesture began.
    struct ScaleStart
    {
        int operation = OpScale;
        int handle = 3;
        QPointF press;
        QRectF rect; // the transformed outline's bounding rectangle
        QTransform transform;
        QPainterPath shape;
    };
    // One step of a scale gesture on frame to the page point: the rectangle
    // of scaledFrameRect fitted to the page and to the largest scale a
    // template holds.
    static void scaleStep(CREPageItem *frame, const ScaleStart &start, QPointF point,
                          const CReportDocument &doc, const CREPage &page);

signals:
    void itemDropped(QPoint point);
    void selectionChanged();
    // A drag moved, scaled or turned an item (or panned its content).
    void itemReshaped();

public slots:
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomNormal();
    void OnGrid();
    void OnSnap();
    void OnBoundaries();
    void moveToFrontSelItems();
    void moveToBackSelItems();
    void deleteSelectedItems();
    void updateView();
    void updateFixScroll();

protected:
    void viewReset() override;

    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

    void mouseProcessEvent(QMouseEvent *event, bool finish);

private:
    struct HandleFade
    {
        int framesLeft;
        int framesTotal;
        bool fadeIn;
        CREPageItem *item;
    };

    QSize docSize() const;
    void recordStart(const QPointF &point);
    void addFade(CREPageItem *item, bool fadeIn);
    void dropFadesOf(const CREPageItem *item);
    // Hands a new frame/content pair to the current page at a viewport point.
    CREPageItem *placeItem(CREPageItem *frame, const QPoint &point);
    CREPageItem *newFrame(int innerType, const QSizeF &size);
    void renumberBlockReferences();

    void processMove(const QPointF &point);
    void processScale(QPointF point);
    void processRotate(const QPointF &point, bool finish);

    QList<HandleFade> m_fades;
    QTimer m_repaintTimer;
    QPointF m_insertionPoint;
    double m_margin = 10;
    double m_zoom = 0.6;
    CREPageItem *m_activeItem = nullptr;
    CREPageItem::Geometry m_startGeometry;
    QTransform m_startTransform;
    double m_startAngle = 0;
    QPainterPath m_startShape;
    int m_operation = OpNone;
    QPointF m_pressPoint;
    QSizeF m_startSize;
    QRectF m_startRect;
    int m_handleIndex = 7;
    QPointF m_lastPoint;
    QLabel *m_cornerLabel = nullptr;

    QImage m_scrBoxImage;
    QImage m_hlineImage;
    // Which corner picture the label shows (0 none yet, 1 box, 2 line) and
    // for which colour scheme.
    int m_cornerKind = 0;
    int m_cornerScheme = -1;
};
