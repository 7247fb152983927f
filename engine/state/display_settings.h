// How the console shows numbers: a preference of the session, kept by the
// front end's settings and never written into a state file.
//
// The defaults show what the calculator has always shown: reals with ten
// significant digits and the parts of complex numbers and matrix elements
// with eight, switching to an exponent as C's "%g" does. A setting of N
// digits shows reals with N and the parts with N - 2 (at least 1), so the
// two keep the distance the defaults have.
#pragma once

#include <algorithm>
#include <cstdint>

namespace ostrac::state {

enum class Notation : std::uint8_t {
    Automatic,    // fixed, or an exponent when it is below -4 or not below the digits ("%g")
    Fixed,        // never an exponent
    Scientific,   // one digit before the point and an exponent
    Engineering,  // one to three digits before the point and an exponent that is a multiple of 3
};

struct DisplaySettings {
    static constexpr int min_digits = 1;
    static constexpr int max_digits = 17;  // enough to tell any two doubles apart
    static constexpr int default_digits = 10;

    int digits = default_digits;  // significant digits of a real, min_digits to max_digits
    Notation notation = Notation::Automatic;
    bool group_digits = false;  // a blank between groups of three digits of a long integer part

    // The digits of a real and of the parts of complex numbers and matrix
    // elements, with `digits` brought into its range.
    int real_digits() const { return std::clamp(digits, min_digits, max_digits); }
    int part_digits() const { return std::max(min_digits, real_digits() - 2); }

    bool operator==(const DisplaySettings&) const = default;
};

}  // namespace ostrac::state
