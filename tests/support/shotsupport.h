#pragma once

#include <QWidget>

// The tests that show real windows share one display while CTest runs them in
// parallel, so other tests' windows and pointer moves send real enter and
// leave events whenever events are processed. Called right before a
// synchronous grab, with no event processing in between, this makes the shot
// show no widget under the pointer, whatever happened before.
inline void clearPointer(QWidget *window)
{
    window->setAttribute(Qt::WA_UnderMouse, false);
    const QList<QWidget *> children = window->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->setAttribute(Qt::WA_UnderMouse, false);
}
