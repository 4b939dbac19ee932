// What game pads cost: how long a pad player waits, from pressing A on the hold button to the first frame
// that shows it green, and how often the game wakes up with no pad, with a pad while its window is active,
// and while another window is. The real window under Xvfb and the real Gamepads, loading the pads' part as
// the game does, reading SDL virtual pads: one read when its node has input, one read on the real 10 ms tick.
// The game's own clock, timer and store are fakes, so that only the pads tick. Run by bench/measure-pad.
#include "BrinmorApp.h"
#include "ContentView.h"
#include "Fakes.h"
#include "Gamepads.h"
#include "QtRepeatingTimer.h"

#include <QDir>
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
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

namespace {
// This machine has no pad, so a FIFO stands in for the kernel's device node of one: the pads' part gets it
// as the virtual pad's node while this is set, and each change of the pad's buttons writes to it.
const char *standInNode = nullptr;
long pumps = 0; // the pads' reads
} // namespace

// The pads' part calls SDL through these (the executable exports them), so they come before SDL's own.
extern "C" const char *SDL_GameControllerPath(SDL_GameController *pad)
{
    static const auto sdl = reinterpret_cast<const char *(*)(SDL_GameController *)>(
        dlsym(RTLD_NEXT, "SDL_GameControllerPath"));
    return standInNode ? standInNode : sdl(pad);
}

extern "C" void SDL_PumpEvents()
{
    static const auto sdl = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_PumpEvents"));
    ++pumps, sdl();
}

namespace {
// The real timer, which the game uses.
struct Ticks final : RepeatingTimer {
    void start(std::chrono::milliseconds period, std::function<void()> tick) override { real.start(period, tick); }
    void stop() override { real.stop(); }
    bool isActive() const override { return real.isActive(); }
    QtRepeatingTimer real;
};

// Times the process's threads gave up the processor to wait, that is, woke up again afterwards; threads
// that have ended included.
long waits()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
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

void measureIdle(const char *state)
{
    const int seconds = 10;
    const long waitsBefore = waits(), pumpsBefore = pumps;
    const double cpuBefore = cpuSeconds();
    idle(seconds * 1000);
    std::printf("%-46s %7.1f wake-ups/s %7.1f pad reads/s %6.2f %% CPU\n", state,
                double(waits() - waitsBefore) / seconds, double(pumps - pumpsBefore) / seconds,
                (cpuSeconds() - cpuBefore) * 100 / seconds);
}

bool makeFile(const QString &path, const QByteArray &contents = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// A new virtual pad, once the game has opened it; nullptr if it did not. `plug` changes the devices' folder.
SDL_Joystick *plugVirtualPad(const std::function<bool()> &plug)
{
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick *pad = nullptr;
    return plug() && QTest::qWaitFor([&] {
        return (pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index)));
    }) ? pad : nullptr;
}

// A on the hold button to the frame that shows it green, over presses that fall at every point of 10 ms.
bool measurePresses(const char *how, ContentView &game, QQuickWindow *window, const std::function<void(bool)> &a)
{
    const int presses = 40;
    std::vector<double> waited, read; // to the frame, and to the game's holding
    for (int i = 0; i < presses; ++i) {
        idle(100 + (i * 7) % 23);
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
        a(true);
        while (!drawn)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        waited.push_back(clock.nsecsElapsed() / 1e6);
        QObject::disconnect(held);
        QObject::disconnect(frame);
        a(false);
        if (!QTest::qWaitFor([&] { return !game.isHolding(); }))
            return std::fprintf(stderr, "the release did not come\n"), false;
    }
    for (auto *times : {&waited, &read})
        std::sort(times->begin(), times->end());
    std::printf("%s: A to the green frame over %d presses: median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                how, presses, waited[presses / 2], waited[presses * 9 / 10], waited.back());
    std::printf("  of which until the game holds (the read): median %.1f ms, 90th percentile %.1f ms, max %.1f ms\n",
                read[presses / 2], read[presses * 9 / 10], read.back());
    return true;
}

bool activate(QWindow *window)
{
    window->requestActivate();
    const bool active = QTest::qWaitFor([&] { return window->isActive(); });
    idle(1000);
    return active;
}
} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTemporaryDir classes, devices; // stand in for /sys/class/input and /dev/input: a keyboard and a mouse
    const auto device = [&](const char *event, const QByteArray &keys) {
        return makeFile(classes.filePath(event + QStringLiteral("/device/capabilities/key")), keys)
               && makeFile(devices.filePath(event));
    };
    device("event0", "1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe");
    device("event1", "1f0000 0 0 0 0");
    BrinmorApp brinmor({{std::make_shared<FakeClock>(), std::make_shared<FakeTimer>(), std::make_shared<MemoryStore>()},
                        QLocale(QLocale::English), {classes.path(), devices.path()}, std::make_shared<Ticks>()});
    QQuickWindow *window = brinmor.start();
    if (!window || !QTest::qWaitForWindowActive(window) || !QTest::qWaitFor([&] { return brinmor.gamepads(); }))
        return std::fprintf(stderr, "no active window with pads\n"), 1;
    ContentView &game = brinmor.game();
    std::printf("SDL started with a keyboard and a mouse: %s\n", SDL_WasInit(SDL_INIT_GAMECONTROLLER) ? "yes" : "no");
    idle(1000);
    measureIdle("Gamepads, a keyboard and a mouse, no pad");

    // An Xbox pad: the pads' part is loaded and SDL started.
    const QString node = devices.filePath(QStringLiteral("standInNode"));
    const int nodeFd = mkfifo(qPrintable(node), 0600) == 0 ? open(qPrintable(node), O_RDWR | O_NONBLOCK) : -1;
    const QByteArray nodePath = node.toLocal8Bit();
    standInNode = nodePath.constData();
    QElapsedTimer starting;
    starting.start();
    SDL_Joystick *pad = plugVirtualPad([&] { return nodeFd >= 0 && device("event2", "7cdb000000000000 0 0 0 0"); });
    std::printf("A pad plugged in to the game reading it: %.1f ms, its part loaded and SDL started\n",
                starting.nsecsElapsed() / 1e6);
    if (!pad)
        return std::fprintf(stderr, "the pad was not found\n"), 1;
    const auto byNode = [&](bool down) {
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, down);
        const char report = 1; // what the kernel's node would have to say
        if (write(nodeFd, &report, 1) != 1)
            std::fprintf(stderr, "the stand-in node took nothing\n");
    };
    if (!measurePresses("read when its node has input", game, window, byNode))
        return 1;
    idle(1000);
    measureIdle("a pad with a node, the window active");
    QWindow other;
    other.resize(200, 200);
    other.show();
    if (!activate(&other))
        return std::fprintf(stderr, "the other window did not become active\n"), 1;
    measureIdle("a pad with a node, another window active");

    // The same pad without a node that SDL names: read on the readout's tick.
    SDL_JoystickDetachVirtual(0);
    standInNode = nullptr;
    if (!activate(window) || !(pad = plugVirtualPad([&] { return makeFile(devices.filePath("event3")); })))
        return std::fprintf(stderr, "the pad without a node was not found\n"), 1;
    const auto byTick = [&](bool down) { SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, down); };
    if (!measurePresses("read on the 10 ms tick", game, window, byTick))
        return 1;
    idle(1000);
    measureIdle("a pad read on the tick, the window active");
    if (!activate(&other))
        return std::fprintf(stderr, "the other window did not become active\n"), 1;
    measureIdle("a pad read on the tick, another window active");
    return 0;
}
