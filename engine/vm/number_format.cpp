#include "vm/number_format.h"

#include <charconv>

#include "numeric/angle.h"

namespace ostrac::vm {
namespace {

constexpr int number_digits = 8;
constexpr int real_digits = 10;

// "%g" of a double never needs more than this, whatever the precision: the exact
// decimal expansion of a double has at most 767 significant digits, trailing zeros
// are dropped, and fixed notation is used only for exponents from -4 to 308.
constexpr std::size_t general_buffer_size = 1024;

}  // namespace

void append_general(std::string& out, double x, int precision) {
    if (x == 0.0) x = 0.0;  // drops the sign of a negative zero
    char buffer[general_buffer_size];
    // to_chars in general format with a precision is defined to produce printf's "%.*g".
    const auto result =
        std::to_chars(buffer, buffer + general_buffer_size, x, std::chars_format::general, precision);
    out.append(buffer, result.ptr);
}

void format_number(std::string& out, numeric::Complex z, int coord_mode, int angle_unit) {
    if (coord_mode == 1) {
        const numeric::Polar polar = numeric::to_polar(z);
        const double angle = numeric::from_radians(polar.argument, angle_unit);
        append_general(out, polar.modulus, number_digits);
        out += '@';
        append_general(out, angle, number_digits);
    } else if (z.im == 0.0) {
        append_general(out, z.re, number_digits);
    } else if (z.im > 0.0) {
        append_general(out, z.re, number_digits);
        out += '+';
        append_general(out, z.im, number_digits);
        out += 'i';
    } else {
        append_general(out, z.re, number_digits);
        out += ' ';
        append_general(out, z.im, number_digits);
        out += 'i';
    }
    out += ' ';
}

void format_real(std::string& out, double x) { append_general(out, x, real_digits); }

}  // namespace ostrac::vm
