#include "numeric/real_parts.h"

#include <algorithm>
#include <cstddef>

namespace ostrac::numeric {
namespace {

std::size_t element_count(const Matrix& m) {
    return static_cast<std::size_t>(m.rows()) * static_cast<std::size_t>(m.cols());
}

}  // namespace

bool is_real(const Matrix& m) {
    const Complex* e = m.data();
    return std::all_of(e, e + element_count(m), [](const Complex& z) { return z.im == 0.0; });
}

std::unique_ptr<double[]> real_parts_if_real(const Matrix& m) {
    auto values = std::make_unique_for_overwrite<double[]>(element_count(m));
    if (!copy_real_parts(m, values.get())) return nullptr;
    return values;
}

bool copy_real_parts(const Matrix& m, double* out) {
    const Complex* z = m.data();
    for (std::size_t k = 0; k < element_count(m); ++k) {
        if (z[k].im != 0.0) return false;
        out[k] = z[k].re;
    }
    return true;
}

Matrix from_real_parts(const std::vector<double>& values, int rows, int cols) {
    Matrix m(rows, cols);
    Complex* e = m.data();
    for (std::size_t k = 0; k < values.size(); ++k) e[k].re = values[k];
    return m;
}

}  // namespace ostrac::numeric
