// Per-call costs of the work a hold repeats: the tick and the time format.
#include "ContentView.h"
#include "Fakes.h"
#include "SettingsStore.h"
#include "TimeFormat.h"

#include <QTemporaryDir>

#include <atomic>
#include <benchmark/benchmark.h>

// Every heap allocation ends in malloc: the tick is counted to make none.
static std::atomic<long> allocations{0};
extern "C" void *__libc_malloc(std::size_t);
extern "C" void *malloc(std::size_t size) { ++allocations; return __libc_malloc(size); }

namespace {
struct Game {
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>();
    ContentView view{ContentView::Services{clock, timer, std::make_shared<MemoryStore>()}};
};

void formatTimeOf(benchmark::State &state, double seconds)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(formatTime(seconds));
}
BENCHMARK_CAPTURE(formatTimeOf, short, 12.34);
BENCHMARK_CAPTURE(formatTimeOf, overAMinute, 754.56);
BENCHMARK_CAPTURE(formatTimeOf, overAnHour, 4321.09);

void tick(benchmark::State &state)
{
    Game game;
    game.view.startHolding();
    const long before = allocations;
    for (auto _ : state) {
        game.clock->advance(std::chrono::milliseconds(10));
        game.timer->fire();
    }
    state.counters["allocations"] = benchmark::Counter(allocations - before, benchmark::Counter::kAvgIterations);
    benchmark::DoNotOptimize(game.view.elapsed());
}
BENCHMARK(tick);

// A whole one-hour hold: press, 360,000 ticks, release.
void oneHourHold(benchmark::State &state)
{
    Game game;
    for (auto _ : state) {
        game.view.startHolding();
        for (int i = 0; i < 360'000; ++i) {
            game.clock->advance(std::chrono::milliseconds(10));
            game.timer->fire();
        }
        game.view.stopHolding();
    }
    state.counters["heldSeconds"] = game.view.elapsed();
}
BENCHMARK(oneHourHold)->Unit(benchmark::kMillisecond);

// The one read the GUI thread still makes, before the first frame: the best from the settings file.
void readAtStartUp(benchmark::State &state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX")); // on the disk
    SettingsStore store(dir.filePath(QStringLiteral("Brinmor.conf")));
    store.saveBest(12.34);
    for (auto _ : state)
        benchmark::DoNotOptimize(SettingsStore(dir.filePath(QStringLiteral("Brinmor.conf"))).load());
}
BENCHMARK(readAtStartUp)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
