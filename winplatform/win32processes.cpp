#include "win32processes.h"

#include <windows.h>
#include <tlhelp32.h>

namespace winplatform {

namespace {

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

std::wstring upperCase(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

bool anyProcessName(const std::function<bool(const std::wstring &)> &matches)
{
    const SnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.isValid())
        return false;

    PROCESSENTRY32W entry = {};
    // Process32FirstW fails unless the size is set.
    entry.dwSize = static_cast<DWORD>(sizeof(entry));
    for (BOOL found = Process32FirstW(snapshot.get(), &entry); found;
         found = Process32NextW(snapshot.get(), &entry)) {
        if (matches(std::wstring(entry.szExeFile)))
            return true;
    }
    return false;
}

bool IsProcessRunning(const std::wstring &partOfName)
{
    const std::wstring wanted = upperCase(partOfName);
    return anyProcessName([&wanted](const std::wstring &executable) {
        return upperCase(executable).find(wanted) != std::wstring::npos;
    });
}

} // namespace winplatform
