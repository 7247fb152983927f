#include "vm/operators.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/test_session.h"
#include "support/test_values.h"
#include "vm/assignment.h"

namespace ostrac {
namespace {

using numeric::Complex;
using numeric::Matrix;
using state::Value;
using OpFn = void (*)(state::Machine&);

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

using test::c;
using test::describe;
using test::f;
using test::i;
using test::mat;
using test::str;

class OperatorTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }

    // The single result the operator leaves, described, or the report line of its error.
    std::string outcome(OpFn op, const std::vector<Value>& operands) {
        for (const Value& v : operands) state::push(s(), v);
        ts.take_lines();
        try {
            op(s());
        } catch (const session::FatalError&) {
            s().stack.clear();
            const auto lines = ts.take_lines();
            return lines.empty() ? "<nothing printed>" : lines.back();
        }
        EXPECT_EQ(s().stack.depth(), 1) << "operands consumed, one result left";
        return describe(state::pop(s()));
    }

    // A global variable holding `v`, as an identifier cell.
    Value var(const char* name, const Value& v) {
        const auto index = state::lookup_or_create(s(), name, 0);
        vm::store_value(s(), index, v, false);
        return Value{state::IdentCell{index}};
    }

    test::TestSession ts;
};

struct Case {
    int line;
    OpFn op;
    std::vector<Value> operands;
    std::string expected;
};

