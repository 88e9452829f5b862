#include "windowsmessages.h"

#include "suitewindows.h"

#include <algorithm>

namespace suite {

WindowsMessages::WindowsMessages(std::chrono::milliseconds sendBound) : m_sendBound(sendBound) {}

WindowHandle WindowsMessages::findWindow(const QString &title)
{
    return winplatform::findWindow(title.toLocal8Bit().constData());
}

bool WindowsMessages::post(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam)
{
    return winplatform::postMessage(w, message, wParam, lParam);
}

bool WindowsMessages::send(WindowHandle w, quint32 message, qint64 wParam, qint64 lParam)
{
    const auto bound = std::clamp<qint64>(m_sendBound.count(), 0, 0xFFFFFFFF);
    return winplatform::sendMessage(w, message, wParam, lParam, static_cast<unsigned>(bound));
}

void WindowsMessages::restoreAndRaise(WindowHandle w)
{
    winplatform::restoreAndRaise(w);
}

WindowsMessageEndpoint::WindowsMessageEndpoint(WindowHandle nativeWindow)
    : m_nativeWindow(nativeWindow), m_hook(message::kSave, message::kChangesCleared)
{
}

bool WindowsMessageEndpoint::open(const QString &title, Handler handler)
{
    const WindowHandle window = m_nativeWindow != 0
                                    ? m_nativeWindow
                                    : winplatform::findThreadWindow(title.toLocal8Bit().constData());
    return m_hook.install(window, std::move(handler));
}

void WindowsMessageEndpoint::close()
{
    m_hook.remove();
}

bool WindowsMessageEndpoint::isOpen() const
{
    return m_hook.isInstalled();
}

} // namespace suite
