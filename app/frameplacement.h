#pragma once

#include "windowframe.h"

#include <QObject>
#include <QRect>

#include <memory>

class QWidget;

// Places a top-level window by its outer frame (title bar and borders included), as the suite
// stores placements. Under an X11 window manager the frame's size is known only once the window
// is mapped, so a placement made before that is made again once the frame is known; a window
// placed without its frame would otherwise come back taller and higher on every run. The frame
// is the window manager's own account of it, and the window is placed by its inside, which no
// window manager reinterprets.
class FramePlacement : public QObject
{
public:
    // Owned by the window.
    explicit FramePlacement(QWidget &window,
                            std::unique_ptr<WindowFrame> frame = WindowFrame::system());

    // Where the outer frame stands now, as the monitor sees it (pixels).
    QRect frameGeometry() const;
    // Puts the window's outer frame on `frame` (pixels).
    void place(const QRect &frame);
    // True while the outer frame still stands where it was last placed, or still has the size
    // it was given: neither the monitor nor the window manager has moved or resized it since.
    bool positionAsPlaced() const;
    bool sizeAsPlaced() const;
    // How often the window was put back since it was last placed: a frame not known before the
    // window was shown, or a window manager that put it elsewhere.
    int corrections() const { return m_corrections; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();
    QMargins margins() const;

    QWidget &m_window;
    std::unique_ptr<WindowFrame> m_frameSource;
    QRect m_frame;
    bool m_awaitingFrame = false;
    bool m_settling = false;
    bool m_asked = false;
    int m_placements = 0;
    int m_corrections = 0;
};
