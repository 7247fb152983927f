#include "vm/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "numeric/angle.h"

namespace ostrac::vm {
namespace {

// "%g" of a double never needs more than this, whatever the precision: the exact
// decimal expansion of a double has at most 767 significant digits, trailing zeros
// are dropped, and fixed notation is used only for exponents from -4 to 308.
constexpr std::size_t general_buffer_size = 1024;

// Automatic notation writes an exponent below this one ("%g").
constexpr int least_fixed_exponent = -4;
// Integer parts of this many digits or more are grouped.
constexpr std::size_t least_grouped_digits = 5;

// |x| rounded to some significant digits: the digits without trailing zeros
// (at least one) and the decimal exponent of the first.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal decompose(double x, int digits) {
    char buffer[64];  // "-d.<16 digits>e-308" at most
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, digits - 1);
    std::string_view text(buffer, result.ptr);
    Decimal d;
    if (text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.') d.digits += c;
    }
    d.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    const std::size_t last = d.digits.find_last_not_of('0');
    d.digits.resize(last == std::string::npos ? 1 : last + 1);
    return d;
}

void append_integer_part(std::string& out, std::string_view digits, bool group) {
    if (!group || digits.size() < least_grouped_digits) {
        out += digits;
        return;
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
}

// The digits with `integer_digits` of them before the point, padded with
// zeros when there are fewer.
void append_mantissa(std::string& out, const std::string& digits, std::size_t integer_digits, bool group) {
    if (digits.size() <= integer_digits) {
        append_integer_part(out, digits + std::string(integer_digits - digits.size(), '0'), group);
        return;
    }
    append_integer_part(out, std::string_view(digits).substr(0, integer_digits), group);
    out += '.';
    out.append(digits, integer_digits);
}

void append_exponent(std::string& out, int exponent) {
    out += 'e';
    out += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) out += '0';
    out += std::to_string(magnitude);
}

void append_positional(std::string& out, const Decimal& d, bool group) {
    if (d.exponent >= 0) {
        append_mantissa(out, d.digits, static_cast<std::size_t>(d.exponent) + 1, group);
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
    }
}

void append_with_exponent(std::string& out, const Decimal& d, int integer_digits) {
    append_mantissa(out, d.digits, static_cast<std::size_t>(integer_digits), false);
    append_exponent(out, d.exponent - (integer_digits - 1));
}

}  // namespace

void append_general(std::string& out, double x, int precision) {
    if (x == 0.0) x = 0.0;  // drops the sign of a negative zero
    char buffer[general_buffer_size];
    // to_chars in general format with a precision is defined to produce printf's "%.*g".
    const auto result =
        std::to_chars(buffer, buffer + general_buffer_size, x, std::chars_format::general, precision);
    out.append(buffer, result.ptr);
}

void append_number(std::string& out, double x, int digits, Notation notation, bool group) {
    digits = std::clamp(digits, DisplaySettings::min_digits, DisplaySettings::max_digits);
    if (!std::isfinite(x) || (notation == Notation::Automatic && !group)) {
        append_general(out, x, digits);
        return;
    }
    if (x == 0.0) x = 0.0;
    const Decimal d = decompose(x, digits);
    if (d.negative) out += '-';
    switch (notation) {
    case Notation::Automatic:
        if (d.exponent < least_fixed_exponent || d.exponent >= digits) {
            append_with_exponent(out, d, 1);
        } else {
            append_positional(out, d, group);
        }
        break;
    case Notation::Fixed:
        append_positional(out, d, group);
        break;
    case Notation::Scientific:
        append_with_exponent(out, d, 1);
        break;
    case Notation::Engineering:
        append_with_exponent(out, d, (d.exponent % 3 + 3) % 3 + 1);
        break;
    }
}

void format_number(std::string& out, numeric::Complex z, int coord_mode, int angle_unit,
                   const DisplaySettings& display) {
    const auto part = [&out, &display](double v) {
        append_number(out, v, display.part_digits(), display.notation, display.group_digits);
    };
    if (coord_mode == 1) {
        const numeric::Polar polar = numeric::to_polar(z);
        const double angle = numeric::from_radians(polar.argument, angle_unit);
        part(polar.modulus);
        out += '@';
        part(angle);
    } else if (z.im == 0.0) {
        part(z.re);
    } else if (z.im > 0.0) {
        part(z.re);
        out += '+';
        part(z.im);
        out += 'i';
    } else {
        part(z.re);
        out += ' ';
        part(z.im);
        out += 'i';
    }
    out += ' ';
}

void format_real(std::string& out, double x, const DisplaySettings& display) {
    append_number(out, x, display.real_digits(), display.notation, display.group_digits);
}

}  // namespace ostrac::vm
