import QtQuick
import Brinmor.Screen
import Brinmor.Button
import Brinmor.Ui

// The game's one screen: title, score readout, hold button and, while a best
// time exists, the reset button, in a centred column with a 48-point margin.
Item {
    id: screen

    required property ContentView game

    // A right-to-left language reads the screen from the right.
    LayoutMirroring.enabled: Qt.application.layoutDirection === Qt.RightToLeft
    LayoutMirroring.childrenInherit: true

    // Space plays as soon as the window has the keyboard.
    function takeFirstFocus() {
        holdButton.takeFirstFocus();
    }

    implicitWidth: Math.max(360, column.implicitWidth + 96)
    // The height the content needs once the badge's spring has settled, from the parts' own sizes,
    // since the column's follows the spring.
    readonly property real minimumHeight: Math.max(460, 96 + title.implicitHeight + readout.settledHeight
        + holdButton.height + 2 * column.spacing + (resetButton.visible ? column.spacing + resetButton.implicitHeight : 0))

    Column {
        id: column
        objectName: "screenColumn"

        anchors.centerIn: parent
        spacing: 32

        Text {
            id: title
            objectName: "title"
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Brinmor")
            font.family: Theme.roundedFamily
            font.pixelSize: Theme.textSize(28)
            font.bold: true
            color: Theme.primary
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        ScoreReadout {
            id: readout
            objectName: "scoreReadout"
            anchors.horizontalCenter: parent.horizontalCenter
            game: screen.game
        }

        HoldButton {
            id: holdButton
            objectName: "holdButton"
            anchors.horizontalCenter: parent.horizontalCenter
            isHolding: screen.game.isHolding
            best: screen.game.highScore > 0 ? readout.bestText : qsTr("No best time yet")
            onPress: screen.game.startHolding()
            onRelease: screen.game.stopHolding()
        }

        PlainButton {
            id: resetButton
            objectName: "resetButton"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: screen.game.highScore > 0
            text: qsTr("Reset High Score")
            font.pixelSize: Theme.textSize(12)
            color: Theme.secondary
            onClicked: screen.game.resetHighScore()
            // Gone with the best it reset: a keyboard player is not left with the focus nowhere.
            onVisibleChanged: {
                if (!visible && activeFocus)
                    holdButton.takeKeyboardFocus();
            }
        }
    }

    Announcer {
        id: announcer
        objectName: "announcer"
    }

    Connections {
        target: screen.game
        function onHoldEnded() {
            const time = Theme.isolated(screen.game.formatTime(screen.game.elapsed));
            announcer.say(screen.game.showNewRecord ? qsTr("%1, New Record!").arg(time) : time);
        }
        function onHighScoreWasReset() {
            announcer.say(qsTr("Best time reset"));
        }
    }
}
