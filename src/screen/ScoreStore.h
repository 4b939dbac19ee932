#pragma once

#include <QString>

// The one piece of persistent state: the best time, in seconds.
class ScoreStore
{
public:
    virtual ~ScoreStore() = default;

    // 0.0 when nothing usable is stored.
    virtual double load() = 0;
    // Stores `seconds` unless a greater best is stored already. False when the store
    // could not be written (a full disk, a read-only folder).
    virtual bool saveBest(double seconds) = 0;
    virtual void saveReset() = 0;
    // Where the best lives, for the player to look at when it could not be saved.
    virtual QString location() const = 0;
};
