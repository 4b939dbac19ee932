#pragma once

#include "RepeatingTimer.h"

// A timer that ticks only when the test fires it.
class FakeTimer final : public RepeatingTimer
{
public:
    void start(std::chrono::milliseconds period, std::function<void()> tick) override
    {
        m_period = period;
        m_tick = std::move(tick);
        ++starts;
    }
    void stop() override { m_tick = nullptr; }
    bool isActive() const override { return bool(m_tick); }

    void fire()
    {
        if (m_tick)
            m_tick();
    }
    std::chrono::milliseconds period() const { return m_period; }

    int starts = 0;

private:
    std::function<void()> m_tick;
    std::chrono::milliseconds m_period{0};
};
