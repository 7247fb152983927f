#include "vm/builtins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "state/stack_ops.h"
#include "support/test_session.h"
#include "vm/data_files.h"
#include "vm/number_format.h"
#include "vm/operators.h"

namespace ostrac {
namespace {

using numeric::Complex;
using numeric::Matrix;
using session::FatalError;
using test::TestSession;
using state::Value;
using Handler = void (*)(state::Machine&);

Value f(double x) { return Value{x}; }
Value i(std::int32_t x) { return Value{state::IntCell{x}}; }
Value c(double re, double im) { return Value{Complex{re, im}}; }
Value str(std::string text) { return Value{std::make_shared<const std::string>(std::move(text))}; }

Value mat(std::initializer_list<std::initializer_list<Complex>> rows) {
    auto m = std::make_shared<Matrix>(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int r = 1;
    for (const auto& row : rows) {
        int col = 1;
        for (const Complex& z : row) m->at(r, col++) = z;
        ++r;
    }
    return Value{m};
}

// A result cell in the calculator's 8-digit form, e.g. "0.5", "complex 0+2i",
// "string '5 '", "[1 2 ; 3 4 ]".
std::string describe(const Value& v) {
    std::string out;
    if (const auto* d = state::get_if<double>(&v)) {
        vm::append_general(out, *d, 8);
    } else if (const auto* z = state::get_if<Complex>(&v)) {
        out = "complex ";
        vm::format_number(out, *z, 0, 0);
        out.pop_back();
    } else if (const auto* t = state::get_if<state::Text>(&v)) {
        out = "string '" + **t + "'";
    } else if (const auto* m = state::get_if<state::MatrixRef>(&v)) {
        out = "[";
        for (int r = 1; r <= (*m)->rows(); ++r) {
            if (r > 1) out += "; ";
            for (int col = 1; col <= (*m)->cols(); ++col) vm::format_number(out, (*m)->at(r, col), 0, 0);
        }
        out += "]";
    }
    return out;
}

struct ResultCase {
    int line;
    Handler handler;
    int angle_unit;  // 0 radians, 1 degrees, 2 grads
    std::vector<Value> args;
    std::string expected;
};

struct FailureCase {
    int line;
    Handler handler;
    std::vector<Value> cells;  // the arguments and their count, as a call pushes them
    std::string message;
};

class BuiltinTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }

    // Pushes the arguments and their count, as a call does, runs the handler
    // and returns the one cell it leaves.
    Value call(Handler handler, int angle_unit, const std::vector<Value>& args) {
        s().system_variable(0).current = static_cast<std::uint8_t>(angle_unit);
        for (const Value& v : args) state::push(s(), v);
        state::push_int(s(), static_cast<std::int32_t>(args.size()));
        handler(s());
        EXPECT_EQ(s().stack.depth(), 1) << "the arguments are consumed, one result is left";
        return state::pop(s());
    }

    void check(const std::vector<ResultCase>& cases) {
        for (const ResultCase& row : cases) {
            SCOPED_TRACE(row.line);
            EXPECT_EQ(describe(call(row.handler, row.angle_unit, row.args)), row.expected);
        }
    }

    // Runs the handler over `cells` and returns its error report.
    std::string failure(Handler handler, const std::vector<Value>& cells) {
        for (const Value& v : cells) state::push(s(), v);
        EXPECT_THROW(handler(s()), FatalError);
        s().stack.clear();
        const auto lines = ts.take_lines();
        return lines.empty() ? std::string("<nothing printed>") : lines.back();
    }

    std::string report(const std::string& message) {
        return message + " line=" + std::to_string(s().current_line);
    }

