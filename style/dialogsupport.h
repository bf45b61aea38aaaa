#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

// The style sheet of the small fixed-size dialogs (settings, About, the
// report-list choice of the export); empty until the main window assigns it.
extern QString qsGlobalDlgStyle;

// The text the main window assigns to qsGlobalDlgStyle; imagesFolder ends
// with a path separator.
QString globalDialogStyleSheet(const QString &imagesFolder);

// Where a window at window.topLeft() of window.size() goes so that it stays
// inside the available area: the right and bottom edges are pulled in
// first, then the left and top edges win when the window is too large.
QPoint ASBoundedPosition(const QRect &window, const QRect &available);

// Moves a freshly placed window back onto the available area of its screen.
void ASCheckScreenBoundary(QWidget *widget);

// The top-left corner that centres a size over a reference widget: over the
// parent's own parent when it has one, else over the parent, never negative.
QPoint centredOverParent(const QWidget *parent, const QSize &size);
