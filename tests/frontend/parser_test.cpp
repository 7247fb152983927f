// The grammar as seen through the code it emits: operator grouping, the
// statement forms, and the exact syntax error reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/compile_support.h"

namespace ostrac {
namespace {

using test::TestSession;

struct GroupingCase {
    int line;
    std::string input;
    std::string expected;  // postfix, see test::postfix
};

// Compiles the case's line in a fresh session and compares its postfix form;
// returns the pane lines the compilation printed.
std::vector<std::string> check_postfix(const GroupingCase& c) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.input);
    TestSession ts;
    std::string got;
    EXPECT_NO_THROW(got = test::postfix(test::compile_line(ts, c.input)));
    EXPECT_EQ(got, c.expected);
    return ts.take_lines();
}

TEST(ParserTest, OperatorGrouping) {
    const GroupingCase cases[] = {
        {__LINE__, "a + b * c", "a b c MUL ADD SHOW"},
        {__LINE__, "a - b - c", "a b SUB c SUB SHOW"},
        {__LINE__, "a / b * c", "a b DIV c MUL SHOW"},
        {__LINE__, "a ^ b ^ c", "a b c POW POW SHOW"},
        {__LINE__, "a ^ b @ c", "a b c POLAR POW SHOW"},
        {__LINE__, "a @ b * c", "a b POLAR c MUL SHOW"},
        {__LINE__, "-2 ^ 2", "2 2 POW NEG SHOW"},
        {__LINE__, "2 ^ -1", "2 1 NEG POW SHOW"},
        {__LINE__, "-a * b", "a NEG b MUL SHOW"},
        {__LINE__, "- - a", "a NEG NEG SHOW"},
        {__LINE__, "a & b + c", "a b c ADD CROSS SHOW"},
        {__LINE__, "a + b & c * d", "a b c d MUL CROSS ADD SHOW"},
        {__LINE__, "-a & b", "a b CROSS NEG SHOW"},
        {__LINE__, "a & b & c", "a b c CROSS CROSS SHOW"},
        {__LINE__, "a & b = c", "a b c EQ CROSS SHOW"},
        {__LINE__, "a ^ b & c", "a b c CROSS POW SHOW"},
        {__LINE__, "a mod b + c", "a b c ADD MOD SHOW"},
        {__LINE__, "a mod b mod c", "a b MOD c MOD SHOW"},
        {__LINE__, "a < b mod c", "a b c MOD LT SHOW"},
        {__LINE__, "0 = b = c", "0 b c EQ EQ SHOW"},
        {__LINE__, "a < b = c", "a b LT c EQ SHOW"},
        {__LINE__, "a < b > c", "a b LT c GT SHOW"},
        {__LINE__, "a or b and c", "a b OR c AND SHOW"},
        {__LINE__, "a and b or c", "a b AND c OR SHOW"},
        {__LINE__, "0 = b and c", "0 b c AND EQ SHOW"},
        {__LINE__, "a <> b >= c <= d", "a b NE c GE d LE SHOW"},
        {__LINE__, "a => b", "a b GE SHOW"},
        {__LINE__, "a =< b", "a b LE SHOW"},
        {__LINE__, "a != b", "b a ASSIGN"},
        {__LINE__, "(a + b) * c", "a b ADD c MUL SHOW"},
        {__LINE__, "(a) = 3", "a 3 EQ SHOW"},
        {__LINE__, "f x = 3", "x #1 f CALL 3 EQ SHOW"},
        {__LINE__, "sin x ^ 2", "x #1 SIN 2 POW SHOW"},
        {__LINE__, "f -1", "f 1 SUB SHOW"},
        {__LINE__, "a b", "b #1 a CALL SHOW"},
        {__LINE__, "f 2", "2 #1 f CALL SHOW"},
        {__LINE__, "f \"s\"", "\"s\" #1 f CALL SHOW"},
        {__LINE__, "f 2i", "2i #1 f CALL SHOW"},
        {__LINE__, "f [1,2]", "1 2 #2 #1 MATRIX #1 f CALL SHOW"},
        {__LINE__, "sin(x)", "x #1 SIN SHOW"},
        {__LINE__, "SIN(x)", "x #1 SIN SHOW"},
        {__LINE__, "Sin x", "x #1 SIN SHOW"},
        {__LINE__, "log(x) + sqr(x)", "x #1 LOG10 x #1 SQRT ADD SHOW"},
        {__LINE__, "round(x, 2)", "x 2 #2 ROUND SHOW"},
        {__LINE__, "sin", "sin SHOW"},
        {__LINE__, "f(a, g(b, c), d)", "a b c #2 g CALL d #3 f CALL SHOW"},
        {__LINE__, "x(1)", "1 #1 x CALL SHOW"},
        {__LINE__, "[1,2;3,4]", "1 2 #2 3 4 #2 #2 MATRIX SHOW"},
        {__LINE__, "[1;2;3]", "1 #1 2 #1 3 #1 #3 MATRIX SHOW"},
        {__LINE__, "[f [1;2], 3]", "1 #1 2 #1 #2 MATRIX #1 f CALL 3 #2 #1 MATRIX SHOW"},
        {__LINE__, "\"text\"", "\"text\" SHOW"},
        {__LINE__, "2.5i", "2.5i SHOW"},
        {__LINE__, "a b ^ 2", "b #1 a CALL 2 POW SHOW"},
    };
    for (const GroupingCase& c : cases) {
        EXPECT_EQ(check_postfix(c), std::vector<std::string>{}) << "line " << c.line;
    }
}

