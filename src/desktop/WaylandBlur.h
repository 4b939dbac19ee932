#pragma once

#include "qwayland-blur.h"

#include <QtWaylandClient/QWaylandClientExtensionTemplate>

class QWindow;

// KWin's blur behind a Wayland window, through its org_kde_kwin_blur_manager global; only on the wayland platform.
class WaylandBlur : public QWaylandClientExtensionTemplate<WaylandBlur>, public QtWayland::org_kde_kwin_blur_manager
{
    Q_OBJECT
public:
    WaylandBlur();
    ~WaylandBlur() override;
    // Whether the compositor blurs behind a window that asks: KWin offers the global only while its blur effect is on.
    bool offered() const;
    // Asks for blur behind the whole of `window`, from its next frame on.
    void requestBlurBehind(QWindow *window);

private:
    // KWin blurs only while this object lives.
    QtWayland::org_kde_kwin_blur m_blur;
};
