import QtQuick

// The surface under the whole window. Frosted and see-through where the desktop
// composites windows, the same colour fully opaque where it does not, so text
// stays readable on any desktop. Dragging it moves the window.
Rectangle {
    id: backdrop

    property bool translucent: false

    color: Qt.rgba(Theme.backdrop.r, Theme.backdrop.g, Theme.backdrop.b, translucent ? 0.84 : 1.0)
    radius: translucent ? 10 : 0
    border.color: Qt.rgba(Theme.primary.r, Theme.primary.g, Theme.primary.b, 0.12)

    gradient: Gradient {
        GradientStop { position: 0.0; color: Qt.lighter(backdrop.color, Theme.dark ? 1.25 : 1.03) }
        GradientStop { position: 1.0; color: backdrop.color }
    }

    MouseArea {
        property point pressedAt
        property point windowAt
        property bool moving: false
        property bool manual: false

        anchors.fill: parent
        onPressed: mouse => {
            pressedAt = mapToGlobal(mouse.x, mouse.y);
            moving = false;
        }
        onPositionChanged: mouse => {
            const window = backdrop.Window.window;
            const pointer = mapToGlobal(mouse.x, mouse.y);
            if (!moving) {
                // A plain click stays a click: the move starts with the first motion past the threshold.
                const threshold = Qt.styleHints.startDragDistance;
                if (Math.abs(pointer.x - pressedAt.x) < threshold && Math.abs(pointer.y - pressedAt.y) < threshold)
                    return;
                moving = true;
                // Without a window manager there is no one to ask; move the window ourselves.
                manual = !window.startSystemMove();
                windowAt = Qt.point(window.x, window.y);
            }
            if (manual) {
                window.x = windowAt.x + pointer.x - pressedAt.x;
                window.y = windowAt.y + pointer.y - pressedAt.y;
            }
        }
        onReleased: moving = false
        onCanceled: moving = false
    }
}
