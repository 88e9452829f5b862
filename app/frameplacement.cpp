#include "frameplacement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

// A window manager that will not put the frame where asked is not asked forever.
constexpr int kMaxCorrections = 3;

} // namespace

FramePlacement::FramePlacement(QWidget &window) : QObject(&window), m_window(window) {}

void FramePlacement::place(const QRect &frame)
{
    m_frame = frame;
    // Changing some window flags gives the widget a new native window.
    if (QWindow *handle = m_window.windowHandle())
        handle->installEventFilter(this);
    m_awaitingFrame = true;
    m_corrections = 0;
    apply();
}

bool FramePlacement::positionAsPlaced() const
{
    return !m_frame.isNull() && m_window.frameGeometry().topLeft() == m_frame.topLeft();
}

bool FramePlacement::sizeAsPlaced() const
{
    return !m_frame.isNull() && m_window.frameGeometry().size() == m_frame.size();
}

void FramePlacement::apply()
{
    const QWindow *handle = m_window.windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    m_window.move(m_frame.topLeft());
    m_window.resize(qMax(1, m_frame.width() - margins.left() - margins.right()),
                    qMax(1, m_frame.height() - margins.top() - margins.bottom()));
}

bool FramePlacement::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!m_awaitingFrame || watched != m_window.windowHandle() ||
        (type != QEvent::Expose && type != QEvent::Move && type != QEvent::Resize))
        return QObject::eventFilter(watched, event);
    // No frame yet, or no window manager to draw one. The window manager's answers to earlier
    // requests may still arrive once the frame is known: place again until the frame stands.
    if (!m_window.windowHandle()->frameMargins().isNull()) {
        if (m_window.frameGeometry() == m_frame || ++m_corrections > kMaxCorrections)
            m_awaitingFrame = false;
        else
            apply();
    }
    return QObject::eventFilter(watched, event);
}
