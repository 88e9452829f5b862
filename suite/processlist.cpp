#include "processlist.h"

#ifdef Q_OS_WIN
#include "windowsprocesslist.h"
#else
#include "linuxprocesslist.h"
#endif

namespace suite {

std::unique_ptr<ProcessList> createSystemProcessList()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsProcessList>();
#else
    return std::make_unique<LinuxProcessList>();
#endif
}

} // namespace suite
