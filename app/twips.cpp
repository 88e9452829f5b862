#include "twips.h"

#include "twipsconvert.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <limits>

Twips::Twips(const QWidget *reference)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_dpiX = reference ? reference->logicalDpiX()
             : screen  ? qRound(screen->logicalDotsPerInchX())
                       : 96;
    m_dpiY = reference ? reference->logicalDpiY()
             : screen  ? qRound(screen->logicalDotsPerInchY())
                       : 96;
}

int Twips::toPixelsX(int twips) const
{
    return twipsToPixels(twips, m_dpiX);
}

int Twips::toPixelsY(int twips) const
{
    return twipsToPixels(twips, m_dpiY);
}

int Twips::fromPixelsX(int pixels) const
{
    return pixelsToTwips(pixels, m_dpiX);
}

int Twips::fromPixelsY(int pixels) const
{
    return pixelsToTwips(pixels, m_dpiY);
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
