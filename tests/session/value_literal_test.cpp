#include "session/value_literal.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "support/test_session.h"

namespace ostrac {
namespace {

using numeric::Complex;
using state::SymbolEntry;
using state::ValueType;

bool same_number(Complex a, Complex b) {
    const auto same = [](double x, double y) {
        return std::isnan(x) ? std::isnan(y) : std::bit_cast<std::uint64_t>(x) == std::bit_cast<std::uint64_t>(y);
    };
    return same(a.re, b.re) && same(a.im, b.im);
}

// Bit for bit, except that a not-a-number only has to stay one.
bool same_value(const SymbolEntry& a, const SymbolEntry& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
    case ValueType::String:
        return *a.text == *b.text;
    case ValueType::Matrix:
        if (a.matrix->rows() != b.matrix->rows() || a.matrix->cols() != b.matrix->cols()) return false;
        for (int i = 1; i <= a.matrix->rows(); ++i) {
            for (int j = 1; j <= a.matrix->cols(); ++j) {
                if (!same_number(a.matrix->at(i, j), b.matrix->at(i, j))) return false;
            }
        }
        return true;
    default:
        return same_number(a.number, b.number);
    }
}

// Each value is made by an expression; the literal of ANS, typed as a
// command, must give ANS back.
TEST(ValueLiteralTest, TheLiteralOfAnsReadsBackAsTheSameValue) {
    struct Case {
        int line;
        const char* expression;
        const char* literal;
    };
    const Case cases[] = {
        {__LINE__, "0.1", "0.10000000000000001"},
        {__LINE__, "1/3", "0.33333333333333331"},
        {__LINE__, "-2.5e-300", "-2.5e-300"},
        {__LINE__, "2^-1074", "4.9406564584124654e-324"},
        {__LINE__, "1.7976931348623157e308", "1.7976931348623157e+308"},
        {__LINE__, "-0", "-0"},
        {__LINE__, "12345678901234567890", "1.2345678901234567e+19"},
        {__LINE__, "fact(171)", "1e999"},
        {__LINE__, "-fact(171)", "-1e999"},
        {__LINE__, "fact(171) - fact(171)", "(1e999-1e999)"},
        {__LINE__, "1+2i", "1+2i"},
        {__LINE__, "1/3 - 1e-300i", "0.33333333333333331-1e-300i"},
        {__LINE__, "-2i", "-0-2i"},
        {__LINE__, "fact(171) - 1e999i", "1e999-1e999i"},
        {__LINE__, "\"it's // not a comment\"", "\"it's // not a comment\""},
        {__LINE__, "\"\"", "\"\""},
        {__LINE__, "[1, 2; 3, 4]", "[1, 2; 3, 4]"},
        {__LINE__, "[1/3, -0.5i; fact(171), 2-1e-20i]",
         "[0.33333333333333331, -0-0.5i; 1e999, 2-9.9999999999999995e-21i]"},
    };
    test::TestSession ts;
    session::Session& s = *ts.session;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.expression);
        ts.command(c.expression);
        const SymbolEntry value = s.symbols[session::slot::ANS];
        const std::optional<std::string> literal = session::ans_literal(s);
        ASSERT_TRUE(literal.has_value());
        EXPECT_EQ(*literal, c.literal);
        const auto lines = ts.command(*literal);
        ASSERT_FALSE(lines.empty());
        EXPECT_FALSE(lines.back().ends_with(" line=1")) << lines.back();
        EXPECT_TRUE(same_value(s.symbols[session::slot::ANS], value));
    }
}

TEST(ValueLiteralTest, ValuesWithoutALiteralGiveNone) {
    const auto text = [](std::string t) {
        SymbolEntry e;
        e.type = ValueType::String;
        e.text = std::make_shared<const std::string>(std::move(t));
        return e;
    };
    EXPECT_EQ(session::value_literal(text("say \"hi\"")), std::nullopt);
    EXPECT_EQ(session::value_literal(text("two\nlines")), std::nullopt);
    EXPECT_EQ(session::value_literal(text("cr\r")), std::nullopt);
    EXPECT_EQ(session::value_literal(text(std::string("nul\0", 4))), std::nullopt);
    SymbolEntry z;
    z.type = ValueType::Complex;
    z.number = {1, NAN};
    EXPECT_EQ(session::value_literal(z), std::nullopt);
    SymbolEntry procedure;
    procedure.type = ValueType::Procedure;
    EXPECT_EQ(session::value_literal(procedure), std::nullopt);
}

}  // namespace
}  // namespace ostrac
