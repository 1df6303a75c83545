// What the tests read off drawn pixels, and how a failure message describes a place.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>

namespace uitest {

// Relative luminance and contrast ratio as the accessibility guidelines define them.
inline double Luminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

inline double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The bounds of the pixels within `area` (all of the image when null) that differ from
// `background`: the ink drawn there.
inline QRect InkBounds(const QImage& image, const QColor& background, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() != background.rgb())
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

// The highest contrast of any pixel within `area` against `background`.
inline double HighestContrast(const QImage& image, const QColor& background, const QRect& area)
{
    double highest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            highest = std::max(highest, Contrast(image.pixelColor(x, y), background));
    }
    return highest;
}

// A rectangle as a failure message shows it: "x,y widthxheight".
inline QString Describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace uitest
