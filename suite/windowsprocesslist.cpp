#include "windowsprocesslist.h"

#include <windows.h>
#include <tlhelp32.h>

namespace suite {

namespace {

// Closes the snapshot on every way out, an exception from the list included.
class SnapshotHandle
{
public:
    explicit SnapshotHandle(HANDLE handle) : m_handle(handle) {}
    ~SnapshotHandle()
    {
        if (isValid())
            CloseHandle(m_handle);
    }
    SnapshotHandle(const SnapshotHandle &) = delete;
    SnapshotHandle &operator=(const SnapshotHandle &) = delete;

    bool isValid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

QStringList WindowsProcessList::executableNames() const
{
    QStringList names;
    const SnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.isValid())
        return names;

    PROCESSENTRY32W entry = {};
    // Process32FirstW fails unless the size is set.
    entry.dwSize = static_cast<DWORD>(sizeof(entry));
    for (BOOL found = Process32FirstW(snapshot.get(), &entry); found;
         found = Process32NextW(snapshot.get(), &entry)) {
        names.append(QString::fromWCharArray(entry.szExeFile));
    }
    return names;
}

} // namespace suite
