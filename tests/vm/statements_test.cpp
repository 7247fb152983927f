#include <gtest/gtest.h>

#include <fstream>

#include "state/symbols.h"
#include "support/scripts.h"
#include "support/test_session.h"

namespace ostrac {
namespace {

using session::RunState;
using test::TestSession;
using Lines = std::vector<std::string>;

using test::run_scripts;

TEST(StatementsTest, PrintAndExpressionStatements) {
    run_scripts({
        {__LINE__, {"print 1, 2"}, {"12"}},
        {__LINE__, {"print \"a\", \"b\", 3"}, {"ab3"}},
        {__LINE__, {"x = 2 > 1", "print x"}, {"1"}},
        {__LINE__, {"3 < 2"}, {"0"}},
        {__LINE__, {"3 < 2", "print ans"}, {"0"}},
        {__LINE__, {"x = 5", "x"}, {"5"}},
    });
}

TEST(StatementsTest, ForLoops) {
    run_scripts({
        {__LINE__, {"for i = 1 to 3: next: print i"}, {"3"}},
        {__LINE__, {"for i = 1 to 3: print i: next"}, {"1", "2", "3"}},
        {__LINE__, {"i = 7: for i = 3 to 1: print 99: next: print i"}, {"7"}},
        {__LINE__, {"i = 7: for i = 1 to 2 step -1: print 99: next: print i"}, {"7"}},
        {__LINE__, {"for i = 3 to 1 step -1: print i: next"}, {"3", "2", "1"}},
        {__LINE__, {"for i = 1 to 2: for j = 1 to 2: print i, j: next: next"}, {"11", "12", "21", "22"}},
        {__LINE__, {"for i = 1 to 3: x = \"s\": next: print i"}, {"3"}},
    });
}

TEST(StatementsTest, GotoLeavesTheLoopsItJumpsOutOf) {
    run_scripts({
        {__LINE__, {"for i = 1 to 10: if i = 3 then goto out: endif: next: label out: print i"}, {"3"}},
        // Without removing the frames of the loops left, 200 exits would
        // overflow the stack.
        {__LINE__,
         {"n = 0: for j = 1 to 200: for i = 1 to 10: if i = 2 then goto nx: endif: next: label nx: n = n + 1: next: print n"},
         {"200"}},
        // A jump inside the body keeps the loop running.
        {__LINE__, {"for i = 1 to 3: goto skip: print 0: label skip: print i: next"}, {"1", "2", "3"}},
    });
}

TEST(StatementsTest, ConditionsAndLoops) {
    run_scripts({
        {__LINE__, {"if 1 then print 1: else print 2: endif"}, {"1"}},
        {__LINE__, {"if 0 then print 1: else print 2: endif"}, {"2"}},
        {__LINE__, {"i = 0: while i < 3 do i = i + 1: print i: endwhile"}, {"1", "2", "3"}},
        {__LINE__, {"i = 0: repeat i = i + 1: until i = 4: print i"}, {"4"}},
        {__LINE__, {"if \"abc\" = \"ABC\" then print \"same\": endif"}, {"same"}},
    });
}

TEST(StatementsTest, SubroutinesAndLabels) {
    run_scripts({
        {__LINE__, {"gosub a: print 3: goto e: label a: print 1: gosub b: return: label b: print 2: return: label e"},
         {"1", "2", "3"}},
        {__LINE__, {"return"}, {"RETURN without GOSUB line=1"}},
        {__LINE__, {"print 1: halt: print 2"}, {"1", "Program Halted! line=1"}},
    });
}

TEST(StatementsTest, FunctionsAndProcedures) {
    run_scripts({
        {__LINE__, {"function f(x): f = x * x: endfn", "print f(3)"}, {"9"}},
        // A call leaves the function's value, so two calls add their own.
        {__LINE__, {"function f(x): f = x * x: endfn", "print f(1) + f(2)"}, {"5"}},
        {__LINE__, {"function f(x): f = x * x: endfn", "f(1, 2)"}, {"Number of parameters is incorrect line=1"}},
        {__LINE__, {"function f(x, y): f = x: endfn", "f(1)"}, {"Number of parameters is incorrect line=1"}},
        {__LINE__, {"sub p: print \"in p\": endsub", "p"}, {"in p"}},
        {__LINE__, {"sub p: print \"in p\": endsub", "for i = 1 to 2: p: next"}, {"in p", "in p"}},
        {__LINE__, {"sub p(a): a = a + 1: endsub", "v = 1", "p(v): print v"}, {"2"}},
        {__LINE__, {"sub p(a): a = a + 1: endsub", "v = 1", "p(v + 0): print v"}, {"1"}},
        {__LINE__, {"nothing(1)"}, {"No Defined Function:(nothing)", " line=1"}},
        {__LINE__, {"function f(x): f = x: returnf: f = 0: endfn", "print f(4)"}, {"4"}},
        {__LINE__, {"returnf"}, {"Cannot return from fucntion line=1"}},
        // Locals are freed when the function ends; a global of the same name
        // keeps its own value.
        {__LINE__, {"x = 10", "function f(a): x = a: f = x: endfn", "print f(3), x"}, {"310"}},
        {__LINE__, {"g = 5", "function f(a): shared g: f = g + a: endfn", "print f(1)"}, {"6"}},
        {__LINE__, {"function f(a): shared pi: f = a: endfn", "print f(1), pi > 3"}, {"11"}},
        // Activations share their locals, and the innermost one frees them
        // for all: n reads 0 once the recursion has come back.
        {__LINE__, {"function f(n): if n > 0 then f = n + f(n - 1): else f = 0: endif: endfn", "print f(4)"}, {"0"}},
    });
}

// Calls take a short path for the common shapes (variables and numbers as
// arguments, a real result); these check that every other shape, and the
// binding order, come out as the language defines them.
TEST(StatementsTest, ArgumentsBindLastFirstByReferenceOrByValue) {
    run_scripts({
        // The last formal is bound first, so a repeated name keeps the first argument.
        {__LINE__, {"function f(x, x): f = x: endfn", "print f(1, 2)"}, {"1"}},
        {__LINE__, {"function g(a, b, c): g = a + b * 10 + c * 100: endfn", "v = 3", "print g(v, 2, 1.5)"},
         {"173"}},
        {__LINE__, {"function h(a): a = a + 1: h = a: endfn", "w = 5", "print h(w), w"}, {"66"}},
        {__LINE__, {"function h(a): a = a + 1: h = a: endfn", "w = 5", "print h(w + 0), w"}, {"65"}},
        {__LINE__, {"function s(t): s = t: endfn", "print s(\"abc\")"}, {"abc"}},
        {__LINE__, {"function s(t): s = t: endfn", "print s([1, 2])"}, {"[ 1 , 2 ] ", ""}},
        {__LINE__, {"function s(t): s = t: endfn", "print s(2i)"}, {"0+2i "}},
        {__LINE__, {"sub p(a, b): a = b: endsub", "q = 1", "p(q, \"t\"): print q"}, {"t"}},
        {__LINE__, {"function k(pi): k = 1: endfn", "print k(2)"}, {"Constant value cannot be modified line=1"}},
        {__LINE__, {"function m(x): m = x: endfn", "for i = 1 to 3: print m(i) + m(i * 2): next"}, {"3", "6", "9"}},
        {__LINE__, {"function r(n): if n > 0 then r = r(n - 1): else r = 0: endif: endfn", "print r(200)"},
         {"MAXSTACK Reached!! line=1"}},
    });
}

TEST(StatementsTest, DefinitionsOnlyAtTheTopLevel) {
    run_scripts({
        {__LINE__, {"eval \"function g(x): g = 1: endfn\""},
         {"A function cannot be defined within another function line=1"}},
        {__LINE__, {"eval \"sub q: endsub\""}, {"A function cannot be defined within another function line=1"}},
        {__LINE__, {"function f(x): sub q: endsub: f = 1: endfn", "print f(1)"},
         {"A function cannot be defined within another function line=1"}},
    });
}

// The main blocks, constants and system variables are the engine's, and a
// running routine keeps its code: none of them takes a new body.
TEST(StatementsTest, DefinitionsNeverReplaceTheEnginesNamesOrRunningCode) {
    const std::string refused = "The function name is not allowed line=1";
    run_scripts({
        {__LINE__, {"sub PROC0: endsub"}, {refused}},
        {__LINE__, {"sub PROC0: endsub", "print 1 + 1"}, {"2"}},
        {__LINE__, {"function eval0(x): endfn"}, {refused}},
        {__LINE__, {"sub pi: endsub"}, {refused}},
        {__LINE__, {"sub SUB0: endsub"}, {refused}},
        {__LINE__, {"function sysangle(x): endfn"}, {refused}},
        // PROC0 called as a routine runs the definition of f again inside f.
        {__LINE__, {"function f(a): f = PROC0(a): endfn: print f(1)"}, {refused}},
    });
}

TEST(StatementsTest, EvalRunsInTheCallersScope) {
    run_scripts({
        {__LINE__, {"eval \"x = 4\": print x"}, {"4"}},
        {__LINE__, {"eval \"2 + 3\""}, {"5"}},
        {__LINE__, {"function f(a): eval \"f = a * 2\": endfn", "print f(21)"}, {"42"}},
        {__LINE__, {"t = \"x\"", "eval \"eval t\""}, {"Cannot call eval from eval line=1"}},
        // A function called from evaluated text would compile over the text
        // it returns to.
        {__LINE__, {"function f(a): eval \"f = a * 2\": endfn", "eval \"r = f(2): print 7\""},
         {"Cannot call eval from eval line=1"}},
        {__LINE__, {"function f(a): eval \"f = a * 2\": endfn", "eval \"print f(4)\"", "print f(5)"}, {"10"}},
    });
}

TEST(StatementsTest, InputAsksForEachVariable) {
    TestSession ts;
    EXPECT_EQ(ts.command("x = 3: input x, s: print x, s"), Lines{">> x = 3: input x, s: print x, s"});
    EXPECT_EQ(ts.host.prompt, "x[3]?");
    EXPECT_EQ(ts.session->run_state, RunState::Idle);
    EXPECT_EQ(ts.command("2 + 5"), Lines{">> 2 + 5"});
    EXPECT_EQ(ts.host.prompt, "s[0]?");
    EXPECT_EQ(ts.command(""), (Lines{">> ", "70"}));
    EXPECT_EQ(ts.host.prompt, ">>");
    EXPECT_EQ(ts.session->stack.depth(), 0);

    ts.command("s = \"abc\"");
    EXPECT_EQ(ts.command("input s"), Lines{">> input s"});
    EXPECT_EQ(ts.host.prompt, "s[abc]?");
    EXPECT_EQ(ts.command("\"de\""), Lines{">> \"de\""});
    EXPECT_EQ(ts.command("print s"), (Lines{">> print s", "de"}));
}

TEST(StatementsTest, InputAnswersAreEvaluatedInTheStatementsScope) {
    TestSession ts;
    ts.command("a = 100");
    ts.command("function f(a): input b: f = b: endfn");
    ts.command("print f(7)");
    EXPECT_EQ(ts.host.prompt, "b[0]?");
    EXPECT_EQ(ts.command("a * 2"), (Lines{">> a * 2", "14"}));
}

TEST(StatementsTest, TextsLongerThanTheInputLineAreRefused) {
    TestSession ts;
    ts.command("input x");
    EXPECT_EQ(ts.command(std::string(254, '1')).back(),
              "Text to evaluate is longer than 254 characters line=1");
    EXPECT_EQ(ts.session->symbols[state::lookup_or_create(*ts.session, "x", 0)].number.re, 0.0);

    std::ofstream(ts.home.path() / "long.prg") << "eval \"" << std::string(260, ' ') << "\"\n";
    EXPECT_EQ(ts.command("load \"long.prg\"").back(), "Text to evaluate is longer than 254 characters line=1");
}

TEST(StatementsTest, BreakWhileInputWaits) {
    TestSession ts;
    ts.command("input x: print 1");
    ASSERT_EQ(ts.host.prompt, "x[0]?");
    ts.session->run_state = RunState::BreakRequested;
    ts.session->step();
    EXPECT_EQ(ts.take_lines(), Lines{"User Halted!"});
    EXPECT_EQ(ts.host.prompt, ">>");
    EXPECT_EQ(ts.command("input y"), Lines{">> input y"});
    EXPECT_EQ(ts.host.prompt, "y[0]?") << "a fresh prompt phase";
}

class LoadTest : public ::testing::Test {
protected:
    void write(const std::filesystem::path& path, const std::string& text) {
        std::ofstream(path) << text;
    }
    TestSession ts;
    test::TempFolder other;
};

TEST_F(LoadTest, FindsProgramsInTheHomeFolderAndLaterSearchPaths) {
    write(ts.home.path() / "first.prg", "print \"home\"\nx = 1\n");
    write(other.path() / "second.prg", "print \"other\"\n");
    ts.session->search_path[4] = other.path().string();
    EXPECT_EQ(ts.command("load \"first.prg\""), (Lines{">> load \"first.prg\"", "home"}));
    EXPECT_EQ(ts.command("load \"second.prg\""), (Lines{">> load \"second.prg\"", "other"}));
    EXPECT_EQ(ts.command("load \"missing.prg\""), (Lines{">> load \"missing.prg\"", "Cannot open the file line=1"}));
}

TEST_F(LoadTest, RefusesFilesThatAreNotText) {
    // A state file is the binary a user is most likely to load by mistake.
    std::ofstream(ts.home.path() / "state.prg", std::ios::binary)
        << "print 1\n" << std::string(3000, 'x') << std::string(1, '\0') << "print 2\n";
    const Lines lines = ts.command("load \"state.prg\"");
    EXPECT_EQ(lines.back(), "Cannot load " + (ts.home.path() / "state.prg").string() + ": not a text file line=1");
    EXPECT_EQ(ts.command("print 3"), (Lines{">> print 3", "3"}));
}

TEST_F(LoadTest, ReplacesTheRunningCommand) {
    write(ts.home.path() / "p.prg", "print 1\nprint 2\n");
    EXPECT_EQ(ts.command("load \"p.prg\": print 99"), (Lines{">> load \"p.prg\": print 99", "1", "2"}));
}

TEST_F(LoadTest, RefusedFromEvalAndFunctions) {
    write(ts.home.path() / "p.prg", "print 1\n");
    ts.command("n = \"p.prg\"");
    EXPECT_EQ(ts.command("eval \"load n\"").back(), "Cannot call load from eval or function line=1");
    ts.command("function f(x): load x: endfn");
    EXPECT_EQ(ts.command("f(n)").back(), "Cannot call load from eval or function line=1");
}

}  // namespace
}  // namespace ostrac