    TestSession ts;
};

TEST_F(BuiltinTest, TrigonometryUsesTheAngleUnitForRealsOnly) {
    check({
        {__LINE__, vm::op_sin, 1, {f(30)}, "0.5"},
        {__LINE__, vm::op_sin, 2, {f(100)}, "1"},
        {__LINE__, vm::op_cos, 1, {f(60)}, "0.5"},
        {__LINE__, vm::op_tan, 1, {c(45, 0)}, "1"},  // a zero imaginary part is a real
        {__LINE__, vm::op_asin, 1, {f(1)}, "90"},
        {__LINE__, vm::op_asin, 2, {i(1)}, "100"},
        {__LINE__, vm::op_acos, 0, {f(-1)}, "3.1415927"},
        {__LINE__, vm::op_atan, 1, {f(1)}, "45"},
        {__LINE__, vm::op_arg, 1, {c(0, 1)}, "90"},
        {__LINE__, vm::op_arg, 2, {f(-1)}, "200"},
        {__LINE__, vm::op_sin, 1, {c(0, 1)}, "complex 0+1.1752012i"},
        {__LINE__, vm::op_sin, 2, {c(1, 1)}, "complex 1.2984576+0.63496391i"},
        {__LINE__, vm::op_cos, 1, {c(1, 1)}, "complex 0.83373003 -0.98889771i"},
        {__LINE__, vm::op_cos, 1, {c(0, 1)}, "1.5430806"},
    });
}

TEST_F(BuiltinTest, HyperbolicExponentialLogarithmAndParts) {
    check({
        {__LINE__, vm::op_sinh, 1, {f(1)}, "1.1752012"},
        {__LINE__, vm::op_cosh, 1, {f(1)}, "1.5430806"},
        {__LINE__, vm::op_tanh, 1, {f(1)}, "0.76159416"},
        {__LINE__, vm::op_asinh, 0, {f(1)}, "0.88137359"},
        {__LINE__, vm::op_acosh, 0, {f(2)}, "1.3169579"},
        {__LINE__, vm::op_atanh, 0, {f(0.5)}, "0.54930614"},
        {__LINE__, vm::op_exp, 0, {f(1)}, "2.7182818"},
        {__LINE__, vm::op_exp, 0, {f(1000)}, "inf"},
        {__LINE__, vm::op_exp, 1, {c(1, 2)}, "complex -1.1312044+2.4717267i"},
        {__LINE__, vm::op_ln, 1, {f(-1)}, "complex 0+3.1415927i"},
        {__LINE__, vm::op_ln, 0, {c(0, -2)}, "complex 0.69314718 -1.5707963i"},
        {__LINE__, vm::op_ln, 0, {f(0)}, "-inf"},
        {__LINE__, vm::op_log10, 0, {i(1000)}, "3"},
        {__LINE__, vm::op_sqrt, 0, {f(4)}, "2"},
        {__LINE__, vm::op_sqrt, 0, {f(-4)}, "complex 1.2246468e-16+2i"},
        {__LINE__, vm::op_abs, 0, {c(3, 4)}, "5"},
        // Moduli whose squares leave the double range, and what is built on
        // them (mpmath: 1.41421356e+300, 9.99994434e-161, 690.775528).
        {__LINE__, vm::op_abs, 0, {f(-1e300)}, "1e+300"},
        {__LINE__, vm::op_abs, 0, {c(1e300, 1e300)}, "1.4142136e+300"},
        {__LINE__, vm::op_abs, 0, {c(3e-200, 4e-200)}, "5e-200"},
        {__LINE__, vm::op_sqrt, 0, {f(1e300)}, "1e+150"},
        {__LINE__, vm::op_sqrt, 0, {f(1e-320)}, "9.9999443e-161"},
        {__LINE__, vm::op_ln, 0, {f(1e300)}, "690.77553"},
        {__LINE__, vm::op_abs, 0, {mat({{{3, 0}, {4, 0}}, {{9, 0}, {9, 0}}})}, "5"},
        {__LINE__, vm::op_abs, 0, {mat({{{0, 1}, {2, 0}}})}, "1.7320508"},
        {__LINE__, vm::op_real, 0, {c(3, 4)}, "3"},
        {__LINE__, vm::op_im, 0, {c(3, 4)}, "4"},
        {__LINE__, vm::op_im, 0, {f(3)}, "0"},
    });
}

TEST_F(BuiltinTest, IntegerPartsRoundingAndFactorials) {
    check({
        {__LINE__, vm::op_int, 0, {f(2.7)}, "2"},
        {__LINE__, vm::op_int, 0, {f(-2.7)}, "-2"},
        {__LINE__, vm::op_int, 0, {f(2.9999999995)}, "3"},
        {__LINE__, vm::op_int, 0, {f(-2.9999999995)}, "-3"},
        {__LINE__, vm::op_int, 0, {f(2.999999998)}, "2"},
        {__LINE__, vm::op_int, 0, {f(3e9 + 0.5)}, "3e+09"},  // exact beyond the 32-bit range
        {__LINE__, vm::op_frac, 0, {f(-2.25)}, "-0.25"},
        {__LINE__, vm::op_frac, 0, {f(2.75)}, "0.75"},
        {__LINE__, vm::op_round, 0, {f(2.5), f(0)}, "3"},
        {__LINE__, vm::op_round, 0, {f(-2.5), f(0)}, "-2"},
        {__LINE__, vm::op_round, 0, {f(-2.6), i(0)}, "-3"},
        {__LINE__, vm::op_round, 0, {f(1234.5678), f(-2)}, "1234.57"},
        {__LINE__, vm::op_round, 0, {f(1234.5678), f(2)}, "1200"},
        {__LINE__, vm::op_fact, 0, {f(5)}, "120"},
        {__LINE__, vm::op_fact, 0, {f(-5)}, "120"},
        {__LINE__, vm::op_fact, 0, {f(5.9)}, "120"},
        {__LINE__, vm::op_fact, 0, {f(0)}, "1"},
        {__LINE__, vm::op_fact, 0, {f(170)}, "7.2574156e+306"},
        {__LINE__, vm::op_fact, 0, {f(171)}, "inf"},
        {__LINE__, vm::op_fact, 0, {f(-1e300)}, "inf"},
        {__LINE__, vm::op_npr, 0, {f(5), f(2)}, "20"},
        {__LINE__, vm::op_npr, 0, {f(5), f(7)}, "60"},  // fact(5) / fact(|5 - 7|)
        {__LINE__, vm::op_ncr, 0, {f(-5.5), f(2.9)}, "10"},
    });
    // As after a conversion to an integer, a zero integer part has no sign.
    EXPECT_FALSE(std::signbit(state::get<double>(call(vm::op_int, 0, {f(-0.5)}))));
}

TEST_F(BuiltinTest, MatricesStatisticsRootsUnitsAndText) {
    const Value v = mat({{{2, 0}, {4, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {7, 0}, {9, 0}}});
    const Value x = mat({{{1, 0}, {2, 0}, {3, 0}}});
    const Value y = mat({{{6, 0}, {4, 0}, {2, 0}}});
    check({
        {__LINE__, vm::op_inv, 0, {mat({{{0, 0}, {1, 0}}, {{1, 0}, {0, 0}}})}, "[0 1 ; 1 0 ]"},
        {__LINE__, vm::op_det, 0, {mat({{{0, 0}, {1, 0}}, {{1, 0}, {0, 0}}})}, "-1"},
        {__LINE__, vm::op_det, 0, {mat({{{0, 2}}})}, "complex 0+2i"},
        // Partial pivoting (mpmath: the inverse is [-1, 1; 1, -1e-20]); a real
        // determinant that overflows is inf.
        {__LINE__, vm::op_inv, 0, {mat({{{1e-20, 0}, {1, 0}}, {{1, 0}, {1, 0}}})}, "[-1 1 ; 1 -1e-20 ]"},
        {__LINE__, vm::op_det, 0, {mat({{{1e-20, 0}, {1, 0}}, {{1, 0}, {1, 0}}})}, "-1"},
        {__LINE__, vm::op_det, 0, {mat({{{1e200, 0}, {0, 0}, {0, 0}}, {{0, 0}, {1e200, 0}, {0, 0}}, {{0, 0}, {0, 0}, {1e200, 0}}})}, "inf"},
        {__LINE__, vm::op_trans, 0, {x}, "[1 ; 2 ; 3 ]"},
        {__LINE__, vm::op_rows, 0, {x}, "1"},
        {__LINE__, vm::op_cols, 0, {x}, "3"},
        {__LINE__, vm::op_sumx, 0, {v}, "40"},
        {__LINE__, vm::op_sumx2, 0, {v}, "232"},
        {__LINE__, vm::op_mean, 0, {v}, "5"},
        {__LINE__, vm::op_sdxn, 0, {v}, "2"},
        {__LINE__, vm::op_sdx, 0, {v}, "2.1380899"},
        {__LINE__, vm::op_sumxy, 0, {x, y}, "20"},
        {__LINE__, vm::op_cov, 0, {x, y}, "-1.3333333"},
        {__LINE__, vm::op_corr, 0, {x, y}, "-1"},
        {__LINE__, vm::op_zerpol, 0, {mat({{{1, 0}, {-3, 0}, {2, 0}}})}, "[1 2 ]"},
        {__LINE__, vm::op_cu, 0, {str("KM"), str("m")}, "1000"},
        {__LINE__, vm::op_len, 0, {str("abc")}, "3"},
        {__LINE__, vm::op_str, 0, {f(5)}, "string '5 '"},
        {__LINE__, vm::op_str, 0, {c(1, -2)}, "string '1 -2i '"},
    });
}

TEST_F(BuiltinTest, RefusedArguments) {
    const Value singular = mat({{{1, 0}, {2, 0}}, {{2, 0}, {4, 0}}});
    const std::vector<FailureCase> cases = {
        {__LINE__, vm::op_sin, {f(1), f(2), i(2)}, "Number of parameters is incorrect"},
        {__LINE__, vm::op_round, {f(1), i(1)}, "Number of parameters is incorrect"},
        {__LINE__, vm::op_tan, {c(0, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_sinh, {c(0, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_cosh, {c(1, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_tanh, {c(0, -1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_asinh, {c(0, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_acosh, {c(0, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_atanh, {c(0, 1), i(1)}, "Not implemented!"},
        {__LINE__, vm::op_asin, {c(0, 1), i(1)}, "float expected"},
        {__LINE__, vm::op_sin, {i(0), i(1)}, "float expected"},  // an int cell is not a number
        {__LINE__, vm::op_abs, {i(-3), i(1)}, "float expected"},
        {__LINE__, vm::op_abs, {str("x"), i(1)}, "float expected"},
        {__LINE__, vm::op_npr, {str("n"), f(2), i(2)}, "float expected"},
        {__LINE__, vm::op_abs, {mat({{{1, 1}, {1, 0}}}), i(1)}, "Abs for Complex vectors not supported!"},
        {__LINE__, vm::op_len, {f(5), i(1)}, "sSTRING expected"},
        {__LINE__, vm::op_inv, {f(5), i(1)}, "Incorrect type"},
        {__LINE__, vm::op_inv, {singular, i(1)}, "the matrix has not inverse"},
        {__LINE__, vm::op_det, {singular, i(1)}, "the matrix has not inverse"},
        {__LINE__, vm::op_inv, {mat({{{1, 0}, {2, 0}}}), i(1)}, "Invalid dimensions"},
        {__LINE__, vm::op_det, {mat({{{1, 0}}, {{2, 0}}}), i(1)}, "Invalid dimensions"},
        {__LINE__, vm::op_sumxy, {mat({{{1, 0}, {2, 0}}}), mat({{{1, 0}}}), i(2)}, "Invalid dimensions"},
        {__LINE__, vm::op_zerpol, {mat({{{0, 0}, {1, 0}, {2, 0}}}), i(1)}, "Error in Zerpol!"},
        {__LINE__, vm::op_cu, {str("m"), str("kg"), i(2)}, "Unit dimensions don't match"},
        {__LINE__, vm::op_cu, {str("furlong"), str("nothing"), i(2)}, "Source unit not found"},
        // Both arguments' types are checked before any value: the second argument,
        // popped first, fails before the first one's value is looked at.
        {__LINE__, vm::op_cu, {str("furlong"), f(5), i(2)}, "sSTRING expected"},
        {__LINE__, vm::op_cov, {mat({{{1, 0}, {2, 0}, {3, 0}}}), f(5), i(2)}, "Incorrect type"},
    };
    for (const FailureCase& row : cases) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(failure(row.handler, row.cells), report(row.message));
    }
}

// A Break pressed while a long built-in computes ends it as a Break ends a
// program between two instructions: "User Halted!", and no result.
TEST_F(BuiltinTest, ABreakEndsALongBuiltIn) {
    std::ofstream(ts.home.path() / "m.txt") << "1 2\n3 4\n";
    const Value square = mat({{{2, 0}, {1, 0}}, {{1, 0}, {3, 0}}});
    const std::vector<FailureCase> cases = {
        {__LINE__, vm::op_inv, {square, i(1)}, "User Halted!"},
        {__LINE__, vm::op_det, {square, i(1)}, "User Halted!"},
        {__LINE__, vm::op_mul, {square, square}, "User Halted!"},
        {__LINE__, vm::op_div, {square, square}, "User Halted!"},
        {__LINE__, vm::op_zerpol, {mat({{{1, 0}, {-3, 0}, {2, 0}}}), i(1)}, "User Halted!"},
        {__LINE__, vm::op_loaddata, {str("m.txt"), i(1)}, "User Halted!"},
        {__LINE__, vm::op_savedata, {square, str("out.txt"), i(2)}, "User Halted!"},
    };
    for (const FailureCase& row : cases) {
        SCOPED_TRACE(row.line);
        s().run_state = session::RunState::BreakRequested;
        EXPECT_EQ(failure(row.handler, row.cells), row.message);
    }
}

// A wrong count is refused before anything else is popped.
TEST_F(BuiltinTest, EveryHandlerChecksItsCountFirst) {
    const std::vector<Handler> handlers = {
        vm::op_inv,  vm::op_det,   vm::op_trans, vm::op_sin,   vm::op_cos,   vm::op_tan,   vm::op_sinh,
        vm::op_cosh, vm::op_tanh,  vm::op_asinh, vm::op_acosh, vm::op_atanh, vm::op_asin,  vm::op_acos,
        vm::op_atan, vm::op_abs,   vm::op_sqrt,  vm::op_frac,  vm::op_int,   vm::op_round, vm::op_exp,
        vm::op_ln,   vm::op_log10, vm::op_real,  vm::op_im,    vm::op_arg,   vm::op_rows,  vm::op_cols,
        vm::op_fact, vm::op_npr,   vm::op_ncr,   vm::op_len,   vm::op_sumx,  vm::op_sumx2, vm::op_sumxy,
        vm::op_mean, vm::op_sdxn,  vm::op_sdx,   vm::op_cov,   vm::op_corr,  vm::op_zerpol, vm::op_cu,
        vm::op_str,
    };
    for (std::size_t k = 0; k < handlers.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(failure(handlers[k], {f(1), i(0)}), report("Number of parameters is incorrect"));
    }
}

}  // namespace
}  // namespace ostrac
