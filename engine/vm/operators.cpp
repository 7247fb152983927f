#include "vm/operators.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "code/names.h"
#include "numeric/angle.h"
#include "state/machine.h"
#include "state/stack_ops.h"

namespace ostrac::vm {

using code::names_equal;
using numeric::Complex;
using numeric::complex_add;
using numeric::complex_div;
using numeric::complex_mul;
using numeric::complex_pow;
using numeric::complex_sub;
using numeric::Matrix;
using state::Machine;
using state::MatrixRef;
using state::Operand;
using state::pop_matrix;
using state::pop_operand;
using state::pop_real;
using state::push_float;
using state::push_int;
using state::push_matrix;
using state::push_number;
using state::push_text;
using state::ValueType;

namespace {

constexpr int pair_key(ValueType left, ValueType right) {
    return static_cast<int>(left) * 16 + static_cast<int>(right);
}

constexpr int real_real = pair_key(ValueType::Real, ValueType::Real);
constexpr int real_complex = pair_key(ValueType::Real, ValueType::Complex);
constexpr int complex_real = pair_key(ValueType::Complex, ValueType::Real);
constexpr int complex_complex = pair_key(ValueType::Complex, ValueType::Complex);
constexpr int string_string = pair_key(ValueType::String, ValueType::String);
constexpr int real_matrix = pair_key(ValueType::Real, ValueType::Matrix);
constexpr int complex_matrix = pair_key(ValueType::Complex, ValueType::Matrix);
constexpr int matrix_real = pair_key(ValueType::Matrix, ValueType::Real);
constexpr int matrix_complex = pair_key(ValueType::Matrix, ValueType::Complex);
constexpr int matrix_matrix = pair_key(ValueType::Matrix, ValueType::Matrix);

struct OperandPair {
    Operand left;
    Operand right;
    int key;
};

OperandPair pop_pair(Machine& s) {
    Operand right = pop_operand(s);
    Operand left = pop_operand(s);
    const int key = pair_key(left.type, right.type);
    return {std::move(left), std::move(right), key};
}

[[noreturn]] void unsupported(Machine& s) { s.fatal_error("Unsupported operator for these types"); }
[[noreturn]] void invalid_dimensions(Machine& s) { s.fatal_error("Invalid dimensions"); }
[[noreturn]] void division_by_zero(Machine& s) { s.fatal_error("Error division_by_zero "); }

// The value of a matrix routine that fails only on shapes that do not fit.
Matrix shaped(Machine& s, std::optional<Matrix> result) {
    if (!result) invalid_dimensions(s);
    return std::move(*result);
}

// The matrix product, which looks at the Break between its rows.
Matrix product_of(Machine& s, const Matrix& a, const Matrix& b) {
    std::optional<Matrix> product = numeric::matrix_mul(a, b, s.break_check());
    s.halt_if_break();
    return shaped(s, std::move(product));
}

std::string concatenate(Machine& s, const std::string& left, const std::string& right) {
    if (left.size() + right.size() > max_string_length) {
        s.fatal_error("String too long: a string holds at most " +
                      std::to_string(max_string_length) + " characters");
    }
    std::string joined;
    joined.reserve(left.size() + right.size());
    joined.append(left).append(right);
    return joined;
}

// Floating-point faults of a division are recognised from the values, not
// from the processor's exception flags: a quotient that holds a NaN no
// operand carried comes from an invalid operation (inf/inf, inf*0, inf-inf),
// and an infinity while every operand was finite comes from an overflow. NaN
// and infinity do not turn back into ordinary numbers through +, - and *, nor
// through division by a finite value, so a fault in the scaled division, the
// reciprocal or a product reaches the quotient; inside the elimination of an
// inverse, a fault that leaves no trace in the inverse is not reported.
// Zero divisors are caught before dividing; with a non-zero divisor none of
// these routines divides by zero.
struct NonFinite {
    bool nan = false;
    bool inf = false;

