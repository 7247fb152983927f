#include "chart/axis_range.h"

#include <array>
#include <cmath>

namespace ostrac::ui {

namespace {

constexpr double margin_share = 0.05;
constexpr int ticks = 5;

// The smallest of 1, 2, 5 times a power of ten not below `raw`.
double round_interval(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : std::array{1.0, 2.0, 5.0}) {
        if (step * power >= raw) return step * power;
    }
    return 10.0 * power;
}

}  // namespace

AxisRange fit_axis_range(double low, double high) {
    if (low == high) {
        low -= 1.0;
        high += 1.0;
    }
    const double margin = (high - low) * margin_share;
    const double min = low == 0.0 ? 0.0 : low - margin;
    const double max = high == 0.0 ? 0.0 : high + margin;
    return {min, max, round_interval((max - min) / ticks)};
}

}  // namespace ostrac::ui
