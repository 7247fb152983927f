#include "numeric/matrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>

#include "support/reference_table.h"

namespace ostrac::numeric {
namespace {

// Lets a table entry be written as a real number or as {re, im}.
struct Element {
    Element(double re) : z{re, 0} {}  // NOLINT(google-explicit-constructor)
    Element(double re, double im) : z{re, im} {}
    Complex z;
};

Matrix make(std::initializer_list<std::initializer_list<Element>> rows) {
    Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (const Element& e : row) m.at(i, j++) = e.z;
        ++i;
    }
    return m;
}

TEST(MatrixTest, ElementWiseSumDifferenceAndScale) {
    const Matrix a = make({{1, 2}, {3, {4, 1}}});
    const Matrix b = make({{10, 20}, {30, {40, 2}}});
    EXPECT_EQ(matrix_add(a, b, 1), make({{11, 22}, {33, {44, 3}}}));
    EXPECT_EQ(matrix_add(a, b, -1), make({{-9, -18}, {-27, {-36, -1}}}));
    EXPECT_EQ(matrix_add(make({{2}}), make({{3}}), 1), make({{5}}));  // 1 by 1 stays a matrix
    EXPECT_FALSE(matrix_add(a, make({{1, 2, 3}, {4, 5, 6}}), 1));
    EXPECT_FALSE(matrix_add(a, make({{1, 2}}), 1));
    EXPECT_EQ(matrix_scale(make({{1, {0, 1}}, {2, -3}}), {0, 2}),
              make({{{0, 2}, {-2, 0}}, {{0, 4}, {0, -6}}}));
}

TEST(MatrixTest, ProductShapesAndValues) {
    const Matrix a = make({{1, 2, 3}, {4, 5, 6}});
    const Matrix b = make({{7, 8}, {9, 10}, {11, 12}});
    EXPECT_EQ(matrix_mul(a, b), make({{58, 64}, {139, 154}}));
    EXPECT_EQ(matrix_mul(b, a), make({{39, 54, 69}, {49, 68, 87}, {59, 82, 105}}));
    EXPECT_FALSE(matrix_mul(a, a));
    EXPECT_EQ(matrix_mul(make({{{0, 1}}}), make({{{0, 1}}})), make({{-1}}));
    // A row times a column is an ordinary 1 by 1 product.
    EXPECT_EQ(matrix_mul(make({{1, 2, 3}}), make({{4}, {5}, {6}})), make({{32}}));
    // Two rows of equal length: the dot product 4 + 10 - 18 first, then the other products.
    EXPECT_EQ(matrix_mul(make({{1, 2, {0, 3}}}), make({{4, 5, {0, 6}}})), make({{-4, 10, -18}}));
}

TEST(MatrixTest, ProductSumsTermsInIndexOrder) {
    // 1 + 1e100 rounds to 1e100, so summing from the first term gives 0, from the last 1.
    const Matrix row = make({{1, 1e100, -1e100}});
    EXPECT_EQ(matrix_mul(row, make({{1}, {1}, {1}})), make({{0}}));
    EXPECT_EQ(matrix_mul(row, make({{1, 1, 1}}))->at(1, 1), (Complex{0, 0}));
}

TEST(MatrixTest, InverseAndDeterminantExchangeRowsForTheLargestPivot) {
    struct Case {
        const char* name;
        Matrix a, inverse;
        Complex det;
    };
    const Case cases[] = {
        {"swap", make({{0, 1}, {1, 0}}), make({{0, 1}, {1, 0}}), -1},
        {"no exchange", make({{2, 0}, {1, 4}}), make({{0.5, 0}, {-0.125, 0.25}}), 8},
        {"exchange", make({{2, 1}, {4, 3}}), make({{1.5, -0.5}, {-2, 1}}), 2},
        {"diagonal", make({{2, 0, 0}, {0, 4, 0}, {0, 0, {0, 1}}}),
         make({{0.5, 0, 0}, {0, 0.25, 0}, {0, 0, {0, -1}}}), {0, 8}},
        // Rows 1 and 3 exchange places; row 2 stays.
        {"reversal", make({{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}),
         make({{0, 0, 1}, {0, 1, 0}, {1, 0, 0}}), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(matrix_inverse(c.a).value, c.inverse);
        EXPECT_EQ(matrix_det(c.a).value, c.det);
    }
}

// Matrices on which taking the first non-zero pivot loses the result, and
// permutations whose determinants carry the exchanges' sign, against mpmath.
TEST(MatrixTest, InverseAndDeterminantMatchTheReference) {
    const auto rows = test::read_reference_table("inverses");
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        const int n = std::stoi(row[1]);
        std::size_t field = 2;
        const auto next = [&] {
            const Complex z{test::reference_number(row[field]), test::reference_number(row[field + 1])};
            field += 2;
            return z;
        };
        Matrix a(n, n), expected(n, n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) a.at(i, j) = next();
        double largest = 0;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                expected.at(i, j) = next();
                largest = std::max(largest, complex_abs(expected.at(i, j)));
            }
        }
        const Complex det = next();
        const auto inverse = matrix_inverse(a).value;
        ASSERT_TRUE(inverse);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                SCOPED_TRACE(testing::Message() << i << "," << j);
                EXPECT_LE(complex_abs(complex_sub(inverse->at(i, j), expected.at(i, j))), 1e-14 * largest);
            }
        }
        const auto got = matrix_det(a).value;
        ASSERT_TRUE(got);
        EXPECT_LE(complex_abs(complex_sub(*got, det)), 1e-14 * complex_abs(det));
    }
}

