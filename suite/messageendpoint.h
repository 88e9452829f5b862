#pragma once

#include "windowmessages.h"

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace suite {

// Where the messages addressed to our own main window arrive.
//
// Every message sent or posted to `title` reaches the handler on the thread that called open()
// (the GUI thread, through its event loop), one at a time and in the order of arrival; a handler
// that runs a nested event loop is not entered again meanwhile. A sender waiting in send() is
// released only after the handler has returned. While the endpoint is closed, messages reach
// nobody and senders find no window. The handler may call close(), and may destroy the endpoint.
class MessageEndpoint
{
public:
    using Handler = std::function<void(quint32 message, qint64 wParam, qint64 lParam)>;

    virtual ~MessageEndpoint();

    // Starts receiving under `title`, closing first when open. False, with nothing received, when
    // the title cannot be taken (another live window holds it here, or no window of ours has it
    // on Windows).
    virtual bool open(const QString &title, Handler handler) = 0;
    // Stops receiving; messages not yet handled are dropped. Harmless when closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // After a failed open(): true when another live window of this user holds the title, as the
    // first of two windows with one title does on Windows; false when nothing can be received.
    virtual bool heldElsewhere() const { return false; }
    // After a failed open(): why, for the monitor.
    virtual QString errorString() const { return QString(); }
};

// The window procedure of `nativeWindow` on Windows (the main window's winId(); when 0, open()
// takes the window of this thread with the exact title), a local server elsewhere, where
// `nativeWindow` is not used. The caller owns it.
std::unique_ptr<MessageEndpoint> createPlatformEndpoint(WindowHandle nativeWindow = 0);

} // namespace suite
