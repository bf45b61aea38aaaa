#include "designer/reportpe.h"

#include "designer/repage.h"
#include "designer/repageitem.h"
#include "designer/style.h"
#include "designer/templatelimits.h"
#include "style/appstyle.h"
#include "style/infodlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

const QColor Backdrop(44, 36, 32);
const char FieldTreeMime[] = "application/x-qabstractitemmodeldatalist";
constexpr int FadeInFrames = 5;
constexpr int FadeOutFrames = 3;
constexpr int FadeTickMs = 30;
constexpr int LargestImageSide = 1024;

bool isFreeScaleType(int type)
{
    return type == CREPageItem::DataField || type == CREPageItem::Placeholder
        || type == CREPageItem::PictureSlot || type == CREPageItem::PictureList
        || type == CREPageItem::Symbol;
}

bool sameGeometry(const CREPageItem::Geometry &a, const CREPageItem::Geometry &b)
{
    return a.transform == b.transform && a.shape == b.shape && a.boundSize == b.boundSize
        && a.angle == b.angle && a.innerTransform == b.innerTransform
        && a.innerBoundSize == b.innerBoundSize && a.innerAngle == b.innerAngle;
}

} // namespace

CReportPE::CReportPE(calcNumContainer *container, CAppStyle *appStyle, QWidget *parent)
    : QAbstractScrollArea(parent)
    , CReportDocument(container, appStyle)
{
    m_cornerLabel = new QLabel(this);
    m_cornerLabel->setStyleSheet(QStringLiteral("border: 0px;"));
    m_scrBoxImage = QImage(imagesFolder + QStringLiteral("scrbox.png"));
    m_hlineImage = QImage(imagesFolder + QStringLiteral("hline.png"));

    drawMode->thumbnailMode = false;
    drawMode->outputMode = false;
    drawMode->showBoundaries = true;

    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);

    m_margin = 10;
    m_zoom = 0.6;
    m_activeItem = nullptr;
    m_operation = OpNone;
    // The document base built its first page before this view existed; build
    // it again so that the view takes part in the reset.
    newReport();

    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, viewport(), QOverload<>::of(&QWidget::update));
}

CReportPE::~CReportPE()
{
    m_repaintTimer.stop();
    m_fades.clear();
    // The document's pages go with the document base; nothing here points
    // into them any more.
    m_activeItem = nullptr;
}

