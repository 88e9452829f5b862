#pragma once

#include <QObject>
#include <QRect>

class QWidget;

// Places a top-level window by its outer frame (title bar and borders included), as the suite
// stores placements. Under an X11 window manager the frame's size is known only once the window
// is mapped, so a placement made before that is made again once the frame is known; a window
// placed without its frame would otherwise come back taller and higher on every run.
class FramePlacement : public QObject
{
public:
    // Owned by the window.
    explicit FramePlacement(QWidget &window);

    // Puts the window's outer frame on `frame` (pixels).
    void place(const QRect &frame);
    // True while the outer frame still stands where it was last placed, or still has the size
    // it was given: neither the monitor nor the window manager has moved or resized it since.
    bool positionAsPlaced() const;
    bool sizeAsPlaced() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply();

    QWidget &m_window;
    QRect m_frame;
    bool m_awaitingFrame = false;
    bool m_settling = false;
    int m_placements = 0;
    int m_corrections = 0;
};
