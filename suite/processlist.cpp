#include "processlist.h"

#ifdef MONITOR_WINDOWS_LAYER
#include "windowsprocesslist.h"
#else
#include "linuxprocesslist.h"
#endif

#include <algorithm>

namespace suite {

bool ProcessList::anyExecutableName(const std::function<bool(const QString &)> &matches) const
{
    const QStringList names = executableNames();
    return std::any_of(names.begin(), names.end(), matches);
}

std::unique_ptr<ProcessList> createSystemProcessList()
{
#ifdef MONITOR_WINDOWS_LAYER
    return std::make_unique<WindowsProcessList>();
#else
    return std::make_unique<LinuxProcessList>();
#endif
}

} // namespace suite
