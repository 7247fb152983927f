#include "numeric/statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace ostrac::numeric {
namespace {

Matrix row(std::initializer_list<Complex> elements) {
    Matrix m(1, static_cast<int>(elements.size()));
    int j = 1;
    for (const Complex& e : elements) m.at(1, j++) = e;
    return m;
}

TEST(Statistics, SingleVectorFunctions) {
    const Matrix v = row({{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}});
    EXPECT_EQ(sumx(v), (Complex{40, 0}));
    EXPECT_EQ(sumx2(v), (Complex{232, 0}));
    EXPECT_EQ(mean(v), (Complex{5, 0}));
    // (8 * 232 - 40^2) / 64 = 4 exactly, and the polar square root of 4 is exactly 2.
    EXPECT_EQ(sdxn(v), (Complex{2, 0}));
    EXPECT_NEAR(sdx(v).re, 2.1380899, 1e-7);
    EXPECT_EQ(sdx(v).im, 0.0);

    const Matrix single = row({{3.5, 0}});
    EXPECT_EQ(sdxn(single), (Complex{0, 0}));
    EXPECT_TRUE(std::isnan(sdx(single).re));  // zero divided by zero
}

TEST(Statistics, OnlyTheFirstRowIsRead) {
    Matrix m(2, 3);
    for (int j = 1; j <= 3; ++j) {
        m.at(1, j) = {static_cast<double>(j), 0};
        m.at(2, j) = {100, 100};
    }
    EXPECT_EQ(mean(m), (Complex{2, 0}));
    EXPECT_EQ(vector_abs(m).value(), std::sqrt(14.0));
}

TEST(Statistics, ComplexDataWithoutConjugation) {
    EXPECT_EQ(sumx2(row({{0, 1}, {1, 0}})), (Complex{0, 0}));
    EXPECT_EQ(mean(row({{1, 2}, {3, 4}})), (Complex{2, 3}));
    EXPECT_EQ(sumxy(row({{0, 1}}), row({{0, 1}})).value(), (Complex{-1, 0}));
    // (1i, -1i): the variance is -1 and the deviation its polar square root, with a
    // rounding residue in the real part.
    const Complex deviation = sdxn(row({{0, 1}, {0, -1}}));
    EXPECT_NEAR(deviation.re, 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(deviation.im, 1.0);
}

TEST(Statistics, TwoVectorFunctions) {
    const Matrix x = row({{1, 0}, {2, 0}, {3, 0}});
    const Matrix y = row({{2, 0}, {4, 0}, {6, 0}});
    EXPECT_EQ(sumxy(x, y).value(), (Complex{28, 0}));
    EXPECT_NEAR(cov(x, y).value().re, 4.0 / 3.0, 1e-12);
    EXPECT_EQ(cov(x, y).value().im, 0.0);
    EXPECT_NEAR(corr(x, y).value().re, 1.0, 1e-12);
    EXPECT_NEAR(corr(x, row({{3, 0}, {2, 0}, {1, 0}})).value().re, -1.0, 1e-12);

    const Matrix shorter = row({{1, 0}, {2, 0}});
    for (const auto& [a, b] : {std::pair{&x, &shorter}, std::pair{&shorter, &x}}) {
        EXPECT_EQ(sumxy(*a, *b).error(), "Invalid dimensions\n");
        EXPECT_EQ(cov(*a, *b).error(), "Invalid dimensions\n");
        EXPECT_EQ(corr(*a, *b).error(), "Invalid dimensions\n");
    }
}

TEST(Statistics, VectorNorm) {
    struct Case {
        const char* name;
        Matrix v;
        double norm;
    };
    const Case cases[] = {
        {"3 4", row({{3, 0}, {4, 0}}), 5.0},
        {"1i 1: the squares cancel", row({{0, 1}, {1, 0}}), 0.0},
        {"1i 2: real sum of squares 3", row({{0, 1}, {2, 0}}), std::sqrt(3.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = vector_abs(c.v);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value(), c.norm);
    }
    EXPECT_EQ(vector_abs(row({{1, 1}, {1, 0}})).error(), "Abs for Complex vectors not supported!\n");
    // A negative real sum of squares is no error: its square root is NaN.
    EXPECT_TRUE(std::isnan(vector_abs(row({{0, 1}, {0, 0}})).value()));
}

}  // namespace
}  // namespace ostrac::numeric
