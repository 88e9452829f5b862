// The system's print dialog: what it offers, read off the dialog's own controls, and what it
// hands back. The test run tries it without a printer, then installs "Layer Test Printer".
#include "win32printdialog.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>
#include <winspool.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

const std::wstring kTestPrinter = L"Layer Test Printer";

std::vector<HWND> dialogsOf(DWORD thread)
{
    struct Search
    {
        DWORD thread;
        std::vector<HWND> found;
    } search{thread, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM context) -> BOOL {
            auto *search = reinterpret_cast<Search *>(context);
            wchar_t className[16] = {};
            GetClassNameW(hwnd, className, 16);
            if (GetWindowThreadProcessId(hwnd, nullptr) == search->thread &&
                std::wstring(className) == L"#32770")
                search->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ControlStates
{
    bool seen = false;
    bool printToFileVisible = true;
    bool printToFileEnabled = true;
    bool selectionEnabled = true;
    bool pagesEnabled = true;
};

// Plays the monitor, from another thread, until finish(): notes the print dialog's controls once
// it is shown, types `copies` (when not 0) and presses `button`; a message box is cancelled.
class Monitor
{
public:
    explicit Monitor(int button, unsigned copies = 0)
        : m_thread([this, button, copies, dialogThread = GetCurrentThreadId()] {
              run(dialogThread, button, copies);
          })
    {
    }
    ~Monitor() { finish(); }

    const ControlStates &finish()
    {
        m_done = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_states;
    }

private:
    void run(DWORD dialogThread, int button, unsigned copies)
    {
        while (!m_done) {
            for (const HWND dialog : dialogsOf(dialogThread)) {
                const HWND printToFile = GetDlgItem(dialog, chx1);
                if (!printToFile) {
                    // A message box (its text has the id 0xFFFF), not the print dialog while
                    // its controls are being made.
                    if (GetDlgItem(dialog, 0xFFFF))
                        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    continue;
                }
                // Shown only once its initialisation, which sets the controls, has finished.
                if (!IsWindowVisible(dialog) || m_states.seen)
                    continue;
                m_states.seen = true;
                m_states.printToFileVisible = IsWindowVisible(printToFile) != FALSE;
                m_states.printToFileEnabled = IsWindowEnabled(printToFile) != FALSE;
                m_states.selectionEnabled = IsWindowEnabled(GetDlgItem(dialog, rad2)) != FALSE;
                m_states.pagesEnabled = IsWindowEnabled(GetDlgItem(dialog, rad3)) != FALSE;
                if (copies != 0)
                    SetDlgItemInt(dialog, edt3, copies, FALSE);
                PostMessageW(dialog, WM_COMMAND, button, 0);
            }
            Sleep(20);
        }
    }

    ControlStates m_states;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

bool hasDefaultPrinter()
{
    DWORD size = 0;
    return GetDefaultPrinterW(nullptr, &size) || GetLastError() != ERROR_FILE_NOT_FOUND;
}

} // namespace

TEST(PrintDialog, OffersNeitherSelectionNorPagesNorPrintingToAFile)
{
    if (!hasDefaultPrinter())
        GTEST_SKIP() << "no printer is installed";
    winplatform::PrintChoice choice;
    choice.printerName = L"unchanged";
    Monitor monitor(IDCANCEL);
    const auto result = winplatform::showPrintDialog(0, choice);
    const ControlStates states = monitor.finish();

    EXPECT_EQ(result, winplatform::PrintDialogResult::Cancelled);
    EXPECT_EQ(choice.printerName, L"unchanged");
    ASSERT_TRUE(states.seen);
    EXPECT_FALSE(states.printToFileVisible);
    EXPECT_FALSE(states.printToFileEnabled);
    EXPECT_FALSE(states.selectionEnabled);
    EXPECT_FALSE(states.pagesEnabled);
}

TEST(PrintDialog, HandsBackThePrinterAndItsSettings)
{
    if (!hasDefaultPrinter())
        GTEST_SKIP() << "no printer is installed";
    winplatform::PrintChoice choice;
    Monitor monitor(IDOK, /*copies=*/3);
    const auto result = winplatform::showPrintDialog(0, choice);
    monitor.finish();

    ASSERT_EQ(result, winplatform::PrintDialogResult::Print);
    EXPECT_EQ(choice.printerName, kTestPrinter);
    EXPECT_EQ(choice.copies, 3u);
    EXPECT_FALSE(choice.landscape);
}

TEST(PrintDialog, WithoutAPrinterNothingIsChosen)
{
    if (hasDefaultPrinter())
        GTEST_SKIP() << "a printer is installed";
    winplatform::PrintChoice choice;
    choice.printerName = L"unchanged";
    choice.copies = 7;
    Monitor monitor(IDOK);
    const auto result = winplatform::showPrintDialog(0, choice);
    monitor.finish();

    // Windows fails at once (no default printer); Wine warns, then gives up.
    EXPECT_NE(result, winplatform::PrintDialogResult::Print);
    EXPECT_EQ(choice.printerName, L"unchanged");
    EXPECT_EQ(choice.copies, 7u);
}
