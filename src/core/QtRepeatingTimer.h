#pragma once

#include "RepeatingTimer.h"

#include <QTimer>

class QtRepeatingTimer final : public RepeatingTimer
{
public:
    QtRepeatingTimer();

    void start(std::chrono::milliseconds period, std::function<void()> tick) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};
