#pragma once

// The running processes, as the suite's programs look for one another: a walk over a Toolhelp
// snapshot of the processes' executable file names.

#include <functional>
#include <string>

namespace winplatform {

// Calls `matches` with the executable file name (no folder) of each running process until it
// returns true. False when none matched or no snapshot could be taken. The snapshot is released
// on every way out, an exception from `matches` included.
bool anyProcessName(const std::function<bool(const std::wstring &)> &matches);

// True when some running process's executable name contains `partOfName`, compared without
// regard to case ("zuruzov" finds ZuruzovIrurEdar.exe).
bool IsProcessRunning(const std::wstring &partOfName);

} // namespace winplatform
