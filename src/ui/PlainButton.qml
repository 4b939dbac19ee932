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

    TapHandler {
        onTapped: button.clicked()
    }
    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }

    Rectangle {
        visible: button.activeFocus
        anchors.fill: parent
        anchors.margins: -3
        radius: 3
        color: "transparent"
        border.color: Theme.focus
    }
}
