#include "chart/series_palette.h"

#include <array>

namespace ostrac::ui {

namespace {

// Neighbours in the order differ most, since most charts use the first few.
constexpr std::array<QRgb, series_palette_size> palette{
    0x187BEC,  // blue
    0xCB5B10,  // orange
    0x0C922D,  // green
    0xED2D26,  // red
    0xB642F0,  // purple
    0x0C8997,  // teal
    0x977B0C,  // ochre
    0xED2165,  // crimson
    0x7F68F3,  // violet
    0x7D7D7D,  // grey
};

}  // namespace

QColor series_colour(int index) { return QColor(palette[static_cast<std::size_t>(index % series_palette_size)]); }

}  // namespace ostrac::ui
