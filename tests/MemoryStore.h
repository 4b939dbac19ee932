#pragma once

#include "ScoreStore.h"

#include <variant>

// The best time in memory, keeping whether it was last written as a double or as the integer 0.
class MemoryStore final : public ScoreStore
{
public:
    explicit MemoryStore(double initial = 0.0) : value(initial) {}

    double load() override { return std::holds_alternative<double>(value) ? std::get<double>(value) : 0.0; }
    bool saveBest(double seconds) override
    {
        ++writes;
        if (failWrites)
            return false;
        if (!std::holds_alternative<double>(value) || std::get<double>(value) < seconds)
            value = seconds;
        return true;
    }
    void saveReset() override
    {
        value = 0;
        ++writes;
    }

    QString location() const override { return QStringLiteral("/memory/Brinmor.conf"); }

    std::variant<double, int> value;
    int writes = 0;
    bool failWrites = false;
};
