#pragma once

// The suite's private window messages on the Windows API: finding a window by its title, posting
// and sending, and hooking our main window's procedure. Titles are in the ANSI code page, as the
// suite's programs give them.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace winplatform {

// An HWND; 0 is no window.
using NativeWindow = std::uintptr_t;

// The top-level window of any class whose title is exactly `title`, or 0.
NativeWindow findWindow(const char *title);
// The top-level window of the calling thread whose title is exactly `title`, or 0: our own
// window, never another program's that happens to have the same title.
NativeWindow findThreadWindow(const char *title);
// The top-level window of the process `processId` whose title is exactly `title`, or 0.
NativeWindow findProcessWindow(std::int64_t processId, const char *title);

// Queues the message and returns at once; false for 0 or a window that is gone.
bool postMessage(NativeWindow w, unsigned message, std::int64_t wParam, std::int64_t lParam);
// Returns true once the window procedure has returned; false for 0, a window that is gone, or
// after `timeoutMilliseconds`. The calling thread handles no other sent message meanwhile.
bool sendMessage(NativeWindow w, unsigned message, std::int64_t wParam, std::int64_t lParam,
                 unsigned timeoutMilliseconds);
// Shows the window in its normal size and position and asks for it to be the foreground window
// (Windows may only flash it when our program is not in the foreground).
void restoreAndRaise(NativeWindow w);

// Subclasses one window of the calling thread: messages first..last go to the handler, then
// every message, those included, goes on to the previous window procedure. A message that
// arrives while the handler runs (in a nested message loop) is handled after it returns, so the
// handler is never entered twice; a sender of such a message is released before it is handled.
// The handler may remove or destroy the hook.
class WindowProcedureHook
{
public:
    using Handler = std::function<void(unsigned message, std::int64_t wParam, std::int64_t lParam)>;

    WindowProcedureHook(unsigned firstMessage, unsigned lastMessage);
    ~WindowProcedureHook();
    WindowProcedureHook(const WindowProcedureHook &) = delete;
    WindowProcedureHook &operator=(const WindowProcedureHook &) = delete;

    // False when `w` is 0, not a window of this thread, or hooked already.
    bool install(NativeWindow w, Handler handler);
    // Puts the previous procedure back. When another procedure was installed over ours since,
    // ours stays in the chain, passing everything on, so that the later one is not cut off.
    void remove();
    bool isInstalled() const { return m_window != 0; }

    // Called by the installed procedure only.
    void receive(unsigned message, std::int64_t wParam, std::int64_t lParam);
    void windowDestroyed() { remove(); }

private:
    struct Queued
    {
        unsigned message;
        std::int64_t wParam;
        std::int64_t lParam;
    };

    unsigned m_first;
    unsigned m_last;
    NativeWindow m_window = 0;
    Handler m_handler;
    std::deque<Queued> m_queued;
    bool m_dispatching = false;
    // Expires with the hook, so that a dispatch loop sees that its handler destroyed it.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
};

} // namespace winplatform
