#pragma once

#include <QStringList>

#include <functional>
#include <memory>

namespace suite {

// The running processes, as the suite's programs look for one another.
class ProcessList
{
public:
    virtual ~ProcessList() = default;

    // The executable file name (no folder) of every running process, in the system's order;
    // empty when no list can be taken. Never throws.
    virtual QStringList executableNames() const = 0;

    // True at the first executable name for which `matches` is true, without naming the
    // processes after it; the order in which they are tried is the list's own.
    virtual bool anyExecutableName(const std::function<bool(const QString &)> &matches) const;
};

// The list this platform offers: the process snapshot on Windows, /proc elsewhere. The caller
// owns it.
std::unique_ptr<ProcessList> createSystemProcessList();

} // namespace suite
