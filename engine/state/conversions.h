// Number conversions with a defined result for every double.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace ostrac::state {

// Truncation toward zero to a 32-bit integer. Values outside the range and
// NaN give INT32_MIN, as the processor's own conversion does.
inline std::int32_t truncate_to_int32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// Floor, then conversion to a 32-bit integer (same out-of-range rule).
inline std::int32_t floor_to_int32(double v) { return truncate_to_int32(std::floor(v)); }

}  // namespace ostrac::state
