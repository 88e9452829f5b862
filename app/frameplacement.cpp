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

} // namespace

FramePlacement::FramePlacement(QWidget &window, std::unique_ptr<WindowFrame> frame)
    : QObject(&window), m_window(window), m_frameSource(std::move(frame))
{
}

QMargins FramePlacement::margins() const
{
    const QWindow *handle = m_window.windowHandle();
    return handle ? m_frameSource->margins(*handle) : QMargins();
}

QRect FramePlacement::frameGeometry() const
{
    return m_window.geometry().marginsAdded(margins());
}

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
    // Placed in its frame from the start, the window is not moved and drawn again once framed.
    if (QWindow *handle = m_window.windowHandle(); handle && !m_window.isVisible() && !m_asked) {
        m_asked = true;
        m_frameSource->askBeforeShowing(*handle);
    }
    apply();
}

bool FramePlacement::positionAsPlaced() const
{
    return !m_frame.isNull() && frameGeometry().topLeft() == m_frame.topLeft();
}

bool FramePlacement::sizeAsPlaced() const
{
    return !m_frame.isNull() && frameGeometry().size() == m_frame.size();
}

void FramePlacement::apply()
{
    // By the inside: Qt's own idea of the frame may still be none, and a frame position would
    // then put the inside where the frame belongs.
    const QMargins m = margins();
    m_window.setGeometry(m_frame.left() + m.left(), m_frame.top() + m.top(),
                         qMax(1, m_frame.width() - m.left() - m.right()),
                         qMax(1, m_frame.height() - m.top() - m.bottom()));
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
    if (m_window.windowHandle()->isExposed() && !margins().isNull()) {
        if (!m_settling) {
            m_settling = true;
            // A later placement has its own moment.
            QTimer::singleShot(kSettleMilliseconds, this, [this, placement = m_placements] {
                if (placement == m_placements)
                    m_awaitingFrame = m_settling = false;
            });
        }
        if (frameGeometry() != m_frame && ++m_corrections <= kMaxCorrections)
            apply();
    }
    return QObject::eventFilter(watched, event);
}
