// Gauss-Jordan elimination with partial pivoting: the path of the small
// matrices, where it is faster than the blocked decomposition and keeps the
// results the calculator has always given wherever no rows are exchanged.
// Row-major storage; the element type is double or Complex.
#pragma once

#include "numeric/lu_decomposition.h"
#include "numeric/stop_check.h"

namespace ostrac::numeric {

// Eliminates the n by n matrix w to a diagonal, repeating every row operation
// on the companion when there is one and dividing each companion row by its
// diagonal element at the end (an identity companion becomes the inverse).
// The pivot of each column is the element of largest modulus on or below the
// diagonal, the first of equals; `exchanges` counts the rows it brought up.
// The determinant is then diagonal_product(w, n, exchanges).
// The check is asked before each column.
template <class T>
EliminationOutcome gauss_jordan(T* w, T* companion, int n, int& exchanges, const StopCheck& stop);

}  // namespace ostrac::numeric
