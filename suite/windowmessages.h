#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <memory>

namespace suite {

// A top-level window of some program of the suite, as found by its title; 0 is no window.
using WindowHandle = quintptr;

// How long a blocking send waits for the receiver's handler before giving up.
constexpr std::chrono::milliseconds kDefaultSendBound{30000};

// Finds the suite's windows by title and passes them private messages. Use one object from one
// thread; none of the calls throws.
class WindowMessages
{
public:
    virtual ~WindowMessages();

    // The window whose top-level title is exactly `title`, or 0 when none exists now.
    virtual WindowHandle findWindow(const QString &title) = 0;

    // Queues the message for the window and returns at once; false when `w` is 0 or the window is
    // gone. Delivery is not confirmed.
    virtual bool post(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) = 0;

    // Returns true once the receiver's handler has returned; false when `w` is 0, the window is
    // gone or dies meanwhile, or the bound passed. To one's own window on the thread that opened
    // it, the handler is called directly.
    virtual bool send(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) = 0;

    // Shows the window in its normal size and position and brings it to the foreground, where
    // the window system allows it; nothing for 0.
    virtual void restoreAndRaise(WindowHandle w) = 0;
};

// The Windows messages on Windows, the local-socket stand-in elsewhere. The caller owns it.
std::unique_ptr<WindowMessages>
createPlatformMessages(std::chrono::milliseconds sendBound = kDefaultSendBound);

} // namespace suite
