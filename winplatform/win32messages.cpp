#include "win32messages.h"

#include <windows.h>

#include <string>

namespace winplatform {

namespace {

// Window properties: the hook object, and the procedure ours passes messages on to. The second
// stays as long as our procedure is in the chain, even after the hook object has gone.
constexpr const char *kHookProperty = "NorvaleQuilletMessageHook";
constexpr const char *kPreviousProperty = "NorvaleQuilletPreviousProc";

HWND toHwnd(NativeWindow w)
{
    return reinterpret_cast<HWND>(w);
}

// A Qt window is a Unicode window: the W calls keep it one. Subclassing it with the A variants
// would make every text message (WM_CHAR, WM_SETTEXT, ...) pass through the ANSI code page.
LRESULT CALLBACK hookedProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous =
        reinterpret_cast<WNDPROC>(reinterpret_cast<LONG_PTR>(GetPropA(hwnd, kPreviousProperty)));
    auto *hook = static_cast<WindowProcedureHook *>(GetPropA(hwnd, kHookProperty));
    if (message == WM_NCDESTROY) {
        if (hook)
            hook->windowDestroyed();
        // A procedure installed over ours holds our address: it must keep working.
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&hookedProcedure))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(hwnd, kPreviousProperty);
    } else if (hook) {
        hook->receive(message, static_cast<std::int64_t>(wParam),
                      static_cast<std::int64_t>(lParam));
    }
    // Always, after the handler: the previous procedure sees every message, ours included.
    if (!previous)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

struct TitleSearch
{
    const char *title;
    HWND found;
    DWORD process; // 0: any
};

BOOL CALLBACK matchTitle(HWND hwnd, LPARAM context)
{
    auto *search = reinterpret_cast<TitleSearch *>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (search->process != 0 && process != search->process)
        return TRUE;
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    if (text == search->title) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

NativeWindow findWindow(const char *title)
{
    return reinterpret_cast<NativeWindow>(FindWindowA(nullptr, title));
}

NativeWindow findThreadWindow(const char *title)
{
    TitleSearch search{title, nullptr, 0};
    EnumThreadWindows(GetCurrentThreadId(), &matchTitle, reinterpret_cast<LPARAM>(&search));
    return reinterpret_cast<NativeWindow>(search.found);
}

NativeWindow findProcessWindow(std::int64_t processId, const char *title)
{
    if (processId <= 0)
        return 0;
    TitleSearch search{title, nullptr, static_cast<DWORD>(processId)};
    EnumWindows(&matchTitle, reinterpret_cast<LPARAM>(&search));
    return reinterpret_cast<NativeWindow>(search.found);
}

bool postMessage(NativeWindow w, unsigned message, std::int64_t wParam, std::int64_t lParam)
{
    if (w == 0)
        return false;
    return PostMessageA(toHwnd(w), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != 0;
}

bool sendMessage(NativeWindow w, unsigned message, std::int64_t wParam, std::int64_t lParam,
                 unsigned timeoutMilliseconds)
{
    if (w == 0)
        return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(toHwnd(w), message, static_cast<WPARAM>(wParam),
                               static_cast<LPARAM>(lParam), SMTO_BLOCK, timeoutMilliseconds,
                               &result) != 0;
}

void restoreAndRaise(NativeWindow w)
{
    if (w == 0)
        return;
    ShowWindow(toHwnd(w), SW_RESTORE);
    SetForegroundWindow(toHwnd(w));
}

WindowProcedureHook::WindowProcedureHook(unsigned firstMessage, unsigned lastMessage)
    : m_first(firstMessage), m_last(lastMessage)
{
}

WindowProcedureHook::~WindowProcedureHook()
{
    remove();
}

bool WindowProcedureHook::install(NativeWindow w, Handler handler)
{
    remove();
    const HWND hwnd = toHwnd(w);
    if (w == 0 || !IsWindow(hwnd) ||
        GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId() ||
        GetPropA(hwnd, kHookProperty) != nullptr)
        return false;
    m_handler = std::move(handler);
    m_window = w;
    SetPropA(hwnd, kHookProperty, static_cast<HANDLE>(this));
    // Ours may still be in the chain from an earlier hook that could not be taken out.
    if (GetPropA(hwnd, kPreviousProperty) == nullptr) {
        const LONG_PTR previous =
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hookedProcedure));
        if (previous == 0) {
            RemovePropA(hwnd, kHookProperty);
            m_window = 0;
            m_handler = nullptr;
            return false;
        }
        SetPropA(hwnd, kPreviousProperty, reinterpret_cast<HANDLE>(previous));
    }
    return true;
}

void WindowProcedureHook::remove()
{
    if (m_window == 0)
        return;
    const HWND hwnd = toHwnd(m_window);
    m_window = 0;
    m_handler = nullptr;
    m_queued.clear();
    RemovePropA(hwnd, kHookProperty);
    if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&hookedProcedure)) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(GetPropA(hwnd, kPreviousProperty)));
        RemovePropA(hwnd, kPreviousProperty);
    }
}

void WindowProcedureHook::receive(unsigned message, std::int64_t wParam, std::int64_t lParam)
{
    if (message < m_first || message > m_last || !m_handler)
        return;
    m_queued.push_back({message, wParam, lParam});
    if (m_dispatching)
        return;
    m_dispatching = true;
    const std::weak_ptr<char> alive = m_alive;
    while (!m_queued.empty()) {
        const Queued next = m_queued.front();
        m_queued.pop_front();
        const Handler handler = m_handler; // the handler may remove the hook
        if (handler)
            handler(next.message, next.wParam, next.lParam);
        if (alive.expired())
            return;
    }
    m_dispatching = false;
}

} // namespace winplatform
