// What game pads cost: how long a pad player waits, from pressing A on the hold button to the first frame
// that shows it green, and how often the game wakes up with no pad, with a pad while its window is active,
// and while another window is. The real window under Xvfb and the real Gamepads on its real 10 ms timer,
// reading an SDL virtual pad; the game's own clock, timer and store are fakes, so that only the pads tick.
// Run by bench/measure-pad.
#include "BrinmorApp.h"
#include "ContentView.h"
#include "Fakes.h"
#include "Gamepads.h"
#include "QtRepeatingTimer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

namespace {
// The real timer, counting its ticks.
struct CountingTimer final : RepeatingTimer {
    void start(std::chrono::milliseconds period, std::function<void()> tick) override
    {
        real.start(period, [this, tick] { ++ticks, tick(); });
    }
    void stop() override { real.stop(); }
    bool isActive() const override { return real.isActive(); }
    QtRepeatingTimer real;
    long ticks = 0;
};

// Times the GUI thread gave up the processor to wait, that is, woke up again afterwards.
long waits()
{
    QFile status(QStringLiteral("/proc/thread-self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("voluntary_ctxt_switches:"))
            return line.mid(24).trimmed().toLong();
    }
    return -1;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The event loop alone, as in the game, for `ms`: no test helper that polls.
void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void measureIdle(const char *state, const CountingTimer *reader)
{
    const int seconds = 10;
    const long waitsBefore = waits(), ticksBefore = reader ? reader->ticks : 0;
    const double cpuBefore = cpuSeconds();
    idle(seconds * 1000);
    std::printf("%-34s %8.1f wake-ups/s %8.1f pad reads/s %6.2f %% CPU\n", state,
                double(waits() - waitsBefore) / seconds, double((reader ? reader->ticks : 0) - ticksBefore) / seconds,
                (cpuSeconds() - cpuBefore) * 100 / seconds);
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTemporaryDir devices; // stands in for /dev/input
    const auto reader = std::make_shared<CountingTimer>();
    BrinmorApp brinmor({{std::make_shared<FakeClock>(), std::make_shared<FakeTimer>(), std::make_shared<MemoryStore>()},
                        QLocale(QLocale::English), devices.path(), reader});
    QQuickWindow *window = brinmor.start();
    if (!window || !QTest::qWaitForWindowActive(window) || !QTest::qWaitFor([&] { return brinmor.gamepads(); }))
        return std::fprintf(stderr, "no active window with pads\n"), 1;
    ContentView &game = brinmor.game();
    idle(1000);
    measureIdle("Gamepads, no pad", reader.get());

    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick *pad = SDL_JoystickOpen(index);
    QFile(devices.filePath(QStringLiteral("event0"))).open(QIODevice::WriteOnly); // plugged in
    if (!pad || !QTest::qWaitFor([&] { return reader->isActive(); }))
        return std::fprintf(stderr, "the pad was not found\n"), 1;

    const int presses = 40;
    std::vector<double> waited, read; // to the frame, and to the game's holding
    for (int i = 0; i < presses; ++i) {
        idle(100 + (i * 7) % 23); // the presses fall at every point of the 10 ms reads
        QElapsedTimer clock;
        bool drawn = false;
        const auto held = QObject::connect(&game, &ContentView::isHoldingChanged, [&] {
            if (game.isHolding())
                read.push_back(clock.nsecsElapsed() / 1e6);
        });
        const auto frame = QObject::connect(window, &QQuickWindow::frameSwapped, [&] {
            drawn = drawn || game.isHolding();
        });
        clock.start();
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
        while (!drawn)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        waited.push_back(clock.nsecsElapsed() / 1e6);
        QObject::disconnect(held);
        QObject::disconnect(frame);
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
        if (!QTest::qWaitFor([&] { return !game.isHolding(); }))
            return std::fprintf(stderr, "the release did not come\n"), 1;
    }
    for (auto *times : {&waited, &read})
        std::sort(times->begin(), times->end());
    std::printf("A pressed to the green frame over %d presses: median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                presses, waited[presses / 2], waited[presses * 9 / 10], waited.back());
    std::printf("  of which until the game holds (the read): median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                read[presses / 2], read[presses * 9 / 10], read.back());

    idle(1000);
    measureIdle("a pad, the window active", reader.get());
    QWindow other;
    other.resize(200, 200);
    other.show();
    other.requestActivate();
    if (!QTest::qWaitFor([&] { return !window->isActive(); }))
        return std::fprintf(stderr, "the window stayed active\n"), 1;
    idle(1000);
    measureIdle("a pad, another window active", reader.get());
    return 0;
}
