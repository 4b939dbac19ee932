#include "StoreWorker.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>
#include <cstdio>

// What the requests share. Jobs keep it alive, so a store left busy at close never outlives it.
struct StoreWorker::Shared : std::enable_shared_from_this<Shared> {
    std::shared_ptr<ScoreStore> store;
    QObject *inbox = nullptr;
    QObject *queue = nullptr;
    StoreWorker *owner = nullptr; // read and cleared on the owner's thread only

    // From any thread: runs `job` on the worker thread, after everything asked before it.
    void run(std::function<void(const std::shared_ptr<Shared> &)> job)
    {
        QMetaObject::invokeMethod(queue, [self = shared_from_this(), job = std::move(job)] { job(self); },
                                  Qt::QueuedConnection);
    }

    // From the worker thread: runs `answer` on the owner's thread, unless the owner is gone.
    void answer(std::function<void(StoreWorker &)> answer)
    {
        QMetaObject::invokeMethod(inbox, [self = shared_from_this(), answer = std::move(answer)] {
            if (self->owner)
                answer(*self->owner);
        }, Qt::QueuedConnection);
    }

    void reread()
    {
        const double holds = store->load();
        answer([holds](StoreWorker &owner) { emit owner.changedElsewhere(holds); });
    }
};

StoreWorker::StoreWorker(std::shared_ptr<ScoreStore> store, QObject *parent)
    : QObject(parent)
    , m_location(store->location())
    , m_shared(std::make_shared<Shared>())
    , m_inbox(std::make_unique<QObject>())
    , m_thread(std::make_unique<QThread>())
    , m_queue(std::make_unique<QObject>())
{
    m_shared->store = std::move(store);
    m_shared->inbox = m_inbox.get();
    m_shared->queue = m_queue.get();
    m_shared->owner = this;
    m_queue->moveToThread(m_thread.get());
    m_thread->setObjectName(QStringLiteral("store"));
    m_thread->start();
    ask([](const std::shared_ptr<Shared> &shared) {
        shared->store->watch([weak = std::weak_ptr<Shared>(shared)] {
            // Several changes at once are read once each; reading is cheap next to a frame lost.
            if (const auto shared = weak.lock())
                shared->run([](const std::shared_ptr<Shared> &self) { self->reread(); });
        });
        // What changed between the read at start-up and the watch.
        shared->reread();
    });
}

StoreWorker::~StoreWorker()
{
    m_shared->owner = nullptr;
    ask([](const std::shared_ptr<Shared> &shared) { shared->store->watch({}); });
    if (m_stuck || !finish(closeBound)) {
        std::fprintf(stderr, "brinmor: %s did not answer within %lld s; not waiting for it any longer\n",
                     qPrintable(m_location), static_cast<long long>(closeBound.count() / 1000));
        // A thread still at work must not be destroyed: it ends with the process.
        (void)m_thread.release();
        (void)m_queue.release();
        (void)m_inbox.release();
        return;
    }
    m_thread->quit();
    m_thread->wait();
}

void StoreWorker::ask(std::function<void(const std::shared_ptr<Shared> &)> job)
{
    m_shared->run(std::move(job));
}

void StoreWorker::write(std::function<bool(ScoreStore &)> request)
{
    const quint64 number = ++m_asked;
    ask([number, request = std::move(request)](const std::shared_ptr<Shared> &shared) {
        const bool stored = request(*shared->store);
        const double holds = shared->store->load();
        shared->answer([number, stored, holds](StoreWorker &owner) {
            // A later request answers for what the store holds after it.
            if (number == owner.m_asked)
                emit owner.written(stored, holds);
        });
    });
}

void StoreWorker::saveBest(double seconds)
{
    write([seconds](ScoreStore &store) { return store.saveBest(seconds); });
}

void StoreWorker::saveReset()
{
    write([](ScoreStore &store) { return store.saveReset(); });
}

void StoreWorker::saveResetThenBest(double seconds)
{
    write([seconds](ScoreStore &store) { return store.saveReset() && store.saveBest(seconds); });
}

bool StoreWorker::finish(std::chrono::milliseconds bound)
{
    const auto drained = std::make_shared<QSemaphore>();
    ask([drained](const std::shared_ptr<Shared> &) { drained->release(); });
    m_stuck = !drained->tryAcquire(1, static_cast<int>(bound.count()));
    if (!m_stuck)
        QCoreApplication::sendPostedEvents(m_inbox.get(), QEvent::MetaCall);
    return !m_stuck;
}
