#include <gtest/gtest.h>

#include <limits>

#include "code/disassembler.h"
#include "state/stack_ops.h"
#include "support/code_builder.h"
#include "support/test_session.h"
#include "vm/dispatcher.h"

namespace ostrac {
namespace {

using session::DebugMode;
using session::RunState;
using test::CodeBuilder;
using test::TestSession;
using code::Op;

class DispatcherTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    TestSession ts;
};

TEST_F(DispatcherTest, LiteralsPushTheirCells) {
    ts.load_program(CodeBuilder{}
                        .pushf(2.5)
                        .pushi(-7)
                        .pushimag(3)
                        .pushimag(0)
                        .pushstr("hi")
                        .pushid("x")
                        .op(Op::END)
                        .bytes);
    for (int i = 0; i < 6; ++i) EXPECT_NE(s().step(), 0);
    ASSERT_EQ(s().stack.depth(), 8);  // the command's return frame lies below
    EXPECT_EQ(state::get<double>(s().stack.at(2)), 2.5);
    EXPECT_EQ(state::get<state::IntCell>(s().stack.at(3)).value, -7);
    EXPECT_EQ(state::get<numeric::Complex>(s().stack.at(4)), (numeric::Complex{0, 3}));
    EXPECT_EQ(state::tag_of(s().stack.at(5)), state::ValueTag::Float) << "0i is the float 0";
    EXPECT_EQ(*state::get<state::Text>(s().stack.at(6)), "hi");
    const auto x = state::get<state::IdentCell>(s().stack.at(7)).index;
    EXPECT_EQ(s().symbols[x].name, "x");
    EXPECT_EQ(s().symbols[x].kind, 0);
}

TEST_F(DispatcherTest, IdentifierNamesHoldAtMostTenCharacters) {
    ts.load_program(CodeBuilder{}.pushid("abcdefghij").pushid("abcdefghijk").op(Op::END).bytes);
    s().step();
    EXPECT_EQ(s().run_state, RunState::Running);
    s().step();
    EXPECT_EQ(s().run_state, RunState::Idle);
    EXPECT_EQ(ts.take_lines(),
              std::vector<std::string>{"Error: Nombre de variable demasiado largo line=0"});
}

TEST_F(DispatcherTest, BytesWithoutAnInstructionDoNothing) {
    ts.load_program(CodeBuilder{}.byte(22).byte(103).byte(255).op(Op::END).bytes);
    EXPECT_EQ(s().step(), 22);
    EXPECT_EQ(s().step(), 103);
    EXPECT_EQ(s().step(), 255);
    EXPECT_EQ(s().stack.depth(), 2) << "only the command's return frame";
    EXPECT_EQ(s().step(), 0);
    EXPECT_EQ(s().run_state, RunState::Idle);
    EXPECT_TRUE(ts.take_lines().empty());
}

TEST_F(DispatcherTest, InlineOperandsPastTheBlockAreRefused) {
    auto& block = s().symbols[session::slot::PROC0].code;
    std::fill(block.begin(), block.end(), 22);
    block[block.size() - 2] = static_cast<std::uint8_t>(Op::PUSHF);
    s().enter_main_block();
    s().run_state = RunState::Running;
    s().pc = static_cast<std::int32_t>(block.size()) - 2;
    s().step();
    EXPECT_EQ(s().run_state, RunState::Idle);
    EXPECT_EQ(ts.take_lines(),
              std::vector<std::string>{"Instruction runs past the end of its code block line=0"});
}

// Operands no compiler emits, as a state file may carry them: each is
// refused through the error path, or keeps its meaning, without overflow.
TEST_F(DispatcherTest, OperandsAtTheLimitsOfTheirRange) {
    constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
    struct Case {
        int line;
        std::vector<std::uint8_t> code;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {__LINE__, CodeBuilder{}.pushi(most).op(Op::PARAMS).bytes, {"Number of parameters is incorrect line=0"}},
        {__LINE__, CodeBuilder{}.pushid("x").pushi(-most - 1).op(Op::INPUT).bytes, {"error bsp<0 line=0"}},
        {__LINE__, CodeBuilder{}.line(most).bytes, {"Invalid line number line=0"}},
        // A loop whose end lies past the block: a jump inside its body keeps it.
        {__LINE__,
         CodeBuilder{}.pushf(1).pushf(1).pushf(1).pushid("i").pushi(most).op(Op::FOR).pushi(0).op(Op::GOTO)
             .op(Op::NEXT).pushid("i").pushi(1).op(Op::PRINT).bytes,
         {"1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TestSession t;
        t.load_program(c.code);
        t.run();
        EXPECT_EQ(t.session->run_state, RunState::Idle);
        EXPECT_EQ(t.take_lines(), c.lines);
    }
}

TEST_F(DispatcherTest, LineMarkersRecordTheLineOutsideDebugMode) {
    ts.load_program(CodeBuilder{}.line(4).op(Op::END).bytes);
    ts.run();
    EXPECT_EQ(s().current_line, 4);
    EXPECT_TRUE(ts.take_lines().empty());
    EXPECT_TRUE(ts.host.shown_lines.empty());
}

TEST_F(DispatcherTest, LineMarkersPauseAsTheDebuggerAsks) {
    struct Case {
        int line;
        DebugMode mode;
        int target;
        int paused_at;  // the first line that pauses, 0 for none
    };
    const Case cases[] = {
        {__LINE__, DebugMode::EveryLine, -1, 1},
        {__LINE__, DebugMode::RunToTarget, 3, 3},
        {__LINE__, DebugMode::RunToTarget, 9, 0},  // target never met
        {__LINE__, DebugMode::StepOver, -1, 1},    // step over: the next line
        {__LINE__, DebugMode::StepOver, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TestSession t;
        t.load_program(CodeBuilder{}.line(1).line(2).line(3).op(Op::END).bytes);
        t.session->debug_mode = c.mode;
        t.session->target_line = c.target;
        t.run();
        if (c.paused_at == 0) {
            EXPECT_EQ(t.session->run_state, RunState::Idle);
            EXPECT_EQ(t.host.shown_lines, (std::vector<int>{1, 2, 3}));
            continue;
        }
        EXPECT_EQ(t.session->run_state, RunState::Paused);
        EXPECT_EQ(t.session->current_line, c.paused_at);
        EXPECT_EQ(t.host.lines.back(), "[line " + std::to_string(c.paused_at) + "]");
        EXPECT_EQ(t.host.shown_lines.back(), c.paused_at);
    }
}

TEST_F(DispatcherTest, CodeInsideEvalNeverStops) {
    auto& eval = s().symbols[session::slot::EVAL0].code;
    const auto code = CodeBuilder{}.line(1).line(2).op(Op::END).bytes;
    std::copy(code.begin(), code.end(), eval.begin());
    s().debug_mode = session::DebugMode::EveryLine;
    s().set_position(session::slot::EVAL0, 0);
    s().run_state = RunState::Running;
    EXPECT_NE(vm::execute_one(s()), 0);
    EXPECT_NE(vm::execute_one(s()), 0);
    EXPECT_NE(vm::execute_one(s()), 0);
    EXPECT_NE(vm::execute_one(s()), 0);
    EXPECT_EQ(s().run_state, RunState::Running);
    EXPECT_EQ(s().current_line, 2);
    EXPECT_TRUE(ts.host.shown_lines.empty());
}

TEST(DisassemblerTest, ListsInstructionsWithTheirOperands) {
    const auto code = CodeBuilder{}.pushf(2).pushid("x").op(Op::ASSIGN).pushi(-6).op(Op::JUMP).op(Op::END).bytes;
    EXPECT_EQ(code::disassemble(code), (std::vector<std::string>{
                                         "0000 PUSHF 2",
                                         "0009 PUSHID \"x\"",
                                         "0013 ASSIGN",
                                         "0014 PUSHI -6",
                                         "0019 JUMP",
                                         "0020 END",
                                     }));
}

}  // namespace
}  // namespace ostrac
