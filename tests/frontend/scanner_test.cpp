#include "frontend/scanner.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/compile_support.h"
#include "frontend/frontend.h"
#include "session/session.h"
#include "support/test_session.h"

namespace ostrac::frontend {
namespace {

using code::Token;
using code::TokenKind;

std::string describe(const Token& token) {
    static constexpr const char* keyword_names[] = {
        "FOR", "TO", "STEP", "NEXT", "AND", "OR", "NOT", "PRINT", "GOTO", "IF", "THEN", "ELSE",
        "ENDIF", "DO", "REPEAT", "WHILE", "ENDWHILE", "UNTIL", "FUNCTION", "SUB", "ENDFN",
        "ENDSUB", "GLOBAL", "SHARED", "LOAD", "EVAL", "INPUT", "CONST", "HALT", "LABEL",
        "GOSUB", "RETURN", "RETURNF", "MOD", "GDRAW"};
    std::ostringstream out;
    switch (token.kind) {
    case TokenKind::End: return "END";
    case TokenKind::Number: out << "NUM(" << token.value.number << ")"; return out.str();
    case TokenKind::Imaginary: out << "IMAG(" << token.value.number << ")"; return out.str();
    case TokenKind::Identifier: return "ID(" + token.value.text + ")";
    case TokenKind::String: return "STR(" + token.value.text + ")";
    case TokenKind::Newline: return "NL";
    case TokenKind::Ge: return "GE";
    case TokenKind::Le: return "LE";
    case TokenKind::Ne: return "NE";
    case TokenKind::Char: return std::string("'") + token.ch + "'";
    default:
        return keyword_names[static_cast<int>(token.kind) - static_cast<int>(TokenKind::For)];
    }
}

// Every token up to and including END, space separated.
std::string scan_all(session::Session& s, Scanner& scanner) {
    std::string out;
    for (int guard = 0; guard < 100000; ++guard) {
        const Token token = scanner.next_token(s);
        if (!out.empty()) out += ' ';
        out += describe(token);
        if (token.kind == TokenKind::End) break;
    }
    return out;
}

std::string scan_console(test::TestSession& ts, const std::string& line) {
    ts.session->input_line = line;
    Scanner scanner;
    return scan_all(*ts.session, scanner);
}

struct ScanCase {
    int line;
    std::string input;
    std::string expected;
};

TEST(ScannerTest, ConsoleFeedTokens) {
    const ScanCase cases[] = {
        {__LINE__, "PRINT x", "PRINT ID(x) NL END"},
        {__LINE__, "print x", "PRINT ID(x) NL END"},
        {__LINE__, "Print x", "PRINT ID(x) NL END"},
        {__LINE__, "format todo exit2 for2", "ID(format) ID(todo) ID(exit2) ID(for2) NL END"},
        {__LINE__, "return returnf returnfx", "RETURN RETURNF ID(returnfx) NL END"},
        {__LINE__, "x x2 my_var a_ a__b", "ID(x) ID(x2) ID(my_var) ID(a_) ID(a__b) NL END"},
        {__LINE__, "a_b_c", "ID(a_b) ID(c) NL END"},
        {__LINE__, "MyVar", "ID(MyVar) NL END"},
        {__LINE__, "_km_ _m/s_ _a_b_", "ID(_km_) ID(_m/s_) ID(_a_b_) NL END"},
        {__LINE__, "_a_b", "ID(_a_) ID(b) NL END"},
        {__LINE__, "_ab", "ID(ab) NL END"},
        {__LINE__, "_1_", "NUM(1) NL END"},
        {__LINE__, "a != b", "ID(a) '=' ID(b) NL END"},
        {__LINE__, "2.5e", "NUM(2.5) ID(e) NL END"},
        {__LINE__, "2e+", "NUM(2) ID(e) '+' NL END"},
        {__LINE__, "1e3 2.5 .5 5. 1e2.5 1e2e3 1E-2", "NUM(1000) NUM(2.5) NUM(0.5) NUM(5) NUM(100) NUM(100) NUM(0.01) NL END"},
        {__LINE__, "3i 3 i 3in 0.5I 1e3i", "IMAG(3) NUM(3) ID(i) IMAG(3) ID(n) IMAG(0.5) IMAG(1000) NL END"},
        {__LINE__, "i", "ID(i) NL END"},
        {__LINE__, "-5", "'-' NUM(5) NL END"},
        {__LINE__, "// only a comment", "NL END"},
        {__LINE__, "print 1 // note", "PRINT NUM(1) NL END"},
        {__LINE__, "a/b", "ID(a) '/' ID(b) NL END"},
        {__LINE__, "\"unterminated x", "ID(unterminated) ID(x) NL END"},
        {__LINE__, "\"\" \"a b\" \"x//y\"", "STR() STR(a b) STR(x//y) NL END"},
        {__LINE__, "\"PRINT\"", "STR(PRINT) NL END"},
        {__LINE__, "<> < > >= => <= =< =", "NE '<' '>' GE GE LE LE '=' NL END"},
        {__LINE__, ":*?@+-()[],;^&", "':' '*' '?' '@' '+' '-' '(' ')' '[' ']' ',' ';' '^' '&' NL END"},
        {__LINE__, "a\tb\rc", "ID(a) ID(b) ID(c) NL END"},
        {__LINE__, "!#$%'{}|~\\`", "NL END"},
        {__LINE__, ". 5", "NUM(5) NL END"},
        {__LINE__, "\xc3\xa9t\xc3\xa9", "ID(t) NL END"},
        {__LINE__, "not Global CONST", "NOT GLOBAL CONST NL END"},
        {__LINE__, "for to step next and or if then else endif do repeat while endwhile until",
         "FOR TO STEP NEXT AND OR IF THEN ELSE ENDIF DO REPEAT WHILE ENDWHILE UNTIL NL END"},
        {__LINE__, "function sub endfn endsub shared load eval input halt label gosub mod gdraw",
         "FUNCTION SUB ENDFN ENDSUB SHARED LOAD EVAL INPUT HALT LABEL GOSUB MOD GDRAW NL END"},
        {__LINE__, "print 1: exit: print 2", "PRINT NUM(1) ':' END"},
        {__LINE__, "print 1: EXIT", "PRINT NUM(1) ':' END"},
        {__LINE__, "ExIt", "END"},
        {__LINE__, "exit_", "ID(exit_) NL END"},
        {__LINE__, "", "NL END"},
    };
    for (const ScanCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.input);
        test::TestSession ts;
        EXPECT_EQ(scan_console(ts, c.input), c.expected);
    }
}

TEST(ScannerTest, EndIsRepeatedOnceTheInputHasEnded) {
    test::TestSession ts;
    ts.session->input_line = "x";
    Scanner scanner;
    EXPECT_EQ(scan_all(*ts.session, scanner), "ID(x) NL END");
    EXPECT_EQ(scanner.next_token(*ts.session).kind, TokenKind::End);
    EXPECT_EQ(scanner.next_token(*ts.session).kind, TokenKind::End);
}

TEST(ScannerTest, RestartReadsTheConsoleFeedAgain) {
    test::TestSession ts;
    ts.session->input_line = "a b";
    Scanner scanner;
    EXPECT_EQ(describe(scanner.next_token(*ts.session)), "ID(a)");
    ts.session->input_line = "c";
    scanner.restart();
    EXPECT_EQ(scan_all(*ts.session, scanner), "ID(c) NL END");
}

TEST(ScannerTest, EditorFeedEndsWithAnEmptyLineAndExit) {
    test::TestSession ts;
    Scanner scanner;
    scanner.select(make_editor_feed({"a = 1", "", "print a"}));
    EXPECT_EQ(scan_all(*ts.session, scanner), "ID(a) '=' NUM(1) NL NL PRINT ID(a) NL NL END");
}

TEST(ScannerTest, EmptyEditorProgramIsOneEmptyLine) {
    test::TestSession ts;
    Scanner scanner;
    scanner.select(make_editor_feed({}));
    EXPECT_EQ(scan_all(*ts.session, scanner), "NL END");
}

TEST(ScannerTest, FileEndsTheInputWithoutExit) {
    test::TestSession ts;
    Scanner scanner;
    scanner.select(make_file_source({"prog.prg", std::make_unique<std::istringstream>("a\nb")}));
    EXPECT_EQ(scan_all(*ts.session, scanner), "ID(a) NL ID(b) NL END");
}

TEST(ScannerTest, TokensStraddlingFilePiecesStayWhole) {
    // Files are read 1024 bytes at a time; put tokens across each boundary.
    for (const std::size_t padding : {1018u, 1019u, 1020u, 1021u, 1022u, 1023u, 1024u, 2040u}) {
        SCOPED_TRACE(testing::Message() << "padding " << padding);
        test::TestSession ts;
        Scanner scanner;
        const std::string text = std::string(padding, ' ') + "abcdef 12.5e1i \"str\" _m/s_\n";
        scanner.select(make_file_source({"f", std::make_unique<std::istringstream>(text)}));
        EXPECT_EQ(scan_all(*ts.session, scanner), "ID(abcdef) IMAG(125) STR(str) ID(_m/s_) NL END");
    }
}

TEST(ScannerTest, AFileStartingWithHashBangSkipsItsFirstLineButCountsIt) {
    // The line end stays, so the lines after it keep their numbers; the long
    // "#!" line spans file pieces.
    for (const std::string& first : {std::string("#!/usr/bin/env ostrac-cli"), "#!" + std::string(2100, 'x')}) {
        test::TestSession ts;
        Scanner scanner;
        scanner.select(make_file_source({"f", std::make_unique<std::istringstream>(first + "\na")}));
        EXPECT_EQ(scan_all(*ts.session, scanner), "NL ID(a) NL END");
    }
}

TEST(ScannerTest, LongLinesAreAccommodated) {
    // Far past 2048 characters in one line, and a single token of 5000.
    test::TestSession ts;
    std::string line;
    for (int i = 0; i < 1000; ++i) line += "ab ";
    line += std::string(5000, 'z');
    Scanner scanner;
    scanner.select(make_editor_feed({line, "c"}));
    int identifiers = 0;
    std::size_t longest = 0;
    Token token;
    while ((token = scanner.next_token(*ts.session)).kind != TokenKind::End) {
        if (token.kind == TokenKind::Identifier) {
            ++identifiers;
            longest = std::max(longest, token.value.text.size());
        }
    }
    EXPECT_EQ(identifiers, 1002);
    EXPECT_EQ(longest, 5000u);
}

TEST(ScannerTest, ReadFailureIsAFatalError) {
    test::TestSession ts;
    Scanner scanner;
    scanner.select(make_file_source({"prog.prg", std::make_unique<test::FailingStream>()}));
    EXPECT_THROW(scanner.next_token(*ts.session), session::FatalError);
    EXPECT_EQ(ts.take_lines(), std::vector<std::string>{"Cannot read the program file prog.prg line=0"});
}

struct LiteralCase {
    int line;
    const char* text;
};

TEST(ScannerTest, LiteralValuesMatchStrtod) {
    // The C library's conversion of the same text is the reference, bit for
    // bit, including overflow to infinity and underflow to zero.
    const LiteralCase cases[] = {
        {__LINE__, "0"},        {__LINE__, "2.5"},      {__LINE__, ".5"},
        {__LINE__, "5."},       {__LINE__, "1e3"},      {__LINE__, "1e2.5"},
        {__LINE__, "1e2e3"},    {__LINE__, "1E+2"},     {__LINE__, "1e-2"},
        {__LINE__, "0.1"},      {__LINE__, "1e400"},    {__LINE__, "1e-400"},
        {__LINE__, "1e-310"},   {__LINE__, "2e-324"},   {__LINE__, "3e-324"},
        {__LINE__, "1.7976931348623159e308"},           {__LINE__, "0.00001e309"},
        {__LINE__, "123456789012345678901234567890"},    {__LINE__, "2.2250738585072011e-308"},
        {__LINE__, "9007199254740993"},                 {__LINE__, "1e99999999999"},
        {__LINE__, "1e-99999999999"},                   {__LINE__, "00000.000e5"},
    };
    for (const LiteralCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.text);
        const double expected = std::strtod(c.text, nullptr);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(literal_value(c.text)),
                  std::bit_cast<std::uint64_t>(expected));
    }
}

}  // namespace
}  // namespace ostrac::frontend
