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
    const QRect screenArea = screen->geometry();
    const QSize frame = window.frameGeometry().size();
    const QPoint twips = centredPosition(
        {pixelsToTwips(screenArea.width(), dpiX), pixelsToTwips(screenArea.height(), dpiY)},
        {pixelsToTwips(frame.width(), dpiX), pixelsToTwips(frame.height(), dpiY)});
    window.move(screenArea.left() + twipsToPixels(twips.x(), dpiX), window.y());
    window.move(window.x(), screenArea.top() + twipsToPixels(twips.y(), dpiY));
}
