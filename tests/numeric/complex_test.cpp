#include "numeric/complex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/reference_table.h"

namespace ostrac::numeric {
namespace {

struct BinaryCase {
    const char* name;
    Complex a, b, expected;
};

TEST(ComplexTest, MultiplicationAndDivision) {
    const BinaryCase products[] = {
        {"(1+2i)(3-1i)", {1, 2}, {3, -1}, {5, 5}},
        {"i*i", {0, 1}, {0, 1}, {-1, 0}},
        // Reals multiply as reals: no inf * 0 in a cross term.
        {"overflow", {1e200, 0}, {1e200, 0}, {INFINITY, 0}},
        {"inf*2", {INFINITY, 0}, {2, 0}, {INFINITY, 0}},
    };
    for (const auto& c : products) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(complex_mul(c.a, c.b), c.expected);
    }
    const BinaryCase quotients[] = {
        {"(1+2i)/(1+1i)", {1, 2}, {1, 1}, {1.5, 0.5}},
        {"1/(2i)", {1, 0}, {0, 2}, {0, -0.5}},
        {"(6+3i)/3", {6, 3}, {3, 0}, {2, 1}},
        // The textbook formula would give exactly 1+2i; the scaled form rounds t = -1/3.
        {"(5+5i)/(3-1i)", {5, 5}, {3, -1}, {1, 1.9999999999999998}},
        // The squared modulus 2e600 would overflow; the scaled form does not.
        {"huge/huge", {1e300, 1e300}, {1e300, 1e300}, {1, 0}},
    };
    for (const auto& c : quotients) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(complex_div(c.a, c.b), c.expected);
    }
}

TEST(ComplexTest, DivisionBranchEdges) {
    // With |r| = |s| both branches agree in value; only the sign of a zero result tells
    // them apart: t = r/s gives +0 for the real part, t = s/r would give -0.
    const Complex tie = complex_div({0, 0}, {-1, 1});
    EXPECT_FALSE(std::signbit(tie.re));
    EXPECT_TRUE(std::signbit(tie.im));
    const Complex by_zero = complex_div({1, 1}, {0, 0});
    EXPECT_TRUE(std::isnan(by_zero.re) && std::isnan(by_zero.im));
}

TEST(ComplexTest, PowerCleansPurelyImaginaryBasesOnly) {
    EXPECT_EQ(complex_pow({0, 2}, 2), (Complex{-4, 0}));
    const Complex cube = complex_pow({0, 2}, 3);
    EXPECT_EQ(cube, (Complex{0, -8}));
    EXPECT_EQ(complex_pow({0, 2}, -1), (Complex{0, -0.5}));  // odd negative power
    const Complex square = complex_pow({1, 1}, 2);
    EXPECT_NEAR(square.re, 0, 1e-15);
    EXPECT_DOUBLE_EQ(square.im, 2);
    // A negative real base keeps its rounding residue in the imaginary part.
    const Complex residue = complex_pow({-2, 0}, 2);
    EXPECT_DOUBLE_EQ(residue.re, 4);
    EXPECT_NE(residue.im, 0.0);
    EXPECT_NEAR(residue.im, 0, 1e-14);
}

TEST(ComplexTest, SquareRootByThePolarMethod) {
    EXPECT_EQ(complex_sqrt({-4, 0}), (Complex{1.2246467991473532e-16, 2}));
    EXPECT_EQ(complex_sqrt({4, 0}), (Complex{2, 0}));
    const Complex r = complex_sqrt({0, 2});
    EXPECT_DOUBLE_EQ(r.re, 1);
    EXPECT_DOUBLE_EQ(r.im, 1);
}

// Moduli whose squares overflow or underflow, and the square root and power
// built on them, against mpmath's values.
TEST(ComplexTest, ModulusHoldsOverTheWholeRange) {
    const auto rows = test::read_reference_table("modulus");
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0] + " " + row[1]);
        const Complex z{test::reference_number(row[0]), test::reference_number(row[1])};
        const double modulus = test::reference_number(row[2]);
        const Complex root{test::reference_number(row[3]), test::reference_number(row[4])};
        EXPECT_LE(test::in_ulps(complex_abs(z) - modulus, modulus), 1);
        EXPECT_EQ(to_polar(z).modulus, complex_abs(z));
        // The polar method rounds the angle's cosine and sine: a few units of
        // the root's modulus in each part.
        const double root_modulus = std::sqrt(modulus);
        for (const Complex got : {complex_sqrt(z), complex_pow(z, 0.5)}) {
            EXPECT_LE(test::in_ulps(got.re - root.re, root_modulus), 4);
            EXPECT_LE(test::in_ulps(got.im - root.im, root_modulus), 4);
        }
    }
}

TEST(ComplexTest, ModulusAndPolarForm) {
    EXPECT_EQ(complex_abs({3, 4}), 5);
    EXPECT_EQ(complex_abs({-3, -4}), 5);
    const Polar p = to_polar({-1, 0});
    EXPECT_EQ(p.modulus, 1);
    EXPECT_EQ(p.argument, std::numbers::pi);
    EXPECT_EQ(to_polar({0, -2}).argument, -std::numbers::pi / 2);
}

}  // namespace
}  // namespace ostrac::numeric
