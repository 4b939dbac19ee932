#include "QtRepeatingTimer.h"

QtRepeatingTimer::QtRepeatingTimer()
{
    // A coarse timer may fire up to 5% late; the readout should move every 10 ms.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_tick)
            m_tick();
    });
}

void QtRepeatingTimer::start(std::chrono::milliseconds period, std::function<void()> tick)
{
    m_tick = std::move(tick);
    m_timer.start(period);
}

void QtRepeatingTimer::stop()
{
    m_timer.stop();
    m_tick = nullptr;
}

bool QtRepeatingTimer::isActive() const
{
    return m_timer.isActive();
}