TEST_F(OperatorTest, ResultsAndFailuresByKindPair) {
    const Value text_var = var("t", str("ab"));
    // Variables of value type Complex keep that kind even with an imaginary part of 0.
    const Value zero_c = var("zc", c(0, 1));
    const Value two_c = var("twoc", c(2, 1));
    s().symbols[state::get<state::IdentCell>(zero_c).index].number = {0, 0};
    s().symbols[state::get<state::IdentCell>(two_c).index].number = {2, 0};
    const std::string unsupported = "Unsupported operator for these types line=0";
    const std::string by_zero = "Error division_by_zero  line=0";
    const std::string incorrect = "Incorrect type line=0";
    const std::string dims = "Invalid dimensions line=0";
    const std::vector<Case> cases = {
        {__LINE__, vm::op_add, {c(1, 2), c(1, -2)}, "float 2"},
        {__LINE__, vm::op_add, {str("ab"), str("cd")}, "string abcd"},
        {__LINE__, vm::op_add, {text_var, text_var}, "string abab"},
        {__LINE__, vm::op_add, {mat({{1, 2}}), mat({{10, {0, 1}}})}, "matrix [11 (2,1)]"},
        {__LINE__, vm::op_sub, {mat({{5}, {5}}), mat({{1}, {2}})}, "matrix [4; 3]"},
        {__LINE__, vm::op_mul, {f(1e308), f(10)}, "float inf"},
        {__LINE__, vm::op_mul, {c(1, 2), c(3, -1)}, "complex 5 5"},
        {__LINE__, vm::op_mul, {f(2), mat({{1, {0, 1}}})}, "matrix [2 (0,2)]"},
        {__LINE__, vm::op_mul, {mat({{1, 2}, {3, 4}}), mat({{5}, {6}})}, "matrix [17; 39]"},
        {__LINE__, vm::op_mul, {mat({{1, 2, 3}}), mat({{4, 5, 6}})}, "float 32"},
        {__LINE__, vm::op_mul, {mat({{2}}), mat({{1, 2, 3}})}, "float 2"},  // both one row
        {__LINE__, vm::op_mul, {mat({{1, 2, 3}}), mat({{4}, {5}, {6}})}, "matrix [32]"},
        {__LINE__, vm::op_div, {f(inf), f(2)}, "float inf"},
        {__LINE__, vm::op_div, {f(1), c(0, 2)}, "complex 0 -0.5"},
        {__LINE__, vm::op_div, {mat({{6}}), mat({{2}})}, "matrix [3]"},
        {__LINE__, vm::op_div, {mat({{2, 4}}), f(2)}, "matrix [1 2]"},
        {__LINE__, vm::op_div, {f(2), mat({{0, 1}, {1, 0}})}, "matrix [0 2; 2 0]"},
        {__LINE__, vm::op_pow, {c(0, 2), f(2)}, "float -4"},
        {__LINE__, vm::op_mod, {f(7), f(0)}, "float 0"},
        {__LINE__, vm::op_mod, {f(-7), f(3)}, "float -1"},
        {__LINE__, vm::op_mod, {f(7), f(inf)}, "float 7"},
        {__LINE__, vm::op_mod, {f(inf), f(3)}, "float 0"},
        {__LINE__, vm::op_cross, {mat({{1, 2, 3}}), mat({{4, 5, 6}})}, "matrix [-3 6 -3]"},
        {__LINE__, vm::op_ne, {f(nan), f(nan)}, "int 1"},
        {__LINE__, vm::op_eq, {c(1, 2), c(1, 2)}, "int 1"},
        {__LINE__, vm::op_eq, {str("abc"), str("ABC")}, "int 1"},
        {__LINE__, vm::op_eq, {str("@"), str("`")}, "int 0"},  // only a..z fold
        {__LINE__, vm::op_gt, {str("abc"), str("zz")}, "int 1"},
        {__LINE__, vm::op_lt, {str("b"), str("a")}, "int 0"},
        {__LINE__, vm::op_or, {f(0), f(-0.5)}, "int 1"},
        {__LINE__, vm::op_and, {f(0), f(1)}, "int 0"},
        {__LINE__, vm::op_and, {i(1), f(2)}, "int 1"},  // comparison results are int cells
        {__LINE__, vm::op_sub, {str("ab"), str("cd")}, unsupported},
        {__LINE__, vm::op_mul, {str("ab"), f(2)}, unsupported},
        {__LINE__, vm::op_add, {mat({{1}}), f(1)}, unsupported},
        {__LINE__, vm::op_add, {mat({{1, 2}}), mat({{1, 2, 3}})}, dims},
        {__LINE__, vm::op_pow, {f(2), c(0, 1)}, incorrect},
        {__LINE__, vm::op_div, {f(1), f(0)}, by_zero},
        {__LINE__, vm::op_div, {f(1), zero_c}, by_zero},
        {__LINE__, vm::op_div, {f(inf), f(-inf)}, by_zero},  // invalid quotient
        {__LINE__, vm::op_div, {f(1e308), f(1e-10)}, by_zero},  // overflowing quotient
        {__LINE__, vm::op_div, {mat({{1}}), f(1e-320)}, by_zero},  // reciprocal overflows
        {__LINE__, vm::op_div, {f(1), mat({{1, 2}, {2, 4}})}, "the matrix has not inverse line=0"},
        {__LINE__, vm::op_div, {f(2), mat({{1, 2}})}, dims},  // not square
        {__LINE__, vm::op_eq, {two_c, f(2)}, unsupported},  // Complex and Real never compare
        {__LINE__, vm::op_gt, {c(1, 2), c(0, 1)}, unsupported},
        {__LINE__, vm::op_or, {str("a"), str("b")}, unsupported},
        {__LINE__, vm::op_cross, {mat({{1, 2}}), mat({{1, 2, 3}})}, "Type incorrect line=0"},
        {__LINE__, vm::op_neg, {c(1, -2)}, "complex -1 2"},
        {__LINE__, vm::op_neg, {str("a")}, unsupported},
        {__LINE__, vm::op_add, {str(std::string(200, 'a')), str(std::string(54, 'b'))},
         "string " + std::string(200, 'a') + std::string(54, 'b')},
        {__LINE__, vm::op_add, {str(std::string(200, 'a')), str(std::string(55, 'b'))},
         "String too long: a string holds at most 254 characters line=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        EXPECT_EQ(outcome(c.op, c.operands), c.expected);
    }
}

// MOD takes an integer shortcut for whole numbers of 32 bits; its results
// must be fmod's to the bit, the sign of zero remainders included.
TEST_F(OperatorTest, ModMatchesFmodBitForBit) {
    const double values[] = {0.0, -0.0, 1, -1, 2, -2, 3, 7, -7, 10, -10, 12.5, -12.5, 0.25, 1e9, -1e9,
                             2147483647.0, -2147483647.0, 2147483648.0, -2147483648.0, 4294967296.0, 1e300};
    for (double a : values) {
        for (double b : values) {
            if (b == 0.0 || std::isinf(a)) continue;
            state::push_float(s(), a);
            state::push_float(s(), b);
            vm::op_mod(s());
            const double got = state::pop_real(s());
            const double want = std::fmod(a, b);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
                << a << " mod " << b << ": " << got << " instead of " << want;
        }
    }
}

TEST_F(OperatorTest, ZeroImaginaryPartCollapsesToAFloat) {
    // 2 = 2 + 3i - 3i
    state::push_float(s(), 2);
    state::push_float(s(), 2);
    state::push_number(s(), {0, 3});
    vm::op_add(s());
    state::push_number(s(), {0, 3});
    vm::op_sub(s());
    EXPECT_EQ(describe(s().stack.top()), "float 2");
    EXPECT_EQ(outcome(vm::op_eq, {}), "int 1");
}

TEST_F(OperatorTest, RealPowerOfANegativeBaseIsNaNNotAComplexRoot) {
    state::push_float(s(), -8);
    state::push_float(s(), 1.0 / 3.0);
    vm::op_pow(s());
    EXPECT_TRUE(std::isnan(state::get<double>(s().stack.top())));
}

TEST_F(OperatorTest, PolarTakesTheAngleInTheCurrentUnit) {
    const struct {
        int line, unit;
        double modulus, angle, re, im;
    } cases[] = {
        {__LINE__, 1, 3, 90, 0, 3},
        {__LINE__, 1, 2, -180, -2, 0},
        {__LINE__, 2, 1, 50, std::sqrt(0.5), std::sqrt(0.5)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        s().system_variables()[0].current = static_cast<std::uint8_t>(c.unit);
        state::push_float(s(), c.modulus);
        state::push_float(s(), c.angle);
        vm::op_polar(s());
        const Complex z = state::pop_number(s());
        EXPECT_NEAR(z.re, c.re, 1e-14 * c.modulus);  // pi is carried to 15 digits
        EXPECT_NEAR(z.im, c.im, 1e-14 * c.modulus);
    }
    s().system_variables()[0].current = 1;
    EXPECT_EQ(outcome(vm::op_polar, {f(2), f(0)}), "float 2");
}

}  // namespace
}  // namespace ostrac
