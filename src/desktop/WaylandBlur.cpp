#include "WaylandBlur.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

WaylandBlur::WaylandBlur()
    : QWaylandClientExtensionTemplate(1)
{
    // The display's globals are known by now: bind at once, so the window is made translucent or not from the start.
    initialize();
}

WaylandBlur::~WaylandBlur()
{
    if (m_blur.isInitialized())
        m_blur.release();
    if (isActive())
        org_kde_kwin_blur_manager_destroy(object());
}

bool WaylandBlur::offered() const
{
    return isActive();
}

void WaylandBlur::requestBlurBehind(QWindow *window)
{
    auto *surface = static_cast<wl_surface *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", window));
    if (!isActive() || !surface || m_blur.isInitialized())
        return;
    // No region is the whole surface; the blur is applied with the surface's next commit.
    m_blur.init(create(surface));
    m_blur.commit();
}
