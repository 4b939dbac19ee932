#include "WindowDrag.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTouchEvent>

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
    // event is through, since the item takes its grab only after its handler returns. A finger's
    // lift does not come back either, and until it does Qt Quick turns no other finger into a
    // mouse: to the window, the finger the compositor took is a cancelled one.
    if (started) {
        QMetaObject::invokeMethod(pressed, [pressed] {
            pressed->ungrabMouse();
            for (const QInputDevice *device : QInputDevice::devices()) {
                if (device->type() != QInputDevice::DeviceType::TouchScreen || !pressed->window())
                    continue;
                QTouchEvent cancel(QEvent::TouchCancel, static_cast<const QPointingDevice *>(device));
                QCoreApplication::sendEvent(pressed->window(), &cancel);
            }
        }, Qt::QueuedConnection);
    }
    return started;
}
