#include "designer/iconlist.h"

#include "base/apppaths.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

const QColor SelectedText(255, 50, 50);
const QColor NormalText(0, 93, 179);
constexpr int DragThreshold = 11;
constexpr int StripMargin = 4;

} // namespace

// ---------------------------------------------------------------------------
// CILItem

CILItem::CILItem(QWidget *parent)
    : QWidget(parent)
{
    timerId = startTimer(30, Qt::CoarseTimer);
}

CILItem::~CILItem()
{
    if (timerId)
        killTimer(timerId);
}

int CILItem::glideDelta(int d)
{
    if (d > 0)
        return (d + 1) / 2;
    if (d < 0)
        return (d - 1) / 2;
    return 0;
}

void CILItem::glideStep()
{
    if (frozen)
        return;
    const QPoint here = pos();
    const int dx = glideDelta(targetPos.x() - here.x());
    const int dy = glideDelta(targetPos.y() - here.y());
    if (dx || dy)
        move(here.x() + dx, here.y() + dy);
}

void CILItem::mousePressEvent(QMouseEvent *event)
{
    emit startDD(this);
    QWidget::mousePressEvent(event);
}

void CILItem::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == timerId)
        glideStep();
    else
        QWidget::timerEvent(event);
}

void CILItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (picture && !picture->isNull())
        p.drawImage(0, 0, *picture);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    p.setFont(font);
    p.setPen(selected ? SelectedText : NormalText);
    const int w = width();
    const int h = height();
    // Rectangles with inclusive corners.
    if (!counterText.isEmpty()) {
        p.drawText(QRect(QPoint(4, 4), QPoint(w - 5, h - 17)), Qt::AlignCenter | Qt::TextWordWrap,
                   caption);
        p.drawText(QRect(QPoint(20, h - 20), QPoint(w - 9, h - 7)),
                   Qt::AlignRight | Qt::AlignVCenter, counterText);
    } else {
        p.drawText(QRect(QPoint(4, 4), QPoint(w - 5, h - 9)), Qt::AlignCenter | Qt::TextWordWrap,
                   caption);
    }
}

// ---------------------------------------------------------------------------
// CILContainer

CILContainer::CILContainer(QWidget *parent)
    : QScrollArea(parent)
    , inner(new CILContainerWidget)
{
    setBackgroundRole(QPalette::Dark);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWidget(inner);
    updateContainer();
}

void CILContainer::calcItemPos(CILItem *item, int index)
{
    if (item)
        item->targetPos = QPoint(3, index * pitch + 4);
}

void CILContainer::updateContainer()
{
    const int n = items.size();
    const int own = height();
    const int h = n ? qMax((n + 1) * pitch, own) : own;
    inner->resize(itemSize.width() + 8, h);
    for (int i = 0; i < n; ++i)
        calcItemPos(items.at(i), i);
}

int CILContainer::emptySlotIndex() const
{
    return items.indexOf(nullptr);
}

void CILContainer::prepareItemPlace(int x, int y)
{
    items.removeAll(nullptr);
    QWidget *strip = parentWidget();
    const QPoint inContainer = strip ? mapFrom(strip, QPoint(x, y)) : QPoint(x, y);
    const QPoint p = inner->mapFrom(this, inContainer);
    if (p.x() > 0 && p.x() < inner->width() && p.y() > 0 && p.y() < inner->height()) {
        const int index = p.y() / pitch;
        if (index >= items.size())
            items.append(nullptr);
        else
            items.insert(index, nullptr);
    }
}

void CILContainer::resizeEvent(QResizeEvent *)
{
    // The scroll area's own handling would resize the inner widget to fit.
    updateContainer();
}

// ---------------------------------------------------------------------------
// CIconList

CIconList::CIconList(QWidget *parent)
    : QWidget(parent)
    , m_imagesFolder(getImagesPath())
{
    setAttribute(Qt::WA_MouseTracking);
    m_background.load(m_imagesFolder + QStringLiteral("ilcont.png"));
    m_itemImage.load(m_imagesFolder + QStringLiteral("ilitem.png"));
    auto *container = new CILContainer(this);
    container->setGeometry(0, 0, 100, 250);
    containers.append(container);
    m_itemPicture = m_itemImage;
}

