#include "WaylandDesktop.h"

#ifdef BRINMOR_HAVE_WAYLAND_BLUR
#include "WaylandBlur.h"

#include <QGuiApplication>

std::unique_ptr<QObject> WaylandDesktop::blurOffered()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    auto blur = std::make_unique<WaylandBlur>();
    if (!blur->offered())
        return nullptr;
    return blur;
}

void WaylandDesktop::requestBlurBehind(QObject *blur, QWindow *window)
{
    static_cast<WaylandBlur *>(blur)->requestBlurBehind(window);
}

#else

#include <QObject>

std::unique_ptr<QObject> WaylandDesktop::blurOffered()
{
    return nullptr;
}

void WaylandDesktop::requestBlurBehind(QObject *, QWindow *)
{
}

#endif
