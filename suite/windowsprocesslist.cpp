#include "windowsprocesslist.h"

#include "win32processes.h"

namespace suite {

QStringList WindowsProcessList::executableNames() const
{
    QStringList names;
    winplatform::anyProcessName([&names](const std::wstring &name) {
        names.append(QString::fromStdWString(name));
        return false;
    });
    return names;
}

bool WindowsProcessList::anyExecutableName(
    const std::function<bool(const QString &)> &matches) const
{
    return winplatform::anyProcessName(
        [&matches](const std::wstring &name) { return matches(QString::fromStdWString(name)); });
}

} // namespace suite