void CReportPE::viewReset()
{
    m_fades.clear();
    m_activeItem = nullptr;
    m_operation = OpNone;
    m_zoom = NormalZoom;
    resizeEvent(nullptr);
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Geometry

QSize CReportPE::docSize() const
{
    if (!currentPage)
        return QSize(qRound(2 * m_margin), qRound(2 * m_margin));
    return QSize(qRound(currentPage->width * m_zoom + 2 * m_margin),
                 qRound(currentPage->height * m_zoom + 2 * m_margin));
}

QPointF CReportPE::calcDocViewTranslate() const
{
    const QSize doc = docSize();
    const QSize view = viewport()->size();
    const int offX = qMax(0, (view.width() - doc.width()) / 2);
    const int offY = qMax(0, (view.height() - doc.height()) / 2);
    return QPointF(m_margin + offX - horizontalScrollBar()->value(),
                   m_margin + offY - verticalScrollBar()->value());
}

QTransform CReportPE::calcDocViewTransform() const
{
    const QPointF origin = calcDocViewTranslate();
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.scale(m_zoom, m_zoom);
    return t;
}

QPointF CReportPE::viewToPage(const QPointF &point) const
{
    return calcDocViewTransform().inverted().map(QPointF(qRound(point.x()), qRound(point.y())));
}

double CReportPE::snapValue(double v, double step)
{
    if (!(step > 0) || !std::isfinite(step))
        return v;
    return std::floor(v / step + 0.5) * step;
}

QPointF CReportPE::snapPoint(const QPointF &point, int snap) const
{
    if (snap != 1)
        return point;
    return QPointF(snapValue(point.x(), gridStepX), snapValue(point.y(), gridStepY));
}

int CReportPE::findAngleBetweenVectors(QPointF *centre, QPointF *a, QPointF *b)
{
    if (!centre || !a || !b || *a == *centre || *b == *centre)
        return 0;
    // Screen y grows downwards; flip it so that angles turn counter-clockwise
    // as the user sees them.
    const double from = std::atan2(centre->y() - a->y(), a->x() - centre->x());
    const double to = std::atan2(centre->y() - b->y(), b->x() - centre->x());
    int degrees = qRound((to - from) * 180.0 / M_PI) % 360;
    if (degrees < 0)
        degrees += 360;
    return degrees;
}

double CReportPE::zoomedIn(double zoom)
{
    return qMin(zoom * 1.1, MaxZoom);
}

double CReportPE::zoomedOut(double zoom)
{
    return qMax(zoom / 1.1, MinZoom);
}

int CReportPE::handleAt(const STracker *trackers, const QPointF &point, int first, int last)
{
    for (int i = qMax(0, first); i <= qMin(last, HandleCount - 1); ++i) {
        if (!trackers[i].rect.isEmpty() && trackers[i].rect.contains(point))
            return i;
    }
    return -1;
}

Qt::CursorShape CReportPE::cursorForHandle(int handle)
{
    switch (handle) {
    case 0:
    case 3:
        return Qt::SizeFDiagCursor;
    case 1:
    case 2:
        return Qt::SizeBDiagCursor;
    case 4:
    case 5:
        return Qt::SizeHorCursor;
    case 6:
        return Qt::SizeVerCursor;
    case 7:
        return Qt::SizeAllCursor;
    case 8:
    case 9:
    case 10:
        return Qt::OpenHandCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int CReportPE::operationForHandle(const CREPageItem *frame, int handle)
{
    const bool free = frame && frame->inner && isFreeScaleType(frame->inner->type);
    if (handle >= 0 && handle <= 6)
        return free ? OpFreeScale : OpScale;
    if (handle == 7)
        return OpMoveFrame;
    if (handle == 8)
        return free ? OpFreeRotate : OpRotate;
    return OpNone;
}

QRectF CReportPE::movedFrameRect(const QRectF &start, const QPointF &delta, bool snap, double stepX,
                                 double stepY, double pageW, double pageH)
{
    QPointF topLeft = start.topLeft() + delta;
    if (snap)
        topLeft = QPointF(snapValue(topLeft.x(), stepX), snapValue(topLeft.y(), stepY));
    const double w = start.width();
    const double h = start.height();
    double x = topLeft.x();
    double y = topLeft.y();
    // The right and bottom edges first, so that a frame larger than the page
    // keeps its left and top edges on the page.
    if (x + w > pageW)
        x = pageW - w;
    if (x < 0)
        x = 0;
    if (y + h > pageH)
        y = pageH - h;
    if (y < 0)
        y = 0;
    return QRectF(x, y, w, h);
}

QRectF CReportPE::scaledFrameRect(int op, int k, const QRectF &start, const QPointF &delta,
                                  bool snap, double stepX, double stepY)
{
    if (k < 0 || k > 6)
        return start;
    const bool free = op == OpFreeScale;
    const double x0 = start.x();
    const double y0 = start.y();
    const double w0 = start.width();
    const double h0 = start.height();
    const double a = h0 != 0 ? w0 / h0 : 1.0;
    const double dx = delta.x();
    const double dy = delta.y();
    QRectF r;
    switch (k) {
    case 0: {
        const double d = free ? dy : dx / a;
        r = QRectF(x0 + dx, y0 + d, w0 - dx, h0 - d);
        break;
    }
    case 1: {
        const double d = free ? dy : -dx / a;
        r = QRectF(x0, y0 + d, w0 + dx, h0 - d);
        break;
    }
    case 2: {
        const double d = free ? dy : -dx / a;
        r = QRectF(x0 + dx, y0, w0 - dx, h0 + d);
        break;
    }
    case 3: {
        const double d = free ? dy : dx / a;
        r = QRectF(x0, y0, w0 + dx, h0 + d);
        break;
    }
    case 4:
        r = QRectF(x0 + dx, y0, w0 - dx, h0);
        break;
    case 5:
        r = QRectF(x0, y0, w0 + dx, h0);
        break;
    default:
        r = QRectF(x0, y0, w0, h0 + dy);
        break;
    }
    const bool corner = k <= 3;
    if (free || !corner) {
        if (snap) {
            const QPointF tl(snapValue(r.x(), stepX), snapValue(r.y(), stepY));
            const QPointF br(snapValue(tl.x() + r.width(), stepX),
                             snapValue(tl.y() + r.height(), stepY));
            r = QRectF(tl, br);
        }
        return r;
    }
    // Aspect-keeping corner: the width decides and the height follows, the
    // bottom edge staying put for the two upper corners.
    double left = r.left();
    double right = r.left() + r.width();
    if (snap) {
        left = snapValue(left, stepX);
        right = snapValue(right, stepX);
    }
    const double w = right - left;
    const double h = w / a;
    const double bottom = y0 + h0;
    const double top = (k == 0 || k == 1) ? bottom - h : y0;
    return QRectF(left, top, w, h);
}

// ---------------------------------------------------------------------------
// Scroll geometry and painting

void CReportPE::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event)
    const QSize doc = docSize();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, doc.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width() / 2);
    horizontalScrollBar()->setSingleStep(8);
    verticalScrollBar()->setRange(0, qMax(0, doc.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height() / 2);
    verticalScrollBar()->setSingleStep(8);
    if (gridShown) {
        drawMode->gridStepX = gridStepX * 2;
        drawMode->gridStepY = gridStepY * 2;
    } else {
        drawMode->gridStepX = 0;
        drawMode->gridStepY = 0;
    }
    updateFixScroll();
}

void CReportPE::updateFixScroll()
{
    if (!m_cornerLabel)
        return;
    const bool both = horizontalScrollBar()->isVisible() && verticalScrollBar()->isVisible();
    const int kind = both ? 1 : 2;
    const int scheme = appStyle ? appStyle->currentScheme : 0;
    if (kind != m_cornerKind || scheme != m_cornerScheme) {
        const QImage &source = both ? m_scrBoxImage : m_hlineImage;
        const QImage tinted = appStyle ? appStyle->updateImage(source) : source;
        m_cornerLabel->setPixmap(QPixmap::fromImage(tinted));
        m_cornerKind = kind;
        m_cornerScheme = scheme;
    }
    if (both) {
        m_cornerLabel->setFixedSize(16, 16);
        m_cornerLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_cornerLabel->move(width() - 16, height() - 16);
    } else {
        m_cornerLabel->setFixedSize(35, 1);
        m_cornerLabel->move(width() - 35, height() - 1);
    }
    m_cornerLabel->raise();
}

void CReportPE::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), appStyle ? appStyle->updateColor(Backdrop) : Backdrop);
    if (currentPage) {
        const QTransform view = calcDocViewTransform();
        p.save();
        p.setTransform(view);
        currentPage->draw(&p, drawMode, CReportDocument::style, true);
        p.restore();

        if (appStyle) {
            const QRectF page = view.mapRect(QRectF(0, 0, currentPage->width, currentPage->height));
            const auto &img = appStyle->repageImages;
            auto side = [&](int i, const QRectF &r) {
                if (!img[size_t(i)].isNull())
                    p.drawImage(r, img[size_t(i)]);
            };
            const QSizeF l = img[CAppStyle::RepageLeft].size();
            const QSizeF r = img[CAppStyle::RepageRight].size();
            const QSizeF t = img[CAppStyle::RepageTop].size();
            const QSizeF b = img[CAppStyle::RepageBottom].size();
            const QSizeF lt = img[CAppStyle::RepageLeftTop].size();
            const QSizeF rt = img[CAppStyle::RepageRightTop].size();
            const QSizeF lb = img[CAppStyle::RepageLeftBottom].size();
            const QSizeF rb = img[CAppStyle::RepageRightBottom].size();
            side(CAppStyle::RepageLeft,
                 QRectF(page.left() - l.width(), page.top(), l.width(), page.height()));
            side(CAppStyle::RepageRight,
                 QRectF(page.right(), page.top(), r.width(), page.height()));
            side(CAppStyle::RepageTop,
                 QRectF(page.left(), page.top() - t.height(), page.width(), t.height()));
            side(CAppStyle::RepageBottom,
                 QRectF(page.left(), page.bottom(), page.width(), b.height()));
            side(CAppStyle::RepageLeftTop,
                 QRectF(QPointF(page.left() - lt.width(), page.top() - lt.height()), lt));
            side(CAppStyle::RepageRightTop,
                 QRectF(QPointF(page.right(), page.top() - rt.height()), rt));
            side(CAppStyle::RepageLeftBottom,
                 QRectF(QPointF(page.left() - lb.width(), page.bottom()), lb));
            side(CAppStyle::RepageRightBottom, QRectF(page.bottomRight(), rb));
        }

        p.setTransform(view);
        if (m_fades.isEmpty()) {
            QList<CREPageItem *> selected;
            currentPage->getSelected(selected, false);
            currentPage->drawTrackers(&p, nullptr, CReportDocument::style, selected);
        } else {
            for (HandleFade &fade : m_fades) {
                if (fade.framesLeft > 0)
                    --fade.framesLeft;
                // An item that left the page since its fade began is not drawn.
                if (!currentPage->items.contains(fade.item))
                    continue;
                const double part = double(fade.framesLeft) / fade.framesTotal;
                p.setOpacity(fade.fadeIn ? 1 - part : part);
                fade.item->drawTracker(&p, nullptr, CReportDocument::style, false);
            }
            p.setOpacity(1);
            m_fades.erase(std::remove_if(m_fades.begin(), m_fades.end(),
                                         [](const HandleFade &f) { return f.framesLeft == 0; }),
                          m_fades.end());
            m_repaintTimer.start(FadeTickMs);
        }
    }
    updateFixScroll();
}