CILItem *CIconList::addItem(const QString &caption, int id, CREPage *page)
{
    CILContainer *container = containers.first();
    auto *item = new CILItem(container->inner);
    item->picture = &m_itemPicture;
    item->id = id;
    item->page = page;
    item->caption = caption;
    item->resize(container->itemSize);
    connect(item, &CILItem::startDD, this, &CIconList::OnStartDD);
    container->items.append(item);
    item->show();
    container->updateContainer();
    return item;
}

void CIconList::clear()
{
    m_currentItem = nullptr;
    // A drag in progress goes with its tiles.
    if (m_dragging) {
        delete m_floatingItem;
        m_dragging = false;
    }
    m_pressed = false;
    m_sourceContainer = nullptr;
    for (CILContainer *container : qAsConst(containers)) {
        for (CILItem *item : qAsConst(container->items))
            delete item;
        container->items.clear();
        // The tile taken out for a drag is in no list but still a child.
        qDeleteAll(
            container->inner->findChildren<CILItem *>(QString(), Qt::FindDirectChildrenOnly));
    }
}

void CIconList::clearSel()
{
    for (CILContainer *container : qAsConst(containers)) {
        for (CILItem *item : qAsConst(container->items)) {
            if (item && item->selected) {
                item->selected = false;
                item->repaint();
            }
        }
    }
    m_currentItem = nullptr;
}

void CIconList::setCurrentItem(CILItem *item, bool select)
{
    if (select)
        clearSel();
    if (!item)
        return;
    for (CILContainer *container : qAsConst(containers)) {
        for (CILItem *tile : qAsConst(container->items)) {
            if (tile && tile == item) {
                m_currentItem = tile;
                if (select)
                    tile->selected = true;
                tile->repaint();
                break;
            }
        }
    }
}

void CIconList::setCurrentItemByPData(void *data, bool select)
{
    if (select)
        clearSel();
    if (!data)
        return;
    for (CILContainer *container : qAsConst(containers)) {
        for (CILItem *tile : qAsConst(container->items)) {
            if (tile && tile->data == data) {
                m_currentItem = tile;
                if (select)
                    tile->selected = true;
                tile->repaint();
                break;
            }
        }
    }
}

CILItem *CIconList::getSelectedItem() const
{
    for (CILContainer *container : containers) {
        for (CILItem *tile : qAsConst(container->items)) {
            if (tile && tile->selected)
                return tile;
        }
    }
    return nullptr;
}

void CIconList::updateList()
{
    for (CILContainer *container : qAsConst(containers))
        container->updateContainer();
}

void CIconList::setItemPicture(QImage *picture)
{
    m_itemPicture = picture ? *picture : QImage();
}

void CIconList::OnStartDD(void *item)
{
    for (CILContainer *container : qAsConst(containers)) {
        for (CILItem *tile : qAsConst(container->items)) {
            if (tile && tile == item) {
                m_currentItem = tile;
                tile->repaint();
                break;
            }
        }
    }
    m_pressPos = QCursor::pos();
    m_pressed = true;
}

void CIconList::processItems(QWidget *surface)
{
    processItemsAt(surface, QCursor::pos(), QGuiApplication::mouseButtons());
}

void CIconList::processItemsAt(QWidget *surface, const QPoint &globalPos, Qt::MouseButtons buttons)
{
    if (!m_currentItem) {
        // The dragged tile was deleted under the drag: end it without a drop.
        if (m_dragging) {
            delete m_floatingItem;
            m_dragging = false;
            m_pressed = false;
            for (CILContainer *container : qAsConst(containers)) {
                container->prepareItemPlace(-1000, -1000);
                container->updateContainer();
            }
            emit signalItemDrop();
        }
        return;
    }
    const bool down = buttons & Qt::LeftButton;
    if (!down) {
        if (m_dragging) {
            drop(globalPos);
        } else if (m_pressed) {
            m_currentItem->selected = true;
            m_currentItem->repaint();
            emit itemSelected(m_currentItem.data());
        }
        m_pressed = false;
        return;
    }
    if (!surface)
        return;
    if (m_pressed && !m_dragging) {
        const int distance
            = qAbs(m_pressPos.x() - globalPos.x()) + qAbs(m_pressPos.y() - globalPos.y());
        if (distance < DragThreshold)
            return;
        startDrag(surface);
    }
    if (m_dragging)
        moveDrag(surface, globalPos);
}

