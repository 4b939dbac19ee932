#include "ScoreSaver.h"

#include <cstdio>

ScoreSaver::ScoreSaver(std::shared_ptr<ScoreStore> store, std::chrono::milliseconds closeBound, QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_closeBound(closeBound)
{
    connect(&m_store, &StoreThread::written, this, &ScoreSaver::written);
    connect(&m_store, &StoreThread::changedElsewhere, this, &ScoreSaver::holds);
}

void ScoreSaver::saveBest(double seconds)
{
    m_best = seconds;
    setUnsaved(resetPending() ? Unsaved::ResetThenBest : Unsaved::Best);
    ask();
}

void ScoreSaver::saveReset()
{
    setUnsaved(Unsaved::Reset);
    ask();
}

void ScoreSaver::retry()
{
    ask();
}

void ScoreSaver::adopted()
{
    setUnsaved(Unsaved::None);
}

void ScoreSaver::close()
{
    ask();
    if (m_store.finish(m_closeBound) || m_unsaved == Unsaved::None)
        return;
    const QString what = m_unsaved == Unsaved::Reset ? QStringLiteral("reset")
                                                     : QStringLiteral("best time of %1 s").arg(m_best, 0, 'f', 2);
    std::fprintf(stderr, "brinmor: %s did not answer within %g s; the %s is not saved\n",
                 qPrintable(m_store.location()), m_closeBound.count() / 1000.0, qPrintable(what));
}

void ScoreSaver::ask()
{
    // The screen has changed already; the store catches up on its own thread.
    if (m_unsaved == Unsaved::Best)
        m_store.saveBest(m_best);
    else if (m_unsaved == Unsaved::Reset)
        m_store.saveReset();
    else if (m_unsaved == Unsaved::ResetThenBest)
        m_store.saveResetThenBest(m_best);
}

void ScoreSaver::setUnsaved(Unsaved what)
{
    // A reset after a best, or a best after a reset, is news to the player if it fails too.
    if (what != m_unsaved)
        m_reported = false;
    m_unsaved = what;
}

void ScoreSaver::written(bool stored, double holds)
{
    if (stored) {
        setUnsaved(Unsaved::None);
    } else if (m_unsaved != Unsaved::None && !m_reported) {
        m_reported = true;
        std::fprintf(stderr, "brinmor: the %s could not be saved to %s; it will be tried again\n",
                     m_unsaved == Unsaved::Reset ? "reset" : "best time", qPrintable(m_store.location()));
    }
    emit this->holds(holds);
}
