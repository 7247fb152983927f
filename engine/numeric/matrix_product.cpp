// The matrix product: loops for small products, the BLAS in blocks for large
// ones; doubles for real operands, complex arithmetic for the others.
#include <cstddef>
#include <vector>

#include "numeric/blas_blocks.h"
#include "numeric/element_ops.h"
#include "numeric/matrix.h"
#include "numeric/real_parts.h"

namespace ostrac::numeric {
namespace {

// Products of up to this many multiply-adds stay in the loops, which take
// under a millisecond and sum each element's terms from k = 1 upward as they
// always did, so their results keep their bits.
constexpr double largest_small_work = 64.0 * 64.0 * 64.0;

// i-k-j order walks every row contiguously while each element still
// accumulates its terms from k = 1 upward, starting from 0. The check is
// asked before each row.
bool looped_product(const Matrix& a, const Matrix& b, Matrix& c, bool real, const StopCheck& stop) {
    const int m = a.rows(), k = a.cols(), n = b.cols();
    for (int i = 0; i < m; ++i) {
        if (stop_requested(stop)) return false;
        Complex* out = c.data() + static_cast<std::ptrdiff_t>(i) * n;
        const Complex* ai = a.data() + static_cast<std::ptrdiff_t>(i) * k;
        for (int p = 0; p < k; ++p) {
            const Complex x = ai[p];
            const Complex* bp = b.data() + static_cast<std::ptrdiff_t>(p) * n;
            if (real) {
                for (int j = 0; j < n; ++j) add_product(out[j].re, x.re, bp[j].re);
            } else {
                for (int j = 0; j < n; ++j) add_product(out[j], x, bp[j]);
            }
        }
    }
    return true;
}

// Real operands, given as their real parts (a is m by k, b k by n): the BLAS
// writes the real product into the first m n doubles of c's storage, which
// is then spread into c's elements from the last one back, each double
// moving to an equal or later place.
bool real_blas_product(const double* a, const double* b, int m, int k, Matrix& c, const StopCheck& stop) {
    const int n = c.cols();
    double* out = &c.data()->re;
    if (!multiply_blocks(m, n, k, a, k, b, n, out, n, Accumulate::Replace, stop)) return false;
    for (std::size_t e = static_cast<std::size_t>(m) * static_cast<std::size_t>(n); e-- > 0;) {
        const double x = out[e];
        out[2 * e] = x;
        out[2 * e + 1] = 0.0;
    }
    return true;
}

// Large products: the BLAS, on doubles when both operands are real. a's real
// parts wait in the second half of c's storage when they fit there, which
// spares the process a fresh buffer; a complex product overwrites them.
bool blas_product(const Matrix& a, const Matrix& b, Matrix& c, const StopCheck& stop) {
    const int m = a.rows(), k = a.cols(), n = b.cols();
    if (const auto b_real = real_parts_if_real(b)) {
        const std::size_t half = static_cast<std::size_t>(m) * static_cast<std::size_t>(n);
        std::vector<double> own;
        double* a_real = &c.data()->re + half;
        if (k > n) {
            own.resize(static_cast<std::size_t>(m) * static_cast<std::size_t>(k));
            a_real = own.data();
        }
        if (copy_real_parts(a, a_real)) return real_blas_product(a_real, b_real.get(), m, k, c, stop);
    }
    return multiply_blocks(m, n, k, a.data(), k, b.data(), n, c.data(), n, Accumulate::Replace, stop);
}

}  // namespace

std::optional<Matrix> matrix_mul(const Matrix& a, const Matrix& b, const StopCheck& stop) {
    const int ar = a.rows(), ac = a.cols(), br = b.rows(), bc = b.cols();
    Matrix product(ar, bc);
    if (ar == 1 && br == 1 && ac == bc) {
        // Two rows of equal length: element-wise products, then their sum gathered in
        // (1, 1), which is the dot product without conjugation.
        for (int j = 1; j <= bc; ++j) product.at(1, j) = complex_mul(a.at(1, j), b.at(1, j));
        for (int j = 2; j <= bc; ++j) {
            product.at(1, 1) = complex_add(product.at(1, 1), product.at(1, j));
        }
        return product;
    }
    if (ac != br) return std::nullopt;
    const bool done = double(ar) * ac * bc <= largest_small_work
                          ? looped_product(a, b, product, is_real(a) && is_real(b), stop)
                          : blas_product(a, b, product, stop);
    if (!done) return std::nullopt;
    return product;
}

}  // namespace ostrac::numeric
