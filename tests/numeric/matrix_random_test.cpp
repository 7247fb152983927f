#include <gtest/gtest.h>

#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "numeric/matrix.h"

namespace ostrac::numeric {
namespace {

using Wide = std::complex<long double>;

// Elements uniform in [-1, 1], real or complex. A diagonally dominant matrix
// (2n added to the diagonal) never needs an exchange of rows; the others do.
Matrix random_matrix(int n, unsigned seed, bool complex, bool dominant) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    Matrix m(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const double re = d(rng) + (dominant && i == j ? 2.0 * n : 0.0);
            m.at(i, j) = {re, complex ? d(rng) : 0.0};
        }
    }
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

// Orders on either side of the switch from elimination to the blocked
// decomposition, with and without exchanges of rows.
TEST(MatrixRandomTest, InverseAndDeterminantOfRandomMatrices) {
    const struct {
        int n;
        unsigned seed;
        bool complex, dominant;
    } cases[] = {
        {50, 1, true, true}, {50, 2, true, true}, {50, 3, false, false},
        {100, 4, true, true}, {200, 5, false, false}, {256, 6, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << (c.complex ? " complex" : " real") << " seed " << c.seed);
        const Matrix a = random_matrix(c.n, c.seed, c.complex, c.dominant);
        const auto inverse = matrix_inverse(a).value;
        ASSERT_TRUE(inverse);
        const Matrix product = *matrix_mul(a, *inverse);
        double worst = 0;
        for (int i = 1; i <= c.n; ++i) {
            for (int j = 1; j <= c.n; ++j) {
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

// Large operations go in blocks and ask the check before each: the first yes
// ends the work with no result. A 300 by 300 product is a single block.
TEST(MatrixRandomTest, AStopEndsALargeOperationAtItsFirstYes) {
    const struct {
        const char* name;
        bool (*run)(const Matrix&, const StopCheck&);
        int last_yes;
    } cases[] = {
        {"inverse", [](const Matrix& m, const StopCheck& s) { return matrix_inverse(m, s).value.has_value(); }, 3},
        {"determinant", [](const Matrix& m, const StopCheck& s) { return matrix_det(m, s).value.has_value(); }, 3},
        {"product", [](const Matrix& m, const StopCheck& s) { return matrix_mul(m, m, s).has_value(); }, 1},
    };
    for (const bool complex : {false, true}) {
        const Matrix a = random_matrix(300, 8, complex, false);
        for (const auto& c : cases) {
            for (int yes_at = 1; yes_at <= c.last_yes; ++yes_at) {
                SCOPED_TRACE(testing::Message() << c.name << (complex ? " complex" : " real") << " yes at " << yes_at);
                int asked = 0;
                EXPECT_FALSE(c.run(a, [&asked, yes_at] { return ++asked == yes_at; }));
                EXPECT_EQ(asked, yes_at);
            }
        }
    }
}

// A real determinant beyond the double range is an infinity, not a
// not-a-number from the imaginary part complex arithmetic would add.
TEST(MatrixRandomTest, RealDeterminantOverflowsToInfinity) {
    const auto det = matrix_det(random_matrix(300, 7, false, true)).value;  // about 600^300
    ASSERT_TRUE(det);
    EXPECT_EQ(*det, (Complex{std::numeric_limits<double>::infinity(), 0}));
}

}  // namespace
}  // namespace ostrac::numeric
