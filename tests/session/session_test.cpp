#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/code_builder.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

using session::RunState;
using test::CodeBuilder;
using test::TestSession;
using code::Op;

TEST(SessionStartTest, GreetsAndReportsAMissingStartupFile) {
    test::TempFolder home;
    test::RecordingHost host;
    session::Session s(host);
    std::array<std::string, session::Session::search_path_count> paths;
    paths[0] = home.path().string();
    s.init(paths);

    EXPECT_EQ(host.lines, (std::vector<std::string>{
                              "Imposible abrir fichero de estado line=0",
                              "Ostrac initialized ok",
                              "Type load \"tutorial\" to see the tutorial",
                          }));
    EXPECT_EQ(host.prompt, ">>");
    EXPECT_EQ(host.modes, (std::vector<test::RecordingHost::Modes>{{0, 0}}));
    EXPECT_EQ(s.run_state, RunState::Idle);
    EXPECT_EQ(s.current_block, session::slot::PROC0);
    EXPECT_EQ(s.search_path[0], home.path().string());
}

class SessionTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    TestSession ts;
};

// "x = 2" as the compiler writes it.
const std::vector<std::uint8_t> assign_x_2 = {0x01, 0, 0, 0, 0, 0, 0, 0, 0x40,
                                              0x04, 0x01, 0x78, 0x00, 0x1A, 0x00};

TEST_F(SessionTest, RunsOneInstructionPerStep) {
    ts.load_program(assign_x_2);
    EXPECT_EQ(s().step(), 1);
    EXPECT_EQ(s().stack.depth(), 3);
    EXPECT_EQ(s().step(), 4);
    EXPECT_EQ(s().step(), 26);
    EXPECT_EQ(s().run_state, RunState::Running);
    EXPECT_EQ(s().step(), 0);
    EXPECT_EQ(s().run_state, RunState::Idle);
    EXPECT_EQ(s().stack.depth(), 0) << "the command's return frame is gone";
    EXPECT_EQ(s().pc, 0);

    const auto x = state::lookup_or_create(s(), "x", 0);
    EXPECT_EQ(s().symbols[x].type, state::ValueType::Real);
    EXPECT_EQ(s().symbols[x].number.re, 2.0);

    EXPECT_EQ(ts.host.suspends, 0);
    s().step();
    EXPECT_EQ(ts.host.suspends, 1) << "an idle session suspends its worker";
    EXPECT_TRUE(ts.take_lines().empty());
}

TEST_F(SessionTest, FatalErrorReturnsToIdleAndKeepsTheTable) {
    ts.load_program(CodeBuilder{}
                        .line(3)
                        .pushf(5)
                        .pushid("x")
                        .op(Op::ASSIGN)
                        .pushf(1)
                        .pushf(2)
                        .pushid("much_too_long")
                        .op(Op::END)
                        .bytes);
    for (int i = 0; i < 7; ++i) s().step();
    ASSERT_EQ(s().run_state, RunState::Running);
    const int capacity = s().symbols.capacity();
    std::vector<std::string> names;
    for (int i = 0; i < capacity; ++i) names.push_back(s().symbols[i].is_free() ? "" : s().symbols[i].name);

    s().step();
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"Error: Nombre de variable demasiado largo line=3"});
    EXPECT_EQ(s().run_state, RunState::Idle);
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(s().running_flag, 0);
    EXPECT_EQ(s().pc, 0);
    EXPECT_EQ(s().current_block, session::slot::PROC0);
    EXPECT_EQ(ts.host.prompt, ">>");
    ASSERT_EQ(s().symbols.capacity(), capacity);
    for (int i = 0; i < capacity; ++i) {
        EXPECT_EQ(s().symbols[i].is_free() ? "" : s().symbols[i].name, names[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(s().symbols[state::lookup_or_create(s(), "x", 0)].number.re, 5.0);
    EXPECT_EQ(s().failed_commands(), 1);
}

TEST_F(SessionTest, BreakFromAnotherThreadStopsAnEndlessLoop) {
    // offset 0: PUSHI -6, offset 5: JUMP back to 0.
    ts.load_program(CodeBuilder{}.pushi(-6).op(Op::JUMP).bytes);
    long steps = 0;
    std::thread worker([&] {
        while (s().run_state != RunState::Idle) {
            s().step();
            ++steps;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    s().run_state = RunState::BreakRequested;
    worker.join();

    EXPECT_GT(steps, 100);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"User Halted!"});
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(ts.host.editor_resets, 1);
    EXPECT_EQ(s().failed_commands(), 1);
}

// A Break reaches into a long built-in: on a complex 2000 by 2000 matrix each
// of these runs for a good part of a second, unless the Break stops it
// between two blocks of work.
TEST_F(SessionTest, BreakFromAnotherThreadStopsALongBuiltIn) {
    ts.command("m = [1]: m(2000, 2000) = 1: for i = 1 to 1999: m(i, i) = 1: next: m = m * 1i");
    for (const char* line : {"x = INV(m)", "x = DET(m)", "x = m * m"}) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(s().submit(line));
        ts.take_lines();
        std::thread worker([&] {
            while (s().run_state != RunState::Idle) s().step();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto pressed = std::chrono::steady_clock::now();
        s().run_state = RunState::BreakRequested;
        worker.join();
        EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::seconds(2));
        EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"User Halted!"});
    }
    EXPECT_EQ(ts.command("print x").back(), "0") << "no result was assigned";
}

// A pasted line of 10,000 characters is cut to the 254 the input line holds;
// an INPUT answer that long no longer fits the assignment it becomes and is
// refused. Either way the session goes on.
TEST_F(SessionTest, TenThousandCharacterLinesAreCut) {
    const std::string pasted = "x = 7 // " + std::string(10000, 'c');
    const std::string kept = pasted.substr(0, session::Session::input_line_max);
    EXPECT_EQ(ts.command(pasted), std::vector<std::string>{">> " + kept});
    EXPECT_EQ(ts.command("print x"), (std::vector<std::string>{">> print x", "7"}));

    ts.command("input y");
    EXPECT_EQ(ts.command(std::string(10000, '5')).back(), "Text to evaluate is longer than 254 characters line=1");
    EXPECT_EQ(ts.host.prompt, ">>");
    EXPECT_EQ(ts.command("print x + 1"), (std::vector<std::string>{">> print x + 1", "8"}));
}

TEST_F(SessionTest, FormattedErrorsStandOnALineOfTheirOwn) {
    s().console_print("partial");
    EXPECT_THROW(s().fatal_error_fmt("Value not allowed for %s", "sysangle"), session::FatalError);
    EXPECT_EQ(ts.take_lines(), (std::vector<std::string>{"partial", "Value not allowed for sysangle"}));

    s().console_print("pending ");
    EXPECT_THROW(s().fatal_error("Program Halted!\n"), session::FatalError);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"pending Program Halted! line=0"});
}

