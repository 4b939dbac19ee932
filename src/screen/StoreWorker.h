#pragma once

#include "ScoreStore.h"

#include <QObject>
#include <chrono>
#include <memory>

class QThread;

// Does the store's reading and writing on a thread of its own, one request at a time and in the
// order asked, so that a slow disk never holds up a frame. Answers come back on the owner's thread.
class StoreWorker : public QObject
{
    Q_OBJECT

public:
    // How long a closing game waits for a store that does not answer: a slow disk syncs in a
    // fraction of a second, and a desktop logging out kills what is still running after a few.
    static constexpr std::chrono::milliseconds closeBound{3000};

    explicit StoreWorker(std::shared_ptr<ScoreStore> store, QObject *parent = nullptr);
    // Waits up to closeBound for what was asked; a store still busy then is left to the process's end.
    ~StoreWorker() override;

    void saveBest(double seconds);
    void saveReset();
    // A record made after a reset that the store has not taken yet.
    void saveResetThenBest(double seconds);
    // Waits until everything asked so far is done and answered; false when `bound` ran out first.
    bool finish(std::chrono::milliseconds bound);
    QString location() const { return m_location; }

signals:
    // The latest request is done: whether it was stored, and what the store holds now.
    void written(bool stored, double holds);
    // Another writer may have changed the store: what it holds now.
    void changedElsewhere(double holds);

private:
    struct Shared;

    void ask(std::function<void(const std::shared_ptr<Shared> &)> job);
    void write(std::function<bool(ScoreStore &)> request);

    QString m_location;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QObject> m_inbox; // on the owner's thread: answers arrive through it
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<QObject> m_queue; // on the worker thread: requests run through it, in order
    quint64 m_asked = 0;
    bool m_stuck = false;
};
