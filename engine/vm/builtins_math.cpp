// The scalar built-ins: elementary, hyperbolic and complex functions, integer
// and fractional parts, rounding, factorials.
#include "vm/builtins.h"

#include <cmath>
#include <limits>
#include <variant>

#include "numeric/angle.h"
#include "numeric/complex.h"
#include "numeric/statistics.h"
#include "state/machine.h"
#include "state/symbols.h"

namespace ostrac::vm {

using code::Op;
using numeric::Complex;
using state::get_if;
using state::get_ref;
using state::holds_alternative;
using state::IdentCell;
using state::Machine;
using state::MatrixRef;
using state::pop_matrix;
using state::pop_number;
using state::pop_real;
using state::push_float;
using state::push_number;
using state::Value;
using state::ValueType;

namespace {

using numeric::from_radians;
using numeric::to_radians;

// A one-argument function of a real number given as a number (pop_number);
// an argument with a non-zero imaginary part is refused.
template <class F>
void real_function(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    const Complex z = pop_number(s);
    if (z.im != 0.0) s.fatal_error("Not implemented!");
    push_float(s, f(z.re));
}

// A one-argument function of a real (pop_real, which also takes an int cell).
template <class F>
void real_argument(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    push_float(s, f(pop_real(s)));
}

// A one-argument function of a number, real or complex.
template <class F>
void number_function(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    push_number(s, f(pop_number(s)));
}

// Two reals, the first argument popped last.
template <class F>
void two_reals(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    const double second = pop_real(s);
    const double first = pop_real(s);
    push_float(s, f(first, second));
}

double argument_of(Complex z) { return std::atan2(z.im, z.re); }

// The integer part, truncated toward zero in doubles: the same value a 32-bit
// conversion gives inside its range, and still the exact integer part beyond
// it. A fraction above 0.999999999 counts as a whole unit, so values a
// rounding error short of an integer land on it.
double integer_part(double x) {
    double t = std::trunc(x) + 0.0;  // a zero carries no sign, as after an integer conversion
    if (std::fabs(x - t) > 0.999999999) t += x > 0.0 ? 1.0 : -1.0;
    return t;
}

double fractional_part(double x) {
    if (x >= 0.0) return x - std::floor(x);
    const double a = std::fabs(x);
    return -(a - std::floor(a));
}

// The nearer of the two multiples of 10^n around x; a tie, or an x already a
// multiple, gives the upper one.
double round_to(double x, double n) {
    const double scale = std::pow(10.0, -n);
    const double lower = std::floor(x * scale) / scale;
    const double upper = std::ceil(x * scale) / scale;
    return upper - x > x - lower ? lower : upper;
}

// The whole number the combinatorial functions work on: |x| truncated toward zero.
double factorial_operand(double x) { return std::fabs(std::trunc(x)); }

// n (n - 1) ... 1 of the reduced x, formed in doubles from the largest factor
// down. Every product from 171 on overflows, so those (and huge arguments,
// whose loop would never end) are inf at once.
double factorial(double x) {
    const double n = factorial_operand(x);
    if (std::isnan(n)) return n;
    if (n > 170.0) return std::numeric_limits<double>::infinity();
    double product = 1.0;
    for (int k = static_cast<int>(n); k > 1; --k) product *= k;
    return product;
}

// Whether the cell on top of the stack is a matrix or a reference to one.
bool top_is_matrix(Machine& s) {
    if (s.stack.empty()) return false;
    const Value& top = s.stack.top();
    if (holds_alternative<MatrixRef>(top)) return true;
    const auto* id = get_if<IdentCell>(&top);
    return id != nullptr && s.symbols.valid_index(id->index) &&
           s.symbols[get_ref(s, id->index)].type == ValueType::Matrix;
}

}  // namespace

void op_sin(Machine& s) {
    expect_builtin_args(s, Op::SIN);
    const Complex z = pop_number(s);
    if (z.im == 0.0) {
        push_float(s, std::sin(to_radians(z.re, s.angle_unit())));
    } else {
        push_number(s, {std::sin(z.re) * std::cosh(z.im), std::cos(z.re) * std::sinh(z.im)});
    }
}

void op_cos(Machine& s) {
    expect_builtin_args(s, Op::COS);
    const Complex z = pop_number(s);
    if (z.im == 0.0) {
        push_float(s, std::cos(to_radians(z.re, s.angle_unit())));
    } else {
        push_number(s, {std::cos(z.re) * std::cosh(z.im), -(std::sin(z.re) * std::sinh(z.im))});
    }
}

void op_tan(Machine& s) {
    real_function(s, Op::TAN, [&s](double x) { return std::tan(to_radians(x, s.angle_unit())); });
}

void op_sinh(Machine& s) { real_function(s, Op::SINH, [](double x) { return std::sinh(x); }); }
void op_cosh(Machine& s) { real_function(s, Op::COSH, [](double x) { return std::cosh(x); }); }
void op_tanh(Machine& s) { real_function(s, Op::TANH, [](double x) { return std::tanh(x); }); }

// The inverse hyperbolic functions by their logarithmic formulas, as the
// calculator has always computed them (not the library's versions).
void op_asinh(Machine& s) {
    real_function(s, Op::ASINH, [](double x) { return std::log(x + std::sqrt(x * x + 1.0)); });
}

void op_acosh(Machine& s) {
    real_function(s, Op::ACOSH, [](double x) { return std::log(x + std::sqrt(x * x - 1.0)); });
}

void op_atanh(Machine& s) {
    real_function(s, Op::ATANH, [](double x) { return 0.5 * std::log((x + 1.0) / (1.0 - x)); });
}

void op_asin(Machine& s) {
    real_argument(s, Op::ASIN, [&s](double x) { return from_radians(std::asin(x), s.angle_unit()); });
}

void op_acos(Machine& s) {
    real_argument(s, Op::ACOS, [&s](double x) { return from_radians(std::acos(x), s.angle_unit()); });
}

void op_atan(Machine& s) {
    real_argument(s, Op::ATAN, [&s](double x) { return from_radians(std::atan(x), s.angle_unit()); });
}

void op_exp(Machine& s) {
    number_function(s, Op::EXP, [](Complex z) -> Complex {
        const double e = std::exp(z.re);
        // A real argument stays real even where e^x overflows (inf times 0 is not-a-number).
        if (z.im == 0.0) return {e, 0.0};
        return {e * std::cos(z.im), e * std::sin(z.im)};
    });
}

void op_ln(Machine& s) {
    number_function(s, Op::LN, [](Complex z) -> Complex {
        return {std::log(numeric::complex_abs(z)), argument_of(z)};
    });
}

void op_sqrt(Machine& s) { number_function(s, Op::SQRT, numeric::complex_sqrt); }
void op_real(Machine& s) { number_function(s, Op::REAL, [](Complex z) -> Complex { return {z.re, 0.0}; }); }
void op_im(Machine& s) { number_function(s, Op::IM, [](Complex z) -> Complex { return {z.im, 0.0}; }); }

void op_arg(Machine& s) {
    number_function(s, Op::ARG, [&s](Complex z) -> Complex {
        return {from_radians(argument_of(z), s.angle_unit()), 0.0};
    });
}

// A matrix argument is decided on by looking at the top cell, so that any
// other argument meets pop_number's own check (an int cell is refused).
void op_abs(Machine& s) {
    expect_builtin_args(s, Op::ABS);
    if (top_is_matrix(s)) {
        const auto norm = numeric::vector_abs(*pop_matrix(s));
        if (!norm.ok()) s.fatal_error(norm.error());
        push_float(s, norm.value());
    } else {
        push_float(s, numeric::complex_abs(pop_number(s)));
    }
}

void op_log10(Machine& s) { real_argument(s, Op::LOG10, [](double x) { return std::log10(x); }); }
void op_frac(Machine& s) { real_argument(s, Op::FRAC, fractional_part); }
void op_int(Machine& s) { real_argument(s, Op::INT, integer_part); }
void op_round(Machine& s) { two_reals(s, Op::ROUND, round_to); }
void op_fact(Machine& s) { real_argument(s, Op::FACT, factorial); }

// A negative n - r takes the factorial of its absolute value.
void op_npr(Machine& s) {
    two_reals(s, Op::NPR, [](double n, double r) {
        const double a = factorial_operand(n);
        const double b = factorial_operand(r);
        return factorial(a) / factorial(a - b);
    });
}

void op_ncr(Machine& s) {
    two_reals(s, Op::NCR, [](double n, double r) {
        const double a = factorial_operand(n);
        const double b = factorial_operand(r);
        return factorial(a) / (factorial(a - b) * factorial(b));
    });
}

}  // namespace ostrac::vm
