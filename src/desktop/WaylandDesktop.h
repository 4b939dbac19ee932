#pragma once

#include <memory>

class QObject;
class QWindow;

// What the game asks of a Wayland compositor. Each call answers "no" or does nothing elsewhere, and where the
// game was built without KWin's blur protocol.
class WaylandDesktop
{
public:
    // KWin's blur, where the compositor offers it (KWin, while its blur effect is on); null elsewhere. The blur
    // lasts as long as this object, which its owner gives to the window once there is one.
    static std::unique_ptr<QObject> blurOffered();
    // Asks `blur` for blur behind the whole of `window`, from its next frame on.
    static void requestBlurBehind(QObject *blur, QWindow *window);
};
