// LU decomposition with partial pivoting of a dense square matrix, and the
// inverse and determinant read from it: the path of the large matrices. The
// products and triangular solves go to the BLAS in blocks (blas_blocks.h),
// with a look at the stop check between blocks. Row-major storage; the
// element type is double or Complex.
#pragma once

#include <vector>

#include "numeric/stop_check.h"

namespace ostrac::numeric {

enum class EliminationOutcome { Done, Singular, Stopped };

// Factors the n by n matrix `a` in place: afterwards its strict lower part
// holds L (whose diagonal is 1) and the rest U, with P A = L U, where P
// exchanges row k with row pivots[k] for k = 0, 1, ... in turn. Each pivot is
// the element of largest modulus in its column on or below the diagonal, the
// first of equals. A column whose candidates are all exactly 0 makes the
// matrix singular.
template <class T>
EliminationOutcome lu_factor(T* a, int n, std::vector<int>& pivots, const StopCheck& stop);

// The inverse of the factored matrix into x, n by n and zero-filled.
template <class T>
EliminationOutcome lu_inverse(const T* lu, int n, const std::vector<int>& pivots, T* x, const StopCheck& stop);

// How many of the pivots brought up another row.
int exchange_count(const std::vector<int>& pivots);

// The determinant of an n by n triangular matrix reached with `exchanges`
// row exchanges: the diagonal from the first element on, each further one
// multiplied on the left, negated for an odd count.
template <class T>
T diagonal_product(const T* w, int n, int exchanges);

}  // namespace ostrac::numeric
