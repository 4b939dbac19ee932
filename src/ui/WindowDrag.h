#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQuickItem;

// Moves and resizes of the frameless window, handed to the window manager or compositor.
class WindowDrag : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // False where nobody takes the move (no window manager): the caller then moves the window itself.
    Q_INVOKABLE bool startMove(QQuickItem *pressed);
    Q_INVOKABLE bool startResize(QQuickItem *pressed, int edges);

private:
    static bool handOver(QQuickItem *pressed, bool started);
};
