#include "ContentView.h"

#include "TimeFormat.h"

#include <cmath>
#include <cstdio>

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
    , m_store(m_services.store)
{
    connect(&m_store, &StoreThread::written, this, &ContentView::storeWritten);
    connect(&m_store, &StoreThread::changedElsewhere, this, &ContentView::adoptStored);
}

ContentView::~ContentView()
{
    // The timer's tick refers to this object.
    m_services.timer->stop();
    // The window is gone: the last chance for a best or a reset that could not be stored.
    save();
    if (waitForStore(m_services.closeBound) || m_unsaved == Unsaved::None)
        return;
    const QString what = m_unsaved == Unsaved::Reset ? QStringLiteral("reset")
                                                     : QStringLiteral("best time %1").arg(formatTime(m_highScore));
    std::fprintf(stderr, "brinmor: %s did not answer within %g s; the %s is not saved\n",
                 qPrintable(m_store.location()), m_services.closeBound.count() / 1000.0, qPrintable(what));
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
        setUnsaved(resetUnsaved() ? Unsaved::ResetThenBest : Unsaved::Best);
        setShowNewRecord(true);
    }
    save();
    emit holdEnded();
}

void ContentView::resetHighScore()
{
    setUnsaved(Unsaved::Reset);
    setHighScore(0.0);
    save();
    setShowNewRecord(false);
    emit highScoreWasReset();
}

bool ContentView::waitForStore(std::chrono::milliseconds bound)
{
    return m_store.finish(bound);
}

void ContentView::save()
{
    // The screen has changed already; the store catches up on its own thread.
    if (m_unsaved == Unsaved::Best)
        m_store.saveBest(m_highScore);
    else if (m_unsaved == Unsaved::Reset)
        m_store.saveReset();
    else if (m_unsaved == Unsaved::ResetThenBest)
        m_store.saveResetThenBest(m_highScore);
}

void ContentView::setUnsaved(Unsaved what)
{
    // A reset after a best, or a best after a reset, is news to the player if it fails too.
    if (what != m_unsaved)
        m_unsavedReported = false;
    m_unsaved = what;
}

void ContentView::storeWritten(bool stored, double holds)
{
    if (stored) {
        setUnsaved(Unsaved::None);
    } else if (m_unsaved != Unsaved::None && !m_unsavedReported) {
        m_unsavedReported = true;
        std::fprintf(stderr, "brinmor: the %s could not be saved to %s; it will be tried again\n",
                     m_unsaved == Unsaved::Reset ? "reset" : "best time",
                     qPrintable(m_store.location()));
    }
    adoptStored(holds);
}

void ContentView::adoptStored(double holds)
{
    // While a reset waits to be stored, the best still there is this game's own old one.
    if (resetUnsaved() || !std::isfinite(holds) || holds <= m_highScore)
        return;
    setHighScore(holds);
    setUnsaved(Unsaved::None);
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
