#include "frameplacement.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// A window manager that will not put the frame where asked is not asked forever.
constexpr int kMaxCorrections = 5;
// Long enough for a window manager to answer, too short for a person to move the new window.
constexpr int kSettleMilliseconds = 1000;

// The frame's margins as far as they are known: none without a frame, and none while the window
// manager is still building the frame, when its size can make them negative.
QMargins knownMargins(const QWidget &window)
{
    const QWindow *handle = window.windowHandle();
    const QMargins margins = handle ? handle->frameMargins() : QMargins();
    const bool sane =
        margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 && margins.bottom() >= 0;
    return sane ? margins : QMargins();
}

} // namespace

FramePlacement::FramePlacement(QWidget &window) : QObject(&window), m_window(window) {}

void FramePlacement::place(const QRect &frame)
{
    m_frame = frame;
    // Changing some window flags gives the widget a new native window.
    if (QWindow *handle = m_window.windowHandle())
        handle->installEventFilter(this);
    m_awaitingFrame = true;
    m_settling = false;
    ++m_placements;
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
    const QMargins margins = knownMargins(m_window);
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
    // The frame is known once the window is shown in it. The window manager's answers to the
    // requests made before may still arrive for a moment: until then, place again whenever the
    // frame stands elsewhere. Without a window manager there is no frame.
    if (m_window.windowHandle()->isExposed() && !knownMargins(m_window).isNull()) {
        if (!m_settling) {
            m_settling = true;
            // A later placement has its own moment.
            QTimer::singleShot(kSettleMilliseconds, this, [this, placement = m_placements] {
                if (placement == m_placements)
                    m_awaitingFrame = m_settling = false;
            });
        }
        if (m_window.frameGeometry() != m_frame && ++m_corrections <= kMaxCorrections)
            apply();
    }
    return QObject::eventFilter(watched, event);
}
