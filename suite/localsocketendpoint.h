#pragma once

#include "localsocketwire.h"
#include "messageendpoint.h"

#include <QObject>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

class QSocketNotifier;
class QThread;

namespace suite {

namespace localsocket {
class Stream;
}

// Receives the messages for one title on a local server (names and frames: localsocketwire.h).
// Frames are read as they come and handed to the handler from the event loop, never from inside
// a socket's signal, so that the handler may close or destroy the endpoint.
class LocalSocketEndpoint : public MessageEndpoint
{
public:
    LocalSocketEndpoint();
    ~LocalSocketEndpoint() override;
    LocalSocketEndpoint(const LocalSocketEndpoint &) = delete;
    LocalSocketEndpoint &operator=(const LocalSocketEndpoint &) = delete;

    // Refuses a title under which another live endpoint of this user answers; removes a socket
    // file left by a crashed program only after connecting to it failed, and one held by another
    // user (who could only have put it there while the folder was open), which is never ours.
    bool open(const QString &title, Handler handler) override;
    void close() override;
    bool isOpen() const override;
    bool heldElsewhere() const override { return m_heldElsewhere; }
    QString errorString() const override;

    // The endpoint of this process open under `w` on the calling thread, or null: a blocking
    // send to it through the socket would wait for the very thread that sends.
    static LocalSocketEndpoint *openOnThisThread(WindowHandle w);
    // What a send to one's own window does: the handler at once.
    void callDirectly(quint32 message, qint64 wParam, qint64 lParam);
    // What a post to one's own window does: queued for the event loop, without a socket, whose
    // buffer nobody would empty while this thread posts.
    void postDirectly(quint32 message, qint64 wParam, qint64 lParam);

private:
    using Peer = std::shared_ptr<localsocket::Stream>;
    struct Pending
    {
        Peer sender; // null for a post of our own
        localsocket::Frame frame;
    };

    void acceptConnections();
    void readFrames(const Peer &peer);
    void dropEndedPeers();
    void scheduleDispatch();
    bool handlerIsBusy() const;
    void dispatchPending();

    // Queued calls and notifications run on it, on the thread that opened the endpoint, and end
    // with it.
    std::unique_ptr<QObject> m_context;
    int m_listener = -1;
    QString m_socketFile;
    std::unique_ptr<QSocketNotifier> m_listenerNotifier;
    std::vector<Peer> m_peers;
    Handler m_handler;
    WindowHandle m_handle = 0;
    QThread *m_thread = nullptr;
    std::deque<Pending> m_pending;
    bool m_dispatchScheduled = false;
    bool m_dispatching = false;
    int m_dispatchLoopLevel = 0;              // the event loop level the handler was called from
    localsocket::Stream *m_current = nullptr; // whose frame the handler has now
    // Expires with the endpoint, so that a dispatch loop sees that its handler destroyed it.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    QString m_errorString;
    bool m_heldElsewhere = false;
};

} // namespace suite
