pragma Singleton
import QtQuick
import Brinmor

// Colours, faces and the reading order of times shared by the screen. Light or dark follows the desktop; the text
// and backdrop colours come from the system palette when it matches, else from a fixed
// pair, so text stays readable even when the palette and the desktop disagree.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: Appearance.dark
    readonly property bool paletteMatches: (palette.window.hslLightness < 0.5) === dark

    readonly property color primary: paletteMatches ? palette.windowText : (dark ? "#f2f2f7" : "#1c1c1e")
    readonly property color secondary: Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color backdrop: paletteMatches ? palette.window : (dark ? "#232326" : "#f2f2f5")
    readonly property color focus: palette.highlight

    readonly property color green: dark ? "#30D158" : "#34C759"
    readonly property color yellow: dark ? "#FFD60A" : "#FFCC00"
    readonly property color orange: dark ? "#FF9F0A" : "#FF9500"

    readonly property string monospaceFamily: "monospace"

    // A time inside right-to-left text keeps its own order: "01:02.03" never reads with its fields reversed.
    function isolated(time) {
        return Qt.application.layoutDirection === Qt.RightToLeft ? "\u2068" + time + "\u2069" : time;
    }
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