// ---------------------------------------------------------------------------
// Mouse

void CReportPE::recordStart(const QPointF &point)
{
    m_startGeometry = m_activeItem->geometry();
    m_startTransform = m_activeItem->transform;
    m_startAngle = m_activeItem->angle;
    m_startShape = m_activeItem->shape;
    m_pressPoint = point;
    m_startRect = m_activeItem->getShapeBoundRect();
    m_startSize = m_startRect.size();
}

void CReportPE::addFade(CREPageItem *item, bool fadeIn)
{
    for (const HandleFade &fade : qAsConst(m_fades)) {
        if (fade.item == item)
            return;
    }
    const int frames = fadeIn ? FadeInFrames : FadeOutFrames;
    m_fades.append(HandleFade {frames, frames, fadeIn, item});
}

void CReportPE::dropFadesOf(const CREPageItem *item)
{
    m_fades.erase(std::remove_if(m_fades.begin(), m_fades.end(),
                                 [item](const HandleFade &f) { return f.item == item; }),
                  m_fades.end());
}

void CReportPE::mousePressEvent(QMouseEvent *event)
{
    if (!event) {
        emit selectionChanged();
        return;
    }
    if (!currentPage) {
        viewport()->update();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;

    // A press always starts a new gesture, even when the release of the last
    // one never arrived.
    m_operation = OpNone;
    const QPointF point = viewToPage(event->localPos());
    m_lastPoint = point;
    QList<CREPageItem *> old;
    currentPage->getSelected(old, false);
    if (!old.isEmpty()) {
        m_activeItem = old.first();
        emit selectionChanged();
        STracker trackers[HandleCount];
        m_activeItem->genTrackers(trackers, m_activeItem->getShapeBoundRect(),
                                  calcDocViewTransform(), CReportDocument::style);
        const int handle = handleAt(trackers, point, 0, 8);
        const int op = operationForHandle(m_activeItem, handle);
        if (op != OpNone) {
            m_operation = op;
            m_handleIndex = handle;
            recordStart(point);
        }
    }

    if (m_operation == OpNone) {
        currentPage->unselectAll();
        QList<CREPageItem *> under;
        if (currentPage->getObjectsList(point, under))
            under.first()->selected = true;
        emit selectionChanged();
        QList<CREPageItem *> now;
        currentPage->getSelected(now, false);

        CREPageItem *first = now.isEmpty() ? nullptr : now.first();
        if (first && !old.contains(first))
            addFade(first, true);
        for (CREPageItem *item : qAsConst(old)) {
            if (item != first)
                addFade(item, false);
        }

        if (first) {
            m_activeItem = first;
            if (first->inner) {
                if (first->fixedContent) {
                    m_operation = OpMoveFrame;
                    m_handleIndex = 7;
                } else {
                    m_operation = OpPanContent;
                }
                recordStart(point);
            }
        }
    }
    viewport()->update();
}

void CReportPE::mouseProcessEvent(QMouseEvent *event, bool finish)
{
    if (event)
        m_lastPoint = viewToPage(event->localPos());
    const QPointF point = m_lastPoint;
    // A step that would leave the item beyond what a template can hold (its
    // content panned far off through a tiny scale, say) is left out, so that
    // whatever the editor shows can be saved and opened again.
    CREPageItem *const stepped = m_operation != OpNone ? m_activeItem : nullptr;
    const CREPageItem::Geometry before = stepped ? stepped->geometry() : CREPageItem::Geometry();

    switch (m_operation) {
    case OpNone: {
        QList<CREPageItem *> selected;
        if (currentPage)
            currentPage->getSelected(selected, false);
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (!selected.isEmpty()) {
            m_activeItem = selected.first();
            STracker trackers[HandleCount];
            m_activeItem->genTrackers(trackers, m_activeItem->getShapeBoundRect(),
                                      calcDocViewTransform(), CReportDocument::style);
            shape = cursorForHandle(handleAt(trackers, point));
        }
        viewport()->setCursor(shape);
        break;
    }
    case OpPanContent:
        if (m_activeItem && m_activeItem->inner) {
            const QTransform &t = m_activeItem->transform;
            QPointF d = point - m_pressPoint;
            d = QPointF(t.m11() != 0 ? d.x() / t.m11() : d.x(),
                        t.m22() != 0 ? d.y() / t.m22() : d.y());
            d = QTransform().rotate(-m_activeItem->angle).map(d);
            m_activeItem->inner->translate(d.x(), d.y());
            m_pressPoint = point;
            viewport()->update();
        }
        break;
    case OpMoveFrame:
        processMove(point);
        break;
    case OpRotate:
    case OpFreeRotate:
        processRotate(point, finish);
        break;
    case OpScale:
    case OpFreeScale:
        processScale(point);
        break;
    default:
        break;
    }

    if (stepped && stepped == m_activeItem && !stepped->withinLimits())
        stepped->setGeometry(before);
    // A click, or a drag that ends where it began, leaves the template as
    // it was.
    if (stepped && !sameGeometry(stepped->geometry(), before))
        emit itemReshaped();

    if (finish) {
        m_operation = OpNone;
        viewport()->setCursor(Qt::ArrowCursor);
    }
}

void CReportPE::processMove(const QPointF &point)
{
    if (!m_activeItem || !currentPage)
        return;
    // Where the pointer was pressed the frame is where it was: a click does
    // not pull it onto the grid.
    if (point == m_pressPoint) {
        m_activeItem->setGeometry(m_startGeometry);
        viewport()->update();
        return;
    }
    const QRectF r = movedFrameRect(m_startRect, point - m_pressPoint, snapToGrid != 0, gridStepX,
                                    gridStepY, currentPage->width, currentPage->height);
    m_activeItem->fitToRect(r, false);
    viewport()->update();
}

void CReportPE::processRotate(const QPointF &point, bool finish)
{
    if (!m_activeItem)
        return;
    QPointF centre = m_startRect.center();
    QPointF from = m_pressPoint;
    QPointF to = point;
    const int theta = findAngleBetweenVectors(&centre, &from, &to);
    m_activeItem->transform = m_startTransform;
    m_activeItem->shape = m_startShape;
    m_activeItem->rotate(-theta, finish);
    const QPointF moved = m_activeItem->getShapeBoundRect().center();
    m_activeItem->move(centre.x() - moved.x(), centre.y() - moved.y());
    if (m_activeItem->inner) {
        const QPointF c = m_startShape.boundingRect().center();
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(m_startAngle - theta);
        t.translate(-c.x(), -c.y());
        m_activeItem->inner->transform = t;
    }
    viewport()->update();
}

void CReportPE::processScale(QPointF point)
{
    if (!m_activeItem || !currentPage)
        return;
    ScaleStart start;
    start.operation = m_operation;
    start.handle = m_handleIndex;
    start.press = m_pressPoint;
    start.rect = m_startRect;
    start.transform = m_startTransform;
    start.shape = m_startShape;
    scaleStep(m_activeItem, start, point, *this, *currentPage);
    viewport()->update();
}

void CReportPE::scaleStep(CREPageItem *frame, const ScaleStart &start, QPointF point,
                          const CReportDocument &doc, const CREPage &page)
{
    const double pageW = page.width;
    const double pageH = page.height;
    point.setX(qBound(0.0, point.x(), pageW));
    point.setY(qBound(0.0, point.y(), pageH));
    const int k = start.handle;
    const QRectF r = scaledFrameRect(start.operation, k, start.rect, point - start.press,
                                     doc.snapToGrid != 0, doc.gridStepX, doc.gridStepY);
    QRectF fitted = CREPageItem::fitToPageR(r, k, pageW, pageH, 0);
    if (start.operation == OpScale) {
        // A thin picture stretched across would otherwise reach a scale that
        // no template file may hold.
        fitted = CREPageItem::fitToScaleLimit(fitted, k, frame->shape.boundingRect().size());
        const QSizeF size = start.rect.size();
        const double a = size.height() != 0 ? size.width() / size.height() : 1;
        // A corner step that the page edges would bend out of shape is left
        // out; the item stays as it was at the previous step.
        const bool keepsAspect = k > 3
            || (fitted.height() != 0
                && cround(fitted.width() / fitted.height(), 5) == cround(a, 5));
        if (keepsAspect)
            frame->fitToRect(fitted, false);
    } else {
        frame->shape = start.shape;
        frame->transform = start.transform;
        frame->fitToRect(fitted, true);
        const QPointF at = frame->getShapeBoundRect().topLeft();
        frame->move(fitted.x() - at.x(), fitted.y() - at.y());
    }
}

void CReportPE::mouseMoveEvent(QMouseEvent *event)
{
    const bool held = event && (event->buttons() & Qt::LeftButton);
    mouseProcessEvent(event, !(held || m_operation == OpNone));
}

void CReportPE::mouseReleaseEvent(QMouseEvent *event)
{
    if (event && (event->buttons() & Qt::LeftButton))
        return;
    mouseProcessEvent(event, true);
}

void CReportPE::leaveEvent(QEvent *event)
{
    Q_UNUSED(event)
    mouseProcessEvent(nullptr, true);
}

bool CReportPE::viewportEvent(QEvent *event)
{
    // The scroll area passes mouse, paint and drag events of its viewport on,
    // but not the leave that ends a gesture.
    if (event->type() == QEvent::Leave)
        leaveEvent(event);
    return QAbstractScrollArea::viewportEvent(event);
}

void CReportPE::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)
        && m_operation == OpNone)
        deleteSelectedItems();
    QAbstractScrollArea::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Drag and drop

