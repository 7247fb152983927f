#include "vm/matrix_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "state/stack_ops.h"
#include "state/symbols.h"
#include "support/test_session.h"
#include "support/test_values.h"
#include "vm/assignment.h"

namespace ostrac {
namespace {

using numeric::Complex;
using numeric::Matrix;
using state::Value;

using test::c;
using test::f;
using test::describe;
using test::i;
using test::mat;
using test::str;

struct Case {
    int line;
    std::vector<Value> cells;
    std::string expected;
};

class MatrixOpsTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }

    // Pushes the cells and runs the action: the report line of its error, else
    // the description of the single cell left (nothing for an empty stack).
    std::string outcome(const std::vector<Value>& cells, const std::function<void()>& action) {
        for (const Value& v : cells) state::push(s(), v);
        ts.take_lines();
        try {
            action();
        } catch (const session::FatalError&) {
            s().stack.clear();
            const auto lines = ts.take_lines();
            return lines.empty() ? "<nothing printed>" : lines.back();
        }
        if (s().stack.empty()) return "";
        EXPECT_EQ(s().stack.depth(), 1) << "arguments consumed, one result left";
        return describe(state::pop(s()));
    }

    void run(const std::vector<Case>& cases, const std::function<void()>& action) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "line " << c.line);
            EXPECT_EQ(outcome(c.cells, action), c.expected);
        }
    }

    Value var(const char* name, const Value& v) {
        const auto index = state::lookup_or_create(s(), name, 0);
        vm::store_value(s(), index, v, false);
        return id(name);
    }
    Value id(const char* name) { return Value{state::IdentCell{state::lookup_or_create(s(), name, 0)}}; }
    state::SymbolEntry& entry(const char* name) { return s().symbols[state::lookup_or_create(s(), name, 0)]; }

    test::TestSession ts;
};

TEST_F(MatrixOpsTest, Literal) {
    const Value z = var("z", c(1, 1));
    run({
            {__LINE__, {f(1), f(2), i(2), f(3), c(0, 4), i(2), i(2)}, "matrix [1 2; 3 (0,4)]"},
            {__LINE__, {f(1), i(1), z, i(1), i(2)}, "matrix [1; (1,1)]"},
            {__LINE__, {f(1), f(2), i(2), f(3), f(4), f(5), i(3), i(2)},
             "Error: number of columns varies line=0"},
            {__LINE__, {i(5), i(1), i(1)}, "float expected line=0"},  // a comparison result
            {__LINE__, {mat({{1}}), i(1), i(1)}, "float expected line=0"},
            {__LINE__, {i(0)}, "Invalid dimensions line=0"},  // no compiled literal has this
        },
        [&] { vm::op_matrix(s()); });
}

TEST_F(MatrixOpsTest, ElementReads) {
    var("m", mat({{1, 2}, {3, {0, 4}}, {5, 6}}));  // 3 by 2
    const Value all = var("all", f(2));  // selects whatever it holds
    const std::string outside = "Acceso fuera de limites de matriz line=0";
    run({
            {__LINE__, {f(3), f(2), i(2)}, "float 6"},
            {__LINE__, {f(2.9), var("k", f(1.99)), i(2)}, "float 3"},  // truncated
            {__LINE__, {all, f(2), i(2)}, "matrix [2 (0,4) 6]"},
            {__LINE__, {f(3.7), id("ALL"), i(2)}, "matrix [5 6]"},
            {__LINE__, {f(0), f(1), i(2)}, outside},
            {__LINE__, {f(4), f(1), i(2)}, outside},
            {__LINE__, {all, f(3), i(2)}, outside},
            {__LINE__, {f(0), all, i(2)}, outside},
            {__LINE__, {all, all, i(2)}, outside},
            {__LINE__, {f(1), var("all2", f(0)), i(2)}, outside},  // only "all" selects
            {__LINE__, {f(1), i(1)}, "Number of parameters is incorrect line=0"},
        },
        [&] { vm::matrix_element_read(s(), entry("m").matrix); });
}

