// The built-in functions of the calculator language, one handler per opcode.
//
// A call pushes its arguments left to right, then their count as an int. Each
// handler checks the count against the opcode table ("Number of parameters is
// incorrect"), pops the arguments last first, each with its own type check,
// looks at their values only once all are popped, and pushes one result.
// Numbers go through push_number, so a zero imaginary part gives a float.
// Every failure stops the command through fatal_error.
//
// Angles seen by the user are in the unit of sysangle. The library's domain
// and range faults are not checked: asin(2), log(0) or fact(171) give the
// not-a-number or infinity the mathematics library produces.
#pragma once

#include <cstddef>

#include "code/opcodes.h"
#include "state/stack_ops.h"

namespace ostrac::vm {

using code::Op;
using code::op_table;
using state::expect_args;

// Pops the argument count of a call of `op` and checks it against op_table.
inline void expect_builtin_args(state::Machine& s, Op op) {
    expect_args(s, op_table[static_cast<std::size_t>(op)].argc);
}

// Trigonometric and hyperbolic functions; one number. A real argument of sin,
// cos and tan is an angle in the user's unit. A complex argument (non-zero
// imaginary part) is taken in radians by sin and cos and refused with "Not
// implemented!" by the others.
void op_sin(state::Machine& s);
void op_cos(state::Machine& s);
void op_tan(state::Machine& s);
void op_sinh(state::Machine& s);
void op_cosh(state::Machine& s);
void op_tanh(state::Machine& s);
void op_asinh(state::Machine& s);
void op_acosh(state::Machine& s);
void op_atanh(state::Machine& s);

// Inverse trigonometric functions; one real ("float expected" for a complex),
// result in the user's angle unit.
void op_asin(state::Machine& s);
void op_acos(state::Machine& s);
void op_atan(state::Machine& s);

// One number: e^z; ln z (its imaginary part in radians whatever the unit, so
// ln(-1) is pi i); the polar-form principal square root; the real part, the
// imaginary part, and the argument in the user's angle unit.
void op_exp(state::Machine& s);
void op_ln(state::Machine& s);
void op_sqrt(state::Machine& s);
void op_real(state::Machine& s);
void op_im(state::Machine& s);
void op_arg(state::Machine& s);

// The modulus of a number, or the Euclidean norm of row 1 of a matrix
// ("Abs for Complex vectors not supported!" when its sum of squares is not real).
void op_abs(state::Machine& s);

// One real: base-10 logarithm; fractional part with the sign of x; integer
// part, toward zero except within 1e-9 of the next whole number away from
// zero (2.9999999995 gives 3).
void op_log10(state::Machine& s);
void op_frac(state::Machine& s);
void op_int(state::Machine& s);

// x n -> x rounded to a multiple of 10^n; ties go toward plus infinity.
void op_round(state::Machine& s);

// Factorial of |x| truncated toward zero (above 170: inf); npr(n, r) and
// ncr(n, r) reduce both arguments the same way.
void op_fact(state::Machine& s);
void op_npr(state::Machine& s);
void op_ncr(state::Machine& s);

// Matrix functions; a non-matrix argument fails with "Incorrect type". INV
// and DET refuse a matrix that is not square ("Invalid dimensions") and one
// whose elimination meets a missing pivot ("the matrix has not inverse").
void op_inv(state::Machine& s);
void op_det(state::Machine& s);
void op_trans(state::Machine& s);
void op_rows(state::Machine& s);
void op_cols(state::Machine& s);

// Statistics of row 1 of their matrix arguments. The two-vector functions
// refuse vectors of different lengths ("Invalid dimensions").
void op_sumx(state::Machine& s);
void op_sumx2(state::Machine& s);
void op_mean(state::Machine& s);
void op_sdxn(state::Machine& s);
void op_sdx(state::Machine& s);
void op_sumxy(state::Machine& s);
void op_cov(state::Machine& s);
void op_corr(state::Machine& s);

// Coefficients, highest power first -> the roots as a 1 by degree matrix.
void op_zerpol(state::Machine& s);

// source target -> the factor converting source units into target units.
void op_cu(state::Machine& s);

// A string -> its length. A number -> its display text, trailing blank included.
void op_len(state::Machine& s);
void op_str(state::Machine& s);

}  // namespace ostrac::vm
