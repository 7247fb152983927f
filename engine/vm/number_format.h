// Text forms of numbers. Pure functions that only append to the caller's string.
#pragma once

#include <string>

#include "numeric/complex.h"
#include "state/display_settings.h"

namespace ostrac::vm {

using state::DisplaySettings;
using state::Notation;

// Appends x as C's "%.*g" with the given precision (>= 0) prints it on Linux, including
// "inf", "-inf", "nan" and "-nan"; a negative zero is written as "0".
void append_general(std::string& out, double x, int precision);

// Appends x rounded to `digits` significant digits (1 to 17) in the notation,
// trailing zeros of the fraction and a trailing point dropped as "%g" drops
// them, and exponents written as "%g" writes them ("e+05", "e-300").
// Automatic is append_general. With `group`, an integer part of five or more
// digits gets a blank between groups of three ("12 345.5"). Infinities and
// not-a-number values read as append_general writes them; a negative zero
// is "0".
void append_number(std::string& out, double x, int digits, Notation notation, bool group);

// Appends the text form of a number, always followed by one blank: "m@a " in polar
// mode (coord_mode 1, the angle in the given angle unit), otherwise "re ", "re+imi "
// or "re imi " (the sign of a negative imaginary part follows the blank). Each part
// is written with the display's part digits; the default display gives eight
// significant digits, the form STR always uses.
void format_number(std::string& out, numeric::Complex z, int coord_mode, int angle_unit,
                   const DisplaySettings& display = {});

// Appends the printed form of a real value, no blank: the display's real digits,
// ten by default.
void format_real(std::string& out, double x, const DisplaySettings& display = {});

}  // namespace ostrac::vm
