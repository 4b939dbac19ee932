import QtQuick
import Brinmor.Ui

// The surface under the whole window, one colour throughout: frosted glass where the
// compositor blurs what lies behind the window, opaque anywhere else, so that text
// behind never shows through sharp. Dragging it moves the window.
Rectangle {
    id: backdrop

    // Only where the compositor blurs behind the window.
    property bool translucent: false
    // While a hold is under way the window stays put: a second finger, or the other hand's mouse, would move it.
    property bool still: false

    color: Qt.rgba(Theme.backdrop.r, Theme.backdrop.g, Theme.backdrop.b, translucent ? 0.84 : 1.0)
    radius: translucent ? 10 : 0
    // Sets the window apart from a background of the same colour.
    border.color: Qt.rgba(Theme.primary.r, Theme.primary.g, Theme.primary.b, 0.12)

    MouseArea {
        id: dragArea

        property point pressedAt
        property point windowAt
        property bool moving: false
        property bool manual: false

        anchors.fill: parent
        enabled: !backdrop.still
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
                manual = !WindowDrag.startMove(dragArea);
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
