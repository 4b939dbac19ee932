#include "WindowDrag.h"

#include <QQuickItem>
#include <QQuickWindow>

bool WindowDrag::startMove(QQuickItem *pressed)
{
    return pressed->window() && handOver(pressed, pressed->window()->startSystemMove());
}

bool WindowDrag::startResize(QQuickItem *pressed, int edges)
{
    return pressed->window() && handOver(pressed, pressed->window()->startSystemResize(Qt::Edges(edges)));
}

bool WindowDrag::handOver(QQuickItem *pressed, bool started)
{
    // The window manager has the pointer now, and on Wayland the button's release never comes
    // back: a press kept would hold its grab and swallow the next click. Dropped once the press
    // event is through, since the item takes its grab only after its handler returns.
    if (started)
        QMetaObject::invokeMethod(pressed, [pressed] { pressed->ungrabMouse(); }, Qt::QueuedConnection);
    return started;
}
