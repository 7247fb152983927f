#include <gtest/gtest.h>

#include <complex>
#include <random>
#include <vector>

#include "numeric/matrix.h"

namespace ostrac::numeric {
namespace {

using Wide = std::complex<long double>;

// A diagonally dominant complex matrix: well conditioned, every pivot non-zero.
Matrix random_matrix(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    Matrix m(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m.at(i, j) = {d(rng) + (i == j ? 2.0 * n : 0.0), d(rng)};
    return m;
}

// The determinant by LU decomposition with partial pivoting in extended
// precision: a different method from the calculator's elimination.
Wide lu_determinant(const Matrix& m) {
    const int n = m.rows();
    std::vector<std::vector<Wide>> a(n, std::vector<Wide>(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) a[i][j] = Wide(m.at(i + 1, j + 1).re, m.at(i + 1, j + 1).im);
    Wide det = 1;
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int i = k + 1; i < n; ++i)
            if (std::abs(a[i][k]) > std::abs(a[pivot][k])) pivot = i;
        if (pivot != k) {
            std::swap(a[pivot], a[k]);
            det = -det;
        }
        det *= a[k][k];
        for (int i = k + 1; i < n; ++i) {
            const Wide f = a[i][k] / a[k][k];
            for (int j = k; j < n; ++j) a[i][j] -= f * a[k][j];
        }
    }
    return det;
}

TEST(MatrixRandomTest, InverseAndDeterminantOfFiftyByFiftyComplexMatrices) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const Matrix a = random_matrix(50, seed);
        const auto inverse = matrix_inverse(a).value;
        ASSERT_TRUE(inverse);
        const Matrix product = *matrix_mul(a, *inverse);
        double worst = 0;
        for (int i = 1; i <= 50; ++i) {
            for (int j = 1; j <= 50; ++j) {
                const Complex e = product.at(i, j);
                worst = std::max(worst, std::abs(std::complex<double>(e.re - (i == j ? 1 : 0), e.im)));
            }
        }
        EXPECT_LT(worst, 1e-9) << "A times its inverse is the identity";

        const auto det = matrix_det(a).value;
        ASSERT_TRUE(det);
        const Wide expected = lu_determinant(a);
        const Wide got(det->re, det->im);
        EXPECT_LT(std::abs(got - expected) / std::abs(expected), 1e-9L);
    }
}

}  // namespace
}  // namespace ostrac::numeric
