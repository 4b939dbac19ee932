import QtQuick
import Brinmor

// Hosts the one HoldButtonNSView in a fixed 180 x 180 frame, hands it the game's
// holding flag and passes its press and release on.
Item {
    id: bridge

    property bool isHolding: false

    signal press()
    signal release()

    width: 180
    height: 180

    HoldButtonNSView {
        objectName: "holdButtonView"
        anchors.fill: parent
        isHolding: bridge.isHolding
        onPress: bridge.press()
        onRelease: bridge.release()

        Accessible.role: Accessible.Button
        Accessible.name: caption
    }
}
