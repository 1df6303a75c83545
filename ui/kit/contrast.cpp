#include "contrast.h"

#include <algorithm>
#include <cmath>

namespace ui {

double RelativeLuminance(const QColor& colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double first = RelativeLuminance(a);
    const double second = RelativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor ReadableBackground(const QColor& background, const QColor& text, double ratio)
{
    const bool lightText = RelativeLuminance(text) > RelativeLuminance(background);
    const QColor towards = lightText ? QColor(Qt::black) : QColor(Qt::white);
    QColor shade = background;
    // Steps of a twentieth of the way: the first that reads, and the end of the way does.
    for (int step = 1; step <= 20 && ContrastRatio(shade, text) < ratio; ++step) {
        const double share = step / 20.0;
        shade = QColor::fromRgbF(
            static_cast<float>(background.redF() + (towards.redF() - background.redF()) * share),
            static_cast<float>(background.greenF() +
                               (towards.greenF() - background.greenF()) * share),
            static_cast<float>(background.blueF() +
                               (towards.blueF() - background.blueF()) * share));
    }
    return shade;
}

} // namespace ui
