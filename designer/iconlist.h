#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QScrollArea>
#include <QString>
#include <QWidget>

class CREPage;
class CILContainer;

// One tile of a thumbnail strip: a picture with a caption and a short
// counter text. Glides to its target position by a 30 ms animation.
class CILItem : public QWidget
{
    Q_OBJECT

public:
    explicit CILItem(QWidget *parent = nullptr);
    ~CILItem() override;

    // One animation step towards the target: half the remaining distance on
    // each axis, rounded away from zero. Does nothing while frozen.
    void glideStep();
    // The step of one axis for a remaining distance d.
    static int glideDelta(int d);

    QPoint targetPos = QPoint(0, 0);
    QString caption;
    QString counterText;
    const QImage *picture = nullptr;
    bool selected = false;
    CREPage *page = nullptr;
    int id = -1;
    void *data = nullptr;
    int timerId = 0;
    bool frozen = false;

signals:
    void startDD(void *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
};

// The inner widget of a container: the parent of its tiles.
class CILContainerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CILContainerWidget(QWidget *parent = nullptr)
        : QWidget(parent)
    {
    }
};

// A vertically scrolling column of tiles. A null entry in the tile list is the
// empty slot where a dragged tile would land; it exists only during a drag.
class CILContainer : public QScrollArea
{
    Q_OBJECT

public:
    explicit CILContainer(QWidget *parent = nullptr);

    void updateContainer();
    void calcItemPos(CILItem *item, int index);
    // Places the empty slot under (x, y) in the strip's coordinates; a point
    // outside the inner widget only removes it.
    void prepareItemPlace(int x, int y);
    int emptySlotIndex() const;

    CILContainerWidget *inner;
    QList<CILItem *> items;
    int pitch = 64;
    QSize itemSize = QSize(70, 60);

protected:
    void resizeEvent(QResizeEvent *event) override;
};

// A narrow strip of named tiles (pages or blocks of a template). A click
// selects a tile; a press and move drags it, to another slot of the strip or
// out of it (reported as a drop point). The owner polls processItems() every
// 30 ms: the drag follows the live cursor and buttons, not mouse events.
class CIconList : public QWidget
{
    Q_OBJECT

public:
    explicit CIconList(QWidget *parent = nullptr);

    CILItem *addItem(const QString &caption, int id, CREPage *page);
    void clear();
    void clearSel();
    void setCurrentItem(CILItem *item, bool select);
    void setCurrentItemByPData(void *data, bool select);
    CILItem *getSelectedItem() const;
    void updateList();
    void setItemPicture(QImage *picture);
    void updateFields() { }

    // One polling step with the live cursor and mouse buttons.
    void processItems(QWidget *surface);
    // The same step for a given global cursor position and button state.
    void processItemsAt(QWidget *surface, const QPoint &globalPos, Qt::MouseButtons buttons);

    bool isDragging() const { return m_dragging; }
    bool isPressed() const { return m_pressed; }
    CILItem *currentItem() const { return m_currentItem; }
    CILItem *floatingItem() const { return m_floatingItem; }

    QList<CILContainer *> containers;

public slots:
    void OnStartDD(void *item);

signals:
    void itemSelected(CILItem *item);
    void itemDropped(CILItem *item, QPoint globalPos);
    void signalItemDrop();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startDrag(QWidget *surface);
    void moveDrag(QWidget *surface, const QPoint &globalPos);
    void drop(const QPoint &globalPos);

    // Guarded: the owner may delete a tile, and the surface the floating
    // tile lives on, at any time.
    QPointer<CILItem> m_currentItem;
    QPointer<CILItem> m_floatingItem;
    QPoint m_pressPos;
    bool m_dragging = false;
    bool m_pressed = false;
    CILContainer *m_sourceContainer = nullptr;
    int m_sourceIndex = -1;
    QString m_imagesFolder;
    QImage m_itemPicture;
    QImage m_background;
    QImage m_itemImage;
};
