#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <limits>

namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen *screenOf(const QWidget *widget)
{
    if (widget && widget->screen())
        return widget->screen();
    return QGuiApplication::primaryScreen();
}

} // namespace

Twips::Twips(const QWidget *reference)
{
    const QScreen *screen = screenOf(reference);
    m_dpiX = screen ? screen->logicalDotsPerInchX() : 96.0;
    m_dpiY = screen ? screen->logicalDotsPerInchY() : 96.0;
}

int Twips::toPixelsX(int twips) const
{
    return int(std::lround(twips * m_dpiX / kTwipsPerInch));
}

int Twips::toPixelsY(int twips) const
{
    return int(std::lround(twips * m_dpiY / kTwipsPerInch));
}

int Twips::fromPixelsX(int pixels) const
{
    return int(std::lround(pixels * kTwipsPerInch / m_dpiX));
}

int Twips::fromPixelsY(int pixels) const
{
    return int(std::lround(pixels * kTwipsPerInch / m_dpiY));
}

QRect Twips::toPixels(int left, int top, int width, int height) const
{
    return {toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height)};
}

int roundToWhole16(double value)
{
    const double rounded = std::nearbyint(value);
    constexpr double low = std::numeric_limits<qint16>::min();
    constexpr double high = std::numeric_limits<qint16>::max();
    return int(rounded < low ? low : rounded > high ? high : rounded);
}
