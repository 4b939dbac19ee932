#include "ContentView.h"

#include "TimeFormat.h"

#include <cmath>

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
    // Read once here, before the window's first frame, which must show it.
    , m_highScore(storedBest(*m_services.store))
    , m_saver(m_services.store, m_services.closeBound)
{
    connect(&m_saver, &ScoreSaver::holds, this, &ContentView::adoptStored);
}

ContentView::~ContentView()
{
    // The timer's tick refers to this object.
    m_services.timer->stop();
    // The window is gone: the last chance for a best or a reset that could not be stored.
    m_saver.close();
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
    // The time that counts is the last ticked one, not a fresh clock reading.
    if (m_elapsed > m_highScore) {
        setHighScore(m_elapsed);
        m_saver.saveBest(m_elapsed);
        setShowNewRecord(true);
    } else {
        // Any release is a chance for what a failed write left out.
        m_saver.retry();
    }
    emit holdEnded();
}

void ContentView::resetHighScore()
{
    setHighScore(0.0);
    m_saver.saveReset();
    setShowNewRecord(false);
    emit highScoreWasReset();
}

void ContentView::adoptStored(double holds)
{
    if (m_saver.resetPending() || !std::isfinite(holds) || holds <= m_highScore)
        return;
    setHighScore(holds);
    m_saver.adopted();
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