TEST(MatrixTest, InverseOfComplexMatrixTimesMatrixIsIdentity) {
    const Matrix a = make({{{1, 1}, 2, {0, -3}}, {0.5, {2, 2}, 1}, {{0, 1}, 3, 4}});
    const auto inv = matrix_inverse(a).value;
    ASSERT_TRUE(inv);
    const Matrix product = *matrix_mul(a, *inv);
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            SCOPED_TRACE(testing::Message() << i << "," << j);
            EXPECT_NEAR(product.at(i, j).re, i == j ? 1 : 0, 1e-14);
            EXPECT_NEAR(product.at(i, j).im, 0, 1e-14);
        }
    }
}

TEST(MatrixTest, SingularAndNonSquareMatricesHaveNoInverseOrDeterminant) {
    const struct {
        const char* name;
        Matrix a;
        EliminationError error;
    } cases[] = {
        {"dependent rows", make({{1, 2}, {2, 4}}), EliminationError::NoInverse},
        {"zero column", make({{0, 1}, {0, 2}}), EliminationError::NoInverse},
        {"zero last pivot", make({{1, 1}, {1, 1}}), EliminationError::NoInverse},
        {"2 by 3", make({{1, 2, 3}, {4, 5, 6}}), EliminationError::NotSquare},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const InverseResult inv = matrix_inverse(c.a);
        EXPECT_FALSE(inv.value);
        EXPECT_EQ(inv.error, c.error);
        const DeterminantResult det = matrix_det(c.a);
        EXPECT_FALSE(det.value);
        EXPECT_EQ(det.error, c.error);
    }
}

// The check is asked once per pivot or product row, and its first yes ends the work.
TEST(MatrixTest, AStopCheckIsAskedPerBlockAndEndsTheWorkAtItsFirstYes) {
    const Matrix a = make({{2, 1, 0, 0}, {1, 2, 1, 0}, {0, 1, 2, 1}, {0, 0, 1, 2}});
    struct Case {
        const char* name;
        void (*compute)(const Matrix&, const StopCheck&);
    };
    const Case cases[] = {
        {"inverse", [](const Matrix& m, const StopCheck& stop) { matrix_inverse(m, stop); }},
        {"determinant", [](const Matrix& m, const StopCheck& stop) { matrix_det(m, stop); }},
        {"product", [](const Matrix& m, const StopCheck& stop) { matrix_mul(m, m, stop); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const int yes_at : {1, 3, 0}) {  // 0: never
            int asked = 0;
            c.compute(a, [&] { return ++asked == yes_at; });
            EXPECT_EQ(asked, yes_at == 0 ? 4 : yes_at);
        }
    }
}

TEST(MatrixTest, TransposeRowAndColumnExtraction) {
    EXPECT_EQ(matrix_transpose(make({{1, 2, 3}})), make({{1}, {2}, {3}}));
    const Matrix a = make({{1, 2}, {3, 4}, {5, {6, 1}}});
    EXPECT_EQ(matrix_transpose(a), make({{1, 3, 5}, {2, 4, {6, 1}}}));
    EXPECT_EQ(matrix_row(a, 3), make({{5, {6, 1}}}));
    EXPECT_EQ(matrix_column(a, 2), make({{2, 4, {6, 1}}}));  // a row vector
}

}  // namespace
}  // namespace ostrac::numeric
