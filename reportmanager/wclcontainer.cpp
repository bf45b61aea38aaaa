#include "reportmanager/wclcontainer.h"

#include "layouts/layoutfile.h"
#include "style/appstyle.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace {

const QColor tileTextColor(237, 219, 178);

int slideAxis(int distance)
{
    return distance > 0 ? (distance + 1) / 2 : (distance - 1) / 2;
}

} // namespace

QByteArray sectionPayload(const repItem &item)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(LayoutStreamVersion);
    writeRepItem(stream, item);
    return bytes;
}

bool readSectionPayload(const QByteArray &payload, repItem *item)
{
    QByteArray bytes = payload;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream stream(&buffer);
    stream.setVersion(LayoutStreamVersion);
    return readRepItem(stream, item, LayoutFileVersion);
}

QPoint slideStep(const QPoint &position, const QPoint &target)
{
    return {slideAxis(target.x() - position.x()), slideAxis(target.y() - position.y())};
}

// ---------------------------------------------------------------------------

CWCLItem::CWCLItem(CAppStyle *style, QWidget *parent)
    : QWidget(parent)
    , style(style)
{
    setSection(repItem());
    title = QString();
    timerId = startTimer(30, Qt::CoarseTimer);
}

CWCLItem::~CWCLItem()
{
    if (timerId)
        killTimer(timerId);
}

repItem CWCLItem::section() const
{
    repItem item;
    item.type = type;
    item.name = name;
    item.kind = kind;
    item.headerFont = headerFont;
    item.contentFont = contentFont;
    item.headerColor = headerColor;
    item.contentColor = contentColor;
    item.defaultStyle = defaultStyle;
    item.texts = texts;
    item.images = images;
    item.useStdText = useStdText;
    item.title = title;
    item.options = options;
    return item;
}

void CWCLItem::setSection(const repItem &item)
{
    type = item.type;
    name = item.name;
    kind = item.kind;
    headerFont = item.headerFont;
    contentFont = item.contentFont;
    headerColor = item.headerColor;
    contentColor = item.contentColor;
    defaultStyle = item.defaultStyle;
    texts = item.texts;
    images = item.images;
    useStdText = item.useStdText;
    title = item.title;
    options = item.options;
}

QPixmap CWCLItem::tintedPicture() const
{
    if (!style || style->lmItemPixmap.isNull())
        return QPixmap();
    return QPixmap::fromImage(style->updateImage(style->lmItemPixmap.toImage()));
}

void CWCLItem::drawItem(QPainter *painter, bool withBackground)
{
    if (withBackground) {
        const QPixmap picture = tintedPicture();
        if (!picture.isNull())
            painter->drawPixmap(0, 0, picture);
        else
            painter->fillRect(rect(), palette().color(QPalette::Mid));
    }
    painter->setPen(selected ? QColor(255, 255, 255) : tileTextColor);
    painter->setFont(font());
    painter->drawText(QRect(1, 1, width() - 2, height() - 5), Qt::AlignCenter, name);
}

void CWCLItem::drawItem(QPixmap *pixmap)
{
    *pixmap = tintedPicture();
    if (pixmap->isNull()) {
        *pixmap = QPixmap(size());
        pixmap->fill(palette().color(QPalette::Mid));
    }
    QPainter painter(pixmap);
    drawItem(&painter, false);
}

void CWCLItem::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timerId) {
        QWidget::timerEvent(event);
        return;
    }
    if (settled)
        return;
    const QPoint step = slideStep(pos(), targetPos);
    if (!step.isNull())
        move(pos() + step);
    else if (copyOnDrag)
        settled = true;
}

void CWCLItem::mousePressEvent(QMouseEvent *event)
{
    emit itemSel(this);
    event->ignore();
}

void CWCLItem::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawItem(&painter, true);
}

// ---------------------------------------------------------------------------

CWCLContainerWidget::CWCLContainerWidget(CAppStyle *style, bool keepDrops, QWidget *parent)
    : QWidget(parent)
    , style(style)
    , keepDrops(keepDrops)
{
    setMouseTracking(true);
    setAcceptDrops(true);
}

CWCLContainerWidget::~CWCLContainerWidget() = default;

QList<CWCLItem *> CWCLContainerWidget::items() const
{
    QList<CWCLItem *> tiles;
    for (CWCLItem *tile : itemList) {
        if (tile)
            tiles.append(tile);
    }
    return tiles;
}

void CWCLContainerWidget::clearItems()
{
    const QList<CWCLItem *> tiles = items();
    itemList.clear();
    qDeleteAll(tiles);
}

