// Text colours that stay readable on the palette's backgrounds, light or
// dark.
#pragma once

#include <QColor>

namespace ostrac::ui {

// Contrast ratio of two colours as the web's accessibility guidelines
// define it: 1 for equal colours, 21 for black on white.
double contrast_ratio(const QColor& a, const QColor& b);

// `wanted` itself when it stands out from `background` by the ratio those
// guidelines ask of text (4.5 to 1); otherwise the same hue made lighter on
// a dark background, darker on a light one, just enough to do so.
QColor readable_on(const QColor& wanted, const QColor& background);

}  // namespace ostrac::ui
