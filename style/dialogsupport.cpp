#include "dialogsupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QString qsGlobalDlgStyle;

QString globalDialogStyleSheet(const QString &imagesFolder)
{
    return QStringLiteral(
               "QPushButton { background: #44372f; border: 0px; border-radius: 6px; color: "
               "#eddbb2; min-width: 80px; min-height: 25px; }             QPushButton:pressed { "
               "background: #2d241f; }             QPushButton:hover { background: #54443a; }   "
               "         QCheckBox { background: none; color: #eddbb2; border:none; }            "
               "QCheckBox::indicator:unchecked { background: #2c2420; border: 1px solid #594f49; "
               "width: 12px; height: 12px; }            QCheckBox::indicator:checked { image:url(")
        + imagesFolder
        + QStringLiteral(
               "/cbc.png); background: #2c2420; border: 1px solid #594f49; width: 12px; height: "
               "12px; }            QDialog { background: #2c2420; }            QLabel { color: "
               "#9cb62d; }            QLineEdit { background-color: #2c2420; border: 1px solid "
               "#5c524c; color: #eddbb2;}            QTextEdit { background: #2c2420;  border: 1px "
               "solid #5c524c; color: #eddbb2; }");
}

QPoint ASBoundedPosition(const QRect &window, const QRect &available)
{
    int x = window.x();
    int y = window.y();
    if (x + window.width() > available.right())
        x = available.right() - window.width();
    if (x < available.left())
        x = available.left();
    if (y + window.height() > available.bottom())
        y = available.bottom() - window.height();
    if (y < available.top())
        y = available.top();
    return QPoint(x, y);
}

void ASCheckScreenBoundary(QWidget *widget)
{
    if (!widget)
        return;
    QScreen *screen = QGuiApplication::screenAt(widget->frameGeometry().center());
    if (!screen)
        screen = widget->screen();
    if (!screen)
        return;
    const QPoint current(widget->x(), widget->y());
    const QPoint bounded
        = ASBoundedPosition(QRect(current, widget->size()), screen->availableGeometry());
    if (bounded != current)
        widget->move(bounded);
}

QPoint centredOverParent(const QWidget *parent, const QSize &size)
{
    if (!parent)
        return QPoint();
    const QWidget *reference = parent->parentWidget() ? parent->parentWidget() : parent;
    // A window is placed by its frame position; a widget inside a window by
    // its position on the screen, not by its offset within its own parent.
    const QPoint origin
        = reference->isWindow() ? reference->pos() : reference->mapToGlobal(QPoint(0, 0));
    const int x = origin.x() + (reference->width() - size.width()) / 2;
    const int y = origin.y() + (reference->height() - size.height()) / 2;
    return QPoint(qMax(0, x), qMax(0, y));
}
