#include "numeric/polynomial_roots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

namespace ostrac::numeric {
namespace {

Matrix row(const std::vector<double>& elements) {
    Matrix m(1, static_cast<int>(elements.size()));
    for (int j = 1; j <= m.cols(); ++j) m.at(1, j) = {elements[static_cast<std::size_t>(j - 1)], 0};
    return m;
}

std::vector<Complex> roots_of(const Matrix& m) {
    std::vector<Complex> roots;
    for (int j = 1; j <= m.cols(); ++j) roots.push_back(m.at(1, j));
    return roots;
}

// Whether |p(z)| is negligible beside the size of its terms, evaluated by Horner's
// scheme in std::complex: independently of the root finder's own evaluation.
bool is_root(const std::vector<double>& coefficients, Complex root) {
    const std::complex<double> z(root.re, root.im);
    std::complex<double> value = 0;
    double scale = 0;
    for (double c : coefficients) {
        value = value * z + c;
        scale = scale * std::abs(z) + std::abs(c);
    }
    return std::abs(value) <= 1e-12 * scale;
}

TEST(PolynomialRoots, RootsInTheOrderFound) {
    const double h = std::sqrt(3.0) / 2;
    struct Case {
        std::vector<double> coefficients;
        std::vector<Complex> roots;
        // 0 where the exact doubles are checked: the iteration stops once a step falls
        // below 1e-6, so the last digits depend on the start sequence, the evaluation by
        // repeated multiplication, the snapping onto the axis and the polishing.
        double tolerance;
    };
    const Case cases[] = {
        {{1, -3, 2}, {{0x1.ffffffffffffep-1, 0}, {2, 0}}, 0},
        {{2, -4}, {{2, 0}}, 0},
        {{1, -6, 11, -6}, {{1, 0}, {0x1.ffffffffffff9p+0, 0}, {0x1.7fffffffffffcp+1, 0}}, 0},
        // A triple root converges slowly.
        {{1, -3, 3, -1}, {{0x1.ffff118d11b62p-1, 0}, {0x1.00003ba669c6cp+0, 0}, {0x1.00003b930d5e4p+0, 0}}, 0},
        // Zero roots come first, without iteration; the polishing polynomial then lacks x.
        {{1, 0, 0}, {{0, 0}, {0, 0}}, 0},
        {{1, -3, 2, 0}, {{0, 0}, {0x1.ffffffffffffep-1, 0}, {2, 0}}, 0},
        {{1, -2, 0, 0}, {{0, 0}, {0, 0}, {2, 0}}, 1e-12},
        // Roots on the imaginary axis: im / re is infinite and they form a pair; the
        // quadratic deflation of (x^2 + 1)(x^2 + 4) leaves x^2 + 4 exactly.
        {{1, 0, 1}, {{0, -1}, {0, 1}}, 0},
        {{1, 0, 5, 0, 4}, {{0, -1}, {0, 1}, {0, -2}, {0, 2}}, 0},
        {{1, 0, 0, -1}, {{1, 0}, {-0.5, -h}, {-0.5, h}}, 1e-12},
        {{1, 0, -2, 2}, {{0.8846461771193157, 0.5897428050222054},
                         {0.8846461771193157, -0.5897428050222054},
                         {-1.7692923542386314, 0}}, 1e-12},
        // 1 -+ 0.0002i: too far from the axis to be snapped onto it or taken as real.
        {{1, -2, 1.00000004}, {{1, -2e-4}, {1, 2e-4}}, 1e-12},
        // The derivative's squared modulus underflows: a line takes its root directly,
        // also when deflation leaves one.
        {{1e-200, 1}, {{-1e200, 0}}, 0},
        {{1e-170, 1e-20, 1e-20}, {{-1, 0}, {-1e150, 0}}, 0},
        {{1, 2, 3, 4, 5}, {{-1.2878154795576482, -0.8578967583284905},
                           {-1.2878154795576482, 0.8578967583284905},
                           {0.2878154795576482, -1.4160930801719078},
                           {0.2878154795576482, 1.4160930801719078}}, 1e-12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.coefficients));
        const auto result = polynomial_roots(row(c.coefficients));
        ASSERT_TRUE(result.ok()) << result.error();
        ASSERT_EQ(result.value().rows(), 1);
        const std::vector<Complex> roots = roots_of(result.value());
        ASSERT_EQ(roots.size(), c.roots.size());
        for (std::size_t k = 0; k < roots.size(); ++k) {
            SCOPED_TRACE("root " + std::to_string(k + 1));
            EXPECT_NEAR(roots[k].re, c.roots[k].re, c.tolerance);
            EXPECT_NEAR(roots[k].im, c.roots[k].im, c.tolerance);
            if (c.roots[k].im == 0) {
                EXPECT_EQ(roots[k].im, 0.0);  // real roots are exactly real
            }
            EXPECT_TRUE(is_root(c.coefficients, roots[k]));
        }
    }
}

TEST(PolynomialRoots, PairCloserToTheAxisIsTakenAsTwoRealRoots) {
    // 1 -+ 0.00005i: the converged point is snapped onto the real axis, where the
    // polishing cannot leave it, so both roots come out real.
    const auto result = polynomial_roots(row({1, -2, 1.0000000025}));
    ASSERT_TRUE(result.ok());
    for (const Complex& root : roots_of(result.value())) {
        EXPECT_NEAR(root.re, 1.0, 1e-4);
        EXPECT_EQ(root.im, 0.0);
    }
}

TEST(PolynomialRoots, LargestAcceptedVectorGivesAdjacentConjugatePairs) {
    std::vector<double> coefficients(20, 0.0);  // x^19 - 1
    coefficients.front() = 1;
    coefficients.back() = -1;
    const auto result = polynomial_roots(row(coefficients));
    ASSERT_TRUE(result.ok()) << result.error();
    const std::vector<Complex> roots = roots_of(result.value());
    ASSERT_EQ(roots.size(), 19u);
    int real_roots = 0;
    for (std::size_t k = 0; k < roots.size(); ++k) {
        SCOPED_TRACE("root " + std::to_string(k + 1));
        EXPECT_TRUE(is_root(coefficients, roots[k]));
        if (roots[k].im == 0) {
            ++real_roots;
        } else {
            ASSERT_LT(k + 1, roots.size());
            EXPECT_EQ(roots[k + 1], (Complex{roots[k].re, -roots[k].im}));
            ++k;
        }
    }
    EXPECT_EQ(real_roots, 1);
}

TEST(PolynomialRoots, ImaginaryPartsOfCoefficientsAreIgnored) {
    Matrix m(1, 3);
    m.at(1, 1) = {1, 5};
    m.at(1, 2) = {-3, 1};
    m.at(1, 3) = {2, -7};
    EXPECT_EQ(polynomial_roots(m).value(), polynomial_roots(row({1, -3, 2})).value());
}

TEST(PolynomialRoots, RootUnderflowingToTheOriginIsOneRealRoot) {
    // The root -1e-330 becomes 0 + 0i during the iteration: one real root, not a pair.
    const ZerpolOutcome outcome = Zerpol(std::vector<double>{1e10, 1e-320});
    EXPECT_EQ(outcome.status, ZerpolStatus::Ok);
    EXPECT_EQ(outcome.roots, (std::vector<Complex>{{0, 0}}));
}

TEST(PolynomialRoots, AStopCheckIsAskedBeforeEachStartAndEndsTheSearch) {
    const std::vector<double> coefficients = {1, -6, 11, -6};
    int asked = 0;
    EXPECT_EQ(Zerpol(coefficients, [&] { return ++asked == 2; }).status, ZerpolStatus::Stopped);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(polynomial_roots(row(coefficients), [] { return true; }).ok());
}

TEST(PolynomialRoots, LimitsAndFailures) {
    std::vector<double> degree36(37, 0.0);
    degree36.front() = 1;
    degree36.back() = -1;
    const std::vector<double> degree37(38, 1.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<double> coefficients;
        ZerpolStatus status;
        const char* message;  // from the matrix form, which takes at most 20 elements
    };
    const Case cases[] = {
        {"no coefficients", {}, ZerpolStatus::DegreeTooLow, "Error in Zerpol!\n"},
        {"one element", {5}, ZerpolStatus::DegreeTooLow, "Error in Zerpol: min degree 2\n"},
        {"degree 36", degree36, ZerpolStatus::Ok, "Error in Zerpol: max degree 20!\n"},
        {"degree 37", degree37, ZerpolStatus::DegreeTooHigh, "Error in Zerpol: max degree 20!\n"},
        {"21 elements", std::vector<double>(21, 1.0), ZerpolStatus::Ok, "Error in Zerpol: max degree 20!\n"},
        {"leading 0", {0, 1, 2}, ZerpolStatus::ZeroLeadingCoefficient, "Error in Zerpol!\n"},
        // The derivative's squared modulus overflows and every step is NaN.
        {"overflow", {1e200, 1}, ZerpolStatus::NoConvergence, "Error in Zerpol!\n"},
        {"not-a-number", {1, nan}, ZerpolStatus::NoConvergence, "Error in Zerpol!\n"},
        {"root beyond the doubles", {1e-300, 1e100}, ZerpolStatus::NoConvergence, "Error in Zerpol!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Zerpol(c.coefficients).status, c.status);
        const auto result = polynomial_roots(row(c.coefficients));
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.error(), c.message);
    }
}

}  // namespace
}  // namespace ostrac::numeric
