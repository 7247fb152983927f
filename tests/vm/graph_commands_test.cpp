#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "graph/recording_chart.h"
#include "graph/redraw.h"
#include "state/stack_ops.h"
#include "support/test_session.h"
#include "vm/graph_commands.h"

namespace ostrac {
namespace {

using graph::GraphType;
using graph::SeriesTable;
using numeric::Matrix;
using test::RecordingChart;

using Command = void (*)(state::Machine&);
using Arg = std::variant<double, Matrix, std::string>;
using Points = std::vector<graph::Point>;

Matrix matrix_of(const std::vector<std::vector<double>>& rows) {
    Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            m.at(static_cast<int>(i) + 1, static_cast<int>(j) + 1).re = rows[i][j];
        }
    }
    return m;
}

Matrix row(const std::vector<double>& values) { return matrix_of({values}); }

// The pane line fatal_error prints for a message in a fresh session.
std::string report(std::string_view message) {
    if (message.ends_with('\n')) message.remove_suffix(1);
    return std::string(message) + " line=0";
}

class GraphCommandsTest : public ::testing::Test {
protected:
    session::Session& s() { return *ts.session; }
    SeriesTable& table() { return s().series; }

    void push_args(const std::vector<Arg>& args, int count) {
        for (const Arg& a : args) {
            if (const auto* d = std::get_if<double>(&a)) state::push_float(s(), *d);
            if (const auto* m = std::get_if<Matrix>(&a)) state::push_matrix(s(), *m);
            if (const auto* t = std::get_if<std::string>(&a)) state::push_text(s(), *t);
        }
        state::push_int(s(), count);
    }

    // Runs a built-in with its arguments; it must leave exactly SUB0.
    void run(Command op, const std::vector<Arg>& args) {
        push_args(args, static_cast<int>(args.size()));
        op(s());
        ASSERT_EQ(s().stack.depth(), 1);
        const state::Value v = state::pop(s());
        const auto* id = state::get_if<state::IdentCell>(&v);
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->index, session::slot::SUB0);
    }

    // Runs a built-in that must fail; returns the last pane line printed.
    std::string error_of(Command op, const std::vector<Arg>& args, int count) {
        ts.take_lines();
        push_args(args, count);
        EXPECT_THROW(op(s()), session::FatalError);
        s().stack.clear();
        const auto lines = ts.take_lines();
        return lines.empty() ? std::string("<nothing printed>") : lines.back();
    }

    // The chart redrawn from the table the host was last given.
    RecordingChart drawn() {
        RecordingChart chart;
        graph::redraw(ts.host.chart_table, chart);
        return chart;
    }

    test::TestSession ts;
};

TEST_F(GraphCommandsTest, SerieyOnSlotThreeDrawsALineWithoutLegend) {
    run(vm::op_seriey, {3.0, row({10, 20, 30})});
    EXPECT_EQ(ts.host.chart_redraws, 1);
    EXPECT_EQ(drawn().calls, (std::vector<std::string>{"legend off", "detach", "create 3 lines", "axes on",
                                                       "xy 3 1 10", "xy 3 2 20", "xy 3 3 30", "attach 3"}));
}

TEST_F(GraphCommandsTest, NamedPieHidesTheAxesUntilALaterSlotShowsThem) {
    run(vm::op_setserie, {1.0, 1.0, std::string("share")});
    EXPECT_EQ(ts.host.chart_redraws, 0) << "SETSERIE does not redraw";
    run(vm::op_seriey, {1.0, row({5, 3})});
    RecordingChart chart = drawn();
    EXPECT_TRUE(chart.legend);
    EXPECT_EQ(chart.axes, false);
    EXPECT_EQ(chart.calls[3], "create 1 pie");

    run(vm::op_seriey, {2.0, row({1, 2})});
    chart = drawn();
    EXPECT_TRUE(chart.legend);
    EXPECT_EQ(chart.axes, true);
    EXPECT_EQ(chart.attached, (std::vector<int>{1, 2}));
}

