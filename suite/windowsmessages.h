#pragma once

#include "messageendpoint.h"
#include "win32messages.h"
#include "windowmessages.h"

#include <chrono>

namespace suite {

// The suite's messages on Windows: the Qt side of the Windows layer's win32messages.h. Titles go to the window
// system in the ANSI code page, as the suite's programs give them.
class WindowsMessages : public WindowMessages
{
public:
    explicit WindowsMessages(std::chrono::milliseconds sendBound = kDefaultSendBound);

    WindowHandle findWindow(const QString &title) override;
    bool post(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override;
    bool send(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override;
    void restoreAndRaise(WindowHandle w) override;

private:
    std::chrono::milliseconds m_sendBound;
};

// Receives messages 1074 to 1077 in the window procedure of our main window, then passes every
// message on to the procedure that was there before.
class WindowsMessageEndpoint : public MessageEndpoint
{
public:
    // `nativeWindow` is the main window's winId(); with 0, open() takes the window of this thread
    // whose title is exactly the one given, so the title must be set first.
    explicit WindowsMessageEndpoint(WindowHandle nativeWindow = 0);

    void setNativeWindow(WindowHandle nativeWindow) { m_nativeWindow = nativeWindow; }

    bool open(const QString &title, Handler handler) override;
    void close() override;
    bool isOpen() const override;

private:
    WindowHandle m_nativeWindow;
    winplatform::WindowProcedureHook m_hook;
};

} // namespace suite
