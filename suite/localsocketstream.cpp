#include "localsocketstream.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace suite::localsocket {

namespace {

constexpr int kReadChunk = 4096;
// A listener with a full backlog: its connect is tried again this often.
constexpr int kConnectRetryMilliseconds = 5;

bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

// -1, as poll() takes it, for no deadline.
int remainingMilliseconds(const QDeadlineTimer &deadline)
{
    if (deadline.isForever())
        return -1;
    return int(std::clamp<qint64>(deadline.remainingTime(), 0, 24 * 3600 * 1000));
}

// True when `events` came on the descriptor before the deadline (or it was hung up).
bool waitFor(int descriptor, short events, const QDeadlineTimer &deadline)
{
    pollfd entry{descriptor, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, remainingMilliseconds(deadline));
        if (ready >= 0)
            return ready > 0;
        if (errno != EINTR)
            return false;
    }
}

} // namespace

Stream::Stream(int descriptor) : m_descriptor(descriptor) {}

Stream::~Stream()
{
    writeNow(); // an answer written last still goes out when the system takes it
    closeDescriptor();
    delete m_readNotifier;
    delete m_writeNotifier;
}

std::unique_ptr<Stream> Stream::connectTo(const QString &path, const QDeadlineTimer &deadline)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return nullptr;
    auto stream = std::make_unique<Stream>(newSocket());
    if (!stream->isConnected())
        return nullptr;
    for (;;) {
        if (::connect(stream->m_descriptor, reinterpret_cast<const sockaddr *>(&address),
                      sizeof(address)) == 0)
            return stream;
        if (errno == EINPROGRESS) { // not on Linux, where a full backlog answers EAGAIN
            int error = 0;
            socklen_t size = sizeof(error);
            if (waitFor(stream->m_descriptor, POLLOUT, deadline) &&
                ::getsockopt(stream->m_descriptor, SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
                error == 0)
                return stream;
            return nullptr;
        }
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired())
            return nullptr;
        const int remaining = remainingMilliseconds(deadline);
        ::usleep(1000 * (remaining < 0 ? kConnectRetryMilliseconds
                                       : std::min(kConnectRetryMilliseconds, remaining)));
    }
}

void Stream::abort()
{
    m_out.clear();
    closeDescriptor();
}

void Stream::closeDescriptor()
{
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(false);
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

void Stream::write(const QByteArray &bytes)
{
    if (!isConnected())
        return;
    m_out += bytes;
    writeNow();
    watchWrites();
}

void Stream::writeNow()
{
    while (isConnected() && !m_out.isEmpty()) {
        const ssize_t written = ::send(m_descriptor, m_out.constData(), size_t(m_out.size()),
                                       MSG_NOSIGNAL | MSG_DONTWAIT);
        if (written > 0) {
            m_out.remove(0, written);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return;
        } else if (errno != EINTR) {
            abort(); // the receiver has gone
        }
    }
}

void Stream::watchWrites()
{
    const bool waiting = isConnected() && !m_out.isEmpty();
    if (!m_writeNotifier) {
        // Only a thread with an event loop empties the buffer in the background.
        if (!waiting || !QAbstractEventDispatcher::instance(QThread::currentThread()))
            return;
        m_writeNotifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Write);
        QObject::connect(m_writeNotifier, &QSocketNotifier::activated, m_writeNotifier, [this] {
            writeNow();
            watchWrites();
        });
    }
    m_writeNotifier->setEnabled(waiting);
}

bool Stream::waitForBytesWritten(const QDeadlineTimer &deadline)
{
    writeNow();
    while (isConnected() && !m_out.isEmpty() && waitFor(m_descriptor, POLLOUT, deadline))
        writeNow();
    watchWrites();
    return m_out.isEmpty() && isConnected();
}

void Stream::readArrived()
{
    char chunk[kReadChunk];
    while (isConnected()) {
        const ssize_t got = ::recv(m_descriptor, chunk, sizeof(chunk), MSG_DONTWAIT);
        if (got > 0)
            m_in.append(chunk, got);
        else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            closeDescriptor(); // the end of the stream
        else if (errno != EINTR)
            return;
    }
}

QByteArray Stream::read(qint64 size)
{
    const QByteArray bytes = m_in.left(size);
    m_in.remove(0, bytes.size());
    return bytes;
}

bool Stream::waitForReadyRead(const QDeadlineTimer &deadline)
{
    const qint64 before = m_in.size();
    readArrived();
    while (m_in.size() == before && isConnected() && waitFor(m_descriptor, POLLIN, deadline))
        readArrived();
    return m_in.size() > before;
}

void Stream::watchReads(std::function<void()> arrived)
{
    if (!isConnected())
        return;
    delete m_readNotifier;
    m_readNotifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read);
    QObject::connect(m_readNotifier, &QSocketNotifier::activated, m_readNotifier,
                     [this, arrived = std::move(arrived)] {
                         readArrived();
                         arrived();
                     });
}

void Stream::stopWatchingReads()
{
    if (m_readNotifier)
        m_readNotifier->setEnabled(false);
}

int listenAt(const QString &path, QString &error)
{
    sockaddr_un address;
    if (!addressOf(path, address)) {
        error = QStringLiteral("the socket name is too long: ") + path;
        return -1;
    }
    const int descriptor = newSocket();
    if (descriptor < 0) {
        error = QStringLiteral("cannot make a socket: ") + QString::fromLocal8Bit(strerror(errno));
        return -1;
    }
    const bool bound =
        ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
    // The folder is the user's alone, so nobody can connect before the mode is set.
    if (bound && ::chmod(address.sun_path, S_IRUSR | S_IWUSR) == 0 &&
        ::listen(descriptor, SOMAXCONN) == 0)
        return descriptor;
    error = QStringLiteral("cannot listen at %1: %2")
                .arg(path, QString::fromLocal8Bit(strerror(errno)));
    if (bound)
        ::unlink(address.sun_path);
    ::close(descriptor);
    return -1;
}

std::unique_ptr<Stream> acceptFrom(int descriptor)
{
    for (;;) {
        const int accepted = ::accept4(descriptor, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (accepted >= 0)
            return std::make_unique<Stream>(accepted);
        if (errno != EINTR && errno != ECONNABORTED)
            return nullptr;
    }
}

} // namespace suite::localsocket
