#include "firstpaint.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget &window, std::function<void()> then)
        : QObject(&window), m_window(window), m_then(std::move(then))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The native window may only exist once the widget is shown.
        if (watched == &m_window && event->type() == QEvent::Show && m_window.windowHandle()) {
            m_window.removeEventFilter(this);
            m_window.windowHandle()->installEventFilter(this);
        } else if (watched == m_window.windowHandle() &&
                   (event->type() == QEvent::Expose || event->type() == QEvent::Paint) &&
                   m_window.windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            // Queued: the expose is painted once the filters have seen it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_then();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget &m_window;
    std::function<void()> m_then;
};

} // namespace

void afterFirstPaint(QWidget &window, std::function<void()> then)
{
    new FirstPaintWatch(window, std::move(then)); // owned by the window
}
