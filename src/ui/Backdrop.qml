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

    DragHandler {
        id: mover

        property point grabbedAt
        property bool manual: false

        target: null
        // A plain click stays a click: the move starts with the first motion past the threshold.
        onActiveChanged: {
            if (!active) {
                manual = false;
                return;
            }
            const window = backdrop.Window.window;
            // Without a window manager there is no one to ask; move the window ourselves.
            manual = !window.startSystemMove();
            grabbedAt = centroid.scenePressPosition;
        }
        onCentroidChanged: {
            if (!manual || !active)
                return;
            const window = backdrop.Window.window;
            window.x += centroid.scenePosition.x - grabbedAt.x;
            window.y += centroid.scenePosition.y - grabbedAt.y;
        }
    }
}
