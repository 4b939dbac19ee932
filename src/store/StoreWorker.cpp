#include "StoreWorker.h"

StoreWorker::~StoreWorker()
{
    m_store->watch({});
}

void StoreWorker::startWatching()
{
    // Called on any thread (the file watcher's is this one), and no more once the watch is stopped.
    // Queued, so that a re-read waits behind the requests asked before it.
    m_store->watch([this] { QMetaObject::invokeMethod(this, &StoreWorker::reread, Qt::QueuedConnection); });
    // What changed between the read at start-up and the watch.
    reread();
}

void StoreWorker::saveBest(double seconds)
{
    answer(m_store->saveBest(seconds));
}

void StoreWorker::saveReset()
{
    answer(m_store->saveReset());
}

void StoreWorker::saveResetThenBest(double seconds)
{
    answer(m_store->saveReset() && m_store->saveBest(seconds));
}

void StoreWorker::reread()
{
    emit changedElsewhere(m_store->load());
}

void StoreWorker::answer(bool stored)
{
    emit written(stored, m_store->load());
}