TEST_F(GraphCommandsTest, GclearEmptiesSlotsButKeepsTitlesTypesAndSlotZero) {
    for (int n = 0; n < SeriesTable::slot_count; ++n) {
        run(vm::op_setserie, {static_cast<double>(n), 2.0, "s" + std::to_string(n)});
        run(vm::op_seriey, {static_cast<double>(n), row({1, 2})});
    }
    run(vm::op_gclear, {4.0});
    EXPECT_TRUE(table()[4].points.empty());
    EXPECT_EQ(table()[5].points.size(), 2U);
    EXPECT_EQ(drawn().attached, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9})) << "the cleared bars are gone";

    run(vm::op_gclear, {0.0});
    EXPECT_EQ(table()[0].points.size(), 2U);
    for (int n = 1; n < SeriesTable::slot_count; ++n) EXPECT_TRUE(table()[n].points.empty()) << n;
    EXPECT_EQ(table()[9].title, "s9");
    EXPECT_EQ(table()[9].type, GraphType::Bars);
    EXPECT_EQ(ts.host.chart_redraws, 12);
    EXPECT_EQ(drawn().attached, std::vector<int>{0});
}

TEST_F(GraphCommandsTest, FillingCommandsBuildTheirPoints) {
    Matrix complex_row = row({1, 2});
    complex_row.at(1, 2).im = 5;
    const Matrix tall = matrix_of({{1, 10, 100}, {2, 20, 200}, {3, 30, 300}, {4, 40, 400}});
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        int line;
        Command op;
        std::vector<Arg> args;
        int slot;
        Points expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, vm::op_seriey, {2.9, complex_row}, 2, {{1, 1}, {2, 2}}},  // real parts only
        {__LINE__, vm::op_seriexy, {9.0, row({1, 2}), row({0.1, 1e40})}, 9,
         {{1, static_cast<float>(0.1)}, {2, inf}}},
        {__LINE__, vm::op_seriexym, {0.0, tall, 3.0, 1.0}, 0, {{100, 1}, {200, 2}, {300, 3}, {400, 4}}},
        {__LINE__, vm::op_seriexym, {0.0, tall, 1.9, 2.0}, 0, {{1, 10}, {2, 20}, {3, 30}, {4, 40}}},
        {__LINE__, vm::op_seriexym, {0.0, tall, 2.0, 2.0}, 0, {{10, 10}, {20, 20}, {30, 30}, {40, 40}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        run(c.op, c.args);
        EXPECT_EQ(table()[c.slot].points, c.expected);
        EXPECT_EQ(ts.host.chart_table, table());
    }
}

TEST_F(GraphCommandsTest, SetserieTitlesAndGdraw) {
    run(vm::op_setserie, {5.9, 3.7, std::string(50, 'x')});
    EXPECT_EQ(table()[5].title, std::string(39, 'x'));
    EXPECT_EQ(table()[5].type, GraphType::Area);

    run(vm::op_titles, {std::string("Main\nsecond"), std::string("time"), std::string("speed")});
    EXPECT_EQ(ts.host.chart_title_texts, (std::vector<std::string>{"Main\nsecond", "time", "speed"}));
    EXPECT_EQ(ts.host.chart_redraws, 0);

    state::push_float(s(), 42.0);
    vm::op_graph(s());
    EXPECT_EQ(ts.host.chart_redraws, 1);
    ASSERT_EQ(s().stack.depth(), 1) << "gdraw leaves the stack as it found it";
    EXPECT_EQ(state::pop_real(s()), 42.0);
}

TEST_F(GraphCommandsTest, InitClearsTheSeriesTable) {
    run(vm::op_setserie, {1.0, 1.0, std::string("pie")});
    run(vm::op_seriey, {1.0, row({1})});
    std::array<std::string, session::Session::search_path_count> paths;
    paths[0] = ts.home.path().string();
    s().init(paths);
    EXPECT_EQ(table(), SeriesTable{});
}

