#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QDeadlineTimer;
class QSocketNotifier;

namespace suite::localsocket {

// One end of a connected Unix-domain stream socket, non-blocking, on Qt Core alone (Qt Network
// would load its TLS and Kerberos libraries into every form for two local sockets).
//
// A write goes out at once as far as the system takes it; the rest waits in a buffer that the
// event loop of the creating thread, waitForBytesWritten() or the next write empties. Reads
// collect what has arrived in a buffer of its own. At the end of the stream or on an error the
// socket closes; bytes already read stay readable.
class Stream
{
public:
    explicit Stream(int descriptor); // takes it over
    ~Stream();
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    // Connected to the socket file `path` within the deadline, or null: nobody listens there.
    static std::unique_ptr<Stream> connectTo(const QString &path, const QDeadlineTimer &deadline);

    bool isConnected() const { return m_descriptor >= 0; }
    int descriptor() const { return m_descriptor; }
    // Closes at once; what was not written yet is dropped.
    void abort();

    void write(const QByteArray &bytes);
    qint64 bytesToWrite() const { return m_out.size(); }
    // True once everything is written.
    bool waitForBytesWritten(const QDeadlineTimer &deadline);

    // Takes in what has arrived, without waiting.
    void readArrived();
    qint64 bytesAvailable() const { return m_in.size(); }
    QByteArray read(qint64 size);
    // True when more bytes arrived before the deadline; false at once when the stream ended.
    bool waitForReadyRead(const QDeadlineTimer &deadline);
    // From now on `arrived` is called from the event loop whenever bytes or the end arrive.
    void watchReads(std::function<void()> arrived);
    void stopWatchingReads();

private:
    void writeNow();
    void watchWrites();
    // Closes the descriptor; the notifiers stay until the destructor, as one of them may be
    // what called us.
    void closeDescriptor();

    int m_descriptor;
    QByteArray m_in;
    QByteArray m_out;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
};

// A listening socket at `path` that only this user may connect to: its descriptor, or -1 with
// the reason in `error`. A file left at `path` must be removed first.
int listenAt(const QString &path, QString &error);
// The next waiting connection on the listening `descriptor`, or null when none waits.
std::unique_ptr<Stream> acceptFrom(int descriptor);

} // namespace suite::localsocket
