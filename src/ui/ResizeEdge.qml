import QtQuick
import Brinmor.Ui

// One edge or corner of the frameless window that resizes it when dragged.
MouseArea {
    id: edge

    required property int edges

    property bool manual: false
    property rect startGeometry
    property point startPointer

    onPressed: mouse => {
        const window = edge.Window.window;
        // Without a window manager there is no one to ask; resize the window ourselves.
        manual = !WindowDrag.startResize(edge, edge.edges);
        startGeometry = Qt.rect(window.x, window.y, window.width, window.height);
        startPointer = mapToGlobal(mouse.x, mouse.y);
    }
    onReleased: manual = false
    onCanceled: manual = false
    onPositionChanged: mouse => {
        if (!manual)
            return;
        const window = edge.Window.window;
        const pointer = mapToGlobal(mouse.x, mouse.y);
        const dx = pointer.x - startPointer.x;
        const dy = pointer.y - startPointer.y;
        const g = startGeometry;
        let x = g.x, y = g.y, width = g.width, height = g.height;
        if (edges & Qt.RightEdge)
            width = Math.max(window.minimumWidth, g.width + dx);
        if (edges & Qt.BottomEdge)
            height = Math.max(window.minimumHeight, g.height + dy);
        if (edges & Qt.LeftEdge) {
            width = Math.max(window.minimumWidth, g.width - dx);
            x = g.x + g.width - width;
        }
        if (edges & Qt.TopEdge) {
            height = Math.max(window.minimumHeight, g.height - dy);
            y = g.y + g.height - height;
        }
        window.x = x;
        window.y = y;
        window.width = width;
        window.height = height;
    }
}
