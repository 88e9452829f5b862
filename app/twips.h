#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Window and control geometry is designed in twips, 1440 to the inch. Converting with the
// screen's logical resolution makes 15 twips one pixel at 96 DPI and scales on larger screens.
class Twips
{
public:
    explicit Twips(const QWidget *reference = nullptr);

    int toPixelsX(int twips) const;
    int toPixelsY(int twips) const;
    int fromPixelsX(int pixels) const;
    int fromPixelsY(int pixels) const;
    QRect toPixels(int left, int top, int width, int height) const;

private:
    int m_dpiX;
    int m_dpiY;
};

// Rounds halves to the even neighbour and clamps to a signed 16-bit whole number, as every
// whole number of the window's geometry is.
int roundToWhole16(double value);
