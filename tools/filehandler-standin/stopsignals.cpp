#include "stopsignals.h"

#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {

int s_sockets[2] = {-1, -1};
constexpr int kStopSignals[] = {SIGTERM, SIGINT};

extern "C" void writeSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    const ssize_t written = ::write(s_sockets[0], &byte, 1);
    static_cast<void>(written); // nothing can be done about a full socket inside a handler
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(std::function<void(int signal)> onSignal) : m_onSignal(std::move(onSignal))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_sockets) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(s_sockets[1], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        char byte = 0;
        if (::read(s_sockets[1], &byte, 1) == 1)
            m_onSignal(byte);
    });

    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals()
{
    for (const int signal : kStopSignals)
        std::signal(signal, SIG_DFL);
    m_notifier.reset();
    for (int &socket : s_sockets) {
        if (socket >= 0)
            ::close(socket);
        socket = -1;
    }
}
