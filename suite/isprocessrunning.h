#pragma once

#include <QString>

namespace suite {

class ProcessList;

// True when the executable name of some running process contains `name`, ignoring case; false
// when none does or when no list can be taken.
bool IsProcessRunning(const ProcessList &processes, const QString &name);

} // namespace suite
