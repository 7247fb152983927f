#include <gtest/gtest.h>

#include <cmath>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

using session::FatalError;
using test::TestSession;

class OperandStackTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    std::int32_t variable(const char* name, double value) {
        const auto index = state::lookup_or_create(s(), name, 0);
        state::set_float(s(), index, value);
        return index;
    }

    TestSession ts;
};

TEST_F(OperandStackTest, HoldsNinetyNineCellsAndRefusesTheHundredth) {
    for (int i = 0; i < 99; ++i) state::push_float(s(), i);
    EXPECT_EQ(s().stack.depth(), 99);
    EXPECT_EQ(ts.fatal_report([&] { state::push_float(s(), 99); }), "MAXSTACK Reached!! line=0");
}

TEST_F(OperandStackTest, PopFromEmptyStackStops) {
    EXPECT_EQ(ts.fatal_report([&] { state::pop(s()); }), "error bsp<0 line=0");
    EXPECT_EQ(s().stack.depth(), 0);
}

TEST_F(OperandStackTest, PopIntAcceptsIntsAndFloatVariablesOnly) {
    state::push_int(s(), 7);
    EXPECT_EQ(state::pop_int(s()), 7);

    state::push_id(s(), variable("a", 2.7));
    EXPECT_EQ(state::pop_int(s()), 2);
    state::push_id(s(), variable("b", -2.5));
    EXPECT_EQ(state::pop_int(s()), -3);

    EXPECT_EQ(ts.fatal_report([&] {
                  state::push_float(s(), 2.0);
                  state::pop_int(s());
              }),
              "int expected line=0");
}

TEST_F(OperandStackTest, PopRealAndPopNumberTakeTheirKinds) {
    state::push_int(s(), 3);
    EXPECT_EQ(state::pop_real(s()), 3.0);
    state::push_number(s(), {1.0, 2.0});
    EXPECT_EQ(state::pop_number(s()), (numeric::Complex{1.0, 2.0}));

    EXPECT_EQ(ts.fatal_report([&] {
                  state::push_number(s(), {1.0, 2.0});
                  state::pop_real(s());
              }),
              "float expected line=0");
    EXPECT_EQ(ts.fatal_report([&] {
                  state::push_int(s(), 1);
                  state::pop_number(s());
              }),
              "float expected line=0");
    EXPECT_EQ(ts.fatal_report([&] {
                  state::push_text(s(), std::string("x"));
                  state::pop_number(s());
              }),
              "float expected line=0");
}

TEST_F(OperandStackTest, ZeroImaginaryPartIsPushedAsFloat) {
    state::push_number(s(), {2.0, 0.0});
    EXPECT_EQ(state::tag_of(s().stack.top()), state::ValueTag::Float);
    state::push_number(s(), {2.0, -0.0});
    EXPECT_EQ(state::tag_of(s().stack.top()), state::ValueTag::Float);
    state::push_number(s(), {2.0, 1e-300});
    EXPECT_EQ(state::tag_of(s().stack.top()), state::ValueTag::Complex);
}

