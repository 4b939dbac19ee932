import QtQuick

// One edge or corner of the frameless window that resizes it when dragged.
Item {
    id: edge

    required property int edges
    required property int cursorShape

    HoverHandler {
        cursorShape: edge.cursorShape
    }

    DragHandler {
        id: resizer

        property bool manual: false
        property rect startGeometry
        property point startPointer

        target: null
        onActiveChanged: {
            if (!active) {
                manual = false;
                return;
            }
            const window = edge.Window.window;
            // Without a window manager there is no one to ask; resize the window ourselves.
            manual = !window.startSystemResize(edge.edges);
            startGeometry = Qt.rect(window.x, window.y, window.width, window.height);
            startPointer = Qt.point(window.x + centroid.scenePosition.x, window.y + centroid.scenePosition.y);
        }
        onCentroidChanged: {
            if (!manual || !active)
                return;
            const window = edge.Window.window;
            const dx = window.x + centroid.scenePosition.x - startPointer.x;
            const dy = window.y + centroid.scenePosition.y - startPointer.y;
            const g = startGeometry;
            if (edge.edges & Qt.RightEdge)
                window.width = Math.max(window.minimumWidth, g.width + dx);
            if (edge.edges & Qt.BottomEdge)
                window.height = Math.max(window.minimumHeight, g.height + dy);
            if (edge.edges & Qt.LeftEdge) {
                const w = Math.max(window.minimumWidth, g.width - dx);
                window.x = g.x + g.width - w;
                window.width = w;
            }
            if (edge.edges & Qt.TopEdge) {
                const h = Math.max(window.minimumHeight, g.height - dy);
                window.y = g.y + g.height - h;
                window.height = h;
            }
        }
    }
}
