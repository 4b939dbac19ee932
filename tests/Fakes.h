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
    void advance(std::chrono::duration<double> by) { at += std::chrono::round<std::chrono::steady_clock::duration>(by); }
    TimePoint at{std::chrono::hours(1)};
};

// A timer that ticks only when the test fires it.
struct FakeTimer final : RepeatingTimer {
    void start(std::chrono::milliseconds every, std::function<void()> onTick) override { period = every; tick = std::move(onTick); ++starts; }
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
    double load() override { const std::lock_guard lock(mutex); return seen(), loaded(); }
    bool saveBest(double seconds) override
    {
        const std::lock_guard lock(waitWhileStalled(), std::adopt_lock);
        if (!failWrites && (!std::isfinite(loaded()) || loaded() < seconds))
            value = seconds;
        return saved.push_back(seconds), !failWrites;
    }
    bool saveReset() override
    {
        const std::lock_guard lock(waitWhileStalled(), std::adopt_lock);
        if (!failWrites)
            value = 0;
        return saved.push_back(0), !failWrites;
    }
    QString location() const override { return QStringLiteral("/memory/Brinmor.conf"); }
    void watch(std::function<void()> changed) override { const std::lock_guard lock(mutex); onChange = changed; }

    // Another game stores its best.
    void writeElsewhere(double seconds)
    {
        std::unique_lock lock(mutex);
        value = seconds;
        const auto changed = onChange;
        lock.unlock();
        if (changed)
            changed();
    }
    // What it holds, without counting as a call.
    double best() { const std::lock_guard lock(mutex); return loaded(); }
    bool holdsReset() { const std::lock_guard lock(mutex); return std::holds_alternative<int>(value); }

    std::mutex mutex;
    std::variant<double, int> value;
    std::vector<double> saved; // every write asked for, the reset as 0
    std::atomic<bool> failWrites{false}, stalled{false};
    const std::thread::id maker = std::this_thread::get_id();
    int callsByMaker = 0;
    std::function<void()> onChange;

private:
    double loaded() const { return std::holds_alternative<double>(value) ? std::get<double>(value) : 0.0; }
    void seen() { callsByMaker += std::this_thread::get_id() == maker; }
    std::mutex &waitWhileStalled() // a slow disk, up to five seconds
    {
        for (int i = 0; stalled && i < 500; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        mutex.lock();
        seen();
        return mutex;
    }
};
