#include "numeric/angle.h"

namespace ostrac::numeric {
namespace {

// The calculator has always used pi and 1/pi to 15 significant digits, not the full
// double values, and displayed angles depend on that. The constants are double
// literals: each is the double nearest to its 15-digit decimal (for pi that is
// 0x400921FB54442D11, the value of the PI constant) and is widened exactly when it
// enters the extended-precision product. Likewise 1/180 is the double nearest to it.
constexpr double pi_15 = 3.14159265358979;
constexpr double inv_pi_15 = 0.318309886183791;
constexpr double one_180th = 1.0 / 180.0;
constexpr double one_200th = 0.005;

// Both factors are applied left to right in extended precision; only the final
// result is rounded to double.
double scale(double x, double a, double b) {
    const long double product = static_cast<long double>(x) * a * b;
    return static_cast<double>(product);
}

}  // namespace

double to_radians(double x, int angle_unit) {
    switch (angle_unit) {
        case 1: return scale(x, pi_15, one_180th);
        case 2: return scale(x, pi_15, one_200th);
        default: return x;
    }
}

double from_radians(double x, int angle_unit) {
    switch (angle_unit) {
        case 1: return scale(x, 180.0, inv_pi_15);
        case 2: return scale(x, 200.0, inv_pi_15);
        default: return x;
    }
}

}  // namespace ostrac::numeric
