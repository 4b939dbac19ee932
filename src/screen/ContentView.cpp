#include "ContentView.h"

#include "QtRepeatingTimer.h"
#include "SettingsStore.h"
#include "SteadyClock.h"
#include "TimeFormat.h"

#include <cmath>
#include <cstdio>

ContentView::ContentView(QObject *parent)
    : ContentView(Services{std::make_shared<SteadyClock>(), std::make_shared<QtRepeatingTimer>(),
                           std::make_shared<SettingsStore>()},
                  parent)
{
}

namespace {
// A damaged store may hold NaN or infinity: NaN could never be beaten,
// infinity never reached, so either would end the game for good.
double storedBest(ScoreStore &store)
{
    const double stored = store.load();
    return std::isfinite(stored) ? stored : 0.0;
}
} // namespace

ContentView::ContentView(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_highScore(storedBest(*m_services.store))
{
}

ContentView::~ContentView()
{
    // The timer's tick refers to this object.
    m_services.timer->stop();
    // The window is closing: the last chance for a best that could not be stored.
    saveUnsavedBest();
}

void ContentView::startHolding()
{
    setIsHolding(true);
    setShowNewRecord(false);
    m_startTime = m_services.clock->now();
    setElapsed(0.0);
    // A press that arrives while a hold's timer still runs restarts it rather than leaking it.
    m_services.timer->stop();
    m_services.timer->start(tickPeriod, [this] { updateElapsed(); });
}

void ContentView::updateElapsed()
{
    const Clock::TimePoint now = m_services.clock->now();
    const Clock::TimePoint start = m_startTime ? *m_startTime : m_services.clock->now();
    setElapsed(std::chrono::duration<double>(now - start).count());
}

void ContentView::stopHolding()
{
    setIsHolding(false);
    m_services.timer->stop();
    // Another game may have stored a better time since this one loaded: that is the one to beat.
    const double stored = storedBest(*m_services.store);
    if (stored > m_highScore)
        setHighScore(stored);
    // The time that counts is the last ticked one, not a fresh clock reading.
    if (m_elapsed > m_highScore) {
        setHighScore(m_elapsed);
        m_bestUnsaved = true;
        setShowNewRecord(true);
    }
    saveUnsavedBest();
}

void ContentView::saveUnsavedBest()
{
    if (!m_bestUnsaved)
        return;
    if (m_services.store->saveBest(m_highScore)) {
        m_bestUnsaved = false;
        m_unsavedReported = false;
        return;
    }
    if (!m_unsavedReported) {
        m_unsavedReported = true;
        std::fprintf(stderr, "brinmor: the best time could not be saved to %s; it will be tried again\n",
                     qPrintable(m_services.store->location()));
    }
}

void ContentView::resetHighScore()
{
    // A best still waiting to be stored must not come back after the reset.
    m_bestUnsaved = false;
    setHighScore(0.0);
    m_services.store->saveReset();
    setShowNewRecord(false);
}

QString ContentView::formatTime(double seconds) const
{
    return ::formatTime(seconds);
}

void ContentView::setIsHolding(bool value)
{
    if (m_isHolding == value)
        return;
    m_isHolding = value;
    emit isHoldingChanged();
}

void ContentView::setElapsed(double value)
{
    if (m_elapsed == value)
        return;
    m_elapsed = value;
    emit elapsedChanged();
}

void ContentView::setHighScore(double value)
{
    if (m_highScore == value)
        return;
    m_highScore = value;
    emit highScoreChanged();
}

void ContentView::setShowNewRecord(bool value)
{
    if (m_showNewRecord == value)
        return;
    m_showNewRecord = value;
    emit showNewRecordChanged();
}
