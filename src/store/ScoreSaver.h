#pragma once

#include "ScoreStore.h"
#include "StoreThread.h"

#include <QObject>
#include <chrono>
#include <memory>

// What the store lacks of the game's best and its resets, asked of it on the store's own thread until it has
// them: a write that failed (a full disk, a read-only folder) is said once on stderr and asked again at the next
// request and at the close.
class ScoreSaver : public QObject
{
    Q_OBJECT

public:
    ScoreSaver(std::shared_ptr<ScoreStore> store, std::chrono::milliseconds closeBound, QObject *parent = nullptr);

    void saveBest(double seconds);
    void saveReset();
    // Asks again for what a failed write left out, if anything.
    void retry();
    // The store holds a better best than the game's: it lacks nothing of the game's any more.
    void adopted();
    // While a reset waits to be stored, the best still there is the game's own old one, not another game's.
    bool resetPending() const { return m_unsaved == Unsaved::Reset || m_unsaved == Unsaved::ResetThenBest; }
    // Waits until the store has caught up; false when it took longer than `bound`.
    bool waitForStore(std::chrono::milliseconds bound) { return m_store.finish(bound); }
    // The game is closing: the last chance for what the store lacks, waited for up to the close bound; what the
    // store did not take by then is said on stderr.
    void close();

signals:
    // What the store holds now, after a write of the game's or another game's.
    void holds(double seconds);

private:
    // A best after a reset not stored yet needs both: the old best there is greater.
    enum class Unsaved { None, Best, Reset, ResetThenBest };

    void ask();
    void setUnsaved(Unsaved what);
    void written(bool stored, double holds);

    StoreThread m_store;
    const std::chrono::milliseconds m_closeBound;
    Unsaved m_unsaved = Unsaved::None;
    bool m_reported = false;
    double m_best = 0.0;
};
