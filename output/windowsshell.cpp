// The Windows shell: ShellExecute for opening, the system's open-with entry for choosing.
#include "shell.h"

#include <QDir>
#include <QWidget>

#include <string>

#include <windows.h>
#include <shellapi.h>

namespace {

HWND ownerWindow(QWidget *owner)
{
    return owner ? reinterpret_cast<HWND>(owner->window()->winId()) : nullptr;
}

class WindowsShell : public Shell
{
public:
    void openFile(const QString &path, QWidget *owner) override
    {
        const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
        // Values of 32 or less are failures; the desktop has said what went wrong, if anything.
        ShellExecuteW(ownerWindow(owner), L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }

    void openWith(const QString &path, QWidget *) override
    {
        // OpenAs_RunDLL takes the rest of the command line as the path, so it is not quoted.
        std::wstring commandLine = (QStringLiteral("rundll32.exe shell32.dll,OpenAs_RunDLL ") +
                                    QDir::toNativeSeparators(path))
                                       .toStdWString();
        // The program is named by its full path so that no rundll32.exe beside ours is started.
        wchar_t system[MAX_PATH];
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return;
        const std::wstring program = std::wstring(system, length) + L"\\rundll32.exe";

        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINIMIZED; // minimised, with the focus
        PROCESS_INFORMATION process = {};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
};

} // namespace

std::unique_ptr<Shell> createPlatformShell()
{
    return std::make_unique<WindowsShell>();
}