TEST(ParserTest, StatementForms) {
    const GroupingCase cases[] = {
        {__LINE__, "x = 2 + 3", "2 3 ADD x ASSIGN"},
        {__LINE__, "x = y = 3", "y 3 EQ x ASSIGN"},
        {__LINE__, "x(1, 2) = 5", "1 2 #2 5 x SETCELL"},
        {__LINE__, "x(i) = x(i) + 1", "i #1 i #1 x CALL 1 ADD x SETCELL"},
        {__LINE__, "print 1", "1 #1 PRINT"},
        {__LINE__, "? 1, \"a\"", "1 \"a\" #2 PRINT"},
        {__LINE__, "print f(a, g(b, c)), d", "a b c #2 g CALL #2 f CALL d #2 PRINT"},
        {__LINE__, "input a, b", "a b #2 INPUT"},
        {__LINE__, "shared a, b", "a b #2 GLOBAL"},
        {__LINE__, "eval s", "s EVAL"},
        {__LINE__, "load \"prog\"", "\"prog\" LOAD"},
        {__LINE__, "halt", "HALT"},
        {__LINE__, "gdraw", "GRAPH"},
        {__LINE__, "return", "RETURN"},
        {__LINE__, "returnf", "EXITFUNC"},
        {__LINE__, "x = 1 : y = 2", "1 x ASSIGN 2 y ASSIGN"},
        {__LINE__, "print 1:", "1 #1 PRINT"},
        {__LINE__, "", ""},
        {__LINE__, "IF a THEN ENDIF", "a #0 IF"},
        {__LINE__, "WHILE 1 DO ENDWHILE", "1 #6 JFALSE #-21 JUMP"},
        {__LINE__, "for i = 1 to 9 step 2: next", "1 9 2 i #1 FOR NEXT"},
        {__LINE__, "print 1: exit: print 2", "1 #1 PRINT"},
        {__LINE__, "x = 1: Exit", "1 x ASSIGN"},
    };
    for (const GroupingCase& c : cases) check_postfix(c);
}

struct ErrorCase {
    int line;
    std::vector<std::string> program;  // editor lines; one line is a console command
    std::vector<std::string> report;
};

TEST(ParserTest, SyntaxErrorReports) {
    const auto report = [](const std::string& label, int line) {
        return std::vector<std::string>{
            "parse error in " + label + " (line=" + std::to_string(line) + ")",
            "Sintax error line=" + std::to_string(line)};
    };
    const ErrorCase cases[] = {
        {__LINE__, {"print"}, report("print", 0)},
        {__LINE__, {"IF x THEN print 1"}, report("if without endif", 1)},
        {__LINE__, {"FOR i = 1 TO 3", "NEXT i"}, report("FOR, Next expected", 1)},
        {__LINE__, {"WHILE x", "DO"}, report("while whithout DO", 0)},
        {__LINE__, {"FUNCTION f()"}, report("Error in params", 0)},
        {__LINE__, {"FUNCTION 3"}, report("Function", 0)},
        {__LINE__, {"SUB s()"}, report("Function", 0)},
        {__LINE__, {"[]"}, report("matrix", 0)},
        {__LINE__, {"print [1,2"}, report("matrix", 0)},
        {__LINE__, {"print 1,"}, report("print", 0)},
        {__LINE__, {"x = not 1"}, report("assign", 0)},
        {__LINE__, {"if x then print 1 else print 2 endif"}, report("print", 0)},
        {__LINE__, {"IF a THEN: ENDIF"}, report("if without endif", 0)},
        {__LINE__, {"REPEAT: x = 1: UNTIL 1"}, report("REPEAT", 0)},
        {__LINE__, {"print a; b"}, report("print", 0)},
        {__LINE__, {"print \"a\" \"b\""}, report("print", 0)},
        {__LINE__, {"label 3"}, report("label", 0)},
        {__LINE__, {"goto 3"}, report("goto", 0)},
        {__LINE__, {"gosub"}, report("gosub", 0)},
        {__LINE__, {"return 1"}, report("return", 0)},
        {__LINE__, {"halt 1"}, report("halt", 0)},
        {__LINE__, {"eval"}, report("eval", 0)},
        {__LINE__, {"load"}, report("load", 0)},
        {__LINE__, {"input"}, report("input", 0)},
        {__LINE__, {"for 1"}, report("Sintax Error in FOR", 0)},
        {__LINE__, {"while do"}, report("while", 0)},
        {__LINE__, {"if then"}, report("if", 0)},
        {__LINE__, {"x(1) = "}, report("cell assign", 0)},
        {__LINE__, {"x(1)(2) = 3"}, report("function call", 0)},
        {__LINE__, {"a b c"}, report("function call", 0)},
        {__LINE__, {"x = 1", "y = (2"}, report("assign", 1)},
        {__LINE__, {"x = 1", "", "print"}, report("print", 2)},
        {__LINE__, {"IF x THEN", "print 1"}, report("if without endif", 3)},
        {__LINE__, {"FOR i = 1 TO 3", "print i"}, report("FOR, Next expected", 3)},
        {__LINE__, {"repeat", "x = 1"}, report("assign", 3)},
        {__LINE__, {"function f(x)", "f = x"}, report("assign", 3)},
        // No label point is passed: the label of a fresh front end is empty.
        {__LINE__, {"global a"}, report("", 0)},
        {__LINE__, {"const a = 1"}, report("", 0)},
        {__LINE__, {"f()"}, report("", 0)},
        {__LINE__, {"+3"}, report("", 0)},
        {__LINE__, {"next"}, report("", 0)},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.program.front());
        TestSession ts;
        if (c.program.size() == 1) {
            EXPECT_THROW(test::compile_line(ts, c.program.front()), session::FatalError);
        } else {
            EXPECT_THROW(test::compile_program(ts, c.program), session::FatalError);
        }
        EXPECT_EQ(ts.take_lines(), c.report);
    }
}

