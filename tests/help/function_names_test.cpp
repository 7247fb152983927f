#include "help/function_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "code/builtin_names.h"
#include "code/names.h"
#include "help/function_help.h"

namespace ostrac::help {
namespace {

TEST(FunctionNames, EveryBuiltinAndHelpNameOnceIgnoringCase) {
    const std::vector<std::string> names = function_names();
    auto count = [&](std::string_view name) {
        return std::count_if(names.begin(), names.end(),
                             [&](const std::string& have) { return code::names_equal(have, name); });
    };
    for (const code::BuiltinName& builtin : code::builtin_table) EXPECT_EQ(count(builtin.name), 1) << builtin.name;
    for (const HelpEntry& entry : help_entries()) EXPECT_EQ(count(entry.call_name()), 1) << entry.name;
    // The help table's spelling is the one offered.
    EXPECT_EQ(std::count(names.begin(), names.end(), "inv"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "INV"), 0);
}

TEST(FunctionNames, CompletionCandidatesByPrefix) {
    EXPECT_EQ(names_starting_with("sin"), (std::vector<std::string>{"sin", "sinh"}));
    EXPECT_EQ(names_starting_with("SIN"), (std::vector<std::string>{"sin", "sinh"}));
    EXPECT_EQ(names_starting_with("upperF"), (std::vector<std::string>{"upperF", "upperFi"}));
    EXPECT_EQ(names_starting_with("solve"), (std::vector<std::string>{"solve_bi", "solve_nw"}));
    EXPECT_TRUE(names_starting_with("zzz").empty());
    EXPECT_EQ(names_starting_with("").size(), function_names().size());
}

TEST(FunctionNames, WordStart) {
    EXPECT_EQ(word_start("x = sin", 7), 4u);
    EXPECT_EQ(word_start("x = sin", 6), 4u);
    EXPECT_EQ(word_start("x = ", 4), 4u);
    EXPECT_EQ(word_start("abc", 99), 0u);
}

TEST(FunctionNames, FunctionAtTheCaret) {
    struct Case {
        int line;
        std::string text;
        std::size_t caret;
        std::string expected;
    };
    const Case cases[] = {
        {__LINE__, "sinh", 4, "sinh"},
        {__LINE__, "sinh", 2, "sinh"},  // the whole word the caret stands in
        {__LINE__, "sin", 3, "sin"},
        {__LINE__, "sinh(", 5, "sinh"},
        {__LINE__, "y = sinh (2*x", 13, "sinh"},
        {__LINE__, "cos(sinh(1), ", 13, "cos"},     // the inner call is closed
        {__LINE__, "cos(sinh(1", 10, "sinh"},       // inside the inner call
        {__LINE__, "plot(\"sin(x\", ", 14, "plot"},  // parentheses inside strings do not count
        {__LINE__, "x = foo(1", 9, ""},              // not a function anyone knows
        {__LINE__, "gamma(foo(1", 11, "gamma"},      // the nearest known one
        {__LINE__, "x = 2", 5, ""},
        {__LINE__, "", 0, ""},
        {__LINE__, "(1+2)*3", 7, ""},
        {__LINE__, "upperh(", 7, "upperh"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(function_at(c.text, c.caret), c.expected);
    }
}

}  // namespace
}  // namespace ostrac::help
