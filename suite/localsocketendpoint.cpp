#include "localsocketendpoint.h"

#include "localsocketstream.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>

#include <unistd.h>

namespace suite {

using localsocket::Frame;
using localsocket::FrameKind;
using localsocket::Stream;

namespace {

constexpr int kProbeBoundMilliseconds = 2000;

// The endpoints open in this process, so that a send to one of them can be a direct call, as on
// Windows, where the window system knows which windows are ours.
struct OpenEndpoints
{
    QMutex mutex;
    QHash<WindowHandle, LocalSocketEndpoint *> byHandle;
};

OpenEndpoints &openEndpoints()
{
    static OpenEndpoints endpoints;
    return endpoints;
}

bool registerEndpoint(WindowHandle w, LocalSocketEndpoint *endpoint)
{
    OpenEndpoints &endpoints = openEndpoints();
    const QMutexLocker lock(&endpoints.mutex);
    if (endpoints.byHandle.contains(w))
        return false;
    endpoints.byHandle.insert(w, endpoint);
    return true;
}

void unregisterEndpoint(WindowHandle w, LocalSocketEndpoint *endpoint)
{
    OpenEndpoints &endpoints = openEndpoints();
    const QMutexLocker lock(&endpoints.mutex);
    if (endpoints.byHandle.value(w) == endpoint)
        endpoints.byHandle.remove(w);
}

void answer(Stream &sender, Frame frame)
{
    frame.kind = FrameKind::Answer;
    sender.write(localsocket::encodeFrame(frame));
}

} // namespace

LocalSocketEndpoint::LocalSocketEndpoint() = default;

LocalSocketEndpoint::~LocalSocketEndpoint()
{
    close();
}

bool LocalSocketEndpoint::open(const QString &title, Handler handler)
{
    close();
    m_errorString.clear();
    m_heldElsewhere = false;
    QString folderProblem;
    if (localsocket::socketFolder(&folderProblem).isEmpty()) {
        m_errorString = folderProblem;
        return false;
    }
    const WindowHandle handle = localsocket::handleForTitle(title);
    const QString name = localsocket::serverNameFor(handle);
    m_thread = QThread::currentThread();
    if (!m_context || m_context->thread() != m_thread)
        m_context = std::make_unique<QObject>();
    if (!registerEndpoint(handle, this)) {
        m_heldElsewhere = true;
        m_errorString = QStringLiteral("this program already receives under the title");
        return false;
    }
    const auto fail = [&](const QString &why) {
        unregisterEndpoint(handle, this);
        m_errorString = why;
        return false;
    };

    const std::unique_ptr<Stream> probe =
        Stream::connectTo(name, QDeadlineTimer(kProbeBoundMilliseconds));
    if (probe && localsocket::peerIsThisUser(probe->descriptor())) {
        m_heldElsewhere = true;
        return fail(QStringLiteral("another program receives under the title at ") + name);
    }
    // Nobody of ours answered, so a file there is left by a program that crashed.
    ::unlink(QFile::encodeName(name).constData());
    QString why;
    m_listener = localsocket::listenAt(name, why);
    if (m_listener < 0)
        return fail(why);

    m_socketFile = name;
    m_handle = handle;
    m_handler = std::move(handler);
    m_listenerNotifier = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    QObject::connect(m_listenerNotifier.get(), &QSocketNotifier::activated, m_context.get(),
                     [this] { acceptConnections(); });
    return true;
}

void LocalSocketEndpoint::close()
{
    if (m_listener < 0)
        return;
    unregisterEndpoint(m_handle, this);
    m_handle = 0;
    m_handler = nullptr;
    m_pending.clear();
    m_dispatchScheduled = false;
    m_listenerNotifier.reset();
    ::close(m_listener);
    m_listener = -1;
    ::unlink(QFile::encodeName(m_socketFile).constData());
    for (const Peer &peer : m_peers) {
        if (peer.get() == m_current)
            peer->stopWatchingReads(); // still answered once the handler returns
        else
            peer->abort(); // its sender learns at once that the window is gone
    }
    m_peers.clear();
}

bool LocalSocketEndpoint::isOpen() const
{
    return m_listener >= 0;
}

QString LocalSocketEndpoint::errorString() const
{
    return m_errorString;
}

LocalSocketEndpoint *LocalSocketEndpoint::openOnThisThread(WindowHandle w)
{
    OpenEndpoints &endpoints = openEndpoints();
    const QMutexLocker lock(&endpoints.mutex);
    LocalSocketEndpoint *endpoint = endpoints.byHandle.value(w);
    return endpoint && endpoint->m_thread == QThread::currentThread() ? endpoint : nullptr;
}

void LocalSocketEndpoint::callDirectly(quint32 message, qint64 wParam, qint64 lParam)
{
    const Handler handler = m_handler; // the handler may close the endpoint
    if (handler)
        handler(message, wParam, lParam);
}

void LocalSocketEndpoint::postDirectly(quint32 message, qint64 wParam, qint64 lParam)
{
    m_pending.push_back({nullptr, Frame{message, FrameKind::Posted, wParam, lParam}});
    scheduleDispatch();
}

void LocalSocketEndpoint::acceptConnections()
{
    while (std::unique_ptr<Stream> accepted = localsocket::acceptFrom(m_listener)) {
        if (!localsocket::peerIsThisUser(accepted->descriptor()))
            continue; // closed at once
        const Peer peer(std::move(accepted));
        m_peers.push_back(peer);
        // Frames written just before the sender closed are still handled.
        peer->watchReads([this, weak = std::weak_ptr<Stream>(peer)] { readFrames(weak.lock()); });
        peer->readArrived();
        readFrames(peer);
    }
}

void LocalSocketEndpoint::readFrames(const Peer &peer)
{
    if (!peer)
        return;
    while (peer->bytesAvailable() >= localsocket::kFrameSize) {
        const std::optional<Frame> frame =
            localsocket::decodeFrame(peer->read(localsocket::kFrameSize));
        if (!frame || frame->kind == FrameKind::Answer) {
            peer->abort();
            break;
        }
        m_pending.push_back({peer, *frame});
    }
    if (!peer->isConnected()) // dropped from the event loop: its notifier may be what called us
        QMetaObject::invokeMethod(
            m_context.get(), [this] { dropEndedPeers(); }, Qt::QueuedConnection);
    scheduleDispatch();
}

void LocalSocketEndpoint::dropEndedPeers()
{
    m_peers.erase(std::remove_if(m_peers.begin(), m_peers.end(),
                                 [](const Peer &peer) { return !peer->isConnected(); }),
                  m_peers.end());
}

// Inside the handler frames wait for it to return, unless the handler waits in an event loop of
// its own (a message box): then they are handled there, as a window's messages are on Windows,
// and no sender waits on the monitor.
bool LocalSocketEndpoint::handlerIsBusy() const
{
    return m_dispatching && QThread::currentThread()->loopLevel() <= m_dispatchLoopLevel;
}

void LocalSocketEndpoint::scheduleDispatch()
{
    if (m_pending.empty() || handlerIsBusy() || m_dispatchScheduled)
        return;
    m_dispatchScheduled = true;
    QMetaObject::invokeMethod(
        m_context.get(), [this] { dispatchPending(); }, Qt::QueuedConnection);
}

void LocalSocketEndpoint::dispatchPending()
{
    m_dispatchScheduled = false;
    if (handlerIsBusy())
        return;
    const bool outerDispatching = m_dispatching;
    const int outerLevel = m_dispatchLoopLevel;
    Stream *const outerCurrent = m_current;
    m_dispatching = true;
    m_dispatchLoopLevel = QThread::currentThread()->loopLevel();
    const std::weak_ptr<char> alive = m_alive;
    while (!m_pending.empty()) {
        const Pending next = m_pending.front();
        m_pending.pop_front();
        m_current = next.sender.get();
        const Handler handler = m_handler;
        if (handler)
            handler(next.frame.message, next.frame.wParam, next.frame.lParam);

        // Only locals until `alive` is checked: the handler may have destroyed the endpoint.
        if (next.sender && next.frame.kind == FrameKind::Sent)
            answer(*next.sender, next.frame);
        // A sender the endpoint closed on meanwhile ends with `next`, its answer written.
        if (alive.expired())
            return;
        m_current = nullptr;
    }
    m_dispatching = outerDispatching;
    m_dispatchLoopLevel = outerLevel;
    m_current = outerCurrent;
}

} // namespace suite
