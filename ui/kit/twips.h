// Positions and sizes of the designs are in twips: 1440 to the inch, 15 to a pixel at 96 dpi.
#pragma once

#include <QRect>

namespace ui {

// 15 twips are one logical pixel; Qt's high-DPI scaling does the rest.
constexpr int TwipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace ui
