#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

// Places a top-level window by its outer frame (title bar and borders included), as the suite
// stores placements. Under an X11 window manager the frame's size is known only once the window
// is mapped, so a placement made before that is made again at the next expose, once the frame
// is known; a window placed without a frame would otherwise come back taller and higher on
// every run.
class FramePlacement : public QObject
{
public:
    // Owned by the window.
    explicit FramePlacement(QWidget &window);

    // Puts the window's outer frame on `frame` (pixels).
    void place(const QRect &frame);
    // True while the window's outer frame still stands where it was last placed: neither the
    // monitor nor the window manager has moved or resized it since.
    bool stillAsPlaced() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget &m_window;
    QRect m_frame;
    QMargins m_appliedMargins;
    bool m_awaitingFrame = false;
};
