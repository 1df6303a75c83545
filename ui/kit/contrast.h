// Contrast as the accessibility guidelines measure it, and a background made readable under a
// given text colour where the platform's own is not.
#pragma once

#include <QColor>

namespace ui {

// The text's contrast the guidelines ask of ordinary text.
inline constexpr double ReadableContrast = 4.5;

double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);
// `background` darkened (under light text) or lightened (under dark text) as little as it takes
// for `text` to stand on it with `ratio`; unchanged where it already does.
QColor ReadableBackground(const QColor& background, const QColor& text,
                          double ratio = ReadableContrast);

} // namespace ui
