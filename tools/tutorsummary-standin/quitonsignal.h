#pragma once

#include <QSocketNotifier>

#include <memory>

// Ends the event loop on SIGTERM or SIGINT, so that the endpoint closes and leaves no socket
// file behind. The signal handler only writes to a pipe that the event loop watches. One
// instance at a time.
class QuitOnSignal
{
public:
    QuitOnSignal();
    ~QuitOnSignal();

    QuitOnSignal(const QuitOnSignal &) = delete;
    QuitOnSignal &operator=(const QuitOnSignal &) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
