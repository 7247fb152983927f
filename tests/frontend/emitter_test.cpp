// Byte-exact code layouts, compared through disassembly listings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "code/opcodes.h"
#include "frontend/compile_support.h"
#include "frontend/construct_stack.h"

namespace ostrac {
namespace {

using Listing = std::vector<std::string>;
using test::TestSession;

TEST(EmitterTest, AssignmentBytes) {
    TestSession ts;
    EXPECT_NO_THROW(test::compile_line(ts, "x = 2"));
    const auto& code = ts.session->symbols[session::slot::PROC0].code;
    const std::vector<std::uint8_t> expected = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40,
                                                0x04, 0x01, 0x78, 0x00, 0x1A, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(code.begin(), code.begin() + 15), expected);
}

struct LayoutCase {
    int line;
    std::string input;
    Listing expected;
};

TEST(EmitterTest, Layouts) {
    const LayoutCase cases[] = {
        {__LINE__, "3 + 4", {"0000 PUSHF 3", "0009 PUSHF 4", "0018 ADD", "0019 SHOW", "0020 END"}},
        {__LINE__, "FOR i = 1 TO 3: print i: NEXT",
         {"0000 PUSHF 1", "0009 PUSHF 3", "0018 PUSHF 1", "0027 PUSHID \"i\"", "0031 PUSHI 11",
          "0036 FOR", "0037 PUSHID \"i\"", "0041 PUSHI 1", "0046 PRINT", "0047 NEXT", "0048 END"}},
        {__LINE__, "IF x THEN print 1: ELSE print 2: ENDIF",
         {"0000 PUSHID \"x\"", "0004 PUSHI 21", "0009 IF", "0010 PUSHF 1", "0019 PUSHI 1",
          "0024 PRINT", "0025 PUSHI 15", "0030 JUMP", "0031 PUSHF 2", "0040 PUSHI 1",
          "0045 PRINT", "0046 END"}},
        {__LINE__, "IF x THEN print 1: ENDIF",
         {"0000 PUSHID \"x\"", "0004 PUSHI 15", "0009 IF", "0010 PUSHF 1", "0019 PUSHI 1",
          "0024 PRINT", "0025 END"}},
        {__LINE__, "while x do print 1: endwhile",
         {"0000 PUSHID \"x\"", "0004 PUSHI 21", "0009 JFALSE", "0010 PUSHF 1", "0019 PUSHI 1",
          "0024 PRINT", "0025 PUSHI -31", "0030 JUMP", "0031 END"}},
        {__LINE__, "repeat x = 1: until x",
         {"0000 PUSHF 1", "0009 PUSHID \"x\"", "0013 ASSIGN", "0014 PUSHID \"x\"",
          "0018 PUSHI -24", "0023 JFALSE", "0024 END"}},
        {__LINE__, "function f(a): f = a * 2: endfn",
         {"0000 PUSHI 40", "0005 PUSHID \"f\"", "0009 DEFFUNC", "0010 PUSHID \"a\"",
          "0014 PUSHI 1", "0019 PARAMS", "0020 PUSHID \"a\"", "0024 PUSHF 2", "0033 MUL",
          "0034 PUSHID \"f\"", "0038 ASSIGN", "0039 ENDFUNC", "0040 END"}},
        {__LINE__, "sub s: print 1: endsub",
         {"0000 PUSHI 32", "0005 PUSHID \"s\"", "0009 DEFSUB", "0010 PUSHI 0", "0015 PARAMS",
          "0016 PUSHF 1", "0025 PUSHI 1", "0030 PRINT", "0031 ENDFUNC", "0032 END"}},
        {__LINE__, "sub s(a, b): endsub",
         {"0000 PUSHI 25", "0005 PUSHID \"s\"", "0009 DEFSUB", "0010 PUSHID \"a\"",
          "0014 PUSHID \"b\"", "0018 PUSHI 2", "0023 PARAMS", "0024 ENDFUNC", "0025 END"}},
        {__LINE__, "print f(a, g(b, c)), d",
         {"0000 PUSHID \"a\"", "0004 PUSHID \"b\"", "0008 PUSHID \"c\"", "0012 PUSHI 2",
          "0017 PUSHID \"g\"", "0021 CALL", "0022 PUSHI 2", "0027 PUSHID \"f\"", "0031 CALL",
          "0032 PUSHID \"d\"", "0036 PUSHI 2", "0041 PRINT", "0042 END"}},
        {__LINE__, "[1,2;3,4]",
         {"0000 PUSHF 1", "0009 PUSHF 2", "0018 PUSHI 2", "0023 PUSHF 3", "0032 PUSHF 4",
          "0041 PUSHI 2", "0046 PUSHI 2", "0051 MATRIX", "0052 SHOW", "0053 END"}},
        {__LINE__, "x = \"ab\" : y = 1.5i",
         {"0000 PUSHSTR \"ab\"", "0005 PUSHID \"x\"", "0009 ASSIGN", "0010 PUSHIMAG 1.5",
          "0019 PUSHID \"y\"", "0023 ASSIGN", "0024 END"}},
        {__LINE__, "goto a: print 1: label a: print 2",
         {"0000 PUSHI 15", "0005 GOTO", "0006 PUSHF 1", "0015 PUSHI 1", "0020 PRINT",
          "0021 PUSHF 2", "0030 PUSHI 1", "0035 PRINT", "0036 END"}},
        {__LINE__, "label a: print 1: goto a",
         {"0000 PUSHF 1", "0009 PUSHI 1", "0014 PRINT", "0015 PUSHI -21", "0020 GOTO", "0021 END"}},
        {__LINE__, "gosub s: halt: label s: return",
         {"0000 PUSHI 1", "0005 GOSUB", "0006 HALT", "0007 RETURN", "0008 END"}},
        {__LINE__, "goto a: label a: print 1: label a: print 2",
         {"0000 PUSHI 15", "0005 GOTO", "0006 PUSHF 1", "0015 PUSHI 1", "0020 PRINT",
          "0021 PUSHF 2", "0030 PUSHI 1", "0035 PRINT", "0036 END"}},
        {__LINE__, "goto A: label a", {"0000 PUSHI 0", "0005 GOTO", "0006 END"}},
        {__LINE__, "goto a: function f(x): f = x: endfn: label a: print 1",
         {"0000 PUSHI 30", "0005 GOTO", "0006 PUSHI 36", "0011 PUSHID \"f\"", "0015 DEFFUNC",
          "0016 PUSHID \"x\"", "0020 PUSHI 1", "0025 PARAMS", "0026 PUSHID \"x\"",
          "0030 PUSHID \"f\"", "0034 ASSIGN", "0035 ENDFUNC", "0036 PUSHF 1", "0045 PUSHI 1",
          "0050 PRINT", "0051 END"}},
        {__LINE__, "goto a: label a: function f(x): goto a: label a: endfn",
         {"0000 PUSHI 0", "0005 GOTO", "0006 PUSHI 33", "0011 PUSHID \"f\"", "0015 DEFFUNC",
          "0016 PUSHID \"x\"", "0020 PUSHI 1", "0025 PARAMS", "0026 PUSHI 0", "0031 GOTO",
          "0032 ENDFUNC", "0033 END"}},
        {__LINE__, "goto abcdefghijklmnopqrstuvwxyz1: label abcdefghijklmnopqrstuvwxyz2",
         {"0000 PUSHI 0", "0005 GOTO", "0006 END"}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.input);
        TestSession ts;
        Listing got;
        EXPECT_NO_THROW(got = test::compile_line(ts, c.input));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(ts.take_lines(), Listing{});
    }
}

struct MarkerCase {
    int line;
    std::vector<std::string> program;
    Listing expected;
    int lines_counted;
};

TEST(EmitterTest, DebugLineMarkers) {
    const MarkerCase cases[] = {
        {__LINE__, {"a = 1", "b = 2"},
         {"0000 PUSHI 1", "0005 LINE", "0006 PUSHF 1", "0015 PUSHID \"a\"", "0019 ASSIGN",
          "0020 PUSHI 2", "0025 LINE", "0026 PUSHF 2", "0035 PUSHID \"b\"", "0039 ASSIGN",
          "0040 END"},
         3},
        // ":" shares the next marker; THEN's line end is marked; the empty
        // line is counted but marks nothing.
        {__LINE__, {"x = 1: y = 2", "if x then", "print 1", "endif"},
         {"0000 PUSHI 1", "0005 LINE", "0006 PUSHF 1", "0015 PUSHID \"x\"", "0019 ASSIGN",
          "0020 PUSHF 2", "0029 PUSHID \"y\"", "0033 ASSIGN", "0034 PUSHI 2", "0039 LINE",
          "0040 PUSHID \"x\"", "0044 PUSHI 27", "0049 IF", "0050 PUSHI 3", "0055 LINE",
          "0056 PUSHF 1", "0065 PUSHI 1", "0070 PRINT", "0071 PUSHI 4", "0076 LINE", "0077 END"},
         5},
        // Empty lines before the first statement leave the first slot to it.
        {__LINE__, {"", "x = 1"},
         {"0000 PUSHI 2", "0005 LINE", "0006 PUSHF 1", "0015 PUSHID \"x\"", "0019 ASSIGN",
          "0020 END"},
         3},
        // No marked line end: the reserved first slot stays open, so
        // execution stops at once.
        {__LINE__, {}, {"0000 END"}, 1},
    };
    for (const MarkerCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        TestSession ts;
        ts.session->debug_mode = session::DebugMode::EveryLine;
        auto& block = ts.session->symbols[session::slot::PROC0].code;
        std::fill(block.begin(), block.end(), static_cast<std::uint8_t>(code::Op::ADD));
        Listing got;
        EXPECT_NO_THROW(got = test::compile_program(ts, c.program));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(ts.session->current_line, c.lines_counted);
    }
}

TEST(EmitterTest, ExitEndFollowsTheOpenMarkerSlot) {
    TestSession ts;
    ts.session->debug_mode = session::DebugMode::RunToTarget;
    EXPECT_NO_THROW(test::compile_line(ts, "a = 1"));
    const auto& code = ts.session->symbols[session::slot::PROC0].code;
    EXPECT_EQ(code[20], 0);  // the open slot
    EXPECT_EQ(code[26], 0);  // END written at "exit"
    EXPECT_EQ(test::listing(ts).back(), "0020 END");
}

TEST(EmitterTest, LabelsAreScopedToTheirBody) {
    const struct {
        int line;
        std::string input;
    } cases[] = {
        {__LINE__, "goto a: function f(x): label a: endfn"},
        {__LINE__, "label a: function f(x): goto a: endfn"},
        {__LINE__, "label a: sub s: gosub a: endsub"},
        {__LINE__, "goto nowhere"},
        {__LINE__, "function f(x): label a: endfn: function g(x): goto a: endfn"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.input);
        TestSession ts;
        EXPECT_THROW(test::compile_line(ts, c.input), session::FatalError);
        EXPECT_EQ(ts.take_lines(), Listing{"LABEL no encontrado line=1"});
    }
}

TEST(EmitterTest, HundredLabelsFitAndOneMoreOverflows) {
    std::string program;
    for (int i = 0; i < 50; ++i) program += "label l" + std::to_string(i) + ": goto l" + std::to_string(i) + ": ";
    TestSession ts;
    EXPECT_NO_THROW(test::compile_program(ts, {program}));
    EXPECT_THROW(test::compile_program(ts, {program + "label extra"}), session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"INTERNAL ERROR, SYMBOL STACK OVERFLOW line=0"});
}

