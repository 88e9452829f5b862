#include "windowframe.h"

#include <QGuiApplication>
#include <QWindow>

namespace {

class QtWindowFrame : public WindowFrame
{
public:
    QMargins margins(const QWindow &window) const override
    {
        // While a window manager builds the frame its size can make them negative.
        const QMargins m = window.frameMargins();
        const bool sane = m.left() >= 0 && m.top() >= 0 && m.right() >= 0 && m.bottom() >= 0;
        return sane ? m : QMargins();
    }
};

} // namespace

#ifdef MONITOR_WITH_XCB
std::unique_ptr<WindowFrame> createX11WindowFrame();
#endif

std::unique_ptr<WindowFrame> WindowFrame::system()
{
#ifdef MONITOR_WITH_XCB
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        if (auto frame = createX11WindowFrame())
            return frame;
#endif
    return std::make_unique<QtWindowFrame>();
}
