// Conversions between radians and the user's angle unit (0 radians, 1 degrees,
// 2 grads; any other unit leaves the value unchanged).
#pragma once

namespace ostrac::numeric {

double to_radians(double x, int angle_unit);
double from_radians(double x, int angle_unit);

}  // namespace ostrac::numeric
