import QtQuick
import Brinmor.Screen
import Brinmor.Ui

// The time held, the best time, and the new-record badge.
Column {
    id: readout

    required property ContentView game
    // Between the time, the best-time row and the badge.
    readonly property int gap: 8
    readonly property string bestText: bestText.text
    // A hold's ticks are not news for a screen reader: during a hold the readout's accessible name
    // follows whole seconds only.
    readonly property int heldSeconds: Math.floor(game.elapsed)
    // The height once the badge has sprung in or gone, from the parts' own sizes, not from the
    // column's, which follows the spring.
    readonly property real settledHeight: timeReadout.implicitHeight + bestRow.implicitHeight
                                          + (game.showNewRecord ? badgeSlot.fullHeight : 0)

    Text {
        id: timeReadout
        objectName: "timeReadout"
        anchors.horizontalCenter: parent.horizontalCenter
        text: readout.game.formatTime(readout.game.elapsed)
        font.family: Theme.monospaceFamily
        font.weight: Font.DemiBold
        Accessible.role: Accessible.Paragraph
        Accessible.name: readout.game.isHolding ? readout.game.formatTime(readout.heldSeconds) : text
        font.pixelSize: Theme.textSize(56)
        color: readout.game.isHolding ? Theme.green : Theme.primary
    }

    Row {
        id: bestRow
        objectName: "bestRow"
        anchors.horizontalCenter: parent.horizontalCenter
        topPadding: readout.gap
        spacing: 6

        TrophyIcon {
            objectName: "trophy"
            anchors.verticalCenter: bestText.verticalCenter
            width: bestText.font.pixelSize
            height: bestText.font.pixelSize
            color: Theme.yellow
        }
        Text {
            id: bestText
            objectName: "bestText"
            text: qsTr("Best: %1").arg(Theme.isolated(readout.game.formatTime(readout.game.highScore)))
            font.family: Theme.monospaceFamily
            font.pixelSize: Theme.textSize(16)
            font.weight: Font.Medium
            color: Theme.secondary
            Accessible.role: Accessible.Paragraph
            Accessible.name: text
        }
    }

    // Grows with the badge so the rest of the centred column moves apart on the same spring.
    // The slot's centre stays put while it grows, so the badge, centred on its final place
    // within it, grows about its own centre without moving.
    Item {
        id: badgeSlot
        objectName: "badgeSlot"

        property real progress: 0
        readonly property real fullHeight: readout.gap + badge.implicitHeight

        visible: progress > 0
        width: badge.implicitWidth
        height: fullHeight * progress
        anchors.horizontalCenter: parent.horizontalCenter

        Text {
            id: badge
            objectName: "badge"
            anchors.verticalCenter: parent.verticalCenter
            anchors.verticalCenterOffset: readout.gap / 2
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("🎉 New Record!")
            font.pixelSize: Theme.textSize(14)
            font.weight: Font.DemiBold
            color: Theme.orange
            // Below a pixel the colour emoji has no size to be drawn at.
            visible: font.pixelSize * badgeSlot.progress >= 1
            scale: badgeSlot.progress
            opacity: badgeSlot.progress
            Accessible.role: Accessible.Paragraph
            Accessible.name: text
        }

        NumberAnimation {
            id: springIn
            objectName: "badgeSpring"
            target: badgeSlot
            property: "progress"
            from: 0
            to: 1
            duration: Spring.duration
            easing: Spring.easing
        }
    }

    Connections {
        target: readout.game
        // Only a new record animates, and only where the desktop lets things move; the badge leaves at once.
        function onShowNewRecordChanged() {
            if (readout.game.showNewRecord && Theme.reducedMotion) {
                badgeSlot.progress = 1;
            } else if (readout.game.showNewRecord) {
                springIn.restart();
            } else {
                springIn.stop();
                badgeSlot.progress = 0;
            }
        }
    }
}
