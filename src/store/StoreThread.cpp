#include "StoreThread.h"

#include "StoreWorker.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

StoreThread::StoreThread(std::shared_ptr<ScoreStore> store, QObject *parent)
    : QObject(parent)
    , m_location(store->location())
    , m_thread(std::make_unique<QThread>())
    , m_worker(new StoreWorker(std::move(store)))
{
    m_worker->moveToThread(m_thread.get());
    // Both run on the store's thread: the watch first of all, the deletion as the thread ends.
    connect(m_thread.get(), &QThread::started, m_worker, &StoreWorker::startWatching);
    connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    // Queued both ways, the worker living on another thread.
    connect(this, &StoreThread::bestAsked, m_worker, &StoreWorker::saveBest);
    connect(this, &StoreThread::resetAsked, m_worker, &StoreWorker::saveReset);
    connect(this, &StoreThread::resetThenBestAsked, m_worker, &StoreWorker::saveResetThenBest);
    connect(m_worker, &StoreWorker::written, this, &StoreThread::answered);
    connect(m_worker, &StoreWorker::changedElsewhere, this, &StoreThread::changedElsewhere);
    m_thread->setObjectName(QStringLiteral("store"));
    m_thread->start();
}

StoreThread::~StoreThread()
{
    // Its owner is being destroyed (the game holds this as a member): answers from now on are for no one.
    blockSignals(true);
    // Once a wait has run out the store is hung, and a second one would pass the bound promised at close.
    if (m_stuck || !finish(closeBound)) {
        // A running QThread must not be destroyed: it ends with the process, and so does the worker, whose
        // connections to this object go with it.
        (void)m_thread.release();
        return;
    }
    m_thread->quit();
    m_thread->wait();
}

void StoreThread::answered(bool stored, double holds)
{
    // The one thread answers in the order asked: while a later request is out, it answers for the store.
    if (++m_answered == m_asked)
        emit written(stored, holds);
}

bool StoreThread::finish(std::chrono::milliseconds bound)
{
    // Not a BlockingQueuedConnection, which waits without a bound. The semaphore is the call's too: a wait
    // that ran out leaves it behind.
    const auto drained = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(m_worker, [drained] { drained->release(); }, Qt::QueuedConnection);
    m_stuck = !drained->tryAcquire(1, static_cast<int>(bound.count()));
    // Everything asked before has answered by now; the answers wait in this thread's queue.
    if (!m_stuck)
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    return !m_stuck;
}
