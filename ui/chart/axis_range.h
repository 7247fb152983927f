// The range a value axis shows for its data: the data and a small margin,
// with ticks on round numbers.
#pragma once

namespace ostrac::ui {

struct AxisRange {
    double min;
    double max;
    double tick_interval;  // 1, 2 or 5 times a power of ten
};

// For data from `low` to `high`: a twentieth of their span added on each
// side (a single value gets a unit on each side first). A side at zero
// stays at zero, where bars and areas stand. About five ticks.
AxisRange fit_axis_range(double low, double high);

}  // namespace ostrac::ui
