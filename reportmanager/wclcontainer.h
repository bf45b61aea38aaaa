#pragma once

#include "layouts/reportsetting.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QScrollArea>
#include <QSize>
#include <QWidget>

class CAppStyle;
class QMimeData;
class QPixmap;

// The drag format of a section tile; it carries one section in the layout-file
// encoding and is exchanged only between the lists of this program.
constexpr const char *SectionMimeType = "int/x-lm-item";

// A section in the drag encoding, and back; false for a damaged payload.
QByteArray sectionPayload(const repItem &item);
bool readSectionPayload(const QByteArray &payload, repItem *item);

// One tick of a tile's slide: half the remaining distance per axis, an odd
// distance giving the larger half.
QPoint slideStep(const QPoint &position, const QPoint &target);

// One tile of a section list, carrying a complete section.
class CWCLItem : public QWidget
{
    Q_OBJECT

public:
    CWCLItem(CAppStyle *style, QWidget *parent);
    ~CWCLItem() override;

    void drawItem(QPainter *painter, bool withBackground);
    void drawItem(QPixmap *pixmap);

    // The section the tile carries, and setting all of its section fields.
    repItem section() const;
    void setSection(const repItem &item);

    QPoint targetPos;
    QString name;
    bool selected = false;
    bool copyOnDrag = false;
    int kind = 0;
    uint type = 0;
    QFont headerFont;
    QFont contentFont;
    QColor headerColor;
    QColor contentColor;
    bool defaultStyle = true;
    QStringList texts;
    QList<QImage> images;
    QList<bool> useStdText;
    QString title;
    QMap<QString, QString> options;
    int timerId = 0;
    bool settled = false;
    CAppStyle *style = nullptr;

Q_SIGNALS:
    void itemSel(void *item);

protected:
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap tintedPicture() const;
};

// The surface of one section list: lays the tiles out, opens a gap under a
// drag, starts drags and takes drops.
class CWCLContainerWidget : public QWidget
{
    Q_OBJECT

public:
    CWCLContainerWidget(CAppStyle *style, bool keepDrops, QWidget *parent);
    ~CWCLContainerWidget() override;

    void updateContainer();
    void calcItemPos(CWCLItem *item, int index);
    void prepareItemPlace(int x, int y);
    void startDrag();

    // The steps of a drag, apart from the platform's drag loop, so that a
    // drag can also be played through without one.
    // Takes the tile out of the list (hiding it unless it is a template) and
    // returns its index, -1 when it was not in the list.
    int takeForDrag(CWCLItem *tile);
    // Ends the drag of a tile taken out at index: moved says whether the drag
    // ended in a move.
    void finishDrag(CWCLItem *tile, int index, bool moved);
    // Handles a drop of mime from source at pos; false when it was refused.
    bool acceptDrop(const QMimeData *mime, QObject *source, const QPoint &pos);

    // The tiles in list order, without the gap.
    QList<CWCLItem *> items() const;
    // Deletes every tile and empties the list.
    void clearItems();

    CAppStyle *style = nullptr;
    QPoint pressPos;
    QList<CWCLItem *> itemList;
    int rowStep = 24;
    QSize itemSize = QSize(150, 22);
    bool keepDrops = false;

Q_SIGNALS:
    void itemSel(void *item);

public Q_SLOTS:
    void OnItemSel(void *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void removeGap();
};

// A scroll area around one list surface.
class CWCLContainer : public QScrollArea
{
    Q_OBJECT

public:
    CWCLContainer(CAppStyle *style, QWidget *parent, bool keepDrops);
    ~CWCLContainer() override;

    CWCLContainerWidget *containerWidget = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
};
