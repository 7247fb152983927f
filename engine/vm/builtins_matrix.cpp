// The matrix built-ins: inverse, determinant, transpose, dimensions, vector
// statistics and polynomial roots.
#include "vm/builtins.h"

#include <utility>

#include "numeric/matrix.h"
#include "numeric/polynomial_roots.h"
#include "numeric/statistics.h"
#include "state/machine.h"

namespace ostrac::vm {

using code::Op;
using state::Machine;
using state::MatrixRef;
using state::pop_matrix;
using state::push_float;
using state::push_matrix;
using state::push_number;

namespace {

using numeric::EliminationError;

[[noreturn]] void elimination_failed(Machine& s, EliminationError error) {
    s.fatal_error(error == EliminationError::NotSquare ? "Invalid dimensions" : "the matrix has not inverse");
}

// One matrix -> f(matrix), a number.
template <class F>
void of_vector(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    push_number(s, f(*pop_matrix(s)));
}

// Two matrices, the second popped first -> f(first, second), a number or the
// library's message.
template <class F>
void of_two_vectors(Machine& s, Op op, F f) {
    expect_builtin_args(s, op);
    const MatrixRef second = pop_matrix(s);
    const MatrixRef first = pop_matrix(s);
    const auto result = f(*first, *second);
    if (!result.ok()) s.fatal_error(result.error());
    push_number(s, result.value());
}

}  // namespace

void op_inv(Machine& s) {
    expect_builtin_args(s, Op::INV);
    auto inverse = numeric::matrix_inverse(*pop_matrix(s), s.break_check());
    s.halt_if_break();
    if (!inverse.value) elimination_failed(s, inverse.error);
    push_matrix(s, std::move(*inverse.value));
}

void op_det(Machine& s) {
    expect_builtin_args(s, Op::DET);
    const auto det = numeric::matrix_det(*pop_matrix(s), s.break_check());
    s.halt_if_break();
    if (!det.value) elimination_failed(s, det.error);
    push_number(s, *det.value);
}

void op_trans(Machine& s) {
    expect_builtin_args(s, Op::TRANS);
    push_matrix(s, numeric::matrix_transpose(*pop_matrix(s)));
}

void op_rows(Machine& s) {
    expect_builtin_args(s, Op::ROWS);
    push_float(s, pop_matrix(s)->rows());
}

void op_cols(Machine& s) {
    expect_builtin_args(s, Op::COLS);
    push_float(s, pop_matrix(s)->cols());
}

void op_sumx(Machine& s) { of_vector(s, Op::SUMX, numeric::sumx); }
void op_sumx2(Machine& s) { of_vector(s, Op::SUMX2, numeric::sumx2); }
void op_mean(Machine& s) { of_vector(s, Op::MEAN, numeric::mean); }
void op_sdxn(Machine& s) { of_vector(s, Op::SDXN, numeric::sdxn); }
void op_sdx(Machine& s) { of_vector(s, Op::SDX, numeric::sdx); }
void op_sumxy(Machine& s) { of_two_vectors(s, Op::SUMXY, numeric::sumxy); }
void op_cov(Machine& s) { of_two_vectors(s, Op::COV, numeric::cov); }
void op_corr(Machine& s) { of_two_vectors(s, Op::CORR, numeric::corr); }

void op_zerpol(Machine& s) {
    expect_builtin_args(s, Op::ZERPOL);
    const auto roots = numeric::polynomial_roots(*pop_matrix(s), s.break_check());
    s.halt_if_break();
    if (!roots.ok()) s.fatal_error(roots.error());
    push_matrix(s, roots.value());
}

}  // namespace ostrac::vm