TEST(EmitterTest, HundredOpenConstructsFitAndOneMoreOverflows) {
    const auto nested_ifs = [](int depth) {
        std::vector<std::string> lines(static_cast<std::size_t>(depth), "if 1 then");
        lines.insert(lines.end(), static_cast<std::size_t>(depth), "endif");
        return lines;
    };
    TestSession ts;
    EXPECT_NO_THROW(test::compile_program(ts, nested_ifs(100)));
    EXPECT_THROW(test::compile_program(ts, nested_ifs(101)), session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"INTERNAL ERROR, MAXPSTACK REACHED line=100"});

    const auto nested_calls = [](int depth) {
        std::string text = "x = ";
        for (int i = 0; i < depth; ++i) text += "f(";
        return text + "1" + std::string(static_cast<std::size_t>(depth), ')');
    };
    EXPECT_NO_THROW(test::compile_line(ts, nested_calls(100)));
    EXPECT_THROW(test::compile_line(ts, nested_calls(101)), session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"INTERNAL ERROR, MAXPSTACK REACHED line=0"});
}

TEST(ConstructStackTest, PopsCheckEmptinessAndKind) {
    TestSession ts;
    frontend::ConstructStack stack(*ts.session);
    EXPECT_THROW(stack.pop(frontend::Construct::If), session::FatalError);
    stack.push(frontend::Construct::For, 31);
    EXPECT_THROW(stack.pop(frontend::Construct::If), session::FatalError);
    stack.push(frontend::Construct::Count, 4);
    stack.push(frontend::Construct::While, 9);
    EXPECT_EQ(stack.pop(frontend::Construct::While), 9);
    EXPECT_EQ(stack.pop(frontend::Construct::Count), 4);
    EXPECT_EQ(ts.take_lines(), (Listing{"pSP <0 line=0", "pSTACK ERROR line=0"}));
}

TEST(ConstructStackTest, HoldsAtMostAHundredEntries) {
    TestSession ts;
    frontend::ConstructStack stack(*ts.session);
    for (int i = 0; i < 100; ++i) stack.push(frontend::Construct::Repeat, i);
    EXPECT_THROW(stack.push(frontend::Construct::Repeat, 100), session::FatalError);
    EXPECT_EQ(stack.size(), 100u);
    EXPECT_EQ(stack.pop(frontend::Construct::Repeat), 99);
    EXPECT_EQ(ts.take_lines(), Listing{"INTERNAL ERROR, MAXPSTACK REACHED line=0"});
}

}  // namespace
}  // namespace ostrac
