// Text forms of numbers. Pure functions that only append to the caller's string.
#pragma once

#include <string>

#include "numeric/complex.h"

namespace ostrac::vm {

// Appends x as C's "%.*g" with the given precision (>= 0) prints it on Linux, including
// "inf", "-inf", "nan" and "-nan"; a negative zero is written as "0".
void append_general(std::string& out, double x, int precision);

// Appends the text form of a number, always followed by one blank: "m@a " in polar
// mode (coord_mode 1, the angle in the given angle unit), otherwise "re ", "re+imi "
// or "re imi " (the sign of a negative imaginary part follows the blank).
void format_number(std::string& out, numeric::Complex z, int coord_mode, int angle_unit);

// Appends the printed form of a real value: ten significant digits, no blank.
void format_real(std::string& out, double x);

}  // namespace ostrac::vm
