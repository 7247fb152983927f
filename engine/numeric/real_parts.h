// Matrices whose imaginary parts are all 0 go through the dense algorithms as
// doubles: a quarter of the work of complex arithmetic, and no inf * 0 from a
// zero imaginary part.
#pragma once

#include <memory>
#include <vector>

#include "numeric/matrix.h"

namespace ostrac::numeric {

bool is_real(const Matrix& m);

// The real parts row after row when every imaginary part is 0; null
// otherwise, found at the first element that is not real, before the rest of
// the copy's memory is touched.
std::unique_ptr<double[]> real_parts_if_real(const Matrix& m);

// The same into out (rows times cols doubles); false, with out partly
// written, for a matrix that is not real.
bool copy_real_parts(const Matrix& m, double* out);

// A rows by cols matrix of the given real parts, row after row.
Matrix from_real_parts(const std::vector<double>& values, int rows, int cols);

}  // namespace ostrac::numeric
