#pragma once

#include "windowmessages.h"

#include <QString>

#include <chrono>
#include <map>
#include <memory>

class QDeadlineTimer;

namespace suite {

namespace localsocket {
class Stream;
}

// Sends to the local-socket endpoints of the suite's programs (names and frames:
// localsocketwire.h). Keeps one connection per window found, so that many quick posts arrive
// complete and in order; posts the receiver cannot take at once wait in a buffer (up to 10000)
// that the event loop, the next send or the destructor (2 s at most) empties. A send blocks the
// calling thread without running its event loop, and so handles no message sent to this thread
// meanwhile, as SMTO_BLOCK on Windows. To an endpoint of this process open on the calling
// thread, posts are queued for its event loop and sends call its handler directly.
// restoreAndRaise() does nothing here.
class LocalSocketMessages : public WindowMessages
{
public:
    explicit LocalSocketMessages(std::chrono::milliseconds sendBound = kDefaultSendBound);
    ~LocalSocketMessages() override;
    LocalSocketMessages(const LocalSocketMessages &) = delete;
    LocalSocketMessages &operator=(const LocalSocketMessages &) = delete;

    WindowHandle findWindow(const QString &title) override;
    bool post(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override;
    bool send(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override;
    void restoreAndRaise(WindowHandle w) override;

private:
    localsocket::Stream *connection(WindowHandle w, const QDeadlineTimer &deadline, bool *kept);
    // Writes the frame to `w`: all of it (`wholly`), or what the system takes now, the rest
    // buffered. Null when no connection takes it.
    localsocket::Stream *write(WindowHandle w, const QByteArray &frame,
                               const QDeadlineTimer &deadline, bool wholly);
    void dropConnection(WindowHandle w);

    std::chrono::milliseconds m_sendBound;
    std::map<WindowHandle, std::unique_ptr<localsocket::Stream>> m_connections;
};

} // namespace suite
