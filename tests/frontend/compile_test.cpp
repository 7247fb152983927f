// The compilation driver: sources and their reset, the block bounds, and
// what a compilation leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/compile_support.h"

namespace ostrac {
namespace {

using Listing = std::vector<std::string>;
using session::slot::EVAL0;
using session::slot::PROC0;
using test::TestSession;

// A program file whose closing the test can observe.
class WatchedFile : public std::istringstream {
public:
    WatchedFile(const std::string& text, bool& closed) : std::istringstream(text), closed_(closed) {}
    ~WatchedFile() override { closed_ = true; }

private:
    bool& closed_;
};

frontend::ProgramFile watched_file(const std::string& text, bool& closed) {
    return {"prog.prg", std::make_unique<WatchedFile>(text, closed)};
}

TEST(CompileTest, FileSourceIsReadToItsEndAndClosed) {
    TestSession ts;
    bool closed = false;
    frontend::select_file_source(*ts.session, watched_file("x = 1\r\nprint x\n", closed));
    EXPECT_FALSE(closed);
    EXPECT_NO_THROW(frontend::compile_block(*ts.session, PROC0));
    EXPECT_TRUE(closed);
    EXPECT_EQ(test::postfix(test::listing(ts)), "1 x ASSIGN x #1 PRINT");
    EXPECT_EQ(ts.session->current_line, 2);
    // Back on the console feed.
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y = 2")), "2 y ASSIGN");
}

TEST(CompileTest, FileIsClosedWhenItsCompilationFails) {
    TestSession ts;
    bool closed = false;
    frontend::select_file_source(*ts.session, watched_file("x = 1\nprint\nx = 2\n", closed));
    EXPECT_THROW(frontend::compile_block(*ts.session, PROC0), session::FatalError);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ts.take_lines(), (Listing{"parse error in print (line=1)", "Sintax error line=1"}));
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y")), "y SHOW");
}

TEST(CompileTest, FileIsClosedByARestartWithoutCompiling) {
    TestSession ts;
    bool closed = false;
    frontend::select_file_source(*ts.session, watched_file("x = 1\n", closed));
    frontend::restart_scanner(*ts.session);
    EXPECT_TRUE(closed);
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y")), "y SHOW");
}

TEST(CompileTest, ExitInAFileEndsItsInput) {
    TestSession ts;
    bool closed = false;
    frontend::select_file_source(*ts.session, watched_file("print 1\nEXIT\nprint (((\n", closed));
    EXPECT_NO_THROW(frontend::compile_block(*ts.session, PROC0));
    EXPECT_TRUE(closed);
    EXPECT_EQ(test::postfix(test::listing(ts)), "1 #1 PRINT");
}

TEST(CompileTest, FileWithoutFinalLineEndEndsItsLastLine) {
    TestSession ts;
    bool closed = false;
    frontend::select_file_source(*ts.session, watched_file("x = 1\nprint x", closed));
    frontend::compile_block(*ts.session, PROC0);
    EXPECT_EQ(test::postfix(test::listing(ts)), "1 x ASSIGN x #1 PRINT");
    EXPECT_EQ(ts.session->current_line, 2);
}

TEST(CompileTest, ReadFailureAbandonsTheCompilation) {
    TestSession ts;
    frontend::select_file_source(*ts.session, {"broken.prg", std::make_unique<test::FailingStream>()});
    EXPECT_THROW(frontend::compile_block(*ts.session, PROC0), session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"Cannot read the program file broken.prg line=0"});
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y")), "y SHOW");
}

TEST(CompileTest, EditorFeedServesOneCompilation) {
    TestSession ts;
    EXPECT_EQ(test::postfix(test::compile_program(ts, {"a = 1", "print a"})), "1 a ASSIGN a #1 PRINT");
    EXPECT_EQ(ts.session->current_line, 3);  // two lines and the empty one
    EXPECT_EQ(test::postfix(test::compile_line(ts, "b = 2")), "2 b ASSIGN");
    // The next run starts again at the editor's first line.
    EXPECT_EQ(test::postfix(test::compile_program(ts, {"a = 1"})), "1 a ASSIGN");
}

TEST(CompileTest, EditorFeedIsResetAfterAnError) {
    TestSession ts;
    EXPECT_THROW(test::compile_program(ts, {"print 1", "print", "c = 3"}), session::FatalError);
    EXPECT_EQ(ts.take_lines(), (Listing{"parse error in print (line=1)", "Sintax error line=1"}));
    EXPECT_EQ(test::postfix(test::compile_line(ts, "b = 2")), "2 b ASSIGN");
}

TEST(CompileTest, ExitInTheEditorEndsTheProgram) {
    TestSession ts;
    EXPECT_EQ(test::postfix(test::compile_program(ts, {"print 1", "Exit", "print 2"})), "1 #1 PRINT");
    EXPECT_EQ(test::postfix(test::compile_line(ts, "b")), "b SHOW");
}

TEST(CompileTest, LeavesTheExecutionPositionAlone) {
    TestSession ts;
    ts.session->pc = 17;
    const auto block = ts.session->current_block;
    EXPECT_NO_THROW(test::compile_program(ts, {"for i = 1 to 3", "print i", "next"}));
    EXPECT_EQ(ts.session->pc, 17);
    EXPECT_EQ(ts.session->current_block, block);
    EXPECT_THROW(test::compile_line(ts, "print"), session::FatalError);
    EXPECT_EQ(ts.session->pc, 17);
    EXPECT_EQ(ts.session->current_block, block);
}

