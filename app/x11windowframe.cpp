// The frame's extents as the window manager publishes them (_NET_FRAME_EXTENTS: left, right,
// top, bottom), read from the X server each time: they are set when the frame is built and
// change with it.
#include "windowframe.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

class X11WindowFrame : public WindowFrame
{
public:
    X11WindowFrame(xcb_connection_t *connection, xcb_atom_t extents)
        : m_connection(connection), m_extents(extents)
    {
    }

    QMargins margins(const QWindow &window) const override
    {
        if (!window.handle())
            return {};
        const xcb_get_property_cookie_t cookie = xcb_get_property(
            m_connection, 0, xcb_window_t(window.winId()), m_extents, XCB_ATOM_CARDINAL, 0, 4);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        QMargins margins;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
            // The server counts device pixels; the window is placed in Qt's scaled ones.
            const auto *v = static_cast<const quint32 *>(xcb_get_property_value(reply));
            const qreal scale = window.devicePixelRatio();
            margins = QMargins(qRound(v[0] / scale), qRound(v[2] / scale), qRound(v[1] / scale),
                               qRound(v[3] / scale));
        }
        std::free(reply);
        return margins;
    }

private:
    xcb_connection_t *m_connection;
    xcb_atom_t m_extents;
};

} // namespace

std::unique_ptr<WindowFrame> createX11WindowFrame()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    static const char name[] = "_NET_FRAME_EXTENTS";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    if (!atom)
        return nullptr;
    const xcb_atom_t extents = atom->atom;
    std::free(atom);
    return std::make_unique<X11WindowFrame>(connection, extents);
}