TEST_F(SessionTest, ResetLeavesDebuggingAndRestoresThePrompt) {
    s().set_prompt("x[1]?");
    s().debug_mode = session::DebugMode::EveryLine;
    s().input_answer_phase = true;
    state::push_float(s(), 1);
    s().reset();
    EXPECT_EQ(ts.host.prompt, ">>");
    EXPECT_EQ(s().debug_mode, session::DebugMode::Off);
    EXPECT_FALSE(s().input_answer_phase);
    EXPECT_EQ(s().stack.depth(), 0);
    EXPECT_EQ(ts.host.editor_resets, 1);
}

TEST(ConsoleOutputTest, CollectsTextIntoPaneLines) {
    struct Case {
        int line;
        std::vector<std::string> prints;
        std::vector<std::string> pane;
    };
    const Case cases[] = {
        {__LINE__, {"abc", "def\n"}, {"abcdef"}},
        {__LINE__, {"\n\n"}, {}},
        {__LINE__, {"\n"}, {""}},
        {__LINE__, {"a\nb\n"}, {"a\nb"}},
        {__LINE__, {"one\n", "two\n"}, {"one", "two"}},
        {__LINE__, {std::string(1000, 'x') + "\n"}, {std::string(1000, 'x')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        state::ConsoleOutput out;
        std::vector<std::string> pane;
        std::string line;
        for (const auto& p : c.prints) {
            if (out.print(p, line)) pane.push_back(line);
        }
        EXPECT_EQ(pane, c.pane);
    }
}

// Where a session stands: block, position, and every stack cell.
std::string position_of(const session::Session& s) {
    std::string out = std::to_string(s.current_block) + ":" + std::to_string(s.pc) + " |";
    for (int i = 0; i < s.stack.depth(); ++i) {
        const state::Value& cell = s.stack.at(i);
        out += " " + std::to_string(static_cast<int>(cell.tag())) + "=";
        if (const auto* d = state::get_if<double>(&cell)) out += std::to_string(*d);
        if (const auto* n = state::get_if<state::IntCell>(&cell)) out += std::to_string(n->value);
        if (const auto* id = state::get_if<state::IdentCell>(&cell)) out += std::to_string(id->index);
        if (const auto* b = state::get_if<state::BlockCell>(&cell)) out += std::to_string(b->value);
        if (const auto* r = state::get_if<state::ReturnOffsetCell>(&cell)) out += std::to_string(r->offset);
        if (const auto* text = state::get_if<state::Text>(&cell)) out += **text;
    }
    return out;
}

// Runs `command` in runs of `batch` steps and in single steps side by side:
// after every run the two sessions must stand at the same place. Returns the
// lines the runs printed.
std::vector<std::string> run_beside_single_steps(const std::string& command, int batch) {
    TestSession single;
    TestSession batched;
    EXPECT_TRUE(single.session->submit(command));
    EXPECT_TRUE(batched.session->submit(command));
    // The command's block ends only once, with the last step.
    bool ended = false;
    while (!ended) {
        batched.session->run(batch);
        for (int step = 0; step < batch && !ended; ++step) {
            // A run also stops after the END of a block (EVAL text's too);
            // the first step compiles the command.
            const session::Session& at = *single.session;
            const bool block_ends = at.running_flag != 0 && at.code[at.pc] == 0;
            ended = single.session->step() == 0;
            if (block_ends) break;
        }
        EXPECT_EQ(position_of(*batched.session), position_of(*single.session));
        if (position_of(*batched.session) != position_of(*single.session)) break;
    }
    EXPECT_EQ(batched.session->run_state, single.session->run_state);
    const std::vector<std::string> lines = batched.take_lines();
    EXPECT_EQ(single.take_lines(), lines);
    return lines;
}

// The dispatch loop keeps the position and the stack depth to itself while
// it runs, and takes the busy instructions on paths of their own: after any
// run of n steps the session must stand where n single steps leave it.
TEST(SessionRunTest, ARunOfStepsEndsWhereSingleStepsEnd) {
    const std::string command =
        "function f(x, y): f = x * y + 1: endfn: s = 0: t = \"\": "
        "for i = 1 to 30: s = s + f(i, 2) - 1: if s mod 3 = 0 then t = t + \"a\": endif: next: print s, t";
    // Nested calls, squares, and a recursive function whose inner calls
    // free the outer ones' locals.
    const std::string nested =
        "function h(n): h = n * n: if n > 0 then h = h + h(n - 1) + n: endif: endfn: "
        "function q(x): q = x * x + 1: endfn: s = 0: for i = 1 to 20: s = s + h(i mod 5) + q(q(i mod 4)): next: print s";
    for (int batch : {2, 3, 7, 64, 5000}) {
        SCOPED_TRACE(batch);
        const std::vector<std::string> lines = run_beside_single_steps(command, batch);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "930" + std::string(20, 'a'));
        EXPECT_FALSE(run_beside_single_steps(nested, batch).empty());
    }
}

// The same for random commands: chains of operators on names, numbers and
// calls, stored, pushed and tested, in loops, in functions that bind by
// reference and by value, in EVAL text, next to strings the fast steps leave
// to the byte code, and with a function redefined between two calls.
TEST(SessionRunTest, RandomCommandsRunAsTheirSingleSteps) {
    std::mt19937 rng(25);
    const auto pick = [&](std::initializer_list<const char*> choices) {
        return std::string(choices.begin()[rng() % choices.size()]);
    };
    const auto expression = [&] {
        const auto operand = [&] { return pick({"a", "b", "k", "1", "2", "-3", "f(a, 2)", "g(b)", "(a < b)"}); };
        std::string e = operand();
        for (auto n = rng() % 4; n > 0; --n) {
            e += pick({" + ", " - ", " * ", " mod ", " = ", " <> ", " < ", " > ", " <= ", " >= ", " and ", " or "}) + operand();
        }
        return e;
    };
    for (int round = 0; round < 60; ++round) {
        std::string command =
            "function f(x, y): z = x * y: f = z + 1: endfn: function g(x): x = x + 1: g = x: endfn: "
            "a = 1: b = 2: k = 0: t = \"\": ";
        const std::string last = "print a, b, k, t";
        for (int n = 0; n < 6; ++n) {
            std::string statement;
            switch (rng() % 6) {
            case 0: statement = pick({"a", "b"}) + " = " + expression() + ": "; break;
            case 1: statement = "if " + expression() + " then a = " + expression() + ": endif: "; break;
            case 2: statement = "for k = 1 to 4: b = " + expression() + ": next: "; break;
            case 3: statement = "while k < 3 do k = k + 1: a = " + expression() + ": endwhile: "; break;
            case 4: statement = pick({"eval \"a = b + 1\": ", "t = t + \"a\": ", "a = t: ", "b = a: "}); break;
            case 5: statement = "function f(x, y): f = x - y: endfn: "; break;
            }
            // A command line longer than 254 characters would be cut.
            if (command.size() + statement.size() + last.size() <= 254) command += statement;
        }
        command += last;
        SCOPED_TRACE(command);
        const std::vector<std::string> lines = run_beside_single_steps(command, static_cast<int>(2 + rng() % 40));
        EXPECT_TRUE(lines.empty() || !lines.back().starts_with("Sintax error")) << lines.back();
    }
}

}  // namespace
}  // namespace ostrac
