#pragma once

#include "Clock.h"
#include "RepeatingTimer.h"
#include "ScoreStore.h"

#include <cmath>
#include <variant>

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

// The best in memory, written as a double or as the integer 0; like the real store, never
// below a better best, but over anything damaged.
struct MemoryStore final : ScoreStore {
    explicit MemoryStore(double initial = 0.0) : value(initial) {}
    double load() override { return std::holds_alternative<double>(value) ? std::get<double>(value) : 0.0; }
    bool saveBest(double seconds) override
    {
        ++writes;
        if (!failWrites && (!std::isfinite(load()) || load() < seconds))
            value = seconds;
        return !failWrites;
    }
    void saveReset() override { value = 0; ++writes; }
    QString location() const override { return QStringLiteral("/memory/Brinmor.conf"); }
    std::variant<double, int> value;
    int writes = 0;
    bool failWrites = false;
};
