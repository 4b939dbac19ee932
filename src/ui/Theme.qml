pragma Singleton
import QtQuick

// Colours and faces shared by the screen. Text colours follow the system palette;
// the accent colours take their dark variants on a dark palette.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: palette.window.hslLightness < 0.5

    readonly property color primary: palette.windowText
    readonly property color secondary: Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color backdrop: palette.window
    readonly property color focus: palette.highlight

    readonly property color green: dark ? "#30D158" : "#34C759"
    readonly property color yellow: dark ? "#FFD60A" : "#FFCC00"
    readonly property color orange: dark ? "#FF9F0A" : "#FF9500"

    readonly property string monospaceFamily: "monospace"
    // A rounded face for the title where one is installed, else the system sans.
    readonly property string roundedFamily: {
        const installed = Qt.fontFamilies();
        for (const family of ["Nunito", "Varela Round", "M PLUS Rounded 1c", "Comfortaa", "Quicksand"]) {
            if (installed.includes(family))
                return family;
        }
        return Qt.application.font.family;
    }
}
