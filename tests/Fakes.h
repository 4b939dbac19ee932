#pragma once

#include "Clock.h"
#include "RepeatingTimer.h"
#include "ScoreStore.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

// A clock that moves only when the test says so.
struct FakeClock final : Clock {
    TimePoint now() const override { return at; }
    void advance(std::chrono::duration<double> by) { at += std::chrono::round<TimePoint::duration>(by); }
    TimePoint at{std::chrono::hours(1)};
};

// A timer that ticks only when the test fires it.
struct FakeTimer final : RepeatingTimer {
    void start(std::chrono::milliseconds every, std::function<void()> onTick) override
    { period = every, tick = std::move(onTick), ++starts; }
    void stop() override { tick = nullptr; }
    bool isActive() const override { return bool(tick); }
    void fire() { if (tick) tick(); }
    std::chrono::milliseconds period{0};
    std::function<void()> tick;
    int starts = 0;
};

// The best in memory, written as a double or as the integer 0; like the real store, never below a
// better best, but over anything damaged. Counts the calls made on the thread that made it.
struct MemoryStore final : ScoreStore {
    explicit MemoryStore(double initial = 0.0) : value(initial) {}
    double load() override { return call(), best(); }
    bool saveBest(double seconds) override
    {
        call();
        const std::lock_guard lock(mutex);
        if (!failWrites && (!std::isfinite(loaded()) || loaded() < seconds))
            value = seconds;
        return saved.push_back(seconds), !failWrites;
    }
    bool saveReset() override
    {
        call();
        const std::lock_guard lock(mutex);
        value = failWrites ? value : 0;
        return saved.push_back(0), !failWrites;
    }
    QString location() const override { return QStringLiteral("/memory/Brinmor.conf"); }
    void watch(std::function<void()> changed) override { onChange = std::move(changed); }

    void writeElsewhere(double seconds) // another game stores its best
    {
        mutex.lock(), value = seconds, mutex.unlock();
        if (onChange)
            onChange();
    }
    // What it holds, without counting as a call.
    double best() { const std::lock_guard lock(mutex); return loaded(); }
    bool holdsReset() { const std::lock_guard lock(mutex); return std::holds_alternative<int>(value); }

    std::variant<double, int> value;
    std::vector<double> saved; // every write asked for, a reset as 0
    std::atomic<bool> failWrites{false}, stalled{false};
    const std::thread::id maker = std::this_thread::get_id();
    std::atomic<int> callsByMaker{0};
    std::function<void()> onChange;

private:
    double loaded() const { return std::holds_alternative<double>(value) ? std::get<double>(value) : 0.0; }
    void call() // a slow disk while stalled, for five seconds at most
    {
        callsByMaker += std::this_thread::get_id() == maker;
        for (int i = 0; stalled && i < 500; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::mutex mutex;
};
