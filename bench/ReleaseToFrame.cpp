// How long a player waits, after letting go on a record, for the frame that shows the button blue again:
// the real window and the real settings file on the disk, the hold's time moved on by a fake clock so
// that every release is a record. Run by bench/measure-release, with and without slowed disk syncs.
#include "BrinmorApp.h"
#include "ContentView.h"
#include "Fakes.h"
#include "SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>
#include <algorithm>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int releases = 40;
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/release-bench-XXXXXX")); // on the disk, not in memory
    auto clock = std::make_shared<FakeClock>();
    auto timer = std::make_shared<FakeTimer>();
    QTemporaryDir devices;
    BrinmorApp brinmor({{clock, timer, std::make_shared<SettingsStore>(dir.filePath(QStringLiteral("Brinmor.conf")))},
                        QLocale(QLocale::English), devices.path(), std::make_shared<FakeTimer>()});
    QQuickWindow *window = brinmor.start();
    ContentView *game = &brinmor.game();
    if (!window || !QTest::qWaitForWindowExposed(window))
        return 1;
    const QPoint button = window->findChild<QQuickItem *>(QStringLiteral("holdButton"))->mapRectToScene(
        QRectF(0, 0, 180, 180)).center().toPoint();

    std::vector<double> waits;
    for (int i = 0; i < releases; ++i) {
        QTest::mousePress(window, Qt::LeftButton, {}, button);
        clock->advance(std::chrono::seconds(i + 1)); // a second longer than the last hold
        timer->fire();
        QTest::qWait(100); // the green frame is out; nothing else is drawn
        bool drawn = false;
        const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, [&] { drawn = true; });
        QElapsedTimer wait;
        wait.start();
        QTest::mouseRelease(window, Qt::LeftButton, {}, button);
        while (!drawn)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        waits.push_back(wait.nsecsElapsed() / 1e6);
        QObject::disconnect(connection);
    }
    if (game->highScore() != releases)
        return std::fprintf(stderr, "the releases were not all records\n"), 1;
    std::sort(waits.begin(), waits.end());
    std::printf("release to the blue frame over %d records: median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                releases, waits[releases / 2], waits[releases * 9 / 10], waits.back());
    return 0;
}
