#pragma once

#include <cmath>

// The suite keeps every size and position in twips (1440 to the inch); widgets want pixels at
// the widget's logical DPI, so 15 twips make one pixel at 96 DPI.
inline int twipsToPixels(int twips, int dpi)
{
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

inline int pixelsToTwips(int pixels, int dpi)
{
    return dpi > 0 ? static_cast<int>(std::lround(pixels * 1440.0 / dpi)) : 0;
}
