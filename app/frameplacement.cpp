#include "frameplacement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

FramePlacement::FramePlacement(QWidget &window) : QObject(&window), m_window(window) {}

void FramePlacement::place(const QRect &frame)
{
    m_frame = frame;
    // Changing some window flags gives the widget a new native window.
    if (QWindow *handle = m_window.windowHandle())
        handle->installEventFilter(this);
    m_awaitingFrame = true;
    apply();
}

bool FramePlacement::stillAsPlaced() const
{
    return !m_frame.isNull() && m_window.frameGeometry() == m_frame;
}

void FramePlacement::apply()
{
    const QWindow *handle = m_window.windowHandle();
    m_appliedMargins = handle ? handle->frameMargins() : QMargins();
    m_window.move(m_frame.topLeft());
    m_window.resize(
        qMax(1, m_frame.width() - m_appliedMargins.left() - m_appliedMargins.right()),
        qMax(1, m_frame.height() - m_appliedMargins.top() - m_appliedMargins.bottom()));
}

bool FramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    // The first expose after a placement comes after the window manager has framed the window.
    // Later frame changes are the window manager's or the monitor's business.
    if (m_awaitingFrame && event->type() == QEvent::Expose && watched == m_window.windowHandle()) {
        m_awaitingFrame = false;
        if (m_window.windowHandle()->frameMargins() != m_appliedMargins)
            apply();
    }
    return QObject::eventFilter(watched, event);
}
