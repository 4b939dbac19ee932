#pragma once

#include "ScoreStore.h"

#include <QObject>
#include <chrono>
#include <memory>

class QThread;
class StoreWorker;

// The store's own thread, so that a slow disk never holds up a frame: a StoreWorker lives there, takes the
// requests sent from here in the order asked, and its answers come back here, on the owner's thread.
class StoreThread : public QObject
{
    Q_OBJECT

public:
    // How long a closing game, its window gone, waits for a store that does not answer: a home on a slow
    // network or a dying USB disk takes seconds a write, and a desktop logging out gives its programs 45 s
    // or more after asking them to quit.
    static constexpr std::chrono::milliseconds closeBound{15000};

    explicit StoreThread(std::shared_ptr<ScoreStore> store, QObject *parent = nullptr);
    // Waits up to closeBound for what was asked, unless a wait has run out already; a store still busy
    // then is left to the process's end.
    ~StoreThread() override;

    void saveBest(double seconds) { ++m_asked; emit bestAsked(seconds, QPrivateSignal()); }
    void saveReset() { ++m_asked; emit resetAsked(QPrivateSignal()); }
    void saveResetThenBest(double seconds) { ++m_asked; emit resetThenBestAsked(seconds, QPrivateSignal()); }
    // Waits until everything asked so far is done and answered; false when `bound` ran out first.
    bool finish(std::chrono::milliseconds bound);
    QString location() const { return m_location; }

signals:
    // The latest request is done: whether it was stored, and what the store holds now.
    void written(bool stored, double holds);
    // Another writer may have changed the store: what it holds now.
    void changedElsewhere(double holds);
    // The requests, to the worker; sent only from here, where they are counted.
    void bestAsked(double seconds, QPrivateSignal);
    void resetAsked(QPrivateSignal);
    void resetThenBestAsked(double seconds, QPrivateSignal);

private:
    void answered(bool stored, double holds);

    QString m_location;
    std::unique_ptr<QThread> m_thread;
    StoreWorker *m_worker; // deleted on its thread as that ends
    quint64 m_asked = 0, m_answered = 0; // requests sent, answers received
    bool m_stuck = false;
};
