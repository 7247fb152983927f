#include "help/function_help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "code/builtin_names.h"
#include "code/names.h"
#include "code/opcodes.h"
#include "help/call_text.h"
#include "help/function_tree.h"

namespace ostrac::help {
namespace {

// Functions the help table describes that are not built-ins: the start-up
// library's functions and the gdraw statement.
const std::set<std::string> non_builtins = {
    "plot", "addplot", "gdraw", "gamma", "Jn", "Yn", "In", "Kn", "solve_nw", "solve_bi", "integ", "Fract",
    "var", "std", "normal", "upperX", "upperT", "upperF", "upperNi", "upperXi", "upperTi", "upperFi",
    "upperB", "upperP", "upperH", "hex", "oct", "bin", "base"};

TEST(FunctionHelp, EveryBuiltinEntryOffersTheArgumentsTheBuiltinChecks) {
    ASSERT_EQ(help_entries().size(), 73u);
    for (const HelpEntry& entry : help_entries()) {
        SCOPED_TRACE(std::string(entry.name));
        const std::optional<code::Op> op = code::find_builtin(entry.call_name());
        if (!op) {
            EXPECT_TRUE(non_builtins.contains(std::string(entry.call_name())));
            continue;
        }
        EXPECT_FALSE(non_builtins.contains(std::string(entry.call_name())));
        EXPECT_EQ(entry.parameter_count(), code::op_table[static_cast<int>(*op)].argc);
    }
}

TEST(FunctionHelp, OnlyOfferedParametersAreQuotedOrDescribedAndEveryEntryIsDescribed) {
    for (const HelpEntry& entry : help_entries()) {
        SCOPED_TRACE(std::string(entry.name));
        EXPECT_FALSE(entry.syntax.empty());
        EXPECT_FALSE(entry.description.empty());
        for (int k = 0; k < max_parameters; ++k) {
            const HelpParameter& p = entry.parameters[static_cast<std::size_t>(k)];
            if (k >= entry.parameter_count()) {
                EXPECT_TRUE(p.name.empty() && p.description.empty() && !p.quoted) << k;
            } else if (entry.id != converter_entry_id) {
                EXPECT_FALSE(p.description.empty()) << k;  // the converter's fields are filled by its pickers
            }
        }
    }
}

TEST(FunctionHelp, MendedEntriesCallWhatExists) {
    // SERIEXY takes a series and two vectors, not a matrix and two columns.
    EXPECT_EQ(find_help(8)->parameter_count(), 3);
    EXPECT_EQ(find_help(8)->parameters[1].name, "vX");
    // The hypergeometric entry calls upperH with all four of its arguments.
    EXPECT_EQ(find_help(69)->call_name(), "upperH");
    EXPECT_EQ(find_help(69)->parameter_count(), 4);
    // No entry ends its call with an empty argument.
    EXPECT_EQ(find_help(58)->parameter_count(), 1);
    EXPECT_EQ(find_help(68)->parameter_count(), 2);
}

TEST(FunctionHelp, LookupByIdAndByName) {
    EXPECT_EQ(find_help(59), nullptr);
    EXPECT_EQ(find_help(0), nullptr);
    EXPECT_EQ(find_help(70)->name, "cu");
    EXPECT_EQ(find_help(16)->name, "sinh ");
    EXPECT_EQ(find_help(16)->call_name(), "sinh");

    const std::vector<const HelpEntry*> abs = find_help_by_name("ABS");
    ASSERT_EQ(abs.size(), 2u);
    EXPECT_EQ(abs[0]->id, 33);
    EXPECT_EQ(abs[1]->id, 43);
    ASSERT_EQ(find_help_by_name("sinh").size(), 1u);
    EXPECT_TRUE(find_help_by_name("sinh ").empty());
    EXPECT_TRUE(find_help_by_name("Hypergeometric").empty());
}

TEST(FunctionTree, EveryEntryHasExactlyOneLeafAndCategoriesSelectNothing) {
    const auto tree = function_tree();
    std::vector<int> leaf_ids;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        SCOPED_TRACE(std::string(tree[i].caption));
        const bool leaf = i + 1 == tree.size() || tree[i + 1].depth <= tree[i].depth;
        if (leaf) {
            ASSERT_NE(find_help(tree[i].id), nullptr);
            leaf_ids.push_back(tree[i].id);
        } else {
            EXPECT_EQ(tree[i].id, i == 0 ? -1 : 0);
        }
    }
    std::sort(leaf_ids.begin(), leaf_ids.end());
    EXPECT_EQ(std::adjacent_find(leaf_ids.begin(), leaf_ids.end()), leaf_ids.end());
    EXPECT_EQ(leaf_ids.size(), help_entries().size());
}

TEST(FunctionTree, TopLevelNodesInOrder) {
    std::vector<std::string> top;
    for (const TreeNode& node : function_tree()) {
        if (node.depth == 0) top.emplace_back(node.caption);
    }
    EXPECT_EQ(top, (std::vector<std::string>{"General", "Graphics", "Numerical", "Misc", "Statistical",
                                             "Probability", "Unit Conversion"}));
}

TEST(CallText, ComposesNameParenthesisAndCommaSeparatedFields) {
    struct Case {
        int line;
        int id;
        std::vector<std::string> fields;
        std::string factor;
        std::string expected;
    };
    const Case cases[] = {
        {__LINE__, 5, {"ignored"}, "", "gdraw"},
        {__LINE__, 1, {"x^2", "x", "0", "1"}, "", "plot ( \"x^2\",\"x\",0,1)"},
        {__LINE__, 2, {"3", "sin(t)", "t", "-1", "1"}, "", "addplot ( 3,\"sin(t)\",\"t\",-1,1)"},
        {__LINE__, 16, {"1", "extra"}, "", "sinh ( 1)"},
        {__LINE__, 58, {"1.5", "extra"}, "", "normal( 1.5)"},
        {__LINE__, 68, {"2", "3"}, "", "upperP( 2,3)"},
        {__LINE__, 69, {"10", "4", "3", "2"}, "", "upperH( 10,4,3,2)"},
        {__LINE__, 4, {"1", "0", ""}, "", "SetSerie ( 1,0,\"\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "5", "5*cu( \"ft\",\"m\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "1", "cu( \"ft\",\"m\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "", "cu( \"ft\",\"m\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "-2.5", "-2.5*cu( \"ft\",\"m\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "len_1", "len_1*cu( \"ft\",\"m\")"},
        // The whole value is converted, not its last term.
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "2+3", "(2+3)*cu( \"ft\",\"m\")"},
        {__LINE__, 70, {"\"ft\"", "\"m\""}, "1e-3", "(1e-3)*cu( \"ft\",\"m\")"},
        {__LINE__, 36, {"5"}, "", "nPr( 5,)"},  // a missing field is written empty
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(compose_call(*find_help(c.id), c.fields, c.factor), c.expected);
    }
}

}  // namespace
}  // namespace ostrac::help