void CReportPE::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData() && event->mimeData()->hasFormat(QLatin1String(FieldTreeMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CReportPE::dragMoveEvent(QDragMoveEvent *event)
{
    event->accept();
}

void CReportPE::dragLeaveEvent(QDragLeaveEvent *event)
{
    event->accept();
}

void CReportPE::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    emit itemDropped(event->posF().toPoint());
}

// ---------------------------------------------------------------------------
// Slots

void CReportPE::OnZoomIn()
{
    m_zoom = zoomedIn(m_zoom);
    updateView();
}

void CReportPE::OnZoomOut()
{
    m_zoom = zoomedOut(m_zoom);
    updateView();
}

void CReportPE::OnZoomNormal()
{
    m_zoom = NormalZoom;
    updateView();
}

void CReportPE::OnGrid()
{
    gridShown = gridShown ? 0 : 1;
    resizeEvent(nullptr);
    viewport()->update();
}

void CReportPE::OnSnap()
{
    snapToGrid = snapToGrid ? 0 : 1;
}

void CReportPE::OnBoundaries()
{
    drawMode->showBoundaries = !drawMode->showBoundaries;
    viewport()->update();
}

void CReportPE::updateView()
{
    resizeEvent(nullptr);
    viewport()->update();
    updateFixScroll();
}

void CReportPE::moveToFrontSelItems()
{
    if (!currentPage)
        return;
    QList<CREPageItem *> selected;
    currentPage->getSelected(selected, false);
    for (CREPageItem *item : qAsConst(selected)) {
        currentPage->items.removeOne(item);
        currentPage->items.append(item);
    }
    viewport()->update();
}

void CReportPE::moveToBackSelItems()
{
    if (!currentPage)
        return;
    QList<CREPageItem *> selected;
    currentPage->getSelected(selected, false);
    for (CREPageItem *item : qAsConst(selected)) {
        currentPage->items.removeOne(item);
        currentPage->items.prepend(item);
    }
    viewport()->update();
}

void CReportPE::renumberBlockReferences()
{
    QList<CREPageItem *> references;
    for (CREPageItem *item : qAsConst(currentPage->items)) {
        if (item->inner && item->inner->type == CREPageItem::BlockReference)
            references.append(item->inner);
    }
    std::stable_sort(
        references.begin(), references.end(),
        [](const CREPageItem *a, const CREPageItem *b) { return a->order < b->order; });
    for (int k = 0; k < references.size(); ++k)
        references.at(k)->order = k;
}

void CReportPE::deleteSelectedItems()
{
    if (!currentPage)
        return;
    QList<CREPageItem *> selected;
    currentPage->getSelected(selected, false);
    if (selected.isEmpty())
        return;
    const int answer = CInfoDlgWin::showAskMessageBox(
        appStyle, QStringLiteral("Question"),
        QStringLiteral("Are You sure?\r\nDo You want to delete selected item?"), nullptr);
    if (answer != 0)
        return;
    for (CREPageItem *item : qAsConst(selected)) {
        currentPage->items.removeOne(item);
        dropFadesOf(item);
        if (m_activeItem == item) {
            m_activeItem = nullptr;
            m_operation = OpNone;
        }
        delete item;
        renumberBlockReferences();
    }
    mousePressEvent(nullptr);
    viewport()->update();
}

// ---------------------------------------------------------------------------
// Adding items

CREPageItem *CReportPE::newFrame(int innerType, const QSizeF &size)
{
    auto *frame = new CREPageItem(container);
    auto *content = new CREPageItem(container);
    frame->type = CREPageItem::Frame;
    content->type = innerType;
    frame->inner = content;
    content->outer = frame;
    frame->fixedContent = true;
    QPainterPath outline;
    outline.addRect(QRectF(QPointF(0, 0), size));
    frame->setShape(outline);
    frame->setBoundSize(size);
    content->setBoundSize(size);
    return frame;
}

CREPageItem *CReportPE::placeItem(CREPageItem *frame, const QPoint &point)
{
    if (currentPage->items.size() >= TemplateLimits::MaxItems) {
        delete frame;
        CInfoDlgWin::showInfoMessageBox(
            appStyle, QStringLiteral("Warning"),
            QStringLiteral("A page of a chart template holds\r\nat most %1 objects.")
                .arg(TemplateLimits::MaxItems),
            this);
        return nullptr;
    }
    const QString problem
        = roomProblem(frame->inner && frame->inner->type == CREPageItem::BlockReference);
    if (!problem.isEmpty()) {
        delete frame;
        CInfoDlgWin::showInfoMessageBox(appStyle, QStringLiteral("Warning"), problem, this);
        return nullptr;
    }
    const QPointF at = viewToPage(point);
    m_insertionPoint = at;
    const QSizeF size = frame->shape.boundingRect().size();
    const double x = qMin(at.x(), currentPage->width - size.width() - 1);
    const double y = qMin(at.y(), currentPage->height - size.height() - 1);
    frame->move(x, y);
    currentPage->moveToPage(frame);
    currentPage->items.append(frame);
    viewport()->update();
    return frame->inner;
}

CREPageItem *CReportPE::addDataItem(const QString &name, const QPoint &point, const QSize &size)
{
    if (!currentPage)
        return nullptr;
    CREPageItem *frame = newFrame(CREPageItem::DataField, QSizeF(size));
    frame->inner->text = name;
    return placeItem(frame, point);
}

CREPageItem *CReportPE::addTextItem(const QString &text, const QPoint &point)
{
    if (!currentPage)
        return nullptr;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(48);
    const QRectF bounds = QFontMetricsF(font).boundingRect(QRectF(), Qt::AlignLeft, text);
    CREPageItem *frame
        = newFrame(CREPageItem::Text, QSizeF(bounds.width() + 3, bounds.height() + 3));
    frame->inner->font = font;
    frame->inner->color = QColor(88, 88, 88);
    frame->inner->text = text;
    return placeItem(frame, point);
}

CREPageItem *CReportPE::addImageItem(QImage &image, const QPoint &point)
{
    if (!currentPage || image.isNull())
        return nullptr;
    const int larger = qMax(image.width(), image.height());
    if (larger > LargestImageSide) {
        const double factor = double(larger) / LargestImageSide;
        const int w = qMax(1, int(image.width() / factor));
        const int h = qMax(1, int(image.height() / factor));
        image = image.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (!roomForPicture(image)) {
        CInfoDlgWin::showInfoMessageBox(appStyle, QStringLiteral("Warning"), noRoomForPictureText(),
                                        this);
        return nullptr;
    }
    int offX = 0;
    int offY = 0;
    const double s = calcFitScale(image.width(), image.height(), int(currentPage->width / 4),
                                  int(currentPage->height / 4), offX, offY);
    const QSizeF size(qMax(1.0, image.width() * s), qMax(1.0, image.height() * s));
    CREPageItem *frame = newFrame(CREPageItem::Image, size);
    frame->inner->image = image;
    return placeItem(frame, point);
}

CREPageItem *CReportPE::addBlockItem(CREPage *block, const QPoint &point)
{
    // A block the document does not hold could not be stored or drawn again;
    // one placed on itself, or on a block it shows, would draw forever.
    if (!currentPage || !block || !blocks.contains(block) || placingRecurses(block, currentPage))
        return nullptr;
    int references = 0;
    for (const CREPageItem *item : qAsConst(currentPage->items)) {
        if (item->inner && item->inner->type == CREPageItem::BlockReference)
            ++references;
    }
    QSizeF size(int(block->width), int(block->height));
    if (size.width() >= currentPage->width - 1 || size.height() >= currentPage->height - 1) {
        int offX = 0;
        int offY = 0;
        const double s
            = calcFitScale(int(block->width), int(block->height), int(currentPage->width - 1),
                           int(currentPage->height - 1), offX, offY);
        size = QSizeF(qMax(1.0, block->width * s), qMax(1.0, block->height * s));
    }
    CREPageItem *frame = newFrame(CREPageItem::BlockReference, size);
    CREPageItem *content = frame->inner;
    content->order = references;
    content->blockIndex = blocks.indexOf(block);
    content->blockPage = block;
    content->blockImage = block->thumbnail;
    return placeItem(frame, point);
}
