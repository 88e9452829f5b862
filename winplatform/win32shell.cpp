#include "win32shell.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace winplatform {

namespace {

std::wstring systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return message.empty() ? L"error " + std::to_wstring(code) : message;
}

std::wstring systemFolder()
{
    std::vector<wchar_t> folder(MAX_PATH);
    for (;;) {
        const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0)
            return std::wstring();
        if (length < folder.size())
            return std::wstring(folder.data(), length);
        folder.resize(length + 1);
    }
}

} // namespace

bool shellOpen(std::uintptr_t owner, const std::wstring &path, std::wstring *error)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    // No SEE_MASK_FLAG_NO_UI: where nothing is associated the system's own box offers a choice;
    // the program adds nothing of its own.
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return true;
    if (error)
        *error = systemMessage(GetLastError());
    return false;
}

std::wstring openWithCommandLine(const std::wstring &path)
{
    return L"rundll32.exe shell32.dll,OpenAs_RunDLL " + path;
}

bool showOpenWith(const std::wstring &path)
{
    const std::wstring folder = systemFolder();
    if (folder.empty())
        return false;
    const std::wstring program = folder + L"\\rundll32.exe";
    std::wstring commandLine = openWithCommandLine(path);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED; // minimised, with the focus
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace winplatform
