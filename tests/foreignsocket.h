#pragma once

#include <QByteArray>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// A process of another user (nobody) listening at `path` until killed, as someone else could
// plant it; -1 when it could not start. Needs root, who makes the file, so that nobody need not
// reach the folder; the listener's credentials are taken at listen(): nobody's.
inline pid_t listenAsAnotherUser(const QByteArray &path)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(),
                    std::min(size_t(path.size()), sizeof(address.sun_path) - 1));
        if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
            ::chown(path.constData(), 65534, 65534) != 0 || ::setgid(65534) != 0 ||
            ::setuid(65534) != 0 || ::listen(fd, 8) != 0)
            ::_exit(2);
        if (::write(ready[1], "r", 1) != 1)
            ::_exit(3);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = child > 0 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return started ? child : -1;
}
