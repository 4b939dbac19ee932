#pragma once

class QString;
class QWindow;

// What the game asks of an X11 desktop. Each call answers "no" or does nothing elsewhere.
class X11Desktop
{
public:
    // Whether a compositor runs: without one, a translucent window shows garbage.
    static bool composites();
    // Whether the compositor blurs what lies behind a window that asks for it (KWin does).
    static bool offersBlur();
    // Asks for blur behind the whole of `window`.
    static void requestBlurBehind(QWindow *window);
    // Held keys repeat as presses alone, without the release that Qt cannot always tell
    // from a real one; a hold of Space then ends only when the key really goes up.
    static void useDetectableAutoRepeat();
    // Ends the launch `startupId` that the desktop announced for a start which handed over to `window`'s game;
    // otherwise the launcher shows a busy cursor until it gives up.
    static void endStartup(QWindow *window, const QString &startupId);
};
