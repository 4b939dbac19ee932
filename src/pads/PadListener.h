#pragma once

// What the pads say, in the game's terms: told by the pads' part to the game.
class PadListener
{
public:
    enum class Button { A, Up, Down, Other };

    // `pad` is SDL's instance id of the pad.
    virtual void pressed(int pad, Button button) = 0;
    virtual void released(int pad, Button button) = 0;
    // Unplugged, or its battery flat.
    virtual void removed(int pad) = 0;
    // After a read in which a pad came or went, or its node ended: whether it needs reads may have changed.
    virtual void padsChanged() = 0;

protected:
    ~PadListener() = default;
};