TEST_F(MatrixOpsTest, CharacterReads) {
    const state::Text abc = std::make_shared<const std::string>("abc");
    const std::string outside = "Index string out of bounds line=0";
    run({
            {__LINE__, {f(1), i(1)}, "string a"},
            {__LINE__, {f(3.9), i(1)}, "string c"},
            {__LINE__, {f(0.5), i(1)}, outside},
            {__LINE__, {f(4), i(1)}, outside},
        },
        [&] { vm::string_char_read(s(), abc); });
}

TEST_F(MatrixOpsTest, ElementWrites) {
    const std::string outside = "Acceso fuera de limites de matriz line=0";
    const struct {
        int line;
        Value before;
        std::vector<Value> cells;  // indexes, count, value
        std::string expected;      // the variable afterwards, or the report line
    } cases[] = {
        {__LINE__, str("abc"), {f(2), i(1), str("xyz")}, "string axc"},
        {__LINE__, str("abc"), {f(2), i(1), str("")}, "string a"},  // an empty value cuts
        {__LINE__, str("abc"), {f(4), i(1), str("x")}, "Index string out of bounds line=0"},
        {__LINE__, str("abc"), {f(1), f(1), i(2), str("x")},
         "Number of parameters is incorrect line=0"},
        {__LINE__, mat({{1, 2}, {3, 4}}), {f(1.9), f(2.9), i(2), c(0, 1)}, "matrix [1 (0,1); 3 4]"},
        {__LINE__, mat({{1, 2}, {3, 4}}), {f(3), f(4), i(2), f(9)},
         "matrix [1 2 0 0; 3 4 0 0; 0 0 0 9]"},
        {__LINE__, mat({{1, 2}, {3, 4}}), {f(0), f(1), i(2), f(9)}, outside},
        {__LINE__, mat({{1, 2}, {3, 4}}), {f(40000), f(1), i(2), f(9)}, outside},
        {__LINE__, mat({{1, 2}, {3, 4}}), {f(1), i(1), f(9)},
         "Number of parameters is incorrect line=0"},
        {__LINE__, c(1, 1), {f(1), f(1), i(2), f(9)}, "MATRIX expected line=0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line);
        std::vector<Value> cells = c.cells;
        cells.push_back(var("v", c.before));
        const std::string result = outcome(cells, [&] { vm::op_setcell(s()); });
        const state::SymbolEntry& v = entry("v");
        const Value after = v.matrix ? Value{v.matrix} : Value{v.text};
        EXPECT_EQ(result.empty() ? describe(after) : result, c.expected);
    }
}

TEST_F(MatrixOpsTest, WritesNeverChangeSharedStorage) {
    var("m", mat({{1, 2}}));
    var("n", id("m"));                // n = m shares the storage,
    const Value cell{entry("m").matrix};  // and so does a cell
    const auto p = state::lookup_or_create(s(), "p", 0);
    vm::store_value(s(), p, id("n"), true);  // p is bound to n, as a parameter is
    outcome({f(1), f(1), i(2), f(9), id("m")}, [&] { vm::op_setcell(s()); });
    outcome({f(2), f(3), i(2), f(8), id("p")}, [&] { vm::op_setcell(s()); });
    EXPECT_EQ(describe(Value{entry("m").matrix}), "matrix [9 2]");
    EXPECT_EQ(describe(Value{entry("n").matrix}), "matrix [1 2 0; 0 0 8]");
    EXPECT_EQ(describe(cell), "matrix [1 2]");

    var("t", str("abc"));
    var("u", id("t"));
    outcome({f(1), i(1), str("z"), id("t")}, [&] { vm::op_setcell(s()); });
    EXPECT_EQ(*entry("t").text + *entry("u").text, "zbcabc");
}

}  // namespace
}  // namespace ostrac
