#include "centerform.h"

#include "twipsconvert.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

int centredStart(int screenExtent, int windowExtent)
{
    const double half = std::nearbyint(screenExtent / 2.0);
    const double start = std::nearbyint(half - windowExtent / 2.0);
    return static_cast<int>(std::clamp(start, double(std::numeric_limits<std::int16_t>::min()),
                                       double(std::numeric_limits<std::int16_t>::max())));
}

} // namespace

QPoint centredPosition(QSize screenTwips, QSize windowTwips)
{
    return {centredStart(screenTwips.width(), windowTwips.width()),
            centredStart(screenTwips.height(), windowTwips.height())};
}

void CenterForm(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return;
    const int dpiX = window.logicalDpiX();
    const int dpiY = window.logicalDpiY();
    // Over the form it belongs to, where that is on the screen: the middle of a large screen can
    // be far from the form, even half outside it.
    const QWidget *owner = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry() : screen->geometry();
    const QSize frame = window.frameGeometry().size();
    const QPoint twips =
        centredPosition({pixelsToTwips(area.width(), dpiX), pixelsToTwips(area.height(), dpiY)},
                        {pixelsToTwips(frame.width(), dpiX), pixelsToTwips(frame.height(), dpiY)});
    window.move(area.left() + twipsToPixels(twips.x(), dpiX), window.y());
    window.move(window.x(), area.top() + twipsToPixels(twips.y(), dpiY));
}
