#pragma once

#include <chrono>

// Where the game reads "now". Monotonic, so a clock change during a hold
// can never produce a false time that would then stick as the best.
class Clock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
};
