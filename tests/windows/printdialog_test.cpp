// The system's print dialog where no printer is installed (as in the test prefix).
#include "win32printdialog.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct DialogSearch
{
    DWORD thread;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialogs(HWND hwnd, LPARAM context)
{
    auto *search = reinterpret_cast<DialogSearch *>(context);
    wchar_t className[16] = {};
    GetClassNameW(hwnd, className, 16);
    if (GetWindowThreadProcessId(hwnd, nullptr) == search->thread &&
        std::wstring(className) == L"#32770")
        search->found.push_back(hwnd);
    return TRUE;
}

// Answers, from another thread, every box `thread` shows until `done`: nobody is there to see
// them (Wine warns that no printer is installed even when asked not to).
void dismissDialogs(DWORD thread, const std::atomic<bool> &done)
{
    while (!done) {
        DialogSearch search{thread, {}};
        EnumWindows(&collectDialogs, reinterpret_cast<LPARAM>(&search));
        for (const HWND dialog : search.found)
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Sleep(20);
    }
}

} // namespace

TEST(PrintDialog, WithoutAPrinterNothingIsChosen)
{
    DWORD size = 0;
    if (GetDefaultPrinterW(nullptr, &size) || GetLastError() != ERROR_FILE_NOT_FOUND)
        GTEST_SKIP() << "this system has a default printer";

    std::atomic<bool> done{false};
    std::thread dismisser([&done, thread = GetCurrentThreadId()] { dismissDialogs(thread, done); });
    winplatform::PrintChoice choice;
    choice.printerName = L"unchanged";
    choice.copies = 7;
    const auto result = winplatform::showPrintDialog(0, choice);
    done = true;
    dismisser.join();

    // Windows fails at once (no default printer); Wine shows its warning, then gives up.
    EXPECT_NE(result, winplatform::PrintDialogResult::Print);
    EXPECT_EQ(choice.printerName, L"unchanged");
    EXPECT_EQ(choice.copies, 7u);
}
