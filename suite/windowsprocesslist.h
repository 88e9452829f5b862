#pragma once

#include "processlist.h"

namespace suite {

// The Toolhelp snapshot of the processes, through the Windows layer; szExeFile already holds the
// bare file name.
class WindowsProcessList : public ProcessList
{
public:
    QStringList executableNames() const override;
    bool anyExecutableName(const std::function<bool(const QString &)> &matches) const override;
};

} // namespace suite
