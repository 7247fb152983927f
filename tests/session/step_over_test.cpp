// Stepping over a line that calls user functions, as the program editor's
// Step button does it: the debugger stops at the line after the call, never
// inside the routine, whatever the routine calls in its turn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

using session::RunState;

// A function calling another, a recursive one, then the main part from
// line 14 on.
const std::vector<std::string> program = {
    "function inner(x)",      // 1
    "  inner = x + 1",        // 2
    "endfn",                  // 3
    "function outer(x)",      // 4
    "  outer = inner(x) * 2", // 5
    "endfn",                  // 6
    "function down(n)",       // 7
    "  if n > 0 then",        // 8
    "    down = down(n - 1)", // 9
    "  else",                 // 10
    "    down = 7",           // 11
    "  endif",                // 12
    "endfn",                  // 13
    "a = outer(1)",           // 14
    "b = down(3)",            // 15
    "print a",                // 16
};

// Starts the program in step-over mode and returns the line it first stops
// at (the first marker).
int start(test::TestSession& t) {
    t.session->debug_mode = session::DebugMode::StepOver;
    t.session->target_line = -1;
    frontend::select_editor_feed(*t.session, program);
    t.session->run_state = RunState::Running;
    t.run();
    return t.session->current_line;
}

// Presses Step once more and returns the line of the next stop, or 0 when the
// program ended.
int step_over(test::TestSession& t) {
    t.session->debug_mode = session::DebugMode::StepOver;
    t.session->target_line = -1;
    t.session->run_state = RunState::Running;
    t.run();
    return t.session->run_state == RunState::Paused ? t.session->current_line : 0;
}

TEST(StepOverTest, NestedAndRecursiveCallsDoNotStopInsideTheRoutine) {
    test::TestSession t;
    // The definitions are statements of their own lines (their header lines
    // carry the markers of the main part).
    std::vector<int> stops{start(t)};
    for (int guard = 0; guard < 20 && stops.back() != 0; ++guard) stops.push_back(step_over(t));
    EXPECT_EQ(stops, (std::vector<int>{1, 4, 7, 14, 15, 16, 0}));
    const std::vector<std::string> pane = t.take_lines();
    ASSERT_FALSE(pane.empty());
    EXPECT_EQ(pane.back(), "4");
    EXPECT_EQ(t.session->debug_mode, session::DebugMode::Off);
}

TEST(StepOverTest, StepIntoStopsAtEveryLineOfTheRoutines) {
    test::TestSession t;
    t.session->debug_mode = session::DebugMode::EveryLine;
    frontend::select_editor_feed(*t.session, program);
    t.session->run_state = RunState::Running;
    std::vector<int> stops;
    for (int guard = 0; guard < 60; ++guard) {
        t.run();
        if (t.session->run_state != RunState::Paused) break;
        stops.push_back(t.session->current_line);
        t.session->run_state = RunState::Running;
    }
    // Into outer at line 14, from there into inner and back (the end of each
    // body has its own line).
    const std::vector<int> first{1, 4, 7, 14, 5, 2, 3, 6, 15};
    ASSERT_GE(stops.size(), first.size());
    EXPECT_EQ(std::vector<int>(stops.begin(), stops.begin() + 9), first);
}

TEST(StepOverTest, ALineEvaluatedAtAStopKeepsTheStopsLine) {
    test::TestSession t;
    t.session->debug_mode = session::DebugMode::RunToTarget;
    t.session->target_line = 14;
    frontend::select_editor_feed(*t.session, program);
    t.session->run_state = RunState::Running;
    t.run();
    ASSERT_EQ(t.session->current_line, 14);
    t.take_lines();
    // Typed at the console while stopped: evaluated inside the program, the
    // function it calls included, without stopping or reporting its lines.
    ASSERT_TRUE(t.session->submit("inner(41)"));
    const int suspends = t.host.suspends;
    for (int i = 0; i < 1000 && t.host.suspends == suspends; ++i) t.session->step();
    EXPECT_EQ(t.host.suspends, suspends + 1);
    EXPECT_EQ(t.take_lines(), std::vector<std::string>{"42"});
    EXPECT_EQ(t.session->run_state, RunState::Paused);
    EXPECT_EQ(t.session->current_line, 14);
    // Stepping over the call goes to the next line, not into a body line
    // numbered after the evaluated text's line.
    EXPECT_EQ(step_over(t), 15);
}

TEST(StepOverTest, ALineTypedWhileTheLastOneStillRunsIsRefused) {
    test::TestSession t;
    t.session->debug_mode = session::DebugMode::RunToTarget;
    t.session->target_line = 15;
    frontend::select_editor_feed(*t.session, program);
    t.session->run_state = RunState::Running;
    t.run();
    ASSERT_EQ(t.session->current_line, 15);
    t.take_lines();
    ASSERT_TRUE(t.session->submit("outer(10)"));
    // Up to the call: then outer runs and EVAL0 waits for it.
    for (int i = 0; i < 100 && t.session->current_block == session::slot::EVAL0; ++i) t.session->step();
    ASSERT_NE(t.session->current_block, session::slot::EVAL0);
    EXPECT_FALSE(t.session->submit("print 99"));
    EXPECT_EQ(t.session->input_line, "outer(10)");
    const int suspends = t.host.suspends;
    for (int i = 0; i < 1000 && t.host.suspends == suspends; ++i) t.session->step();
    EXPECT_EQ(t.take_lines(), std::vector<std::string>{"22"});
    EXPECT_EQ(t.session->run_state, RunState::Paused);
    // Once it has ended, the console is heard again.
    EXPECT_TRUE(t.session->submit("print 99"));
    for (int i = 0; i < 1000 && t.host.suspends == suspends + 1; ++i) t.session->step();
    EXPECT_EQ(t.take_lines(), std::vector<std::string>{"99"});
    EXPECT_EQ(step_over(t), 16);
}

}  // namespace
}  // namespace ostrac
