#include "isprocessrunning.h"

#include "processlist.h"

namespace suite {

bool IsProcessRunning(const ProcessList &processes, const QString &name)
{
    const QString wanted = name.toUpper();
    return processes.anyExecutableName(
        [&wanted](const QString &executable) { return executable.toUpper().contains(wanted); });
}

} // namespace suite
