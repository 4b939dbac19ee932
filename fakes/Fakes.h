#pragma once

#include "Clock.h"
#include "RepeatingTimer.h"
#include "ScoreStore.h"

#include <QtCore>

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

struct FakeClock final : Clock { // moves only when the test says so
    TimePoint now() const override { return at; }
    void advance(std::chrono::duration<double> by) { at += std::chrono::round<TimePoint::duration>(by); }
    TimePoint at{std::chrono::hours(1)};
};

struct FakeTimer final : RepeatingTimer { // ticks only when the test fires it
    void start(std::chrono::milliseconds every, std::function<void()> onTick) override
    { tick = std::move(onTick), period = every, ++starts; }
    void stop() override { tick = nullptr; }
    bool isActive() const override { return bool(tick); }
    void fire() { if (tick) tick(); }
    std::function<void()> tick;
    std::chrono::milliseconds period{};
    int starts = 0;
};

// The best in memory; like the real store, never below a better best, but over anything damaged. Counts its calls.
struct MemoryStore final : ScoreStore {
    // `elsewhere`: what another game stores while this one starts, after its first read and before its watch.
    explicit MemoryStore(double initial = 0.0, double elsewhere = std::nan("")) : value(initial), starting(elsewhere) {}
    double load() override { return call(), best(); }
    bool saveBest(double seconds) override { return write(seconds, true); }
    bool saveReset() override { return write(0.0, false); }
    QString location() const override { return QStringLiteral("/memory/Brinmor.conf"); }
    void watch(std::function<void()> changed) override
    {
        if (changed && std::isfinite(starting))
            writeElsewhere(starting); // unseen: nothing watches yet
        onChange = std::move(changed);
    }

    void writeElsewhere(double seconds) // another game stores its best
    {
        mutex.lock(), value = seconds, mutex.unlock();
        if (onChange)
            onChange();
    }
    // What it holds, without counting as a call.
    double best() { const std::lock_guard lock(mutex); return value; }

    double value;
    std::vector<double> saved; // every write asked for, a reset as 0
    std::atomic<bool> failWrites{false};
    std::atomic<int> stallMs{0}; // a slow disk: so long a call at most, until set back to 0
    const std::thread::id maker = std::this_thread::get_id();
    std::atomic<int> callsByMaker{0};
    std::function<void()> onChange;
    const double starting;

private:
    bool write(double seconds, bool unlessBetter)
    {
        call();
        const std::lock_guard lock(mutex);
        if (!failWrites && !(unlessBetter && std::isfinite(value) && value >= seconds))
            value = seconds;
        return saved.push_back(seconds), !failWrites;
    }
    void call()
    {
        callsByMaker += std::this_thread::get_id() == maker;
        for (int i = 0; i < stallMs / 10; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::mutex mutex;
};

inline bool write(const QString &path, const QByteArray &contents) // a file made anew, and its folder if need be
{ QFile f(path); return QDir().mkpath(QFileInfo(path).path()) && f.open(QFile::WriteOnly)
                        && f.write(contents) == contents.size(); }

inline QByteArray stderrOf(const std::function<void()> &run) // what `run` says on stderr
{
    QTemporaryFile said;
    const int saved = dup(2);
    if (!said.open() || dup2(said.handle(), 2) != 2)
        return "stderr not caught";
    run(), std::fflush(stderr), dup2(saved, 2), close(saved), said.seek(0);
    return said.readAll();
}