TEST(ParserTest, ValidProgramsCompile) {
    const std::vector<std::vector<std::string>> programs = {
        {"IF x THEN print 1: ENDIF"},
        {"IF a THEN ENDIF"},
        {"WHILE 1 DO ENDWHILE"},
        {"SUB s", "ENDSUB"},
        {"sub s(a, b): endsub"},
        {"function f(a, b)", "f = a + b", "endfn"},
        {"if 1 then", "", "x = 1", "", "else", "", "endif"},
        {"for i = 1 to 2", "", "next"},
        {"while 1 do", "", "endwhile"},
        {"repeat", "", "until 1"},
        {"repeat x = 1: until 1"},
        {"if a then if b then print 1: endif: endif"},
        {"print 1:", ""},
        {"function f(x): function g(y): endfn: endfn"},
        {"x = 1 : y = 2"},
        {"x = 1", "exit", "this is not compiled ((("},
    };
    for (const auto& program : programs) {
        SCOPED_TRACE(program.front());
        TestSession ts;
        EXPECT_NO_THROW(test::compile_program(ts, program));
        EXPECT_EQ(ts.take_lines(), std::vector<std::string>{});
    }
}

TEST(ParserTest, ContextLabelPersistsAcrossCompilations) {
    TestSession ts;
    EXPECT_THROW(test::compile_line(ts, "print"), session::FatalError);
    EXPECT_NO_THROW(test::compile_line(ts, "x = 1"));  // passes "assign"
    EXPECT_THROW(test::compile_line(ts, "global a"), session::FatalError);
    EXPECT_EQ(ts.take_lines(), (std::vector<std::string>{
                                   "parse error in print (line=0)",
                                   "Sintax error line=0",
                                   "parse error in assign (line=0)",
                                   "Sintax error line=0",
                               }));
}

TEST(ParserTest, ParseStackOverflowIsReported) {
    // Each "(" holds one parse stack entry; ten thousand fill the stack.
    TestSession ts;
    const std::string deep = "print " + std::string(10000, '(') + "1" + std::string(10000, ')');
    EXPECT_THROW(test::compile_program(ts, {deep}), session::FatalError);
    EXPECT_EQ(ts.take_lines(), (std::vector<std::string>{"parser stack overflow in print (line=0)",
                                                         "Sintax error line=0"}));
}

TEST(ParserTest, DeepNestingBelowTheLimitCompiles) {
    // Enough to grow the parse stack several times, well short of its end.
    TestSession ts;
    const std::string deep = "x = " + std::string(3000, '(') + "1" + std::string(3000, ')');
    std::vector<std::string> code;
    EXPECT_NO_THROW(code = test::compile_program(ts, {deep}));
    EXPECT_EQ(test::postfix(code), "1 x ASSIGN");
}

TEST(ParserTest, ErrorDuringADeepParseLeavesTheFrontEndUsable) {
    // The parse stack has grown when the 101st open list is refused; the
    // error unwinds through the parser.
    TestSession ts;
    std::string deep = "x = " + std::string(3000, '(');
    for (int i = 0; i < 101; ++i) deep += "f(";
    EXPECT_THROW(test::compile_program(ts, {deep}), session::FatalError);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"INTERNAL ERROR, MAXPSTACK REACHED line=0"});
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y = 1")), "1 y ASSIGN");
}

}  // namespace
}  // namespace ostrac
