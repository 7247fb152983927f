#include "vm/value_print.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/test_session.h"
#include "support/test_values.h"

namespace ostrac {
namespace {

using numeric::Complex;
using numeric::Matrix;
using state::Operand;
using state::ValueType;
using vm::append_printed;

Operand real(double x) { return {ValueType::Real, {x, 0}, nullptr, nullptr}; }
Operand complex(double re, double im) { return {ValueType::Complex, {re, im}, nullptr, nullptr}; }
Operand text(std::string t) {
    return {ValueType::String, {}, std::make_shared<const std::string>(std::move(t)), nullptr};
}

Operand matrix(std::initializer_list<std::initializer_list<test::Element>> rows) {
    return {ValueType::Matrix, {}, nullptr, test::make_matrix(rows)};
}

std::string printed(const Operand& v, int coord_mode, int angle_unit) {
    std::string out;
    append_printed(out, v, coord_mode, angle_unit);
    return out;
}

TEST(ValuePrintTest, PrintedFormOfEachKind) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        int line;
        Operand value;
        int coord_mode, angle_unit;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, real(1.0 / 3.0), 0, 0, "0.3333333333"},
        {__LINE__, real(-0.0), 0, 0, "0"},
        {__LINE__, real(inf), 0, 0, "inf"},
        {__LINE__, real(-5), 1, 1, "-5"},  // the coordinate mode is not consulted
        {__LINE__, complex(1, -2), 0, 0, "1 -2i "},
        {__LINE__, complex(0, 2), 1, 1, "2@90 "},
        {__LINE__, complex(0, -1), 0, 0, "0 -1i "},
        {__LINE__, text("hello, world"), 0, 0, "hello, world"},
        {__LINE__, matrix({{1, 2}, {3, {0, 1}}}), 0, 0, "[ 1 , 2 ] \n[ 3 , 0+1i ] \n"},
        {__LINE__, matrix({{-5, {0, 2}}}), 1, 1, "[ 5@180 , 2@90 ] \n"},
        {__LINE__, {ValueType::Procedure, {}, nullptr, nullptr}, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        EXPECT_EQ(printed(c.value, c.coord_mode, c.angle_unit), c.expected);
    }
}

class ValuePrintConsoleTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    test::TestSession ts;
};

TEST_F(ValuePrintConsoleTest, EveryMatrixRowIsOnePaneLine) {
    struct Case {
        int line;
        std::vector<Operand> values;  // printed in turn, then the closing line break
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {__LINE__, {text("x="), real(5), complex(1, 1)}, {"x=51+1i "}},
        // The closing line break after a matrix stands alone: one empty line.
        {__LINE__, {matrix({{3}})}, {"[ 3 ] ", ""}},
        {__LINE__, {matrix({{1, 2}, {3, 4}})}, {"[ 1 , 2 ] ", "[ 3 , 4 ] ", ""}},
        {__LINE__, {text("M="), matrix({{1}, {2}}), text("end")}, {"M=[ 1 ] ", "[ 2 ] ", "end"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        for (const Operand& v : c.values) vm::print_value(s(), v);
        s().console_print("\n");
        EXPECT_EQ(ts.take_lines(), c.lines);
    }
}

TEST_F(ValuePrintConsoleTest, PrintsInTheSessionModes) {
    s().system_variables()[0].current = 1;  // degrees
    s().system_variables()[1].current = 1;  // polar
    vm::print_value(s(), complex(0, 2));
    vm::print_value(s(), real(-5));
    s().console_print("\n");
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"2@90 -5"});
}

}  // namespace
}  // namespace ostrac