TEST_F(GraphCommandsTest, ChecksComeInOrderWithTheirMessages) {
    const std::string series = report("Error: number of serie must be between 1 and 9");
    const std::string type = report("Error: type of graph must be between 0 and 3");
    const std::string bounds = report("Fuera de l\xC3\xADmites de la matriz \n");
    const std::string columns = report("Las columnas de la matrices no coinciden \n");
    const std::string vectors = report("Se esperaban un vectores \n");
    const Matrix m23 = matrix_of({{1, 2, 3}, {4, 5, 6}});
    const std::string x = "x";
    struct Case {
        int line;
        Command op;
        std::vector<Arg> args;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {__LINE__, vm::op_seriey, {12.0, matrix_of({{1}, {2}})}, series},
        {__LINE__, vm::op_seriey, {-0.5, row({1})}, series},  // rounds down to -1
        {__LINE__, vm::op_seriexy, {10.0, row({1, 2, 3}), m23}, series},
        {__LINE__, vm::op_seriexym, {12.0, m23, 0.0, 9.0}, series},
        {__LINE__, vm::op_setserie, {12.0, 4.0, x}, series},
        {__LINE__, vm::op_gclear, {10.0}, series},
        {__LINE__, vm::op_gclear, {-1.0}, series},
        {__LINE__, vm::op_setserie, {1.0, 4.0, x}, type},
        {__LINE__, vm::op_setserie, {1.0, -0.1, x}, type},
        {__LINE__, vm::op_seriexy, {1.0, row({1, 2, 3}), row({1, 2})}, columns},
        {__LINE__, vm::op_seriexy, {1.0, m23, row({1, 2})}, columns},
        {__LINE__, vm::op_seriexy, {1.0, m23, m23}, vectors},
        {__LINE__, vm::op_seriexy, {1.0, row({1, 2, 3}), m23}, vectors},
        {__LINE__, vm::op_seriey, {1.0, matrix_of({{1}, {2}, {3}})}, report("Se esperaba un vector \n")},
        {__LINE__, vm::op_seriexym, {1.0, m23, 0.0, 1.0}, bounds},
        {__LINE__, vm::op_seriexym, {1.0, m23, 4.0, 1.0}, bounds},
        {__LINE__, vm::op_seriexym, {1.0, m23, 1.0, 0.0}, bounds},
        {__LINE__, vm::op_seriexym, {1.0, m23, 3.0, 4.0}, bounds},
        // argument types are checked before any value
        {__LINE__, vm::op_seriey, {12.0, 5.0}, report("Incorrect type")},
        {__LINE__, vm::op_seriey, {x, row({1})}, report("float expected")},
        {__LINE__, vm::op_seriexy, {12.0, 5.0, row({1})}, report("Incorrect type")},
        {__LINE__, vm::op_seriexym, {12.0, m23, 1.0, x}, report("float expected")},
        {__LINE__, vm::op_setserie, {12.0, 4.0, 5.0}, report("sSTRING expected")},
        {__LINE__, vm::op_titles, {x, 3.0, x}, report("sSTRING expected")},
        {__LINE__, vm::op_gclear, {x}, report("float expected")},
    };
    run(vm::op_seriey, {1.0, row({7})});
    const SeriesTable before = table();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(error_of(c.op, c.args, static_cast<int>(c.args.size())), c.expected);
        EXPECT_EQ(table(), before) << "a failed check changes nothing";
        EXPECT_EQ(ts.host.chart_redraws, 1);
    }
    EXPECT_TRUE(ts.host.chart_title_texts.empty());

    for (const auto& [op, count] : std::vector<std::pair<Command, int>>{
             {vm::op_seriexym, 3}, {vm::op_seriexy, 4}, {vm::op_seriey, 1}, {vm::op_titles, 2},
             {vm::op_setserie, 4}, {vm::op_gclear, 0}}) {
        EXPECT_EQ(error_of(op, {12.0}, count), report("Number of parameters is incorrect")) << count;
    }
}

TEST(GraphConsoleTest, CommandLinesLeaveTheStackBalanced) {
    test::TestSession ts;
    const std::vector<std::pair<std::string, std::vector<std::string>>> lines = {
        {"SERIEY(12, 5)", {"Incorrect type line=1"}},
        {"setserie(1, 2, \"b\"): m = [1, 2; 3, 4]: seriexym(1, m, 2, 1)", {}},
        {"for i = 1 to 3: gdraw: next", {}},
        {"gclear(10)", {"Error: number of serie must be between 1 and 9 line=1"}},
    };
    for (const auto& [line, expected] : lines) {
        SCOPED_TRACE(line);
        std::vector<std::string> out = ts.command(line);
        std::erase(out, "Alocated New Space For Vars");
        EXPECT_EQ(std::vector<std::string>(out.begin() + 1, out.end()), expected);
        EXPECT_EQ(ts.session->stack.depth(), 0);
    }
    EXPECT_EQ(ts.host.chart_redraws, 4);
    EXPECT_EQ(ts.session->series[1].points, (Points{{2, 1}, {4, 3}}));
}

}  // namespace
}  // namespace ostrac
