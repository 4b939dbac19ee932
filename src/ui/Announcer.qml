import QtQuick

// Says a message to a screen reader, and shows nothing: screen readers speak a notification at
// the moment it appears, whereas changes to a label's name are dropped as noise.
Text {
    id: announcer

    function say(message) {
        visible = false;
        text = message;
        visible = true;
    }

    visible: false
    color: "transparent"
    Accessible.role: Accessible.Notification
    Accessible.name: text
}
