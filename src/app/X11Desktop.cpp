#include "X11Desktop.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <memory>

#ifdef BRINMOR_HAVE_XCB
#include <xcb/xcb.h>
// The XKB header names a field "explicit".
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace {
const char blurAtomName[] = "_KDE_NET_WM_BLUR_BEHIND_REGION";

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> own(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t existingAtom(xcb_connection_t *c, const char *name)
{
    const auto reply = own(xcb_intern_atom_reply(c, xcb_intern_atom(c, true, qstrlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_NONE);
}

xcb_window_t rootWindow(xcb_connection_t *c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}
} // namespace

bool X11Desktop::composites()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    const xcb_atom_t selection = existingAtom(c, "_NET_WM_CM_S0");
    if (selection == XCB_NONE)
        return false;
    const auto owner = own(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_NONE;
}

bool X11Desktop::offersBlur()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // KWin announces its blur effect as a property of that name on the root window.
    const xcb_atom_t blur = existingAtom(c, blurAtomName);
    if (blur == XCB_NONE)
        return false;
    const auto property = own(xcb_get_property_reply(
        c, xcb_get_property(c, false, rootWindow(c), blur, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    return property && property->type != XCB_NONE;
}

void X11Desktop::requestBlurBehind(QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_atom_t blur = existingAtom(c, blurAtomName);
    if (blur == XCB_NONE)
        return;
    // An empty region means the whole window.
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), blur, XCB_ATOM_CARDINAL, 32, 0,
                        nullptr);
    xcb_flush(c);
}

void X11Desktop::useDetectableAutoRepeat()
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    std::free(xcb_xkb_per_client_flags_reply(
        c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr));
}

#else

bool X11Desktop::composites()
{
    return false;
}

bool X11Desktop::offersBlur()
{
    return false;
}

void X11Desktop::requestBlurBehind(QWindow *)
{
}

void X11Desktop::useDetectableAutoRepeat()
{
}

#endif