    void add(Complex z) {
        nan = nan || std::isnan(z.re) || std::isnan(z.im);
        inf = inf || std::isinf(z.re) || std::isinf(z.im);
    }
    void add(const Matrix& m) {
        for (int i = 1; i <= m.rows(); ++i) {
            for (int j = 1; j <= m.cols(); ++j) add(m.at(i, j));
        }
    }
};

template <class... Values>
NonFinite non_finite(const Values&... values) {
    NonFinite found;
    (found.add(values), ...);
    return found;
}

void check_quotient(Machine& s, NonFinite operands, NonFinite quotient) {
    const bool invalid = quotient.nan && !operands.nan;
    const bool overflow = quotient.inf && !operands.nan && !operands.inf;
    if (invalid || overflow) division_by_zero(s);
}

Matrix inverse_of(Machine& s, const Matrix& m) {
    numeric::InverseResult inverse = numeric::matrix_inverse(m, s.break_check());
    s.halt_if_break();
    if (inverse.value) return std::move(*inverse.value);
    if (inverse.error == numeric::EliminationError::NotSquare) invalid_dimensions(s);
    s.fatal_error("the matrix has not inverse");
}

bool is_zero(Complex z) { return z.re == 0.0 && z.im == 0.0; }

enum class Relation { Eq, Ne, Gt, Lt, Ge, Le };

template <class T>
bool holds(Relation rel, T a, T b) {
    switch (rel) {
    case Relation::Eq: return a == b;
    case Relation::Ne: return a != b;
    case Relation::Gt: return a > b;
    case Relation::Lt: return a < b;
    case Relation::Ge: return a >= b;
    case Relation::Le: return a <= b;
    }
    return false;
}

void compare(Machine& s, Relation rel) {
    const OperandPair p = pop_pair(s);
    bool result = false;
    switch (p.key) {
    case real_real:
        result = holds(rel, p.left.number.re, p.right.number.re);
        break;
    case complex_complex:
        if (rel != Relation::Eq && rel != Relation::Ne) unsupported(s);
        result = (p.left.number == p.right.number) == (rel == Relation::Eq);
        break;
    case string_string:
        if (rel == Relation::Eq || rel == Relation::Ne) {
            result = names_equal(*p.left.text, *p.right.text) == (rel == Relation::Eq);
        } else {
            result = holds(rel, p.left.text->size(), p.right.text->size());
        }
        break;
    default:
        unsupported(s);
    }
    push_int(s, result ? 1 : 0);
}

void logical(Machine& s, bool conjunction) {
    const OperandPair p = pop_pair(s);
    if (p.key != real_real) unsupported(s);
    const bool a = p.left.number.re != 0.0;
    const bool b = p.right.number.re != 0.0;
    push_int(s, (conjunction ? a && b : a || b) ? 1 : 0);
}

}  // namespace

void op_add(Machine& s) {
    const OperandPair p = pop_pair(s);
    switch (p.key) {
    case real_real:
        push_float(s, p.left.number.re + p.right.number.re);
        return;
    case real_complex:
    case complex_real:
    case complex_complex:
        push_number(s, complex_add(p.left.number, p.right.number));
        return;
    case string_string:
        push_text(s, concatenate(s, *p.left.text, *p.right.text));
        return;
    case matrix_matrix:
        push_matrix(s, shaped(s, numeric::matrix_add(*p.left.matrix, *p.right.matrix, 1)));
        return;
    default:
        unsupported(s);
    }
}

void op_sub(Machine& s) {
    const OperandPair p = pop_pair(s);
    switch (p.key) {
    case real_real:
        push_float(s, p.left.number.re - p.right.number.re);
        return;
    case real_complex:
    case complex_real:
    case complex_complex:
        push_number(s, complex_sub(p.left.number, p.right.number));
        return;
    case matrix_matrix:
        push_matrix(s, shaped(s, numeric::matrix_add(*p.left.matrix, *p.right.matrix, -1)));
        return;
    default:
        unsupported(s);
    }
}

void op_mul(Machine& s) {
    const OperandPair p = pop_pair(s);
    switch (p.key) {
    case real_real:
        // A plain product: complex arithmetic would turn inf * 0i into a NaN
        // imaginary part.
        push_float(s, p.left.number.re * p.right.number.re);
        return;
    case real_complex:
    case complex_real:
    case complex_complex:
        push_number(s, complex_mul(p.left.number, p.right.number));
        return;
    case real_matrix:
    case complex_matrix:
        push_matrix(s, numeric::matrix_scale(*p.right.matrix, p.left.number));
        return;
    case matrix_real:
    case matrix_complex:
        push_matrix(s, numeric::matrix_scale(*p.left.matrix, p.right.number));
        return;
    case matrix_matrix: {
        Matrix product = product_of(s, *p.left.matrix, *p.right.matrix);
        if (p.left.matrix->rows() == 1 && p.right.matrix->rows() == 1) {
            push_number(s, product.at(1, 1));
        } else {
            push_matrix(s, std::move(product));
        }
        return;
    }
    default:
        unsupported(s);
    }
}

void op_div(Machine& s) {
    const OperandPair p = pop_pair(s);
    const Complex& a = p.left.number;
    const Complex& b = p.right.number;
    switch (p.key) {
    case real_real: {
        if (b.re == 0.0) division_by_zero(s);
        const double q = a.re / b.re;
        check_quotient(s, non_finite(a, b), non_finite(Complex{q, 0.0}));
        push_float(s, q);
        return;
    }
    case real_complex:
    case complex_real:
    case complex_complex: {
        if (is_zero(b)) division_by_zero(s);
        const Complex q = complex_div(a, b);
        check_quotient(s, non_finite(a, b), non_finite(q));
        push_number(s, q);
        return;
    }
    case real_matrix:
    case complex_matrix: {
        Matrix q = numeric::matrix_scale(inverse_of(s, *p.right.matrix), a);
        check_quotient(s, non_finite(a, *p.right.matrix), non_finite(q));
        push_matrix(s, std::move(q));
        return;
    }
    case matrix_real:
    case matrix_complex: {
        if (is_zero(b)) division_by_zero(s);
        Matrix q = numeric::matrix_scale(*p.left.matrix, complex_div({1.0, 0.0}, b));
        check_quotient(s, non_finite(*p.left.matrix, b), non_finite(q));
        push_matrix(s, std::move(q));
        return;
    }
    case matrix_matrix: {
        Matrix q = product_of(s, *p.left.matrix, inverse_of(s, *p.right.matrix));
        check_quotient(s, non_finite(*p.left.matrix, *p.right.matrix), non_finite(q));
        push_matrix(s, std::move(q));
        return;
    }
    default:
        unsupported(s);
    }
}

void op_pow(Machine& s) {
    const OperandPair p = pop_pair(s);
    switch (p.key) {
    case real_real:
        push_float(s, std::pow(p.left.number.re, p.right.number.re));
        return;
    case complex_real:
        push_number(s, complex_pow(p.left.number, p.right.number.re));
        return;
    default:
        s.fatal_error("Incorrect type");
    }
}

void op_neg(Machine& s) {
    push_float(s, -1.0);
    op_mul(s);
}

void op_mod(Machine& s) {
    const double divisor = pop_real(s);
    const double dividend = pop_real(s);
    push_float(s, remainder_of(dividend, divisor));
}

void op_polar(Machine& s) {
    const double angle = numeric::to_radians(pop_real(s), s.angle_unit());
    const double modulus = pop_real(s);
    push_number(s, {modulus * std::cos(angle), modulus * std::sin(angle)});
}

void op_cross(Machine& s) {
    const MatrixRef right = pop_matrix(s);
    const MatrixRef left = pop_matrix(s);
    const auto is_row3 = [](const Matrix& m) { return m.rows() == 1 && m.cols() == 3; };
    if (!is_row3(*left) || !is_row3(*right)) s.fatal_error("Type incorrect");
    const Matrix& a = *left;
    const Matrix& b = *right;
    // Component k of a x b is a(k+1) b(k+2) - a(k+2) b(k+1), indexes cycling 1..3.
    Matrix cross(1, 3);
    for (int k = 1; k <= 3; ++k) {
        const int u = k % 3 + 1;
        const int v = u % 3 + 1;
        cross.at(1, k) =
            complex_sub(complex_mul(a.at(1, u), b.at(1, v)), complex_mul(a.at(1, v), b.at(1, u)));
    }
    push_matrix(s, std::move(cross));
}

void op_eq(Machine& s) { compare(s, Relation::Eq); }
void op_ne(Machine& s) { compare(s, Relation::Ne); }
void op_gt(Machine& s) { compare(s, Relation::Gt); }
void op_lt(Machine& s) { compare(s, Relation::Lt); }
void op_ge(Machine& s) { compare(s, Relation::Ge); }
void op_le(Machine& s) { compare(s, Relation::Le); }
void op_or(Machine& s) { logical(s, false); }
void op_and(Machine& s) { logical(s, true); }

}  // namespace ostrac::vm
