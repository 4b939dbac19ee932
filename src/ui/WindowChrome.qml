import QtQuick

// What the missing title bar would give: resize edges and corners, and
// minimise and close controls in the top-right corner.
Item {
    id: chrome

    readonly property int grip: 6

    // The controls go to the other top corner in a right-to-left language; the edges stay where they are.
    LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
    LayoutMirroring.childrenInherit: true
    readonly property int target: 24

    ResizeEdge { edges: Qt.LeftEdge; cursorShape: Qt.SizeHorCursor; x: 0; y: chrome.grip; width: chrome.grip; height: chrome.height - 2 * chrome.grip }
    ResizeEdge { edges: Qt.RightEdge; cursorShape: Qt.SizeHorCursor; x: chrome.width - chrome.grip; y: chrome.grip; width: chrome.grip; height: chrome.height - 2 * chrome.grip }
    ResizeEdge { edges: Qt.TopEdge; cursorShape: Qt.SizeVerCursor; x: chrome.grip; y: 0; width: chrome.width - 2 * chrome.grip; height: chrome.grip }
    ResizeEdge { edges: Qt.BottomEdge; cursorShape: Qt.SizeVerCursor; x: chrome.grip; y: chrome.height - chrome.grip; width: chrome.width - 2 * chrome.grip; height: chrome.grip }
    ResizeEdge { edges: Qt.TopEdge | Qt.LeftEdge; cursorShape: Qt.SizeFDiagCursor; x: 0; y: 0; width: 2 * chrome.grip; height: 2 * chrome.grip }
    ResizeEdge { edges: Qt.TopEdge | Qt.RightEdge; cursorShape: Qt.SizeBDiagCursor; x: chrome.width - 2 * chrome.grip; y: 0; width: 2 * chrome.grip; height: 2 * chrome.grip }
    ResizeEdge { edges: Qt.BottomEdge | Qt.LeftEdge; cursorShape: Qt.SizeBDiagCursor; x: 0; y: chrome.height - 2 * chrome.grip; width: 2 * chrome.grip; height: 2 * chrome.grip }
    ResizeEdge { edges: Qt.BottomEdge | Qt.RightEdge; cursorShape: Qt.SizeFDiagCursor; x: chrome.width - 2 * chrome.grip; y: chrome.height - 2 * chrome.grip; width: 2 * chrome.grip; height: 2 * chrome.grip }

    // Each glyph centred in a target of 24 x 24, the least a pointer should have to hit; the glyphs
    // stay where they were, clear of the content's 48-point margin.
    Row {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 10
        anchors.rightMargin: 8
        spacing: 2

        PlainButton {
            objectName: "minimiseButton"
            width: Math.max(chrome.target, implicitWidth)
            height: Math.max(chrome.target, implicitHeight)
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: "\u2013"
            font.pixelSize: Theme.textSize(16)
            color: Theme.secondary
            Accessible.name: qsTr("Minimise")
            onClicked: chrome.Window.window.showMinimized()
        }
        PlainButton {
            objectName: "closeButton"
            width: Math.max(chrome.target, implicitWidth)
            height: Math.max(chrome.target, implicitHeight)
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: "\u00D7"
            font.pixelSize: Theme.textSize(18)
            color: Theme.secondary
            Accessible.name: qsTr("Close")
            onClicked: chrome.Window.window.close()
        }
    }
}
