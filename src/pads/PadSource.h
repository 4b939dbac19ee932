#pragma once

#include "PadListener.h"

#include <QtPlugin>

// The game pads, through SDL, in a part of the game loaded only once the machine has a pad. A pad
// whose device node SDL names is read when that node has input; any other (SDL's virtual pads) only
// when the game asks.
class PadSource
{
public:
    virtual ~PadSource() = default;

    // Starts SDL's game-controller part, which then tells `listener`; false when it cannot start.
    virtual bool start(PadListener *listener) = 0;
    virtual void stop() = 0;
    // Reads what the pads said, new pads and pads gone included.
    virtual void read() = 0;
    // Some pad is read only when the game asks.
    virtual bool needsReads() const = 0;
};

#define PadSource_iid "io.github.brinmor.Brinmor.PadSource/1.0"
Q_DECLARE_INTERFACE(PadSource, PadSource_iid)
