#include "isprocessrunning.h"

#include "processlist.h"

namespace suite {

bool IsProcessRunning(const ProcessList &processes, const QString &name)
{
    const QString wanted = name.toUpper();
    const QStringList names = processes.executableNames();
    for (const QString &executable : names) {
        if (executable.toUpper().contains(wanted))
            return true;
    }
    return false;
}

} // namespace suite
