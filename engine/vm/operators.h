// Run-time meaning of the language's operators.
//
// Each handler pops its operands from the operand stack (the right operand is
// on top and comes off first), decides by their kinds and pushes one result.
// Binary operators classify both operands as Real, Complex, String or Matrix
// and branch on left kind * 16 + right kind. A scalar result whose imaginary
// part is exactly 0 is pushed as a float; comparisons and logical operators
// push the int 1 or 0. Every failure stops the command through fatal_error.
// Scalar operands are handled without any allocation.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace ostrac::state {
class Machine;
}

namespace ostrac::vm {

// The longest string a value may hold; a longer concatenation is refused.
inline constexpr std::size_t max_string_length = 254;

// a b -> a+b: numbers, element-wise matrix sum, or string concatenation.
void op_add(state::Machine& s);
// a b -> a-b: numbers or element-wise matrix difference.
void op_sub(state::Machine& s);
// a b -> a*b: numbers, a matrix scaled by a number (either side), or the
// matrix product; the product of two one-row matrices is the number in its
// first element (the dot product of two rows of equal length).
void op_mul(state::Machine& s);
// a b -> a/b: numbers, a matrix times the reciprocal of a number, a number
// times the inverse of a matrix, or a matrix times the inverse of a matrix
// (always a matrix). Fails with "Error division_by_zero " on a zero divisor
// and on a floating-point fault of the quotient (see operators.cpp).
void op_div(state::Machine& s);
// a b -> a^b: Real to Real by the library power function (a negative base
// with a fractional exponent gives NaN), Complex to Real by the complex
// power; any other pair is an "Incorrect type".
void op_pow(state::Machine& s);
// a -> -a, as a * -1: numbers and every element of a matrix.
void op_neg(state::Machine& s);
// a b -> the remainder of a/b with the sign of a; 0 for a zero divisor or an
// infinite dividend, a itself for an infinite divisor.
void op_mod(state::Machine& s);
// The remainder op_mod pushes for two reals.
inline double remainder_of(double dividend, double divisor) {
    // fmod gives NaN for these two; an infinite divisor needs no special
    // case, fmod already returns the dividend.
    if (divisor == 0.0 || std::isinf(dividend)) return 0.0;
    // Whole numbers of 32 bits divide exactly in integer arithmetic, which
    // gives fmod's result, the sign of a zero remainder included, at a
    // fraction of its cost.
    constexpr double int32_limit = 2147483647.0;
    if (std::fabs(dividend) <= int32_limit && std::fabs(divisor) <= int32_limit) {
        const auto a = static_cast<std::int32_t>(dividend);
        const auto b = static_cast<std::int32_t>(divisor);
        if (a == dividend && b == divisor) {
            const std::int32_t r = a % b;
            return r == 0 ? std::copysign(0.0, dividend) : static_cast<double>(r);
        }
    }
    return std::fmod(dividend, divisor);
}
// modulus angle -> the number with that modulus and that angle, the angle in
// the current angle unit.
void op_polar(state::Machine& s);
// a b -> the cross product of two 1 by 3 matrices.
void op_cross(state::Machine& s);

// Comparisons, pushing 1 or 0. Reals compare by value; Complexes only for
// (in)equality of both parts; strings are equal ignoring the case of a..z and
// ordered by their lengths alone.
void op_eq(state::Machine& s);
void op_ne(state::Machine& s);
void op_gt(state::Machine& s);
void op_lt(state::Machine& s);
void op_ge(state::Machine& s);
void op_le(state::Machine& s);
// Logical operators on two Reals (non-zero is true), pushing 1 or 0.
void op_or(state::Machine& s);
void op_and(state::Machine& s);

}  // namespace ostrac::vm
