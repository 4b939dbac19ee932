#pragma once

#include "Clock.h"

// A clock that moves only when the test says so.
class FakeClock final : public Clock
{
public:
    TimePoint now() const override { return m_now; }
    void advance(std::chrono::duration<double> by)
    {
        m_now += std::chrono::round<std::chrono::steady_clock::duration>(by);
    }

private:
    TimePoint m_now{std::chrono::hours(1)};
};
