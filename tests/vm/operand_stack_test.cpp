#include <gtest/gtest.h>

#include <cmath>

#include "support/test_session.h"
#include "vm/stack_ops.h"
#include "vm/symbols.h"

namespace ostrac {
namespace {

using session::FatalError;
using test::TestSession;

class OperandStackTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    // The report line of the fatal error raised by `action`.
    template <class F>
    std::string fatal_report(F action) {
        ts.take_lines();
        EXPECT_THROW(action(), FatalError);
        auto lines = ts.take_lines();
        return lines.empty() ? std::string("<nothing printed>") : lines.back();
    }
    std::int32_t variable(const char* name, double value) {
        const auto index = vm::lookup_or_create(s(), name, 0);
        vm::set_float(s(), index, value);
        return index;
    }

    TestSession ts;
};

TEST_F(OperandStackTest, HoldsNinetyNineCellsAndRefusesTheHundredth) {
    for (int i = 0; i < 99; ++i) vm::push_float(s(), i);
    EXPECT_EQ(s().stack.depth(), 99);
    EXPECT_EQ(fatal_report([&] { vm::push_float(s(), 99); }), "MAXSTACK Reached!! line=0");
}

TEST_F(OperandStackTest, PopFromEmptyStackStops) {
    EXPECT_EQ(fatal_report([&] { vm::pop(s()); }), "error bsp<0 line=0");
    EXPECT_EQ(s().stack.depth(), 0);
}

TEST_F(OperandStackTest, PopIntAcceptsIntsAndFloatVariablesOnly) {
    vm::push_int(s(), 7);
    EXPECT_EQ(vm::pop_int(s()), 7);

    vm::push_id(s(), variable("a", 2.7));
    EXPECT_EQ(vm::pop_int(s()), 2);
    vm::push_id(s(), variable("b", -2.5));
    EXPECT_EQ(vm::pop_int(s()), -3);

    EXPECT_EQ(fatal_report([&] {
                  vm::push_float(s(), 2.0);
                  vm::pop_int(s());
              }),
              "int expected line=0");
}

TEST_F(OperandStackTest, PopRealAndPopNumberTakeTheirKinds) {
    vm::push_int(s(), 3);
    EXPECT_EQ(vm::pop_real(s()), 3.0);
    vm::push_number(s(), {1.0, 2.0});
    EXPECT_EQ(vm::pop_number(s()), (numeric::Complex{1.0, 2.0}));

    EXPECT_EQ(fatal_report([&] {
                  vm::push_number(s(), {1.0, 2.0});
                  vm::pop_real(s());
              }),
              "float expected line=0");
    EXPECT_EQ(fatal_report([&] {
                  vm::push_int(s(), 1);
                  vm::pop_number(s());
              }),
              "float expected line=0");
    EXPECT_EQ(fatal_report([&] {
                  vm::push_text(s(), std::string("x"));
                  vm::pop_number(s());
              }),
              "float expected line=0");
}

TEST_F(OperandStackTest, ZeroImaginaryPartIsPushedAsFloat) {
    vm::push_number(s(), {2.0, 0.0});
    EXPECT_EQ(vm::tag_of(s().stack.top()), vm::ValueTag::Float);
    vm::push_number(s(), {2.0, -0.0});
    EXPECT_EQ(vm::tag_of(s().stack.top()), vm::ValueTag::Float);
    vm::push_number(s(), {2.0, 1e-300});
    EXPECT_EQ(vm::tag_of(s().stack.top()), vm::ValueTag::Complex);
}

TEST_F(OperandStackTest, PopOperandClassifiesEveryCell) {
    struct Case {
        int line;
        vm::Value cell;
        vm::ValueType type;
        double re;
    };
    const Case cases[] = {
        {__LINE__, vm::Value{1.5}, vm::ValueType::Real, 1.5},
        {__LINE__, vm::Value{vm::IntCell{4}}, vm::ValueType::Real, 4.0},
        {__LINE__, vm::Value{numeric::Complex{3.0, 0.0}}, vm::ValueType::Real, 3.0},
        {__LINE__, vm::Value{numeric::Complex{3.0, 1.0}}, vm::ValueType::Complex, 3.0},
        {__LINE__, vm::Value{vm::BlockCell{12}}, vm::ValueType::Real, 12.0},
        {__LINE__, vm::Value{vm::GosubCell{40}}, vm::ValueType::Real, 40.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        vm::push(s(), c.cell);
        const vm::Operand op = vm::pop_operand(s());
        EXPECT_EQ(op.type, c.type);
        EXPECT_EQ(op.number.re, c.re);
    }
}

TEST_F(OperandStackTest, ReadingAStringVariableNeverTakesItsText) {
    const auto index = vm::lookup_or_create(s(), "s", 0);
    s().symbols[index].type = vm::ValueType::String;
    s().symbols[index].text = std::make_shared<const std::string>("abc");

    for (int i = 0; i < 2; ++i) {
        vm::push_id(s(), index);
        EXPECT_EQ(*vm::pop_string(s()), "abc");
    }
    EXPECT_EQ(*s().symbols[index].text, "abc");
    EXPECT_EQ(s().symbols[index].text.use_count(), 1) << "popped copies were released";
}

TEST_F(OperandStackTest, TypedPopsReportTheirOwnMessages) {
    struct Case {
        int line;
        void (*pop)(session::Session&);
        const char* report;
    };
    const Case cases[] = {
        {__LINE__, [](session::Session& x) { vm::pop_id(x); }, "sID expected line=0"},
        {__LINE__, [](session::Session& x) { vm::pop_string(x); }, "sSTRING expected line=0"},
        {__LINE__, [](session::Session& x) { vm::pop_matrix(x); }, "Incorrect type line=0"},
        {__LINE__, [](session::Session& x) { vm::pop_block(x); }, "waiting for addr1 line=0"},
        {__LINE__, [](session::Session& x) { vm::pop_gosub(x); }, "RETURN without GOSUB line=0"},
        {__LINE__, [](session::Session& x) { vm::pop_loop_frame(x); },
         "Stack Error, waiting for STACKBLOCK line=0"},
        {__LINE__, [](session::Session& x) { vm::expect_args(x, 2); },
         "Number of parameters is incorrect line=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        vm::push_int(s(), 1);
        EXPECT_EQ(fatal_report([&] { c.pop(s()); }), c.report);
    }
}

TEST_F(OperandStackTest, ReverseAndInsertBelowRearrangeTheTopCells) {
    auto tops = [&](int n) {
        std::vector<double> out;
        for (int i = s().stack.depth() - n; i < s().stack.depth(); ++i)
            out.push_back(vm::get<double>(s().stack.at(i)));
        return out;
    };
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0}) vm::push_float(s(), v);
    s().stack.reverse(4);
    EXPECT_EQ(tops(5), (std::vector<double>{1, 5, 4, 3, 2}));
    s().stack.reverse(5);
    EXPECT_EQ(tops(5), (std::vector<double>{2, 3, 4, 5, 1}));

    // A call puts its return frame under its three arguments; a string
    // argument keeps its text when moved up.
    vm::push_text(s(), std::string("arg"));
    ASSERT_TRUE(s().stack.insert_below(3, vm::ReturnOffsetCell{7}, vm::BlockCell{9}));
    ASSERT_EQ(s().stack.depth(), 8);
    EXPECT_EQ(vm::get<vm::ReturnOffsetCell>(s().stack.at(3)).offset, 7);
    EXPECT_EQ(vm::get<vm::BlockCell>(s().stack.at(4)).value, 9);
    EXPECT_EQ(vm::get<double>(s().stack.at(5)), 5.0);
    EXPECT_EQ(vm::get<double>(s().stack.at(6)), 1.0);
    EXPECT_EQ(*vm::get<vm::Text>(s().stack.at(7)), "arg");

    // Two more cells would reach the capacity: nothing moves.
    while (s().stack.depth() < vm::OperandStack::capacity - 2) vm::push_float(s(), 0.0);
    const int depth = s().stack.depth();
    EXPECT_FALSE(s().stack.insert_below(1, vm::ReturnOffsetCell{1}, vm::BlockCell{1}));
    EXPECT_EQ(s().stack.depth(), depth);
}

}  // namespace
}  // namespace ostrac
