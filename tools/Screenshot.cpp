// Grabs the game's window offscreen, light and dark side by side, just after a new record.
//   usage: brinmor_screenshot OUTPUT.png
#include "BrinmorApp.h"
#include "ContentView.h"
#include "Fakes.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QTemporaryDir>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

namespace {
QImage grabAfterRecord(bool dark)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Window, dark ? QColor(30, 30, 32) : QColor(246, 246, 246));
    palette.setColor(QPalette::WindowText, dark ? QColor(242, 242, 247) : QColor(20, 20, 20));
    QGuiApplication::setPalette(palette);

    auto clock = std::make_shared<FakeClock>();
    auto timer = std::make_shared<FakeTimer>();
    QTemporaryDir devices;
    BrinmorApp brinmor({{clock, timer, std::make_shared<MemoryStore>(8.76)}, QLocale(QLocale::English), devices.path(),
                        std::make_shared<FakeTimer>()});
    QQuickWindow *window = brinmor.start();
    if (!window)
        return {};
    ContentView &game = brinmor.game();
    game.startHolding();
    clock->advance(std::chrono::milliseconds(12345));
    timer->fire();
    game.stopHolding();
    // Let the badge's spring come to rest.
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();
    return window->grabWindow();
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: brinmor_screenshot OUTPUT.png\n");
        return 2;
    }
    const QImage light = grabAfterRecord(false);
    const QImage dark = grabAfterRecord(true);
    if (light.isNull() || dark.isNull())
        return 1;
    const int gap = 24;
    QImage both(light.width() + gap + dark.width(), light.height(), QImage::Format_ARGB32);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawImage(0, 0, light);
    painter.drawImage(light.width() + gap, 0, dark);
    painter.end();
    return both.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
