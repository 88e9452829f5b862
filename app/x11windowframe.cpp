// The frame's extents as the window manager publishes them (_NET_FRAME_EXTENTS: left, right,
// top, bottom), read from the X server each time: they are set when the frame is built and
// change with it. Before the window is mapped the window manager gives its estimate when asked
// (_NET_REQUEST_FRAME_EXTENTS).
#include "windowframe.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// How long a window manager that says it answers is given to: a round trip or two.
constexpr int kAnswerMilliseconds = 100;

enum Atom { FrameExtents, RequestFrameExtents, SupportingWmCheck, Supported, AtomCount };
constexpr std::array<const char *, AtomCount> kAtomNames = {
    "_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS", "_NET_SUPPORTING_WM_CHECK",
    "_NET_SUPPORTED"};

// All in one round trip.
std::array<xcb_atom_t, AtomCount> internAtoms(xcb_connection_t *connection)
{
    std::array<xcb_intern_atom_cookie_t, AtomCount> cookies;
    for (int i = 0; i < AtomCount; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, std::strlen(kAtomNames[i]), kAtomNames[i]);
    std::array<xcb_atom_t, AtomCount> atoms;
    for (int i = 0; i < AtomCount; ++i) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
    }
    return atoms;
}

// The values of a 32-bit property, none when it is not set.
std::optional<std::vector<quint32>> property(xcb_connection_t *connection, xcb_window_t window,
                                             xcb_atom_t name, xcb_atom_t type, quint32 length)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, length), nullptr);
    std::optional<std::vector<quint32>> values;
    if (reply && reply->format == 32) {
        const auto *v = static_cast<const quint32 *>(xcb_get_property_value(reply));
        values.emplace(v, v + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

class X11WindowFrame : public WindowFrame
{
public:
    explicit X11WindowFrame(xcb_connection_t *connection)
        : m_connection(connection), m_atoms(internAtoms(connection))
    {
    }

    bool valid() const
    {
        return std::none_of(m_atoms.begin(), m_atoms.end(),
                            [](xcb_atom_t atom) { return atom == XCB_ATOM_NONE; });
    }

    QMargins margins(const QWindow &window) const override
    {
        const std::optional<QMargins> m = extents(window);
        return m ? *m : QMargins();
    }

    void askBeforeShowing(const QWindow &window) override
    {
        if (!window.handle())
            return;
        const auto id = xcb_window_t(window.winId());
        const xcb_window_t root = rootOf(id);
        if (root == XCB_WINDOW_NONE || !managerAnswers(root))
            return;
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = id;
        request.type = m_atoms[RequestFrameExtents];
        xcb_send_event(m_connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&request));
        xcb_flush(m_connection);
        const QDeadlineTimer deadline(kAnswerMilliseconds);
        while (!extents(window) && !deadline.hasExpired())
            QThread::usleep(200);
    }

private:
    std::optional<QMargins> extents(const QWindow &window) const
    {
        if (!window.handle())
            return std::nullopt;
        const auto v = property(m_connection, xcb_window_t(window.winId()), m_atoms[FrameExtents],
                                XCB_ATOM_CARDINAL, 4);
        if (!v || v->size() != 4)
            return std::nullopt;
        // The server counts device pixels; the window is placed in Qt's scaled ones.
        const qreal scale = window.devicePixelRatio();
        return QMargins(qRound((*v)[0] / scale), qRound((*v)[2] / scale), qRound((*v)[1] / scale),
                        qRound((*v)[3] / scale));
    }

    xcb_window_t rootOf(xcb_window_t window) const
    {
        xcb_get_geometry_reply_t *reply =
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        const xcb_window_t root = reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
        std::free(reply);
        return root;
    }

    // A window manager runs (its check window names itself: a manager that ended leaves the
    // root's properties behind) and says it answers the request.
    bool managerAnswers(xcb_window_t root) const
    {
        const xcb_atom_t check = m_atoms[SupportingWmCheck];
        const auto manager = property(m_connection, root, check, XCB_ATOM_WINDOW, 1);
        if (!manager || manager->size() != 1)
            return false;
        const auto itself = property(m_connection, manager->front(), check, XCB_ATOM_WINDOW, 1);
        if (!itself || itself->size() != 1 || itself->front() != manager->front())
            return false;
        const auto supported =
            property(m_connection, root, m_atoms[Supported], XCB_ATOM_ATOM, 1024);
        return supported && std::find(supported->begin(), supported->end(),
                                      m_atoms[RequestFrameExtents]) != supported->end();
    }

    xcb_connection_t *m_connection;
    std::array<xcb_atom_t, AtomCount> m_atoms;
};

} // namespace

std::unique_ptr<WindowFrame> createX11WindowFrame()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    auto frame = std::make_unique<X11WindowFrame>(connection);
    if (!frame->valid())
        return nullptr;
    return frame;
}