TEST_F(OperandStackTest, PopOperandClassifiesEveryCell) {
    struct Case {
        int line;
        state::Value cell;
        state::ValueType type;
        double re;
    };
    const Case cases[] = {
        {__LINE__, state::Value{1.5}, state::ValueType::Real, 1.5},
        {__LINE__, state::Value{state::IntCell{4}}, state::ValueType::Real, 4.0},
        {__LINE__, state::Value{numeric::Complex{3.0, 0.0}}, state::ValueType::Real, 3.0},
        {__LINE__, state::Value{numeric::Complex{3.0, 1.0}}, state::ValueType::Complex, 3.0},
        {__LINE__, state::Value{state::BlockCell{12}}, state::ValueType::Real, 12.0},
        {__LINE__, state::Value{state::GosubCell{40}}, state::ValueType::Real, 40.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        state::push(s(), c.cell);
        const state::Operand op = state::pop_operand(s());
        EXPECT_EQ(op.type, c.type);
        EXPECT_EQ(op.number.re, c.re);
    }
}

TEST_F(OperandStackTest, ReadingAStringVariableNeverTakesItsText) {
    const auto index = state::lookup_or_create(s(), "s", 0);
    s().symbols[index].type = state::ValueType::String;
    s().symbols[index].text = std::make_shared<const std::string>("abc");

    for (int i = 0; i < 2; ++i) {
        state::push_id(s(), index);
        EXPECT_EQ(*state::pop_string(s()), "abc");
    }
    EXPECT_EQ(*s().symbols[index].text, "abc");
    EXPECT_EQ(s().symbols[index].text.use_count(), 1) << "popped copies were released";
}

TEST_F(OperandStackTest, TypedPopsReportTheirOwnMessages) {
    struct Case {
        int line;
        void (*pop)(state::Machine&);
        const char* report;
    };
    const Case cases[] = {
        {__LINE__, [](state::Machine& x) { state::pop_id(x); }, "sID expected line=0"},
        {__LINE__, [](state::Machine& x) { state::pop_string(x); }, "sSTRING expected line=0"},
        {__LINE__, [](state::Machine& x) { state::pop_matrix(x); }, "Incorrect type line=0"},
        {__LINE__, [](state::Machine& x) { state::pop_block(x); }, "waiting for addr1 line=0"},
        {__LINE__, [](state::Machine& x) { state::pop_gosub(x); }, "RETURN without GOSUB line=0"},
        {__LINE__, [](state::Machine& x) { state::pop_loop_frame(x); },
         "Stack Error, waiting for STACKBLOCK line=0"},
        {__LINE__, [](state::Machine& x) { state::expect_args(x, 2); },
         "Number of parameters is incorrect line=0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        state::push_int(s(), 1);
        EXPECT_EQ(ts.fatal_report([&] { c.pop(s()); }), c.report);
    }
}

TEST_F(OperandStackTest, ReverseAndInsertBelowRearrangeTheTopCells) {
    auto tops = [&](int n) {
        std::vector<double> out;
        for (int i = s().stack.depth() - n; i < s().stack.depth(); ++i)
            out.push_back(state::get<double>(s().stack.at(i)));
        return out;
    };
    for (double v : {1.0, 2.0, 3.0, 4.0, 5.0}) state::push_float(s(), v);
    s().stack.reverse(4);
    EXPECT_EQ(tops(5), (std::vector<double>{1, 5, 4, 3, 2}));
    s().stack.reverse(5);
    EXPECT_EQ(tops(5), (std::vector<double>{2, 3, 4, 5, 1}));

    // A call puts its return frame under its three arguments; a string
    // argument keeps its text when moved up.
    state::push_text(s(), std::string("arg"));
    ASSERT_TRUE(s().stack.insert_below(3, state::ReturnOffsetCell{7}, state::BlockCell{9}));
    ASSERT_EQ(s().stack.depth(), 8);
    EXPECT_EQ(state::get<state::ReturnOffsetCell>(s().stack.at(3)).offset, 7);
    EXPECT_EQ(state::get<state::BlockCell>(s().stack.at(4)).value, 9);
    EXPECT_EQ(state::get<double>(s().stack.at(5)), 5.0);
    EXPECT_EQ(state::get<double>(s().stack.at(6)), 1.0);
    EXPECT_EQ(*state::get<state::Text>(s().stack.at(7)), "arg");

    // Two more cells would reach the capacity: nothing moves.
    while (s().stack.depth() < state::OperandStack::capacity - 2) state::push_float(s(), 0.0);
    const int depth = s().stack.depth();
    EXPECT_FALSE(s().stack.insert_below(1, state::ReturnOffsetCell{1}, state::BlockCell{1}));
    EXPECT_EQ(s().stack.depth(), depth);
}

}  // namespace
}  // namespace ostrac
