#include "focusring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 2;

} // namespace

FocusRing::FocusRing(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Focus that leaves for a menu, a message box or another program comes back where it was.
    connect(qApp, &QApplication::focusChanged, this, [this, window](QWidget *, QWidget *now) {
        if (now && now->window() == window)
            follow(now);
    });
}

void FocusRing::follow(QWidget *widget)
{
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = widget;
    // Inside the target's parent, so that the ring moves, scrolls and clips with it.
    setParent(widget->parentWidget() ? widget->parentWidget() : widget);
    widget->installEventFilter(this);
    place();
}

void FocusRing::place()
{
    if (!m_target || !m_target->isVisible() || m_target == parentWidget()) {
        hide();
        return;
    }
    setGeometry(m_target->geometry().adjusted(-kWidth, -kWidth, kWidth, kWidth));
    setMask(QRegion(rect()) - QRegion(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth)));
    raise();
    show();
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        place();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
}
