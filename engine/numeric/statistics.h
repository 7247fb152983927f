// Statistics of data vectors. A data vector is row 1 of a matrix (rows below it are
// ignored) and its length is the matrix's column count. Everything is computed in
// complex arithmetic, so complex data are accepted; the results are complex numbers
// whose imaginary part is 0 for real data.
#pragma once

#include "numeric/complex.h"
#include "numeric/matrix.h"
#include "numeric/numeric_result.h"

namespace ostrac::numeric {

// Sum of the elements.
Complex sumx(const Matrix& v);
// Sum of the squares, each element multiplied by itself (no conjugation).
Complex sumx2(const Matrix& v);
Complex mean(const Matrix& v);
// Population standard deviation: the principal square root of (n S2 - S1^2) / n^2.
Complex sdxn(const Matrix& v);
// Sample standard deviation, divisor n (n - 1). A one-element vector divides zero by
// zero and gives not-a-number parts, like any other domain fault of the calculator.
Complex sdx(const Matrix& v);

// The two-vector functions fail with "Invalid dimensions\n" when the lengths differ.
NumericResult<Complex> sumxy(const Matrix& x, const Matrix& y);
// Population covariance.
NumericResult<Complex> cov(const Matrix& x, const Matrix& y);
// Correlation coefficient: cov(X, Y) / (sdxn(Y) sdxn(X)).
NumericResult<Complex> corr(const Matrix& x, const Matrix& y);

// Euclidean norm of row 1 (the matrix form of abs). Fails with
// "Abs for Complex vectors not supported!\n" when the sum of squares is not real; a
// negative real sum of squares gives not-a-number.
NumericResult<double> vector_abs(const Matrix& v);

}  // namespace ostrac::numeric