void CIconList::startDrag(QWidget *surface)
{
    m_sourceContainer = nullptr;
    m_sourceIndex = -1;
    for (CILContainer *container : qAsConst(containers)) {
        const int index = container->items.indexOf(m_currentItem);
        if (index >= 0) {
            m_sourceContainer = container;
            m_sourceIndex = index;
            container->items.removeAt(index);
            break;
        }
    }
    // A current tile that no container holds cannot be dragged.
    if (!m_sourceContainer) {
        m_pressed = false;
        return;
    }
    m_dragging = true;
    m_currentItem->frozen = true;
    m_currentItem->move(0, -100);

    auto *floating = new CILItem(surface);
    floating->picture = &m_itemPicture;
    floating->frozen = true;
    floating->caption = m_currentItem->caption;
    floating->id = m_currentItem->id;
    floating->data = m_currentItem->data;
    floating->selected = m_currentItem->selected;
    floating->resize(m_currentItem->size());
    floating->show();
    floating->raise();
    m_floatingItem = floating;
}

void CIconList::moveDrag(QWidget *surface, const QPoint &globalPos)
{
    if (m_floatingItem) {
        const QPoint c = surface->mapFromGlobal(globalPos);
        const int x = qBound(0, c.x() - m_currentItem->width() / 2,
                             qMax(0, surface->width() - m_floatingItem->width()));
        const int y = qBound(0, c.y() - m_currentItem->height() / 2, qMax(0, surface->height()));
        m_floatingItem->move(x, y);
    }
    const QPoint inStrip = mapFromGlobal(globalPos);
    for (CILContainer *container : qAsConst(containers)) {
        container->prepareItemPlace(inStrip.x(), inStrip.y());
        container->updateContainer();
    }
}

void CIconList::drop(const QPoint &globalPos)
{
    CILItem *tile = m_currentItem;
    const QPoint inStrip = mapFromGlobal(globalPos);
    CILContainer *target = nullptr;
    for (CILContainer *container : qAsConst(containers)) {
        if (container->geometry().contains(inStrip)) {
            target = container;
            break;
        }
    }
    if (target) {
        tile->setParent(target->inner);
        const int slot = target->emptySlotIndex();
        if (slot >= 0) {
            target->items[slot] = tile;
            const QPoint place(3, slot * target->pitch + 4);
            tile->targetPos = place;
            tile->move(place);
        } else {
            target->items.append(tile);
        }
    } else {
        CILContainer *source = m_sourceContainer ? m_sourceContainer : containers.first();
        tile->setParent(source->inner);
        source->items.removeAll(nullptr);
        source->items.insert(qBound(0, m_sourceIndex, source->items.size()), tile);
    }
    tile->frozen = false;
    tile->show();
    m_dragging = false;
    m_pressed = false;
    m_currentItem = nullptr;
    delete m_floatingItem;
    for (CILContainer *container : qAsConst(containers)) {
        container->prepareItemPlace(-1000, -1000);
        container->updateContainer();
    }
    if (!target)
        emit itemDropped(tile, globalPos);
    emit signalItemDrop();
}

void CIconList::paintEvent(QPaintEvent *)
{
    if (m_background.isNull())
        return;
    QPainter p(this);
    const int h = m_background.height() / 2;
    const int bw = m_background.width();
    if (h < 1)
        return;
    // Top and bottom slices unscaled, the middle row stretched between them.
    p.drawImage(QRect(0, 0, bw, h - 1), m_background, QRect(0, 0, bw, h - 1));
    const int middleBottom = height() - h;
    if (middleBottom > h - 1)
        p.drawImage(QRect(0, h - 1, bw, middleBottom - (h - 1)), m_background,
                    QRect(0, h - 1, bw, 1));
    p.drawImage(QRect(0, middleBottom, bw, h - 1), m_background, QRect(0, h + 1, bw, h - 1));
}

void CIconList::resizeEvent(QResizeEvent *)
{
    if (!containers.isEmpty())
        containers.first()->setGeometry(StripMargin, StripMargin, width() - 2 * StripMargin,
                                        height() - 2 * StripMargin);
}
