#include "localsocketendpoint.h"

#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QThread>

namespace suite {

using localsocket::Frame;
using localsocket::FrameKind;

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

void answer(QLocalSocket &sender, Frame frame)
{
    frame.kind = FrameKind::Answer;
    sender.write(localsocket::encodeFrame(frame));
    sender.flush();
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

    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kProbeBoundMilliseconds) &&
            localsocket::peerIsThisUser(probe.socketDescriptor())) {
            m_heldElsewhere = true;
            return fail(QStringLiteral("another program receives under the title at ") + name);
        }
    }
    // Nobody of ours answered, so a file there is left by a program that crashed.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name))
        return fail(server->errorString());

    m_server = std::move(server);
    m_handle = handle;
    m_handler = std::move(handler);
    QObject::connect(m_server.get(), &QLocalServer::newConnection, m_server.get(),
                     [this] { acceptConnections(); });
    return true;
}

void LocalSocketEndpoint::close()
{
    if (!m_server)
        return;
    unregisterEndpoint(m_handle, this);
    m_handle = 0;
    m_handler = nullptr;
    m_pending.clear();
    m_dispatchScheduled = false;
    m_server->close();
    const QList<QLocalSocket *> sockets = m_server->findChildren<QLocalSocket *>();
    for (QLocalSocket *socket : sockets) {
        socket->disconnect(socket); // reads nothing more for us
        if (socket == m_current)
            socket->setParent(nullptr); // still answered once the handler returns
        else
            socket->abort(); // its sender learns at once that the window is gone
    }
    // Inside the handler a socket's or the server's signal may still be on the stack.
    if (m_dispatching)
        m_server.release()->deleteLater();
    else
        m_server.reset();
}

bool LocalSocketEndpoint::isOpen() const
{
    return m_server != nullptr;
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
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!localsocket::peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        QObject::connect(socket, &QLocalSocket::readyRead, socket,
                         [this, socket] { readFrames(socket); });
        // Frames written just before the sender closed are still handled.
        QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, socket] {
            readFrames(socket);
            socket->deleteLater();
        });
        readFrames(socket);
    }
}

void LocalSocketEndpoint::readFrames(QLocalSocket *socket)
{
    while (socket->bytesAvailable() >= localsocket::kFrameSize) {
        const std::optional<Frame> frame =
            localsocket::decodeFrame(socket->read(localsocket::kFrameSize));
        if (!frame || frame->kind == FrameKind::Answer) {
            socket->abort();
            break;
        }
        m_pending.push_back({socket, *frame});
    }
    scheduleDispatch();
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
        m_server.get(), [this] { dispatchPending(); }, Qt::QueuedConnection);
}

void LocalSocketEndpoint::dispatchPending()
{
    m_dispatchScheduled = false;
    if (handlerIsBusy())
        return;
    const bool outerDispatching = m_dispatching;
    const int outerLevel = m_dispatchLoopLevel;
    const QPointer<QLocalSocket> outerCurrent = m_current;
    m_dispatching = true;
    m_dispatchLoopLevel = QThread::currentThread()->loopLevel();
    const std::weak_ptr<char> alive = m_alive;
    while (!m_pending.empty()) {
        const Pending next = m_pending.front();
        m_pending.pop_front();
        m_current = next.sender;
        const Handler handler = m_handler;
        if (handler)
            handler(next.frame.message, next.frame.wParam, next.frame.lParam);

        // Only locals until `alive` is checked: the handler may have destroyed the endpoint.
        if (next.sender && next.frame.kind == FrameKind::Sent)
            answer(*next.sender, next.frame);
        if (next.sender && !next.sender->parent()) { // closed meanwhile: its last answer is out
            next.sender->disconnectFromServer();
            next.sender->deleteLater();
        }
        if (alive.expired())
            return;
        m_current = nullptr;
    }
    m_dispatching = outerDispatching;
    m_dispatchLoopLevel = outerLevel;
    m_current = outerCurrent;
}

} // namespace suite
