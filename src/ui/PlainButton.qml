import QtQuick

// A button drawn as its label alone. Still a real button: Tab reaches it,
// Space or Enter activates it, and assistive technology sees a button.
Text {
    id: button

    signal clicked()

    activeFocusOnTab: true
    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: button.clicked()

    Keys.onSpacePressed: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()

    // Takes the press, so that the window's drag underneath never sees it. A click is a release on the
    // label; a mouse let go off it means "never mind", as on every desktop button, while a finger, which
    // wobbles, still taps close to where it pressed.
    MouseArea {
        property point pressedAt

        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onPressed: mouse => pressedAt = Qt.point(mouse.x, mouse.y)
        onReleased: mouse => {
            const finger = mouse.source !== Qt.MouseEventNotSynthesized;
            const slop = 2 * Qt.styleHints.startDragDistance;
            if (contains(Qt.point(mouse.x, mouse.y))
                    || (finger && Math.hypot(mouse.x - pressedAt.x, mouse.y - pressedAt.y) <= slop))
                button.clicked();
        }
    }

    Rectangle {
        visible: button.activeFocus
        anchors.fill: parent
        anchors.margins: -3
        radius: 3
        color: "transparent"
        border.color: Theme.focus
        border.width: Theme.highContrast ? 2 : 1
    }
}
