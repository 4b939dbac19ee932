import QtQuick
import Brinmor.Button
import Brinmor.Ui

// Hosts the one HoldButtonNSView in a fixed 180 x 180 frame, hands it the game's
// holding flag and passes its press and release on.
Item {
    id: bridge

    property bool isHolding: false
    // Told with what the button does, so that a screen reader player hears the time to beat.
    property string best

    signal press()
    signal release()

    // The focus back from a control that went away under it, ring and all: the player is on the keyboard.
    function takeKeyboardFocus() {
        view.forceActiveFocus(Qt.TabFocusReason);
    }

    // The window's first focus, given once the window is active: a screen reader announces the
    // window and then the button, which it would not if the button had the focus first.
    function takeFirstFocus() {
        view.focus = true;
    }

    // 180 x 180, larger only when large text would not fit in it.
    width: view.implicitWidth
    height: view.implicitHeight

    HoldButtonNSView {
        id: view
        objectName: "holdButtonView"
        anchors.fill: parent
        isHolding: bridge.isHolding
        idleColor: Theme.holdIdle
        heldColor: Theme.holdHeld
        captionColor: Theme.holdCaption
        textScale: Appearance.textScale
        onPress: bridge.press()
        onRelease: bridge.release()

        Accessible.role: Accessible.Button
        Accessible.name: caption
        Accessible.description: qsTr("Hold Space, the mouse button or A on a pad") + ". " + bridge.best
    }

    // Outside the circle, so neither look changes under it.
    Rectangle {
        objectName: "holdFocusRing"
        visible: view.activeFocus && view.visualFocus
        anchors.fill: view
        anchors.margins: -6
        radius: width / 2
        color: "transparent"
        border.width: 3
        border.color: Theme.focus
    }
}
