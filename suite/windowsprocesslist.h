#pragma once

#include "processlist.h"

namespace suite {

// Walks a Toolhelp snapshot of the processes; szExeFile already holds the bare file name.
class WindowsProcessList : public ProcessList
{
public:
    QStringList executableNames() const override;
};

} // namespace suite
