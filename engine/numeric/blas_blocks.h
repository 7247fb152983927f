// Matrix products and triangular solves of the dense algorithms, handed to
// the BLAS in blocks of bounded work. The caller's stop check is asked before
// each block, so that even the largest operation ends within a small fraction
// of a second of a request. Storage is row-major with explicit row strides;
// the element type is double or Complex (two doubles, the BLAS's complex
// layout). Each returns false when the check said stop: the destination is
// then partly computed and means nothing.
#pragma once

#include "numeric/stop_check.h"

namespace ostrac::numeric {

enum class Accumulate { Replace, Subtract };

// c = a b (Replace) or c = c - a b (Subtract); a is m by k, b is k by n, c is
// m by n, k at least 1.
template <class T>
bool multiply_blocks(int m, int n, int k, const T* a, int lda, const T* b, int ldb, T* c, int ldc,
                     Accumulate mode, const StopCheck& stop);

enum class Triangle { UnitLower, Upper };

// b = t^-1 b, where t is the m by m unit lower or upper triangle (only that
// part of t is read) and b is m by n.
template <class T>
bool solve_blocks(Triangle kind, int m, int n, const T* t, int ldt, T* b, int ldb, const StopCheck& stop);

}  // namespace ostrac::numeric
