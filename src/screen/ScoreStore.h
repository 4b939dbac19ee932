#pragma once

// The one piece of persistent state: the best time, in seconds.
class ScoreStore
{
public:
    virtual ~ScoreStore() = default;

    // 0.0 when nothing usable is stored.
    virtual double load() = 0;
    virtual void saveBest(double seconds) = 0;
    virtual void saveReset() = 0;
};
