// TutorSummaryStandin.exe: the Windows stand-in for the suite's Tutor Summary window, for demos
// and tests under Wine; not part of the product.
//
//   TutorSummaryStandin --log FILE        shows a window with the Tutor Summary's exact title and
//                                         appends "received MESSAGE WPARAM zero|pointer" to FILE
//                                         for each message 1074 to 1078, until it is closed
//   TutorSummaryStandin --send N WPARAM   sends message N (1074 to 1077) to the form's window and
//   TutorSummaryStandin --post N WPARAM   returns when it was handled, or posts it
//
// Exit status: 0 done, 1 no form window or not delivered, 2 a wrong command line.
#include "standinsupport.h"

namespace {

constexpr int kExitNotDone = 1;
constexpr int kExitUsage = 2;
constexpr UINT kFirstMessage = 1074;
constexpr UINT kLastMessage = 1078;
// A save asked of the form takes a second at most; a hung form must not hang the caller.
constexpr UINT kSendTimeoutMilliseconds = 30000;

std::wstring g_log;

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= kFirstMessage && message <= kLastMessage) {
        const std::string line = "received " + std::to_string(message) + ' ' +
                                 std::to_string(wParam) + (lParam == 0 ? " zero" : " pointer");
        standin::append(g_log, line + '\n');
        SetWindowTextW(GetDlgItem(hwnd, 1), std::wstring(line.begin(), line.end()).c_str());
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int showWindow(const std::wstring &log)
{
    g_log = log;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"TutorSummaryStandin";
    if (!RegisterClassW(&windowClass))
        return kExitNotDone;
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, standin::kTutorSummaryTitle,
                                        WS_OVERLAPPEDWINDOW, 0, 0, 420, 120, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    if (!window)
        return kExitNotDone;
    // The last message received, for a person watching.
    CreateWindowExW(0, L"STATIC", L"No message yet", WS_CHILD | WS_VISIBLE, 10, 10, 380, 20, window,
                    reinterpret_cast<HMENU>(1), windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    standin::append(g_log, "");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int deliver(bool send, UINT message, WPARAM wParam)
{
    const HWND form = FindWindowW(nullptr, standin::kMonitorFormTitle);
    if (!form) {
        standin::report("TutorSummaryStandin: no window titled \"" +
                        standin::utf8(standin::kMonitorFormTitle) + "\"");
        return kExitNotDone;
    }
    DWORD_PTR result = 0;
    const bool done = send ? SendMessageTimeoutW(form, message, wParam, 0, SMTO_BLOCK,
                                                 kSendTimeoutMilliseconds, &result) != 0
                           : PostMessageW(form, message, wParam, 0) != FALSE;
    if (!done)
        standin::report("TutorSummaryStandin: " + std::to_string(message) +
                        (send ? " was not handled" : " was not posted"));
    return done ? 0 : kExitNotDone;
}

} // namespace

int main()
{
    const std::vector<std::wstring> args = standin::arguments();
    if (args.size() == 2 && args[0] == L"--log")
        return showWindow(args[1]);
    if (args.size() == 3 && (args[0] == L"--send" || args[0] == L"--post")) {
        const unsigned long message = wcstoul(args[1].c_str(), nullptr, 10);
        if (message < kFirstMessage || message > kLastMessage - 1)
            return kExitUsage;
        return deliver(args[0] == L"--send", static_cast<UINT>(message),
                       static_cast<WPARAM>(wcstoull(args[2].c_str(), nullptr, 10)));
    }
    standin::report("usage: TutorSummaryStandin --log FILE | --send N WPARAM | --post N WPARAM");
    return kExitUsage;
}
