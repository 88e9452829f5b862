#pragma once

#include <QMargins>

#include <memory>

class QWindow;

// The frame (title bar and borders) a window manager draws around a top-level window, as the
// monitor sees it.
class WindowFrame
{
public:
    virtual ~WindowFrame() = default;

    // The frame's margins around the window; none where there is no frame or it is not known
    // yet (as before the window is first shown).
    virtual QMargins margins(const QWindow &window) const = 0;

    // Before a window is first shown: asks the window manager for the frame it will give it, so
    // that the window is placed in its frame from the start rather than moved and drawn again
    // once framed. margins() tells the answer, if one came; nothing where no one can say.
    virtual void askBeforeShowing(const QWindow &window) { Q_UNUSED(window); }

    // On X11 the window manager's own account of the frame: Qt's can stay at none when it looked
    // before the frame was built. Elsewhere Qt's.
    static std::unique_ptr<WindowFrame> system();
};
