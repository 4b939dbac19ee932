#pragma once

#include <QString>
#include <functional>

// The one piece of persistent state: the best time, in seconds. Its calls may block on the disk.
class ScoreStore
{
public:
    virtual ~ScoreStore() = default;

    // 0.0 when nothing usable is stored.
    virtual double load() = 0;
    // Stores `seconds` unless a greater best is stored already. False when the store
    // could not be written (a full disk, a read-only folder).
    virtual bool saveBest(double seconds) = 0;
    // Stores the integer 0; false when the store could not be written.
    virtual bool saveReset() = 0;
    // Where the best lives, for the player to look at when it could not be saved.
    virtual QString location() const = 0;
    // From now on calls `changed` when another writer may have changed the store; an empty
    // function stops that. Called on the thread that does the store's work, which `changed` runs on.
    virtual void watch(std::function<void()> changed) = 0;
};
