// The yardstick for the whole-game figures: a bare Qt Quick window of the game's size
// whose one 56-point Text is rewritten 100 times a second.
#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData(R"(
import QtQuick
Window {
    width: 420; height: 620; visible: true; title: "Baseline"
    property int ticks: 0
    Timer { interval: 10; repeat: true; running: true; onTriggered: ticks++ }
    Text { anchors.centerIn: parent; font.pixelSize: 56; text: (ticks / 100).toFixed(2) }
}
)");
    return engine.rootObjects().isEmpty() ? 1 : app.exec();
}
