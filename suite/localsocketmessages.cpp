#include "localsocketmessages.h"

#include "localsocketendpoint.h"
#include "localsocketstream.h"
#include "localsocketwire.h"

#include <QDeadlineTimer>

#include <algorithm>

namespace suite {

using localsocket::Frame;
using localsocket::FrameKind;
using localsocket::Stream;

namespace {

// A live endpoint accepts at once; a hung one with a full backlog should not hold a search long.
constexpr qint64 kConnectBoundMilliseconds = 2000;
// Posts the receiver has not taken yet wait in our buffer, up to as many as a Windows message
// queue holds.
constexpr qint64 kMaxBufferedBytes = 10000 * localsocket::kFrameSize;
// At the end, buffered posts get this long to go out.
constexpr int kFinalFlushMilliseconds = 2000;

} // namespace

LocalSocketMessages::LocalSocketMessages(std::chrono::milliseconds sendBound)
    : m_sendBound(sendBound)
{
}

LocalSocketMessages::~LocalSocketMessages()
{
    const QDeadlineTimer deadline(kFinalFlushMilliseconds);
    for (const auto &entry : m_connections)
        entry.second->waitForBytesWritten(deadline);
}

WindowHandle LocalSocketMessages::findWindow(const QString &title)
{
    const WindowHandle w = localsocket::handleForTitle(title);
    bool kept = false;
    return connection(w, QDeadlineTimer(m_sendBound), &kept) ? w : 0;
}

bool LocalSocketMessages::post(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam)
{
    if (w == 0)
        return false;
    if (LocalSocketEndpoint *own = LocalSocketEndpoint::openOnThisThread(w)) {
        own->postDirectly(message, wParam, lParam);
        return true;
    }
    const Frame frame{message, FrameKind::Posted, wParam, lParam};
    return write(w, localsocket::encodeFrame(frame), QDeadlineTimer(m_sendBound), false);
}

bool LocalSocketMessages::send(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam)
{
    if (w == 0)
        return false;
    if (LocalSocketEndpoint *own = LocalSocketEndpoint::openOnThisThread(w)) {
        own->callDirectly(message, wParam, lParam);
        return true;
    }
    const Frame frame{message, FrameKind::Sent, wParam, lParam};
    const QDeadlineTimer deadline(m_sendBound);
    Stream *socket = write(w, localsocket::encodeFrame(frame), deadline, true);
    if (!socket)
        return false;
    while (socket->bytesAvailable() < localsocket::kFrameSize) {
        // Returns false at once when the receiver has gone.
        if (!socket->waitForReadyRead(deadline)) {
            dropConnection(w); // a late answer must not be taken for the next one
            return false;
        }
    }
    const std::optional<Frame> reply =
        localsocket::decodeFrame(socket->read(localsocket::kFrameSize));
    if (!reply || !localsocket::answers(*reply, frame)) {
        dropConnection(w);
        return false;
    }
    return true;
}

void LocalSocketMessages::restoreAndRaise(WindowHandle)
{
    // The stand-in windows are ordinary windows of the desktop; nothing to ask of it here.
}

Stream *LocalSocketMessages::connection(WindowHandle w, const QDeadlineTimer &deadline, bool *kept)
{
    const auto found = m_connections.find(w);
    if (found != m_connections.end()) {
        // A receiver that has gone shows as the end of the stream; nothing else is expected
        // while no send waits for an answer.
        Stream &socket = *found->second;
        socket.readArrived();
        if (socket.isConnected() && socket.bytesAvailable() == 0) {
            *kept = true;
            return &socket;
        }
        m_connections.erase(found);
    }
    *kept = false;
    const qint64 bound = deadline.isForever()
                             ? kConnectBoundMilliseconds
                             : std::min(deadline.remainingTime(), kConnectBoundMilliseconds);
    std::unique_ptr<Stream> socket =
        Stream::connectTo(localsocket::serverNameFor(w), QDeadlineTimer(bound));
    if (!socket || !localsocket::peerIsThisUser(socket->descriptor()))
        return nullptr;
    return m_connections.emplace(w, std::move(socket)).first->second.get();
}

Stream *LocalSocketMessages::write(WindowHandle w, const QByteArray &frame,
                                   const QDeadlineTimer &deadline, bool wholly)
{
    // A kept connection may lead to an endpoint that has closed since, while a new one listens
    // under the title now: then one fresh connection is tried.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool kept = false;
        Stream *socket = connection(w, deadline, &kept);
        if (!socket || socket->bytesToWrite() + frame.size() > kMaxBufferedBytes)
            return nullptr;
        // What the system does not take now goes out from the event loop, with the next send,
        // or at the end.
        socket->write(frame);
        if (wholly)
            socket->waitForBytesWritten(deadline);
        const bool connected = socket->isConnected();
        if (connected && (!wholly || socket->bytesToWrite() == 0))
            return socket;
        dropConnection(w); // a frame may be half written
        if (!kept || connected)
            return nullptr;
    }
    return nullptr;
}

void LocalSocketMessages::dropConnection(WindowHandle w)
{
    m_connections.erase(w);
}

} // namespace suite