void CWCLContainerWidget::updateContainer()
{
    const int entries = itemList.size();
    int height = entries > 0 ? (entries + 1) * rowStep : this->height();
    if (parentWidget())
        height = std::max(height, parentWidget()->height());
    const QSize wanted(itemSize.width() + 8, height);
    if (size() != wanted)
        resize(wanted);
    for (int i = 0; i < entries; ++i) {
        if (itemList.at(i))
            calcItemPos(itemList.at(i), i);
    }
}

void CWCLContainerWidget::calcItemPos(CWCLItem *item, int index)
{
    item->targetPos = QPoint(6, rowStep * index + 4);
}

void CWCLContainerWidget::removeGap()
{
    itemList.removeAll(nullptr);
}

void CWCLContainerWidget::prepareItemPlace(int x, int y)
{
    removeGap();
    if (x > 0 && x < width() && y > 0 && y < height()) {
        const int index = std::min(y / rowStep, int(itemList.size()));
        itemList.insert(index, nullptr);
    }
}

int CWCLContainerWidget::takeForDrag(CWCLItem *tile)
{
    if (!tile->copyOnDrag)
        tile->hide();
    const int index = itemList.indexOf(tile);
    if (index >= 0)
        itemList.removeAt(index);
    return index;
}

void CWCLContainerWidget::finishDrag(CWCLItem *tile, int index, bool moved)
{
    // The gap goes first, so that the tile returns to its own index.
    removeGap();
    const int at = std::clamp(index, 0, int(itemList.size()));
    if (!moved) {
        tile->show();
        itemList.insert(index < 0 ? 0 : at, tile);
    } else if (tile->copyOnDrag) {
        itemList.insert(index < 0 ? 0 : at, tile);
    } else {
        delete tile;
    }
    removeGap();
    updateContainer();
}

void CWCLContainerWidget::startDrag()
{
    auto *tile = qobject_cast<CWCLItem *>(childAt(pressPos));
    if (!tile)
        return;
    auto *mime = new QMimeData;
    mime->setData(QString::fromLatin1(SectionMimeType), sectionPayload(tile->section()));
    QPixmap picture;
    tile->drawItem(&picture);
    auto *drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(picture);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    const int index = takeForDrag(tile);
    const Qt::DropAction action = drag->exec(Qt::MoveAction);
    finishDrag(tile, index, action == Qt::MoveAction);
}

bool CWCLContainerWidget::acceptDrop(const QMimeData *mime, QObject *source, const QPoint &pos)
{
    if (!mime || !mime->hasFormat(QString::fromLatin1(SectionMimeType))
        || !qobject_cast<CWCLContainerWidget *>(source))
        return false;
    if (!keepDrops) {
        removeGap();
        updateContainer();
        emit itemSel(nullptr);
        return true;
    }
    repItem section;
    // A damaged payload still yields a tile of what could be read: the
    // payload only ever comes from a drag of this program.
    readSectionPayload(mime->data(QString::fromLatin1(SectionMimeType)), &section);
    auto *tile = new CWCLItem(style, this);
    tile->setSection(section);
    tile->resize(itemSize);
    tile->show();
    connect(tile, &CWCLItem::itemSel, this, &CWCLContainerWidget::OnItemSel);
    prepareItemPlace(pos.x(), pos.y());
    const int gap = itemList.indexOf(nullptr);
    if (gap >= 0)
        itemList[gap] = tile;
    else
        itemList.prepend(tile);
    removeGap();
    updateContainer();
    tile->move(tile->targetPos);
    emit itemSel(tile);
    return true;
}

void CWCLContainerWidget::OnItemSel(void *item)
{
    emit itemSel(item);
}

void CWCLContainerWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        pressPos = event->localPos().toPoint();
}

void CWCLContainerWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint delta = event->pos() - pressPos;
    if (delta.manhattanLength() >= QApplication::startDragDistance())
        startDrag();
}

void CWCLContainerWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(SectionMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CWCLContainerWidget::dragMoveEvent(QDragMoveEvent *event)
{
    if (!event->mimeData()->hasFormat(QString::fromLatin1(SectionMimeType))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const QPoint at = event->posF().toPoint();
    prepareItemPlace(at.x(), at.y());
    updateContainer();
}

void CWCLContainerWidget::dragLeaveEvent(QDragLeaveEvent *)
{
    removeGap();
    updateContainer();
}

void CWCLContainerWidget::dropEvent(QDropEvent *event)
{
    if (!acceptDrop(event->mimeData(), event->source(), event->posF().toPoint())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

// ---------------------------------------------------------------------------

CWCLContainer::CWCLContainer(CAppStyle *style, QWidget *parent, bool keepDrops)
    : QScrollArea(parent)
{
    setBackgroundRole(QPalette::Dark);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    containerWidget = new CWCLContainerWidget(style, keepDrops, this);
    setWidget(containerWidget);
    containerWidget->show();
}

CWCLContainer::~CWCLContainer() = default;

void CWCLContainer::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    containerWidget->updateContainer();
}