TEST(CompileTest, EvalBlockIsSeparateFromTheMainBlock) {
    TestSession ts;
    EXPECT_NO_THROW(test::compile_line(ts, "x = 1"));
    EXPECT_EQ(test::postfix(test::compile_line(ts, "y = 2", EVAL0)), "2 y ASSIGN");
    EXPECT_EQ(test::postfix(test::listing(ts, PROC0)), "1 x ASSIGN");
}

TEST(CompileTest, CodeBeforeASyntaxErrorStays) {
    TestSession ts;
    EXPECT_THROW(test::compile_line(ts, "x = 1: print"), session::FatalError);
    const Listing code = code::disassemble(ts.session->symbols[PROC0].code, false);
    EXPECT_EQ(Listing(code.begin(), code.begin() + 3),
              (Listing{"0000 PUSHF 1", "0009 PUSHID \"x\"", "0013 ASSIGN"}));
}

TEST(CompileTest, LongLineIsAccommodated) {
    // Far beyond 2048 characters in one command.
    TestSession ts;
    std::string line = "x = 1";
    for (int i = 0; i < 1100; ++i) line += " + 1";
    ASSERT_GT(line.size(), 4096u);
    Listing code;
    EXPECT_NO_THROW(code = test::compile_line(ts, line));
    const auto count = [&](const std::string& suffix) {
        return std::count_if(code.begin(), code.end(), [&](const std::string& l) {
            return l.size() >= suffix.size() && l.compare(l.size() - suffix.size(), suffix.size(), suffix) == 0;
        });
    };
    EXPECT_EQ(count("PUSHF 1"), 1101);
    EXPECT_EQ(count(" ADD"), 1100);
    EXPECT_EQ(code.back(), "11014 END");
}

TEST(CompileTest, LongEditorLineIsAccommodated) {
    TestSession ts;
    std::string line = "print 0";
    for (int i = 0; i < 700; ++i) line += ", " + std::to_string(i);
    ASSERT_GT(line.size(), 2048u);
    Listing code;
    EXPECT_NO_THROW(code = test::compile_program(ts, {line, "print \"done\""}));
    ASSERT_GE(code.size(), 6u);
    EXPECT_EQ(code[code.size() - 6], "6309 PUSHI 701");
    EXPECT_EQ(code[code.size() - 5], "6314 PRINT");
    EXPECT_EQ(code.back(), "6328 END");
}

// Statements whose code adds up to exactly `bytes`: "x=1" takes 14 bytes,
// "x" 5 and "halt" 1.
std::vector<std::string> program_of_size(int bytes) {
    std::vector<std::string> lines;
    for (; bytes >= 14 + 5; bytes -= 14) lines.push_back("x=1");
    for (; bytes >= 5 + 4; bytes -= 5) lines.push_back("x");
    for (; bytes > 0; --bytes) lines.push_back("halt");
    return lines;
}

struct BlockCase {
    int line;
    int block;
    int size;
};

TEST(CompileTest, CodeFillingItsBlockExactlyIsAccepted) {
    const BlockCase cases[] = {{__LINE__, EVAL0, 2000}, {__LINE__, PROC0, 32000}};
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        TestSession ts;
        Listing code;
        EXPECT_NO_THROW(code = test::compile_program(ts, program_of_size(c.size - 1), c.block));
        EXPECT_EQ(code.back(), (c.block == EVAL0 ? "1999 END" : "31999 END"));
        EXPECT_EQ(ts.session->symbols[c.block].code.size(), static_cast<std::size_t>(c.size));
    }
}

TEST(CompileTest, CodeOverflowingItsBlockIsRefused) {
    const BlockCase cases[] = {{__LINE__, EVAL0, 2000}, {__LINE__, PROC0, 32000}};
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        TestSession ts;
        // The END of "exit" is the byte that does not fit.
        const auto lines = program_of_size(c.size);
        EXPECT_THROW(test::compile_program(ts, lines, c.block), session::FatalError);
        EXPECT_EQ(ts.take_lines(), Listing{"Program too large for its code block line=" +
                                           std::to_string(lines.size() + 1)});
        EXPECT_EQ(ts.session->symbols[c.block].code.size(), static_cast<std::size_t>(c.size));
    }
}

TEST(CompileTest, InstructionThatDoesNotFitIsNotWrittenAtAll) {
    TestSession ts;
    auto& block = ts.session->symbols[EVAL0].code;
    std::fill(block.begin(), block.end(), std::uint8_t{0xEE});
    // 142 assignments take 1988 bytes; the next PUSHF ends at 1997 and its
    // PUSHID would need 4 of the 3 bytes left.
    std::vector<std::string> lines(143, "x = 1");
    EXPECT_THROW(test::compile_program(ts, lines, EVAL0), session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"Program too large for its code block line=142"});
    EXPECT_EQ(block[1996], 0x3F);  // last byte of the double 1.0
    EXPECT_EQ(block[1997], 0xEE);
    EXPECT_EQ(block[1998], 0xEE);
    EXPECT_EQ(block[1999], 0xEE);
}

TEST(CompileTest, MarkerSlotThatDoesNotFitIsRefused) {
    // With markers every "x=1" line takes 20 bytes after the 6 reserved:
    // the 99th line end opens its slot at 1980, the 100th finds no room at
    // 2000.
    TestSession ts;
    ts.session->debug_mode = session::DebugMode::EveryLine;
    EXPECT_NO_THROW(test::compile_program(ts, std::vector<std::string>(99, "x=1"), EVAL0));
    EXPECT_THROW(test::compile_program(ts, std::vector<std::string>(100, "x=1"), EVAL0),
                 session::FatalError);
    EXPECT_EQ(ts.take_lines(), Listing{"Program too large for its code block line=100"});
}

}  // namespace
}  // namespace ostrac
