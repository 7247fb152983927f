// The chart's colours for its series: one qualitative palette of ten hues,
// one per slot of the series table, so that no two series share a colour.
// All ten are of about the same lightness, dark enough to stand out from
// the light plot area and light enough to stand out from a dark window
// (a contrast of at least 3 to 1 against both).
#pragma once

#include <QColor>

namespace ostrac::ui {

inline constexpr int series_palette_size = 10;

// Colour `index` of the palette, counted round.
QColor series_colour(int index);

}  // namespace ostrac::ui
