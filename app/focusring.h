#pragma once

#include <QPointer>
#include <QWidget>

// A ring in the selection colour around the control that has the keyboard focus. The style
// marks a focused list or line but neither a grid nor a multi-line box, and two grids show
// their selected cells alike, so without it a monitor cannot see where the keys go.
class FocusRing : public QWidget
{
public:
    // Follows the focus within `window` from now on.
    explicit FocusRing(QWidget *window);

    QWidget *target() const { return m_target; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *widget);
    void place();

    QPointer<QWidget> m_target;
};
