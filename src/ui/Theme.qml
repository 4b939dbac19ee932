pragma Singleton
import QtQuick
import Brinmor.Ui

// Colours, faces and the reading order of times shared by the screen. Light or dark follows the desktop; the text
// and backdrop colours come from the system palette when it matches, else from a fixed
// pair, so text stays readable even when the palette and the desktop disagree.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: Appearance.dark
    readonly property bool paletteMatches: (palette.window.hslLightness < 0.5) === dark
    // High contrast: black on white or white on black, every text at 7:1 or more against what lies behind it.
    readonly property bool highContrast: Appearance.highContrast
    readonly property bool reducedMotion: Appearance.reducedMotion

    readonly property color primary: highContrast ? (dark ? "#ffffff" : "#000000")
                                                  : paletteMatches ? palette.windowText : (dark ? "#f2f2f7" : "#1c1c1e")
    readonly property color secondary: highContrast ? primary : Qt.rgba(primary.r, primary.g, primary.b, 0.62)
    readonly property color backdrop: highContrast ? (dark ? "#000000" : "#ffffff")
                                                   : paletteMatches ? palette.window : (dark ? "#232326" : "#f2f2f5")
    readonly property color focus: highContrast ? primary : palette.highlight

    // The dark variants read at 10:1 on black already; on white they need darker shades.
    readonly property bool darkerShades: highContrast && !dark
    readonly property color green: darkerShades ? "#005c26" : dark ? "#30D158" : "#34C759"
    readonly property color yellow: darkerShades ? "#6e5200" : dark ? "#FFD60A" : "#FFCC00"
    readonly property color orange: darkerShades ? "#8f3d00" : dark ? "#FF9F0A" : "#FF9500"

    // The hold button's look. In high contrast its fill stands apart from the backdrop and its caption
    // from its fill: dark fills under white on white, light ones under black on black.
    readonly property color holdIdle: !highContrast ? Qt.rgba(0.2, 0.4, 0.95, 1) : dark ? "#8fb3ff" : "#1c40ad"
    readonly property color holdHeld: darkerShades ? green : Qt.rgba(0.2, 0.78, 0.5, 1)
    readonly property color holdCaption: highContrast && dark ? "#000000" : "#ffffff"

    // A size in pixels for text the desktop asks to be larger (or smaller).
    function textSize(pixels) {
        return Math.round(pixels * Appearance.textScale);
    }

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
