#pragma once

#include <chrono>
#include <functional>

// A repeating tick on the GUI event loop. Behind an interface so that tests
// fire ticks themselves instead of waiting for real time to pass.
class RepeatingTimer
{
public:
    virtual ~RepeatingTimer() = default;

    // The first tick comes one period after the call; late ticks are not made up.
    virtual void start(std::chrono::milliseconds period, std::function<void()> tick) = 0;
    // No tick runs after this returns.
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};
