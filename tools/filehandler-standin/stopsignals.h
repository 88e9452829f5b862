#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

// Turns SIGTERM and SIGINT into a call from the event loop, where Qt may be used: the signal
// handler itself only writes the signal's number to a socket. One instance at a time.
class StopSignals
{
public:
    explicit StopSignals(std::function<void(int signal)> onSignal);
    ~StopSignals();

    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

private:
    std::function<void(int)> m_onSignal;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
