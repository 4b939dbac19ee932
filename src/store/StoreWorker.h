#pragma once

#include "ScoreStore.h"

#include <QObject>
#include <memory>

// The store's reading and writing, on the store's thread (see StoreThread): its requests run one at a
// time, in the order asked, and each answers with what the store holds after it.
class StoreWorker : public QObject
{
    Q_OBJECT

public:
    explicit StoreWorker(std::shared_ptr<ScoreStore> store) : m_store(std::move(store)) {}
    // Deleted on the store's thread as it ends: the watch stops where its file watcher lives.
    ~StoreWorker() override;

public slots:
    // Watches for other writers, and reads what they changed since the read at start-up.
    void startWatching();
    void saveBest(double seconds);
    void saveReset();
    // A record made after a reset that the store has not taken yet: both, or the write failed.
    void saveResetThenBest(double seconds);
    void reread();

signals:
    // A request is done: whether it was stored, and what the store holds now.
    void written(bool stored, double holds);
    // Another writer may have changed the store: what it holds now.
    void changedElsewhere(double holds);

private:
    void answer(bool stored);

    // Shared with the game: a worker left behind with a hung store at close keeps the store alive.
    std::shared_ptr<ScoreStore> m_store;
};
