#include "X11Desktop.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
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

void X11Desktop::endStartup(QWindow *window, const QString &startupId)
{
    xcb_connection_t *c = connection();
    if (!c || startupId.isEmpty())
        return;
    // The startup-notification message, in pieces of 20 bytes, the first of them marked as the beginning.
    QByteArray message = "remove: ID=";
    for (const char byte : startupId.toUtf8()) {
        if (byte == ' ' || byte == '"' || byte == '\\')
            message += '\\';
        message += byte;
    }
    message += '\0';
    const auto atom = [c](const char *name) {
        const auto reply = own(xcb_intern_atom_reply(c, xcb_intern_atom(c, false, qstrlen(name), name), nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_NONE);
    };
    const xcb_atom_t first = atom("_NET_STARTUP_INFO_BEGIN"), more = atom("_NET_STARTUP_INFO");
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = xcb_window_t(window->winId());
    const qsizetype piece = sizeof event.data.data8;
    for (qsizetype at = 0; at < message.size(); at += piece) {
        event.type = at == 0 ? first : more;
        std::memset(event.data.data8, 0, piece);
        std::memcpy(event.data.data8, message.constData() + at, std::min(message.size() - at, piece));
        xcb_send_event(c, false, rootWindow(c), XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char *>(&event));
    }
    xcb_flush(c);
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

void X11Desktop::endStartup(QWindow *, const QString &)
{
}

#endif
