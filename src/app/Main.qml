import QtQuick
import Brinmor.Screen
import Brinmor.Ui

// The one window: frameless, its content the game screen, never smaller than that content.
Window {
    id: window

    required property ContentView game
    required property bool translucent

    flags: Qt.Window | Qt.FramelessWindowHint
    title: qsTr("Brinmor")
    // High contrast wants an opaque backdrop, blur or not.
    readonly property bool frosted: translucent && !Theme.highContrast

    color: frosted ? "transparent" : Theme.backdrop
    minimumWidth: Math.ceil(screen.implicitWidth)
    // Room for the badge and the reset button from the start, so the window seldom has to grow.
    width: 420
    height: 620
    visible: true
    // Content that grows past the window (a first record adds the badge and the reset button, larger text
    // widens everything) gets its room.
    onMinimumWidthChanged: width = Math.max(width, minimumWidth)
    onMinimumHeightChanged: height = Math.max(height, minimumHeight)
    // Without a window manager nobody else gives the new window the keyboard.
    Component.onCompleted: requestActivate()
    onActiveChanged: {
        if (active && activeFocusItem === contentItem)
            screen.takeFirstFocus();
    }

    // Once per change of content: a record adds the badge and the reset button in one go.
    Binding on minimumHeight {
        value: Math.ceil(screen.minimumHeight)
        delayed: true
    }

    Backdrop {
        anchors.fill: parent
        translucent: window.frosted
        still: window.game.isHolding
    }

    GameScreen {
        id: screen
        anchors.fill: parent
        game: window.game
    }

    WindowChrome {
        anchors.fill: parent
    }

    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }
}
